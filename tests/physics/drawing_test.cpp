// tests/physics/drawing_test.cpp -- what the player's sprite shows in each
// situation, the boost frames and trail, and the two pieces of game state the
// drawing pass carries: the angle easing and the recovery-hold pin.
#include <cmath>
#include <vector>
#include <gtest/gtest.h>
#include "physics_world.h"
#include "test_support.h"
#include "bodies.h"
#include "slots.h"

static sprite_situation riding(void)
{
    sprite_situation s{};
    s.player_rides = 1;
    s.body_rides = 1;
    s.ang = 3.0;
    s.draw_ang = 2.5;
    return s;
}

TEST(BodySprite, FrameAndAngleForEachSituation)
{
    struct row { const char *what; sprite_situation s; int frame; double ang; };
    sprite_situation s;
    std::vector<row> rows;
    rows.push_back({"riding", riding(), TEX_PLAYER, 3.0});
    s = riding(); s.steer_key = 1;
    rows.push_back({"running", s, TEX_PLAYER_RUNNING, 3.0});
    s = riding(); s.steer_key = 1; s.jump_key = 1;
    rows.push_back({"charging beats running", s, TEX_PLAYER_CHARGING, 3.0});
    s = riding(); s.land_pose = 5; s.steer_key = 1;
    rows.push_back({"landing pose at draw_ang", s, TEX_PLAYER_LANDING, 2.5});
    s = riding(); s.tumble = 3; s.jump_key = 1;
    rows.push_back({"tumbling", s, TEX_PLAYER_TUMBLING, 3.0});
    s = riding(); s.player_rides = 0; s.body_rides = 0;
    rows.push_back({"flying", s, TEX_PLAYER_RUNNING, 3.0});
    s = riding(); s.player_rides = 0; s.body_rides = 0; s.tumble = 8;
    rows.push_back({"tumbling in the air", s, TEX_PLAYER_TUMBLING, 3.0});
    s = riding(); s.steer_key = 1; s.bee_attack = 4;
    rows.push_back({"no running under attack", s, TEX_PLAYER, 3.0});
    s = riding(); s.tumble = 3; s.boost_timer = 120;
    rows.push_back({"boost beats tumbling", s, TEX_PLAYER_BOOST, 3.0});
    s = riding(); s.player_rides = 0; s.boost_timer = 120; s.recovery = 40;
    rows.push_back({"recovery beats all", s, TEX_PLAYER_RECOVERY, 3.0});
    s = riding(); s.bee_attack = 1; s.frame_counter = 8;
    rows.push_back({"blink", s, TEX_PLAYER_BLINK, 3.0});
    s = riding(); s.bee_attack = 1; s.frame_counter = 7;
    rows.push_back({"no blink at 7 of 12", s, TEX_PLAYER, 3.0});
    s = riding(); s.bee_attack = 1; s.frame_counter = 11; s.tumble = 2;
    rows.push_back({"only the plain frame blinks", s, TEX_PLAYER_TUMBLING, 3.0});
    for (const row &r : rows) {
        body_sprite sp = choose_body_sprite(r.s);
        EXPECT_EQ(sp.frame, r.frame) << r.what;
        EXPECT_EQ(sp.ang, r.ang) << r.what;
    }
}

TEST(BodySprite, BoostFramesAndTrail)
{
    for (int t = 1; t <= 200; t++) {
        bool alternating = (t >= 151) || (t >= 93 && t <= 111);
        EXPECT_EQ(boost_frame(t, 0), alternating ? TEX_PLAYER_BOOST_A : TEX_PLAYER_BOOST) << t;
        EXPECT_EQ(boost_frame(t, 4), alternating ? TEX_PLAYER_BOOST_B : TEX_PLAYER_BOOST) << t;
        EXPECT_EQ(boost_frame(t, 13), boost_frame(t, 4)) << t;
    }
    EXPECT_NEAR(boost_trail_offset(4, 200), 0.8, 1e-12);
    EXPECT_NEAR(boost_trail_offset(4, 181), 0.04, 1e-12);
    EXPECT_NEAR(boost_trail_offset(1, 200), 0.2, 1e-12);
}

TEST(BodyDrawing, DrawAngleEasesByTheShorterWay)
{
    empty_level();
    file_jnts();
    start_player(0, 0, 3.0);
    body[0].draw_ang = 3.05;
    draw_bodies();
    EXPECT_EQ(body[0].draw_ang, 3.05);
    body[0].draw_ang = 2.0;
    draw_bodies();
    EXPECT_NEAR(body[0].draw_ang, 2.21, 1e-9);
    // Across the wrap: from 0.1 towards 6.2 goes backwards over zero.
    body[0].ang = 6.2;
    body[0].draw_ang = 0.1;
    draw_bodies();
    EXPECT_LT(body[0].draw_ang, 0.1);
}

TEST(BodyDrawing, RecoveryHoldPinsAndStopsTheBody)
{
    empty_level();
    file_jnts();
    start_player(1, 2, Z_PI);
    f[F_RECOVER_X] = -4;
    f[F_RECOVER_Y] = 5;
    body[0].xx = 0.3;
    body[0].jntvx = 0.2;
    j[J_RECOVERY] = 7;
    draw_bodies();
    EXPECT_EQ(body[0].x, -4);
    EXPECT_EQ(body[0].y, 5);
    EXPECT_EQ(body[0].xx, 0.3);
    j[J_RECOVERY] = 1;
    draw_bodies();
    EXPECT_EQ(body[0].xx, 0.0);
    EXPECT_EQ(body[0].yy, 0.0);
    EXPECT_EQ(body[0].jntvx, 0.0);
    EXPECT_EQ(body[0].jntvx_old, 0.0);
    j[J_RECOVERY] = 0;
    body[0].x = 9;
    draw_bodies();
    EXPECT_EQ(body[0].x, 9);
}

// The whole recovery through the frame loop: wedged upside down in a floor
// after enough counted contacts, the player is held at the recovery point for
// the 100 frames of the hold, then rides on from rest.
TEST(BodyDrawing, RecoveryHoldThroughTheFrameLoop)
{
    empty_level();
    int floor = add_jnt(-3, 0, 3, 0, 1);
    file_jnts();
    start_player(0.2, 0.2, 0);
    j[J_AIR_CONTACTS] = 13;                 // frame 0 is a tenth frame: the loop takes one off
    body[0].yy = -0.2;
    run_frames(1);
    ASSERT_EQ(j[J_RECOVERY], 100);
    ASSERT_EQ(body[0].jntn, floor);
    for (int i = 0; i < 98; i++) {          // frames 2..99 of the hold
        run_frames(1, [](int) { set_key(KEY_RIGHT, true); });  // ignored during the hold
        ASSERT_EQ(body[0].x, f[F_RECOVER_X]) << "frame " << i;
        ASSERT_EQ(body[0].y, f[F_RECOVER_Y]) << "frame " << i;
    }
    release_all_keys();
    run_frames(3);
    EXPECT_EQ(j[J_RECOVERY], 0);
    EXPECT_EQ(body[0].jntn, floor);
    EXPECT_NEAR(body[0].y, 11.0 / 45 + 0.0125, 1e-9);
    EXPECT_EQ(body[0].jntvx, 0.0);
}
