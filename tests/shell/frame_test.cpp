// The frame loop's own rules, played through run_frame without a display:
// giving up, the time-out and level-complete sequences, the controls screen,
// the clock and the electric boost.
#include <algorithm>
#include <chrono>
#include <thread>
#include <cmath>
#include "test_support.h"
#include "hillhopper.h"
#include "actions.h"
#include "game.h"
#include "std_gfuncs.h"
#include "screens.h"
#include "settings.h"
#include "snapshot.h"
#include "still_screen.h"
#include "text_cache.h"
#include <string>
#include <cstring>
#include <cstdio>

namespace {

const int empty_level = 99;     // no level data: an empty level

// Counts latch steps and taps KEY_A on every other one, so that every wait
// for a key ends after two steps.
int latch_steps;
void count_steps_and_tap_a_key(void)
{
    latch_steps++;
    set_key(KEY_A, latch_steps % 2 == 1);
}

void start_empty_level(void)
{
    headless_world();
    release_all_keys();
    clear_keyr();
    quit_flag = 0;
    current_level = empty_level;
    level_start();
    display_controls = 0;
}

// Presses a key for one frame and releases it on the next.
void tap(int code, int frame_of_press, int frame)
{
    set_key(code, frame == frame_of_press);
}

void put_player_in_the_air(void)
{
    body[0].state = 1;
    body[0].jntn = -1;
    body[0].x = 0;
    body[0].y = 0;
    body[0].xx = body[0].yy = 0;
    body[0].ang = Z_PI;
    body[0].fdir = 0;
}

}  // namespace

TEST(FrameLoop, EscapeGivesTheTimeOutScreenInTheSameFrame)
{
    start_empty_level();
    EXPECT_GT(f[F_TIME], 0);
    run_frames(2, [](int i) { tap(KEY_ESC, 0, i); });   // released on the second frame
    EXPECT_EQ(j[J_LOST], 1);
    EXPECT_EQ(f[F_TIME], 0);
    EXPECT_EQ(j[J_TIMEOUT_STEP], 1);
    EXPECT_EQ(camera_track, 0);
    run_frames(40);
    EXPECT_EQ(f[F_TIME], 0);
    EXPECT_EQ(j[J_TIMEOUT_STEP], 25);   // the panel slides in over 25 frames and stays
}

TEST(FrameLoop, TimeOutChoiceTogglesAndSpaceReplaysTheLevel)
{
    start_empty_level();
    f[F_TIME] = 0.01;
    run_frames(1);
    EXPECT_EQ(j[J_TIMEOUT_STEP], 1);
    run_frames(2, [](int i) { tap(KEY_UP, 0, i); });
    EXPECT_EQ(j[J_TIMEOUT_CHOICE], 1);
    run_frames(2, [](int i) { tap(KEY_DOWN, 0, i); });
    EXPECT_EQ(j[J_TIMEOUT_CHOICE], 0);
    int r = run_frames(2, [](int i) { tap(KEY_SPACE, 0, i); });
    EXPECT_EQ(r, FRAME_LEVEL_START);
    EXPECT_EQ(current_level, empty_level);
    release_all_keys();
}

TEST(FrameLoop, EscapeDuringLevelCompleteShowsNoTimeOut)
{
    start_empty_level();
    j[J_LEVEL_DONE] = 1;
    int r = run_frames(2, [](int i) { tap(KEY_ESC, 0, i); });
    EXPECT_EQ(r, FRAME_NEXT);
    EXPECT_EQ(f[F_TIME], 0);
    EXPECT_EQ(j[J_TIMEOUT_STEP], 0);
    EXPECT_EQ(j[J_LEVEL_DONE], 3);
    // The screen waits for the player however long it takes; Backspace
    // plays the same level again, Space goes on.
    r = run_frames(200);
    EXPECT_EQ(r, FRAME_NEXT);
    EXPECT_EQ(j[J_LEVEL_DONE], 203);
    r = run_frames(2, [](int i) { tap(KEY_BACKSPACE, 0, i); });
    EXPECT_EQ(r, FRAME_LEVEL_START);
    EXPECT_EQ(current_level, empty_level);
    release_all_keys();
    j[J_LEVEL_DONE] = 1;
    current_level = 1;                  // a level with one after it
    r = run_frames(60);
    r = run_frames(3, [](int i) { tap(KEY_SPACE, 0, i); });
    EXPECT_EQ(r, FRAME_LEVEL_START);
    EXPECT_EQ(current_level, 2);
    release_all_keys();
}

// A plain frame steps the latches once; the controls screen's wait for a key
// steps them further within the same frame.
TEST(FrameLoop, ControlsScreenAfterTheFirstFrameAndAgainAfterH)
{
    start_empty_level();
    display_controls = 1;
    input_hook = count_steps_and_tap_a_key;
    latch_steps = 0;
    run_frames(1);
    EXPECT_EQ(display_controls, 0);
    EXPECT_GE(latch_steps, 3);
    latch_steps = 0;
    run_frames(1);
    EXPECT_EQ(latch_steps, 1);
    // H released: the controls screen comes up at the end of that frame.
    set_key(KEY_H, true);
    run_frames(1);
    set_key(KEY_H, false);
    latch_steps = 0;
    run_frames(1);
    EXPECT_GE(latch_steps, 4);
    EXPECT_EQ(display_controls, 0);
    input_hook = nullptr;
    release_all_keys();
}

TEST(FrameLoop, TheClockRunsOnlyWhileThePlayerHasControl)
{
    start_empty_level();
    double t = f[F_TIME];
    run_frames(10);
    EXPECT_NEAR(f[F_TIME], t - 10 * 0.03, 1e-9);
    camera_track = 0;
    t = f[F_TIME];
    run_frames(10);
    EXPECT_EQ(f[F_TIME], t);
}

TEST(FrameLoop, GroundAccelerationFollowsPower)
{
    EXPECT_FLOAT_EQ(ground_acceleration(0), 0.00285f * 0.8f);
    EXPECT_FLOAT_EQ(ground_acceleration(10), 0.00285f + 0.00285f * 10 / 100 / 2);
    EXPECT_FLOAT_EQ(ground_acceleration(100), (0.00285f + 0.00285f / 2) * 1.4f);
    EXPECT_FLOAT_EQ(ground_acceleration(-100), (0.00285f - 0.00285f / 2) * 0.8f);
}

TEST(Boost, NeedsStockAndAnExpiredTimer)
{
    start_empty_level();
    put_player_in_the_air();
    clear_keyr();
    actr[ACT_BOOST] = LATCH_PRESSED;
    j[J_BOOSTS] = 0;
    electric_boost();
    EXPECT_EQ(j[J_BOOST_TIMER], 0);
    EXPECT_EQ(body[0].xx, 0);
    j[J_BOOSTS] = 2;
    j[J_BOOST_TIMER] = 5;
    electric_boost();
    EXPECT_EQ(j[J_BOOSTS], 2);
    EXPECT_EQ(body[0].xx, 0);
    j[J_BOOST_TIMER] = 0;
    actr[ACT_BOOST] = LATCH_HELD;    // only the press counts
    electric_boost();
    EXPECT_EQ(j[J_BOOSTS], 2);
}

TEST(Boost, InTheAirAlongTheFacingAndOnTheGroundAlongTheJoint)
{
    start_empty_level();
    put_player_in_the_air();
    clear_keyr();
    actr[ACT_BOOST] = LATCH_PRESSED;
    j[J_BOOSTS] = 2;
    electric_boost();
    EXPECT_EQ(j[J_BOOSTS], 1);
    EXPECT_EQ(j[J_BOOST_TIMER], 200);
    float c = Z_PI + Z_PI;      // facing right, upright
    EXPECT_DOUBLE_EQ(body[0].xx, 0.16 * cos(c));
    EXPECT_DOUBLE_EQ(body[0].yy, 0.16 * sin(c));

    j[J_BOOST_TIMER] = 0;
    body[0].jntn = 0;           // riding: the boost pushes along the joint
    body[0].jntvx = 0.01;
    body[0].fdir = 1;
    electric_boost();
    EXPECT_DOUBLE_EQ(body[0].jntvx, 0.01 - 0.2);
    EXPECT_EQ(j[J_BOOSTS], 0);
    body[0].jntn = -1;
}

TEST(Boost, IgnoresTheRecoveryHoldButNotTheFreeCamera)
{
    start_empty_level();
    put_player_in_the_air();
    j[J_BOOSTS] = 2;
    j[J_RECOVERY] = 50;
    run_frames(2, [](int i) { tap(KEY_RCONTROL, 0, i); });
    EXPECT_EQ(j[J_BOOSTS], 1);
    j[J_BOOST_TIMER] = 0;
    j[J_RECOVERY] = 0;
    camera_track = 0;
    run_frames(2, [](int i) { tap(KEY_RCONTROL, 0, i); });
    EXPECT_EQ(j[J_BOOSTS], 1);
    EXPECT_EQ(j[J_BOOST_TIMER], 0);
    release_all_keys();
}

TEST(Boost, RightShiftOpensTheLandingHelpWindowUnlessTumbling)
{
    start_empty_level();
    put_player_in_the_air();
    run_frames(1, [](int) { set_key(KEY_RSHIFT, true); });
    EXPECT_EQ(j[J_LAND_HELP], 30);
    release_all_keys();
    run_frames(1);
    j[J_LAND_HELP] = 0;
    j[J_TUMBLE] = 20;
    run_frames(1, [](int) { set_key(KEY_RSHIFT, true); });
    EXPECT_EQ(j[J_LAND_HELP], 0);
    release_all_keys();
}

// The pacing wait sleeps in one go only as far as it cannot overshoot the
// frame: a margin of ticks is left for the 1 ms steps, and it never sleeps
// when the frame is due or late (a late timer must not make it sleep longer).
TEST(Pacing, TheLongRestStopsShortOfTheFrameAndIsNeverNegative)
{
    EXPECT_EQ(long_rest_ticks(0, 25), 23);
    EXPECT_EQ(long_rest_ticks(20, 25), 3);
    for (int now = 0; now <= 40; now++) {
        int sleep = long_rest_ticks(now, 25);
        EXPECT_GE(sleep, 0) << now;
        if (now < 23) EXPECT_EQ(now + sleep, 23) << now;
        else EXPECT_EQ(sleep, 0) << now;
    }
}

// The pacing count is milliseconds of the steady clock since it was set: it
// starts where it was set, only grows, and a rest of 30 ms shows as at least 30.
TEST(Pacing, TheTickCountCountsMillisecondsFromWhereItWasSet)
{
    ztimer = 0;
    EXPECT_LT(ztimer.load(), 5);
    ztimer = 20;
    int a = ztimer.load();
    EXPECT_GE(a, 20);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    int b = ztimer.load();
    EXPECT_GE(b, a + 30);
    EXPECT_LT(b, a + 30 + 2000) << "a loaded machine wakes late, never this late";
    ztimer = 0;
    EXPECT_LT(ztimer.load(), b);
}

// The in-program picture of a frame: a request names a frame and a file, and
// the picture is written top row first although GL reads the bottom row first.
TEST(Snapshot, RequestsAreStrictAndPicturesAreWrittenTopRowFirst)
{
    int frame = 0;
    std::string file;
    EXPECT_TRUE(parse_snapshot_request("300:shot.ppm", &frame, &file));
    EXPECT_EQ(frame, 300);
    EXPECT_EQ(file, "shot.ppm");
    EXPECT_TRUE(parse_snapshot_request("1:C:\\x.ppm", &frame, &file));
    EXPECT_EQ(file, "C:\\x.ppm");
    for (const char *bad : {"", ":x", "0:x", "-3:x", "12", "12:", "1x:y", "99999999999:x"})
        EXPECT_FALSE(parse_snapshot_request(bad, &frame, &file)) << bad;
    EXPECT_FALSE(parse_snapshot_request(nullptr, &frame, &file));

    const unsigned char bottom_up[2 * 2 * 3] = {1, 2, 3, 4, 5, 6,  7, 8, 9, 10, 11, 12};
    std::string path = testing::TempDir() + "snapshot.ppm";
    ASSERT_TRUE(write_ppm_bottom_up(path, bottom_up, 2, 2));
    FILE *in = fopen(path.c_str(), "rb");
    ASSERT_NE(in, nullptr);
    char header[16] = {0};
    unsigned char pixels[12];
    ASSERT_EQ(fread(header, 1, 11, in), 11u);
    ASSERT_EQ(fread(pixels, 1, 12, in), 12u);
    EXPECT_EQ(fgetc(in), EOF);
    fclose(in);
    EXPECT_STREQ(header, "P6\n2 2\n255\n");
    const unsigned char top_first[12] = {7, 8, 9, 10, 11, 12, 1, 2, 3, 4, 5, 6};
    EXPECT_EQ(memcmp(pixels, top_first, 12), 0);
    EXPECT_FALSE(write_ppm_bottom_up(testing::TempDir() + "no/such/folder/x.ppm", bottom_up, 2, 2));
}

// A still screen draws its first frame, then only when what it shows changes
// or a second has passed; a frame that is not still forgets the picture.
TEST(StillScreen, DrawsOnChangeAndOnceASecond)
{
    still_screen s = {};
    EXPECT_TRUE(still_screen_must_draw(&s, false, 0)) << "a moving screen draws every frame";
    EXPECT_TRUE(still_screen_must_draw(&s, false, 0));
    EXPECT_TRUE(still_screen_must_draw(&s, true, 5)) << "the first still frame";
    int drawn = 0;
    for (int k = 0; k < 3 * still_redraw_frames; k++) drawn += still_screen_must_draw(&s, true, 5);
    EXPECT_EQ(drawn, 3) << "once a second, to repair a damaged window";
    EXPECT_TRUE(still_screen_must_draw(&s, true, 7)) << "a new key is a new picture";
    EXPECT_FALSE(still_screen_must_draw(&s, true, 7));
    EXPECT_TRUE(still_screen_must_draw(&s, true, 5)) << "back to the old key draws again";
    EXPECT_FALSE(still_screen_must_draw(&s, true, 5));
    EXPECT_TRUE(still_screen_must_draw(&s, false, 5));
    EXPECT_TRUE(still_screen_must_draw(&s, true, 5)) << "after a moving frame the picture is gone";
}

// The menus' keys: the same state gives the same key (so a still menu skips
// its frames), and each thing the picture shows changes it: the language,
// the choice, every setting and binding, the cell waiting for a key, a new
// window; on the ending the total and whether every stage has a time.
TEST(StillScreen, EachMenusKeyChangesWithWhatItsPictureShows)
{
    lang = 0;
    EXPECT_EQ(level_select_still_key(3), level_select_still_key(3));
    EXPECT_NE(level_select_still_key(3), level_select_still_key(4));
    EXPECT_NE(ending_still_key(9000, 1), ending_still_key(9001, 1));
    EXPECT_NE(ending_still_key(9000, 1), ending_still_key(9000, 0));
    unsigned select_en = level_select_still_key(0), ending_en = ending_still_key(0, 1);

    game_settings s;
    default_settings(&s);
    unsigned base = options_still_key(0, 0, 0, &s, 0);
    EXPECT_EQ(options_still_key(0, 0, 0, &s, 0), base);
    EXPECT_NE(options_still_key(1, 0, 0, &s, 0), base) << "row";
    EXPECT_NE(options_still_key(0, 1, 0, &s, 0), base) << "column";
    EXPECT_NE(options_still_key(0, 0, 1, &s, 0), base) << "waiting for a key";
    EXPECT_NE(options_still_key(0, 0, 2, &s, 0), options_still_key(0, 0, 1, &s, 0)) << "waiting for a button";
    EXPECT_NE(options_still_key(0, 0, 0, &s, 1), base) << "a new window";
    // Every field of the settings, one at a time, by one step.
    int *fields = reinterpret_cast<int *>(&s);
    const int nfields = sizeof(s) / sizeof(int);
    static_assert(sizeof(game_settings) % sizeof(int) == 0, "settings are ints");
    for (int k = 0; k < nfields; k++) {
        game_settings t = s;
        reinterpret_cast<int *>(&t)[k] = fields[k] + 1;
        EXPECT_NE(options_still_key(0, 0, 0, &t, 0), base) << "settings field " << k;
    }
    // Two bindings swapped are another picture.
    game_settings t = s;
    std::swap(t.keys[0][0], t.keys[1][0]);
    EXPECT_NE(options_still_key(0, 0, 0, &t, 0), base);

    lang = 1;
    EXPECT_NE(level_select_still_key(0), select_en);
    EXPECT_NE(ending_still_key(0, 1), ending_en);
    EXPECT_NE(options_still_key(0, 0, 0, &s, 0), base);
    lang = 0;
}

// The text table finds a string by font, colour and characters, fills free
// entries first, then replaces the one used longest ago and hands back its
// texture; strings too long for the key are never kept.
TEST(TextCache, FindsClaimsEvictsAndClears)
{
    static text_cache c;
    text_cache_clear(&c, nullptr);
    int font_a = 0, font_b = 0;
    unsigned old = 99;
    int k = text_cache_claim(&c, &font_a, 0xffffff, "Options", &old);
    EXPECT_EQ(old, 0u);
    c.entry[k].texture = 1000;
    EXPECT_EQ(text_cache_find(&c, &font_a, 0xffffff, "Options"), k);
    EXPECT_EQ(text_cache_find(&c, &font_a, 0xfffffe, "Options"), -1) << "another colour";
    EXPECT_EQ(text_cache_find(&c, &font_b, 0xffffff, "Options"), -1) << "another font";
    EXPECT_EQ(text_cache_find(&c, &font_a, 0xffffff, "Option"), -1) << "another string";
    EXPECT_EQ(text_cache_find(&c, nullptr, 0, ""), -1) << "a free entry is no match";
    for (int n = 1; n < text_cache_entries; n++) {
        char text[16];
        snprintf(text, sizeof(text), "row %d", n);
        int e = text_cache_claim(&c, &font_a, 0, text, &old);
        EXPECT_EQ(old, 0u) << "free entries first";
        c.entry[e].texture = 1000 + n;
    }
    text_cache_find(&c, &font_a, 0xffffff, "Options");      // used again: now the newest
    k = text_cache_claim(&c, &font_b, 0, "new", &old);
    EXPECT_EQ(old, 1001u) << "the entry used longest ago (\"row 1\") goes";
    EXPECT_EQ(text_cache_find(&c, &font_a, 0, "row 1"), -1);
    EXPECT_NE(text_cache_find(&c, &font_a, 0xffffff, "Options"), -1);
    c.entry[k].texture = 2000;
    EXPECT_TRUE(text_cache_keeps(std::string(text_cache_key_chars - 1, 'x').c_str()));
    EXPECT_FALSE(text_cache_keeps(std::string(text_cache_key_chars, 'x').c_str()));
    static unsigned forgotten[text_cache_entries + 1];
    static int nforgotten;
    nforgotten = 0;
    text_cache_clear(&c, [](unsigned t) { forgotten[nforgotten++] = t; });
    EXPECT_EQ(nforgotten, text_cache_entries) << "every kept texture is deleted once";
    EXPECT_EQ(std::count(forgotten, forgotten + nforgotten, 2000u), 1);
    EXPECT_EQ(std::count(forgotten, forgotten + nforgotten, 1001u), 0) << "handed back at its eviction already";
    EXPECT_EQ(text_cache_find(&c, &font_b, 0, "new"), -1);
}
