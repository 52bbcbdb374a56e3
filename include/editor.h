// include/editor.h -- the level editor: mouse picking and construction, the
// editing keys, the texture picker and the overlay.
#pragma once

void select_point(void);
void select_border(void);
void select_poly(void);
void select_joint(void);
void select_doodad(void);
void delete_tv(int v);
void delete_bdr(int n);

void editor_controls(int mode);
void select_a_texture(void);

void draw_vt_and_jnt(void);
void draw_level_grid(void);
void draw_mouse(void);
