// The texture picker, driven through its own loop by a scripted input hook:
// pages, the cell under the pointer, empty cells, leaving without a choice;
// and the label counters that run on in every drawn frame.
#include <functional>
#include <vector>
#include "editor_driver.h"

using namespace editor_test;

namespace {

// One entry per latch step (do_keyr); once the script runs out the hook
// keeps tapping Escape so that a picker that failed to return still ends,
// and the test sees that it overran.
std::vector<std::function<void()>> script;
size_t script_pos = 0;
bool overran = false;

void run_script(void)
{
    if (script_pos < script.size()) {
        script[script_pos++]();
        return;
    }
    overran = true;
    set_key(KEY_ESC, !key[KEY_ESC]);
}

class Picker : public ::testing::Test {
protected:
    void SetUp() override
    {
        headless_world();
        fresh_level();
        fake_texture_sets(90, 40);
        script.clear();
        script_pos = 0;
        overran = false;
    }
    void TearDown() override
    {
        input_hook = nullptr;
        release_all_keys();
        mouse_b = 0;
    }

    // Runs one frame with the hook installed; the frame's own latch step is
    // the script's first entry. Steps after the picker returned are left over.
    void play(void)
    {
        input_hook = run_script;
        frame();
        input_hook = nullptr;
        release_all_keys();
        mouse_b = 0;
        frame();
        frame();
    }
};

std::function<void()> keys(int k, bool down)
{
    return [k, down] { set_key(k, down); };
}

// The centre of a picker cell, in overlay pixels.
std::function<void()> point_at_cell(int column, int row)
{
    return [column, row] {
        mouse_to_overlay(column * picker_cell + picker_cell / 2, row * picker_cell + picker_cell / 2);
    };
}

std::function<void()> button(bool down)
{
    return [down] { mouse_b = down ? 1 : 0; };
}

std::function<void()> nothing(void)
{
    return [] {};
}

}  // namespace

TEST(PickerGrid, CellsMapToTexturesOfThePage)
{
    EXPECT_EQ(picker_texture_at(0, 0, 0, 90), 0);
    EXPECT_EQ(picker_texture_at(63.9, 63.9, 0, 90), 0);
    EXPECT_EQ(picker_texture_at(64, 0, 0, 90), 1);
    EXPECT_EQ(picker_texture_at(0, 64, 0, 90), 10);
    EXPECT_EQ(picker_texture_at(639, 479, 0, 90), 79);
    EXPECT_EQ(picker_texture_at(0, 0, 1, 90), 75);   // page 1 repeats the last five of page 0
    EXPECT_EQ(picker_texture_at(5 * 64, 0, 1, 90), 80);
    EXPECT_EQ(picker_texture_at(0, 64, 1, 90), 85);
    EXPECT_EQ(picker_texture_at(0, 2 * 64, 1, 90), -1);   // past the set's end
    EXPECT_EQ(picker_texture_at(640, 0, 0, 90), -1);       // would alias into the next row
    EXPECT_EQ(picker_texture_at(-1, 0, 0, 90), -1);
    EXPECT_EQ(picker_texture_at(0, 512, 0, 200), -1);
}

TEST_F(Picker, SpaceOpensItAndAClickOnPageOneChoosesTheTextureDrawnThere)
{
    script = {keys(KEY_SPACE, true), keys(KEY_SPACE, false), keys(KEY_RIGHT, true),
              keys(KEY_RIGHT, false), point_at_cell(2, 1), button(true), nothing()};
    play();
    EXPECT_FALSE(overran);
    EXPECT_EQ(edt.cur_tex, 75 + 12);
    EXPECT_DOUBLE_EQ(scr_px, 0);                     // no arrow reached the free camera
}

TEST_F(Picker, EscapeAndTheRightButtonLeaveTheTextureUnchanged)
{
    edt.cur_tex = 5;
    script = {keys(KEY_SPACE, true), keys(KEY_SPACE, false), point_at_cell(3, 0),
              keys(KEY_ESC, true), keys(KEY_ESC, false), nothing()};
    play();
    EXPECT_FALSE(overran);
    EXPECT_EQ(edt.cur_tex, 5);
    EXPECT_EQ(edit_mode, 1);                         // the loop's Escape test never saw it
    EXPECT_GT(f[F_TIME], 0);

    script = {keys(KEY_SPACE, true), keys(KEY_SPACE, false), point_at_cell(3, 0),
              [] { mouse_b = 2; }, nothing()};
    script_pos = 0;
    play();
    EXPECT_FALSE(overran);
    EXPECT_EQ(edt.cur_tex, 5);
}

TEST_F(Picker, AClickOnAnEmptyCellIsIgnored)
{
    edt.cur_tex = 5;
    NUM_TEX = 60;
    script = {keys(KEY_SPACE, true), keys(KEY_SPACE, false), point_at_cell(0, 7),   // 70: empty
              button(true), button(false), point_at_cell(4, 0), button(true), nothing()};
    play();
    EXPECT_FALSE(overran);
    EXPECT_EQ(edt.cur_tex, 4);
}

TEST_F(Picker, TheDoodadSetIsChosenWithD)
{
    script = {keys(KEY_SPACE, true), keys(KEY_SPACE, false), keys(KEY_D, true), keys(KEY_D, false),
              point_at_cell(5, 4), button(true), button(false),    // 45: past the 40 pictures
              point_at_cell(1, 3), button(true), nothing()};
    play();
    EXPECT_FALSE(overran);
    EXPECT_EQ(edt.cur_tex, 31);
}

TEST_F(Picker, SpaceDoesNothingOnceTimeHasRunOutOnAnUnfinishedLevel)
{
    f[F_TIME] = 0;
    edt.cur_tex = 5;
    script = {keys(KEY_SPACE, true), point_at_cell(2, 0), button(true), nothing()};
    input_hook = run_script;
    frame();
    input_hook = nullptr;
    EXPECT_EQ(edt.cur_tex, 5);
    EXPECT_LE(script_pos, 1u);                       // no picker loop ran
}

TEST(EditorLabels, AShapeLabelCounterRunsForExactlyFortyDrawnFrames)
{
    headless_world();
    fresh_level();
    key_down(KEY_T);                                 // the press frame draws it once
    set_key(KEY_T, false);
    EXPECT_EQ(edt.shape_label_cnt, label_frames_expected - 1);
    frames(label_frames_expected - 2);
    EXPECT_EQ(edt.shape_label_cnt, 1);
    frame();
    EXPECT_EQ(edt.shape_label_cnt, 0);
    frame();
    EXPECT_EQ(edt.shape_label_cnt, 0);
    key_down(KEY_K);
    set_key(KEY_K, false);
    EXPECT_EQ(edt.jnt_label_cnt, label_frames_expected - 1);
    EXPECT_EQ(edt.jnt_type, 2);
}

// The click that chooses a texture is the picker's: the vertex under the
// same spot is neither picked up nor taken by an armed construction.
TEST_F(Picker, TheChoosingClickIsNotAlsoAVertexClick)
{
    vertex_at(-1, 0.9);                              // under the centre of cell (2, 1)
    tap(KEY_J);
    ASSERT_EQ(edt.jnt_stage, 1);
    script = {keys(KEY_SPACE, true), keys(KEY_SPACE, false), point_at_cell(2, 1), button(true), nothing()};
    play();
    EXPECT_FALSE(overran);
    EXPECT_EQ(edt.cur_tex, 12);
    EXPECT_EQ(edt.jnt_stage, 1);
    EXPECT_EQ(edt.sel_tv, -1);
}
