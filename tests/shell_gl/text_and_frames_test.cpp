// On-screen text and the frame loop's own sequences, in a real GL window.
#include "test_support.h"
#include <allegro.h>
#include "hillhopper.h"
#include "std_gfuncs.h"
#include "game.h"
#include "terrain_file.h"
#include "bodies.h"

namespace {

bool bright(rgba p)
{
    return p.r > 128 && p.g > 128 && p.b > 128;
}

// Bright pixels of the window inside [x0, x1) x [y0, y1).
int bright_pixels(int x0, int y0, int x1, int y1)
{
    int n = 0;
    for (int y = y0; y < y1; y++)
        for (int x = x0; x < x1; x++)
            if (bright(window_pixel(x, y))) n++;
    return n;
}

}  // namespace

class Text : public GlTest {};

TEST_F(Text, PrintsWhereAskedAndNothingBeyondItsQuad)
{
    glColor4f(1, 1, 1, 1);
    ztextprintf(0, font, 100, 100, makecol32(255, 255, 255), "HHHH");
    int w = text_length(font, "HHHH");      // overlay pixels
    int h = text_height(font);
    // Window pixels are 1.25 overlay pixels.
    int x0 = 125, y0 = 125, x1 = (100 + w) * 5 / 4, y1 = (100 + h) * 5 / 4;
    EXPECT_GT(bright_pixels(x0, y0, x1, y1), 20);
    EXPECT_EQ(bright_pixels(x1 + 1, y0 - 4, x1 + 40, y1 + 4), 0);
    EXPECT_EQ(bright_pixels(x0 - 40, y0 - 4, x0 - 1, y1 + 4), 0);
    EXPECT_EQ(bright_pixels(x0, y1 + 2, x1, y1 + 30), 0);
    EXPECT_EQ(bright_pixels(x0, y0 - 30, x1, y0 - 2), 0);
}

TEST_F(Text, TheMaskColourIsTransparent)
{
    glDisable(GL_TEXTURE_2D);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor4f(1, 1, 1, 1);
    ztextprintf(200, font, 100, 100, makecol32(255, 255, 255), "I %d", 5);
    // Between the glyphs the blue background shows through, not magenta.
    rgba p = overlay_pixel(100 + 150, 103);
    EXPECT_EQ(p.r, 0);
    EXPECT_EQ(p.b, 255);
}
