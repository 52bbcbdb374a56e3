// Plane geometry helpers, including the degenerate cases later code relies on.
#include <cmath>
#include "test_support.h"
#include "hillhopper.h"
#include "geometry.h"
#include "zmem.h"

TEST(Geometry, AbsAndDistance)
{
    EXPECT_EQ(absf(-2.5), 2.5);
    EXPECT_EQ(absf(0.0), 0.0);
    EXPECT_EQ(absf(3.0), 3.0);
    EXPECT_DOUBLE_EQ(dist(0, 0, 3, 4), 5);
    EXPECT_DOUBLE_EQ(dist(1, 1, 1, 1), 0);
}

TEST(Geometry, RotPointZeroAngleIsExactAndQuarterTurnIsCounterClockwise)
{
    double x, y;
    rot_point(0.1234567891, -7.7777777, 3, 4, 0, &x, &y);
    EXPECT_EQ(x, 0.1234567891);
    EXPECT_EQ(y, -7.7777777);
    rot_point(1, 0, 0, 0, M_PI / 2, &x, &y);
    EXPECT_NEAR(x, 0, 1e-12);
    EXPECT_NEAR(y, 1, 1e-12);
    rot_point(2, 1, 1, 1, M_PI, &x, &y);    // about a pivot
    EXPECT_NEAR(x, 0, 1e-12);
    EXPECT_NEAR(y, 1, 1e-12);
    // In place: outputs may be the caller's inputs.
    double px = 1, py = 0;
    rot_point(px, py, 0, 0, M_PI / 2, &px, &py);
    EXPECT_NEAR(px, 0, 1e-12);
    EXPECT_NEAR(py, 1, 1e-12);
}

TEST(Geometry, SameSideOfLine)
{
    // Points strictly on one side or the other.
    EXPECT_EQ(same_side_of_line(0, 0, 1, 0, 0.5, 1, 2, 3), 1);
    EXPECT_EQ(same_side_of_line(0, 0, 1, 0, 0.5, 1, 2, -3), 0);
    // A tested point on the line.
    EXPECT_EQ(same_side_of_line(0, 0, 1, 0, 5, 0, 2, 3), 0);
    EXPECT_EQ(same_side_of_line(0, 0, 1, 1, 0.5, 1, 2, 2), 0);
    // Coincident line points define no line.
    EXPECT_EQ(same_side_of_line(1, 1, 1, 1, 0, 5, 0, 6), 0);
    // A horizontal line drawn right to left still separates above and below.
    EXPECT_EQ(same_side_of_line(1, 0, 0, 0, 0.5, 1, 0.7, 2), 1);
    EXPECT_EQ(same_side_of_line(1, 0, 0, 0, 0.5, 1, 0.7, -2), 0);
    EXPECT_EQ(same_side_of_line(1, 0, 0, 0, 0.5, -1, 0.7, -2), 1);
    // Vertical lines, both directions.
    EXPECT_EQ(same_side_of_line(0, 0, 0, 1, 1, 0, 2, 5), 1);
    EXPECT_EQ(same_side_of_line(0, 1, 0, 0, -1, 0, 2, 5), 0);
}

TEST(Geometry, InsideTriangleIsStrictAndWindingFree)
{
    EXPECT_EQ(inside_tri(0, 0, 1, 0, 0, 1, 0.25, 0.25), 1);
    EXPECT_EQ(inside_tri(0, 0, 0, 1, 1, 0, 0.25, 0.25), 1);   // clockwise too
    EXPECT_EQ(inside_tri(0, 0, 1, 0, 0, 1, 0.5, 0), 0);       // on an edge
    EXPECT_EQ(inside_tri(0, 0, 1, 0, 0, 1, 0.5, 0.5), 0);     // on the hypotenuse
    EXPECT_EQ(inside_tri(0, 0, 1, 0, 0, 1, 0, 0), 0);         // on a corner
    EXPECT_EQ(inside_tri(0, 0, 1, 0, 0, 1, 1, 1), 0);         // outside
    EXPECT_EQ(inside_tri(0, 0, 1, 1, 2, 2, 1, 1), 0);         // degenerate
    EXPECT_EQ(inside_tri(0, 0, 1, 1, 2, 2, 0.5, 0.6), 0);
}

namespace {

int vertex(double x, double y)
{
    int v = new_tv(x, y);
    EXPECT_NE(v, -1);
    return v;
}

void free_vertices(std::initializer_list<int> vs)
{
    for (int v : vs) tv[v].state = 0;
}

}  // namespace

TEST(Geometry, TriangleDirection)
{
    headless_world();
    int a = vertex(0, 0), b = vertex(1, 0), c = vertex(1, 1), d = vertex(2, 0);
    EXPECT_EQ(get_tri_dir(a, b, c), 1);     // turn left: counter-clockwise
    EXPECT_EQ(get_tri_dir(c, b, a), -1);    // outer two exchanged
    EXPECT_EQ(get_tri_dir(a, b, d), -1);    // collinear
    EXPECT_EQ(get_tri_dir(d, b, a), -1);
    free_vertices({a, b, c, d});
}

TEST(Geometry, Vectors)
{
    vect_struct v;
    perp_vect({2, 3}, &v);
    EXPECT_EQ(v.x, -3);
    EXPECT_EQ(v.y, 2);
    EXPECT_EQ(dot_prod({1, 2}, {3, 4}), 11);
    EXPECT_EQ(vect_mag({3, 4}), 5);
    unit_vect({3, 4}, &v);
    EXPECT_DOUBLE_EQ(v.x, 0.6);
    EXPECT_DOUBLE_EQ(v.y, 0.8);
    unit_vect({0, 0}, &v);
    EXPECT_EQ(v.x, 0);
    EXPECT_EQ(v.y, 0);
    unit_vect({5e-7, 5e-7}, &v);    // shorter than 1e-6
    EXPECT_EQ(v.x, 0);
    EXPECT_EQ(v.y, 0);
    projected_vect({1, 1}, {2, 0}, &v);
    EXPECT_DOUBLE_EQ(v.x, 1);
    EXPECT_DOUBLE_EQ(v.y, 1);
    projected_vect({1, 1}, {0, 2}, &v);
    EXPECT_DOUBLE_EQ(v.x, 1);
    EXPECT_DOUBLE_EQ(v.y, -1);
}

TEST(Tables, NewVertexTakesTheLowestFreeSlotAndReportsAFullTable)
{
    headless_world();
    for (int i = 0; i < num_tvs; i++) tv[i].state = 0;
    EXPECT_EQ(new_tv(1, 2), 0);
    EXPECT_EQ(new_tv(3, 4), 1);
    EXPECT_EQ(new_tv(5, 6), 2);
    tv[1].state = 0;
    EXPECT_EQ(new_tv(7, 8), 1);
    EXPECT_EQ(tv[1].x, 7.0f);
    for (int i = 0; i < num_tvs; i++) tv[i].state = 1;
    terrain_vertex_struct before = tv[0];
    EXPECT_EQ(new_tv(9, 9), -1);
    EXPECT_EQ(tv[0].x, before.x);
    for (int i = 0; i < num_tvs; i++) tv[i].state = 0;
}

TEST(Tables, FacingSlotStartsAtZero)
{
    headless_world();
    EXPECT_EQ(f[F_FACING], 0);
}
