// tests/objects/level_fixture.cpp -- see level_fixture.h.
#include "level_fixture.h"
#include <allegro.h>
#include "hillhopper.h"
#include "game.h"
#include "bodies.h"
#include "waypoints.h"
#include "bonusnparticle.h"
#include "bees.h"
#include "textures.h"
#include "std_gfuncs.h"

void fresh_level(double x, double y)
{
    headless_world();
    for (int i = 0; i < num_slots; i++) {
        j[i] = 0;
        f[i] = 0;
    }
    j[J_START_GRACE] = 100;
    f[F_TIME] = 75;
    f[F_START_X] = x;
    f[F_START_Y] = y;
    f[F_START_ANG] = Z_PI - 0.1;
    for (int i = 0; i < num_dads; i++) dad[i] = dad_struct{};
    clear_wpts();
    clear_bonuses();
    clear_particles();
    clear_bees();
    clear_bodies();
    new_body(x, y, 0, 0, Z_PI - 0.1, 0);
    scr_px = x;
    scr_py = y;
    world_ang = 0;
    camera_track = 1;
    display_controls = 0;
    edit_mode = 0;
    quit_flag = 0;
    close_requested = 0;
    input_hook = nullptr;
    clear_keyr();
    release_all_keys();
}

void hold_player(double x, double y)
{
    body_struct &p = body[0];
    p.x = x;
    p.y = y;
    p.xx = p.yy = 0;
    p.ang_v = 0;
    p.jntn = -1;
}

int frames_holding(int n, double x, double y, const std::function<void(int)> &each)
{
    int r = FRAME_NEXT;
    for (int i = 0; i < n; i++) {
        hold_player(x, y);
        r = run_frame();
        if (each) each(i);
        if (r != FRAME_NEXT) return r;
        pace_frame();
    }
    return r;
}

void fake_doodad_pictures(int count, int w, int h)
{
    for (int k = 0; k < count; k++) doodad_tex[k] = make_headless_texture(w, h);
    NUM_DTEX = count;
}
