// include/editor.h -- the level editor: mouse picking and construction, the
// editing keys, the texture picker and the overlay.
// The editor works on the world tables in place; its own state is edt
// (editor_state.h). Nothing here runs while edit_mode is 0.
#pragma once
#include <string>

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

// ---- keeping the designer's work (safety.cpp) -----------------------------------
// The status line: one message, shown for a few seconds in every mode of the
// editor build (recovery-file messages and failed saves go to stderr too).
void editor_say(const char *fmt, ...) __attribute__((format(printf, 1, 2)));
const char *editor_status(void);            // "" once it has gone
void draw_editor_status(void);
// After every level load: ends constructions and selections, takes the loaded
// tables as the design, remembers a refused level file and offers a newer
// recovery file (F7).
void editor_level_loaded(void);
void reset_editor_constructions(void);
// S: writes the design over the level file (a refused one only on a second S
// within 5 s) and says what happened. 1 when the file was written.
int editor_save(void);
// With unsaved edits, writes the design as "<level file>.autosave" (unless
// this version is already there) and says so with the reason. 0 on failure.
int write_recovery_file(const char *reason);
int restore_recovery_file(void);            // as one undo step; 1 when restored
std::string recovery_path(int lev);
// Both edit modes, outside the watched part of the frame: Ctrl+Z undo,
// Ctrl+Y or Ctrl+Shift+Z redo.
void editor_history_keys(void);
bool editor_ctrl_held(void);

// ---- the edit modes' view (view.cpp) ----------------------------------------------
// Every frame: in the edit modes the mouse wheel and Ctrl+Up/Ctrl+Down zoom
// around the mouse (0.25x to 4x; the camera becomes free), G toggles the snap
// grid and Shift+G steps its size 0.1 -> 0.2 -> 0.5.
void editor_view_keys(void);
double snap_grid_size(void);                // 0 while the grid is off
void set_snap_grid(int on, int size_index);
void reset_editor_view(void);               // zoom 1, grid off at 0.1, the wheel at rest
double snap_to_grid(double v);              // v itself while the grid is off
void draw_snap_grid(void);                  // under the world transform
// Alt (or AltGr) is down: Alt+1..Alt+4 then stand for keypad 1..4.
bool editor_alt_held(void);
// Once a frame in the editor build, any mode: F7 takes an offered recovery
// file; the 2-minute recovery write.
void editor_tick(void);
