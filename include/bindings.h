// include/bindings.h -- rebinding keys and gamepad buttons to actions.
// A key is bound to at most one action slot: binding a key that is already in
// use swaps the two slots' keys, so nothing is ever bound twice or lost.
#pragma once
#include "settings.h"

// Keys that may be bound: Allegro codes 1..KEY_MAX-1 except the editor's F5
// and F6 and the keys a menu needs to stay usable while rebinding (Esc
// cancels a rebinding; it can be bound only by the defaults).
int key_is_bindable(int code);
int button_is_valid(int button);            // 0..MAX_JOYSTICK_BUTTONS-1

// Binds code to slot (0 primary, 1 alternative) of action; the slot that held
// code before gets this slot's old key. Refuses (returns 0) an unbindable
// key or an action or slot out of range, changing nothing.
int bind_key(game_settings *s, int action, int slot, int code);
// The same for gamepad buttons (one button per action).
int bind_button(game_settings *s, int action, int button);

// 1 when no key and no button is bound to two slots and every code is in range.
int controls_are_sound(const game_settings &s);

// A short English name of a key for screens ("Left", "Right Ctrl", "A"); "-"
// for 0 and "?" for a code out of range.
const char *key_display_name(int code);
// "Button 3", or "-" for none.
void button_display_name(int button, char *out, int size);
