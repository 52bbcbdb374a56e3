// shell/game.cpp -- the frame loop: one pass is one game tick. Input is
// latched, the player's controls change velocities, the world is drawn as it
// stood before this tick's physics, then the physics steps and the overlays,
// time-out, level-complete and controls screens run.
#include <cmath>
#include <cstdlib>
#include <allegro.h>
#include <alleggl.h>
#include "hillhopper.h"
#include "game.h"
#include "level_list.h"
#include "editor_level.h"
#include "std_gfuncs.h"
#include "world.h"
#include "camera.h"
#include "geometry.h"
#include "zmem.h"
#include "slots.h"
#include "textures.h"
#include "sound.h"
#include "terrain_file.h"
#include "polys.h"
#include "borders.h"
#include "bodies.h"
#include "waypoints.h"
#include "bonusnparticle.h"
#include "bees.h"
#include "doodads.h"
#include "barsnstuff.h"
#include "startscr.h"
#include "editor.h"
#include "snapshot.h"
#include "design.h"
#include "bindings.h"
#include "level_id.h"
#include "records.h"
#include "replay.h"
#include "screen_text.h"
#include "screens.h"
#include "actions.h"
#include "replay.h"
#include "replay_store.h"
#include "ghost.h"
#include "cli.h"
#include "still_screen.h"

int quit_flag = 0;
int editor_enabled = 0;
void (*frame_ready_hook)(void) = nullptr;

const int frame_ticks = 25;                 // 1 ms ticks per frame: 40 frames a second
const double time_per_frame = 0.03;         // clock units the time left loses per frame
const int timeout_steps = 25;               // frames of the time-out slide-in
const int level_done_frames = 50;           // frames until the level-complete picture has grown
const int landing_help_frames = 30;
const int spin_damp_frames = 10;
const int boost_frames = 200;
const double boost_air_kick = 0.16;
const double boost_ground_kick = 0.2;

// Editor build only: F5 cycles the edit modes, F6 starts the next level
// (every readable level of the list in turn) so that each can be reached and
// edited.

static int countdown(int slot)
{
    if (j[slot] > 0) j[slot]--;
    else j[slot] = 0;
    return j[slot];
}

static int on_joint(void)
{
    return body[0].jntn != -1;
}

float ground_acceleration(double power)
{
    float a = 0.00285 + 0.00285 * power / 100 / 2;
    if (power > 10) a = a * 1.4;
    if (power < 10) a = a * 0.8;
    return a;
}

// Dust kicked up behind the running player, every third frame.
static void running_dust(double ex, double ey, double dir)
{
    const body_struct &p = body[0];
    if (j[J_FRAME] % 3 == 0)
        new_particle(ex, ey, dir * p.vdir.x / 10, dir * p.vdir.y / 20, 0, rand() % 4, PART_DUST);
}

static void run_along_joint(float a)
{
    body_struct &p = body[0];
    if (!on_joint()) return;
    double ex, ey;
    rot_point(p.x, p.y, p.x, p.y - 0.1, p.ang, &ex, &ey);
    if (actr[ACT_LEFT]) {
        p.jntvx -= a;
        p.fdir = 1;
        running_dust(ex, ey, -1);
    }
    if (actr[ACT_RIGHT]) {
        p.jntvx += a;
        p.fdir = 0;
        running_dust(ex, ey, +1);
    }
}

static void spin_in_air(void)
{
    body_struct &p = body[0];
    const double spin = 0.6, spin_keep = 0.84, damp = 0.74;
    double s = p.fdir == 0 ? 1 : -1;
    if (actr[ACT_SPIN_UP] && !on_joint()) {
        p.ang_v = (p.ang_v + spin * s) * spin_keep;
        j[J_SPIN_DAMP] = spin_damp_frames;
    }
    if (actr[ACT_CONTROLS] == LATCH_RELEASED) {
        display_controls = 1;
        do_keyr();
    }
    if (actr[ACT_SPIN_DOWN] && !on_joint()) {
        p.ang_v = (p.ang_v - spin * s) * spin_keep;
        j[J_SPIN_DAMP] = spin_damp_frames;
    }
    if (j[J_SPIN_DAMP] && !j[J_TUMBLE] && !actr[ACT_SPIN_UP] && !actr[ACT_SPIN_DOWN])
        p.ang_v *= damp;
}

// Enter charges while riding, and the release on a joint jumps with an
// impulse that grows with the charge.
static void charge_and_jump(void)
{
    if (actr[ACT_JUMP] == LATCH_HELD) {
        if (on_joint()) f[F_JUMP_CHARGE] += 5;
        f[F_JUMP_CHARGE] *= 0.95;
        if (f[F_JUMP_CHARGE] > 100) f[F_JUMP_CHARGE] = 100;
    }
    if (actr[ACT_JUMP] == LATCH_UP || !on_joint()) f[F_JUMP_CHARGE] = 0;
    if (actr[ACT_JUMP] == LATCH_RELEASED && on_joint()) {
        play_sound(SND_JUMP);
        jump_off_jnt(0, f[F_JUMP_CHARGE]);
    }
}

void player_controls(void)
{
    float a = ground_acceleration(f[F_POWER]);
    if (j[J_RECOVERY] || j[J_TIMEOUT_STEP] || j[J_BEE_ATTACK] || j[J_LEVEL_DONE]) return;
    run_along_joint(a);
    spin_in_air();
    charge_and_jump();
}

// The boost ignores the recovery hold and the bee attack; only the free
// camera and the end-of-level sequences (camera_track 0) block it.
void electric_boost(void)
{
    body_struct &p = body[0];
    if (actr[ACT_BOOST] != LATCH_PRESSED || j[J_BOOSTS] <= 0 || j[J_BOOST_TIMER] != 0) return;
    j[J_BOOST_TIMER] = boost_frames;
    j[J_BOOSTS]--;
    play_sound(SND_BOOST);
    if (!on_joint()) {
        float c = p.fdir == 0 ? Z_PI + p.ang : p.ang;
        p.xx += boost_air_kick * cos(c);
        p.yy += boost_air_kick * sin(c);
    } else {
        p.jntvx += p.fdir == 0 ? boost_ground_kick : -boost_ground_kick;
    }
}

static void control_of_the_game(void)
{
    player_controls();
    electric_boost();
    countdown(J_LAND_HELP);
    countdown(J_RECOVERY);
    countdown(J_SPIN_DAMP);
    countdown(J_BOOST_TIMER);
    countdown(J_STING_LOAD);
    if (on_joint()) j[J_TUMBLE] = 0;
    // Editing never runs out of time.
    if (edit_mode == 0) f[F_TIME] -= time_per_frame;
    if (j[J_FRAME] % 10 == 0 && j[J_AIR_CONTACTS] > 0) j[J_AIR_CONTACTS]--;
    if (on_joint()) j[J_AIR_CONTACTS] = 0;
    if (actr[ACT_LAND_HELP] == LATCH_PRESSED && j[J_TUMBLE] == 0) j[J_LAND_HELP] = landing_help_frames;
}

static int label_colour(int r, int g, int b)
{
    return makecol32(r, g, b);
}

static void draw_edit_mode_world(void)
{
    int f1 = keyr[KEY_F1], f2 = keyr[KEY_F2], f3 = keyr[KEY_F3];
    // Alt+3 is the joint pick, not "hide layers".
    if (!keyr[KEY_3] || editor_alt_held()) {
        if (!f2 && !f3) draw_plys(0);
        draw_wpts();
        if (!f1 && !f3) draw_plys(1);
        if (!f1 && !f2 && !f3) draw_bdrs();
    }
    draw_dads(0);
    draw_bodies();
    if (!f1 && !f2) draw_plys(2);
    glDisable(GL_TEXTURE_2D);
    draw_vt_and_jnt();
    design_watch_begin();
    select_point();
    design_watch_end(0);
    draw_level_grid();
    draw_snap_grid();
    draw_mouse();
    ztextprintf(80, font, 560, 460, label_colour(128, 0, 0), "Edit Mode");
}

static void draw_path_edit_mode_world(void)
{
    draw_plys(0);
    draw_wpts();
    draw_plys(1);
    draw_bdrs();
    draw_dads(0);
    draw_bodies();
    draw_plys(2);
    draw_level_grid();
    draw_mouse();
    ztextprintf(80, font, 530, 460, label_colour(128, 0, 0), "Path Edit Mode");
}

static void draw_world(void)
{
    if (edit_mode == 0) {
        draw_wpts();
        draw_plys(0);
        draw_plys(1);
        draw_bdrs();
        draw_dads(0);
        draw_ghost();
        draw_bodies();
        draw_plys(2);
        return;
    }
    if (edit_mode == 1) draw_edit_mode_world();
    else draw_path_edit_mode_world();
    ztextprintf(200, font, 10, 150, label_colour(128, 0, 128), "mouse: (%f,%f) ", mposx, mposy);
}

static void overlay_quad(double x0, double y0, double x1, double y1)
{
    glBegin(GL_QUADS);
    glVertex3f(SX(x0), SY(y0), 0);
    glVertex3f(SX(x0), SY(y1), 0);
    glVertex3f(SX(x1), SY(y1), 0);
    glVertex3f(SX(x1), SY(y0), 0);
    glEnd();
}

static void dark_panel(double x0, double y0, double x1, double y1, double alpha)
{
    glDisable(GL_TEXTURE_2D);
    glColor4f(0, 0, 0, alpha);
    overlay_quad(x0, y0, x1, y1);
}

// Editor build: whatever reloads or leaves the level first keeps unsaved
// edits in the recovery file.
static void keep_unsaved_edits(const char *reason)
{
    if (editor_enabled) write_recovery_file(reason);
}

// W on the time-out and level-complete screens plays the attempt just
// recorded from its level start; when it ends, play is back on this screen.
static bool watch_again_offered(void)
{
    return last_run.frames > 0 && !replay_attempt_running() && !replay_playing;
}

static void watch_again_hint(int x, int y)
{
    if (!watch_again_offered()) return;
    glColor4f(1, 1, 1, 1);
    ztextprintf(200, font, x, y, label_colour(255, 255, 160),
                lang ? "W - Lauf nochmal ansehen" : "W - watch the run again");
}

static bool watch_again_chosen(void)
{
    if (!watch_again_offered() || keyr[KEY_W] != LATCH_RELEASED) return false;
    start_watching(last_run);
    return true;
}

// Returns FRAME_LEVEL_START when the player confirmed a choice.
static frame_result timeout_sequence(void)
{
    camera_track = 0;
    f[F_TIME] = 0;
    if (j[J_TIMEOUT_STEP] < timeout_steps) j[J_TIMEOUT_STEP]++;
    double h = overlay_h * sin(j[J_TIMEOUT_STEP] * Z_PI / 50);
    dark_panel(0, overlay_h - h, overlay_w, overlay_h, 0.8);
    int picture = (j[J_TIMEOUT_CHOICE] == 0 ? TEX_PLAY_AGAIN : TEX_BACK_TO_START) + (lang ? 1 : 0);
    draw_shaded_tex(220, j[J_TIMEOUT_STEP] * 190 / timeout_steps, 200, 100, terrain_tex[picture], 1);
    if (j[J_TIMEOUT_STEP] == timeout_steps) watch_again_hint(240, 310);
    if (watch_again_chosen()) return FRAME_LEVEL_START;
    if (replay_playing) return FRAME_NEXT;     // the viewer's keys are not the player's choice
    if (keyr[KEY_UP] == LATCH_RELEASED || keyr[KEY_DOWN] == LATCH_RELEASED)
        j[J_TIMEOUT_CHOICE] = (j[J_TIMEOUT_CHOICE] + 1) % 2;
    if (keyr[KEY_SPACE] == LATCH_RELEASED) {
        keep_unsaved_edits("the level was given up");
        if (j[J_TIMEOUT_CHOICE] == 1) {
            level_file_override.clear();    // the start screen leads to the game's own levels
            quit_flag = start_main();
        }
        return FRAME_LEVEL_START;
    }
    return FRAME_NEXT;
}

// The shipped stages lead on to each other in play order; after the last one,
// and after a user level (which stands alone), the start screen follows (-1).
// A level number outside the list (a scratch level of the tools) goes on by one.
static int level_after(int lev)
{
    int shipped = level_list_shipped_count();
    if (lev >= 0 && lev + 1 < shipped) return lev + 1;
    if (lev >= 0 && lev < level_list_count()) return -1;
    return lev + 1;
}

// ---- drawing a still screen only when it changes ------------------------------------

static still_screen level_end_picture;

// From the frame after the text first showed, the level-complete picture is
// the same every frame: the panel over the world is opaque by then (nothing
// of the world shows through), the pictures have grown and the text stays.
// Only the hint to watch the run again and the language can change it.
static bool level_end_still(void)
{
    return edit_mode == 0 && !editor_enabled && !display_controls && j[J_LEVEL_DONE] > level_done_frames;
}

static unsigned level_end_key(void)
{
    return (lang ? 1u : 0u) | (watch_again_offered() ? 2u : 0u);
}

// A frame that is not drawn still makes every drawing call, so the frame
// does exactly what it did; the renderer just drops every triangle against
// an empty scissor box, and the window keeps the picture it shows.
static void hide_drawing(bool hide)
{
    if (headless) return;
    if (hide) {
        glEnable(GL_SCISSOR_TEST);
        glScissor(0, 0, 0, 0);
    } else {
        glDisable(GL_SCISSOR_TEST);
    }
}

// The world's drawing steps on a frame that is not drawn run as they do
// without a display: what they keep as game state (particles ageing, markers
// spinning, the power fading) goes on exactly, and the GL work is left out.
static void headless_unless(bool drawn, int shown_headless)
{
    headless = drawn ? shown_headless : 1;
}

// The level-complete picture grows in four steps while the screen fades.
static frame_result level_complete_sequence(void)
{
    struct step { int after; float x, y, w, h; };
    static const step steps[] = {
        {20, 20, 20, 50, 25}, {30, 70, 45, 100, 50}, {40, 170, 95, 200, 100}, {50, 370, 195, 250, 125}};
    camera_track = 0;
    j[J_LEVEL_DONE]++;
    double alpha = j[J_LEVEL_DONE] / 40.0;
    dark_panel(0, 0, overlay_w, overlay_h, alpha > 1 ? 1 : alpha);
    for (const step &s : steps)
        if (j[J_LEVEL_DONE] > s.after)
            draw_shaded_tex(s.x, s.y, s.w, s.h, terrain_tex[TEX_LEVEL_COMPLETE], 1);
    if (j[J_LEVEL_DONE] == 2) finish_level_attempt();      // the frame the level end was touched
    // Every way on from here leaves the level: unsaved edits are kept first.
    if (j[J_LEVEL_DONE] == 2) keep_unsaved_edits("the level was completed");
    watch_again_hint(240, 440);
    if (watch_again_chosen()) return FRAME_LEVEL_START;
    if (j[J_LEVEL_DONE] <= level_done_frames) return FRAME_NEXT;
    draw_level_complete_text();
    if (replay_playing) return FRAME_NEXT;     // the viewer's keys are not the player's choice
    hide_drawing(false);                        // a choice may lead to the ending or the start screen
    return level_complete_choice(level_after(current_level));
}

static void show_frame(bool drawn = true)
{
    if (frame_ready_hook) frame_ready_hook();
    if (!headless && drawn) allegro_gl_flip();
    hide_drawing(false);
}

// The keys as bound now, not as they were by default.
static void controls_screen(void)
{
    struct line { int action; const char *en, *de; };
    static const line lines[] = {
        {ACT_LEFT, "accelerate to the left", "nach links beschleunigen"},
        {ACT_RIGHT, "accelerate to the right", "nach rechts beschleunigen"},
        {ACT_SPIN_UP, "rotate in the air", "in der Luft drehen"},
        {ACT_SPIN_DOWN, "rotate the other way", "andersherum drehen"},
        {ACT_JUMP, "jump, hold for a higher jump", "springen, halten: höher"},
        {ACT_BOOST, "electric boost", "Elektro-Schub"},
        {ACT_LAND_HELP, "tap just before landing", "kurz vor der Landung tippen"},
        {ACT_CONTROLS, "this screen", "diese Übersicht"},
        {ACT_GIVE_UP, "give up the level", "Stufe aufgeben"},
        {ACT_PAUSE, "pause", "Pause"},
        {ACT_FREE_CAMERA, "free camera", "freie Kamera"},
        {ACT_RESTART, "restart the level", "Stufe neu starten"}};
    display_controls = 0;
    dark_panel(20, 20, 620, 420, 0.8);
    screen_text(FONT_TITLE, 40, 30, ALIGN_LEFT, 230, 230, 90, "%s", lang ? "Steuerung" : "Controls");
    double y = 76;
    for (const line &l : lines) {
        char keys[64];
        if (action_key[l.action][1])
            snprintf(keys, sizeof(keys), "%s / %s", key_display_name(action_key[l.action][0]),
                     key_display_name(action_key[l.action][1]));
        else
            snprintf(keys, sizeof(keys), "%s", key_display_name(action_key[l.action][0]));
        screen_text(FONT_TEXT, 50, y, ALIGN_LEFT, 255, 255, 0, "%s", keys);
        screen_text(FONT_TEXT, 250, y, ALIGN_LEFT, 255, 255, 255, "%s", lang ? l.de : l.en);
        y += 24;
    }
    screen_text(FONT_TEXT, 320, y + 10, ALIGN_CENTRE, 255, 255, 255, "%s",
                lang ? "Weiter mit einer beliebigen Taste." : "Press any key to continue.");
    show_frame();
    wfk();
}

// S in the edit modes: the save, then a warning (not a refusal) naming what
// the level still lacks, then a key.
static void save_from_editor(void)
{
    if (!editor_save()) return;             // the status line says why
    refresh_level_list();
    std::string warning = level_save_warning();
    if (!warning.empty()) {
        fprintf(stderr, "hillhopper: %s\n", warning.c_str());
        if (!headless) {
            dark_panel(20, 200, 620, 260, 0.8);
            glColor4f(1, 1, 1, 1);
            ztextprintf(400, font, 40, 225, label_colour(255, 255, 0), "%s", warning.c_str());
            show_frame();
        }
        wfk();
    }
}

// Editor build only; returns FRAME_LEVEL_START for the next-level key.
static frame_result editor_switch(void)
{
    if (!editor_enabled || replay_playing) return FRAME_NEXT;
    if (keyr[KEY_F5] == LATCH_RELEASED) edit_mode = (edit_mode + 1) % 3;
    if (keyr[KEY_F6] == LATCH_RELEASED) {
        keep_unsaved_edits("F6");
        level_file_override.clear();
        int next = level_list_next(current_level, false);
        if (next < 0) next = level_list_next(-1, false);
        current_level = next < 0 ? 0 : next;
        return FRAME_LEVEL_START;
    }
    return FRAME_NEXT;
}

static frame_result frame_steps(void)
{
    if (quit_flag || close_requested) {
        keep_unsaved_edits("the game was closed");
        return FRAME_QUIT;
    }

    update_the_music();
    do_keyr();
    do_mouser();
    if (restart_wanted()) return FRAME_LEVEL_START;
    if (edit_mode != 0 || replay_playing) attempt_not_live();
    if (j[J_LEVEL_DONE] == 0) count_attempt_frame();

    // While the level's name is typed, the keys belong to the name alone.
    bool typing = edit_mode != 0 && level_name_entry_frame();
    if (!typing && actr[ACT_GIVE_UP] == LATCH_RELEASED) {
        f[F_TIME] = 0;
        edit_mode = 0;
        j[J_LOST] = 1;
    }
    if (!typing && actr[ACT_GHOST] == LATCH_PRESSED && edit_mode == 0) ghost_shown = !ghost_shown;
    if (!typing && editor_switch() == FRAME_LEVEL_START) return FRAME_LEVEL_START;

    plr_on_wpts();
    do_bees();

    countdown(J_START_GRACE);
    countdown(J_LAND_POSE);
    countdown(J_TUMBLE);
    countdown(J_STING_COOL);
    countdown(J_PUFFS);

    if (camera_track && !typing) control_of_the_game();

    if (!typing) editor_view_keys();
    if (edit_mode != 0 && !typing) {
        editor_history_keys();
        // The level keys (start point, time, name) are edits too: watched.
        design_watch_begin();
        editor_level_keys();
        editor_controls(edit_mode);
        design_watch_end(0);
        if (keyr[KEY_S] == LATCH_RELEASED && !editor_ctrl_held()) save_from_editor();
    }

    bool drawn = still_screen_must_draw(&level_end_picture, level_end_still(), level_end_key());
    hide_drawing(!drawn);
    int shown_headless = headless;
    headless_unless(drawn, shown_headless);
    update_dads_onscreen();
    draw_bg();
    trans_map();
    draw_world();
    if (edit_mode != 0) design_end_frame();

    draw_particles();
    draw_bonuses();
    headless = shown_headless;
    body_physics();
    collect_bonuses();
    headless_unless(drawn, shown_headless);
    draw_barsnstuff();
    headless = shown_headless;
    track_main_plr();

    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0, 0, -1);

    // Under the time-out and level-complete screens, which cover it.
    if (edit_mode == 0) draw_level_title(attempt.frames);
    // In the edit modes the level neither times out nor completes.
    if (edit_mode == 0 && f[F_TIME] <= 0 && j[J_LEVEL_DONE] == 0 && timeout_sequence() == FRAME_LEVEL_START)
        return FRAME_LEVEL_START;
    if (edit_mode == 0 && j[J_LEVEL_DONE] != 0 && level_complete_sequence() == FRAME_LEVEL_START)
        return FRAME_LEVEL_START;
    if (edit_mode != 0) draw_editor_level_overlay();
    if (display_controls) controls_screen();
    if (editor_enabled) {
        editor_tick();
        draw_editor_status();
    }

    glColor3f(1, 1, 1);
    if (pause_wanted()) pause_game();
    else show_frame(drawn);
    return FRAME_NEXT;
}

// Every frame is also a frame of the attempt being recorded or played.
frame_result run_frame(void)
{
    frame_result r = frame_steps();
    hide_drawing(false);
    replay_after_frame(r);
    return r;
}

// The ticks that can be slept in one go, keeping a margin for the sleep to
// overrun; the rest of the wait goes in 1 ms steps.
int long_rest_ticks(int ticks_now, int target)
{
    const int margin = 2;
    int left = target - ticks_now - margin;
    return left > 0 ? left : 0;
}

// Gives the processor back instead of spinning a whole core, and wakes up
// as seldom as it can: a rest of 1 ms at a time meant 25 wake-ups a frame, a
// few per cent of a core on their own (a paused game or a menu is mostly this).
void rest_until_tick(int target)
{
    int sleep = long_rest_ticks(ztimer.load(), target);
    if (sleep > 0) rest(sleep);
    while (ztimer.load() < target && !close_requested) rest(1);
}

// A replay being watched may run faster.
void pace_frame(void)
{
    int ticks = replay_playing ? frame_ticks / replay_speed() : frame_ticks;
    if (!headless && pacing_enabled) rest_until_tick(ticks);
    ztimer = 0;
    j[J_FRAME]++;
}

void level_start(void)
{
    replay_before_level_load();
    load_level(current_level);
    editor_level_loaded();
    edit_mode = 0;
    replay_after_level_load();
    ghost_level_start();
    begin_attempt(current_level_checksum, current_level_checksum != 0);
}

void shut_down(void)
{
    free_text_textures();
    free_textures();
    free_zmem();
}

// Esc while watching a run again in the game ends the watching as a give-up:
// the time-out screen follows, as after the run itself.
static void watching_keys(void)
{
    if (!replay_playing || replay_viewer_keys()) return;
    stop_watching();
    f[F_TIME] = 0;
    j[J_LOST] = 1;
}

int game_main(void)
{
    alloc_zmem();
    load_textures();
    load_fonts();
    load_records();
    std::string snapshot_error;
    if (!install_snapshot_from_env(&snapshot_error)) fprintf(stderr, "%s\n", snapshot_error.c_str());
    if (!launch.replay_file.empty()) {
        int status = watch_launch_replay();
        shut_down();
        return status;
    }
    replay_keep_attempts = true;
    bool direct = !launch.level_file.empty() || launch.level >= 0;
    if (!direct) quit_flag = start_main();
    for (;;) {
        level_start();
        frame_result r;
        while ((r = run_frame()) == FRAME_NEXT) {
            watching_keys();
            pace_frame();
        }
        if (r == FRAME_QUIT) break;
    }
    shut_down();
    return 0;
}
