// include/text_cache.h -- which texture holds a text already printed: the
// screens print the same strings in the same colours frame after frame, and
// printing one into a new texture and deleting it again makes the software
// renderer finish everything drawn so far each time (the options screen's 70
// strings cost more than its whole picture). The table only chooses entries;
// screen_text makes and deletes the textures.
#pragma once

const int text_cache_entries = 128;         // more than any screen shows at once
const int text_cache_key_chars = 96;        // longer strings are printed each time

struct text_cache_entry {
    const void *font;                       // nullptr: the entry is free
    int colour;
    char text[text_cache_key_chars];
    unsigned texture;
    int w, h, tw, th;                       // text and texture size in texels
    unsigned last_use;
};

struct text_cache {
    text_cache_entry entry[text_cache_entries];
    unsigned uses;
};

// True when the string can be kept at all.
bool text_cache_keeps(const char *text);
// The entry holding (font, colour, text), marked as used now, or -1.
int text_cache_find(text_cache *c, const void *font, int colour, const char *text);
// The entry to fill with a new text: a free one, else the one used longest
// ago (its texture must be deleted first: *old_texture, 0 when none). The
// entry is keyed and marked used; the caller sets texture and sizes.
int text_cache_claim(text_cache *c, const void *font, int colour, const char *text, unsigned *old_texture);
// Empties the table; each texture it held is passed to forget (GL textures
// die with their context, so the table is emptied before a display change).
void text_cache_clear(text_cache *c, void (*forget)(unsigned texture));
