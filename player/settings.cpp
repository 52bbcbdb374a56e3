// player/settings.cpp -- settings.cfg: defaults, the strict reader on top of
// Allegro's config routines, the atomic writer, and applying the settings.
// Allegro writes a changed config back when it is replaced and at exit; the
// only config changed here is a throw-away override whose file is the
// temporary one, replaced at once, so nothing is written behind our back.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <allegro.h>
#include "bindings.h"
#include "hillhopper.h"
#include "platform.h"
#include "settings.h"
#include "sound.h"

game_settings settings;

static const char *const action_names[NUM_ACTIONS] = {
    "left", "right", "spin_up", "spin_down", "jump", "boost", "landing_help",
    "controls", "give_up", "pause", "free_camera", "restart", "ghost"};
static const char *const size_names[NUM_WINDOW_SIZES] = {"800x600", "1200x900", "1600x1200", "largest"};

const char *action_config_name(int action)
{
    return action >= 0 && action < NUM_ACTIONS ? action_names[action] : "";
}

const char *window_size_name(int choice)
{
    return choice >= 0 && choice < NUM_WINDOW_SIZES ? size_names[choice] : "";
}

// Today's keys; the keys on the right-hand side that many laptops lack get
// their left-hand twins as alternatives. Buttons follow the common pad layout:
// the four face buttons for jump, boost and landing help, Start for pause.
void default_controls(game_settings *s)
{
    static const int primary[NUM_ACTIONS] = {
        KEY_LEFT, KEY_RIGHT, KEY_UP, KEY_DOWN, KEY_ENTER, KEY_RCONTROL, KEY_RSHIFT,
        KEY_H, KEY_ESC, KEY_P, KEY_C, KEY_BACKSPACE, KEY_G};
    for (int a = 0; a < NUM_ACTIONS; a++) {
        s->keys[a][0] = primary[a];
        s->keys[a][1] = 0;
        s->buttons[a] = -1;
    }
    s->keys[ACT_BOOST][1] = KEY_LCONTROL;
    s->keys[ACT_LAND_HELP][1] = KEY_LSHIFT;
    s->buttons[ACT_JUMP] = 0;
    s->buttons[ACT_BOOST] = 1;
    s->buttons[ACT_LAND_HELP] = 2;
    s->buttons[ACT_PAUSE] = 7;
}

void default_settings(game_settings *s)
{
    default_controls(s);
    s->fullscreen = 0;
    s->window_size = WINDOW_800;
    s->effects_volume = max_volume;
    s->music_volume = max_volume;
    s->mute = 0;
    s->language = 0;
}

// ---- reading -------------------------------------------------------------------

// The whole text is "name = value" lines of printable ASCII: anything else is
// not a file we wrote, and Allegro's reader is not asked to make sense of it.
static int is_settings_text(const char *data, size_t size)
{
    for (size_t i = 0; i < size; i++) {
        unsigned char c = (unsigned char)data[i];
        if (c == '\n' || c == '\r' || c == '\t') continue;
        if (c < 0x20 || c > 0x7e) return 0;
    }
    return 1;
}

static settings_read_result check_file(const char *path, std::string *problem)
{
    FILE *fp = fopen(path, "rb");
    if (!fp) {
        if (errno == ENOENT) return SETTINGS_MISSING;
        *problem = strerror(errno);
        return SETTINGS_UNREADABLE;
    }
    static char data[settings_file_limit + 1];
    size_t size = fread(data, 1, sizeof(data), fp);
    bool failed = ferror(fp) != 0;
    fclose(fp);
    if (failed) *problem = "cannot be read";
    else if (size > (size_t)settings_file_limit) *problem = "larger than 64 KB";
    else if (!is_settings_text(data, size)) *problem = "holds bytes that are not text";
    else return SETTINGS_READ;
    return SETTINGS_UNREADABLE;
}

// A whole decimal integer within [lo, hi]; anything else keeps *value.
static void read_int(const char *section, const char *name, int lo, int hi, int *value)
{
    const char *text = get_config_string(section, name, NULL);
    if (!text) return;
    char *end = NULL;
    errno = 0;
    long v = strtol(text, &end, 10);
    if (end == text || *end != 0 || errno != 0 || v < lo || v > hi) return;
    *value = (int)v;
}

static void read_choice(const char *section, const char *name, const char *const *names, int count,
                        int *value)
{
    const char *text = get_config_string(section, name, NULL);
    if (!text) return;
    for (int i = 0; i < count; i++)
        if (strcmp(text, names[i]) == 0) *value = i;
}

static void read_controls(game_settings *s)
{
    for (int a = 0; a < NUM_ACTIONS; a++) {
        char alt[40];
        snprintf(alt, sizeof(alt), "%s_alt", action_names[a]);
        for (int k = 0; k < 2; k++) {
            int code = s->keys[a][k];
            read_int("keys", k == 0 ? action_names[a] : alt, 0, KEY_MAX - 1, &code);
            if (code == 0 || key_is_bindable(code)) s->keys[a][k] = code;
        }
        read_int("gamepad", action_names[a], -1, MAX_JOYSTICK_BUTTONS - 1, &s->buttons[a]);
    }
    // A key or button bound twice would act for two actions: the table as a
    // whole is not trusted then.
    if (!controls_are_sound(*s)) default_controls(s);
}

settings_read_result read_settings_file(const char *path, game_settings *s, std::string *problem)
{
    default_settings(s);
    settings_read_result r = check_file(path, problem);
    if (r != SETTINGS_READ) return r;
    push_config_state();
    set_config_file(path);
    read_controls(s);
    read_int("display", "fullscreen", 0, 1, &s->fullscreen);
    read_choice("display", "window", size_names, NUM_WINDOW_SIZES, &s->window_size);
    read_int("sound", "effects", 0, max_volume, &s->effects_volume);
    read_int("sound", "music", 0, max_volume, &s->music_volume);
    read_int("sound", "mute", 0, 1, &s->mute);
    read_int("game", "language", 0, 1, &s->language);
    pop_config_state();
    return SETTINGS_READ;
}

// ---- writing -------------------------------------------------------------------

static void write_values(const game_settings &s)
{
    for (int a = 0; a < NUM_ACTIONS; a++) {
        char alt[40];
        snprintf(alt, sizeof(alt), "%s_alt", action_names[a]);
        set_config_int("keys", action_names[a], s.keys[a][0]);
        set_config_int("keys", alt, s.keys[a][1]);
    }
    for (int a = 0; a < NUM_ACTIONS; a++) set_config_int("gamepad", action_names[a], s.buttons[a]);
    set_config_int("display", "fullscreen", s.fullscreen);
    set_config_string("display", "window", window_size_name(s.window_size));
    set_config_int("sound", "effects", s.effects_volume);
    set_config_int("sound", "music", s.music_volume);
    set_config_int("sound", "mute", s.mute);
    set_config_int("game", "language", s.language);
}

// While an override config is set (the game sets one for the MIDI patch
// set), Allegro sends every set_config_* to it rather than to the current
// file. So the values go into an override of our own whose file is the
// temporary one; replacing that override makes Allegro save it, and the
// patch set's override is put back.
bool write_settings_file(const char *path, const game_settings &s, std::string *error)
{
    std::string tmp = std::string(path) + ".tmp";
    remove(tmp.c_str());
    override_config_file(tmp.c_str());
    write_values(s);
    override_config_file(NULL);
    configure_midi_patches();
    // Allegro reports no write failure: the file it left is checked instead.
    FILE *fp = fopen(tmp.c_str(), "r+b");
    if (!fp || fseek(fp, 0, SEEK_END) != 0 || ftell(fp) <= 0) {
        if (fp) fclose(fp);
        remove(tmp.c_str());
        if (error) *error = "cannot write " + tmp;
        return false;
    }
    if (!sync_and_close(fp)) {
        remove(tmp.c_str());
        if (error) *error = "cannot sync " + tmp;
        return false;
    }
    if (!replace_file(tmp, path, error)) {
        remove(tmp.c_str());
        return false;
    }
    return true;
}

// ---- the user's file ---------------------------------------------------------

std::string settings_path(void)
{
    std::string dir = user_data_dir();
    return dir.empty() ? "" : path_join(dir, "settings.cfg");
}

void load_settings(void)
{
    std::string path = settings_path(), problem;
    if (!path.empty() && read_settings_file(path.c_str(), &settings, &problem) == SETTINGS_UNREADABLE) {
        std::string bad = path + ".bad", error;
        bool moved = replace_file(path, bad, &error);
        fprintf(stderr, "hillhopper: %s %s; %s, playing with default settings\n", path.c_str(),
                problem.c_str(), moved ? ("moved aside to " + bad).c_str() : ("left as it is: " + error).c_str());
    }
    apply_settings();
}

void save_settings(void)
{
    std::string path = settings_path(), error;
    if (path.empty()) return;
    if (!write_settings_file(path.c_str(), settings, &error))
        fprintf(stderr, "hillhopper: settings not saved: %s\n", error.c_str());
}

void apply_settings(void)
{
    for (int a = 0; a < NUM_ACTIONS; a++) {
        action_key[a][0] = settings.keys[a][0];
        action_key[a][1] = settings.keys[a][1];
        action_button[a] = settings.buttons[a];
    }
    lang = settings.language;
    int effects = settings.mute ? 0 : settings.effects_volume * 255 / max_volume;
    int music = settings.mute ? 0 : settings.music_volume * 255 / max_volume;
    set_sound_volumes(effects, music);
}
