// tools/assets/sounds.h -- samples, tracks and fonts of the asset builder.
#pragma once
#include <string>
#include <vector>

// Writes the samples as WAV files into dir in slot order and appends their
// paths; returns 0 on success.
int write_sounds(const std::string &dir, std::vector<std::string> *files);
// Writes the tracks as Standard MIDI Files the same way.
int write_music(const std::string &dir, std::vector<std::string> *files);
// Writes the text fonts' grid pictures and one font script per font (the
// packer's FONT input), in slot order, appending the scripts' paths.
int write_fonts(const std::string &dir, std::vector<std::string> *files);
