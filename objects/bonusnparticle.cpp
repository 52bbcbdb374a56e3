// objects/bonusnparticle.cpp -- bonuses (leaf, spike, level end, electric) and
// the short-lived particles (spike bursts, running dust, bees, puffs).
// Drawing is also the step: draw_particles moves and ages the particles and
// draw_bonuses fades collected leaves, headless or not.
#include <cmath>
#include <cstdlib>
#include <GL/gl.h>
#include "hillhopper.h"
#include "game.h"
#include "geometry.h"
#include "slots.h"
#include "sound.h"
#include "textures.h"
#include "world.h"
#include "bonusnparticle.h"

const float bonus_radius = 0.16f;           // pick-up radius, world units
const float electric_radius = 0.24f;        // the electric charge is easier to catch
const double max_power = 100;
const double min_power = -100;
const double leaf_power = 20;
const double spike_power = 40;
const double spike_brake = 0.4;             // speed kept after a spike
const int spike_burst = 50;                 // particles of a spike's burst
const int leaf_fade_step = 2;               // state rises by this per drawn frame
const int leaf_fade_end = 50;               // freed above this state

// ---- bonuses -------------------------------------------------------------

void new_bonus(double x, double y, short type)
{
    for (int i = 0; i < num_bonuses; i++) {
        if (bonus[i].state != 0) continue;
        bonus[i] = bonus_struct{};
        bonus[i].state = 1;
        bonus[i].type = type;
        bonus[i].px = x;
        bonus[i].py = y;
        return;
    }
}

void clear_bonuses(void)
{
    for (int i = 0; i < num_bonuses; i++) bonus[i] = bonus_struct{};
}

static void spike_burst_at(double x, double y)
{
    for (int k = 0; k < spike_burst; k++) {
        float theta = (rand() % 630) / 100.3f;
        double s = (rand() % 500) / 1000.0 + 0.5;
        new_particle(x, y, cos(theta) * s * 0.1, sin(theta) * s * 0.1, 0, 0, PART_SPIKE);
    }
}

// A running boost makes the player immune to the spike's cost, not to its
// sound and burst.
static void take_spike(int i)
{
    body_struct &p = body[0];
    bonus[i].state = 0;
    if (j[J_BOOST_TIMER] == 0) {
        f[F_POWER] -= spike_power;
        if (f[F_POWER] < min_power) f[F_POWER] = min_power;
        p.xx *= spike_brake;
        p.yy *= spike_brake;
        p.jntvx *= spike_brake;
    }
    play_sound(SND_SPIKE);
    spike_burst_at(bonus[i].px, bonus[i].py);
}

// A leaf in its fade (state 2 and above) cannot be taken again.
static void take_leaf(int i)
{
    if (bonus[i].state != 1) return;
    bonus[i].state = 2;
    f[F_POWER] += leaf_power;
    if (f[F_POWER] > max_power) f[F_POWER] = max_power;
    play_sound(SND_LEAF);
}

static void take_electric(int i)
{
    bonus[i].state = 0;
    play_sound(SND_ELECTRIC);
    j[J_BOOSTS]++;
}

void collect_bonuses(void)
{
    const body_struct &p = body[0];
    for (int i = 0; i < num_bonuses; i++) {
        if (bonus[i].state == 0) continue;
        float radius = bonus[i].type == BONUS_ELECTRIC ? electric_radius : bonus_radius;
        if (!(dist(bonus[i].px, bonus[i].py, p.x, p.y) < radius)) continue;
        switch (bonus[i].type) {
        case BONUS_LEVEL_END:
            // Touching a level end while editing completes nothing.
            if (j[J_LEVEL_DONE] == 0 && edit_mode == 0) j[J_LEVEL_DONE] = 1;
            break;
        case BONUS_LEAF: take_leaf(i); break;
        case BONUS_ELECTRIC: take_electric(i); break;
        case BONUS_SPIKE: take_spike(i); break;
        default: break;
        }
    }
}

// A sprite of half-width w and half-height h centred on (x, y), turned about
// its centre.
static void draw_sprite(double x, double y, double w, double h, unsigned int tex, double ang)
{
    tmap(x - w, y + h, x - w, y - h, x + w, y - h, x + w, y + h, tex, w, -h, ang, 0);
}

static void draw_leaf(int i)
{
    bonus_struct &b = bonus[i];
    float ang = (j[J_FRAME] + 16 * i) / 20.0f;
    double half = 0.08;
    if (b.state < 2) {
        if (!headless) glColor4f(1, 1, 1, 1);
    } else {
        b.state += leaf_fade_step;
        if (b.state > leaf_fade_end) {
            b.state = 0;
            return;
        }
        if (!headless) glColor4f(1, 1, 1, 1 - b.state / 51.0f);
        half = b.state / 30.0 + 0.08;
    }
    if (!headless) draw_sprite(b.px, b.py, half, half, terrain_tex[TEX_LEAF], ang);
}

static void draw_electric_bonus(const bonus_struct &b)
{
    double t = j[J_FRAME];
    double g = (cos(t / 5) + 1) * 0.02 + 0.13;
    double c = (cos(t / 5) + 1) * 0.5;
    glColor4f(c, c, 1, 0.5);
    draw_sprite(b.px, b.py, g, g, terrain_tex[TEX_GLOW], t / 18);
    glColor4f(1, 1, 1, 1);
    draw_sprite(b.px, b.py, 0.08, 0.16, terrain_tex[TEX_ELECTRIC], 0);
}

// The level end is not drawn here: the level's own dressing marks it.
void draw_bonuses(void)
{
    if (!headless) trans_map();
    for (int i = 0; i < num_bonuses; i++) {
        if (bonus[i].state == 0) continue;
        switch (bonus[i].type) {
        case BONUS_LEAF: draw_leaf(i); break;
        case BONUS_SPIKE:
            if (headless) break;
            glColor4f(1, 1, 1, 1);
            draw_sprite(bonus[i].px, bonus[i].py, 0.08, 0.08, terrain_tex[TEX_SPIKE], 0);
            break;
        case BONUS_ELECTRIC:
            if (!headless) draw_electric_bonus(bonus[i]);
            break;
        default: break;
        }
    }
}

// ---- particles -----------------------------------------------------------

// -1 when the table is full: the bees keep the result, and -1 is what they
// read as "no bee yet", so a later hatch tries again.
int new_particle(double px, double py, double xx, double yy, int cnt, int a, int type)
{
    for (int i = 0; i < num_particles; i++) {
        if (particle[i].state != 0) continue;
        particle[i] = particle_struct{};
        particle[i].state = 1;
        particle[i].px = px;
        particle[i].py = py;
        particle[i].xx = xx;
        particle[i].yy = yy;
        particle[i].cnt = (short)cnt;
        particle[i].a = (short)a;
        particle[i].type = (short)type;
        return i;
    }
    return -1;
}

void clear_particles(void)
{
    for (int i = 0; i < num_particles; i++) particle[i] = particle_struct{};
}

// Lifetime, drag and looks of the particles that age; bees never age.
struct aging_kind {
    int life;           // freed when cnt passes this
    double keep;        // velocity kept per frame
};

static bool aging_kind_of(int type, aging_kind *k)
{
    switch (type) {
    case PART_SPIKE: *k = {100, 0.94}; return true;
    case PART_DUST: *k = {20, 0.94}; return true;
    case PART_PUFF: *k = {20, 0.95}; return true;
    default: return false;
    }
}

static void draw_aging_particle(const particle_struct &p, double x, double y)
{
    float t = j[J_FRAME] / 10.0f;
    switch (p.type) {
    case PART_SPIKE: {
        double half = p.cnt / 1000.0f + 0.06;
        glColor4f(1, 1, 1 - p.cnt / 101.0f, 1 - p.cnt / 101.0f);
        draw_sprite(x, y, half, half, terrain_tex[TEX_SPIKE], t);
        break;
    }
    case PART_DUST: {
        double half = p.cnt / 400.0f + 0.03;
        int frame = TEX_DUST + (p.a & 3);
        glColor4f(1, 1, 1, 1 - p.cnt / 21.0f);
        draw_sprite(x, y, half, half, terrain_tex[frame], t);
        break;
    }
    case PART_PUFF: {
        double half = p.cnt / 100.0f + 0.03;
        glColor4f(1, 1, 1, 1 - p.cnt / 21.0f);
        draw_sprite(x, y, half, half, terrain_tex[TEX_PUFF], t);
        break;
    }
    default: break;
    }
}

// Returns false when the particle has lived out its time and was freed.
static bool age_particle(particle_struct &p, const aging_kind &k)
{
    p.cnt++;
    if (p.cnt > k.life) {
        p.state = 0;
        return false;
    }
    p.px += p.xx;
    p.py += p.yy;
    p.xx *= k.keep;
    p.yy *= k.keep;
    return true;
}

// A bee's four doubles are phase angles; it wanders over an ellipse of
// half-axes 0.3 by 0.4 around its swarm. A swarm index out of the table
// (a stale bee) is not drawn.
static void step_bee(particle_struct &p)
{
    double p0 = p.px, q0 = p.py, u0 = p.xx;
    p.xx += 0.1 + (rand() % 20) / 1000.0;
    p.yy += 0.1 + (rand() % 20) / 1000.0;
    p.px += 0.02 + (rand() % 100) / 1000.0;
    p.py += 0.02 + (rand() % 100) / 1000.0;
    if (headless || p.a < 0 || p.a >= num_bees) return;
    const bees_struct &s = bees[p.a];
    double x = s.px + cos(u0) * cos(p0) * 0.3;
    double y = s.py + sin(u0) * cos(q0) * 0.4;
    glColor4f(1, 1, 1, 0.6);
    draw_sprite(x, y, 0.02, 0.02, terrain_tex[TEX_BEE], 0);
}

void draw_particles(void)
{
    if (!headless) trans_map();
    for (int i = 0; i < num_particles; i++) {
        particle_struct &p = particle[i];
        if (p.state == 0) continue;
        if (p.type == PART_BEE) {
            step_bee(p);
            continue;
        }
        aging_kind k;
        if (!aging_kind_of(p.type, &k)) continue;
        double x = p.px, y = p.py;
        if (age_particle(p, k) && !headless) draw_aging_particle(p, x, y);
    }
}
