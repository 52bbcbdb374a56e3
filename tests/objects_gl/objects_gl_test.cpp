// Display tests of the level sign, the HUD and the start screen: a real GL
// window under Xvfb, with plain pictures made here so that every expected
// pixel is known.
#include <cmath>
#include <functional>
#include <string>
#include <vector>
#include "test_support.h"
#include <allegro.h>
#include <alleggl.h>
#include "../objects/picture_datafile.h"
#include "hillhopper.h"
#include "game.h"
#include "slots.h"
#include "std_gfuncs.h"
#include "textures.h"
#include "doodads.h"
#include "barsnstuff.h"
#include "startscr.h"
#include "settings.h"

// A texture of one colour; the mask colour makes it fully transparent.
static unsigned int solid_texture(int w, int h, int r, int g, int b)
{
    BITMAP *bmp = create_bitmap_ex(32, w, h);
    clear_to_color(bmp, makecol32(r, g, b));
    glColor4f(1, 1, 1, 1);
    allegro_gl_use_alpha_channel(FALSE);
    unsigned int tex = allegro_gl_make_masked_texture(bmp);
    destroy_bitmap(bmp);
    return tex;
}

static unsigned int transparent_texture(void)
{
    return solid_texture(16, 16, 255, 0, 255);
}

static void reset_slots(void)
{
    for (int i = 0; i < num_slots; i++) {
        j[i] = 0;
        f[i] = 0;
    }
}

// ---- the level sign -----------------------------------------------------------

// Where the sign's yellow text lies: the texels of exactly (200, 200, 0).
static std::vector<bool> yellow_mask_of_texture(unsigned int tex, int w, int h)
{
    std::vector<unsigned char> px(w * h * 4);
    glBindTexture(GL_TEXTURE_2D, tex);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    std::vector<bool> m(w * h);
    // Texture row 0 is the bitmap's bottom row.
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            const unsigned char *p = &px[((h - 1 - y) * w + x) * 4];
            m[y * w + x] = p[0] == 200 && p[1] == 200 && p[2] == 0;
        }
    return m;
}

static std::vector<bool> yellow_mask_of_text(const char *text, int w, int h)
{
    BITMAP *bmp = create_bitmap_ex(32, w, h);
    clear_to_color(bmp, makecol32(20, 20, 80));
    textprintf_ex(bmp, font, 33, 14, makecol32(200, 200, 0), -1, "%s", text);
    std::vector<bool> m(w * h);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            int c = getpixel(bmp, x, y);
            m[y * w + x] = getr32(c) == 200 && getg32(c) == 200 && getb32(c) == 0;
        }
    destroy_bitmap(bmp);
    return m;
}

static int count_true(const std::vector<bool> &m)
{
    int n = 0;
    for (bool b : m) n += b;
    return n;
}

class SignGl : public GlTest {};

TEST_F(SignGl, LevelNineReadsStageTen)
{
    std::string dir = scratch_dir("sign_gl");
    std::vector<test_picture> pics(20, test_picture{16, 16, 10, 120, 10});
    pics[DAD_SIGN] = test_picture{128, 64, 20, 20, 80};
    ASSERT_TRUE(make_picture_datafile(dir, "doodads01.dat", pics));
    reset_slots();
    current_level = 9;
    in_dir(dir, [] { generate_level_sign(); });
    current_level = 0;
    double w = 0, h = 0;
    get_tex_size(doodad_tex[DAD_SIGN], &w, &h);
    ASSERT_EQ(w, 128);
    ASSERT_EQ(h, 64);
    std::vector<bool> got = yellow_mask_of_texture(doodad_tex[DAD_SIGN], 128, 64);
    std::vector<bool> ten = yellow_mask_of_text("Stage 10", 128, 64);
    std::vector<bool> nine = yellow_mask_of_text("Stage 9", 128, 64);
    ASSERT_GT(count_true(ten), 40);
    EXPECT_EQ(got, ten);
    EXPECT_NE(got, nine);
}

// ---- the HUD --------------------------------------------------------------------

class HudGl : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        if (IsSkipped()) return;
        static unsigned int clear_tex = 0, white_tex = 0;
        if (!clear_tex) {
            clear_tex = transparent_texture();
            white_tex = solid_texture(16, 32, 255, 255, 255);
        }
        terrain_tex[TEX_BAR_FRAME] = clear_tex;
        terrain_tex[TEX_CLOCK_FRAME] = clear_tex;
        terrain_tex[TEX_CLOCK_HAND] = clear_tex;
        terrain_tex[TEX_ELECTRIC] = white_tex;
        reset_slots();
        f[F_TIME] = 50;
    }
};

static bool lit(rgba p) { return p.r + p.g + p.b > 90; }

TEST_F(HudGl, ThePowerBarEndsAtTheCentreForNoPowerAndAt437ForFull)
{
    f[F_POWER] = 0;
    draw_barsnstuff();
    rgba inside = overlay_pixel(316, 16), outside = overlay_pixel(324, 16);
    EXPECT_NEAR(inside.r, 128, 12);
    EXPECT_NEAR(inside.g, 128, 12);
    EXPECT_FALSE(lit(outside));

    clear_back_buffer();
    f[F_POWER] = 100 / 0.995;               // 100 once decayed
    draw_barsnstuff();
    EXPECT_TRUE(lit(overlay_pixel(433, 16)));
    EXPECT_GT(overlay_pixel(433, 16).g, 200);
    EXPECT_FALSE(lit(overlay_pixel(441, 16)));

    clear_back_buffer();
    f[F_POWER] = -100 / 0.995;
    draw_barsnstuff();
    EXPECT_FALSE(lit(overlay_pixel(206, 16)));
}

TEST_F(HudGl, OneIconPerBoostInStock)
{
    j[J_BOOSTS] = 0;
    draw_barsnstuff();
    EXPECT_FALSE(lit(overlay_pixel(30, 445)));

    clear_back_buffer();
    j[J_BOOSTS] = 2;
    draw_barsnstuff();
    EXPECT_TRUE(lit(overlay_pixel(30, 445)));
    EXPECT_TRUE(lit(overlay_pixel(60, 445)));
    EXPECT_FALSE(lit(overlay_pixel(90, 445)));
}

// Near the top of the clock face: blue with a full clock, plain grey face at 0.
TEST_F(HudGl, TheClockSectorIsBlueWhenFullAndAbsentAtZero)
{
    f[F_TIME] = 100;
    draw_barsnstuff();
    rgba full = overlay_pixel(40, 18);
    EXPECT_GT(full.b, full.r + 100);

    clear_back_buffer();
    f[F_TIME] = 0;
    j[J_LOST] = 1;                          // no pulse: the clock stays at rest
    draw_barsnstuff();
    rgba empty = overlay_pixel(40, 18);
    EXPECT_NEAR(empty.r, empty.b, 8);
    EXPECT_GT(empty.r, 60);
}

// ---- the start screen ---------------------------------------------------------

static std::vector<std::vector<int>> keys_per_step;
static size_t step_pos;

static void script_hook(void)
{
    release_all_keys();
    if (step_pos < keys_per_step.size())
        for (int k : keys_per_step[step_pos]) set_key(k, true);
    if (++step_pos > 3000) close_requested = 1;
}

static void tap(int key)
{
    keys_per_step.push_back({key});
    keys_per_step.push_back({key});
    keys_per_step.push_back({});
    keys_per_step.push_back({});
}

static void idle(int n)
{
    for (int i = 0; i < n; i++) keys_per_step.push_back({});
}

struct menu_probe {
    rgba upper, lower, panel;
    bool taken = false;
};
static menu_probe probe;
static int probe_after;                     // frames of stage 1 before probing
static int stage1_frames;

static void probe_before_flip(void)
{
    if (stage != 1 || probe.taken) return;
    if (++stage1_frames < probe_after) return;
    probe.upper = overlay_pixel(352, 247);  // near the white corner of each item
    probe.lower = overlay_pixel(352, 347);  // Quit, the third item
    probe.panel = overlay_pixel(600, 30);
    probe.taken = true;
    save_back_buffer("start_screen_stage1.bmp");
}

class StartScreenGl : public GlTest {};

// Pictures: 2 red, 3 green, 4 yellow, 5 cyan, 8 orange; the title is fully
// transparent; the background grey.
static menu_probe second_menu_of_language(int language)
{
    std::string dir = scratch_dir("buildings_gl");
    std::vector<test_picture> pics(NUM_BUILDING_PICTURES, test_picture{64, 32, 255, 255, 255});
    pics[BTEX_START] = {64, 32, 220, 0, 0};
    pics[BTEX_START + 1] = {64, 32, 0, 220, 0};
    pics[BTEX_QUIT] = {64, 32, 220, 220, 0};
    pics[BTEX_QUIT + 1] = {64, 32, 0, 220, 220};
    pics[BTEX_TITLE] = {64, 64, 255, 0, 255};
    pics[BTEX_SCROLL_TEXT] = {64, 256, 240, 120, 0};
    EXPECT_TRUE(make_picture_datafile(dir, "buildings.dat", pics));
    static unsigned int grey = 0;
    if (!grey) grey = solid_texture(64, 64, 60, 60, 60);
    terrain_tex[TEX_BACKGROUND] = grey;
    reset_slots();
    default_settings(&settings);            // the language menu starts on English
    keys_per_step.clear();
    step_pos = 0;
    idle(2);
    if (language == 1) tap(KEY_DOWN);
    tap(KEY_SPACE);
    idle(30);
    tap(KEY_ESC);
    probe = menu_probe{};
    probe_after = 20;
    stage1_frames = 0;
    input_hook = script_hook;
    start_screen_before_flip = probe_before_flip;
    int answer = -1;
    in_dir(dir, [&] { answer = start_main(); });
    input_hook = nullptr;
    start_screen_before_flip = nullptr;
    release_all_keys();
    EXPECT_EQ(answer, 1);
    EXPECT_EQ(lang, language);
    lang = 0;
    return probe;
}

static bool greenish(rgba p) { return p.g > 150 && p.r < 80; }
static bool reddish(rgba p) { return p.r > 150 && p.g < 80; }
static bool orange(rgba p) { return p.r > 150 && p.g > 50 && p.g < 180 && p.b < 60; }

TEST_F(StartScreenGl, LanguageOneShowsPicturesThreeAndFiveAndNoScroller)
{
    menu_probe p = second_menu_of_language(1);
    ASSERT_TRUE(p.taken);
    EXPECT_TRUE(greenish(p.upper)) << p.upper.r << "," << p.upper.g << "," << p.upper.b;
    EXPECT_TRUE(p.lower.g > 150 && p.lower.b > 150 && p.lower.r < 80)
        << p.lower.r << "," << p.lower.g << "," << p.lower.b;
    EXPECT_NEAR(p.panel.r, 60, 12);         // only the background there
    EXPECT_NEAR(p.panel.b, 60, 12);
}

TEST_F(StartScreenGl, LanguageZeroShowsPicturesTwoAndFourAndTheScroller)
{
    menu_probe p = second_menu_of_language(0);
    ASSERT_TRUE(p.taken);
    EXPECT_TRUE(reddish(p.upper)) << p.upper.r << "," << p.upper.g << "," << p.upper.b;
    EXPECT_TRUE(p.lower.r > 150 && p.lower.g > 150 && p.lower.b < 80)
        << p.lower.r << "," << p.lower.g << "," << p.lower.b;
    EXPECT_TRUE(orange(p.panel)) << p.panel.r << "," << p.panel.g << "," << p.panel.b;
}
