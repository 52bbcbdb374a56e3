// A level may name a texture or picture slot that the table has room for but
// the loaded datafile did not fill (a smaller or damaged datafile): such an
// item is not drawn at all, while the same item with a loaded texture is.
// Real game datafiles in a real GL window; the camera sits at the origin, so
// world (x, y) is window pixel (400 + 200 x, 300 - 200 y).
#include <GL/gl.h>
#include "test_support.h"
#include "hillhopper.h"
#include "borders.h"
#include "polys.h"
#include "doodads.h"
#include "slots.h"
#include "terrain_file.h"
#include "textures.h"
#include "world.h"
#include "zmem.h"

namespace {

rgba world_pixel(double x, double y)
{
    return window_pixel(400 + (int)(x * 200), 300 - (int)(y * 200));
}

bool lit(rgba p) { return p.r + p.g + p.b > 30; }

}  // namespace

class BeyondDatafile : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        if (IsSkipped()) return;
        load_game_textures();
        ASSERT_GT(get_num_textures(), TEX_BAND_PLANKS);
        ASSERT_LT(get_num_textures(), num_tex_slots);
        ASSERT_GT(GET_num_dadtex(), DAD_BOULDER);
        ASSERT_LT(GET_num_dadtex(), num_tex_slots);
    }
    void fresh(void)
    {
        clear_back_buffer();
        load_plain_level();
        for (int i = 0; i < num_dads; i++) dad[i].state = 0;
        scr_px = scr_py = 0;
        world_ang = 0;
        trans_map();
    }
    void TearDown() override { load_plain_level(); }
};

TEST_F(BeyondDatafile, PolygonsOfUnloadedTexturesAreNotDrawn)
{
    const int textures[] = {TEX_FILL_GRASS, get_num_textures(), num_tex_slots - 1};
    for (int tex : textures) {
        fresh();
        // A big triangle about the view centre, passed clockwise as the
        // game stores them counter-clockwise.
        int a = new_tv(-1, -1), b = new_tv(0, 1), c = new_tv(1, -1);
        new_ply(a, b, c, -1, 0, tex, 0);
        // And a faded quad beside it, the other drawing function: corners
        // counter-clockwise, the faint side (corner 4 to 1) at x = -1.5.
        int d = new_tv(-1.5, -0.5), e = new_tv(-1.1, -0.5), g = new_tv(-1.1, 0.5), h = new_tv(-1.5, 0.5);
        new_ply(d, e, g, h, 1, tex, 0);
        update_region_plys();
        draw_plys(0);
        bool loaded = tex < get_num_textures();
        EXPECT_EQ(lit(world_pixel(0, -0.5)), loaded) << "triangle, texture " << tex;
        EXPECT_EQ(lit(world_pixel(-1.2, 0)), loaded) << "quad, texture " << tex;
    }
}

TEST_F(BeyondDatafile, BordersOfUnloadedTexturesAreNotDrawn)
{
    const int textures[] = {TEX_BAND_GRASS, get_num_textures(), num_tex_slots - 1};
    for (int tex : textures) {
        fresh();
        int a = new_tv(-1, 0), b = new_tv(1, 0);
        new_bdr2(a, b, 0, tex);
        update_region_bdrs();
        draw_bdrs();
        bool loaded = tex < get_num_textures();
        bool any = false;
        for (double y = -0.15; y <= 0.15; y += 0.01) any = any || lit(world_pixel(0, y));
        EXPECT_EQ(any, loaded) << "texture " << tex;
    }
}

TEST_F(BeyondDatafile, DoodadsOfUnloadedPicturesAreNotDrawn)
{
    const int pictures[] = {DAD_BOULDER, GET_num_dadtex(), num_tex_slots - 1};
    for (int pic : pictures) {
        fresh();
        ASSERT_GE(new_dad(0, 0, 0, pic, 0, 0), 0);
        update_dads_onscreen();
        trans_map();
        draw_dads(0);
        bool loaded = pic < GET_num_dadtex();
        bool any = false;
        for (double x = -0.1; x <= 0.1; x += 0.02)
            for (double y = -0.1; y <= 0.1; y += 0.02) any = any || lit(world_pixel(x, y));
        EXPECT_EQ(any, loaded) << "picture " << pic;
    }
}
