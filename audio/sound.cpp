// STUB: scaffolding until this module is built; every function here is replaced.
#include "hillhopper.h"
#include "sound.h"

int NUM_SNDS;
int NUM_TRACKS;
int current_track;
void load_sound_dat(void) {}
void free_sound_dat(void) {}
void play_sound(int n) {}
void load_music_dat(void) {}
void free_music_dat(void) {}
void play_music(int n) {}
void update_the_music(void) {}
void configure_midi_patches(void) {}
