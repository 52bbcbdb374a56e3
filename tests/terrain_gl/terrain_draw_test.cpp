// Polygons and borders on screen: a world-textured triangle, a faded quad and
// border bands, probed pixel by pixel in a real GL window. The camera sits at
// the world origin, so world (x, y) is window pixel (400 + 200 x, 300 - 200 y).
#include <vector>
#include <GL/gl.h>
#include "test_support.h"
#include "hillhopper.h"
#include "borders.h"
#include "polys.h"
#include "textures.h"
#include "terrain_file.h"
#include "world.h"
#include "zmem.h"
#include "editor_state.h"

namespace {

const int window_px_per_unit = 200;     // 800 pixels across 4 world units

rgba world_pixel(double x, double y)
{
    return window_pixel(400 + (int)(x * window_px_per_unit),
                        300 - (int)(y * window_px_per_unit));
}

const unsigned char red[4] = {255, 0, 0, 255};
const unsigned char green[4] = {0, 255, 0, 255};
const unsigned char white[4] = {255, 255, 255, 255};

// Texture slots used here.
const int slot_two_tone = 0;            // 64 x 64: red then green along s
const int slot_white = 1;               // 256 x 64 white

int vtx(double x, double y) { return new_tv(x, y); }

}  // namespace

class TerrainDraw : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        if (IsSkipped()) return;
        load_plain_level();
        scr_px = scr_py = 0;
        world_ang = 0;
        j[J_FRAME] = 0;
        j[J_ARROW_GROUP] = 0;
        static bool made = false;
        static unsigned int two_tone, plain;
        if (!made) {
            two_tone = two_tone_texture(64, 64, red, green);
            plain = two_tone_texture(256, 64, white, white);
            made = true;
        }
        terrain_tex[slot_two_tone] = two_tone;
        terrain_tex[slot_white] = plain;
        NUM_TEX = 2;        // the two slots above are the loaded set
        trans_map();
    }
    void TearDown() override
    {
        reset_editor_state();
        load_plain_level();
    }
};

TEST_F(TerrainDraw, TexturedTriangleIsDrawnWithItsTextureAnchoredToTheWorld)
{
    // Passed clockwise: stored counter-clockwise, so face culling keeps it.
    int a = vtx(0, 0), b = vtx(0, 1), c = vtx(1.2, 0);
    new_ply(a, b, c, -1, 0, slot_two_tone, 0);
    update_region_plys();
    draw_plys(0);
    // A 64-texel texture repeats every 0.768 units: red for x in [0, 0.384),
    // green for [0.384, 0.768), red again from 0.768.
    rgba p = world_pixel(0.2, 0.1);
    EXPECT_GT(p.r, 200);
    EXPECT_LT(p.g, 50);
    p = world_pixel(0.58, 0.1);
    EXPECT_LT(p.r, 50);
    EXPECT_GT(p.g, 200);
    p = world_pixel(0.9, 0.05);
    EXPECT_GT(p.r, 200);
    // Outside the triangle: the cleared background.
    p = world_pixel(0.9, 0.6);
    EXPECT_LT(p.r + p.g + p.b, 30);
    p = world_pixel(-0.2, 0.2);
    EXPECT_LT(p.r + p.g + p.b, 30);
}

TEST_F(TerrainDraw, FadedQuadRisesFromNearlyClearToOpaque)
{
    // Corners in counter-clockwise order, as face culling needs: the side
    // from corner 4 to corner 1 (x = -1) is nearly clear, the side from
    // corner 2 to corner 3 (x = 1) opaque.
    int a = vtx(-1, -1), b = vtx(1, -1), c = vtx(1, 1), d = vtx(-1, 1);
    new_ply(a, b, c, d, 1, slot_white, 1);
    update_region_plys();
    glColor4f(1, 0, 0, 0.3f);                  // what an earlier item left
    draw_plys(1);
    rgba near_clear = world_pixel(-0.95, 0.5);
    rgba middle = world_pixel(0.0, -0.5);
    rgba near_opaque = world_pixel(0.95, 0.5);
    EXPECT_LT(near_clear.r, 60);
    EXPECT_GT(near_opaque.r, 230);
    EXPECT_GT(near_opaque.g, 230);             // white: the earlier red is gone
    EXPECT_NEAR(middle.r, 0.55 * 255, 20);     // alpha halfway from 0.1 to 1
    rgba outside = world_pixel(0, 1.2);
    EXPECT_LT(outside.r + outside.g + outside.b, 30);
}

TEST_F(TerrainDraw, PolygonsOfOtherLayersAndOffGridEdgesAreNotDrawn)
{
    int a = vtx(-1, -1), b = vtx(1, -1), c = vtx(0, 1);
    new_ply(a, b, c, -1, 0, slot_white, 2);
    // A triangle covering the whole view whose edges are all far away.
    int d = vtx(-30, -20), e = vtx(30, -20), g = vtx(0, 30);
    new_ply(d, e, g, -1, 0, slot_white, 0);
    update_region_plys();
    draw_plys(0);
    draw_plys(1);
    rgba p = world_pixel(0, 0);
    EXPECT_LT(p.r + p.g + p.b, 30);
    draw_plys(2);
    p = world_pixel(0, 0);
    EXPECT_GT(p.r + p.g + p.b, 600);
}

TEST_F(TerrainDraw, PlainBorderIsAnOpaqueWhiteBandAboutItsEdge)
{
    int a = vtx(-1, 0), b = vtx(1, 0);
    new_bdr2(a, b, 0, slot_white);
    update_region_bdrs();
    glColor4f(1, 0, 0, 0.2f);                  // a faint red left by an earlier item
    draw_bdrs();
    // The band spans y from -0.128 to 0.128 (64 texels x 0.002 each side).
    for (double y : {-0.1, 0.0, 0.1}) {
        rgba p = world_pixel(0, y);
        EXPECT_GT(p.r, 240) << y;
        EXPECT_GT(p.g, 240) << y;
    }
    rgba p = world_pixel(0, 0.2);
    EXPECT_LT(p.r + p.g + p.b, 30);
    p = world_pixel(0, -0.2);
    EXPECT_LT(p.r + p.g + p.b, 30);
    p = world_pixel(1.2, 0);
    EXPECT_LT(p.r + p.g + p.b, 30);
}

TEST_F(TerrainDraw, BlendedBorderFadesOutTowardsTheGround)
{
    int a = vtx(-1, 0), b = vtx(1, 0);
    new_bdr2(a, b, 1, slot_white);
    update_region_bdrs();
    draw_bdrs();
    // Outer side opaque; clear at the ground-side rail (y = -0.128).
    rgba outer = world_pixel(0, 0.08);
    rgba upper_ground = world_pixel(0, -0.045);
    rgba low_ground = world_pixel(0, -0.12);
    EXPECT_GT(outer.r, 240);
    EXPECT_LT(low_ground.r, 40);
    EXPECT_GT(upper_ground.r, low_ground.r + 60);
}

TEST_F(TerrainDraw, ArrowBorderShowsOnlyForItsGroupAndPulses)
{
    j[J_ARROW_GROUP] = 1;
    int a = vtx(-1, 0), b = vtx(1, 0);
    new_bdr2(a, b, 2, slot_white);             // group 1
    update_region_bdrs();

    j[J_ARROW_GROUP] = 0;
    j[J_FRAME] = 99;
    draw_bdrs();
    rgba p = world_pixel(0, 0);
    EXPECT_LT(p.r + p.g + p.b, 30);

    j[J_ARROW_GROUP] = 1;
    draw_bdrs();                                // alpha 0.99
    p = world_pixel(0, 0);
    EXPECT_GT(p.r, 240);

    clear_back_buffer();
    j[J_FRAME] = 150;                           // alpha 0.5
    draw_bdrs();
    p = world_pixel(0, 0);
    EXPECT_NEAR(p.r, 128, 12);
}

TEST_F(TerrainDraw, EditorSelectionTintsTheWhiteOfTrianglesAndBandsButNotFadedQuads)
{
    reset_editor_state();
    j[J_FRAME] = 0;                             // the selection flash is pure red now
    int a = vtx(-1.5, 0.5), b = vtx(-0.5, 0.5), c = vtx(-1, 1.2);
    new_ply(a, b, c, -1, 0, slot_white, 0);     // 0: triangle
    int d = vtx(0.5, 0.5), e = vtx(1.5, 0.5), g = vtx(1.5, 1.2), h = vtx(0.5, 1.2);
    new_ply(d, e, g, h, 1, slot_white, 0);      // 1: faded quad
    int p = vtx(-1, -0.8), q = vtx(1, -0.8);
    new_bdr2(p, q, 0, slot_white);
    update_region_plys();
    update_region_bdrs();

    edt.sel_ply = 0;
    edt.sel_bdr = 0;
    draw_plys(0);
    draw_bdrs();
    rgba tri = world_pixel(-1, 0.7), band = world_pixel(0, -0.8);
    EXPECT_GT(tri.r, 240);
    EXPECT_LT(tri.g, 20);
    EXPECT_GT(band.r, 240);
    EXPECT_LT(band.g, 20);

    clear_back_buffer();
    edt.sel_ply = 1;                            // the quad's corner colours win
    draw_plys(0);
    rgba quad = world_pixel(1.45, 0.9);
    EXPECT_GT(quad.g, 200);
}
