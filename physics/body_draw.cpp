// physics/body_draw.cpp -- the player's sprite: frame, angle, tint and the
// boost trail. Unlike other draw_ functions, draw_bodies also changes game
// state once per frame (the recovery-hold pin and the easing of draw_ang), so
// it runs headless too and only skips the drawing there.
#include <cmath>
#include <GL/gl.h>
#include "hillhopper.h"
#include "bodies.h"
#include "game.h"
#include "slots.h"
#include "textures.h"
#include "world.h"
#include "actions.h"
#include "replay.h"

static const double sprite_half = 0.24;         // world units: 0.48 across
static const double ease_min_gap = 0.1;         // draw_ang stops this close to ang
static const double ease_share = 5.0;           // closes a fifth of the gap...
static const double ease_step = 0.01;           // ...plus this, per frame
static const int blink_period = 12;             // frames; blinks in the last 4
static const int blink_after = 7;
static const int boost_flicker_frames = 4;
static const int trail_from = 180;              // trail in the first 20 boost frames
static const int trail_copies = 4;
static const double trail_spacing = 0.2;
static const double trail_growth = 0.05;        // per boost frame above 180

struct tint { float r, g, b, a; };

int boost_frame(int boost_timer, int frame_counter)
{
    int alternating = (boost_timer >= 151 && boost_timer <= 200) ||
                      (boost_timer >= 93 && boost_timer <= 111);
    if (alternating) return TEX_PLAYER_BOOST_A + (frame_counter / boost_flicker_frames) % 2;
    return TEX_PLAYER_BOOST;
}

double boost_trail_offset(int k, int boost_timer)
{
    return k * trail_spacing * (boost_timer - trail_from) * trail_growth;
}

// Each later rule overrides the earlier ones.
body_sprite choose_body_sprite(const sprite_situation &s)
{
    body_sprite out;
    if (s.land_pose) {
        out = {TEX_PLAYER_LANDING, s.draw_ang};
    } else {
        out = {TEX_PLAYER, s.ang};
        if (!s.bee_attack && s.player_rides && s.steer_key) out.frame = TEX_PLAYER_RUNNING;
        if (!s.bee_attack && s.body_rides && s.jump_key) out.frame = TEX_PLAYER_CHARGING;
    }
    if (s.tumble) out.frame = TEX_PLAYER_TUMBLING;
    if (!s.player_rides && !s.tumble) out.frame = TEX_PLAYER_RUNNING;
    if (s.boost_timer) out.frame = boost_frame(s.boost_timer, s.frame_counter);
    if (s.recovery) out.frame = TEX_PLAYER_RECOVERY;
    // Under bee attack only the plain frame blinks.
    if (s.bee_attack && out.frame == TEX_PLAYER && s.frame_counter % blink_period > blink_after)
        out.frame = TEX_PLAYER_BLINK;
    return out;
}

sprite_situation body_situation(int b)
{
    sprite_situation s;
    s.land_pose = j[J_LAND_POSE];
    s.tumble = j[J_TUMBLE];
    s.recovery = j[J_RECOVERY];
    s.bee_attack = j[J_BEE_ATTACK];
    s.boost_timer = j[J_BOOST_TIMER];
    s.frame_counter = j[J_FRAME];
    s.player_rides = body[0].jntn != -1;
    s.body_rides = body[b].jntn != -1;
    s.steer_key = actr[ACT_LEFT] || actr[ACT_RIGHT];
    s.jump_key = actr[ACT_JUMP] != 0;
    s.ang = body[b].ang;
    s.draw_ang = body[b].draw_ang;
    return s;
}

// The recovery hold pins the body to where it was wedged and leaves it at rest
// on the hold's last frame.
static void recovery_pin(body_struct &bd)
{
    if (!j[J_RECOVERY]) return;
    bd.x = f[F_RECOVER_X];
    bd.y = f[F_RECOVER_Y];
    if (j[J_RECOVERY] == 1) {
        bd.jntvx = 0;
        bd.jntvx_old = 0;
        bd.xx = 0;
        bd.yy = 0;
    }
}

static void ease_draw_ang(body_struct &bd)
{
    int dir;
    double d = ang_diff(bd.ang, bd.draw_ang, &dir);
    if (d > ease_min_gap) bd.draw_ang += (d / ease_share + ease_step) * dir;
}

static void sprite_square(double x, double y, int frame, double ang, int flip)
{
    const double h = sprite_half;
    tmap(x - h, y + h, x - h, y - h, x + h, y - h, x + h, y + h,
         terrain_tex[frame], h, -h, ang + Z_PI, flip);
}

// Fading copies behind the body in the first 20 frames of a boost, farthest
// and faintest first.
static void boost_trail(const body_struct &bd, const body_sprite &sp)
{
    double a;
    if (bd.jntn == -1) a = atan2(bd.yy, bd.xx) + Z_PI;
    else a = bd.fdir == 1 ? bd.ang + Z_PI : bd.ang;
    for (int k = trail_copies; k >= 1; k--) {
        double off = boost_trail_offset(k, j[J_BOOST_TIMER]);
        float fade = (float)(0.6 - k / 10.0);
        glColor4f(fade, 1, fade, fade);
        sprite_square(bd.x + off * cos(a), bd.y + off * sin(a), sp.frame, sp.ang, bd.fdir);
    }
    glColor4f(1, 1, 1, 1);
}

static void draw_body(const body_struct &bd, body_sprite sp)
{
    tint c = {1, 1, 1, 1};
    if (j[J_BEE_ATTACK]) {
        float pulse = (float)((cos(j[J_FRAME] / 3.0) + 1) / 2);
        c = {1, pulse, pulse, 1};
    }
    glColor4f(c.r, c.g, c.b, c.a);
    if (j[J_BOOST_TIMER] > trail_from) boost_trail(bd, sp);
    if (j[J_DEATH]) glColor4f(0.1f, 0.1f, 0.1f, 1);
    sprite_square(bd.x, bd.y, sp.frame, sp.ang, bd.fdir);
}

void draw_bodies(void)
{
    if (!headless) trans_map();
    for (int b = 0; b < num_bodies; b++) {
        body_struct &bd = body[b];
        if (!bd.state) continue;
        recovery_pin(bd);
        ease_draw_ang(bd);
        body_sprite sp = choose_body_sprite(body_situation(b));
        if (b == 0)
            drawn_player_pose = ghost_pose{(float)bd.x, (float)bd.y, (float)sp.ang,
                                           (uint8_t)sp.frame, (uint8_t)(bd.fdir == 1)};
        if (!headless) draw_body(bd, sp);
    }
}
