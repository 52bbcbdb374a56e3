// terrain/bdr_geometry.cpp -- a border band's rails, step length and strip
// walk. A rail is a parabola over its chord whose offset is 0 at both ends;
// its end slopes are half the difference of the two mitres' slants.
#include <cmath>
#include "hillhopper.h"
#include "bdr_geometry.h"
#include "geometry.h"

// Step lengths along a rail, world units: the finest where the end mitres
// diverge, the coarsest (0.025 + 0.1) where they are parallel.
const double bdr_min_step = 0.025;
const double bdr_step_range = 0.1;

static int tv_usable(int v)
{
    return v >= 0 && v < num_tvs && tv[v].state != 0;
}

static vect_struct tv_at(int v)
{
    return vect_struct{(double)tv[v].x, (double)tv[v].y};
}

int get_bdr_ends(int n, bdr_ends *e)
{
    if (n < 0 || n >= num_bdrs || !bdr[n].state) return 0;
    const bdr_struct &b = bdr[n];
    if (!tv_usable(b.tvn[0]) || !tv_usable(b.tvn[1]) || !tv_usable(b.tva[0]) ||
        !tv_usable(b.tva[1]))
        return 0;
    e->start = tv_at(b.tvn[0]);
    e->end = tv_at(b.tvn[1]);
    vect_struct oa = tv_at(b.tva[0]), ob = tv_at(b.tva[1]);
    e->va = vect_struct{e->start.x - oa.x, e->start.y - oa.y};
    e->vb = vect_struct{e->end.x - ob.x, e->end.y - ob.y};
    return 1;
}

int make_bdr_rail(const bdr_ends &e, double f, bdr_rail *r)
{
    r->s = vect_struct{e.start.x + f * e.va.x, e.start.y + f * e.va.y};
    r->e = vect_struct{e.end.x + f * e.vb.x, e.end.y + f * e.vb.y};
    vect_struct chord = {r->e.x - r->s.x, r->e.y - r->s.y};
    r->len = vect_mag(chord);
    if (!(r->len > 0) || !std::isfinite(r->len)) return 0;
    unit_vect(chord, &r->u);
    perp_vect(r->u, &r->p);

    vect_struct pa, pb;
    projected_vect(e.va, chord, &pa);
    projected_vect(e.vb, chord, &pb);
    if (pa.y == 0 || pb.y == 0) return 0;
    double ka = pa.x / pa.y, kb = pb.x / pb.y;
    r->a = (ka - kb) / (2 * r->len);
    r->b = -ka;
    r->c = (r->len / 2) * (ka + kb);
    return std::isfinite(r->a) && std::isfinite(r->b) && std::isfinite(r->c);
}

double bdr_rail_offset(const bdr_rail &r, double x)
{
    return r.a * x * x + r.b * x + r.c * x / r.len;
}

vect_struct bdr_rail_point(const bdr_rail &r, double x)
{
    double h = bdr_rail_offset(r, x);
    return vect_struct{r.s.x + x * r.u.x + h * r.p.x, r.s.y + x * r.u.y + h * r.p.y};
}

double bdr_step_length(vect_struct va, vect_struct vb, double ref_len)
{
    double cosang = dot_prod(va, vb) / (vect_mag(va) * vect_mag(vb));
    double step = cosang > 0 ? bdr_step_range * cosang * cosang + bdr_min_step : bdr_min_step;
    if (step > ref_len) step = ref_len / 2;
    return step;
}

int walk_bdr_strip(const bdr_rail &ref, const bdr_rail &other, double step,
                   double tex_offset, double tex_len, bdr_pair *out, int cap)
{
    if (cap < 2 || !(step > 0)) return 0;
    // Pairs before the last: X = i * step while X + step <= len.
    if (ref.len / step > cap - 1) step = ref.len / (cap - 1);
    const double scale = other.len / ref.len;
    int n = 0;
    for (int i = 0; n < cap - 1; i++) {
        double x = i * step;
        if (x + step > ref.len) break;
        out[n].x = x;
        out[n].s = tex_offset + tex_len * x / ref.len;
        out[n].ref = bdr_rail_point(ref, x);
        out[n].other = bdr_rail_point(other, x * scale);
        n++;
    }
    out[n].x = ref.len;
    out[n].s = tex_offset + tex_len;
    out[n].ref = ref.e;
    out[n].other = other.e;
    return n + 1;
}

int bdr_rails_drawable(int n, const double *factors, int count)
{
    bdr_ends e;
    bdr_rail r;
    if (!get_bdr_ends(n, &e)) return 0;
    for (int i = 0; i < count; i++)
        if (!make_bdr_rail(e, factors[i], &r)) return 0;
    return 1;
}

int bdr_strip(int n, double f_ref, double f_other, bdr_pair *out, int cap)
{
    bdr_ends e;
    bdr_rail ref, other;
    if (!get_bdr_ends(n, &e)) return 0;
    if (!make_bdr_rail(e, f_ref, &ref) || !make_bdr_rail(e, f_other, &other)) return 0;
    double step = bdr_step_length(e.va, e.vb, ref.len);
    return walk_bdr_strip(ref, other, step, bdr[n].tex_offset, bdr[n].tex_len, out, cap);
}
