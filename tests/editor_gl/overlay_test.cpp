// The editor's overlay in a real 800 x 600 GL window, driven through the frame
// loop with the mouse in window pixels: vertex crosses, joint colours, the
// level boundary, the cursor kinds, the dashed joint guide, the selected
// vertex mark, the labels and the texture picker's grid.
// Without texture datafiles the background is plain white, so every overlay
// colour stands out against it. Each frame's picture is copied just before
// its flip; the picker's passes are read inside its loop, before their flip.
#include <cmath>
#include <functional>
#include <vector>
#include "../editor/editor_driver.h"
#include "joints.h"

using namespace editor_test;

namespace {

// The last finished frame, RGBA rows from the bottom, as glReadPixels gives them.
std::vector<unsigned char> last_frame;

void capture_frame(void)
{
    last_frame.resize((size_t)SCREEN_W * SCREEN_H * 4);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, SCREEN_W, SCREEN_H, GL_RGBA, GL_UNSIGNED_BYTE, last_frame.data());
}

// Window pixel (x right, y down) of the last finished frame.
rgba frame_pixel(int x, int y)
{
    if (x < 0 || y < 0 || x >= SCREEN_W || y >= SCREEN_H || last_frame.empty()) return rgba{0, 0, 0, 0};
    const unsigned char *p = &last_frame[((size_t)(SCREEN_H - 1 - y) * SCREEN_W + x) * 4];
    return rgba{p[0], p[1], p[2], p[3]};
}

const int tol = 4;                  // rounding of float colours to bytes

bool is_colour(rgba p, int r, int g, int b)
{
    return std::abs(p.r - r) <= tol && std::abs(p.g - g) <= tol && std::abs(p.b - b) <= tol;
}

// Window pixel of a world point for the current view.
int wx_of(double x) { return (int)std::lround(overlay_x_of(x) * SCREEN_W / overlay_w); }
int wy_of(double y) { return (int)std::lround(overlay_y_of(y) * SCREEN_H / overlay_h); }

// A one-pixel line may fall on either neighbour of the ideal pixel.
bool colour_near(int x, int y, int r, int g, int b)
{
    for (int dy = -2; dy <= 2; dy++)
        for (int dx = -2; dx <= 2; dx++)
            if (is_colour(frame_pixel(x + dx, y + dy), r, g, b)) return true;
    return false;
}

bool yellow(rgba p) { return p.r > 200 && p.g > 200 && p.b < 90; }

int yellow_pixels(int x0, int y0, int x1, int y1)
{
    int n = 0;
    for (int y = y0; y < y1; y++)
        for (int x = x0; x < x1; x++) n += yellow(frame_pixel(x, y));
    return n;
}

// A frame whose pulsing colours are known: the frame counter is set first.
void frame_at(int t)
{
    j[J_FRAME] = t;
    frame();
}

class Overlay : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        if (IsSkipped()) return;
        fresh_level();
        frame_ready_hook = capture_frame;
    }
    void TearDown() override
    {
        frame_ready_hook = nullptr;
        input_hook = nullptr;
        release_all_keys();
        mouse_b = 0;
        scr_px = scr_py = 0;
    }
};

const int dark_pulse_frame = 9;     // cos(9 / 3) ~ -1: the vertex grey is nearly black

}  // namespace

TEST_F(Overlay, VertexCrossesAndJointsInTheirTypeColours)
{
    double y[3] = {0.5, 0, -0.5};
    for (int k = 0; k < 3; k++) {
        vertex_at(-1, y[k]);
        vertex_at(1, y[k]);
        tap(KEY_J);
        click_at(-1, y[k]);
        click_at(1, y[k]);
        tap(KEY_K);                                  // the next joint gets the next type
    }
    ASSERT_EQ(count_live_jnts(), 3);
    mouse_to(-1.5, -1.25);
    frame_at(dark_pulse_frame);
    EXPECT_TRUE(colour_near(wx_of(0), wy_of(0.5), 102, 255, 102));      // walking: green
    EXPECT_TRUE(colour_near(wx_of(0), wy_of(0), 102, 102, 102));        // nonwalking: grey
    EXPECT_TRUE(colour_near(wx_of(0), wy_of(-0.5), 0, 0, 153));         // only walking: blue
    // The cross's upper arm, above the joint, in the dark end of its pulse.
    EXPECT_TRUE(colour_near(wx_of(1), wy_of(-0.5 + 0.025), 0, 0, 0));
    EXPECT_TRUE(is_colour(frame_pixel(wx_of(1) + 6, wy_of(-0.5 + 0.025)), 255, 255, 255));
}

TEST_F(Overlay, TheLevelBoundaryPulsesGrey)
{
    scr_px = 79;                                     // x = 80 is 160 pixels right of centre
    scr_py = -39;                                    // y = -40 is 160 pixels below it
    mouse_to(78, -38);
    frame_at(16);                                    // cos(16 / 5) ~ -1: grey 0.5
    EXPECT_TRUE(colour_near(wx_of(80), wy_of(-39), 128, 128, 128));
    EXPECT_TRUE(colour_near(wx_of(79.5), wy_of(-40), 128, 128, 128));
    EXPECT_TRUE(is_colour(frame_pixel(wx_of(79.5), wy_of(-39.5)), 255, 255, 255));
}

TEST_F(Overlay, CursorKindsHaveTheirShapesAndColours)
{
    vertex_at(0.5, 0.5);
    // Inside the arrow: 3 overlay pixels right of the hot spot and 8 down.
    auto arrow_pixel = [] {
        return frame_pixel((int)((mouse_overlay_x() + 3) * 1.25), (int)((mouse_overlay_y() + 8) * 1.25));
    };
    mouse_to(-0.5, -0.5);
    frame();
    EXPECT_TRUE(is_colour(arrow_pixel(), 178, 0, 255));
    tap(KEY_J);
    EXPECT_TRUE(is_colour(arrow_pixel(), 255, 255, 0));
    tap(KEY_P);
    EXPECT_TRUE(is_colour(arrow_pixel(), 255, 51, 51));
    set_key(KEY_B, true);
    frame();
    set_key(KEY_B, false);
    frame();
    EXPECT_TRUE(is_colour(arrow_pixel(), 255, 128, 64));
    set_key(KEY_B, true);
    frame();
    set_key(KEY_B, false);
    frame();
    // Over a vertex: a cross, and the arrow's place stays background.
    mouse_to(0.5, 0.5);
    frame();
    int mx = mouse_x, my = mouse_y;
    EXPECT_TRUE(colour_near(mx + 5, my, 178, 0, 255));
    EXPECT_TRUE(is_colour(arrow_pixel(), 255, 255, 255));
    // Held: the cross takes the pulsing colour of a hold.
    button_down();
    frame_at(5);
    EXPECT_TRUE(colour_near(mx + 5, my, 128, 128, 178));
    button_up();
}

TEST_F(Overlay, AJointUnderConstructionShowsADashedGuideToTheMouse)
{
    vertex_at(-1, 0);
    tap(KEY_J);
    click_at(-1, 0);
    mouse_to(1, 0);
    frame();
    int y = wy_of(0);
    int x0 = wx_of(-1) + 12, x1 = wx_of(1) - 4;     // clear of the cross and the cursor
    int lit = 0, dark = 0;
    for (int x = x0; x < x1; x++) {
        bool on = false;
        for (int dy = -1; dy <= 1; dy++) on |= is_colour(frame_pixel(x, y + dy), 255, 255, 0);
        if (on) lit++;
        else dark++;
    }
    EXPECT_GT(lit, (x1 - x0) / 4);                   // dashes ...
    EXPECT_GT(dark, (x1 - x0) / 4);                  // ... and gaps
    tap(KEY_J);                                      // abandoned: the guide goes
    EXPECT_EQ(yellow_pixels(x0, y - 1, x1, y + 2), 0);
}

TEST_F(Overlay, TheSelectedVertexIsMarkedWithADarkRedX)
{
    vertex_at(0.5, 0.5);
    click_at(0.5, 0.5);
    mouse_to(-1, -1);
    frame();
    EXPECT_TRUE(colour_near(wx_of(0.5 + 0.04), wy_of(0.5 + 0.04), 153, 0, 0));
    EXPECT_TRUE(colour_near(wx_of(0.5 - 0.04), wy_of(0.5 + 0.04), 153, 0, 0));
}

TEST_F(Overlay, ACounterLabelShowsForExactlyFortyFrames)
{
    mouse_to(1, 1);
    const int x0 = 12, y0 = 574, x1 = 12 + 140, y1 = 574 + 12;   // "Single quad" at (10, 460)
    frame();
    EXPECT_EQ(yellow_pixels(x0, y0, x1, y1), 0);
    key_down(KEY_T);                                 // drawn frame 1
    set_key(KEY_T, false);
    frames(label_frames_expected - 2);               // drawn frames 2 .. 39
    frame();                                         // drawn frame 40
    EXPECT_GT(yellow_pixels(x0, y0, x1, y1), 20);
    frame();
    EXPECT_EQ(yellow_pixels(x0, y0, x1, y1), 0);
}

TEST_F(Overlay, AHeldLabelShowsWhileItsKeysAreDown)
{
    mouse_to(1, 1);
    const int x0 = 12, y0 = 574, x1 = 12 + 140, y1 = 574 + 12;
    set_key(KEY_LSHIFT, true);
    set_key(KEY_B, true);
    frame();
    frame_at(0);                                     // grid grey at its brightest: yellow text
    EXPECT_GT(yellow_pixels(x0, y0, x1, y1), 20);    // "Blended base"
    set_key(KEY_B, false);
    set_key(KEY_LSHIFT, false);
    frame();
    frame();
    EXPECT_EQ(yellow_pixels(x0, y0, x1, y1), 0);
}

// ---- the texture picker -----------------------------------------------------

namespace {

// Textures of one flat colour each that name their index: red = 2 x index.
std::vector<unsigned int> index_textures;

void make_index_textures(int count)
{
    if (!index_textures.empty()) return;
    for (int i = 0; i < count; i++) {
        unsigned char texel[4 * 4 * 4];
        for (int p = 0; p < 16; p++) {
            texel[4 * p] = (unsigned char)(2 * i);
            texel[4 * p + 1] = 40;
            texel[4 * p + 2] = 200;
            texel[4 * p + 3] = 255;
        }
        GLuint id;
        glGenTextures(1, &id);
        glBindTexture(GL_TEXTURE_2D, id);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 4, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
        index_textures.push_back(id);
    }
}

std::vector<std::function<void()>> picker_script;
size_t picker_pos = 0;
bool picker_overran = false;

void run_picker_script(void)
{
    if (picker_pos < picker_script.size()) {
        picker_script[picker_pos++]();
        return;
    }
    picker_overran = true;
    set_key(KEY_ESC, !key[KEY_ESC]);
}

int cell_centre_window_x(int column) { return (column * picker_cell + picker_cell / 2) * 5 / 4; }
int cell_centre_window_y(int row) { return (row * picker_cell + picker_cell / 2) * 5 / 4; }

// The texture index a cell shows, read from its colour; -1 for black. Read
// near the cell's top, since the screen edge cuts the eighth row.
int shown_index(int column, int row)
{
    const int inset = 10;                            // window pixels
    rgba p = window_pixel(column * picker_cell * 5 / 4 + inset, row * picker_cell * 5 / 4 + inset);
    if (p.b < 100) return -1;
    return (p.r + 1) / 2;
}

}  // namespace

TEST_F(Overlay, ThePickerShowsPageOneFrom75AndAClickChoosesTheTextureDrawnThere)
{
    const int count = 90;
    make_index_textures(count);
    unsigned int saved[num_tex_slots];
    for (int i = 0; i < num_tex_slots; i++) saved[i] = terrain_tex[i];
    for (int i = 0; i < count; i++) terrain_tex[i] = index_textures[i];
    int saved_count = NUM_TEX;
    NUM_TEX = count;

    int page0_first = -2, page0_last = -2, page1_first = -2, page1_after = -2, drawn = -2;
    int outlined = 0;
    picker_script = {
        [] { set_key(KEY_SPACE, true); },
        [&] {
            set_key(KEY_SPACE, false);
            page0_first = shown_index(0, 0);
            page0_last = shown_index(9, 7);

        },
        [] { set_key(KEY_RIGHT, true); },
        [] { set_key(KEY_RIGHT, false); },
        [] { mouse_x = cell_centre_window_x(3); mouse_y = cell_centre_window_y(1); },
        [&] {
            page1_first = shown_index(0, 0);
            page1_after = shown_index(5, 1);         // 75 + 15 = 90: past the set
            drawn = shown_index(3, 1);
            // the cell under the pointer is outlined in dashes
            int x0 = 3 * 80, y0 = 80;
            for (int x = x0; x < x0 + 80; x++)
                outlined += yellow(window_pixel(x, y0)) || yellow(window_pixel(x, y0 - 1));
        },
        [] { mouse_b = 1; },
        [] {},
    };
    picker_pos = 0;
    picker_overran = false;
    input_hook = run_picker_script;
    frame();
    input_hook = nullptr;
    mouse_b = 0;
    release_all_keys();
    frame();

    EXPECT_FALSE(picker_overran);
    EXPECT_EQ(page0_first, 0);
    EXPECT_EQ(page0_last, 79);
    EXPECT_EQ(page1_first, 75);
    EXPECT_EQ(page1_after, -1);
    EXPECT_EQ(drawn, 88);
    EXPECT_EQ(edt.cur_tex, drawn);
    EXPECT_GT(outlined, 10);

    for (int i = 0; i < num_tex_slots; i++) terrain_tex[i] = saved[i];
    NUM_TEX = saved_count;
}
