// tools/levels/level_kit.h -- the level tools' shared core: the names of
// textures and pictures, the level source reader and builder, the dumper, and
// the replay of a finishing run through the real frame loop.
// Everything here works on the game's own world tables, headless.
#pragma once
#include <functional>
#include <string>
#include <vector>

// ---- names -------------------------------------------------------------
// Terrain textures and doodad pictures are named in level sources, never
// numbered; the numbers come from the slot names of include/slots.h.
int texture_by_name(const std::string &name);     // -1 when unknown
const char *texture_name(int slot);                // nullptr when unnamed
int picture_by_name(const std::string &name);
const char *picture_name(int slot);
int sky_by_name(const std::string &name);          // -1 when unknown
const char *sky_name(int sky);
int music_by_name(const std::string &name);        // a track, -1 for "rotation", -2 unknown
const char *music_name(int track);                 // "rotation" for -1

// ---- set-up -------------------------------------------------------------
// Installs Allegro without a display, allocates the world tables (once) and
// makes headless textures with the real sizes of the pictures in
// game_dir/ttex01.dat and game_dir/doodads01.dat, so that border widths and
// doodad sizes come out as the game will see them. False with a message when
// a datafile is missing.
bool level_tools_init(const std::string &game_dir, std::string *error);

// ---- building --------------------------------------------------------------
// Empties the terrain, waypoint and bonus tables and builds the level that the
// source text describes through the game's creation operations. On a fault
// the message names the source and the line; the tables are then undefined.
bool build_level_text(const std::string &text, const std::string &source_name,
                      std::string *error);
bool build_level_file(const std::string &path, std::string *error);
// Writes map<lev>.trn into dir with the game's own writer (no backup).
bool save_level_to(const std::string &dir, int lev);
// Reads map<lev>.trn from dir with the game's own strict reader (waypoints
// and bonuses are cleared first, as a level start does). False when the file
// is missing or refused.
bool load_level_from(const std::string &dir, int lev);

// ---- dumping ----------------------------------------------------------------
// The current tables as level source text in the replay form: one line per
// record, in slot order, which the builder turns back into the same tables.
// Records that a plain replay cannot reproduce (an editor's holes, moved
// outer vertices) are appended as "set" lines; *patches receives their count.
std::string dump_level_text(int *patches);

// ---- finishing runs ------------------------------------------------------
// A run is a list of key changes by frame number (frame 0 is the first frame
// after the level start). Keys are the game's play keys by name.
struct run_event {
    int frame;
    int key;            // Allegro key code
    bool down;
};
struct run_script {
    int level = 0;
    std::vector<run_event> events;
};
bool parse_run(const std::string &text, run_script *run, std::string *error);
std::string format_run(const run_script &run);
const char *run_key_name(int key);

struct run_result {
    bool finished = false;      // the level-complete counter started
    bool lost = false;          // time ran out or the player died
    int frames = 0;             // frames played until the end or the limit
    double time_left = 0;       // clock when the level was completed
    double x = 0, y = 0;        // where the player was at the end
    int waypoints = 0;          // waypoints taken
};
// Plays the run from a fresh start of its level (map files read from dir)
// through the real frame loop, headless and unpaced, for at most max_frames.
// observe, when given, is called after every frame with the frame number.
run_result play_run(const std::string &dir, const run_script &run, int max_frames,
                    void (*observe)(int frame) = nullptr);
// The same with a policy: before runs ahead of every frame and may set key[];
// after runs once the frame is done.
run_result play_level(const std::string &dir, int level, int max_frames,
                      const std::function<void(int)> &before,
                      const std::function<void(int)> &after);
