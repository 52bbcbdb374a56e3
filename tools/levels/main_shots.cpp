// tools/levels/main_shots.cpp -- screenshots along a finishing run, for
// looking at a level as a player sees it. Needs a display (Xvfb will do).
// Usage: level_shots GAME_DIR RUN OUT_PREFIX FRAME [FRAME ...]
// writes OUT_PREFIX<frame>.bmp after each listed frame of the run.
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

// The frame loop flips the buffers; the shot draws the scene once more
// into the back buffer in the loop's order and reads it back.
static void redraw_scene(void)
{
    update_dads_onscreen();
    draw_bg();
    trans_map();
    draw_wpts();
    draw_plys(0);
    draw_plys(1);
    draw_bdrs();
    draw_dads(0);
    draw_bodies();
    draw_plys(2);
    draw_particles();
    draw_bonuses();
    draw_barsnstuff();
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
    std::set<int> frames;
    for (int a = 4; a < argc; a++) frames.insert(atoi(argv[a]));
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
    std::string prefix = argv[3];
    size_t next = 0;
    int last = *frames.rbegin();
    play_level(".", run.level, last + 1,
               [&](int frame) {
                   while (next < run.events.size() && run.events[next].frame <= frame) {
                       key[run.events[next].key] = run.events[next].down ? 1 : 0;
                       next++;
                   }
               },
               [&](int frame) {
                   if (!frames.count(frame)) return;
                   redraw_scene();
                   save_shot(prefix + std::to_string(frame) + ".bmp");
               });
    return 0;
}
