// editor/cascade.cpp -- deleting a terrain vertex with everything built on it,
// and deleting a border with its unshared outer vertices.
// Every record is freed before anything is re-entered, and the sweeps read
// state afresh for every slot, so a nested deletion is skipped later and the
// recursion ends. Nothing may be left pointing at a freed slot: the hold, the
// half-built constructions and the border chain links are cleared too.
#include "hillhopper.h"
#include "joints.h"
#include "polys.h"
#include "borders.h"
#include "editor.h"
#include "editor_state.h"

static bool uses_tv(const jnt_struct &r, int v)
{
    return r.tvn[0] == v || r.tvn[1] == v;
}

static bool uses_tv(const ply_struct &r, int v)
{
    return r.tvn[0] == v || r.tvn[1] == v || r.tvn[2] == v || r.tvn[3] == v;
}

static bool uses_tv(const bdr_struct &r, int v)
{
    return r.tva[0] == v || r.tva[1] == v || r.tvn[0] == v || r.tvn[1] == v;
}

// A construction that already chose v as a corner would otherwise build a
// record on a free vertex; it is abandoned like a second press of its key.
static void drop_constructions_on(int v)
{
    if (edt.jnt_stage == 2 && edt.jnt_tv0 == v) edt.jnt_stage = 0;
    bool ply_corner = (edt.ply_stage >= 2 && edt.ply_tv0 == v) ||
                      (edt.ply_stage >= 3 && edt.ply_tv1 == v) ||
                      (edt.ply_stage == 4 && edt.ply_tv2 == v);
    if (ply_corner) edt.ply_stage = 0;
    if (edt.bdr_stage == 2 && edt.bdr_tv0 == v) edt.bdr_stage = 0;
}

// Freeing every joint (and every polygon) of v first and relinking and
// refiling once is the same as deleting them one by one, without one full
// rebuild per record: a vertex in a polygon fan would otherwise cost a
// dozen rebuilds of the polygon grid.
static void delete_jnts_of(int v)
{
    bool any = false;
    for (int i = 0; i < num_jnts; i++)
        if (jnt[i].state != 0 && uses_tv(jnt[i], v)) {
            jnt[i].state = 0;
            any = true;
        }
    if (!any) return;
    update_adj_jnts();
    update_region_jnts();
}

static void delete_plys_of(int v)
{
    bool any = false;
    for (int i = 0; i < num_plys; i++)
        if (ply[i].state != 0 && uses_tv(ply[i], v)) {
            ply[i].state = 0;
            any = true;
        }
    if (any) update_region_plys();
}

void delete_tv(int v)
{
    if (v < 0 || v >= num_tvs) return;
    if (selected_point == v) selected_point = -1;
    drop_constructions_on(v);
    delete_jnts_of(v);
    delete_plys_of(v);
    for (int i = 0; i < num_bdrs; i++)
        if (bdr[i].state != 0 && uses_tv(bdr[i], v)) delete_bdr(i);
    tv[v].state = 0;
}

// Clears every chain link that names n, not only those of n's own
// neighbours: a border built in front of another is linked one way only, so
// n's own fields do not tell who points at it.
static void unlink_bdr(int n)
{
    for (int i = 0; i < num_bdrs; i++) {
        if (bdr[i].next_b == n) bdr[i].next_b = -1;
        if (bdr[i].last_b == n) bdr[i].last_b = -1;
    }
}

void delete_bdr(int n)
{
    if (n < 0 || n >= num_bdrs || bdr[n].state == 0) return;
    bdr[n].state = 0;
    // Nested deletions may rewrite n's links; decide from the links it had.
    const bdr_struct gone = bdr[n];
    unlink_bdr(n);
    if (gone.last_b == -1) delete_tv(gone.tva[0]);
    if (gone.next_b == -1) delete_tv(gone.tva[1]);
    update_border_wrapping();
    update_region_bdrs();
}
