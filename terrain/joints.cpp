// STUB: scaffolding until this module is built; every function here is replaced.
#include "hillhopper.h"
#include "joints.h"

void new_jnt(int tvn1, int tvn2, int type) {}
void delete_jnt(int n) {}
void update_adj_jnts(void) {}
void get_jnt_vect(int n, vect_struct *v) {}
void update_region_jnts(void) {}
