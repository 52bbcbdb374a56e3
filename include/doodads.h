// include/doodads.h -- decoration sprites and the level sign.
#pragma once
#include "polys.h"

extern void (*dad_drawing_func[num_draw_funcs])(int);

// Replaces doodad picture 18 with the sign blank and "Stage <current_level+1>".
// When the datafile cannot be read again or has no object 18 it keeps the
// current sign and says so on stderr.
void generate_level_sign(void);
// Classifies every live doodad: state 1 within 4 world units (strictly) of the
// view centre on both axes, else 2. Run before drawing.
void update_dads_onscreen(void);
// The near-view box test behind update_dads_onscreen (1 near, 0 away).
int dad_near_view(double px, double py, double cx, double cy, double span = 1.0);
void draw_dads(int layer);
void draw_dad_0(int i);
void init_dad_drawing_funcs(void);
// The slot used, or num_dads when every slot is taken.
int new_dad(double px, double py, double ang, int pic, int type, char layer);
void delete_doodad(int i);
