// screens/pause.cpp -- pause and restart, and the window's focus.
// A paused game draws its picture once and then only polls the keys a few
// times a frame, so it costs next to nothing while it waits.
#include <allegro.h>
#include <alleggl.h>
#include "actions.h"
#include "game.h"
#include "hillhopper.h"
#include "replay.h"
#include "screen_text.h"
#include "screens.h"
#include "slots.h"
#include "sound.h"
#include "std_gfuncs.h"
#include "world.h"

static volatile int window_had_focus = 0;
static volatile int focus_lost = 0;
const int paused_poll_ms = 10;

static void on_switch_in(void)
{
    window_had_focus = 1;
}
END_OF_FUNCTION(on_switch_in)

static void on_switch_out(void)
{
    if (window_had_focus) focus_lost = 1;
}
END_OF_FUNCTION(on_switch_out)

// The game keeps running in the background as far as Allegro is concerned;
// it pauses itself, and only in live play.
void install_focus_watch(void)
{
    if (set_display_switch_mode(SWITCH_BACKGROUND) != 0 && set_display_switch_mode(SWITCH_BACKAMNESIA) != 0) return;
    set_display_switch_callback(SWITCH_IN, on_switch_in);
    set_display_switch_callback(SWITCH_OUT, on_switch_out);
}

static int playing(void)
{
    return edit_mode == 0 && j[J_LEVEL_DONE] == 0 && f[F_TIME] > 0;
}

// A lost focus presses the pause action for one latch step, so that a
// replay records it like the key and pauses at the same frame.
unsigned focus_pause_bits(void)
{
    if (!focus_lost) return 0;
    focus_lost = 0;
    return playing() && !replay_playing ? 1u << ACT_PAUSE : 0;
}

int pause_wanted(void)
{
    return playing() && actr[ACT_PAUSE] == LATCH_PRESSED;
}

int restart_wanted(void)
{
    return edit_mode == 0 && actr[ACT_RESTART] == LATCH_PRESSED;
}

static void draw_paused(void)
{
    dark_quad(0, 0, overlay_w, overlay_h, 0.55);
    screen_text(FONT_TITLE, overlay_w / 2, 200, ALIGN_CENTRE, 255, 255, 255, "%s", lang ? "Pause" : "Paused");
    char keys[64];
    snprintf(keys, sizeof(keys), "%s", lang ? "Weiter mit der Pausentaste" : "Press the pause key to go on");
    screen_text(FONT_TEXT, overlay_w / 2, 250, ALIGN_CENTRE, 230, 230, 230, "%s", keys);
}

// While a replay is watched the wait is not waited again: the replay sets
// the latches the live wait left behind.
void pause_game(void)
{
    if (!replay_playing) draw_paused();
    if (frame_ready_hook) frame_ready_hook();
    if (!headless) allegro_gl_flip();
    if (replay_wait_played()) return;
    replay_wait_begin();
    midi_pause();
    for (;;) {
        if (close_requested) break;
        if (!headless) rest(paused_poll_ms);
        do_keyr();
        if (actr[ACT_PAUSE] == LATCH_PRESSED) break;
        if (headless && !input_hook) break;         // nobody could ever press a key
    }
    midi_resume();
    replay_wait_end();
    focus_lost = 0;
    ztimer = 0;
}
