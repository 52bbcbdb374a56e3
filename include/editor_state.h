// include/editor_state.h -- the editor's state record, its globals and the
// colour override that marks hovered and selected objects, in play as well.
#pragma once

struct edt_struct {
    int jnt_stage;
    int jnt_tv0;
    int sel_tv;
    int ply_stage;
    int ply_tv0;
    int ply_tv1;
    int ply_quad;
    int bdr_stage;
    int bdr_tv0;
    int bdr_type;
    int hover_bdr;
    int sel_bdr;
    int cur_tex;
    int ply_tv2;
    int cur_layer;
    int hover_ply;
    int sel_ply;
    int hover_jnt;
    int sel_jnt;
    int jnt_type;
    int shape_label_cnt;
    int jnt_label_cnt;
    int dad_mode;
    int preview_dad;
    int hover_dad;
    int sel_dad;
    int preview_on;
    int dad_ang_fixed;
    int dad_ang_cent;
    int bonus_type;
};

extern edt_struct edt;
extern int selected_point;
extern int mouse_over_point;
extern int mouse_type;
extern double jnt_perp_ang;
extern double current_dad_ang;

void reset_editor_state(void);      // the start values of edt and the globals
// Colour override for object i of its kind, called by every drawing function
// of that kind: hovered pulses grey, selected flashes red/cyan (and wins).
// Sets the GL colour only when i is hovered or selected.
void selected_border(int i);
void selected_poly(int i);
void selected_doodad(int i);
// The decision behind the override: 1 with the colour in rgb when object i is
// the hovered or the selected one at this frame count, else 0 and rgb untouched.
int highlight_colour(int i, int hover, int sel, int frame, float rgb[3]);
// Sets every selection field to -1; hover fields are left alone.
void clear_all_selections(void);
