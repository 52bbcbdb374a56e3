// include/settings.h -- the player's settings: what settings.cfg holds, its
// strict reading and atomic writing, and how the settings reach the game.
// Every value read from the file is checked before use: a value that does not
// parse or is out of range gives that setting's default, and a key or button
// table that binds one key twice is replaced by the default table.
#pragma once
#include <string>
#include "actions.h"

// Window sizes offered in a window; the last entry is "the largest that fits
// the desktop", worked out when the window opens.
enum window_size_choice { WINDOW_800, WINDOW_1200, WINDOW_1600, WINDOW_LARGEST, NUM_WINDOW_SIZES };
const int max_volume = 10;
const int settings_file_limit = 65536;     // bytes; a larger file is not a settings file

struct game_settings {
    int keys[NUM_ACTIONS][2];       // primary and alternative KEY_ codes, 0 = none
    int buttons[NUM_ACTIONS];       // gamepad button, -1 = none
    int fullscreen;                 // 0 window, 1 full screen (a window if refused)
    int window_size;                // window_size_choice
    int effects_volume;             // 0..max_volume
    int music_volume;               // 0..max_volume
    int mute;                       // 1 silences both
    int language;                   // 0 English, 1 German
};

extern game_settings settings;      // what the game runs with

void default_settings(game_settings *s);
// The default keys and buttons alone, as "reset to defaults" restores them.
void default_controls(game_settings *s);

enum settings_read_result { SETTINGS_READ, SETTINGS_MISSING, SETTINGS_UNREADABLE };
// Reads path with Allegro's config routines into *s (defaults first). A file
// that is not there gives SETTINGS_MISSING; one that cannot be read as text
// at all (not openable, too large, NUL or control bytes) SETTINGS_UNREADABLE
// with the reason in *problem. Bad single values never fail the read.
settings_read_result read_settings_file(const char *path, game_settings *s, std::string *problem);
// Writes s through Allegro's config routines into "<path>.tmp", then replaces
// path with it through the platform layer. False with *error on failure.
bool write_settings_file(const char *path, const game_settings &s, std::string *error);

// The user's settings.cfg: "" when there is no user folder.
std::string settings_path(void);
// At start-up: reads the user's file (an unreadable one is moved aside to
// settings.cfg.bad with one line on stderr) and applies it.
void load_settings(void);
// Writes the user's file; a failure is one line on stderr and play goes on.
void save_settings(void);
// Copies the bindings into the action tables and the volumes into the mixer.
void apply_settings(void);

// Names, for the options screen, the controls screen and the file.
const char *action_config_name(int action);        // "left", "spin_up", ...; "" out of range
const char *window_size_name(int choice);           // "800x600", ..., "largest"
