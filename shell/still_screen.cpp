// shell/still_screen.cpp -- when a still screen draws (no drawing here).
#include "still_screen.h"

bool still_screen_must_draw(still_screen *s, bool still, unsigned key)
{
    if (!still) {
        s->shown = false;
        return true;
    }
    if (s->shown && s->key == key && s->frames_skipped + 1 < still_redraw_frames) {
        s->frames_skipped++;
        return false;
    }
    s->shown = true;
    s->key = key;
    s->frames_skipped = 0;
    return true;
}

// Each of the value's bytes in turn, so that small values spread over the key.
unsigned still_key_mix(unsigned key, unsigned value)
{
    for (int b = 0; b < 4; b++) {
        key ^= (value >> (8 * b)) & 0xffu;
        key *= 16777619u;
    }
    return key;
}
