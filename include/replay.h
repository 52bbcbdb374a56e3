// include/replay.h -- recorded runs: the record, its file format, recording
// every attempt and playing one back.
// A run is its level's identity, the seed of rand at the level start and the
// action bits of every latch step (do_keyr call); the world is recomputed.
// Waits for a key (wfk) record only the action latches they leave behind, so
// a replay never depends on how long a screen waited.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "game.h"

// One run of equal latch steps, or the latches a wait left behind.
struct replay_input {
    uint8_t kind;           // input_steps or input_wait
    uint32_t value;         // action down bits, or 2 bits per action's latch
    uint32_t count;         // steps in the run (1 for a wait)
};
enum { input_steps = 0, input_wait = 1 };

// Where the player's sprite was drawn in one frame: the ghost's picture.
struct ghost_pose {
    float x, y, ang;
    uint8_t frame, flip;
};

struct replay_record {
    uint32_t seed = 0;              // srand at the level start
    int32_t level = 0;              // level number played
    std::string level_file;         // file name of the level (no folder)
    uint64_t level_checksum = 0;    // level_id.h
    uint32_t frames = 0;            // run_frame calls from the level start to the run's end
    bool finished = false;          // touched a level end
    double time_left = 0;           // clock at the end when finished
    std::vector<replay_input> input;
    std::vector<ghost_pose> ghost;  // one per frame, or none
};

// ---- file format (player/replay_format.cpp; docs/replay-format.md) ----------
const uint32_t replay_version = 1;
const uint32_t max_replay_frames = 40 * 60 * 60;   // an hour of play at 40 frames a second
std::vector<unsigned char> encode_replay(const replay_record &r);
// Strict: the whole file or nothing. On failure *error says why and *r is left alone.
bool decode_replay(const unsigned char *data, size_t size, replay_record *r, std::string *error);
bool read_replay_file(const std::string &path, replay_record *r, std::string *error);
bool write_replay_file(const std::string &path, const replay_record &r, std::string *error);
// Steps (do_keyr calls) a record holds, for the reader's checks and tests.
uint64_t replay_step_count(const replay_record &r);

// ---- recording and playback (player/replay.cpp) ----------------------------
extern bool replay_playing;         // a replay is being watched: no records, no focus pause
extern replay_record last_run;      // the attempt being recorded, or the last one

// The seed the next level start uses, once (tools, tests); otherwise a live
// start draws one from rand and a playback uses its record's.
void set_next_level_seed(uint32_t seed);
// Called by level_start before the level is read: seeds rand. And after it:
// starts recording the attempt (or rewinds the playback).
void replay_before_level_load(void);
void replay_after_level_load(void);
// The action bits of one latch step: the replay's next step while playing,
// the keys (and recorded) otherwise. do_keyr calls this once per call.
unsigned replay_latch_step(void);
// A loop that waits for the player inside a frame (wfk, a pause) first asks
// replay_wait_played(): while a replay plays it sets the action latches the
// live wait left behind and returns true, and the loop returns at once.
// Otherwise the loop brackets itself with replay_wait_begin/end: its latch
// steps are not recorded one by one, only the latches it leaves behind.
bool replay_wait_played(void);
void replay_wait_begin(void);
void replay_wait_end(void);
// Called after every run_frame: counts the frame, keeps the ghost pose and
// ends the attempt when the level is finished, lost, timed out or left.
// Returns true on the frame the attempt (or the playback) ended.
bool replay_after_frame(frame_result r);
bool replay_attempt_running(void);
uint32_t replay_frames_done(void);      // frames of the current attempt or playback so far
// "map<n>.trn", or the file name of the level file given on the command line.
std::string current_level_file_name(void);
// Starts watching rec from the next level start (current_level is set to its level).
void start_watching(const replay_record &rec);
void stop_watching(void);
// True when a playback ran out of input before its run ended (a damaged or
// foreign replay): the run is then over.
bool replay_input_exhausted(void);
// True when the level loaded for a playback is not the replay's (checksum).
bool replay_level_differs(void);

// How the last playback ended.
struct replay_outcome {
    bool finished = false;
    uint32_t frames = 0;
    double time_left = 0;
    int level = 0;
};
extern replay_outcome last_playback;
// "replay: level N finished after F frames, T time left" or
// "replay: level N ended after F frames without finishing".
std::string replay_outcome_line(const replay_outcome &o);
// The pose drawn for the player this frame (set by draw_bodies).
extern ghost_pose drawn_player_pose;
