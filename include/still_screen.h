// include/still_screen.h -- a screen whose picture holds still is drawn when
// its picture changes, not 40 times a second: the frames between read input
// and run as ever, and the window keeps showing the last picture. It is
// drawn again once a second all the same, which repairs a window the system
// has damaged meanwhile.
#pragma once

const int still_redraw_frames = 40;

struct still_screen {
    bool shown;                 // the picture of key is on show
    unsigned key;               // all the picture depends on, packed
    int frames_skipped;
};

// Whether this frame must draw. still: the screen's picture is the one the
// last drawn frame showed, apart from what key says; key: what else the
// picture shows (a choice, the language). A frame that is not still forgets
// the picture, so the next still frame draws.
bool still_screen_must_draw(still_screen *s, bool still, unsigned key);

// A key is built by mixing in each value the picture shows, from
// still_key_start; two pictures that differ in any value get different keys
// (but for a chance of one in four billion).
const unsigned still_key_start = 2166136261u;
unsigned still_key_mix(unsigned key, unsigned value);
