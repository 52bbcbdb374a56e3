// tools/soak -- plays random, sensibly biased input through the real frame
// loop, headless and unpaced, across levels 0 to 3, and checks the world's
// invariants after every frame. A fault prints the level, the frame, the seed
// and the broken invariant, and the tool exits with status 1.
//
// Usage: soak GAME_DIR [FRAMES] [SEED] [LEVELS_DIR]
//   GAME_DIR    the built game folder (datafiles and map0.trn .. map3.trn)
//   FRAMES      frames to play, 50000 by default
//   SEED        seed of rand, 1 by default; the same seed replays the same soak
//   LEVELS_DIR  folder of the recorded finishing runs run0.txt .. run3.txt;
//               every fourth attempt at a level replays its run, so that the
//               level-complete path and the move to the next level are soaked
//               too. Without it only random play runs.
// A time-out is answered through the time-out screen's own keys (choice
// "play again", then Space); after two time-outs in a row on one level the
// soak moves on to the next level, as a player who gives up would.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <allegro.h>
#include "hillhopper.h"
#include "game.h"
#include "std_gfuncs.h"
#include "level_kit.h"
#include "world_check.h"

const int soak_levels = 4;              // levels 0 to 3 carry data
const int timeout_screen_in = 25;       // j 9 when the time-out picture has slid in
const int timeouts_before_moving_on = 2;
const int replay_every = 4;             // attempts per level between recorded runs

// ---------------------------------------------------------------------------
// Random play. A "move" holds one intent for a random number of frames.

enum move_kind { RUN_RIGHT, RUN_LEFT, CHARGE_JUMP, SPIN_UP, SPIN_DOWN, BOOST, LAND_HELP, IDLE,
                 CONTROLS, GIVE_UP };
struct move_weight { move_kind kind; int weight; };
// Mostly running right (the levels go left to right), often jumping and
// spinning; the controls screen and giving up are rare.
static const move_weight weights[] = {
    {RUN_RIGHT, 400}, {RUN_LEFT, 80}, {CHARGE_JUMP, 200}, {SPIN_UP, 90}, {SPIN_DOWN, 90},
    {BOOST, 60}, {LAND_HELP, 50}, {IDLE, 30}, {CONTROLS, 2}, {GIVE_UP, 1}};

struct random_player {
    move_kind kind = IDLE;
    int left = 0;           // frames the move still lasts
    int length = 0;
};

static move_kind pick_move(void)
{
    int total = 0;
    for (const move_weight &w : weights) total += w.weight;
    int r = rand() % total;
    for (const move_weight &w : weights) {
        if (r < w.weight) return w.kind;
        r -= w.weight;
    }
    return IDLE;
}

static void release_keys(void)
{
    for (int k = 0; k < KEY_MAX; k++) key[k] = 0;
}

static void random_keys(random_player *p)
{
    if (p->left <= 0) {
        p->kind = pick_move();
        p->length = p->left = 2 + rand() % 40;
    }
    int age = p->length - p->left--;
    release_keys();
    // Running keys stay down under most moves: players steer while they jump.
    key[KEY_RIGHT] = p->kind != RUN_LEFT && p->kind != IDLE && rand() % 8 != 0;
    switch (p->kind) {
    case RUN_LEFT: key[KEY_LEFT] = 1; break;
    case CHARGE_JUMP: key[KEY_ENTER] = p->left > 0; break;     // released on the last frame
    case SPIN_UP: key[KEY_UP] = 1; break;
    case SPIN_DOWN: key[KEY_DOWN] = 1; break;
    case BOOST: key[KEY_RCONTROL] = age == 0; break;
    case LAND_HELP: key[KEY_RSHIFT] = age % 6 == 0; break;
    case CONTROLS: key[KEY_H] = age == 0; break;
    case GIVE_UP: key[KEY_ESC] = age == 0; break;
    default: break;
    }
}

// On the time-out screen: let go of everything, make sure "play again" is
// chosen, then tap Space. Returns after setting this frame's keys.
static void timeout_keys(int *tap)
{
    release_keys();
    if (j[J_TIMEOUT_STEP] < timeout_screen_in) return;
    int phase = (*tap)++ % 2;                       // down one frame, up the next
    if (j[J_TIMEOUT_CHOICE] != 0) key[KEY_DOWN] = phase == 0;
    else key[KEY_SPACE] = phase == 0;
}

// ---------------------------------------------------------------------------
// Recorded finishing runs

static run_script recorded[soak_levels];
static bool have_recorded[soak_levels];

static void load_recorded_runs(const char *dir)
{
    for (int lev = 0; lev < soak_levels && dir; lev++) {
        std::ifstream in(std::string(dir) + "/run" + std::to_string(lev) + ".txt");
        if (!in) continue;
        std::stringstream text;
        text << in.rdbuf();
        std::string error;
        have_recorded[lev] = parse_run(text.str(), &recorded[lev], &error) && recorded[lev].level == lev;
        if (!have_recorded[lev]) fprintf(stderr, "soak: run%d.txt not used: %s\n", lev, error.c_str());
    }
}

static void recorded_keys(int lev, size_t *next, int frame)
{
    const run_script &r = recorded[lev];
    while (*next < r.events.size() && r.events[*next].frame <= frame) {
        key[r.events[*next].key] = r.events[*next].down ? 1 : 0;
        (*next)++;
    }
}

// ---------------------------------------------------------------------------
// The soak

struct soak_counts {
    long frames = 0;
    long level_starts = 0;
    long completions = 0;
    long timeouts = 0;
    long frames_per_level[soak_levels] = {};
};

struct attempt {
    int frame = 0;          // frames since this level start
    bool replay = false;    // following the recorded run
    size_t next_event = 0;
    int tap = 0;
    bool timed_out = false;
};

static int attempts_at[soak_levels];
static int timeouts_in_a_row = 0;

static void start_level(soak_counts *c, attempt *a)
{
    if (current_level < 0 || current_level >= soak_levels) current_level = 0;
    level_start();
    display_controls = 0;
    clear_keyr();
    release_keys();
    int n = attempts_at[current_level]++;
    *a = attempt{};
    a->replay = have_recorded[current_level] && n % replay_every == replay_every - 1;
    c->level_starts++;
}

// Decides where the next level start goes after this frame asked for one.
static void after_level_end(soak_counts *c, const attempt &a, int level_before)
{
    if (current_level != level_before) {            // completed: the loop moved on
        c->completions++;
        timeouts_in_a_row = 0;
        return;
    }
    if (!a.timed_out) return;
    c->timeouts++;
    if (++timeouts_in_a_row >= timeouts_before_moving_on) {
        timeouts_in_a_row = 0;
        current_level = (current_level + 1) % soak_levels;
    }
}

static void frame_keys(random_player *p, attempt *a)
{
    bool timing_out = f[F_TIME] <= 0 && j[J_LEVEL_DONE] == 0;
    if (timing_out) {
        a->timed_out = true;
        timeout_keys(&a->tap);
    } else if (a->replay) {
        recorded_keys(current_level, &a->next_event, a->frame);
    } else {
        random_keys(p);
    }
}

static int fail(const soak_counts &c, unsigned seed, const std::string &what)
{
    fprintf(stderr, "soak: FAULT at frame %ld (level %d, frame %d of the level's time, seed %u): %s\n",
            c.frames, current_level, j[J_FRAME], seed, what.c_str());
    return 1;
}

int main(int argc, char **argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: soak GAME_DIR [FRAMES] [SEED] [LEVELS_DIR]\n");
        return 2;
    }
    long frames = argc > 2 ? atol(argv[2]) : 50000;
    unsigned seed = argc > 3 ? (unsigned)atol(argv[3]) : 1;
    std::string error;
    if (!level_tools_init(argv[1], &error)) {
        fprintf(stderr, "soak: %s\n", error.c_str());
        return 2;
    }
    load_recorded_runs(argc > 4 ? argv[4] : nullptr);
    if (chdir(argv[1]) != 0) return 2;
    srand(seed);

    soak_counts c;
    attempt a;
    random_player p;
    current_level = 0;
    start_level(&c, &a);
    auto t0 = std::chrono::steady_clock::now();
    for (; c.frames < frames; c.frames++) {
        frame_keys(&p, &a);
        int level_before = current_level;
        c.frames_per_level[level_before]++;
        frame_result r = run_frame();
        a.frame++;
        if (r == FRAME_QUIT) return fail(c, seed, "the frame loop asked to quit");
        if (r == FRAME_LEVEL_START) {
            after_level_end(&c, a, level_before);
            start_level(&c, &a);
        } else {
            pace_frame();
        }
        std::string s = world_problem();
        if (!s.empty()) return fail(c, seed, s);
    }
    double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    printf("soak: %ld frames, seed %u, %.1f s (%.3f ms a frame with checks)\n", c.frames, seed, secs,
           1000 * secs / (c.frames ? c.frames : 1));
    printf("soak: %ld level starts, %ld completions, %ld time-outs\n", c.level_starts,
           c.completions, c.timeouts);
    printf("soak: frames per level: 0: %ld, 1: %ld, 2: %ld, 3: %ld\n", c.frames_per_level[0],
           c.frames_per_level[1], c.frames_per_level[2], c.frames_per_level[3]);
    printf("soak: no invariant broken\n");
    return 0;
}
END_OF_MAIN()
