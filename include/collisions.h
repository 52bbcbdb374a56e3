// include/collisions.h -- collision probes, their filing, the joints around a
// probe and the probe-to-joint distance.
#pragma once

const int adj_jnt_capacity = 1000;

// Lowest free probe, filled and in use; -1 when the table is full. Does not
// file it in the region grid: update_pnt_regions does, at level start.
int new_pnt(int type, int n, double x, double y, double r);
void clear_pnts(void);                  // every probe free; once at start-up
int find_region(double x, double y);    // cell index, -1 outside the grid
void update_pnt_regions(void);          // refiles every probe in use
// The joints filed in the 3 x 3 cells around probe p, each once, in cell order
// and then run order (at most adj_jnt_capacity). Marks the joints' state: 2 for
// those taken. The table is overwritten by the next call.
int *get_adj_jnts(int p);
int get_num_adj_jnts(void);
// Squared distance from probe p to joint jn; (dx, dy) points from the probe to
// the nearest point of the joint, inside is 1 when that is the foot of the
// perpendicular (0 <= t <= 1). A degenerate joint (squared length below 1e-5)
// gives 0 and leaves t unwritten.
double pnt_jnt_perp_dist(int p, int jn, double *dx, double *dy, int *inside, double *t);
