// include/terrain_file.h -- level files "map<n>.trn" and the level set-up.
#pragma once

void load_level(int lev);           // sets up level lev for play
void load_plain_level(void);        // empties the terrain tables
void load_terrain(int lev);         // empties, then reads map<lev>.trn if it opens
void save_terrain(int lev);         // writes map<lev>.trn from the tables
