// tests/objects/level_fixture.h -- a small level built in the test: empty
// terrain, the player's body at a chosen point, level-state slots at their
// start values, and frames of the real loop with the player held in place.
#pragma once
#include <functional>
#include "test_support.h"

// Empties every object table and sets the level-start slots; the player body
// stands in the air at (x, y); the view is centred on it.
void fresh_level(double x = 0, double y = 0);

// Puts the player back at (x, y), at rest and in the air.
void hold_player(double x, double y);

// Runs n frames of the real loop with the player held at (x, y) before each
// frame; `each` (if given) runs after every frame with its index. Returns the
// last frame result.
int frames_holding(int n, double x, double y, const std::function<void(int)> &each = nullptr);

// Gives doodad pictures 0..count-1 fake textures of w x h texels.
void fake_doodad_pictures(int count, int w, int h);
