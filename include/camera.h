// include/camera.h -- the camera that follows the player with a look-ahead,
// or leaves the view to the keys while tracking is off.
#pragma once

void set_camera_start(void);        // camera position = view centre
void track_main_plr(void);          // the per-frame camera step
// The camera's own smoothed state, for tests.
void get_camera_state(double *x, double *y, double *xx, double *yy);
void set_camera_state(double x, double y, double xx, double yy);
