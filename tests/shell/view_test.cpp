// The coordinate mappings and the camera.
#include <cmath>
#include "test_support.h"
#include "hillhopper.h"
#include "actions.h"
#include "world.h"
#include "camera.h"
#include "std_gfuncs.h"

TEST(View, OverlayCornersMapToTheFrustumEdges)
{
    EXPECT_DOUBLE_EQ(SX(0), -0.2);
    EXPECT_DOUBLE_EQ(SX(640), 0.2);
    EXPECT_DOUBLE_EQ(SY(0), 0.15);
    EXPECT_DOUBLE_EQ(SY(480), -0.15);
    EXPECT_DOUBLE_EQ(SX(320), 0.0);
}

TEST(View, MouseMapsToWorldWithoutRotation)
{
    headless_world();
    scr_px = 3;
    scr_py = -2;
    world_ang = 0;
    double x, y;
    overlay_to_world(320, 240, &x, &y);
    EXPECT_DOUBLE_EQ(x, 3);
    EXPECT_DOUBLE_EQ(y, -2);
    overlay_to_world(0, 0, &x, &y);
    EXPECT_DOUBLE_EQ(x, 3 - 2);
    EXPECT_DOUBLE_EQ(y, -2 + 1.5);
    overlay_to_world(640, 480, &x, &y);
    EXPECT_DOUBLE_EQ(x, 3 + 2);
    EXPECT_DOUBLE_EQ(y, -2 - 1.5);
}

TEST(View, MouseUnderARotatedViewIsTurnedBack)
{
    headless_world();
    scr_px = 1;
    scr_py = 0;
    world_ang = 90;
    double x, y;
    // The screen centre shows world point R(-90) * (1, 0) = (0, -1).
    overlay_to_world(320, 240, &x, &y);
    EXPECT_NEAR(x, 0, 1e-9);
    EXPECT_NEAR(y, -1, 1e-9);
    world_ang = 0;
    scr_px = scr_py = 0;
}

TEST(View, WindowMouseIsScaledIntoTheOverlaySpace)
{
    headless_world();
    // Headless there is no screen: the mouse is already in overlay pixels.
    mouse_x = 320;
    mouse_y = 240;
    scr_px = scr_py = 0;
    world_ang = 0;
    set_mpos();
    EXPECT_DOUBLE_EQ(mposx, 0);
    EXPECT_DOUBLE_EQ(mposy, 0);
}

namespace {

void place_player(double x, double y, double xx, double yy)
{
    body[0] = body_struct{};
    body[0].state = 1;
    body[0].x = x;
    body[0].y = y;
    body[0].xx = xx;
    body[0].yy = yy;
    body[0].jntn = -1;
}

void reset_view_state(void)
{
    clear_keyr();
    j[J_TIMEOUT_STEP] = 0;
    j[J_LEVEL_DONE] = 0;
    camera_track = 1;
    world_ang = 0;
}

}  // namespace

TEST(Camera, PlayerAtRestOnTheCameraDoesNotMoveTheView)
{
    headless_world();
    reset_view_state();
    place_player(5, 6, 0, 0);
    set_camera_state(5, 6, 0, 0);
    for (int i = 0; i < 50; i++) track_main_plr();
    EXPECT_DOUBLE_EQ(scr_px, 5);
    EXPECT_DOUBLE_EQ(scr_py, 6);
}

TEST(Camera, GlidesTowardsTheLookAheadPointAndSettles)
{
    headless_world();
    reset_view_state();
    place_player(10, 0, 0, 0);
    set_camera_state(0, 0, 0, 0);
    double last_gap = 10;
    for (int i = 0; i < 400; i++) {
        track_main_plr();
        double gap = fabs(10 - scr_px);
        ASSERT_LE(gap, last_gap + 1e-9) << "frame " << i;
        last_gap = gap;
    }
    EXPECT_LT(last_gap, 0.25);
    EXPECT_NEAR(scr_py, 0, 1e-9);
}

TEST(Camera, FarFromTheTargetItClosesThreeThirtySecondsPerFrame)
{
    headless_world();
    reset_view_state();
    place_player(10000, 0, 0, 0);
    set_camera_state(0, 0, 0, 0);
    for (int i = 0; i < 60; i++) track_main_plr();   // velocity settles at length 12
    double before = 10000 - scr_px;
    track_main_plr();
    double after = 10000 - scr_px;
    EXPECT_NEAR(after / before, 1 - 3.0 / 32, 1e-7);
}

TEST(Camera, LooksFourteenFramesAhead)
{
    headless_world();
    reset_view_state();
    place_player(0, 0, 0.1, 0);
    set_camera_state(1.4, 0, 0, 0);     // exactly on the look-ahead point
    track_main_plr();
    EXPECT_DOUBLE_EQ(scr_px, 1.4);
}

TEST(Camera, FreeCameraMovesByKeysAndFollowModeResumesFromTheCamera)
{
    headless_world();
    reset_view_state();
    place_player(0, 0, 0, 0);
    set_camera_state(0, 0, 0, 0);
    scr_px = scr_py = 0;
    // C released: free camera.
    actr[ACT_FREE_CAMERA] = LATCH_RELEASED;
    track_main_plr();
    EXPECT_EQ(camera_track, 0);
    clear_keyr();
    actr[ACT_RIGHT] = LATCH_HELD;
    actr[ACT_SPIN_UP] = LATCH_PRESSED;
    keyr[KEY_R] = LATCH_HELD;
    track_main_plr();
    EXPECT_DOUBLE_EQ(scr_px, 0.125);
    EXPECT_DOUBLE_EQ(scr_py, 0.125);
    EXPECT_DOUBLE_EQ(world_ang, 0.5);
    double cx, cy, cxx, cyy;
    get_camera_state(&cx, &cy, &cxx, &cyy);
    EXPECT_EQ(cx, 0);
    EXPECT_EQ(cy, 0);
    // C again: back to follow mode, from the camera's own position.
    clear_keyr();
    actr[ACT_FREE_CAMERA] = LATCH_RELEASED;
    world_ang = 0;
    track_main_plr();
    EXPECT_EQ(camera_track, 1);
    EXPECT_DOUBLE_EQ(scr_px, 0);
    EXPECT_DOUBLE_EQ(scr_py, 0);
}

TEST(Camera, StandsStillDuringTimeOutAndLevelComplete)
{
    headless_world();
    reset_view_state();
    place_player(50, 0, 0, 0);
    set_camera_state(0, 0, 0, 0);
    scr_px = 0;
    j[J_TIMEOUT_STEP] = 3;
    track_main_plr();
    EXPECT_EQ(scr_px, 0);
    j[J_TIMEOUT_STEP] = 0;
    j[J_LEVEL_DONE] = 5;
    track_main_plr();
    EXPECT_EQ(scr_px, 0);
    j[J_LEVEL_DONE] = 0;
}
