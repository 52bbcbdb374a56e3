// terrain/vectors.cpp -- the vertex turning direction and the vector helpers.
#include <cmath>
#include "hillhopper.h"
#include "geometry.h"

int get_tri_dir(int x, int y, int z)
{
    double a = (double)tv[x].x - (double)tv[y].x;
    double b = (double)tv[x].y - (double)tv[y].y;
    double c = (double)tv[z].x - (double)tv[y].x;
    double d = (double)tv[z].y - (double)tv[y].y;
    return a * d - b * c < 0 ? 1 : -1;
}

void perp_vect(vect_struct u, vect_struct *v)
{
    v->x = -u.y;
    v->y = u.x;
}

double dot_prod(vect_struct u, vect_struct v)
{
    return u.x * v.x + u.y * v.y;
}

double vect_mag(vect_struct v)
{
    return sqrt(v.x * v.x + v.y * v.y);
}

void projected_vect(vect_struct u, vect_struct v, vect_struct *w)
{
    double m = vect_mag(v);
    vect_struct p = {-v.y, v.x};
    w->x = dot_prod(u, v) / m;
    w->y = dot_prod(u, p) / m;
}

void unit_vect(vect_struct u, vect_struct *v)
{
    double m = vect_mag(u);
    if (m < 1e-6) {
        v->x = 0;
        v->y = 0;
        return;
    }
    v->x = u.x / m;
    v->y = u.y / m;
}
