// tests/assets/assets_fixture.h -- helpers of the datafile and loader tests:
// reading the built datafiles, making small datafiles with `dat`, and running
// a loader inside another folder.
#pragma once
#include <string>
#include <vector>
#include <unistd.h>
#include <allegro.h>
#include "test_support.h"

// The built game folder's datafile, loaded without colour conversion.
DATAFILE *load_game_datafile(const char *name);
int object_count(const DATAFILE *dat);      // up to the end marker

// A fresh, empty scratch folder for one test.
std::string scratch_dir(const char *name);
// Writes a w x h 32-bit BMP of one colour into dir/name.
void write_bmp(const std::string &dir, const char *name, int w, int h);
// Packs files of dir (bare names, in order) into dir/out with `dat` as type;
// extra options (e.g. "-s1") go before the files. Returns dat's exit status.
int pack(const std::string &dir, const char *out, const char *type,
         const std::vector<std::string> &files, const char *extra = "");

// Runs f with the current folder set to dir, and returns to the old one.
template <typename F>
void in_dir(const std::string &dir, F f)
{
    char old[4096];
    if (!getcwd(old, sizeof(old))) old[0] = 0;
    ASSERT_EQ(chdir(dir.c_str()), 0) << dir;
    f();
    ASSERT_EQ(chdir(old), 0);
}
