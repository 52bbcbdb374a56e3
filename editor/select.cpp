// editor/select.cpp -- what lies under the mouse, the vertex hold and the
// click-by-click construction of joints, polygons and borders.
// Every pick walks its table from slot 0 and the lowest index wins, except
// doodads, where the nearest wins. Indices stored in records may come from a
// level file, so they are range-checked before they touch the vertex table.
#include <cmath>
#include "hillhopper.h"
#include "std_gfuncs.h"
#include "geometry.h"
#include "joints.h"
#include "polys.h"
#include "borders.h"
#include "editor.h"
#include "editor_state.h"
#include "world.h"

enum cursor_kind {
    CURSOR_PLAIN = 1, CURSOR_VERTEX = 2, CURSOR_JOINT = 3, CURSOR_POLY = 4, CURSOR_BORDER = 5
};

static bool tv_index(int v)
{
    return v >= 0 && v < num_tvs;
}

static bool live_tv(int v)
{
    return tv_index(v) && tv[v].state != 0;
}

static bool mouse_in_tri(int a, int b, int c)
{
    if (!tv_index(a) || !tv_index(b) || !tv_index(c)) return false;
    return inside_tri(tv[a].x, tv[a].y, tv[b].x, tv[b].y, tv[c].x, tv[c].y, mposx, mposy) != 0;
}

// The first live vertex whose pick square holds the mouse (strict on all sides).
// The pick square keeps its size on screen at every zoom.
static int vertex_under_mouse(void)
{
    double half = tv_pick_half / view_zoom();
    for (int i = 0; i < num_tvs; i++) {
        if (tv[i].state == 0) continue;
        if (fabs(mposx - tv[i].x) < half && fabs(mposy - tv[i].y) < half) return i;
    }
    return -1;
}

// ---- constructions ----------------------------------------------------------
// Each returns true when it used the click on vertex v.

static bool offer_to_joint(int v)
{
    if (edt.jnt_stage == 1) {
        edt.jnt_tv0 = v;
        edt.jnt_stage = 2;
        return true;
    }
    if (edt.jnt_stage == 2 && v != edt.jnt_tv0) {
        new_jnt(edt.jnt_tv0, v, edt.jnt_type);
        edt.jnt_stage = 0;
        return true;
    }
    return false;
}

static bool offer_to_poly(int v)
{
    switch (edt.ply_stage) {
    case 1:
        edt.ply_tv0 = v;
        edt.ply_stage = 2;
        return true;
    case 2:
        if (v == edt.ply_tv0) return false;
        edt.ply_tv1 = v;
        edt.ply_stage = 3;
        return true;
    case 3:
        if (v == edt.ply_tv0 || v == edt.ply_tv1) return false;
        if (edt.ply_quad) {
            edt.ply_tv2 = v;
            edt.ply_stage = 4;
            return true;
        }
        new_ply(edt.ply_tv0, edt.ply_tv1, v, -1, 0, edt.cur_tex, edt.cur_layer);
        edt.ply_stage = 0;
        update_region_plys();
        return true;
    case 4:
        if (v == edt.ply_tv0 || v == edt.ply_tv1 || v == edt.ply_tv2) return false;
        new_ply(edt.ply_tv0, edt.ply_tv1, edt.ply_tv2, v, 1, edt.cur_tex, edt.cur_layer);
        edt.ply_stage = 0;
        update_region_plys();
        return true;
    default:
        return false;
    }
}

static bool offer_to_border(int v)
{
    if (edt.bdr_stage == 1) {
        edt.bdr_tv0 = v;
        edt.bdr_stage = 2;
        return true;
    }
    if (edt.bdr_stage == 2 && v != edt.bdr_tv0) {
        new_bdr2(edt.bdr_tv0, v, edt.bdr_type, edt.cur_tex);
        edt.bdr_stage = 0;
        update_region_bdrs();
        return true;
    }
    return false;
}

// A press on a vertex: the vertex is held unless a construction takes it as
// its next corner.
static void press_on_vertex(int v)
{
    selected_point = v;
    if (offer_to_joint(v) || offer_to_poly(v) || offer_to_border(v)) selected_point = -1;
}

// Pressing on one vertex and letting go over another draws a walking joint,
// whatever joint type is chosen.
static void release_button(void)
{
    const int walking = 1;
    if (mouse_over_point != -1 && edt.jnt_stage == 2 && mouse_over_point != edt.jnt_tv0) {
        new_jnt(edt.jnt_tv0, mouse_over_point, walking);
        edt.jnt_stage = 0;
    }
    selected_point = -1;
}

static int construction_cursor(void)
{
    if (edt.jnt_stage != 0) return CURSOR_JOINT;
    if (edt.ply_stage != 0) return CURSOR_POLY;
    if (edt.bdr_stage != 0) return CURSOR_BORDER;
    return CURSOR_PLAIN;
}

void select_point(void)
{
    mouse_type = CURSOR_PLAIN;
    mouse_over_point = vertex_under_mouse();
    if (mouse_over_point != -1) mouse_type = CURSOR_VERTEX;

    // A hold whose vertex was freed meanwhile is dropped, so the drag never
    // writes into a free slot.
    if (selected_point != -1 && !live_tv(selected_point)) selected_point = -1;
    if (selected_point != -1) {
        clear_all_selections();
        edt.sel_tv = selected_point;
    }
    if (edt.sel_tv != -1 && !live_tv(edt.sel_tv)) edt.sel_tv = -1;

    if (mb1 == LATCH_PRESSED && mouse_over_point != -1 && selected_point == -1)
        press_on_vertex(mouse_over_point);
    if (mb1 == LATCH_RELEASED) release_button();
    if (mb1 == LATCH_HELD && selected_point != -1) {
        tv[selected_point].x = (float)snap_to_grid(mposx);
        tv[selected_point].y = (float)snap_to_grid(mposy);
        mouse_type = CURSOR_VERTEX;
    }
    if (mouse_type == CURSOR_PLAIN) mouse_type = construction_cursor();
}

// ---- picks ------------------------------------------------------------------

void select_joint(void)
{
    double slack = jnt_pick_slack / view_zoom();
    for (int i = 0; i < num_jnts; i++) {
        if (jnt[i].state == 0) continue;
        int a = jnt[i].tvn[0], b = jnt[i].tvn[1];
        if (!tv_index(a) || !tv_index(b)) continue;
        double ax = tv[a].x, ay = tv[a].y, bx = tv[b].x, by = tv[b].y;
        if (dist(ax, ay, mposx, mposy) + dist(bx, by, mposx, mposy) < dist(ax, ay, bx, by) + slack) {
            edt.hover_jnt = i;
            return;
        }
    }
}

static bool layer_filter_on(void)
{
    return keyr[KEY_F1] || keyr[KEY_F2] || keyr[KEY_F3];
}

static bool mouse_in_ply(const ply_struct &p)
{
    const int quad = 1;
    if (mouse_in_tri(p.tvn[0], p.tvn[1], p.tvn[2])) return true;
    return p.type == quad && mouse_in_tri(p.tvn[2], p.tvn[3], p.tvn[0]);
}

void select_poly(void)
{
    bool filter = layer_filter_on();
    for (int i = 0; i < num_plys; i++) {
        if (ply[i].state == 0) continue;
        if (filter && ply[i].layer != edt.cur_layer) continue;
        if (mouse_in_ply(ply[i])) {
            edt.hover_ply = i;
            return;
        }
    }
}

// The band is tested as two triangles over the edge and its outer vertices.
void select_border(void)
{
    for (int i = 0; i < num_bdrs; i++) {
        const bdr_struct &b = bdr[i];
        if (b.state == 0) continue;
        if (mouse_in_tri(b.tvn[0], b.tvn[1], b.tva[0]) || mouse_in_tri(b.tvn[1], b.tva[0], b.tva[1])) {
            edt.hover_bdr = i;
            return;
        }
    }
}

// A doodad is picked inside the circle through the corners of its drawn
// rectangle; the nearest wins, the lower index on a tie.
void select_doodad(void)
{
    double best = 1000;
    edt.hover_dad = -1;
    for (int i = 0; i < num_dads; i++) {
        if (dad[i].state == 0 || i == edt.preview_dad) continue;
        int diag2 = (int)dad[i].sx * dad[i].sx + (int)dad[i].sy * dad[i].sy;
        double radius = sqrt((double)diag2) / dad_pick_divisor;
        double d = dist(dad[i].px, dad[i].py, mposx, mposy);
        if (d < best && d < radius) {
            best = d;
            edt.hover_dad = i;
        }
    }
}
