// include/editor_level.h -- the editor's keys for the level as a whole: a new
// empty level in the user's levels folder (Ctrl+N), the start point at the
// mouse (Ctrl+L), the time allowed (Ctrl+PgUp / Ctrl+PgDn), typing the name
// (Ctrl+E: Enter keeps, Esc cancels), and the checks before a save.
#pragma once
#include <string>

// Once per frame in the edit modes, after the latches were stepped.
void editor_level_keys(void);
// True when Ctrl (either one) is down: the other editor keys then stay out.
bool editor_ctrl_down(void);

// Name entry. While it is open (and until every key is up after it closed)
// the frame loop passes no key to play, the editor or Esc.
bool level_name_entry_busy(void);
void level_name_entry_begin(int language);
// One typed character (a Unicode code point) or key (Allegro scancode).
void level_name_entry_key(int unicode, int scancode);
// Reads the keyboard buffer into the entry; returns level_name_entry_busy().
bool level_name_entry_frame(void);
const char *level_name_entry_text(void);

// Ctrl+N: an empty level saved under a new name in the user's levels folder,
// then loaded (the edit mode stays). Returns its path, "" when no folder.
std::string new_user_level(void);
// What a save would leave missing, as one sentence, "" when nothing is:
// a level end, a start point inside the level, walkable ground under it.
std::string level_save_warning(void);
// Draws the start marker, the time label and the name being typed.
void draw_editor_level_overlay(void);
