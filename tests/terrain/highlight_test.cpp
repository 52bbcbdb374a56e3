// tests/terrain/highlight_test.cpp -- the editor's start state, the colour
// override's decision, and clearing the selections.
#include <cmath>
#include "terrain_fixture.h"
#include "editor_state.h"

TEST(EditorState, StartValuesMeanNothingHoveredSelectedOrUnderWay)
{
    edt.sel_ply = 12;
    edt.jnt_stage = 2;
    edt.jnt_type = 3;
    selected_point = 4;
    mouse_type = 5;
    current_dad_ang = 1.5;
    reset_editor_state();
    const int none[] = {edt.sel_tv, edt.hover_bdr, edt.sel_bdr, edt.hover_ply, edt.sel_ply,
                        edt.hover_jnt, edt.sel_jnt, edt.preview_dad, edt.hover_dad, edt.sel_dad,
                        selected_point};
    for (int v : none) EXPECT_EQ(v, -1);
    const int zero[] = {edt.jnt_stage, edt.jnt_tv0, edt.ply_stage, edt.ply_tv0, edt.ply_tv1,
                        edt.ply_quad, edt.bdr_stage, edt.bdr_tv0, edt.bdr_type, edt.cur_tex,
                        edt.ply_tv2, edt.cur_layer, edt.shape_label_cnt, edt.jnt_label_cnt,
                        edt.dad_mode, edt.preview_on, edt.dad_ang_fixed, edt.dad_ang_cent,
                        edt.bonus_type};
    for (int v : zero) EXPECT_EQ(v, 0);
    EXPECT_EQ(edt.jnt_type, 1);
    EXPECT_EQ(mouse_type, 1);
    EXPECT_EQ(jnt_perp_ang, 0);
    EXPECT_EQ(current_dad_ang, 0);
}

TEST(Highlight, NothingHoveredOrSelectedLeavesTheColourAlone)
{
    float rgb[3] = {0.25f, 0.5f, 0.75f};
    EXPECT_EQ(highlight_colour(7, -1, -1, 123, rgb), 0);
    EXPECT_EQ(highlight_colour(-5, -1, -1, 0, rgb), 0);
    EXPECT_EQ(highlight_colour(7, 6, 8, 0, rgb), 0);
    EXPECT_EQ(rgb[0], 0.25f);
    EXPECT_EQ(rgb[1], 0.5f);
    EXPECT_EQ(rgb[2], 0.75f);
}

TEST(Highlight, HoverPulsesGreyAndSelectionFlashesRedCyanAndWins)
{
    float rgb[3];
    ASSERT_EQ(highlight_colour(7, 7, -1, 0, rgb), 1);
    EXPECT_FLOAT_EQ(rgb[0], 1);                         // white at frame 0
    EXPECT_FLOAT_EQ(rgb[1], 1);
    ASSERT_EQ(highlight_colour(7, 7, -1, 9, rgb), 1);   // cos(3) is near -1
    EXPECT_NEAR(rgb[0], (std::cos(3.0) + 1) / 2, 1e-6);
    EXPECT_LT(rgb[0], 0.01);
    EXPECT_EQ(rgb[0], rgb[2]);

    ASSERT_EQ(highlight_colour(7, -1, 7, 0, rgb), 1);   // red
    EXPECT_FLOAT_EQ(rgb[0], 1);
    EXPECT_FLOAT_EQ(rgb[1], 0);
    EXPECT_FLOAT_EQ(rgb[2], 0);
    // Hovered and selected at once: the selection's colour, never grey.
    for (int frame = 0; frame < 40; frame++) {
        ASSERT_EQ(highlight_colour(7, 7, 7, frame, rgb), 1);
        double c = (std::cos((double)frame) + 1) / 2;
        ASSERT_NEAR(rgb[0], c, 1e-6);
        ASSERT_NEAR(rgb[1], 1 - c, 1e-6);
        ASSERT_EQ(rgb[1], rgb[2]);
    }
}

TEST(Highlight, OverrideRunsHeadlessAndClearingKeepsHover)
{
    headless_world();
    reset_editor_state();
    edt.hover_ply = 3;
    edt.sel_ply = 3;
    selected_poly(3);           // no GL context: decides, draws nothing
    selected_border(0);
    selected_doodad(0);
    edt.hover_bdr = 1;
    edt.hover_jnt = 2;
    edt.hover_dad = 4;
    edt.sel_bdr = 5;
    edt.sel_jnt = 6;
    edt.sel_tv = 7;
    edt.sel_dad = 8;
    clear_all_selections();
    EXPECT_EQ(edt.sel_bdr, -1);
    EXPECT_EQ(edt.sel_ply, -1);
    EXPECT_EQ(edt.sel_jnt, -1);
    EXPECT_EQ(edt.sel_tv, -1);
    EXPECT_EQ(edt.sel_dad, -1);
    EXPECT_EQ(edt.hover_ply, 3);
    EXPECT_EQ(edt.hover_bdr, 1);
    EXPECT_EQ(edt.hover_jnt, 2);
    EXPECT_EQ(edt.hover_dad, 4);
    reset_editor_state();
}
