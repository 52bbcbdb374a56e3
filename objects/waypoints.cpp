// objects/waypoints.cpp -- waypoints: time checkpoints that the player takes
// by passing close to them. A taken marker spins away as it is drawn, so the
// spin advances only in frames that draw waypoints.
#include <GL/gl.h>
#include "hillhopper.h"
#include "game.h"
#include "geometry.h"
#include "slots.h"
#include "sound.h"
#include "textures.h"
#include "waypoints.h"
#include "world.h"

const double wpt_take_radius = 0.3;         // world units from the player's centre
const double wpt_time_bonus = 10;           // clock units a waypoint adds
const double max_time_left = 100;           // a full clock
const int wpt_spin_frames = 30;             // cnt at which a taken marker is gone
const float wpt_half_w = 0.1f;              // marker half-size, world units
const float wpt_half_h = 0.2f;
const double wpt_spin_per_cnt = 1.0 / 10;   // radians clockwise per drawn frame

void clear_wpts(void)
{
    for (int i = 0; i < num_wpts; i++) wpt[i] = wpt_struct{};
}

void new_wpt(double x, double y)
{
    for (int i = 0; i < num_wpts; i++) {
        if (wpt[i].state != 0) continue;
        wpt[i] = wpt_struct{};
        wpt[i].state = 1;
        wpt[i].px = x;
        wpt[i].py = y;
        wpt[i].cnt = 0;
        return;
    }
}

// Only while the clock still runs: a level that has timed out cannot be
// rescued by touching a waypoint.
void plr_on_wpts(void)
{
    const body_struct &p = body[0];
    for (int i = 0; i < num_wpts; i++) {
        if (wpt[i].state == 0 || wpt[i].cnt != 0) continue;
        if (dist(p.x, p.y, wpt[i].px, wpt[i].py) < wpt_take_radius && f[F_TIME] > 0) {
            wpt[i].cnt = 1;
            play_sound(SND_WAYPOINT);
            f[F_TIME] += wpt_time_bonus;
            if (f[F_TIME] > max_time_left) f[F_TIME] = max_time_left;
        }
    }
}

static void draw_wpt_marker(const wpt_struct &w, int frame)
{
    double x0 = w.px - wpt_half_w, x1 = w.px + wpt_half_w;
    double y0 = w.py - wpt_half_h, y1 = w.py + wpt_half_h;
    tmap(x0, y1, x0, y0, x1, y0, x1, y1, terrain_tex[frame],
         wpt_half_w, -2 * wpt_half_h, -w.cnt * wpt_spin_per_cnt, 0);
}

// Advances the spin of taken markers even headless: it is game state.
void draw_wpts(void)
{
    if (!headless) trans_map();
    for (int i = 0; i < num_wpts; i++) {
        wpt_struct &w = wpt[i];
        if (w.state == 0) continue;
        int frame = TEX_WAYPOINT;
        if (w.cnt != 0) {
            // A counter read from a level file can be anything: one already
            // past the spin is only held, never counted on into an overflow.
            if (w.cnt <= wpt_spin_frames) w.cnt++;
            frame = TEX_WAYPOINT_SPIN;
        }
        if (w.cnt <= wpt_spin_frames) {
            if (!headless) draw_wpt_marker(w, frame);
        } else {
            w.cnt = wpt_spin_frames;
        }
    }
}
