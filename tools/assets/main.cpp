// tools/assets/main.cpp -- the asset builder: paints every picture, makes every
// sample and track, and packs the six datafiles with Allegro's `dat` tool.
//   asset_builder WORK_DIR OUT_DIR
// Intermediate files go to WORK_DIR, the datafiles to OUT_DIR. The output is
// the same byte for byte on every run: the packer records each source file's
// date and name, so the sources get one fixed date and are packed by bare name.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <utime.h>
#include <vector>
#include "pictures.h"
#include "slots.h"
#include "sounds.h"

namespace {

const time_t fixed_date = 946684800;    // 2000-01-01 00:00 UTC

std::string quote(const std::string &s)
{
    std::string q = "'";
    for (char ch : s) q += ch == '\'' ? std::string("'\\''") : std::string(1, ch);
    return q + "'";
}

bool paint_table(const picture *table, int count, const char *what, const std::string &dir,
                 std::vector<std::string> *files)
{
    for (int i = 0; i < count; i++) {
        const picture &p = table[i];
        if (!p.paint) {
            fprintf(stderr, "assets: %s slot %d has no picture\n", what, i);
            return false;
        }
        canvas c(p.w, p.h);
        p.paint(c);
        std::string path = dir + "/" + p.name + ".bmp";
        bool ok = p.opaque ? save_opaque_bmp(c, path) : save_masked_bmp(c, path);
        if (!ok) {
            fprintf(stderr, "assets: cannot write %s\n", path.c_str());
            return false;
        }
        files->push_back(path);
    }
    return true;
}

// Packs files, in this order, into OUT_DIR/name with `dat`. The packer runs in
// the work folder on bare names so that the recorded names do not depend on
// where the build lives.
bool pack(const std::string &work, const std::string &out, const char *name, const char *type,
          const std::vector<std::string> &files)
{
    std::string cmd = "cd " + quote(work) + " && rm -f " + quote(name) + " && TZ=UTC dat -a -n0 -f";
    if (std::string(type) == "BMP") cmd += " -bpp 32";
    cmd += std::string(" -t ") + type + " " + quote(name);
    for (const std::string &f : files) {
        struct utimbuf times = {fixed_date, fixed_date};
        utime(f.c_str(), &times);
        cmd += " " + quote(f.substr(f.find_last_of('/') + 1));
    }
    cmd += " > /dev/null && cp " + quote(name) + " " + quote(out + "/" + name);
    if (std::system(cmd.c_str()) != 0) {
        fprintf(stderr, "assets: packing %s failed\n", name);
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: asset_builder WORK_DIR OUT_DIR\n");
        return 2;
    }
    std::string work = argv[1], out = argv[2];
    mkdir(work.c_str(), 0755);
    mkdir(out.c_str(), 0755);
    char *abs_out = realpath(out.c_str(), nullptr);
    if (!abs_out) {
        fprintf(stderr, "assets: no output folder %s\n", out.c_str());
        return 1;
    }
    out = abs_out;
    free(abs_out);

    static picture terrain[NUM_TERRAIN_PICTURES], doodads[NUM_DOODAD_PICTURES], buildings[NUM_BUILDING_PICTURES];
    add_player_pictures(terrain);
    add_item_pictures(terrain);
    add_ground_pictures(terrain);
    add_doodad_pictures(doodads);
    add_start_pictures(buildings);

    std::vector<std::string> tfiles, dfiles, bfiles, sfiles, mfiles, ffiles;
    if (!paint_table(terrain, NUM_TERRAIN_PICTURES, "ttex01.dat", work, &tfiles)) return 1;
    if (!paint_table(doodads, NUM_DOODAD_PICTURES, "doodads01.dat", work, &dfiles)) return 1;
    if (!paint_table(buildings, NUM_BUILDING_PICTURES, "buildings.dat", work, &bfiles)) return 1;
    if (write_sounds(work, &sfiles) || write_music(work, &mfiles) || write_fonts(work, &ffiles)) return 1;

    bool ok = pack(work, out, "ttex01.dat", "BMP", tfiles) && pack(work, out, "doodads01.dat", "BMP", dfiles) &&
              pack(work, out, "buildings.dat", "BMP", bfiles) && pack(work, out, "sound.dat", "SAMP", sfiles) &&
              pack(work, out, "music.dat", "MIDI", mfiles) &&
              pack(work, out, "fonts.dat", "FONT", ffiles);
    return ok ? 0 : 1;
}
