// tests/physics/landing_test.cpp -- the landing test, riding along joint
// chains, passing between joints and running off their ends.
#include <cmath>
#include <gtest/gtest.h>
#include "physics_world.h"
#include "zmem.h"
#include "test_support.h"
#include "bodies.h"
#include "collisions.h"
#include "paths.h"

static const double deg = Z_PI / 180;

// A player tilted by `tilt` over a level floor, its probes placed, and the
// foot-to-floor direction (straight down) handed to the landing test.
static void land_tilted(double tilt, int substeps)
{
    empty_level();
    add_jnt(-3, 0, 3, 0, 1);
    file_jnts();
    start_player(0, 0.3, Z_PI + tilt);
    body[0].xx = 0.02;
    update_body_pnts(0);
    j[J_SUBSTEPS] = substeps;
    body_landing(0, 0, -1, 0, 0.5);
}

TEST(Landing, UprightAcceptedTiltedRefused)
{
    land_tilted(0, 9);
    EXPECT_EQ(body[0].jntn, 0);
    EXPECT_NEAR(body[0].jntvx, 0.02, 1e-12);            // velocity along the joint
    EXPECT_EQ(body[0].jntx, 0.5);
    EXPECT_EQ(body[0].ang_v, 0.0);

    land_tilted(45 * deg, 5);                            // fast: refused and tumbling
    EXPECT_EQ(body[0].jntn, -1);
    EXPECT_EQ(j[J_TUMBLE], 30);

    land_tilted(45 * deg, 4);                            // slower: refused, no tumble
    EXPECT_EQ(body[0].jntn, -1);
    EXPECT_EQ(j[J_TUMBLE], 0);

    land_tilted(32 * deg, 20);                           // between 0.84 and 0.86
    EXPECT_EQ(body[0].jntn, -1);
    EXPECT_EQ(j[J_TUMBLE], 0);

    land_tilted(45 * deg, 1);                            // one substep: always lands
    EXPECT_EQ(body[0].jntn, 0);
}

TEST(Landing, HelpWindowAndGraceCountdown)
{
    for (int help : {30, 25, 24}) {
        empty_level();
        add_jnt(-3, 0, 3, 0, 1);
        file_jnts();
        start_player(0, 0.3, Z_PI + 45 * deg);
        update_body_pnts(0);
        j[J_SUBSTEPS] = 8;
        j[J_LAND_HELP] = help;
        body_landing(0, 0, -1, 0, 0.5);
        EXPECT_EQ(body[0].jntn == 0, help > 24) << "help window " << help;
    }

    land_tilted(0, 3);                      // grace countdown still at 100
    EXPECT_EQ(j[J_LAND_POSE], 0);
    empty_level();
    add_jnt(-3, 0, 3, 0, 1);
    file_jnts();
    start_player(0, 0.3, Z_PI);
    update_body_pnts(0);
    j[J_START_GRACE] = 0;
    body_landing(0, 0, -1, 0, 0.5);
    EXPECT_EQ(j[J_LAND_POSE], 20);
}

// Dropped upright onto level ground through the real frame loop, the player
// lands, rides and stays at rest at its ride height.
TEST(Riding, DroppedOnFlatGroundLandsAndRests)
{
    empty_level();
    int floor = add_jnt(-3, 0, 3, 0, 1);
    file_jnts();
    start_player(0.5, 0.6, Z_PI);
    run_frames(300);
    EXPECT_EQ(body[0].jntn, floor);
    EXPECT_NEAR(body[0].y, 11.0 / 45 + 0.0125, 1e-9);
    EXPECT_NEAR(body[0].ang, Z_PI, 1e-9);
    EXPECT_EQ(body[0].jntvx, 0.0);
    double x = body[0].x;
    run_frames(100);
    EXPECT_EQ(body[0].x, x);
    EXPECT_EQ(body[0].jntvx, 0.0);
    EXPECT_TRUE(finite_body(0));
}

TEST(Riding, SlopePullOnAThirtyDegreeJoint)
{
    for (int boost : {0, 1}) {
        empty_level();
        int k = add_jnt(0, 0, 2 * cos(30 * deg), 1, 1);
        file_jnts();
        start_player(0, 1, Z_PI);
        put_on_jnt(0, k, 0.5, 0);
        j[J_BOOST_TIMER] = boost ? 150 : 0;
        body_physics();
        ASSERT_EQ(j[J_SUBSTEPS], 1);
        EXPECT_NEAR(body[0].jntvx, -0.5 * (boost ? 0.3 : 0.7) / 320, 1e-9);
    }
}

// Joint A of length 2 from (0, 0) to (2, 0), then B of length 1 onwards; P of
// length 1 before A.
struct three_joints { int p, a, b; };
static three_joints flat_chain(int type_b)
{
    empty_level();
    int v0 = new_tv(-1, 0), v1 = new_tv(0, 0), v2 = new_tv(2, 0), v3 = new_tv(3, 0);
    three_joints c;
    c.p = link_jnt(v0, v1, 1);
    c.a = link_jnt(v1, v2, 1);
    c.b = link_jnt(v2, v3, type_b);
    file_jnts();
    start_player(0, 1, Z_PI);
    return c;
}

TEST(Riding, PassingToNeighboursScalesTheOvershoot)
{
    three_joints c = flat_chain(1);
    put_on_jnt(0, c.a, 1.0, 0.4);
    body_on_jnt(0, 1);                      // reaches 1.2 on A
    EXPECT_EQ(body[0].jntn, c.b);
    EXPECT_NEAR(body[0].jntx, 0.4, 1e-9);
    EXPECT_NEAR(body[0].x, 2.4, 1e-9);

    c = flat_chain(1);
    put_on_jnt(0, c.a, 0.0, -0.2);
    body_on_jnt(0, 1);                      // reaches -0.1 on A
    EXPECT_EQ(body[0].jntn, c.p);
    EXPECT_NEAR(body[0].jntx, 0.8, 1e-9);
}

TEST(Riding, RunningOffAnOpenEndLaunches)
{
    three_joints c = flat_chain(1);
    put_on_jnt(0, c.b, 0.95, 0.1);
    double xx = body[0].xx, yy = body[0].yy, ang = body[0].ang;
    body_on_jnt(0, 1);
    EXPECT_EQ(body[0].jntn, -1);
    EXPECT_EQ(body[0].xx, xx);
    EXPECT_EQ(body[0].yy, yy);
    EXPECT_NEAR(body[0].ang, ang - 0.15, 1e-12);

    c = flat_chain(1);
    put_on_jnt(0, c.p, 0.05, -0.1);
    ang = body[0].ang;
    body_on_jnt(0, 1);
    EXPECT_EQ(body[0].jntn, -1);
    EXPECT_NEAR(body[0].ang, ang + 0.15, 1e-12);

    // Through the whole step the launched body flies on with that velocity.
    c = flat_chain(1);
    put_on_jnt(0, c.b, 0.99, 0.03);
    body_physics();
    EXPECT_EQ(body[0].jntn, -1);
    EXPECT_GT(body[0].xx, 0.029);
}

TEST(Riding, NonWalkingNeighbourEndsTheRide)
{
    three_joints c = flat_chain(2);
    put_on_jnt(0, c.a, 1.0, 0.4);
    body_on_jnt(0, 1);
    EXPECT_EQ(body[0].jntn, -1);
}

TEST(Riding, AJointDeletedUnderTheRiderDropsIt)
{
    three_joints c = flat_chain(1);
    put_on_jnt(0, c.b, 0.5, 0.1);
    double x = body[0].x, y = body[0].y;
    jnt[c.b].state = 0;
    body_on_jnt(0, 1);
    EXPECT_EQ(body[0].jntn, -1);
    update_body_on_jnt(0, 0.0625);      // airborne now: nothing to place
    EXPECT_EQ(body[0].x, x);
    EXPECT_EQ(body[0].y, y);
}

TEST(Riding, RecoveryHoldFreezesTheRide)
{
    three_joints c = flat_chain(1);
    put_on_jnt(0, c.a, 0.5, 0.1);
    j[J_RECOVERY] = 50;
    body_on_jnt(0, 1);
    EXPECT_EQ(body[0].jntx, 0.5);
    EXPECT_EQ(body[0].jntvx, 0.1);
}

// A joint folded back on both ends (its twin runs the other way over the same
// vertices) has both mitres along its chord: the ride path has no point there,
// and the placement keeps the body's place, angle, tangent and velocity.
TEST(Riding, PathWithoutAPointKeepsThePlacement)
{
    empty_level();
    int p = new_tv(0, 0), q = new_tv(1, 0);
    int k = link_jnt(p, q, 1);
    link_jnt(q, p, 1);
    file_jnts();
    start_player(0.4, 0.5, Z_PI - 0.2);
    body_struct &bd = body[0];
    bd.xx = 0.01;
    bd.yy = -0.02;
    bd.vdir = vect_struct{0.6, 0.8};
    bd.jntn = k;
    bd.jntx = 0.5;
    bd.jntvx = 0.05;
    const body_struct before = bd;
    double rx = 123, ry = 456;
    clever_func(k, 0.5, -(bd.h + 0.0125), &rx, &ry);
    ASSERT_EQ(rx, 123) << "the set-up must be the path's degenerate case";
    update_body_on_jnt(0, 0.0125);
    EXPECT_EQ(bd.x, before.x);
    EXPECT_EQ(bd.y, before.y);
    EXPECT_EQ(bd.ang, before.ang);
    EXPECT_EQ(bd.xx, before.xx);
    EXPECT_EQ(bd.yy, before.yy);
    EXPECT_EQ(bd.vdir.x, before.vdir.x);
    for (int i = 0; i < 50; i++) body_physics();
    EXPECT_TRUE(finite_body(0));
}

// A zero-length joint in a chain is no place to ride onto, and a ride path
// without a point leaves the body where it was.
TEST(Riding, DegenerateJointsEndTheRideSafely)
{
    empty_level();
    int v0 = new_tv(0, 0), v1 = new_tv(2, 0), v2 = new_tv(2, 0);
    int a = link_jnt(v0, v1, 1);
    link_jnt(v1, v2, 1);
    file_jnts();
    start_player(0, 1, Z_PI);
    put_on_jnt(0, a, 0.99, 0.1);
    for (int i = 0; i < 20; i++) body_physics();
    EXPECT_TRUE(finite_body(0));
}
