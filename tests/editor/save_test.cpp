// The save key: S writes the level built in the editor through the safe save;
// the strict reader gives back the same tables, and the previous file is kept
// as the backup.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include "editor_driver.h"
#include "joints.h"
#include "polys.h"
#include "borders.h"
#include "doodads.h"

using namespace editor_test;

namespace {

const int scratch_level = 2;

std::string read_bytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs the test body in a scratch folder, since the game saves into the
// current directory.
class Save : public ::testing::Test {
protected:
    char old_cwd[4096] = {0};
    std::string dir;

    void SetUp() override
    {
        headless_world();
        fresh_level();
        fake_texture_sets(60, 40);
        ASSERT_NE(getcwd(old_cwd, sizeof(old_cwd)), nullptr);
        char tmpl[] = "/tmp/hh_editor_save_XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = tmpl;
        ASSERT_EQ(chdir(dir.c_str()), 0);
        current_level = scratch_level;
    }
    void TearDown() override
    {
        if (chdir(old_cwd) != 0) {}
        std::string cmd = "rm -rf '" + dir + "'";
        if (system(cmd.c_str()) != 0) {}
    }

    // Everything a level holds, built with the editor's own keys.
    void build_level(void)
    {
        edt.cur_tex = 3;
        vertex_at(0, 0);
        vertex_at(1, 0);
        vertex_at(0, 1);
        vertex_at(1, 1);
        tap(KEY_J);
        click_at(0, 0);
        click_at(1, 0);
        tap(KEY_P);
        click_at(0, 0);
        click_at(1, 0);
        click_at(0, 1);
        tap(KEY_B);
        click_at(0, 1);
        click_at(1, 1);
        mouse_to(0.5, 0.5);
        tap(KEY_W);
        tap(KEY_Z);
        shift_tap(KEY_D);
        tap(KEY_D);
        shift_tap(KEY_D);
        frame();
    }
};

struct level_snapshot {
    std::string tvs, jnts, plys, bdrs, dads, wpts, bonuses;
};

// Field by field, live records only, so that padding bytes and the
// near-or-away state of doodads do not count.
level_snapshot snapshot(void)
{
    level_snapshot s;
    char line[256];
    for (int i = 0; i < num_tvs; i++)
        if (tv[i].state) {
            snprintf(line, sizeof(line), "%d %a %a\n", i, tv[i].x, tv[i].y);
            s.tvs += line;
        }
    for (int i = 0; i < num_jnts; i++)
        if (jnt[i].state) {
            snprintf(line, sizeof(line), "%d %d %d %d %d %d\n", i, jnt[i].tvn[0], jnt[i].tvn[1],
                     jnt[i].njnt[0], jnt[i].njnt[1], jnt[i].type);
            s.jnts += line;
        }
    for (int i = 0; i < num_plys; i++)
        if (ply[i].state) {
            const ply_struct &p = ply[i];
            snprintf(line, sizeof(line), "%d %d %d %d %d %d %d %d\n", i, p.tvn[0], p.tvn[1], p.tvn[2],
                     p.tvn[3], p.type, p.x, p.layer);
            s.plys += line;
        }
    for (int i = 0; i < num_bdrs; i++)
        if (bdr[i].state) {
            const bdr_struct &b = bdr[i];
            snprintf(line, sizeof(line), "%d %d %d %d %d %d %d %d %d %d %a %a\n", i, b.tvn[0], b.tvn[1],
                     b.tva[0], b.tva[1], b.last_b, b.next_b, b.type, b.x, b.wpn, b.tex_offset, b.tex_len);
            s.bdrs += line;
        }
    for (int i = 0; i < num_dads; i++)
        if (dad[i].state) {
            const dad_struct &d = dad[i];
            snprintf(line, sizeof(line), "%d %a %a %a %d %d %d %d %d\n", i, d.px, d.py, d.ang, d.pic,
                     d.type, d.sx, d.sy, d.layer);
            s.dads += line;
        }
    for (int i = 0; i < num_wpts; i++)
        if (wpt[i].state) {
            snprintf(line, sizeof(line), "%d %a %a\n", i, wpt[i].px, wpt[i].py);
            s.wpts += line;
        }
    for (int i = 0; i < num_bonuses; i++)
        if (bonus[i].state) {
            snprintf(line, sizeof(line), "%d %a %a %d\n", i, bonus[i].px, bonus[i].py, bonus[i].type);
            s.bonuses += line;
        }
    return s;
}

}  // namespace

TEST_F(Save, SWritesTheLevelTheStrictReaderGivesItBackAndTheOldFileIsTheBackup)
{
    build_level();
    ASSERT_EQ(count_live_jnts(), 1);
    ASSERT_EQ(count_live_plys(), 1);
    ASSERT_EQ(count_live_bdrs(), 1);
    ASSERT_EQ(count_live_dads(), 1);
    tap(KEY_S);
    std::string file = "map2.trn";
    std::string first = read_bytes(file);
    ASSERT_FALSE(first.empty());

    vertex_at(-1, -1);                               // a change, saved over the first file
    level_snapshot saved = snapshot();
    tap(KEY_S);
    EXPECT_EQ(read_bytes(file + ".bak"), first);
    EXPECT_NE(read_bytes(file), first);

    load_plain_level();
    clear_wpts();
    clear_bonuses();
    ASSERT_EQ(load_terrain_file(file.c_str()), 1);
    level_snapshot loaded = snapshot();
    EXPECT_EQ(loaded.tvs, saved.tvs);
    EXPECT_EQ(loaded.jnts, saved.jnts);
    EXPECT_EQ(loaded.plys, saved.plys);
    EXPECT_EQ(loaded.bdrs, saved.bdrs);
    EXPECT_EQ(loaded.dads, saved.dads);
    EXPECT_EQ(loaded.wpts, saved.wpts);
    EXPECT_EQ(loaded.bonuses, saved.bonuses);
}

TEST_F(Save, SavingDuringDoodadPlacementStoresThePreview)
{
    mouse_to(0.5, 0.5);
    shift_tap(KEY_D);
    frame();
    ASSERT_GE(edt.preview_dad, 0);
    tap(KEY_S);
    load_plain_level();
    ASSERT_EQ(load_terrain_file("map2.trn"), 1);
    EXPECT_EQ(count_live_dads(), 1);
}
