// tests/physics_gl/body_draw_test.cpp -- the player's sprite on screen: its
// place, facing, turn, tints and the boost trail, in a real GL window. The
// camera sits on the body, so world (x, y) is window pixel
// (400 + 200 (x - bx), 300 - 200 (y - by)).
#include <vector>
#include <GL/gl.h>
#include "test_support.h"
#include "hillhopper.h"
#include "bodies.h"
#include "slots.h"
#include "std_gfuncs.h"
#include "world.h"

namespace {

const int px_per_unit = 200;
const double bx = 5, by = 3;            // where the body stands

// A w x h texture: texels with s below 1/2 are colour a, the rest colour b.
const unsigned char red[4] = {255, 0, 0, 255};
const unsigned char yellow[4] = {255, 255, 0, 255};
const unsigned char white[4] = {255, 255, 255, 255};

rgba at(double dx, double dy)
{
    return window_pixel(400 + (int)(dx * px_per_unit), 300 - (int)(dy * px_per_unit));
}

}  // namespace

class BodyDraw : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        if (IsSkipped()) return;
        static unsigned int two_tone = 0, plain_white = 0;
        if (!two_tone) {
            two_tone = two_tone_texture(64, 64, red, yellow);
            plain_white = two_tone_texture(64, 64, white, white);
        }
        for (int i = 0; i < num_tex_slots; i++) terrain_tex[i] = plain_white;
        terrain_tex[TEX_PLAYER] = two_tone;
        terrain_tex[TEX_PLAYER_RUNNING] = two_tone;
        for (int i = 0; i < num_slots; i++) { j[i] = 0; f[i] = 0; }
        clear_keyr();
        f[F_START_X] = bx;
        f[F_START_Y] = by;
        f[F_START_ANG] = Z_PI;
        clear_bodies();
        new_body(0, 0, 0, 0, 0, 0);
        body[0].jntn = 7;               // riding (not drawn from a joint: only the flag counts)
        scr_px = bx;
        scr_py = by;
        world_ang = 0;
    }
};

TEST_F(BodyDraw, UprightSpriteFacingRightThenLeft)
{
    draw_bodies();
    rgba left = at(-0.12, 0), right = at(0.12, 0), outside = at(0.3, 0);
    EXPECT_GT(left.r, 200);
    EXPECT_LT(left.g, 60);              // red half on the left
    EXPECT_GT(right.g, 200);            // yellow half on the right
    EXPECT_LT(outside.r + outside.g + outside.b, 30);

    clear_back_buffer();
    body[0].fdir = 1;
    draw_bodies();
    EXPECT_GT(at(-0.12, 0).g, 200);     // mirrored
    EXPECT_LT(at(0.12, 0).g, 60);
}

TEST_F(BodyDraw, TurnedAQuarterCounterClockwise)
{
    body[0].ang = Z_PI + Z_PI / 2;
    body[0].draw_ang = body[0].ang;
    draw_bodies();
    EXPECT_LT(at(0, -0.12).g, 60);      // the red left half now lies below
    EXPECT_GT(at(0, -0.12).r, 200);
    EXPECT_GT(at(0, 0.12).g, 200);
}

TEST_F(BodyDraw, BeeTintAndDarkSilhouette)
{
    j[J_BEE_ATTACK] = 5;
    j[J_FRAME] = 9;                     // cos(3) ~ -1: full red pulse; 9 mod 12 blinks frame 2
    terrain_tex[TEX_PLAYER_BLINK] = terrain_tex[TEX_PLAYER];
    draw_bodies();
    rgba right = at(0.12, 0);
    EXPECT_GT(right.r, 200);
    EXPECT_LT(right.g, 20);             // yellow turned red

    clear_back_buffer();
    j[J_BEE_ATTACK] = 0;
    j[J_DEATH] = 1;
    draw_bodies();
    rgba dark = at(0.12, 0);
    EXPECT_GT(dark.r, 10);
    EXPECT_LT(dark.r, 45);
    EXPECT_LT(dark.g, 45);
    glColor4f(1, 1, 1, 1);
}

// At the start of a boost the airborne body leaves four green copies behind
// it, against its flight: the outermost 0.8 units back, nothing beyond.
TEST_F(BodyDraw, BoostTrailBehindTheFlight)
{
    body[0].jntn = -1;
    body[0].xx = 0.1;
    body[0].yy = 0;
    j[J_BOOST_TIMER] = 200;
    draw_bodies();
    rgba far_copy = at(-0.8, 0);
    EXPECT_GT(far_copy.g, 30);
    EXPECT_GT(far_copy.g, far_copy.r + 20);
    EXPECT_LT(at(-1.1, 0).g, 10);
    EXPECT_LT(at(0.4, 0).g, 10);        // nothing ahead of it
    EXPECT_GT(at(-0.4, 0).g, far_copy.g);   // nearer copies are stronger
}
