// STUB: scaffolding until this module is built; every function here is replaced.
#include "hillhopper.h"
#include "editor.h"

void select_point(void) {}
void select_border(void) {}
void select_poly(void) {}
void select_joint(void) {}
void select_doodad(void) {}
void delete_tv(int v) {}
void delete_bdr(int n) {}
void editor_controls(int mode) {}
void select_a_texture(void) {}
void draw_vt_and_jnt(void) {}
void draw_level_grid(void) {}
void draw_mouse(void) {}
