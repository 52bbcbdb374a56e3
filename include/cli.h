// include/cli.h -- the command line: what to start with, checked before any
// window opens. A bad argument, a missing file or a replay that is damaged or
// belongs to another level ends the program with one line and status 2.
#pragma once
#include <string>
#include "replay.h"

struct launch_options {
    int level = -1;                 // --level N: start that level, no start screen
    std::string level_file;         // --level FILE: play a level file from anywhere
    std::string replay_file;        // --replay FILE: watch it, print one line, exit
    int fullscreen = -1;            // --windowed 0, --fullscreen 1, -1 not given
    replay_record replay;           // the replay, read and checked
};
extern launch_options launch;

const int exit_bad_arguments = 2;
// Parses and checks argv into *o (levels are looked up in the current folder,
// the game's data folder). Returns -1 to go on, or the status to exit with:
// 0 after --help or --version, exit_bad_arguments after a one-line message.
int parse_command_line(int argc, char **argv, launch_options *o);
// The game's start for these options: sets current_level, the level file and
// the start mode. True when the start screen is skipped.
bool apply_launch_options(const launch_options &o);
// Watches launch.replay in the window and prints the "replay:" line; returns
// the exit status.
int watch_launch_replay(void);

// Keys while a replay plays: Esc ends it, Space pauses, Right 4x, Left 1x.
// Returns false when the viewer ended the playback.
bool replay_viewer_keys(void);
int replay_speed(void);             // 1 or 4
