// STUB: scaffolding until this module is built; every function here is replaced.
#include "hillhopper.h"
#include "terrain_file.h"

void load_level(int lev) {}
void load_plain_level(void) {}
void load_terrain(int lev) {}
void save_terrain(int lev) {}
