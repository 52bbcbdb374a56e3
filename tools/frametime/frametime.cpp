// tools/frametime -- measures paced play: the interval between frames and the
// processor time the game takes while it waits for the timer.
// Usage (in the game folder, under a display): frametime [seconds] [level]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>
#include <sys/resource.h>
#include <allegro.h>
#include "hillhopper.h"
#include "game.h"
#include "zmem.h"
#include "textures.h"

static double cpu_seconds(void)
{
    rusage u;
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

int main(int argc, char **argv)
{
    double seconds = argc > 1 ? atof(argv[1]) : 10;
    current_level = argc > 2 ? atoi(argv[2]) : 0;
    if (main_init() != 0) return 1;
    alloc_world_tables();
    load_textures();
    level_start();
    display_controls = 0;

    using clock = std::chrono::steady_clock;
    std::vector<double> intervals;
    auto start = clock::now(), last = start;
    double cpu0 = cpu_seconds();
    while (std::chrono::duration<double>(clock::now() - start).count() < seconds) {
        if (run_frame() != FRAME_NEXT) level_start();
        pace_frame();
        auto now = clock::now();
        intervals.push_back(std::chrono::duration<double, std::milli>(now - last).count());
        last = now;
    }
    double wall = std::chrono::duration<double>(clock::now() - start).count();
    double cpu = cpu_seconds() - cpu0;
    std::sort(intervals.begin(), intervals.end());
    printf("frames %zu over %.1f s\n", intervals.size(), wall);
    printf("frame interval ms: median %.2f min %.2f max %.2f\n", intervals[intervals.size() / 2],
           intervals.front(), intervals.back());
    printf("processor: %.1f %% of one core\n", 100 * cpu / wall);
    return 0;
}
END_OF_MAIN()
