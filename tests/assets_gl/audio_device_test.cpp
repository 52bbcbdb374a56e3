// tests/assets_gl/audio_device_test.cpp -- what the game plays, recorded: the
// default ALSA device is pointed (through a private HOME) at a file plugin
// that writes a WAV file, and each check reads what was written after it
// started something. The recording is not paced like a sound card, so the
// checks judge whether there is sound, not when.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <allegro.h>
#include "test_support.h"
#include "hillhopper.h"
#include "slots.h"
#include "sound.h"

namespace {

std::string recording;
bool sound_ready = false;

long file_size(const std::string &path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? (long)st.st_size : 0;
}

// Loudest 16-bit value written after byte offset `from`, and how many blocks
// of 1024 values rise above the quiet level.
struct heard { int peak = 0; int loud_blocks = 0; int blocks = 0; };

heard listen_since(long from, int ms)
{
    rest(ms);
    heard h;
    FILE *fp = fopen(recording.c_str(), "rb");
    if (!fp) return h;
    long start = std::max(from, 44L) & ~1L;
    fseek(fp, start, SEEK_SET);
    short buf[1024];
    size_t n;
    while ((n = fread(buf, 2, 1024, fp)) > 0) {
        int block_peak = 0;
        for (size_t i = 0; i < n; i++) block_peak = std::max(block_peak, std::abs((int)buf[i]));
        h.peak = std::max(h.peak, block_peak);
        h.blocks++;
        if (block_peak > 300) h.loud_blocks++;
    }
    fclose(fp);
    return h;
}

}  // namespace

class AudioDevice : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!gl_window()) return;
        std::string home = std::string(testing::TempDir()) + "hillhopper_audio";
        std::system(("rm -rf '" + home + "' && mkdir -p '" + home + "'").c_str());
        recording = home + "/out.wav";
        FILE *fp = fopen((home + "/.asoundrc").c_str(), "w");
        if (!fp) return;
        fprintf(fp, "pcm.!default { type plug; slave { pcm \"capture\"; format S16_LE; } }\n"
                    "pcm.capture { type file; slave.pcm \"null\"; file \"%s\"; format \"wav\" }\n",
                recording.c_str());
        fclose(fp);
        setenv("HOME", home.c_str(), 1);
        char old[4096];
        if (!getcwd(old, sizeof(old)) || chdir(GAME_DATA_DIR) != 0) return;
        configure_midi_patches();
        reserve_voices(7, -1);
        sound_ready = install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, NULL) == 0;
        if (sound_ready) {
            load_sound_dat();
            load_music_dat();
        }
        if (chdir(old) != 0) sound_ready = false;
    }

    void SetUp() override
    {
        if (!sound_ready) GTEST_SKIP() << "no recording sound device";
    }
};

TEST_F(AudioDevice, EverySampleSoundsAndNumbersOutsideTheTablePlayNothing)
{
    ASSERT_EQ(NUM_SNDS, NUM_SOUND_SAMPLES);
    long mark = file_size(recording);
    play_sound(-1);
    play_sound(NUM_SNDS);
    heard none = listen_since(mark, 300);
    EXPECT_GT(none.blocks, 0) << "the device records";
    EXPECT_LT(none.peak, 100) << "play_sound(-1) and play_sound(NUM_SNDS) are silent";
    for (int k = 0; k < NUM_SNDS; k++) {
        mark = file_size(recording);
        play_sound(k);
        heard h = listen_since(mark, 400);
        EXPECT_GT(h.peak, 3000) << "sample " << k << " is not heard";
    }
}

TEST_F(AudioDevice, ATrackPlaysThroughThePatchSetAndItsPositionAdvances)
{
    ASSERT_GE(NUM_TRACKS, 3);
    if (midi_driver == nullptr || midi_driver->id == MIDI_NONE) GTEST_SKIP() << "no MIDI player (no patch set)";
    rest(2000);                                  // let the samples' tails die away
    long mark = file_size(recording);
    current_track = -1;
    srand(3);
    update_the_music();
    int first = current_track;
    ASSERT_GE(first, 0);
    heard h = listen_since(mark, 2500);
    EXPECT_GT(midi_pos, 0) << "the track's position advances";
    EXPECT_GT(h.peak, 2000) << "the track is heard";
    EXPECT_GT(h.loud_blocks * 2, h.blocks) << "most of the recording holds music";
    // While it plays, the rotation leaves it alone.
    update_the_music();
    EXPECT_EQ(current_track, first);
    stop_midi();
    EXPECT_LT(midi_pos, 0);
    update_the_music();
    EXPECT_NE(current_track, first) << "the next track is never the one that just ended";
    stop_midi();
}
