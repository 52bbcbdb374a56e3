// tools/levels/main_map.cpp -- one picture of a whole stage (or a part of it),
// for looking over a level's full extent without steering a free camera.
// Needs a display (Xvfb will do). The view is drawn tile by tile exactly as a
// frame draws the world (backdrop, ground, bands, doodads, front layer,
// bonuses) without the player and the bars, and the tiles are laid side by
// side, every SHRINK-th pixel kept.
// Usage: level_map GAME_DIR LEVEL OUT.bmp [SHRINK [X0 Y0 X1 Y1]]
// Without a rectangle the map covers every vertex in use plus a margin.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>
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
#include "bonusnparticle.h"

const double tile_w = 4.0, tile_h = 3.0;    // world units a frame shows
const double map_margin = 1.5;              // world units round the vertices

struct map_rect { double x0, y0, x1, y1; };

static map_rect vertex_extent(void)
{
    map_rect r = {1e9, 1e9, -1e9, -1e9};
    for (int k = 0; k < num_tvs; k++) {
        if (!tv[k].state) continue;
        r.x0 = std::min(r.x0, (double)tv[k].x);
        r.y0 = std::min(r.y0, (double)tv[k].y);
        r.x1 = std::max(r.x1, (double)tv[k].x);
        r.y1 = std::max(r.y1, (double)tv[k].y);
    }
    return {r.x0 - map_margin, r.y0 - map_margin, r.x1 + map_margin, r.y1 + map_margin};
}

static void draw_tile(double cx, double cy)
{
    scr_px = cx;
    scr_py = cy;
    world_ang = 0;
    update_dads_onscreen();
    draw_bg();
    trans_map();
    draw_plys(0);
    draw_plys(1);
    draw_bdrs();
    draw_dads(0);
    draw_plys(2);
    draw_bonuses();
    glFinish();
}

// Copies the drawn tile into the map at (left, top), keeping every shrink-th pixel.
static void copy_tile(BITMAP *map, int left, int top, int shrink, std::vector<unsigned char> &row)
{
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    for (int y = 0; y < SCREEN_H; y += shrink) {
        glReadPixels(0, SCREEN_H - 1 - y, SCREEN_W, 1, GL_RGBA, GL_UNSIGNED_BYTE, row.data());
        for (int x = 0; x < SCREEN_W; x += shrink)
            putpixel(map, left + x / shrink, top + y / shrink,
                     makecol32(row[4 * x], row[4 * x + 1], row[4 * x + 2]));
    }
}

int main(int argc, char **argv)
{
    if (argc != 4 && argc != 5 && argc != 9) {
        fprintf(stderr, "usage: %s GAME_DIR LEVEL OUT.bmp [SHRINK [X0 Y0 X1 Y1]]\n", argv[0]);
        return 2;
    }
    int level = atoi(argv[2]);
    int shrink = argc >= 5 ? std::max(1, std::min(8, atoi(argv[4]))) : 4;
    std::string out = argv[3];
    char cwd[4096];
    if (out[0] != '/' && getcwd(cwd, sizeof(cwd))) out = std::string(cwd) + "/" + out;
    if (allegro_init() != 0) return 1;
    install_allegro_gl();
    install_timer();
    if (open_gl_mode(0) != 0) {
        fprintf(stderr, "level_map: no GL window\n");
        return 1;
    }
    setup_gl_state();
    headless = 0;
    alloc_world_tables();
    if (chdir(argv[1]) != 0) {
        fprintf(stderr, "level_map: no folder %s\n", argv[1]);
        return 1;
    }
    load_textures();
    if (!load_level_from(".", level)) {
        fprintf(stderr, "level_map: map%d.trn missing or refused\n", level);
        return 1;
    }
    map_rect r = argc == 9 ? map_rect{atof(argv[5]), atof(argv[6]), atof(argv[7]), atof(argv[8])}
                           : vertex_extent();
    int cols = std::max(1, (int)ceil((r.x1 - r.x0) / tile_w));
    int rows = std::max(1, (int)ceil((r.y1 - r.y0) / tile_h));
    int tw = SCREEN_W / shrink, th = SCREEN_H / shrink;
    BITMAP *map = create_bitmap_ex(32, cols * tw, rows * th);
    if (!map) {
        fprintf(stderr, "level_map: %d x %d tiles do not fit in memory; shrink more\n", cols, rows);
        return 1;
    }
    std::vector<unsigned char> row(SCREEN_W * 4);
    for (int ty = 0; ty < rows; ty++)
        for (int tx = 0; tx < cols; tx++) {
            draw_tile(r.x0 + (tx + 0.5) * tile_w, r.y1 - (ty + 0.5) * tile_h);
            copy_tile(map, tx * tw, ty * th, shrink, row);
        }
    int saved = save_bitmap(out.c_str(), map, nullptr);
    printf("level_map: level %d, x %.1f..%.1f, y %.1f..%.1f, %d x %d tiles -> %s\n", level,
           r.x0, r.x0 + cols * tile_w, r.y1 - rows * tile_h, r.y1, cols, rows, out.c_str());
    destroy_bitmap(map);
    return saved == 0 ? 0 : 1;
}
