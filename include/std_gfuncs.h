// include/std_gfuncs.h -- key and mouse latches, waiting for a key, number
// text, file names and the on-screen text printer.
#pragma once
#include <allegro.h>

// Latch states of keyr, mb1 and mb2.
enum { LATCH_UP = 0, LATCH_PRESSED = 1, LATCH_RELEASED = 2, LATCH_HELD = 3 };

// Called at the start of every do_keyr, so that scripted input (tests, tools)
// can change Allegro's key[] and mouse state once per latch step, also inside
// the nested loops of wfk, the start screen and the texture picker.
extern void (*input_hook)(void);

void clear_keyr(void);
void do_keyr(void);                 // steps every key latch once
void do_mouser(void);               // set_mpos, then steps mb1 and mb2 once
void wfk(void);                     // returns when some key was pressed and released
int step_latch(int latch, int down); // one latch step: the rule behind do_keyr

void int_to_str(int num, char *str); // at most 12 chars with the terminator
// Builds "<template up to '~'><x><extension of ft>" in xnam; no '~' in the
// first 20 characters leaves xnam unchanged. ft: 0 .bmp, 1 .txt, 2 .trn, 3 .mid.
void loadn(const char *c, int x, int ft);

// Deletes the kept label textures (free_text_textures does this too).
void free_label_textures(void);
// Deletes one GL texture by its name (a text cache hands names back as unsigned).
void delete_texture_name(unsigned texture);
struct text_cache;
struct text_cache_entry;
// The kept entry for (font, colour, key). When the table did not hold it, the
// entry used longest ago is given up for it (its texture deleted), the sizes
// are set and *fresh is true: the caller prints the texture into it.
text_cache_entry &kept_text_entry(text_cache *c, const void *font, int colour, const char *key,
                                  int w, int h, int tw, int th, bool *fresh);
// Draws the formatted text at overlay pixel (x, y) through a masked texture
// kept for the next frame's same label, in the current GL colour; sizeofnums
// widens the quad for the values.
void ztextprintf(int sizeofnums, FONT *f, int x, int y, int color, const char *s, ...)
    __attribute__((format(printf, 6, 7)));
