// player/replay_view.cpp -- watching a replay: the viewer's keys and the
// --replay run that prints how the run ended.
// The viewer's keys are read from key[] with latches of their own: the game's
// latches belong to the replay's input while it plays.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <allegro.h>
#include "cli.h"
#include "replay.h"
#include "hillhopper.h"
#include "game.h"

static const int fast_speed = 4;
static const int pause_poll_ms = 10;
static int speed = 1;

int replay_speed(void) { return speed; }

namespace {

struct viewer_key {
    int code;
    bool was_down;
    bool pressed()   // true once per press
    {
        bool down = key[code] != 0;
        bool p = down && !was_down;
        was_down = down;
        return p;
    }
};
viewer_key esc_key{KEY_ESC, false}, space_key{KEY_SPACE, false};
viewer_key right_key{KEY_RIGHT, false}, left_key{KEY_LEFT, false};

// Waits for Space again; false when Esc or the close button ended it.
bool paused(void)
{
    for (;;) {
        rest(pause_poll_ms);
        if (esc_key.pressed() || close_requested) return false;
        if (space_key.pressed()) return true;
    }
}

}  // namespace

bool replay_viewer_keys(void)
{
    if (headless) return true;
    if (esc_key.pressed()) return false;
    if (right_key.pressed()) speed = fast_speed;
    if (left_key.pressed()) speed = 1;
    if (space_key.pressed() && !paused()) return false;
    return true;
}

static void print_outcome(const replay_outcome &o)
{
    printf("%s\n", replay_outcome_line(o).c_str());
    fflush(stdout);
}

// HILLHOPPER_REPLAY_UNPACED=1 plays the frames back to back (tests): the
// same frames, drawn and shown, without the waits between them.
int watch_launch_replay(void)
{
    const char *unpaced = getenv("HILLHOPPER_REPLAY_UNPACED");
    if (unpaced && strcmp(unpaced, "1") == 0) pacing_enabled = 0;
    start_watching(launch.replay);
    level_start();
    if (replay_level_differs()) {
        fprintf(stderr, "hillhopper: %s: belongs to a different level (checksum differs)\n",
                launch.replay_file.c_str());
        return exit_bad_arguments;
    }
    while (replay_playing) {
        if (!replay_viewer_keys()) {
            last_playback = replay_outcome{false, replay_frames_done(), 0, launch.replay.level};
            stop_watching();
            break;
        }
        frame_result r = run_frame();
        if (!replay_playing || r != FRAME_NEXT) break;
        pace_frame();
    }
    print_outcome(last_playback);
    return 0;
}
