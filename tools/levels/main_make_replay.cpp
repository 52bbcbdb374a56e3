// tools/levels/main_make_replay.cpp -- the author's replays: each finishing
// run of levels/ played headless through the real frame loop while the game
// records it, and written as the replay file the game ships.
// Usage: make_replay GAME_DIR RUN.txt OUT.hhr [RUN.txt OUT.hhr ...]
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include "level_kit.h"
#include "replay.h"

static const int max_run_frames = 3400;    // more than any clock of the game allows

static bool make_one(const std::string &game_dir, const std::string &run_path, const std::string &out)
{
    std::ifstream in(run_path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    run_script run;
    std::string err;
    if (!in || !parse_run(text.str(), &run, &err)) {
        fprintf(stderr, "make_replay: %s: %s\n", run_path.c_str(), in ? err.c_str() : "cannot be read");
        return false;
    }
    run_result r = play_run(game_dir, run, max_run_frames);
    if (!r.finished || replay_attempt_running() || last_run.frames != (uint32_t)r.frames) {
        fprintf(stderr, "make_replay: %s: the run does not finish its level\n", run_path.c_str());
        return false;
    }
    if (!write_replay_file(out, last_run, &err)) {
        fprintf(stderr, "make_replay: %s\n", err.c_str());
        return false;
    }
    size_t whole = encode_replay(last_run).size();
    size_t ghost = last_run.ghost.size() * 14;      // bytes of one stored pose
    printf("make_replay: %s: level %d, %d frames, %.2f time left, %zu bytes (%zu without the ghost)\n",
           out.c_str(), run.level, r.frames, r.time_left, whole, whole - ghost);
    return true;
}

int main(int argc, char **argv)
{
    if (argc < 4 || argc % 2 != 0) {
        fprintf(stderr, "usage: %s GAME_DIR RUN.txt OUT.hhr [RUN.txt OUT.hhr ...]\n", argv[0]);
        return 2;
    }
    std::string err;
    if (!level_tools_init(argv[1], &err)) {
        fprintf(stderr, "make_replay: %s\n", err.c_str());
        return 1;
    }
    for (int i = 2; i + 1 < argc; i += 2)
        if (!make_one(argv[1], argv[i], argv[i + 1])) return 1;
    return 0;
}
