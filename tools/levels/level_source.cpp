// tools/levels/level_source.cpp -- reads the line-based level source into
// commands. One command per line; ground, shape, band and arrows open a block
// of "x y [radius]" lines closed by "end". '#' starts a comment.
#include "level_source.h"
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <cstring>
#include "level_kit.h"
#include "terrain_file.h"

namespace {

struct reader {
    std::string source;
    int line = 0;
    std::string *error = nullptr;

    bool fail(const std::string &msg)
    {
        if (error) *error = source + ":" + std::to_string(line) + ": " + msg;
        return false;
    }
};

std::vector<std::string> split_words(const std::string &text)
{
    std::vector<std::string> words;
    std::string s = text.substr(0, text.find('#'));
    std::istringstream in(s);
    std::string w;
    while (in >> w) words.push_back(w);
    return words;
}

bool to_number(const std::string &w, double *v)
{
    if (w.empty()) return false;
    char *end = nullptr;
    errno = 0;
    *v = strtod(w.c_str(), &end);
    return end && *end == 0 && errno == 0 && std::isfinite(*v);
}

bool to_int(const std::string &w, int *v)
{
    double d;
    if (!to_number(w, &d) || d != std::floor(d) || std::fabs(d) > 1e9) return false;
    *v = (int)d;
    return true;
}

int joint_type_of(const std::string &w)
{
    if (w == "walk") return 1;
    if (w == "wall") return 2;
    if (w == "ride") return 3;
    int v;
    return to_int(w, &v) && v >= 0 && v < 32768 ? v : -1;
}

int border_type_of(const std::string &w)
{
    if (w == "plain") return 0;
    if (w == "blend") return 1;
    if (w == "arrow") return 2;
    int v;
    return to_int(w, &v) && v >= 0 && v < 32768 ? v : -1;
}

int bonus_type_of(const std::string &w)
{
    if (w == "leaf") return 0;
    if (w == "spike") return 1;
    if (w == "end") return 2;
    if (w == "electric") return 3;
    // Only the four kinds the game knows: its reader refuses any other.
    int v;
    return to_int(w, &v) && v >= 0 && v <= 3 ? v : -1;
}

// A texture by name, or by number in the replay form for unnamed slots.
int texture_of(const std::string &w)
{
    int t = texture_by_name(w);
    if (t >= 0) return t;
    return to_int(w, &t) && t >= 0 && t < 32768 ? t : -1;
}

int picture_of(const std::string &w)
{
    int p = picture_by_name(w);
    if (p >= 0) return p;
    return to_int(w, &p) && p >= 0 ? p : -1;
}

// Options of a block header: "band TEX [plain|blend]", "under FILL LAYER BOTTOM",
// "inside FILL LAYER", "closed".
bool block_options(reader &r, const std::vector<std::string> &w, size_t i, source_command *c)
{
    while (i < w.size()) {
        if (w[i] == "closed") {
            c->closed = true;
            i++;
        } else if (w[i] == "band" && i + 1 < w.size()) {
            c->band_tex = texture_of(w[i + 1]);
            if (c->band_tex < 0) return r.fail("unknown band texture '" + w[i + 1] + "'");
            i += 2;
            if (i < w.size() && (w[i] == "plain" || w[i] == "blend")) {
                c->band_type = border_type_of(w[i]);
                i++;
            }
        } else if (w[i] == "under" && i + 3 < w.size()) {
            c->under_tex = texture_of(w[i + 1]);
            if (c->under_tex < 0) return r.fail("unknown fill texture '" + w[i + 1] + "'");
            if (!to_int(w[i + 2], &c->under_layer) || c->under_layer < 0 || c->under_layer > 2)
                return r.fail("layer must be 0, 1 or 2");
            if (!to_number(w[i + 3], &c->under_bottom)) return r.fail("bad bottom '" + w[i + 3] + "'");
            i += 4;
        } else if (w[i] == "inside" && i + 2 < w.size()) {
            c->inside_tex = texture_of(w[i + 1]);
            if (c->inside_tex < 0) return r.fail("unknown fill texture '" + w[i + 1] + "'");
            if (!to_int(w[i + 2], &c->inside_layer) || c->inside_layer < 0 || c->inside_layer > 2)
                return r.fail("layer must be 0, 1 or 2");
            i += 3;
        } else {
            return r.fail("unexpected '" + w[i] + "'");
        }
    }
    return true;
}

bool block_header(reader &r, const std::vector<std::string> &w, source_command *c)
{
    const std::string &k = w[0];
    if (k == "ground") {
        c->kind = CMD_GROUND;
        if (w.size() < 2 || (c->joint_type = joint_type_of(w[1])) < 0)
            return r.fail("ground needs a joint type: walk, wall or ride");
        return block_options(r, w, 2, c);
    }
    if (k == "shape") {
        c->kind = CMD_SHAPE;
        if (w.size() != 3) return r.fail("shape needs a fill and a layer");
        c->tex = texture_of(w[1]);
        if (c->tex < 0) return r.fail("unknown fill texture '" + w[1] + "'");
        if (!to_int(w[2], &c->layer) || c->layer < 0 || c->layer > 2)
            return r.fail("layer must be 0, 1 or 2");
        return true;
    }
    if (k == "band") {
        c->kind = CMD_BAND;
        if (w.size() < 3) return r.fail("band needs a texture and plain or blend");
        c->band_tex = texture_of(w[1]);
        if (c->band_tex < 0) return r.fail("unknown band texture '" + w[1] + "'");
        c->band_type = border_type_of(w[2]);
        if (c->band_type != 0 && c->band_type != 1) return r.fail("band style is plain or blend");
        return block_options(r, w, 3, c);
    }
    // arrows
    c->kind = CMD_ARROWS;
    c->band_tex = texture_by_name("arrow");
    c->band_type = 2;
    if (w.size() != 2 || !to_int(w[1], &c->group) || c->group < -32768 || c->group > 32767)
        return r.fail("arrows needs its arrow group");
    return true;
}

// The grid spans 160 by 80 units; points and radii far beyond it can only be
// mistakes, and their lengths would overflow the counts of pieces and arc steps.
static const double max_source_coordinate = 1000;

bool block_point(reader &r, const std::vector<std::string> &w, source_command *c)
{
    source_point p;
    if ((w.size() != 2 && w.size() != 3) || !to_number(w[0], &p.x) || !to_number(w[1], &p.y))
        return r.fail("expected 'x y' or 'x y radius'");
    if (std::fabs(p.x) > max_source_coordinate || std::fabs(p.y) > max_source_coordinate)
        return r.fail("point far outside the level");
    if (w.size() == 3 && (!to_number(w[2], &p.round) || p.round < 0 || p.round > max_source_coordinate))
        return r.fail("bad corner radius '" + w[2] + "'");
    c->points.push_back(p);
    return true;
}

bool numbers(reader &r, const std::vector<std::string> &w, size_t from, size_t count,
             source_command *c)
{
    if (w.size() < from + count) return r.fail("'" + w[0] + "' needs more values");
    for (size_t i = from; i < from + count; i++) {
        double v;
        if (!to_number(w[i], &v)) return r.fail("bad number '" + w[i] + "'");
        c->nums.push_back(v);
    }
    return true;
}

bool refs(reader &r, const std::vector<std::string> &w, size_t from, size_t count,
          source_command *c)
{
    if (w.size() < from + count) return r.fail("'" + w[0] + "' needs more values");
    for (size_t i = from; i < from + count; i++) {
        int v;
        if (!to_int(w[i], &v) || v < 0) return r.fail("bad vertex slot '" + w[i] + "'");
        c->refs.push_back(v);
    }
    return true;
}

// The level's description. "name" lines take the rest of the raw line.
bool level_line(reader &r, const std::vector<std::string> &w, source_command *c)
{
    const std::string &k = w[0];
    size_t n = w.size();
    if (k == "start") {
        c->kind = CMD_START;
        if (n != 3 && n != 4) return r.fail("start needs x, y [angle]");
        if (!numbers(r, w, 1, n - 1, c)) return false;
        if (std::fabs(c->nums[0]) > 80 || std::fabs(c->nums[1]) > 40)
            return r.fail("start point outside the level");
        if (n == 4 && std::fabs(c->nums[2]) > 8) return r.fail("start angle out of range");
        return true;
    }
    if (k == "time") {
        c->kind = CMD_TIME;
        if (n != 2) return r.fail("time needs the time allowed");
        if (!numbers(r, w, 1, 1, c)) return false;
        if (!(c->nums[0] >= level_time_min && c->nums[0] <= level_time_max))
            return r.fail("time allowed must lie between 5 and 995");
        return true;
    }
    if (k == "sky") {
        c->kind = CMD_SKY;
        if (n != 2 || (c->type = sky_by_name(w[1])) < 0) return r.fail("unknown sky");
        return true;
    }
    c->kind = CMD_MUSIC;
    if (n != 2 || (c->type = music_by_name(w[1])) < music_rotation)
        return r.fail("music needs a track name or 'rotation'");
    return true;
}

std::string trimmed(const std::string &s)
{
    size_t a = s.find_first_not_of(" \t\r"), b = s.find_last_not_of(" \t\r");
    return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

// "name en|de TEXT": everything after the language word, '#' included.
bool name_line(reader &r, const std::string &raw, source_command *c)
{
    c->kind = CMD_NAME;
    std::string rest = trimmed(raw);
    rest = trimmed(rest.substr(4));
    std::string lang = rest.substr(0, 2);
    if (rest.size() < 2 || (rest.size() > 2 && rest[2] != ' ' && rest[2] != '\t') ||
        (lang != "en" && lang != "de"))
        return r.fail("name needs en or de, then the name");
    c->type = lang == "en" ? NAME_EN : NAME_DE;
    std::string text = trimmed(rest.substr(2));
    if (text.size() > (size_t)level_name_bytes - 1) return r.fail("name longer than 63 bytes");
    level_description probe;
    memset(&probe, 0, sizeof(probe));
    set_level_name(&probe, c->type, text.c_str());
    if (text != probe.name[c->type]) return r.fail("name holds control characters or broken UTF-8");
    c->words.push_back(text);
    return true;
}

bool layer_word(reader &r, const std::string &w, source_command *c)
{
    if (!to_int(w, &c->layer) || c->layer < 0 || c->layer > 2)
        return r.fail("layer must be 0, 1 or 2");
    return true;
}

bool single_line(reader &r, const std::vector<std::string> &w, source_command *c)
{
    const std::string &k = w[0];
    size_t n = w.size();
    if (k == "quad") {
        c->kind = CMD_QUAD;
        if (n != 11) return r.fail("quad needs a texture, a layer and four corners");
        if ((c->tex = texture_of(w[1])) < 0) return r.fail("unknown texture '" + w[1] + "'");
        return layer_word(r, w[2], c) && numbers(r, w, 3, 8, c);
    }
    if (k == "doodad") {
        c->kind = CMD_DOODAD;
        if (n < 4 || n > 6) return r.fail("doodad needs a picture, x, y [angle [layer]]");
        if ((c->tex = picture_of(w[1])) < 0) return r.fail("unknown picture '" + w[1] + "'");
        if (!numbers(r, w, 2, n == 4 ? 2 : 3, c)) return false;
        if (n == 4) c->nums.push_back(0);
        c->layer = 0;
        if (n == 6 && (!to_int(w[5], &c->layer) || c->layer < -128 || c->layer > 127))
            return r.fail("bad doodad layer '" + w[5] + "'");
        return true;
    }
    if (k == "waypoint") {
        c->kind = CMD_WAYPOINT;
        if (n != 3) return r.fail("waypoint needs x and y");
        return numbers(r, w, 1, 2, c);
    }
    if (k == "bonus") {
        c->kind = CMD_BONUS;
        if (n != 4 || (c->type = bonus_type_of(w[1])) < 0)
            return r.fail("bonus needs leaf, spike, end or electric, then x and y");
        return numbers(r, w, 2, 2, c);
    }
    if (k == "vertex") {
        c->kind = CMD_VERTEX;
        if (n != 3) return r.fail("vertex needs x and y");
        return numbers(r, w, 1, 2, c);
    }
    if (k == "joint") {
        c->kind = CMD_JOINT;
        if (n != 4 || (c->type = joint_type_of(w[3])) < 0)
            return r.fail("joint needs two vertex slots and a joint type");
        return refs(r, w, 1, 2, c);
    }
    if (k == "tri" || k == "quadv") {
        size_t corners = k == "tri" ? 3 : 4;
        c->kind = k == "tri" ? CMD_TRI : CMD_QUADV;
        if (n != corners + 3) return r.fail(k + " needs its corners, a texture and a layer");
        if ((c->tex = texture_of(w[corners + 1])) < 0)
            return r.fail("unknown texture '" + w[corners + 1] + "'");
        return refs(r, w, 1, corners, c) && layer_word(r, w[corners + 2], c);
    }
    if (k == "border") {
        c->kind = CMD_BORDER;
        if (n != 6 || (c->type = border_type_of(w[3])) < 0)
            return r.fail("border needs two vertex slots, a type, a texture and a group");
        if ((c->tex = texture_of(w[4])) < 0) return r.fail("unknown texture '" + w[4] + "'");
        if (!to_int(w[5], &c->group) || c->group < -32768 || c->group > 32767)
            return r.fail("bad arrow group '" + w[5] + "'");
        return refs(r, w, 1, 2, c);
    }
    if (k == "set") {
        c->kind = CMD_SET;
        if (n < 4) return r.fail("set needs a table, a slot and the record's fields");
        c->words.assign(w.begin() + 1, w.end());
        return true;
    }
    return r.fail("unknown command '" + k + "'");
}

} // namespace

bool parse_level_source(const std::string &text, const std::string &source_name,
                        std::vector<source_command> *out, std::string *error)
{
    reader r;
    r.source = source_name;
    r.error = error;
    out->clear();
    std::istringstream in(text);
    std::string raw;
    source_command block;
    bool in_block = false;
    while (std::getline(in, raw)) {
        r.line++;
        std::vector<std::string> w = split_words(raw);
        if (w.empty()) continue;
        if (in_block) {
            if (w[0] == "end" && w.size() == 1) {
                size_t need = block.closed ? 3 : 2;
                if (block.kind == CMD_SHAPE) need = 3;
                if (block.points.size() < need) return r.fail("too few points in the block");
                out->push_back(block);
                in_block = false;
            } else if (!block_point(r, w, &block)) {
                return false;
            }
            continue;
        }
        if (w[0] == "level") continue;      // a heading for the reader of the file
        source_command c;
        c.line = r.line;
        if (w[0] == "name") {
            if (!name_line(r, raw, &c)) return false;
            out->push_back(c);
            continue;
        }
        if (w[0] == "start" || w[0] == "time" || w[0] == "sky" || w[0] == "music") {
            if (!level_line(r, w, &c)) return false;
            out->push_back(c);
            continue;
        }
        if (w[0] == "ground" || w[0] == "shape" || w[0] == "band" || w[0] == "arrows") {
            if (!block_header(r, w, &c)) return false;
            block = c;
            in_block = true;
            continue;
        }
        if (!single_line(r, w, &c)) return false;
        out->push_back(c);
    }
    if (in_block) return r.fail("block opened on line " + std::to_string(block.line) +
                                " has no 'end'");
    return true;
}
