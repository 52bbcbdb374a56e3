// tools/levels/dump.cpp -- writes the world tables back as level source in
// the replay form. The builder makes records kind by kind in a fixed order,
// so replaying every record in slot order, kind by kind, gives back the same
// slots; outer border vertices are left to the borders that make them.
// The dump is checked by building it: whatever an editor did that a replay
// cannot repeat comes out as "set" lines, so the round trip is always exact.
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>
#include "level_kit.h"
#include "hillhopper.h"
#include "textures.h"
#include "terrain_file.h"

namespace {

struct tables {
    std::vector<terrain_vertex_struct> v;
    std::vector<jnt_struct> jn;
    std::vector<ply_struct> p;
    std::vector<bdr_struct> b;
    std::vector<dad_struct> d;
    std::vector<wpt_struct> w;
    std::vector<bonus_struct> bo;
};

tables snapshot(void)
{
    tables t;
    t.v.assign(tv, tv + num_tvs);
    t.jn.assign(jnt, jnt + num_jnts);
    t.p.assign(ply, ply + num_plys);
    t.b.assign(bdr, bdr + num_bdrs);
    t.d.assign(dad, dad + num_dads);
    t.w.assign(wpt, wpt + num_wpts);
    t.bo.assign(bonus, bonus + num_bonuses);
    return t;
}

std::string fmt(const char *f, ...) __attribute__((format(printf, 1, 2)));
std::string fmt(const char *f, ...)
{
    char buf[512];
    va_list ap;
    va_start(ap, f);
    vsnprintf(buf, sizeof(buf), f, ap);
    va_end(ap);
    return buf;
}

// Enough digits that reading the text back gives the same float or double.
std::string real(float x) { return fmt("%.9g", (double)x); }
std::string real(double x) { return fmt("%.17g", x); }

std::string tex_word(int t)
{
    const char *n = texture_name(t);
    return n ? n : std::to_string(t);
}

std::string pic_word(int p)
{
    const char *n = picture_name(p);
    return n ? n : std::to_string(p);
}

const char *joint_word(int type)
{
    static char num[16];
    if (type == 1) return "walk";
    if (type == 2) return "wall";
    if (type == 3) return "ride";
    snprintf(num, sizeof(num), "%d", type);
    return num;
}

const char *border_word(int type)
{
    static char num[16];
    if (type == 0) return "plain";
    if (type == 1) return "blend";
    if (type == 2) return "arrow";
    snprintf(num, sizeof(num), "%d", type);
    return num;
}

const char *bonus_word(int type)
{
    static char num[16];
    static const char *names[] = {"leaf", "spike", "end", "electric"};
    if (type >= 0 && type < 4) return names[type];
    snprintf(num, sizeof(num), "%d", type);
    return num;
}

// Vertices that only borders use as outer corners are made by the borders.
std::vector<char> outer_only(const tables &t)
{
    std::vector<char> outer(num_tvs, 0), used(num_tvs, 0);
    auto mark = [](std::vector<char> &m, int v) { if (v >= 0 && v < num_tvs) m[v] = 1; };
    for (const bdr_struct &e : t.b)
        if (e.state) { mark(outer, e.tva[0]); mark(outer, e.tva[1]); mark(used, e.tvn[0]); mark(used, e.tvn[1]); }
    for (const jnt_struct &e : t.jn)
        if (e.state) { mark(used, e.tvn[0]); mark(used, e.tvn[1]); }
    for (const ply_struct &e : t.p)
        if (e.state) for (int k = 0; k < 4; k++) mark(used, e.tvn[k]);
    for (int k = 0; k < num_tvs; k++) outer[k] = outer[k] && !used[k];
    return outer;
}

// The level's own description, when the file carries one.
std::string description_text(const level_description &d)
{
    if (!d.present) return "";
    std::string s = "\n# the level: start x y angle, time allowed, names, sky, music\n";
    s += "start " + real(d.start_x) + " " + real(d.start_y) + " " + real(d.start_ang) + "\n";
    s += "time " + real(d.time) + "\n";
    if (d.name[NAME_EN][0]) s += std::string("name en ") + d.name[NAME_EN] + "\n";
    if (d.name[NAME_DE][0]) s += std::string("name de ") + d.name[NAME_DE] + "\n";
    const char *sky = sky_name(d.sky), *music = music_name(d.music);
    s += std::string("sky ") + (sky ? sky : "day") + "\n";
    s += std::string("music ") + (music ? music : "rotation") + "\n";
    return s;
}

std::string replay_text(const tables &t)
{
    std::string s = "# Level dump in the replay form: one line per record, in slot order.\n";
    s += description_text(level_desc);
    std::vector<char> outer = outer_only(t);
    s += "\n# vertices (numbered from 0 in this order)\n";
    for (int k = 0; k < num_tvs; k++)
        if (t.v[k].state && !outer[k]) s += "vertex " + real(t.v[k].x) + " " + real(t.v[k].y) + "\n";
    s += "\n# joints: from, to, type\n";
    for (const jnt_struct &e : t.jn)
        if (e.state) s += fmt("joint %d %d %s\n", e.tvn[0], e.tvn[1], joint_word(e.type));
    s += "\n# polygons: corners, texture, layer\n";
    for (const ply_struct &e : t.p) {
        if (!e.state) continue;
        if (e.type == 1)
            s += fmt("quadv %d %d %d %d %s %d\n", e.tvn[0], e.tvn[1], e.tvn[2], e.tvn[3],
                     tex_word(e.x).c_str(), e.layer);
        else
            s += fmt("tri %d %d %d %s %d\n", e.tvn[0], e.tvn[1], e.tvn[2], tex_word(e.x).c_str(), e.layer);
    }
    s += "\n# borders: from, to, type, texture, arrow group\n";
    for (const bdr_struct &e : t.b)
        if (e.state)
            s += fmt("border %d %d %s %s %d\n", e.tvn[0], e.tvn[1], border_word(e.type),
                     tex_word(e.x).c_str(), e.wpn);
    s += "\n# doodads: picture, x, y, angle, layer\n";
    for (const dad_struct &e : t.d)
        if (e.state)
            s += "doodad " + pic_word(e.pic) + " " + real(e.px) + " " + real(e.py) + " " +
                 real(e.ang) + " " + std::to_string(e.layer) + "\n";
    s += "\n# waypoints and bonuses\n";
    for (const wpt_struct &e : t.w)
        if (e.state) s += "waypoint " + real(e.px) + " " + real(e.py) + "\n";
    for (const bonus_struct &e : t.bo)
        if (e.state) s += std::string("bonus ") + bonus_word(e.type) + " " + real(e.px) + " " + real(e.py) + "\n";
    return s;
}

// ---- comparing and patching ------------------------------------------------

bool same(const terrain_vertex_struct &a, const terrain_vertex_struct &b)
{
    return a.state == b.state && (!a.state || (a.x == b.x && a.y == b.y));
}
bool same(const jnt_struct &a, const jnt_struct &b)
{
    return a.state == b.state && (!a.state || (a.tvn[0] == b.tvn[0] && a.tvn[1] == b.tvn[1] &&
           a.njnt[0] == b.njnt[0] && a.njnt[1] == b.njnt[1] && a.type == b.type));
}
bool same(const ply_struct &a, const ply_struct &b)
{
    return a.state == b.state && (!a.state || (!memcmp(a.tvn, b.tvn, sizeof(a.tvn)) &&
           a.type == b.type && a.x == b.x && a.layer == b.layer));
}
bool same(const bdr_struct &a, const bdr_struct &b)
{
    return a.state == b.state && (!a.state || (a.tvn[0] == b.tvn[0] && a.tvn[1] == b.tvn[1] &&
           a.tva[0] == b.tva[0] && a.tva[1] == b.tva[1] && a.last_b == b.last_b &&
           a.next_b == b.next_b && a.type == b.type && a.x == b.x && a.wpn == b.wpn &&
           !memcmp(&a.tex_offset, &b.tex_offset, 4) && !memcmp(&a.tex_len, &b.tex_len, 4)));
}
bool same(const dad_struct &a, const dad_struct &b)
{
    return a.state == b.state && (!a.state || (!memcmp(&a.px, &b.px, 4) && !memcmp(&a.py, &b.py, 4) &&
           !memcmp(&a.ang, &b.ang, 4) && a.pic == b.pic && a.type == b.type && a.sx == b.sx &&
           a.sy == b.sy && a.layer == b.layer));
}
bool same(const wpt_struct &a, const wpt_struct &b)
{
    return a.state == b.state && (!a.state || (!memcmp(&a.px, &b.px, 8) && !memcmp(&a.py, &b.py, 8) &&
           a.cnt == b.cnt));
}
bool same(const bonus_struct &a, const bonus_struct &b)
{
    return a.state == b.state && (!a.state || (!memcmp(&a.px, &b.px, 8) && !memcmp(&a.py, &b.py, 8) &&
           a.type == b.type));
}

std::string set_line(int k, const terrain_vertex_struct &e)
{
    return fmt("set vertex %d ", k) + real(e.x) + " " + real(e.y) + fmt(" %d\n", e.state);
}
std::string set_line(int k, const jnt_struct &e)
{
    return fmt("set joint %d %d %d %d %d %d %d\n", k, e.state, e.tvn[0], e.tvn[1], e.njnt[0],
               e.njnt[1], e.type);
}
std::string set_line(int k, const ply_struct &e)
{
    return fmt("set poly %d %d %d %d %d %d %d %d %d\n", k, e.state, e.tvn[0], e.tvn[1], e.tvn[2],
               e.tvn[3], e.type, e.x, e.layer);
}
std::string set_line(int k, const bdr_struct &e)
{
    return fmt("set border %d %d %d %d %d %d %d %d %d %d %d ", k, e.state, e.tvn[0], e.tvn[1],
               e.tva[0], e.tva[1], e.last_b, e.next_b, e.type, e.x, e.wpn) +
           real(e.tex_offset) + " " + real(e.tex_len) + "\n";
}
std::string set_line(int k, const dad_struct &e)
{
    return fmt("set doodad %d %d ", k, e.state) + real(e.px) + " " + real(e.py) + " " + real(e.ang) +
           fmt(" %d %d %d %d %d\n", e.pic, e.type, e.sx, e.sy, e.layer);
}
std::string set_line(int k, const wpt_struct &e)
{
    return fmt("set waypoint %d %d ", k, e.state) + real(e.px) + " " + real(e.py) + fmt(" %d\n", e.cnt);
}
std::string set_line(int k, const bonus_struct &e)
{
    return fmt("set bonus %d %d ", k, e.state) + real(e.px) + " " + real(e.py) + fmt(" %d\n", e.type);
}

template <class T>
void patch_table(const std::vector<T> &want, const std::vector<T> &got, std::string *out, int *count)
{
    for (size_t k = 0; k < want.size(); k++)
        if (!same(want[k], got[k])) {
            *out += set_line((int)k, want[k]);
            (*count)++;
        }
}

std::string patches(const tables &want, const tables &got, int *count)
{
    std::string s;
    patch_table(want.v, got.v, &s, count);
    patch_table(want.jn, got.jn, &s, count);
    patch_table(want.p, got.p, &s, count);
    patch_table(want.b, got.b, &s, count);
    patch_table(want.d, got.d, &s, count);
    patch_table(want.w, got.w, &s, count);
    patch_table(want.bo, got.bo, &s, count);
    return s;
}

} // namespace

std::string dump_level_text(int *patch_count)
{
    tables original = snapshot();
    level_description desc = level_desc;
    std::string text = replay_text(original);
    int count = 0;
    std::string err;
    bool built = build_level_text(text, "dump", &err);
    tables rebuilt = snapshot();
    std::string fixes = built ? patches(original, rebuilt, &count) : std::string();
    if (!built) {
        // The replay itself is refused (records naming free vertices, say):
        // write every record as it stands.
        tables empty = original;
        for (auto &e : empty.v) e.state = 0;
        for (auto &e : empty.jn) e.state = 0;
        for (auto &e : empty.p) e.state = 0;
        for (auto &e : empty.b) e.state = 0;
        for (auto &e : empty.d) e.state = 0;
        for (auto &e : empty.w) e.state = 0;
        for (auto &e : empty.bo) e.state = 0;
        text = "# Level dump: every record as it stands.\n" + description_text(desc);
        fixes = patches(original, empty, &count);
    }
    if (count) text += "\n# records that the replay above does not reproduce\n" + fixes;
    if (patch_count) *patch_count = count;
    build_level_text(text, "dump", &err);       // leave the tables as the dump describes them
    return text;
}
