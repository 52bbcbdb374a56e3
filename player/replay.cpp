// player/replay.cpp -- recording every attempt and playing a record back.
// Recording appends one entry per change of the action bits, so a frame costs
// a comparison and an increment. Playback feeds the recorded bits to the
// latches in the same order, which is all the game's play code reads.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include "replay.h"
#include "replay_store.h"
#include "actions.h"
#include "hillhopper.h"
#include "level_id.h"
#include "std_gfuncs.h"
#include "terrain_file.h"

bool replay_playing = false;
replay_record last_run;
ghost_pose drawn_player_pose;
replay_outcome last_playback;

std::string replay_outcome_line(const replay_outcome &o)
{
    char b[128];
    if (o.finished)
        snprintf(b, sizeof(b), "replay: level %d finished after %u frames, %.2f time left", o.level, o.frames, o.time_left);
    else
        snprintf(b, sizeof(b), "replay: level %d ended after %u frames without finishing", o.level, o.frames);
    return b;
}

static bool seed_given = false;
static uint32_t given_seed = 0;
static bool recording = false;
static bool recorded_in_edit_mode = false;
static int wait_depth = 0;
static uint32_t frames_done = 0;

static replay_record watched;
static size_t play_entry = 0;       // entry of watched.input being played
static uint32_t play_used = 0;      // steps of that entry already fed
static bool exhausted = false;
static bool playback_started = false;   // its level start has been made
static bool level_differs = false;

void set_next_level_seed(uint32_t seed)
{
    seed_given = true;
    given_seed = seed;
}

void start_watching(const replay_record &rec)
{
    watched = rec;
    replay_playing = true;
    playback_started = false;
    current_level = rec.level;
}

void stop_watching(void)
{
    replay_playing = false;
}

bool replay_input_exhausted(void) { return exhausted; }
bool replay_level_differs(void) { return level_differs; }
bool replay_attempt_running(void) { return recording; }
uint32_t replay_frames_done(void) { return frames_done; }

void replay_before_level_load(void)
{
    uint32_t seed;
    if (replay_playing) {
        seed = watched.seed;
        play_entry = 0;
        play_used = 0;
        exhausted = false;
    } else if (seed_given) {
        seed = given_seed;
        seed_given = false;
    } else {
        seed = (uint32_t)rand();
    }
    srand(seed);
    last_run.seed = seed;
}

std::string current_level_file_name(void)
{
    const std::string &o = level_file_override;
    if (!o.empty()) {
        size_t slash = o.find_last_of("/\\");
        return slash == std::string::npos ? o : o.substr(slash + 1);
    }
    return "map" + std::to_string(current_level) + ".trn";
}

void replay_after_level_load(void)
{
    frames_done = 0;
    wait_depth = 0;
    if (replay_playing) {
        level_differs = current_level_checksum != watched.level_checksum;
        recording = false;
        playback_started = true;
        display_controls = 0;       // the recorded wait, if any, sets its latches without the screen
        return;
    }
    uint32_t seed = last_run.seed;
    last_run = replay_record{};
    last_run.seed = seed;
    last_run.level = current_level;
    last_run.level_file = current_level_file_name();
    last_run.level_checksum = current_level_checksum;
    last_run.input.reserve(256);
    last_run.ghost.reserve(4096);
    recording = true;
    recorded_in_edit_mode = false;
}

// ---- latch steps ------------------------------------------------------------------

static void record_step(unsigned bits)
{
    std::vector<replay_input> &in = last_run.input;
    if (!in.empty() && in.back().kind == input_steps && in.back().value == bits) {
        in.back().count++;
        return;
    }
    in.push_back(replay_input{(uint8_t)input_steps, bits, 1});
}

static void unpack_latches(uint32_t v);

// Every wait ends a frame (the controls screen is the frame's last step), so
// a wait the playback did not make (its controls screen was not up at the
// start) still leaves its latches for the next step, as the live wait did.
static unsigned played_step(void)
{
    const std::vector<replay_input> &in = watched.input;
    while (play_entry < in.size() && in[play_entry].kind == input_wait) unpack_latches(in[play_entry++].value);
    if (play_entry >= in.size()) {
        exhausted = true;
        return 0;
    }
    unsigned bits = in[play_entry].value;
    if (++play_used >= in[play_entry].count) {
        play_entry++;
        play_used = 0;
    }
    return bits;
}

unsigned replay_latch_step(void)
{
    if (replay_playing && wait_depth == 0) return played_step();
    unsigned bits = action_down_bits();
    if (recording && wait_depth == 0) record_step(bits);
    return bits;
}

// ---- waits -------------------------------------------------------------------------

static uint32_t packed_latches(void)
{
    uint32_t v = 0;
    for (int a = 0; a < NUM_ACTIONS; a++) v |= (uint32_t)(actr[a] & 3) << (2 * a);
    return v;
}

static void unpack_latches(uint32_t v)
{
    for (int a = 0; a < NUM_ACTIONS; a++) actr[a] = (char)((v >> (2 * a)) & 3);
}

// A wait recorded here is next in the input exactly when the live game waited
// at this point; a wait that returned at once (headless) recorded nothing.
bool replay_wait_played(void)
{
    if (!replay_playing || wait_depth != 0) return false;
    const std::vector<replay_input> &in = watched.input;
    if (play_entry < in.size() && play_used == 0 && in[play_entry].kind == input_wait) {
        unpack_latches(in[play_entry].value);
        play_entry++;
    }
    return true;
}

void replay_wait_begin(void)
{
    wait_depth++;
}

void replay_wait_end(void)
{
    if (wait_depth > 0) wait_depth--;
    if (wait_depth == 0 && recording)
        last_run.input.push_back(replay_input{(uint8_t)input_wait, packed_latches(), 1});
}

// ---- the end of a frame ---------------------------------------------------------------

static bool run_is_over(frame_result r)
{
    return j[J_LEVEL_DONE] != 0 || f[F_TIME] <= 0 || j[J_LOST] || r != FRAME_NEXT;
}

static bool playback_after_frame(frame_result r)
{
    frames_done++;
    bool over = run_is_over(r) || exhausted || frames_done >= watched.frames;
    if (!over) return false;
    last_playback.finished = j[J_LEVEL_DONE] != 0;
    last_playback.frames = frames_done;
    last_playback.time_left = f[F_TIME];
    last_playback.level = watched.level;
    replay_playing = false;
    return true;
}

bool replay_after_frame(frame_result r)
{
    // The frame that chose to watch ends before the playback's level start.
    if (replay_playing) return playback_started && playback_after_frame(r);
    if (!recording) return false;
    frames_done++;
    if (edit_mode != 0) recorded_in_edit_mode = true;
    if (last_run.ghost.size() < max_replay_frames) last_run.ghost.push_back(drawn_player_pose);
    bool over = run_is_over(r) || frames_done >= max_replay_frames;
    if (!over) return false;
    recording = false;
    last_run.frames = frames_done;
    last_run.finished = j[J_LEVEL_DONE] != 0;
    last_run.time_left = last_run.finished && f[F_TIME] > 0 ? f[F_TIME] : 0;
    if (!recorded_in_edit_mode) keep_attempt(last_run);
    return true;
}
