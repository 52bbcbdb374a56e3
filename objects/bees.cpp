// objects/bees.cpp -- hives, stinging plants and bee swarms.
// A swarm hatches its bees at the hive, chases the player, tires and flies
// home; it is never freed during a level. Its bees are particles that the
// particle drawer moves around the swarm's centre.
#include <cmath>
#include <cstdlib>
#include "hillhopper.h"
#include "editor_state.h"
#include "geometry.h"
#include "slots.h"
#include "sound.h"
#include "bodies.h"
#include "bonusnparticle.h"
#include "bees.h"

const double hive_radius = 0.16;            // touching a hive, world units
const double plant_radius = 0.24;           // a plant stings this close to its head
const double plant_head_dy = 0.1;           // the head sits above the doodad's centre
const int sting_cool_frames = 10;
const int sting_load = 100;                 // added per sting; the load counts down
const int deadly_sting_load = 200;          // above this the player dies
const int sting_tumble_frames = 30;
const int sting_puff_frames = 20;
const int attack_frames = 100;              // controls lost after a sting or many bites
const int bites_to_attack = 100;
const int death_frames = 30;                // dark frames before time runs out
const int death_puff_frames = 10000;        // puffs to the end of the level

const int hatch_frames = 130;               // bees hatch while younger than this
const int hatch_every = 5;
const int chase_after = 140;                // the swarm sets off at this age
const double bite_radius = 0.2;
const int tire_every = 10;                  // a chasing swarm tires once per 10 frames
const int bites_to_go_home = 300;
const double home_radius = 0.2;             // the player this close to home wakes it
const float swarm_pull = 0.004f;            // steering per frame
const float swarm_keep = 0.9f;              // velocity kept per frame

void clear_bees(void)
{
    for (int i = 0; i < num_bees; i++) {
        bees[i] = bees_struct{};
        for (int k = 0; k < bees_per_swarm; k++) bees[i].pn[k] = -1;
    }
}

void new_bees(float x, float y)
{
    for (int i = 0; i < num_bees; i++) {
        if (bees[i].state != 0) continue;
        bees_struct &s = bees[i];
        s = bees_struct{};
        s.state = 1;
        s.px = s.hx = x;
        s.py = s.hy = y;
        s.xx = s.yy = 0;
        s.cnt = s.stage = s.bites_given = 0;
        for (int k = 0; k < bees_per_swarm; k++) s.pn[k] = -1;
        return;
    }
}

// Both random draws happen every frame; only every third frame makes a puff.
static void make_puffs(void)
{
    const body_struct &p = body[0];
    for (int k = 0; k < 2; k++) {
        float theta = (rand() % 630) / 100.3f;
        double s = (rand() % 500) / 1000.0 + 0.5;
        double x = p.x + cos(theta) * s * 0.2;
        double y = p.y + sin(theta) * s * 0.2;
        if (j[J_FRAME] % 3 == 0)
            new_particle(x, y, cos(theta) * s * 0.06, sin(theta) * s * 0.06, 0, 0, PART_PUFF);
    }
}

// Death starts once the sting load passes the deadly mark; after the dark
// frames the clock is forced to 0 every frame, which brings the time-out.
static void death_sequence(void)
{
    if (j[J_STING_LOAD] > deadly_sting_load && j[J_DEATH] == 0) j[J_DEATH] = 1;
    if (j[J_DEATH] != 0) j[J_DEATH]++;
    if (j[J_DEATH] == 2) {
        play_sound(SND_DEATH);
        j[J_PUFFS] = death_puff_frames;
    }
    if (j[J_DEATH] > death_frames) {
        f[F_TIME] = 0;
        j[J_LOST] = 1;
    }
}

// The kick leaves the joint the way a jump does, sized by the jump charge.
static void kick_off_joint(void)
{
    jump_off_jnt(0, f[F_JUMP_CHARGE]);
}

static void sting(void)
{
    j[J_BEE_ATTACK] = attack_frames;
    j[J_STING_LOAD] += sting_load;
    play_sound(SND_STING);
    j[J_STING_COOL] = sting_cool_frames;
    j[J_PUFFS] += sting_puff_frames;
    if (body[0].jntn != -1 && j[J_RECOVERY] == 0) kick_off_joint();
    j[J_TUMBLE] = sting_tumble_frames;
}

// A disturbed hive (picture 8) is no longer a hive to this check, so each
// hive releases one swarm per level.
static void doodad_acts(int i)
{
    const body_struct &p = body[0];
    const dad_struct &d = dad[i];
    if (d.pic == DAD_HIVE) {
        if (dist(p.x, p.y, d.px, d.py) < hive_radius) {
            play_sound(SND_HIVE);
            dad[i].pic = DAD_HIVE_DISTURBED;
            new_bees(d.px, d.py);
        }
    } else if (d.pic == DAD_PLANT_A || d.pic == DAD_PLANT_B) {
        if (dist(p.x, p.y, d.px, d.py + plant_head_dy) < plant_radius && j[J_STING_COOL] == 0)
            sting();
    }
}

void hives_check(void)
{
    if (j[J_PUFFS] != 0) make_puffs();
    death_sequence();
    // The editor's placement preview is no doodad of the level yet.
    for (int i = 0; i < num_dads; i++)
        if (dad[i].state != 0 && i != edt.preview_dad) doodad_acts(i);
}

// A -1 from a full particle table leaves the entry free for a later hatch.
static void hatch_bee(int s)
{
    bees_struct &b = bees[s];
    for (int k = 0; k < bees_per_swarm; k++) {
        if (b.pn[k] != -1) continue;
        double r1 = (rand() % 1000) / 1000.0;
        double r2 = (rand() % 1000) / 1000.0;
        double r3 = (rand() % 1000) / 1000.0;
        double r4 = (rand() % 1000) / 1000.0;
        b.pn[k] = (short)new_particle(r4, r3, r2, r1, 0, s, PART_BEE);
        return;
    }
}

static void steer_swarm(bees_struct &b, double tx, double ty)
{
    vect_struct to = {tx - b.px, ty - b.py}, u;
    unit_vect(to, &u);
    b.xx += (float)(u.x * swarm_pull);
    b.yy += (float)(u.y * swarm_pull);
    b.xx *= swarm_keep;
    b.yy *= swarm_keep;
    b.px += b.xx;
    b.py += b.yy;
}

// Every swarm within reach bites once per frame; a swarm tires every 10th
// frame whether it reaches the player or not.
static void chase(bees_struct &b)
{
    const body_struct &p = body[0];
    if (dist(p.x, p.y, b.px, b.py) < bite_radius) {
        j[J_BITES]++;
        b.bites_given++;
    }
    if (j[J_FRAME] % tire_every == 0) b.bites_given++;
    if (b.bites_given > bites_to_go_home) b.stage = 1;
    steer_swarm(b, p.x, p.y);
}

// The player coming back to the hive sends the swarm out again.
static void go_home(bees_struct &b)
{
    const body_struct &p = body[0];
    if (dist(p.x, p.y, b.hx, b.hy) < home_radius) {
        b.stage = 0;
        play_sound(SND_HIVE);
        b.bites_given = 0;
    }
    steer_swarm(b, b.hx, b.hy);
}

static void step_swarm(int s)
{
    bees_struct &b = bees[s];
    b.cnt++;
    if (b.cnt < hatch_frames && b.cnt % hatch_every == 0) hatch_bee(s);
    if (b.cnt > chase_after && b.stage == 0) chase(b);
    if (b.stage == 1) go_home(b);
}

void do_bees(void)
{
    hives_check();
    if (j[J_BEE_ATTACK] > 0) j[J_BEE_ATTACK]--;
    else j[J_BEE_ATTACK] = 0;
    if (j[J_BITES] > bites_to_attack) {
        j[J_BEE_ATTACK] = attack_frames;
        j[J_BITES] = 0;
    }
    for (int s = 0; s < num_bees; s++)
        if (bees[s].state != 0) step_swarm(s);
}
