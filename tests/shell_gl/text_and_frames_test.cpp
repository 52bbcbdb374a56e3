// On-screen text and the frame loop's own sequences, in a real GL window.
#include <vector>
#include "test_support.h"
#include <allegro.h>
#include "hillhopper.h"
#include "std_gfuncs.h"
#include "game.h"
#include "camera.h"
#include "terrain_file.h"
#include "bodies.h"
#include "startscr.h"
#include "replay.h"
#include "replay_store.h"
#include "ghost.h"
#include "level_id.h"
#include "slots.h"
#include <cstring>
#include <cstdlib>

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

// Frames of the real loop in the window, with the game's own data. Pixels are
// read from each finished frame just before it is shown.
namespace {

rgba bottom_centre, top_centre, controls_panel, clock_right, clock_left;
void read_frame_probes(void)
{
    bottom_centre = overlay_pixel(320, 475);
    top_centre = overlay_pixel(100, 150);     // beside the sliding picture
    controls_panel = overlay_pixel(370, 200);
    clock_right = overlay_pixel(40 + 15, 45);
    clock_left = overlay_pixel(40 - 15, 45);
}

int brightness(rgba p)
{
    return p.r + p.g + p.b;
}

void start_level_zero(void)
{
    load_game_textures();
    release_all_keys();
    clear_keyr();
    quit_flag = 0;
    current_level = 0;
    level_start();
    frame_ready_hook = read_frame_probes;
}

// Level 0 played for a few frames; the brightness at the bottom and top
// probes of its last frame.
void play_level_zero_briefly(int *bottom, int *top)
{
    start_level_zero();
    display_controls = 0;
    run_frames(5);
    *bottom = brightness(bottom_centre);
    *top = brightness(top_centre);
}

}  // namespace

class Frames : public GlTest {
protected:
    void TearDown() override
    {
        frame_ready_hook = nullptr;
        release_all_keys();
    }
};

TEST_F(Frames, EscapeDarkensTheScreenFromTheBottomInTheSameFrame)
{
    int before, top_before;
    play_level_zero_briefly(&before, &top_before);
    ASSERT_GT(before, 60) << "the level should be visible at the bottom";
    run_frames(2, [](int i) { set_key(KEY_ESC, i == 0); });
    EXPECT_EQ(j[J_TIMEOUT_STEP], 1);
    EXPECT_LT(brightness(bottom_centre), before * 0.5);
    EXPECT_GT(brightness(top_centre), top_before * 0.8) << "the panel has not reached the top yet";
    run_frames(30);
    EXPECT_LT(brightness(top_centre), top_before * 0.5);
    EXPECT_EQ(f[F_TIME], 0);
}

TEST_F(Frames, ControlsScreenAppearsAfterTheFirstFrame)
{
    start_level_zero();
    display_controls = 1;
    input_hook = [] {
        static int n = 0;
        set_key(KEY_A, ++n % 2 == 1);
    };
    int normal = 0;
    run_frames(1);
    // The panel is dark where the level was light.
    int panel = brightness(controls_panel);
    input_hook = nullptr;
    display_controls = 0;
    run_frames(1);
    normal = brightness(controls_panel);
    EXPECT_LT(panel, normal * 0.5);
}

TEST_F(Frames, TheClockIsDrawnTopLeft)
{
    start_level_zero();
    display_controls = 0;
    run_frames(2);
    // Half the clock's time left: the coloured sector fills the right half of
    // the face, the left half stays grey.
    ASSERT_NEAR(f[F_TIME], 50, 0.1);
    EXPECT_GT(clock_right.r - clock_right.b, 60);
    EXPECT_LT(abs(clock_left.r - clock_left.b), 30);
}

TEST_F(Frames, EscapeDuringTheLevelCompleteCountLeavesTheScreenLit)
{
    int before, top_before;
    play_level_zero_briefly(&before, &top_before);
    ASSERT_GT(before, 60) << "the level should be visible at the bottom";
    j[J_LEVEL_DONE] = 1;
    run_frames(2, [](int i) { set_key(KEY_ESC, i == 0); });
    EXPECT_EQ(j[J_TIMEOUT_STEP], 0);
    // The level-complete count dims the whole view evenly; the time-out panel
    // would darken the bottom long before the top.
    for (int k = 0; k < 10; k++) {
        run_frames(2);
        double bottom_share = brightness(bottom_centre) / (double)before;
        double top_share = brightness(top_centre) / (double)top_before;
        EXPECT_NEAR(bottom_share, top_share, 0.15) << "after " << 4 + 2 * k << " frames";
    }
}

// The view round the player after a press of Right Ctrl: the player starts in
// the middle of the view, and the same start gives the same frames.
namespace {

const int box_x0 = 220, box_y0 = 160, box_w = 200, box_h = 160;
std::vector<unsigned char> player_box;

void read_player_box(void)
{
    int x0 = box_x0 * SCREEN_W / 640, y0 = box_y0 * SCREEN_H / 480;
    int w = box_w * SCREEN_W / 640, h = box_h * SCREEN_H / 480;
    player_box.assign((size_t)w * h * 4, 0);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x0, SCREEN_H - y0 - h, w, h, GL_RGBA, GL_UNSIGNED_BYTE, player_box.data());
}

// Starts level 0, gives the player `stock` charges, frees the camera or not,
// presses Right Ctrl or not, and returns the view round the player a few
// frames later.
bool press_boost_key;
std::vector<unsigned char> view_after_boost_key(int stock, int free_camera, bool press)
{
    press_boost_key = press;
    srand(7);
    start_level_zero();
    // The camera's glide velocity survives a level start; from rest, every
    // start draws the same frames.
    set_camera_state(scr_px, scr_py, 0, 0);
    frame_ready_hook = read_player_box;
    display_controls = 0;
    run_frames(5);
    j[J_BOOSTS] = stock;
    j[J_BOOST_TIMER] = 0;
    camera_track = !free_camera;
    run_frames(4, [](int i) { set_key(KEY_RCONTROL, press_boost_key && i == 0); });
    camera_track = 1;
    return player_box;
}

int pixels_apart(const std::vector<unsigned char> &a, const std::vector<unsigned char> &b)
{
    int n = 0;
    for (size_t i = 0; i + 3 < a.size() && i + 3 < b.size(); i += 4)
        if (abs(a[i] - b[i]) + abs(a[i + 1] - b[i + 1]) + abs(a[i + 2] - b[i + 2]) > 60) n++;
    return n;
}

}  // namespace

TEST_F(Frames, TheBoostShowsOnlyWithStockAndTheCameraOnThePlayer)
{
    std::vector<unsigned char> unpressed = view_after_boost_key(2, 0, false);
    std::vector<unsigned char> again = view_after_boost_key(2, 0, false);
    ASSERT_EQ(pixels_apart(unpressed, again), 0) << "the same start must draw the same frames";
    std::vector<unsigned char> boosted = view_after_boost_key(2, 0, true);
    EXPECT_EQ(j[J_BOOSTS], 1);
    EXPECT_GT(pixels_apart(unpressed, boosted), 3000) << "the boosting player looks different";

    std::vector<unsigned char> no_stock = view_after_boost_key(0, 0, false);
    std::vector<unsigned char> no_stock_pressed = view_after_boost_key(0, 0, true);
    EXPECT_EQ(pixels_apart(no_stock, no_stock_pressed), 0);

    std::vector<unsigned char> free_camera = view_after_boost_key(2, 1, false);
    std::vector<unsigned char> free_camera_pressed = view_after_boost_key(2, 1, true);
    EXPECT_EQ(j[J_BOOSTS], 2);
    EXPECT_EQ(pixels_apart(free_camera, free_camera_pressed), 0);
}

// The ghost: the best run's stored poses drawn in step, translucent; it shows
// on screen and changes nothing in the world, and the ghost key hides it.
namespace {

std::vector<unsigned char> whole_window;
void read_whole_window(void)
{
    whole_window.resize((size_t)SCREEN_W * SCREEN_H * 4);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, SCREEN_W, SCREEN_H, GL_RGBA, GL_UNSIGNED_BYTE, whole_window.data());
}

struct world_after { std::vector<int> js; std::vector<double> fs; double x, y; };

// Level 0 from rest with Right held for `frames` frames; the last frame's
// picture is in whole_window.
world_after play_with_ghost(bool shown, int frames)
{
    srand(3);
    start_level_zero();
    set_camera_state(scr_px, scr_py, 0, 0);
    frame_ready_hook = read_whole_window;
    display_controls = 0;
    ghost_shown = shown;
    run_frames(frames, [](int) { set_key(KEY_RIGHT, true); });
    release_all_keys();
    return world_after{std::vector<int>(j, j + 24), std::vector<double>(f, f + 16), body[0].x, body[0].y};
}

}  // namespace

TEST_F(Frames, TheGhostIsDrawnInStepAndTouchesNothing)
{
    char home[] = "/tmp/hh_ghost_XXXXXX";
    ASSERT_TRUE(mkdtemp(home));
    setenv("HILLHOPPER_DATA_HOME", home, 1);
    replay_keep_attempts = true;
    // A best run of level 0 whose body hangs a little right of the start.
    start_level_zero();
    replay_record best;
    best.level = 0;
    best.level_file = "map0.trn";
    best.level_checksum = current_level_checksum;
    best.frames = 400;
    best.finished = true;
    best.time_left = 10;
    best.input.push_back(replay_input{(uint8_t)input_steps, 0, 400});
    for (int k = 0; k < 400; k++)
        best.ghost.push_back(ghost_pose{(float)(f[F_START_X] + 0.6), (float)(f[F_START_Y] + 0.2 + k * 0.001f),
                                        0, (uint8_t)TEX_PLAYER, 0});
    std::string error;
    ASSERT_TRUE(write_replay_file(replay_file_path(best.level_checksum, "best"), best, &error)) << error;

    world_after plain = play_with_ghost(false, 6);
    std::vector<unsigned char> without = whole_window;
    world_after raced = play_with_ghost(true, 6);
    ASSERT_TRUE(ghost_available());
    EXPECT_GT(pixels_apart(without, whole_window), 50) << "no ghost on screen";
    EXPECT_EQ(plain.js, raced.js);
    EXPECT_EQ(memcmp(plain.fs.data(), raced.fs.data(), 16 * sizeof(double)), 0);
    EXPECT_EQ(plain.x, raced.x);
    EXPECT_EQ(plain.y, raced.y);
    // The ghost key (G by default) hides it from the next frame on.
    run_frames(2, [](int i) { set_key(KEY_G, i == 0); });
    EXPECT_FALSE(ghost_shown);

    replay_keep_attempts = false;
    unsetenv("HILLHOPPER_DATA_HOME");
    ghost_shown = true;
}

// The game draws everything with one blend (source alpha over the pixel) and
// the alpha test on, which drops fragments of alpha 0 before the blend. That
// keeps the picture only while the blend leaves a pixel unchanged under such a
// fragment, and while the faintest visible alpha still passes the test.
namespace {

// Draws the picture (left half colour a, right half b) over a screen of the
// given grey with the game's state, the alpha test on or off, and reads both
// halves.
void draw_two_tone(const unsigned char a[4], const unsigned char b[4], float grey, bool alpha_test,
                   rgba *left, rgba *right)
{
    unsigned int tex = two_tone_texture(64, 64, a, b);
    setup_gl_state();
    if (!alpha_test) glDisable(GL_ALPHA_TEST);
    glClearColor(grey, grey, grey, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0, 0, -1);
    draw_shaded_tex(100, 100, 200, 100, tex, 0);
    *left = overlay_pixel(140, 150);
    *right = overlay_pixel(260, 150);
    glDeleteTextures(1, &tex);
    setup_gl_state();
}

bool same(rgba p, rgba q)
{
    return p.r == q.r && p.g == q.g && p.b == q.b;
}

}  // namespace

class Blending : public GlTest {};

TEST_F(Blending, TheAlphaTestChangesNoPixelOfMaskedFaintOrSolidTexels)
{
    const unsigned char masked_red[4] = {255, 0, 0, 0};
    const unsigned char faint_red[4] = {255, 0, 0, 1};
    const unsigned char half_blue[4] = {0, 0, 255, 128};
    const unsigned char solid_white[4] = {255, 255, 255, 255};
    const unsigned char *pairs[][2] = {{masked_red, faint_red}, {half_blue, solid_white}};
    for (auto &pair : pairs) {
        rgba with_left, with_right, without_left, without_right;
        draw_two_tone(pair[0], pair[1], 0.5f, true, &with_left, &with_right);
        draw_two_tone(pair[0], pair[1], 0.5f, false, &without_left, &without_right);
        EXPECT_TRUE(same(with_left, without_left));
        EXPECT_TRUE(same(with_right, without_right));
    }
}

TEST_F(Blending, AMaskedTexelLeavesThePixelAndTheFaintestOneStillShows)
{
    const unsigned char masked_red[4] = {255, 0, 0, 0};
    const unsigned char faint_red[4] = {255, 0, 0, 1};
    rgba masked, faint;
    draw_two_tone(masked_red, faint_red, 0, true, &masked, &faint);
    EXPECT_EQ(masked.r, 0);                 // the black, untouched
    EXPECT_EQ(faint.r, 1);                  // a trace of red: not dropped
    EXPECT_EQ(faint.g, 0);
}
