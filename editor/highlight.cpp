// editor/highlight.cpp -- the editor's state record and globals, and the
// colour override that marks the hovered and the selected object.
// The drawing functions call the override in play too; outside the editor
// every hover and selection field is -1, so nothing changes then.
#include <cmath>
#include <GL/gl.h>
#include "hillhopper.h"
#include "game.h"
#include "editor_state.h"

// Start values: an index field holds -1 for "none"; new joints are walking.
static const edt_struct edt_start = {
    0,  // jnt_stage
    0,  // jnt_tv0
    -1, // sel_tv
    0,  // ply_stage
    0,  // ply_tv0
    0,  // ply_tv1
    0,  // ply_quad
    0,  // bdr_stage
    0,  // bdr_tv0
    0,  // bdr_type
    -1, // hover_bdr
    -1, // sel_bdr
    0,  // cur_tex
    0,  // ply_tv2
    0,  // cur_layer
    -1, // hover_ply
    -1, // sel_ply
    -1, // hover_jnt
    -1, // sel_jnt
    1,  // jnt_type
    0,  // shape_label_cnt
    0,  // jnt_label_cnt
    0,  // dad_mode
    -1, // preview_dad
    -1, // hover_dad
    -1, // sel_dad
    0,  // preview_on
    0,  // dad_ang_fixed
    0,  // dad_ang_cent
    0,  // bonus_type
};

edt_struct edt = edt_start;
int selected_point = -1;
int mouse_over_point = -1;
int mouse_type = 1;                 // plain pointer
double jnt_perp_ang = 0;
double current_dad_ang = 0;

void reset_editor_state(void)
{
    edt = edt_start;
    selected_point = -1;
    mouse_over_point = -1;
    mouse_type = 1;
    jnt_perp_ang = 0;
    current_dad_ang = 0;
}

// Hover pulses grey slowly (period 6 pi frames); selection flashes between
// red and cyan every 2 pi frames and wins over hover.
const double hover_pulse_div = 3.0;

int highlight_colour(int i, int hover, int sel, int frame, float rgb[3])
{
    int changed = 0;
    double t = frame;
    if (i == hover) {
        float g = (float)((cos(t / hover_pulse_div) + 1) / 2);
        rgb[0] = rgb[1] = rgb[2] = g;
        changed = 1;
    }
    if (i == sel) {
        float c = (float)((cos(t) + 1) / 2);
        rgb[0] = c;
        rgb[1] = rgb[2] = 1 - c;
        changed = 1;
    }
    return changed;
}

static void apply_highlight(int i, int hover, int sel)
{
    float rgb[3];
    if (!highlight_colour(i, hover, sel, j ? j[J_FRAME] : 0, rgb)) return;
    if (!headless) glColor3f(rgb[0], rgb[1], rgb[2]);
}

void selected_border(int i) { apply_highlight(i, edt.hover_bdr, edt.sel_bdr); }
void selected_poly(int i) { apply_highlight(i, edt.hover_ply, edt.sel_ply); }
void selected_doodad(int i) { apply_highlight(i, edt.hover_dad, edt.sel_dad); }

void clear_all_selections(void)
{
    edt.sel_bdr = -1;
    edt.sel_ply = -1;
    edt.sel_jnt = -1;
    edt.sel_tv = -1;
    edt.sel_dad = -1;
}
