// tools/drawtime -- unpaced timing of whole drawn play frames, and of the
// program's start up to its first drawn frame. Run in the game folder under a
// display (Xvfb with Mesa's software renderer gives the reference figures):
//   xvfb-run -a -s "-screen 0 1024x768x24" ./drawtime [FRAMES] [LEVEL...]
// Each frame is the real frame loop (logic, drawing, flip) followed by
// glFinish, so that the renderer's work is counted in the frame that made it.
// The start screen waits for a key and is left out of the start-up time.
// Goals: a drawn frame at most 10 ms median; start to first frame at most 1 s.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>
#include <ctime>
#include <unistd.h>
#include <allegro.h>
#include <alleggl.h>
#include "hillhopper.h"
#include "game.h"
#include "zmem.h"
#include "textures.h"

typedef std::chrono::steady_clock steady;

static double ms_since(steady::time_point t)
{
    return std::chrono::duration<double, std::milli>(steady::now() - t).count();
}

// Processor time of the whole process, every thread (the software renderer
// draws on threads of its own): less disturbed by other programs than the
// wall clock on a busy machine.
static double cpu_ms(void)
{
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

static double median_of(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Seconds between the process's creation and now, from /proc (the clock of
// main's entry misses the loading of the shared libraries).
static double process_age_ms(void)
{
    FILE *fp = fopen("/proc/self/stat", "r");
    if (!fp) return -1;
    unsigned long long start = 0;
    // Field 22 is the start time in clock ticks after boot.
    int field = 1, c;
    while (field < 22 && (c = fgetc(fp)) != EOF)
        if (c == ' ') field++;
    if (fscanf(fp, "%llu", &start) != 1) start = 0;
    fclose(fp);
    double uptime = 0;
    fp = fopen("/proc/uptime", "r");
    if (!fp || fscanf(fp, "%lf", &uptime) != 1) uptime = 0;
    if (fp) fclose(fp);
    return start ? 1000 * (uptime - (double)start / sysconf(_SC_CLK_TCK)) : -1;
}

static void play_keys(int frame)
{
    for (int k = 0; k < KEY_MAX; k++) key[k] = 0;
    key[KEY_RIGHT] = 1;
    key[KEY_ENTER] = frame % 40 < 12;
}

static void start_level(int lev)
{
    current_level = lev;
    level_start();
    display_controls = 0;
}

static void time_level(int lev, int frames)
{
    start_level(lev);
    std::vector<double> ms, cpu;
    for (int fr = 0; fr < frames; fr++) {
        play_keys(fr);
        auto t = steady::now();
        double c = cpu_ms();
        frame_result r = run_frame();
        glFinish();
        ms.push_back(ms_since(t));
        cpu.push_back(cpu_ms() - c);
        if (r != FRAME_NEXT || f[F_TIME] <= 0 || j[J_LEVEL_DONE]) start_level(lev);
    }
    std::sort(ms.begin(), ms.end());
    double median = ms[ms.size() / 2];
    printf("level %d: %d drawn frames, ms median %.2f, 90th %.2f, max %.2f; median %.0f %% of the 25 ms frame;"
           " processor ms median %.2f\n",
           lev, frames, median, ms[ms.size() * 9 / 10], ms.back(), 100 * median / 25, median_of(cpu));
}

int main(int argc, char **argv)
{
    auto t0 = steady::now();
    double before_main = process_age_ms();
    int frames = argc > 1 ? atoi(argv[1]) : 400;
    if (frames < 1) frames = 1;
    // Start-up in its phases, to see where the time goes.
    struct phase { const char *name; double ms; } phases[5];
    auto t = steady::now();
    if (main_init() != 0) return 1;
    phases[0] = {"services and GL mode", ms_since(t)};
    pacing_enabled = 0;
    t = steady::now();
    alloc_zmem();
    phases[1] = {"tables, sounds and music", ms_since(t)};
    t = steady::now();
    load_textures();
    phases[2] = {"textures", ms_since(t)};
    t = steady::now();
    start_level(0);
    phases[3] = {"level start", ms_since(t)};
    t = steady::now();
    run_frame();
    glFinish();
    phases[4] = {"first frame", ms_since(t)};
    double first = ms_since(t0);
    printf("start to first frame: %.0f ms after main (%.0f ms since the process began)\n", first,
           before_main >= 0 ? before_main + first : first);
    for (const phase &p : phases) printf("  %-26s %6.0f ms\n", p.name, p.ms);
    printf("renderer: %s\n", (const char *)glGetString(GL_RENDERER));
    if (argc > 2) {
        for (int a = 2; a < argc; a++) time_level(atoi(argv[a]), frames);
    } else {
        for (int lev = 0; lev < 4; lev++) time_level(lev, frames);
    }
    return 0;
}
END_OF_MAIN()
