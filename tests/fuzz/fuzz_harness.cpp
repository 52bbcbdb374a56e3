// tests/fuzz/fuzz_harness.cpp -- one fuzz input through the real level start
// and frame loop, headless, with the world invariants checked at every step.
// Everything here is deterministic for a given input: rand is reseeded and
// the keys are a fixed script, so a crash file replays exactly.
#include "fuzz_harness.h"
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <unistd.h>
#include <allegro.h>
#include "hillhopper.h"
#include "game.h"
#include "terrain_file.h"
#include "bodies.h"
#include "std_gfuncs.h"
#include "level_kit.h"
#include "world_check.h"
#include "replay.h"
#include "bindings.h"
#include "records.h"
#include "settings.h"

static std::string scratch_dir;

// The scratch folder holds only flat files and links of our own.
static void remove_scratch(void)
{
    if (scratch_dir.empty()) return;
    if (DIR *d = opendir(scratch_dir.c_str())) {
        while (dirent *e = readdir(d))
            if (strcmp(e->d_name, ".") != 0 && strcmp(e->d_name, "..") != 0)
                unlink((scratch_dir + "/" + e->d_name).c_str());
        closedir(d);
    }
    rmdir(scratch_dir.c_str());
}

bool fuzz_setup(const char *game_dir, std::string *error)
{
    static bool done = false;
    if (done) return true;
    if (!level_tools_init(game_dir, error)) return false;
    // The links below are made from inside the scratch folder.
    char absolute[4096];
    if (!realpath(game_dir, absolute)) {
        *error = std::string(game_dir) + ": " + strerror(errno);
        return false;
    }
    char tmpl[] = "/tmp/hillhopper_fuzz_XXXXXX";
    if (!mkdtemp(tmpl) || chdir(tmpl) != 0) {
        *error = std::string("cannot make a scratch folder: ") + strerror(errno);
        return false;
    }
    scratch_dir = tmpl;
    atexit(remove_scratch);
    // The level start reads the doodad datafile again for the level sign.
    // Replays play on the shipped level 0 under a name no target writes to
    // (a write to map0.trn would go through the link into the game folder).
    const char *links[][2] = {{"ttex01.dat", "ttex01.dat"}, {"doodads01.dat", "doodads01.dat"},
                              {"map0.trn", "replay_level.trn"}};
    for (const auto &l : links) {
        std::string from = std::string(absolute) + "/" + l[0];
        if (symlink(from.c_str(), l[1]) != 0 && errno != EEXIST) {
            *error = "cannot link " + from + ": " + strerror(errno);
            return false;
        }
    }
    pacing_enabled = 0;
    done = true;
    return true;
}

static bool write_file(const char *path, const uint8_t *data, size_t size)
{
    FILE *fp = fopen(path, "wb");
    if (!fp) return false;
    bool ok = fwrite(data, 1, size, fp) == size;
    return fclose(fp) == 0 && ok;
}

static bool read_file(const char *path, std::string *out)
{
    FILE *fp = fopen(path, "rb");
    if (!fp) return false;
    char chunk[65536];
    size_t got;
    while ((got = fread(chunk, 1, sizeof(chunk), fp)) > 0) out->append(chunk, got);
    fclose(fp);
    return true;
}

// The fixed key script of one drop: run right, charge and jump, spin, boost.
const int frames_per_drop = 25;
static void drop_keys(int frame)
{
    for (int k = 0; k < KEY_MAX; k++) key[k] = 0;
    key[KEY_RIGHT] = frame < 18;
    key[KEY_ENTER] = frame >= 4 && frame < 12;
    key[KEY_UP] = frame >= 13 && frame < 17;
    key[KEY_RCONTROL] = frame == 14 || frame == 20;
    key[KEY_RSHIFT] = frame == 22;
    key[KEY_LEFT] = frame >= 20;
}

// Places the player afresh, as a level start does, at (x, y).
static void drop_player(double x, double y)
{
    f[F_START_X] = x;
    f[F_START_Y] = y;
    j[J_BOOSTS] = 2;
    clear_bodies();
    new_body(0, 0, 0, 0, 0, 0);
}

// Drop points: the level's start, then above the first live joints' vertices
// of the file that lie inside the region grid (so that landings on the
// fuzzed terrain are tried), and points along the middle of the grid when
// there are too few. A player is only ever placed where the game could put
// it: the file's coordinates may be anything.
static bool inside_grid(double x, double y)
{
    return x > -80 && x < 80 && y > -40 && y < 40;     // also false for NaN
}

static int drop_points(double xs[], double ys[], int max)
{
    int n = 0;
    xs[n] = f[F_START_X];
    ys[n++] = f[F_START_Y];
    for (int i = 0; i < num_jnts && n < max; i++) {
        if (!jnt[i].state) continue;
        const terrain_vertex_struct &v = tv[jnt[i].tvn[0]];
        if (!inside_grid(v.x, v.y + 0.4)) continue;
        xs[n] = v.x;
        ys[n++] = v.y + 0.4;
    }
    while (n < max) {
        xs[n] = n * 3.0;
        ys[n++] = 0;
    }
    return n;
}

static std::string play_drop(int d)
{
    for (int fr = 0; fr < frames_per_drop; fr++) {
        drop_keys(fr);
        frame_result r = run_frame();
        std::string s = world_problem();
        if (!s.empty()) return "drop " + std::to_string(d) + " frame " + std::to_string(fr) + ": " + s;
        if (r == FRAME_QUIT) return "the frame loop asked to quit";
        if (r == FRAME_LEVEL_START) break;
        pace_frame();
    }
    return "";
}

std::string fuzz_level_file(const uint8_t *data, size_t size)
{
    srand(1);
    if (!write_file("map0.trn", data, size)) return "cannot write the scratch level file";
    quit_flag = 0;
    current_level = 0;
    level_start();
    display_controls = 0;
    std::string s = world_problem();
    if (!s.empty()) return "after the level start: " + s;
    const int drops = 4;
    double xs[drops], ys[drops];
    drop_points(xs, ys, drops);
    for (int d = 0; d < drops; d++) {
        drop_player(xs[d], ys[d]);
        s = play_drop(d);
        if (!s.empty()) return s;
    }
    for (int k = 0; k < KEY_MAX; k++) key[k] = 0;
    clear_keyr();
    return "";
}

// Same bytes from two saves: a file the reader accepted is written back the
// same way after a second read.
std::string fuzz_level_read(const uint8_t *data, size_t size)
{
    if (!write_file("read.trn", data, size)) return "cannot write the scratch level file";
    if (!load_terrain_file("read.trn")) return terrain_problem();
    std::string s = terrain_problem();
    if (!s.empty()) return "after reading: " + s;
    std::string first, second;
    if (!save_terrain_file("first.trn") || !read_file("first.trn", &first)) return "cannot save";
    if (!load_terrain_file("first.trn")) return "the game refused its own saved level";
    if (!save_terrain_file("second.trn") || !read_file("second.trn", &second)) return "cannot save";
    return first == second ? "" : "a saved level read back saves differently";
}

// The builder may accept a text whose records the game's strict reader then
// refuses (the game starts that level empty); that is the builder's concern,
// not a fault of the game, so only what the game accepts is checked further.

std::string fuzz_level_text(const uint8_t *data, size_t size)
{
    srand(1);
    std::string text((const char *)data, size), error;
    if (!build_level_text(text, "fuzz", &error)) return "";
    if (!save_terrain_file("built.trn")) return "the built level could not be saved";
    if (!load_terrain_file("built.trn")) return "";
    std::string s = terrain_problem();
    if (!s.empty()) return "after reading back: " + s;
    std::string file;
    if (!read_file("built.trn", &file)) return "the built level cannot be read";
    s = fuzz_level_file((const uint8_t *)file.data(), file.size());
    return s.empty() ? "" : "playing the built level: " + s;
}

// Whatever the bytes, the settings read are all within their ranges, and no
// key or button is bound twice.
std::string fuzz_settings_read(const uint8_t *data, size_t size)
{
    if (!write_file("settings.cfg", data, size)) return "cannot write the scratch settings file";
    game_settings s;
    std::string problem;
    read_settings_file("settings.cfg", &s, &problem);
    if (!controls_are_sound(s)) return "the controls read bind a key twice or out of range";
    if (s.fullscreen < 0 || s.fullscreen > 1 || s.window_size < 0 || s.window_size >= NUM_WINDOW_SIZES ||
        s.effects_volume < 0 || s.effects_volume > max_volume || s.music_volume < 0 ||
        s.music_volume > max_volume || s.mute < 0 || s.mute > 1 || s.language < 0 || s.language > 1)
        return "a setting read is out of its range";
    return "";
}

// Records the reader accepts are in range and write back as the same bytes.
std::string fuzz_records_read(const uint8_t *data, size_t size)
{
    std::string problem;
    if (parse_records((const char *)data, size, &problem) != RECORDS_READ) return "";
    for (const level_record &r : records)
        if (r.state && (r.frames < 1 || r.frames > max_record_frames || r.time_left < 0 || r.time_left > max_time_left))
            return "a record read is out of range";
    std::string text = format_records();
    if (text != std::string((const char *)data, size)) return "accepted records write back differently";
    return "";
}

// The bytes as a replay file. A replay the strict reader accepts must write
// back byte for byte and play soundly: it is watched on the shipped level 0
// (whatever level it names, as a replay of another level would be) for at
// most a few hundred frames with the world checked after every frame.
const uint32_t fuzz_replay_frames = 300;
std::string fuzz_replay_file(const uint8_t *data, size_t size)
{
    replay_record r;
    std::string why;
    if (!decode_replay(data, size, &r, &why)) return why.empty() ? "refused without a reason" : "";
    std::vector<unsigned char> again = encode_replay(r);
    if (again.size() != size || memcmp(again.data(), data, size) != 0)
        return "an accepted replay writes back differently";
    r.level = 0;
    if (r.frames > fuzz_replay_frames) r.frames = fuzz_replay_frames;
    for (int k = 0; k < KEY_MAX; k++) key[k] = 0;
    clear_keyr();
    quit_flag = 0;
    level_file_override = "replay_level.trn";
    start_watching(r);
    level_start();
    display_controls = 0;
    std::string s;
    for (uint32_t n = 0; n <= fuzz_replay_frames && replay_playing && s.empty(); n++) {
        frame_result fr = run_frame();
        s = world_problem();
        if (fr == FRAME_NEXT) pace_frame();
    }
    if (s.empty() && replay_playing) s = "the playback did not end at its frame count";
    stop_watching();
    level_file_override.clear();
    return s;
}

fuzz_target fuzz_target_by_name(const std::string &name)
{
    if (name == "replay_file") return fuzz_replay_file;
    if (name == "settings_read") return fuzz_settings_read;
    if (name == "records_read") return fuzz_records_read;
    if (name == "level_file") return fuzz_level_file;
    if (name == "level_text") return fuzz_level_text;
    if (name == "level_read") return fuzz_level_read;
    return nullptr;
}
