// include/joints.h -- joints: straight terrain edges with neighbour links.
#pragma once
#include "structs.h"

// Creates a joint in the lowest free slot, then relinks every joint (also when
// the table is full, or a vertex index lies outside tv, and nothing was created).
// Does not file it in the region grid: call update_region_jnts.
void new_jnt(int tvn1, int tvn2, int type);
void delete_jnt(int n);             // frees, relinks, refiles joints
// Recomputes njnt of every joint in use: each end points at the highest-indexed
// other joint in use that has an end on the same vertex, -1 when there is none.
// Linear in the table size. Ends on a vertex index outside tv link nowhere.
void update_adj_jnts(void);
void get_jnt_vect(int n, vect_struct *v);   // tv[tvn[1]] - tv[tvn[0]]; (0,0) for -1
void update_region_jnts(void);
