// Polygons: stored winding, grid filing, and which polygons a drawing pass
// visits (once each, of its layer only, from the visible cells only).
#include <algorithm>
#include "pb_fixture.h"
#include "geometry.h"

std::vector<int> drawn;

namespace {

int count_in(const std::vector<int> &v, int x) { return (int)std::count(v.begin(), v.end(), x); }

int cells_listing_ply(int n)
{
    int cells = 0;
    for (int c = 0; c < map_sx * map_sy; c++)
        for (int i = 0; i < region[c].ply_x; i++)
            cells += ply_list[region[c].ply_n + i] == n;
    return cells;
}

int listed_in_cell(int n, int col, int row)
{
    const region_struct &c = region[row * map_sx + col];
    for (int i = 0; i < c.ply_x; i++)
        if (ply_list[c.ply_n + i] == n) return 1;
    return 0;
}

}  // namespace

TEST_F(PolyBorderTest, TrianglesAreStoredCounterClockwiseAndQuadsAsPassed)
{
    int a = vtx(0, 0), b = vtx(1, 0), c = vtx(0, 1), d = vtx(2, 0);

    new_ply(a, b, c, -1, 0, 3, 2);             // already counter-clockwise
    EXPECT_EQ(ply[0].tvn[0], a);
    EXPECT_EQ(ply[0].tvn[1], b);
    EXPECT_EQ(ply[0].tvn[2], c);
    EXPECT_EQ(ply[0].tvn[3], -1);
    EXPECT_EQ(ply[0].type, 0);
    EXPECT_EQ(ply[0].x, 3);
    EXPECT_EQ(ply[0].layer, 2);
    EXPECT_EQ(ply[0].state, 1);

    new_ply(b, a, c, -1, 0, 0, 0);             // clockwise: first two exchanged
    EXPECT_EQ(ply[1].tvn[0], a);
    EXPECT_EQ(ply[1].tvn[1], b);
    EXPECT_EQ(get_tri_dir(ply[1].tvn[0], ply[1].tvn[1], ply[1].tvn[2]), 1);

    new_ply(a, b, d, -1, 0, 0, 0);             // collinear: exchanged as well
    EXPECT_EQ(ply[2].tvn[0], b);
    EXPECT_EQ(ply[2].tvn[1], a);

    new_ply(c, b, a, d, 1, 0, 1);              // a quad keeps its order, any winding
    EXPECT_EQ(ply[3].tvn[0], c);
    EXPECT_EQ(ply[3].tvn[1], b);
    EXPECT_EQ(ply[3].tvn[2], a);
    EXPECT_EQ(ply[3].tvn[3], d);
    EXPECT_EQ(ply[3].type, 1);
}

TEST_F(PolyBorderTest, NewPolygonTakesTheLowestFreeSlotAndAFullTableIsLeftAlone)
{
    int a = vtx(0, 0), b = vtx(1, 0), c = vtx(0, 1);
    for (int i = 0; i < 3; i++) new_ply(a, b, c, -1, 0, 0, 0);
    ply[1].state = 0;
    new_ply(a, b, c, -1, 0, 5, 1);
    EXPECT_EQ(ply[1].state, 1);
    EXPECT_EQ(ply[1].x, 5);
    EXPECT_EQ(ply[3].state, 0);

    for (int i = 0; i < num_plys; i++) {
        ply[i].state = 1;
        ply[i].x = 7;
    }
    new_ply(a, b, c, -1, 0, 9, 2);
    for (int i = 0; i < num_plys; i++) ASSERT_EQ(ply[i].x, 7) << i;
}

TEST_F(PolyBorderTest, PolygonWithACornerOutsideTheVertexTableIsRefused)
{
    int a = vtx(0, 0), b = vtx(1, 0), c = vtx(0, 1);
    new_ply(a, b, -1, -1, 0, 0, 0);
    new_ply(a, num_tvs, c, -1, 0, 0, 0);
    new_ply(a, b, c, num_tvs + 3, 1, 0, 0);
    new_ply(a, b, c, -2, 1, 0, 0);
    for (int i = 0; i < 4; i++) EXPECT_EQ(ply[i].state, 0) << i;
}

TEST_F(PolyBorderTest, QuadIsFiledAsTwoTrianglesAndOnlyWhereItsEdgesRun)
{
    // A 4 x 4 unit quad from (0, 0): cells 100..105 by 50..55. Its diagonal
    // from corner 3 to corner 1 crosses the middle; cells inside either half
    // that no edge touches are not listed.
    int a = vtx(0, 0), b = vtx(4, 0), c = vtx(4, 4), d = vtx(0, 4);
    new_ply(a, b, c, d, 1, 0, 0);
    update_region_plys();
    EXPECT_TRUE(listed_in_cell(0, 100, 50));      // corner 1
    EXPECT_TRUE(listed_in_cell(0, 105, 55));      // corner 3
    EXPECT_TRUE(listed_in_cell(0, 102, 52));      // on the diagonal 3-1
    EXPECT_FALSE(listed_in_cell(0, 101, 53));     // inside, no edge
    EXPECT_FALSE(listed_in_cell(0, 103, 51));     // inside, no edge
    EXPECT_TRUE(listed_in_cell(0, 100, 53));      // on edge 4-1

    // The same corners as a triangle type: edges 3-4 and 4-1 are not filed.
    ply[0].type = 0;
    update_region_plys();
    EXPECT_FALSE(listed_in_cell(0, 100, 53));
}

TEST_F(PolyBorderTest, DeletingAPolygonTakesItOutOfTheGridAtOnce)
{
    int a = vtx(0, 0), b = vtx(1, 0), c = vtx(0, 1);
    new_ply(a, b, c, -1, 0, 0, 0);
    new_ply(a, b, c, -1, 0, 0, 0);
    update_region_plys();
    EXPECT_GT(cells_listing_ply(0), 0);
    delete_ply(0);
    EXPECT_EQ(cells_listing_ply(0), 0);
    EXPECT_GT(cells_listing_ply(1), 0);
    delete_ply(-1);                               // an index from nowhere is ignored
    delete_ply(num_plys);
    EXPECT_GT(cells_listing_ply(1), 0);
}

TEST_F(PolyBorderTest, WorldTextureCoordinatesRepeatEvery0012UnitsPerTexel)
{
    double s, t;
    ply_tex_coord(1.536, 0.768, 128, 64, &s, &t);
    EXPECT_NEAR(s, 1, 1e-12);
    EXPECT_NEAR(t, 1, 1e-12);
    ply_tex_coord(-3.072, 0, 256, 256, &s, &t);
    EXPECT_NEAR(s, -1, 1e-12);
    EXPECT_EQ(t, 0);
    ply_tex_coord(1, 1, 0, 0, &s, &t);            // no texels: no infinities
    EXPECT_EQ(s, 0);
    EXPECT_EQ(t, 0);
}

// ---- the drawing pass ---------------------------------------------------

TEST_F(PolyBorderTest, DrawingPassVisitsEachVisiblePolygonOnceInFirstMetOrder)
{
    record_all_drawing();
    // Polygon 0 spans many visible cells; polygon 1 lies in one cell of a
    // lower row than polygon 0's first cell, so it is met first.
    int a = vtx(-1.5, 0), b = vtx(1.5, 0), c = vtx(0, 1);
    int p = vtx(0.1, -1.0), q = vtx(0.3, -1.0), r = vtx(0.2, -0.9);
    new_ply(a, b, c, -1, 0, 0, 1);
    new_ply(p, q, r, -1, 0, 0, 1);
    update_region_plys();
    ASSERT_GT(cells_listing_ply(0), 4);

    draw_plys(1);
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[0], 1);
    EXPECT_EQ(drawn[1], 0);

    drawn.clear();
    draw_plys(1);                                 // marks are reset each pass
    EXPECT_EQ(drawn.size(), 2u);
}

TEST_F(PolyBorderTest, DrawingPassKeepsToItsLayerAndSkipsTypesWithoutAFunction)
{
    record_all_drawing();
    int a = vtx(0, 0), b = vtx(0.5, 0), c = vtx(0, 0.5), d = vtx(0.5, 0.5);
    new_ply(a, b, c, -1, 0, 0, 0);                // 0: layer 0
    new_ply(a, b, c, -1, 0, 0, 2);                // 1: layer 2
    new_ply(a, b, d, c, 1, 0, 2);                 // 2: quad, layer 2
    new_ply(a, b, c, -1, 0, 0, 2);                // 3: odd types below
    new_ply(a, b, c, -1, 0, 0, 2);                // 4
    new_ply(a, b, c, -1, 0, 0, 2);                // 5
    ply[3].type = 7;                              // no function in that slot
    ply[4].type = -1;                             // outside the table
    ply[5].type = num_draw_funcs;
    update_region_plys();

    draw_plys(2);
    EXPECT_EQ(drawn, (std::vector<int>{1, 2}));
    drawn.clear();
    draw_plys(0);
    EXPECT_EQ(drawn, (std::vector<int>{0}));
    drawn.clear();
    draw_plys(1);
    EXPECT_TRUE(drawn.empty());
}

TEST_F(PolyBorderTest, PolygonWhoseEdgesMissTheVisibleCellsIsNotDrawn)
{
    record_all_drawing();
    // A triangle far larger than the view around (0, 0), its edges well away.
    int a = vtx(-30, -20), b = vtx(30, -20), c = vtx(0, 30);
    new_ply(a, b, c, -1, 0, 0, 0);
    update_region_plys();
    draw_plys(0);
    EXPECT_TRUE(drawn.empty());

    // Moving the camera onto one of its edges brings it in.
    scr_py = -20;
    draw_plys(0);
    EXPECT_EQ(count_in(drawn, 0), 1);
}

TEST_F(PolyBorderTest, VisibleRecordsNeverWritesPastItsOutputAndSkipsBadIndices)
{
    int a = vtx(0, 0), b = vtx(0.5, 0), c = vtx(0, 0.5);
    for (int i = 0; i < 5; i++) new_ply(a, b, c, -1, 0, 0, 0);
    update_region_plys();
    int out[3] = {-7, -7, -7};
    int n = visible_records(ply_list, &region_struct::ply_n, &region_struct::ply_x, num_plys,
                            visible_cell_range(), out, 2);
    EXPECT_EQ(n, 2);
    EXPECT_EQ(out[2], -7);

    // A list entry naming no record is passed over, not used as an index.
    const region_struct &cell = region[50 * map_sx + 100];
    ASSERT_GT(cell.ply_x, 0);
    ply_list[cell.ply_n] = num_plys + 5;
    int all[8];
    n = visible_records(ply_list, &region_struct::ply_n, &region_struct::ply_x, num_plys,
                        visible_cell_range(), all, 8);
    for (int i = 0; i < n; i++) EXPECT_LT(all[i], num_plys);
}

TEST_F(PolyBorderTest, FullPolygonListLeavesLaterPolygonsOutWholeAndIsNeverOverrun)
{
    // Long flat triangles across the whole grid, each in about 300 cells:
    // 300 of them need more than the 80,000 entries of the list table.
    for (int i = 0; i < 300; i++) {
        double y = -39 + i * 0.25;
        new_ply(vtx(-79.9, y), vtx(79.9, y), vtx(0, y + 1.0), -1, 0, 0, 0);
    }
    testing::internal::CaptureStderr();
    update_region_plys();
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("polygons"), std::string::npos);

    long total = 0;
    for (int c = 0; c < map_sx * map_sy; c++) {
        total += region[c].ply_x;
        EXPECT_LE(region[c].ply_n + region[c].ply_x, ply_list_size);
    }
    EXPECT_LE(total, ply_list_size);
    EXPECT_GT(cells_listing_ply(0), 250);               // the first ones are filed whole
    EXPECT_EQ(cells_listing_ply(299), 0);               // the last one not at all
}
