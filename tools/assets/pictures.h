// tools/assets/pictures.h -- the picture tables of the four picture datafiles.
// Each table is indexed by the slot names of include/slots.h, so the builder
// packs pictures in slot order without knowing a number itself.
#pragma once
#include "canvas.h"

struct picture {
    const char *name = nullptr;     // file name stem; also the datafile object's name
    int w = 0, h = 0;               // powers of two
    void (*paint)(canvas &) = nullptr;
    bool opaque = false;            // true: no mask colour (the background)
};

// Each fills its table's entries by slot name; the builder checks that no
// entry below the table's count is left empty.
void add_player_pictures(picture *terrain);     // the hopper's frames
void add_item_pictures(picture *terrain);       // pick-ups, particles, HUD, lettering
void add_ground_pictures(picture *terrain);     // fills, bands, background
void add_doodad_pictures(picture *doodads);
void add_start_pictures(picture *buildings);

// Shared look: outline colour and the lettering helpers of the game's plaques.
extern const rgba ink;
// A rounded wooden plaque with lettering, for menu and time-out pictures.
void plaque(canvas &c, const char *text, float size, float xscale, float yscale,
            float text_x, bool centred);
