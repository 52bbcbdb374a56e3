// STUB: scaffolding until this module is built; every function here is replaced.
#include "hillhopper.h"
#include "polys.h"

void (*ply_drawing_func[num_draw_funcs])(int);
void new_ply(int tvn1, int tvn2, int tvn3, int tvn4, int type, int x, int layer) {}
void delete_ply(int n) {}
void update_region_plys(void) {}
void draw_plys(int layer) {}
void draw_ply_0(int plyn) {}
void draw_ply_1(int plyn) {}
void init_ply_drawing_funcs(void) {}
