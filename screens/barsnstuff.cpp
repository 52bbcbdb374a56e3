// screens/barsnstuff.cpp -- the HUD over the play view: clock, boost icons,
// power bar and jump bar, in overlay pixels (640 x 480, y down).
// It also decays the player's power, once per drawn frame, headless or not.
#include <cmath>
#include <GL/gl.h>
#include "hillhopper.h"
#include "game.h"
#include "slots.h"
#include "sound.h"
#include "textures.h"
#include "world.h"
#include "barsnstuff.h"

const double power_decay = 0.995;           // per frame: half-life about 138 frames
const double warn_below_time = 8;           // the clock warns below this time left
const int warn_beat_frames = 24;            // one pulse and one tick per 24 frames
const double clock_x = 40, clock_y = 45;    // clock centre at rest
const double clock_radius = 30;
const double clock_frame_half = 41;
const float fan_step = 0.2f;                // radians between rim vertices
const float fan_top = 6.4f;                 // the face's first rim angle: past a full turn
const float sector_colour_span = 6.2f;
const double power_bar_x = 203, power_bar_len = 117, power_bar_y0 = 8, power_bar_y1 = 24;
const double jump_bar_x = 220, jump_bar_len = 200, jump_bar_y0 = 450, jump_bar_y1 = 460;
const double icon_step = 30, icon_y = 445;
const double icon_half_w = 0.008, icon_half_h = 0.016;    // view units

// ---- the numbers the HUD shows ---------------------------------------------

double power_bar_end(double power)
{
    return power_bar_x + power_bar_len * (power / 100 + 1);
}

double jump_bar_end(double charge)
{
    return jump_bar_x + jump_bar_len * charge / 100;
}

double electric_icon_x(int k)
{
    return icon_step * k + icon_step;
}

int clock_warns(double time_left, int lost)
{
    return time_left < warn_below_time && lost == 0;
}

double clock_scale(double time_left, int lost, int frame)
{
    if (!clock_warns(time_left, lost)) return 1;
    return cos(frame * Z_PI / 12) * 0.3 + 1.3;
}

int clock_ticks(double time_left, int lost, int frame)
{
    return clock_warns(time_left, lost) && frame % warn_beat_frames == 0;
}

// ---- drawing ---------------------------------------------------------------

static void overlay_vertex(double x, double y)
{
    glVertex3f(SX(x), SY(y), 0);
}

void draw_electrics(void)
{
    double t = j[J_FRAME];
    for (int k = 0; k < j[J_BOOSTS]; k++) {
        double cx = SX(electric_icon_x(k)), cy = SY(icon_y);
        double g = cos(t / 10) * 0.5 + 0.5;
        glColor4f(g, g, 1, 1);
        tmap(cx - icon_half_w, cy + icon_half_h, cx - icon_half_w, cy - icon_half_h,
             cx + icon_half_w, cy - icon_half_h, cx + icon_half_w, cy + icon_half_h,
             terrain_tex[TEX_ELECTRIC], icon_half_w, -icon_half_h, Z_PI / 5, 0);
    }
}

static void rim_vertex(double cx, double cy, double a, double r)
{
    overlay_vertex(cx + cos(a - Z_PI / 2) * r, cy + sin(a - Z_PI / 2) * r);
}

static void draw_clock_face(double cx, double cy, double s)
{
    glBegin(GL_TRIANGLE_FAN);
    glColor3f(0.8f, 0.8f, 0.8f);
    overlay_vertex(cx, cy);
    glColor3f(0.4f, 0.4f, 0.4f);
    for (float a = fan_top; a > -fan_step; a -= fan_step) rim_vertex(cx, cy, a, clock_radius * s);
    glEnd();
}

// Runs clockwise from twelve o'clock to the time left; blue when there is
// plenty, red when it runs out.
static void draw_time_sector(double cx, double cy, double s, float A)
{
    glBegin(GL_TRIANGLE_FAN);
    glColor3f(1, 1, 0);
    overlay_vertex(cx, cy);
    for (float a = A; a > -fan_step; a -= fan_step) {
        glColor3f(1 - A / sector_colour_span, 0, A / sector_colour_span);
        rim_vertex(cx, cy, a < 0 ? 0 : a, clock_radius * s);
    }
    glEnd();
}

void draw_clock(void)
{
    int t = j[J_FRAME];
    float A = (float)(f[F_TIME] * Z_PI / 50);
    double s = clock_scale(f[F_TIME], j[J_LOST], t);
    if (clock_ticks(f[F_TIME], j[J_LOST], t)) play_sound(SND_CLOCK_TICK);
    if (headless) return;
    glDisable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, 1);
    double cx = (1 - s) * 30 + clock_x, cy = (1 - s) * 30 + clock_y;
    draw_clock_face(cx, cy, s);
    draw_time_sector(cx, cy, s, A);

    // The frame takes the colour the sector left.
    double fh = clock_frame_half * s;
    tmap(SX(cx - fh), SY(cy - fh), SX(cx - fh), SY(cy + fh), SX(cx + fh), SY(cy + fh),
         SX(cx + fh), SY(cy - fh), terrain_tex[TEX_CLOCK_FRAME], 0, 0, 0, 0);

    // The hand is drawn pointing up and turned clockwise about the centre.
    double x0 = SX(cx - 4 * s), y0 = SY(cy - 22 * s);
    tmap(x0, y0, SX(cx - 4 * s), SY(cy + 4 * s), SX(cx + 4 * s), SY(cy + 4 * s),
         SX(cx + 4 * s), SY(cy - 22 * s), terrain_tex[TEX_CLOCK_HAND],
         SX(cx) - x0, SY(cy) - y0, -A, 0);
}

static void draw_power_bar(void)
{
    double k = (f[F_POWER] / 100 + 1) / 2;
    double x = power_bar_end(f[F_POWER]);
    glDisable(GL_TEXTURE_2D);
    glColor3f(1 - k, k, 0.2f);
    glBegin(GL_QUADS);
    overlay_vertex(power_bar_x, power_bar_y0);
    overlay_vertex(power_bar_x, power_bar_y1);
    overlay_vertex(x, power_bar_y1);
    overlay_vertex(x, power_bar_y0);
    glEnd();
}

static void draw_jump_bar(void)
{
    double x = jump_bar_end(f[F_JUMP_CHARGE]);
    glDisable(GL_TEXTURE_2D);
    glBegin(GL_QUADS);
    glColor3f(1, 1, 0);     overlay_vertex(jump_bar_x, jump_bar_y0);
    glColor3f(0.7f, 0, 0);  overlay_vertex(jump_bar_x, jump_bar_y1);
    glColor3f(1, 1, 0);     overlay_vertex(x, jump_bar_y1);
    glColor3f(0.7f, 0, 0);  overlay_vertex(x, jump_bar_y0);
    glEnd();
}

static void draw_power_frame(void)
{
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, terrain_tex[TEX_BAR_FRAME]);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glBegin(GL_QUADS);
    glColor3f(0, 0, 0.6f);       glTexCoord2f(0.01f, 0.99f); overlay_vertex(192, 0);
    glColor3f(1, 1, 1);          glTexCoord2f(0.01f, 0.01f); overlay_vertex(192, 32);
    glColor3f(0, 0, 0.6f);       glTexCoord2f(0.99f, 0.01f); overlay_vertex(448, 32);
    glColor3f(0.6f, 0.6f, 1);    glTexCoord2f(0.99f, 0.99f); overlay_vertex(448, 0);
    glEnd();
}

void draw_barsnstuff(void)
{
    f[F_POWER] *= power_decay;
    if (!headless) {
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glTranslatef(0, 0, -1);
        draw_electrics();
    }
    draw_clock();
    if (headless) return;
    draw_power_bar();
    draw_jump_bar();
    draw_power_frame();
}
