// include/replay_store.h -- replays kept in the user's data folder, and the
// author's replays shipped beside the game.
// replays/<checksum>.best.hhr is the run that set the level's record (fewest
// frames; ties keep the earlier), replays/<checksum>.last.hhr the last attempt.
#pragma once
#include <string>
#include "replay.h"

// Only the live game sets this: tools, tests and playbacks keep nothing.
extern bool replay_keep_attempts;

// Called when a live attempt ends: writes it as the last run, and as the best
// when it finished in fewer frames than the stored best. Nothing is kept when
// the level's file changed since the attempt began. Failures are one line on stderr.
void keep_attempt(const replay_record &r);
std::string replay_file_path(uint64_t checksum, const char *which);   // "best" or "last"
// The best run of the level with this identity; false when there is none (or it is refused).
bool load_best_replay(uint64_t checksum, replay_record *r);
// Whether rec replaces best as the record: it finished, in fewer frames.
bool replay_beats(const replay_record &rec, const replay_record *best);
