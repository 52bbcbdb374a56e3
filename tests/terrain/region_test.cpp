// tests/terrain/region_test.cpp -- the segment-versus-cell test, the filing of
// joints in the grid, the list layout after a rebuild, the capacity guard and
// the visible cell range.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <set>
#include "terrain_fixture.h"
#include "joints.h"
#include "region.h"

TEST(LineInRegion, EndsInsideCrossingTouchingAndMissing)
{
    // An end inside the half-open cell.
    EXPECT_EQ(line_in_region(10.5, 20.5, 40, 40, 10, 20), 1);
    EXPECT_EQ(line_in_region(40, 40, 10.0, 20.0, 10, 20), 1);
    // Passing straight through without an end inside.
    EXPECT_EQ(line_in_region(9.5, 20.5, 11.5, 20.5, 10, 20), 1);
    EXPECT_EQ(line_in_region(10.5, 19, 10.5, 22, 10, 20), 1);
    // Diagonal through the corner region.
    EXPECT_EQ(line_in_region(9, 19.8, 10.5, 21.3, 10, 20), 1);
    EXPECT_EQ(line_in_region(9, 20.5, 10.5, 22, 10, 20), 0);   // passes above the corner
    // Ending exactly on a side (the right side x = 11 is outside the half-open
    // square, but touching a side counts).
    EXPECT_EQ(line_in_region(12, 20.5, 11, 20.5, 10, 20), 1);
    // Running along the line of the bottom side, from outside.
    EXPECT_EQ(line_in_region(9, 20, 12, 20, 10, 20), 1);
    // Touching only a corner.
    EXPECT_EQ(line_in_region(11, 21, 12, 22, 10, 20), 1);
    // Clear misses.
    EXPECT_EQ(line_in_region(12, 20.5, 13, 20.5, 10, 20), 0);
    EXPECT_EQ(line_in_region(9, 22.5, 12, 21.5, 10, 20), 0);
    EXPECT_EQ(line_in_region(9.6, 22, 8, 20, 10, 20), 0);
}

class RegionGrid : public TerrainTest {};

TEST_F(RegionGrid, JointAlongCellSideIsFiledInItsBoundingRowOnly)
{
    int a = vtx(0, 0), b = vtx(1, 0);
    new_jnt(a, b, 1);
    update_region_jnts();
    std::vector<int> cells = cells_listing(0, jnt_list, &region_struct::jnt_n, &region_struct::jnt_x);
    EXPECT_EQ(cells, (std::vector<int>{cell_of(100, 50), cell_of(101, 50)}));
}

TEST_F(RegionGrid, VertexOnTheGridEdgeIsFiledInTheLastColumn)
{
    int a = vtx(79.5, 0.3), b = vtx(80, 0.3);
    new_jnt(a, b, 1);
    int c = vtx(-80, -40), d = vtx(-79.5, -39.9);
    new_jnt(c, d, 1);
    update_region_jnts();
    std::vector<int> right = cells_listing(0, jnt_list, &region_struct::jnt_n, &region_struct::jnt_x);
    ASSERT_FALSE(right.empty());
    for (int cell : right) EXPECT_EQ(cell / map_sx, 50);
    EXPECT_EQ(right.back() % map_sx, map_sx - 1);
    std::vector<int> left = cells_listing(1, jnt_list, &region_struct::jnt_n, &region_struct::jnt_x);
    EXPECT_EQ(left, (std::vector<int>{cell_of(0, 0)}));
}

TEST_F(RegionGrid, RecordsOutsideTheGridAreFiledNowhereAndBadCoordinatesAreSkipped)
{
    new_jnt(vtx(90, 0), vtx(95, 1), 1);           // wholly right of the grid
    new_jnt(vtx(-95, -50), vtx(-85, -45), 1);     // wholly below left
    new_jnt(vtx(NAN, 0), vtx(1, 1), 1);
    new_jnt(vtx(1e30, 0), vtx(-1e30, 0), 1);      // crosses the whole grid
    update_region_jnts();
    EXPECT_TRUE(cells_listing(0, jnt_list, &region_struct::jnt_n, &region_struct::jnt_x).empty());
    EXPECT_TRUE(cells_listing(1, jnt_list, &region_struct::jnt_n, &region_struct::jnt_x).empty());
    EXPECT_TRUE(cells_listing(2, jnt_list, &region_struct::jnt_n, &region_struct::jnt_x).empty());
    // A huge but finite segment through y = 0 is filed along its whole row.
    EXPECT_EQ(cells_listing(3, jnt_list, &region_struct::jnt_n, &region_struct::jnt_x).size(),
              (size_t)map_sx);
}

// Every cell that a segment really passes through lists it: checked by points
// sampled along the segment, independently of the side tests.
TEST_F(RegionGrid, RandomJointsAreFiledInEveryCellTheyCrossAndRunsAreOrdered)
{
    srand(1234);
    const int joints = 3000;
    for (int i = 0; i < joints; i++) {
        double x = rand() % 15000 / 100.0 - 75, y = rand() % 7000 / 100.0 - 35;
        double dx = (rand() % 800 - 400) / 100.0, dy = (rand() % 800 - 400) / 100.0;
        new_jnt(vtx(x, y), vtx(x + dx, y + dy), 1);
    }
    for (int n = 0; n < joints; n += 7) jnt[n].state = 0;   // free slots in between
    update_region_jnts();

    long total = 0;
    for (int c = 0; c < map_sx * map_sy; c++) {
        EXPECT_EQ(region[c].jnt_n, total) << "runs follow each other without gaps";
        EXPECT_EQ(region[c].obs_added, region[c].jnt_x);
        for (int i = 1; i < region[c].jnt_x; i++)
            ASSERT_LT(jnt_list[region[c].jnt_n + i - 1], jnt_list[region[c].jnt_n + i]);
        total += region[c].jnt_x;
    }
    EXPECT_LE(total, jnt_list_size);

    std::vector<std::set<int>> filed(joints);
    for (int c = 0; c < map_sx * map_sy; c++)
        for (int i = 0; i < region[c].jnt_x; i++) filed[jnt_list[region[c].jnt_n + i]].insert(c);
    for (int n = 0; n < joints; n++) {
        if (jnt[n].state == 0) {
            EXPECT_TRUE(filed[n].empty());
            continue;
        }
        double ax = tv[jnt[n].tvn[0]].x, ay = tv[jnt[n].tvn[0]].y;
        double bx = tv[jnt[n].tvn[1]].x, by = tv[jnt[n].tvn[1]].y;
        for (int s = 0; s <= 64; s++) {
            double t = s / 64.0;
            double cx = cell_x(ax + (bx - ax) * t), cy = cell_y(ay + (by - ay) * t);
            int cell = (int)cy * map_sx + (int)cx;
            ASSERT_TRUE(filed[n].count(cell)) << "joint " << n << " misses cell " << cell % map_sx << "," << cell / map_sx << " at t " << t;
        }
    }
}

TEST_F(RegionGrid, DeletingEveryJointLeavesAllCountsZero)
{
    for (int i = 0; i < 20; i++) new_jnt(vtx(i, 0), vtx(i + 1, 0.5), 1);
    update_region_jnts();
    for (int i = 0; i < 20; i++) delete_jnt(i);
    for (int c = 0; c < map_sx * map_sy; c++) ASSERT_EQ(region[c].jnt_x, 0);
}

// A list table that is too small: nothing is written past it, a record that
// no longer fits is left out whole, and what is filed stays consistent.
static int test_list[64];
static int joints_as_edges(int n, int ends[max_record_edges][2])
{
    if (jnt[n].state == 0) return 0;
    ends[0][0] = jnt[n].tvn[0];
    ends[0][1] = jnt[n].tvn[1];
    return 1;
}

TEST_F(RegionGrid, AFullListTableIsNeverOverrunAndLeavesWholeRecordsOut)
{
    new_jnt(vtx(-10, 0.3), vtx(-6, 0.3), 1);      // 5 or 6 cells
    new_jnt(vtx(0, 0.3), vtx(8, 0.3), 1);         // about 11 cells: does not fit
    new_jnt(vtx(20, 0.3), vtx(21, 0.3), 1);       // 2 cells: still fits
    const int size = 10;
    for (int i = 0; i < 64; i++) test_list[i] = -7;
    region_kind k = {"test joints", num_jnts, joints_as_edges, test_list, size,
                     &region_struct::jnt_n, &region_struct::jnt_x};
    testing::internal::CaptureStderr();
    int written = rebuild_region_kind(k);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("full"), std::string::npos);
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1);

    for (int i = size; i < 64; i++) EXPECT_EQ(test_list[i], -7);
    EXPECT_TRUE(cells_listing(1, test_list, &region_struct::jnt_n, &region_struct::jnt_x).empty());
    size_t first = cells_listing(0, test_list, &region_struct::jnt_n, &region_struct::jnt_x).size();
    size_t third = cells_listing(2, test_list, &region_struct::jnt_n, &region_struct::jnt_x).size();
    EXPECT_GE(first, 5u);
    EXPECT_EQ(third, 2u);
    long total = 0;
    for (int c = 0; c < map_sx * map_sy; c++) total += region[c].jnt_x;
    EXPECT_EQ(total, written);
    EXPECT_EQ((size_t)written, first + third);
}

TEST_F(RegionGrid, VisibleRangeAroundTheView)
{
    cell_range r = visible_cell_range();
    EXPECT_EQ(r.col0, 96);                          // (0 + 78) * 1.25 - 1 = 96.5
    EXPECT_DOUBLE_EQ(r.xmax, 103.5);
    EXPECT_EQ(r.row0, 47);                          // 38.5 * 1.25 - 1 = 47.125
    EXPECT_DOUBLE_EQ(r.ymax, 52.875);

    // A rotated view: the centre is turned back by the view angle, and the
    // block stays axis-aligned.
    scr_px = 10;
    scr_py = 0;
    world_ang = 90;
    r = visible_cell_range();
    cell_range around = cell_range_around(0, -10);
    EXPECT_EQ(r.col0, around.col0);
    EXPECT_EQ(r.row0, around.row0);
    EXPECT_NEAR(r.xmax, around.xmax, 1e-6);
    EXPECT_NEAR(r.ymax, around.ymax, 1e-6);
    EXPECT_NEAR(r.xmax - (double)r.col0, 103.5 - 96, 1e-6);

    // Near the corners of the grid the block is clamped.
    r = cell_range_around(-80, -40);
    EXPECT_EQ(r.col0, 0);
    EXPECT_EQ(r.row0, 0);
    r = cell_range_around(79.9, 39.9);
    EXPECT_DOUBLE_EQ(r.xmax, map_sx - 1);
    EXPECT_DOUBLE_EQ(r.ymax, map_sy - 1);
    // A view far away gives an empty walk, never an index outside the grid.
    r = cell_range_around(1e9, -1e9);
    EXPECT_FALSE(r.col0 < r.xmax && r.row0 < r.ymax);
    r = cell_range_around(NAN, 0);
    EXPECT_FALSE(r.col0 < r.xmax);
}
