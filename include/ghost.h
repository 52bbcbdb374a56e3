// include/ghost.h -- the best run drawn as a translucent body moving in step.
// Drawn from the positions stored in the best replay: it never runs through
// the physics and never touches the player, the bees, the bonuses or rand.
#pragma once

extern bool ghost_shown;            // the ghost key toggles it; on by default
// At every level start: loads the best run of the level just read (by its
// checksum); none while a replay is being watched.
void ghost_level_start(void);
bool ghost_available(void);
// Draws the best run's pose for the current frame of the attempt, behind the player.
void draw_ghost(void);
