// Waypoints, bonuses, the arrow group and doodad placement with its preview,
// driven through the real frame loop.
#include <cmath>
#include "editor_driver.h"
#include "joints.h"
#include "doodads.h"
#include "bees.h"
#include "slots.h"

using namespace editor_test;

namespace {

class Placement : public ::testing::Test {
protected:
    void SetUp() override
    {
        headless_world();
        fresh_level();
        fake_texture_sets(60, 40);
    }
    void TearDown() override { release_all_keys(); }
};

int count_live_wpts(void)
{
    int n = 0;
    for (int i = 0; i < num_wpts; i++) n += wpt[i].state != 0;
    return n;
}

// Puts a joint from (x0, y0) to (x1, y1) into the level.
void joint(double x0, double y0, double x1, double y1)
{
    new_jnt(new_tv(x0, y0), new_tv(x1, y1), 1);
    update_region_jnts();
}

void start_doodad_placement(void)
{
    shift_tap(KEY_D);
    frame();
}

}  // namespace

TEST_F(Placement, WAddsAWaypointAndShiftWRemovesTheHighest)
{
    shift_tap(KEY_W);                                // none yet: nothing happens
    EXPECT_EQ(count_live_wpts(), 0);
    mouse_to(0.5, 0.25);
    tap(KEY_W);
    mouse_to(-0.5, 0.75);
    tap(KEY_W);
    tap(KEY_W);
    ASSERT_EQ(count_live_wpts(), 3);
    EXPECT_DOUBLE_EQ(wpt[0].px, 0.5);
    EXPECT_DOUBLE_EQ(wpt[0].py, 0.25);
    EXPECT_DOUBLE_EQ(wpt[1].px, -0.5);
    wpt[1].state = 0;                                // a gap below the highest
    shift_tap(KEY_W);
    EXPECT_EQ(wpt[2].state, 0);
    EXPECT_NE(wpt[0].state, 0);
    shift_tap(KEY_W);
    EXPECT_EQ(count_live_wpts(), 0);
}

TEST_F(Placement, ZAddsABonusOfTheTypeAndShiftZStepsTheType)
{
    mouse_to(0.25, 0.5);
    tap(KEY_Z);
    ASSERT_NE(bonus[0].state, 0);
    EXPECT_EQ(bonus[0].type, BONUS_LEAF);
    EXPECT_DOUBLE_EQ(bonus[0].px, 0.25);
    EXPECT_DOUBLE_EQ(bonus[0].py, 0.5);
    shift_tap(KEY_Z);
    EXPECT_EQ(edt.bonus_type, BONUS_SPIKE);
    EXPECT_EQ(bonus[1].state, 0);                    // stepping the type adds nothing
    tap(KEY_Z);
    EXPECT_EQ(bonus[1].type, BONUS_SPIKE);
    shift_tap(KEY_Z);
    shift_tap(KEY_Z);
    EXPECT_EQ(edt.bonus_type, BONUS_ELECTRIC);
    shift_tap(KEY_Z);
    EXPECT_EQ(edt.bonus_type, BONUS_LEAF);
}

TEST_F(Placement, PageKeysStepTheArrowGroupNeverBelowZero)
{
    tap(KEY_PGUP);
    tap(KEY_PGUP);
    EXPECT_EQ(j[J_ARROW_GROUP], 2);
    tap(KEY_PGDN);
    tap(KEY_PGDN);
    tap(KEY_PGDN);
    EXPECT_EQ(j[J_ARROW_GROUP], 0);
}

TEST_F(Placement, ShiftDStartsAPreviewThatFollowsTheMouseAndDPlacesACopy)
{
    edt.cur_tex = 4;
    tap(KEY_F3);
    mouse_to(0.5, 0.5);
    start_doodad_placement();
    EXPECT_EQ(edt.dad_mode, 1);
    int p = edt.preview_dad;
    ASSERT_GE(p, 0);
    EXPECT_EQ(edt.preview_on, 1);
    EXPECT_FLOAT_EQ(dad[p].px, 0.5f);
    EXPECT_FLOAT_EQ(dad[p].py, 0.5f);
    mouse_to(-0.25, 0.75);
    frame();
    p = edt.preview_dad;
    ASSERT_GE(p, 0);
    EXPECT_FLOAT_EQ(dad[p].px, -0.25f);
    EXPECT_FLOAT_EQ(dad[p].py, 0.75f);
    EXPECT_EQ(count_live_dads(), 1);                 // one preview, rebuilt each frame

    tap(KEY_D);
    ASSERT_EQ(count_live_dads(), 2);
    int copy = edt.preview_dad == 0 ? 1 : 0;
    p = edt.preview_dad;
    EXPECT_FLOAT_EQ(dad[copy].px, dad[p].px);
    EXPECT_FLOAT_EQ(dad[copy].py, dad[p].py);
    EXPECT_FLOAT_EQ(dad[copy].ang, dad[p].ang);
    EXPECT_EQ(dad[copy].pic, 4);
    EXPECT_EQ(dad[copy].type, 0);
    EXPECT_EQ(dad[copy].layer, 2);

    shift_tap(KEY_D);                                // placement off: the preview goes
    frame();
    EXPECT_EQ(edt.dad_mode, 0);
    EXPECT_EQ(edt.preview_dad, -1);
    EXPECT_EQ(count_live_dads(), 1);
    EXPECT_NE(dad[copy].state, 0);
}

TEST_F(Placement, TheAngleFollowsTheJointUnderTheMouseFromTheNextFrame)
{
    joint(0, 0, 1, 1);
    joint(0, 2, 1, 1);                               // points down and right
    mouse_to(-1, -1);
    start_doodad_placement();
    mouse_to(0.5, 0.5);
    frame();
    EXPECT_NEAR(jnt_perp_ang, Z_PI / 4, 1e-6);
    frame();
    EXPECT_NEAR(dad[edt.preview_dad].ang, Z_PI / 4, 1e-6);
    mouse_to(-1, 0.5);                               // off all joints: the angle stays
    frames(2);
    EXPECT_NEAR(dad[edt.preview_dad].ang, Z_PI / 4, 1e-6);
}

TEST_F(Placement, KeypadStarFreezesTheAngleAndPlusMinusStepIt)
{
    joint(0, 0, 1, 1);
    joint(0, 2, 1, 1);
    start_doodad_placement();
    mouse_to(0.5, 0.5);
    frames(2);
    mouse_to(-1, 0.5);                               // away from joints: still 45 degrees
    frame();
    tap(KEY_ASTERISK);
    EXPECT_NE(edt.dad_ang_fixed, 0);
    EXPECT_EQ(edt.dad_ang_cent, 78);                 // truncated hundredths of pi/4
    mouse_to(0.5, 1.5);                              // over the other joint
    frames(3);
    EXPECT_NEAR(dad[edt.preview_dad].ang, 0.78, 1e-6);
    key_down(KEY_PLUS_PAD);                          // +4 on the press
    frame();                                         // +2 per held frame
    key_up(KEY_PLUS_PAD);
    EXPECT_EQ(edt.dad_ang_cent, 84);
    tap(KEY_MINUS_PAD);
    EXPECT_EQ(edt.dad_ang_cent, 80);
    frame();
    EXPECT_NEAR(dad[edt.preview_dad].ang, 0.80, 1e-6);
    tap(KEY_ASTERISK);                               // follows joints again
    frames(2);
    EXPECT_NEAR(dad[edt.preview_dad].ang, -Z_PI / 4, 1e-6);
}

TEST_F(Placement, Keypad4EndsPlacementAndRemovesThePreviewInTheSameFrame)
{
    mouse_to(0.5, 0.5);
    start_doodad_placement();
    tap(KEY_D);
    int p = edt.preview_dad;
    int copy = p == 0 ? 1 : 0;
    set_key(KEY_4_PAD, true);
    frame();                                         // latch 1: not yet
    EXPECT_EQ(edt.dad_mode, 1);
    frame();                                         // latch 3
    EXPECT_EQ(edt.dad_mode, 0);
    EXPECT_EQ(edt.preview_dad, -1);
    EXPECT_EQ(dad[p].state, 0);
    EXPECT_EQ(edt.hover_dad, copy);                  // the preview is never hovered
    set_key(KEY_4_PAD, false);
    frame();
}

TEST_F(Placement, WithTheDoodadTableFullThePreviewIsAbsent)
{
    for (int i = 0; i < num_dads; i++) new_dad(50, 30, 0, 1, 0, 0);
    ASSERT_EQ(count_live_dads(), num_dads);
    start_doodad_placement();
    EXPECT_EQ(edt.preview_dad, -1);
    tap(KEY_D);
    EXPECT_EQ(count_live_dads(), num_dads);
    dad[123].state = 0;
    frame();
    EXPECT_EQ(edt.preview_dad, 123);
    shift_tap(KEY_D);
    frame();
    EXPECT_EQ(dad[123].state, 0);
}

TEST_F(Placement, APictureOutsideTheDoodadSetMakesNoDoodad)
{
    edt.cur_tex = 50;                                // a terrain texture; 40 doodad pictures
    start_doodad_placement();
    EXPECT_EQ(edt.preview_dad, -1);
    tap(KEY_D);
    EXPECT_EQ(count_live_dads(), 0);
}

TEST_F(Placement, ASlotRefilledByALevelLoadIsNotTakenForThePreview)
{
    mouse_to(0.5, 0.5);
    start_doodad_placement();
    int p = edt.preview_dad;
    ASSERT_EQ(p, 0);
    // Another level is loaded: slot 0 now holds one of its doodads, and the
    // level start forgets the preview.
    load_plain_level();
    int level_dad = new_dad(3, 1, 0.5, 2, 0, 0);
    ASSERT_EQ(level_dad, 0);
    editor_level_loaded();
    frame();
    EXPECT_NE(dad[0].state, 0);
    EXPECT_FLOAT_EQ(dad[0].px, 3.0f);
    EXPECT_EQ(edt.preview_dad, 1);
}

// Without a keypad: \\ freezes the angle, ] and [ step it like keypad + and -.
TEST_F(Placement, BracketsAndBackslashStandInForKeypadPlusMinusStar)
{
    joint(0, 0, 1, 1);
    start_doodad_placement();
    mouse_to(0.5, 0.5);
    frames(2);
    mouse_to(-1, 0.5);
    frame();
    tap(KEY_BACKSLASH);
    EXPECT_NE(edt.dad_ang_fixed, 0);
    EXPECT_EQ(edt.dad_ang_cent, 78);
    key_down(KEY_CLOSEBRACE);
    frame();
    key_up(KEY_CLOSEBRACE);
    EXPECT_EQ(edt.dad_ang_cent, 84);
    tap(KEY_OPENBRACE);
    EXPECT_EQ(edt.dad_ang_cent, 80);
    tap(KEY_BACKSLASH);
    EXPECT_EQ(edt.dad_ang_fixed, 0);
}

// A hive preview under the player is no hive of the level: it is never
// disturbed, releases no swarm and goes when placement ends.
TEST_F(Placement, AHivePreviewUnderThePlayerIsNeverDisturbed)
{
    edt.cur_tex = DAD_HIVE;
    mouse_to(0.5, 0.5);
    start_doodad_placement();
    body[0].x = 0.5;
    body[0].y = 0.5;
    frames(5);
    ASSERT_GE(edt.preview_dad, 0);
    EXPECT_EQ(dad[edt.preview_dad].pic, DAD_HIVE);
    for (int s = 0; s < num_bees; s++) EXPECT_EQ(bees[s].state, 0);
    body[0].x = body[0].y = 1000;
    shift_tap(KEY_D);
    frames(2);
    EXPECT_EQ(count_live_dads(), 0);
}

// Half-built constructions, the hold and the selections end at a level start:
// their vertex numbers would mean other vertices in the new level.
TEST_F(Placement, ALevelStartEndsEveryConstructionAndSelection)
{
    vertex_at(0, 0);
    vertex_at(1, 0);
    tap(KEY_J);
    click_at(0, 0);
    ASSERT_EQ(edt.jnt_stage, 2);
    tap(KEY_B);
    click_at(1, 0);
    ASSERT_EQ(edt.bdr_stage, 2);
    edt.sel_ply = 0;
    load_plain_level();
    new_tv(5, 5);
    new_tv(6, 5);
    editor_level_loaded();
    EXPECT_EQ(edt.jnt_stage, 0);
    EXPECT_EQ(edt.ply_stage, 0);
    EXPECT_EQ(edt.bdr_stage, 0);
    EXPECT_EQ(edt.sel_ply, -1);
    EXPECT_EQ(selected_point, -1);
    click_at(5, 5);
    click_at(6, 5);
    EXPECT_EQ(count_live_jnts(), 0);
    EXPECT_EQ(count_live_bdrs(), 0);
}
