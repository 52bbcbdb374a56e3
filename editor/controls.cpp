// editor/controls.cpp -- the editing keys of Edit Mode, handled in a fixed
// order once per frame; later steps see what earlier steps changed.
// The vertex clicks that complete a construction are select_point's; the keys
// here only arm, abandon or retype them.
#include <cmath>
#include "hillhopper.h"
#include "std_gfuncs.h"
#include "geometry.h"
#include "zmem.h"
#include "joints.h"
#include "polys.h"
#include "borders.h"
#include "waypoints.h"
#include "bonusnparticle.h"
#include "doodads.h"
#include "textures.h"
#include "editor.h"
#include "editor_state.h"
#include "design.h"
#include "editor_level.h"

const int label_frames = 40;                // how long a shape or joint-type label stays up
const double bonus_erase_radius = 0.1;      // world units around the mouse
const int angle_step_press = 4;             // hundredths of a radian per press
const int angle_step_held = 2;              // hundredths of a radian per held frame
const double cents_per_radian = 100.0;
const int num_joint_types = 3;              // 1 walking, 2 nonwalking, 3 only walking
const int num_bdr_types = 3;
const int num_bonus_types = 4;
const int preview_state = 255;              // live but not yet classified near or away

static bool down(int k) { return keyr[k] != LATCH_UP; }
static bool pressed(int k) { return keyr[k] == LATCH_PRESSED; }
static bool released(int k) { return keyr[k] == LATCH_RELEASED; }
static bool shift_down(void) { return down(KEY_LSHIFT); }

// ---- keys for keyboards without a keypad -------------------------------------------
// Alt+1..Alt+4 held are keypad 1..4 held; [ ] \ are keypad - + *.

bool editor_alt_held(void)
{
    auto down_now = [](int k) { return keyr[k] == LATCH_PRESSED || keyr[k] == LATCH_HELD; };
    return down_now(KEY_ALT) || down_now(KEY_ALTGR);
}

// The stronger of the two latches: held wins over pressed over released.
static int either_latch(int a, int b)
{
    if (a == LATCH_HELD || b == LATCH_HELD) return LATCH_HELD;
    if (a == LATCH_PRESSED || b == LATCH_PRESSED) return LATCH_PRESSED;
    if (a == LATCH_RELEASED || b == LATCH_RELEASED) return LATCH_RELEASED;
    return LATCH_UP;
}

// Pick key n (1..4): keypad n, or Alt with the digit n.
static int pick_key_latch(int n)
{
    static const int pad[4] = {KEY_1_PAD, KEY_2_PAD, KEY_3_PAD, KEY_4_PAD};
    static const int digit[4] = {KEY_1, KEY_2, KEY_3, KEY_4};
    int alt = editor_alt_held() ? (int)keyr[digit[n - 1]] : (int)LATCH_UP;
    return either_latch(keyr[pad[n - 1]], alt);
}

static int angle_plus_latch(void) { return either_latch(keyr[KEY_PLUS_PAD], keyr[KEY_CLOSEBRACE]); }
static int angle_minus_latch(void) { return either_latch(keyr[KEY_MINUS_PAD], keyr[KEY_OPENBRACE]); }
static int freeze_latch(void) { return either_latch(keyr[KEY_ASTERISK], keyr[KEY_BACKSLASH]); }

// ---- constructions ------------------------------------------------------------

static void stop_all_constructions(void)
{
    edt.jnt_stage = 0;
    edt.ply_stage = 0;
    edt.bdr_stage = 0;
}

// J, P and B: arm (taking a held vertex as the first corner at once), or
// abandon what is under way. Arming one stops the other two.
static void toggle_construction(int *stage, int *first_tv)
{
    int was = *stage;
    stop_all_constructions();
    if (was != 0) return;
    *stage = 1;
    if (selected_point != -1) {
        *first_tv = selected_point;
        *stage = 2;
        selected_point = -1;
    }
}

static void construction_keys(void)
{
    if (pressed(KEY_T)) {
        stop_all_constructions();
        edt.ply_quad = !edt.ply_quad;
        edt.shape_label_cnt = label_frames;
    }
    if (pressed(KEY_K)) {
        stop_all_constructions();
        edt.jnt_type = edt.jnt_type % num_joint_types + 1;
        edt.jnt_label_cnt = label_frames;
    }
    if (released(KEY_J)) toggle_construction(&edt.jnt_stage, &edt.jnt_tv0);
    if (released(KEY_P)) toggle_construction(&edt.ply_stage, &edt.ply_tv0);
    if (pressed(KEY_B)) {
        if (shift_down()) edt.bdr_type = (edt.bdr_type + 1) % num_bdr_types;
        else toggle_construction(&edt.bdr_stage, &edt.bdr_tv0);
    }
}

// ---- deletion -------------------------------------------------------------------

// A selection may be stale (a level loaded since): only a live record in
// range is deleted, and every selection ends at -1 either way.
static void delete_selection(void)
{
    if (edt.sel_tv >= 0 && edt.sel_tv < num_tvs && tv[edt.sel_tv].state) delete_tv(edt.sel_tv);
    edt.sel_tv = -1;
    if (edt.sel_bdr >= 0 && edt.sel_bdr < num_bdrs) delete_bdr(edt.sel_bdr);
    edt.sel_bdr = -1;
    if (edt.sel_ply >= 0 && edt.sel_ply < num_plys && ply[edt.sel_ply].state) delete_ply(edt.sel_ply);
    edt.sel_ply = -1;
    if (edt.sel_jnt >= 0 && edt.sel_jnt < num_jnts && jnt[edt.sel_jnt].state) delete_jnt(edt.sel_jnt);
    edt.sel_jnt = -1;
    if (edt.sel_dad >= 0 && edt.sel_dad < num_dads && dad[edt.sel_dad].state) delete_doodad(edt.sel_dad);
    edt.sel_dad = -1;
}

// With "Level End" chosen every level end goes, wherever it is, and the game
// waits for a key after each; any bonus near the mouse goes too.
static void erase_bonuses(void)
{
    for (int i = 0; i < num_bonuses; i++) {
        if (bonus[i].state == 0) continue;
        if (edt.bonus_type == BONUS_LEVEL_END && bonus[i].type == BONUS_LEVEL_END) {
            bonus[i].state = 0;
            wfk();
        }
        if (dist(bonus[i].px, bonus[i].py, mposx, mposy) < bonus_erase_radius) bonus[i].state = 0;
    }
}

// ---- waypoints, bonuses, layers ---------------------------------------------

static void remove_highest_wpt(void)
{
    for (int i = num_wpts - 1; i >= 0; i--) {
        if (wpt[i].state != 0) {
            wpt[i].state = 0;
            return;
        }
    }
}

static void placement_keys(void)
{
    if (released(KEY_N) && !editor_ctrl_down())                            // Ctrl+N: a new level
        new_tv(snap_to_grid(mposx), snap_to_grid(mposy));
    if (released(KEY_W)) {
        if (shift_down()) remove_highest_wpt();
        else new_wpt(mposx, mposy);
    }
}

static void layer_keys(void)
{
    if (pressed(KEY_F1)) edt.cur_layer = 0;
    if (pressed(KEY_F2)) edt.cur_layer = 1;
    if (pressed(KEY_F3)) edt.cur_layer = 2;
}

// A slot that play emptied (a leaf taken) still holds its designed bonus:
// a new bonus goes where play and design are both free.
static void place_bonus(double x, double y, short type)
{
    for (int i = 0; i < num_bonuses; i++) {
        if (bonus[i].state != 0 || design_slot_used(SEC_BONUS, i)) continue;
        bonus[i] = bonus_struct{};
        bonus[i].state = 1;
        bonus[i].type = type;
        bonus[i].px = x;
        bonus[i].py = y;
        return;
    }
}

// With Ctrl held, Z is undo or redo and nothing else.
static void bonus_keys(void)
{
    if (!pressed(KEY_Z) || editor_ctrl_held()) return;
    if (shift_down()) edt.bonus_type = (edt.bonus_type + 1) % num_bonus_types;
    else place_bonus(mposx, mposy, (short)edt.bonus_type);
}

// ---- picks ------------------------------------------------------------------------

// Keypad 1..4 held (from their second frame) show what lies under the mouse;
// a left press then makes it the one selection, or clears them all.
static bool pick_held(int n)
{
    return pick_key_latch(n) == LATCH_HELD;
}

static bool pick_click(int n)
{
    return pick_held(n) && mb1 == LATCH_PRESSED;
}

static void pick_keys(void)
{
    edt.hover_bdr = -1;
    if (pick_held(1)) select_border();
    if (pick_click(1)) {
        clear_all_selections();
        edt.sel_bdr = edt.hover_bdr;
    }
    edt.hover_ply = -1;
    if (pick_held(2)) select_poly();
    if (pick_click(2)) {
        clear_all_selections();
        edt.sel_ply = edt.hover_ply;
    }
    edt.hover_jnt = -1;
    if (pick_held(3)) select_joint();
    if (pick_click(3)) {
        clear_all_selections();
        edt.sel_jnt = edt.hover_jnt;
    }
    edt.hover_dad = -1;
    if (pick_held(4)) {
        select_doodad();
        edt.dad_mode = 0;
    }
    if (pick_click(4)) {
        clear_all_selections();
        edt.sel_dad = edt.hover_dad;
    }
}

static void arrow_group_keys(void)
{
    if (pressed(KEY_PGUP)) j[J_ARROW_GROUP]++;
    if (pressed(KEY_PGDN) && j[J_ARROW_GROUP] > 0) j[J_ARROW_GROUP]--;
}

// ---- doodad placement -------------------------------------------------------------

// The preview is known by its slot: play may change its picture (a hive
// preview near the player) and a level start forgets it (edt.preview_dad -1).
static void remove_preview(void)
{
    int p = edt.preview_dad;
    if (p >= 0 && p < num_dads && dad[p].state != 0) delete_doodad(p);
    edt.preview_dad = -1;
}

// A doodad shows a picture of the doodad set: with cur_tex chosen from the
// larger terrain set there is nothing to show, and nothing is made.
static int new_placed_dad(void)
{
    if (edt.cur_tex < 0 || edt.cur_tex >= GET_num_dadtex()) return num_dads;
    return new_dad(mposx, mposy, current_dad_ang, edt.cur_tex, edt.dad_mode - 1, (char)edt.cur_layer);
}

// With the table full new_dad answers num_dads: the preview is then absent.
static void rebuild_preview(void)
{
    remove_preview();
    edt.preview_on = 1;
    int p = new_placed_dad();
    if (p < 0 || p >= num_dads) return;
    dad[p].state = (char)preview_state;
    edt.preview_dad = p;
}

static void doodad_angle_keys(void)
{
    if (freeze_latch() == LATCH_PRESSED) {
        if (edt.dad_ang_fixed == 0) {
            edt.dad_ang_fixed = -1;
            edt.dad_ang_cent = (int)(jnt_perp_ang * cents_per_radian);
        } else {
            edt.dad_ang_fixed = 0;
        }
    }
    int plus = angle_plus_latch(), minus = angle_minus_latch();
    if (plus == LATCH_PRESSED) edt.dad_ang_cent += angle_step_press;
    if (minus == LATCH_PRESSED) edt.dad_ang_cent -= angle_step_press;
    if (plus == LATCH_HELD) edt.dad_ang_cent += angle_step_held;
    if (minus == LATCH_HELD) edt.dad_ang_cent -= angle_step_held;
}

// The angle used this frame is the joint direction found in an earlier
// frame; the joint under the mouse now is remembered for the next.
static void doodad_placement(void)
{
    if (edt.dad_mode == 0) {
        if (edt.preview_on == 1) {
            remove_preview();
            edt.preview_on = 0;
        }
        return;
    }
    doodad_angle_keys();
    select_joint();
    current_dad_ang = edt.dad_ang_fixed != 0 ? edt.dad_ang_cent / cents_per_radian : jnt_perp_ang;
    if (edt.hover_jnt != -1) {
        vect_struct v;
        get_jnt_vect(edt.hover_jnt, &v);
        jnt_perp_ang = atan2(v.y, v.x);
    }
    rebuild_preview();
}

static void doodad_keys(void)
{
    if (!pressed(KEY_D)) return;
    if (shift_down()) edt.dad_mode = !edt.dad_mode;
    else if (edt.dad_mode != 0) new_placed_dad();
}

// ---- the frame's key pass ---------------------------------------------------------

static void rebuild_region_index(void)
{
    update_region_jnts();
    update_region_plys();
    update_region_bdrs();
}

void editor_controls(int mode)
{
    const int edit = 1;
    if (mode != edit) return;
    // Once time has run out on an unfinished level, space belongs to the
    // time-out screen.
    if (down(KEY_SPACE) && (f[F_TIME] > 0 || j[J_LEVEL_DONE] != 0)) select_a_texture();
    if (released(KEY_U)) rebuild_region_index();
    if (released(KEY_DEL)) {
        delete_selection();
        erase_bonuses();
    }
    placement_keys();
    layer_keys();
    construction_keys();
    bonus_keys();
    pick_keys();
    arrow_group_keys();
    doodad_placement();
    doodad_keys();
}
