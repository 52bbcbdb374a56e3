// include/world.h -- coordinate spaces: overlay pixels (640 x 480, y down),
// world units (y up, 160 overlay pixels per unit) and the mouse.
#pragma once

const double overlay_w = 640.0;
const double overlay_h = 480.0;
const double pixels_per_unit = 160.0;

double SX(double x);                // overlay x -> GL x on the plane at depth 1
double SY(double y);                // overlay y -> GL y on the plane at depth 1
void trans_map(void);               // loads the world transform
void set_mpos(void);                // mposx, mposy from the mouse
// The mouse in the 640 x 480 overlay space, scaled from the window's pixels.
double mouse_overlay_x(void);
double mouse_overlay_y(void);
// The pure mapping behind set_mpos: overlay pixel -> world point.
void overlay_to_world(double mx, double my, double *wx, double *wy);
