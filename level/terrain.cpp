// level/terrain.cpp -- level files "map<n>.trn": emptying the terrain tables,
// the strict reader, the safe writer, and the level set-up sequence.
#include "hillhopper.h"
#include "terrain_file.h"
#include "joints.h"
#include "polys.h"
#include "borders.h"

void load_plain_level(void)
{
    for (int i = 0; i < num_tvs; i++) {
        tv[i].state = 0;
        tv[i].x = 0;
        tv[i].y = 0;
    }
    for (int i = 0; i < num_jnts; i++) {
        jnt[i].state = 0;
        jnt[i].tvn[0] = jnt[i].tvn[1] = 0;
        jnt[i].njnt[0] = jnt[i].njnt[1] = -1;
        jnt[i].type = 0;
    }
    // A polygon's layer and a border's arrow group are set by their creators.
    for (int i = 0; i < num_plys; i++) {
        ply[i].state = 0;
        for (int c = 0; c < 4; c++) ply[i].tvn[c] = 0;
        ply[i].type = 0;
        ply[i].x = 0;
    }
    for (int i = 0; i < num_bdrs; i++) {
        bdr[i].state = 0;
        bdr[i].tvn[0] = bdr[i].tvn[1] = 0;
        bdr[i].tva[0] = bdr[i].tva[1] = 0;
        bdr[i].type = 0;
        bdr[i].x = 0;
        bdr[i].last_b = bdr[i].next_b = -1;
        bdr[i].tex_offset = 0;
        bdr[i].tex_len = 0;
    }
    for (int i = 0; i < num_dads; i++) {
        dad[i].state = 0;
        dad[i].px = dad[i].py = dad[i].ang = 0;
        dad[i].pic = 0;
        dad[i].type = 0;
        dad[i].layer = 0;
        dad[i].sx = dad[i].sy = 32;
    }
    update_region_jnts();
    update_region_bdrs();
    update_region_plys();
}

// STUB: scaffolding until the reader and writer land (same session).
void load_level(int lev) { (void)lev; }
void load_terrain(int lev) { (void)lev; }
void save_terrain(int lev) { (void)lev; }
