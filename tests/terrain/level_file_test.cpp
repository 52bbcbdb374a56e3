// tests/terrain/level_file_test.cpp -- level files: the round trip, the
// exact record images, refusal of malformed files as a table of cases, safe
// saving against failed writes, and the level set-up values.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
#include "terrain_fixture.h"
#include "joints.h"
#include "bodies.h"
#include "borders.h"
#include "slots.h"

namespace {

typedef std::vector<unsigned char> bytes;

bytes read_bytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void write_bytes(const std::string &path, const bytes &b)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(b.data()), (std::streamsize)b.size());
}

void put32(bytes &b, size_t at, int v)
{
    for (int i = 0; i < 4; i++) b[at + i] = (unsigned char)((unsigned)v >> (8 * i));
}
void put16(bytes &b, size_t at, int v)
{
    b[at] = (unsigned char)(v & 0xff);
    b[at + 1] = (unsigned char)((v >> 8) & 0xff);
}

// A scratch folder per test, entered for the test and removed after it.
class LevelFiles : public TerrainTest {
protected:
    std::string dir, old_cwd;
    void SetUp() override
    {
        TerrainTest::SetUp();
        for (int i = 0; i < num_wpts; i++) wpt[i].state = 0;
        for (int i = 0; i < num_bonuses; i++) bonus[i].state = 0;
        level_desc = default_level_description(-1);     // files as before level sections
        char tmpl[] = "/tmp/hh_level_XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = tmpl;
        char cwd[4096];
        ASSERT_NE(getcwd(cwd, sizeof(cwd)), nullptr);
        old_cwd = cwd;
        ASSERT_EQ(chdir(dir.c_str()), 0);
    }
    void TearDown() override
    {
        if (chdir(old_cwd.c_str()) != 0) ADD_FAILURE();
        chmod(dir.c_str(), 0755);
        std::string cmd = "rm -rf '" + dir + "'";
        if (system(cmd.c_str()) != 0) ADD_FAILURE();
    }
};

// Every field of every used record set to something distinct, in scattered
// slots, with the links and indices a level really has.
void fill_random_level(void)
{
    srand(77);
    auto frand = [] { return (rand() % 200000 - 100000) / 1000.0; };
    std::vector<int> vs;
    for (int i = 0; i < 300; i++) {
        int slot = rand() % num_tvs;
        tv[slot] = terrain_vertex_struct{(float)frand(), (float)frand(), (char)(1 + rand() % 3)};
        vs.push_back(slot);
    }
    auto v = [&] { return vs[rand() % vs.size()]; };
    for (int i = 0; i < 200; i++)
        jnt[rand() % num_jnts] = jnt_struct{1, {v(), v()}, {rand() % 50 - 1, rand() % 50 - 1},
                                           (short)(1 + rand() % 3)};
    for (int i = 0; i < 200; i++) {
        short quad = (short)(rand() % 2);
        ply[rand() % num_plys] = ply_struct{1, {v(), v(), v(), quad ? v() : -1}, quad,
                                           (short)(rand() % num_tex_slots), (char)(rand() % 3)};
    }
    for (int i = 0; i < 100; i++)
        bdr[rand() % num_bdrs] = bdr_struct{1, {v(), v()}, {v(), v()}, (short)(rand() % 30 - 1),
                                           (short)(rand() % 30 - 1), (short)(rand() % 3),
                                           (short)(rand() % num_tex_slots), (short)(rand() % 9 - 4),
                                           (float)frand(), (float)frand()};
    for (int i = 0; i < 100; i++)
        dad[rand() % num_dads] = dad_struct{2, (float)frand(), (float)frand(), (float)frand(),
                                           rand() % num_tex_slots, rand() % 2,
                                           (short)(rand() % 128), (short)(rand() % 128), (char)(rand() % 3)};
    for (int i = 0; i < 50; i++)
        wpt[rand() % num_wpts] = wpt_struct{1, frand(), frand(), rand() % 30};
    for (int i = 0; i < 50; i++)
        bonus[rand() % num_bonuses] = bonus_struct{1, frand(), frand(), (short)(rand() % 4)};
    // A chain only links borders in use: the reader refuses links to free ones.
    for (int i = 0; i < num_bdrs; i++) {
        if (!bdr[i].state) continue;
        if (bdr[i].last_b != -1 && !bdr[bdr[i].last_b].state) bdr[i].last_b = -1;
        if (bdr[i].next_b != -1 && !bdr[bdr[i].next_b].state) bdr[i].next_b = -1;
    }
}

template <typename T> std::vector<T> copy_of(const T *t, int n) { return std::vector<T>(t, t + n); }

}  // namespace

TEST_F(LevelFiles, SaveThenLoadGivesIdenticalRecordsSlotForSlot)
{
    fill_random_level();
    auto tvs = copy_of(tv, num_tvs);
    auto jnts = copy_of(jnt, num_jnts);
    auto plys = copy_of(ply, num_plys);
    auto bdrs = copy_of(bdr, num_bdrs);
    auto dads = copy_of(dad, num_dads);
    auto wpts = copy_of(wpt, num_wpts);
    auto bonuses = copy_of(bonus, num_bonuses);
    save_terrain(2);
    load_plain_level();
    for (int i = 0; i < num_wpts; i++) wpt[i].state = 0;
    for (int i = 0; i < num_bonuses; i++) bonus[i].state = 0;
    testing::internal::CaptureStderr();
    load_terrain(2);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

    for (int i = 0; i < num_tvs; i++) {
        ASSERT_EQ(tv[i].state, tvs[i].state) << i;
        if (!tv[i].state) continue;
        ASSERT_EQ(tv[i].x, tvs[i].x);
        ASSERT_EQ(tv[i].y, tvs[i].y);
    }
    for (int i = 0; i < num_jnts; i++) {
        ASSERT_EQ(jnt[i].state, jnts[i].state) << i;
        if (!jnt[i].state) continue;
        ASSERT_EQ(memcmp(jnt[i].tvn, jnts[i].tvn, sizeof(jnt[i].tvn)), 0);
        ASSERT_EQ(memcmp(jnt[i].njnt, jnts[i].njnt, sizeof(jnt[i].njnt)), 0);
        ASSERT_EQ(jnt[i].type, jnts[i].type);
    }
    for (int i = 0; i < num_plys; i++) {
        ASSERT_EQ(ply[i].state, plys[i].state) << i;
        if (!ply[i].state) continue;
        ASSERT_EQ(memcmp(ply[i].tvn, plys[i].tvn, sizeof(ply[i].tvn)), 0);
        ASSERT_EQ(ply[i].type, plys[i].type);
        ASSERT_EQ(ply[i].x, plys[i].x);
        ASSERT_EQ(ply[i].layer, plys[i].layer);
    }
    for (int i = 0; i < num_bdrs; i++) {
        ASSERT_EQ(bdr[i].state, bdrs[i].state) << i;
        if (!bdr[i].state) continue;
        const bdr_struct &a = bdr[i], &b = bdrs[i];
        ASSERT_TRUE(a.tvn[0] == b.tvn[0] && a.tvn[1] == b.tvn[1] && a.tva[0] == b.tva[0] &&
                    a.tva[1] == b.tva[1] && a.last_b == b.last_b && a.next_b == b.next_b &&
                    a.type == b.type && a.x == b.x && a.wpn == b.wpn &&
                    a.tex_offset == b.tex_offset && a.tex_len == b.tex_len) << i;
    }
    for (int i = 0; i < num_dads; i++) {
        ASSERT_EQ(dad[i].state, dads[i].state) << i;
        if (!dad[i].state) continue;
        const dad_struct &a = dad[i], &b = dads[i];
        ASSERT_TRUE(a.px == b.px && a.py == b.py && a.ang == b.ang && a.pic == b.pic &&
                    a.type == b.type && a.sx == b.sx && a.sy == b.sy && a.layer == b.layer) << i;
    }
    for (int i = 0; i < num_wpts; i++) {
        ASSERT_EQ(wpt[i].state, wpts[i].state) << i;
        if (!wpt[i].state) continue;
        ASSERT_TRUE(wpt[i].px == wpts[i].px && wpt[i].py == wpts[i].py && wpt[i].cnt == wpts[i].cnt);
    }
    for (int i = 0; i < num_bonuses; i++) {
        ASSERT_EQ(bonus[i].state, bonuses[i].state) << i;
        if (!bonus[i].state) continue;
        ASSERT_TRUE(bonus[i].px == bonuses[i].px && bonus[i].py == bonuses[i].py &&
                    bonus[i].type == bonuses[i].type);
    }

    // A second save of what was read writes the same bytes again.
    bytes first = read_bytes("map2.trn");
    save_terrain(2);
    EXPECT_EQ(read_bytes("map2.trn"), first);
    EXPECT_EQ(read_bytes("map2.trn.bak"), first);
}

// The exact images: header counts, slot before each record, fields at their
// offsets, padding zero whatever memory held.
TEST_F(LevelFiles, WrittenRecordImagesAreExactWithZeroPadding)
{
    memset(&jnt[3], 0xAB, sizeof(jnt_struct));         // dirty padding in memory
    int a = vtx(1.5, -2), b = vtx(0.25, 4);
    jnt[3].state = 1;
    jnt[3].tvn[0] = a;
    jnt[3].tvn[1] = b;
    jnt[3].njnt[0] = -1;
    jnt[3].njnt[1] = 258;
    jnt[3].type = 2;
    bonus[7] = bonus_struct{1, 0.5, -0.5, 3};
    ASSERT_EQ(save_terrain_file("map9.trn"), 1);
    bytes got = read_bytes("map9.trn");
    bytes want(40, 0);
    put32(want, 0, 2);
    put32(want, 4, 1);
    put32(want, 24, 1);
    auto append = [&](const bytes &b) { want.insert(want.end(), b.begin(), b.end()); };
    bytes v0(16, 0), v1(16, 0), j(28, 0), bo(36, 0);
    float fx;
    put32(v0, 0, 0);
    fx = 1.5f; memcpy(&v0[4], &fx, 4);
    fx = -2.0f; memcpy(&v0[8], &fx, 4);
    v0[12] = 1;
    put32(v1, 0, 1);
    fx = 0.25f; memcpy(&v1[4], &fx, 4);
    fx = 4.0f; memcpy(&v1[8], &fx, 4);
    v1[12] = 1;
    put32(j, 0, 3);
    j[4] = 1;
    put32(j, 8, 0);
    put32(j, 12, 1);
    put32(j, 16, -1);
    put32(j, 20, 258);
    put16(j, 24, 2);
    put32(bo, 0, 7);
    bo[4] = 1;
    double d = 0.5; memcpy(&bo[12], &d, 8);
    d = -0.5; memcpy(&bo[20], &d, 8);
    put16(bo, 28, 3);
    append(v0);
    append(v1);
    append(j);
    append(bo);
    EXPECT_EQ(got, want);
}

TEST_F(LevelFiles, AHeaderAloneIsAValidEmptyLevel)
{
    new_jnt(vtx(0, 0), vtx(1, 1), 1);
    write_bytes("map3.trn", bytes(40, 0));
    testing::internal::CaptureStderr();
    EXPECT_EQ(load_terrain_file("map3.trn"), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(jnt[0].state, 0);
    EXPECT_EQ(tv[0].state, 0);
    // A byte after the records that does not start a level section is refused.
    bytes trailing(40, 0);
    trailing.push_back(0x55);
    write_bytes("map3.trn", trailing);
    testing::internal::CaptureStderr();
    EXPECT_EQ(load_terrain_file("map3.trn"), 0);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("stray"), std::string::npos);
}

// A small valid level: 3 vertices, then one record of each other kind.
// Offsets of each entry (slot index, then the image) follow from the sizes.
const size_t at_tv = 40, at_jnt = at_tv + 3 * 16, at_ply = at_jnt + 28, at_bdr = at_ply + 32,
             at_dad = at_bdr + 44, at_wpt = at_dad + 36, at_bonus = at_wpt + 36,
             at_end = at_bonus + 36;

static bytes small_valid_level(void)
{
    load_plain_level();
    int a = vtx(0, 0), b = vtx(1, 0), c = vtx(1, 1);
    new_jnt(a, b, 1);
    ply[0] = ply_struct{1, {a, b, c, -1}, 0, 5, 1};
    bdr[0] = bdr_struct{1, {a, b}, {c, c}, -1, -1, 0, 3, 0, 0, 1};
    dad[0] = dad_struct{1, 0, 0, 0, 2, 0, 32, 32, 0};
    wpt[0] = wpt_struct{1, 1, 2, 0};
    bonus[0] = bonus_struct{1, 3, 4, 1};
    EXPECT_EQ(save_terrain_file("valid.trn"), 1);
    wpt[0].state = 0;
    bonus[0].state = 0;
    bytes b0 = read_bytes("valid.trn");
    EXPECT_EQ(b0.size(), at_end);
    return b0;
}

struct malformed_case {
    const char *what;
    void (*spoil)(bytes &b);
};

static const malformed_case malformed_cases[] = {
    {"empty file", [](bytes &b) { b.clear(); }},
    {"truncated header", [](bytes &b) { b.resize(20); }},
    {"truncated record", [](bytes &b) { b.resize(at_end - 3); }},
    {"record missing", [](bytes &b) { b.resize(at_bonus); }},
    {"negative count", [](bytes &b) { put32(b, 8, -1); }},
    {"count above capacity", [](bytes &b) { put32(b, 4, num_jnts + 1); }},
    {"huge count", [](bytes &b) { put32(b, 0, 0x7fffffff); }},
    {"vertex slot out of range", [](bytes &b) { put32(b, at_tv + 16, num_tvs); }},
    {"negative joint slot", [](bytes &b) { put32(b, at_jnt, -1); }},
    {"waypoint slot out of range", [](bytes &b) { put32(b, at_wpt, num_wpts); }},
    {"bonus slot out of range", [](bytes &b) { put32(b, at_bonus, 5000); }},
    {"joint vertex out of range", [](bytes &b) { put32(b, at_jnt + 4 + 8, num_tvs); }},
    {"joint vertex negative", [](bytes &b) { put32(b, at_jnt + 4 + 4, -1); }},
    {"joint neighbour out of range", [](bytes &b) { put32(b, at_jnt + 4 + 12, num_jnts); }},
    {"joint neighbour below -1", [](bytes &b) { put32(b, at_jnt + 4 + 16, -2); }},
    {"polygon vertex out of range", [](bytes &b) { put32(b, at_ply + 4 + 8, 123456); }},
    {"polygon fourth corner below -1", [](bytes &b) { put32(b, at_ply + 4 + 16, -5); }},
    {"quad without a fourth corner", [](bytes &b) { put16(b, at_ply + 4 + 20, 1); }},
    {"polygon texture out of range", [](bytes &b) { put16(b, at_ply + 4 + 22, num_tex_slots); }},
    {"polygon texture negative", [](bytes &b) { put16(b, at_ply + 4 + 22, -1); }},
    {"polygon type out of range", [](bytes &b) { put16(b, at_ply + 4 + 20, 20); }},
    {"border vertex out of range", [](bytes &b) { put32(b, at_bdr + 4 + 4, num_tvs); }},
    {"border outer vertex out of range", [](bytes &b) { put32(b, at_bdr + 4 + 16, -1); }},
    {"border chain next out of range", [](bytes &b) { put16(b, at_bdr + 4 + 22, num_bdrs); }},
    {"border chain last below -1", [](bytes &b) { put16(b, at_bdr + 4 + 20, -2); }},
    {"border texture out of range", [](bytes &b) { put16(b, at_bdr + 4 + 26, 200); }},
    {"border type out of range", [](bytes &b) { put16(b, at_bdr + 4 + 24, -1); }},
    {"doodad picture out of range", [](bytes &b) { put32(b, at_dad + 4 + 16, num_tex_slots); }},
    {"doodad type out of range", [](bytes &b) { put32(b, at_dad + 4 + 20, 1000); }},
    {"bonus type out of range", [](bytes &b) { put16(b, at_bonus + 4 + 24, 4); }},
};

TEST_F(LevelFiles, MalformedFilesAreRefusedWholeAndTheLevelStartsEmpty)
{
    bytes valid = small_valid_level();
    ASSERT_EQ(load_terrain_file("valid.trn"), 1);
    ASSERT_EQ(jnt[0].state, 1);
    ASSERT_EQ(wpt[0].state, 1);
    for (const malformed_case &c : malformed_cases) {
        SCOPED_TRACE(c.what);
        bytes b = valid;
        c.spoil(b);
        write_bytes("map1.trn", b);
        for (int i = 0; i < num_wpts; i++) wpt[i].state = 0;
        for (int i = 0; i < num_bonuses; i++) bonus[i].state = 0;
        testing::internal::CaptureStderr();
        load_terrain(1);
        std::string err = testing::internal::GetCapturedStderr();
        EXPECT_NE(err.find("map1.trn"), std::string::npos) << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        for (int i = 0; i < 3; i++) EXPECT_EQ(tv[i].state, 0);
        EXPECT_EQ(jnt[0].state, 0);
        EXPECT_EQ(ply[0].state, 0);
        EXPECT_EQ(bdr[0].state, 0);
        EXPECT_EQ(dad[0].state, 0);
        EXPECT_EQ(wpt[0].state, 0);
        EXPECT_EQ(bonus[0].state, 0);
        EXPECT_EQ(region[cell_of(100, 50)].jnt_x, 0);
    }
    // The valid file, for contrast, fills the tables and the grid.
    EXPECT_EQ(load_terrain_file("valid.trn"), 1);
    EXPECT_EQ(jnt[0].state, 1);
    EXPECT_EQ(region[cell_of(100, 50)].jnt_x, 1);
}

TEST_F(LevelFiles, AMissingFileGivesAnEmptyLevelSilently)
{
    new_jnt(vtx(0, 0), vtx(1, 1), 1);
    testing::internal::CaptureStderr();
    load_terrain(3);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(jnt[0].state, 0);
}

// Runs the save in a child without root's override of file permissions, so
// that a read-only folder really is unwritable. data_home, when given, is the
// user's data folder of the child.
static int save_as_unprivileged(int lev, const char *data_home = nullptr)
{
    pid_t pid = fork();
    if (pid == 0) {
        if (data_home) setenv("HILLHOPPER_DATA_HOME", data_home, 1);
        else setenv("HILLHOPPER_DATA_HOME", "/nonexistent/hillhopper", 1);
        if (geteuid() == 0 && setuid(65534) != 0) _exit(3);
        save_terrain(lev);
        _exit(0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// An installed game's folder is not writable: the save goes to the user's
// levels folder under the same name; when that cannot be made either, the
// save fails and the old file and its backup stay as they were.
TEST_F(LevelFiles, ASaveIntoAnUnwritableFolderGoesToTheUserFolderOrLeavesTheOldFile)
{
    small_valid_level();
    write_bytes("map4.trn", bytes{1, 2, 3, 4, 5});
    write_bytes("map4.trn.bak", bytes{9, 9});
    chmod("map4.trn", 0644);
    chmod("map4.trn.bak", 0644);
    new_jnt(vtx(5, 5), vtx(6, 6), 1);
    std::string home = dir + "/home";
    ASSERT_EQ(mkdir(home.c_str(), 0777), 0);
    ASSERT_EQ(chmod(home.c_str(), 0777), 0);
    ASSERT_EQ(chmod(dir.c_str(), 0555), 0);
    ASSERT_EQ(chmod(".", 0555), 0);

    ASSERT_EQ(save_as_unprivileged(4), 0);
    EXPECT_EQ(read_bytes("map4.trn"), (bytes{1, 2, 3, 4, 5}));
    EXPECT_EQ(read_bytes("map4.trn.bak"), (bytes{9, 9}));
    EXPECT_NE(access("map4.trn.tmp", F_OK), 0);

    ASSERT_EQ(save_as_unprivileged(4, home.c_str()), 0);
    chmod(dir.c_str(), 0755);
    EXPECT_EQ(read_bytes("map4.trn"), (bytes{1, 2, 3, 4, 5}));
    EXPECT_EQ(read_bytes("map4.trn.bak"), (bytes{9, 9}));
    ASSERT_EQ(load_terrain_file((home + "/levels/map4.trn").c_str()), 1);
    EXPECT_EQ(jnt[1].state, 1) << "the edited level, with its added joint";
    EXPECT_NE(access((home + "/levels/map4.trn.bak").c_str(), F_OK), 0) << "nothing to back up there";
}

// The data folder can be given from outside: a level is read from there and
// saved back there when it is writable.
TEST_F(LevelFiles, LevelsAreReadFromAndSavedToTheGameDataFolder)
{
    std::string data = dir + "/data";
    ASSERT_EQ(mkdir(data.c_str(), 0755), 0);
    setenv("HILLHOPPER_GAME_DATA", data.c_str(), 1);
    EXPECT_EQ(level_load_path(2), data + "/map2.trn");
    EXPECT_EQ(level_save_path(2), data + "/map2.trn");
    small_valid_level();
    save_terrain(2);
    unsetenv("HILLHOPPER_GAME_DATA");
    EXPECT_NE(access("map2.trn", F_OK), 0) << "nothing lands in the current folder";
    ASSERT_EQ(load_terrain_file((data + "/map2.trn").c_str()), 1);
    EXPECT_EQ(jnt[0].state, 1);
}

TEST_F(LevelFiles, ASaveThatFailsMidWriteLeavesTheOldFileAndSaysSo)
{
    if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full here";
    small_valid_level();
    bytes old = {9, 8, 7, 6, 5, 4, 3, 2, 1};
    write_bytes("map6.trn", old);
    // The temporary file turns out to live on a device that is always full.
    ASSERT_EQ(symlink("/dev/full", "map6.trn.tmp"), 0);
    testing::internal::CaptureStderr();
    save_terrain(6);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("map6.trn"), std::string::npos);
    EXPECT_NE(err.find("unchanged"), std::string::npos);
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1);
    EXPECT_EQ(read_bytes("map6.trn"), old);
    EXPECT_NE(access("map6.trn.bak", F_OK), 0);
    struct stat st;
    EXPECT_NE(lstat("map6.trn.tmp", &st), 0) << "the link is cleaned up";
    EXPECT_EQ(access("/dev/full", F_OK), 0);

    // The next save works and keeps the old file as the backup.
    testing::internal::CaptureStderr();
    save_terrain(6);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(read_bytes("map6.trn.bak"), old);
    ASSERT_EQ(save_terrain_file("again.trn"), 1);
    EXPECT_EQ(read_bytes("map6.trn"), read_bytes("again.trn"));
    EXPECT_GT(read_bytes("map6.trn").size(), 40u);
}

TEST_F(LevelFiles, LevelStartValues)
{
    headless_world();
    load_level(7);
    EXPECT_EQ(f[F_START_X], 0);
    EXPECT_EQ(f[F_START_Y], 0);
    EXPECT_EQ(f[F_START_ANG], 0);
    EXPECT_EQ(f[F_TIME], 75);
    EXPECT_EQ(j[J_START_GRACE], 100);
    EXPECT_EQ(camera_track, 1);
    EXPECT_EQ(scr_px, 0);
    for (int i = 0; i < num_jnts; i++) ASSERT_EQ(jnt[i].state, 0);

    // A stored level number reads its file from the current folder; a file
    // without a level section starts from the table values.
    level_desc.present = false;
    small_valid_level();
    save_terrain(2);
    load_plain_level();
    j[J_LOST] = 1;
    f[F_POWER] = 50;
    camera_track = 0;
    load_level(2);
    EXPECT_EQ(jnt[0].state, 1);
    EXPECT_DOUBLE_EQ(f[F_START_X], -74.61);
    EXPECT_DOUBLE_EQ(f[F_START_Y], 34.61);
    EXPECT_DOUBLE_EQ(f[F_START_ANG], Z_PI - 0.1);
    EXPECT_EQ(f[F_TIME], 30);
    EXPECT_EQ(j[J_LOST], 0);
    EXPECT_EQ(f[F_POWER], 0);
    EXPECT_EQ(camera_track, 1);
    EXPECT_DOUBLE_EQ(scr_px, -74.61);
    EXPECT_DOUBLE_EQ(scr_py, 34.61);
    EXPECT_EQ(body[0].state, 1);
    EXPECT_DOUBLE_EQ(body[0].x, -74.61);

    // A missing file for a stored level still gives its start values.
    load_level(0);
    EXPECT_EQ(jnt[0].state, 0);
    EXPECT_DOUBLE_EQ(f[F_START_X], -64.2);
    EXPECT_EQ(f[F_TIME], 50);
    EXPECT_DOUBLE_EQ(level_start_values(3).x, -63.1437);
    EXPECT_DOUBLE_EQ(level_start_values(3).y, 13.448);
    EXPECT_EQ(level_start_values(-1).time, 75);
}

// ---- the level section -----------------------------------------------------

namespace {

// small_valid_level leaves no waypoint and no bonus: the records end with
// the doodad, and the section follows.
const size_t section_size = 12 + 168 + 4;
const size_t at_section = at_wpt;
const size_t at_body = at_section + 12;

level_description sample_description(void)
{
    level_description d = default_level_description(-1);
    d.present = true;
    d.start_x = -12.345678901234567;
    d.start_y = 7.000000000000001;
    d.start_ang = Z_PI - 0.1;
    d.time = 42.5;
    d.music = MUS_HIVE_RUSH;
    set_level_name(&d, NAME_EN, "Lamp Light");
    set_level_name(&d, NAME_DE, "Lampenlicht \xc3\xa4\xc3\xb6\xc3\xbc\xc3\x9f");
    return d;
}

// CRC-32 as the writer makes it, so that value cases reach the value checks.
void reseal(bytes &b)
{
    uint32_t c = 0xffffffffu;
    for (size_t i = at_section; i < at_section + 12 + 168; i++) {
        c ^= b[i];
        for (int k = 0; k < 8; k++) c = (c >> 1) ^ (0xedb88320u & (0u - (c & 1)));
    }
    put32(b, at_section + 12 + 168, (int)(c ^ 0xffffffffu));
}

void put_double(bytes &b, size_t at, double v)
{
    uint64_t u;
    memcpy(&u, &v, 8);
    for (int i = 0; i < 8; i++) b[at + i] = (unsigned char)(u >> (8 * i));
}

struct section_case {
    const char *what;
    const char *says;           // a word the message must hold
    void (*spoil)(bytes &b);
};

const section_case section_cases[] = {
    {"wrong tag", "stray", [](bytes &b) { b[at_section] = 'X'; }},
    {"a few bytes of a tag", "stray", [](bytes &b) { b.resize(at_section + 3); }},
    {"newer version", "version", [](bytes &b) { put32(b, at_section + 4, 2); reseal(b); }},
    {"version 0", "version", [](bytes &b) { put32(b, at_section + 4, 0); reseal(b); }},
    {"body length differs", "body", [](bytes &b) { put32(b, at_section + 8, 167); }},
    {"huge body length", "body", [](bytes &b) { put32(b, at_section + 8, -1); }},
    {"truncated body", "truncated", [](bytes &b) { b.resize(at_section + 100); }},
    {"checksum missing", "truncated", [](bytes &b) { b.resize(b.size() - 1); }},
    {"stray byte after it", "stray", [](bytes &b) { b.push_back(0); }},
    {"a second section", "stray", [](bytes &b) { bytes s(b.begin() + at_section, b.end()); b.insert(b.end(), s.begin(), s.end()); }},
    {"checksum wrong", "checksum", [](bytes &b) { b[b.size() - 1] ^= 1; }},
    {"body changed under the checksum", "checksum", [](bytes &b) { b[at_body + 30] ^= 4; }},
    {"start x not a number", "start", [](bytes &b) { put_double(b, at_body, NAN); reseal(b); }},
    {"start x infinite", "start", [](bytes &b) { put_double(b, at_body, INFINITY); reseal(b); }},
    {"start beyond the level", "start", [](bytes &b) { put_double(b, at_body + 8, 40.5); reseal(b); }},
    {"start angle huge", "angle", [](bytes &b) { put_double(b, at_body + 16, 1e300); reseal(b); }},
    {"no time", "time", [](bytes &b) { put_double(b, at_body + 24, 0); reseal(b); }},
    {"negative time", "time", [](bytes &b) { put_double(b, at_body + 24, -50); reseal(b); }},
    {"time beyond the clock", "time", [](bytes &b) { put_double(b, at_body + 24, 1e9); reseal(b); }},
    {"unknown sky", "sky", [](bytes &b) { put32(b, at_body + 32, NUM_SKIES); reseal(b); }},
    {"negative sky", "sky", [](bytes &b) { put32(b, at_body + 32, -1); reseal(b); }},
    {"unknown music", "music", [](bytes &b) { put32(b, at_body + 36, NUM_MUSIC_TRACKS); reseal(b); }},
    {"music below rotation", "music", [](bytes &b) { put32(b, at_body + 36, -2); reseal(b); }},
    {"name without its NUL", "English", [](bytes &b) { memset(&b[at_body + 40], 'a', 64); reseal(b); }},
    {"bytes after the name's NUL", "English", [](bytes &b) { b[at_body + 40 + 60] = 'x'; reseal(b); }},
    {"control character in a name", "German", [](bytes &b) { b[at_body + 104 + 2] = '\n'; reseal(b); }},
    {"name cut inside a character", "German", [](bytes &b) { b[at_body + 104 + 12] = (char)0xc3; b[at_body + 104 + 13] = 0; reseal(b); }},
    {"overlong encoding", "English", [](bytes &b) { b[at_body + 40] = (char)0xc0; b[at_body + 41] = (char)0x80; reseal(b); }},
};

}  // namespace

TEST_F(LevelFiles, ALevelSectionRoundTripsBitForBitAndOlderReadersSkipNothing)
{
    small_valid_level();
    level_desc = sample_description();
    level_description want = level_desc;
    ASSERT_EQ(save_terrain_file("with.trn"), 1);
    bytes b = read_bytes("with.trn");
    ASSERT_EQ(b.size(), at_section + section_size);
    EXPECT_EQ(memcmp(&b[at_section], "HHLV", 4), 0);
    // The records ahead of the section are those of a file without one.
    level_desc.present = false;
    ASSERT_EQ(save_terrain_file("valid.trn"), 1);
    level_desc.present = true;
    bytes plain = read_bytes("valid.trn");
    ASSERT_EQ(plain.size(), at_section);
    EXPECT_TRUE(std::equal(plain.begin(), plain.end(), b.begin()));

    level_desc = default_level_description(-1);
    ASSERT_EQ(load_terrain_file("with.trn"), 1);
    EXPECT_TRUE(level_desc.present);
    EXPECT_EQ(memcmp(&level_desc.start_x, &want.start_x, 8), 0);
    EXPECT_EQ(memcmp(&level_desc.start_y, &want.start_y, 8), 0);
    EXPECT_EQ(memcmp(&level_desc.start_ang, &want.start_ang, 8), 0);
    EXPECT_EQ(level_desc.time, 42.5);
    EXPECT_EQ(level_desc.sky, SKY_DAY);
    EXPECT_EQ(level_desc.music, MUS_HIVE_RUSH);
    EXPECT_STREQ(level_desc.name[NAME_DE], want.name[NAME_DE]);
    EXPECT_EQ(jnt[0].state, 1);
    ASSERT_EQ(save_terrain_file("again.trn"), 1);
    EXPECT_EQ(read_bytes("again.trn"), b);

    // A file without the section reads as one without a description.
    ASSERT_EQ(load_terrain_file("valid.trn"), 1);
    EXPECT_FALSE(level_desc.present);

    // Every sky is read back as written (past the last one is refused below).
    for (int sky = 0; sky < NUM_SKIES; sky++) {
        level_desc = want;
        level_desc.sky = sky;
        ASSERT_EQ(save_terrain_file("sky.trn"), 1) << "sky " << sky;
        level_desc = default_level_description(-1);
        ASSERT_EQ(load_terrain_file("sky.trn"), 1) << "sky " << sky;
        EXPECT_EQ(level_desc.sky, sky);
    }
}

TEST_F(LevelFiles, BrokenLevelSectionsAreRefusedWholeWithTheirReason)
{
    small_valid_level();
    level_desc = sample_description();
    ASSERT_EQ(save_terrain_file("with.trn"), 1);
    const bytes valid = read_bytes("with.trn");
    for (const section_case &c : section_cases) {
        SCOPED_TRACE(c.what);
        bytes b = valid;
        c.spoil(b);
        write_bytes("map1.trn", b);
        level_desc = sample_description();
        testing::internal::CaptureStderr();
        load_terrain(1);
        std::string err = testing::internal::GetCapturedStderr();
        EXPECT_NE(err.find("map1.trn"), std::string::npos) << err;
        EXPECT_NE(err.find(c.says), std::string::npos) << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_EQ(jnt[0].state, 0) << "the records of a refused file never reach the tables";
        EXPECT_FALSE(level_desc.present);
    }
    EXPECT_EQ(load_terrain_file("with.trn"), 1);
}

TEST_F(LevelFiles, TheSectionDecidesTheStartAndASaveNeverWritesAnUnreadableOne)
{
    headless_world();
    small_valid_level();
    level_desc = sample_description();
    save_terrain(2);
    load_level(2);
    EXPECT_EQ(f[F_START_X], -12.345678901234567);
    EXPECT_EQ(f[F_START_Y], 7.000000000000001);
    EXPECT_EQ(f[F_TIME], 42.5);
    EXPECT_EQ(body[0].x, -12.345678901234567);
    EXPECT_EQ(level_shown_name(level_desc, NAME_EN, 2), "Lamp Light");

    // Level 3 from before sections: table values, and the next save adds them.
    level_desc.present = false;
    save_terrain(3);
    load_level(3);
    EXPECT_TRUE(level_desc.present);
    EXPECT_EQ(f[F_START_X], -63.1437);
    EXPECT_EQ(level_shown_name(level_desc, NAME_DE, 3), "Stufe 4");
    save_terrain(3);
    level_desc = default_level_description(-1);
    ASSERT_EQ(load_terrain_file("map3.trn"), 1);
    EXPECT_EQ(level_desc.start_y, 13.448);
    EXPECT_EQ(level_desc.time, 30);

    // A description the reader would refuse is not written at all.
    bytes before = read_bytes("map3.trn");
    level_desc.time = 0;
    testing::internal::CaptureStderr();
    EXPECT_EQ(save_terrain_file("map3.trn"), 0);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("time allowed"), std::string::npos) << err;
    EXPECT_EQ(read_bytes("map3.trn"), before);
}

TEST(LevelNames, NamesAreCutAtACharacterAndCleaned)
{
    level_description d = default_level_description(-1);
    std::string umlauts;
    for (int i = 0; i < 40; i++) umlauts += "\xc3\xa4";        // 80 bytes of "ä"
    set_level_name(&d, NAME_DE, umlauts.c_str());
    EXPECT_EQ(strlen(d.name[NAME_DE]), 62u) << "31 whole letters, never half of one";
    set_level_name(&d, NAME_EN, "Tab\there\xff!");
    EXPECT_STREQ(d.name[NAME_EN], "Tab?here?!");
    set_level_name(&d, 7, "ignored");
    const char *why = nullptr;
    EXPECT_TRUE(level_description_ok(d, &why));
    EXPECT_EQ(level_shown_name(d, NAME_DE, 0), umlauts.substr(0, 62));
    set_level_name(&d, NAME_DE, "");
    EXPECT_EQ(level_shown_name(d, NAME_DE, 0), "Tab?here?!") << "the English name stands in";
    set_level_name(&d, NAME_EN, "");
    EXPECT_EQ(level_shown_name(d, NAME_EN, 11), "Stage 12");
}
