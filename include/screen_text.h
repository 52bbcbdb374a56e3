// include/screen_text.h -- what the menus and screens share: text in the
// game's own fonts ("fonts.dat"), dark panels, and menu input from the
// keyboard and the first gamepad alike.
#pragma once
#include <allegro.h>

enum text_align { ALIGN_LEFT, ALIGN_CENTRE, ALIGN_RIGHT };

// Loads "fonts.dat"; without a whole one the screens use Allegro's built-in
// font, with one line on stderr.
void load_fonts(void);
void free_fonts(void);
FONT *screen_font(int slot);                // FONT_TEXT or FONT_TITLE; never NULL
int screen_text_width(int slot, const char *utf8);      // overlay pixels
int screen_text_height(int slot);
// Draws UTF-8 text with its top at overlay y, aligned on x, in colour (r, g, b).
void screen_text(int slot, double x, double y, int align, int r, int g, int b, const char *format, ...)
    __attribute__((format(printf, 8, 9)));
// The same, drawn at an opacity from 0 (not seen) to 1 (as screen_text).
void screen_text_faded(int slot, double x, double y, int align, int r, int g, int b, double opacity,
                       const char *format, ...) __attribute__((format(printf, 9, 10)));
// Deletes the kept text textures: before the GL context goes (a display
// change, shutting down) and with the fonts; the labels' too.
void free_text_textures(void);
// A black quad of the given opacity over part of, or the whole, overlay.
void dark_quad(double x0, double y0, double x1, double y1, double alpha);

// Menu input, stepped once per menu frame after do_keyr: arrows or the first
// gamepad's sticks and d-pad move, Enter, Space or button 1 confirms, Esc or
// button 2 goes back. Latches as keyr (LATCH_PRESSED on the first frame).
enum menu_input { MENU_UP, MENU_DOWN, MENU_LEFT, MENU_RIGHT, MENU_OK, MENU_BACK, NUM_MENU_INPUTS };
extern char menur[NUM_MENU_INPUTS];
void step_menu_input(void);
void clear_menu_input(void);
// One more latch step of keys and menu input after a choice made on a
// release, so that the release cannot act again on the next screen.
void leave_menu_input(void);
// The first gamepad's directions as action bits (left, right, spin up, spin
// down); 0 without a gamepad.
unsigned gamepad_direction_bits(void);
// The first button down on the first gamepad, or -1.
int gamepad_button_down(void);
