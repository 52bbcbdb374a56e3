// bench/frame_bench.cpp -- the shipped levels as the game plays them, headless:
// the logic of one play frame (the real frame loop with drawing a no-op while
// the player runs right, jumps and boosts) and the level start (load_level).
// budget_% is a frame's processor time as a share of the 25 ms frame (goal:
// at most 1 %); goal_% is a level start's as a share of its 20 ms goal (at
// most 100 %).
// The datafiles and levels come from HILLHOPPER_GAME_DIR, or from the game
// folder next to the benchmark's own folder (build/game).
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <string>
#include <unistd.h>
#include <benchmark/benchmark.h>
#include <allegro.h>
#include "hillhopper.h"
#include "game.h"
#include "zmem.h"
#include "textures.h"
#include "terrain_file.h"
#include "std_gfuncs.h"
#include "replay.h"

namespace {

const double frame_budget_s = 0.025;
const double level_start_goal_s = 0.020;

std::string game_dir(void)
{
    if (const char *d = getenv("HILLHOPPER_GAME_DIR")) return d;
    char exe[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", exe, sizeof(exe) - 1);
    if (n <= 0) return "game";
    exe[n] = 0;
    std::string s(exe);
    s = s.substr(0, s.rfind('/'));                  // build/bench
    return s.substr(0, s.rfind('/')) + "/game";     // build/game
}

// Headless world with the real texture sizes; the current directory becomes
// the game folder so that load_level finds map0.trn .. map3.trn.
bool shipped_world(benchmark::State &state)
{
    static int ready = 0;     // 0 not tried, 1 ready, -1 no game folder
    if (!ready) {
        if (!system_driver) install_allegro(SYSTEM_NONE, &errno, atexit);
        headless = 1;
        pacing_enabled = 0;
        if (!tv) alloc_world_tables();
        std::string dir = game_dir();
        ready = chdir(dir.c_str()) == 0 && access("map0.trn", R_OK) == 0 ? 1 : -1;
        if (ready == 1) load_textures();
    }
    if (ready < 0) state.SkipWithError("no game folder with map0.trn; set HILLHOPPER_GAME_DIR");
    return ready > 0;
}

void release_keys(void)
{
    for (int k = 0; k < KEY_MAX; k++) key[k] = 0;
}

void start(int lev)
{
    current_level = lev;
    level_start();
    display_controls = 0;
    release_keys();
    clear_keyr();
}

// Run right; every 40 frames charge a jump for 12 frames; boost now and then.
void play_keys(int frame)
{
    release_keys();
    key[KEY_RIGHT] = 1;
    key[KEY_ENTER] = frame % 40 < 12;
    key[KEY_RCONTROL] = frame % 200 == 100;
}

// Processor time of this thread: on a shared machine the wall clock also
// counts other programs' turns.
double thread_cpu_s(void)
{
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

// Average processor time of an iteration as a percentage of `budget_s`.
void set_share(benchmark::State &state, const char *name, double total_s, double budget_s)
{
    state.counters[name] = benchmark::Counter(100.0 * total_s / budget_s, benchmark::Counter::kAvgIterations);
}

void BM_play_frame_logic(benchmark::State &state)
{
    if (!shipped_world(state)) return;
    int lev = (int)state.range(0), frame = 0;
    start(lev);
    double total = 0;
    for (auto _ : state) {
        play_keys(frame++);
        double t = thread_cpu_s();
        frame_result r = run_frame();
        pace_frame();
        total += thread_cpu_s() - t;
        if (r != FRAME_NEXT || f[F_TIME] <= 0 || j[J_LEVEL_DONE]) {
            state.PauseTiming();
            start(lev);
            frame = 0;
            state.ResumeTiming();
        }
    }
    set_share(state, "budget_%", total, frame_budget_s);
}
BENCHMARK(BM_play_frame_logic)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

void BM_load_level(benchmark::State &state)
{
    if (!shipped_world(state)) return;
    int lev = (int)state.range(0);
    double total = 0;
    for (auto _ : state) {
        double t = thread_cpu_s();
        load_level(lev);
        total += thread_cpu_s() - t;
    }
    set_share(state, "goal_%", total, level_start_goal_s);
}
BENCHMARK(BM_load_level)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

// What recording adds to a play frame: the latch step's entry and the
// frame's end (ghost pose, end checks), on a live attempt of level lev with
// the keys of BM_play_frame_logic, timed in batches of frames so that the
// clock's own cost does not count. of_logic_% compares it with the frame
// logic measured the same way.
const int recording_batch = 1000;
void BM_recording_per_frame(benchmark::State &state)
{
    if (!shipped_world(state)) return;
    int lev = (int)state.range(0), frame = 0;
    start(lev);
    double logic = 0;
    for (int n = 0; n < recording_batch; n++) {     // the logic of the same frames
        play_keys(n);
        double t = thread_cpu_s();
        if (run_frame() != FRAME_NEXT || !replay_attempt_running()) start(lev);
        pace_frame();
        logic += thread_cpu_s() - t;
    }
    double total = 0;
    start(lev);
    for (auto _ : state) {
        play_keys(frame++);
        double t = thread_cpu_s();
        for (int n = 0; n < recording_batch; n++) {
            replay_latch_step();
            replay_after_frame(FRAME_NEXT);
        }
        total += (thread_cpu_s() - t) / recording_batch;
        if (!replay_attempt_running() || frame % 100 == 0) {
            state.PauseTiming();
            start(lev);
            state.ResumeTiming();
        }
    }
    set_share(state, "budget_%", total, frame_budget_s);
    set_share(state, "of_logic_%", total, logic / recording_batch);
    state.counters["ns_per_frame"] = benchmark::Counter(1e9 * total, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_recording_per_frame)->Arg(0)->Unit(benchmark::kNanosecond);

}  // namespace
