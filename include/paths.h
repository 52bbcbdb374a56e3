// include/paths.h -- the smoothed ride path over a joint: mitre normals at its
// ends and the parabolic arc between them.
#pragma once
#include "structs.h"

void get_edge_normals(int jntn, vect_struct *start, vect_struct *end);
// The ride-path point at fraction X and the given height (negative = walking
// side). Leaves px, py untouched when a mitre is parallel to the chord.
void clever_func(int n, double X, double height, double *px, double *py);
