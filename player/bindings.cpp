// player/bindings.cpp -- rebinding keys and buttons by swapping, the checks a
// bound code passes before it may index a table, and key names for screens.
#include <cstdio>
#include <allegro.h>
#include "bindings.h"

int key_is_bindable(int code)
{
    if (code <= 0 || code >= KEY_MAX) return 0;
    // F5 and F6 belong to the editor build; lock keys change state as they bind.
    return code != KEY_F5 && code != KEY_F6 && code != KEY_CAPSLOCK && code != KEY_NUMLOCK &&
           code != KEY_SCRLOCK;
}

int button_is_valid(int button)
{
    return button >= 0 && button < MAX_JOYSTICK_BUTTONS;
}

static int action_in_range(int action)
{
    return action >= 0 && action < NUM_ACTIONS;
}

// An action whose primary key went away takes its alternative as primary, so
// the screens and the controls screen always list the primary first.
static void lift_alternatives(game_settings *s)
{
    for (int a = 0; a < NUM_ACTIONS; a++)
        if (s->keys[a][0] == 0 && s->keys[a][1] != 0) {
            s->keys[a][0] = s->keys[a][1];
            s->keys[a][1] = 0;
        }
}

int bind_key(game_settings *s, int action, int slot, int code)
{
    if (!action_in_range(action) || slot < 0 || slot > 1 || !key_is_bindable(code)) return 0;
    int old = s->keys[action][slot];
    for (int a = 0; a < NUM_ACTIONS; a++)
        for (int k = 0; k < 2; k++)
            if (s->keys[a][k] == code) s->keys[a][k] = old;
    s->keys[action][slot] = code;
    lift_alternatives(s);
    return 1;
}

int bind_button(game_settings *s, int action, int button)
{
    if (!action_in_range(action) || !button_is_valid(button)) return 0;
    int old = s->buttons[action];
    for (int a = 0; a < NUM_ACTIONS; a++)
        if (s->buttons[a] == button) s->buttons[a] = old;
    s->buttons[action] = button;
    return 1;
}

int controls_are_sound(const game_settings &s)
{
    char key_used[KEY_MAX] = {0};
    char button_used[MAX_JOYSTICK_BUTTONS] = {0};
    for (int a = 0; a < NUM_ACTIONS; a++) {
        for (int k = 0; k < 2; k++) {
            int code = s.keys[a][k];
            if (code == 0) continue;
            if (!key_is_bindable(code) || key_used[code]) return 0;
            key_used[code] = 1;
        }
        int b = s.buttons[a];
        if (b == -1) continue;
        if (!button_is_valid(b) || button_used[b]) return 0;
        button_used[b] = 1;
    }
    return 1;
}

// ---- names -------------------------------------------------------------------

static const char *key_names[KEY_MAX];

static void name_keys(void)
{
    static char letters[26][2], digits[10][2], pad_digits[10][6], fkeys[12][4];
    for (int i = 0; i < 26; i++) {
        letters[i][0] = (char)('A' + i);
        key_names[KEY_A + i] = letters[i];
    }
    for (int i = 0; i < 10; i++) {
        digits[i][0] = (char)('0' + i);
        key_names[KEY_0 + i] = digits[i];
        snprintf(pad_digits[i], sizeof(pad_digits[i]), "Pad %d", i);
        key_names[KEY_0_PAD + i] = pad_digits[i];
    }
    for (int i = 0; i < 12; i++) {
        snprintf(fkeys[i], sizeof(fkeys[i]), "F%d", i + 1);
        key_names[KEY_F1 + i] = fkeys[i];
    }
    struct named { int code; const char *name; };
    static const named others[] = {
        {KEY_ESC, "Esc"}, {KEY_TILDE, "`"}, {KEY_MINUS, "-"}, {KEY_EQUALS, "="},
        {KEY_BACKSPACE, "Backspace"}, {KEY_TAB, "Tab"}, {KEY_OPENBRACE, "["},
        {KEY_CLOSEBRACE, "]"}, {KEY_ENTER, "Enter"}, {KEY_COLON, ";"}, {KEY_QUOTE, "'"},
        {KEY_BACKSLASH, "\\"}, {KEY_BACKSLASH2, "\\ (2)"}, {KEY_COMMA, ","}, {KEY_STOP, "."},
        {KEY_SLASH, "/"}, {KEY_SPACE, "Space"}, {KEY_INSERT, "Insert"}, {KEY_DEL, "Delete"},
        {KEY_HOME, "Home"}, {KEY_END, "End"}, {KEY_PGUP, "Page Up"}, {KEY_PGDN, "Page Down"},
        {KEY_LEFT, "Left"}, {KEY_RIGHT, "Right"}, {KEY_UP, "Up"}, {KEY_DOWN, "Down"},
        {KEY_SLASH_PAD, "Pad /"}, {KEY_ASTERISK, "Pad *"}, {KEY_MINUS_PAD, "Pad -"},
        {KEY_PLUS_PAD, "Pad +"}, {KEY_DEL_PAD, "Pad ."}, {KEY_ENTER_PAD, "Pad Enter"},
        {KEY_PRTSCR, "Print"}, {KEY_PAUSE, "Pause"}, {KEY_LSHIFT, "Left Shift"},
        {KEY_RSHIFT, "Right Shift"}, {KEY_LCONTROL, "Left Ctrl"}, {KEY_RCONTROL, "Right Ctrl"},
        {KEY_ALT, "Alt"}, {KEY_ALTGR, "AltGr"}, {KEY_LWIN, "Left Win"}, {KEY_RWIN, "Right Win"},
        {KEY_MENU, "Menu"}, {KEY_SCRLOCK, "Scroll Lock"}, {KEY_NUMLOCK, "Num Lock"},
        {KEY_CAPSLOCK, "Caps Lock"}};
    for (const named &n : others) key_names[n.code] = n.name;
}

const char *key_display_name(int code)
{
    if (code == 0) return "-";
    if (code < 0 || code >= KEY_MAX) return "?";
    if (!key_names[KEY_A]) name_keys();
    return key_names[code] ? key_names[code] : "?";
}

void button_display_name(int button, char *out, int size)
{
    if (!button_is_valid(button)) snprintf(out, (size_t)size, "-");
    else snprintf(out, (size_t)size, "Button %d", button + 1);
}
