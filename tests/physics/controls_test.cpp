// tests/physics/controls_test.cpp -- the player's controls acting on the body
// through the real frame loop, with scripted keys.
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include "physics_world.h"
#include "test_support.h"
#include "bodies.h"
#include "game.h"

// The player resting on a long level walking floor.
static int player_on_floor(double power)
{
    empty_level();
    int floor = add_jnt(-20, 0, 20, 0, 1);
    file_jnts();
    start_player(0, 1, Z_PI);
    put_on_jnt(0, floor, 0.5, 0);
    f[F_POWER] = power;
    return floor;
}

static void player_in_air(void)
{
    empty_level();
    file_jnts();
    start_player(0, 10, Z_PI);
}

// One frame with Right down: the control adds a, then the same frame's ride
// step takes the rolling friction off it.
TEST(Controls, RightAcceleratesByThePowerScaledRate)
{
    for (double power : {-50.0, 0.0, 10.0, 50.0, 100.0}) {
        player_on_floor(power);
        run_frames(1, [](int) { set_key(KEY_RIGHT, true); });
        release_all_keys();
        double a = ground_acceleration(power);
        EXPECT_NEAR(body[0].jntvx, a + (0.985 * a - a), 1e-12) << "power " << power;
        EXPECT_EQ(body[0].fdir, 0);
    }
    // Exactly 10 is neither raised nor lowered.
    EXPECT_FLOAT_EQ(ground_acceleration(10), 0.00285f + 0.00285f * 10 / 100 / 2);
    EXPECT_FLOAT_EQ(ground_acceleration(50) / ground_acceleration(0),
                    (0.00285f + 0.00285f * 50 / 100 / 2) * 1.4f / (0.00285f * 0.8f));

    // Held for a while, the rider keeps speeding up to the right.
    player_on_floor(0);
    run_frames(40, [](int) { set_key(KEY_RIGHT, true); });
    release_all_keys();
    EXPECT_GT(body[0].jntvx, 20 * ground_acceleration(0));
    EXPECT_GT(body[0].x, 0.1);

    player_on_floor(0);
    run_frames(1, [](int) { set_key(KEY_LEFT, true); });
    release_all_keys();
    EXPECT_LT(body[0].jntvx, 0);
    EXPECT_EQ(body[0].fdir, 1);
}

// Highest centre reached after Enter is held for `hold` frames and released.
static double jump_apex(int hold)
{
    player_on_floor(0);
    double apex = body[0].y;
    run_frames(hold + 1, [hold](int i) { set_key(KEY_ENTER, i < hold); });
    release_all_keys();
    EXPECT_EQ(body[0].jntn, -1) << "hold " << hold;
    run_frames(80, [&apex](int) { apex = std::max(apex, body[0].y); });
    return apex;
}

TEST(Controls, ChargedJumpGoesHigher)
{
    double plain = jump_apex(1);
    double charged = jump_apex(30);
    EXPECT_GT(plain, 11.0 / 45 + 0.0125 + 0.1);
    EXPECT_GT(charged, plain + 0.2);
}

TEST(Controls, EnterInTheAirNeitherChargesNorJumps)
{
    player_in_air();
    run_frames(31, [](int i) {
        EXPECT_EQ(f[F_JUMP_CHARGE], 0.0) << "frame " << i;
        set_key(KEY_ENTER, i < 30);
    });
    EXPECT_EQ(f[F_JUMP_CHARGE], 0.0);
    double yy_with_enter = body[0].yy;
    release_all_keys();
    player_in_air();
    run_frames(31);
    EXPECT_EQ(body[0].yy, yy_with_enter);
    EXPECT_EQ(body[0].jntn, -1);
}

TEST(Controls, SpinKeysActOnlyInTheAir)
{
    player_on_floor(0);
    run_frames(5, [](int) { set_key(KEY_UP, true); });
    release_all_keys();
    EXPECT_EQ(j[J_SPIN_DAMP], 0);
    EXPECT_EQ(body[0].ang_v, 0.0);
    EXPECT_NEAR(body[0].ang, Z_PI, 1e-9);

    player_in_air();
    run_frames(1, [](int) { set_key(KEY_UP, true); });
    release_all_keys();
    EXPECT_EQ(j[J_SPIN_DAMP], 9);
    EXPECT_GT(body[0].ang_v, 0.4);

    player_in_air();
    run_frames(1, [](int) { set_key(KEY_DOWN, true); });
    release_all_keys();
    EXPECT_LT(body[0].ang_v, -0.4);
}

TEST(Controls, BoostKicksAlongTheFacingInTheAir)
{
    player_in_air();
    j[J_BOOSTS] = 1;
    run_frames(1, [](int) { set_key(KEY_RCONTROL, true); });
    release_all_keys();
    EXPECT_EQ(j[J_BOOSTS], 0);
    EXPECT_EQ(j[J_BOOST_TIMER], 199);
    // Upright and facing right, the kick points along +x.
    EXPECT_GT(body[0].xx, 0.1);
}
