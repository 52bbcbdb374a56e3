// tests/assets/assets_fixture.cpp -- see assets_fixture.h.
#include "assets_fixture.h"
#include <cstdlib>
#include <unistd.h>

DATAFILE *load_game_datafile(const char *name)
{
    headless_world();
    set_color_conversion(COLORCONV_NONE);
    std::string path = std::string(GAME_DATA_DIR) + "/" + name;
    return load_datafile(path.c_str());
}

int object_count(const DATAFILE *dat)
{
    int n = 0;
    while (dat[n].type != DAT_END) n++;
    return n;
}

std::string scratch_dir(const char *name)
{
    std::string dir = std::string(testing::TempDir()) + "hillhopper_assets_" + name;
    std::string cmd = "rm -rf '" + dir + "' && mkdir -p '" + dir + "'";
    if (std::system(cmd.c_str()) != 0) ADD_FAILURE() << "cannot make " << dir;
    return dir;
}

void write_bmp(const std::string &dir, const char *name, int w, int h)
{
    headless_world();
    BITMAP *b = create_bitmap_ex(32, w, h);
    clear_to_color(b, makecol32(10, 200, 30));
    std::string path = dir + "/" + name;
    save_bitmap(path.c_str(), b, nullptr);
    destroy_bitmap(b);
}

int pack(const std::string &dir, const char *out, const char *type,
         const std::vector<std::string> &files, const char *extra)
{
    std::string cmd = "cd '" + dir + "' && dat -a -n0 -bpp 32 " + extra + " -t " + type + " " + out;
    for (const std::string &f : files) cmd += " " + f;
    cmd += " > /dev/null";
    return std::system(cmd.c_str());
}
