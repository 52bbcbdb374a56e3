// player/cli.cpp -- the command line, parsed with CLI11, and the checks that
// turn it into a start: which level, which file, which replay.
#include <cctype>
#include <cstdio>
#include <cstring>
#include <CLI/CLI.hpp>
#include "cli.h"
#include "level_id.h"
#include "platform.h"
#include "terrain_file.h"
#include "hillhopper.h"

launch_options launch;

static const char *const program_version = "hillhopper 1.0";
static const char *const replay_extension = ".hhr";
static const int max_level_number = 9999;

static int refuse(const std::string &file, const std::string &why)
{
    if (file.empty()) fprintf(stderr, "hillhopper: %s\n", why.c_str());
    else fprintf(stderr, "hillhopper: %s: %s\n", file.c_str(), why.c_str());
    return exit_bad_arguments;
}

static bool ends_with(const std::string &s, const char *tail)
{
    size_t n = strlen(tail);
    if (s.size() < n) return false;
    for (size_t i = 0; i < n; i++)
        if (tolower((unsigned char)s[s.size() - n + i]) != tolower((unsigned char)tail[i])) return false;
    return true;
}

static bool all_digits(const std::string &s)
{
    if (s.empty() || s.size() > 4) return false;
    for (char c : s)
        if (!isdigit((unsigned char)c)) return false;
    return true;
}

static std::string numbered_level_file(int n)
{
    return "map" + std::to_string(n) + ".trn";
}

static std::string numbered_level_path(int n)
{
    return game_data_path(numbered_level_file(n).c_str());
}

static bool readable(const std::string &path)
{
    FILE *f = open_file(path, "rb");
    if (!f) return false;
    fclose(f);
    return true;
}

// The level number a level file name stands for: map<n>.trn gives n, any
// other name level 0.
static int level_number_of_name(const std::string &path)
{
    size_t slash = path.find_last_of("/\\");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.size() < 8 || name.compare(0, 3, "map") != 0 || !ends_with(name, ".trn")) return 0;
    std::string digits = name.substr(3, name.size() - 7);
    return all_digits(digits) ? atoi(digits.c_str()) : 0;
}

static int check_level_argument(const std::string &value, launch_options *o)
{
    if (all_digits(value)) {
        int n = atoi(value.c_str());
        if (n > max_level_number || !readable(numbered_level_path(n)))
            return refuse("", "--level " + value + ": there is no level " + value);
        o->level = n;
        return -1;
    }
    if (!readable(value)) return refuse(value, "cannot be opened");
    o->level_file = value;
    return -1;
}

// A shipped level (map<n>.trn in the game's data folder) or one in the
// user's levels folder.
static bool find_level_by_checksum(uint64_t sum, launch_options *o)
{
    for (const std::string &name : list_files(game_data_dir(), ".trn")) {
        bool ok = false;
        std::string path = path_join(game_data_dir(), name);
        if (level_checksum_of_file(path.c_str(), &ok) == sum && ok) {
            if (name == numbered_level_file(level_number_of_name(name))) {
                o->level = level_number_of_name(name);
                o->replay.level = o->level;     // its start values are that level's
            } else {
                o->level_file = path;
            }
            return true;
        }
    }
    std::string dir = user_data_subdir("levels");
    if (dir.empty()) return false;
    for (const std::string &name : list_files(dir, ".trn")) {
        std::string path = path_join(dir, name);
        bool ok = false;
        if (level_checksum_of_file(path.c_str(), &ok) == sum && ok) {
            o->level_file = path;
            return true;
        }
    }
    return false;
}

static int check_replay_level(launch_options *o)
{
    const replay_record &r = o->replay;
    std::string given = o->level_file.empty() ? (o->level >= 0 ? numbered_level_path(o->level) : "")
                                              : o->level_file;
    if (given.empty()) {
        if (find_level_by_checksum(r.level_checksum, o)) return -1;
        return refuse(o->replay_file, "its level " + r.level_file + " (checksum " +
                      std::to_string(r.level_checksum) + ") was not found");
    }
    bool ok = false;
    uint64_t sum = level_checksum_of_file(given.c_str(), &ok);
    if (!ok) return refuse(given, "cannot be read");
    if (sum != r.level_checksum)
        return refuse(o->replay_file, "belongs to a different level than " + given + " (checksum differs)");
    if (o->level >= 0) o->replay.level = o->level;
    return -1;
}

static int check_replay_argument(launch_options *o)
{
    std::string why;
    if (!readable(o->replay_file)) return refuse(o->replay_file, "cannot be opened");
    if (!read_replay_file(o->replay_file, &o->replay, &why)) return refuse(o->replay_file, why);
    return check_replay_level(o);
}

// A file given alone (dropped on the program): a level or a replay.
static int sort_bare_argument(const std::string &file, launch_options *o)
{
    if (ends_with(file, ".trn")) return check_level_argument(file, o);
    if (!readable(file)) return refuse(file, "cannot be opened");
    o->replay_file = file;
    return check_replay_argument(o);
}

int parse_command_line(int argc, char **argv, launch_options *o)
{
    CLI::App app{"Hillhopper: a 2-D physics platform game.", "hillhopper"};
    std::string level, replay, bare;
    bool windowed = false, fullscreen = false;
    app.add_option("--level", level, "start level N directly, or play a level file");
    app.add_option("--replay", replay, std::string("watch a replay (") + replay_extension +
                   "), print how it ended and exit");
    CLI::Option *w = app.add_flag("--windowed", windowed, "start in a window");
    CLI::Option *fs = app.add_flag("--fullscreen", fullscreen, "start in full screen");
    w->excludes(fs);
    app.set_version_flag("--version", program_version);
    app.add_option("file", bare, "a level (.trn) or replay file to play");
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp &e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion &e) {
        return app.exit(e);
    } catch (const CLI::ParseError &e) {
        return refuse("", e.what());
    }
    if (windowed) o->fullscreen = 0;
    if (fullscreen) o->fullscreen = 1;
    if (!bare.empty() && (!level.empty() || !replay.empty()))
        return refuse(bare, "a file given alone cannot go with --level or --replay");
    int status = -1;
    if (!bare.empty()) return sort_bare_argument(bare, o);
    if (!level.empty() && (status = check_level_argument(level, o)) >= 0) return status;
    if (!replay.empty()) {
        o->replay_file = replay;
        if ((status = check_replay_argument(o)) >= 0) return status;
    }
    return -1;
}

bool apply_launch_options(const launch_options &o)
{
    if (o.fullscreen >= 0) start_fullscreen = o.fullscreen;
    if (!o.level_file.empty()) {
        level_file_override = o.level_file;
        current_level = o.replay_file.empty() ? level_number_of_name(o.level_file) : o.replay.level;
    } else if (o.level >= 0) {
        current_level = o.level;
    }
    return !o.replay_file.empty() || !o.level_file.empty() || o.level >= 0;
}
