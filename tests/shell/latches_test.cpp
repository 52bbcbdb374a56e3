// Key and mouse latches, number text and level file names.
#include <cstring>
#include "test_support.h"
#include "hillhopper.h"
#include "std_gfuncs.h"
#include "game.h"
#include "actions.h"

namespace {

// Steps the KEY_A latch once per entry of `down` and records the readings.
std::vector<int> latch_sequence(const std::vector<int> &down)
{
    std::vector<int> seen;
    clear_keyr();
    for (int d : down) {
        set_key(KEY_A, d != 0);
        do_keyr();
        seen.push_back(keyr[KEY_A]);
    }
    set_key(KEY_A, false);
    return seen;
}

}  // namespace

TEST(Latches, PressHoldReleaseSequences)
{
    headless_world();
    EXPECT_EQ(latch_sequence({1, 0, 0}), (std::vector<int>{1, 2, 0}));
    EXPECT_EQ(latch_sequence({1, 1, 1, 1, 0, 0}), (std::vector<int>{1, 3, 3, 3, 2, 0}));
    // Down again in the frame right after the release: 2 clears first, so 1.
    EXPECT_EQ(latch_sequence({1, 1, 0, 1, 1}), (std::vector<int>{1, 3, 2, 1, 3}));
    EXPECT_EQ(latch_sequence({0, 0}), (std::vector<int>{0, 0}));
}

TEST(Latches, HeldKeyReadingMinusOneCountsAsDown)
{
    headless_world();
    clear_keyr();
    key[KEY_B] = (char)-1;
    do_keyr();
    EXPECT_EQ(keyr[KEY_B], LATCH_PRESSED);
    do_keyr();
    EXPECT_EQ(keyr[KEY_B], LATCH_HELD);
    key[KEY_B] = 0;
    do_keyr();
    EXPECT_EQ(keyr[KEY_B], LATCH_RELEASED);
}

TEST(Latches, MouseButtonsFollowTheirBits)
{
    headless_world();
    mb1 = mb2 = 0;
    mouse_b = 1;
    do_mouser();
    EXPECT_EQ(mb1, LATCH_PRESSED);
    EXPECT_EQ(mb2, LATCH_UP);
    mouse_b = 3;
    do_mouser();
    EXPECT_EQ(mb1, LATCH_HELD);
    EXPECT_EQ(mb2, LATCH_PRESSED);
    mouse_b = 0;
    do_mouser();
    EXPECT_EQ(mb1, LATCH_RELEASED);
    EXPECT_EQ(mb2, LATCH_RELEASED);
    do_mouser();
    EXPECT_EQ(mb1, LATCH_UP);
}

namespace {
int hook_calls;
void release_space_on_fifth_step(void)
{
    if (++hook_calls == 5) set_key(KEY_SPACE, false);
}
}  // namespace

TEST(Latches, WaitForKeyEndsOnReleaseOfAKeyAlreadyHeld)
{
    headless_world();
    set_key(KEY_SPACE, true);   // held before the wait starts
    hook_calls = 0;
    input_hook = release_space_on_fifth_step;
    wfk();
    input_hook = nullptr;
    EXPECT_EQ(hook_calls, 5);
    EXPECT_EQ(keyr[KEY_SPACE], LATCH_RELEASED);
    release_all_keys();
}

TEST(NumberText, IntToStr)
{
    char s[12];
    const struct { int n; const char *text; } cases[] = {
        {0, "0"}, {-45, "-45"}, {1000, "1000"}, {7, "7"}, {99, "99"}, {100, "100"},
        {2147483647, "2147483647"}, {-2147483647, "-2147483647"}, {1000000000, "1000000000"}};
    for (const auto &c : cases) {
        int_to_str(c.n, s);
        EXPECT_STREQ(s, c.text) << c.n;
    }
}

TEST(FileNames, LoadnBuildsLevelNames)
{
    headless_world();
    loadn("map~", 2, 2);
    EXPECT_STREQ(xnam, "map2.trn");
    loadn("map~", 12, 2);
    EXPECT_STREQ(xnam, "map12.trn");
    loadn("map~", -3, 2);
    EXPECT_STREQ(xnam, "map-3.trn");
    loadn("pic~.ignored", 5, 0);
    EXPECT_STREQ(xnam, "pic5.bmp");
    loadn("t~", 1, 1);
    EXPECT_STREQ(xnam, "t1.txt");
    loadn("song~", 3, 3);
    EXPECT_STREQ(xnam, "song3.mid");
    loadn("raw~", 4, 9);
    EXPECT_STREQ(xnam, "raw4");
}

TEST(FileNames, TemplateWithoutTildeLeavesTheNameAlone)
{
    headless_world();
    loadn("map~", 1, 2);
    loadn("nothing here", 7, 2);
    EXPECT_STREQ(xnam, "map1.trn");
    // A '~' beyond the first 20 characters is not looked for.
    loadn("aaaaaaaaaaaaaaaaaaaaaaaa~", 7, 2);
    EXPECT_STREQ(xnam, "map1.trn");
}

TEST(ActionLatches, FollowTheBindingsNotTheKeys)
{
    headless_world();
    release_all_keys();
    clear_keyr();
    // Default: Enter is jump; an alternative key and a rebinding both count,
    // and the old key no longer does once it is unbound.
    set_key(KEY_ENTER, true);
    do_keyr();
    EXPECT_EQ(actr[ACT_JUMP], LATCH_PRESSED);
    EXPECT_EQ(action_down_bits(), 1u << ACT_JUMP);
    set_key(KEY_ENTER, false);
    action_key[ACT_JUMP][0] = KEY_SPACE;
    action_key[ACT_JUMP][1] = KEY_J;
    set_key(KEY_ENTER, true);
    do_keyr();
    EXPECT_EQ(actr[ACT_JUMP], LATCH_RELEASED);
    set_key(KEY_J, true);
    do_keyr();
    EXPECT_EQ(actr[ACT_JUMP], LATCH_PRESSED);
    set_key(KEY_J, false);
    set_key(KEY_ENTER, false);
    // Codes and buttons out of range are unbound, never an index.
    action_key[ACT_BOOST][0] = KEY_MAX + 5;
    action_key[ACT_BOOST][1] = -3;
    action_button[ACT_BOOST] = 400;
    EXPECT_EQ(action_down_bits(), 0u);
    set_default_bindings();
    EXPECT_EQ(action_key[ACT_JUMP][0], KEY_ENTER);
    EXPECT_EQ(action_key[ACT_JUMP][1], 0);
    EXPECT_EQ(action_button[ACT_BOOST], -1);
    // Every action has its own default key, and clear_keyr clears the actions.
    for (int a = 0; a < NUM_ACTIONS; a++) {
        set_key(action_key[a][0], true);
        EXPECT_EQ(action_down_bits(), 1u << a) << a;
        do_keyr();
        set_key(action_key[a][0], false);
    }
    clear_keyr();
    for (int a = 0; a < NUM_ACTIONS; a++) EXPECT_EQ(actr[a], LATCH_UP);
}
