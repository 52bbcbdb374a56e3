// tools/levels/build.cpp -- turns level source commands into world records
// through the game's own creation operations, then writes map<n>.trn with the
// game's writer.
// Records are made kind by kind, each kind in file order: vertices, joints,
// polygons, borders (whose outer vertices therefore follow every other
// vertex), doodads, waypoints, bonuses, then the "set" lines. The dumper
// relies on that order to replay a file slot for slot.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cerrno>
#include <fstream>
#include <algorithm>
#include <array>
#include <map>
#include <sstream>
#include <unistd.h>
#include <allegro.h>
#include "level_kit.h"
#include "level_source.h"
#include "hillhopper.h"
#include "game.h"
#include "zmem.h"
#include "textures.h"
#include "terrain_file.h"
#include "joints.h"
#include "polys.h"
#include "borders.h"
#include "doodads.h"
#include "waypoints.h"
#include "bonusnparticle.h"
#include "geometry.h"

namespace {

const double max_arc_step = 0.2;        // radians of turn per joint of a rounded corner
const double max_tangent_share = 0.45;  // a rounding uses at most this share of an edge
// Long joints bend the smoothed riding path away from the edge (its end
// tangents follow the corner mitres over the whole length), so chains are cut
// into pieces no longer than this.
const double max_joint_length = 1.0;    // world units
const double area_eps = 1e-9;           // twice the area below which a point is on an edge
const double straight_tolerance = 1e-5; // sine of the turn below which a corner is straight

struct build_state {
    std::string source;
    std::string *error = nullptr;
    std::map<std::pair<float, float>, int> vertex_at;  // merging by stored position
    std::vector<std::vector<int>> path;                 // per command: its vertex slots
    std::vector<std::vector<int>> extra;                // per command: fill-only vertices

    bool fail(const source_command &c, const std::string &msg)
    {
        if (error) *error = source + ":" + std::to_string(c.line) + ": " + msg;
        return false;
    }
};

// ---- geometry of the sources ------------------------------------------------

struct xy {
    double x, y;
};

xy sub(xy a, xy b) { return {a.x - b.x, a.y - b.y}; }
double cross(xy a, xy b) { return a.x * b.y - a.y * b.x; }
double len(xy a) { return std::sqrt(a.x * a.x + a.y * a.y); }

// Replaces the corner at b (between a and c) by a circular arc of radius r
// tangent to both edges, as a run of points from the first tangent point to
// the second.
void round_corner(xy a, xy b, xy c, double r, std::vector<xy> *out)
{
    xy d1 = sub(b, a), d2 = sub(c, b);
    double l1 = len(d1), l2 = len(d2);
    if (l1 < 1e-9 || l2 < 1e-9) { out->push_back(b); return; }
    d1 = {d1.x / l1, d1.y / l1};
    d2 = {d2.x / l2, d2.y / l2};
    double turn = std::atan2(cross(d1, d2), d1.x * d2.x + d1.y * d2.y);   // signed
    if (std::fabs(turn) < 1e-6 || std::fabs(turn) > Z_PI - 1e-3) { out->push_back(b); return; }
    double t = r * std::tan(std::fabs(turn) / 2);
    double t_max = max_tangent_share * std::min(l1, l2);
    if (t > t_max) {
        t = t_max;
        r = t / std::tan(std::fabs(turn) / 2);
    }
    xy start = {b.x - d1.x * t, b.y - d1.y * t};
    double side = turn > 0 ? 1 : -1;                    // left turn: centre on the left
    xy centre = {start.x - d1.y * r * side, start.y + d1.x * r * side};
    int steps = (int)std::ceil(std::fabs(turn) / max_arc_step);
    double a0 = std::atan2(start.y - centre.y, start.x - centre.x);
    for (int k = 0; k <= steps; k++) {
        double ang = a0 + turn * k / steps;
        out->push_back({centre.x + r * std::cos(ang), centre.y + r * std::sin(ang)});
    }
}

std::vector<xy> round_corners(const source_command &c);

void add_subdivided(std::vector<xy> *out, xy p)
{
    if (!out->empty()) {
        xy a = out->back();
        int pieces = (int)std::ceil(len(sub(p, a)) / max_joint_length - 1e-9);
        for (int k = 1; k < pieces; k++)
            out->push_back({a.x + (p.x - a.x) * k / pieces, a.y + (p.y - a.y) * k / pieces});
    }
    out->push_back(p);
}

std::vector<xy> expand_points(const source_command &c)
{
    std::vector<xy> corners = round_corners(c), out;
    for (xy p : corners) add_subdivided(&out, p);
    if (c.closed && !corners.empty()) {
        add_subdivided(&out, corners.front());
        out.pop_back();
    }
    return out;
}

std::vector<xy> round_corners(const source_command &c)
{
    std::vector<xy> out;
    size_t n = c.points.size();
    for (size_t i = 0; i < n; i++) {
        const source_point &p = c.points[i];
        bool has_both = c.closed || (i > 0 && i + 1 < n);
        if (p.round <= 0 || !has_both) {
            out.push_back({p.x, p.y});
            continue;
        }
        const source_point &a = c.points[(i + n - 1) % n];
        const source_point &b = c.points[(i + 1) % n];
        round_corner({a.x, a.y}, {p.x, p.y}, {b.x, b.y}, p.round, &out);
    }
    return out;
}

// ---- vertices -----------------------------------------------------------------

int vertex_for(build_state &st, const source_command &c, xy p, int *slot)
{
    std::pair<float, float> key((float)p.x, (float)p.y);
    auto it = st.vertex_at.find(key);
    if (it != st.vertex_at.end()) { *slot = it->second; return 1; }
    int v = new_tv(p.x, p.y);
    if (v < 0) return st.fail(c, "the vertex table is full");
    st.vertex_at[key] = v;
    *slot = v;
    return 1;
}

bool inside_region(xy p)
{
    return p.x >= -80 && p.x < 80 && p.y >= -40 && p.y < 40;
}

bool make_vertices(build_state &st, const std::vector<source_command> &cmds, size_t i)
{
    const source_command &c = cmds[i];
    std::vector<xy> pts;
    switch (c.kind) {
    case CMD_GROUND: case CMD_SHAPE: case CMD_BAND: case CMD_ARROWS:
        pts = c.kind == CMD_SHAPE ? std::vector<xy>() : expand_points(c);
        if (c.kind == CMD_SHAPE)
            for (const source_point &p : c.points) pts.push_back({p.x, p.y});
        break;
    case CMD_QUAD:
        for (int k = 0; k < 4; k++) pts.push_back({c.nums[2 * k], c.nums[2 * k + 1]});
        break;
    case CMD_VERTEX: {
        int v = new_tv(c.nums[0], c.nums[1]);
        if (v < 0) return st.fail(c, "the vertex table is full");
        return true;
    }
    default:
        return true;
    }
    for (xy p : pts) {
        if (!inside_region(p)) return st.fail(c, "a point lies outside x -80..80, y -40..40");
        int v;
        if (!vertex_for(st, c, p, &v)) return false;
        if (st.path[i].empty() || st.path[i].back() != v) st.path[i].push_back(v);
    }
    if (c.closed && st.path[i].size() > 1 && st.path[i].front() == st.path[i].back())
        st.path[i].pop_back();
    if (c.kind == CMD_GROUND && c.under_tex >= 0) {
        const terrain_vertex_struct &first = tv[st.path[i].front()];
        const terrain_vertex_struct &last = tv[st.path[i].back()];
        int a, b;
        if (!inside_region({first.x, c.under_bottom}))
            return st.fail(c, "the fill's bottom lies outside the region");
        if (!vertex_for(st, c, {last.x, c.under_bottom}, &a)) return false;
        if (!vertex_for(st, c, {first.x, c.under_bottom}, &b)) return false;
        st.extra[i] = {a, b};
    }
    return true;
}

// ---- polygons -----------------------------------------------------------------

xy at(int v) { return {tv[v].x, tv[v].y}; }

// A vertex inside an ear or on its border (other than at its corners) stops
// the ear from being cut: a cut through a vertex would split the outline.
bool blocks_ear(xy p, xy a, xy b, xy c)
{
    auto same = [](xy u, xy v) { return u.x == v.x && u.y == v.y; };
    if (same(p, a) || same(p, b) || same(p, c)) return false;
    double d1 = cross(sub(b, a), sub(p, a));
    double d2 = cross(sub(c, b), sub(p, b));
    double d3 = cross(sub(a, c), sub(p, c));
    return d1 >= -area_eps && d2 >= -area_eps && d3 >= -area_eps;
}

// The game draws a polygon only when one of its edges crosses a visible grid
// cell, so a big triangle vanishes while the view lies deep inside it. Fills
// are therefore refined until no edge is longer than this: every point of a
// fill then lies within a cell or so of some edge.
const double max_fill_edge = 2.4;       // world units, three grid cells

typedef std::vector<std::array<int, 3>> triangle_list;

double edge_len(int a, int b) { return len(sub(at(a), at(b))); }

// Splits the longest edge of the whole mesh at its middle, in every triangle
// that has it, until all edges are short: the mesh stays without T-joins.
bool refine(build_state &st, const source_command &c, triangle_list *tris)
{
    for (;;) {
        double longest = max_fill_edge;
        int ea = -1, eb = -1;
        for (const auto &t : *tris)
            for (int k = 0; k < 3; k++) {
                double l = edge_len(t[k], t[(k + 1) % 3]);
                if (l > longest) { longest = l; ea = t[k]; eb = t[(k + 1) % 3]; }
            }
        if (ea < 0) return true;
        int m = new_tv((tv[ea].x + (double)tv[eb].x) / 2, (tv[ea].y + (double)tv[eb].y) / 2);
        if (m < 0) return st.fail(c, "the vertex table is full");
        size_t n = tris->size();
        for (size_t i = 0; i < n; i++) {
            auto &t = (*tris)[i];
            for (int k = 0; k < 3; k++) {
                int a = t[k], b = t[(k + 1) % 3], o = t[(k + 2) % 3];
                if (!((a == ea && b == eb) || (a == eb && b == ea))) continue;
                t = {a, m, o};
                tris->push_back({m, b, o});
                break;
            }
        }
    }
}

// Ear clipping of a simple outline into world-textured triangles.
bool triangulate(build_state &st, const source_command &c, std::vector<int> ring, int tex,
                 int layer)
{
    double area = 0;
    for (size_t k = 0; k < ring.size(); k++)
        area += cross(at(ring[k]), at(ring[(k + 1) % ring.size()]));
    if (area < 0) std::reverse(ring.begin(), ring.end());
    triangle_list tris;
    int guard = 0;
    while (ring.size() >= 3) {
        size_t n = ring.size();
        bool clipped = false;
        for (size_t k = 0; k < n && !clipped; k++) {
            int a = ring[(k + n - 1) % n], b = ring[k], d = ring[(k + 1) % n];
            double turn = cross(sub(at(b), at(a)), sub(at(d), at(b)));
            // Vertices are floats: points cut along a straight edge are only
            // nearly in line, so "straight" is judged relative to the edges.
            double scale = len(sub(at(b), at(a))) * len(sub(at(d), at(b)));
            if (std::fabs(turn) <= straight_tolerance * scale) {   // drop the middle vertex
                ring.erase(ring.begin() + k);
                clipped = true;
                break;
            }
            if (turn < 0) continue;                     // reflex corner
            bool empty = true;
            for (size_t m = 0; m < n && empty; m++) {
                int v = ring[m];
                if (v == a || v == b || v == d) continue;
                if (blocks_ear(at(v), at(a), at(b), at(d))) empty = false;
            }
            if (!empty) continue;
            tris.push_back({a, b, d});
            ring.erase(ring.begin() + k);
            clipped = true;
        }
        if (!clipped || ++guard > 100000)
            return st.fail(c, "the outline is not a simple polygon");
    }
    if (!refine(st, c, &tris)) return false;
    for (const auto &t : tris) new_ply(t[0], t[1], t[2], -1, 0, tex, layer);
    return true;
}

bool vertex_ok(int v) { return v >= 0 && v < num_tvs && tv[v].state != 0; }

bool texture_ok(int tex) { return tex >= 0 && tex < NUM_TEX; }

bool make_polygons(build_state &st, const std::vector<source_command> &cmds, size_t i)
{
    const source_command &c = cmds[i];
    for (int t : {c.under_tex, c.inside_tex, c.tex})
        if (t >= 0 && c.kind != CMD_DOODAD && c.kind != CMD_BONUS && !texture_ok(t))
            return st.fail(c, "texture " + std::to_string(t) + " is not in the datafile");
    const std::vector<int> &p = st.path[i];
    switch (c.kind) {
    case CMD_GROUND:
        if (c.under_tex >= 0) {
            std::vector<int> ring = p;
            ring.push_back(st.extra[i][0]);
            ring.push_back(st.extra[i][1]);
            if (!triangulate(st, c, ring, c.under_tex, c.under_layer)) return false;
        }
        if (c.inside_tex >= 0 && !triangulate(st, c, p, c.inside_tex, c.inside_layer))
            return false;
        return true;
    case CMD_SHAPE:
        return triangulate(st, c, p, c.tex, c.layer);
    case CMD_QUAD: {
        if (p.size() != 4) return st.fail(c, "a quad needs four different corners");
        // The game culls clockwise faces. Reversing the corners keeps the
        // faded side (4-1) and the opaque side (2-3) where they were.
        double area = 0;
        for (int k = 0; k < 4; k++) area += cross(at(p[k]), at(p[(k + 1) % 4]));
        if (area < 0) new_ply(p[3], p[2], p[1], p[0], 1, c.tex, c.layer);
        else new_ply(p[0], p[1], p[2], p[3], 1, c.tex, c.layer);
        return true;
    }
    case CMD_TRI: case CMD_QUADV:
        for (int v : c.refs)
            if (!vertex_ok(v)) return st.fail(c, "vertex slot " + std::to_string(v) + " is not in use");
        new_ply(c.refs[0], c.refs[1], c.refs[2], c.kind == CMD_TRI ? -1 : c.refs[3],
                c.kind == CMD_TRI ? 0 : 1, c.tex, c.layer);
        return true;
    default:
        return true;
    }
}

// ---- joints and borders -----------------------------------------------------

bool make_joints(build_state &st, const std::vector<source_command> &cmds, size_t i)
{
    const source_command &c = cmds[i];
    if (c.kind == CMD_JOINT) {
        if (!vertex_ok(c.refs[0]) || !vertex_ok(c.refs[1]))
            return st.fail(c, "a joint's vertex is not in use");
        new_jnt(c.refs[0], c.refs[1], c.type);
        return true;
    }
    if (c.kind != CMD_GROUND) return true;
    const std::vector<int> &p = st.path[i];
    size_t edges = c.closed ? p.size() : p.size() - 1;
    for (size_t k = 0; k < edges; k++) new_jnt(p[k], p[(k + 1) % p.size()], c.joint_type);
    return true;
}

bool make_borders(build_state &st, const std::vector<source_command> &cmds, size_t i)
{
    const source_command &c = cmds[i];
    if (c.kind == CMD_BORDER) {
        if (!vertex_ok(c.refs[0]) || !vertex_ok(c.refs[1]))
            return st.fail(c, "a border's vertex is not in use");
        if (!texture_ok(c.tex))
            return st.fail(c, "texture " + std::to_string(c.tex) + " is not in the datafile");
        j[J_ARROW_GROUP] = c.group;
        new_bdr2(c.refs[0], c.refs[1], c.type, c.tex);
        return true;
    }
    bool banded = (c.kind == CMD_GROUND || c.kind == CMD_BAND || c.kind == CMD_ARROWS) &&
                  c.band_tex >= 0;
    if (!banded) return true;
    if (!texture_ok(c.band_tex))
        return st.fail(c, "texture " + std::to_string(c.band_tex) + " is not in the datafile");
    const std::vector<int> &p = st.path[i];
    j[J_ARROW_GROUP] = c.kind == CMD_ARROWS ? c.group : 0;
    size_t edges = c.closed ? p.size() : p.size() - 1;
    for (size_t k = 0; k < edges; k++) new_bdr2(p[k], p[(k + 1) % p.size()], c.band_type, c.band_tex);
    return true;
}

// ---- objects --------------------------------------------------------------------

bool make_objects(build_state &st, const source_command &c, command_kind kind)
{
    if (c.kind != kind) return true;
    if (kind == CMD_DOODAD) {
        if (c.tex >= NUM_DTEX) return st.fail(c, "picture " + std::to_string(c.tex) + " is not in the datafile");
        if (new_dad(c.nums[0], c.nums[1], c.nums[2], c.tex, 0, (char)c.layer) == num_dads)
            return st.fail(c, "the doodad table is full");
    } else if (kind == CMD_WAYPOINT) {
        new_wpt(c.nums[0], c.nums[1]);
    } else if (kind == CMD_BONUS) {
        new_bonus(c.nums[0], c.nums[1], (short)c.type);
    }
    return true;
}

// ---- "set" lines: a record written as it stands ----------------------------------

bool get_ints(const std::vector<std::string> &w, size_t from, size_t count, long *out)
{
    if (w.size() != from + count) return false;
    for (size_t k = 0; k < count; k++) {
        char *end = nullptr;
        errno = 0;
        out[k] = strtol(w[from + k].c_str(), &end, 10);
        if (!end || *end || errno) return false;
    }
    return true;
}

bool get_reals(const std::vector<std::string> &w, size_t from, size_t count, double *out)
{
    if (w.size() < from + count) return false;
    for (size_t k = 0; k < count; k++) {
        char *end = nullptr;
        out[k] = strtod(w[from + k].c_str(), &end);
        if (!end || *end) return false;
    }
    return true;
}

bool apply_set(build_state &st, const source_command &c)
{
    const std::vector<std::string> &w = c.words;
    const std::string &t = w[0];
    long v[12];
    double r[4];
    auto bad = [&]() { return st.fail(c, "bad 'set " + t + "' line"); };
    long slot = -1;
    if (!get_ints({w[0], w[1]}, 1, 1, &slot)) return bad();
    if (t == "vertex") {
        if (slot < 0 || slot >= num_tvs || !get_reals(w, 2, 2, r) || !get_ints(w, 4, 1, v)) return bad();
        tv[slot].x = (float)r[0];
        tv[slot].y = (float)r[1];
        tv[slot].state = (char)v[0];
    } else if (t == "joint") {
        if (slot < 0 || slot >= num_jnts || !get_ints(w, 2, 6, v)) return bad();
        jnt_struct &e = jnt[slot];
        e.state = (char)v[0]; e.tvn[0] = (int)v[1]; e.tvn[1] = (int)v[2];
        e.njnt[0] = (int)v[3]; e.njnt[1] = (int)v[4]; e.type = (short)v[5];
    } else if (t == "poly") {
        if (slot < 0 || slot >= num_plys || !get_ints(w, 2, 8, v)) return bad();
        ply_struct &e = ply[slot];
        e.state = (char)v[0];
        for (int k = 0; k < 4; k++) e.tvn[k] = (int)v[1 + k];
        e.type = (short)v[5]; e.x = (short)v[6]; e.layer = (char)v[7];
    } else if (t == "border") {
        if (slot < 0 || slot >= num_bdrs || w.size() != 14 || !get_ints(std::vector<std::string>(w.begin(), w.begin() + 12), 2, 10, v) ||
            !get_reals(w, 12, 2, r))
            return bad();
        bdr_struct &e = bdr[slot];
        e.state = (char)v[0]; e.tvn[0] = (int)v[1]; e.tvn[1] = (int)v[2];
        e.tva[0] = (int)v[3]; e.tva[1] = (int)v[4]; e.last_b = (short)v[5]; e.next_b = (short)v[6];
        e.type = (short)v[7]; e.x = (short)v[8]; e.wpn = (short)v[9];
        e.tex_offset = (float)r[0]; e.tex_len = (float)r[1];
    } else if (t == "doodad") {
        if (slot < 0 || slot >= num_dads || w.size() != 11 || !get_reals(w, 3, 3, r)) return bad();
        std::vector<std::string> ints = {w[0], w[1], w[2], w[6], w[7], w[8], w[9], w[10]};
        if (!get_ints(ints, 2, 6, v)) return bad();
        dad_struct &e = dad[slot];
        e.state = (char)v[0]; e.px = (float)r[0]; e.py = (float)r[1]; e.ang = (float)r[2];
        e.pic = (int)v[1]; e.type = (int)v[2]; e.sx = (short)v[3]; e.sy = (short)v[4];
        e.layer = (char)v[5];
    } else if (t == "waypoint" || t == "bonus") {
        int capacity = t == "waypoint" ? num_wpts : num_bonuses;
        if (slot < 0 || slot >= capacity || w.size() != 6 || !get_reals(w, 3, 2, r)) return bad();
        std::vector<std::string> ints = {w[0], w[1], w[2], w[5]};
        if (!get_ints(ints, 2, 2, v)) return bad();
        if (t == "waypoint") {
            wpt[slot].state = (char)v[0]; wpt[slot].px = r[0]; wpt[slot].py = r[1];
            wpt[slot].cnt = (int)v[1];
        } else {
            bonus[slot].state = (char)v[0]; bonus[slot].px = r[0]; bonus[slot].py = r[1];
            bonus[slot].type = (short)v[1];
        }
    } else {
        return st.fail(c, "unknown table '" + t + "' in a set line");
    }
    return true;
}

// A source without these lines makes a file without a level section.
void apply_level_line(const source_command &c)
{
    level_description &d = level_desc;
    d.present = true;
    if (c.kind == CMD_START) {
        d.start_x = c.nums[0];
        d.start_y = c.nums[1];
        // Without an angle the player starts as on the first stages.
        d.start_ang = c.nums.size() > 2 ? c.nums[2] : level_start_values(0).ang;
    } else if (c.kind == CMD_TIME) {
        d.time = c.nums[0];
    } else if (c.kind == CMD_NAME) {
        set_level_name(&d, c.type, c.words[0].c_str());
    } else if (c.kind == CMD_SKY) {
        d.sky = c.type;
    } else if (c.kind == CMD_MUSIC) {
        d.music = c.type;
    }
}

bool is_level_line(command_kind k)
{
    return k == CMD_START || k == CMD_TIME || k == CMD_NAME || k == CMD_SKY || k == CMD_MUSIC;
}

} // namespace

bool build_level_text(const std::string &text, const std::string &source_name, std::string *error)
{
    std::vector<source_command> cmds;
    if (!parse_level_source(text, source_name, &cmds, error)) return false;
    load_plain_level();
    clear_wpts();
    clear_bonuses();
    level_desc = default_level_description(-1);
    int saved_group = j[J_ARROW_GROUP];

    build_state st;
    st.source = source_name;
    st.error = error;
    st.path.resize(cmds.size());
    st.extra.resize(cmds.size());
    bool ok = true;
    for (size_t i = 0; ok && i < cmds.size(); i++) ok = make_vertices(st, cmds, i);
    for (size_t i = 0; ok && i < cmds.size(); i++) ok = make_joints(st, cmds, i);
    for (size_t i = 0; ok && i < cmds.size(); i++) ok = make_polygons(st, cmds, i);
    for (size_t i = 0; ok && i < cmds.size(); i++) ok = make_borders(st, cmds, i);
    for (command_kind k : {CMD_DOODAD, CMD_WAYPOINT, CMD_BONUS})
        for (size_t i = 0; ok && i < cmds.size(); i++) ok = make_objects(st, cmds[i], k);
    for (size_t i = 0; ok && i < cmds.size(); i++)
        if (cmds[i].kind == CMD_SET) ok = apply_set(st, cmds[i]);
    for (size_t i = 0; ok && i < cmds.size(); i++)
        if (is_level_line(cmds[i].kind)) apply_level_line(cmds[i]);
    const char *why = nullptr;
    if (ok && level_desc.present && !level_description_ok(level_desc, &why)) {
        if (error) *error = source_name + ": the level's description: " + why;
        ok = false;
    }
    j[J_ARROW_GROUP] = saved_group;
    update_region_jnts();
    update_region_bdrs();
    update_region_plys();
    return ok;
}

bool build_level_file(const std::string &path, std::string *error)
{
    std::ifstream in(path);
    if (!in) {
        if (error) *error = path + ": cannot be read";
        return false;
    }
    std::stringstream text;
    text << in.rdbuf();
    return build_level_text(text.str(), path, error);
}

static std::string level_path(const std::string &dir, int lev)
{
    return dir + "/map" + std::to_string(lev) + ".trn";
}

// A fresh build replaces the file outright: the writer's backup of the old
// file is of no use for a file that is made from its source every time.
bool save_level_to(const std::string &dir, int lev)
{
    std::string path = level_path(dir, lev);
    remove(path.c_str());
    bool ok = save_terrain_file(path.c_str()) == 1;
    remove((path + ".bak").c_str());
    return ok;
}

bool load_level_from(const std::string &dir, int lev)
{
    clear_wpts();
    clear_bonuses();
    return load_terrain_file(level_path(dir, lev).c_str()) == 1;
}

bool level_tools_init(const std::string &game_dir, std::string *error)
{
    static bool done = false;
    if (done) return true;
    for (const char *name : {"ttex01.dat", "doodads01.dat"}) {
        std::string path = game_dir + "/" + name;
        if (access(path.c_str(), R_OK) != 0) {
            if (error) *error = path + ": missing; build the datafiles first";
            return false;
        }
    }
    if (!tv) {                      // the tests may have set up the world already
        install_allegro(SYSTEM_NONE, &errno, atexit);
        headless = 1;
        alloc_world_tables();
    }
    pacing_enabled = 0;
    char cwd[4096];
    if (!getcwd(cwd, sizeof(cwd)) || chdir(game_dir.c_str()) != 0) {
        if (error) *error = game_dir + ": cannot be entered";
        return false;
    }
    load_textures();
    if (chdir(cwd) != 0) {}
    done = true;
    return true;
}
