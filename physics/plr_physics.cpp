// STUB: scaffolding until this module is built; every function here is replaced.
#include "hillhopper.h"
#include "bodies.h"
body_struct *body;

#include <cstdlib>
void alloc_body_mem(void) { body = (body_struct *)calloc(num_bodies, sizeof(body_struct)); }
void free_body_mem(void) { free(body); body = nullptr; }
void clear_bodies(void) {}
int new_body(double x, double y, double xx, double yy, double ang, double ang_v) { return 0;}
void delete_body(int b) {}
void update_body_pnts(int b) {}
double tri_num(int n) { return 0;}
double pos_only(double v) { return 0;}
double convert_angle(double a) { return 0;}
double ang_diff(double a, double b, int *dir) { return 0;}
void body_physics(void) {}
void body_landing(int b, double nx, double ny, int k, double t) {}
void body_on_jnt(int b, int steps) {}
void update_body_on_jnt(int b, double lift) {}
void draw_bodies(void) {}
