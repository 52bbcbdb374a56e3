// Bonuses and particles through the real frame loop. The HUD decays the power
// by x 0.995 after the collection of each frame.
#include <cmath>
#include <cstdlib>
#include "level_fixture.h"
#include "hillhopper.h"
#include "game.h"
#include "bonusnparticle.h"

static const double decay = 0.995;

static int live_particles(int type)
{
    int n = 0;
    for (int i = 0; i < num_particles; i++)
        if (particle[i].state && particle[i].type == type) n++;
    return n;
}

TEST(Bonuses, ALeafInItsFadeIsNotTakenAgainAndThenGoes)
{
    fresh_level(0, 0);
    new_bonus(0.05, 0, BONUS_LEAF);
    frames_holding(1, 0, 0);
    EXPECT_NEAR(f[F_POWER], 20 * decay, 1e-9);
    EXPECT_EQ(bonus[0].state, 2);
    frames_holding(24, 0, 0);               // fading: state 4 .. 50 while drawn
    EXPECT_NEAR(f[F_POWER], 20 * pow(decay, 25), 1e-9);
    EXPECT_EQ(bonus[0].state, 50);
    frames_holding(1, 0, 0);                // above 50: freed
    EXPECT_EQ(bonus[0].state, 0);
    EXPECT_NEAR(f[F_POWER], 20 * pow(decay, 26), 1e-9);
}

TEST(Bonuses, ASpikeWhileBoostingCostsNothingButStillBursts)
{
    fresh_level(0, 0);
    new_bonus(0, 0.1, BONUS_SPIKE);
    f[F_POWER] = 50;
    j[J_BOOST_TIMER] = 150;
    frames_holding(1, 0, 0);
    EXPECT_EQ(bonus[0].state, 0);
    EXPECT_NEAR(f[F_POWER], 50 * decay, 1e-9);
    EXPECT_EQ(live_particles(PART_SPIKE), 50);

    // The same touch on the ground without a boost brakes and costs 40.
    fresh_level(0, 0);
    new_bonus(0, 0.1, BONUS_SPIKE);
    f[F_POWER] = 50;
    body[0].xx = 0.1;
    body[0].yy = -0.05;
    body[0].jntvx = 0.2;
    collect_bonuses();
    EXPECT_NEAR(f[F_POWER], 10, 1e-9);
    EXPECT_NEAR(body[0].xx, 0.04, 1e-12);
    EXPECT_NEAR(body[0].yy, -0.02, 1e-12);
    EXPECT_NEAR(body[0].jntvx, 0.08, 1e-12);

    fresh_level(0, 0);
    new_bonus(0, 0.1, BONUS_SPIKE);
    j[J_BOOST_TIMER] = 150;
    body[0].xx = 0.1;
    body[0].jntvx = 0.2;
    collect_bonuses();
    EXPECT_EQ(body[0].xx, 0.1);
    EXPECT_EQ(body[0].jntvx, 0.2);
    EXPECT_EQ(live_particles(PART_SPIKE), 50);
}

// Leaves and spikes dropped on the player in random mixes, several per frame.
TEST(Bonuses, PowerStaysWithinItsRangeWhateverTheOrder)
{
    fresh_level(0, 0);
    srand(1234);
    double lowest = 0, highest = 0;
    frames_holding(300, 0, 0, [&](int) {
        EXPECT_GE(f[F_POWER], -100);
        EXPECT_LE(f[F_POWER], 100);
        lowest = std::min(lowest, f[F_POWER]);
        highest = std::max(highest, f[F_POWER]);
        int n = rand() % 8;
        short type = rand() % 2 ? BONUS_LEAF : BONUS_SPIKE;
        for (int k = 0; k < n; k++) new_bonus((rand() % 20 - 10) / 100.0, 0, type);
        clear_particles();
        f[F_TIME] = 75;
    });
    EXPECT_LT(lowest, -99);                 // both limits were really pressed
    EXPECT_GT(highest, 99);
}

TEST(Bonuses, AnElectricChargeIsCaughtFartherAndStocksABoost)
{
    fresh_level(0, 0);
    new_bonus(0.2, 0, BONUS_ELECTRIC);      // outside the leaf radius, inside 0.24
    new_bonus(0, 0.2, BONUS_LEAF);
    frames_holding(1, 0, 0);
    EXPECT_EQ(j[J_BOOSTS], 1);
    EXPECT_EQ(bonus[0].state, 0);
    EXPECT_EQ(bonus[1].state, 1);
}

// The goal sets the counter once; the loop counts it up, and the screen
// waits for the player: Enter goes on to the next level.
TEST(Bonuses, ALevelEndTouchedTwiceCountsOnceAndTheNextLevelFollows)
{
    fresh_level(0, 0);
    current_level = 2;
    new_bonus(0, 0, BONUS_LEVEL_END);
    new_bonus(0.05, 0, BONUS_LEVEL_END);
    int r = frames_holding(200, 0, 0, [&](int i) {
        if (i == 0) { EXPECT_EQ(j[J_LEVEL_DONE], 2); }      // set to 1, counted once this frame
        else { EXPECT_EQ(j[J_LEVEL_DONE], i + 2); }
    });
    EXPECT_EQ(r, FRAME_NEXT);
    EXPECT_EQ(current_level, 2);
    r = frames_holding(4, 0, 0, [](int i) { set_key(KEY_ENTER, i < 2); });
    EXPECT_EQ(r, FRAME_LEVEL_START);
    EXPECT_EQ(current_level, 3);
    release_all_keys();
    EXPECT_EQ(bonus[0].state, 1);           // the goal stays
    current_level = 0;
}

TEST(Particles, DustIsDrawnOnTwentyFramesAndFreedOnTheTwentyFirst)
{
    fresh_level(0, 0);
    int p = new_particle(1, 1, 0.01, 0, 0, 2, PART_DUST);
    ASSERT_EQ(p, 0);
    frames_holding(20, 0, 0);
    EXPECT_EQ(particle[p].state, 1);
    EXPECT_EQ(particle[p].cnt, 20);
    EXPECT_NEAR(particle[p].px, 1 + 0.01 * (1 - pow(0.94, 20)) / (1 - 0.94), 1e-9);
    frames_holding(1, 0, 0);
    EXPECT_EQ(particle[p].state, 0);
}

TEST(Particles, AFullTableMakesNothingAndSaysSo)
{
    fresh_level(0, 0);
    for (int i = 0; i < num_particles; i++)
        ASSERT_EQ(new_particle(50, 50, 0, 0, 0, 0, PART_BEE), i);
    EXPECT_EQ(new_particle(0, 0, 0, 0, 0, 0, PART_DUST), -1);
    new_bonus(0, 0, BONUS_SPIKE);
    frames_holding(1, 0, 0);
    EXPECT_EQ(bonus[0].state, 0);           // the spike still went
    EXPECT_EQ(live_particles(PART_SPIKE), 0);
    EXPECT_EQ(live_particles(PART_BEE), num_particles);

    particle[500].state = 0;                // a freed slot in the middle is reused first
    EXPECT_EQ(new_particle(0, 0, 0, 0, 0, 0, PART_DUST), 500);
    clear_particles();
}

TEST(Particles, SpikeAndPuffLifetimes)
{
    fresh_level(0, 0);
    int s = new_particle(0, 0, 0, 0, 0, 0, PART_SPIKE);
    int u = new_particle(0, 0, 0, 0, 0, 0, PART_PUFF);
    frames_holding(20, 0, 0);
    EXPECT_EQ(particle[u].state, 1);
    frames_holding(1, 0, 0);
    EXPECT_EQ(particle[u].state, 0);
    frames_holding(79, 0, 0);
    EXPECT_EQ(particle[s].state, 1);
    EXPECT_EQ(particle[s].cnt, 100);
    frames_holding(1, 0, 0);
    EXPECT_EQ(particle[s].state, 0);
}
