// tools/frametime -- measures paced play: the interval between frames and the
// processor time the game takes while it waits for the timer.
// Usage (in the game folder, under a display):
//   frametime [seconds] [level]          paced play of a level
//   frametime [seconds] start [SHOT.bmp] the start screen (its second menu, with
//                                        the scroller, after its first second);
//                                        SHOT.bmp: that screen's 100th frame, for
//                                        checking that a change keeps the picture
//   frametime [seconds] still [level]    a screen that holds still (a pause
//                                        done the light way): input is read
//                                        every frame, the picture drawn once a
//                                        second; the floor for a paused game
//   frametime [seconds] SCREEN [level] [SHOT.bmp]
//                                        one of the game's own screens through
//                                        its own loop: pause (after 40 frames of
//                                        play), select, options, ending,
//                                        complete (the level-complete screen)
//                                        and timeout; timing starts on its 40th
//                                        frame; SHOT.bmp: what the window shows
//                                        (the front buffer) on its 100th frame
// Screens that draw only when their picture changes skip the flip (and the
// level-complete screen its drawing hook) on the frames they do not draw, so
// these count frames where input is read.
// The processor share counts every thread of the process (the software
// renderer draws on threads of its own).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>
#include <sys/resource.h>
#include <allegro.h>
#include <alleggl.h>
#include "hillhopper.h"
#include "game.h"
#include "zmem.h"
#include "textures.h"
#include "screen_text.h"
#include "screens.h"
#include "startscr.h"
#include "std_gfuncs.h"
#include "world.h"

using steady = std::chrono::steady_clock;

static double cpu_seconds(void)
{
    rusage u;
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

static std::vector<double> intervals;
static steady::time_point last_frame;

static void note_frame(void)
{
    auto now = steady::now();
    intervals.push_back(std::chrono::duration<double, std::milli>(now - last_frame).count());
    last_frame = now;
}

static void report(double wall, double cpu)
{
    std::sort(intervals.begin(), intervals.end());
    if (intervals.empty()) intervals.push_back(0);
    printf("window %dx%d, frames %zu over %.1f s\n", SCREEN_W, SCREEN_H, intervals.size(), wall);
    printf("frame interval ms: median %.2f min %.2f max %.2f\n", intervals[intervals.size() / 2],
           intervals.front(), intervals.back());
    printf("processor: %.1f %% of one core, %.2f ms a frame\n", 100 * cpu / wall,
           1000 * cpu / intervals.size());
}

// The start screen: its own loop runs until the window is "closed" from the
// hook. Timing starts after the first second (the pictures load first), on
// the start/quit menu of the first language, which also draws the scroller.
static double start_seconds, start_cpu0;
static steady::time_point start_t0;
static int start_frames_seen;

static const char *shot_path = nullptr;
static const int shot_frame = 100;

// The back buffer as a 32-bit picture file. Read before the flip it is the
// frame just drawn; read before anything is drawn in a frame it is the
// picture on show: Mesa's software renderer reads its front buffer back black
// under Xvfb, but keeps the back buffer through a flip.
static void save_back_buffer(const char *path)
{
    BITMAP *bmp = create_bitmap_ex(32, SCREEN_W, SCREEN_H);
    if (!bmp) return;
    std::vector<unsigned char> row(SCREEN_W * 4);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    for (int y = 0; y < SCREEN_H; y++) {
        glReadPixels(0, SCREEN_H - 1 - y, SCREEN_W, 1, GL_RGBA, GL_UNSIGNED_BYTE, row.data());
        for (int x = 0; x < SCREEN_W; x++)
            putpixel(bmp, x, y, makecol32(row[4 * x], row[4 * x + 1], row[4 * x + 2]));
    }
    save_bitmap(path, bmp, nullptr);
    destroy_bitmap(bmp);
}

static void start_screen_frame(void)
{
    start_frames_seen++;
    if (shot_path && start_frames_seen == shot_frame) save_back_buffer(shot_path);
    if (start_frames_seen == 2) stage = 1;          // past the language menu
    if (start_frames_seen == 40) {
        start_t0 = last_frame = steady::now();
        start_cpu0 = cpu_seconds();
        return;
    }
    if (start_frames_seen < 40) return;
    note_frame();
    if (std::chrono::duration<double>(steady::now() - start_t0).count() >= start_seconds)
        close_requested = 1;
}

static int time_start_screen(double seconds, const char *shot)
{
    shot_path = shot;
    start_seconds = seconds;
    start_screen_before_flip = start_screen_frame;
    lang = 0;
    start_main();
    double wall = std::chrono::duration<double>(steady::now() - start_t0).count();
    report(wall, cpu_seconds() - start_cpu0);
    return 0;
}

// ---- the game's own screens, counted where they read input ------------------------

enum screen_mode { SCREEN_PAUSE, SCREEN_SELECT, SCREEN_OPTIONS, SCREEN_ENDING, SCREEN_COMPLETE, SCREEN_TIMEOUT, NUM_SCREEN_MODES };
static const char *const screen_names[NUM_SCREEN_MODES] = {"pause", "select", "options", "ending", "complete", "timeout"};
static int screen_frames;
static steady::time_point screen_t0;
static double screen_cpu0;
static bool screen_timing;

static int screen_mode_of(const char *name)
{
    for (int m = 0; m < NUM_SCREEN_MODES; m++)
        if (strcmp(name, screen_names[m]) == 0) return m;
    return -1;
}

// Called from do_keyr, once a frame in every screen loop (ten times a frame
// while paused: the pause polls every 10 ms).
static void screen_input_frame(void)
{
    screen_frames++;
    if (shot_path && screen_frames == shot_frame) save_back_buffer(shot_path);
    if (screen_frames == 40) {
        screen_t0 = last_frame = steady::now();
        screen_cpu0 = cpu_seconds();
        screen_timing = true;
        return;
    }
    if (!screen_timing) return;
    note_frame();
    if (std::chrono::duration<double>(steady::now() - screen_t0).count() >= start_seconds) close_requested = 1;
}

static void report_screen(void)
{
    double wall = std::chrono::duration<double>(steady::now() - screen_t0).count();
    report(wall, cpu_seconds() - screen_cpu0);
}

static int time_screen(int mode, double seconds, int level, const char *shot)
{
    shot_path = shot;
    start_seconds = seconds;
    lang = 0;
    if (mode == SCREEN_SELECT || mode == SCREEN_OPTIONS || mode == SCREEN_ENDING) {
        load_fonts();
        input_hook = screen_input_frame;
        if (mode == SCREEN_SELECT) level_select_screen();
        else if (mode == SCREEN_OPTIONS) options_screen();
        else ending_screen();
        report_screen();
        return 0;
    }
    current_level = level;
    level_start();
    display_controls = 0;
    if (mode == SCREEN_PAUSE) {
        for (int n = 0; n < 40; n++) {
            run_frame();
            pace_frame();
        }
        input_hook = screen_input_frame;
        pause_game();
        report_screen();
        return 0;
    }
    if (mode == SCREEN_COMPLETE) j[J_LEVEL_DONE] = 1;
    else f[F_TIME] = 0.01;
    input_hook = screen_input_frame;
    while (!close_requested) {
        if (run_frame() != FRAME_NEXT) break;
        pace_frame();
    }
    report_screen();
    return 0;
}

int main(int argc, char **argv)
{
    double seconds = argc > 1 ? atof(argv[1]) : 10;
    bool start = argc > 2 && strcmp(argv[2], "start") == 0;
    bool still = argc > 2 && strcmp(argv[2], "still") == 0;
    int level_arg = still ? 3 : 2;
    current_level = argc > level_arg && !start ? atoi(argv[level_arg]) : 0;
    if (main_init() != 0) return 1;
    alloc_world_tables();
    load_textures();
    if (start) return time_start_screen(seconds, argc > 3 ? argv[3] : nullptr);
    int screen = argc > 2 ? screen_mode_of(argv[2]) : -1;
    if (screen >= 0)
        return time_screen(screen, seconds, argc > 3 ? atoi(argv[3]) : 0, argc > 4 ? argv[4] : nullptr);
    level_start();
    display_controls = 0;

    auto t0 = steady::now();
    last_frame = t0;
    double cpu0 = cpu_seconds();
    const int still_redraw_frames = 40;
    for (int n = 0; std::chrono::duration<double>(steady::now() - t0).count() < seconds; n++) {
        if (still && n % still_redraw_frames != 0) do_keyr();
        else if (run_frame() != FRAME_NEXT) level_start();
        pace_frame();
        note_frame();
    }
    double wall = std::chrono::duration<double>(steady::now() - t0).count();
    report(wall, cpu_seconds() - cpu0);
    return 0;
}
END_OF_MAIN()
