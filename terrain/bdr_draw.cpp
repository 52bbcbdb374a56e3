// terrain/bdr_draw.cpp -- drawing the visible borders as textured strips.
// The geometry comes from bdr_geometry; this file only sets GL state and emits
// the pairs it is given. A plain band is opaque white, whatever the previous
// item left; only the arrow band draws in the colour its caller set.
#include <GL/gl.h>
#include "hillhopper.h"
#include "bdr_geometry.h"
#include "borders.h"
#include "textures.h"
#include "editor_state.h"
#include "game.h"
#include "region.h"

void (*bdr_drawing_func[num_draw_funcs])(int);

// Rail factors: +1 the ground-side mirror of the outer edge, -1 the outer edge;
// the blended band adds a rail 0.3 of the half-width below the terrain edge.
const double rail_ground = 1.0;
const double rail_outer = -1.0;
const double rail_blend = 0.3;
// Frames of one pulse of the waypoint arrow.
const int arrow_pulse_frames = 100;

// A border at most crosses the grid's diagonal (about 180 units) at the
// finest step of 0.025; longer walks take longer steps.
const int max_strip_pairs = 8192;
static bdr_pair strip[max_strip_pairs];

void draw_bdrs(void)
{
    static int seen[num_bdrs];
    int count = visible_records(bdr_list, &region_struct::bdr_n, &region_struct::bdr_x,
                                num_bdrs, visible_cell_range(), seen, num_bdrs);
    for (int i = 0; i < count; i++) {
        int n = seen[i];
        int type = bdr[n].type;
        if (bdr[n].state && type >= 0 && type < num_draw_funcs && bdr_drawing_func[type] &&
            terrain_tex_loaded(bdr[n].x))
            bdr_drawing_func[type](n);
    }
}

static void bind_bdr_texture(int n)
{
    int x = bdr[n].x;
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, x >= 0 && x < num_tex_slots ? terrain_tex[x] : 0);
}

static void linear_repeat_s(void)
{
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
}

static void emit(vect_struct p, double s, double t)
{
    glTexCoord2f((float)s, (float)t);
    glVertex3f((float)p.x, (float)p.y, 0.0f);
}

// The band between the outer edge and its ground-side mirror, in the colour
// in force (then the editor's override): shared by the plain and arrow types.
static void draw_band(int n)
{
    int pairs = bdr_strip(n, rail_ground, rail_outer, strip, max_strip_pairs);
    if (pairs == 0) return;
    bind_bdr_texture(n);
    selected_border(n);
    linear_repeat_s();
    glBegin(GL_QUAD_STRIP);
    for (int i = 0; i < pairs; i++) {
        emit(strip[i].other, strip[i].s, 1);
        emit(strip[i].ref, strip[i].s, 0);
    }
    glEnd();
}

void draw_bdr_0(int n)
{
    if (headless) return;
    glColor4f(1, 1, 1, 1);
    draw_band(n);
}

// One strip of the blended band. Strip 0 runs from the blend rail (t 0.5) to
// the ground rail (t 0), fading to transparent there; strip 1 from the outer
// edge (t 1) to the blend rail. The reference rail is the blend rail in both.
static void draw_blend_strip(int n, int which)
{
    double f_other = which == 0 ? rail_ground : rail_outer;
    int pairs = bdr_strip(n, rail_blend, f_other, strip, max_strip_pairs);
    glBegin(GL_QUAD_STRIP);
    for (int i = 0; i < pairs; i++) {
        const bdr_pair &p = strip[i];
        glColor4f(1, 1, 1, 1);
        selected_border(n);
        if (which == 0) emit(p.ref, p.s, 0.5);
        else emit(p.other, p.s, 1);
        if (which == 0) glColor4f(1, 1, 1, 0);
        selected_border(n);
        if (which == 0) emit(p.other, p.s, 0);
        else emit(p.ref, p.s, 0.5);
    }
    glEnd();
}

void draw_bdr_1(int n)
{
    if (headless) return;
    const double rails[3] = {rail_ground, rail_blend, rail_outer};
    if (!bdr_rails_drawable(n, rails, 3)) return;
    bind_bdr_texture(n);
    linear_repeat_s();
    draw_blend_strip(n, 0);
    draw_blend_strip(n, 1);
}

// Shown only for the arrow group in force, fading in over each pulse.
void draw_bdr_2(int n)
{
    if (headless || bdr[n].wpn != j[J_ARROW_GROUP]) return;
    glColor4f(1, 1, 1, (float)(j[J_FRAME] % arrow_pulse_frames) / arrow_pulse_frames);
    draw_band(n);
}

void init_bdr_drawing_funcs(void)
{
    for (int i = 0; i < num_draw_funcs; i++) bdr_drawing_func[i] = nullptr;
    bdr_drawing_func[0] = draw_bdr_0;
    bdr_drawing_func[1] = draw_bdr_1;
    bdr_drawing_func[2] = draw_bdr_2;
}
