// tools/soak/world_check.cpp -- table-by-table invariant sweeps.
// Each sweep returns at the first fault so that one message names it exactly.
#include "world_check.h"
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include "hillhopper.h"
#include "polys.h"
#include "bonusnparticle.h"
#include "bodies.h"

// The first fault found; the sweeps return false once they have set it.
static std::string fault;

static bool say(const char *fmt, ...) __attribute__((format(printf, 1, 2)));
static bool say(const char *fmt, ...)
{
    char buf[256];
    va_list ap;
    va_start(ap, fmt);
    vsnprintf(buf, sizeof(buf), fmt, ap);
    va_end(ap);
    fault = buf;
    return false;
}

static bool in_table(long i, long capacity) { return i >= 0 && i < capacity; }
static bool link_ok(long i, long capacity) { return i == -1 || in_table(i, capacity); }
static bool is_finite(double v) { return std::isfinite(v); }

static bool check_body_numbers(int b)
{
    const body_struct &p = body[b];
    const double v[] = {p.x, p.y, p.xx, p.yy, p.xx_old, p.yy_old, p.ang, p.draw_ang, p.ang_v,
                        p.ang_v_old, p.jntx, p.jntvx, p.jntvx_old, p.h, p.vdir.x, p.vdir.y};
    for (size_t k = 0; k < sizeof(v) / sizeof(v[0]); k++)
        if (!is_finite(v[k])) return say("body %d: field %zu is %g", b, k, v[k]);
    for (int i = 0; i < body_points; i++) {
        const bodp_struct &q = p.bodp[i];
        if (!q.state) continue;
        if (!is_finite(q.x) || !is_finite(q.y) || !is_finite(q.rad) || !is_finite(q.mass))
            return say("body %d point %d: not finite", b, i);
    }
    return true;
}

static bool check_body_links(int b)
{
    const body_struct &p = body[b];
    if (!link_ok(p.jntn, num_jnts)) return say("body %d: ridden joint %d", b, p.jntn);
    if (p.jntn != -1 && jnt[p.jntn].state == 0) return say("body %d rides free joint %d", b, p.jntn);
    if (!in_table(p.foot, body_points)) return say("body %d: foot %d", b, p.foot);
    for (int i = 0; i < body_points; i++) {
        const bodp_struct &q = p.bodp[i];
        if (!q.state) continue;
        if (!in_table(q.pntn, num_pnts)) return say("body %d point %d: probe %d", b, i, q.pntn);
        if (!pnt[q.pntn].state) return say("body %d point %d: probe %d is free", b, i, q.pntn);
    }
    return true;
}

static bool check_bodies(void)
{
    for (int b = 0; b < num_bodies; b++) {
        if (!body[b].state) continue;
        if (!check_body_numbers(b) || !check_body_links(b)) return false;
    }
    if (!body[0].state) return say("the player's body 0 is free");
    int live = 0;
    for (int i = 0; i < body_points; i++) live += body[0].bodp[i].state != 0;
    if (live < player_points) return say("the player has %d live points", live);
    return true;
}

static bool check_terrain(void)
{
    for (int i = 0; i < num_jnts; i++) {
        const jnt_struct &r = jnt[i];
        if (!r.state) continue;
        for (int e = 0; e < 2; e++)
            if (!in_table(r.tvn[e], num_tvs) || !link_ok(r.njnt[e], num_jnts))
                return say("joint %d: vertex %d, neighbour %d", i, r.tvn[e], r.njnt[e]);
    }
    for (int i = 0; i < num_plys; i++) {
        const ply_struct &r = ply[i];
        if (!r.state) continue;
        for (int c = 0; c < 4; c++)
            if (!(c < 3 ? in_table(r.tvn[c], num_tvs) : link_ok(r.tvn[c], num_tvs)))
                return say("polygon %d: corner %d is %d", i, c, r.tvn[c]);
        if (!in_table(r.type, num_draw_funcs) || !in_table(r.x, num_tex_slots))
            return say("polygon %d: type %d, texture %d", i, r.type, r.x);
    }
    for (int i = 0; i < num_bdrs; i++) {
        const bdr_struct &r = bdr[i];
        if (!r.state) continue;
        for (int e = 0; e < 2; e++)
            if (!in_table(r.tvn[e], num_tvs) || !in_table(r.tva[e], num_tvs))
                return say("border %d: vertex %d, outer %d", i, r.tvn[e], r.tva[e]);
        if (!link_ok(r.last_b, num_bdrs) || !link_ok(r.next_b, num_bdrs))
            return say("border %d: chain %d, %d", i, r.last_b, r.next_b);
        if (!in_table(r.type, num_draw_funcs) || !in_table(r.x, num_tex_slots))
            return say("border %d: type %d, texture %d", i, r.type, r.x);
    }
    for (int i = 0; i < num_dads; i++) {
        const dad_struct &r = dad[i];
        if (r.state && (!in_table(r.pic, num_tex_slots) || !in_table(r.type, num_draw_funcs)))
            return say("doodad %d: picture %d, type %d", i, r.pic, r.type);
    }
    return true;
}

static bool check_objects(void)
{
    for (int i = 0; i < num_pnts; i++)
        if (pnt[i].state && !link_ok(pnt[i].pnt_reg, map_sx * map_sy))
            return say("probe %d: cell %d", i, pnt[i].pnt_reg);
    for (int i = 0; i < num_particles; i++) {
        const particle_struct &p = particle[i];
        if (p.state && !(is_finite(p.px) && is_finite(p.py) && is_finite(p.xx) && is_finite(p.yy)))
            return say("particle %d: not finite", i);
    }
    for (int i = 0; i < num_bees; i++) {
        const bees_struct &s = bees[i];
        if (!s.state) continue;
        if (!(is_finite(s.px) && is_finite(s.py) && is_finite(s.xx) && is_finite(s.yy)))
            return say("swarm %d: not finite", i);
        for (int k = 0; k < bees_per_swarm; k++)
            if (!link_ok(s.pn[k], num_particles)) return say("swarm %d: bee %d is %d", i, k, s.pn[k]);
    }
    for (int i = 0; i < num_bonuses; i++)
        if (bonus[i].state && !in_table(bonus[i].type, BONUS_ELECTRIC + 1))
            return say("bonus %d: type %d", i, bonus[i].type);
    return true;
}

// A cell's run must lie inside its list (runs past the list's end would have
// been writes past its capacity), and each entry must name a record of its
// table. One pass over the grid checks all four kinds.
struct list_kind {
    const char *name;
    const int *list;
    long list_size;
    int records;
};

static bool check_run(const list_kind &k, int c, long start, long count)
{
    if (count == 0) return true;
    if (count < 0 || start < 0 || start + count > k.list_size)
        return say("cell %d: %s run %ld+%ld past %ld", c, k.name, start, count, k.list_size);
    for (long e = start; e < start + count; e++)
        if (!in_table(k.list[e], k.records)) return say("cell %d: %s entry %ld is %d", c, k.name, e, k.list[e]);
    return true;
}

static bool check_region(void)
{
    const list_kind joints = {"joint", jnt_list, jnt_list_size, num_jnts};
    const list_kind polys = {"polygon", ply_list, ply_list_size, num_plys};
    const list_kind borders = {"border", bdr_list, bdr_list_size, num_bdrs};
    const list_kind probes = {"probe", pnt_list, pnt_list_size, num_pnts};
    for (int c = 0; c < map_sx * map_sy; c++) {
        const region_struct &r = region[c];
        if ((r.jnt_x | r.ply_x | r.bdr_x | r.pnt_x) == 0) continue;
        if (!check_run(joints, c, r.jnt_n, r.jnt_x) || !check_run(polys, c, r.ply_n, r.ply_x) ||
            !check_run(borders, c, r.bdr_n, r.bdr_x) || !check_run(probes, c, r.pnt_n, r.pnt_x))
            return false;
    }
    return true;
}

std::string terrain_problem(void)
{
    return check_terrain() && check_objects() && check_region() ? "" : fault;
}

std::string world_problem(void)
{
    return check_bodies() ? terrain_problem() : fault;
}
