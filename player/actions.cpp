// player/actions.cpp -- key and gamepad bindings and the action latches.
// The latches step exactly like the key latches, once per do_keyr call.
#include <cstring>
#include <allegro.h>
#include "actions.h"
#include "screen_text.h"
#include "screens.h"
#include "hillhopper.h"
#include "std_gfuncs.h"

static const int default_keys[NUM_ACTIONS] = {
    KEY_LEFT, KEY_RIGHT, KEY_UP, KEY_DOWN, KEY_ENTER, KEY_RCONTROL, KEY_RSHIFT,
    KEY_H, KEY_ESC, KEY_P, KEY_C, KEY_BACKSPACE, KEY_G};

// The tables start bound, so a program that never calls set_default_bindings
// (the tools, the tests) plays with the default keys.
int action_key[NUM_ACTIONS][2] = {
    {KEY_LEFT, 0}, {KEY_RIGHT, 0}, {KEY_UP, 0}, {KEY_DOWN, 0}, {KEY_ENTER, 0},
    {KEY_RCONTROL, 0}, {KEY_RSHIFT, 0}, {KEY_H, 0}, {KEY_ESC, 0}, {KEY_P, 0},
    {KEY_C, 0}, {KEY_BACKSPACE, 0}, {KEY_G, 0}};
int action_button[NUM_ACTIONS] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
char actr[NUM_ACTIONS];

void set_default_bindings(void)
{
    for (int a = 0; a < NUM_ACTIONS; a++) {
        action_key[a][0] = default_keys[a];
        action_key[a][1] = 0;
        action_button[a] = -1;
    }
}

static bool key_down(int code)
{
    return code > 0 && code < KEY_MAX && key[code] != 0;   // a held key may read -1
}

static bool button_down(int b)
{
    if (b < 0 || num_joysticks <= 0 || b >= joy[0].num_buttons || b >= MAX_JOYSTICK_BUTTONS)
        return false;
    return joy[0].button[b].b != 0;
}

// The first gamepad's sticks and d-pad steer (left, right, spin) besides its buttons.
unsigned action_down_bits(void)
{
    unsigned bits = gamepad_direction_bits() | focus_pause_bits();
    for (int a = 0; a < NUM_ACTIONS; a++)
        if (key_down(action_key[a][0]) || key_down(action_key[a][1]) || button_down(action_button[a]))
            bits |= 1u << a;
    return bits;
}

void step_action_latches(unsigned bits)
{
    for (int a = 0; a < NUM_ACTIONS; a++)
        actr[a] = (char)step_latch(actr[a], (bits >> a) & 1u);
}

void clear_action_latches(void)
{
    memset(actr, 0, sizeof(actr));
}
