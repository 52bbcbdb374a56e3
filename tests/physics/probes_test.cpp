// tests/physics/probes_test.cpp -- collision probes: the probe table, filing
// in the grid, the joints gathered around a probe, the probe-joint distance.
#include <cmath>
#include <set>
#include <gtest/gtest.h>
#include "physics_world.h"
#include "test_support.h"
#include "zmem.h"
#include "collisions.h"
#include "joints.h"

// A short joint inside grid cell (col, row), across its middle.
static int jnt_in_cell(int col, int row)
{
    double cx = -80 + 0.8 * col + 0.4, cy = -40 + 0.8 * row + 0.4;
    return add_jnt(cx - 0.2, cy, cx + 0.2, cy, 1);
}

static std::set<int> gathered(double x, double y)
{
    int p = new_pnt(0, 0, x, y, 0);
    int *list = get_adj_jnts(p);
    std::set<int> s(list, list + get_num_adj_jnts());
    EXPECT_EQ((int)s.size(), get_num_adj_jnts()) << "a joint was listed twice";
    pnt[p].state = 0;
    return s;
}

TEST(Probes, CreationTakesLowestFreeSlotAndFullTableRefuses)
{
    empty_level();
    clear_pnts();
    EXPECT_EQ(new_pnt(0, 0, 1, 2, 3.9), 0);
    EXPECT_EQ(new_pnt(0, 0, 1, 2, 0), 1);
    EXPECT_EQ(pnt[0].r, 3);
    EXPECT_EQ(pnt[0].pnt_reg, 0);
    pnt[0].state = 0;
    EXPECT_EQ(new_pnt(5, 7, -1, -2, 0), 0);
    EXPECT_EQ(pnt[0].type, 5);
    EXPECT_EQ(pnt[0].n, 7);
    for (int i = 2; i < num_pnts; i++) ASSERT_EQ(new_pnt(0, 0, 0, 0, 0), i);
    pnt_struct last = pnt[num_pnts - 1];
    EXPECT_EQ(new_pnt(0, 0, 9, 9, 0), -1);
    EXPECT_EQ(pnt[num_pnts - 1].x, last.x);
    clear_pnts();
}

TEST(Probes, FindRegionTruncatesTowardZeroAndRejectsOffGrid)
{
    headless_world();
    EXPECT_EQ(find_region(0, 0), 50 * map_sx + 100);
    EXPECT_EQ(find_region(-80.5, -40.5), 0);            // within a cell of the low edges
    EXPECT_EQ(find_region(79.9, 39.9), 99 * map_sx + 199);
    EXPECT_EQ(find_region(80.0, 0), -1);                // column 200
    EXPECT_EQ(find_region(0, 40.0), -1);
    EXPECT_EQ(find_region(-81.0, 0), -1);
    EXPECT_EQ(find_region(1e300, 0), -1);
    EXPECT_EQ(find_region(0, -1e300), -1);
    EXPECT_EQ(find_region(NAN, 0), -1);
}

TEST(Probes, FilingSumsToThePointsInsideTheGrid)
{
    empty_level();
    clear_pnts();
    const double pts[][2] = {{0, 0}, {0.1, 0.1}, {-79.9, -39.9}, {200, 0}, {5, 5}, {0.2, 0.3},
                             {0, -100}, {79.9, 39.9}};
    for (auto &p : pts) new_pnt(0, 0, p[0], p[1], 0);
    pnt[4].state = 0;                                   // a freed point is not filed
    update_pnt_regions();
    int sum = 0;
    for (int c = 0; c < map_sx * map_sy; c++) sum += region[c].pnt_x;
    EXPECT_EQ(sum, 5);
    EXPECT_EQ(pnt[3].pnt_reg, -1);
    EXPECT_EQ(pnt[6].pnt_reg, -1);
    const region_struct &origin = region[find_region(0, 0)];
    ASSERT_EQ(origin.pnt_x, 3);
    EXPECT_EQ(pnt_list[origin.pnt_n + 0], 0);
    EXPECT_EQ(pnt_list[origin.pnt_n + 1], 1);
    EXPECT_EQ(pnt_list[origin.pnt_n + 2], 5);
    clear_pnts();
}

TEST(Probes, GatherListsEachJointOnceAndMarksIt)
{
    empty_level();
    int across = add_jnt(0.1, 0.1, 2.0, 0.1, 1);       // columns 100..102
    int far = jnt_in_cell(110, 50);
    file_jnts();
    std::set<int> s = gathered(0.9, 0.1);
    EXPECT_EQ(s, std::set<int>{across});
    EXPECT_EQ(jnt[across].state, 2);
    EXPECT_NE(jnt[far].state, 0);                       // untouched but still in use
    // A second gather over the same cells takes it again.
    EXPECT_EQ(gathered(0.9, 0.1), std::set<int>{across});
}

TEST(Probes, GatherBlocksAtTheGridCorners)
{
    empty_level();
    int in_low = jnt_in_cell(2, 2), out_low_x = jnt_in_cell(3, 0), out_low_y = jnt_in_cell(0, 3);
    int in_low0 = jnt_in_cell(0, 0);
    int in_high = jnt_in_cell(198, 98), in_high1 = jnt_in_cell(199, 99);
    int out_high = jnt_in_cell(197, 99);
    file_jnts();
    std::set<int> low = gathered(-79.9, -39.9);         // cell (0, 0): block 0..2
    EXPECT_TRUE(low.count(in_low) && low.count(in_low0));
    EXPECT_FALSE(low.count(out_low_x) || low.count(out_low_y));
    std::set<int> high = gathered(79.9, 39.9);          // block 198..199
    EXPECT_TRUE(high.count(in_high) && high.count(in_high1));
    EXPECT_FALSE(high.count(out_high));
    EXPECT_TRUE(gathered(500, 0).empty());
    EXPECT_TRUE(gathered(NAN, NAN).empty());
}

TEST(Probes, GatherStopsAtItsCapacity)
{
    empty_level();
    int a = new_tv(0.1, 0.1), b = new_tv(0.3, 0.1);
    // Written straight into the table: relinking 1,100 joints one by one is
    // quadratic per creation and tells nothing here.
    for (int k = 0; k < 1100; k++) jnt[k] = jnt_struct{1, {a, b}, {-1, -1}, 1};
    file_jnts();
    int p = new_pnt(0, 0, 0.2, 0.1, 0);
    get_adj_jnts(p);
    EXPECT_EQ(get_num_adj_jnts(), adj_jnt_capacity);
    pnt[p].state = 0;
}

TEST(Probes, PerpendicularDistanceCases)
{
    empty_level();
    int k = add_jnt(0, 0, 1, 0, 1);
    int deg = add_jnt(2, 2, 2.001, 2, 1);               // squared length 1e-6
    int p = new_pnt(0, 0, 0.5, 0.1, 0);
    double dx, dy, t = -9;
    int inside;
    EXPECT_NEAR(pnt_jnt_perp_dist(p, k, &dx, &dy, &inside, &t), 0.01, 1e-12);
    EXPECT_EQ(t, 0.5);
    EXPECT_EQ(inside, 1);
    EXPECT_EQ(dx, 0);
    EXPECT_NEAR(dy, -0.1, 1e-12);

    pnt[p].x = -0.3; pnt[p].y = 0.4;
    EXPECT_NEAR(pnt_jnt_perp_dist(p, k, &dx, &dy, &inside, &t), 0.25, 1e-12);
    EXPECT_NEAR(t, -0.3, 1e-12);
    EXPECT_EQ(inside, 0);
    EXPECT_NEAR(dx, 0.3, 1e-12);
    EXPECT_NEAR(dy, -0.4, 1e-12);

    pnt[p].x = 1.0; pnt[p].y = 0.2;
    pnt_jnt_perp_dist(p, k, &dx, &dy, &inside, &t);
    EXPECT_EQ(t, 1.0);
    EXPECT_EQ(inside, 1);

    pnt[p].x = 1.5; pnt[p].y = 0;
    EXPECT_NEAR(pnt_jnt_perp_dist(p, k, &dx, &dy, &inside, &t), 0.25, 1e-12);
    EXPECT_EQ(inside, 0);
    EXPECT_NEAR(dx, -0.5, 1e-12);

    t = 42;
    pnt[p].x = 2.0005; pnt[p].y = 2.01;
    EXPECT_EQ(pnt_jnt_perp_dist(p, deg, &dx, &dy, &inside, &t), 0.0);
    EXPECT_EQ(inside, 0);
    EXPECT_EQ(dx, 0.0);
    EXPECT_EQ(t, 42);                                   // not written
    pnt[p].state = 0;
}
