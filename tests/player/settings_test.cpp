// tests/player/settings_test.cpp -- settings.cfg through the real reader and
// writer, and rebinding: swaps on conflict, defaults, alternative keys.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <unistd.h>
#include <allegro.h>
#include "test_support.h"
#include "bindings.h"
#include "hillhopper.h"
#include "settings.h"
#include "std_gfuncs.h"

namespace {

std::string scratch(const char *name)
{
    std::string dir = std::string("/tmp/hh_settings_") + std::to_string(getpid()) + "_" + name;
    std::system(("rm -rf '" + dir + "' && mkdir -p '" + dir + "'").c_str());
    return dir;
}

void write_text(const std::string &path, const std::string &text)
{
    std::ofstream(path, std::ios::binary) << text;
}

std::string read_text(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

bool same(const game_settings &a, const game_settings &b)
{
    return memcmp(&a, &b, sizeof(a)) == 0;
}

game_settings read_from(const std::string &text, settings_read_result *r = nullptr)
{
    headless_world();
    std::string path = scratch("read") + "/settings.cfg", problem;
    write_text(path, text);
    game_settings s;
    settings_read_result got = read_settings_file(path.c_str(), &s, &problem);
    if (r) *r = got;
    return s;
}

}  // namespace

TEST(SettingsFile, WrittenSettingsReadBackTheSameAndNothingElseIsWritten)
{
    headless_world();
    std::string dir = scratch("roundtrip");
    ASSERT_EQ(chdir(dir.c_str()), 0);
    game_settings s;
    default_settings(&s);
    ASSERT_TRUE(bind_key(&s, ACT_JUMP, 1, KEY_SPACE));
    ASSERT_TRUE(bind_button(&s, ACT_PAUSE, 3));
    s.fullscreen = 1;
    s.window_size = WINDOW_1600;
    s.effects_volume = 3;
    s.music_volume = 0;
    s.mute = 1;
    s.language = 1;
    std::string path = dir + "/settings.cfg", error, problem;
    // The game runs with an override config for its MIDI patch set, which
    // would swallow plain set_config_* calls.
    static const char patches[] = "[sound]\nmidi_card = DIGI\n";
    override_config_data(patches, sizeof(patches) - 1);
    ASSERT_TRUE(write_settings_file(path.c_str(), s, &error)) << error;
    game_settings back;
    ASSERT_EQ(read_settings_file(path.c_str(), &back, &problem), SETTINGS_READ);
    EXPECT_TRUE(same(s, back));
    EXPECT_NE(read_text(path).find("window = 1600x1200"), std::string::npos);
    // Allegro writes its current config at exit when it was changed; the
    // writer must leave neither its temporary file nor an allegro.cfg behind.
    EXPECT_NE(access((path + ".tmp").c_str(), F_OK), 0);
    EXPECT_NE(access("allegro.cfg", F_OK), 0);
    ASSERT_EQ(chdir("/"), 0);
}

TEST(SettingsFile, MissingFileGivesDefaults)
{
    headless_world();
    game_settings s, d;
    default_settings(&d);
    std::string problem;
    EXPECT_EQ(read_settings_file((scratch("missing") + "/none.cfg").c_str(), &s, &problem), SETTINGS_MISSING);
    EXPECT_TRUE(same(s, d));
}

// Each bad value falls back to its own default and leaves the good ones.
TEST(SettingsFile, BadValuesFallBackOneByOne)
{
    game_settings d;
    default_settings(&d);
    struct bad { const char *text; };
    const bad cases[] = {
        {"[sound]\neffects = -3\n"}, {"[sound]\neffects = 11\n"}, {"[sound]\neffects = 5x\n"},
        {"[sound]\neffects = 99999999999999999999\n"}, {"[sound]\neffects =\n"},
        {"[display]\nwindow = 640x480\n"}, {"[display]\nfullscreen = 2\n"},
        {"[game]\nlanguage = 7\n"}, {"[keys]\nleft = 127\n"}, {"[keys]\nleft = -1\n"},
        {"[keys]\nleft = 52\n"}, /* F6: the editor's */ {"[gamepad]\njump = 32\n"},
        {"[gamepad]\njump = -2\n"}, {"garbage without sections\n= =\n[\n"}, {""}};
    for (const bad &c : cases) {
        settings_read_result r;
        game_settings s = read_from(std::string(c.text) + "[sound]\nmusic = 4\n", &r);
        EXPECT_EQ(r, SETTINGS_READ) << c.text;
        EXPECT_EQ(s.music_volume, 4) << c.text;
        s.music_volume = d.music_volume;
        EXPECT_TRUE(same(s, d)) << c.text;
    }
}

// One key for two actions would act twice: the whole key table goes back.
TEST(SettingsFile, AKeyBoundTwiceResetsTheControls)
{
    game_settings d;
    default_settings(&d);
    game_settings s = read_from("[keys]\nleft = 1\nright = 1\n[sound]\nmute = 1\n");
    EXPECT_EQ(memcmp(s.keys, d.keys, sizeof(d.keys)), 0);
    EXPECT_EQ(s.mute, 1);
    s = read_from("[gamepad]\njump = 4\nboost = 4\n");
    EXPECT_EQ(memcmp(s.buttons, d.buttons, sizeof(d.buttons)), 0);
    s = read_from("[keys]\nleft = 1\nleft_alt = 2\n");
    EXPECT_EQ(s.keys[ACT_LEFT][0], KEY_A);
    EXPECT_EQ(s.keys[ACT_LEFT][1], KEY_B);
}

TEST(SettingsFile, BytesThatAreNotTextMakeItUnreadable)
{
    const std::string cases[] = {std::string("[sound]\nmusic = 3\0\n", 18), "[sound]\nmusic = \xff\n",
                                 std::string(settings_file_limit + 1, '#')};
    for (const std::string &c : cases) {
        settings_read_result r;
        game_settings s = read_from(c, &r);
        EXPECT_EQ(r, SETTINGS_UNREADABLE);
        EXPECT_EQ(s.music_volume, max_volume);
    }
    std::string problem;
    game_settings s;
    EXPECT_EQ(read_settings_file(scratch("dir").c_str(), &s, &problem), SETTINGS_UNREADABLE);
}

// The user's file: an unreadable one is moved aside with one line on stderr
// and the game runs with defaults; a saved one is what the next start reads.
TEST(SettingsFile, UserFileMovedAsideWhenUnreadableAndKeptWhenSaved)
{
    headless_world();
    std::string home = scratch("user");
    const char *old_home = getenv("HILLHOPPER_DATA_HOME");
    std::string kept = old_home ? old_home : "";
    setenv("HILLHOPPER_DATA_HOME", home.c_str(), 1);
    write_text(home + "/settings.cfg", std::string("\x01\x02", 2));
    testing::internal::CaptureStderr();
    load_settings();
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("settings.cfg.bad"), std::string::npos) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1);
    EXPECT_EQ(read_text(home + "/settings.cfg.bad"), std::string("\x01\x02", 2));
    EXPECT_NE(access((home + "/settings.cfg").c_str(), F_OK), 0);
    EXPECT_EQ(action_key[ACT_BOOST][1], KEY_LCONTROL);

    bind_key(&settings, ACT_JUMP, 0, KEY_J);
    save_settings();
    default_settings(&settings);
    load_settings();
    EXPECT_EQ(settings.keys[ACT_JUMP][0], KEY_J);
    EXPECT_EQ(action_key[ACT_JUMP][0], KEY_J);
    default_settings(&settings);
    apply_settings();
    if (kept.empty()) unsetenv("HILLHOPPER_DATA_HOME");
    else setenv("HILLHOPPER_DATA_HOME", kept.c_str(), 1);
}

TEST(Bindings, AKeyInUseIsSwappedNotDuplicated)
{
    game_settings s;
    default_settings(&s);
    ASSERT_TRUE(bind_key(&s, ACT_JUMP, 0, KEY_UP));        // Up was spin up's
    EXPECT_EQ(s.keys[ACT_JUMP][0], KEY_UP);
    EXPECT_EQ(s.keys[ACT_SPIN_UP][0], KEY_ENTER);
    EXPECT_TRUE(controls_are_sound(s));
    // Taking a primary key into an empty alternative leaves the other action
    // its own alternative as primary, or nothing.
    ASSERT_TRUE(bind_key(&s, ACT_LEFT, 1, KEY_LCONTROL));
    EXPECT_EQ(s.keys[ACT_LEFT][1], KEY_LCONTROL);
    EXPECT_EQ(s.keys[ACT_BOOST][0], KEY_RCONTROL);
    EXPECT_EQ(s.keys[ACT_BOOST][1], 0);
    ASSERT_TRUE(bind_key(&s, ACT_LEFT, 1, KEY_RCONTROL));
    EXPECT_EQ(s.keys[ACT_BOOST][0], KEY_LCONTROL);
    EXPECT_TRUE(controls_are_sound(s));
    // Binding a key to the slot that has it changes nothing.
    game_settings before = s;
    ASSERT_TRUE(bind_key(&s, ACT_LEFT, 0, KEY_LEFT));
    EXPECT_TRUE(same(s, before));
    // Refused: out of range, the editor's keys, bad action or slot.
    for (int code : {0, -1, (int)KEY_MAX, 1000, (int)KEY_F5, (int)KEY_F6}) EXPECT_FALSE(bind_key(&s, ACT_LEFT, 0, code)) << code;
    EXPECT_FALSE(bind_key(&s, NUM_ACTIONS, 0, KEY_A));
    EXPECT_FALSE(bind_key(&s, -1, 0, KEY_A));
    EXPECT_FALSE(bind_key(&s, ACT_LEFT, 2, KEY_A));
    EXPECT_TRUE(same(s, before));
    ASSERT_TRUE(bind_button(&s, ACT_BOOST, 0));            // jump's button
    EXPECT_EQ(s.buttons[ACT_JUMP], 1);
    EXPECT_FALSE(bind_button(&s, ACT_BOOST, MAX_JOYSTICK_BUTTONS));
    EXPECT_TRUE(controls_are_sound(s));
    default_controls(&s);
    game_settings d;
    default_settings(&d);
    EXPECT_EQ(memcmp(s.keys, d.keys, sizeof(d.keys)), 0);
}

// Both keys of an action reach the same action latch, and the keys the
// laptops lack have alternatives by default.
TEST(Bindings, AlternativeKeysReachTheSameAction)
{
    headless_world();
    default_settings(&settings);
    apply_settings();
    EXPECT_EQ(action_key[ACT_BOOST][0], KEY_RCONTROL);
    EXPECT_NE(action_key[ACT_BOOST][1], 0);
    EXPECT_NE(action_key[ACT_LAND_HELP][1], 0);
    for (int a : {(int)ACT_BOOST, (int)ACT_LAND_HELP})
        for (int k = 0; k < 2; k++) {
            release_all_keys();
            set_key(action_key[a][k], true);
            EXPECT_EQ(action_down_bits(), 1u << a) << a << " " << k;
        }
    bind_key(&settings, ACT_JUMP, 1, KEY_SPACE);
    apply_settings();
    release_all_keys();
    set_key(KEY_SPACE, true);
    EXPECT_EQ(action_down_bits(), 1u << ACT_JUMP);
    release_all_keys();
    default_settings(&settings);
    apply_settings();
}

TEST(Bindings, KeyNamesForScreens)
{
    EXPECT_STREQ(key_display_name(KEY_RCONTROL), "Right Ctrl");
    EXPECT_STREQ(key_display_name(KEY_A), "A");
    EXPECT_STREQ(key_display_name(0), "-");
    EXPECT_STREQ(key_display_name(-5), "?");
    EXPECT_STREQ(key_display_name(KEY_MAX), "?");
    char b[16];
    button_display_name(0, b, sizeof(b));
    EXPECT_STREQ(b, "Button 1");
    button_display_name(-1, b, sizeof(b));
    EXPECT_STREQ(b, "-");
}
