// include/platform.h -- what differs between operating systems: the user's
// data folder, the game's data folder, replacing a file atomically, flushing
// it to disk, the executable's own folder, listing a folder.
// Paths are UTF-8 strings everywhere; on Windows the calls behind them are
// the wide-character ones, so a user name or unzip folder with letters
// outside ASCII works. Nothing here needs Allegro.
#pragma once
#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

// The folder the game writes to, created on demand; "" if it cannot be made.
// HILLHOPPER_DATA_HOME overrides (tests), else $XDG_DATA_HOME/hillhopper,
// ~/.local/share/hillhopper, or %APPDATA%\Hillhopper on Windows.
std::string user_data_dir();
// A folder inside user_data_dir() ("replays", "levels"), created on demand;
// "" on failure.
std::string user_data_subdir(const char *name);
// Creates the folder and its missing parents; true when it exists afterwards.
bool make_dirs(const std::string &path);

// Writes a temporary file in the same folder, flushes and syncs it, then
// replaces path with it. On any failure the old file is left as it was, the
// temporary file is removed and *error (if given) says what went wrong.
bool write_file_atomically(const std::string &path, const void *data, size_t size, std::string *error);
// Makes `from` the file `to` in one step, replacing an existing `to`
// (rename on POSIX, MoveFileExW on Windows, where rename refuses to replace).
bool replace_file(const std::string &from, const std::string &to, std::string *error);
// fflush + fsync (_commit on Windows) + fclose. The file is closed even when
// an earlier step fails; false when any step failed.
bool sync_and_close(FILE *f);
// True when a file can be created in dir (tried, not guessed from modes:
// root and Windows' access lists make mode bits unreliable).
bool dir_is_writable(const std::string &dir);

// Folder of the running executable ("." if it cannot be found).
std::string exe_dir();
// Where the datafiles and levels are: HILLHOPPER_GAME_DATA, else exe_dir()
// when it holds the datafiles, else the install folder
// (/usr/share/games/hillhopper), else ".".
std::string game_data_dir();
// path_join(game_data_dir(), name).
std::string game_data_path(const char *name);

// Names (not paths) of the files in dir ending in extension (".trn"; NULL or
// "" for all), sorted bytewise. Empty when dir cannot be read.
std::vector<std::string> list_files(const std::string &dir, const char *extension);
// a + separator + b; b alone when a is empty or b is absolute.
std::string path_join(const std::string &a, const std::string &b);
// The folder part of a path ("." for a bare name).
std::string path_dir(const std::string &path);

// fopen for a UTF-8 path (_wfopen on Windows).
FILE *open_file(const std::string &path, const char *mode);
bool file_exists(const std::string &path);
bool remove_file(const std::string &path);
// When the file was last written, in nanoseconds of some fixed epoch (only
// for comparing two files); false when the file cannot be looked at.
bool file_modified_time(const std::string &path, long long *ns);
// The path in a form Allegro's own loaders can open: the path itself, or on
// Windows its short (8.3) form when the long one is not ASCII.
std::string loader_path(const std::string &path);

// True where the system offers a MIDI output of its own (Windows' MIDI
// mapper); elsewhere music is synthesised from the patch set only.
bool system_has_midi_output();

// Windows: a GUI program started from a console writes its standard output
// and error there. Elsewhere nothing to do.
void attach_parent_console();
