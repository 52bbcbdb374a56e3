// include/bodies.h -- bodies and their points, the physics step, landing and
// riding on joints, and the drawing of the player.
#pragma once

const int body_points = 8;          // points a body record holds
const int player_points = 3;        // points the player's shape uses

void alloc_body_mem(void);
void free_body_mem(void);
// Marks every body and point free and gives their collision probes back.
// Called by the level start before new_body.
void clear_bodies(void);
// Creates the player-shaped body in the lowest free slot, placed from the
// level-state slots (start point f 1, f 2, angle f 3, facing f 15): airborne, at
// rest, with three collision probes. The arguments are overwritten by those
// slots. Returns the slot, or -1 when the table is full (nothing changes).
int new_body(double x, double y, double xx, double yy, double ang, double ang_v);
void delete_body(int b);            // frees the body and its probes
// Moves the probes of body b's points to the body's place and angle.
void update_body_pnts(int b);

double tri_num(int n);              // (n + 1) / 2 in integers, as a double
double pos_only(double v);          // v if v > 0, else 0 (NaN too)
double convert_angle(double a);     // into one turn by whole turns
// The shorter turn from b to a and its sense: b + result * dir moves towards a.
double ang_diff(double a, double b, int *dir);

// Steps every body one frame: substeps, riding, contacts, landing, flight.
// Writes j 4 (substeps), and may write j 3, j 7, j 8, f 4, f 5.
void body_physics(void);
// Landing test of a foot contact; n points from the foot probe to joint k, t is
// the foot's fraction along k. An accepted landing sets jntn but does not move
// the body; a bad refused one starts the tumble timer.
void body_landing(int b, double nx, double ny, int k, double t);
// One substep of riding: advance, friction, slope pull, passing to the next
// joint or running off an end, then placement. Does nothing during the
// recovery hold (j 8).
void body_on_jnt(int b, int steps);
// Places a rider on its ride path lift above the usual height and derives its
// angle, tangent and velocity; does nothing for an airborne body.
void update_body_on_jnt(int b, double lift);
// Leaves the ridden joint the way a jump does: lifted off the ride path, turned
// back a little and given an impulse that grows with the charge (0..100).
void jump_off_jnt(int b, double charge);

// Once per frame, between the doodads and polygon layer 2. Besides drawing it
// eases draw_ang towards ang and pins the player to the recovery point during
// the recovery hold (zeroing its speeds on the hold's last frame); headless it
// does those state changes and draws nothing.
void draw_bodies(void);

// What a body's sprite shows, chosen from the game situation alone.
struct sprite_situation {
    int land_pose;          // j 2
    int tumble;             // j 3
    int recovery;           // j 8
    int bee_attack;         // j 13
    int boost_timer;        // j 17
    int frame_counter;      // j 0
    int player_rides;       // body 0 is on a joint
    int body_rides;         // the drawn body is on a joint
    int steer_key;          // the left or the right key latch is non-zero
    int jump_key;           // the enter key latch is non-zero
    double ang, draw_ang;
};
struct body_sprite {
    int frame;              // index into terrain_tex
    double ang;             // the body angle the sprite is turned by (before + pi)
};
body_sprite choose_body_sprite(const sprite_situation &s);
sprite_situation body_situation(int b);     // reads the tables for body b
// Boost frames: alternating in the first 50 and in 93..111, steady otherwise.
int boost_frame(int boost_timer, int frame_counter);
// Distance of trail copy k (1..4) from the body while the boost timer is above 180.
double boost_trail_offset(int k, int boost_timer);
