// bench/physics_bench.cpp -- the logic of one frame for the player (controls,
// then the physics step) on a dense level: at rest, riding fast round a loop,
// and flying fast into a cluttered floor. budget_% is the share of the 25 ms
// frame; goal: below 1 % typical.
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <benchmark/benchmark.h>
#include "hillhopper.h"
#include "game.h"
#include "zmem.h"
#include "joints.h"
#include "bodies.h"
#include "collisions.h"
#include "std_gfuncs.h"

namespace {

const double frame_seconds = 0.025;
const double riding_speed = 0.1;    // world units per frame

void world(void)
{
    static bool done = false;
    if (done) return;
    install_allegro(SYSTEM_NONE, &errno, atexit);
    headless = 1;
    if (!tv) alloc_world_tables();
    done = true;
}

void empty_tables(void)
{
    for (int i = 0; i < num_tvs; i++) tv[i] = terrain_vertex_struct{};
    for (int i = 0; i < num_jnts; i++) jnt[i] = jnt_struct{};
    for (int i = 0; i < num_slots; i++) { j[i] = 0; f[i] = 0; }
    f[F_TIME] = 75;
    clear_keyr();
    for (int i = 0; i < KEY_MAX; i++) key[i] = 0;
}

int add_jnt_raw(int k, double x1, double y1, double x2, double y2, int type)
{
    int a = new_tv(x1, y1), b = new_tv(x2, y2);
    jnt[k] = jnt_struct{1, {a, b}, {-1, -1}, (short)type};
    return k + 1;
}

// A dense level: a floor of 0.05-long joints from x -10 to 10 sharing their
// vertices, and under it four layers of clutter 0.35 apart (gathered by every
// probe, rarely touched). Links are set by one relink at the end.
int dense_level(void)
{
    world();
    empty_tables();
    int k = 0;
    int prev = new_tv(-10, 0);
    for (int i = 1; i <= 400; i++) {
        int v = new_tv(-10 + 0.05 * i, 0);
        jnt[k++] = jnt_struct{1, {prev, v}, {-1, -1}, 1};
        prev = v;
    }
    for (int layer = 1; layer <= 4; layer++)
        for (int i = 0; i < 200; i++) {
            double x = -10 + 0.1 * i, y = -0.35 * layer;
            k = add_jnt_raw(k, x, y, x + 0.08, y - 0.03, 2);
        }
    update_adj_jnts();
    update_region_jnts();
    return k;
}

void start_at(double x, double y)
{
    f[F_START_X] = x;
    f[F_START_Y] = y;
    f[F_START_ANG] = Z_PI;
    clear_bodies();
    new_body(0, 0, 0, 0, 0, 0);
    update_pnt_regions();
}

void one_frame_logic(void)
{
    do_keyr();
    player_controls();
    electric_boost();
    body_physics();
}

void report(benchmark::State &state, long substeps)
{
    state.counters["budget_%"] = benchmark::Counter(state.iterations() * frame_seconds / 100.0,
                                                    benchmark::Counter::kIsRate |
                                                    benchmark::Counter::kInvert);
    state.counters["substeps"] = (double)substeps / state.iterations();
}

void BM_frame_at_rest(benchmark::State &state)
{
    dense_level();
    start_at(0, 1);
    body[0].jntn = 200;
    body[0].jntx = 0.5;
    update_body_on_jnt(0, 0.0125);
    long substeps = 0;
    for (auto _ : state) {
        one_frame_logic();
        substeps += j[J_SUBSTEPS];
    }
    if (body[0].jntn == -1) state.SkipWithError("the resting player left the ground");
    report(state, substeps);
}
BENCHMARK(BM_frame_at_rest);

// Right held at 0.1 units per frame along the floor of 0.05-long joints: two
// joint passages a frame, about 21 substeps; back to the start near the end.
void BM_frame_riding(benchmark::State &state)
{
    dense_level();
    start_at(0, 1);
    const int start_jnt = 40;
    key[KEY_RIGHT] = 1;
    long substeps = 0;
    for (auto _ : state) {
        body_struct &b = body[0];
        if (b.jntn == -1 || b.x > 8) {
            b.jntn = start_jnt;
            b.jntx = 0;
        }
        b.jntvx = b.jntvx_old = riding_speed;
        update_body_on_jnt(0, 0.0125);
        one_frame_logic();
        substeps += j[J_SUBSTEPS];
    }
    key[KEY_RIGHT] = 0;
    report(state, substeps);
}
BENCHMARK(BM_frame_riding);

// Every frame starts 0.4 above the floor, falling at 0.5 units per frame and
// spinning: about 100 substeps, most of them in contact with the floor.
void BM_frame_flying_into_terrain(benchmark::State &state)
{
    dense_level();
    start_at(0, 1);
    long substeps = 0;
    for (auto _ : state) {
        body_struct &b = body[0];
        b.x = 0.3; b.y = 0.4; b.xx = 0.2; b.yy = -0.45; b.ang = Z_PI + 0.3; b.ang_v = 2;
        b.xx_old = b.yy_old = b.ang_v_old = 0;
        b.jntn = -1;
        j[J_AIR_CONTACTS] = 0;
        j[J_RECOVERY] = 0;
        one_frame_logic();
        substeps += j[J_SUBSTEPS];
    }
    report(state, substeps);
}
BENCHMARK(BM_frame_flying_into_terrain);

}  // namespace
