// tools/assets/sounds.h -- samples and tracks of the asset builder.
#pragma once
#include <string>
#include <vector>

// Writes the samples as WAV files into dir in slot order and appends their
// paths; returns 0 on success.
int write_sounds(const std::string &dir, std::vector<std::string> *files);
// Writes the tracks as Standard MIDI Files the same way.
int write_music(const std::string &dir, std::vector<std::string> *files);
