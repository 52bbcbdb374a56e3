// include/bodies.h -- bodies and their points, the physics step, landing and
// riding on joints, and the drawing of the player.
#pragma once

void alloc_body_mem(void);
void free_body_mem(void);
// Marks every body and point free and gives their collision probes back.
void clear_bodies(void);
// Creates the player-shaped body from the level-state slots (start point, angle,
// facing); returns its slot, or -1 when the table is full.
int new_body(double x, double y, double xx, double yy, double ang, double ang_v);
void delete_body(int b);
void update_body_pnts(int b);

double tri_num(int n);
double pos_only(double v);
double convert_angle(double a);
double ang_diff(double a, double b, int *dir);

void body_physics(void);            // steps every body one frame
void body_landing(int b, double nx, double ny, int k, double t);
void body_on_jnt(int b, int steps);
void update_body_on_jnt(int b, double lift);

void draw_bodies(void);
