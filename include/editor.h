// include/editor.h -- the level editor: mouse picking and construction, the
// editing keys, the texture picker and the overlay.
// The editor works on the world tables in place; its own state is edt
// (editor_state.h). Nothing here runs while edit_mode is 0.
#pragma once

// Pick sizes, world units.
const double tv_pick_half = 0.03;           // half side of a vertex's pick square
const double jnt_pick_slack = 0.025;        // joint ellipse: d0 + d1 < length + slack
const double dad_pick_divisor = 320.0;      // radius = diagonal in texels / 320

// Once per Edit Mode frame, after the keys and the terrain drawing: finds the
// vertex under the mouse, completes clicked constructions, drags the held
// vertex and sets mouse_type.
void select_point(void);
// Set their hover field to the record under the mouse; leave it unchanged
// when there is none (the caller resets it first).
void select_border(void);
void select_poly(void);                     // skips other layers while F1..F3 is down
void select_joint(void);
void select_doodad(void);                   // -1 when none; never the preview
// Deletes vertex v with every joint, polygon and border that uses it. A hold
// or a half-built construction on v is dropped as well.
void delete_tv(int v);
// Deletes border n, unlinks every border naming it, deletes its unshared
// outer vertices (with what uses them), rewraps and refiles the borders.
void delete_bdr(int n);

// The editing keys; acts only in mode 1 ("Edit Mode").
void editor_controls(int mode);
// The modal texture picker: returns with cur_tex chosen, or unchanged after
// Escape or the right button. Returns at once when headless without input.
void select_a_texture(void);

// Texture picker geometry: 64-pixel cells, 10 a row, 75 textures a page.
const int picker_cell = 64;                 // overlay pixels
const int picker_columns = 10;
const int picker_rows = 8;                  // the eighth row is cut by the screen edge
const int picker_page_stride = 75;
// Texture index shown in the cell under overlay point (mx, my) on the page,
// or -1 when that cell shows no texture of a set of count textures.
int picker_texture_at(double mx, double my, int page, int count);

// Overlay, Edit Mode: in this order with select_point between the first two.
void draw_vt_and_jnt(void);
void draw_level_grid(void);
void draw_mouse(void);                      // labels, cursor, guides, selected vertex
