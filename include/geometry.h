// include/geometry.h -- plane geometry: distances, rotation, sides of lines,
// point in triangle, vertex turning direction, and the vector helpers.
// All pure except get_tri_dir, which reads the terrain vertex table.
#pragma once
#include "structs.h"

double absf(double x);
double dist(double x1, double y1, double x2, double y2);
// Rotates (px, py) about the pivot by ang radians (counter-clockwise with y up).
// ang exactly 0 copies the point unchanged. nx, ny may alias the caller's inputs.
void rot_point(double px, double py, double pivot_x, double pivot_y, double ang,
               double *nx, double *ny);

// 1 when A and B lie strictly on the same side of the line through P1 and P2.
int same_side_of_line(double px1, double py1, double px2, double py2,
                      double ax, double ay, double bx, double by);
// 1 when P lies strictly inside the triangle; edges, corners and degenerate
// triangles are outside.
int inside_tri(double x1, double y1, double x2, double y2, double x3, double y3,
               double px, double py);

// 1 when the turn x -> y -> z of three terrain vertices is counter-clockwise,
// -1 otherwise (collinear included).
int get_tri_dir(int x, int y, int z);

void perp_vect(vect_struct u, vect_struct *v);          // v = (-u.y, u.x)
double dot_prod(vect_struct u, vect_struct v);
double vect_mag(vect_struct v);
// w = u in the frame of the axis v: (along v, across v). v must not be zero.
void projected_vect(vect_struct u, vect_struct v, vect_struct *w);
// v = u / |u|, or (0, 0) when |u| < 1e-6.
void unit_vect(vect_struct u, vect_struct *v);
