// audio/music.cpp -- the background music: one track at a time, each new one
// drawn at random but never the track that just ended.
#include <cstdint>
#include <cstdlib>
#include "hillhopper.h"
#include "sound.h"
#include "textures.h"

int NUM_TRACKS = 0;
int current_track = -1;
static DATAFILE *msc_dat = NULL;

static const char *const music_datafile = "music.dat";


static int midi_on(void)
{
    return midi_driver && midi_driver->id != MIDI_NONE;
}

void load_music_dat(void)
{
    msc_dat = load_whole_datafile(music_datafile);
    if (!msc_dat) datafile_missing(music_datafile);
    NUM_TRACKS = playable_objects(msc_dat);
}

void free_music_dat(void)
{
    if (midi_on()) stop_midi();
    if (msc_dat) unload_datafile(msc_dat);
    msc_dat = NULL;
    NUM_TRACKS = 0;
    current_track = -1;
}

// Plays track n once. A number outside the tracks, or an object that is not a
// track, plays nothing rather than reading past the table.
void play_music(int n)
{
    if (NUM_TRACKS <= 0 || n < 0 || n >= NUM_TRACKS || !msc_dat) return;
    if (msc_dat[n].type != DAT_MIDI || !midi_on()) return;
    play_midi((MIDI *)msc_dat[n].dat, 0);
}

// The music draws its tracks from a generator of its own: how often a new
// track starts depends on the sound device and on time, and a draw from rand
// would change the bees and particles of the run (and break its replay).
static uint32_t music_random_state = 12345;
static int music_random(void)
{
    music_random_state = music_random_state * 1103515245u + 12345u;
    return (int)((music_random_state >> 16) & 0x7fff);
}

// Without a MIDI player the position never leaves -1, so a new track is
// "started" every frame; that costs nothing and keeps the choice rule.
void update_the_music(void)
{
    if (NUM_TRACKS <= 0) return;
    if (current_track != -1 && midi_pos >= 0) return;
    int r = music_random() % NUM_TRACKS;
    if (r == current_track) r++;
    if (r >= NUM_TRACKS) r = 0;
    play_music(r);
    current_track = r;
}
