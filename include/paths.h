// include/paths.h -- the smoothed ride path over a joint: mitre normals at its
// ends and the parabolic arc between them.
#pragma once
#include "structs.h"

// Unit mitre normals at the joint's start (tvn[0]) and end (tvn[1]), on the
// right-hand side of its direction. A neighbour of type 2 counts as none.
void get_edge_normals(int jntn, vect_struct *start, vect_struct *end);
// The ride-path point at fraction X and the given height (negative = walking
// side). Leaves px, py untouched when a mitre is parallel to the chord or the
// chord has no length.
void clever_func(int n, double X, double height, double *px, double *py);

// The geometry behind them, on plain vectors.
// Mitre at one end of a joint of unit direction e: the right-hand normal when
// there is no neighbour or the turn is below 1e-5, else unit(turn * sign).
// turn is D_L - E at the start and E - D_R at the end.
vect_struct end_mitre(vect_struct e, int has_neighbour, vect_struct turn, int sign);
// The path point between joint ends a and b with mitres va and vb; returns 0
// and writes nothing in the degenerate cases.
int ride_path_point(vect_struct a, vect_struct b, vect_struct va, vect_struct vb,
                    double X, double height, double *px, double *py);
