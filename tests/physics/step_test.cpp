// tests/physics/step_test.cpp -- the body physics step: substeps, gravity,
// drag, soft contact, knock-off and the stuck recovery.
#include <cmath>
#include <gtest/gtest.h>
#include "physics_world.h"
#include "bodies.h"
#include "collisions.h"

// An upright player far from any terrain, at rest.
static void player_in_empty_sky(void)
{
    empty_level();
    file_jnts();
    start_player(0, 10, Z_PI);
}

TEST(PhysicsStep, AtRestOneSubstepAndPlainGravity)
{
    player_in_empty_sky();
    body_physics();
    EXPECT_EQ(j[J_SUBSTEPS], 1);
    EXPECT_EQ(body[0].yy, -0.001);
    EXPECT_EQ(body[0].y, 10 - 0.001);
    EXPECT_EQ(body[0].xx, 0.0);

    player_in_empty_sky();
    j[J_BOOST_TIMER] = 120;                 // weaker gravity while boosting
    body_physics();
    EXPECT_EQ(body[0].yy, -0.0008);
}

TEST(PhysicsStep, SubstepsGrowWithSpeedAndSpin)
{
    player_in_empty_sky();
    body[0].xx = 0.05;
    body_physics();
    EXPECT_EQ(j[J_SUBSTEPS], 11);
    // Position advances by exactly one frame's velocity split over the substeps.
    EXPECT_NEAR(body[0].x, 0.05, 0.0005);

    player_in_empty_sky();
    body[0].ang_v = 3;                      // + 2/3 per unit of spin
    body_physics();
    EXPECT_EQ(j[J_SUBSTEPS], 3);

}

// Above |v| = 12.87 the air-drag factor would go negative; clamped at 0 it
// only takes 1/tri of the velocity per substep.
TEST(PhysicsStep, AirDragFactorIsClampedAtZero)
{
    player_in_empty_sky();
    const double v0 = 13.0;
    body[0].xx = v0;
    body[0].xx_old = v0;
    body_physics();
    const int steps = j[J_SUBSTEPS];
    ASSERT_EQ(steps, (int)(v0 / 2 * 400 + 1));
    const double tri = tri_num(steps);
    double x = v0;
    for (int s = 0; s < steps; s++) {
        double k = 1 - 0.006 * (x * x + 1);
        if (k < 0) k = 0;
        x += (k * x - x) / tri;
    }
    EXPECT_NEAR(body[0].xx, x, 1e-9);
    EXPECT_GT(body[0].xx, 0);
}

// Contacts of a one-point body (point at the centre, radius 1/8) with a level
// floor along y = 0: no contact on the joint itself nor at exactly the radius;
// inside, the push strength triples per depth band down to 81 times the root.
TEST(PhysicsStep, SoftContactDepthBands)
{
    const double r = 0.125, r2 = r * r;
    struct band { double d2_share; double boost; };
    const band bands[] = {{0.75, 1}, {0.375, 3}, {0.1875, 9}, {0.09375, 27}, {0.03, 81}};
    for (const band &bd : bands) {
        empty_level();
        add_jnt(-2, 0, 2, 0, 2);
        file_jnts();
        start_player(0.3, sqrt(bd.d2_share * r2), 0);
        single_point_body(0, r);
        body_physics();
        double d2 = bd.d2_share * r2;
        double pushed = sqrt(r2 - d2) * bd.boost / 17;     // at rest: the "away" divisor
        double want = pushed + (0.975 * pushed - pushed) - 0.001;
        EXPECT_NEAR(body[0].yy, want, 1e-12) << "d2 = " << bd.d2_share << " r2";
        EXPECT_EQ(body[0].ang_v, 0.0);                      // a centred point has no lever
    }
    for (double y : {0.0, r}) {
        empty_level();
        add_jnt(-2, 0, 2, 0, 2);
        file_jnts();
        start_player(0.3, y, 0);
        single_point_body(0, r);
        body_physics();
        EXPECT_EQ(body[0].yy, -0.001) << "no contact at height " << y;
    }
}

// Moving into the joint is resisted with the divisor 16, away with 17.
TEST(PhysicsStep, PushIntoTheJointIsResistedHarder)
{
    const double r = 0.125, pen = sqrt(r * r - 0.1 * 0.1);
    for (double yy0 : {-1e-9, 1e-9}) {
        empty_level();
        add_jnt(-2, 0, 2, 0, 2);
        file_jnts();
        start_player(0.3, 0.1, 0);
        single_point_body(0, r);
        body[0].yy = yy0;
        body_physics();
        double pushed = yy0 + pen / (yy0 < 0 ? 16 : 17);
        EXPECT_NEAR(body[0].yy, pushed + (0.975 * pushed - pushed) - 0.001, 1e-12) << yy0;
    }
}

// A rider at a given substep count hits a wall standing across its upper
// points; slow riders only lose speed, faster ones are thrown off, and above
// 30 substeps they tumble too.
static void ride_into_wall(double speed, bool wall)
{
    empty_level();
    int floor = add_jnt(-3, 0, 3, 0, 1);
    if (wall) add_jnt(0.1, 0.6, 0.1, 0.25, 2);
    file_jnts();
    start_player(0, 1, Z_PI);
    put_on_jnt(0, floor, 0.5, speed);
    body_physics();
}

TEST(PhysicsStep, KnockOffThresholds)
{
    struct row { double speed; int steps; bool off; bool tumble; };
    const row rows[] = {{0.0725, 15, false, false}, {0.0775, 16, true, false},
                        {0.1475, 30, true, false}, {0.1525, 31, true, true}};
    for (const row &r : rows) {
        ride_into_wall(r.speed, false);
        double free_speed = body[0].jntvx;
        ASSERT_NE(body[0].jntn, -1);
        ride_into_wall(r.speed, true);
        EXPECT_EQ(j[J_SUBSTEPS], r.steps);
        EXPECT_EQ(body[0].jntn == -1, r.off) << r.steps << " substeps";
        EXPECT_EQ(j[J_TUMBLE], r.tumble ? 30 : 0) << r.steps << " substeps";
        if (!r.off) {
            EXPECT_LT(body[0].jntvx, free_speed - 1e-4) << "the wall slows the rider";
        }
    }
}

// An upside-down body whose upper wheel sits in a level walking floor: one
// airborne contact per first substep. The thirteenth counted contact lands it
// there and starts the recovery hold.
static void wedged_upside_down(int counted_before, double floor_rise)
{
    empty_level();
    add_jnt(-2, -floor_rise, 2, floor_rise, 1);
    file_jnts();
    start_player(0.2, 0.2, 0);              // ang 0: point 0 lies below the centre
    j[J_AIR_CONTACTS] = counted_before;
    body[0].yy = -0.2;                      // fast enough that the landing test would refuse
    body_physics();
}

TEST(PhysicsStep, StuckRecoveryAfterTwelveCountedContacts)
{
    wedged_upside_down(11, 0);
    EXPECT_EQ(body[0].jntn, -1);
    EXPECT_EQ(j[J_RECOVERY], 0);
    EXPECT_EQ(j[J_AIR_CONTACTS], 12);

    wedged_upside_down(12, 0);
    EXPECT_EQ(body[0].jntn, 0);
    EXPECT_EQ(j[J_RECOVERY], 100);
    EXPECT_EQ(j[J_AIR_CONTACTS], 0);
    EXPECT_EQ(f[F_RECOVER_X], 0.2);
    EXPECT_EQ(f[F_RECOVER_Y], 0.2);
    EXPECT_NEAR(body[0].ang_v, 0.0, 1e-12);

    // A joint 45 degrees from level is no place to recover on.
    wedged_upside_down(12, 2);
    EXPECT_EQ(body[0].jntn, -1);
    EXPECT_EQ(j[J_RECOVERY], 0);
}

TEST(PhysicsStep, TypeThreeJointsAreIgnoredByContact)
{
    empty_level();
    add_jnt(-2, 0, 2, 0, 3);
    file_jnts();
    start_player(0.3, 0.05, 0);
    single_point_body(0, 0.125);
    body_physics();
    EXPECT_EQ(body[0].yy, -0.001);
}

TEST(PhysicsStep, OffTheGridFallsFreely)
{
    empty_level();
    add_jnt(-2, 0, 2, 0, 1);
    file_jnts();
    start_player(300, -500, Z_PI);
    body_physics();
    EXPECT_EQ(body[0].yy, -0.001);
}
