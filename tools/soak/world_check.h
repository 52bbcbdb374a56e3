// tools/soak/world_check.h -- the invariants that must hold between any two
// frames, whatever the input: finite bodies, live records whose indices stay
// inside their tables, region runs inside their lists, the player's probes live.
// Shared by the soak tool and the fuzz targets; reads the tables only.
#pragma once
#include <string>

// The first broken invariant, described with the table, slot and value;
// empty when the world is sound.
std::string world_problem(void);
// The same without the bodies: for a world that has no player yet.
std::string terrain_problem(void);
