// editor/overlay.cpp -- the editor's drawing over the level: vertex crosses and
// joints, the boundary of the editable area, the choice labels, the cursor,
// the dashed construction guides and the mark of the selected vertex.
// Drawing only, apart from the two label counters, which count drawn frames
// (also those drawn inside the texture picker) and so run down headless too.
#include <cmath>
#include <allegro.h>
#include <GL/gl.h>
#include "hillhopper.h"
#include "game.h"
#include "std_gfuncs.h"
#include "world.h"
#include "editor.h"
#include "editor_state.h"

static double frame_t(void)
{
    return (double)j[J_FRAME];
}

static bool tv_index(int v)
{
    return v >= 0 && v < num_tvs;
}

static void world_line(double x0, double y0, double x1, double y1)
{
    glBegin(GL_LINES);
    glVertex3f((float)x0, (float)y0, 0);
    glVertex3f((float)x1, (float)y1, 0);
    glEnd();
}

static void tv_line(int a, int b)
{
    if (tv_index(a) && tv_index(b)) world_line(tv[a].x, tv[a].y, tv[b].x, tv[b].y);
}

static void mouse_to_tv_line(int v)
{
    if (tv_index(v)) world_line(mposx, mposy, tv[v].x, tv[v].y);
}

// ---- vertices and joints ---------------------------------------------------------

// The cross reaches further right and up than left and down.
const double cross_short = 0.02;
const double cross_long = 0.035;

static void set_jnt_colour(int type)
{
    switch (type) {
    case 1: glColor3f(0.4f, 1, 0.4f); break;       // walking: green
    case 2: glColor3f(0.4f, 0.4f, 0.4f); break;    // nonwalking: grey
    case 3: glColor3f(0, 0, 0.6f); break;          // only walking: dark blue
    default: break;                                // keeps the colour before it
    }
}

void draw_vt_and_jnt(void)
{
    if (headless) return;
    double t = frame_t();
    double g = (cos(t / 3) + 1) / 2;
    glColor3f(g, g, g);
    for (int i = 0; i < num_tvs; i++) {
        if (tv[i].state == 0) continue;
        double x = tv[i].x, y = tv[i].y;
        glBegin(GL_LINES);
        glVertex3f((float)(x - cross_short), (float)y, 0);
        glVertex3f((float)(x + cross_long), (float)y, 0);
        glVertex3f((float)x, (float)(y - cross_short), 0);
        glVertex3f((float)x, (float)(y + cross_long), 0);
        glEnd();
    }
    double c = (cos(t) + 1) / 2;
    for (int i = 0; i < num_jnts; i++) {
        if (jnt[i].state == 0) continue;
        set_jnt_colour(jnt[i].type);
        if (i == edt.hover_jnt) glColor3f(g, g, g);
        if (i == edt.sel_jnt) glColor3f(c, 1 - c, 1 - c);
        tv_line(jnt[i].tvn[0], jnt[i].tvn[1]);
    }
}

// ---- level boundary --------------------------------------------------------------

// The region grid's area: x -80..80, y -40..40.
const float grid_half_w = 80;
const float grid_half_h = 40;

void draw_level_grid(void)
{
    if (headless) return;
    double g = (cos(frame_t() / 5) + 1) / 4 + 0.5;     // pulses between 0.5 and 1
    glColor3f(g, g, g);
    glBegin(GL_LINE_LOOP);
    glVertex3f(-grid_half_w, -grid_half_h, 0);
    glVertex3f(-grid_half_w, grid_half_h, 0);
    glVertex3f(grid_half_w, grid_half_h, 0);
    glVertex3f(grid_half_w, -grid_half_h, 0);
    glEnd();
}

// ---- labels ----------------------------------------------------------------------

const int label_x = 10, label_y = 460;
const int label_allowance = 80;             // pixels the fixed texts may add

static void print_label(const char *text)
{
    if (!headless) ztextprintf(label_allowance, font, label_x, label_y, makecol32(255, 255, 0), text);
}

static const char *pick_label(int value, const char *const *texts, int count)
{
    return value >= 0 && value < count ? texts[value] : nullptr;
}

static void print_choice(int value, const char *const *texts, int count)
{
    const char *text = pick_label(value, texts, count);
    if (text) print_label(text);
}

// A counter label shows for as many drawn frames as its counter holds.
static void print_counted(int *cnt, int value, const char *const *texts, int count)
{
    if (*cnt <= 0) return;
    (*cnt)--;
    if (!headless) glColor3f(1, 1, 1);
    print_choice(value, texts, count);
}

static void draw_labels(void)
{
    static const char *const bonus_names[] = {"Leaf", "Spike", "Level End", "Electric"};
    static const char *const shape_names[] = {"Terrain wrapping", "Single quad"};
    static const char *const bdr_names[] = {"Plain", "Blended base", "Waypoint arrow"};
    static const char *const dad_names[] = {"Off", "Plain"};
    static const char *const jnt_names[] = {"Walking jnt", "Nonwalking jnt", "Only walking"};
    bool shift = keyr[KEY_LSHIFT] != 0;
    if (shift && keyr[KEY_Z]) print_choice(edt.bonus_type, bonus_names, 4);
    print_counted(&edt.shape_label_cnt, edt.ply_quad, shape_names, 2);
    if (shift && keyr[KEY_B]) print_choice(edt.bdr_type, bdr_names, 3);
    if (shift && keyr[KEY_D]) print_choice(edt.dad_mode, dad_names, 2);
    print_counted(&edt.jnt_label_cnt, edt.jnt_type - 1, jnt_names, 3);
    if (keyr[KEY_F1]) print_label("Layer 0");
    if (keyr[KEY_F2]) print_label("Layer 1");
    if (keyr[KEY_F3]) print_label("Layer 2");
}

// ---- cursor ----------------------------------------------------------------------

// The arrow's corners in view units at depth 1 (one overlay pixel is 1/1600):
// the tip is the hot spot, the arrow points up and to the left.
const float arrow_down = -0.01272f;
const float arrow_side = 0.009f;

static void cursor_colour(void)
{
    switch (mouse_type) {
    case 2:
        if (selected_point != -1) glColor3f(0.5f, (j[J_FRAME] % 10) / 10.0f, 0.7f);
        else glColor3f(0.7f, 0, 1);
        break;
    case 3: glColor3f(1, 1, 0); break;
    case 4: glColor3f(1, 0.2f, 0.2f); break;
    case 5: glColor3f(1, 0.5f, 0.25f); break;
    default: glColor3f(0.7f, 0, 1); break;
    }
}

static void draw_cursor(void)
{
    double mx = mouse_overlay_x(), my = mouse_overlay_y();
    cursor_colour();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    if (mouse_type == 2) {
        glTranslatef(0, 0, -1);
        glBegin(GL_LINES);
        glVertex3f(SX(mx), SY(my - 5), 0);
        glVertex3f(SX(mx), SY(my + 6), 0);
        glVertex3f(SX(mx - 5), SY(my), 0);
        glVertex3f(SX(mx + 6), SY(my), 0);
        glEnd();
        return;
    }
    glTranslatef(SX(mx), SY(my), -1);
    glBegin(GL_TRIANGLES);
    glVertex3f(0, 0, 0);
    glVertex3f(0, arrow_down, 0);
    glVertex3f(arrow_side, -arrow_side, 0);
    glEnd();
}

// ---- construction guides ---------------------------------------------------------

static void begin_guide(void)
{
    glLineStipple(3, 0xAAAA);
    glEnable(GL_LINE_STIPPLE);
    trans_map();
    glColor3f(1, 1, 0);
}

static bool other_corner_under_mouse(int corners)
{
    int v = mouse_over_point;
    if (v == -1) return false;
    if (v == edt.ply_tv0 || v == edt.ply_tv1) return false;
    return corners < 3 || v != edt.ply_tv2;
}

static void poly_guide(void)
{
    if (edt.ply_stage == 2) {
        mouse_to_tv_line(edt.ply_tv0);
    } else if (edt.ply_stage == 3) {
        mouse_to_tv_line(edt.ply_tv1);
        tv_line(edt.ply_tv0, edt.ply_tv1);
        // closes the triangle a click here would make
        if (edt.ply_quad == 0 && other_corner_under_mouse(2)) tv_line(edt.ply_tv0, mouse_over_point);
    } else if (edt.ply_stage == 4) {
        mouse_to_tv_line(edt.ply_tv2);
        tv_line(edt.ply_tv0, edt.ply_tv1);
        tv_line(edt.ply_tv2, edt.ply_tv1);
        if (other_corner_under_mouse(3)) tv_line(edt.ply_tv0, mouse_over_point);
    }
}

static void draw_guides(void)
{
    if (edt.jnt_stage == 2) {
        begin_guide();
        mouse_to_tv_line(edt.jnt_tv0);
        glDisable(GL_LINE_STIPPLE);
    }
    if (edt.ply_stage >= 2) {
        begin_guide();
        poly_guide();
        glDisable(GL_LINE_STIPPLE);
    }
}

const double sel_mark_half = 0.05;          // world units

static void draw_selected_tv(void)
{
    int v = edt.sel_tv;
    if (!tv_index(v)) return;
    double x = tv[v].x, y = tv[v].y, h = sel_mark_half;
    glColor3f(0.6f, 0, 0);
    trans_map();
    world_line(x - h, y - h, x + h, y + h);
    world_line(x - h, y + h, x + h, y - h);
}

void draw_mouse(void)
{
    if (!headless) glDisable(GL_TEXTURE_2D);
    draw_labels();
    if (headless) return;
    draw_cursor();
    draw_guides();
    draw_selected_tv();
}
