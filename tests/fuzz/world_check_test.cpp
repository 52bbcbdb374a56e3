// The invariant checker that the soak and the fuzz targets rely on: a sound
// level start passes, and each kind of damage is named -- a checker that
// never fires would let every soak and fuzz run pass.
#include <cmath>
#include <cstdio>
#include <functional>
#include <limits>
#include <gtest/gtest.h>
#include "fuzz_harness.h"
#include "hillhopper.h"
#include "game.h"
#include "world_check.h"

namespace {

struct damage_case {
    const char *name;
    const char *named;          // a word the message must contain
    std::function<void()> harm;
};

const double nan_d = std::numeric_limits<double>::quiet_NaN();

int first_live(const char *kind)
{
    std::string k = kind;
    for (int i = 0; i < num_plys; i++) {
        if (k == "joint" && i < num_jnts && jnt[i].state) return i;
        if (k == "polygon" && ply[i].state) return i;
        if (k == "border" && i < num_bdrs && bdr[i].state) return i;
    }
    return 0;
}

const damage_case damage_cases[] = {
    {"player position NaN", "body 0", [] { body[0].x = nan_d; }},
    {"player speed infinite", "body 0", [] { body[0].yy = -INFINITY; }},
    {"player rides a joint out of range", "ridden joint", [] { body[0].jntn = num_jnts; }},
    {"player rides a free joint", "free joint", [] { body[0].jntn = num_jnts - 1; jnt[num_jnts - 1].state = 0; }},
    {"player's probe freed", "probe", [] { pnt[body[0].bodp[0].pntn].state = 0; }},
    {"player's probe out of range", "probe", [] { body[0].bodp[1].pntn = -3; }},
    {"player body freed", "body 0", [] { body[0].state = 0; }},
    {"joint vertex out of range", "joint", [] { jnt[first_live("joint")].tvn[1] = num_tvs; }},
    {"polygon corner out of range", "polygon", [] { ply[first_live("polygon")].tvn[3] = -7; }},
    {"border chain out of range", "border", [] { bdr[first_live("border")].next_b = num_bdrs; }},
    {"joint run past its list", "joint run", [] {
         for (int c = 0; c < map_sx * map_sy; c++)
             if (region[c].jnt_x) { region[c].jnt_n = jnt_list_size - 1; break; } }},
    {"polygon list entry out of range", "polygon entry", [] {
         for (int c = 0; c < map_sx * map_sy; c++)
             if (region[c].ply_x) { ply_list[region[c].ply_n] = num_plys; break; } }},
    {"particle NaN", "particle", [] { particle[5].state = 1; particle[5].px = nan_d; }},
    {"swarm bee out of range", "swarm", [] { bees[2].state = 1; bees[2].pn[3] = num_particles; }},
};

}  // namespace

// A shipped level, started and played for a moment by the fuzz harness.
static void played_level(void)
{
    std::string path = std::string(GAME_DATA_DIR) + "/map1.trn", bytes;
    FILE *fp = fopen(path.c_str(), "rb");
    ASSERT_NE(fp, nullptr) << path;
    char chunk[65536];
    size_t got;
    while ((got = fread(chunk, 1, sizeof(chunk), fp)) > 0) bytes.append(chunk, got);
    fclose(fp);
    ASSERT_EQ(fuzz_level_file((const uint8_t *)bytes.data(), bytes.size()), "");
}

TEST(WorldCheck, SoundLevelStartPassesAndEachDamageIsNamed)
{
    std::string error;
    ASSERT_TRUE(fuzz_setup(GAME_DATA_DIR, &error)) << error;
    for (const damage_case &c : damage_cases) {
        played_level();
        ASSERT_TRUE(jnt[first_live("joint")].state && ply[first_live("polygon")].state &&
                    bdr[first_live("border")].state);
        ASSERT_EQ(world_problem(), "") << "before " << c.name;
        c.harm();
        std::string s = world_problem();
        EXPECT_NE(s.find(c.named), std::string::npos) << c.name << ": \"" << s << "\"";
    }
    played_level();
    EXPECT_EQ(world_problem(), "");
}
