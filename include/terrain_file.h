// include/terrain_file.h -- level files "map<n>.trn" and the level set-up.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>
#include "structs.h"

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
unsigned char *level_table_record(const level_tables &t, int s, int slot);
// The record's file image into out (max_record_image bytes, zero padded);
// returns the image size. Two records save alike exactly when these agree.
int level_record_image(int s, const void *record, unsigned char *out);
int level_record_used(int s, const void *record);
// The whole file image of a set of tables, with level_desc's section when
// it is present.
std::vector<unsigned char> level_image_of(const level_tables &t);
// The safe save of an image: the old file (if any) is kept as path.bak; an
// old file that exists but cannot be read stops the save, and so does an
// invalid level_desc. 1 on success, else 0 with the reason in why and the
// old file untouched.
int save_level_image(const char *path, const std::vector<unsigned char> &image, std::string *why);
// Replaces path with buf atomically (the platform layer's temporary file,
// sync and replace).
int write_file_replacing(const char *path, const std::vector<unsigned char> &buf, std::string *why);

// Checks the file at path as load_terrain_file would, without touching any
// table: true with its description (present false for a file without a level
// section) and the CRC-64 of its bytes; false with the reason ("missing" for a
// file that does not open).
struct level_description;
bool peek_level_file(const char *path, level_description *d, uint64_t *checksum, std::string *why);

// The fixed per-level values of the levels from before files described
// themselves: start point, start angle and time allowed. Levels 0 to 3 have
// table values; any other level number gets the default (origin, angle 0,
// 75 units of time).
struct level_values {
    double x, y, ang, time;
};
level_values level_start_values(int lev);
const int num_stored_levels = 4;    // levels 0 to 3 have table values

// What a level says about itself: the optional level section after the last
// record section of a level file (docs/level-format.md). A file without it
// gets the table values above and no name.
const int level_name_bytes = 64;    // UTF-8, NUL-terminated, so 63 bytes of text
enum level_language { NAME_EN = 0, NAME_DE = 1, NUM_NAME_LANGUAGES = 2 };
enum level_sky { SKY_DAY = 0, SKY_DUSK = 1, SKY_NIGHT = 2, SKY_HALL = 3, SKY_DESERT = 4, NUM_SKIES = 5 };
const int music_rotation = -1;      // no track of its own: the tracks in turn
const double level_time_min = 5, level_time_max = 995;
struct level_description {
    bool present;                   // read from the file / written by a save
    double start_x, start_y, start_ang, time;
    int sky;                        // a level_sky
    int music;                      // a music_slot, or music_rotation
    char name[NUM_NAME_LANGUAGES][level_name_bytes];
};
// The loaded level's description: load_terrain_file fills it from the file
// (present false when the file has no section), load_level completes it with
// the table values, the editor edits it, every save writes it when present.
extern level_description level_desc;
// The table values of level lev (0 to 3) or the default, with no name and
// present false.
level_description default_level_description(int lev);
// Copies text into a name field: cut at a UTF-8 character boundary so that it
// fits; control characters become spaces.
void set_level_name(level_description *d, int language, const char *text);
// Checks a description as the reader does; false with the reason.
bool level_description_ok(const level_description &d, const char **why);
// The name to show: the level's own, its English name for a missing German
// one, else "Stage N" ("Stufe N" in German; n counted from 1).
std::string level_shown_name(const level_description &d, int language, int level_number);
