// player/replay_store.cpp -- the best and the last run of every level in the
// user's replays/ folder, named by the level's checksum.
#include <cinttypes>
#include <cstdio>
#include "replay_store.h"
#include "level_id.h"
#include "platform.h"
#include "terrain_file.h"
#include "std_gfuncs.h"
#include "hillhopper.h"

bool replay_keep_attempts = false;

std::string replay_file_path(uint64_t checksum, const char *which)
{
    std::string dir = user_data_subdir("replays");
    if (dir.empty()) return "";
    char name[64];
    snprintf(name, sizeof(name), "%016" PRIx64 ".%s.hhr", checksum, which);
    return path_join(dir, name);
}

bool replay_beats(const replay_record &rec, const replay_record *best)
{
    if (!rec.finished) return false;
    return !best || !best->finished || rec.frames < best->frames;
}

bool load_best_replay(uint64_t checksum, replay_record *r)
{
    std::string path = replay_file_path(checksum, "best");
    std::string error;
    if (path.empty() || !read_replay_file(path, r, &error)) return false;
    return r->level_checksum == checksum && r->finished;
}

// The file the attempt's level came from, as it is on disk now.
static bool level_file_unchanged(const replay_record &r)
{
    std::string path = level_load_path(r.level);
    bool ok = false;
    uint64_t now = level_checksum_of_file(path.c_str(), &ok);
    return (ok ? now : 0) == r.level_checksum;
}

static void write_or_say(const std::string &path, const replay_record &r)
{
    std::string error;
    if (path.empty()) {
        fprintf(stderr, "hillhopper: no user data folder; the run is not kept\n");
        return;
    }
    if (!write_replay_file(path, r, &error))
        fprintf(stderr, "hillhopper: replay not kept: %s\n", error.c_str());
}

void keep_attempt(const replay_record &r)
{
    if (!replay_keep_attempts || !level_file_unchanged(r)) return;
    write_or_say(replay_file_path(r.level_checksum, "last"), r);
    replay_record best;
    bool have_best = load_best_replay(r.level_checksum, &best);
    if (replay_beats(r, have_best ? &best : nullptr))
        write_or_say(replay_file_path(r.level_checksum, "best"), r);
}
