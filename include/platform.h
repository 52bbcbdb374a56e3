// include/platform.h -- what differs between operating systems: the user's
// data folder, replacing a file atomically, listing a folder.
// Minimal POSIX part written for the replays until the full layer lands;
// the names and contracts are the agreed ones.
#pragma once
#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

// The folder the game writes to, created on demand; "" if it cannot be made.
// HILLHOPPER_DATA_HOME overrides (tests), else $XDG_DATA_HOME/hillhopper,
// else ~/.local/share/hillhopper.
std::string user_data_dir();
// A folder inside user_data_dir() ("replays", "levels"), created on demand; "" on failure.
std::string user_data_subdir(const char *name);
// Creates the folder and its missing parents; true when it exists afterwards.
bool make_dirs(const std::string &path);
// Temporary file in the same folder, flush, fsync, then replace path with it.
// On failure the old file is left as it was and *error says why.
bool write_file_atomically(const std::string &path, const void *data, size_t size, std::string *error);
bool replace_file(const std::string &from, const std::string &to, std::string *error);
bool sync_and_close(FILE *f);       // fflush + fsync + fclose; false when any step failed
// Names of the files in dir ending in extension, sorted; empty when dir cannot be read.
std::vector<std::string> list_files(const std::string &dir, const char *extension);
std::string path_join(const std::string &a, const std::string &b);
