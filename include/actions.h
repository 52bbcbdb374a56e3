// include/actions.h -- the game's actions: what play code reads instead of keys.
// Keys and gamepad buttons are bound to actions; a replay stores the actions'
// down bits, never key codes, so rebinding never changes a recorded run.
#pragma once

enum game_action {
    ACT_LEFT, ACT_RIGHT, ACT_SPIN_UP, ACT_SPIN_DOWN, ACT_JUMP, ACT_BOOST, ACT_LAND_HELP,
    ACT_CONTROLS, ACT_GIVE_UP, ACT_PAUSE, ACT_FREE_CAMERA, ACT_RESTART, ACT_GHOST,
    NUM_ACTIONS
};

extern int action_key[NUM_ACTIONS][2];  // primary and alternative KEY_ codes, 0 = none
extern int action_button[NUM_ACTIONS];  // button of the first gamepad, -1 = none
extern char actr[NUM_ACTIONS];          // latches (LATCH_UP/PRESSED/RELEASED/HELD), stepped in do_keyr

// Bit n is set while action n is down on the keyboard or the first gamepad.
// Key codes and buttons out of range count as unbound.
unsigned action_down_bits(void);

// Left, Right, Up, Down, Enter, Right Control, Right Shift, H, Esc, P, C,
// Backspace, G; no buttons.
void set_default_bindings(void);

// Steps every action latch once from the given down bits (do_keyr calls this).
void step_action_latches(unsigned bits);
void clear_action_latches(void);
