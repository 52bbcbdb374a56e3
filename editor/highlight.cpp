// STUB: scaffolding until this module is built; every function here is replaced.
#include "hillhopper.h"
#include "editor_state.h"

edt_struct edt;
int selected_point;
int mouse_over_point;
int mouse_type;
double jnt_perp_ang;
double current_dad_ang;
void reset_editor_state(void) {}
void selected_border(int i) {}
void selected_poly(int i) {}
void selected_doodad(int i) {}
void clear_all_selections(void) {}
