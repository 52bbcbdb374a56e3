// terrain/borders.cpp -- border bands: building, chaining, texture wrapping.
// A border's outer vertices live in the vertex table and are shared along a
// chain; a chain's first border keeps last_b -1 even once the chain is closed,
// which is how the wrapping finds closed loops.
#include <cmath>
#include "hillhopper.h"
#include "borders.h"
#include "geometry.h"
#include "region.h"
#include "textures.h"
#include "zmem.h"

// Half the band's width in world units per texel of the texture's height.
const double band_units_per_texel = 0.002;
// Texture repeats along a border per texel of the texture's width and world
// unit: a texture W texels wide repeats every W / 256 world units.
const double tex_repeat_texels = 256.0;
// Below this length the corner mitre is taken for two borders in line.
const double in_line_mitre = 1e-5;
// A loop whose total repeats are this close to a whole number already wraps.
const double wrap_tolerance = 0.00001;

static int bdr_in_use(int n)
{
    return n >= 0 && n < num_bdrs && bdr[n].state != 0;
}

static int tv_in_use(int v)
{
    return v >= 0 && v < num_tvs && tv[v].state != 0;
}

int get_last_bdr_from_tv(int v)
{
    for (int i = 0; i < num_bdrs; i++)
        if (bdr[i].state && bdr[i].tvn[1] == v) return i;
    return -1;
}

int get_next_bdr_from_tv(int v)
{
    for (int i = 0; i < num_bdrs; i++)
        if (bdr[i].state && bdr[i].tvn[0] == v) return i;
    return -1;
}

static vect_struct tv_pos(int v)
{
    return vect_struct{(double)tv[v].x, (double)tv[v].y};
}

void get_bdr_main_vect(int n, vect_struct *v)
{
    v->x = 0;
    v->y = 0;
    if (n < 0 || n >= num_bdrs || !tv_in_use(bdr[n].tvn[0]) || !tv_in_use(bdr[n].tvn[1]))
        return;
    vect_struct a = tv_pos(bdr[n].tvn[0]), b = tv_pos(bdr[n].tvn[1]);
    v->x = b.x - a.x;
    v->y = b.y - a.y;
}

static int free_tv_count(int enough)
{
    int n = 0;
    for (int i = 0; i < num_tvs && n < enough; i++)
        if (tv[i].state == 0) n++;
    return n;
}

// The mitre direction at a corner between neighbour A (unit vector D) and the
// new border (unit vector E), turned by S; it points to the chain's right, so
// the shared outer vertex goes to the left on the corner's bisector.
vect_struct bdr_mitre(vect_struct d, vect_struct e, int s)
{
    vect_struct m = {(d.x - e.x) * s, (d.y - e.y) * s};
    if (vect_mag(m) < in_line_mitre) m = vect_struct{e.y, -e.x};
    vect_struct u;
    unit_vect(m, &u);
    return u;
}

static void place_mitred_vertex(int outer, int edge_v, vect_struct m, double half_width)
{
    vect_struct p = tv_pos(edge_v);
    tv[outer].x = (float)(p.x - m.x * half_width);
    tv[outer].y = (float)(p.y - m.y * half_width);
}

static vect_struct unit_main_vect(int n)
{
    vect_struct v, u;
    get_bdr_main_vect(n, &v);
    unit_vect(v, &u);
    return u;
}

static int first_free_bdr(void)
{
    for (int i = 0; i < num_bdrs; i++)
        if (bdr[i].state == 0) return i;
    return -1;
}

// Creation in phases: check everything it needs (a slot, real vertices, room
// for the outer vertices it must make) before any table changes, so a refused
// border leaves no trace.
void new_bdr2(int tv1, int tv2, int type, int tex)
{
    int b = first_free_bdr();
    if (b < 0) return;
    if (!tv_in_use(tv1) || !tv_in_use(tv2) || tv1 == tv2) return;

    // Neighbours, looked up before this border exists so it never finds itself.
    int prev = get_last_bdr_from_tv(tv1);
    int next = get_next_bdr_from_tv(tv2);
    int needed = (prev < 0) + (next < 0);
    if (free_tv_count(needed) < needed) return;   // the outer vertices would not fit

    double w = 0, h = 0;
    if (tex >= 0 && tex < num_tex_slots) get_tex_size(terrain_tex[tex], &w, &h);
    const double half_width = h * band_units_per_texel;

    bdr[b] = bdr_struct{};
    bdr[b].state = 1;
    bdr[b].tvn[0] = tv1;
    bdr[b].tvn[1] = tv2;
    bdr[b].tva[0] = bdr[b].tva[1] = -1;
    bdr[b].last_b = bdr[b].next_b = -1;
    bdr[b].type = (short)type;
    bdr[b].x = (short)tex;
    bdr[b].wpn = (short)j[J_ARROW_GROUP];

    vect_struct m, e, left;
    get_bdr_main_vect(b, &m);
    // A texture of no width would give an infinite length; such a band is
    // drawn with its texture unstretched instead.
    bdr[b].tex_len = w > 0 ? (float)(vect_mag(m) / w * tex_repeat_texels) : 0.0f;
    unit_vect(m, &e);
    vect_struct perp;
    perp_vect(m, &perp);
    unit_vect(perp, &left);

    // Start: share the predecessor's end outer vertex, or make one.
    if (prev < 0) {
        vect_struct p = tv_pos(tv1);
        bdr[b].tva[0] = new_tv(p.x + left.x * half_width, p.y + left.y * half_width);
        bdr[b].tex_offset = 0;
    } else {
        bdr[b].tva[0] = bdr[prev].tva[1];
        int s = get_tri_dir(bdr[prev].tvn[0], tv1, tv2);
        bdr[b].tex_offset = bdr[prev].tex_offset + bdr[prev].tex_len;
        bdr[prev].next_b = (short)b;
        bdr[b].last_b = (short)prev;
        if (tv_in_use(bdr[b].tva[0]))
            place_mitred_vertex(bdr[b].tva[0], tv1, bdr_mitre(unit_main_vect(prev), e, s),
                                half_width);
    }

    // End: share the successor's start outer vertex, or make one. A border
    // with no successor starts its offset at 0; the wrapping below gives it
    // its place in the chain again.
    if (next < 0) {
        vect_struct p = tv_pos(tv2);
        bdr[b].tva[1] = new_tv(p.x + left.x * half_width, p.y + left.y * half_width);
        bdr[b].tex_offset = 0;
    } else {
        bdr[b].tva[1] = bdr[next].tva[0];
        int s = get_tri_dir(tv1, bdr[next].tvn[1], tv2);
        bdr[b].next_b = (short)next;
        if (tv_in_use(bdr[b].tva[1]))
            place_mitred_vertex(bdr[b].tva[1], tv2, bdr_mitre(unit_main_vect(next), e, s),
                                half_width);
    }

    update_border_wrapping();
}

// ---- texture wrapping ------------------------------------------------------

// Per-walk marks: a border carries the number of the walk that last met it,
// so a chain closed onto its own middle stops at the first border met twice.
static int walk_mark[num_bdrs];
static int walk_number = 0;

static void begin_walk(void)
{
    if (++walk_number == 0x7fffffff) {
        for (int i = 0; i < num_bdrs; i++) walk_mark[i] = 0;
        walk_number = 1;
    }
}

// The successor of c on this walk, or -1 when the chain ends, leads out of
// the table, or comes back to a border already met (h itself included).
static int walk_step(int c)
{
    int d = bdr[c].next_b;
    if (!bdr_in_use(d) || walk_mark[d] == walk_number) return -1;
    walk_mark[d] = walk_number;
    return d;
}

// Offsets the chain starting at h; returns the last border when the chain is
// a loop closed back onto h, else -1.
static int offset_chain(int h)
{
    begin_walk();
    walk_mark[h] = walk_number;
    int c = h;
    for (;;) {
        int d = bdr[c].next_b;
        if (d == h) return c;
        d = walk_step(c);
        if (d < 0) return -1;
        bdr[d].tex_offset = bdr[c].tex_offset + bdr[c].tex_len;
        c = d;
    }
}

// Ratio that turns a loop's total repeats into a whole number; 1 when the loop
// already wraps or when there is nothing to scale (a total of 0).
double bdr_wrap_ratio(double total)
{
    if (total == 0 || !std::isfinite(total)) return 1.0;
    double r = std::trunc(total) / total;
    if (r > 1.0 - wrap_tolerance && r < 1.0 + wrap_tolerance) return 1.0;
    return r;
}

static void scale_loop(int h, double r)
{
    begin_walk();
    walk_mark[h] = walk_number;
    int c = h;
    for (;;) {
        bdr[c].tex_len = (float)(bdr[c].tex_len * r);
        int d = bdr[c].next_b;
        if (d == h) return;
        d = walk_step(c);
        if (d < 0) return;
        bdr[d].tex_offset = bdr[c].tex_offset + bdr[c].tex_len;
        c = d;
    }
}

void update_border_wrapping(void)
{
    for (int h = 0; h < num_bdrs; h++) {
        if (!bdr[h].state || bdr[h].last_b != -1) continue;
        int last = offset_chain(h);
        if (last < 0) continue;
        double total = (double)bdr[last].tex_offset + (double)bdr[last].tex_len;
        double r = bdr_wrap_ratio(total);
        if (r != 1.0) scale_loop(h, r);
    }
}

// ---- grid filing -----------------------------------------------------------

static int bdr_edges(int n, int ends[max_record_edges][2])
{
    if (!bdr[n].state) return 0;
    ends[0][0] = bdr[n].tvn[0];
    ends[0][1] = bdr[n].tvn[1];
    return 1;
}

void update_region_bdrs(void)
{
    region_kind k = {"borders", num_bdrs, bdr_edges, bdr_list, bdr_list_size,
                     &region_struct::bdr_n, &region_struct::bdr_x};
    rebuild_region_kind(k);
}
