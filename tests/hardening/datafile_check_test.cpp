// The guard in front of Allegro's datafile reader, which crashes on a file
// cut short (datafile_is_whole): every shipped datafile passes, and the same
// file cut anywhere -- in its header, in an object's header or in an
// object's body -- is refused, plain or compressed.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include <gtest/gtest.h>
#include <allegro.h>
#include "textures.h"

namespace {

const char *datafiles[] = {"ttex01.dat", "doodads01.dat", "buildings.dat", "sound.dat", "music.dat"};

std::vector<char> read_all(const std::string &path)
{
    std::vector<char> b;
    FILE *fp = fopen(path.c_str(), "rb");
    if (!fp) return b;
    char chunk[65536];
    size_t got;
    while ((got = fread(chunk, 1, sizeof(chunk), fp)) > 0) b.insert(b.end(), chunk, chunk + got);
    fclose(fp);
    return b;
}

void write_prefix(const std::string &path, const std::vector<char> &b, size_t n)
{
    FILE *fp = fopen(path.c_str(), "wb");
    ASSERT_NE(fp, nullptr);
    if (n) fwrite(b.data(), 1, n, fp);
    fclose(fp);
}

std::vector<size_t> cut_points(size_t size)
{
    // In the file header, the first object's header, spread through the
    // bodies, and one byte short.
    std::vector<size_t> cuts = {0, 3, 4, 8, 11, 12, 15, 16, 20, 24, 28, 40, 64};
    for (int k = 1; k < 32; k++) cuts.push_back(size * k / 32);
    cuts.push_back(size - 1);
    return cuts;
}

void allegro_without_display(void)
{
    static bool done = false;
    if (!done) install_allegro(SYSTEM_NONE, &errno, atexit);
    done = true;
}

}  // namespace

TEST(DatafileCheck, ShippedDatafilesAreCompleteAndEveryCutIsRefused)
{
    allegro_without_display();
    const std::string scratch = "datafile_check_cut.dat";
    for (const char *name : datafiles) {
        std::string path = std::string(GAME_DATA_DIR) + "/" + name;
        std::vector<char> b = read_all(path);
        ASSERT_GT(b.size(), 64u) << path;
        EXPECT_EQ(datafile_is_whole(path.c_str()), 1) << path;
        for (size_t n : cut_points(b.size())) {
            write_prefix(scratch, b, n);
            EXPECT_EQ(datafile_is_whole(scratch.c_str()), 0) << name << " cut to " << n << " bytes";
        }
    }
    remove(scratch.c_str());
}

TEST(DatafileCheck, MissingAndForeignFilesAreRefused)
{
    allegro_without_display();
    EXPECT_EQ(datafile_is_whole("no_such_datafile.dat"), 0);
    const std::string scratch = "datafile_check_foreign.dat";
    std::string text(20000, 'h');
    write_prefix(scratch, std::vector<char>(text.begin(), text.end()), text.size());
    EXPECT_EQ(datafile_is_whole(scratch.c_str()), 0);
    // A level file is not a datafile either.
    std::vector<char> level = read_all(std::string(GAME_DATA_DIR) + "/map0.trn");
    write_prefix(scratch, level, level.size());
    EXPECT_EQ(datafile_is_whole(scratch.c_str()), 0);
    remove(scratch.c_str());
}

// The same for a compressed datafile, made from the music datafile with the
// datafile tool: its chunks can only be walked through the decompression.
TEST(DatafileCheck, CompressedDatafileCutShortIsRefused)
{
    allegro_without_display();
    const std::string packed = "datafile_check_packed.dat", scratch = "datafile_check_packed_cut.dat";
    std::string copy = "cp '" + std::string(GAME_DATA_DIR) + "/music.dat' " + packed + " && dat -c2 " +
                       packed + " > /dev/null 2>&1";
    if (std::system(copy.c_str()) != 0) GTEST_SKIP() << "the datafile tool dat is not installed";
    std::vector<char> b = read_all(packed);
    ASSERT_GT(b.size(), 64u);
    ASSERT_EQ(std::string(b.data(), 4), "slh!") << "dat -c2 did not compress";
    EXPECT_EQ(datafile_is_whole(packed.c_str()), 1);
    for (size_t n : cut_points(b.size())) {
        write_prefix(scratch, b, n);
        EXPECT_EQ(datafile_is_whole(scratch.c_str()), 0) << "cut to " << n << " bytes";
    }
    remove(packed.c_str());
    remove(scratch.c_str());
}
