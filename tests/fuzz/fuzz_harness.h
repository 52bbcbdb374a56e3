// tests/fuzz/fuzz_harness.h -- what the fuzz targets do with one input, shared
// by the libFuzzer executables and the replay test that runs the seeds and
// the regression files through the ordinary build.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// Headless world with the textures' real sizes from the game folder, and a
// scratch folder that becomes the current directory (level files go there).
// False with a message when the game's datafiles are missing.
bool fuzz_setup(const char *game_dir, std::string *error);

// The bytes as a level file through the strict reader and the region
// rebuilds alone (no level start, no play: many inputs a second). A file it
// accepts must give sound tables and save back identically after a reread.
std::string fuzz_level_read(const uint8_t *data, size_t size);

// The bytes as level 0's file: the real level start (strict reader, region
// rebuilds, player body), then 100 headless frames of the real loop, which
// draw through the no-op GL of headless mode, with the player dropped at four
// points. Returns the first broken world invariant, or "" when none broke.
std::string fuzz_level_file(const uint8_t *data, size_t size);

// The bytes as a level source text for the level builder. A level the
// builder makes and the game's strict reader accepts must give a sound world
// and then play as fuzz_level_file does. Returns the first problem, or "".
std::string fuzz_level_text(const uint8_t *data, size_t size);

// The bytes as a replay file: the strict reader; an accepted replay must
// write back byte for byte and play a few hundred frames soundly on level 0.
std::string fuzz_replay_file(const uint8_t *data, size_t size);
// The bytes as settings.cfg through the settings reader: every value read is
// in range and no key or button is bound twice. Returns the problem, or "".
std::string fuzz_settings_read(const uint8_t *data, size_t size);
// The bytes through the strict records reader: what it accepts is in range
// and writes back byte for byte.
std::string fuzz_records_read(const uint8_t *data, size_t size);

// The names under which the targets are known: "level_read", "level_file",
// "level_text", "replay_file", "settings_read", "records_read".
typedef std::string (*fuzz_target)(const uint8_t *, size_t);
fuzz_target fuzz_target_by_name(const std::string &name);
