// tools/windows/wincheck.cpp -- what the Windows build must do the same as the
// Linux one, in a form both can run without a window:
//   wincheck runs GAME_DIR RUN_DIR      plays the recorded finishing runs
//       through the real frame loop and prints, per run, frames, time left,
//       waypoints and the end position bit for bit (%a);
//   wincheck save GAME_DIR DIR                  saves levels through the platform
//       layer: replacing an existing level keeps a .bak, a folder whose name
//       is not ASCII works, and a save into DIR/readonly (made unwritable by
//       the caller) fails and says so. Prints one line per check.
// Exit status 0 when every check passed.
#include <cstdio>
#include <string>
#include <vector>
#include "level_kit.h"
#include "hillhopper.h"
#include "joints.h"
#include "zmem.h"
#include "platform.h"
#include "terrain_file.h"

static const char *const run_names[] = {"run0", "run1", "run2", "run3", "run3_secret"};
static const int max_frames = 3400;    // more than any clock of the game allows

static std::string read_all(const std::string &path)
{
    std::string text;
    FILE *f = open_file(path, "rb");
    if (!f) return text;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof(buf), f)) > 0) text.append(buf, n);
    fclose(f);
    return text;
}

static int play_runs(const std::string &game_dir, const std::string &run_dir)
{
    std::string error;
    if (!level_tools_init(game_dir, &error)) {
        fprintf(stderr, "wincheck: %s\n", error.c_str());
        return 1;
    }
    int failed = 0;
    for (const char *name : run_names) {
        run_script run;
        std::string text = read_all(path_join(run_dir, std::string(name) + ".txt"));
        if (text.empty() || !parse_run(text, &run, &error)) {
            printf("%s: cannot read the run (%s)\n", name, error.c_str());
            failed++;
            continue;
        }
        run_result r = play_run(game_dir, run, max_frames);
        printf("%s level %d %s frames %d time_left %a (%.2f) waypoints %d end %a %a\n", name,
               run.level, r.finished ? "finished" : "NOT-finished", r.frames, r.time_left,
               r.time_left, r.waypoints, r.x, r.y);
        if (!r.finished) failed++;
    }
    return failed ? 1 : 0;
}

static int checks_failed = 0;
static void check(bool ok, const char *what)
{
    printf("%s: %s\n", ok ? "ok" : "FAILED", what);
    if (!ok) checks_failed++;
}

// A level of one joint (n joints for a second version).
static void small_level(int n)
{
    load_plain_level();
    for (int i = 0; i < n; i++) new_jnt(new_tv(i, 0), new_tv(i + 1, 1), 1);
}

static int check_saves(const std::string &game_dir, const std::string &dir)
{
    std::string error;
    if (!level_tools_init(game_dir, &error)) {
        fprintf(stderr, "wincheck: %s\n", error.c_str());
        return 1;
    }
    // Replacing: the second save replaces the first and keeps it as .bak.
    std::string plain = path_join(dir, "map0.trn");
    small_level(1);
    check(save_terrain_file(plain.c_str()) == 1, "a new level is saved");
    std::string first = read_all(plain);
    small_level(2);
    check(save_terrain_file(plain.c_str()) == 1, "an existing level is replaced");
    check(read_all(plain + ".bak") == first, "the replaced level is kept as .bak");
    check(read_all(plain) != first && load_terrain_file(plain.c_str()) == 1 && jnt[1].state == 1,
          "the new level reads back");
    check(!file_exists(plain + ".tmp"), "no temporary file is left");

    // A folder named outside ASCII.
    std::string wide_dir = path_join(dir, "J\xC3\xBCrgen \xC3\x9F\xC3\xA4");
    check(make_dirs(wide_dir), "a folder named outside ASCII is made");
    std::string wide_file = path_join(wide_dir, "\xC3\x9C" "ber.trn");
    small_level(3);
    check(save_terrain_file(wide_file.c_str()) == 1 && save_terrain_file(wide_file.c_str()) == 1,
          "a level is saved twice there");
    small_level(0);
    check(load_terrain_file(wide_file.c_str()) == 1 && jnt[2].state == 1, "and reads back");
    std::vector<std::string> names = list_files(wide_dir, ".trn");
    check(names.size() == 1 && names[0] == "\xC3\x9C" "ber.trn", "the listing gives its name");
    check(file_exists(loader_path(wide_file)), "Allegro's form of the path names the file");

    // A folder that takes no files: the old level and its backup stay.
    std::string ro = path_join(dir, "readonly");
    std::string ro_level = path_join(ro, "map4.trn");
    std::string before = read_all(ro_level), before_bak = read_all(ro_level + ".bak");
    small_level(4);
    check(!before.empty() && save_terrain_file(ro_level.c_str()) == 0, "a save into a read-only folder fails");
    check(read_all(ro_level) == before && read_all(ro_level + ".bak") == before_bak,
          "the old level and its .bak are unchanged");
    check(!dir_is_writable(ro) && dir_is_writable(dir), "the folders' writability is seen");
    printf("%d checks failed\n", checks_failed);
    return checks_failed ? 1 : 0;
}

int main(int argc, char **argv)
{
    std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "runs" && argc == 4) return play_runs(argv[2], argv[3]);
    if (mode == "save" && argc == 4) return check_saves(argv[2], argv[3]);
    fprintf(stderr, "usage: wincheck runs GAME_DIR RUN_DIR | wincheck save GAME_DIR DIR\n");
    return 2;
}
