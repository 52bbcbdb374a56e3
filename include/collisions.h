// include/collisions.h -- collision probes, their filing, the joints around a
// probe and the probe-to-joint distance.
#pragma once

const int adj_jnt_capacity = 1000;

// Lowest free probe; -1 when the table is full.
int new_pnt(int type, int n, double x, double y, double r);
void clear_pnts(void);
int find_region(double x, double y);    // cell index, -1 outside the grid
void update_pnt_regions(void);
// The joints filed in the 3 x 3 cells around probe p, each once; valid until
// the next call.
int *get_adj_jnts(int p);
int get_num_adj_jnts(void);
double pnt_jnt_perp_dist(int p, int jn, double *dx, double *dy, int *inside, double *t);
