// STUB: scaffolding until this module is built; every function here is replaced.
#include "hillhopper.h"
#include "collisions.h"

int new_pnt(int type, int n, double x, double y, double r) { return 0;}
void clear_pnts(void) {}
int find_region(double x, double y) { return 0;}
void update_pnt_regions(void) {}
int* get_adj_jnts(int p) { return nullptr;}
int get_num_adj_jnts(void) { return 0;}
double pnt_jnt_perp_dist(int p, int jn, double *dx, double *dy, int *inside, double *t) { return 0;}
