// The player's screens in a real GL window with the game's own data: a live
// finish of level 0 sets its record, the level-complete screen waits and the
// level select shows the time; Backspace restarts at once; P pauses with the
// world standing still; the still screens draw only when they change.
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <sstream>
#include <vector>
#include "test_support.h"
#include <allegro.h>
#include "actions.h"
#include "bodies.h"
#include "game.h"
#include "hillhopper.h"
#include "level_list.h"
#include "records.h"
#include "replay.h"
#include "screen_text.h"
#include "screens.h"
#include "settings.h"
#include "startscr.h"
#include "std_gfuncs.h"

namespace {

struct key_change { int frame, code; bool down; };

// The recorded finishing run of level 0 (levels/run0.txt), as key changes.
std::vector<key_change> run0(void)
{
    std::ifstream in(std::string(TEST_SOURCE_DIR) + "/levels/run0.txt");
    std::vector<key_change> out;
    std::string line;
    const struct { const char *name; int code; } names[] = {
        {"left", KEY_LEFT}, {"right", KEY_RIGHT}, {"up", KEY_UP}, {"down", KEY_DOWN},
        {"enter", KEY_ENTER}, {"boost", KEY_RCONTROL}, {"help", KEY_RSHIFT}, {"escape", KEY_ESC}};
    while (std::getline(in, line)) {
        std::istringstream w(line.substr(0, line.find('#')));
        std::string a, b, c;
        if (!(w >> a >> b >> c) || a == "level") continue;
        for (const auto &n : names)
            if (b == n.name) out.push_back({std::stoi(a), n.code, c == "down"});
    }
    return out;
}

// Default settings, the game's pictures and fonts, no key down.
void fresh_game(void)
{
    setenv("HILLHOPPER_GAME_DATA", GAME_DATA_DIR, 1);
    default_settings(&settings);
    apply_settings();
    load_game_textures();
    load_fonts();
    release_all_keys();
    clear_keyr();
}

void start_level(int n)
{
    fresh_game();
    set_next_level_seed(1);                 // as the recorded runs were made
    current_level = n;
    level_start();
    display_controls = 0;
}

// Light pixels: text over the screens' dark panels.
int bright_pixels(double x0, double y0, double x1, double y1)
{
    int n = 0;
    for (double y = y0; y < y1; y += 1)
        for (double x = x0; x < x1; x += 1) {
            rgba p = overlay_pixel(x, y);
            if (p.r > 140 && p.g > 140) n++;
        }
    return n;
}

int hook_bright, hook_bright_below;
double hook_x0, hook_y0, hook_x1, hook_y1;
const double row_below = 26;        // the level select's row step
void count_bright(void)
{
    hook_bright = bright_pixels(hook_x0, hook_y0, hook_x1, hook_y1);
    hook_bright_below = bright_pixels(hook_x0, hook_y0 + row_below, hook_x1, hook_y1 + row_below);
}

std::vector<std::vector<int>> script;
size_t script_step;
void play_script(void)
{
    release_all_keys();
    if (script_step < script.size())
        for (int k : script[script_step]) set_key(k, true);
    if (++script_step > 20000) close_requested = 1;
}

void tap_in_script(int code, int idle_before)
{
    for (int i = 0; i < idle_before; i++) script.push_back({});
    script.push_back({code});
    script.push_back({code});
    script.push_back({});
    script.push_back({});
}

}  // namespace

class PlayerScreens : public GlTest {};

// The run that finishes level 0 through the real loop is live play: its frame
// count becomes the record, the screen waits with "New best!", Enter goes on
// to level 1, and the level select then shows level 1 open with the time.
TEST_F(PlayerScreens, ALiveFinishSetsTheRecordShownOnTheLevelSelect)
{
    clear_records();
    start_level(0);
    std::vector<key_change> keys = run0();
    ASSERT_FALSE(keys.empty());
    size_t next = 0;
    int frames = 0;
    for (; frames < 40 * 300 && j[J_LEVEL_DONE] == 0; frames++) {
        while (next < keys.size() && keys[next].frame <= frames) {
            set_key(keys[next].code, keys[next].down);
            next++;
        }
        ASSERT_EQ(run_frame(), FRAME_NEXT) << "frame " << frames;
        pace_frame();
    }
    release_all_keys();
    ASSERT_NE(j[J_LEVEL_DONE], 0) << "the recorded run no longer finishes";
    EXPECT_TRUE(attempt.finished);
    EXPECT_TRUE(attempt.new_best);
    EXPECT_EQ(attempt.frames, frames);
    ASSERT_EQ(level_record_slot(0), 0);
    EXPECT_EQ(records[0].frames, frames);
    EXPECT_TRUE(level_is_open(1));
    EXPECT_FALSE(level_is_open(2));

    // The screen waits far past the old 100 frames, its text drawn.
    hook_x0 = 150; hook_y0 = 260; hook_x1 = 490; hook_y1 = 420;
    frame_ready_hook = count_bright;
    for (int i = 0; i < 150; i++) {
        ASSERT_EQ(run_frame(), FRAME_NEXT);
        pace_frame();
    }
    frame_ready_hook = nullptr;
    EXPECT_GT(hook_bright, 400) << "time, best and the keys are written";
    set_key(KEY_ENTER, true);
    run_frame();
    set_key(KEY_ENTER, false);
    EXPECT_EQ(run_frame(), FRAME_LEVEL_START);
    EXPECT_EQ(current_level, 1);

    // The level select starts on level 1, the first without a record; row 0
    // shows the time left beside its time, which only a record has.
    EXPECT_EQ(level_select_default(), 1);
    hook_x0 = 420; hook_y0 = 110; hook_x1 = 520; hook_y1 = 130;
    start_screen_before_flip = count_bright;
    script.clear();
    script_step = 0;
    tap_in_script(KEY_ENTER, 10);
    input_hook = play_script;
    int chosen = level_select_screen();
    input_hook = nullptr;
    start_screen_before_flip = nullptr;
    EXPECT_EQ(chosen, 1);
    EXPECT_GT(hook_bright, 20) << "the best time of level 0";
    EXPECT_EQ(hook_bright_below, 0) << "level 1 has no record yet";
    clear_records();
}

// Backspace starts the level again in the same frame: the player back at the
// start with the full time, the attempt counted from zero; also on the
// time-out screen, never in an edit mode. The time from the key's frame to
// the next level's first drawn frame is printed.
TEST_F(PlayerScreens, BackspaceRestartsAtOnce)
{
    start_level(0);
    double full_time = f[F_TIME], sx = f[F_START_X];
    set_key(KEY_RIGHT, true);
    for (int i = 0; i < 120; i++) { run_frame(); pace_frame(); }
    set_key(KEY_RIGHT, false);
    EXPECT_GT(body[0].x, sx + 0.5);
    EXPECT_EQ(attempt.frames, 120);
    set_key(KEY_BACKSPACE, true);
    auto t0 = std::chrono::steady_clock::now();
    ASSERT_EQ(run_frame(), FRAME_LEVEL_START);
    set_key(KEY_BACKSPACE, false);
    level_start();
    run_frame();
    auto ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    printf("restart: key frame to the new level's first frame %.1f ms\n", ms);
    EXPECT_EQ(current_level, 0);
    EXPECT_EQ(f[F_TIME], full_time - 0.03);
    EXPECT_LT(std::abs(body[0].x - sx), 0.1);
    EXPECT_EQ(attempt.frames, 1);

    f[F_TIME] = 0.01;                       // the time-out screen
    for (int i = 0; i < 30; i++) { run_frame(); pace_frame(); }
    ASSERT_GT(j[J_TIMEOUT_STEP], 0);
    set_key(KEY_BACKSPACE, true);
    EXPECT_EQ(run_frame(), FRAME_LEVEL_START);
    set_key(KEY_BACKSPACE, false);
    run_frame();

    level_start();
    edit_mode = 1;                          // an edit mode: Backspace is not ours
    set_key(KEY_BACKSPACE, true);
    EXPECT_EQ(run_frame(), FRAME_NEXT);
    set_key(KEY_BACKSPACE, false);
    run_frame();
    edit_mode = 0;
    release_all_keys();
}

// P stops the world where it is: the paused picture (dimmed world, "Paused")
// is shown once, then the loop only polls; P again goes on from the same
// state. The processor time of the paused wait is printed.
TEST_F(PlayerScreens, PauseStopsTheWorldAndCostsLittle)
{
    start_level(0);
    set_key(KEY_RIGHT, true);
    for (int i = 0; i < 60; i++) { run_frame(); pace_frame(); }
    hook_x0 = 220; hook_y0 = 195; hook_x1 = 420; hook_y1 = 240;
    hook_bright = 0;
    frame_ready_hook = count_bright;
    // P, then a second of polls at 10 ms with P up, then P again.
    script.clear();
    script_step = 0;
    script.push_back({KEY_P, KEY_RIGHT});
    for (int i = 0; i < 100; i++) script.push_back({KEY_RIGHT});
    script.push_back({KEY_P, KEY_RIGHT});
    script.push_back({KEY_RIGHT});
    input_hook = play_script;
    clock_t cpu0 = clock();
    auto t0 = std::chrono::steady_clock::now();
    EXPECT_EQ(run_frame(), FRAME_NEXT);     // the frame that sees P pauses at its end
    double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    double cpu = (double)(clock() - cpu0) / CLOCKS_PER_SEC;
    frame_ready_hook = nullptr;
    printf("paused: %.3f s of processor time in %.3f s, one frame drawn included (%.1f %% of a core)\n",
           cpu, wall, 100 * cpu / wall);
    EXPECT_GT(hook_bright, 200) << "\"Paused\" over the world";
    EXPECT_GE(script_step, 102u) << "the wait ended with the second P";
    EXPECT_GT(wall, 0.9);
    // Nothing ran while paused: the next frame goes on from where it stopped.
    double x = body[0].x, t = f[F_TIME];
    int frames = attempt.frames;
    EXPECT_EQ(frames, 61);
    run_frame();
    input_hook = nullptr;
    EXPECT_NEAR(f[F_TIME], t - 0.03, 1e-9);
    EXPECT_EQ(attempt.frames, frames + 1);
    EXPECT_NE(body[0].x, x);
    release_all_keys();
}

namespace {

// The name's warm yellow, rare in the sky and the ground around a start.
int title_pixels;
void count_title_pixels(void)
{
    title_pixels = 0;
    for (double y = 84; y < 136; y += 1)
        for (double x = 80; x < 560; x += 1) {
            rgba p = overlay_pixel(x, y);
            if (p.r > 200 && p.g > 170 && p.b < 150) title_pixels++;
        }
}

int title_pixels_after(int frames)
{
    frame_ready_hook = count_title_pixels;
    while (attempt.frames < frames) { run_frame(); pace_frame(); }
    frame_ready_hook = nullptr;
    return title_pixels;
}

std::vector<unsigned char> final_picture;
int frames_drawn, frames_kept, frames_differing;

std::vector<unsigned char> read_back_buffer(void)
{
    std::vector<unsigned char> pic((size_t)SCREEN_W * SCREEN_H * 4);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, SCREEN_W, SCREEN_H, GL_RGBA, GL_UNSIGNED_BYTE, pic.data());
    return pic;
}

bool all_magenta(const std::vector<unsigned char> &pic)
{
    for (size_t k = 0; k < pic.size(); k += 4)
        if (pic[k] != 255 || pic[k + 1] != 0 || pic[k + 2] != 255) return false;
    return true;
}

// After the complete picture (level-done count 51) the back buffer is painted
// magenta in every frame's hook: a frame that draws paints over all of it, a
// frame that does not leaves it.
void watch_level_end_frames(void)
{
    std::vector<unsigned char> pic = read_back_buffer();
    if (j[J_LEVEL_DONE] < 51) return;
    if (j[J_LEVEL_DONE] == 51) final_picture = pic;
    else if (all_magenta(pic)) frames_kept++;
    else {
        frames_drawn++;
        if (pic != final_picture) frames_differing++;
    }
    glDisable(GL_SCISSOR_TEST);
    glClearColor(1, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0, 0, 0, 0);
}

}  // namespace

// The level's own name shows over the play view at its start and is gone a
// few seconds later; an edit mode never shows it.
TEST_F(PlayerScreens, TheLevelsNameShowsAtItsStartAndFades)
{
    start_level(1);
    int shown = title_pixels_after(20);
    int fading = title_pixels_after(125);
    int gone = title_pixels_after(160);
    printf("level name: %d pixels at frame 20, %d at 125, %d at 160\n", shown, fading, gone);
    EXPECT_GT(shown, 300) << level_list_name(1, lang);
    EXPECT_LT(fading, shown);
    EXPECT_LT(gone * 10, shown) << "the name is still there after the fade";

    start_level(1);
    edit_mode = 1;
    EXPECT_LT(title_pixels_after(20) * 10, shown) << "drawn in an edit mode";
    edit_mode = 0;
}

// The level-complete screen holds still once its text shows: it is drawn the
// frame after that, then once a second, and each time the picture is the
// same as the first; the frames between draw nothing at all and still read
// the keys (Enter goes on as ever).
TEST_F(PlayerScreens, TheStillLevelCompleteScreenIsDrawnOnChangeOnlyAndAlike)
{
    clear_records();
    start_level(0);
    for (int i = 0; i < 20; i++) { run_frame(); pace_frame(); }
    j[J_LEVEL_DONE] = 1;
    frames_drawn = frames_kept = frames_differing = 0;
    final_picture.clear();
    frame_ready_hook = watch_level_end_frames;
    while (j[J_LEVEL_DONE] < 52 + 2 * 40) {
        ASSERT_EQ(run_frame(), FRAME_NEXT);
        pace_frame();
    }
    frame_ready_hook = nullptr;
    ASSERT_FALSE(final_picture.empty());
    EXPECT_FALSE(all_magenta(final_picture));
    EXPECT_EQ(frames_drawn, 3) << "the first still frame and once a second";
    EXPECT_EQ(frames_kept, 2 * 39);
    EXPECT_EQ(frames_differing, 0) << "a redrawn still frame is the same picture";
    set_key(KEY_ENTER, true);
    run_frame();
    set_key(KEY_ENTER, false);
    EXPECT_EQ(run_frame(), FRAME_LEVEL_START);
    EXPECT_EQ(current_level, 1);
    clear_records();
}

namespace {

std::vector<std::vector<unsigned char>> menu_pictures;
std::vector<int> menu_frames_drawn;
std::vector<int> yellow_in_row0, yellow_in_row1;
int menu_frame;

// The options screen's chosen row has a yellow label (the others are white).
int yellow_labels(double y0)
{
    int n = 0;
    for (double y = y0; y < y0 + 16; y += 1)
        for (double x = 64; x < 240; x += 1) {
            rgba p = overlay_pixel(x, y);
            if (p.r > 180 && p.g > 140 && p.b < 120) n++;
        }
    return n;
}

// As for the level-complete screen: the back buffer is painted magenta after
// every frame, so a frame that draws is one that covers it.
void watch_menu_frames(void)
{
    std::vector<unsigned char> pic = read_back_buffer();
    if (!all_magenta(pic)) {
        menu_frames_drawn.push_back(menu_frame);
        menu_pictures.push_back(pic);
        yellow_in_row0.push_back(yellow_labels(62));
        yellow_in_row1.push_back(yellow_labels(62 + 18.5));
    }
    menu_frame++;
    glClearColor(1, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0, 0, 0, 0);
}

}  // namespace

// With the sky held still behind it the options screen is a still picture:
// drawn on its first frame and once a second, each time alike; a key that
// moves the choice draws the new picture in the frame it is read.
TEST_F(PlayerScreens, AStillMenuDrawsOnItsFirstFrameOnceASecondAndAtOnceOnAKey)
{
    fresh_game();
    glMatrixMode(GL_MODELVIEW);             // as the start screen leaves it
    glLoadIdentity();
    glTranslatef(0, 0, -1);
    menu_pictures.clear();
    menu_frames_drawn.clear();
    yellow_in_row0.clear();
    yellow_in_row1.clear();
    menu_frame = 0;
    script.clear();
    script_step = 0;
    tap_in_script(KEY_DOWN, 45);
    tap_in_script(KEY_ESC, 10);
    start_screen_before_flip = watch_menu_frames;
    input_hook = play_script;
    options_screen();
    input_hook = nullptr;
    start_screen_before_flip = nullptr;
    release_all_keys();
    EXPECT_EQ(menu_frame, 59) << "every frame up to the Esc ran";
    ASSERT_EQ(menu_frames_drawn, (std::vector<int>{0, 40, 45}));
    EXPECT_TRUE(menu_pictures[1] == menu_pictures[0]) << "a redrawn still picture is the same";
    EXPECT_FALSE(menu_pictures[2] == menu_pictures[0]);
    EXPECT_GT(yellow_in_row0[0], 3);
    EXPECT_EQ(yellow_in_row1[0], 0);
    EXPECT_EQ(yellow_in_row0[2], 0) << "the choice moved down";
    EXPECT_GT(yellow_in_row1[2], 3);
}
