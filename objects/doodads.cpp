// STUB: scaffolding until this module is built; every function here is replaced.
#include "hillhopper.h"
#include "doodads.h"

void (*dad_drawing_func[num_draw_funcs])(int);
void generate_level_sign(void) {}
void update_dads_onscreen(void) {}
void draw_dads(int layer) {}
void draw_dad_0(int i) {}
void init_dad_drawing_funcs(void) {}
int new_dad(double px, double py, double ang, int pic, int type, char layer) { return 0;}
void delete_doodad(int i) {}
