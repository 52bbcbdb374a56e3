// include/design.h -- the level as designed, kept apart from the level as
// played, and the undo history between its versions.
// Loading and the editor's own actions change the design; play (leaves taken,
// waypoints passed, hives disturbed, doodads near or away, joints marked by
// the collision gather) changes only the live tables. Saves and recovery
// files are written from the design, so a test-play never reaches a file.
#pragma once
#include <cstddef>
#include <vector>
#include "terrain_file.h"

// The design becomes a copy of the live tables and the history is emptied;
// the design counts as saved. Called at every level load.
void design_capture(void);

// Around each part of a frame in which the editor may change the tables. What
// changed between the two calls is the editor's: it goes into the design and
// into the step under way. The play fields of a record that stays in use
// (its state marks, a taken waypoint's spin, a hive's disturbed picture) keep
// their designed values, unless whole_records is 1 (a restored recovery file
// is taken as it stands). The doodad preview never enters the design.
void design_watch_begin(void);
void design_watch_end(int whole_records);
// Puts the live tables back as they were at design_watch_begin.
void design_watch_cancel(void);

// Once a frame in the edit modes, after the editor's parts: the step under
// way becomes one undo step, unless a vertex is still held (a drag is one
// step from press to release). A new step drops the redo steps.
void design_end_frame(void);

// Undo and redo apply a step to the design and the live tables alike, then
// refile the region grid and end every construction and selection.
// Each returns 1 when there was a step to apply.
int design_undo(void);
int design_redo(void);
int design_undo_steps(void);
int design_redo_steps(void);
const int design_history_limit = 256;       // the oldest step goes beyond this
const size_t design_history_byte_limit = (size_t)192 << 20;   // or beyond this much memory
size_t design_history_bytes(void);          // memory held by the undo and redo steps

level_tables design_tables(void);
std::vector<unsigned char> design_image(void);     // the level file of the design
int design_slot_used(int section, int slot);
// 1 while the design differs from what was last loaded or saved (an undo
// back to that version counts as saved again).
int design_unsaved(void);
void design_mark_saved(void);
// A number that changes with every version of the design (for "already
// written" checks).
long design_version(void);
