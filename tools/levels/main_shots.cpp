// tools/levels/main_shots.cpp -- screenshots along a finishing run, for
// looking at a level as a player sees it. Needs a display (Xvfb will do).
// Usage: level_shots GAME_DIR RUN OUT_PREFIX FRAME [FRAME ...]
// writes OUT_PREFIX<frame>.bmp after each listed frame of the run; the frame
// "last" is the run's final frame (the run is played once first to find it).
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <unistd.h>
#include <allegro.h>
#include <alleggl.h>
#include "level_kit.h"
#include "hillhopper.h"
#include "game.h"
#include "zmem.h"
#include "textures.h"
#include "world.h"
#include "polys.h"
#include "borders.h"
#include "doodads.h"
#include "waypoints.h"
#include "bodies.h"
#include "bonusnparticle.h"
#include "barsnstuff.h"

// The frame being played and the shots wanted: the frame loop hands each
// finished frame to frame_ready_hook just before it is shown.
static int playing_frame = -1;
static std::set<int> wanted_frames;
static std::string shot_prefix;

static void save_shot(const std::string &path);

static void shoot_wanted_frame(void)
{
    if (wanted_frames.count(playing_frame))
        save_shot(shot_prefix + std::to_string(playing_frame) + ".bmp");
}

static void save_shot(const std::string &path)
{
    BITMAP *bmp = create_bitmap_ex(32, SCREEN_W, SCREEN_H);
    if (!bmp) return;
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    std::vector<unsigned char> row(SCREEN_W * 4);
    for (int y = 0; y < SCREEN_H; y++) {
        glReadPixels(0, SCREEN_H - 1 - y, SCREEN_W, 1, GL_RGBA, GL_UNSIGNED_BYTE, row.data());
        for (int x = 0; x < SCREEN_W; x++)
            putpixel(bmp, x, y, makecol32(row[4 * x], row[4 * x + 1], row[4 * x + 2]));
    }
    save_bitmap(path.c_str(), bmp, nullptr);
    destroy_bitmap(bmp);
}

int main(int argc, char **argv)
{
    if (argc < 5) {
        fprintf(stderr, "usage: %s GAME_DIR RUN OUT_PREFIX FRAME [FRAME ...]\n", argv[0]);
        return 2;
    }
    std::ifstream in(argv[2]);
    std::stringstream text;
    text << in.rdbuf();
    run_script run;
    std::string err;
    if (!parse_run(text.str(), &run, &err)) {
        fprintf(stderr, "level_shots: %s\n", err.c_str());
        return 1;
    }
    std::set<int> &frames = wanted_frames;
    bool want_last = false;
    for (int a = 4; a < argc; a++) {
        if (std::string(argv[a]) == "last") want_last = true;
        else frames.insert(atoi(argv[a]));
    }
    if (allegro_init() != 0) return 1;
    install_allegro_gl();
    install_timer();
    if (open_gl_mode(0) != 0) {
        fprintf(stderr, "level_shots: no GL window\n");
        return 1;
    }
    setup_gl_state();
    headless = 0;
    pacing_enabled = 0;
    alloc_world_tables();
    std::string dir = argv[1];
    if (chdir(dir.c_str()) != 0) return 1;
    load_textures();
    shot_prefix = argv[3];
    if (want_last) {
        const int longest_run = 100000;
        run_result r = play_run(".", run, longest_run, nullptr);
        frames.insert(r.frames - 1);
    }
    if (frames.empty()) return 0;
    frame_ready_hook = shoot_wanted_frame;
    size_t next = 0;
    int last = *frames.rbegin();
    play_level(".", run.level, last + 1,
               [&](int frame) {
                   playing_frame = frame;
                   while (next < run.events.size() && run.events[next].frame <= frame) {
                       key[run.events[next].key] = run.events[next].down ? 1 : 0;
                       next++;
                   }
               },
               nullptr);
    return 0;
}
