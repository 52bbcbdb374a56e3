// tools/levels/main_make_replay.cpp -- the author's replays: each finishing
// run of levels/ played headless through the real frame loop while the game
// records it, and written as the replay file the game ships.
// Usage: make_replay GAME_DIR FIGURES RUN.txt OUT.hhr [RUN.txt OUT.hhr ...]
// FIGURES gets one line per replay, "<file name> <the line --replay prints>",
// for the test that plays them through the real program.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include "level_kit.h"
#include "replay.h"

static const int max_run_frames = 3400;    // more than any clock of the game allows

static bool make_one(const std::string &game_dir, const std::string &run_path, const std::string &out,
                     FILE *figures)
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
    replay_outcome o{true, (uint32_t)r.frames, r.time_left, run.level};
    size_t slash = out.find_last_of('/');
    fprintf(figures, "%s %s\n", out.substr(slash == std::string::npos ? 0 : slash + 1).c_str(),
            replay_outcome_line(o).c_str());
    size_t whole = encode_replay(last_run).size();
    size_t ghost = last_run.ghost.size() * 14;      // bytes of one stored pose
    printf("make_replay: %s: level %d, %d frames, %.2f time left, %zu bytes (%zu without the ghost)\n",
           out.c_str(), run.level, r.frames, r.time_left, whole, whole - ghost);
    return true;
}

int main(int argc, char **argv)
{
    if (argc < 5 || argc % 2 != 1) {
        fprintf(stderr, "usage: %s GAME_DIR FIGURES RUN.txt OUT.hhr [RUN.txt OUT.hhr ...]\n", argv[0]);
        return 2;
    }
    std::string err;
    if (!level_tools_init(argv[1], &err)) {
        fprintf(stderr, "make_replay: %s\n", err.c_str());
        return 1;
    }
    FILE *figures = fopen(argv[2], "w");
    if (!figures) {
        fprintf(stderr, "make_replay: %s cannot be written\n", argv[2]);
        return 1;
    }
    bool ok = true;
    for (int i = 3; i + 1 < argc && ok; i += 2) ok = make_one(argv[1], argv[i], argv[i + 1], figures);
    return fclose(figures) == 0 && ok ? 0 : 1;
}
