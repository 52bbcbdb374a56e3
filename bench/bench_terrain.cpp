// bench/bench_terrain.cpp -- relinking joints and rebuilding the region grid
// on a capacity-filled level: 10,000 joints, 20,000 polygons, 5,000 borders.
// Goal: each within one 25 ms frame, since the editor runs them on edits.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <benchmark/benchmark.h>
#include "hillhopper.h"
#include "game.h"
#include "zmem.h"
#include "joints.h"
#include "polys.h"
#include "borders.h"
#include "terrain_file.h"

namespace {

const int lattice = 100;            // 100 x 100 vertices: the whole vertex table

// A jittered lattice of vertices over the middle of the grid, joints along
// its rows (and one column), triangles and quads over its cells, borders
// along the first rows: every terrain table filled to capacity.
void capacity_level(void)
{
    static bool done = false;
    if (done) return;
    install_allegro(SYSTEM_NONE, &errno, atexit);
    headless = 1;
    alloc_world_tables();
    load_plain_level();
    srand(4);
    auto jitter = [] { return (rand() % 100 - 50) / 1000.0; };
    for (int r = 0; r < lattice; r++)
        for (int c = 0; c < lattice; c++)
            new_tv(-40 + 0.8 * c + jitter(), -20 + 0.4 * r + jitter());
    auto v = [](int c, int r) { return r * lattice + c; };
    int jn = 0;
    for (int r = 0; r < lattice && jn < num_jnts; r++)
        for (int c = 0; c + 1 < lattice && jn < num_jnts; c++, jn++)
            jnt[jn] = jnt_struct{1, {v(c, r), v(c + 1, r)}, {-1, -1}, 1};
    for (int r = 0; r + 1 < lattice && jn < num_jnts; r++, jn++)
        jnt[jn] = jnt_struct{1, {v(0, r), v(0, r + 1)}, {-1, -1}, 2};
    int pn = 0;
    for (int r = 0; r + 1 < lattice; r++)
        for (int c = 0; c + 1 < lattice && pn + 1 < num_plys; c++) {
            ply[pn++] = ply_struct{1, {v(c, r), v(c + 1, r), v(c + 1, r + 1), -1}, 0, 0, 0};
            ply[pn++] = ply_struct{1, {v(c, r), v(c + 1, r + 1), v(c, r + 1), -1}, 0, 0, 1};
        }
    for (int c = 0; pn < num_plys; c = (c + 1) % (lattice - 1))
        ply[pn++] = ply_struct{1, {v(c, 0), v(c + 1, 0), v(c + 1, 1), v(c, 1)}, 1, 0, 2};
    for (int b = 0; b < num_bdrs; b++) {
        const jnt_struct &J = jnt[b];
        short last = (short)(b % (lattice - 1) ? b - 1 : -1);
        short next = (short)((b + 1) % (lattice - 1) ? b + 1 : -1);
        bdr[b] = bdr_struct{1, {J.tvn[0], J.tvn[1]}, {J.tvn[0] + lattice, J.tvn[1] + lattice},
                            last, next, 0, 0, 0, 0, 1};
    }
    done = true;
}

long list_entries(short region_struct::*count)
{
    long n = 0;
    for (int c = 0; c < map_sx * map_sy; c++) n += region[c].*count;
    return n;
}

void BM_update_adj_jnts(benchmark::State &state)
{
    capacity_level();
    for (auto _ : state) update_adj_jnts();
    state.counters["joints"] = num_jnts;
}
BENCHMARK(BM_update_adj_jnts)->Unit(benchmark::kMillisecond);

void BM_update_region_jnts(benchmark::State &state)
{
    capacity_level();
    for (auto _ : state) update_region_jnts();
    state.counters["entries"] = (double)list_entries(&region_struct::jnt_x);
}
BENCHMARK(BM_update_region_jnts)->Unit(benchmark::kMillisecond);

void BM_update_region_plys(benchmark::State &state)
{
    capacity_level();
    for (auto _ : state) update_region_plys();
    state.counters["entries"] = (double)list_entries(&region_struct::ply_x);
}
BENCHMARK(BM_update_region_plys)->Unit(benchmark::kMillisecond);

void BM_update_region_bdrs(benchmark::State &state)
{
    capacity_level();
    for (auto _ : state) update_region_bdrs();
    state.counters["entries"] = (double)list_entries(&region_struct::bdr_x);
}
BENCHMARK(BM_update_region_bdrs)->Unit(benchmark::kMillisecond);

// For scale: the pairwise relinking pass that update_adj_jnts replaces.
void BM_pairwise_relink_reference(benchmark::State &state)
{
    capacity_level();
    for (auto _ : state) {
        for (int n = 0; n < num_jnts; n++)
            if (jnt[n].state) jnt[n].njnt[0] = jnt[n].njnt[1] = -1;
        for (int n = 0; n < num_jnts; n++) {
            if (!jnt[n].state) continue;
            for (int m = 0; m < num_jnts; m++) {
                if (m == n || !jnt[m].state) continue;
                for (int a = 0; a < 2; a++)
                    for (int b = 0; b < 2; b++)
                        if (jnt[n].tvn[a] == jnt[m].tvn[b]) {
                            jnt[n].njnt[a] = m;
                            jnt[m].njnt[b] = n;
                        }
            }
        }
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_pairwise_relink_reference)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
