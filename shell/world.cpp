// shell/world.cpp -- the mappings between overlay pixels, world units and the
// mouse. The world plane is drawn at distance 10 under a frustum of +-0.2 by
// +-0.15 at distance 1, so the view spans 4 by 3 world units; the edit modes
// may zoom it (play always sees the game's own view).
#include <cmath>
#include <allegro.h>
#include <GL/gl.h>
#include "hillhopper.h"
#include "world.h"
#include "geometry.h"

const double overlay_units_per_pixel = 1.0 / 1600.0;   // on the plane at distance 1
const double view_half_w = 2.0;                        // world units
const double view_half_h = 1.5;
const float world_plane_depth = 10.0f;

double SX(double x)
{
    return x * overlay_units_per_pixel - 0.2;
}

double SY(double y)
{
    return 0.15 - y * overlay_units_per_pixel;
}

// ---- the edit modes' zoom ------------------------------------------------------
// Kept as a power of sqrt(2) so that 1, 2, 4, 1/2 and 1/4 are exact.

static int zoom_step = 0;

double view_zoom(void)
{
    return edit_mode != 0 ? pow(2.0, zoom_step / 2.0) : 1.0;
}

int view_zoom_step(void) { return zoom_step; }

// The world point under overlay point (ax, ay) stays where it is.
void set_view_zoom_step(int step, double ax, double ay)
{
    if (step < min_zoom_step) step = min_zoom_step;
    if (step > max_zoom_step) step = max_zoom_step;
    double before = view_zoom();
    zoom_step = step;
    double after = view_zoom();
    double ox = ax / pixels_per_unit - view_half_w, oy = view_half_h - ay / pixels_per_unit;
    scr_px += ox * (1 / before - 1 / after);
    scr_py += oy * (1 / before - 1 / after);
}

void trans_map(void)
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    double z = view_zoom();
    if (z == 1.0) {
        glTranslatef((float)-scr_px, (float)-scr_py, -world_plane_depth);
    } else {
        glTranslatef(0, 0, -world_plane_depth);
        glScalef((float)z, (float)z, 1);
        glTranslatef((float)-scr_px, (float)-scr_py, 0);
    }
    glRotatef((float)world_ang, 0, 0, 1);
}

// The window is 800 x 600 while the overlay is 640 x 480.
double mouse_overlay_x(void)
{
    int w = SCREEN_W > 0 ? SCREEN_W : (int)overlay_w;
    return (double)mouse_x * overlay_w / w;
}

double mouse_overlay_y(void)
{
    int h = SCREEN_H > 0 ? SCREEN_H : (int)overlay_h;
    return (double)mouse_y * overlay_h / h;
}

void overlay_to_world(double mx, double my, double *wx, double *wy)
{
    double z = view_zoom();
    double x = (mx / pixels_per_unit - view_half_w) / z + scr_px;
    double y = (view_half_h - my / pixels_per_unit) / z + scr_py;
    rot_point(x, y, 0, 0, -world_ang * Z_PI / 180, wx, wy);
}

void set_mpos(void)
{
    overlay_to_world(mouse_overlay_x(), mouse_overlay_y(), &mposx, &mposy);
}
