// include/level_id.h -- a level's identity: CRC-64 (ECMA-182) of its file's bytes.
// Records, replays and ghosts are keyed by it; editing and saving a level
// changes it. The polynomial and parameters are in docs/level-identity.md.
#pragma once
#include <cstddef>
#include <cstdint>

// Continues a CRC over more bytes: start with crc = 0.
uint64_t crc64_update(uint64_t crc, const void *data, size_t size);
inline uint64_t crc64(const void *data, size_t size) { return crc64_update(0, data, size); }

// CRC-64 of the whole file; *ok false (and 0 returned) when it cannot be read.
uint64_t level_checksum_of_file(const char *path, bool *ok);

// Set by every level file read (load_terrain_file); 0 for a level with no file.
extern uint64_t current_level_checksum;
