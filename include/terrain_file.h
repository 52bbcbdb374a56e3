// include/terrain_file.h -- level files "map<n>.trn" and the level set-up.
#pragma once
#include <string>

// Sets up level lev for play: level-state slots, objects cleared, terrain
// read (levels 0 to 3), start point, player body and camera.
void load_level(int lev);
void load_plain_level(void);        // empties the terrain tables, rebuilds the grid
// Empties the terrain, then reads map<lev>.trn from the game's data folder if it opens. A malformed file
// is refused whole (one line on stderr) and the terrain stays empty.
void load_terrain(int lev);
// A level file from anywhere (--level FILE): while set, load_terrain reads it
// in place of map<lev>.trn. Empty: the numbered files.
extern std::string level_file_override;
// Writes map<lev>.trn (to level_save_path) from the tables through a
// temporary file; the old file is kept as map<lev>.trn.bak. A failed save
// leaves the old file and its .bak untouched and says so on stderr.
void save_terrain(int lev);
// Where load_terrain reads level lev, and where save_terrain writes it: the
// same file when its folder is writable, else the user's levels folder.
std::string level_load_path(int lev);
std::string level_save_path(int lev);

// The same on an explicit path, for tools and tests.
// Returns 1 when the file was read, 0 when it was missing or refused (the
// terrain is empty then; waypoints and bonuses are left as they were).
int load_terrain_file(const char *path);
// Returns 1 when the file was replaced, 0 when the old one was left untouched.
int save_terrain_file(const char *path);

// The fixed per-level values: start point, start angle and time allowed.
struct level_values {
    double x, y, ang, time;
};
level_values level_start_values(int lev);
const int num_stored_levels = 4;    // levels 0 to 3 read a level file
