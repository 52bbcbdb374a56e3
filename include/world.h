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

// The edit modes' zoom: 2^(step / 2) for steps -4..4 (0.25x to 4x); 1 in
// play, whatever step was last chosen.
const int min_zoom_step = -4;
const int max_zoom_step = 4;
double view_zoom(void);
int view_zoom_step(void);
// Sets the step (clamped) keeping the world point under overlay point
// (ax, ay) in its place: moves scr_px, scr_py. Only for the edit modes.
void set_view_zoom_step(int step, double ax, double ay);
