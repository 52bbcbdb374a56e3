// tools/levels/run.cpp -- finishing runs: key changes by frame, read and
// written as text, and played through the real frame loop without pacing.
#include <cstdlib>
#include <functional>
#include <sstream>
#include <unistd.h>
#include <allegro.h>
#include "level_kit.h"
#include "hillhopper.h"
#include "game.h"
#include "std_gfuncs.h"
#include "replay.h"

namespace {

struct key_name {
    const char *name;
    int key;
};

// The play keys a run may press.
const key_name run_keys[] = {
    {"left", KEY_LEFT},   {"right", KEY_RIGHT}, {"up", KEY_UP},
    {"down", KEY_DOWN},   {"enter", KEY_ENTER}, {"boost", KEY_RCONTROL},
    {"help", KEY_RSHIFT}, {"escape", KEY_ESC},
};

int key_by_name(const std::string &n)
{
    for (const key_name &k : run_keys)
        if (n == k.name) return k.key;
    return -1;
}

} // namespace

const char *run_key_name(int key)
{
    for (const key_name &k : run_keys)
        if (k.key == key) return k.name;
    return "?";
}

bool parse_run(const std::string &text, run_script *run, std::string *error)
{
    std::istringstream in(text);
    std::string raw;
    int line = 0, last = 0;
    run->events.clear();
    while (std::getline(in, raw)) {
        line++;
        std::istringstream words(raw.substr(0, raw.find('#')));
        std::string a, b, c, extra;
        if (!(words >> a)) continue;
        auto fail = [&](const std::string &m) {
            if (error) *error = "run:" + std::to_string(line) + ": " + m;
            return false;
        };
        if (a == "level") {
            if (!(words >> run->level)) return fail("level needs a number");
            continue;
        }
        if (!(words >> b >> c) || (words >> extra)) return fail("expected 'frame key down|up'");
        char *end = nullptr;
        long frame = strtol(a.c_str(), &end, 10);
        if (!end || *end || frame < 0 || frame < last) return fail("frames must not go back");
        int key = key_by_name(b);
        if (key < 0) return fail("unknown key '" + b + "'");
        if (c != "down" && c != "up") return fail("expected down or up");
        run->events.push_back({(int)frame, key, c == "down"});
        last = (int)frame;
    }
    return true;
}

std::string format_run(const run_script &run)
{
    std::string s = "level " + std::to_string(run.level) + "\n";
    for (const run_event &e : run.events)
        s += std::to_string(e.frame) + " " + run_key_name(e.key) + (e.down ? " down\n" : " up\n");
    return s;
}

run_result play_level(const std::string &dir, int level, int max_frames,
                      const std::function<void(int)> &before,
                      const std::function<void(int)> &after)
{
    run_result r;
    char cwd[4096];
    if (!getcwd(cwd, sizeof(cwd)) || chdir(dir.c_str()) != 0) return r;
    set_next_level_seed(1);
    for (int k = 0; k < KEY_MAX; k++) key[k] = 0;
    clear_keyr();
    current_level = level;
    level_start();
    display_controls = 0;
    for (int frame = 0; frame < max_frames; frame++) {
        if (before) before(frame);
        frame_result fr = run_frame();
        if (fr == FRAME_NEXT) pace_frame();
        if (after) after(frame);
        r.frames = frame + 1;
        if (j[J_LEVEL_DONE] != 0) {
            r.finished = true;
            r.time_left = f[F_TIME];
            break;
        }
        if (f[F_TIME] <= 0 || j[J_LOST] || fr != FRAME_NEXT) {
            r.lost = true;
            break;
        }
    }
    r.x = body[0].x;
    r.y = body[0].y;
    for (int k = 0; k < num_wpts; k++)
        if (wpt[k].state && wpt[k].cnt) r.waypoints++;
    for (int k = 0; k < KEY_MAX; k++) key[k] = 0;
    if (chdir(cwd) != 0) {}
    return r;
}

run_result play_run(const std::string &dir, const run_script &run, int max_frames,
                    void (*observe)(int frame))
{
    size_t next = 0;
    auto press = [&](int frame) {
        while (next < run.events.size() && run.events[next].frame <= frame) {
            key[run.events[next].key] = run.events[next].down ? 1 : 0;
            next++;
        }
    };
    auto after = [&](int frame) { if (observe) observe(frame); };
    return play_level(dir, run.level, max_frames, press, after);
}
