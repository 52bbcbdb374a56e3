// include/level_list.h -- the levels the game plays, in order: the shipped
// stages map0.trn, map1.trn, ... of the game's data folder (as many as the
// build made from levels/level<n>.txt), then every .trn file of the user's
// levels folder, sorted by name. Each file is checked as the game reads it
// when the list is made, so a level that would be refused is listed as
// unreadable with its reason and is never played.
#pragma once
#include <cstdint>
#include <string>

// Makes the list again: the user's folder and every file's description are
// read anew (after a save of a new level, or when the level select opens).
// The accessors make the list on first use.
void refresh_level_list(void);

int level_list_count(void);                 // shipped + user levels
int level_list_shipped_count(void);         // the shipped ones come first
// The file of level n; "" outside the list.
std::string level_list_path(int n);
// The level's own name in a language (0 English, 1 German), else the file's
// name for a user level, else "Stage N" / "Stufe N".
std::string level_list_name(int n, int language);
// CRC-64 of the file's bytes (the level's identity); 0 when unreadable.
uint64_t level_list_checksum(int n);
bool level_list_is_user(int n);
// True when the game's reader accepts the file; else *reason says why.
bool level_list_readable(int n, std::string *reason);
// The next readable level after n in play order, shipped levels only when
// shipped_only; -1 when there is none.
int level_list_next(int n, bool shipped_only);
// The index of the level whose file is path, or -1.
int level_list_find(const std::string &path);
