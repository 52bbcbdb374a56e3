// Waypoints through the real frame loop: the player is held in place and the
// clock is read after each frame (it loses 0.03 per frame while it runs).
#include <cmath>
#include "level_fixture.h"
#include "hillhopper.h"
#include "geometry.h"
#include "waypoints.h"

static const double tick = 0.03;

TEST(Waypoints, TakenOnlyStrictlyInsideTheRadius)
{
    fresh_level(0, 0);
    ASSERT_EQ(dist(0, 0, 0.3, 0), 0.3);     // the edge case really is the edge
    new_wpt(0.3, 0);                        // slot 0: exactly at the radius
    new_wpt(0, -0.299);                     // slot 1: just inside
    f[F_TIME] = 50;
    frames_holding(1, 0, 0);
    EXPECT_EQ(wpt[0].cnt, 0);
    EXPECT_NE(wpt[1].cnt, 0);
    EXPECT_NEAR(f[F_TIME], 50 + 10 - tick, 1e-9);
}

TEST(Waypoints, NothingTakenOnceTimeIsUp)
{
    fresh_level(0, 0);
    new_wpt(0, 0);
    f[F_TIME] = 0;
    frames_holding(3, 0, 0);
    EXPECT_EQ(wpt[0].cnt, 0);
    EXPECT_EQ(f[F_TIME], 0);
}

TEST(Waypoints, TimeCapsAtAFullClockAndSeveralAddUp)
{
    fresh_level(0, 0);
    new_wpt(0.1, 0);
    f[F_TIME] = 95;
    frames_holding(1, 0, 0);
    EXPECT_NEAR(f[F_TIME], 100 - tick, 1e-9);

    fresh_level(0, 0);
    new_wpt(0.1, 0);
    new_wpt(-0.1, 0);
    f[F_TIME] = 20;
    frames_holding(1, 0, 0);
    EXPECT_NEAR(f[F_TIME], 40 - tick, 1e-9);
}

// Taken once; the marker spins while drawn (cnt 2..30) and then stays hidden
// at 30 for good, never taken again although still in use.
TEST(Waypoints, ATakenMarkerSpinsAwayAndIsNeverRetaken)
{
    fresh_level(0, 0);
    new_wpt(0, 0);
    f[F_TIME] = 50;
    frames_holding(1, 0, 0);
    EXPECT_EQ(wpt[0].cnt, 2);               // taken, then drawn once in the same frame
    frames_holding(28, 0, 0);
    EXPECT_EQ(wpt[0].cnt, 30);
    frames_holding(5, 0, 0);
    EXPECT_EQ(wpt[0].cnt, 30);
    EXPECT_EQ(wpt[0].state, 1);
    EXPECT_NEAR(f[F_TIME], 60 - 34 * tick, 1e-9);
}

TEST(Waypoints, CreationTakesTheLowestFreeSlotAndAFullTableIsLeftAlone)
{
    fresh_level(0, 0);
    for (int i = 0; i < num_wpts; i++) new_wpt(i, 0);
    wpt[17].state = 0;
    new_wpt(5, 5);
    EXPECT_EQ(wpt[17].px, 5);
    new_wpt(9, 9);                          // full: nothing changes
    for (int i = 0; i < num_wpts; i++) EXPECT_NE(wpt[i].py, 9);
    clear_wpts();
    for (int i = 0; i < num_wpts; i++) EXPECT_EQ(wpt[i].state, 0);
}

// A level file may carry any counter: one past the spin is held at the end of
// the spin instead of being counted on into an overflow.
TEST(Waypoints, ACounterFromAFileBeyondTheSpinIsHeld)
{
    fresh_level(0, 0);
    new_wpt(5, 5);
    wpt[0].cnt = 2147483647;
    draw_wpts();
    EXPECT_EQ(wpt[0].cnt, 30);
    draw_wpts();
    EXPECT_EQ(wpt[0].cnt, 30);
}
