// include/screens.h -- the player's screens around play: level select,
// options, level complete, the ending, pause; and the level list they show.
#pragma once
#include <cstdint>
#include <string>
#include "game.h"

// ---- the levels in play order (level_list.h) -----------------------------------
int level_count(void);
std::string level_file_path(int n);
// The record of level n's file as it is now: its slot in records, or -1.
int level_record_slot(int n);
// Level 0 is always open; any other once the level before it has a record.
int level_is_open(int n);

// Runs the level select until a level is chosen (returned) or Esc (-1).
int level_select_screen(void);
// The level the select starts on: the first open level without a record,
// else the last open one.
int level_select_default(void);
// Runs the options screen until Esc; every change is applied and saved at once.
void options_screen(void);

// ---- still menus ---------------------------------------------------------------
// Behind the level select, the options and the ending the sky holds still, so
// each is a still picture, drawn when its key changes (still_screen.h). The
// keys hold all their picture shows beyond the list read on opening: the
// language, the choice, and for the options every setting, the cell waiting
// for a key and the count of display changes (a new window shows nothing yet).
struct game_settings;
unsigned level_select_still_key(int chosen);
unsigned options_still_key(int row, int col, int capture, const game_settings *s, int display_changes);
unsigned ending_still_key(int total, int all_done);

// ---- level complete and the ending -------------------------------------------
// The level-complete screen's text and choices, once per frame after its
// pictures have grown: FRAME_LEVEL_START with current_level set when the
// player chose (Space/Enter: level next, or when next is -1 the ending after
// the last shipped stage, then the start screen; Backspace: this level
// again), FRAME_NEXT while it waits.
frame_result level_complete_choice(int next);
// Ends the attempt at the level end: offers the run as a record when it was
// live play of the level file as it still is.
void finish_level_attempt(void);
void draw_level_complete_text(void);
// The closing screen after the last level: the total of the best times, then
// any confirming key. Returns at once when the window is closed.
void ending_screen(void);
// Sum of the frames of every shipped stage's record; *all_done 0 when one has none.
int best_times_total(int *all_done);

// ---- the level's name at its start ----------------------------------------------
// How strongly the name shows after this many frames of the attempt: fully
// for the first seconds, then fading out; 0 before the start and after.
double level_title_opacity(int attempt_frames);
// Draws the current level's name over the play view (nothing once faded).
void draw_level_title(int attempt_frames);

// ---- pause and restart ---------------------------------------------------------
// Watches the window's focus (call once after the window opened).
void install_focus_watch(void);
// 1 when the pause action was pressed in play (not an edit mode, not the
// level-complete or time-out screens).
int pause_wanted(void);
// The pause action's bit for one latch step after the window lost its focus
// in live play (not a replay being watched, not before the window first had
// its focus); 0 otherwise. Part of action_down_bits.
unsigned focus_pause_bits(void);
// Draws "Paused" over the dimmed frame in the back buffer, shows it once and
// idles until the pause key or button again (or the close button).
void pause_game(void);
// 1 when the restart key or button was pressed in play or on the time-out
// or level-complete screen, never in the edit modes.
int restart_wanted(void);
