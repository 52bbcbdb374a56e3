// include/doodads.h -- decoration sprites and the level sign.
#pragma once
#include "polys.h"

extern void (*dad_drawing_func[num_draw_funcs])(int);

void generate_level_sign(void);
void update_dads_onscreen(void);
void draw_dads(int layer);
void draw_dad_0(int i);
void init_dad_drawing_funcs(void);
// The slot used, or num_dads when every slot is taken.
int new_dad(double px, double py, double ang, int pic, int type, char layer);
void delete_doodad(int i);
