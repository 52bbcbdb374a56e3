// include/borders.h -- border bands along terrain edges: building, chaining,
// texture wrapping, and their drawing as smoothed strips.
#pragma once
#include "structs.h"
#include "polys.h"

extern void (*bdr_drawing_func[num_draw_funcs])(int);

// Creates a border tv1 -> tv2 with its outer vertices and chain links.
// Does not file it: call update_region_bdrs.
void new_bdr2(int tv1, int tv2, int type, int tex);
int get_last_bdr_from_tv(int v);    // lowest border in use ending at v, or -1
int get_next_bdr_from_tv(int v);    // lowest border in use starting at v, or -1
void get_bdr_main_vect(int n, vect_struct *v);
void update_border_wrapping(void);
void update_region_bdrs(void);

void draw_bdrs(void);
void draw_bdr_0(int n);             // plain band
void draw_bdr_1(int n);             // blended base
void draw_bdr_2(int n);             // pulsing waypoint arrow
void init_bdr_drawing_funcs(void);
