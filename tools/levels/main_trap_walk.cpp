// tools/levels/main_trap_walk.cpp -- walks a stage as newcomers would and
// reports the places they fall into and cannot leave. Headless.
// Usage: trap_walk GAME_DIR LEVEL [WALKERS [FRAMES [RUN]]]
//        trap_walk GAME_DIR --trace RUN [EVERY]   (where a run goes, frame by frame)
// TRAP_WALK_WATCH=K prints walker K's state every 100 frames (timers, speeds).
// Each walker holds right and, seeded differently, jumps at random with random
// charges, spins in the air, turns back for a while when stuck and boosts
// when it has a charge. The clock is kept full, so a walker only ends by
// finishing, by a swarm, or by running out of frames. A walker that spends its
// last stuck_frames frames inside a box stuck_box units wide, trying all the
// while, is reported as trapped there; a place many walkers report is a trap.
// With a finishing RUN of the level, walker k first follows the run for k/WALKERS
// of its length and only then walks on as a newcomer, so the walk covers the
// places past the obstacles a newcomer fails at as well.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>
#include <allegro.h>
#include "level_kit.h"
#include "hillhopper.h"

namespace {

const int stuck_frames = 900;       // 18 s of trying at 50 frames a second
const double stuck_box = 4.0;       // world units: one screen wide
const double full_clock = 100;

struct walker {
    unsigned seed;
    int jump_left = 0;              // frames the jump key is still held
    int back_left = 0;              // frames of walking back
    int spin_left = 0, spin_key = 0;
    int slow_frames = 0;
    double best_x = -1e9;           // furthest right so far
    int since_best = 0;             // frames since best_x last grew
};

const int no_progress_frames = 250;     // then a newcomer turns back for a run-up

unsigned next_random(unsigned *s)
{
    *s = *s * 1103515245u + 12345u;
    return (*s >> 16) & 0x7fff;
}

int chance(unsigned *s, int one_in) { return next_random(s) % one_in == 0; }

// One frame of a newcomer: the keys it holds, from what it sees of itself.
void newcomer_keys(walker &w)
{
    const body_struct &p = body[0];
    bool riding = p.jntn != -1;
    double speed = std::fabs(riding ? p.jntvx : p.xx);
    w.slow_frames = riding && speed < 0.01 ? w.slow_frames + 1 : 0;
    if (p.x > w.best_x + 0.5) { w.best_x = p.x; w.since_best = 0; }
    else w.since_best++;
    // Stopped, or rocking to and fro without getting further: walk back for
    // a while (up to 8 s, far enough to take a run-up), then try again.
    if (w.back_left == 0 && ((w.slow_frames > 60 && chance(&w.seed, 4)) || w.since_best > no_progress_frames)) {
        w.back_left = 20 + next_random(&w.seed) % 400;
        w.since_best = 0;
        w.slow_frames = 0;
        w.best_x = p.x;
    }
    // Slowness and progress count from the latest turn: a walker that pushed
    // against a wall while walking back is neither slow nor without progress
    // the moment it faces the way on again.
    if (w.back_left > 0 && --w.back_left == 0) {
        w.slow_frames = 0;
        w.since_best = 0;
        w.best_x = p.x;
    }
    key[KEY_RIGHT] = w.back_left == 0;
    key[KEY_LEFT] = w.back_left > 0;

    if (w.jump_left == 0 && riding && w.back_left == 0 &&
        (w.slow_frames > 15 ? chance(&w.seed, 8) : chance(&w.seed, 90)))
        w.jump_left = 1 + next_random(&w.seed) % 40;
    if (w.jump_left > 0) w.jump_left--;
    key[KEY_ENTER] = w.jump_left > 0;

    if (w.spin_left == 0 && !riding && chance(&w.seed, 30)) {
        w.spin_left = 5 + next_random(&w.seed) % 25;
        w.spin_key = chance(&w.seed, 2) ? KEY_UP : KEY_DOWN;
    }
    key[KEY_UP] = key[KEY_DOWN] = 0;
    if (w.spin_left > 0) { w.spin_left--; key[w.spin_key] = riding ? 0 : 1; }
    key[KEY_RCONTROL] = j[J_BOOSTS] > 0 && chance(&w.seed, 120);
}

struct walk_result {
    run_result run;
    bool trapped = false;
    double x0 = 0, x1 = 0, y0 = 0, y1 = 0;     // the box of the last stuck_frames
};

// The walker follows `lead` (a finishing run) until frame `handoff`.
walk_result walk(const std::string &dir, int level, unsigned seed, int frames,
                 const run_script &lead, int handoff)
{
    walker w;
    w.seed = seed * 7919u + 17u;
    std::vector<std::pair<double, double>> path;
    walk_result r;
    size_t next = 0;
    frames += handoff;
    static const char *watch = getenv("TRAP_WALK_WATCH");   // "K": print walker K's state
    bool watching = watch && (unsigned)atoi(watch) == seed;
    r.run = play_level(dir, level, frames,
                       [&](int frame) {
                           f[F_TIME] = full_clock;
                           if (frame < handoff) {
                               for (; next < lead.events.size() && lead.events[next].frame <= frame; next++)
                                   key[lead.events[next].key] = lead.events[next].down ? 1 : 0;
                               return;
                           }
                           newcomer_keys(w);
                       },
                       [&](int frame) {
                           path.push_back({body[0].x, body[0].y});
                           if (watching && frame % 100 == 0)
                               printf("  frame %d: (%.2f, %.2f) joint %d, jntvx %.4f, xx %.4f, "
                                      "recovery %d, attack %d, tumble %d, sting load %d, keys %d%d%d\n",
                                      frame, body[0].x, body[0].y, body[0].jntn, body[0].jntvx,
                                      body[0].xx, j[J_RECOVERY], j[J_BEE_ATTACK], j[J_TUMBLE],
                                      j[J_STING_LOAD], key[KEY_LEFT], key[KEY_RIGHT], key[KEY_ENTER]);
                       });
    if (r.run.finished || r.run.lost || (int)path.size() < stuck_frames) return r;
    r.x0 = r.x1 = path.back().first;
    r.y0 = r.y1 = path.back().second;
    for (size_t k = path.size() - stuck_frames; k < path.size(); k++) {
        r.x0 = std::min(r.x0, path[k].first);
        r.x1 = std::max(r.x1, path[k].first);
        r.y0 = std::min(r.y0, path[k].second);
        r.y1 = std::max(r.y1, path[k].second);
    }
    r.trapped = r.x1 - r.x0 < stuck_box;
    return r;
}

// Prints where the player of a recorded run is every `every` frames, with
// the charges in stock: for checking an escape by hand.
bool read_run(const char *path, run_script *run)
{
    FILE *in = fopen(path, "rb");
    if (!in) { fprintf(stderr, "trap_walk: cannot read %s\n", path); return false; }
    std::string text;
    char buf[4096];
    for (size_t n; (n = fread(buf, 1, sizeof buf, in)) > 0;) text.append(buf, n);
    fclose(in);
    std::string err;
    if (!parse_run(text, run, &err)) { fprintf(stderr, "trap_walk: %s\n", err.c_str()); return false; }
    return true;
}

int trace_run(const std::string &dir, const char *path, int every)
{
    run_script run;
    if (!read_run(path, &run)) return 1;
    static int step;
    step = std::max(1, every);
    run_result r = play_run(dir, run, 6000, [](int frame) {
        if (frame % step == 0)
            printf("frame %5d: (%.2f, %.2f) %s, %d charges, time %.1f\n", frame, body[0].x,
                   body[0].y, body[0].jntn != -1 ? "riding" : "in the air", j[J_BOOSTS], f[F_TIME]);
    });
    printf("%s after %d frames at (%.2f, %.2f)\n", r.finished ? "finished" : "not finished",
           r.frames, r.x, r.y);
    return 0;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: %s GAME_DIR LEVEL [WALKERS [FRAMES [RUN]]]\n", argv[0]);
        return 2;
    }
    std::string dir = argv[1], err;
    int level = atoi(argv[2]);
    int walkers = argc > 3 ? atoi(argv[3]) : 60;
    int frames = argc > 4 ? atoi(argv[4]) : 4000;
    if (!level_tools_init(dir, &err)) {
        fprintf(stderr, "trap_walk: %s\n", err.c_str());
        return 1;
    }
    if (std::string(argv[2]) == "--trace" && argc > 3)
        return trace_run(dir, argv[3], argc > 4 ? atoi(argv[4]) : 50);
    run_script lead;
    int lead_frames = 0;
    if (argc > 5) {
        if (!read_run(argv[5], &lead) || lead.level != level) return 1;
        lead_frames = play_run(dir, lead, 3400).frames - 1;   // hand over before the end
    }
    int finished = 0, lost = 0, wandering = 0;
    std::map<int, int> traps;       // trapped walkers by the box's left edge, to the unit
    for (int s = 0; s < walkers; s++) {
        walk_result r = walk(dir, level, s, frames, lead, lead_frames * s / std::max(1, walkers));
        if (r.run.finished) { finished++; continue; }
        if (r.run.lost) { lost++; continue; }
        if (!r.trapped) { wandering++; continue; }
        traps[(int)floor(r.x0)]++;
        printf("level %d walker %d (on its own from frame %d): trapped in x %.2f..%.2f, "
               "y %.2f..%.2f, %d charges left\n", level, s, lead_frames * s / std::max(1, walkers),
               r.x0, r.x1, r.y0, r.y1, j[J_BOOSTS]);
    }
    printf("level %d: %d walkers, %d finished, %d lost (swarm), %d still moving on, %d trapped\n",
           level, walkers, finished, lost, wandering, walkers - finished - lost - wandering);
    for (const auto &t : traps) printf("  trap near x %d: %d walkers\n", t.first, t.second);
    return 0;
}
