// tests/levels/levels_test.cpp -- the built levels and the level tools: the
// files pass the game's strict reader and hold well-formed terrain, sources
// survive source -> file -> dump -> file byte for byte, faulty sources are
// refused with their line, and every level can be finished by its run.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>
#include <unistd.h>
#include <gtest/gtest.h>
#include "level_kit.h"
#include "level_list.h"
#include "terrain_file.h"
#include "hillhopper.h"
#include "textures.h"
#include "slots.h"
#include "region.h"
#include "geometry.h"
#include "level_id.h"
#include "terrain_file.h"

namespace {

const std::string game_dir = GAME_DATA_DIR;
const std::string source_dir = std::string(TEST_SOURCE_DIR) + "/levels";
const int num_levels = level_list_shipped_count();   // levels/level<n>.txt

void init_tools(void)
{
    std::string err;
    ASSERT_TRUE(level_tools_init(game_dir, &err)) << err;
}

std::string read_text(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string scratch_dir(void)
{
    static std::string dir;
    if (dir.empty()) {
        char tmpl[] = "/tmp/hh_levels_XXXXXX";
        dir = mkdtemp(tmpl) ? tmpl : ".";
    }
    return dir;
}

// Builds text, writes it as level 9 of the scratch folder, returns the bytes.
std::string built_bytes(const std::string &text, int *ok)
{
    std::string err;
    *ok = build_level_text(text, "test", &err) && save_level_to(scratch_dir(), 9);
    EXPECT_TRUE(*ok) << err;
    return read_text(scratch_dir() + "/map9.trn");
}

bool vertex_in_use(int v) { return v >= 0 && v < num_tvs && tv[v].state != 0; }

class Levels : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override { init_tools(); }
};

} // namespace

// ---- the built files -------------------------------------------------------

TEST_P(Levels, FilePassesTheStrictReaderAndHoldsSoundRecords)
{
    int lev = GetParam();
    ASSERT_TRUE(load_level_from(game_dir, lev)) << "map" << lev << ".trn refused or missing";

    // Every stage describes itself; the first four exactly as their old table
    // did, so that their runs start bit for bit where they always started.
    ASSERT_TRUE(level_desc.present);
    EXPECT_NE(level_desc.name[NAME_EN][0], 0);
    EXPECT_NE(level_desc.name[NAME_DE][0], 0);
    if (lev < num_stored_levels) {
        level_values old = level_start_values(lev);
        EXPECT_EQ(memcmp(&level_desc.start_x, &old.x, 8), 0);
        EXPECT_EQ(memcmp(&level_desc.start_y, &old.y, 8), 0);
        EXPECT_EQ(memcmp(&level_desc.start_ang, &old.ang, 8), 0);
        EXPECT_EQ(level_desc.time, old.time);
    }

    for (int k = 0; k < num_tvs; k++) {
        if (!tv[k].state) continue;
        EXPECT_TRUE(tv[k].x >= -80 && tv[k].x < 80 && tv[k].y >= -40 && tv[k].y < 40)
            << "vertex " << k << " outside the region grid";
    }
    int layers[3] = {0, 0, 0}, band_types[3] = {0, 0, 0};
    for (int k = 0; k < num_plys; k++) {
        const ply_struct &p = ply[k];
        if (!p.state) continue;
        EXPECT_TRUE(p.x >= 0 && p.x < NUM_TEX) << "polygon " << k << " texture " << p.x;
        for (int c = 0; c < (p.type == 1 ? 4 : 3); c++) EXPECT_TRUE(vertex_in_use(p.tvn[c]));
        if (p.layer >= 0 && p.layer < 3) layers[(int)p.layer]++;
    }
    for (int k = 0; k < num_bdrs; k++) {
        const bdr_struct &b = bdr[k];
        if (!b.state) continue;
        EXPECT_TRUE(b.x >= 0 && b.x < NUM_TEX) << "border " << k << " texture " << b.x;
        for (int v : {b.tvn[0], b.tvn[1], b.tva[0], b.tva[1]}) EXPECT_TRUE(vertex_in_use(v));
        if (b.type >= 0 && b.type < 3) band_types[b.type]++;
        if (b.type == 2) { EXPECT_EQ(b.wpn, 0) << "arrows must show during play"; }
    }
    for (int k = 0; k < num_dads; k++) {
        const dad_struct &d = dad[k];
        if (!d.state) continue;
        ASSERT_TRUE(d.pic >= 0 && d.pic < NUM_DTEX) << "doodad " << k << " picture " << d.pic;
        double w, h;
        get_tex_size(doodad_tex[d.pic], &w, &h);
        EXPECT_EQ(d.sx, (short)w);
        EXPECT_EQ(d.sy, (short)h);
        EXPECT_EQ(d.layer, 0) << "only layer 0 doodads are drawn";
    }
    EXPECT_GT(layers[0], 0);
    EXPECT_GT(layers[1], 0);
    EXPECT_GT(layers[2], 0);
    EXPECT_GT(band_types[0], 0) << "plain bands";
    EXPECT_GT(band_types[1], 0) << "blended bands";
    EXPECT_GT(band_types[2], 0) << "guide arrows";
}

TEST_P(Levels, JointChainsAreWellFormed)
{
    int lev = GetParam();
    ASSERT_TRUE(load_level_from(game_dir, lev));
    int walking = 0;
    for (int k = 0; k < num_jnts; k++) {
        const jnt_struct &a = jnt[k];
        if (!a.state) continue;
        ASSERT_TRUE(vertex_in_use(a.tvn[0]) && vertex_in_use(a.tvn[1]));
        if (a.type == 1) walking++;
        // A neighbour at the end continues from this joint's end vertex, a
        // neighbour at the start ends at its start vertex.
        int next = a.njnt[1], prev = a.njnt[0];
        if (next != -1) { EXPECT_EQ(jnt[next].tvn[0], a.tvn[1]) << "joint " << k << " -> " << next; }
        if (prev != -1) { EXPECT_EQ(jnt[prev].tvn[1], a.tvn[0]) << "joint " << prev << " -> " << k; }
        // Floors and slopes run left to right, so they are walked on from above.
        if (a.type == 1) {
            double dx = tv[a.tvn[1]].x - tv[a.tvn[0]].x;
            EXPECT_GT(dx, 0) << "walking joint " << k << " runs right to left";
        }
    }
    EXPECT_GT(walking, 100);
}

TEST_P(Levels, ObjectsAreWhereTheLevelNeedsThem)
{
    int lev = GetParam();
    ASSERT_TRUE(load_level_from(game_dir, lev));
    const double start_x = level_desc.start_x, start_y = level_desc.start_y;
    int ends = 0, waypoints = 0, hives = 0, plants = 0, signs = 0, decorations = 0;
    for (int k = 0; k < num_bonuses; k++)
        if (bonus[k].state && bonus[k].type == 2) ends++;
    for (int k = 0; k < num_wpts; k++)
        if (wpt[k].state) waypoints++;
    for (int k = 0; k < num_dads; k++) {
        if (!dad[k].state) continue;
        decorations++;
        hives += dad[k].pic == DAD_HIVE;
        plants += dad[k].pic == DAD_PLANT_A || dad[k].pic == DAD_PLANT_B;
        if (dad[k].pic == DAD_SIGN && std::fabs(dad[k].px - start_x) < 6) signs++;
    }
    EXPECT_EQ(ends, 1);
    EXPECT_GE(waypoints, 2);
    EXPECT_EQ(signs, 1) << "the level sign stands near the start";
    EXPECT_GE(decorations, 30);
    static const int want_hives[] = {0, 0, 1, 2};
    if (lev < 4) { EXPECT_EQ(hives, want_hives[lev]); }
    else { EXPECT_GE(hives, 1) << "every new stage has bees"; }
    if (lev >= 2) { EXPECT_GE(plants, 1); }

    // Ground to land on right below the start point, within a few units.
    bool ground = false;
    for (int k = 0; k < num_jnts; k++) {
        const jnt_struct &a = jnt[k];
        if (!a.state || a.type != 1) continue;
        double x0 = tv[a.tvn[0]].x, x1 = tv[a.tvn[1]].x, y0 = tv[a.tvn[0]].y;
        if (x0 <= start_x && start_x <= x1 && y0 < start_y && y0 > start_y - 4)
            ground = true;
    }
    EXPECT_TRUE(ground);
}

// ---- source -> file -> dump -> file -------------------------------------------

TEST_P(Levels, SourceFileDumpFileIsByteForByte)
{
    int lev = GetParam();
    std::string source = read_text(source_dir + "/level" + std::to_string(lev) + ".txt");
    ASSERT_FALSE(source.empty());
    int ok;
    std::string first = built_bytes(source, &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(first, read_text(game_dir + "/map" + std::to_string(lev) + ".trn"))
        << "the build's level file is not what the source makes";

    ASSERT_TRUE(load_level_from(scratch_dir(), 9));
    int patches = -1;
    std::string dump = dump_level_text(&patches);
    EXPECT_EQ(patches, 0) << "a built level replays without set lines";
    std::string second = built_bytes(dump, &ok);
    ASSERT_TRUE(ok);
    EXPECT_TRUE(first == second) << "dump of level " << lev << " builds a different file";
}

// Every stage with a source, also one beyond a gap in the numbers: stages
// land in any order, and each is checked from the moment it lands.
std::vector<int> levels_with_a_source(void)
{
    std::vector<int> found;
    for (int n = 0; n < 100; n++)
        if (std::ifstream(source_dir + "/level" + std::to_string(n) + ".txt")) found.push_back(n);
    return found;
}

INSTANTIATE_TEST_SUITE_P(AllLevels, Levels, ::testing::ValuesIn(levels_with_a_source()));

// An editor leaves holes, moves outer vertices, saves doodads classified and
// waypoints taken: the dump says so in set lines and still rebuilds the file.
TEST(LevelDump, EditorChangesComeBackExactly)
{
    init_tools();
    std::string source = read_text(source_dir + "/level2.txt");
    std::string err;
    ASSERT_TRUE(build_level_text(source, "level2", &err)) << err;
    int holes = 0;
    for (int k = 5; k < num_jnts && holes < 2; k++)
        if (jnt[k].state) { jnt[k].state = 0; holes++; k += 40; }
    for (int k = 0; k < num_bdrs; k++)
        if (bdr[k].state) { tv[bdr[k].tva[0]].x += 0.05f; break; }
    for (int k = 0; k < num_dads; k += 3)
        if (dad[k].state) dad[k].state = 2;
    for (int k = 0; k < num_wpts; k++)
        if (wpt[k].state) { wpt[k].cnt = 30; break; }
    ASSERT_TRUE(save_level_to(scratch_dir(), 9));
    std::string edited = read_text(scratch_dir() + "/map9.trn");

    ASSERT_TRUE(load_level_from(scratch_dir(), 9));
    int patches = 0;
    std::string dump = dump_level_text(&patches);
    EXPECT_GT(patches, 0);
    EXPECT_NE(dump.find("\nset "), std::string::npos);
    int ok;
    EXPECT_TRUE(built_bytes(dump, &ok) == edited);
}

// ---- the source reader and builder ----------------------------------------------

TEST(LevelSource, FaultsAreRefusedWithTheirLine)
{
    init_tools();
    struct bad { const char *text; int line; const char *says; };
    static const bad cases[] = {
        {"ground walk band nosuch blend\n  0 0\n  1 0\nend\n", 1, "unknown band texture"},
        {"ground walk\n  0 0\n  1 0\n", 3, "opened on line 1 has no 'end'"},
        {"# a comment\nground walk\n  0 0\n  90 0\nend\n", 2, "outside"},
        {"ground walk\n  0 0\nend\n", 3, "too few points"},
        {"shape grass 1\n  0 0\n  1 x\n  0 1\nend\n", 3, "expected 'x y'"},
        {"shape grass 7\n  0 0\n  1 0\n  0 1\nend\n", 1, "layer"},
        {"doodad nothing 1 2\n", 1, "unknown picture"},
        {"bonus cake 1 2\n", 1, "bonus needs"},
        {"joint 0 1 walk\n", 1, "not in use"},
        {"shape rock 1\n  0 0\n  2 2\n  2 0\n  0 2\nend\n", 1, "not a simple polygon"},
        {"teleport 1 2\n", 1, "unknown command"},
        {"\nset joint 10000 1 0 1 -1 -1 1\n", 2, "bad 'set joint' line"},
        {"set vertex x 1 2 1\n", 1, "bad 'set vertex' line"},
        {"set bonus 1000 1 0 0 2\n", 1, "bad 'set bonus' line"},
        {"time 50\nstart 1\n", 2, "start needs"},
        {"start 80.5 0\n", 1, "outside the level"},
        {"start 0 0 99\n", 1, "angle"},
        {"time 0\n", 1, "time allowed must"},
        {"time nan\n", 1, "bad number"},
        {"sky mars\n", 1, "unknown sky"},
        {"music polka\n", 1, "music needs"},
        {"name fr Bonjour\n", 1, "en or de"},
        {"name english Hello\n", 1, "en or de"},
        {"name en \x01" "bell\n", 1, "control characters"},
        {"name de 0123456789012345678901234567890123456789012345678901234567890123\n", 1, "longer"},
    };
    for (const bad &c : cases) {
        std::string err;
        EXPECT_FALSE(build_level_text(c.text, "src", &err)) << c.text;
        EXPECT_NE(err.find("src:" + std::to_string(c.line) + ":"), std::string::npos) << err;
        EXPECT_NE(err.find(c.says), std::string::npos) << err;
    }
}

// The level's own lines: into the section, back out of the dump unchanged;
// a source without them makes a file without a section, as before.
TEST(LevelSource, TheLevelsOwnLinesReachTheSectionAndComeBackExactly)
{
    init_tools();
    const std::string body = "ground walk\n  -2 0\n  2 0\nend\nbonus end 1 0.24\n";
    int ok;
    std::string bare = built_bytes(body, &ok);
    ASSERT_TRUE(ok);
    EXPECT_FALSE(level_desc.present);
    ASSERT_TRUE(load_level_from(scratch_dir(), 9));
    EXPECT_FALSE(level_desc.present);
    EXPECT_EQ(dump_level_text(nullptr).find("\nstart "), std::string::npos);

    std::string src = "start -1.5 0.3\ntime 62.5\nname en  Night #7 ride  \n"
                      "name de N\xc3\xa4\x63htliche Fahrt\nmusic evening_waltz\n" + body;
    std::string with = built_bytes(src, &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(with.size(), bare.size() + 184);
    EXPECT_EQ(with.compare(0, bare.size(), bare), 0);
    ASSERT_TRUE(load_level_from(scratch_dir(), 9));
    EXPECT_EQ(level_desc.start_x, -1.5);
    EXPECT_EQ(level_desc.start_y, 0.3);
    EXPECT_EQ(level_desc.start_ang, level_start_values(0).ang) << "no angle: tilted as on stage 1";
    EXPECT_EQ(level_desc.time, 62.5);
    EXPECT_STREQ(level_desc.name[NAME_EN], "Night #7 ride") << "a name keeps its '#'";
    EXPECT_EQ(level_desc.music, MUS_EVENING_WALTZ);
    EXPECT_EQ(level_desc.sky, SKY_DAY);
    std::string dump = dump_level_text(nullptr);
    EXPECT_NE(dump.find("\nname en Night #7 ride\n"), std::string::npos) << dump.substr(0, 400);
    EXPECT_TRUE(built_bytes(dump, &ok) == with);

    // Each sky by its name, into the section and back out of the dump.
    const char *const skies[NUM_SKIES] = {"day", "dusk", "night", "hall", "desert"};
    for (int sky = 0; sky < NUM_SKIES; sky++) {
        std::string sky_src = std::string("sky ") + skies[sky] + "\n" + body;
        built_bytes(sky_src, &ok);
        ASSERT_TRUE(ok) << skies[sky];
        ASSERT_TRUE(load_level_from(scratch_dir(), 9));
        EXPECT_EQ(level_desc.sky, sky) << skies[sky];
        EXPECT_NE(dump_level_text(nullptr).find(std::string("\nsky ") + skies[sky] + "\n"), std::string::npos);
    }
}

TEST(LevelSource, GroundIsCutIntoShortJointsAndRoundedAtCorners)
{
    init_tools();
    std::string err;
    ASSERT_TRUE(build_level_text("ground walk band grass_edge plain\n  0 0\n  6 0 2\n  6 6\nend\n",
                                 "src", &err)) << err;
    std::vector<int> chain;
    double longest = 0, sharpest = 0, prev_dir = 0;
    int count = 0;
    for (int k = 0; k < num_jnts; k++) {
        if (!jnt[k].state) continue;
        double dx = tv[jnt[k].tvn[1]].x - tv[jnt[k].tvn[0]].x;
        double dy = tv[jnt[k].tvn[1]].y - tv[jnt[k].tvn[0]].y;
        longest = std::max(longest, std::hypot(dx, dy));
        double dir = std::atan2(dy, dx);
        if (count++) sharpest = std::max(sharpest, std::fabs(dir - prev_dir));
        prev_dir = dir;
        if (k > 0 && jnt[k - 1].state) { EXPECT_EQ(jnt[k].njnt[0], k - 1); }
    }
    EXPECT_LE(longest, 1.0 + 1e-6);
    EXPECT_LT(sharpest, 0.21) << "a rounded corner turns in small steps";
    EXPECT_NEAR(prev_dir, Z_PI / 2, 1e-6) << "the chain leaves the corner straight up";
    // The arc of radius 2 keeps its distance: its middle point lies 2 from (4, 2).
    bool on_arc = false;
    for (int k = 0; k < num_tvs; k++)
        if (tv[k].state && tv[k].x > 4.5 && tv[k].x < 5.8 && tv[k].y > 0.2 && tv[k].y < 1.5)
            on_arc = on_arc || std::fabs(std::hypot(tv[k].x - 4, tv[k].y - 2) - 2) < 1e-4;
    EXPECT_TRUE(on_arc);
    // One border per joint, linked into one chain.
    int borders = 0, starts = 0;
    for (int k = 0; k < num_bdrs; k++)
        if (bdr[k].state) { borders++; starts += bdr[k].last_b == -1; }
    EXPECT_EQ(borders, count);
    EXPECT_EQ(starts, 1);
}

TEST(LevelSource, ShapesAreFilledExactlyBySmallCounterClockwiseTriangles)
{
    init_tools();
    std::string err;
    // An L-shaped outline, given clockwise, with a straight run of points;
    // its long arm is longer than a fill edge may be.
    const char *text =
        "shape earth 1\n  0 0\n  0 4\n  1 4\n  1 1\n  2 1\n  3 1\n  9 1\n  9 0\nend\n";
    ASSERT_TRUE(build_level_text(text, "src", &err)) << err;
    double area = 0, longest = 0;
    std::map<std::pair<int, int>, int> edges;   // directed edges of all triangles
    for (int k = 0; k < num_plys; k++) {
        const ply_struct &p = ply[k];
        if (!p.state) continue;
        EXPECT_EQ(p.type, 0);
        EXPECT_EQ(p.layer, 1);
        const terrain_vertex_struct &a = tv[p.tvn[0]], &b = tv[p.tvn[1]], &c = tv[p.tvn[2]];
        double twice = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
        EXPECT_GT(twice, 0) << "triangle " << k << " is not counter-clockwise";
        area += twice / 2;
        for (int e = 0; e < 3; e++) {
            int u = p.tvn[e], v = p.tvn[(e + 1) % 3];
            edges[{u, v}]++;
            longest = std::max(longest, (double)std::hypot(tv[u].x - tv[v].x, tv[u].y - tv[v].y));
        }
    }
    EXPECT_NEAR(area, 12.0, 1e-6);
    EXPECT_LE(longest, 2.4 + 1e-6) << "the game would not draw a long-edged fill from inside";
    // No T-joins: no corner of one triangle lies inside the edge of another.
    std::set<int> corners;
    for (const auto &e : edges) corners.insert(e.first.first);
    for (const auto &e : edges) {
        const terrain_vertex_struct &u = tv[e.first.first], &v = tv[e.first.second];
        for (int w : corners) {
            if (w == e.first.first || w == e.first.second) continue;
            double cr = (v.x - u.x) * (tv[w].y - u.y) - (v.y - u.y) * (tv[w].x - u.x);
            double along = (tv[w].x - u.x) * (v.x - u.x) + (tv[w].y - u.y) * (v.y - u.y);
            double l2 = (v.x - u.x) * (v.x - u.x) + (v.y - u.y) * (v.y - u.y);
            EXPECT_FALSE(std::fabs(cr) < 1e-6 && along > 1e-6 && along < l2 - 1e-6)
                << "vertex " << w << " splits only one side of an edge";
        }
    }
}

// ---- the finishing runs -------------------------------------------------------------

namespace {

run_result play_recorded(const std::string &name, int lev)
{
    run_script run;
    std::string err;
    EXPECT_TRUE(parse_run(read_text(source_dir + "/" + name), &run, &err)) << err;
    EXPECT_EQ(run.level, lev);
    const int max_frames = 3400;    // more than any clock of the game allows
    run_result r = play_run(game_dir, run, max_frames);
    printf("%s: %s in %d frames, time left %.2f, %d waypoints, ended at (%.2f, %.2f)\n",
           name.c_str(), r.finished ? "finished" : "NOT finished", r.frames, r.time_left,
           r.waypoints, r.x, r.y);
    return r;
}

} // namespace

TEST_P(Levels, RecordedRunFinishesWithTimeLeft)
{
    init_tools();
    int lev = GetParam();
    run_result r = play_recorded("run" + std::to_string(lev) + ".txt", lev);
    RecordProperty("frames", r.frames);
    RecordProperty("time_left", std::to_string(r.time_left));
    EXPECT_TRUE(r.finished)
        << "run" << lev << ".txt no longer finishes. After a deliberate change of the level or "
           "the physics, record the runs again (target level_runs); if find_run cannot finish "
           "plan" << lev << ".txt either, the level can no longer be finished.";
    EXPECT_GT(r.time_left, 0);

    // The new stages leave a share of the time the run could have had (time
    // allowed plus the waypoints it took): a quarter to under a half on
    // stages 5-8, a tenth to under a third on 9-12.
    if (lev >= num_stored_levels) {
        ASSERT_TRUE(load_level_from(game_dir, lev));
        double share = r.time_left / (level_desc.time + 10.0 * r.waypoints);
        RecordProperty("share_left", std::to_string(share));
        double lo = lev < 8 ? 0.25 : 0.10, hi = lev < 8 ? 0.45 : 0.30;
        EXPECT_GE(share, lo) << "stage too easy for its place";
        EXPECT_LE(share, hi) << "stage too hard for its place";
    }
}

// The level README's table of runs is the record of how each run ends. A
// change of drawing only (polygons, bands, doodads) must leave every run
// finishing on the same frame with the same time left; a deliberate change of
// the ground or the physics records the runs again and updates the table.
TEST(LevelRuns, EveryRunEndsAsTheReadmeRecords)
{
    init_tools();
    std::istringstream readme(read_text(source_dir + "/README.md"));
    std::string line;
    int rows = 0;
    while (std::getline(readme, line)) {
        // | `run3.txt` (the boost way) | 689 | 29.33 |
        size_t open = line.find("| `run"), close = line.find('`', open + 3);
        size_t bar = line.find('|', close);
        int frames = 0;
        double time_left = 0;
        if (open != 0 || close == std::string::npos || bar == std::string::npos ||
            sscanf(line.c_str() + bar, "| %d | %lf |", &frames, &time_left) != 2)
            continue;
        std::string run = line.substr(open + 3, close - open - 3);
        int lev = atoi(run.c_str() + 3);
        run_result r = play_recorded(run, lev);
        EXPECT_TRUE(r.finished) << run;
        EXPECT_EQ(r.frames, frames) << run << " no longer ends on the recorded frame";
        EXPECT_NEAR(r.time_left, time_left, 0.005) << run << " ends with other time left";
        rows++;
    }
    EXPECT_GE(rows, 5) << "the README's table of runs was not found";
}

// The hidden shelf of stage 4 skips the boost, the chasm and both hives, and
// is quicker than the way below it.
TEST(LevelRuns, SecretShelfIsTheShorterWay)
{
    init_tools();
    run_result secret = play_recorded("run3_secret.txt", 3);
    run_result main_way = play_recorded("run3.txt", 3);
    EXPECT_TRUE(secret.finished);
    EXPECT_LT(secret.frames, main_way.frames);
    EXPECT_GT(secret.time_left, main_way.time_left);
}

// The stages with a route choice: a fast hard line and a slower safe one. Both
// finish, the fast one sooner and with more time left, and each keeps to its
// own way: the safe run passes through a box on its way (the tunnel, the
// undergrowth) that the fast run never enters.
namespace {

struct route_choice {
    int level;
    const char *fast, *safe;
    const char *safe_way;           // what the box holds
    double x0, y0, x1, y1;          // a stretch only the safe way passes
};

const route_choice route_choices[] = {
    {4, "run4.txt", "run4_tunnel.txt", "the tunnel under the mesa", -14, -1.2, 4, 2.8},
    {6, "run6.txt", "run6_undergrowth.txt", "the last hollow of the undergrowth", 9, 7.5, 14, 9.5},
};

double box_x0, box_y0, box_x1, box_y1;
bool box_entered;

void note_box(int)
{
    const body_struct &b = body[0];
    if (b.x >= box_x0 && b.x <= box_x1 && b.y >= box_y0 && b.y <= box_y1) box_entered = true;
}

// Plays a recorded run and tells whether the player's centre entered the box.
run_result play_watching_box(const std::string &name, const route_choice &c, bool *entered)
{
    run_script run;
    std::string err;
    EXPECT_TRUE(parse_run(read_text(source_dir + "/" + name), &run, &err)) << err;
    EXPECT_EQ(run.level, c.level);
    box_x0 = c.x0, box_y0 = c.y0, box_x1 = c.x1, box_y1 = c.y1;
    box_entered = false;
    run_result r = play_run(game_dir, run, 3400, note_box);
    *entered = box_entered;
    return r;
}

} // namespace

TEST(LevelRuns, SafeWayOfARouteChoiceIsTheSlowerWay)
{
    init_tools();
    for (const route_choice &c : route_choices) {
        SCOPED_TRACE(c.safe);
        bool fast_in = true, safe_in = false;
        run_result fast = play_watching_box(c.fast, c, &fast_in);
        run_result safe = play_watching_box(c.safe, c, &safe_in);
        EXPECT_TRUE(fast.finished);
        EXPECT_TRUE(safe.finished);
        EXPECT_LT(fast.frames, safe.frames);
        EXPECT_GT(fast.time_left, safe.time_left);
        EXPECT_TRUE(safe_in) << c.safe << " does not pass " << c.safe_way;
        EXPECT_FALSE(fast_in) << c.fast << " passes " << c.safe_way;
    }
}

// Each stage's named obstacle asks for its move: the author's run with that
// move taken away (the boost never pressed, or every charge cut short) lands
// where the obstacle sends a player who lacks it, and the run as recorded
// never goes there.
namespace {

struct obstacle_case {
    const char *run;
    int key;                    // the move's key
    int hold;                   // 0: never pressed; n: every press let go after n frames
    double x0, x1, y_below;     // where the player ends up without the move
    const char *what;
    int from_frame = 0;         // presses before this frame are kept (an earlier obstacle's)
};

run_script run_without(const run_script &run, const obstacle_case &c)
{
    run_script out;
    out.level = run.level;
    int pressed_at = -1;
    for (run_event e : run.events) {
        if (e.key == c.key && e.down) pressed_at = e.frame;
        if (e.key != c.key || pressed_at < c.from_frame) {
            out.events.push_back(e);
            continue;
        }
        if (c.hold == 0) continue;
        if (!e.down) e.frame = std::min(e.frame, pressed_at + c.hold);
        out.events.push_back(e);
    }
    std::stable_sort(out.events.begin(), out.events.end(),
                     [](const run_event &a, const run_event &b) { return a.frame < b.frame; });
    return out;
}

const obstacle_case *watched_case = nullptr;
bool went_there = false;

void watch_obstacle(int)
{
    const body_struct &p = body[0];
    const obstacle_case &c = *watched_case;
    if (p.x >= c.x0 && p.x <= c.x1 && p.y < c.y_below) went_there = true;
}

bool run_goes_there(const run_script &run, const obstacle_case &c)
{
    watched_case = &c;
    went_there = false;
    play_run(game_dir, run, 3400, watch_obstacle);
    return went_there;
}

} // namespace

TEST(LevelRuns, NamedObstaclesNeedTheirMove)
{
    init_tools();
    static const obstacle_case cases[] = {
        {"run1.txt", KEY_RCONTROL, 0, -22.5, -14.5, 14, "Ridge Crossing: the canyon floor"},
        {"run4.txt", KEY_RCONTROL, 0, -16, 6, 3, "Dune Sea: the tunnel under the mesa"},
        {"run5.txt", KEY_ENTER, 3, 8.4, 12, 11.8, "Autumn Woods: the creek"},
        {"run6.txt", KEY_ENTER, 3, -29, -12, 12, "Twilight Treetops: the leaning trunk at the fork"},
        {"run6.txt", KEY_RCONTROL, 0, -7, 2, 16, "Twilight Treetops: the wide gap in the tree tops"},
        {"run7.txt", KEY_RCONTROL, 0, -4, 7, 0, "Lamplight Lane: the ravine"},
        {"run7.txt", KEY_ENTER, 3, -46, -27.5, 6.0, "Lamplight Lane: the lane under the roofs"},
        {"run8.txt", KEY_ENTER, 3, -51.5, -13, 4.0, "Moonlit Ridge: the gallery under the shafts"},
        {"run9.txt", KEY_ENTER, 3, -50.2, -49.6, 7.5, "Castle Hall: the foot of the dais"},
        {"run9.txt", KEY_ENTER, 3, -35.6, -32, 6, "Castle Hall: the spiked pit under the drawbridge", 300},
        {"run10.txt", KEY_ENTER, 3, -11.8, -9.2, 6.2, "Cellars and Battlements: the gap between the towers", 500},
        {"run10.txt", KEY_RCONTROL, 0, 5, 12, 4, "Cellars and Battlements: the chasm before the ramparts", 700},
        {"run11.txt", KEY_ENTER, 3, -51, -48, 25.2, "Starlit Pass: the crevasse below the summit"},
        {"run11.txt", KEY_RCONTROL, 0, -20, -8, 6, "Starlit Pass: the gorge under the mesa"},
    };
    for (const obstacle_case &c : cases) {
        SCOPED_TRACE(c.what);
        run_script run;
        std::string err;
        ASSERT_TRUE(parse_run(read_text(source_dir + "/" + c.run), &run, &err)) << err;
        EXPECT_FALSE(run_goes_there(run, c)) << "the recorded run itself goes there";
        EXPECT_TRUE(run_goes_there(run_without(run, c), c)) << "the obstacle is passed without its move";
    }
}

// Battlements: many corners on two lines, where a careless cut would run
// through a corner and split the outline.
TEST(LevelSource, BattlementsAreFilledWithoutGapsOrOverlaps)
{
    init_tools();
    std::string text = "shape bricks 0\n  0 0\n  6 0\n  6 2\n";
    double x = 6;
    bool up = true;
    while (x > 0.01) {
        double top = up ? 2.5 : 2;
        text += "  " + std::to_string(x) + " " + std::to_string(top) + "\n";
        x -= 0.5;
        text += "  " + std::to_string(x) + " " + std::to_string(top) + "\n";
        up = !up;
    }
    text += "  0 2\nend\n";
    std::string err;
    ASSERT_TRUE(build_level_text(text, "src", &err)) << err;
    double area = 0;
    for (int k = 0; k < num_plys; k++) {
        const ply_struct &p = ply[k];
        if (!p.state) continue;
        const terrain_vertex_struct &a = tv[p.tvn[0]], &b = tv[p.tvn[1]], &c = tv[p.tvn[2]];
        double twice = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
        EXPECT_GT(twice, 0);
        area += twice / 2;
    }
    EXPECT_NEAR(area, 6 * 2 + 6 * 0.5 * 0.5, 1e-4);  // the wall and its six merlons
}

// Two blocks that meet at a point share the vertex: their joints link and
// their bands run on as one chain.
TEST(LevelSource, ChainsThatMeetAreLinkedAndBandedAsOne)
{
    init_tools();
    std::string err;
    ASSERT_TRUE(build_level_text("ground walk band grass_edge blend\n  0 0\n  1 0\nend\n"
                                 "ground walk band grass_edge blend\n  1 0\n  2 0.5\nend\n",
                                 "src", &err)) << err;
    std::vector<int> joints, borders;
    for (int k = 0; k < num_jnts; k++)
        if (jnt[k].state) joints.push_back(k);
    for (int k = 0; k < num_bdrs; k++)
        if (bdr[k].state) borders.push_back(k);
    ASSERT_EQ(joints.size(), 3u) << "the second block's edge is cut in two";
    ASSERT_EQ(borders.size(), 3u);
    int a = joints[0], b = joints[1];
    EXPECT_EQ(jnt[a].tvn[1], jnt[b].tvn[0]);
    EXPECT_EQ(jnt[a].njnt[1], b);
    EXPECT_EQ(jnt[b].njnt[0], a);
    int first = borders[0], second = borders[1];
    EXPECT_EQ(bdr[first].next_b, second);
    EXPECT_EQ(bdr[second].last_b, first);
    EXPECT_FLOAT_EQ(bdr[second].tex_offset, bdr[first].tex_len);
    EXPECT_EQ(bdr[first].tva[1], bdr[second].tva[0]) << "the corner's outer vertex is shared";
}

// A closed island: its joints form a ring, its band closes on a whole number
// of texture repeats, its inside is filled exactly.
TEST(LevelSource, ClosedGroundIsARingWithAFilledInside)
{
    init_tools();
    std::string err;
    // Clockwise, so that the walking side (left of the direction) faces out.
    ASSERT_TRUE(build_level_text("ground walk band rock_edge plain inside rock 1 closed\n"
                                 "  0 0\n  0 2\n  3 2\n  3 0\nend\n", "src", &err)) << err;
    int joints = 0;
    for (int k = 0; k < num_jnts; k++) {
        if (!jnt[k].state) continue;
        joints++;
        EXPECT_NE(jnt[k].njnt[0], -1);
        EXPECT_NE(jnt[k].njnt[1], -1);
    }
    EXPECT_EQ(joints, 10) << "edges cut into pieces of at most one unit";
    double total = 0;
    for (int k = 0; k < num_bdrs; k++)
        if (bdr[k].state) total += bdr[k].tex_len;
    EXPECT_NEAR(total, std::round(total), 1e-3);
    double area = 0;
    for (int k = 0; k < num_plys; k++) {
        const ply_struct &p = ply[k];
        if (!p.state) continue;
        const terrain_vertex_struct &a = tv[p.tvn[0]], &b = tv[p.tvn[1]], &c = tv[p.tvn[2]];
        area += ((b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x)) / 2;
    }
    EXPECT_NEAR(area, 6.0, 1e-5);
}

// The order the dumper relies on: vertices that only borders use come after
// every other vertex, so replaying vertices first leaves their slots free.
TEST(LevelSource, OuterBorderVerticesFollowAllOthers)
{
    init_tools();
    std::string err;
    ASSERT_TRUE(build_level_text("band sand_edge plain\n  0 0\n  2 0\nend\n"
                                 "shape earth 0\n  0 -1\n  3 -1\n  3 -3\nend\n"
                                 "vertex 5 5\n", "src", &err)) << err;
    int last_plain = -1, first_outer = num_tvs;
    for (int k = 0; k < num_bdrs; k++)
        if (bdr[k].state)
            for (int v : {bdr[k].tva[0], bdr[k].tva[1]}) first_outer = std::min(first_outer, v);
    for (int k = 0; k < num_tvs; k++) {
        if (!tv[k].state) continue;
        bool outer = false;
        for (int b = 0; b < num_bdrs; b++)
            outer = outer || (bdr[b].state && (bdr[b].tva[0] == k || bdr[b].tva[1] == k));
        if (!outer) last_plain = k;
    }
    EXPECT_LT(last_plain, first_outer);
    // The half width of the sand band is its picture's height x 0.002.
    double w, h;
    get_tex_size(terrain_tex[texture_by_name("sand_edge")], &w, &h);
    for (int k = 0; k < num_bdrs; k++)
        if (bdr[k].state) { EXPECT_NEAR(tv[bdr[k].tva[0]].y, h * 0.002, 1e-5); }
}

TEST(LevelSource, NamesMapBothWays)
{
    for (int slot = 0; slot < 100; slot++) {
        if (const char *n = texture_name(slot)) { EXPECT_EQ(texture_by_name(n), slot); }
        if (const char *n = picture_name(slot)) { EXPECT_EQ(picture_by_name(n), slot); }
    }
    EXPECT_EQ(texture_by_name("grass_edge"), TEX_BAND_GRASS);
    EXPECT_EQ(picture_by_name("sign"), DAD_SIGN);
    EXPECT_EQ(texture_by_name("nothing"), -1);
    EXPECT_EQ(picture_name(NUM_DOODAD_PICTURES + 5), nullptr);
}

namespace {

// The `words` in backticks of a README table row, e.g. "| doodads | `oak` ... |".
std::vector<std::string> quoted_words(const std::string &line)
{
    std::vector<std::string> words;
    for (size_t open = line.find('`'); open != std::string::npos; open = line.find('`', open + 1)) {
        size_t close = line.find('`', open + 1);
        if (close == std::string::npos) break;
        words.push_back(line.substr(open + 1, close - open - 1));
        open = close;
    }
    return words;
}

} // namespace

// Level designers pick pictures from the README: its names table must list
// every picture the builder knows, and its sizes table each one at the size
// the builder will give it (one texel per screen pixel, 160 texels a unit).
TEST(LevelSource, ReadmeListsEveryPictureByNameAndSize)
{
    init_tools();
    std::set<std::string> named;
    for (int slot = 0; slot < NUM_DOODAD_PICTURES; slot++) {
        const char *n = picture_name(slot);
        ASSERT_NE(n, nullptr) << "picture slot " << slot << " has no name";
        named.insert(n);
    }
    std::istringstream readme(read_text(source_dir + "/README.md"));
    std::string line;
    std::set<std::string> listed;
    std::map<std::string, int> sized;
    while (std::getline(readme, line)) {
        double w = 0, h = 0;
        if (line.rfind("| doodads |", 0) == 0) {
            for (const std::string &n : quoted_words(line)) listed.insert(n);
        } else if (sscanf(line.c_str(), "| %lf \xc3\x97 %lf |", &w, &h) == 2) {
            for (const std::string &n : quoted_words(line)) {
                sized[n]++;
                int slot = picture_by_name(n);
                ASSERT_GE(slot, 0) << n << " in the sizes table is no picture";
                double tw, th;
                get_tex_size(doodad_tex[slot], &tw, &th);
                EXPECT_NEAR(tw / 160, w, 1e-9) << n;
                EXPECT_NEAR(th / 160, h, 1e-9) << n;
            }
        }
    }
    EXPECT_EQ(listed, named);
    for (const std::string &n : named) EXPECT_EQ(sized[n], 1) << n << " in the sizes table";
}

// ---- runs as text ---------------------------------------------------------------

TEST(LevelRuns, RunTextRoundTripsAndFaultsAreRefused)
{
    run_script run;
    std::string err;
    ASSERT_TRUE(parse_run("level 2\n0 right down  # go\n40 enter down\n65 enter up\n", &run, &err))
        << err;
    EXPECT_EQ(run.level, 2);
    ASSERT_EQ(run.events.size(), 3u);
    EXPECT_EQ(run.events[1].frame, 40);
    EXPECT_TRUE(run.events[1].down);
    run_script again;
    ASSERT_TRUE(parse_run(format_run(run), &again, &err));
    EXPECT_EQ(format_run(again), format_run(run));

    for (const char *bad : {"5 right down\n3 right up\n", "1 jump down\n", "1 right maybe\n",
                            "-1 right down\n", "1 right down extra\n"})
        EXPECT_FALSE(parse_run(bad, &run, &err)) << bad;
}

// A run that gives up with Escape ends lost, without completing the level.
TEST(LevelRuns, GivingUpIsReportedAsLost)
{
    init_tools();
    run_script run;
    std::string err;
    ASSERT_TRUE(parse_run("level 0\n0 right down\n30 escape down\n32 escape up\n", &run, &err));
    run_result r = play_run(game_dir, run, 400);
    EXPECT_FALSE(r.finished);
    EXPECT_TRUE(r.lost);
    EXPECT_LE(r.frames, 40);
}

// The game draws a polygon only when it is filed in a visible grid cell: along
// the whole route, every fill that covers a point of the view must be found
// by that walk, or the player would see a hole in the ground or the sky.
namespace {

// The corners of a fill polygon (3 or 4).
std::vector<std::pair<double, double>> ply_corners(int n)
{
    std::vector<std::pair<double, double>> c;
    for (int k = 0; k < 4; k++) {
        int v = ply[n].tvn[k];
        if (v >= 0 && v < num_tvs) c.push_back({tv[v].x, tv[v].y});
    }
    return c;
}

// Two convex outlines overlap with some area when no edge direction of
// either separates them; outlines that only touch along an edge do not.
bool overlap_with_area(const std::vector<std::pair<double, double>> &a,
                       const std::vector<std::pair<double, double>> &b)
{
    const double touch = 1e-4;
    for (const auto *poly : {&a, &b})
        for (size_t k = 0; k < poly->size(); k++) {
            auto p = (*poly)[k], q = (*poly)[(k + 1) % poly->size()];
            double nx = q.second - p.second, ny = p.first - q.first;
            double len = std::sqrt(nx * nx + ny * ny);
            if (len < 1e-12) continue;
            nx /= len;
            ny /= len;
            double a0 = 1e18, a1 = -1e18, b0 = 1e18, b1 = -1e18;
            for (auto v : a) { double d = v.first * nx + v.second * ny; a0 = std::min(a0, d); a1 = std::max(a1, d); }
            for (auto v : b) { double d = v.first * nx + v.second * ny; b0 = std::min(b0, d); b1 = std::max(b1, d); }
            if (a1 <= b0 + touch || b1 <= a0 + touch) return false;
        }
    return true;
}

} // namespace

// The drawing walk gathers the fills of a layer cell by cell, so where two
// fills of one layer overlap, which one is on top changes with the view: two
// different textures overlapping in one layer show wedges of each other.
// One texture over itself is harmless (the texture is laid in world units).
TEST_P(Levels, FillsOfOneLayerOverlapOnlyWithTheirOwnTexture)
{
    int lev = GetParam();
    ASSERT_TRUE(load_level_from(game_dir, lev));
    // Corners and bounding boxes once: a stage holds thousands of fills, and
    // only fills whose boxes meet can overlap.
    struct fill { std::vector<std::pair<double, double>> c; double x0, x1, y0, y1; };
    std::vector<fill> fills(num_plys);
    for (int a = 0; a < num_plys; a++) {
        if (!ply[a].state) continue;
        fill &f = fills[a];
        f.c = ply_corners(a);
        f.x0 = f.y0 = 1e18;
        f.x1 = f.y1 = -1e18;
        for (auto v : f.c) {
            f.x0 = std::min(f.x0, v.first);
            f.x1 = std::max(f.x1, v.first);
            f.y0 = std::min(f.y0, v.second);
            f.y1 = std::max(f.y1, v.second);
        }
    }
    int faults = 0;
    for (int a = 0; a < num_plys; a++) {
        if (!ply[a].state) continue;
        const fill &fa = fills[a];
        for (int b = a + 1; b < num_plys; b++) {
            if (!ply[b].state || ply[b].layer != ply[a].layer || ply[b].x == ply[a].x) continue;
            const fill &fb = fills[b];
            if (fb.x0 >= fa.x1 || fa.x0 >= fb.x1 || fb.y0 >= fa.y1 || fa.y0 >= fb.y1) continue;
            if (fa.c.size() < 3 || fb.c.size() < 3 || !overlap_with_area(fa.c, fb.c)) continue;
            if (++faults <= 5)
                ADD_FAILURE() << "level " << lev << ", layer " << (int)ply[a].layer << ": fill " << a
                              << " (texture " << ply[a].x << ") and fill " << b << " (texture "
                              << ply[b].x << ") overlap near (" << fa.c[0].first << ", "
                              << fa.c[0].second << ")";
        }
    }
    EXPECT_EQ(faults, 0);
}

TEST_P(Levels, EveryFillInViewIsFoundByTheDrawingWalk)
{
    int lev = GetParam();
    ASSERT_TRUE(load_level_from(game_dir, lev));
    std::vector<int> polys;
    for (int k = 0; k < num_plys; k++)
        if (ply[k].state && ply[k].type == 0) polys.push_back(k);
    int views = 0, misses = 0, walked = 0;
    for (int k = 0; k < num_jnts; k++) {
        if (!jnt[k].state || jnt[k].type != 1 || walked++ % 4) continue;
        double cx = (tv[jnt[k].tvn[0]].x + tv[jnt[k].tvn[1]].x) / 2;
        double cy = (tv[jnt[k].tvn[0]].y + tv[jnt[k].tvn[1]].y) / 2 + 0.5;
        cell_range r = cell_range_around(cx, cy);
        std::set<int> listed;
        for (int row = r.row0; row < r.ymax; row++)
            for (int col = r.col0; col < r.xmax; col++) {
                if (row < 0 || col < 0 || row >= map_sy || col >= map_sx) continue;
                const region_struct &cell = region[row * map_sx + col];
                for (int i = 0; i < cell.ply_x; i++) listed.insert(ply_list[cell.ply_n + i]);
            }
        views++;
        for (double dx = -2; dx <= 2.001; dx += 0.5)
            for (double dy = -1.5; dy <= 1.501; dy += 0.5) {
                double px = cx + dx, py = cy + dy;
                for (int n : polys) {
                    const terrain_vertex_struct &a = tv[ply[n].tvn[0]], &b = tv[ply[n].tvn[1]],
                                                &c = tv[ply[n].tvn[2]];
                    if (!inside_tri(a.x, a.y, b.x, b.y, c.x, c.y, px, py)) continue;
                    if (!listed.count(n)) misses++;
                }
            }
    }
    EXPECT_GT(views, 20);
    EXPECT_EQ(misses, 0) << "fills that cover the view but are not drawn";
}

// Quads face the viewer whichever way round their corners are given, and
// keep their faded side between corners 4 and 1.
TEST(LevelSource, QuadsAreStoredFacingTheViewer)
{
    init_tools();
    std::string err;
    // Clockwise as written: fading along the bottom edge from (0, 0) to (2, 0).
    ASSERT_TRUE(build_level_text("quad grass_edge 2  0 0  0 1  2 1  2 0\n", "src", &err)) << err;
    int q = -1;
    for (int k = 0; k < num_plys; k++)
        if (ply[k].state) q = k;
    ASSERT_GE(q, 0);
    EXPECT_EQ(ply[q].type, 1);
    EXPECT_EQ(ply[q].layer, 2);
    double area = 0;
    for (int k = 0; k < 4; k++) {
        const terrain_vertex_struct &a = tv[ply[q].tvn[k]], &b = tv[ply[q].tvn[(k + 1) % 4]];
        area += a.x * b.y - a.y * b.x;
    }
    EXPECT_GT(area, 0) << "counter-clockwise, so the game does not cull it";
    EXPECT_EQ(tv[ply[q].tvn[0]].y, 0.0f);
    EXPECT_EQ(tv[ply[q].tvn[3]].y, 0.0f);
    EXPECT_EQ(tv[ply[q].tvn[1]].y, 1.0f);
    EXPECT_EQ(tv[ply[q].tvn[2]].y, 1.0f);
}

// ---- level identity ----------------------------------------------------------

TEST(LevelIdentity, ChecksumIsTheCrcOfTheFileAndFollowsEveryByte)
{
    init_tools();
    // The catalogue's check value of CRC-64/ECMA-182, whole and in pieces.
    EXPECT_EQ(crc64("123456789", 9), 0x6C40DF5F0B497347ull);
    EXPECT_EQ(crc64_update(crc64("1234", 4), "56789", 5), 0x6C40DF5F0B497347ull);
    EXPECT_EQ(crc64("", 0), 0ull);
    // Loading a level sets the identity of the file it read, and the four
    // shipped levels are four identities.
    std::set<uint64_t> seen;
    for (int lev = 0; lev < num_levels; lev++) {
        std::string path = game_dir + "/map" + std::to_string(lev) + ".trn";
        bool ok = false;
        uint64_t sum = level_checksum_of_file(path.c_str(), &ok);
        ASSERT_TRUE(ok) << path;
        ASSERT_TRUE(load_terrain_file(path.c_str()));
        EXPECT_EQ(current_level_checksum, sum) << path;
        seen.insert(sum);
    }
    EXPECT_EQ(seen.size(), (size_t)num_levels);
    // One changed byte is another level; a missing file has none.
    std::string bytes = read_text(game_dir + "/map0.trn");
    bytes[bytes.size() / 2] ^= 1;
    std::string original = read_text(game_dir + "/map0.trn");
    EXPECT_NE(crc64(bytes.data(), bytes.size()), crc64(original.data(), original.size()));
    bool ok = true;
    EXPECT_EQ(level_checksum_of_file((scratch_dir() + "/no_such.trn").c_str(), &ok), 0ull);
    EXPECT_FALSE(ok);
    EXPECT_FALSE(load_terrain_file((scratch_dir() + "/no_such.trn").c_str()));
    EXPECT_EQ(current_level_checksum, 0ull);
}
