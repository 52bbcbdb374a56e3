// Picking with keypad 1..4, the vertex pick taking over, the layer filter,
// and the delete key with its cascades, through the real frame loop.
#include <vector>
#include "editor_driver.h"
#include "joints.h"
#include "polys.h"
#include "borders.h"
#include "doodads.h"

using namespace editor_test;

namespace {

class Selection : public ::testing::Test {
protected:
    int a = -1, b = -1, c = -1;         // triangle corners (0,0) (1,0) (0,1)

    void SetUp() override
    {
        headless_world();
        fresh_level();
        fake_texture_sets(60, 40);
    }
    void TearDown() override
    {
        input_hook = nullptr;
        release_all_keys();
    }

    // A layer-0 triangle, a joint along its bottom edge and a border on it.
    void build_scene(void)
    {
        a = new_tv(0, 0);
        b = new_tv(1, 0);
        c = new_tv(0, 1);
        new_ply(a, b, c, -1, 0, 2, 0);
        new_jnt(a, b, 1);
        new_bdr2(a, b, 0, 3);                        // 256 x 64: outer vertices 0.128 up
        update_region_jnts();
        update_region_plys();
        update_region_bdrs();
    }
};

int count_level_ends(void)
{
    int n = 0;
    for (int i = 0; i < num_bonuses; i++)
        n += bonus[i].state != 0 && bonus[i].type == BONUS_LEVEL_END;
    return n;
}

std::vector<int> level_ends_seen;
int hook_phase = 0;

// Every latch step taps a key, and notes how many level ends are left.
void note_level_ends_and_tap(void)
{
    level_ends_seen.push_back(count_level_ends());
    hook_phase = !hook_phase;
    set_key(KEY_A, hook_phase != 0);
}

}  // namespace

TEST_F(Selection, KeypadPicksBorderPolygonJointAndDoodadOneAtATime)
{
    build_scene();
    int far_a = new_tv(2, 0), far_b = new_tv(3, 0);
    new_jnt(far_a, far_b, 2);
    update_region_jnts();
    int d = new_dad(-1, 0.5, 0, 0, 0, 0);            // 64 x 32: picked within 0.2236

    pick_with(KEY_2_PAD, 0.25, 0.5);
    EXPECT_EQ(edt.sel_ply, 0);
    pick_with(KEY_3_PAD, 2.5, 0.0);
    EXPECT_EQ(edt.sel_jnt, 1);
    EXPECT_EQ(edt.sel_ply, -1);                      // one selection at a time
    pick_with(KEY_1_PAD, 0.5, 0.075);
    EXPECT_EQ(edt.sel_bdr, 0);
    EXPECT_EQ(edt.sel_jnt, -1);
    pick_with(KEY_4_PAD, -0.9, 0.55);
    EXPECT_EQ(edt.sel_dad, d);
    EXPECT_EQ(edt.sel_bdr, -1);
    pick_with(KEY_2_PAD, -1.5, -1.0);                // empty ground: nothing, and clears
    EXPECT_EQ(edt.sel_ply, -1);
    EXPECT_EQ(edt.sel_dad, -1);
}

TEST_F(Selection, NothingIsHoveredWhileItsPickKeyIsUpOrOnlyJustPressed)
{
    build_scene();
    mouse_to(0.25, 0.5);
    frame();
    EXPECT_EQ(edt.hover_ply, -1);
    key_down(KEY_2_PAD);                             // first frame: latch 1, not yet
    EXPECT_EQ(edt.hover_ply, -1);
    frame();
    EXPECT_EQ(edt.hover_ply, 0);
    key_up(KEY_2_PAD);
    EXPECT_EQ(edt.hover_ply, -1);
}

TEST_F(Selection, TheVertexPickTakesOverAPolygonClickOnAVertex)
{
    build_scene();
    pick_with(KEY_2_PAD, 0.0125, 0.0125);            // inside the triangle and a's square
    EXPECT_EQ(edt.sel_tv, a);
    EXPECT_EQ(edt.sel_ply, -1);
}

TEST_F(Selection, WithALayerKeyHeldAPolygonOfAnotherLayerIsNotPicked)
{
    build_scene();
    tap(KEY_F2);                                     // current layer 1
    set_key(KEY_F2, true);
    pick_with(KEY_2_PAD, 0.25, 0.5);
    set_key(KEY_F2, false);
    frame();
    EXPECT_EQ(edt.sel_ply, -1);
    EXPECT_EQ(edt.cur_layer, 1);
    pick_with(KEY_2_PAD, 0.25, 0.5);                 // no layer key: any layer
    EXPECT_EQ(edt.sel_ply, 0);
    tap(KEY_F1);
    set_key(KEY_F1, true);
    pick_with(KEY_2_PAD, 0.25, 0.5);                 // layer 0 shown: picked
    set_key(KEY_F1, false);
    EXPECT_EQ(edt.sel_ply, 0);
}

TEST_F(Selection, DeletingAVertexTakesEverythingBuiltOnIt)
{
    build_scene();
    int outer0 = bdr[0].tva[0], outer1 = bdr[0].tva[1];
    click_at(0, 0);
    EXPECT_EQ(edt.sel_tv, a);
    tap(KEY_DEL);
    EXPECT_EQ(tv[a].state, 0);
    EXPECT_EQ(count_live_jnts(), 0);
    EXPECT_EQ(count_live_plys(), 0);
    EXPECT_EQ(count_live_bdrs(), 0);
    EXPECT_EQ(tv[outer0].state, 0);                  // the border's own vertices went too
    EXPECT_EQ(tv[outer1].state, 0);
    EXPECT_NE(tv[b].state, 0);
    EXPECT_NE(tv[c].state, 0);
    EXPECT_EQ(filed_plys(), 0);
    EXPECT_EQ(filed_bdrs(), 0);
    EXPECT_EQ(filed_jnts(), 0);
    EXPECT_EQ(edt.sel_tv, -1);
}

TEST_F(Selection, ABordersOuterVertexTakesTheBorderWithIt)
{
    build_scene();
    int outer0 = bdr[0].tva[0], outer1 = bdr[0].tva[1];
    click_at(0, 0.125);                              // the outer vertex sits at (0, 0.128)
    EXPECT_EQ(edt.sel_tv, outer0);
    tap(KEY_DEL);
    EXPECT_EQ(count_live_bdrs(), 0);
    EXPECT_EQ(tv[outer1].state, 0);
    EXPECT_NE(tv[a].state, 0);
    EXPECT_NE(tv[b].state, 0);
    EXPECT_EQ(count_live_plys(), 1);
    EXPECT_EQ(count_live_jnts(), 1);
}

TEST_F(Selection, DeletingTheMiddleOfAChainCutsItAndKeepsTheSharedVertices)
{
    int v[5] = {new_tv(0, 0), new_tv(1, 0), new_tv(2, 0), new_tv(3, 0), new_tv(4, 0)};
    for (int k = 0; k < 4; k++) new_bdr2(v[k], v[k + 1], 0, 3);
    update_region_bdrs();
    int live_before = count_live_tvs();
    pick_with(KEY_1_PAD, 1.5, 0.05);
    EXPECT_EQ(edt.sel_bdr, 1);
    tap(KEY_DEL);
    EXPECT_EQ(bdr[1].state, 0);
    EXPECT_EQ(count_live_tvs(), live_before);
    EXPECT_EQ(bdr[0].next_b, -1);
    EXPECT_EQ(bdr[2].last_b, -1);
    EXPECT_EQ(bdr[2].next_b, 3);                     // the second part stays a chain
    EXPECT_FLOAT_EQ(bdr[3].tex_offset, bdr[2].tex_offset + bdr[2].tex_len);
}

TEST_F(Selection, AHeldVertexThatIsDeletedIsDroppedFromTheHold)
{
    build_scene();
    mouse_to(0, 1);
    frame();
    button_down();                                   // holds c
    frame();
    EXPECT_EQ(edt.sel_tv, c);
    tap(KEY_DEL);                                    // button still down
    EXPECT_EQ(tv[c].state, 0);
    EXPECT_EQ(selected_point, -1);
    mouse_to(-0.5, 0.5);
    frame();
    EXPECT_FLOAT_EQ(tv[c].x, 0.0f);                  // the free slot is not written
    EXPECT_FLOAT_EQ(tv[c].y, 1.0f);
    int n = vertex_at(-1, -1);
    EXPECT_EQ(n, c);                                 // the slot is reused ...
    mouse_to(0.5, 0.5);
    frame();
    EXPECT_FLOAT_EQ(tv[n].x, -1.0f);                 // ... and not dragged
    button_up();
}

TEST_F(Selection, DeletingAVertexAbandonsAConstructionThatChoseIt)
{
    build_scene();
    tap(KEY_J);
    click_at(0, 1);
    EXPECT_EQ(edt.jnt_stage, 2);
    delete_tv(c);
    EXPECT_EQ(edt.jnt_stage, 0);
    click_at(1, 0);
    EXPECT_EQ(count_live_jnts(), 1);                 // only the scene's joint
}

TEST_F(Selection, StaleSelectionsAreNotDeleted)
{
    build_scene();
    edt.sel_ply = 5;                                 // a free slot, e.g. from another level
    edt.sel_jnt = num_jnts + 3;                      // out of range
    edt.sel_bdr = 7;
    edt.sel_dad = 9;
    edt.sel_tv = 40;
    tap(KEY_DEL);
    EXPECT_EQ(count_live_plys(), 1);
    EXPECT_EQ(count_live_jnts(), 1);
    EXPECT_EQ(count_live_bdrs(), 1);
    EXPECT_EQ(edt.sel_ply, -1);
    EXPECT_EQ(edt.sel_jnt, -1);
    EXPECT_EQ(edt.sel_bdr, -1);
    EXPECT_EQ(edt.sel_dad, -1);
}

TEST_F(Selection, DeleteWithLevelEndChosenRemovesEveryLevelEndWaitingAfterEach)
{
    new_bonus(10, 10, BONUS_LEVEL_END);
    new_bonus(-5, 3, BONUS_LEVEL_END);
    new_bonus(0.05, 0, BONUS_LEAF);                  // near the mouse
    new_bonus(0.5, 0, BONUS_SPIKE);                  // away from it
    mouse_to(0, 0);
    shift_tap(KEY_Z);
    shift_tap(KEY_Z);
    EXPECT_EQ(edt.bonus_type, BONUS_LEVEL_END);
    key_down(KEY_DEL);
    set_key(KEY_DEL, false);
    level_ends_seen.clear();
    input_hook = note_level_ends_and_tap;
    frame();
    input_hook = nullptr;
    set_key(KEY_A, false);
    EXPECT_EQ(count_level_ends(), 0);
    EXPECT_EQ(bonus[2].state, 0);
    EXPECT_NE(bonus[3].state, 0);
    // The game stood waiting with one level end left, then with none.
    bool waited_with_one = false, waited_with_none = false;
    for (int n : level_ends_seen) {
        waited_with_one |= n == 1;
        waited_with_none |= n == 0;
    }
    EXPECT_TRUE(waited_with_one);
    EXPECT_TRUE(waited_with_none);
}

TEST_F(Selection, DeleteErasesOnlyBonusesNearTheMouseForOtherTypes)
{
    new_bonus(10, 10, BONUS_LEVEL_END);
    new_bonus(0.075, 0, BONUS_ELECTRIC);
    new_bonus(0.125, 0, BONUS_ELECTRIC);
    mouse_to(0, 0);
    tap(KEY_DEL);
    EXPECT_NE(bonus[0].state, 0);
    EXPECT_EQ(bonus[1].state, 0);
    EXPECT_NE(bonus[2].state, 0);
}

// Keyboards without a keypad: Alt+1..Alt+4 held pick as keypad 1..4 do, and
// a digit without Alt picks nothing.
TEST_F(Selection, AltDigitsPickLikeTheKeypad)
{
    build_scene();
    int far_a = new_tv(2, 0), far_b = new_tv(3, 0);
    new_jnt(far_a, far_b, 2);
    update_region_jnts();
    int d = new_dad(-1, 0.5, 0, 0, 0, 0);
    auto alt_pick = [](int digit, double x, double y) {
        set_key(KEY_ALT, true);
        pick_with(digit, x, y);
        set_key(KEY_ALT, false);
        frame();
    };
    pick_with(KEY_2, 0.25, 0.5);
    EXPECT_EQ(edt.sel_ply, -1);
    alt_pick(KEY_2, 0.25, 0.5);
    EXPECT_EQ(edt.sel_ply, 0);
    alt_pick(KEY_3, 2.5, 0.0);
    EXPECT_EQ(edt.sel_jnt, 1);
    EXPECT_EQ(edt.sel_ply, -1);
    alt_pick(KEY_1, 0.5, 0.075);
    EXPECT_EQ(edt.sel_bdr, 0);
    alt_pick(KEY_4, -1, 0.5);
    EXPECT_EQ(edt.sel_dad, d);
    EXPECT_EQ(edt.sel_bdr, -1);
}
