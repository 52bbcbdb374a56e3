// terrain/tri.cpp -- sides of a line and point-in-triangle, strict on edges.
#include "geometry.h"

// The sign test of the two cross products (P2 - P1) x A' and (P2 - P1) x B'.
// A point on the line, or a line whose two points coincide, gives 0.
int same_side_of_line(double px1, double py1, double px2, double py2,
                      double ax, double ay, double bx, double by)
{
    double dx = px2 - px1, dy = py2 - py1;
    double sa = dx * (ay - py1) - dy * (ax - px1);
    double sb = dx * (by - py1) - dy * (bx - px1);
    return sa * sb > 0 ? 1 : 0;
}

int inside_tri(double x1, double y1, double x2, double y2, double x3, double y3,
               double px, double py)
{
    if (!same_side_of_line(x2, y2, x3, y3, px, py, x1, y1)) return 0;
    if (!same_side_of_line(x1, y1, x3, y3, px, py, x2, y2)) return 0;
    if (!same_side_of_line(x1, y1, x2, y2, px, py, x3, y3)) return 0;
    return 1;
}
