// The start screen driven by a key script: the input hook runs on every latch
// step, also inside start_main's own loop, and presses and lets go of keys
// step by step. Headless, so the rules run without drawing.
#include <cmath>
#include <functional>
#include <string>
#include <vector>
#include "level_fixture.h"
#include "picture_datafile.h"
#include "hillhopper.h"
#include "game.h"
#include "std_gfuncs.h"
#include "startscr.h"
#include "settings.h"

// One entry per latch step: the keys down during that step, or a check.
struct script_step {
    std::vector<int> down;
    std::function<void()> check;
};

static std::vector<script_step> script;
static size_t script_pos;
static const size_t script_guard = 5000;    // a runaway loop is closed, not hung

static void run_script_step(void)
{
    release_all_keys();
    if (script_pos < script.size()) {
        for (int k : script[script_pos].down) set_key(k, true);
        if (script[script_pos].check) script[script_pos].check();
    }
    if (++script_pos > script_guard) close_requested = 1;
}

// A tap: down for two steps, then up for two (press, held, release, idle).
static void tap(int key)
{
    script.push_back({{key}, nullptr});
    script.push_back({{key}, nullptr});
    script.push_back({{}, nullptr});
    script.push_back({{}, nullptr});
}

static void idle(int steps, std::function<void()> check = nullptr)
{
    for (int i = 0; i < steps; i++) script.push_back({{}, check});
}

static std::string pictures_dir;

static void start_script(void)
{
    script.clear();
    script_pos = 0;
}

// A folder holding a complete "buildings.dat" of plain pictures.
static void ensure_pictures(void)
{
    if (!pictures_dir.empty()) return;
    pictures_dir = scratch_dir("buildings");
    std::vector<test_picture> pics(10, test_picture{32, 32, 90, 90, 90});
    ASSERT_TRUE(make_picture_datafile(pictures_dir, "buildings.dat", pics));
    // The level select lists the stages of the game's folder, here the current one.
    std::string link = "ln -sf '" + std::string(GAME_DATA_DIR) + "/map0.trn' '" + pictures_dir + "/map0.trn'";
    ASSERT_EQ(std::system(link.c_str()), 0);
}

static int run_start_screen(void)
{
    ensure_pictures();
    input_hook = run_script_step;
    int answer = -1;
    in_dir(pictures_dir, [&] { answer = start_main(); });
    input_hook = nullptr;
    release_all_keys();
    return answer;
}

TEST(StartScreen, TheHighlightWrapsAroundBothWays)
{
    fresh_level(0, 0);
    start_script();
    std::vector<int> seen;
    auto note = [&] { seen.push_back(wt); };
    idle(2);
    tap(KEY_UP);
    idle(1, note);                          // up on the first item: the second
    tap(KEY_DOWN);
    idle(1, note);                          // down on the second: the first
    tap(KEY_DOWN);
    idle(1, note);
    tap(KEY_DOWN);
    idle(1, note);
    tap(KEY_ESC);
    EXPECT_EQ(run_start_screen(), 1);
    EXPECT_EQ(seen, (std::vector<int>{1, 0, 1, 0}));
    EXPECT_EQ(stage, 0);
    EXPECT_EQ(NUM_BTEX, 0);                 // the pictures went on leaving
}

// The lower language picks language 1: the second menu shows pictures 3, 10
// and 5 (Start, Options, Quit) and no scroller (the scroller would move
// text_scroll). The choice is remembered and preselected next time.
TEST(StartScreen, LanguageOneShowsItsPicturesAndNoScroller)
{
    fresh_level(0, 0);
    start_script();
    float scroll_at_switch = 0;
    tap(KEY_DOWN);
    tap(KEY_SPACE);
    idle(1, [&] { scroll_at_switch = text_scroll; });
    idle(40);
    tap(KEY_ESC);
    EXPECT_EQ(run_start_screen(), 1);
    EXPECT_EQ(lang, 1);
    EXPECT_EQ(stage, 1);
    EXPECT_EQ(text_scroll, scroll_at_switch);
    EXPECT_EQ(settings.language, 1);
    EXPECT_EQ(start_menu_picture(1, 1, START_ITEM_PLAY), 3);
    EXPECT_EQ(start_menu_picture(1, 1, START_ITEM_OPTIONS), 10);
    EXPECT_EQ(start_menu_picture(1, 1, START_ITEM_QUIT), 5);
    EXPECT_EQ(start_menu_picture(1, 0, START_ITEM_PLAY), 2);
    EXPECT_EQ(start_menu_picture(1, 0, START_ITEM_OPTIONS), 9);
    EXPECT_EQ(start_menu_picture(1, 0, START_ITEM_QUIT), 4);
    EXPECT_EQ(start_menu_picture(0, 1, 1), 1);
    EXPECT_FALSE(start_scroller_shown(1, 1));

    // Language 0 does show it: the text moves on by 0.0006 per frame. The
    // language menu starts on the language chosen last: up picks English.
    fresh_level(0, 0);
    start_script();
    tap(KEY_UP);
    tap(KEY_SPACE);
    idle(1, [&] { scroll_at_switch = text_scroll; });
    idle(40);
    tap(KEY_ESC);
    EXPECT_EQ(run_start_screen(), 1);
    EXPECT_EQ(lang, 0);
    EXPECT_EQ(settings.language, 0);
    EXPECT_LT(text_scroll, scroll_at_switch - 0.02f);
    lang = 0;
}

// The release that leaves the language menu is consumed: the second menu's
// first item (play) is not chosen by it. Escape ends the screen instead.
TEST(StartScreen, OneSpaceReleaseDoesNotActTwice)
{
    fresh_level(0, 0);
    start_script();
    current_level = 3;
    tap(KEY_SPACE);
    idle(20);
    tap(KEY_ESC);
    EXPECT_EQ(run_start_screen(), 1);
    EXPECT_EQ(stage, 1);
    EXPECT_EQ(current_level, 3);

    start_script();
    tap(KEY_SPACE);
    idle(3);
    tap(KEY_SPACE);                         // Start: the level select
    idle(3);
    tap(KEY_SPACE);                         // the first level, the only open one
    EXPECT_EQ(run_start_screen(), 0);
    EXPECT_EQ(current_level, first_level);

    start_script();
    tap(KEY_SPACE);
    tap(KEY_UP);                            // up from Start wraps to Quit
    tap(KEY_SPACE);
    EXPECT_EQ(run_start_screen(), 1);

    // Esc on the level select goes back to the menu, not out of the game.
    start_script();
    tap(KEY_SPACE);
    tap(KEY_SPACE);
    tap(KEY_ESC);
    idle(3);
    tap(KEY_SPACE);
    tap(KEY_SPACE);
    EXPECT_EQ(run_start_screen(), 0);
}

// From (100, 100) to the first language item (270, 210): the misses shrink
// and the pointer lands exactly, at rest, once it is within 2 pixels.
TEST(StartScreen, ThePointerGlidesAndSnaps)
{
    ppx = ppy = 100;
    pxx = pyy = 0;
    pdx = 270;
    pdy = 210;
    std::vector<double> d;
    while (!(ppx == pdx && ppy == pdy) && d.size() < 500) {
        step_start_pointer();
        d.push_back(std::hypot(ppx - pdx, ppy - pdy));
        if (d.back() > 0) { EXPECT_GE(d.back(), 2) << "within 2 pixels it must snap"; }
    }
    ASSERT_LT(d.size(), 500u);
    EXPECT_GT(d.size(), 10u);               // it glides, it does not jump
    // Each overshoot (a local peak of the distance) is smaller than the last.
    double last_peak = 1e9;
    for (size_t i = 1; i + 1 < d.size(); i++) {
        if (d[i] > d[i - 1] && d[i] >= d[i + 1]) {
            EXPECT_LT(d[i], last_peak);
            last_peak = d[i];
        }
    }
    EXPECT_EQ(pxx, 0);
    EXPECT_EQ(pyy, 0);
    step_start_pointer();                   // on its item it stays
    EXPECT_EQ(ppx, 270);
    EXPECT_EQ(ppy, 210);

    // Through the loop: after a while the pointer rests on the item.
    fresh_level(0, 0);
    start_script();
    idle(150);
    tap(KEY_DOWN);
    idle(150);
    float x = 0, y = 0;
    idle(1, [&] { x = ppx; y = ppy; });
    tap(KEY_ESC);
    EXPECT_EQ(run_start_screen(), 1);
    EXPECT_EQ(x, 270);
    EXPECT_EQ(y, 260);
}

// Time-out, "back to start", then play: the game starts over at the first
// level, not at the level that timed out.
TEST(StartScreen, PlayAfterATimeOutRestartsFromTheFirstLevel)
{
    fresh_level(0, 0);
    current_level = 2;
    f[F_TIME] = 0.01;
    ensure_pictures();
    start_script();
    idle(4);                                // time runs out, the panel slides in
    tap(KEY_DOWN);                          // "back to the start screen"
    tap(KEY_SPACE);                         // the time-out choice
    idle(3);
    tap(KEY_SPACE);                         // language 0
    tap(KEY_SPACE);                         // play
    tap(KEY_SPACE);                         // the level select's first level
    input_hook = run_script_step;
    int r = FRAME_NEXT, n = 0;
    in_dir(pictures_dir, [&] {
        while ((r = run_frame()) == FRAME_NEXT && n++ < 200) pace_frame();
    });
    input_hook = nullptr;
    release_all_keys();
    EXPECT_EQ(r, FRAME_LEVEL_START);
    EXPECT_EQ(j[J_TIMEOUT_CHOICE], 1);
    EXPECT_EQ(quit_flag, 0);
    EXPECT_EQ(current_level, first_level);
}

// Without its pictures the start screen answers quit after its message.
TEST(StartScreen, AMissingPictureFileMeansQuit)
{
    fresh_level(0, 0);
    std::string empty = scratch_dir("no_buildings");
    int answer = -1;
    in_dir(empty, [&] { answer = start_main(); });
    EXPECT_EQ(answer, 1);
}

TEST(StartScreen, TheWindowCloseButtonQuits)
{
    fresh_level(0, 0);
    start_script();
    idle(3, [] { close_requested = 1; });
    EXPECT_EQ(run_start_screen(), 1);
    close_requested = 0;
}
