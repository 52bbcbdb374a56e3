// include/bdr_geometry.h -- the geometry of a border's band: its rails (arcs
// from the start mitre to the end mitre), the step length, and the walk that
// turns two rails into the vertex pairs of one strip. Pure apart from
// get_bdr_ends, which reads the border and vertex tables; the draw_bdr_
// functions only emit what these return.
#pragma once
#include "structs.h"

// A border's edge ends and its mitre vectors va, vb: each from an outer vertex
// across the edge, along the mitre line at that end.
struct bdr_ends {
    vect_struct start, end;
    vect_struct va, vb;
};
// 0 when n is not a border in use or one of its four vertices is unusable.
int get_bdr_ends(int n, bdr_ends *e);

// The rail with factor f: from start + f va to end + f vb, bowed so that its
// end tangents split the difference between the mitres.
// -1 is the band's outer edge, 0 the terrain edge, +1 its mirror image.
struct bdr_rail {
    vect_struct s, e;           // end points
    vect_struct u, p;           // unit chord and its left-hand normal
    double len;                 // chord length
    double a, b, c;             // offset from the chord: a X^2 + b X + c X / len
};
// 0 when the rail cannot be drawn: a mitre parallel to it (its component
// across the rail exactly 0), or a chord of no length.
int make_bdr_rail(const bdr_ends &e, double f, bdr_rail *r);
double bdr_rail_offset(const bdr_rail &r, double x);
vect_struct bdr_rail_point(const bdr_rail &r, double x);

// 0.1 cos^2 + 0.025 world units for end mitres at angle cos > 0, else 0.025;
// half the reference rail's length when that is shorter.
double bdr_step_length(vect_struct va, vect_struct vb, double ref_len);

// One vertex pair of a strip: the reference rail's point at X and the other
// rail's point at the same fraction of its own length, with texture s.
struct bdr_pair {
    double x, s;
    vect_struct ref, other;
};
// Walks the strip from X = 0 in steps; the last pair is the two rails' exact
// end points at X = ref.len. Writes at most cap pairs: a walk that would need
// more takes longer steps so that it still ends on the rails' ends.
// Returns the number of pairs.
int walk_bdr_strip(const bdr_rail &ref, const bdr_rail &other, double step,
                   double tex_offset, double tex_len, bdr_pair *out, int cap);

// The whole of one border's strip between the rails f_ref (the reference)
// and f_other, as draw_bdr_0 and draw_bdr_1 walk it; 0 pairs when the border
// cannot be drawn.
int bdr_strip(int n, double f_ref, double f_other, bdr_pair *out, int cap);
// 1 when every rail of the given factors can be drawn for border n.
int bdr_rails_drawable(int n, const double *factors, int count);
