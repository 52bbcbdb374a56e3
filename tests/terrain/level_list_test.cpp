// tests/terrain/level_list_test.cpp -- the level list: shipped stages first,
// then the user's own levels by name; unreadable files listed with their
// reason and never played; the editor's next-level key steps over them.
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>
#include <allegro.h>
#include "terrain_fixture.h"
#include "game.h"
#include "joints.h"
#include "level_id.h"
#include "level_list.h"
#include "platform.h"
#include "std_gfuncs.h"

namespace {

class LevelList : public TerrainTest {
protected:
    std::string root, game, user;
    void SetUp() override
    {
        TerrainTest::SetUp();
        char tmpl[] = "/tmp/hh_list_XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        root = tmpl;
        game = root + "/game";
        user = root + "/home";
        ASSERT_TRUE(make_dirs(game));
        setenv("HILLHOPPER_GAME_DATA", game.c_str(), 1);
        setenv("HILLHOPPER_DATA_HOME", user.c_str(), 1);
    }
    void TearDown() override
    {
        unsetenv("HILLHOPPER_GAME_DATA");
        unsetenv("HILLHOPPER_DATA_HOME");
        refresh_level_list();
        std::string cmd = "rm -rf '" + root + "'";
        if (system(cmd.c_str()) != 0) ADD_FAILURE();
    }
    // A floor under (x, 0) and a level end; named when name is given.
    void write_level(const std::string &path, double x, const char *name)
    {
        load_plain_level();
        new_jnt(vtx((float)x - 1, 0), vtx((float)x + 1, 0), 1);
        level_desc = default_level_description(-1);
        level_desc.present = name != nullptr;
        level_desc.start_x = x;
        level_desc.start_y = 0.3;
        level_desc.time = 40;
        if (name) set_level_name(&level_desc, NAME_EN, name);
        ASSERT_EQ(save_terrain_file(path.c_str()), 1);
        remove((path + ".bak").c_str());
    }
    void write_text(const std::string &path, const std::string &text)
    {
        std::ofstream(path, std::ios::binary) << text;
    }
    std::string mine(const char *name) { return path_join(user_data_subdir("levels"), name); }
};

}  // namespace

TEST_F(LevelList, ShippedThenUserLevelsWithUnreadableOnesNamedAndExplained)
{
    const int shipped = level_list_shipped_count();
    ASSERT_GE(shipped, 4);
    for (int n = 0; n + 1 < shipped; n++)           // the last shipped file is missing
        write_level(game + "/map" + std::to_string(n) + ".trn", n, n == 0 ? "First" : nullptr);
    write_level(mine("b_mine.trn"), 5, "Lamp Light");
    write_level(mine("a_plain.trn"), -5, nullptr);
    write_text(mine("c_broken.trn"), "not a level at all, but long enough to have a header......");
    write_text(mine("notes.txt"), "ignored");
    refresh_level_list();

    ASSERT_EQ(level_list_count(), shipped + 3);
    EXPECT_EQ(level_list_path(0), game + "/map0.trn");
    EXPECT_EQ(level_list_name(0, NAME_EN), "First");
    EXPECT_EQ(level_list_name(1, NAME_DE), "Stufe 2");
    EXPECT_FALSE(level_list_is_user(shipped - 1));
    std::string why;
    EXPECT_FALSE(level_list_readable(shipped - 1, &why));
    EXPECT_EQ(why, "missing");
    EXPECT_EQ(level_list_checksum(shipped - 1), 0u);

    // The user's levels follow, sorted by file name.
    int a = shipped, b = shipped + 1, c = shipped + 2;
    EXPECT_TRUE(level_list_is_user(a));
    EXPECT_EQ(level_list_path(a), mine("a_plain.trn"));
    EXPECT_EQ(level_list_name(a, NAME_EN), "a_plain") << "no name of its own: its file's";
    EXPECT_EQ(level_list_name(b, NAME_DE), "Lamp Light");
    bool ok = false;
    EXPECT_EQ(level_list_checksum(b), level_checksum_of_file(mine("b_mine.trn").c_str(), &ok));
    EXPECT_NE(level_list_checksum(b), 0u);
    EXPECT_FALSE(level_list_readable(c, &why));
    EXPECT_NE(why.find("count"), std::string::npos) << why;
    EXPECT_EQ(level_list_name(c, NAME_EN), "c_broken");
    EXPECT_EQ(level_list_find(mine("b_mine.trn")), b);
    EXPECT_EQ(level_list_find("elsewhere.trn"), -1);

    // Out of range asks are answered, not read from outside the list.
    EXPECT_EQ(level_list_path(-1), "");
    EXPECT_EQ(level_list_path(level_list_count()), "");
    EXPECT_FALSE(level_list_readable(1000, &why));
    EXPECT_FALSE(level_list_is_user(-7));

    // Play order: broken and missing ones are stepped over; shipped only stops.
    EXPECT_EQ(level_list_next(shipped - 2, false), a);
    EXPECT_EQ(level_list_next(shipped - 2, true), -1);
    EXPECT_EQ(level_list_next(b, false), -1);
    EXPECT_EQ(level_list_next(-1, true), 0);

    // A user level plays from its own file with its own start.
    load_level(b);
    EXPECT_EQ(f[F_START_X], 5);
    EXPECT_EQ(f[F_TIME], 40);
    EXPECT_EQ(jnt[0].state, 1);
    load_level(a);
    EXPECT_EQ(f[F_START_X], 0) << "a user file without a section gets the plain default";
    EXPECT_EQ(jnt[0].state, 1);

    // A file that appears later is found by the next refresh.
    write_level(mine("0_new.trn"), 1, "New");
    EXPECT_EQ(level_list_count(), shipped + 3);
    refresh_level_list();
    EXPECT_EQ(level_list_count(), shipped + 4);
    EXPECT_EQ(level_list_name(shipped, NAME_EN), "New");
}

TEST_F(LevelList, TheEditorsNextLevelKeyStepsOverUnreadableLevels)
{
    const int shipped = level_list_shipped_count();
    for (int n = 0; n + 1 < shipped; n++) write_level(game + "/map" + std::to_string(n) + ".trn", n, nullptr);
    write_text(mine("a_broken.trn"), std::string(40, '\xff'));
    write_level(mine("b_fine.trn"), 3, "Fine");
    refresh_level_list();
    headless_world();
    editor_enabled = 1;
    quit_flag = 0;
    auto press_f6 = [](void) {
        release_all_keys();
        return run_frames(3, [](int i) { set_key(KEY_F6, i == 0); });
    };
    current_level = shipped - 2;
    EXPECT_EQ(press_f6(), FRAME_LEVEL_START);
    EXPECT_EQ(current_level, shipped + 1) << "the missing stage and the broken file are skipped";
    level_start();
    EXPECT_EQ(f[F_START_X], 3);
    EXPECT_EQ(press_f6(), FRAME_LEVEL_START);
    EXPECT_EQ(current_level, 0) << "after the last, the first again";
    editor_enabled = 0;
    release_all_keys();
    clear_keyr();
}
