// terrain/draw.cpp -- scalar helpers: absolute value, distance, rotation.
#include <cmath>
#include "geometry.h"

double absf(double x)
{
    return x >= 0 ? x : -x;
}

double dist(double x1, double y1, double x2, double y2)
{
    return sqrt((x2 - x1) * (x2 - x1) + (y2 - y1) * (y2 - y1));
}

void rot_point(double px, double py, double pivot_x, double pivot_y, double ang,
               double *nx, double *ny)
{
    // An unrotated point must come back bit for bit.
    if (ang == 0) {
        *nx = px;
        *ny = py;
        return;
    }
    double dx = px - pivot_x, dy = py - pivot_y;
    double c = cos(ang), s = sin(ang);
    *nx = c * dx - s * dy + pivot_x;
    *ny = s * dx + c * dy + pivot_y;
}
