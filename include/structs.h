// include/structs.h -- the world records, field by field.
// The level file stores several of these as their exact in-memory image, so
// field order, widths and natural alignment are part of the file format.
#pragma once

struct vect_struct {
    double x, y;
};

struct terrain_vertex_struct {
    float x;
    float y;
    char state;                 // 0 free, 1 in use
};

struct jnt_struct {
    char state;                 // 0 free; the collision probes use 1 and 2 as marks
    int tvn[2];                 // start and end vertex; directed tvn[0] -> tvn[1]
    int njnt[2];                // joint sharing tvn[0], tvn[1]; -1 for none
    short type;                 // 1 walking, 2 nonwalking, 3 only walking
};

struct ply_struct {
    char state;
    int tvn[4];                 // tvn[3] is -1 for a triangle
    short type;                 // 0 triangle, 1 quad; index of its drawing function
    short x;                    // texture: index into terrain_tex
    char layer;                 // 0, 1 or 2
};

struct pnt_struct {
    int type;                   // kind of owner (body points use 0)
    int r;                      // radius given at creation, truncated
    int n;                      // owner index in its own table
    int pnt_reg;                // region cell, -1 outside the grid
    double x;
    double y;
    char state;
};

struct bdr_struct {
    char state;
    int tvn[2];                 // the edge it follows
    int tva[2];                 // outer corner vertices at start and end
    short last_b;               // previous border of the chain, -1 for none
    short next_b;               // next border of the chain, -1 for none
    short type;                 // 0 plain, 1 blended base, 2 waypoint arrow
    short x;                    // texture: index into terrain_tex
    short wpn;                  // arrow group: j slot 6 when the border was made
    float tex_offset;           // texture s at its start
    float tex_len;              // its length in texture repeats
};

struct dad_struct {
    char state;                 // 0 free, 1 near the view, 2 away, other = unclassified
    float px;
    float py;
    float ang;
    int pic;                    // index into doodad_tex
    int type;                   // index of its drawing function
    short sx;                   // picture width in texels
    short sy;                   // picture height in texels
    char layer;
};

struct region_struct {
    int jnt_n;
    short jnt_x;
    int pnt_n;
    short pnt_x;
    int ply_n;
    short ply_x;
    int bdr_n;
    short bdr_x;
    short obs_added;            // fill cursor of whichever rebuild ran last
};

struct bodp_struct {
    char state;
    int pntn;                   // its collision probe in pnt
    double x;                   // offset from the centre in the body's own frame
    double y;
    double rad;                 // collision radius
    double mass;
};

struct body_struct {
    char state;
    int fdir;                   // 0 facing right, 1 facing left
    double x, y;
    double xx, yy;              // velocity, world units per frame
    double xx_old, yy_old;
    double ang;                 // pi = upright on level ground
    double draw_ang;
    double ang_v;
    double ang_v_old;
    int jntn;                   // ridden joint, -1 in the air
    double jntx;                // fraction along it
    double jntvx;               // speed along it, positive towards tvn[1]
    double jntvx_old;
    int foot;                   // body point that must touch for a landing
    double h;                   // ride height
    vect_struct vdir;           // unit tangent of the ridden surface
    bodp_struct bodp[8];
};

struct wpt_struct {
    char state;
    double px;
    double py;
    int cnt;                    // 0 untaken, 1 taken this frame, then spins to 30
};

struct bonus_struct {
    char state;                 // 0 free, 1 waiting, 2.. a collected leaf fading
    double px;
    double py;
    short type;                 // 0 leaf, 1 spike, 2 level end, 3 electric
};

struct particle_struct {
    char state;
    double px, py;
    double xx, yy;
    short type;
    short cnt;                  // age in frames
    short a;                    // per-type parameter
};

const int bees_per_swarm = 25;

struct bees_struct {
    char state;
    float px, py;
    float xx, yy;
    short pn[bees_per_swarm];   // particle slots of the swarm's bees, -1 for none
    int cnt;
    int stage;                  // 0 at large, 1 returning home
    int bites_given;
    float hx, hy;               // home: where the swarm was released
};

// The level file stores these record images byte for byte.
static_assert(sizeof(terrain_vertex_struct) == 12, "vertex image is 12 bytes");
static_assert(sizeof(jnt_struct) == 24, "joint image is 24 bytes");
static_assert(sizeof(ply_struct) == 28, "polygon image is 28 bytes");
static_assert(sizeof(bdr_struct) == 40, "border image is 40 bytes");
static_assert(sizeof(dad_struct) == 32, "doodad image is 32 bytes");
static_assert(sizeof(wpt_struct) == 32, "waypoint image is 32 bytes");
static_assert(sizeof(bonus_struct) == 32, "bonus image is 32 bytes");
