// tools/levels/level_source.h -- the parsed form of a level source: one
// command per line or block, kept in file order. The builder walks the list
// once per kind of record so that slots are taken in a fixed order.
#pragma once
#include <string>
#include <vector>

enum command_kind {
    CMD_GROUND,         // block: joints (+ band, + fills) along points
    CMD_SHAPE,          // block: a filled outline
    CMD_BAND,           // block: a border band without joints
    CMD_ARROWS,         // block: guide-arrow band of one arrow group
    CMD_QUAD,           // one faded quad by corner positions
    CMD_DOODAD,
    CMD_WAYPOINT,
    CMD_BONUS,
    CMD_VERTEX,         // replay form: one vertex
    CMD_JOINT,          // replay form: vertex slots
    CMD_TRI,
    CMD_QUADV,
    CMD_BORDER,
    CMD_SET,            // replay form: a record written as it stands
    // What the level says about itself (its level section)
    CMD_START,          // x y [angle]
    CMD_TIME,           // time allowed
    CMD_NAME,           // language (type), text (words[0])
    CMD_SKY,            // sky number (type)
    CMD_MUSIC           // track number or -1 (type)
};

struct source_point {
    double x = 0, y = 0;
    double round = 0;   // corner radius, 0 for a sharp corner
};

struct source_command {
    command_kind kind = CMD_GROUND;
    int line = 0;
    std::vector<source_point> points;
    std::vector<double> nums;           // numeric arguments in order
    std::vector<std::string> words;     // the line's words after the keyword
    // ground, band, arrows
    int joint_type = 1;
    int band_tex = -1;                  // -1: no band
    int band_type = 0;                  // 0 plain, 1 blended base, 2 arrows
    bool closed = false;
    int under_tex = -1, under_layer = 1;
    double under_bottom = 0;
    int inside_tex = -1, inside_layer = 1;
    // shape, quad, tri, quadv, doodad, bonus, border, vertex refs
    int tex = -1, layer = 0, group = 0, type = 0;
    std::vector<int> refs;
};

// Parses the whole text; false with "source:line: message" on the first fault.
bool parse_level_source(const std::string &text, const std::string &source_name,
                        std::vector<source_command> *out, std::string *error);
