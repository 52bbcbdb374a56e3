// player/records.cpp -- the records table, its strict text file, and the
// attempt bookkeeping that offers finished live runs to it.
// The file is rewritten whole through the platform layer's atomic write; a
// file the reader refuses is never overwritten, only moved aside.
#include <cerrno>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstring>
#include "platform.h"
#include "records.h"

level_record records[max_records];
attempt_state attempt;

static const char *const records_header = "hillhopper records 1\n";
static const size_t records_file_limit = 64 * 1024 * 1024;
static const double clock_units_per_frame = 0.03;     // as the frame loop's clock runs down
static int records_writable = 1;              // 0 after a damaged file could not be moved aside

void clear_records(void)
{
    for (level_record &r : records) r = level_record{};
}

int find_record(uint64_t level)
{
    for (int i = 0; i < max_records; i++)
        if (records[i].state && records[i].level == level) return i;
    return -1;
}

static int hundredths(double time_left)
{
    if (!(time_left > 0)) return 0;             // also NaN
    double h = std::floor(time_left * 100 + 0.5);
    return h > max_time_left ? max_time_left : (int)h;
}

int offer_record(uint64_t level, int frames, double time_left)
{
    if (frames <= 0 || frames > max_record_frames) return 0;
    int slot = find_record(level);
    if (slot >= 0) {
        if (frames >= records[slot].frames) return 0;     // a tie keeps the earlier run
    } else {
        for (int i = 0; i < max_records && slot < 0; i++)
            if (!records[i].state) slot = i;
        if (slot < 0) return 0;
    }
    records[slot] = level_record{1, level, frames, hundredths(time_left)};
    return 1;
}

// ---- the file ------------------------------------------------------------------

// Digits only, no sign, no leading zero but for 0 itself, at most hi.
static bool parse_count(const char *s, size_t n, long hi, long *out)
{
    if (n == 0 || n > 9 || (n > 1 && s[0] == '0')) return false;
    long v = 0;
    for (size_t i = 0; i < n; i++) {
        if (s[i] < '0' || s[i] > '9') return false;
        v = v * 10 + (s[i] - '0');
    }
    if (v > hi) return false;
    *out = v;
    return true;
}

static bool parse_checksum(const char *s, size_t n, uint64_t *out)
{
    if (n != 16) return false;
    uint64_t v = 0;
    for (size_t i = 0; i < n; i++) {
        char c = s[i];
        int d = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
        if (d < 0) return false;
        v = v << 4 | (uint64_t)d;
    }
    *out = v;
    return true;
}

// One record line without its newline: three fields, single spaces.
static bool parse_line(const char *s, size_t n, level_record *r)
{
    const char *sp1 = (const char *)memchr(s, ' ', n);
    if (!sp1) return false;
    const char *sp2 = (const char *)memchr(sp1 + 1, ' ', n - (size_t)(sp1 + 1 - s));
    if (!sp2) return false;
    long frames, left;
    if (!parse_checksum(s, (size_t)(sp1 - s), &r->level)) return false;
    if (!parse_count(sp1 + 1, (size_t)(sp2 - sp1 - 1), max_record_frames, &frames) || frames < 1) return false;
    if (!parse_count(sp2 + 1, n - (size_t)(sp2 + 1 - s), max_time_left, &left)) return false;
    r->state = 1;
    r->frames = (int)frames;
    r->time_left = (int)left;
    return true;
}

records_read_result parse_records(const char *data, size_t size, std::string *problem)
{
    clear_records();
    size_t header = strlen(records_header);
    if (size < header || memcmp(data, records_header, header) != 0) {
        *problem = "does not start with the records header";
        return RECORDS_DAMAGED;
    }
    int count = 0, line = 1;
    for (size_t pos = header; pos < size; line++) {
        const char *nl = (const char *)memchr(data + pos, '\n', size - pos);
        level_record r;
        if (!nl) *problem = "line " + std::to_string(line + 1) + " has no end";
        else if (count >= max_records) *problem = "more than " + std::to_string(max_records) + " records";
        else if (!parse_line(data + pos, (size_t)(nl - data - pos), &r)) *problem = "line " + std::to_string(line + 1) + " is not a record";
        else if (find_record(r.level) >= 0) *problem = "line " + std::to_string(line + 1) + " repeats a level";
        else {
            records[count++] = r;
            pos = (size_t)(nl - data) + 1;
            continue;
        }
        clear_records();
        return RECORDS_DAMAGED;
    }
    return RECORDS_READ;
}

records_read_result read_records_file(const char *path, std::string *problem)
{
    clear_records();
    FILE *fp = fopen(path, "rb");
    if (!fp) {
        if (errno == ENOENT) return RECORDS_MISSING;
        *problem = strerror(errno);
        return RECORDS_DAMAGED;
    }
    std::string data;
    char chunk[65536];
    size_t got;
    while ((got = fread(chunk, 1, sizeof(chunk), fp)) > 0 && data.size() <= records_file_limit)
        data.append(chunk, got);
    bool failed = ferror(fp) != 0;
    fclose(fp);
    if (failed || data.size() > records_file_limit) {
        *problem = failed ? "cannot be read" : "is too large";
        return RECORDS_DAMAGED;
    }
    return parse_records(data.data(), data.size(), problem);
}

std::string format_records(void)
{
    std::string s = records_header;
    for (const level_record &r : records) {
        if (!r.state) continue;
        char line[64];
        snprintf(line, sizeof(line), "%016" PRIx64 " %d %d\n", r.level, r.frames, r.time_left);
        s += line;
    }
    return s;
}

bool write_records_file(const char *path, std::string *error)
{
    std::string text = format_records();
    return write_file_atomically(path, text.data(), text.size(), error);
}

std::string records_path(void)
{
    std::string dir = user_data_dir();
    return dir.empty() ? "" : path_join(dir, "records.txt");
}

void load_records(void)
{
    std::string path = records_path(), problem;
    if (path.empty() || read_records_file(path.c_str(), &problem) != RECORDS_DAMAGED) return;
    std::string bad = path + ".bad", error;
    bool moved = replace_file(path, bad, &error);
    fprintf(stderr, "hillhopper: %s %s; %s, starting with no records\n", path.c_str(), problem.c_str(),
            moved ? ("moved aside to " + bad).c_str() : ("left as it is: " + error).c_str());
    // A file that could not be moved must not be overwritten by the next record.
    if (!moved) records_writable = 0;
}

void save_records(void)
{
    std::string path = records_path(), error;
    if (path.empty() || !records_writable) return;
    if (!write_records_file(path.c_str(), &error))
        fprintf(stderr, "hillhopper: records not saved: %s\n", error.c_str());
}

void format_frames(int frames, char *out, int size)
{
    if (frames < 0) frames = 0;
    int centis = (int)((long long)frames * 100 / frames_per_second);
    snprintf(out, (size_t)size, "%d:%02d.%02d", centis / 6000, centis / 100 % 60, centis % 100);
}

double time_left_seconds(int time_left_hundredths)
{
    return time_left_hundredths / 100.0 / clock_units_per_frame / frames_per_second;
}

// ---- the attempt -----------------------------------------------------------------

void begin_attempt(uint64_t level, int level_known)
{
    attempt = attempt_state{};
    attempt.level = level;
    attempt.level_known = level_known;
    attempt.live = level_known;
}

void count_attempt_frame(void)
{
    if (!attempt.finished) attempt.frames++;
}

void attempt_not_live(void)
{
    attempt.live = 0;
}

void finish_attempt(double time_left, uint64_t level_now, int level_now_known)
{
    if (attempt.finished) return;
    attempt.finished = 1;
    attempt.time_left = time_left;
    if (!attempt.live || !level_now_known || level_now != attempt.level) return;
    attempt.new_best = offer_record(attempt.level, attempt.frames, time_left);
    if (attempt.new_best) save_records();
}
