// audio/sound.cpp -- sound effects by number, and the set-up that points the
// MIDI synthesiser at the game's patch set.
// The sample datafile is loaded even when there is no sound device, so the
// sample count is the same either way; only the playing is skipped.
#include <cstdio>
#include <cstdlib>
#include <string>
#include "platform.h"
#include "hillhopper.h"
#include "game.h"
#include "slots.h"
#include "sound.h"
#include "textures.h"

int NUM_SNDS = 0;
static DATAFILE *snd_dat = NULL;
static SAMPLE *the_sample = NULL;

static const char *const sound_datafile = "sound.dat";

// Voice settings of every effect: full volume is 255, centre pan 128, and a
// frequency of 1000 plays a sample at its own rate.
static const int sample_volume = 200;
static const int sample_pan = 128;
static const int sample_freq = 1000;
static const int normal_priority = 128;
static const int urgent_priority = 200;    // the boost and the death are never cut off

// The patch set sits with the game's other data; the override reaches
// Allegro's configuration without writing any file. midi_card = DIGI picks the
// sample synthesiser at once instead of probing a raw MIDI port first.
static const char *const patch_set = "patches.dat";

void configure_midi_patches(void)
{
    std::string path = game_data_path(patch_set);
    if (!file_exists(path)) return;     // no patch set: the music stays silent
    char absolute[1024];
    canonicalize_filename(absolute, loader_path(path).c_str(), sizeof(absolute));
    static char config[1200];
    // Where the system has a MIDI output of its own (Windows), Allegro's
    // autodetection tries it first and falls back to the patch set.
    int len = snprintf(config, sizeof(config), "[sound]\npatches = %s\n%s", absolute,
                       system_has_midi_output() ? "" : "midi_card = DIGI\n");
    if (len <= 0 || len >= (int)sizeof(config)) return;
    override_config_data(config, len);
}

// The game cannot run on without its sounds or music: text mode, the message,
// and a clean exit.
void datafile_missing(const char *file)
{
    if (!headless) set_gfx_mode(GFX_TEXT, 0, 0, 0, 0);
    allegro_message("Unable to load %s!\n", file);
    exit(0);
}

// Objects up to the end marker, less the last one (the packer's information).
int playable_objects(const DATAFILE *dat)
{
    int n = 0;
    while (dat[n].type != DAT_END) n++;
    return n > 0 ? n - 1 : 0;
}

static int digital_sound_on(void)
{
    return digi_driver && digi_driver->id != DIGI_NONE;
}

void load_sound_dat(void)
{
    snd_dat = load_whole_datafile(sound_datafile);
    if (!snd_dat) datafile_missing(sound_datafile);
    NUM_SNDS = playable_objects(snd_dat);
}

void free_sound_dat(void)
{
    if (snd_dat) unload_datafile(snd_dat);
    snd_dat = NULL;
    the_sample = NULL;
    NUM_SNDS = 0;
}

static int effects_level = 255;            // the player's effects volume, 0..255

void set_sound_volumes(int effects, int music)
{
    effects_level = effects < 0 ? 0 : effects > 255 ? 255 : effects;
    // The MIDI synthesiser plays through digital voices too: only its own
    // volume is set, so the effects' level never scales the music.
    if (midi_driver && midi_driver->id != MIDI_NONE) set_volume(-1, music < 0 ? 0 : music > 255 ? 255 : music);
}

void play_sound(int n)
{
    if (n < 0 || n >= NUM_SNDS || !snd_dat) return;
    if (snd_dat[n].type != DAT_SAMPLE) return;     // a damaged datafile plays nothing
    the_sample = (SAMPLE *)snd_dat[n].dat;
    the_sample->priority = (n == SND_BOOST || n == SND_DEATH) ? urgent_priority : normal_priority;
    if (digital_sound_on()) play_sample(the_sample, sample_volume * effects_level / 255, sample_pan, sample_freq, 0);
}
