// include/borders.h -- border bands along terrain edges: building, chaining,
// texture wrapping, and their drawing as smoothed strips.
#pragma once
#include "structs.h"
#include "polys.h"

extern void (*bdr_drawing_func[num_draw_funcs])(int);

// Creates a border tv1 -> tv2 with its outer vertices and chain links, then
// re-runs the wrapping. Nothing is created (and no table changes) when the
// border table is full, either vertex is not in use, tv1 equals tv2, or the
// vertex table has no room for the outer vertices the border needs.
// Does not file it: call update_region_bdrs.
void new_bdr2(int tv1, int tv2, int type, int tex);
int get_last_bdr_from_tv(int v);    // lowest border in use ending at v, or -1
int get_next_bdr_from_tv(int v);    // lowest border in use starting at v, or -1
void get_bdr_main_vect(int n, vect_struct *v);
// Re-offsets every chain from its start (a border with last_b -1) and rescales
// closed loops to a whole number of repeats. A loop of total 0 is left as it
// is; a chain closed onto its own middle stops at the first border met twice.
void update_border_wrapping(void);
void update_region_bdrs(void);

// The unit mitre direction at a corner: (d - e) * s, or the right-hand normal
// of e when the two are in line. The shared outer vertex goes to the corner
// minus this times the half-width.
vect_struct bdr_mitre(vect_struct d, vect_struct e, int s);
// The factor that scales a closed loop of `total` repeats to trunc(total);
// 1 when it already wraps (within 0.00001) or the total is 0.
double bdr_wrap_ratio(double total);

void draw_bdrs(void);
void draw_bdr_0(int n);             // plain band, opaque white
void draw_bdr_1(int n);             // blended base
void draw_bdr_2(int n);             // pulsing waypoint arrow
void init_bdr_drawing_funcs(void);
