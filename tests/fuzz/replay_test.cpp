// tests/fuzz/replay_test.cpp -- the fuzz targets' inputs replayed through the
// ordinary build: the shipped levels and sources, a table of malformed and
// hostile level files, hostile source texts, and every regression file kept
// from a crash. Each must leave a sound world through a level start and 100
// frames of play. With HILLHOPPER_FUZZ_SEEDS naming a folder, the level-file
// cases are also written there as seeds for the fuzzer.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <functional>
#include <limits>
#include <sstream>
#include <vector>
#include <gtest/gtest.h>
#include "fuzz_harness.h"
#include "hillhopper.h"
#include "terrain_file.h"
#include "slots.h"
#include "bonusnparticle.h"

typedef std::vector<uint8_t> bytes;

static void setup(void)
{
    std::string error;
    ASSERT_TRUE(fuzz_setup(GAME_DATA_DIR, &error)) << error;
}

static bool read_bytes(const std::string &path, bytes *out)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::stringstream s;
    s << in.rdbuf();
    std::string t = s.str();
    out->assign(t.begin(), t.end());
    return true;
}

static std::vector<std::string> files_in(const std::string &dir)
{
    std::vector<std::string> names;
    DIR *d = opendir(dir.c_str());
    if (!d) return names;
    while (dirent *e = readdir(d))
        if (e->d_name[0] != '.') names.push_back(dir + "/" + e->d_name);
    closedir(d);
    return names;
}

static std::string run(fuzz_target t, const bytes &b)
{
    return t(b.data(), b.size());
}

TEST(FuzzReplay, ShippedLevelsAndSourcesPlaySoundly)
{
    setup();
    for (int lev = 0; lev < num_stored_levels; lev++) {
        bytes b;
        std::string path = std::string(GAME_DATA_DIR) + "/map" + std::to_string(lev) + ".trn";
        ASSERT_TRUE(read_bytes(path, &b)) << path;
        EXPECT_EQ(run(fuzz_level_read, b), "") << path;
        EXPECT_EQ(run(fuzz_level_file, b), "") << path;
        int live = 0;
        for (int i = 0; i < num_jnts; i++) live += jnt[i].state != 0;
        EXPECT_GT(live, 0) << path << " was not read";
        std::string src = std::string(TEST_SOURCE_DIR) + "/levels/level" + std::to_string(lev) + ".txt";
        ASSERT_TRUE(read_bytes(src, &b)) << src;
        EXPECT_EQ(run(fuzz_level_text, b), "") << src;
    }
}

// ---------------------------------------------------------------------------
// A small level with one record of every kind, and hostile variants of it.

static void put32(bytes &b, size_t at, int32_t v)
{
    if (at + 4 <= b.size()) memcpy(&b[at], &v, 4);
}
static void put16(bytes &b, size_t at, int16_t v)
{
    if (at + 2 <= b.size()) memcpy(&b[at], &v, 2);
}
static void putf(bytes &b, size_t at, float v)
{
    if (at + 4 <= b.size()) memcpy(&b[at], &v, 4);
}

// Four vertices (16 bytes each with the slot), then one joint, polygon,
// border, doodad, waypoint and bonus.
const size_t at_tv = 40, at_jnt = at_tv + 4 * 16, at_ply = at_jnt + 28, at_bdr = at_ply + 32,
             at_dad = at_bdr + 44, at_wpt = at_dad + 36, at_bonus = at_wpt + 36, at_end = at_bonus + 36;

static bytes small_level(void)
{
    load_plain_level();
    level_desc.present = false;
    for (int i = 0; i < num_wpts; i++) wpt[i].state = 0;
    for (int i = 0; i < num_bonuses; i++) bonus[i].state = 0;
    // A floor under level 0's start point and a wall to its right.
    const float xs[] = {-66, -60, -60, -62}, ys[] = {11, 11, 13, 9};
    for (int i = 0; i < 4; i++) tv[i] = terrain_vertex_struct{xs[i], ys[i], 1};
    jnt[0] = jnt_struct{1, {0, 1}, {-1, -1}, 1};
    ply[0] = ply_struct{1, {0, 1, 3, -1}, 0, 5, 1};
    bdr[0] = bdr_struct{1, {0, 1}, {3, 3}, -1, -1, 0, 3, 0, 0, 1};
    dad[0] = dad_struct{1, -63, 11.5f, 0, 2, 0, 32, 32, 0};
    wpt[0] = wpt_struct{1, -63, 11.6, 0};
    bonus[0] = bonus_struct{1, -61.5, 11.4, BONUS_LEAF};
    EXPECT_EQ(save_terrain_file("small.trn"), 1);
    bytes b;
    EXPECT_TRUE(read_bytes("small.trn", &b));
    EXPECT_EQ(b.size(), at_end);
    return b;
}

// The level section the writer puts after small_level's records, and a way to
// change a value in it and seal it again, so that a case reaches the value
// checks behind the checksum.
const size_t section_size = 184, at_body = at_end + 12;

static bytes level_section(void)
{
    small_level();
    level_description d = default_level_description(0);
    d.present = true;
    set_level_name(&d, NAME_EN, "Seed");
    set_level_name(&d, NAME_DE, "Saat \xc3\xbc");
    level_desc = d;
    EXPECT_EQ(save_terrain_file("small.trn"), 1);
    level_desc.present = false;
    bytes b;
    EXPECT_TRUE(read_bytes("small.trn", &b));
    EXPECT_EQ(b.size(), at_end + section_size);
    return bytes(b.begin() + at_end, b.end());
}

static void add_section(bytes &b)
{
    static const bytes section = level_section();
    b.insert(b.end(), section.begin(), section.end());
}

static void reseal(bytes &b)
{
    uint32_t c = 0xffffffffu;
    for (size_t i = at_end; i < at_end + section_size - 4; i++) {
        c ^= b[i];
        for (int k = 0; k < 8; k++) c = (c >> 1) ^ (0xedb88320u & (0u - (c & 1)));
    }
    put32(b, at_end + section_size - 4, (int32_t)(c ^ 0xffffffffu));
}

static void put_section_double(bytes &b, size_t field, double v)
{
    memcpy(&b[at_body + field], &v, 8);
    reseal(b);
}

struct hostile_case {
    const char *name;
    bool refused;                   // the strict reader must refuse it whole
    std::function<void(bytes &)> change;
};

const float nan_f = std::numeric_limits<float>::quiet_NaN();
const float inf_f = std::numeric_limits<float>::infinity();

static const hostile_case hostile_cases[] = {
    {"unchanged", false, [](bytes &) {}},
    // The level section
    {"with a level section", false, [](bytes &b) { add_section(b); }},
    {"start in the level's far corner", false, [](bytes &b) { add_section(b); put_section_double(b, 0, 80); put_section_double(b, 8, -40); }},
    {"start upside down, shortest clock", false, [](bytes &b) {
         add_section(b); put_section_double(b, 16, -8); memcpy(&b[at_body + 24], &level_time_min, 8); reseal(b); }},
    {"section after a header alone", false, [](bytes &b) {
         add_section(b); b.erase(b.begin() + 40, b.begin() + at_end); memset(&b[0], 0, 40); }},
    {"section checksum wrong", true, [](bytes &b) { add_section(b); b.back() ^= 0x80; }},
    {"section of a newer version", true, [](bytes &b) { add_section(b); put32(b, at_end + 4, 2); reseal(b); }},
    {"section truncated", true, [](bytes &b) { add_section(b); b.resize(b.size() - 5); }},
    {"byte after the section", true, [](bytes &b) { add_section(b); b.push_back(0); }},
    {"section start NaN", true, [](bytes &b) { add_section(b); put_section_double(b, 8, std::nan("")); }},
    {"section time negative", true, [](bytes &b) { add_section(b); put_section_double(b, 24, -1); }},
    {"section sky unknown", true, [](bytes &b) { add_section(b); put32(b, at_body + 32, 99); reseal(b); }},
    {"section name unterminated", true, [](bytes &b) { add_section(b); memset(&b[at_body + 104], 'z', 64); reseal(b); }},
    {"empty file", true, [](bytes &b) { b.clear(); }},
    {"truncated header", true, [](bytes &b) { b.resize(20); }},
    {"header alone", false, [](bytes &b) { b.assign(40, 0); }},
    {"truncated record", true, [](bytes &b) { b.resize(at_end - 3); }},
    {"record missing", true, [](bytes &b) { b.resize(at_bonus); }},
    {"negative count", true, [](bytes &b) { put32(b, 8, -1); }},
    {"count above capacity", true, [](bytes &b) { put32(b, 4, num_jnts + 1); }},
    {"huge count", true, [](bytes &b) { put32(b, 0, 0x7fffffff); }},
    {"vertex slot out of range", true, [](bytes &b) { put32(b, at_tv + 16, num_tvs); }},
    {"negative joint slot", true, [](bytes &b) { put32(b, at_jnt, -1); }},
    {"waypoint slot out of range", true, [](bytes &b) { put32(b, at_wpt, num_wpts); }},
    {"bonus slot out of range", true, [](bytes &b) { put32(b, at_bonus, 5000); }},
    {"joint vertex out of range", true, [](bytes &b) { put32(b, at_jnt + 4 + 8, num_tvs); }},
    {"joint neighbour below -1", true, [](bytes &b) { put32(b, at_jnt + 4 + 16, -2); }},
    {"polygon vertex out of range", true, [](bytes &b) { put32(b, at_ply + 4 + 8, 123456); }},
    {"polygon texture negative", true, [](bytes &b) { put16(b, at_ply + 4 + 22, -1); }},
    {"border chain next out of range", true, [](bytes &b) { put16(b, at_bdr + 4 + 22, num_bdrs); }},
    {"border texture out of range", true, [](bytes &b) { put16(b, at_bdr + 4 + 26, 200); }},
    {"doodad picture out of range", true, [](bytes &b) { put32(b, at_dad + 4 + 16, num_tex_slots); }},
    {"bonus type out of range", true, [](bytes &b) { put16(b, at_bonus + 4 + 24, 4); }},
    {"joint on a free vertex", true, [](bytes &b) { put32(b, at_jnt + 4 + 8, 9999); }},
    {"border chained to a free border", true, [](bytes &b) { put16(b, at_bdr + 4 + 22, num_bdrs - 1); }},
    // Accepted by the reader: values the format cannot rule out.
    {"vertex NaN", false, [](bytes &b) { putf(b, at_tv + 4, nan_f); }},
    {"vertex infinite", false, [](bytes &b) { putf(b, at_tv + 16 + 8, -inf_f); }},
    {"vertex far outside the grid", false, [](bytes &b) { putf(b, at_tv + 4, 3e38f); }},
    {"zero-length joint", false, [](bytes &b) { put32(b, at_jnt + 4 + 8, 0); }},
    {"joint its own neighbour", false, [](bytes &b) { put32(b, at_jnt + 4 + 12, 0); put32(b, at_jnt + 4 + 16, 0); }},
    {"joint neighbour free", false, [](bytes &b) { put32(b, at_jnt + 4 + 16, 77); }},
    {"joint of an unknown type", false, [](bytes &b) { put16(b, at_jnt + 4 + 20, -300); }},
    {"joint state odd", false, [](bytes &b) { b[at_jnt + 4] = (uint8_t)0x80; }},
    {"border its own next", false, [](bytes &b) { put16(b, at_bdr + 4 + 20, 0); put16(b, at_bdr + 4 + 22, 0); }},
    {"border waypoint arrow", false, [](bytes &b) { put16(b, at_bdr + 4 + 24, 2); }},
    {"border texture length NaN", false, [](bytes &b) { putf(b, at_bdr + 4 + 36, nan_f); }},
    {"border of unknown type", false, [](bytes &b) { put16(b, at_bdr + 4 + 24, 19); }},
    {"polygon of unknown type", false, [](bytes &b) { put16(b, at_ply + 4 + 20, 19); }},
    {"polygon layer out of range", false, [](bytes &b) { b[at_ply + 4 + 24] = 77; }},
    {"doodad of unknown type", false, [](bytes &b) { put32(b, at_dad + 4 + 20, 19); }},
    {"doodad layer and state odd", false, [](bytes &b) { b[at_dad + 4] = 9; b[at_dad + 4 + 28] = 200; }},
    {"doodad size negative", false, [](bytes &b) { put16(b, at_dad + 4 + 24, -32768); }},
    {"doodad NaN position", false, [](bytes &b) { putf(b, at_dad + 4 + 4, nan_f); }},
    {"picture beyond the datafile", false, [](bytes &b) { put32(b, at_dad + 4 + 16, num_tex_slots - 1); }},
    {"texture beyond the datafile", false, [](bytes &b) { put16(b, at_ply + 4 + 22, num_tex_slots - 1); }},
    {"waypoint NaN", false, [](bytes &b) { memset(&b[at_wpt + 4 + 8], 0xff, 8); }},
    {"waypoint count huge", false, [](bytes &b) { put32(b, at_wpt + 4 + 24, 0x7fffffff); }},
    {"bonus on the start point", false, [](bytes &b) {
         double x = -64.2, y = 11.75;
         memcpy(&b[at_bonus + 4 + 8], &x, 8);
         memcpy(&b[at_bonus + 4 + 16], &y, 8);
         put16(b, at_bonus + 4 + 24, BONUS_LEVEL_END); }},
    {"level-end bonus NaN", false, [](bytes &b) {
         memset(&b[at_bonus + 4 + 8], 0xff, 16);
         put16(b, at_bonus + 4 + 24, BONUS_LEVEL_END); }},
};

static int live_joints(void)
{
    int n = 0;
    for (int i = 0; i < num_jnts; i++) n += jnt[i].state != 0;
    return n;
}

TEST(FuzzReplay, HostileLevelFilesAreRefusedOrPlaySoundly)
{
    setup();
    const bytes base = small_level();
    const char *seeds = getenv("HILLHOPPER_FUZZ_SEEDS");
    int k = 0;
    for (const hostile_case &c : hostile_cases) {
        bytes b = base;
        c.change(b);
        EXPECT_EQ(run(fuzz_level_read, b), "") << c.name;
        EXPECT_EQ(run(fuzz_level_file, b), "") << c.name;
        // The refused ones start empty; every accepted one keeps its joint.
        EXPECT_EQ(load_terrain_file("map0.trn"), c.refused ? 0 : 1) << c.name;
        if (c.refused) {
            EXPECT_EQ(live_joints(), 0) << c.name;
        }
        if (seeds) {
            std::ofstream out(std::string(seeds) + "/hostile" + std::to_string(k) + ".trn",
                              std::ios::binary);
            out.write((const char *)b.data(), (std::streamsize)b.size());
        }
        k++;
    }
}

TEST(FuzzReplay, HostileSourceTextsNeverBreakTheWorld)
{
    setup();
    const char *texts[] = {
        "",
        "\n\n\n",
        "ground\n",
        "ground walk band grass_edge\n  1e308 1e308\n  -1e308 -1e308\nend\n",
        "ground walk\n  nan nan\n  inf -inf\n  0 0\nend\n",
        "ground walk\n  0 0 round 1e9\n  1 0 round -5\n  2 0\nend\n",
        "shape ice 9\n  0 0\n  1 1\nend\n",
        "doodad oak 0 0 nan 7\n",
        "bonus 4 0 0\n",
        "waypoint 1e400 -1e400\n",
        "vertex 0 0\nvertex 1 0\njoint 0 1\njoint 1 99999\n",
        "tri 0 0 0\nquadv -1 -1 -1 -1\n",
        "set joint 3 1 0 0 -1 -1 1\n",
        "border 0 1 2 3\n",
        "ground walk\n",
    };
    for (const char *t : texts) {
        bytes b(t, t + strlen(t));
        EXPECT_EQ(run(fuzz_level_text, b), "") << t;
    }
    // A long run of points: more joints than the table holds.
    std::string many = "ground walk\n";
    for (int i = 0; i < num_jnts + 50; i++) many += "  " + std::to_string(-79 + i * 0.01) + " 0\n";
    many += "end\n";
    bytes b(many.begin(), many.end());
    EXPECT_EQ(run(fuzz_level_text, b), "");
}

TEST(FuzzReplay, RegressionFilesStayFixed)
{
    setup();
    // Level files go through the reader alone and through play.
    struct { const char *folder, *target; } runs[] = {
        {"level_file", "level_read"}, {"level_file", "level_file"}, {"level_text", "level_text"},
        {"replay_file", "replay_file"}};
    for (const auto &r : runs) {
        std::string dir = std::string(TEST_SOURCE_DIR) + "/tests/fuzz/regressions/" + r.folder;
        for (const std::string &path : files_in(dir)) {
            bytes b;
            ASSERT_TRUE(read_bytes(path, &b)) << path;
            EXPECT_EQ(run(fuzz_target_by_name(r.target), b), "") << r.target << " " << path;
        }
    }
}

// The settings and records readers through their fuzz targets: hostile bytes
// give sane values or a refusal, never a crash or a value out of range.
TEST(FuzzReplay, HostileSettingsAndRecordsGiveSaneValues)
{
    setup();
    const std::string settings_cases[] = {
        "", "[keys]\nleft = 1\nright = 1\n", "[keys]\nleft = 2147483648\n", "[keys]\njump = -99999\n",
        "[gamepad]\njump = 2147483647\nboost = -2147483648\n", "[sound]\neffects = -1\nmusic = 1e9\n",
        "[display]\nwindow = largest\nwindow = 1x1\n", std::string(5000, '['), "[keys]\n" + std::string(4000, '='),
        std::string("\xef\xbb\xbf[game]\nlanguage = 1\n"), std::string("[game]\0language = 1\n", 20)};
    for (const std::string &c : settings_cases)
        EXPECT_EQ(fuzz_settings_read((const uint8_t *)c.data(), c.size()), "") << c.substr(0, 60);
    const std::string records_cases[] = {
        "", "hillhopper records 1\n", "hillhopper records 1\n0000000000000000 1 0\n",
        "hillhopper records 1\n0000000000000000 86400000 1000000\n",
        "hillhopper records 1\n0000000000000000 1 0\n0000000000000000 1 0\n", std::string(100000, '\n')};
    for (const std::string &c : records_cases)
        EXPECT_EQ(fuzz_records_read((const uint8_t *)c.data(), c.size()), "") << c.substr(0, 60);
}

// The author's replays (the fuzzer's seeds) play soundly on level 0 whatever
// level they were made on, and so do their cut and flipped variants that the
// reader still takes (none should be taken: the CRC guards them).
TEST(FuzzReplay, ShippedReplaysAndTheirDamagedCopiesAreSafe)
{
    setup();
    int checked = 0;
    for (const std::string &path : files_in(std::string(GAME_DATA_DIR) + "/replays")) {
        bytes b;
        ASSERT_TRUE(read_bytes(path, &b)) << path;
        EXPECT_EQ(run(fuzz_replay_file, b), "") << path;
        for (size_t cut : {b.size() / 3, b.size() - 1}) {
            bytes c(b.begin(), b.begin() + cut);
            EXPECT_EQ(run(fuzz_replay_file, c), "") << path << " cut at " << cut;
        }
        checked++;
    }
    EXPECT_GE(checked, 5);
}
