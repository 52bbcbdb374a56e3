// Hives, stinging plants and swarms through the real frame loop.
#include <cstdlib>
#include "level_fixture.h"
#include "hillhopper.h"
#include "slots.h"
#include "doodads.h"
#include "bonusnparticle.h"
#include "bees.h"

static int live_swarms(void)
{
    int n = 0;
    for (int s = 0; s < num_bees; s++) n += bees[s].state != 0;
    return n;
}

static int place_doodad(double x, double y, int pic)
{
    return new_dad(x, y, 0, pic, 0, 0);
}

TEST(Hives, AHiveReleasesOneSwarmAndADisturbedHiveNothing)
{
    fresh_level(0, 0);
    srand(7);
    int hive = place_doodad(0.1, 0, DAD_HIVE);
    int old = place_doodad(-0.1, 0, DAD_HIVE_DISTURBED);
    frames_holding(5, 0, 0);
    EXPECT_EQ(dad[hive].pic, DAD_HIVE_DISTURBED);
    EXPECT_EQ(dad[old].pic, DAD_HIVE_DISTURBED);
    ASSERT_EQ(live_swarms(), 1);
    EXPECT_FLOAT_EQ(bees[0].hx, 0.1f);
    EXPECT_FLOAT_EQ(bees[0].hy, 0.0f);

    fresh_level(0, 0);
    place_doodad(0, 0.05, DAD_HIVE_DISTURBED);
    frames_holding(20, 0, 0);
    EXPECT_EQ(live_swarms(), 0);
}

TEST(Hives, AFullSwarmTableStillDisturbsTheHive)
{
    fresh_level(0, 0);
    for (int s = 0; s < num_bees; s++) new_bees(40, 30);
    int hive = place_doodad(0, 0, DAD_HIVE);
    frames_holding(1, 0, 0);
    EXPECT_EQ(dad[hive].pic, DAD_HIVE_DISTURBED);
    EXPECT_EQ(live_swarms(), num_bees);
    for (int s = 0; s < num_bees; s++) EXPECT_FLOAT_EQ(bees[s].hx, 40.0f);
}

// A bee comes every 5th frame of the first 130; a full particle table leaves
// the entry at -1 and a later hatch fills it once there is room.
TEST(Swarms, BeesHatchAtTheHiveAndWaitForRoom)
{
    fresh_level(0, 0);
    srand(11);
    new_bees(30, 30);
    frames_holding(125, 0, 0);
    for (int k = 0; k < bees_per_swarm; k++) {
        ASSERT_GE(bees[0].pn[k], 0);
        EXPECT_EQ(particle[bees[0].pn[k]].type, PART_BEE);
        EXPECT_EQ(particle[bees[0].pn[k]].a, 0);
    }

    fresh_level(0, 0);
    new_bees(30, 30);
    for (int i = 0; i < num_particles; i++) new_particle(0, 0, 0, 0, 0, 0, PART_BEE);
    frames_holding(10, 0, 0);               // two hatches into a full table
    EXPECT_EQ(bees[0].pn[0], -1);
    particle[3].state = 0;
    frames_holding(5, 0, 0);
    EXPECT_EQ(bees[0].pn[0], 3);
    EXPECT_EQ(bees[0].pn[1], -1);
}

// A chasing swarm on the player bites once per frame; past 100 bites the
// controls go for 100 frames from the next frame, and the count restarts.
TEST(Swarms, ASwarmOnThePlayerBitesOncePerFrameThenTheAttackFollows)
{
    fresh_level(0, 0);
    new_bees(0, 0);
    bees[0].cnt = 140;                      // it sets off on the next frame
    int attack_frame = -1;
    frames_holding(102, 0, 0, [&](int i) {
        if (i < 101) { EXPECT_EQ(j[J_BITES], i + 1); }
        if (i == 100) { EXPECT_EQ(j[J_BEE_ATTACK], 0); }
        if (attack_frame < 0 && j[J_BEE_ATTACK] == 100) attack_frame = i;
    });
    EXPECT_EQ(attack_frame, 101);
    EXPECT_EQ(j[J_BITES], 1);               // restarted, and this frame's bite counted

    // The H key is one of the controls: it does nothing while the attack lasts.
    int last = 0;
    frames_holding(99, 0, 0, [&](int i) {
        if (i % 4 == 0) set_key(KEY_H, true);
        if (i % 4 == 2) set_key(KEY_H, false);
        EXPECT_EQ(display_controls, 0);
        last = j[J_BEE_ATTACK];
    });
    EXPECT_EQ(last, 1);
    release_all_keys();
    frames_holding(1, 0, 0);
    EXPECT_EQ(j[J_BEE_ATTACK], 0);
}

TEST(Swarms, TwoSwarmsBiteTwicePerFrame)
{
    fresh_level(0, 0);
    new_bees(0, 0);
    new_bees(0.05, 0);
    bees[0].cnt = bees[1].cnt = 141;
    frames_holding(10, 0, 0);
    EXPECT_EQ(j[J_BITES], 20);
}

// Too far to reach: the swarm tires once per 10 frames and turns home after
// about 3000 frames of chase, then settles at its hive.
TEST(Swarms, ASwarmThatNeverReachesThePlayerGoesHome)
{
    fresh_level(70, 0);
    new_bees(-70, 0);
    bees[0].cnt = 140;
    int home_frame = -1;
    frames_holding(3200, 70, 0, [&](int i) {
        f[F_TIME] = 75;
        if (home_frame < 0 && bees[0].stage == 1) home_frame = i;
    });
    EXPECT_GE(home_frame, 2990);
    EXPECT_LE(home_frame, 3020);
    EXPECT_EQ(j[J_BITES], 0);
    frames_holding(4000, 70, 0, [&](int) { f[F_TIME] = 75; });
    EXPECT_NEAR(bees[0].px, -70, 0.5);
    EXPECT_EQ(bees[0].stage, 1);
}

// Coming back to the hive sends a returned swarm out again.
TEST(Swarms, ThePlayerAtTheHiveWakesAReturnedSwarm)
{
    fresh_level(5, 5);
    new_bees(5, 5);
    bees[0].cnt = 500;
    bees[0].stage = 1;
    bees[0].bites_given = 301;
    frames_holding(1, 5.1, 5);
    EXPECT_EQ(bees[0].stage, 0);
    EXPECT_LE(bees[0].bites_given, 1);
}

// Stings 10 frames apart push the load past 200 on the third: the player goes
// dark, puffs, and 30 frames on the clock is 0, the lost flag set and the
// time-out screen starts.
TEST(Plants, ThreeQuickStingsKillThePlayerAndTheTimeOutFollows)
{
    fresh_level(0, 0);
    srand(3);
    place_doodad(0, -0.1, DAD_PLANT_A);
    int stings = 0, prev_load = 0, death_started = -1, lost_at = -1;
    frames_holding(80, 0, 0, [&](int i) {
        if (j[J_STING_LOAD] > prev_load && death_started < 0) stings++;
        prev_load = j[J_STING_LOAD];
        if (i == 0) {
            EXPECT_EQ(j[J_STING_LOAD], 99);
            EXPECT_EQ(j[J_BEE_ATTACK], 99);
            EXPECT_EQ(j[J_TUMBLE], 29);
            EXPECT_EQ(j[J_STING_COOL], 9);
        }
        if (i == 5) { EXPECT_EQ(j[J_STING_LOAD], 94); }     // no sting while cooling down
        if (death_started < 0 && j[J_DEATH] != 0) death_started = i;
        if (lost_at < 0 && j[J_LOST]) lost_at = i;
    });
    EXPECT_EQ(stings, 3);
    EXPECT_EQ(death_started, 21);
    EXPECT_EQ(lost_at, death_started + 29);
    EXPECT_GT(j[J_PUFFS], 9000);
    EXPECT_GT(j[J_DEATH], 30);
    EXPECT_EQ(f[F_TIME], 0);
    EXPECT_EQ(camera_track, 0);
    EXPECT_GT(j[J_TIMEOUT_STEP], 0);
    int puffs = 0;
    for (int i = 0; i < num_particles; i++) puffs += particle[i].state && particle[i].type == PART_PUFF;
    EXPECT_GT(puffs, 0);
}

// A sting in the air does not lift the player but sets the timers.
TEST(Plants, AStingInTheAirLeavesTheVelocityAlone)
{
    fresh_level(0, 0);
    place_doodad(0, -0.1, DAD_PLANT_B);
    hold_player(0, 0);
    body[0].xx = 0.01;
    hives_check();
    EXPECT_EQ(body[0].xx, 0.01);
    EXPECT_EQ(body[0].jntn, -1);
    EXPECT_EQ(j[J_TUMBLE], 30);
    EXPECT_EQ(j[J_BEE_ATTACK], 100);
    EXPECT_EQ(j[J_PUFFS], 20);
    EXPECT_EQ(j[J_STING_LOAD], 100);
}
