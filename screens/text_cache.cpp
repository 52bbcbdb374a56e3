// screens/text_cache.cpp -- the choice of text texture entries (no drawing).
#include <cstring>
#include "text_cache.h"

bool text_cache_keeps(const char *text)
{
    return strlen(text) < (size_t)text_cache_key_chars;
}

int text_cache_find(text_cache *c, const void *font, int colour, const char *text)
{
    for (int k = 0; k < text_cache_entries; k++) {
        text_cache_entry &e = c->entry[k];
        if (e.font == font && font && e.colour == colour && strcmp(e.text, text) == 0) {
            e.last_use = ++c->uses;
            return k;
        }
    }
    return -1;
}

int text_cache_claim(text_cache *c, const void *font, int colour, const char *text, unsigned *old_texture)
{
    int pick = 0;
    for (int k = 0; k < text_cache_entries; k++) {
        if (!c->entry[k].font) {
            pick = k;
            break;
        }
        if (c->entry[k].last_use < c->entry[pick].last_use) pick = k;
    }
    text_cache_entry &e = c->entry[pick];
    *old_texture = e.font ? e.texture : 0;
    e.font = font;
    e.colour = colour;
    strncpy(e.text, text, sizeof(e.text) - 1);
    e.text[sizeof(e.text) - 1] = 0;
    e.texture = 0;
    e.w = e.h = e.tw = e.th = 0;
    e.last_use = ++c->uses;
    return pick;
}

void text_cache_clear(text_cache *c, void (*forget)(unsigned texture))
{
    for (int k = 0; k < text_cache_entries; k++) {
        text_cache_entry &e = c->entry[k];
        if (e.font && e.texture && forget) forget(e.texture);
        e = text_cache_entry();
    }
    c->uses = 0;
}
