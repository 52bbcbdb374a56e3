// physics/collisions.cpp -- collision probes: the probe table, its filing in
// the region grid, the joints gathered around a probe and the probe-to-joint
// distance. The gather marks joints through their own `state` (1 = in use, not
// yet taken; 2 = taken by this gather) instead of clearing a separate table.
#include <cmath>
#include "hillhopper.h"
#include "collisions.h"
#include "region.h"

static int adj_jnt[adj_jnt_capacity];
static int num_adj_jnts = 0;

// A joint shorter than this (squared, world units) has no direction: it is
// reported as distance 0, which the physics takes as no contact.
static const double degenerate_len2 = 1e-5;

// The gather's 3 x 3 block is centred on the probe's cell: one cell back.
static const double block_back = 1.0;

// Guards the truncations below against positions so far away (or NaN) that
// the conversion to int would overflow; anything beyond this is off the grid.
static const double far_cells = 1e6;

int new_pnt(int type, int n, double x, double y, double r)
{
    for (int i = 0; i < num_pnts; i++) {
        if (pnt[i].state != 0) continue;
        pnt[i] = pnt_struct{};
        pnt[i].type = type;
        pnt[i].r = (int)r;
        pnt[i].n = n;
        pnt[i].pnt_reg = 0;
        pnt[i].x = x;
        pnt[i].y = y;
        pnt[i].state = 1;
        return i;
    }
    return -1;
}

void clear_pnts(void)
{
    for (int i = 0; i < num_pnts; i++) pnt[i] = pnt_struct{};
}

// Cell coordinate of a world x or y, clamped so that truncation stays defined.
static double cell_coord(double v, double origin)
{
    double c = (v - origin) * cells_per_unit;
    if (!(c > -far_cells)) return -far_cells;   // also catches NaN
    if (c > far_cells) return far_cells;
    return c;
}

int find_region(double x, double y)
{
    int column = (int)cell_coord(x, grid_left);
    int row = (int)cell_coord(y, grid_bottom);
    if (column < 0 || row < 0 || column >= map_sx || row >= map_sy) return -1;
    return row * map_sx + column;
}

void update_pnt_regions(void)
{
    for (int c = 0; c < map_sx * map_sy; c++) {
        region[c].pnt_x = 0;
        region[c].obs_added = 0;
    }
    for (int i = 0; i < num_pnts; i++) {
        if (pnt[i].state == 0) continue;
        int c = find_region(pnt[i].x, pnt[i].y);
        if (c != -1) region[c].pnt_x++;
        pnt[i].pnt_reg = c;
    }
    int total = 0;
    for (int c = 0; c < map_sx * map_sy; c++) {
        region[c].pnt_n = total;
        total += region[c].pnt_x;
    }
    for (int i = 0; i < num_pnts; i++) {
        if (pnt[i].state == 0 || pnt[i].pnt_reg == -1) continue;
        region_struct &cell = region[pnt[i].pnt_reg];
        pnt_list[cell.pnt_n + cell.obs_added] = i;
        cell.obs_added++;
    }
}

// First and last column (or row) of the 3 x 3 block around cell coordinate c.
// Truncation toward zero shifts the block one cell inward at the low edge.
static void block_span(double c, int cells, int *lo, int *hi)
{
    int t = (int)c;
    *lo = t < 0 ? 0 : t;
    *hi = t + 2;
    if (*hi >= cells) *hi = cells - 1;
}

int *get_adj_jnts(int p)
{
    num_adj_jnts = 0;
    if (p < 0 || p >= num_pnts) return adj_jnt;
    int c0, c1, r0, r1;
    block_span(cell_coord(pnt[p].x, grid_left) - block_back, map_sx, &c0, &c1);
    block_span(cell_coord(pnt[p].y, grid_bottom) - block_back, map_sy, &r0, &r1);

    // Pass 1: every listed joint in use becomes "not yet taken".
    for (int row = r0; row <= r1; row++)
        for (int col = c0; col <= c1; col++) {
            const region_struct &cell = region[row * map_sx + col];
            for (int i = 0; i < cell.jnt_x; i++) {
                int k = jnt_list[cell.jnt_n + i];
                if (jnt[k].state != 0) jnt[k].state = 1;
            }
        }
    // Pass 2: take each at its first occurrence, in cell order then run order.
    for (int row = r0; row <= r1; row++)
        for (int col = c0; col <= c1; col++) {
            const region_struct &cell = region[row * map_sx + col];
            for (int i = 0; i < cell.jnt_x; i++) {
                int k = jnt_list[cell.jnt_n + i];
                if (jnt[k].state != 1) continue;
                if (num_adj_jnts >= adj_jnt_capacity) return adj_jnt;
                adj_jnt[num_adj_jnts++] = k;
                jnt[k].state = 2;
            }
        }
    return adj_jnt;
}

int get_num_adj_jnts(void)
{
    return num_adj_jnts;
}

double pnt_jnt_perp_dist(int p, int jn, double *dx, double *dy, int *inside, double *t)
{
    double px = pnt[p].x, py = pnt[p].y;
    double ax = tv[jnt[jn].tvn[0]].x, ay = tv[jnt[jn].tvn[0]].y;
    double bx = tv[jnt[jn].tvn[1]].x, by = tv[jnt[jn].tvn[1]].y;
    double ddx = bx - ax, ddy = by - ay;
    double len2 = ddx * ddx + ddy * ddy;
    if (len2 < degenerate_len2) {
        *dx = 0;
        *dy = 0;
        *inside = 0;
        return 0;
    }
    double tt = ((px - ax) * ddx + (py - ay) * ddy) / len2;
    if (tt < 0) {
        *dx = ax - px;
        *dy = ay - py;
        *inside = 0;
    } else if (tt <= 1) {
        *dx = ax + tt * ddx - px;
        *dy = ay + tt * ddy - py;
        *inside = 1;
    } else {
        *dx = bx - px;
        *dy = by - py;
        *inside = 0;
    }
    *t = tt;
    return *dx * *dx + *dy * *dy;
}
