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

static int live_play(void)
{
    return edit_mode == 0 && !replay_playing && j[J_LEVEL_DONE] == 0 && f[F_TIME] > 0;
}

int pause_wanted(void)
{
    int lost = focus_lost;
    focus_lost = 0;
    if (!live_play()) return 0;
    return actr[ACT_PAUSE] == LATCH_PRESSED || lost;
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

void pause_game(void)
{
    draw_paused();
    if (frame_ready_hook) frame_ready_hook();
    if (!headless) allegro_gl_flip();
    midi_pause();
    for (;;) {
        if (close_requested) break;
        if (!headless) rest(paused_poll_ms);
        do_keyr();
        if (actr[ACT_PAUSE] == LATCH_PRESSED) break;
        if (headless && !input_hook) break;         // nobody could ever press a key
    }
    midi_resume();
    focus_lost = 0;
    ztimer = 0;
}
