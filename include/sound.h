// include/sound.h -- sound effects by number and background music tracks.
#pragma once

extern int NUM_SNDS;
extern int NUM_TRACKS;
extern int current_track;

void load_sound_dat(void);
void free_sound_dat(void);
void play_sound(int n);             // out-of-range numbers play nothing
void load_music_dat(void);
void free_music_dat(void);
void play_music(int n);
void update_the_music(void);        // starts a new random track when none plays
// Points the MIDI synthesiser at the game's patch set; call before install_sound.
void configure_midi_patches(void);
