// shell/world.cpp -- the mappings between overlay pixels, world units and the
// mouse. The world plane is drawn at distance 10 under a frustum of +-0.2 by
// +-0.15 at distance 1, so the view spans 4 by 3 world units.
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

void trans_map(void)
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef((float)-scr_px, (float)-scr_py, -world_plane_depth);
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
    double x = mx / pixels_per_unit - view_half_w + scr_px;
    double y = view_half_h - my / pixels_per_unit + scr_py;
    rot_point(x, y, 0, 0, -world_ang * Z_PI / 180, wx, wy);
}

void set_mpos(void)
{
    overlay_to_world(mouse_overlay_x(), mouse_overlay_y(), &mposx, &mposy);
}
