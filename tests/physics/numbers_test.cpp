// tests/physics/numbers_test.cpp -- the physics' numeric helpers, the player's
// body as a level start creates it, and its probes.
#include <cmath>
#include <gtest/gtest.h>
#include "physics_world.h"
#include "bodies.h"
#include "collisions.h"

TEST(PhysicsNumbers, SubstepDivisorAndClamp)
{
    const int n[] = {1, 2, 3, 4, 10, 11};
    const double want[] = {1, 1, 2, 2, 5, 6};
    for (int i = 0; i < 6; i++) EXPECT_EQ(tri_num(n[i]), want[i]) << "n = " << n[i];

    EXPECT_EQ(pos_only(-0.5), 0.0);
    EXPECT_EQ(pos_only(0.0), 0.0);
    EXPECT_EQ(pos_only(0.25), 0.25);
    EXPECT_EQ(pos_only(NAN), 0.0);
}

TEST(PhysicsNumbers, AnglesIntoOneTurnAndShorterTurn)
{
    EXPECT_NEAR(convert_angle(-Z_PI / 2), 3 * Z_PI / 2, 1e-12);
    EXPECT_NEAR(convert_angle(7 * Z_PI / 2), 3 * Z_PI / 2, 1e-12);
    EXPECT_EQ(convert_angle(0), 0.0);
    EXPECT_NEAR(convert_angle(-2 * Z_PI), 2 * Z_PI, 1e-12);   // (0, 2pi] below zero
    EXPECT_NEAR(convert_angle(2 * Z_PI), 0.0, 1e-12);         // [0, 2pi) above

    int dir = 7;
    EXPECT_NEAR(ang_diff(0.1, 6.2, &dir), 2 * Z_PI - 6.1, 1e-9);
    EXPECT_EQ(dir, 1);
    EXPECT_NEAR(6.2 + ang_diff(0.1, 6.2, &dir) * dir - 2 * Z_PI, 0.1, 1e-9);
    EXPECT_EQ(ang_diff(1, 1, &dir), 0.0);
    EXPECT_EQ(dir, 0);
    EXPECT_NEAR(ang_diff(1.0, 1.5, &dir), 0.5, 1e-12);
    EXPECT_EQ(dir, -1);
}

TEST(PlayerBody, CreatedFromTheLevelStartSlots)
{
    empty_level();
    f[F_FACING] = 1;
    int b = start_player(3.5, -2.25, Z_PI - 0.1);
    ASSERT_EQ(b, 0);
    const body_struct &bd = body[0];
    EXPECT_EQ(bd.state, 1);
    EXPECT_EQ(bd.fdir, 1);
    EXPECT_EQ(bd.x, 3.5);
    EXPECT_EQ(bd.y, -2.25);
    EXPECT_EQ(bd.ang, Z_PI - 0.1);
    EXPECT_EQ(bd.xx, 0.0);
    EXPECT_EQ(bd.yy, 0.0);
    EXPECT_EQ(bd.ang_v, 0.0);
    EXPECT_EQ(bd.jntn, -1);
    EXPECT_EQ(bd.foot, 1);
    EXPECT_EQ(bd.h, 11.0 / 45.0);
    const double rad[] = {11.0 / 90.0, 11.0 / 90.0, 7.0 / 60.0};
    for (int i = 0; i < body_points; i++) {
        EXPECT_EQ(bd.bodp[i].state != 0, i < player_points) << "point " << i;
        if (i < player_points) {
            EXPECT_EQ(bd.bodp[i].rad, rad[i]);
            EXPECT_EQ(pnt[bd.bodp[i].pntn].state, 1);
        }
    }
    f[F_FACING] = 0;
}

TEST(PlayerBody, UprightProbePositions)
{
    empty_level();
    start_player(0, 0, Z_PI);
    update_body_pnts(0);
    const body_struct &bd = body[0];
    const pnt_struct &top = pnt[bd.bodp[0].pntn];
    const pnt_struct &foot = pnt[bd.bodp[1].pntn];
    const pnt_struct &mid = pnt[bd.bodp[2].pntn];
    EXPECT_NEAR(foot.x, 0, 1e-9);
    EXPECT_NEAR(foot.y, -1.0 / 9, 1e-9);
    EXPECT_NEAR(top.x, 0, 1e-9);
    EXPECT_NEAR(top.y, 1.0 / 9, 1e-9);
    EXPECT_NEAR(mid.x, 2.0 / 45, 1e-9);     // turned by pi: the -x offset points +x
    EXPECT_NEAR(mid.y, 0, 1e-9);
}

// The probe table must not lose slots over many level starts, and the body
// table must refuse a creation it has no room for without touching anything.
TEST(PlayerBody, LevelStartsReuseProbesAndFullTablesRefuse)
{
    empty_level();
    for (int level = 0; level < 50; level++) start_player(0, 0, Z_PI);
    int used = 0;
    for (int i = 0; i < num_pnts; i++) used += pnt[i].state != 0;
    EXPECT_EQ(used, player_points);
    for (int i = 0; i < player_points; i++) EXPECT_EQ(body[0].bodp[i].pntn, i);

    for (int b = 1; b < num_bodies; b++) ASSERT_EQ(new_body(0, 0, 0, 0, 0, 0), b);
    body_struct before = body[0];
    EXPECT_EQ(new_body(0, 0, 0, 0, 0, 0), -1);
    EXPECT_EQ(body[0].x, before.x);
    EXPECT_EQ(body[0].bodp[1].pntn, before.bodp[1].pntn);

    delete_body(4);
    EXPECT_EQ(body[4].state, 0);
    EXPECT_EQ(new_body(0, 0, 0, 0, 0, 0), 4);   // the freed middle slot comes first
    clear_bodies();
    used = 0;
    for (int i = 0; i < num_pnts; i++) used += pnt[i].state != 0;
    EXPECT_EQ(used, 0);
}
