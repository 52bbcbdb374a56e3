// Border band geometry: the rails, the step length and the strip walk that the
// border drawing emits, including the joins between the bands of a chain.
#include <cmath>
#include <vector>
#include "pb_fixture.h"
#include "bdr_geometry.h"
#include "geometry.h"

namespace {

std::vector<bdr_pair> strip_of(int n, double f_ref, double f_other, int cap = 4096)
{
    std::vector<bdr_pair> out(cap);
    out.resize(bdr_strip(n, f_ref, f_other, out.data(), cap));
    return out;
}

double dist_v(vect_struct a, vect_struct b) { return dist(a.x, a.y, b.x, b.y); }

}  // namespace

TEST_F(PolyBorderTest, LonePlainBorderIsNinePairsFromTheOuterEdgeToItsMirror)
{
    int a = vtx(0, 0), b = vtx(1, 0);
    new_bdr2(a, b, 0, tex_256x64);
    std::vector<bdr_pair> s = strip_of(0, 1, -1);
    ASSERT_EQ(s.size(), 9u);
    for (int i = 0; i < 9; i++) {
        double x = i < 8 ? 0.125 * i : 1.0;
        EXPECT_NEAR(s[i].x, x, 1e-9) << i;
        EXPECT_NEAR(s[i].s, x, 1e-6) << i;
        EXPECT_NEAR(s[i].other.x, x, 1e-6) << i;          // outer edge, t = 1
        EXPECT_NEAR(s[i].other.y, 0.128, 1e-6) << i;
        EXPECT_NEAR(s[i].ref.x, x, 1e-6) << i;            // ground-side rail, t = 0
        EXPECT_NEAR(s[i].ref.y, -0.128, 1e-6) << i;
    }
}

TEST_F(PolyBorderTest, ShortBorderStepsAtHalfItsLength)
{
    int a = vtx(0, 0), b = vtx(0.05, 0);
    new_bdr2(a, b, 0, tex_256x64);
    std::vector<bdr_pair> s = strip_of(0, 1, -1);
    ASSERT_EQ(s.size(), 3u);
    EXPECT_EQ(s[0].x, 0);
    EXPECT_NEAR(s[1].x, 0.025, 1e-8);
    EXPECT_NEAR(s[2].ref.x, 0.05, 1e-8);                 // the exact ends
    EXPECT_NEAR(s[2].other.x, 0.05, 1e-8);
    EXPECT_NEAR(s[2].s, bdr[0].tex_offset + bdr[0].tex_len, 1e-7);
}

TEST_F(PolyBorderTest, StepShrinksAsTheEndMitresDiverge)
{
    vect_struct up = {0, 1}, right = {1, 0}, down = {0, -1};
    vect_struct half = {cos(Z_PI / 3), sin(Z_PI / 3)};   // 60 degrees from right
    EXPECT_DOUBLE_EQ(bdr_step_length(up, up, 10), 0.125);
    EXPECT_NEAR(bdr_step_length(right, half, 10), 0.1 * 0.25 + 0.025, 1e-9);
    EXPECT_DOUBLE_EQ(bdr_step_length(up, right, 10), 0.025);
    EXPECT_DOUBLE_EQ(bdr_step_length(up, down, 10), 0.025);
    EXPECT_DOUBLE_EQ(bdr_step_length(up, up, 0.1), 0.05);
    vect_struct none = {0, 0};
    EXPECT_DOUBLE_EQ(bdr_step_length(none, up, 10), 0.025);   // no angle: finest
}

TEST_F(PolyBorderTest, RailsMeetTheirEndsAndBowBetweenSlantedMitres)
{
    // Mitres slanted opposite ways at the two ends: the rail bows, yet starts
    // and ends exactly on its end points.
    bdr_ends e;
    e.start = vect_struct{0, 0};
    e.end = vect_struct{1, 0};
    e.va = vect_struct{0.05, -0.1};
    e.vb = vect_struct{-0.05, -0.1};
    bdr_rail r;
    ASSERT_TRUE(make_bdr_rail(e, -1, &r));
    EXPECT_NEAR(r.s.x, -0.05, 1e-12);
    EXPECT_NEAR(r.s.y, 0.1, 1e-12);
    EXPECT_NEAR(bdr_rail_offset(r, 0), 0, 1e-12);
    EXPECT_NEAR(bdr_rail_offset(r, r.len), 0, 1e-12);
    vect_struct end = bdr_rail_point(r, r.len);
    EXPECT_NEAR(end.x, r.e.x, 1e-12);
    EXPECT_NEAR(end.y, r.e.y, 1e-12);
    EXPECT_GT(fabs(bdr_rail_offset(r, r.len / 2)), 1e-3);

    // Slopes of the offset: (kb - ka) / 2 at the start, (ka - kb) / 2 at the end.
    vect_struct chord = {r.e.x - r.s.x, r.e.y - r.s.y}, pa, pb;
    projected_vect(e.va, chord, &pa);
    projected_vect(e.vb, chord, &pb);
    double ka = pa.x / pa.y, kb = pb.x / pb.y, d = 1e-6;
    EXPECT_NEAR((bdr_rail_offset(r, d) - bdr_rail_offset(r, 0)) / d, (kb - ka) / 2, 1e-4);
    EXPECT_NEAR((bdr_rail_offset(r, r.len) - bdr_rail_offset(r, r.len - d)) / d,
                (ka - kb) / 2, 1e-4);

    // Perpendicular mitres: straight rails.
    e.va = e.vb = vect_struct{0, -0.1};
    ASSERT_TRUE(make_bdr_rail(e, 1, &r));
    EXPECT_EQ(bdr_rail_offset(r, 0.3), 0);
}

TEST_F(PolyBorderTest, MitreAlongTheRailOrARailOfNoLengthDrawsNothing)
{
    bdr_ends e;
    e.start = vect_struct{0, 0};
    e.end = vect_struct{1, 0};
    e.va = vect_struct{0, -0.1};
    e.vb = vect_struct{0.1, 0};                            // end mitre along the border
    bdr_rail r;
    EXPECT_FALSE(make_bdr_rail(e, 0, &r));

    e.vb = vect_struct{0, -0.1};
    e.end = e.start;                                        // all rails collapse
    EXPECT_FALSE(make_bdr_rail(e, 1, &r));

    // Through the tables: the outer vertices moved onto the border's own line.
    int a = vtx(0, 0), b = vtx(1, 0);
    new_bdr2(a, b, 0, tex_256x64);
    tv[bdr[0].tva[0]].x = -0.2f;
    tv[bdr[0].tva[0]].y = 0;
    tv[bdr[0].tva[1]].x = 1.2f;
    tv[bdr[0].tva[1]].y = 0;
    EXPECT_TRUE(strip_of(0, 1, -1).empty());
    const double rails[3] = {1, 0.3, -1};
    EXPECT_FALSE(bdr_rails_drawable(0, rails, 3));
    EXPECT_TRUE(strip_of(5, 1, -1).empty());              // a free slot
}

TEST_F(PolyBorderTest, BandsOfAChainJoinAtTheSharedMitre)
{
    // Around a corner, both rails of the first band end where those of the
    // second begin, and the texture runs on across the join.
    int a = vtx(0, 0), b = vtx(1, 0), c = vtx(1.6, 0.8);
    new_bdr2(a, b, 0, tex_256x64);
    new_bdr2(b, c, 0, tex_256x64);
    for (double f : {1.0, 0.3, -1.0}) {
        std::vector<bdr_pair> s0 = strip_of(0, f, -1), s1 = strip_of(1, f, -1);
        ASSERT_FALSE(s0.empty());
        ASSERT_FALSE(s1.empty());
        EXPECT_LT(dist_v(s0.back().ref, s1.front().ref), 1e-6) << f;
        EXPECT_LT(dist_v(s0.back().other, s1.front().other), 1e-6) << f;
        EXPECT_NEAR(s0.back().s, s1.front().s, 1e-6) << f;
    }
    // The corner's steps are finer than a straight band's.
    bdr_ends e;
    ASSERT_TRUE(get_bdr_ends(0, &e));
    EXPECT_LT(bdr_step_length(e.va, e.vb, 1), 0.125);
}

TEST_F(PolyBorderTest, StripWalkNeverWritesPastItsBufferAndStillEndsOnTheEnds)
{
    int a = vtx(-70, -30), b = vtx(70, 30);
    new_bdr2(a, b, 0, tex_256x64);
    std::vector<bdr_pair> buf(65);
    bdr_pair guard;
    guard.x = -99;
    buf[64] = guard;
    int n = bdr_strip(0, 1, -1, buf.data(), 64);
    EXPECT_EQ(n, 64);
    EXPECT_EQ(buf[64].x, -99);
    bdr_ends e;
    ASSERT_TRUE(get_bdr_ends(0, &e));
    EXPECT_NEAR(buf[n - 1].ref.x, e.end.x + e.vb.x, 1e-5);
    EXPECT_NEAR(buf[n - 1].ref.y, e.end.y + e.vb.y, 1e-5);
    for (int i = 1; i < n; i++) EXPECT_GT(buf[i].x, buf[i - 1].x) << i;

    // The full walk at its natural step fits the drawing's buffer.
    std::vector<bdr_pair> all = strip_of(0, 1, -1, 8192);
    EXPECT_GT(all.size(), 1000u);
    EXPECT_LT(all.size(), 8192u);
}
