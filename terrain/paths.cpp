// terrain/paths.cpp -- mitre normals at a joint's ends and the ride path: a
// parabola over the chord between the two mitred end points, so that paths of
// neighbouring joints meet on the shared mitre line with matching slopes.
#include "hillhopper.h"
#include "geometry.h"
#include "joints.h"
#include "paths.h"

const double min_mitre = 1e-5;      // below this the neighbour runs in line
const short nonwalking_jnt = 2;     // such a neighbour ends the path's chain

vect_struct end_mitre(vect_struct e, int has_neighbour, vect_struct turn, int sign)
{
    vect_struct m = {e.y, -e.x};
    if (has_neighbour) {
        m.x = turn.x * sign;
        m.y = turn.y * sign;
        if (vect_mag(m) < min_mitre) m = vect_struct{e.y, -e.x};
    }
    vect_struct u;
    unit_vect(m, &u);
    return u;
}

static int jnt_ok(int n)
{
    return n >= 0 && n < num_jnts && jnt[n].tvn[0] >= 0 && jnt[n].tvn[0] < num_tvs &&
           jnt[n].tvn[1] >= 0 && jnt[n].tvn[1] < num_tvs;
}

// A link that names no usable joint, or a non-walking one, is no neighbour.
static int walkable_neighbour(int n)
{
    if (!jnt_ok(n) || jnt[n].type == nonwalking_jnt) return -1;
    return n;
}

static vect_struct jnt_dir(int n)
{
    vect_struct v, u;
    get_jnt_vect(n, &v);
    unit_vect(v, &u);
    return u;
}

void get_edge_normals(int jntn, vect_struct *start, vect_struct *end)
{
    if (!jnt_ok(jntn)) {
        *start = *end = vect_struct{0, 0};
        return;
    }
    const jnt_struct &J = jnt[jntn];
    int L = walkable_neighbour(J.njnt[0]);
    int R = walkable_neighbour(J.njnt[1]);
    vect_struct e = jnt_dir(jntn);
    vect_struct turn = {0, 0};
    int sign = 1;
    if (L >= 0) {
        vect_struct dl = jnt_dir(L);
        turn = vect_struct{dl.x - e.x, dl.y - e.y};
        sign = get_tri_dir(jnt[L].tvn[0], J.tvn[0], J.tvn[1]);
    }
    *start = end_mitre(e, L >= 0, turn, sign);
    if (R >= 0) {
        vect_struct dr = jnt_dir(R);
        turn = vect_struct{e.x - dr.x, e.y - dr.y};
        sign = get_tri_dir(J.tvn[0], J.tvn[1], jnt[R].tvn[1]);
    }
    *end = end_mitre(e, R >= 0, turn, sign);
}

int ride_path_point(vect_struct a, vect_struct b, vect_struct va, vect_struct vb,
                    double X, double height, double *px, double *py)
{
    vect_struct A = {a.x + va.x * height, a.y + va.y * height};
    vect_struct B = {b.x + vb.x * height, b.y + vb.y * height};
    vect_struct r = {B.x - A.x, B.y - A.y};
    double d = vect_mag(r);
    if (d == 0) return 0;           // no chord to project on
    vect_struct u, p, pa, pb;
    unit_vect(r, &u);
    perp_vect(u, &p);
    projected_vect(va, r, &pa);
    projected_vect(vb, r, &pb);
    if (pa.y == 0 || pb.y == 0) return 0;
    // End slopes of the mitres against the chord; the parabola is 0 at both
    // ends and splits the turn at each corner with the neighbouring path.
    double ka = pa.x / pa.y, kb = pb.x / pb.y;
    double qa = (ka - kb) / (2 * d), qb = -ka, qc = (d / 2) * (ka + kb);
    double x = X * d;
    double h = qa * x * x + qb * x + qc * x / d;
    *px = A.x + x * u.x + h * p.x;
    *py = A.y + x * u.y + h * p.y;
    return 1;
}

void clever_func(int n, double X, double height, double *px, double *py)
{
    if (!jnt_ok(n)) return;
    vect_struct va, vb;
    get_edge_normals(n, &va, &vb);
    const terrain_vertex_struct &s = tv[jnt[n].tvn[0]], &e = tv[jnt[n].tvn[1]];
    ride_path_point(vect_struct{s.x, s.y}, vect_struct{e.x, e.y}, va, vb, X, height, px, py);
}
