// tests/objects/picture_datafile.h -- test datafiles of plain pictures, packed
// with Allegro's `dat` tool in a scratch folder, so that the loaders of the
// sign and of the start screen run on files whose every pixel the test knows.
// Header-only: the display tests include it too.
#pragma once
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include <sys/stat.h>
#include <unistd.h>
#include <allegro.h>

struct test_picture {
    int w, h;
    int r, g, b;        // solid colour; (255, 0, 255) is the mask colour
};

// A fresh scratch folder under the working directory.
inline std::string scratch_dir(const std::string &name)
{
    std::string dir = "scratch_" + name;
    std::string cmd = "rm -rf '" + dir + "' && mkdir -p '" + dir + "'";
    if (system(cmd.c_str()) != 0) return "";
    char cwd[4096];
    if (!getcwd(cwd, sizeof(cwd))) return "";
    return std::string(cwd) + "/" + dir;
}

// Writes dir/file with one solid picture per entry, in order (the packer adds
// its information object last). Returns true when the datafile was made.
inline bool make_picture_datafile(const std::string &dir, const std::string &file,
                                  const std::vector<test_picture> &pics)
{
    std::string list;
    for (size_t i = 0; i < pics.size(); i++) {
        const test_picture &p = pics[i];
        BITMAP *bmp = create_bitmap_ex(32, p.w, p.h);
        if (!bmp) return false;
        clear_to_color(bmp, makecol32(p.r, p.g, p.b));
        char name[32];
        snprintf(name, sizeof(name), "/p%03zu.bmp", i);
        std::string path = dir + name;
        int rc = save_bitmap(path.c_str(), bmp, nullptr);
        destroy_bitmap(bmp);
        if (rc != 0) return false;
        list += " '" + path + "'";
    }
    std::string out = dir + "/" + file;
    remove(out.c_str());
    std::string cmd = "dat -a '" + out + "' -t BMP -bpp 32" + list + " > /dev/null 2>&1";
    if (system(cmd.c_str()) != 0) return false;
    struct stat st;
    return stat(out.c_str(), &st) == 0;
}

// Runs body with the working directory set to dir, then goes back.
template <typename F>
void in_dir(const std::string &dir, F body)
{
    char cwd[4096];
    if (!getcwd(cwd, sizeof(cwd))) cwd[0] = 0;
    if (chdir(dir.c_str()) != 0) return;
    body();
    if (chdir(cwd) != 0) {}
}
