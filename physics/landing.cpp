// physics/landing.cpp -- landing on a joint, riding along a joint chain, and
// placing a rider on its joint's smoothed ride path.
// A rider's whole state is (jntn, jntx, jntvx); its place, angle and velocity
// in the world are derived from those every substep by update_body_on_jnt.
#include <cmath>
#include "hillhopper.h"
#include "bodies.h"
#include "geometry.h"
#include "joints.h"
#include "paths.h"

// Landing test.
static const double upright_enough = 0.86;      // |cos| of the tilt: about 31 degrees
static const double tumble_below = 0.84;        // a worse landing may send it tumbling
static const int tumble_min_substeps = 4;       // ... when it came in faster than this
static const int landing_help_fresh = 24;       // j 1 above this: key tapped in the last 6 frames
static const int slow_substeps = 1;             // a body this slow always lands
static const int recovery_landing = 100;        // j 8 on the frame the stuck recovery fires
static const int landing_pose_frames = 20;
static const int tumble_frames = 30;

// Riding.
static const double ride_lift = 0.0125;
static const double rolling_friction = 0.985;
static const double reversal_damp = 0.5;
static const double slope_pull = 0.7;           // of u.y / 320 per frame
static const double boost_slope_pull = 0.3;     // while the boost timer runs
static const double slope_scale = 320;
static const double run_off_turn = 0.15;

void body_landing(int b, double nx, double ny, int k, double t)
{
    body_struct &bd = body[b];
    vect_struct up = {0, 0};
    const bodp_struct &foot = bd.bodp[bd.foot];
    if (foot.state && foot.pntn >= 0 && foot.pntn < num_pnts)
        unit_vect(vect_struct{bd.x - pnt[foot.pntn].x, bd.y - pnt[foot.pntn].y}, &up);
    double c = absf(dot_prod(up, vect_struct{nx, ny}));

    int accepted = c > upright_enough || j[J_LAND_HELP] > landing_help_fresh ||
                   j[J_SUBSTEPS] <= slow_substeps || j[J_RECOVERY] == recovery_landing;
    if (!accepted) {
        if (c < tumble_below && j[J_SUBSTEPS] > tumble_min_substeps) j[J_TUMBLE] = tumble_frames;
        return;
    }

    if (j[J_START_GRACE] == 0) j[J_LAND_POSE] = landing_pose_frames;
    bd.jntn = k;
    bd.ang_v = 0;
    bd.ang_v_old = 0;
    vect_struct v, u;
    get_jnt_vect(k, &v);
    unit_vect(v, &u);
    bd.jntvx = dot_prod(vect_struct{bd.xx, bd.yy}, u);
    bd.jntx = t;
}

static double jnt_length(int k)
{
    vect_struct v;
    get_jnt_vect(k, &v);
    return vect_mag(v);
}

// The joint a rider passes to at one end of joint k, or -1 when the ride ends
// there: no neighbour, a non-walking one, or one of zero length (whose
// fraction would be undefined).
static int next_jnt(int k, int end)
{
    int next = jnt[k].njnt[end];
    if (next < 0 || next >= num_jnts || jnt[next].state == 0) return -1;
    if (jnt[next].type == 2) return -1;
    if (jnt_length(next) == 0) return -1;
    return next;
}

static int ridden_jnt_live(const body_struct &bd)
{
    return bd.jntn >= 0 && bd.jntn < num_jnts && jnt[bd.jntn].state != 0;
}

void body_on_jnt(int b, int steps)
{
    if (j[J_RECOVERY]) return;
    body_struct &bd = body[b];
    const double tri = tri_num(steps);
    // The editor can delete the joint under a rider: it falls off.
    if (!ridden_jnt_live(bd)) {
        bd.jntn = -1;
        return;
    }

    // 1. The ridden joint.
    vect_struct v, u;
    get_jnt_vect(bd.jntn, &v);
    const double L = vect_mag(v);
    unit_vect(v, &u);
    if (L == 0) {               // nothing to ride along: the body falls off
        bd.jntn = -1;
        return;
    }

    // 2. Advance.
    bd.jntx += bd.jntvx / L / steps;
    // 3-4. Sign-reversal damping.
    if (bd.jntvx_old * bd.jntvx < 0) bd.jntvx += (reversal_damp * bd.jntvx - bd.jntvx) / tri;
    bd.jntvx_old = bd.jntvx;
    // 5. Rolling friction.
    bd.jntvx += (rolling_friction * bd.jntvx - bd.jntvx) / tri;
    // 6. Slope pull: a joint rising towards tvn[1] slows a rider moving that way.
    bd.jntvx -= u.y * (j[J_BOOST_TIMER] ? boost_slope_pull : slope_pull) / slope_scale / tri;
    // 7.
    bd.ang_v = 0;

    // 8. Off the first end: the overshoot goes onto the neighbour's far end.
    if (bd.jntx < 0) {
        int next = next_jnt(bd.jntn, 0);
        bd.jntn = next;
        if (next == -1) bd.ang += run_off_turn;
        else bd.jntx = bd.jntx * L / jnt_length(next) + 1;
    }
    // 9. Off the second end of the joint now ridden: onto the neighbour's start.
    if (bd.jntn != -1 && bd.jntx > 1) {
        int next = next_jnt(bd.jntn, 1);
        bd.jntn = next;
        if (next == -1) bd.ang -= run_off_turn;
        else bd.jntx = (bd.jntx - 1) * L / jnt_length(next);
    }

    // 10. Onto the ride path.
    update_body_on_jnt(b, ride_lift);
}

void update_body_on_jnt(int b, double lift)
{
    body_struct &bd = body[b];
    if (!ridden_jnt_live(bd)) return;
    const jnt_struct &k = jnt[bd.jntn];

    // P: the point on the joint; R: the ride-path point above it.
    vect_struct v;
    get_jnt_vect(bd.jntn, &v);
    double px = tv[k.tvn[0]].x + bd.jntx * v.x;
    double py = tv[k.tvn[0]].y + bd.jntx * v.y;
    double rx = NAN, ry = NAN;
    clever_func(bd.jntn, bd.jntx, -(bd.h + lift), &rx, &ry);
    // A path without a point here (a mitre parallel to the chord) leaves the
    // body where it was for this substep, its angle and velocity unchanged.
    if (!std::isfinite(rx) || !std::isfinite(ry)) return;

    vect_struct w = {rx - px, ry - py};
    bd.ang = atan2(w.y, w.x) + Z_PI / 2;
    unit_vect(vect_struct{-w.y, w.x}, &bd.vdir);
    bd.x = rx;
    bd.y = ry;
    bd.xx = -bd.vdir.x * bd.jntvx;
    bd.yy = -bd.vdir.y * bd.jntvx;
}

// The jump and the stinging plants' kick share this launch.
static const double jump_lift = 0.0625;
static const double jump_turn = 0.15;
static const double jump_impulse = 0.037;
static const double jump_impulse_per_charge = 0.0003;

void jump_off_jnt(int b, double charge)
{
    body_struct &bd = body[b];
    update_body_on_jnt(b, jump_lift);
    bd.ang -= jump_turn;
    bd.jntn = -1;
    double k = jump_impulse + jump_impulse_per_charge * charge;
    double dir = Z_PI / 2 + bd.ang;
    bd.xx -= k * cos(dir);
    bd.yy -= k * sin(dir);
}
