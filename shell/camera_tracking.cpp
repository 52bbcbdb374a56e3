// shell/camera_tracking.cpp -- the camera: follows the player with a 14-frame
// look-ahead and a smoothed glide, or leaves the view to the keys when free.
#include "hillhopper.h"
#include "camera.h"
#include "actions.h"
#include "geometry.h"
#include "std_gfuncs.h"

// The camera's own smoothed position and velocity. They survive level starts:
// only the position is reset there.
static double x, y, xx, yy;

const double look_ahead_frames = 14;
const double glide_divisor = 16;
const double near_target = 0.0125;      // below this d keeps its raw length
const double far_pull = 4;              // length of d far from the target
const double velocity_keep = 0.75;
const double step_divisor = 8;
const double free_step = 0.125;         // world units per frame with the keys
const double free_turn = 0.5;           // degrees per frame

void set_camera_start(void)
{
    x = scr_px;
    y = scr_py;
}

void get_camera_state(double *cx, double *cy, double *cxx, double *cyy)
{
    *cx = x; *cy = y; *cxx = xx; *cyy = yy;
}

void set_camera_state(double cx, double cy, double cxx, double cyy)
{
    x = cx; y = cy; xx = cxx; yy = cyy;
}

static void follow_player(void)
{
    const body_struct &p = body[0];
    vect_struct d = {(p.x + look_ahead_frames * p.xx - x) / glide_divisor,
                     (p.y + look_ahead_frames * p.yy - y) / glide_divisor};
    double m = vect_mag(d);
    if (m > near_target) {
        unit_vect(d, &d);
        d.x *= far_pull;
        d.y *= far_pull;
    }
    xx = (xx + d.x) * velocity_keep;
    yy = (yy + d.y) * velocity_keep;
    x += xx * m / step_divisor;
    y += yy * m / step_divisor;
    scr_px = x;
    scr_py = y;
}

// The camera's own x, y are not touched: back in follow mode the view glides
// on from where the camera was, not from where the keys left it.
static void move_free_camera(void)
{
    // Ctrl+Up and Ctrl+Down zoom the edit modes' view instead.
    bool ctrl = keyr[KEY_LCONTROL] == LATCH_HELD || keyr[KEY_LCONTROL] == LATCH_PRESSED ||
                keyr[KEY_RCONTROL] == LATCH_HELD || keyr[KEY_RCONTROL] == LATCH_PRESSED;
    if (edit_mode != 0 && ctrl) return;
    if (actr[ACT_SPIN_UP]) scr_py += free_step;
    if (actr[ACT_SPIN_DOWN]) scr_py -= free_step;
    if (actr[ACT_LEFT]) scr_px -= free_step;
    if (actr[ACT_RIGHT]) scr_px += free_step;
    if (keyr[KEY_R]) world_ang += free_turn;
}

void track_main_plr(void)
{
    if (actr[ACT_FREE_CAMERA] == LATCH_RELEASED) camera_track = !camera_track;
    if (j[J_TIMEOUT_STEP] || j[J_LEVEL_DONE]) return;
    if (camera_track)
        follow_player();
    else
        move_free_camera();
}
