// The save key and what it writes: S writes the level as designed through the
// safe save; play never reaches the file; undo and redo give back the file
// byte for byte; a refused or unreadable file is never lost; unsaved edits
// go to a recovery file before the level is left.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>
#include <sys/stat.h>
#include "editor_driver.h"
#include "joints.h"
#include "polys.h"
#include "borders.h"
#include "doodads.h"
#include "bees.h"
#include "slots.h"
#include "world_check.h"

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

std::string save_now(void)
{
    tap(KEY_S);
    return read_bytes("map2.trn");
}

void ctrl_tap(int k, bool shift = false)
{
    set_key(KEY_LCONTROL, true);
    if (shift) set_key(KEY_LSHIFT, true);
    tap(k);
    set_key(KEY_LSHIFT, false);
    set_key(KEY_LCONTROL, false);
    frame();
}

// The level file as the editor's level start reads it.
void load_as_level_start(const char *path)
{
    load_plain_level();
    clear_wpts();
    clear_bonuses();
    load_terrain_file(path);
    editor_level_loaded();
}

// The player stands at (x, y) for a few play frames.
void play_at(double x, double y, int n = 3)
{
    edit_mode = 0;
    body[0].x = x;
    body[0].y = y;
    frames(n);
    body[0].x = body[0].y = 1000;
    frames(2);
    edit_mode = 1;
}

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

// The preview follows the mouse; only a placed doodad is part of the level.
TEST_F(Save, SavingDuringDoodadPlacementLeavesThePreviewOut)
{
    mouse_to(0.5, 0.5);
    shift_tap(KEY_D);
    frame();
    ASSERT_GE(edt.preview_dad, 0);
    tap(KEY_S);
    load_plain_level();
    ASSERT_EQ(load_terrain_file("map2.trn"), 1);
    EXPECT_EQ(count_live_dads(), 0);
    fresh_level();
    mouse_to(0.5, 0.5);
    shift_tap(KEY_D);
    tap(KEY_D);
    tap(KEY_S);
    load_plain_level();
    ASSERT_EQ(load_terrain_file("map2.trn"), 1);
    EXPECT_EQ(count_live_dads(), 1);
}

// A level with a leaf, a spike, a waypoint and a hive, saved and read back as
// a level start reads it, is played through: leaf and spike taken, waypoint
// passed, hive disturbed, doodads near and away. S still writes the file
// read, byte for byte; an edit after the play is saved on top of the design.
TEST_F(Save, PlayNeverReachesTheSavedFile)
{
    build_level();
    mouse_to(2, 0);
    tap(KEY_Z);                                      // a leaf
    shift_tap(KEY_Z);
    mouse_to(2.5, 0);
    tap(KEY_Z);                                      // a spike
    mouse_to(3, 0);
    tap(KEY_W);
    edt.cur_tex = DAD_HIVE;
    mouse_to(4, 0);
    shift_tap(KEY_D);
    tap(KEY_D);
    shift_tap(KEY_D);
    std::string built = save_now();

    load_as_level_start("map2.trn");
    std::string loaded = save_now();
    ASSERT_EQ(loaded, built);

    play_at(2, 0);
    play_at(2.5, 0);
    play_at(3, 0);
    play_at(4, 0);
    int taken_leaves = 0, hives_disturbed = 0, taken_wpts = 0;
    for (int i = 0; i < num_bonuses; i++) taken_leaves += bonus[i].state != 1 && bonus[i].px == 2.0;
    for (int i = 0; i < num_dads; i++) hives_disturbed += dad[i].state && dad[i].pic == DAD_HIVE_DISTURBED;
    for (int i = 0; i < num_wpts; i++) taken_wpts += wpt[i].state && wpt[i].cnt != 0;
    ASSERT_EQ(taken_leaves, 1);
    ASSERT_EQ(hives_disturbed, 1);
    ASSERT_EQ(taken_wpts, 1);
    scr_px = 20;                                     // every doodad away from the view
    frames(2);
    scr_px = 0;

    EXPECT_EQ(save_now(), loaded);

    vertex_at(-1, -1);
    std::string edited = save_now();
    EXPECT_EQ(edited.size(), loaded.size() + 16);    // one vertex entry more
    load_as_level_start("map2.trn");
    int hives = 0, leaves = 0;
    for (int i = 0; i < num_dads; i++) hives += dad[i].state && dad[i].pic == DAD_HIVE;
    for (int i = 0; i < num_bonuses; i++) leaves += bonus[i].state == 1;
    EXPECT_EQ(hives, 1);
    EXPECT_EQ(leaves, 3);                            // build_level's, the leaf, the spike
    EXPECT_EQ(save_now(), edited);
}

// Every kind of edit is one undo step; undoing them all gives back the saved
// file byte for byte and a sound world; redoing them all gives back the
// edited file. A new edit drops the redo steps.
TEST_F(Save, UndoAndRedoGiveBackTheFileByteForByte)
{
    build_level();
    tap(KEY_U);                                      // the grid up to date, to compare with
    std::string original = save_now();
    int filed_before = filed_jnts() + filed_plys() + filed_bdrs();
    int steps = design_undo_steps();

    struct edit { const char *name; std::function<void(void)> run; };
    std::vector<edit> edits = {
        {"vertex", [] { vertex_at(2, 2); }},
        {"joint", [] { tap(KEY_J); click_at(1, 1); click_at(2, 2); }},
        {"polygon", [] { tap(KEY_P); click_at(1, 0); click_at(1, 1); click_at(0, 1); }},
        {"border", [] { tap(KEY_B); click_at(1, 1); click_at(2, 2); }},
        {"waypoint", [] { mouse_to(-1, 1); tap(KEY_W); }},
        {"waypoint removed", [] { shift_tap(KEY_W); }},
        {"bonus", [] { mouse_to(-1, -1); tap(KEY_Z); }},
        {"doodad", [] { mouse_to(1.5, 1.5); shift_tap(KEY_D); tap(KEY_D); shift_tap(KEY_D); }},
        {"drag", [] {
             mouse_to(2, 2);
             frame();
             button_down();
             for (int k = 1; k <= 4; k++) { mouse_to(2 + 0.1 * k, 2); frame(); }
             button_up();
         }},
        {"delete with cascade", [] { pick_with(KEY_2_PAD, 0.2, 0.2); tap(KEY_DEL); }},
        {"vertex with everything on it", [] {
             mouse_to(1, 1);
             frame();
             button_down();
             button_up();
             tap(KEY_DEL);
         }},
    };
    for (const edit &e : edits) {
        e.run();
        frame();
        EXPECT_EQ(design_undo_steps(), ++steps) << e.name << " is not one step";
        EXPECT_EQ(terrain_problem(), "") << "after " << e.name;
    }
    std::string edited = save_now();
    ASSERT_NE(edited, original);

    for (size_t k = 0; k < edits.size(); k++) {
        ctrl_tap(KEY_Z);
        EXPECT_EQ(terrain_problem(), "") << "undoing " << edits[edits.size() - 1 - k].name;
    }
    EXPECT_EQ(save_now(), original);
    EXPECT_EQ(filed_jnts() + filed_plys() + filed_bdrs(), filed_before);
    EXPECT_EQ(count_live_dads(), 1);

    for (size_t k = 0; k < edits.size(); k++) (k % 2 ? ctrl_tap(KEY_Y) : ctrl_tap(KEY_Z, true));
    EXPECT_EQ(save_now(), edited);
    EXPECT_EQ(terrain_problem(), "");

    ctrl_tap(KEY_Z);
    ASSERT_EQ(design_redo_steps(), 1);
    vertex_at(-2, -2);
    EXPECT_EQ(design_redo_steps(), 0);
    std::string with_new = save_now();
    ctrl_tap(KEY_Y);
    EXPECT_EQ(save_now(), with_new);                 // nothing redone over the new vertex
}

// With Ctrl held, Z and Shift+Z only undo and redo.
TEST_F(Save, CtrlZNeverAddsABonusOrStepsTheType)
{
    vertex_at(0, 0);
    mouse_to(0.5, 0.5);
    int type = edt.bonus_type;
    ctrl_tap(KEY_Z);
    ctrl_tap(KEY_Z, true);
    int bonuses = 0;
    for (int i = 0; i < num_bonuses; i++) bonuses += bonus[i].state != 0;
    EXPECT_EQ(bonuses, 0);
    EXPECT_EQ(edt.bonus_type, type);
    EXPECT_EQ(count_live_tvs(), 1);                  // undone and redone
}

// A new bonus never takes the slot of a designed leaf that play took.
TEST_F(Save, ABonusAfterPlayDoesNotReplaceATakenLeaf)
{
    mouse_to(2, 0);
    tap(KEY_Z);
    std::string one = save_now();
    play_at(2, 0, 40);                               // taken, faded and freed
    ASSERT_EQ(bonus[0].state, 0);
    mouse_to(-2, 0);
    tap(KEY_Z);
    save_now();
    load_as_level_start("map2.trn");
    int bonuses = 0;
    for (int i = 0; i < num_bonuses; i++) bonuses += bonus[i].state != 0;
    EXPECT_EQ(bonuses, 2);
}

// A level the reader refused starts empty: one S only asks, a second S
// writes. A level file that exists but cannot be read is never replaced.
TEST_F(Save, ARefusedOrUnreadableLevelIsNotOverwrittenByOneS)
{
    const std::string junk = "not a level file at all";
    { std::ofstream out("map2.trn", std::ios::binary); out << junk; }
    load_as_level_start("map2.trn");
    vertex_at(0, 0);
    EXPECT_EQ(save_now(), junk);
    EXPECT_NE(std::string(editor_status()).find("press S again"), std::string::npos) << editor_status();
    std::string saved = save_now();
    EXPECT_NE(saved, junk);
    EXPECT_EQ(std::string(editor_status()), "Saved map2.trn");
    EXPECT_EQ(read_bytes("map2.trn.bak"), junk);

    ASSERT_EQ(remove("map2.trn"), 0);
    ASSERT_EQ(mkdir("map2.trn", 0755), 0);           // opens, but reads fail
    vertex_at(1, 0);
    tap(KEY_S);
    EXPECT_EQ(std::string(editor_status()).rfind("Save failed: ", 0), 0u) << editor_status();
    EXPECT_EQ(read_bytes("map2.trn.bak"), junk);
    EXPECT_TRUE(design_unsaved());
}

// F6 with unsaved edits leaves a recovery file beside the level; back on that
// level, F7 restores it as one undo step. A save removes the recovery file.
TEST_F(Save, LeavingWithUnsavedEditsKeepsThemInARecoveryFile)
{
    vertex_at(0, 0);
    std::string saved = save_now();
    vertex_at(1, 0);
    std::string edited_design = read_bytes("map2.trn");
    editor_enabled = 1;
    set_key(KEY_F6, true);
    frame();
    set_key(KEY_F6, false);
    int r = run_frame();
    editor_enabled = 0;
    ASSERT_EQ(r, FRAME_LEVEL_START);
    EXPECT_NE(std::string(editor_status()).find("map2.trn.autosave"), std::string::npos) << editor_status();
    std::string recovery = read_bytes("map2.trn.autosave");
    ASSERT_FALSE(recovery.empty());
    EXPECT_EQ(read_bytes("map2.trn"), saved);

    current_level = 2;
    editor_enabled = 1;
    level_start();
    editor_enabled = 0;
    edit_mode = 1;
    camera_track = 0;
    EXPECT_EQ(count_live_tvs(), 1);
    EXPECT_NE(std::string(editor_status()).find("F7"), std::string::npos) << editor_status();
    editor_enabled = 1;                              // F7 belongs to the editor build
    tap(KEY_F7);
    editor_enabled = 0;
    EXPECT_EQ(count_live_tvs(), 2);
    EXPECT_EQ(design_undo_steps(), 1);
    EXPECT_EQ(level_image_of(design_tables()), std::vector<unsigned char>(recovery.begin(), recovery.end()));
    ctrl_tap(KEY_Z);
    EXPECT_EQ(count_live_tvs(), 1);
    ctrl_tap(KEY_Y);
    save_now();
    EXPECT_NE(access("map2.trn.autosave", F_OK), 0);
}

// In the edit modes the clock stands, a level end completes nothing and a
// clock at zero brings no time-out.
TEST_F(Save, EditingNeverTimesOutOrCompletes)
{
    camera_track = 1;
    body[0].x = body[0].y = 1000;
    double t = f[F_TIME];
    frames(100);
    EXPECT_EQ(f[F_TIME], t);
    mouse_to(0, 0);
    shift_tap(KEY_Z);
    shift_tap(KEY_Z);                                // "Level End"
    tap(KEY_Z);
    body[0].x = body[0].y = 0;
    frames(5);
    EXPECT_EQ(j[J_LEVEL_DONE], 0);
    f[F_TIME] = 0;
    edit_mode = 2;
    EXPECT_EQ(run_frames(30), FRAME_NEXT);
    EXPECT_EQ(j[J_TIMEOUT_STEP], 0);
    edit_mode = 0;
    frame();
    EXPECT_NE(j[J_LEVEL_DONE], 0);                   // in play the same touch completes
}

// The level's description is designed too: a change the editor makes to it
// is a step of its own and undo gives the old one back.
TEST_F(Save, ADescriptionChangeIsOneUndoStep)
{
    level_desc = default_level_description(2);
    level_desc.present = true;
    design_capture();
    std::string before = save_now();
    design_watch_begin();
    level_desc.time = 42;
    set_level_name(&level_desc, NAME_EN, "Changed");
    design_watch_end(0);
    design_end_frame();
    EXPECT_EQ(design_undo_steps(), 1);
    EXPECT_NE(save_now(), before);
    ctrl_tap(KEY_Z);
    EXPECT_EQ(level_desc.time, default_level_description(2).time);
    EXPECT_EQ(save_now(), before);
    ctrl_tap(KEY_Y);
    EXPECT_EQ(level_desc.time, 42);
    level_desc = default_level_description(-1);
}
