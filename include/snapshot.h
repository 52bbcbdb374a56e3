// include/snapshot.h -- a picture of one shown frame, written from inside the
// program. Tests use it where a screenshot of the window cannot be taken (a
// Wine GL window reads black from outside).
#pragma once
#include <string>

// Reads HILLHOPPER_SNAPSHOT="<frame>:<file>" and, when it is set and valid,
// hooks the frame about to be shown: the <frame>th shown frame (counting from
// 1) is written to <file> as a binary PPM. Returns false with a reason when the
// variable is set but malformed; nothing is hooked then.
bool install_snapshot_from_env(std::string *error);

// Parses "<frame>:<file>"; frame must be 1..10,000,000 and file non-empty.
bool parse_snapshot_request(const char *text, int *frame, std::string *file);

// Writes width x height RGB rows (bottom row first, as GL reads them) to a PPM
// file with the top row first. Returns false if the file cannot be written.
bool write_ppm_bottom_up(const std::string &file, const unsigned char *rgb, int width, int height);
