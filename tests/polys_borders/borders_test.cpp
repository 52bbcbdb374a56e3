// Borders: building a chain (outer vertices, links, mitres), texture wrapping
// of open chains and loops, refusal when the tables are full, filing, and the
// drawing pass that visits each visible border once.
#include <cmath>
#include "pb_fixture.h"
#include "geometry.h"

namespace {

const double half_width_64 = 64 * 0.002;    // a 64-texel-high texture's band

void expect_tv_at(int v, double x, double y, double tol = 1e-6)
{
    ASSERT_GE(v, 0);
    EXPECT_NEAR(tv[v].x, x, tol) << "vertex " << v;
    EXPECT_NEAR(tv[v].y, y, tol) << "vertex " << v;
}

// Links borders a -> b -> ... by hand, as a loaded level might hold them.
void link(int a, int b)
{
    bdr[a].next_b = (short)b;
    bdr[b].last_b = (short)a;
}

// A bare border record in slot n with the given texture length.
void put_bdr(int n, float tex_len)
{
    bdr[n] = bdr_struct{};
    bdr[n].state = 1;
    bdr[n].tvn[0] = bdr[n].tvn[1] = 0;
    bdr[n].tva[0] = bdr[n].tva[1] = 0;
    bdr[n].last_b = bdr[n].next_b = -1;
    bdr[n].tex_len = tex_len;
}

}  // namespace

TEST_F(PolyBorderTest, LoneBorderGetsItsLengthAndTwoOuterVertices)
{
    j[J_ARROW_GROUP] = 4;
    int a = vtx(0, 0), b = vtx(1, 0);
    new_bdr2(a, b, 2, tex_256x64);
    const bdr_struct &r = bdr[0];
    EXPECT_EQ(r.state, 1);
    EXPECT_EQ(r.tvn[0], a);
    EXPECT_EQ(r.tvn[1], b);
    EXPECT_EQ(r.type, 2);
    EXPECT_EQ(r.x, tex_256x64);
    EXPECT_EQ(r.wpn, 4);
    EXPECT_EQ(r.last_b, -1);
    EXPECT_EQ(r.next_b, -1);
    EXPECT_FLOAT_EQ(r.tex_len, 1);
    EXPECT_EQ(r.tex_offset, 0);
    expect_tv_at(r.tva[0], 0, half_width_64);
    expect_tv_at(r.tva[1], 1, half_width_64);

    // Going right to left, the left-hand side is below.
    int c = vtx(5, 0), d = vtx(3, 0);
    new_bdr2(c, d, 0, tex_128x64);
    EXPECT_FLOAT_EQ(bdr[1].tex_len, 4);           // 2 units, 128 texels: 0.5 per repeat
    expect_tv_at(bdr[1].tva[0], 5, -half_width_64);
    expect_tv_at(bdr[1].tva[1], 3, -half_width_64);
}

TEST_F(PolyBorderTest, BorderDrawnOnFromAnotherSharesAMitredOuterVertex)
{
    int a = vtx(0, 0), b = vtx(1, 0), c = vtx(1, 1);
    new_bdr2(a, b, 0, tex_256x64);
    new_bdr2(b, c, 0, tex_256x64);                // a left turn at b
    EXPECT_EQ(bdr[0].next_b, 1);
    EXPECT_EQ(bdr[1].last_b, 0);
    EXPECT_EQ(bdr[0].last_b, -1);
    EXPECT_EQ(bdr[1].next_b, -1);
    EXPECT_EQ(bdr[1].tva[0], bdr[0].tva[1]);
    EXPECT_FLOAT_EQ(bdr[1].tex_offset, bdr[0].tex_len);
    // On the corner's bisector, inside the turn, at the half-width.
    double k = half_width_64 / sqrt(2.0);
    expect_tv_at(bdr[1].tva[0], 1 - k, k);

    // A right turn puts it on the outside of the corner.
    int d = vtx(2, 1);
    new_bdr2(c, d, 0, tex_256x64);
    expect_tv_at(bdr[2].tva[0], 1 - k, 1 + k);
    EXPECT_FLOAT_EQ(bdr[2].tex_offset, bdr[1].tex_offset + bdr[1].tex_len);
}

TEST_F(PolyBorderTest, BordersInLineShareAVertexOnTheCommonNormal)
{
    int a = vtx(0, 0), b = vtx(1, 0), c = vtx(2.5, 0);
    new_bdr2(a, b, 0, tex_256x64);
    int before = used_count_tv();
    new_bdr2(b, c, 0, tex_256x64);
    EXPECT_EQ(used_count_tv(), before + 1);       // only the far end is new
    expect_tv_at(bdr[1].tva[0], 1, half_width_64);
    expect_tv_at(bdr[1].tva[1], 2.5, half_width_64);
    EXPECT_FLOAT_EQ(bdr[1].tex_offset, 1);
    EXPECT_FLOAT_EQ(bdr[1].tex_len, 1.5);
}

TEST_F(PolyBorderTest, BorderBuiltInFrontLinksOneWayAndSharesTheEndVertex)
{
    int a = vtx(0, 0), b = vtx(1, 0), c = vtx(2, 0);
    new_bdr2(b, c, 0, tex_256x64);                // the later part first
    new_bdr2(a, b, 0, tex_256x64);
    EXPECT_EQ(bdr[1].next_b, 0);
    EXPECT_EQ(bdr[0].last_b, -1);                 // the existing border is not told
    EXPECT_EQ(bdr[1].tva[1], bdr[0].tva[0]);
    expect_tv_at(bdr[1].tva[1], 1, half_width_64);
    // Both are chain starts, yet the walk from the new one runs on into the
    // old one, whose texture now continues the new one's.
    EXPECT_EQ(bdr[1].tex_offset, 0);
    EXPECT_FLOAT_EQ(bdr[0].tex_offset, bdr[1].tex_len);
}

TEST_F(PolyBorderTest, ClosedLoopIsScaledToAWholeNumberOfRepeats)
{
    // A square of side 0.9 with a 256-wide texture: 4 x 0.9 = 3.6 repeats.
    int v[4] = {vtx(0, 0), vtx(0.9, 0), vtx(0.9, 0.9), vtx(0, 0.9)};
    for (int i = 0; i < 4; i++) new_bdr2(v[i], v[(i + 1) % 4], 0, tex_256x64);
    EXPECT_EQ(bdr[3].next_b, 0);
    EXPECT_EQ(bdr[0].last_b, -1);                 // the loop's start keeps -1
    EXPECT_EQ(bdr[0].tva[0], bdr[3].tva[1]);
    for (int i = 0; i < 4; i++) EXPECT_NEAR(bdr[i].tex_len, 0.9 * 3 / 3.6, 1e-6) << i;
    for (int i = 0; i < 4; i++) EXPECT_NEAR(bdr[i].tex_offset, 0.75 * i, 1e-6) << i;
    EXPECT_NEAR(bdr[3].tex_offset + bdr[3].tex_len, 3, 1e-6);

    // Running the wrapping again changes nothing: the loop now wraps.
    float lens[4];
    for (int i = 0; i < 4; i++) lens[i] = bdr[i].tex_len;
    update_border_wrapping();
    for (int i = 0; i < 4; i++) EXPECT_EQ(bdr[i].tex_len, lens[i]);
}

TEST_F(PolyBorderTest, WrapRatioKeepsNearWholeTotalsAndZero)
{
    EXPECT_DOUBLE_EQ(bdr_wrap_ratio(3.6), 3 / 3.6);
    EXPECT_EQ(bdr_wrap_ratio(4.000001), 1.0);
    EXPECT_DOUBLE_EQ(bdr_wrap_ratio(3.99999999), 3 / 3.99999999);   // truncated, not rounded
    EXPECT_EQ(bdr_wrap_ratio(0.6), 0.0);
    EXPECT_EQ(bdr_wrap_ratio(0.0), 1.0);          // 0 / 0 guarded
    EXPECT_EQ(bdr_wrap_ratio(NAN), 1.0);
}

TEST_F(PolyBorderTest, LoopsNearAWholeTotalAreLeftAndSmallOrEmptyLoopsAreSafe)
{
    // Totals of about 4.000001: untouched.
    for (int i = 0; i < 4; i++) put_bdr(i, 1.00000025f);
    link(0, 1); link(1, 2); link(2, 3);
    bdr[3].next_b = 0;                            // closed, 0 keeps last_b -1
    update_border_wrapping();
    for (int i = 0; i < 4; i++) EXPECT_EQ(bdr[i].tex_len, 1.00000025f);

    // Total below 1: every length becomes 0.
    for (int i = 0; i < 4; i++) bdr[i].tex_len = 0.2f;
    update_border_wrapping();
    for (int i = 0; i < 4; i++) EXPECT_EQ(bdr[i].tex_len, 0.0f) << i;
    for (int i = 0; i < 4; i++) EXPECT_EQ(bdr[i].tex_offset, 0.0f) << i;

    // Total exactly 0 (borders of no length): left as it is, no NaN.
    update_border_wrapping();
    for (int i = 0; i < 4; i++) {
        EXPECT_EQ(bdr[i].tex_len, 0.0f);
        EXPECT_FALSE(std::isnan(bdr[i].tex_offset));
    }
}

TEST_F(PolyBorderTest, ChainClosedOntoItsOwnMiddleStopsAtTheFirstBorderMetTwice)
{
    // A -> B -> C -> D, then D -> B: its predecessor is C -> D and its
    // successor B -> C, so the chain from A runs into a ring B C D.
    int a = vtx(0, 0), b = vtx(1, 0), c = vtx(1, 1), d = vtx(2, 1);
    new_bdr2(a, b, 0, tex_256x64);
    new_bdr2(b, c, 0, tex_256x64);
    new_bdr2(c, d, 0, tex_256x64);
    new_bdr2(d, b, 0, tex_256x64);               // returns: the walk ended
    EXPECT_EQ(bdr[3].last_b, 2);
    EXPECT_EQ(bdr[3].next_b, 1);
    EXPECT_EQ(bdr[1].last_b, 0);
    EXPECT_FLOAT_EQ(bdr[1].tex_offset, bdr[0].tex_len);
    EXPECT_FLOAT_EQ(bdr[2].tex_offset, bdr[1].tex_offset + bdr[1].tex_len);
    EXPECT_FLOAT_EQ(bdr[3].tex_offset, bdr[2].tex_offset + bdr[2].tex_len);
    // No loop back to A: nothing was rescaled.
    EXPECT_FLOAT_EQ(bdr[0].tex_len, 1);
    EXPECT_FLOAT_EQ(bdr[1].tex_len, 1);

    // A ring with no start at all (every border has a predecessor) is not walked.
    for (int i = 10; i < 13; i++) put_bdr(i, 0.5f);
    link(10, 11); link(11, 12); link(12, 10);
    bdr[10].tex_offset = 7;
    update_border_wrapping();
    EXPECT_EQ(bdr[10].tex_offset, 7.0f);
    EXPECT_EQ(bdr[11].tex_offset, 0.0f);
}

TEST_F(PolyBorderTest, CuttingAChainReoffsetsEachPartFromItsOwnStart)
{
    int v[5] = {vtx(0, 0), vtx(1, 0), vtx(2, 0), vtx(3, 0), vtx(4, 0)};
    for (int i = 0; i < 4; i++) new_bdr2(v[i], v[i + 1], 0, tex_128x64);
    for (int i = 0; i < 4; i++) EXPECT_FLOAT_EQ(bdr[i].tex_offset, 2 * i);

    // What deleting border 1 does to the chain: unlinked, freed, re-wrapped.
    bdr[1].state = 0;
    bdr[0].next_b = -1;
    bdr[2].last_b = -1;
    update_border_wrapping();
    EXPECT_EQ(bdr[0].tex_offset, 0.0f);
    EXPECT_EQ(bdr[2].last_b, -1);
    EXPECT_FLOAT_EQ(bdr[2].tex_offset, 4);        // a start keeps its own offset
    EXPECT_FLOAT_EQ(bdr[3].tex_offset, 6);

    // A new start offset runs on through the rest of its part only.
    bdr[2].tex_offset = 0.5f;
    update_border_wrapping();
    EXPECT_FLOAT_EQ(bdr[3].tex_offset, 2.5f);
    EXPECT_EQ(bdr[0].tex_offset, 0.0f);
}

TEST_F(PolyBorderTest, BorderIsRefusedWholeWhenItCannotBeBuilt)
{
    int a = vtx(0, 0), b = vtx(1, 0), c = vtx(2, 0);
    int free_v = vtx(3, 0);
    tv[free_v].state = 0;

    new_bdr2(a, a, 0, tex_256x64);                // no edge
    new_bdr2(-1, b, 0, tex_256x64);               // indices from nowhere
    new_bdr2(a, num_tvs, 0, tex_256x64);
    new_bdr2(a, free_v, 0, tex_256x64);           // a free vertex
    EXPECT_EQ(used_count_bdr(), 0);
    EXPECT_EQ(used_count_tv(), 3);

    // A vertex table with room for one outer vertex: a lone border needs two.
    for (int i = 0; i < num_tvs; i++) tv[i].state = 1;
    tv[num_tvs - 1].state = 0;
    new_bdr2(a, b, 0, tex_256x64);
    EXPECT_EQ(used_count_bdr(), 0);
    EXPECT_EQ(tv[num_tvs - 1].state, 0);

    // With room for both it is built; a border then continuing it needs one.
    tv[num_tvs - 2].state = 0;
    new_bdr2(a, b, 0, tex_256x64);
    EXPECT_EQ(used_count_bdr(), 1);
    EXPECT_EQ(bdr[0].tva[0], num_tvs - 2);
    EXPECT_EQ(bdr[0].tva[1], num_tvs - 1);
    new_bdr2(b, c, 0, tex_256x64);                // no room: nothing, not even links
    EXPECT_EQ(used_count_bdr(), 1);
    EXPECT_EQ(bdr[0].next_b, -1);

    // A full border table is left alone.
    for (int i = 0; i < num_bdrs; i++) bdr[i].state = 1;
    tv[5].state = 0;
    tv[6].state = 0;
    new_bdr2(b, c, 0, tex_256x64);
    EXPECT_EQ(tv[5].state, 0);
}

TEST_F(PolyBorderTest, TextureOfNoWidthGivesNoRepeatsRatherThanInfinity)
{
    int a = vtx(0, 0), b = vtx(1, 0);
    new_bdr2(a, b, 0, tex_no_size);
    EXPECT_EQ(bdr[0].tex_len, 0.0f);
    expect_tv_at(bdr[0].tva[0], 0, 0);           // no height: no band
    new_bdr2(b, a, 0, 250);                       // texture index outside the table
    EXPECT_EQ(bdr[1].tex_len, 0.0f);
}

TEST_F(PolyBorderTest, NeighbourLookupsTakeTheLowestBorderInUse)
{
    int a = vtx(0, 0), b = vtx(1, 0), c = vtx(1, 1);
    new_bdr2(a, b, 0, tex_256x64);
    new_bdr2(a, c, 0, tex_256x64);
    new_bdr2(c, b, 0, tex_256x64);
    EXPECT_EQ(get_next_bdr_from_tv(a), 0);
    EXPECT_EQ(get_last_bdr_from_tv(b), 0);
    bdr[0].state = 0;
    EXPECT_EQ(get_next_bdr_from_tv(a), 1);
    EXPECT_EQ(get_last_bdr_from_tv(b), 2);
    EXPECT_EQ(get_last_bdr_from_tv(a), -1);

    vect_struct m;
    get_bdr_main_vect(2, &m);
    EXPECT_DOUBLE_EQ(m.x, 0);
    EXPECT_DOUBLE_EQ(m.y, -1);
}

TEST_F(PolyBorderTest, BordersAreFiledAlongTheirEdgeAndDrawnOncePerPass)
{
    record_all_drawing();
    // Border 0 runs through many visible cells; 1 is of a type without a
    // drawing function; 2 is far from the view.
    int a = vtx(-1.5, 0.1), b = vtx(1.5, 0.1), c = vtx(0, -1), d = vtx(0.3, -1);
    int e = vtx(20, 0), g = vtx(21, 0);
    new_bdr2(a, b, 0, tex_256x64);
    new_bdr2(c, d, 0, tex_256x64);
    new_bdr2(e, g, 1, tex_256x64);
    bdr[1].type = 9;
    update_region_bdrs();

    int cells = 0;
    for (int cl = 0; cl < map_sx * map_sy; cl++)
        for (int i = 0; i < region[cl].bdr_x; i++) cells += bdr_list[region[cl].bdr_n + i] == 0;
    EXPECT_EQ(cells, 4);      // columns 98 to 101 (x 98.125 to 101.875) of row 50

    draw_bdrs();
    EXPECT_EQ(drawn, (std::vector<int>{0}));
    bdr[1].type = 2;
    drawn.clear();
    draw_bdrs();
    EXPECT_EQ(drawn, (std::vector<int>{1, 0}));   // row 48 is met before row 50
}
