// tests/editor/editor_driver.h -- drives the editor through the real frame
// loop: Allegro's key[], mouse_x, mouse_y and mouse_b are written before each
// frame, the mouse in window pixels so that the window -> overlay mapping is
// part of every test. Shared by the headless and the display tests.
#pragma once
#include <cstring>
#include <allegro.h>
#include "test_support.h"
#include "hillhopper.h"
#include "game.h"
#include "std_gfuncs.h"
#include "world.h"
#include "zmem.h"
#include "terrain_file.h"
#include "waypoints.h"
#include "bonusnparticle.h"
#include "textures.h"
#include "editor.h"
#include "editor_state.h"
#include "design.h"

namespace editor_test {

const int label_frames_expected = 40;   // frames a shape or joint-type label stays up

// An empty level in Edit Mode with a still view centred on the origin and
// the player parked far away, so that it takes no waypoint or bonus.
inline void fresh_level(void)
{
    load_plain_level();
    clear_wpts();
    clear_bonuses();
    clear_particles();
    for (int i = 0; i < num_bodies; i++) body[i].state = 0;
    body[0].x = body[0].y = 1000;
    for (int s = 0; s < num_slots; s++) { j[s] = 0; f[s] = 0; }
    f[F_TIME] = 75;
    reset_editor_state();
    release_all_keys();
    clear_keyr();
    mouse_b = 0;
    mb1 = mb2 = 0;
    input_hook = nullptr;
    quit_flag = 0;
    edit_mode = 1;
    display_controls = 0;
    camera_track = 0;               // the view stays where the test put it
    scr_px = scr_py = 0;
    reset_editor_view();
    scr_px = scr_py = 0;
    world_ang = 0;
    design_capture();               // the empty level is the design, saved
}

// World point -> window pixel for an unrotated view at the edit modes' zoom.
// Window and overlay sizes are those of the display (640 x 480 headless).
inline int window_w(void) { return SCREEN_W > 0 ? SCREEN_W : 640; }
inline int window_h(void) { return SCREEN_H > 0 ? SCREEN_H : 480; }
inline double overlay_x_of(double wx) { return ((wx - scr_px) * view_zoom() + 2.0) * pixels_per_unit; }
inline double overlay_y_of(double wy) { return (1.5 - (wy - scr_py) * view_zoom()) * pixels_per_unit; }

inline void frame(void) { run_frames(1); }
inline void frames(int n) { run_frames(n); }

// Moves the mouse to a world point (without running a frame). World points
// on a 0.025 grid land exactly on window pixels of both window sizes.
inline void mouse_to(double wx, double wy)
{
    mouse_x = (int)(overlay_x_of(wx) * window_w() / overlay_w + 0.5);
    mouse_y = (int)(overlay_y_of(wy) * window_h() / overlay_h + 0.5);
}

inline void mouse_to_overlay(double ox, double oy)
{
    mouse_x = (int)(ox * window_w() / overlay_w + 0.5);
    mouse_y = (int)(oy * window_h() / overlay_h + 0.5);
}

inline void key_down(int k) { set_key(k, true); frame(); }
inline void key_up(int k) { set_key(k, false); frame(); }
inline void tap(int k) { key_down(k); key_up(k); }
// A key with left shift held around it.
inline void shift_tap(int k)
{
    set_key(KEY_LSHIFT, true);
    tap(k);
    set_key(KEY_LSHIFT, false);
    frame();
}

inline void button_down(void) { mouse_b = 1; frame(); }
inline void button_up(void) { mouse_b = 0; frame(); }
inline void click_at(double wx, double wy)
{
    mouse_to(wx, wy);
    frame();
    button_down();
    button_up();
}

// N at the mouse; returns the slot the new vertex took.
inline int vertex_at(double wx, double wy)
{
    int first_free = -1;
    for (int i = 0; i < num_tvs; i++)
        if (tv[i].state == 0) { first_free = i; break; }
    mouse_to(wx, wy);
    frame();
    tap(KEY_N);
    return first_free;
}

// Holds a keypad pick key for two frames (it counts from its second frame),
// clicks, and lets everything go again.
inline void pick_with(int pad_key, double wx, double wy)
{
    mouse_to(wx, wy);
    set_key(pad_key, true);
    frame();
    frame();
    button_down();
    set_key(pad_key, false);
    button_up();
}

inline int count_live_tvs(void)
{
    int n = 0;
    for (int i = 0; i < num_tvs; i++) n += tv[i].state != 0;
    return n;
}

inline int count_live_jnts(void)
{
    int n = 0;
    for (int i = 0; i < num_jnts; i++) n += jnt[i].state != 0;
    return n;
}

inline int count_live_plys(void)
{
    int n = 0;
    for (int i = 0; i < num_plys; i++) n += ply[i].state != 0;
    return n;
}

inline int count_live_bdrs(void)
{
    int n = 0;
    for (int i = 0; i < num_bdrs; i++) n += bdr[i].state != 0;
    return n;
}

inline int count_live_dads(void)
{
    int n = 0;
    for (int i = 0; i < num_dads; i++) n += dad[i].state != 0;
    return n;
}

// Entries of one kind filed in the region grid.
inline int filed_plys(void)
{
    int n = 0;
    for (int c = 0; c < map_sx * map_sy; c++) n += region[c].ply_x;
    return n;
}

inline int filed_bdrs(void)
{
    int n = 0;
    for (int c = 0; c < map_sx * map_sy; c++) n += region[c].bdr_x;
    return n;
}

inline int filed_jnts(void)
{
    int n = 0;
    for (int c = 0; c < map_sx * map_sy; c++) n += region[c].jnt_x;
    return n;
}

// Fake textures with known sizes for both picker sets.
inline void fake_texture_sets(int terrain_count, int doodad_count)
{
    static bool made = false;
    static unsigned int terrain_ids[num_tex_slots], doodad_ids[num_tex_slots];
    if (!made) {
        for (int i = 0; i < num_tex_slots; i++) {
            terrain_ids[i] = make_headless_texture(256, 64);
            doodad_ids[i] = make_headless_texture(64, 32);
        }
        made = true;
    }
    for (int i = 0; i < num_tex_slots; i++) {
        terrain_tex[i] = terrain_ids[i];
        doodad_tex[i] = doodad_ids[i];
    }
    NUM_TEX = terrain_count;
    NUM_DTEX = doodad_count;
}

}  // namespace editor_test
