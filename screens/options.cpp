// screens/options.cpp -- the options screen: controls (two keys and a button
// per action), display, sound and language. Every change is applied and
// saved at once; Esc leaves.
// Rebinding waits for the next key (or button) pressed; Esc cancels it, so
// Esc itself is bound only by the defaults.
#include <cstdio>
#include <allegro.h>
#include <alleggl.h>
#include "bindings.h"
#include "game.h"
#include "hillhopper.h"
#include "screen_text.h"
#include "screens.h"
#include "settings.h"
#include "slots.h"
#include "sound.h"
#include "startscr.h"
#include "still_screen.h"
#include "std_gfuncs.h"
#include "textures.h"
#include "world.h"

// Rows: one per action, then the other settings.
enum option_row {
    ROW_RESET = NUM_ACTIONS, ROW_WINDOW, ROW_FULLSCREEN, ROW_EFFECTS, ROW_MUSIC, ROW_MUTE, ROW_LANGUAGE, ROW_BACK,
    NUM_ROWS
};
enum { COL_PRIMARY, COL_ALTERNATIVE, COL_BUTTON, NUM_COLS };
enum capture_state { CAPTURE_NONE, CAPTURE_KEY, CAPTURE_BUTTON };

static const char *const action_labels[NUM_ACTIONS][2] = {
    {"Left", "Links"}, {"Right", "Rechts"}, {"Spin up", "Drehen auf"}, {"Spin down", "Drehen ab"},
    {"Jump", "Springen"}, {"Boost", "Schub"}, {"Landing help", "Landehilfe"}, {"Controls", "Steuerung"},
    {"Give up", "Aufgeben"}, {"Pause", "Pause"}, {"Free camera", "Freie Kamera"}, {"Restart", "Neustart"},
    {"Ghost", "Geist"}};

const double row_top = 62, row_step = 18.5;
const double label_x = 70, col_x[NUM_COLS] = {250, 370, 490};

struct options_state {
    int row, col;
    int capture;
    int button_released;        // the gamepad had no button down since capture began
};

// ---- display changes ---------------------------------------------------------

// Counted for the still picture: a new window shows nothing until drawn.
static int display_changes;

// A new mode is a new GL context: every texture goes before and comes back
// after, and the GL state is set again.
static void change_display(void)
{
    display_changes++;
    free_building_textures();
    free_textures();
    free_text_textures();
    start_fullscreen = -1;                  // from now on the settings decide, not the command line
    if (open_display() != 0) {
        // Neither the new mode nor a window: nothing can be drawn any more.
        allegro_message("Error setting OpenGL graphics mode:\n%s\n", allegro_error);
        exit(0);
    }
    window_opened();
    setup_gl_state();
    load_textures();
    load_building_textures();
}

// ---- changing one setting ----------------------------------------------------------

static int clamp(int v, int lo, int hi)
{
    return v < lo ? lo : v > hi ? hi : v;
}

static void settings_changed(int display)
{
    apply_settings();
    save_settings();
    if (display) change_display();
}

// Left/Right (dir -1/+1) or Enter (dir 0) on a setting row.
static void change_row(int row, int dir)
{
    switch (row) {
    case ROW_RESET:
        if (dir) return;
        default_controls(&settings);
        settings_changed(0);
        return;
    case ROW_WINDOW:
        settings.window_size = (settings.window_size + (dir < 0 ? NUM_WINDOW_SIZES - 1 : 1)) % NUM_WINDOW_SIZES;
        settings_changed(1);
        return;
    case ROW_FULLSCREEN:
        settings.fullscreen = !settings.fullscreen;
        settings_changed(1);
        return;
    case ROW_EFFECTS:
        settings.effects_volume = clamp(settings.effects_volume + (dir ? dir : 1), 0, max_volume);
        break;
    case ROW_MUSIC:
        settings.music_volume = clamp(settings.music_volume + (dir ? dir : 1), 0, max_volume);
        break;
    case ROW_MUTE:
        settings.mute = !settings.mute;
        break;
    case ROW_LANGUAGE:
        settings.language = !settings.language;
        break;
    default:
        return;
    }
    settings_changed(0);
    if (row == ROW_EFFECTS && !settings.mute) play_sound(SND_LEAF);     // hear the new level
}

// ---- rebinding ------------------------------------------------------------------

static int newly_pressed_key(void)
{
    for (int k = 1; k < num_keys; k++)
        if (keyr[k] == LATCH_PRESSED) return k;
    return 0;
}

static void step_capture(options_state *o)
{
    if (keyr[KEY_ESC] == LATCH_PRESSED) {
        o->capture = CAPTURE_NONE;
        return;
    }
    if (o->capture == CAPTURE_KEY) {
        int k = newly_pressed_key();
        if (k && bind_key(&settings, o->row, o->col, k)) {
            o->capture = CAPTURE_NONE;
            settings_changed(0);
        }
        return;
    }
    int b = gamepad_button_down();
    if (b < 0) o->button_released = 1;
    else if (o->button_released && bind_button(&settings, o->row, b)) {
        o->capture = CAPTURE_NONE;
        settings_changed(0);
    }
}

// ---- drawing ----------------------------------------------------------------------

static void value_text(int row, char *out, int size)
{
    static const char *const off_on[2][2] = {{"off", "on"}, {"aus", "an"}};
    int w, h;
    switch (row) {
    case ROW_WINDOW:
        window_size_pixels(settings.window_size, &w, &h);
        if (settings.window_size == WINDOW_LARGEST) snprintf(out, size, lang ? "größtes (%dx%d)" : "largest (%dx%d)", w, h);
        else snprintf(out, size, "%dx%d", w, h);
        break;
    case ROW_FULLSCREEN: snprintf(out, size, "%s", off_on[lang][settings.fullscreen]); break;
    case ROW_EFFECTS: snprintf(out, size, "%d", settings.effects_volume); break;
    case ROW_MUSIC: snprintf(out, size, "%d", settings.music_volume); break;
    case ROW_MUTE: snprintf(out, size, "%s", off_on[lang][settings.mute]); break;
    case ROW_LANGUAGE: snprintf(out, size, "%s", settings.language ? "Deutsch" : "English"); break;
    default: out[0] = 0;
    }
}

static const char *row_label(int row)
{
    static const char *const labels[][2] = {
        {"Reset controls to defaults", "Steuerung zurücksetzen"}, {"Window size", "Fenstergröße"},
        {"Full screen", "Vollbild"}, {"Effects volume", "Lautstärke Effekte"}, {"Music volume", "Lautstärke Musik"},
        {"Mute", "Stumm"}, {"Language", "Sprache"}, {"Back", "Zurück"}};
    if (row < NUM_ACTIONS) return action_labels[row][lang ? 1 : 0];
    return labels[row - NUM_ACTIONS][lang ? 1 : 0];
}

static void draw_cell(const options_state &o, int row, int col, double y)
{
    char text[32];
    if (col == COL_BUTTON) button_display_name(settings.buttons[row], text, sizeof(text));
    else snprintf(text, sizeof(text), "%s", key_display_name(settings.keys[row][col]));
    bool here = o.row == row && o.col == col;
    if (here) dark_quad(col_x[col] - 6, y - 1, col_x[col] + 112, y + row_step - 2, o.capture ? 0.9 : 0.6);
    if (here && o.capture) snprintf(text, sizeof(text), "%s", lang ? "Taste ..." : "press ...");
    screen_text(FONT_TEXT, col_x[col], y, ALIGN_LEFT, here ? 255 : 220, here ? 230 : 220, here ? 90 : 220, "%s", text);
}

static void draw_options(const options_state &o)
{
    dark_quad(40, 8, overlay_w - 40, overlay_h - 8, 0.7);
    screen_text(FONT_TITLE, overlay_w / 2, 14, ALIGN_CENTRE, 255, 230, 120, "%s", lang ? "Optionen" : "Options");
    static const char *const heads[NUM_COLS][2] = {{"Key", "Taste"}, {"Other key", "Zweite Taste"}, {"Gamepad", "Gamepad"}};
    for (int c = 0; c < NUM_COLS; c++)
        screen_text(FONT_TEXT, col_x[c], row_top - 19, ALIGN_LEFT, 160, 200, 255, "%s", heads[c][lang]);
    for (int row = 0; row < NUM_ROWS; row++) {
        double y = row_top + row * row_step + (row >= NUM_ACTIONS ? 6 : 0);
        bool here = o.row == row;
        if (here && row >= NUM_ACTIONS) dark_quad(label_x - 6, y - 1, 600, y + row_step - 2, 0.6);
        screen_text(FONT_TEXT, label_x, y, ALIGN_LEFT, 255, here ? 230 : 255, here ? 90 : 255, "%s", row_label(row));
        if (row < NUM_ACTIONS) {
            for (int c = 0; c < NUM_COLS; c++) draw_cell(o, row, c, y);
        } else {
            char value[64];
            value_text(row, value, sizeof(value));
            if (value[0]) screen_text(FONT_TEXT, col_x[1], y, ALIGN_LEFT, 255, 255, 255, "< %s >", value);
        }
    }
    const char *help = o.capture == CAPTURE_KEY ? (lang ? "Neue Taste drücken, Esc bricht ab" : "Press the new key, Esc cancels")
                       : o.capture == CAPTURE_BUTTON ? (lang ? "Gamepad-Knopf drücken, Esc bricht ab" : "Press a gamepad button, Esc cancels")
                       : (lang ? "Enter: ändern   Esc: zurück" : "Enter: change   Esc: back");
    screen_text(FONT_TEXT, overlay_w / 2, overlay_h - 30, ALIGN_CENTRE, 200, 200, 200, "%s", help);
}

static unsigned mix_ints(unsigned key, const int *v, int n)
{
    for (int k = 0; k < n; k++) key = still_key_mix(key, (unsigned)v[k]);
    return key;
}

unsigned options_still_key(int row, int col, int capture, const game_settings *s, int changes)
{
    const int state[] = {lang, row, col, capture, changes, s->fullscreen, s->window_size, s->effects_volume,
                         s->music_volume, s->mute, s->language};
    unsigned key = mix_ints(still_key_start, state, sizeof(state) / sizeof(state[0]));
    key = mix_ints(key, &s->keys[0][0], NUM_ACTIONS * 2);
    return mix_ints(key, s->buttons, NUM_ACTIONS);
}

// ---- the loop ------------------------------------------------------------------------

// Returns 1 when the screen should close.
static int step_options(options_state *o)
{
    if (o->capture) {
        step_capture(o);
        return 0;
    }
    if (menur[MENU_BACK] == LATCH_PRESSED) return 1;
    if (menur[MENU_UP] == LATCH_PRESSED) o->row = (o->row + NUM_ROWS - 1) % NUM_ROWS;
    if (menur[MENU_DOWN] == LATCH_PRESSED) o->row = (o->row + 1) % NUM_ROWS;
    int dir = menur[MENU_LEFT] == LATCH_PRESSED ? -1 : menur[MENU_RIGHT] == LATCH_PRESSED ? 1 : 0;
    if (o->row < NUM_ACTIONS) o->col = clamp(o->col + dir, 0, NUM_COLS - 1);
    else if (dir) change_row(o->row, dir);
    if (menur[MENU_OK] != LATCH_RELEASED) return 0;
    if (o->row == ROW_BACK) return 1;
    if (o->row >= NUM_ACTIONS) change_row(o->row, 0);
    else {
        o->capture = o->col == COL_BUTTON ? CAPTURE_BUTTON : CAPTURE_KEY;
        o->button_released = 0;
    }
    return 0;
}

void options_screen(void)
{
    options_state o = {0, 0, CAPTURE_NONE, 0};
    still_screen picture = {};
    clear_menu_input();
    for (;;) {
        if (close_requested || (headless && !input_hook)) return;    // nobody could press a key
        update_the_music();
        do_keyr();
        do_mouser();
        step_menu_input();
        if (step_options(&o)) break;
        unsigned key = options_still_key(o.row, o.col, o.capture, &settings, display_changes);
        bool drawn = still_screen_must_draw(&picture, true, key);
        if (drawn) {
            draw_start_background(still_menu_sky);
            draw_options(o);
        }
        show_start_frame(drawn);
        wait_start_frame();
    }
    // The Esc that left must not also leave the start screen.
    while (menur[MENU_BACK] != LATCH_UP && !close_requested) {
        do_keyr();
        step_menu_input();
        if (headless && !input_hook) break;
        if (!headless) rest(1);
    }
}
