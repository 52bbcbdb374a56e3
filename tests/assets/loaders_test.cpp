// tests/assets/loaders_test.cpp -- the texture, sound and music loaders
// without a display: counts as the loaders compute them, slot order, the
// table's capacity, refusal of objects that are not pictures, the missing-file
// exit, and the rule that picks the next track.
#include <cstdlib>
#include <set>
#include <unistd.h>
#include "assets_fixture.h"
#include "hillhopper.h"
#include "slots.h"
#include "sound.h"
#include "textures.h"

namespace {

void expect_tex_size(unsigned int tex, double w, double h)
{
    double tw = -1, th = -1;
    get_tex_size(tex, &tw, &th);
    EXPECT_EQ(tw, w);
    EXPECT_EQ(th, h);
}

// A folder with a terrain datafile of the given pictures (each w x 8, w from
// the list, in order) and a small doodad datafile.
std::string texture_folder(const char *name, const std::vector<int> &widths)
{
    std::string dir = scratch_dir(name);
    std::vector<std::string> files;
    for (size_t i = 0; i < widths.size(); i++) {
        std::string f = "p" + std::to_string(1000 + i) + ".bmp";
        write_bmp(dir, f.c_str(), widths[i], 8);
        files.push_back(f);
    }
    EXPECT_EQ(pack(dir, "ttex01.dat", "BMP", files), 0);
    write_bmp(dir, "d0.bmp", 16, 32);
    write_bmp(dir, "d1.bmp", 32, 16);
    EXPECT_EQ(pack(dir, "doodads01.dat", "BMP", {"d0.bmp", "d1.bmp"}), 0);
    return dir;
}

}  // namespace

TEST(TextureLoader, TheBuiltDatafilesFillBothTablesInSlotOrder)
{
    headless_world();
    in_dir(GAME_DATA_DIR, [] { load_textures(); });
    EXPECT_EQ(NUM_TEX, NUM_TERRAIN_PICTURES);
    EXPECT_EQ(get_num_textures(), NUM_TERRAIN_PICTURES);
    EXPECT_EQ(NUM_DTEX, NUM_DOODAD_PICTURES);
    EXPECT_EQ(GET_num_dadtex(), NUM_DOODAD_PICTURES);
    expect_tex_size(terrain_tex[TEX_PLAYER], 128, 128);
    expect_tex_size(terrain_tex[TEX_BAR_FRAME], 256, 32);
    expect_tex_size(terrain_tex[TEX_BAND_BLEND], 256, 128);
    expect_tex_size(GET_doodad_tex(DAD_SIGN), 128, 64);
    EXPECT_EQ(GET_doodad_tex(-1), 0u);
    EXPECT_EQ(GET_doodad_tex(num_tex_slots), 0u);
    free_textures();
    EXPECT_EQ(NUM_TEX, 0);
    EXPECT_EQ(NUM_DTEX, 0);
}

TEST(TextureLoader, LoadingAndFreeingAgainAndAgainNeverRunsOutOfHeadlessIds)
{
    headless_world();
    // 100 + 2 ids a round: without reuse the fake ids would run out by round 81.
    std::vector<int> widths(num_tex_slots, 2);
    widths.back() = 16;
    std::string dir = texture_folder("cycle", widths);
    unsigned int first = 0;
    for (int round = 0; round < 120; round++) {
        in_dir(dir, [] { load_textures(); });
        ASSERT_EQ(NUM_TEX, num_tex_slots) << "round " << round;
        expect_tex_size(terrain_tex[num_tex_slots - 1], 16, 8);
        expect_tex_size(terrain_tex[num_tex_slots - 2], 2, 8);
        if (round == 0) first = terrain_tex[0];
        EXPECT_EQ(terrain_tex[0], first) << "freed ids are taken again";
        unsigned int gone = terrain_tex[1];
        free_textures();
        expect_tex_size(gone, 0, 0);        // a freed texture has no size
        if (HasFailure()) return;
    }
}

TEST(TextureLoader, AllButTheLastObjectBecomeTexturesUpToTheTableCapacity)
{
    headless_world();
    // Five pictures and the packer's information object: slots 0 to 4.
    std::string dir = texture_folder("five", {8, 16, 32, 64, 128});
    in_dir(dir, [] { load_textures(); });
    ASSERT_EQ(NUM_TEX, 5);
    const int widths[] = {8, 16, 32, 64, 128};
    for (int i = 0; i < 5; i++) expect_tex_size(terrain_tex[i], widths[i], 8);
    EXPECT_EQ(NUM_DTEX, 2);
    expect_tex_size(doodad_tex[1], 32, 16);
    free_textures();

    // 105 pictures: the table holds 100 and the rest are left alone.
    std::vector<int> many;
    for (int i = 0; i < 105; i++) many.push_back(i % 2 ? 4 : 2);
    dir = texture_folder("many", many);
    in_dir(dir, [] { load_textures(); });
    EXPECT_EQ(NUM_TEX, num_tex_slots);
    expect_tex_size(terrain_tex[num_tex_slots - 1], 4, 8);
    free_textures();
}

TEST(TextureLoader, AnObjectThatIsNotAPictureLeavesItsSlotEmpty)
{
    headless_world();
    std::string dir = texture_folder("notpicture", {8});
    {
        FILE *fp = fopen((dir + "/words.txt").c_str(), "w");
        ASSERT_NE(fp, nullptr);
        fputs("not a picture\n", fp);
        fclose(fp);
    }
    write_bmp(dir, "last.bmp", 64, 8);
    ASSERT_EQ(pack(dir, "ttex01.dat", "DATA", {"words.txt"}), 0);
    ASSERT_EQ(pack(dir, "ttex01.dat", "BMP", {"last.bmp"}), 0);
    testing::internal::CaptureStderr();
    in_dir(dir, [] { load_textures(); });
    std::string err = testing::internal::GetCapturedStderr();
    ASSERT_EQ(NUM_TEX, 3);
    expect_tex_size(terrain_tex[0], 8, 8);
    EXPECT_EQ(terrain_tex[1], 0u);
    expect_tex_size(terrain_tex[2], 64, 8);
    EXPECT_NE(err.find("ttex01.dat object 1"), std::string::npos) << err;
    free_textures();
}

// The message goes to standard output without a message box; the death test
// watches standard error, so the child sends one to the other.
#define EXPECT_CLEAN_EXIT_WITH_MESSAGE(statement, message)                          \
    EXPECT_EXIT({ dup2(2, 1); statement; fflush(stdout); std::_Exit(3); },          \
                testing::ExitedWithCode(0), message)

TEST(MissingDatafile, EachLoaderShowsItsMessageAndEndsTheProgramCleanly)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    headless_world();
    std::string empty = scratch_dir("empty");
    std::string only_terrain = texture_folder("only_terrain", {8});
    ASSERT_EQ(std::system(("rm '" + only_terrain + "/doodads01.dat'").c_str()), 0);
    in_dir(empty, [] {
        EXPECT_CLEAN_EXIT_WITH_MESSAGE(load_textures(), "Unable to load ttex01.dat!");
        EXPECT_CLEAN_EXIT_WITH_MESSAGE(load_sound_dat(), "Unable to load sound.dat!");
        EXPECT_CLEAN_EXIT_WITH_MESSAGE(load_music_dat(), "Unable to load music.dat!");
    });
    in_dir(only_terrain, [] {
        EXPECT_CLEAN_EXIT_WITH_MESSAGE(load_textures(), "Unable to load doodads01.dat!");
    });
}

// Allegro's reader crashes on a datafile cut short; the loaders check the
// file's chunks first and treat a damaged file as a missing one.
TEST(MissingDatafile, ADatafileCutShortIsRefusedLikeAMissingOne)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    headless_world();
    std::string dir = scratch_dir("cut");
    const char *names[] = {"ttex01.dat", "doodads01.dat", "buildings.dat", "sound.dat", "music.dat"};
    for (const char *name : names) {
        std::string whole = std::string(GAME_DATA_DIR) + "/" + name;
        EXPECT_TRUE(datafile_is_whole(whole.c_str())) << name;
        for (const char *cut : {"half", "head", "garbage"}) {
            std::string part = dir + "/" + cut + "_" + name;
            std::string cmd = std::string(cut) == "garbage"
                ? "yes 'hillhopper datafile' | head -c 20000 > '" + part + "'"
                : std::string(cut) == "head" ? "head -c 64 '" + whole + "' > '" + part + "'"
                : "head -c $(( $(wc -c < '" + whole + "') / 2 )) '" + whole + "' > '" + part + "'";
            ASSERT_EQ(std::system(cmd.c_str()), 0);
            EXPECT_FALSE(datafile_is_whole(part.c_str())) << cut << " " << name;
            EXPECT_EQ(load_whole_datafile(part.c_str()), nullptr) << cut << " " << name;
        }
    }
    EXPECT_FALSE(datafile_is_whole((dir + "/no_such.dat").c_str()));
    // Through the loaders: a terrain and a sound datafile cut in half.
    std::string folder = scratch_dir("cut_loaders");
    std::string cmd = "cp '" + dir + "/half_ttex01.dat' '" + folder + "/ttex01.dat' && cp '" + dir +
                      "/half_sound.dat' '" + folder + "/sound.dat' && cp '" + dir + "/head_music.dat' '" + folder + "/music.dat'";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    in_dir(folder, [] {
        EXPECT_CLEAN_EXIT_WITH_MESSAGE(load_textures(), "Unable to load ttex01.dat!");
        EXPECT_CLEAN_EXIT_WITH_MESSAGE(load_sound_dat(), "Unable to load sound.dat!");
        EXPECT_CLEAN_EXIT_WITH_MESSAGE(load_music_dat(), "Unable to load music.dat!");
    });
}

TEST(SoundLoader, CountsTheSamplesAndIgnoresNumbersOutsideThem)
{
    headless_world();
    in_dir(GAME_DATA_DIR, [] { load_sound_dat(); });
    EXPECT_EQ(NUM_SNDS, NUM_SOUND_SAMPLES);
    // Without a sound device nothing is heard, but the numbers are still checked.
    play_sound(-1);
    play_sound(NUM_SNDS);
    play_sound(SND_JUMP);
    free_sound_dat();
    EXPECT_EQ(NUM_SNDS, 0);
    play_sound(SND_JUMP);               // after freeing: nothing, and no crash
}

TEST(MusicRotation, ANewTrackIsNeverTheOneThatJustEnded)
{
    headless_world();
    in_dir(GAME_DATA_DIR, [] { load_music_dat(); });
    ASSERT_EQ(NUM_TRACKS, NUM_MUSIC_TRACKS);
    // No MIDI player here, so every call finds nothing playing and picks again.
    srand(7);
    current_track = -1;
    std::set<int> seen;
    int last = -1;
    for (int i = 0; i < 2000; i++) {
        update_the_music();
        ASSERT_GE(current_track, 0);
        ASSERT_LT(current_track, NUM_TRACKS);
        ASSERT_NE(current_track, last) << "call " << i;
        last = current_track;
        seen.insert(current_track);
    }
    EXPECT_EQ((int)seen.size(), NUM_TRACKS);
    // The choices leave rand's sequence alone: the bees of a run (and its
    // replay) must not depend on whether music plays.
    int next_without_music = (srand(7), rand());
    srand(7);
    for (int i = 0; i < 50; i++) update_the_music();
    EXPECT_EQ(rand(), next_without_music);
    play_music(-1);                     // outside the tracks: nothing
    play_music(NUM_TRACKS);
    free_music_dat();
    EXPECT_EQ(current_track, -1);
}

TEST(MusicRotation, OneTrackRepeatsAndADatafileOfOneObjectPlaysNothing)
{
    headless_world();
    std::string dir = scratch_dir("onetrack");
    std::string src = std::string(GAME_DATA_DIR) + "/music.dat";
    ASSERT_EQ(std::system(("cd '" + dir + "' && dat -x -o one.mid '" + src + "' SUNNY_HILLS_MID > /dev/null").c_str()), 0);
    ASSERT_EQ(pack(dir, "music.dat", "MIDI", {"one.mid"}), 0);
    in_dir(dir, [] { load_music_dat(); });
    ASSERT_EQ(NUM_TRACKS, 1);
    for (int i = 0; i < 5; i++) {
        update_the_music();
        EXPECT_EQ(current_track, 0);
    }
    free_music_dat();

    // Stripped of the packer's object, the datafile holds one object: no tracks.
    ASSERT_EQ(std::system(("cd '" + dir + "' && rm music.dat").c_str()), 0);
    ASSERT_EQ(pack(dir, "music.dat", "MIDI", {"one.mid"}, "-s1"), 0);
    in_dir(dir, [] { load_music_dat(); });
    EXPECT_EQ(NUM_TRACKS, 0);
    update_the_music();
    EXPECT_EQ(current_track, -1);
    free_music_dat();
}

// Fills without a masked pixel are drawn without blending; anything with a
// masked pixel, a slot the datafile did not fill or an object that is not a
// picture never counts as opaque.
TEST(TextureLoader, OnlyPicturesWithoutAMaskedPixelCountAsOpaque)
{
    headless_world();
    in_dir(GAME_DATA_DIR, [] { load_textures(); });
    for (int fill : {TEX_FILL_GRASS, TEX_FILL_EARTH, TEX_FILL_ROCK, TEX_FILL_CAVE, TEX_FILL_ICE})
        EXPECT_TRUE(terrain_tex_opaque(fill)) << "fill " << fill;
    for (int sprite : {TEX_PLAYER, TEX_LEAF, TEX_BAR_FRAME, TEX_BAND_BLEND})
        EXPECT_FALSE(terrain_tex_opaque(sprite)) << "picture " << sprite;
    EXPECT_FALSE(terrain_tex_opaque(-1));
    EXPECT_FALSE(terrain_tex_opaque(NUM_TEX));
    free_textures();
    EXPECT_FALSE(terrain_tex_opaque(TEX_FILL_GRASS));

    BITMAP *bmp = create_bitmap_ex(32, 4, 4);
    ASSERT_NE(bmp, nullptr);
    clear_to_color(bmp, makecol32(10, 200, 30));
    DATAFILE obj = {bmp, DAT_BITMAP, 0, nullptr};
    EXPECT_EQ(picture_is_opaque(&obj), 1);
    putpixel(bmp, 3, 3, bitmap_mask_color(bmp));
    EXPECT_EQ(picture_is_opaque(&obj), 0);
    obj.type = DAT_DATA;
    clear_to_color(bmp, makecol32(10, 200, 30));
    EXPECT_EQ(picture_is_opaque(&obj), 0);
    destroy_bitmap(bmp);
}
