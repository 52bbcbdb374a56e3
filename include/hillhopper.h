// include/hillhopper.h -- the world tables, the level-state slots and the shared globals.
// Every table has a fixed capacity and is never compacted: records refer to each
// other by index, a slot whose state is 0 is free and -1 means "none".
#pragma once
#include <atomic>
#include <allegro.h>
#include "structs.h"

// Capacities. Loops that walk a whole table run from slot 0 to the capacity.
const int num_tvs = 10000;
const int num_jnts = 10000;
const int num_plys = 20000;
const int num_bdrs = 5000;
const int num_pnts = 10000;
const int num_dads = 10000;
const int num_bodies = 10;
const int num_wpts = 1000;
const int num_bonuses = 1000;
const int num_particles = 1000;
const int num_bees = 100;
const int num_slots = 1000;         // entries of j and of f
const int h_table_size = 50000;
const int xnam_size = 50;
const int num_tex_slots = 100;      // terrain_tex, doodad_tex, building_tex

// Region grid: 200 x 100 cells of 0.8 world units over x -80..80, y -40..40.
const int map_sx = 200;
const int map_sy = 100;
const int jnt_list_size = 4 * num_jnts;
const int ply_list_size = 4 * num_plys;
const int bdr_list_size = 4 * num_bdrs;
const int pnt_list_size = num_pnts;

// The key latch table is indexed by Allegro's own key codes.
const int num_keys = KEY_MAX;

// Level-state slots of j (ints). Countdowns are lowered by the frame loop.
enum {
    J_FRAME = 0,            // frame counter
    J_LAND_HELP = 1,        // landing-help window, countdown
    J_LAND_POSE = 2,        // landing pose timer, countdown
    J_TUMBLE = 3,           // tumble timer, countdown
    J_SUBSTEPS = 4,         // substep count of the body stepped last
    J_ARROW_GROUP = 6,      // waypoint-arrow group new borders take
    J_AIR_CONTACTS = 7,     // airborne contact count
    J_RECOVERY = 8,         // recovery hold timer, countdown
    J_TIMEOUT_STEP = 9,     // time-out slide-in step 0..25
    J_TIMEOUT_CHOICE = 10,  // 0 play again, 1 back to start
    J_LEVEL_DONE = 11,      // level-complete counter, 0 while running
    J_BITES = 12,           // bee bite count
    J_BEE_ATTACK = 13,      // bee attack timer
    J_SPIN_DAMP = 14,       // rotation-damping window, countdown
    J_BOOSTS = 16,          // electric boosts in stock
    J_BOOST_TIMER = 17,     // boost timer, countdown
    J_STING_COOL = 18,      // sting cool-down, countdown
    J_STING_LOAD = 19,      // sting load, countdown
    J_LOST = 20,            // the player gave up or died
    J_DEATH = 21,           // death timer
    J_PUFFS = 22,           // puff timer, countdown
    J_START_GRACE = 23      // no landing pose while non-zero, countdown from 100
};

// Level-state slots of f (doubles).
enum {
    F_POWER = 0,            // -100..100
    F_START_X = 1,
    F_START_Y = 2,
    F_START_ANG = 3,
    F_RECOVER_X = 4,
    F_RECOVER_Y = 5,
    F_TIME = 6,             // time left; 100 is a full clock
    F_JUMP_CHARGE = 7,      // 0..100
    F_FACING = 15           // facing of a new body; never written by the game
};

// Tables, allocated once by alloc_zmem and freed by free_zmem.
extern terrain_vertex_struct *tv;
extern jnt_struct *jnt;
extern ply_struct *ply;
extern bdr_struct *bdr;
extern pnt_struct *pnt;
extern dad_struct *dad;
extern region_struct *region;
extern int *jnt_list;
extern int *ply_list;
extern int *bdr_list;
extern int *pnt_list;
extern body_struct *body;
extern wpt_struct *wpt;
extern bonus_struct *bonus;
extern particle_struct *particle;
extern bees_struct bees[num_bees];
extern int *j;
extern double *f;
extern char *h_table;
extern char *xnam;

// Shared globals.
// Milliseconds since it was last set, read from the system's steady clock
// when asked. (A 1 ms timer interrupt that counted them woke the process a
// thousand times a second: most of what a paused game or a still screen cost.)
struct tick_counter {
    long long base_ns;                      // steady clock when the count was 0
    int load(void) const;
    tick_counter &operator=(int ticks);     // the count is ticks now
};
extern tick_counter ztimer;
extern double scr_px, scr_py;       // view centre, world units
extern double world_ang;            // view rotation, degrees
extern const double Z_PI;
extern int mb1, mb2;                // mouse-button latches
extern char keyr[num_keys];         // key latches: 0 up, 1 pressed, 3 held, 2 released
extern double mposx, mposy;         // mouse in world coordinates
extern int edit_mode;               // 0 play, 1 "Edit Mode", 2 "Path Edit Mode"
extern int current_level;
extern int camera_track;            // 1 camera follows the player, 0 free camera
extern int display_controls;        // show the controls screen at the end of the frame
extern int lang;                    // language of the picture texts, 0 or 1
extern unsigned int terrain_tex[num_tex_slots];
