// physics/plr_physics.cpp -- the body table, the player's body and its points,
// the small numeric helpers of the physics, and the body physics step.
// Contact is soft: a point sunk into a joint is pushed out with a strength that
// grows steeply with the depth, and the push also spins the body. Every
// per-substep change is divided by tri_num(steps), so the per-frame total is
// the listed amount at 1 substep and approaches twice that as steps grow.
#include <cmath>
#include <cstdlib>
#include "hillhopper.h"
#include "bodies.h"
#include "collisions.h"
#include "geometry.h"
#include "joints.h"

body_struct *body;

void alloc_body_mem(void) { body = (body_struct *)calloc(num_bodies, sizeof(body_struct)); }
void free_body_mem(void) { free(body); body = nullptr; }

// ---- creation --------------------------------------------------------------

// The player's shape: an upper wheel, the foot and an off-centre middle point.
// With ang = pi (upright on level ground) point 0 lies above the centre and
// the foot below it.
struct body_point_shape { double x, y, rad; };
static const body_point_shape player_shape[player_points] = {
    {0.0, -1.0 / 9.0, 11.0 / 90.0},         // upper wheel
    {0.0, +1.0 / 9.0, 11.0 / 90.0},         // the foot
    {-2.0 / 45.0, 0.0, 7.0 / 60.0},         // middle point
};
static const double point_mass = 1.0;       // stored, read by nothing
static const double player_ride_height = 11.0 / 45.0;
static const int player_foot = 1;
// A probe's position before the first update_body_pnts overwrites it.
static const double probe_park_x = 24.0, probe_park_y = 0.0;
static const int probe_type_body = 0;

// Gives back the probes of every point of body b and marks the points free.
static void release_body_pnts(int b)
{
    for (int i = 0; i < body_points; i++) {
        bodp_struct &p = body[b].bodp[i];
        if (p.state && p.pntn >= 0 && p.pntn < num_pnts) pnt[p.pntn].state = 0;
        p.state = 0;
    }
}

// The previous player's probes go back to the table, so a level start does not
// leak three probe slots; live probes of other owners keep their indices.
void clear_bodies(void)
{
    for (int b = 0; b < num_bodies; b++) {
        release_body_pnts(b);
        body[b].state = 0;
    }
}

static void add_player_points(body_struct &bd)
{
    for (int i = 0; i < player_points; i++) {
        bodp_struct &p = bd.bodp[i];
        p.x = player_shape[i].x;
        p.y = player_shape[i].y;
        p.rad = player_shape[i].rad;
        p.mass = point_mass;
        p.pntn = new_pnt(probe_type_body, 0, probe_park_x, probe_park_y, 0);
        // A point without a probe cannot be placed or collide: it stays out of use.
        p.state = p.pntn != -1;
    }
}

// Placement comes from the level-state slots; the arguments are stored first
// and then overwritten, as the level loader passes zeros.
int new_body(double x, double y, double xx, double yy, double ang, double ang_v)
{
    int b = 0;
    while (b < num_bodies && body[b].state != 0) b++;
    if (b == num_bodies) return -1;

    body_struct &bd = body[b];
    bd = body_struct{};
    bd.state = 1;
    bd.x = x; bd.y = y; bd.xx = xx; bd.yy = yy; bd.ang = ang; bd.ang_v = ang_v;
    bd.xx_old = bd.yy_old = bd.ang_v_old = 0;

    bd.fdir = (int)f[F_FACING];
    bd.x = f[F_START_X];
    bd.y = f[F_START_Y];
    bd.xx = bd.yy = 0;
    bd.ang = f[F_START_ANG];
    bd.ang_v = 0;
    bd.draw_ang = bd.ang;           // the landing pose eases from here

    add_player_points(bd);

    bd.h = player_ride_height;
    bd.foot = player_foot;
    bd.jntn = -1;
    bd.jntx = 0;
    bd.jntvx = 0;
    return b;
}

void delete_body(int b)
{
    if (b < 0 || b >= num_bodies) return;
    release_body_pnts(b);
    body[b].state = 0;
}

void update_body_pnts(int b)
{
    body_struct &bd = body[b];
    for (int i = 0; i < body_points; i++) {
        const bodp_struct &p = bd.bodp[i];
        if (!p.state) continue;
        rot_point(bd.x + p.x, bd.y + p.y, bd.x, bd.y, bd.ang, &pnt[p.pntn].x, &pnt[p.pntn].y);
    }
}

// ---- numeric helpers -------------------------------------------------------

double tri_num(int n)
{
    return (double)((n + 1) / 2);
}

double pos_only(double v)
{
    return v > 0 ? v : 0;
}

double convert_angle(double a)
{
    const double turn = 2 * Z_PI;
    if (a < 0) {
        int k = (int)(-a / turn + 1);
        return a + turn * k;
    }
    int k = (int)(-a / turn);
    return a + turn * k;
}

double ang_diff(double a, double b, int *dir)
{
    double A = convert_angle(a), B = convert_angle(b);
    double d1 = convert_angle(B - A), d2 = convert_angle(A - B);
    if (d1 < d2) { *dir = -1; return d1; }
    if (d2 < d1) { *dir = 1; return d2; }
    *dir = 0;
    return 0;
}

// ---- the physics step ------------------------------------------------------

// Substeps: 200 per world unit per frame of speed, plus 1, plus 2/3 per unit
// of angular velocity.
static const double substeps_per_speed = 400.0;    // of half the speed
// Only a guard against a runaway state: 100 world units per frame.
static const int max_substeps = 20000;

// Soft contact.
static const double pen_boost = 3.0;        // per depth band d2 < r2/16, /8, /4, /2
static const double push_into = 16.0;       // divisor while moving into the joint
static const double push_away = 17.0;       // divisor while moving away or sideways
static const double contact_spin = 8.0;
static const double side_hit_to_speed = 30.0;   // riding, hit by another joint

// Knock-off of a rider hit by another joint.
static const int knock_off_substeps = 15;       // above this the rider is thrown off
static const int knock_tumble_substeps = 30;    // above this it also tumbles
static const double knock_off_lift = 0.025;
static const int tumble_frames = 30;

// Stuck recovery: a body wedged in terrain is set onto a level-enough joint.
static const int stuck_contacts = 12;
static const double stuck_max_slope = 0.5;      // |u.y| of the joint: under 30 degrees
static const int recovery_frames = 100;
static const double recovery_lift = 0.003125;

// Damping and gravity, per frame at 1 substep.
static const double contact_damp = 0.975;
static const double contact_spin_damp = 0.96;
static const double air_drag = 3 * 0.002;       // times (v^2 + 1)
static const double air_spin_damp = 0.992;
static const double gravity = 0.001;
static const double boost_gravity = 0.0008;
static const double reversal_damp = 0.5;        // a velocity that changes sign
static const double spin_per_angle = 20.0;      // ang advances ang_v / 20 per frame

static int substep_count(const body_struct &bd)
{
    double raw = sqrt(bd.xx * bd.xx + bd.yy * bd.yy) / 2 * substeps_per_speed + 1 +
                 (absf(bd.ang_v) + absf(bd.ang_v)) / 3;
    if (!(raw >= 1)) return 1;                  // NaN too
    if (raw > max_substeps) return max_substeps;
    return (int)raw;
}

// Depth of a contact: the bare root, tripled for each band the point is into.
static double contact_pen(double d2, double r2)
{
    double pen = sqrt(r2 - d2);
    if (d2 < r2 / 16) pen *= pen_boost;
    if (d2 < r2 / 8) pen *= pen_boost;
    if (d2 < r2 / 4) pen *= pen_boost;
    if (d2 < r2 / 2) pen *= pen_boost;
    return pen;
}

// A rider touched by a joint other than its own: a fast rider is thrown off,
// a slow one only has its speed along the joint changed.
static void rider_hit(int b, vect_struct n, double pen, int steps, double tri)
{
    body_struct &bd = body[b];
    if (steps > knock_off_substeps) {
        update_body_on_jnt(b, knock_off_lift);
        update_body_pnts(b);
        bd.jntn = -1;
        if (steps > knock_tumble_substeps) j[J_TUMBLE] = tumble_frames;
    } else {
        bd.jntvx += dot_prod(n, bd.vdir) * pen / side_hit_to_speed / tri;
    }
}

// Counted in the first substep only; after more than 12 counts on a type 1
// joint less than 30 degrees from level the body is landed there and held.
static void stuck_recovery(int b, vect_struct n, int k, int inside, double t)
{
    body_struct &bd = body[b];
    j[J_AIR_CONTACTS]++;
    if (j[J_AIR_CONTACTS] <= stuck_contacts || jnt[k].type != 1 || inside != 1) return;
    vect_struct v, u;
    get_jnt_vect(k, &v);
    unit_vect(v, &u);
    if (!(u.y > -stuck_max_slope && u.y < stuck_max_slope)) return;
    j[J_AIR_CONTACTS] = 0;
    j[J_RECOVERY] = recovery_frames;
    f[F_RECOVER_X] = bd.x;
    f[F_RECOVER_Y] = bd.y;
    body_landing(b, n.x, n.y, k, t);
    update_body_on_jnt(b, recovery_lift);
}

// Push the body out along n and spin it about its centre.
static void push_out(int b, int probe, vect_struct n, double pen, double tri)
{
    body_struct &bd = body[b];
    bd.xx -= n.x * pen / (bd.xx * n.x > 0 ? push_into : push_away) / tri;
    bd.yy -= n.y * pen / (bd.yy * n.y > 0 ? push_into : push_away) / tri;
    vect_struct lever = {bd.x - pnt[probe].x, bd.y - pnt[probe].y}, perp, w;
    perp_vect(lever, &perp);
    unit_vect(perp, &w);
    bd.ang_v += dot_prod(n, w) * pen * contact_spin / tri;
}

// Step c for one point: every nearby joint that is not type 3. Returns the
// point's touched flag.
static int point_contacts(int b, int i, int s, int steps, double tri)
{
    body_struct &bd = body[b];
    const int probe = bd.bodp[i].pntn;
    const double r2 = bd.bodp[i].rad * bd.bodp[i].rad;
    const int *list = get_adj_jnts(probe);
    const int count = get_num_adj_jnts();
    int touched = 0;
    for (int a = 0; a < count; a++) {
        const int k = list[a];
        if (jnt[k].type == 3) continue;
        double dx, dy, t = 0;
        int inside;
        double d2 = pnt_jnt_perp_dist(probe, k, &dx, &dy, &inside, &t);
        if (!(d2 > 0 && d2 < r2)) continue;

        touched = 1;
        double pen = contact_pen(d2, r2);
        vect_struct n;
        unit_vect(vect_struct{dx, dy}, &n);

        if (bd.jntn != -1) {
            if (k == bd.jntn) continue;
            rider_hit(b, n, pen, steps, tri);
        }
        if (bd.jntn == -1) {
            if (i == bd.foot && jnt[k].type == 1 && inside == 1)
                body_landing(b, n.x, n.y, k, t);
            if (s == 0) stuck_recovery(b, n, k, inside, t);
            push_out(b, probe, n, pen, tri);
        }
    }
    return touched;
}

// Step d: damping, gravity, integration and sign-reversal damping of a body
// that is (still) airborne after its contacts.
static void fly(body_struct &bd, int touched, int steps, double tri)
{
    if (touched) {
        bd.xx += (contact_damp * bd.xx - bd.xx) / tri;
        bd.yy += (contact_damp * bd.yy - bd.yy) / tri;
        bd.ang_v += (contact_spin_damp * bd.ang_v - bd.ang_v) / tri;
    } else {
        double kx = pos_only(1 - air_drag * (bd.xx * bd.xx + 1));
        bd.xx += (kx * bd.xx - bd.xx) / tri;
        double ky = pos_only(1 - air_drag * (bd.yy * bd.yy + 1));
        bd.yy += (ky * bd.yy - bd.yy) / tri;
        bd.ang_v += (air_spin_damp * bd.ang_v - bd.ang_v) / tri;
    }

    bd.yy -= (j[J_BOOST_TIMER] ? boost_gravity : gravity) / tri;

    bd.x += bd.xx / steps;
    bd.y += bd.yy / steps;
    bd.ang += bd.ang_v / spin_per_angle / steps;

    if (bd.xx_old * bd.xx < 0) bd.xx += (reversal_damp * bd.xx - bd.xx) / tri;
    if (bd.yy_old * bd.yy < 0) bd.yy += (reversal_damp * bd.yy - bd.yy) / tri;
    if (bd.ang_v_old * bd.ang_v < 0) bd.ang_v += (reversal_damp * bd.ang_v - bd.ang_v) / tri;

    bd.xx_old = bd.xx;
    bd.yy_old = bd.yy;
    bd.ang_v_old = bd.ang_v;
}

static void step_body(int b)
{
    body_struct &bd = body[b];

    // 1. Substep count; the landing test reads it from j slot 4.
    const int steps = substep_count(bd);
    j[J_SUBSTEPS] = steps;
    const double tri = tri_num(steps);

    for (int s = 0; s < steps; s++) {
        // a. A rider moves along its joint chain.
        if (bd.jntn != -1) body_on_jnt(b, steps);
        // b. The probes follow the body.
        update_body_pnts(b);
        // c. Contacts, point by point; touched ends as the last point's flag.
        int touched = 0;
        for (int i = 0; i < body_points; i++)
            if (bd.bodp[i].state) touched = point_contacts(b, i, s, steps, tri);
        // d. Free flight.
        if (bd.jntn == -1) fly(bd, touched, steps, tri);
    }
}

void body_physics(void)
{
    for (int b = 0; b < num_bodies; b++)
        if (body[b].state) step_body(b);
}
