// tests/assets_gl/textures_gl_test.cpp -- masked pictures, the textured-quad
// drawer and the background on a real GL window, read back pixel by pixel.
// Quads are placed in the 640 x 480 overlay space through SX and SY.
#include <cmath>
#include <functional>
#include <allegro.h>
#include "test_support.h"
#include "hillhopper.h"
#include "slots.h"
#include "terrain_file.h"
#include "textures.h"
#include "world.h"

namespace {

// A masked texture made from a memory picture by the game's own loader path.
unsigned int picture_texture(int w, int h, const std::function<int(int x, int y)> &colour)
{
    BITMAP *b = create_bitmap_ex(32, w, h);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) putpixel(b, x, y, colour(x, y));
    DATAFILE obj = {b, DAT_BITMAP, 0, nullptr};
    unsigned int tex = texture_from_object(&obj, "test", 0);
    destroy_bitmap(b);
    return tex;
}

void overlay_view()
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0, 0, -1);
    glEnable(GL_BLEND);
    glColor4f(1, 1, 1, 1);
}

void clear_to_blue()
{
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
}

// tmap of the overlay rectangle (x0, y0)-(x1, y1), corners in the game's
// order (top-left, bottom-left, bottom-right, top-right), pivot its centre.
void tmap_rect(double x0, double y0, double x1, double y1, unsigned int tex, double ang, int flip)
{
    double px = (SX(x1) - SX(x0)) / 2, py = (SY(y1) - SY(y0)) / 2;
    tmap(SX(x0), SY(y0), SX(x0), SY(y1), SX(x1), SY(y1), SX(x1), SY(y0), tex, px, py, ang, flip);
}

bool near(rgba p, int r, int g, int b, int tol = 12)
{
    return std::abs(p.r - r) <= tol && std::abs(p.g - g) <= tol && std::abs(p.b - b) <= tol;
}

const int magenta = 0xff00ff;

int col(int r, int g, int b) { return makecol32(r, g, b); }

}  // namespace

class TexturesGl : public GlTest {};

TEST_F(TexturesGl, TheMaskColourIsTransparentAndTheRestOpaque)
{
    unsigned int tex = picture_texture(64, 64, [](int x, int) { return x < 32 ? col(255, 0, 255) : col(255, 255, 0); });
    ASSERT_NE(tex, 0u);
    (void)magenta;
    overlay_view();
    clear_to_blue();
    tmap_rect(100, 100, 300, 300, tex, 0, 0);
    EXPECT_TRUE(near(overlay_pixel(140, 200), 0, 0, 255)) << "the mask half shows the background";
    EXPECT_TRUE(near(overlay_pixel(260, 200), 255, 255, 0)) << "the picture half is opaque";
    glDeleteTextures(1, &tex);

    // The game's own player sprite: clear corners, a solid figure.
    load_game_textures();
    ASSERT_GT(NUM_TEX, TEX_PLAYER);
    overlay_view();
    clear_to_blue();
    tmap_rect(300, 100, 556, 356, terrain_tex[TEX_PLAYER], 0, 0);
    EXPECT_TRUE(near(overlay_pixel(304, 104), 0, 0, 255));
    EXPECT_TRUE(near(overlay_pixel(552, 104), 0, 0, 255));
    EXPECT_FALSE(near(overlay_pixel(428, 240), 0, 0, 255, 40));
}

TEST_F(TexturesGl, TmapPlacesTheQuadUprightMirrorsWithFlipOneAndSkipsOtherFlips)
{
    // Left half red, right half green; the top quarter blue marks the top.
    unsigned int tex = picture_texture(64, 64, [](int x, int y) {
        if (y < 16) return col(0, 0, 200);
        return x < 32 ? col(255, 0, 0) : col(0, 255, 0);
    });
    overlay_view();
    clear_back_buffer();
    tmap_rect(200, 100, 400, 300, tex, 0, 0);
    EXPECT_TRUE(near(overlay_pixel(210, 200), 255, 0, 0));
    EXPECT_TRUE(near(overlay_pixel(390, 200), 0, 255, 0));
    EXPECT_TRUE(near(overlay_pixel(300, 110), 0, 0, 200)) << "picture row 0 is drawn at the top";
    EXPECT_TRUE(near(overlay_pixel(190, 200), 0, 0, 0)) << "nothing left of the quad";
    EXPECT_TRUE(near(overlay_pixel(410, 200), 0, 0, 0)) << "nothing right of the quad";
    EXPECT_TRUE(near(overlay_pixel(300, 310), 0, 0, 0)) << "nothing below the quad";

    clear_back_buffer();
    tmap_rect(200, 100, 400, 300, tex, 0, 1);
    EXPECT_TRUE(near(overlay_pixel(210, 200), 0, 255, 0)) << "flip 1 mirrors along s";
    EXPECT_TRUE(near(overlay_pixel(390, 200), 255, 0, 0));
    EXPECT_TRUE(near(overlay_pixel(300, 110), 0, 0, 200)) << "but keeps the top at the top";

    for (int flip : {2, -1, 7}) {
        clear_back_buffer();
        tmap_rect(200, 100, 400, 300, tex, 0, flip);
        EXPECT_TRUE(near(overlay_pixel(300, 200), 0, 0, 0)) << "flip " << flip << " draws nothing";
    }

    // A quarter turn counter-clockwise about the centre: the left half ends
    // up below the centre, the top row on the left.
    clear_back_buffer();
    tmap_rect(200, 100, 400, 300, tex, M_PI / 2, 0);
    EXPECT_TRUE(near(overlay_pixel(300, 290), 255, 0, 0));
    EXPECT_TRUE(near(overlay_pixel(300, 150), 0, 255, 0));
    EXPECT_TRUE(near(overlay_pixel(210, 200), 0, 0, 200));
    glDeleteTextures(1, &tex);
}

TEST_F(TexturesGl, TheBackgroundShowsHalfTheTextureMirroredAndScrollsAgainstTheCamera)
{
    // Red counts the texture's columns, green its rows: a pixel tells which
    // texture coordinate it shows.
    unsigned int tex = picture_texture(256, 256, [](int x, int y) { return col(x, y, 0); });
    unsigned int saved = terrain_tex[TEX_BACKGROUND];
    terrain_tex[TEX_BACKGROUND] = tex;
    scr_px = scr_py = 0;
    clear_back_buffer();
    draw_bg();
    // Camera at (0, 0): s runs from 0.25 at the right edge to 0.75 at the left,
    // t from 0.25 at the bottom to 0.75 at the top (t = 1 is picture row 0).
    EXPECT_NEAR(overlay_pixel(639, 240).r, 0.25 * 256, 4);
    EXPECT_NEAR(overlay_pixel(0, 240).r, 0.75 * 256, 4);
    EXPECT_NEAR(overlay_pixel(320, 240).r, 0.5 * 256, 4);
    EXPECT_NEAR(overlay_pixel(320, 479).g, (1 - 0.25) * 256, 4);
    EXPECT_NEAR(overlay_pixel(320, 0).g, (1 - 0.75) * 256, 4);

    // One world unit to the right moves the picture 4 overlay pixels: s drops
    // by 1/320 everywhere; one unit up moves t by 1/160.
    scr_px = 10;
    scr_py = 10;
    clear_back_buffer();
    draw_bg();
    EXPECT_NEAR(overlay_pixel(320, 240).r, (0.5 - 10.0 / 320) * 256, 4);
    EXPECT_NEAR(overlay_pixel(320, 240).g, (1 - (0.5 + 10.0 / 160)) * 256, 4);
    scr_px = scr_py = 0;
    terrain_tex[TEX_BACKGROUND] = saved;
    glDeleteTextures(1, &tex);
}

// Each level's sky draws its own picture; a sky number out of range (a file
// the reader never lets through, or a description edited in memory) draws the
// day sky rather than reading past the table.
TEST_F(TexturesGl, TheBackgroundIsTheLevelsSkyAndTheDaySkyForAnUnknownOne)
{
    const int slots[NUM_SKIES] = {TEX_BACKGROUND, TEX_SKY_DUSK, TEX_SKY_NIGHT, TEX_SKY_HALL, TEX_SKY_DESERT};
    unsigned int saved[NUM_SKIES], flat[NUM_SKIES];
    for (int k = 0; k < NUM_SKIES; k++) {
        flat[k] = picture_texture(64, 32, [k](int, int) { return col(40 * k + 20, 200 - 30 * k, 90); });
        saved[k] = terrain_tex[slots[k]];
        terrain_tex[slots[k]] = flat[k];
    }
    const int old_sky = level_desc.sky;
    scr_px = scr_py = 0;
    for (int sky = 0; sky < NUM_SKIES; sky++) {
        level_desc.sky = sky;
        clear_back_buffer();
        draw_bg();
        EXPECT_TRUE(near(overlay_pixel(320, 240), 40 * sky + 20, 200 - 30 * sky, 90, 4)) << "sky " << sky;
        EXPECT_TRUE(near(overlay_pixel(5, 470), 40 * sky + 20, 200 - 30 * sky, 90, 4)) << "sky " << sky;
    }
    for (int sky : {-1, (int)NUM_SKIES, 1000000}) {
        level_desc.sky = sky;
        clear_back_buffer();
        draw_bg();
        EXPECT_TRUE(near(overlay_pixel(320, 240), 20, 200, 90, 4)) << "sky " << sky << " draws the day sky";
    }
    level_desc.sky = old_sky;
    for (int k = 0; k < NUM_SKIES; k++) {
        terrain_tex[slots[k]] = saved[k];
        glDeleteTextures(1, &flat[k]);
    }
}
