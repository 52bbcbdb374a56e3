// The HUD's numbers, and the power decay that draw_barsnstuff applies.
#include "level_fixture.h"
#include "hillhopper.h"
#include "barsnstuff.h"

TEST(Hud, PowerAndJumpBarEnds)
{
    EXPECT_DOUBLE_EQ(power_bar_end(0), 320);
    EXPECT_DOUBLE_EQ(power_bar_end(100), 437);
    EXPECT_DOUBLE_EQ(power_bar_end(-100), 203);             // no width left
    EXPECT_DOUBLE_EQ(jump_bar_end(0), 220);
    EXPECT_DOUBLE_EQ(jump_bar_end(100), 420);
    EXPECT_DOUBLE_EQ(electric_icon_x(0), 30);
    EXPECT_DOUBLE_EQ(electric_icon_x(4), 150);              // the fifth icon sits at 30 x 5
}

TEST(Hud, TheClockWarnsBelowEightUnlessTheLevelIsLost)
{
    EXPECT_FALSE(clock_warns(8, 0));
    EXPECT_TRUE(clock_warns(7.99, 0));
    EXPECT_TRUE(clock_warns(0, 0));
    EXPECT_FALSE(clock_warns(0, 1));
    EXPECT_FALSE(clock_warns(7.99, 1));

    EXPECT_EQ(clock_scale(8, 0, 12), 1);
    EXPECT_EQ(clock_scale(0, 1, 12), 1);
    double lo = 2, hi = 0;
    int ticks = 0;
    for (int t = 0; t < 240; t++) {
        double s = clock_scale(7.99, 0, t);
        lo = std::min(lo, s);
        hi = std::max(hi, s);
        ticks += clock_ticks(7.99, 0, t);
        EXPECT_FALSE(clock_ticks(8, 0, t));
        EXPECT_FALSE(clock_ticks(3, 1, t));
    }
    EXPECT_NEAR(lo, 1.0, 1e-9);
    EXPECT_NEAR(hi, 1.6, 1e-9);
    EXPECT_EQ(ticks, 10);                   // one per 24 frames
    EXPECT_NEAR(clock_scale(7.99, 0, 0), 1.6, 1e-9);
    EXPECT_NEAR(clock_scale(7.99, 0, 12), 1.0, 1e-9);
}

// Halved in about 138 frames whatever the sign.
TEST(Hud, PowerDecaysOncePerFrame)
{
    fresh_level(0, 0);
    f[F_POWER] = 100;
    draw_barsnstuff();
    EXPECT_DOUBLE_EQ(f[F_POWER], 99.5);
    f[F_POWER] = -80;
    for (int i = 0; i < 138; i++) draw_barsnstuff();
    EXPECT_NEAR(f[F_POWER], -40, 0.2);
}
