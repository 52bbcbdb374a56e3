// Building terrain with the editor, frame by frame through the real loop:
// vertices at the mouse, joints, polygons and borders by clicks, dragging,
// abandoning, and the grid filing that follows each construction.
#include <cmath>
#include "editor_driver.h"
#include "geometry.h"
#include "joints.h"
#include "polys.h"
#include "borders.h"

using namespace editor_test;

namespace {

class Construction : public ::testing::Test {
protected:
    void SetUp() override
    {
        headless_world();
        fresh_level();
        fake_texture_sets(60, 40);
    }
    void TearDown() override { input_hook = nullptr; }
};

}  // namespace

TEST_F(Construction, NMakesVerticesAtTheMouseInTheLowestFreeSlots)
{
    int a = vertex_at(0.5, 0.25);
    int b = vertex_at(-1.0, 1.0);
    EXPECT_EQ(a, 0);
    EXPECT_EQ(b, 1);
    EXPECT_FLOAT_EQ(tv[0].x, 0.5f);
    EXPECT_FLOAT_EQ(tv[0].y, 0.25f);
    EXPECT_FLOAT_EQ(tv[1].x, -1.0f);
    EXPECT_FLOAT_EQ(tv[1].y, 1.0f);
    tv[0].state = 0;
    EXPECT_EQ(vertex_at(0.25, 0.25), 0);            // a freed slot is reused first
    EXPECT_EQ(count_live_tvs(), 2);
}

TEST_F(Construction, JThenTwoClicksMakesAJointOfTheChosenType)
{
    int a = vertex_at(0, 0), b = vertex_at(0.5, 0);
    tap(KEY_K);                                      // walking -> nonwalking
    EXPECT_EQ(edt.jnt_type, 2);
    EXPECT_EQ(edt.jnt_label_cnt, label_frames_expected - 2);   // drawn on both frames of the tap
    tap(KEY_J);
    EXPECT_EQ(edt.jnt_stage, 1);
    click_at(0, 0);
    EXPECT_EQ(edt.jnt_stage, 2);
    EXPECT_EQ(edt.jnt_tv0, a);
    EXPECT_EQ(count_live_jnts(), 0);
    click_at(0.5, 0);
    ASSERT_EQ(count_live_jnts(), 1);
    EXPECT_EQ(jnt[0].tvn[0], a);
    EXPECT_EQ(jnt[0].tvn[1], b);
    EXPECT_EQ(jnt[0].type, 2);
    EXPECT_EQ(edt.jnt_stage, 0);
    // The clicks built; they did not move either vertex.
    EXPECT_FLOAT_EQ(tv[a].x, 0.0f);
    EXPECT_FLOAT_EQ(tv[b].x, 0.5f);
    // A joint is not filed until the refresh key.
    EXPECT_EQ(filed_jnts(), 0);
    tap(KEY_U);
    EXPECT_GT(filed_jnts(), 0);
}

TEST_F(Construction, PressOnOneVertexReleaseOnAnotherMakesAWalkingJoint)
{
    int a = vertex_at(0, 0), b = vertex_at(0.5, 0.25);
    tap(KEY_K);
    tap(KEY_K);                                      // only walking: type 3
    EXPECT_EQ(edt.jnt_type, 3);
    tap(KEY_J);
    mouse_to(0, 0);
    frame();
    button_down();
    mouse_to(0.25, 0.1);
    frame();
    mouse_to(0.5, 0.25);
    frame();
    EXPECT_EQ(count_live_jnts(), 0);
    button_up();
    ASSERT_EQ(count_live_jnts(), 1);
    EXPECT_EQ(jnt[0].tvn[0], a);
    EXPECT_EQ(jnt[0].tvn[1], b);
    EXPECT_EQ(jnt[0].type, 1);
    EXPECT_FLOAT_EQ(tv[a].x, 0.0f);                  // the start vertex stayed put
}

TEST_F(Construction, JWhileDraggingStartsTheJointAtTheHeldVertex)
{
    int a = vertex_at(0, 0), b = vertex_at(0.5, 0);
    mouse_to(0, 0);
    frame();
    button_down();
    EXPECT_EQ(selected_point, a);
    tap(KEY_J);
    EXPECT_EQ(edt.jnt_stage, 2);
    EXPECT_EQ(edt.jnt_tv0, a);
    EXPECT_EQ(selected_point, -1);
    button_up();
    click_at(0.5, 0);
    ASSERT_EQ(count_live_jnts(), 1);
    EXPECT_EQ(jnt[0].tvn[0], a);
    EXPECT_EQ(jnt[0].tvn[1], b);
}

TEST_F(Construction, PWithThreeClicksMakesACounterClockwiseTriangleOnTheCurrentLayerAndTexture)
{
    int a = vertex_at(0, 0), b = vertex_at(0, 0.5), c = vertex_at(0.5, 0);   // clockwise
    tap(KEY_F2);
    EXPECT_EQ(edt.cur_layer, 1);
    edt.cur_tex = 7;
    tap(KEY_P);
    click_at(0, 0);
    click_at(0, 0.5);
    EXPECT_EQ(edt.ply_stage, 3);
    EXPECT_EQ(count_live_plys(), 0);
    click_at(0.5, 0);
    ASSERT_EQ(count_live_plys(), 1);
    EXPECT_EQ(ply[0].type, 0);
    EXPECT_EQ(ply[0].tvn[3], -1);
    EXPECT_EQ(ply[0].x, 7);
    EXPECT_EQ(ply[0].layer, 1);
    EXPECT_EQ(get_tri_dir(ply[0].tvn[0], ply[0].tvn[1], ply[0].tvn[2]), 1);
    EXPECT_EQ(ply[0].tvn[0], b);                     // the first two were exchanged
    EXPECT_EQ(ply[0].tvn[1], a);
    EXPECT_EQ(ply[0].tvn[2], c);
    EXPECT_EQ(edt.ply_stage, 0);
    EXPECT_GT(filed_plys(), 0);                      // filed at once
}

TEST_F(Construction, TThenFourClicksMakesAQuadInClickOrder)
{
    int v[4] = {vertex_at(0, 0), vertex_at(0.5, 0), vertex_at(0.5, 0.5), vertex_at(0, 0.5)};
    tap(KEY_T);
    EXPECT_EQ(edt.ply_quad, 1);
    tap(KEY_P);
    click_at(0, 0);
    click_at(0.5, 0);
    click_at(0.5, 0.5);
    EXPECT_EQ(edt.ply_stage, 4);
    EXPECT_EQ(count_live_plys(), 0);
    click_at(0, 0.5);
    ASSERT_EQ(count_live_plys(), 1);
    EXPECT_EQ(ply[0].type, 1);
    for (int k = 0; k < 4; k++) EXPECT_EQ(ply[0].tvn[k], v[k]);
    EXPECT_GT(filed_plys(), 0);
}

TEST_F(Construction, AClickOnAnAlreadyChosenCornerDragsItInsteadOfAdvancing)
{
    int a = vertex_at(0, 0);
    vertex_at(0.5, 0);
    tap(KEY_P);
    click_at(0, 0);
    EXPECT_EQ(edt.ply_stage, 2);
    mouse_to(0, 0);
    frame();
    button_down();
    EXPECT_EQ(selected_point, a);
    mouse_to(-0.25, 0.25);
    frame();
    EXPECT_EQ(edt.ply_stage, 2);
    EXPECT_FLOAT_EQ(tv[a].x, -0.25f);
    EXPECT_FLOAT_EQ(tv[a].y, 0.25f);
    button_up();
    EXPECT_EQ(selected_point, -1);
    EXPECT_EQ(edt.sel_tv, a);                        // the dragged vertex is the selection
}

TEST_F(Construction, PTwiceAbandonsAHalfBuiltPolygon)
{
    vertex_at(0, 0);
    vertex_at(0.5, 0);
    vertex_at(0.5, 0.5);
    tap(KEY_P);
    click_at(0, 0);
    click_at(0.5, 0);
    tap(KEY_P);
    EXPECT_EQ(edt.ply_stage, 0);
    click_at(0.5, 0.5);
    EXPECT_EQ(count_live_plys(), 0);
    // Starting again forgets the corners chosen before.
    tap(KEY_P);
    click_at(0.5, 0.5);
    EXPECT_EQ(edt.ply_stage, 2);
    EXPECT_EQ(count_live_plys(), 0);
}

TEST_F(Construction, ArmingOneConstructionStopsTheOthers)
{
    vertex_at(0, 0);
    tap(KEY_J);
    click_at(0, 0);
    EXPECT_EQ(edt.jnt_stage, 2);
    set_key(KEY_B, true);
    frame();
    set_key(KEY_B, false);
    frame();
    EXPECT_EQ(edt.jnt_stage, 0);
    EXPECT_EQ(edt.bdr_stage, 1);
    tap(KEY_T);                                      // a shape change stops them all
    EXPECT_EQ(edt.bdr_stage, 0);
    EXPECT_EQ(edt.shape_label_cnt, label_frames_expected - 2);
}

TEST_F(Construction, BordersChainShareOuterVerticesAndAClosedLoopWraps)
{
    edt.cur_tex = 3;                                 // 256 x 64: outer vertices 0.128 out
    int a = vertex_at(0, 0), b = vertex_at(1, 0), c = vertex_at(1, 1);
    tap(KEY_B);
    click_at(0, 0);
    click_at(1, 0);
    ASSERT_EQ(count_live_bdrs(), 1);
    EXPECT_EQ(bdr[0].tvn[0], a);
    EXPECT_EQ(bdr[0].tvn[1], b);
    EXPECT_EQ(bdr[0].x, 3);
    EXPECT_NEAR(tv[bdr[0].tva[0]].y, 0.128, 1e-6);
    EXPECT_GT(filed_bdrs(), 0);

    tap(KEY_B);
    click_at(1, 0);
    click_at(1, 1);
    ASSERT_EQ(count_live_bdrs(), 2);
    EXPECT_EQ(bdr[1].tva[0], bdr[0].tva[1]);         // the corner vertex is shared
    EXPECT_EQ(bdr[0].next_b, 1);
    EXPECT_EQ(bdr[1].last_b, 0);

    tap(KEY_B);
    click_at(1, 1);
    click_at(0, 0);
    ASSERT_EQ(count_live_bdrs(), 3);
    EXPECT_EQ(bdr[2].next_b, 0);
    EXPECT_EQ(bdr[2].tva[1], bdr[0].tva[0]);
    double total = bdr[2].tex_offset + bdr[2].tex_len;
    EXPECT_NEAR(total, std::round(total), 1e-4);     // the loop closes on a whole repeat
    (void)c;
}

TEST_F(Construction, CursorShowsTheArmedConstructionAwayFromVertices)
{
    vertex_at(0, 0);
    mouse_to(1, 1);
    frame();
    EXPECT_EQ(mouse_type, 1);
    tap(KEY_J);
    EXPECT_EQ(mouse_type, 3);
    tap(KEY_P);
    EXPECT_EQ(mouse_type, 4);
    set_key(KEY_B, true);
    frame();
    set_key(KEY_B, false);
    frame();
    EXPECT_EQ(mouse_type, 5);
    mouse_to(0, 0);
    frame();
    EXPECT_EQ(mouse_type, 2);                        // over a vertex the cross wins
}

TEST_F(Construction, LowerIndexWinsWhereTwoPickSquaresOverlap)
{
    int a = vertex_at(0, 0), b = vertex_at(0.025, 0);
    mouse_to(0.0125, 0);
    frame();
    EXPECT_EQ(mouse_over_point, a);
    mouse_to(0.0375, 0);                             // only inside b's square
    frame();
    EXPECT_EQ(mouse_over_point, b);
    mouse_to(0.075, 0);
    frame();
    EXPECT_EQ(mouse_over_point, -1);
}

// Zoom from 0.25x to 4x around the mouse: the world point under the mouse
// stays put, and at every zoom a vertex is made, picked and dragged exactly
// where the mouse is. Play sees the game's own view again.
TEST_F(Construction, ZoomKeepsThePointUnderTheMouseAndPicksAtEveryZoom)
{
    mouse_to(0.5, 0.25);
    frame();
    double wx = mposx, wy = mposy;
    for (int k = 0; k < 6; k++) {                    // the wheel: clamped at 4x
        mouse_z++;
        frame();
        EXPECT_NEAR(mposx, wx, 1e-9) << k;
        EXPECT_NEAR(mposy, wy, 1e-9) << k;
    }
    EXPECT_EQ(view_zoom(), 4.0);
    set_key(KEY_LCONTROL, true);
    for (int k = 0; k < 10; k++) tap(KEY_DOWN);      // Ctrl+Down: clamped at 0.25x
    set_key(KEY_LCONTROL, false);
    frame();
    EXPECT_EQ(view_zoom(), 0.25);
    EXPECT_NEAR(mposx, wx, 1e-9);
    EXPECT_NEAR(mposy, wy, 1e-9);

    for (int step = min_zoom_step; step <= max_zoom_step; step++) {
        set_view_zoom_step(step, 320, 240);
        double z = view_zoom(), pixel = 1 / pixels_per_unit / z;
        // Points inside the view at this zoom (it spans 4 / z by 3 / z units).
        int v = vertex_at(scr_px + 0.25 / z, scr_py + 0.5 / z);
        ASSERT_GE(v, 0);
        EXPECT_NEAR(tv[v].x, scr_px + 0.25 / z, pixel / 2) << step;
        EXPECT_NEAR(tv[v].y, scr_py + 0.5 / z, pixel / 2) << step;
        mouse_to(tv[v].x, tv[v].y);
        frame();
        EXPECT_EQ(mouse_over_point, v) << step;
        button_down();
        mouse_to(scr_px - 0.5 / z, scr_py - 0.25 / z);
        frame();
        button_up();
        EXPECT_NEAR(tv[v].x, mposx, 1e-6) << step;
        EXPECT_NEAR(tv[v].x, scr_px - 0.5 / z, pixel / 2) << step;
        EXPECT_NEAR(tv[v].y, scr_py - 0.25 / z, pixel / 2) << step;
        tv[v].state = 0;
    }
    edit_mode = 0;
    EXPECT_EQ(view_zoom(), 1.0);
    double ox, oy;
    overlay_to_world(0, 0, &ox, &oy);
    EXPECT_DOUBLE_EQ(ox, scr_px - 2.0);
    edit_mode = 1;
}

// G snaps new and dragged vertices to 0.1, Shift+G steps to 0.2 and 0.5;
// G again lets them go where the mouse is.
TEST_F(Construction, TheSnapGridRoundsNewAndDraggedVertices)
{
    tap(KEY_G);
    EXPECT_EQ(snap_grid_size(), 0.1);
    int a = vertex_at(0.525, 0.275);
    EXPECT_FLOAT_EQ(tv[a].x, 0.5f);
    EXPECT_FLOAT_EQ(tv[a].y, 0.3f);
    shift_tap(KEY_G);
    EXPECT_EQ(snap_grid_size(), 0.2);
    mouse_to(0.5, 0.3);
    frame();
    button_down();
    mouse_to(0.925, -0.325);
    frame();
    button_up();
    EXPECT_FLOAT_EQ(tv[a].x, 1.0f);
    EXPECT_FLOAT_EQ(tv[a].y, -0.4f);
    shift_tap(KEY_G);
    EXPECT_EQ(snap_grid_size(), 0.5);
    int b = vertex_at(-0.725, 0.7);
    EXPECT_FLOAT_EQ(tv[b].x, -0.5f);
    EXPECT_FLOAT_EQ(tv[b].y, 0.5f);
    tap(KEY_G);
    EXPECT_EQ(snap_grid_size(), 0.0);
    int c = vertex_at(-0.725, 0.7);
    EXPECT_FLOAT_EQ(tv[c].x, -0.725f);
}
