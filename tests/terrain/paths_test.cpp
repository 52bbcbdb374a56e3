// tests/terrain/paths_test.cpp -- mitre normals at joint ends and the ride
// path over a joint, on whole joints and on the plain geometry.
#include <cmath>
#include "terrain_fixture.h"
#include "joints.h"
#include "paths.h"

class Paths : public TerrainTest {};

TEST_F(Paths, LoneJointHasRightHandNormalsAndAStraightPath)
{
    new_jnt(vtx(0, 0), vtx(2, 0), 1);
    vect_struct s, e;
    get_edge_normals(0, &s, &e);
    EXPECT_NEAR(s.x, 0, 1e-12);
    EXPECT_NEAR(s.y, -1, 1e-12);
    EXPECT_NEAR(e.x, 0, 1e-12);
    EXPECT_NEAR(e.y, -1, 1e-12);
    // A negative height lies on the walking side, above a left-to-right floor.
    double px = 99, py = 99;
    clever_func(0, 0.5, -0.25, &px, &py);
    EXPECT_NEAR(px, 1, 1e-9);
    EXPECT_NEAR(py, 0.25, 1e-9);
    for (double X = 0; X <= 1; X += 0.125) {
        clever_func(0, X, -0.25, &px, &py);
        EXPECT_NEAR(py, 0.25, 1e-9);
        EXPECT_NEAR(px, 2 * X, 1e-9);
    }
}

TEST_F(Paths, CornerMitreBisectsTheTurnAndPathsMeetOnIt)
{
    int a = vtx(0, 0), b = vtx(1, 0), c = vtx(2, 1);
    new_jnt(a, b, 1);
    new_jnt(b, c, 1);
    vect_struct s0, e0, s1, e1;
    get_edge_normals(0, &s0, &e0);
    get_edge_normals(1, &s1, &e1);
    EXPECT_NEAR(e0.x, 0.3827, 5e-5);
    EXPECT_NEAR(e0.y, -0.9239, 5e-5);
    EXPECT_NEAR(s1.x, e0.x, 1e-12);
    EXPECT_NEAR(s1.y, e0.y, 1e-12);
    // Outer ends have no neighbour: right-hand normals of their own joints.
    EXPECT_NEAR(s0.y, -1, 1e-12);
    EXPECT_NEAR(e1.x, std::sqrt(0.5), 1e-12);
    EXPECT_NEAR(e1.y, -std::sqrt(0.5), 1e-12);

    // Both paths end on the shared mitre point, with the same direction.
    const double h = -0.3;
    double x0, y0, x1, y1;
    clever_func(0, 1, h, &x0, &y0);
    clever_func(1, 0, h, &x1, &y1);
    EXPECT_NEAR(x0, 1 + e0.x * h, 1e-9);
    EXPECT_NEAR(y0, e0.y * h, 1e-9);
    EXPECT_NEAR(x1, x0, 1e-9);
    EXPECT_NEAR(y1, y0, 1e-9);
    const double dX = 1e-6;
    double xa, ya, xb, yb;
    clever_func(0, 1 - dX, h, &xa, &ya);
    clever_func(1, dX, h, &xb, &yb);
    double ang_in = std::atan2(y0 - ya, x0 - xa), ang_out = std::atan2(yb - y1, xb - x1);
    // Each path bends toward the other across the corner: the turn from the
    // first chord to the second is shared between the two path ends.
    double x0s, y0s, x1e, y1e;
    clever_func(0, 0, h, &x0s, &y0s);
    clever_func(1, 1, h, &x1e, &y1e);
    double chord0 = std::atan2(y0 - y0s, x0 - x0s), chord1 = std::atan2(y1e - y1, x1e - x1);
    EXPECT_LT(chord0, ang_in);
    EXPECT_LT(ang_in, ang_out);
    EXPECT_LT(ang_out, chord1);
    EXPECT_NEAR(ang_in - chord0, chord1 - ang_out, 0.01);
}

TEST_F(Paths, NonwalkingNeighbourAndStraightNeighbourCountAsNone)
{
    int a = vtx(0, 0), b = vtx(1, 0), c = vtx(2, 1), d = vtx(-1, 0);
    new_jnt(a, b, 1);       // 0
    new_jnt(b, c, 2);       // 1: non-walking, turns up
    new_jnt(d, a, 1);       // 2: in line before joint 0
    vect_struct s, e;
    get_edge_normals(0, &s, &e);
    EXPECT_EQ(jnt[0].njnt[1], 1);
    EXPECT_NEAR(e.x, 0, 1e-12);
    EXPECT_NEAR(e.y, -1, 1e-12);
    EXPECT_EQ(jnt[0].njnt[0], 2);
    EXPECT_NEAR(s.x, 0, 1e-12);
    EXPECT_NEAR(s.y, -1, 1e-12);
}

TEST_F(Paths, DegenerateCasesLeaveTheOutputsAsTheyWere)
{
    // A mitre parallel to the chord: a neighbour folding straight back.
    int a = vtx(0, 0), b = vtx(1, 0), back = vtx(1, 0);
    new_jnt(back, a, 1);    // 0: runs from (1, 0) back to the start of joint 1
    new_jnt(a, b, 1);       // 1
    vect_struct s, e;
    get_edge_normals(1, &s, &e);
    EXPECT_NEAR(s.x, 1, 1e-12);
    EXPECT_NEAR(s.y, 0, 1e-12);
    double px = 7, py = 8;
    clever_func(1, 0.5, 0, &px, &py);
    EXPECT_EQ(px, 7);
    EXPECT_EQ(py, 8);

    // The plain geometry: parallel mitres and a chord of no length.
    vect_struct A = {0, 0}, B = {1, 0}, down = {0, -1}, along = {1, 0};
    EXPECT_EQ(ride_path_point(A, B, along, down, 0.5, 0, &px, &py), 0);
    EXPECT_EQ(ride_path_point(A, B, down, along, 0.5, 0, &px, &py), 0);
    EXPECT_EQ(ride_path_point(A, A, down, down, 0.5, -0.1, &px, &py), 0);
    EXPECT_EQ(px, 7);
    EXPECT_EQ(py, 8);
    // A joint number that names no joint.
    clever_func(-1, 0.5, 0, &px, &py);
    clever_func(num_jnts, 0.5, 0, &px, &py);
    EXPECT_EQ(px, 7);
}

TEST(PathGeometry, MitreOfInLineNeighbourIsTheRightHandNormal)
{
    vect_struct e = {0.6, 0.8};
    vect_struct m = end_mitre(e, 1, vect_struct{4e-6, -4e-6}, 1);
    EXPECT_NEAR(m.x, 0.8, 1e-12);
    EXPECT_NEAR(m.y, -0.6, 1e-12);
    m = end_mitre(e, 0, vect_struct{1, 1}, 1);
    EXPECT_NEAR(m.x, 0.8, 1e-12);
    m = end_mitre(e, 1, vect_struct{0, 2}, -1);
    EXPECT_NEAR(m.x, 0, 1e-12);
    EXPECT_NEAR(m.y, -1, 1e-12);
}
