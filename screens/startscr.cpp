// STUB: scaffolding until this module is built; every function here is replaced.
#include "hillhopper.h"
#include "startscr.h"

unsigned int building_tex[num_tex_slots];
int NUM_BTEX;
int first_level;
int start_main(void) { return 0;}
void draw_shaded_tex(float x, float y, float w, float h, unsigned int tex, int shaded) {}
void draw_scrolling_text(void) {}
void load_building_textures(void) {}
void free_building_textures(void) {}
