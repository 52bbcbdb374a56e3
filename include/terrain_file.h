// include/terrain_file.h -- level files "map<n>.trn" and the level set-up.
#pragma once
#include <cstddef>
#include <string>
#include <vector>
#include "structs.h"

// Sets up level lev for play: level-state slots, objects cleared, terrain
// read (levels 0 to 3), start point, player body and camera.
void load_level(int lev);
void load_plain_level(void);        // empties the terrain tables, rebuilds the grid
// Empties the terrain, then reads map<lev>.trn if it opens. A malformed file
// is refused whole (one line on stderr) and the terrain stays empty.
void load_terrain(int lev);
// Writes map<lev>.trn from the tables through a temporary file; the old file
// is kept as map<lev>.trn.bak. A failed save leaves the old file untouched
// and says so on stderr.
void save_terrain(int lev);
std::string level_file_path(int lev);   // the file level lev is read from and saved to

// The same on an explicit path, for tools and tests.
// Returns 1 when the file was read, 0 when it was missing or refused (the
// terrain is empty then; waypoints and bonuses are left as they were).
// A refusal also leaves its reason in level_refusal ("" after a read or a
// missing file); references to free slots are refused, naming the record.
int load_terrain_file(const char *path);
extern std::string level_refusal;
// Returns 1 when the file was replaced, 0 when the old one was left untouched.
int save_terrain_file(const char *path);

// ---- the tables a level file holds, wherever they are kept ---------------------
// The editor keeps a design copy of them apart from the live tables of play.

enum level_section { SEC_TV, SEC_JNT, SEC_PLY, SEC_BDR, SEC_DAD, SEC_WPT, SEC_BONUS, num_level_sections };
const int max_record_image = 40;        // bytes of the largest record image (a border)

struct level_tables {
    terrain_vertex_struct *tv;
    jnt_struct *jnt;
    ply_struct *ply;
    bdr_struct *bdr;
    dad_struct *dad;
    wpt_struct *wpt;
    bonus_struct *bonus;
};
level_tables live_level_tables(void);
int level_section_capacity(int s);
size_t level_record_size(int s);        // sizeof the record in memory
const char *level_section_name(int s);
unsigned char *level_record(const level_tables &t, int s, int slot);
// The record's file image into out (max_record_image bytes, zero padded);
// returns the image size. Two records save alike exactly when these agree.
int level_record_image(int s, const void *record, unsigned char *out);
int level_record_used(int s, const void *record);
// The whole file image of a set of tables.
std::vector<unsigned char> level_image_of(const level_tables &t);
// The safe save of an image: the old file (if any) is kept as path.bak; an
// old file that exists but cannot be read stops the save. 1 on success, else
// 0 with the reason in why, the old file untouched.
int save_level_image(const char *path, const std::vector<unsigned char> &image, std::string *why);
// Replaces path with buf through a synced temporary file in the same folder.
int write_file_replacing(const char *path, const std::vector<unsigned char> &buf, std::string *why);

// The fixed per-level values: start point, start angle and time allowed.
struct level_values {
    double x, y, ang, time;
};
level_values level_start_values(int lev);
const int num_stored_levels = 4;    // levels 0 to 3 read a level file
