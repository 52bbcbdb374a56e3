// tests/editor/level_keys_test.cpp -- the editor's level keys through the real
// frame loop: Ctrl+N makes a new level in the user's folder, Ctrl+L puts the
// start at the mouse, Ctrl+PgUp/PgDn change the time allowed, Ctrl+E types the
// name with every other key kept out; and the warning before a save.
#include <cstdlib>
#include <string>
#include <unistd.h>
#include "editor_driver.h"
#include "editor_level.h"
#include "joints.h"
#include "level_list.h"
#include "platform.h"

using namespace editor_test;

namespace {

class LevelKeys : public ::testing::Test {
protected:
    std::string home;
    void SetUp() override
    {
        headless_world();
        fresh_level();
        fake_texture_sets(60, 40);
        char tmpl[] = "/tmp/hh_level_keys_XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        home = tmpl;
        setenv("HILLHOPPER_DATA_HOME", home.c_str(), 1);
        level_desc = default_level_description(-1);
        level_desc.present = true;
    }
    void TearDown() override
    {
        unsetenv("HILLHOPPER_DATA_HOME");
        refresh_level_list();
        release_all_keys();
        clear_keyr();
        std::string cmd = "rm -rf '" + home + "'";
        if (system(cmd.c_str()) != 0) {}
    }
    void ctrl_tap(int k)
    {
        key_down(KEY_LCONTROL);
        tap(k);
        key_up(KEY_LCONTROL);
    }
    void type(const char *ascii)
    {
        for (const char *c = ascii; *c; c++) level_name_entry_key((unsigned char)*c, 0);
    }
};

}  // namespace

TEST_F(LevelKeys, StartPointAtTheMouseAndTimeInStepsWithinItsRange)
{
    mouse_to(1.5, 0.75);
    frame();
    ctrl_tap(KEY_L);
    EXPECT_NEAR(level_desc.start_x, 1.5, 1e-9);
    EXPECT_NEAR(level_desc.start_y, 0.75, 1e-9);
    EXPECT_EQ(count_live_tvs(), 0);

    level_desc.time = 50;
    ctrl_tap(KEY_PGUP);
    ctrl_tap(KEY_PGUP);
    EXPECT_EQ(level_desc.time, 60);
    for (int i = 0; i < 20; i++) ctrl_tap(KEY_PGDN);
    EXPECT_EQ(level_desc.time, level_time_min);
    tap(KEY_PGUP);
    EXPECT_EQ(level_desc.time, level_time_min) << "without Ctrl the key is not the level's";
    level_desc.time = level_time_max - 1;
    ctrl_tap(KEY_PGUP);
    EXPECT_EQ(level_desc.time, level_time_max);

    // Far outside the level, the start stays on its edge.
    mouse_to(0, 0);
    scr_px = 200;
    frame();
    ctrl_tap(KEY_L);
    EXPECT_EQ(level_desc.start_x, 80);
    const char *why = nullptr;
    EXPECT_TRUE(level_description_ok(level_desc, &why)) << why;
}

TEST_F(LevelKeys, TypedNameKeepsOtherKeysOutAndEnterKeepsEscCancels)
{
    set_level_name(&level_desc, NAME_EN, "Old");
    ctrl_tap(KEY_E);
    ASSERT_TRUE(level_name_entry_busy());
    EXPECT_STREQ(level_name_entry_text(), "Old");
    level_name_entry_key(0, KEY_BACKSPACE);
    level_name_entry_key(0, KEY_BACKSPACE);
    level_name_entry_key(0, KEY_BACKSPACE);
    level_name_entry_key(0, KEY_BACKSPACE);     // one too many: nothing left to drop
    type("  N");
    level_name_entry_key(0xe4, 0);              // ä
    type("chte ");

    // The keys pressed while typing reach neither the editor nor play.
    tap(KEY_N);
    tap(KEY_W);
    tap(KEY_ESC);
    EXPECT_EQ(count_live_tvs(), 0);
    EXPECT_EQ(j[J_LOST], 0);
    EXPECT_EQ(edit_mode, 1);

    key_down(KEY_ENTER);
    level_name_entry_key(13, KEY_ENTER);
    EXPECT_STREQ(level_desc.name[NAME_EN], "N\xc3\xa4\x63hte") << "trimmed, the umlaut kept";
    frame();
    EXPECT_TRUE(level_name_entry_busy()) << "until Enter is let go";
    key_up(KEY_ENTER);
    frame();
    EXPECT_FALSE(level_name_entry_busy());
    tap(KEY_N);
    EXPECT_EQ(count_live_tvs(), 1) << "the editor has its keys back";

    // Esc cancels; a long name stops at the field's size on a whole letter.
    level_name_entry_begin(NAME_DE);
    type("Verworfen");
    level_name_entry_key(27, KEY_ESC);
    EXPECT_STREQ(level_desc.name[NAME_DE], "");
    release_all_keys();
    frame();
    level_name_entry_begin(NAME_DE);
    for (int i = 0; i < 40; i++) level_name_entry_key(0xfc, 0);     // ü, two bytes each
    level_name_entry_key(13, KEY_ENTER);
    EXPECT_EQ(strlen(level_desc.name[NAME_DE]), 62u);
    const char *why = nullptr;
    EXPECT_TRUE(level_description_ok(level_desc, &why)) << why;
    frame();
}

TEST_F(LevelKeys, WarningNamesWhatALevelLacksBeforeASave)
{
    level_desc.start_x = 0.5;
    level_desc.start_y = 1;
    EXPECT_EQ(level_save_warning(), "Saved, but: no level end; no walkable ground under the start point.");
    new_bonus(3, 0.2, BONUS_LEVEL_END);
    int a = new_tv(0, 2), b = new_tv(1, 2);
    new_jnt(a, b, 1);                                   // above the start: no help
    int c = new_tv(0, 0), d = new_tv(1, 0);
    new_jnt(c, d, 2);                                   // below, but a wall
    int wall = -1;
    for (int i = 0; i < num_jnts; i++)
        if (jnt[i].state && jnt[i].type == 2) wall = i;
    ASSERT_GE(wall, 0);
    EXPECT_EQ(level_save_warning(), "Saved, but: no walkable ground under the start point.");
    jnt[wall].type = 1;
    EXPECT_EQ(level_save_warning(), "");
    level_desc.start_x = 1.5;                           // beside the floor
    EXPECT_NE(level_save_warning(), "");
    level_desc.present = false;
    EXPECT_EQ(level_save_warning(), "Saved, but: no start point inside the level.");
}

TEST_F(LevelKeys, CtrlNMakesANewLevelInTheUsersFolderThatSavesAndLoadsAgain)
{
    int before = level_list_count();
    mouse_to(0.5, 0.5);
    frame();
    ctrl_tap(KEY_N);
    std::string first = path_join(path_join(home, "levels"), "level1.trn");
    ASSERT_TRUE(file_exists(first));
    EXPECT_EQ(count_live_tvs(), 0) << "Ctrl+N is not N";
    EXPECT_EQ(level_list_count(), before + 1);
    EXPECT_EQ(current_level, level_list_find(first));
    EXPECT_TRUE(level_list_is_user(current_level));
    EXPECT_EQ(edit_mode, 1);
    EXPECT_EQ(level_desc.time, 60);

    // Built, named and saved with S: the level keeps its start, time and name.
    // Through the editor's own keys: only its edits are the design.
    vertex_at(-1, 0);
    vertex_at(2, 0);
    tap(KEY_J);
    click_at(-1, 0);
    click_at(2, 0);
    edt.bonus_type = BONUS_LEVEL_END;
    mouse_to(1.5, 0.2);
    tap(KEY_Z);
    mouse_to(0, 0.5);
    frame();
    ctrl_tap(KEY_L);
    ctrl_tap(KEY_PGDN);
    level_name_entry_begin(NAME_EN);
    type("Mine");
    level_name_entry_key(13, KEY_ENTER);
    frame();
    testing::internal::CaptureStderr();
    tap(KEY_S);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "nothing missing, no warning";

    int mine = current_level;
    load_level(0);
    load_level(mine);
    EXPECT_STREQ(level_desc.name[NAME_EN], "Mine");
    EXPECT_EQ(f[F_TIME], 55);
    EXPECT_NEAR(f[F_START_X], 0, 1e-9);
    EXPECT_EQ(jnt[0].state, 1);
    EXPECT_EQ(level_list_name(mine, NAME_DE), "Mine");

    // The next new level takes the next free name; a save of an empty one warns.
    ctrl_tap(KEY_N);
    EXPECT_TRUE(file_exists(path_join(path_join(home, "levels"), "level2.trn")));
    testing::internal::CaptureStderr();
    tap(KEY_S);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("no level end"), std::string::npos) << err;
}
