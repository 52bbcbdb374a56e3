// tests/physics/physics_world.cpp -- level building for the physics tests.
#include "physics_world.h"
#include <cmath>
#include "test_support.h"
#include "bodies.h"
#include "collisions.h"
#include "joints.h"
#include "zmem.h"
#include "std_gfuncs.h"

void empty_level(void)
{
    headless_world();
    for (int i = 0; i < num_tvs; i++) tv[i] = terrain_vertex_struct{};
    for (int i = 0; i < num_jnts; i++) jnt[i] = jnt_struct{};
    for (int i = 0; i < num_slots; i++) { j[i] = 0; f[i] = 0; }
    j[J_START_GRACE] = 100;
    f[F_TIME] = 75;
    f[F_START_ANG] = Z_PI - 0.1;
    update_region_jnts();
    clear_bodies();
    release_all_keys();
    clear_keyr();
    display_controls = 0;
    camera_track = 1;
    edit_mode = 0;
}

static int free_jnt_slot(void)
{
    for (int i = 0; i < num_jnts; i++)
        if (jnt[i].state == 0) return i;
    return -1;
}

int link_jnt(int tv1, int tv2, int type)
{
    int k = free_jnt_slot();
    new_jnt(tv1, tv2, type);
    return k;
}

int add_jnt(double x1, double y1, double x2, double y2, int type)
{
    int a = new_tv(x1, y1);
    int b = new_tv(x2, y2);
    return link_jnt(a, b, type);
}

int add_chain(const double *xy, int n, int type, int *first)
{
    int prev = new_tv(xy[0], xy[1]);
    int k = -1;
    for (int i = 1; i < n; i++) {
        int v = new_tv(xy[2 * i], xy[2 * i + 1]);
        k = link_jnt(prev, v, type);
        if (i == 1 && first) *first = k;
        prev = v;
    }
    return k;
}

void file_jnts(void)
{
    update_region_jnts();
}

int start_player(double x, double y, double ang)
{
    f[F_START_X] = x;
    f[F_START_Y] = y;
    f[F_START_ANG] = ang;
    clear_bodies();
    int b = new_body(0, 0, 0, 0, 0, 0);
    update_pnt_regions();
    return b;
}

void put_on_jnt(int b, int k, double t, double v)
{
    body[b].jntn = k;
    body[b].jntx = t;
    body[b].jntvx = v;
    body[b].jntvx_old = v;
    body[b].ang_v = 0;
    update_body_on_jnt(b, 0.0125);
}

int single_point_body(int b, double r)
{
    body_struct &bd = body[b];
    for (int i = 1; i < body_points; i++) bd.bodp[i].state = 0;
    bd.bodp[0].x = 0;
    bd.bodp[0].y = 0;
    bd.bodp[0].rad = r;
    return bd.bodp[0].pntn;
}

bool finite_body(int b)
{
    const body_struct &bd = body[b];
    const double v[] = {bd.x, bd.y, bd.xx, bd.yy, bd.xx_old, bd.yy_old, bd.ang, bd.draw_ang,
                        bd.ang_v, bd.ang_v_old, bd.jntx, bd.jntvx, bd.jntvx_old, bd.h,
                        bd.vdir.x, bd.vdir.y};
    for (double d : v)
        if (!std::isfinite(d)) return false;
    return true;
}
