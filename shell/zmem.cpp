// shell/zmem.cpp -- the world tables and the shared globals, allocated once
// for the whole run. A level never reallocates: load_level empties and refills.
#include <chrono>
#include <climits>
#include <cstdlib>
#include <cstdio>
#include "hillhopper.h"
#include "zmem.h"
#include "bodies.h"
#include "collisions.h"
#include "polys.h"
#include "borders.h"
#include "doodads.h"
#include "sound.h"
#include "terrain_file.h"

terrain_vertex_struct *tv;
jnt_struct *jnt;
ply_struct *ply;
bdr_struct *bdr;
pnt_struct *pnt;
dad_struct *dad;
region_struct *region;
int *jnt_list;
int *ply_list;
int *bdr_list;
int *pnt_list;
wpt_struct *wpt;
bonus_struct *bonus;
particle_struct *particle;
bees_struct bees[num_bees];
int *j;
double *f;
char *h_table;
char *xnam;

tick_counter ztimer = {0};

static long long steady_ns(void)
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
        std::chrono::steady_clock::now().time_since_epoch()).count();
}

int tick_counter::load(void) const
{
    long long ms = (steady_ns() - base_ns) / 1000000;
    return ms > INT_MAX ? INT_MAX : ms < 0 ? 0 : (int)ms;
}

// Setting the count keeps the phase of the ticks, as the interrupt's count
// did: the part of a millisecond already gone is not waited again, so a frame
// paced to 25 ticks still lasts 25 ms on average, not 25 ms and a half.
tick_counter &tick_counter::operator=(int ticks)
{
    const long long ms = 1000000;
    long long now = steady_ns(), whole = (now - base_ns) / ms;
    if (base_ns == 0 || whole < 0 || whole > INT_MAX) base_ns = now - ticks * ms;
    else base_ns += (whole - ticks) * ms;
    return *this;
}
double scr_px = 0, scr_py = 0;
double world_ang = 0;
const double Z_PI = 3.141592654;
int mb1 = 0, mb2 = 0;
char keyr[num_keys];
double mposx, mposy;
int edit_mode = 0;
int current_level = 0;
int camera_track = 1;
int display_controls = 1;
int lang = 0;
unsigned int terrain_tex[num_tex_slots];

// Nothing can run without its tables: a failed allocation at start-up ends
// the program with a message rather than a crash later.
template <typename T>
static T *alloc_table(size_t count, const char *name)
{
    T *table = static_cast<T *>(calloc(count, sizeof(T)));
    if (!table) {
        fprintf(stderr, "hillhopper: out of memory allocating %s (%zu records)\n", name, count);
        exit(1);
    }
    return table;
}

void alloc_terrain_mem(void)
{
    tv = alloc_table<terrain_vertex_struct>(num_tvs, "tv");
    jnt = alloc_table<jnt_struct>(num_jnts, "jnt");
    ply = alloc_table<ply_struct>(num_plys, "ply");
    bdr = alloc_table<bdr_struct>(num_bdrs, "bdr");
    pnt = alloc_table<pnt_struct>(num_pnts, "pnt");
    dad = alloc_table<dad_struct>(num_dads, "dad");
    jnt_list = alloc_table<int>(jnt_list_size, "jnt_list");
    ply_list = alloc_table<int>(ply_list_size, "ply_list");
    bdr_list = alloc_table<int>(bdr_list_size, "bdr_list");
    pnt_list = alloc_table<int>(pnt_list_size, "pnt_list");
    region = alloc_table<region_struct>(map_sx * map_sy, "region");
    clear_pnts();
    load_plain_level();
}

void free_terrain_mem(void)
{
    free(tv);
    free(jnt);
    free(ply);
    free(bdr);
    free(pnt);
    free(dad);
    free(region);
    free(jnt_list);
    free(ply_list);
    free(bdr_list);
    free(pnt_list);
    tv = nullptr; jnt = nullptr; ply = nullptr; bdr = nullptr; pnt = nullptr; dad = nullptr;
    region = nullptr; jnt_list = ply_list = bdr_list = pnt_list = nullptr;
}

void alloc_world_tables(void)
{
    xnam = alloc_table<char>(xnam_size, "xnam");
    alloc_terrain_mem();
    alloc_body_mem();
    j = alloc_table<int>(num_slots, "j");
    j[J_FRAME] = 0;
    f = alloc_table<double>(num_slots, "f");
    f[F_FACING] = 0;            // a new body faces right unless a level says otherwise
    h_table = alloc_table<char>(h_table_size, "h_table");
    wpt = alloc_table<wpt_struct>(num_wpts, "wpt");
    bonus = alloc_table<bonus_struct>(num_bonuses, "bonus");
    particle = alloc_table<particle_struct>(num_particles, "particle");
    init_ply_drawing_funcs();
    init_bdr_drawing_funcs();
    init_dad_drawing_funcs();
}

void free_world_tables(void)
{
    free(xnam);
    free_terrain_mem();
    free_body_mem();
    free(j);
    free(f);
    free(wpt);
    free(h_table);
    free(bonus);
    free(particle);
    xnam = nullptr; j = nullptr; f = nullptr; wpt = nullptr; h_table = nullptr;
    bonus = nullptr; particle = nullptr;
}

void alloc_zmem(void)
{
    alloc_world_tables();
    load_sound_dat();
    load_music_dat();
}

void free_zmem(void)
{
    free_sound_dat();
    free_music_dat();
    free_world_tables();
}

int new_tv(double x, double y)
{
    for (int i = 0; i < num_tvs; i++) {
        if (tv[i].state == 0) {
            tv[i] = terrain_vertex_struct{};
            tv[i].x = (float)x;
            tv[i].y = (float)y;
            tv[i].state = 1;
            return i;
        }
    }
    return -1;
}
