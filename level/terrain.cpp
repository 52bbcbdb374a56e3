// level/terrain.cpp -- emptying the terrain tables, the per-level start
// values and the level set-up sequence. The file format is in level_file.cpp.
// load_level's order matters: the tables are emptied before the file fills
// them, and the body is made only once the start point is known.
#include <cstring>
#include "hillhopper.h"
#include "terrain_file.h"
#include "joints.h"
#include "polys.h"
#include "borders.h"
#include "collisions.h"
#include "waypoints.h"
#include "bonusnparticle.h"
#include "bees.h"
#include "doodads.h"
#include "bodies.h"
#include "camera.h"

void load_plain_level(void)
{
    for (int i = 0; i < num_tvs; i++) {
        tv[i].state = 0;
        tv[i].x = 0;
        tv[i].y = 0;
    }
    for (int i = 0; i < num_jnts; i++) {
        jnt[i].state = 0;
        jnt[i].tvn[0] = jnt[i].tvn[1] = 0;
        jnt[i].njnt[0] = jnt[i].njnt[1] = -1;
        jnt[i].type = 0;
    }
    // A polygon's layer and a border's arrow group are set by their creators.
    for (int i = 0; i < num_plys; i++) {
        ply[i].state = 0;
        for (int c = 0; c < 4; c++) ply[i].tvn[c] = 0;
        ply[i].type = 0;
        ply[i].x = 0;
    }
    for (int i = 0; i < num_bdrs; i++) {
        bdr[i].state = 0;
        bdr[i].tvn[0] = bdr[i].tvn[1] = 0;
        bdr[i].tva[0] = bdr[i].tva[1] = 0;
        bdr[i].type = 0;
        bdr[i].x = 0;
        bdr[i].last_b = bdr[i].next_b = -1;
        bdr[i].tex_offset = 0;
        bdr[i].tex_len = 0;
    }
    for (int i = 0; i < num_dads; i++) {
        dad[i].state = 0;
        dad[i].px = dad[i].py = dad[i].ang = 0;
        dad[i].pic = 0;
        dad[i].type = 0;
        dad[i].layer = 0;
        dad[i].sx = dad[i].sy = 32;
    }
    update_region_jnts();
    update_region_bdrs();
    update_region_plys();
}

// Start point, time allowed; every stored level starts tilted back by 0.1
// from upright. Other level numbers start at the origin, angle 0, time 75.
struct stored_level {
    double x, y, time;
};
static const stored_level stored_levels[num_stored_levels] = {
    {-64.2, 11.75, 50},
    {-69.38, 30.09, 50},
    {-74.61, 34.61, 30},
    {-63.1437, 13.448, 30},
};
const double start_tilt = 0.1;      // radians back from upright
const double default_time = 75;

level_values level_start_values(int lev)
{
    if (lev < 0 || lev >= num_stored_levels) return level_values{0, 0, 0, default_time};
    const stored_level &s = stored_levels[lev];
    return level_values{s.x, s.y, Z_PI - start_tilt, s.time};
}

// The level-state slots a level starts from.
const int last_zeroed_j = 22;
const int start_grace_frames = 100;
static void reset_level_slots(void)
{
    for (int i = 0; i <= last_zeroed_j; i++) j[i] = 0;
    j[J_START_GRACE] = start_grace_frames;
    for (int i = F_POWER; i <= F_RECOVER_Y; i++) f[i] = 0;
    f[F_TIME] = default_time;
    f[F_JUMP_CHARGE] = 0;
}

level_description level_desc;

level_description default_level_description(int lev)
{
    level_values v = level_start_values(lev);
    level_description d;
    memset(&d, 0, sizeof(d));
    d.present = false;
    d.start_x = v.x;
    d.start_y = v.y;
    d.start_ang = v.ang;
    d.time = v.time;
    d.sky = SKY_DAY;
    d.music = music_rotation;
    return d;
}

std::string level_shown_name(const level_description &d, int language, int level_number)
{
    if (language >= 0 && language < NUM_NAME_LANGUAGES && d.name[language][0]) return d.name[language];
    if (d.name[NAME_EN][0]) return d.name[NAME_EN];
    return (language == NAME_DE ? "Stufe " : "Stage ") + std::to_string(level_number + 1);
}

void load_level(int lev)
{
    camera_track = 1;
    reset_level_slots();
    update_pnt_regions();
    clear_wpts();
    clear_bonuses();
    clear_particles();
    clear_bees();
    load_plain_level();
    generate_level_sign();
    level_desc = default_level_description(lev);
    if (lev >= 0 || !level_file_override.empty()) load_terrain(lev);
    // A file without a level section keeps the table values; from now on
    // the level has a description, and a save writes it.
    if (!level_desc.present) level_desc = default_level_description(lev);
    level_desc.present = true;
    f[F_START_X] = level_desc.start_x;
    f[F_START_Y] = level_desc.start_y;
    f[F_START_ANG] = level_desc.start_ang;
    f[F_TIME] = level_desc.time;
    scr_px = f[F_START_X];
    scr_py = f[F_START_Y];
    clear_bodies();
    new_body(0, 0, 0, 0, 0, 0);
    set_camera_start();
}
