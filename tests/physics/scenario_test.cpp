// tests/physics/scenario_test.cpp -- long runs through the real frame loop:
// the same level and key script give the same body bit for bit, and random
// play on awkward terrain never produces a NaN or an infinity.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>
#include <gtest/gtest.h>
#include "physics_world.h"
#include "zmem.h"
#include "test_support.h"
#include "bodies.h"

// Hills, a pit with steep walls, a needle-thin spike, an overhang, a peak of
// joints meeting at a point, zero-length and tiny joints in and off the
// ground chain, and a doubled joint.
static void awkward_level(void)
{
    empty_level();
    // Repeated points make zero-length links in the chain, close points tiny
    // ones; some sit right where the player starts.
    const double ground[] = {-12, 2, -9, 0, -7, 0.5, -5, -0.2, -4, -0.2, -3.8, -2, -2.2, -2,
                             -2, -0.2, -1, -0.1, -1, -0.1, 0, 0, 0.0004, 0.0003, 1.5, 0.9,
                             2.5, 0.9, 2.5, 0.9, 3, 2.4, 3.05, 0.6, 5, 0.3, 5.0004, 0.2997,
                             7, -0.5, 7.2, -0.5, 9, 1.5, 12, 3};
    add_chain(ground, (int)(sizeof ground / sizeof ground[0]) / 2, 1);
    const double roof[] = {4.5, 1.6, 3.6, 1.4, 3.4, 1.8};    // right to left: an overhang
    add_chain(roof, 3, 2);
    const double spike[] = {-6, 1.2, -5.5, 2.4, -5, 1.2};
    add_chain(spike, 3, 1);
    int v = new_tv(1, 0.3);
    link_jnt(v, v, 1);                                          // no length at all
    add_jnt(1.5, 0.9, 1.5, 0.9, 1);                             // zero length, separate vertices
    add_jnt(-1, -0.1, -1.0005, -0.1, 1);                        // tiny
    add_jnt(5, 0.3, 7, -0.5, 3);                                // only-walking copy of a hill
    add_jnt(8, 0.5, 8.5, 1.0, 1);
    add_jnt(8, 0.5, 8.5, 1.0, 1);                               // the same joint twice
    file_jnts();
}

static const int script_keys[] = {KEY_LEFT, KEY_RIGHT, KEY_UP, KEY_DOWN, KEY_ENTER,
                                  KEY_RCONTROL, KEY_RSHIFT};
static const int num_script_keys = sizeof script_keys / sizeof script_keys[0];

// Each frame's keys as a bit set: keys flip now and then, so they are held
// for stretches the way a player holds them.
static std::vector<unsigned> key_script(unsigned seed, int frames)
{
    srand(seed);
    std::vector<unsigned> s(frames);
    unsigned held = 0;
    for (int i = 0; i < frames; i++) {
        for (int k = 0; k < num_script_keys; k++)
            if (rand() % 12 == 0) held ^= 1u << k;
        s[i] = held;
    }
    return s;
}

static void press(unsigned bits)
{
    for (int k = 0; k < num_script_keys; k++) set_key(script_keys[k], (bits >> k) & 1);
}

// Keeps the level running: the clock never runs out and boosts never run dry.
static void keep_playing(void)
{
    f[F_TIME] = 75;
    j[J_BOOSTS] = 5;
}

// Drop points spread over the level, taken in turn.
static const double drop_x[] = {-0.5, 1.0, -8, 8, 2.2, -1.5, 6};
static const int num_drops = sizeof drop_x / sizeof drop_x[0];

static void drop_player(int n)
{
    start_player(drop_x[n % num_drops], 3, Z_PI - 0.1);
}

static bool lost(void)
{
    return body[0].y < -10 || std::fabs(body[0].x) > 20 || body[0].y > 30;
}

struct body_image {
    double v[16];
    int jntn, fdir;
};

static body_image image_of(int b)
{
    const body_struct &bd = body[b];
    body_image im;
    const double v[] = {bd.x, bd.y, bd.xx, bd.yy, bd.xx_old, bd.yy_old, bd.ang, bd.draw_ang,
                        bd.ang_v, bd.ang_v_old, bd.jntx, bd.jntvx, bd.jntvx_old, bd.h,
                        bd.vdir.x, bd.vdir.y};
    memcpy(im.v, v, sizeof v);
    im.jntn = bd.jntn;
    im.fdir = bd.fdir;
    return im;
}

static body_image play_script(const std::vector<unsigned> &script)
{
    awkward_level();
    drop_player(0);
    srand(99);                                  // the dust particles draw from rand
    run_frames((int)script.size(), [&script](int i) {
        keep_playing();
        press(script[i]);
    });
    release_all_keys();
    return image_of(0);
}

TEST(PhysicsScenario, SameScriptSameBodyBitForBit)
{
    std::vector<unsigned> script = key_script(2024, 5000);
    body_image a = play_script(script);
    body_image b = play_script(script);
    EXPECT_EQ(memcmp(a.v, b.v, sizeof a.v), 0);
    EXPECT_EQ(a.jntn, b.jntn);
    EXPECT_EQ(a.fdir, b.fdir);
    // A different script ends elsewhere: the comparison above can tell.
    body_image c = play_script(key_script(2025, 5000));
    EXPECT_NE(memcmp(a.v, c.v, sizeof a.v), 0);
}

TEST(PhysicsScenario, RandomPlayNeverGoesNonFinite)
{
    const int frames = 100000;
    std::vector<unsigned> script = key_script(77, frames);
    awkward_level();
    drop_player(0);
    srand(5);
    // A fresh drop when the player is lost, and every 2,000 frames anyway so
    // that every part of the level gets played.
    const int replay_frames = 2000;
    int rides = 0, drops = 0, bad_frames = 0;
    run_frames(frames, [&](int i) {
        keep_playing();
        press(script[i]);
        if (!finite_body(0)) {
            if (bad_frames++ == 0) ADD_FAILURE() << "non-finite body state before frame " << i;
            drop_player(++drops);
        }
        if (body[0].jntn != -1) rides++;
        if (lost() || i % replay_frames == replay_frames - 1) drop_player(++drops);
    });
    release_all_keys();
    EXPECT_TRUE(finite_body(0));
    EXPECT_EQ(bad_frames, 0);
    EXPECT_GT(rides, frames / 10) << "the player should spend a fair share riding";
    RecordProperty("drops", drops);
}
