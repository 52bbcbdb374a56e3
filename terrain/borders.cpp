// STUB: scaffolding until this module is built; every function here is replaced.
#include "hillhopper.h"
#include "borders.h"

void (*bdr_drawing_func[num_draw_funcs])(int);
void new_bdr2(int tv1, int tv2, int type, int tex) {}
int get_last_bdr_from_tv(int v) { return 0;}
int get_next_bdr_from_tv(int v) { return 0;}
void get_bdr_main_vect(int n, vect_struct *v) {}
void update_border_wrapping(void) {}
void update_region_bdrs(void) {}
void draw_bdrs(void) {}
void draw_bdr_0(int n) {}
void draw_bdr_1(int n) {}
void draw_bdr_2(int n) {}
void init_bdr_drawing_funcs(void) {}
