// tests/terrain/terrain_fixture.h -- an empty headless world for each test,
// and small builders for terrain by coordinates.
#pragma once
#include <vector>
#include "test_support.h"
#include "hillhopper.h"
#include "terrain_file.h"
#include "zmem.h"

class TerrainTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        headless_world();
        load_plain_level();
        world_ang = 0;
        scr_px = scr_py = 0;
    }
};

// A vertex at (x, y); fails the test when the table is full.
inline int vtx(double x, double y)
{
    int v = new_tv(x, y);
    EXPECT_GE(v, 0);
    return v;
}

// Cells (as row * map_sx + column) whose run of a kind lists record n.
inline std::vector<int> cells_listing(int n, const int *list, int region_struct::*start,
                                      short region_struct::*count)
{
    std::vector<int> out;
    for (int c = 0; c < map_sx * map_sy; c++)
        for (int i = 0; i < region[c].*count; i++)
            if (list[region[c].*start + i] == n) out.push_back(c);
    return out;
}

inline int cell_of(int col, int row) { return row * map_sx + col; }
