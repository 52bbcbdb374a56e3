// include/sound.h -- sound effects by number and background music tracks.
#pragma once

extern int NUM_SNDS;
extern int NUM_TRACKS;
extern int current_track;

void load_sound_dat(void);
void free_sound_dat(void);
void play_sound(int n);             // out-of-range numbers play nothing
// The player's volumes, 0..255 each (0 silences); effects scale every sample.
void set_sound_volumes(int effects, int music);
void load_music_dat(void);
void free_music_dat(void);
void play_music(int n);
void update_the_music(void);        // starts a new random track when none plays
// Points the MIDI synthesiser at the game's patch set; call before install_sound.
void configure_midi_patches(void);
// Shared by the two loaders: objects of a datafile up to its end marker, less
// the last one; and the missing-datafile exit (text mode, message, status 0).
struct DATAFILE;
int playable_objects(const DATAFILE *dat);
void datafile_missing(const char *file);
