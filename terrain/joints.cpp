// terrain/joints.cpp -- joints: creation, deletion, neighbour links, direction
// and filing in the region grid.
// The links are those of comparing every pair of joints in index order with
// later writes winning: an end points at the highest-indexed other joint on
// its vertex. Keeping the two highest joints per vertex gives that in one pass.
#include <cstdio>
#include "hillhopper.h"
#include "joints.h"
#include "region.h"

static int tv_index_ok(int v)
{
    return v >= 0 && v < num_tvs;
}

void new_jnt(int tvn1, int tvn2, int type)
{
    // Everything that walks joints reads their vertices: never store a bad one.
    for (int n = 0; n < num_jnts && tv_index_ok(tvn1) && tv_index_ok(tvn2); n++) {
        if (jnt[n].state != 0) continue;
        jnt[n] = jnt_struct{};
        jnt[n].tvn[0] = tvn1;
        jnt[n].tvn[1] = tvn2;
        jnt[n].njnt[0] = jnt[n].njnt[1] = -1;
        jnt[n].type = (short)type;
        jnt[n].state = 1;
        break;
    }
    update_adj_jnts();
}

void delete_jnt(int n)
{
    if (n < 0 || n >= num_jnts) return;
    jnt[n].state = 0;
    update_adj_jnts();
    update_region_jnts();
}

// The highest and second-highest joint in use touching each vertex.
static int top_jnt[num_tvs];
static int second_jnt[num_tvs];

// Joints arrive in increasing index, so the newest is always the highest.
static void note_jnt_at(int v, int n)
{
    if (!tv_index_ok(v) || top_jnt[v] == n) return;   // both ends on one vertex
    second_jnt[v] = top_jnt[v];
    top_jnt[v] = n;
}

static int other_jnt_at(int v, int n)
{
    if (!tv_index_ok(v)) return -1;
    return top_jnt[v] != n ? top_jnt[v] : second_jnt[v];
}

void update_adj_jnts(void)
{
    for (int v = 0; v < num_tvs; v++) top_jnt[v] = second_jnt[v] = -1;
    for (int n = 0; n < num_jnts; n++) {
        if (jnt[n].state == 0) continue;
        note_jnt_at(jnt[n].tvn[0], n);
        note_jnt_at(jnt[n].tvn[1], n);
    }
    for (int n = 0; n < num_jnts; n++) {
        if (jnt[n].state == 0) continue;
        jnt[n].njnt[0] = other_jnt_at(jnt[n].tvn[0], n);
        jnt[n].njnt[1] = other_jnt_at(jnt[n].tvn[1], n);
    }
}

void get_jnt_vect(int n, vect_struct *v)
{
    v->x = 0;
    v->y = 0;
    if (n < 0 || n >= num_jnts) return;
    int a = jnt[n].tvn[0], b = jnt[n].tvn[1];
    if (!tv_index_ok(a) || !tv_index_ok(b)) return;
    v->x = (double)tv[b].x - (double)tv[a].x;
    v->y = (double)tv[b].y - (double)tv[a].y;
}

static int jnt_edges(int n, int ends[max_record_edges][2])
{
    if (jnt[n].state == 0) return 0;
    ends[0][0] = jnt[n].tvn[0];
    ends[0][1] = jnt[n].tvn[1];
    return 1;
}

void update_region_jnts(void)
{
    region_kind k = {"joints", num_jnts, jnt_edges, jnt_list, jnt_list_size,
                     &region_struct::jnt_n, &region_struct::jnt_x};
    rebuild_region_kind(k);
}
