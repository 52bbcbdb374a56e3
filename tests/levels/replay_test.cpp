// tests/levels/replay_test.cpp -- replays reproduce their runs exactly: the
// author's replays against the runs they were made from, and a random run
// with controls-screen waits, free camera and bees recorded and played back
// through a file. Headless, through the real frame loop.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>
#include <unistd.h>
#include <dirent.h>
#include <algorithm>
#include <gtest/gtest.h>
#include "level_kit.h"
#include "hillhopper.h"
#include "game.h"
#include "replay.h"
#include "std_gfuncs.h"
#include "actions.h"
#include "level_id.h"
#include "terrain_file.h"

namespace {

const std::string game_dir = GAME_DATA_DIR;
const std::string source_dir = std::string(TEST_SOURCE_DIR) + "/levels";

void init_tools(void)
{
    std::string err;
    ASSERT_TRUE(level_tools_init(game_dir, &err)) << err;
}

// The state a run leaves that must match to the bit.
struct end_state {
    std::vector<int> js;
    std::vector<double> fs;
    double x, y, ang, xx, yy;
    bool operator==(const end_state &o) const
    {
        return js == o.js && memcmp(fs.data(), o.fs.data(), fs.size() * sizeof(double)) == 0 &&
               memcmp(&x, &o.x, sizeof(double)) == 0 && memcmp(&y, &o.y, sizeof(double)) == 0 &&
               memcmp(&ang, &o.ang, sizeof(double)) == 0 && memcmp(&xx, &o.xx, sizeof(double)) == 0 &&
               memcmp(&yy, &o.yy, sizeof(double)) == 0;
    }
};

end_state capture(void)
{
    end_state s;
    s.js.assign(j, j + 24);
    s.js[J_TIMEOUT_CHOICE] = 0;     // the time-out screen's menu, after the run
    s.fs.assign(f, f + 16);
    s.x = body[0].x, s.y = body[0].y, s.ang = body[0].ang, s.xx = body[0].xx, s.yy = body[0].yy;
    return s;
}

std::string describe(const end_state &s)
{
    char b[200];
    snprintf(b, sizeof(b), "frame %d time %a at (%a, %a) ang %a", s.js[J_FRAME], s.fs[F_TIME], s.x, s.y, s.ang);
    return b;
}

// Plays rec headless from its level start in the game folder until it ends.
end_state watch(const replay_record &rec, bool same_level = true)
{
    char cwd[4096];
    EXPECT_TRUE(getcwd(cwd, sizeof(cwd)) && chdir(game_dir.c_str()) == 0);
    for (int k = 0; k < KEY_MAX; k++) key[k] = 0;
    clear_keyr();
    start_watching(rec);
    level_start();
    display_controls = 0;
    EXPECT_EQ(replay_level_differs(), !same_level);
    for (int n = 0; n < 200000 && replay_playing; n++) {
        frame_result r = run_frame();
        if (r == FRAME_NEXT) pace_frame();
    }
    EXPECT_FALSE(replay_playing) << "the playback did not end";
    stop_watching();
    end_state s = capture();
    if (chdir(cwd) != 0) {}
    return s;
}

replay_record through_a_file(const replay_record &r)
{
    std::vector<unsigned char> b = encode_replay(r);
    replay_record back;
    std::string why;
    EXPECT_TRUE(decode_replay(b.data(), b.size(), &back, &why)) << why;
    return back;
}

std::string read_text(const std::string &path)
{
    FILE *fp = fopen(path.c_str(), "rb");
    std::string s;
    if (!fp) return s;
    char c[4096];
    size_t n;
    while ((n = fread(c, 1, sizeof(c), fp)) > 0) s.append(c, n);
    fclose(fp);
    return s;
}

} // namespace

TEST(Replays, AuthorsReplaysFinishExactlyLikeTheirRuns)
{
    init_tools();
    std::vector<std::string> names;     // every run text gets a replay at build time
    if (DIR *d = opendir(source_dir.c_str())) {
        while (dirent *e = readdir(d)) {
            std::string n = e->d_name;
            if (n.size() > 7 && n.compare(0, 3, "run") == 0 && n.compare(n.size() - 4, 4, ".txt") == 0)
                names.push_back(n.substr(0, n.size() - 4));
        }
        closedir(d);
    }
    std::sort(names.begin(), names.end());
    ASSERT_GE(names.size(), 5u);
    for (const std::string &name : names) {
        run_script run;
        std::string err;
        ASSERT_TRUE(parse_run(read_text(source_dir + "/" + name + ".txt"), &run, &err)) << err;
        run_result live = play_run(game_dir, run, 3400);
        end_state live_end = capture();
        ASSERT_TRUE(live.finished) << name;
        // The shipped file, made at build time, and the run just recorded.
        replay_record shipped;
        ASSERT_TRUE(read_replay_file(game_dir + "/replays/" + name + ".hhr", &shipped, &err)) << name << ": " << err;
        EXPECT_EQ(shipped.frames, (uint32_t)live.frames) << name;
        EXPECT_EQ(encode_replay(shipped), encode_replay(last_run)) << name << " was recorded differently";
        EXPECT_EQ(shipped.ghost.size(), shipped.frames);
        end_state played = watch(shipped);
        EXPECT_TRUE(last_playback.finished) << name;
        EXPECT_EQ(last_playback.frames, (uint32_t)live.frames) << name;
        EXPECT_EQ(memcmp(&last_playback.time_left, &live.time_left, sizeof(double)), 0) << name;
        EXPECT_TRUE(played == live_end) << name << ": live " << describe(live_end) << ", replay " << describe(played);
        printf("%s: %u frames, %.2f left, %zu bytes (%zu of input)\n", name.c_str(), shipped.frames,
               shipped.time_left, encode_replay(shipped).size(),
               encode_replay(shipped).size() - 14 * shipped.ghost.size());
    }
}

namespace {

// A soak-style player: keys change at random, H opens the controls screen
// (whose wait ends on a key released by the input hook), C frees the camera
// now and then, and the run ends by the clock, a give-up or the level end.
unsigned script_state = 0;
int hook_calls = 0;
int next_random(void)
{
    script_state = script_state * 1664525u + 1013904223u;
    return (int)(script_state >> 8);
}

void random_keys(int frame)
{
    // The game's first level starts with the controls screen: its wait ends
    // the first frame of the attempt, and a playback need not show it.
    if (frame == 0) display_controls = 1;
    const int keys[] = {KEY_LEFT, KEY_RIGHT, KEY_UP, KEY_DOWN, KEY_ENTER, KEY_RCONTROL, KEY_RSHIFT};
    for (int k : keys)
        if (next_random() % 9 == 0) key[k] = !key[k];
    key[KEY_H] = next_random() % 97 == 0;
    key[KEY_C] = frame % 300 > 250;
    key[KEY_G] = next_random() % 50 == 0;
    key[KEY_ESC] = frame == 1300;       // the free camera stops the clock: give up at last
}

// Inside waits for a key: a key no screen uses goes down and up again every
// few steps (Space would also choose on the time-out screen after the run).
// Right Shift goes down during the first wait (the start's controls screen) and is
// still held after it: the wait's latches then differ from the frame's.
void space_blinker(void)
{
    if (++hook_calls % 3 == 0) key[KEY_TILDE] = !key[KEY_TILDE];
    if (hook_calls >= 2 && hook_calls < 6) key[KEY_RSHIFT] = 1;
}

} // namespace

TEST(Replays, RandomRunsWithWaitsAndFreeCameraPlayBackToTheBit)
{
    init_tools();
    int waits_seen = 0;
    for (int level : {2, 3, 0}) {
        script_state = 1000u + level;
        hook_calls = 0;
        input_hook = space_blinker;
        run_result live = play_level(game_dir, level, 1500, random_keys, nullptr);
        input_hook = nullptr;
        end_state live_end = capture();
        key[KEY_TILDE] = 0;
        ASSERT_FALSE(replay_attempt_running()) << "level " << level << ": the run did not end in " << live.frames;
        ASSERT_EQ(last_run.frames, (uint32_t)live.frames);
        EXPECT_EQ(last_run.seed, 1u);  // the tools' fixed seed
        EXPECT_EQ(last_run.level, level);
        for (const replay_input &e : last_run.input) waits_seen += e.kind == input_wait;
        // Keys change here far more often than a player's: the input of a
        // minute stays within 10 KB all the same.
        size_t input_bytes = encode_replay(last_run).size() - 14 * last_run.ghost.size();
        double per_minute = input_bytes * 2400.0 / last_run.frames;
        printf("random run on level %d: %u frames, %zu bytes of input, %.0f bytes a minute\n", level,
               last_run.frames, input_bytes, per_minute);
        EXPECT_LT(per_minute, 10 * 1024);
        EXPECT_GE(replay_step_count(last_run), last_run.frames);
        end_state played = watch(through_a_file(last_run));
        EXPECT_EQ(last_playback.frames, (uint32_t)live.frames) << level;
        EXPECT_EQ(last_playback.finished, live.finished) << level;
        EXPECT_TRUE(played == live_end) << "level " << level << ": live " << describe(live_end)
                                        << ", replay " << describe(played);
    }
    EXPECT_GT(waits_seen, 0) << "no controls-screen wait was recorded";
}

TEST(Replays, AReplayOfAnotherLevelIsNoticedAndStopsAtItsLength)
{
    init_tools();
    replay_record rec;
    std::string err;
    ASSERT_TRUE(read_replay_file(game_dir + "/replays/run1.hhr", &rec, &err)) << err;
    rec.level = 0;      // level 1's input on level 0
    rec.frames = 300;
    watch(rec, false);
    EXPECT_TRUE(replay_level_differs());
    EXPECT_LE(last_playback.frames, 300u);
    // Input that runs out ends the playback too, never reads past its end.
    rec = replay_record{};
    rec.level = 0;
    rec.frames = 50;
    rec.input.push_back(replay_input{(uint8_t)input_steps, 1u << ACT_RIGHT, 10});
    watch(rec, false);
    EXPECT_TRUE(replay_input_exhausted());
    EXPECT_LE(last_playback.frames, 11u);
}

// W on the time-out screen plays the attempt again from its level start; the
// watched run ends where the attempt ended, and the time-out screen is back.
TEST(Replays, WatchAgainFromTheTimeOutScreen)
{
    init_tools();
    run_script run;
    run.level = 1;
    run.events = {{0, KEY_RIGHT, true}, {150, KEY_RIGHT, false}, {150, KEY_ENTER, true},
                  {170, KEY_ENTER, false}, {200, KEY_ESC, true}, {202, KEY_ESC, false}};
    run_result live = play_run(game_dir, run, 400);
    end_state live_end = capture();
    ASSERT_TRUE(live.lost);
    ASSERT_FALSE(replay_attempt_running());
    uint32_t recorded = last_run.frames;
    char cwd[4096];
    ASSERT_TRUE(getcwd(cwd, sizeof(cwd)) && chdir(game_dir.c_str()) == 0);
    key[KEY_W] = 1;
    EXPECT_EQ(run_frame(), FRAME_NEXT);
    key[KEY_W] = 0;
    ASSERT_EQ(run_frame(), FRAME_LEVEL_START);
    ASSERT_TRUE(replay_playing);
    level_start();
    int n = 0;
    while (replay_playing && n++ < 1000) {
        run_frame();
        pace_frame();
    }
    EXPECT_EQ(last_playback.frames, recorded);
    EXPECT_TRUE(capture() == live_end) << "live " << describe(live_end) << ", watched " << describe(capture());
    // Live again, on the time-out screen, and nothing new was recorded.
    run_frame();
    EXPECT_GT(j[J_TIMEOUT_STEP], 0);
    EXPECT_FALSE(replay_attempt_running());
    EXPECT_EQ(last_run.frames, recorded);
    if (chdir(cwd) != 0) {}
}

// The start's controls screen: live, its wait leaves Right Shift held; a
// playback that shows no screen must step on from those latches, so the
// next frame reads held, not a fresh press (which would ask for landing help).
TEST(Replays, AWaitSetsItsLatchesEvenWhenThePlaybackDoesNotWait)
{
    init_tools();
    replay_record rec;
    rec.level = 0;
    rec.frames = 2;
    uint32_t held = (uint32_t)LATCH_HELD << (2 * ACT_LAND_HELP);
    rec.input = {{(uint8_t)input_steps, 0, 1}, {(uint8_t)input_wait, held, 1},
                 {(uint8_t)input_steps, 1u << ACT_LAND_HELP, 1}};
    watch(rec, false);
    EXPECT_EQ(actr[ACT_LAND_HELP], LATCH_HELD);
    EXPECT_EQ(j[J_LAND_HELP], 0);
}
