// include/records.h -- best times per level, keyed by the level file's
// checksum, and the attempt that may set one.
// A record is the fewest frames from a level's start to touching its end;
// a tie keeps the earlier run. Only live play counts: an attempt that watched
// a replay, entered an edit mode or whose level file changed sets nothing.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

const int max_records = 1000;
const int frames_per_second = 40;
const int max_record_frames = frames_per_second * 60 * 60 * 24;    // a day of play
const int max_time_left = 1000000;                  // hundredths of clock units

struct level_record {
    int state;                  // 0 free
    uint64_t level;             // checksum of the level file's bytes
    int frames;                 // start to level end
    int time_left;              // clock units left at the end, in hundredths
};

extern level_record records[max_records];

void clear_records(void);
int find_record(uint64_t level);            // slot, or -1 when the level has none
// Offers a finished run; returns 1 when it became the level's record (no
// record yet, or fewer frames), 0 otherwise (also when the table is full).
int offer_record(uint64_t level, int frames, double time_left);

enum records_read_result { RECORDS_READ, RECORDS_MISSING, RECORDS_DAMAGED };
// The strict reader: the header line, then one "<16 hex digits> <frames>
// <time left>" line per level, each ended by a newline, no level twice.
// Anything else leaves the table empty and names the first fault.
records_read_result parse_records(const char *data, size_t size, std::string *problem);
records_read_result read_records_file(const char *path, std::string *problem);
std::string format_records(void);
bool write_records_file(const char *path, std::string *error);

std::string records_path(void);             // "" without a user folder
// At start-up: a damaged file is moved aside to records.txt.bad, one line on
// stderr, and the game starts with no records.
void load_records(void);
void save_records(void);                    // a failure is one line on stderr

// "m:ss.cc" of a frame count at 40 frames a second.
void format_frames(int frames, char *out, int size);
// Seconds of play the clock units left would still have given.
double time_left_seconds(int time_left_hundredths);

// ---- the attempt under way ---------------------------------------------------

struct attempt_state {
    uint64_t level;             // checksum when the attempt began
    int level_known;            // the checksum could be taken
    int frames;                 // frames played so far
    int live;                   // still live play of an unchanged level
    int finished;               // the level end was touched
    int new_best;               // and that run became the record
    double time_left;           // clock units at the end
};
extern attempt_state attempt;

void begin_attempt(uint64_t level, int level_known);
void count_attempt_frame(void);
void attempt_not_live(void);                // a replay or an edit mode took part
// The level end was touched: sets finished, offers the run when still live
// and level_now (the file's checksum now) is the level begun; saves a record.
void finish_attempt(double time_left, uint64_t level_now, int level_now_known);
