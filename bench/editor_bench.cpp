// bench/editor_bench.cpp -- the editor's edits on a capacity-filled level
// (10,000 vertices and joints, 20,000 polygons, 5,000 borders): each edit as
// the editor performs it, including the grid rebuilds it triggers, and one
// whole Edit Mode frame. Goal: every edit within one 25 ms frame.
// Each timed edit is undone untimed by restoring a snapshot of the tables.
//
// BM_edit_mode_frame_gl draws the frame in a real window and must run alone
// under Xvfb:  xvfb-run -a bench_hillhopper --benchmark_filter=frame_gl
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>
#include <benchmark/benchmark.h>
#include <allegro.h>
#include <alleggl.h>
#include "hillhopper.h"
#include "game.h"
#include "zmem.h"
#include "std_gfuncs.h"
#include "joints.h"
#include "polys.h"
#include "borders.h"
#include "textures.h"
#include "terrain_file.h"
#include "waypoints.h"
#include "bonusnparticle.h"
#include "editor.h"
#include "editor_state.h"
#include "design.h"
#include <cstdio>

namespace {

// A 70 x 70 lattice leaves room in the vertex table for the borders' own
// outer vertices: 4,900 lattice vertices, about 5,070 outer ones, the rest
// loose, 10,000 in all.
const int side = 70;
const int row_edges = side - 1;

int lattice_tv(int c, int r) { return r * side + c; }

// Copies of the terrain tables and the grid, to undo an edit.
struct table_copy {
    void *table;
    size_t bytes;
    std::vector<char> saved;
};
std::vector<table_copy> copies;

void snapshot_tables(void)
{
    copies = {{tv, sizeof(*tv) * num_tvs, {}},           {jnt, sizeof(*jnt) * num_jnts, {}},
              {ply, sizeof(*ply) * num_plys, {}},        {bdr, sizeof(*bdr) * num_bdrs, {}},
              {dad, sizeof(*dad) * num_dads, {}},        {region, sizeof(*region) * map_sx * map_sy, {}},
              {jnt_list, sizeof(int) * jnt_list_size, {}}, {ply_list, sizeof(int) * ply_list_size, {}},
              {bdr_list, sizeof(int) * bdr_list_size, {}}};
    for (table_copy &c : copies) {
        c.saved.resize(c.bytes);
        memcpy(c.saved.data(), c.table, c.bytes);
    }
}

void restore_tables(void)
{
    for (table_copy &c : copies) memcpy(c.table, c.saved.data(), c.bytes);
}

static void fill_joints(void)
{
    int jn = 0;
    for (int r = 0; r < side; r++)
        for (int c = 0; c < row_edges; c++)
            jnt[jn++] = jnt_struct{1, {lattice_tv(c, r), lattice_tv(c + 1, r)}, {-1, -1}, 1};
    for (int c = 0; c < side; c++)
        for (int r = 0; r < row_edges; r++)
            jnt[jn++] = jnt_struct{1, {lattice_tv(c, r), lattice_tv(c, r + 1)}, {-1, -1}, 2};
    for (int k = 0; jn < num_jnts; k++)
        jnt[jn++] = jnt_struct{1, {lattice_tv(k % row_edges, k / row_edges), lattice_tv(k % row_edges + 1, k / row_edges + 1)}, {-1, -1}, 3};
}

// Two triangles per cell, then quads over the cells on layer 2.
static void fill_plys(void)
{
    int pn = 0;
    for (int r = 0; r < row_edges; r++)
        for (int c = 0; c < row_edges; c++) {
            ply[pn++] = ply_struct{1, {lattice_tv(c, r), lattice_tv(c + 1, r), lattice_tv(c + 1, r + 1), -1}, 0, 0, 0};
            ply[pn++] = ply_struct{1, {lattice_tv(c, r), lattice_tv(c + 1, r + 1), lattice_tv(c, r + 1), -1}, 0, 0, 1};
        }
    for (int k = 0; pn < num_plys; k = (k + 1) % (row_edges * row_edges)) {
        int c = k % row_edges, r = k / row_edges;
        ply[pn++] = ply_struct{1, {lattice_tv(c, r), lattice_tv(c + 1, r), lattice_tv(c + 1, r + 1), lattice_tv(c, r + 1)}, 1, 0, 2};
    }
}

// Border chains built as the editor builds them, along the rows and then up
// the columns: each chain shares its corner vertices, mitred.
static void fill_bdrs(void)
{
    int made = 0;
    for (int r = 0; r < side && made < num_bdrs; r++)
        for (int c = 0; c < row_edges && made < num_bdrs; c++, made++)
            new_bdr2(lattice_tv(c, r), lattice_tv(c + 1, r), 0, 0);
    for (int c = 0; c < side && made < num_bdrs; c++)
        for (int r = 0; r < row_edges && made < num_bdrs; r++, made++)
            new_bdr2(lattice_tv(c, r + 1), lattice_tv(c, r), 0, 0);
}

void fill_capacity_level(void)
{
    load_plain_level();
    srand(8);
    auto jitter = [] { return (rand() % 100 - 50) / 1000.0; };
    for (int r = 0; r < side; r++)
        for (int c = 0; c < side; c++) new_tv(-28 + 0.8 * c + jitter(), -14 + 0.4 * r + jitter());
    fill_joints();
    fill_plys();
    fill_bdrs();
    while (new_tv(60, 30) != -1) {}               // the rest of the vertex table
    update_adj_jnts();
    update_region_jnts();
    update_region_plys();
    update_region_bdrs();
}

// The headless world, filled once and snapshot; every benchmark starts from it.
void capacity_level(void)
{
    static bool done = false;
    if (done) {
        restore_tables();
        return;
    }
    if (!system_driver) install_allegro(SYSTEM_NONE, &errno, atexit);
    headless = 1;
    pacing_enabled = 0;
    if (!tv) alloc_world_tables();
    terrain_tex[0] = make_headless_texture(256, 64);
    NUM_TEX = 1;
    fill_capacity_level();
    snapshot_tables();
    done = true;
}

// A vertex in the middle of the lattice: four joints, six triangles, three
// quads and the two borders of its row.
const int busy_tv = lattice_tv(35, 20);
const int middle_jnt = 20 * row_edges + 35;
const int middle_ply = 2 * (20 * row_edges + 35);
const int middle_bdr = 20 * row_edges + 35;            // has neighbours on both sides
const int chain_start_bdr = 20 * row_edges;            // first of its chain: takes its corner vertex

void BM_editor_new_jnt(benchmark::State &state)
{
    capacity_level();
    jnt[num_jnts - 1].state = 0;
    for (auto _ : state) {
        new_jnt(lattice_tv(10, 10), lattice_tv(11, 11), 1);
        state.PauseTiming();
        jnt[num_jnts - 1].state = 0;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_editor_new_jnt)->Unit(benchmark::kMillisecond);

void BM_editor_delete_jnt(benchmark::State &state)
{
    capacity_level();
    for (auto _ : state) {
        delete_jnt(middle_jnt);
        state.PauseTiming();
        restore_tables();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_editor_delete_jnt)->Unit(benchmark::kMillisecond);

// The third corner click: the polygon is made and the polygons refiled.
void BM_editor_new_ply(benchmark::State &state)
{
    capacity_level();
    ply[num_plys - 1].state = 0;
    for (auto _ : state) {
        new_ply(lattice_tv(10, 10), lattice_tv(12, 10), lattice_tv(12, 12), -1, 0, 0, 1);
        update_region_plys();
        state.PauseTiming();
        ply[num_plys - 1].state = 0;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_editor_new_ply)->Unit(benchmark::kMillisecond);

void BM_editor_delete_ply(benchmark::State &state)
{
    capacity_level();
    for (auto _ : state) {
        delete_ply(middle_ply);
        state.PauseTiming();
        restore_tables();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_editor_delete_ply)->Unit(benchmark::kMillisecond);

// The second border click: the border with two outer vertices of its own,
// its wrapping, and the borders refiled.
void BM_editor_new_bdr(benchmark::State &state)
{
    capacity_level();
    for (auto _ : state) {
        state.PauseTiming();
        restore_tables();
        bdr[num_bdrs - 1].state = 0;
        tv[num_tvs - 1].state = 0;                      // room for the outer vertices
        tv[num_tvs - 2].state = 0;
        state.ResumeTiming();
        new_bdr2(lattice_tv(10, 10), lattice_tv(11, 11), 0, 0);
        update_region_bdrs();
    }
}
BENCHMARK(BM_editor_new_bdr)->Unit(benchmark::kMillisecond);

void BM_editor_delete_bdr_middle_of_chain(benchmark::State &state)
{
    capacity_level();
    for (auto _ : state) {
        delete_bdr(middle_bdr);
        state.PauseTiming();
        restore_tables();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_editor_delete_bdr_middle_of_chain)->Unit(benchmark::kMillisecond);

// A chain's first border takes its start corner vertex, and that vertex
// everything built on it.
void BM_editor_delete_bdr_chain_start(benchmark::State &state)
{
    capacity_level();
    for (auto _ : state) {
        delete_bdr(chain_start_bdr);
        state.PauseTiming();
        restore_tables();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_editor_delete_bdr_chain_start)->Unit(benchmark::kMillisecond);

void BM_editor_vertex_cascade(benchmark::State &state)
{
    capacity_level();
    for (auto _ : state) {
        delete_tv(busy_tv);
        state.PauseTiming();
        restore_tables();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_editor_vertex_cascade)->Unit(benchmark::kMillisecond);

void BM_editor_refresh_key(benchmark::State &state)
{
    capacity_level();
    for (auto _ : state) {
        update_region_jnts();
        update_region_plys();
        update_region_bdrs();
    }
    auto live = [](const char *states, size_t stride, int n) {
        int k = 0;
        for (int i = 0; i < n; i++) k += states[i * stride] != 0;
        return (double)k;
    };
    state.counters["tvs"] = live(&tv[0].state, sizeof(*tv), num_tvs);
    state.counters["jnts"] = live(&jnt[0].state, sizeof(*jnt), num_jnts);
    state.counters["plys"] = live(&ply[0].state, sizeof(*ply), num_plys);
    state.counters["bdrs"] = live(&bdr[0].state, sizeof(*bdr), num_bdrs);
}
BENCHMARK(BM_editor_refresh_key)->Unit(benchmark::kMillisecond);

// ---- undo and redo -----------------------------------------------------------
// A step as the editor makes it: the change inside the watched part of a
// frame, closed at the frame's end. Goal: each undo or redo within 25 ms,
// 200 steps within 256 MB.

void step_deleting(int v)
{
    selected_point = -1;
    design_watch_begin();
    delete_tv(v);
    design_watch_end(0);
    design_end_frame();
}

// Lattice vertices away from each other's cascades: step k takes vertex k.
int spread_tv(int k)
{
    return lattice_tv(2 + 3 * (k % 22), 2 + 3 * (k / 22));
}

long rss_kb(void)
{
    FILE *fp = fopen("/proc/self/status", "r");
    if (!fp) return -1;
    char line[256];
    long kb = -1;
    while (fgets(line, sizeof(line), fp))
        if (sscanf(line, "VmRSS: %ld kB", &kb) == 1) break;
    fclose(fp);
    return kb;
}

// Undo and redo of the busy vertex's cascade, in turn.
void BM_editor_undo_redo(benchmark::State &state)
{
    capacity_level();
    design_capture();
    step_deleting(busy_tv);
    bool undo = true;
    for (auto _ : state) {
        if (undo) design_undo();
        else design_redo();
        undo = !undo;
    }
    restore_tables();
    design_capture();
}
BENCHMARK(BM_editor_undo_redo)->Unit(benchmark::kMillisecond);

// What every edited frame pays for telling the editor's changes from play's:
// the copy before and the comparison after, with nothing changed.
void BM_editor_design_watch(benchmark::State &state)
{
    capacity_level();
    design_capture();
    for (auto _ : state) {
        design_watch_begin();
        design_watch_end(0);
    }
}
BENCHMARK(BM_editor_design_watch)->Unit(benchmark::kMillisecond);

// 200 steps on the full level: the history's own bytes, the process's
// resident memory, and the time of undoing and redoing all of them.
void BM_editor_history_200_steps(benchmark::State &state)
{
    const int steps = 200;
    capacity_level();
    long rss_before = rss_kb();
    for (auto _ : state) {
        state.PauseTiming();
        restore_tables();
        design_capture();
        for (int k = 0; k < steps; k++) step_deleting(spread_tv(k));
        state.ResumeTiming();
        for (int k = 0; k < steps; k++) design_undo();
        for (int k = 0; k < steps; k++) design_redo();
    }
    state.counters["steps_kept"] = design_undo_steps();
    state.counters["history_MB"] = design_history_bytes() / 1e6;
    state.counters["rss_MB"] = rss_kb() / 1e3;
    state.counters["rss_growth_MB"] = (rss_kb() - rss_before) / 1e3;
    // Undos and redos a second (kIsRate): 1000 / this is ms per step.
    state.counters["undo_redo_per_s"] =
        benchmark::Counter(2.0 * steps, benchmark::Counter::kIsIterationInvariantRate);
    restore_tables();
    design_capture();
}
BENCHMARK(BM_editor_history_200_steps)->Unit(benchmark::kMillisecond)->Iterations(3);

// ---- whole frames ------------------------------------------------------------

void edit_mode_scene(void)
{
    clear_wpts();
    clear_bonuses();
    clear_particles();
    for (int i = 0; i < num_bodies; i++) body[i].state = 0;
    for (int s = 0; s < num_slots; s++) { j[s] = 0; f[s] = 0; }
    f[F_TIME] = 75;
    reset_editor_state();
    for (int i = 0; i < KEY_MAX; i++) key[i] = 0;
    clear_keyr();
    mouse_b = 0;
    input_hook = nullptr;
    edit_mode = 1;
    display_controls = 0;
    camera_track = 0;
    scr_px = -25;                                  // over the lattice
    scr_py = -10;
    world_ang = 0;
    mouse_x = 100;
    mouse_y = 100;
}

// One Edit Mode frame without drawing: the keys, the vertex walk of
// select_point and the rest of the frame's logic.
void BM_edit_mode_frame_headless(benchmark::State &state)
{
    capacity_level();
    edit_mode_scene();
    bool picking = state.range(0) != 0;
    if (picking) key[KEY_2_PAD] = 1;                // polygon pick walks all 20,000
    for (auto _ : state) run_frame();
    key[KEY_2_PAD] = 0;
}
BENCHMARK(BM_edit_mode_frame_headless)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The same frame drawn in an 800 x 600 window: every vertex cross and joint
// line of the full tables, and the visible polygons and borders.
void BM_edit_mode_frame_gl(benchmark::State &state)
{
    static int window = 0;                          // 0 untried, 1 open, -1 failed
    if (window == 0) {
        window = -1;
        if (!system_driver && allegro_init() == 0) {
            install_allegro_gl();
            install_timer();
            if (open_gl_mode(0) == 0) {
                setup_gl_state();
                headless = 0;
                pacing_enabled = 0;
                if (!tv) alloc_world_tables();
                terrain_tex[0] = 0;
                fill_capacity_level();
                window = 1;
            }
        }
    }
    if (window != 1) {
        state.SkipWithError("needs a display; run alone: --benchmark_filter=frame_gl under xvfb-run");
        return;
    }
    edit_mode_scene();
    for (auto _ : state) run_frame();
}
BENCHMARK(BM_edit_mode_frame_gl)->Unit(benchmark::kMillisecond);

}  // namespace
