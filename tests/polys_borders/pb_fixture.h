// tests/polys_borders/pb_fixture.h -- an empty headless level per test, small
// builders by coordinates, and recorders that stand in for drawing functions.
#pragma once
#include <vector>
#include "test_support.h"
#include "hillhopper.h"
#include "polys.h"
#include "borders.h"
#include "terrain_file.h"
#include "textures.h"
#include "zmem.h"

// Texture slots the tests fill with headless textures of known sizes.
const int tex_256x64 = 0;
const int tex_128x64 = 1;
const int tex_no_size = 2;

// What a recording drawing function saw, in call order.
extern std::vector<int> drawn;
inline void record_draw(int n) { drawn.push_back(n); }

class PolyBorderTest : public ::testing::Test {
protected:
    void (*saved_ply[num_draw_funcs])(int);
    void (*saved_bdr[num_draw_funcs])(int);

    void SetUp() override
    {
        headless_world();
        load_plain_level();
        world_ang = 0;
        scr_px = scr_py = 0;
        j[J_ARROW_GROUP] = 0;
        terrain_tex[tex_256x64] = make_headless_texture(256, 64);
        terrain_tex[tex_128x64] = make_headless_texture(128, 64);
        terrain_tex[tex_no_size] = make_headless_texture(0, 0);
        NUM_TEX = 3;        // the three slots above are the loaded set
        for (int i = 0; i < num_draw_funcs; i++) {
            saved_ply[i] = ply_drawing_func[i];
            saved_bdr[i] = bdr_drawing_func[i];
        }
        drawn.clear();
    }
    void TearDown() override
    {
        for (int i = 0; i < num_draw_funcs; i++) {
            ply_drawing_func[i] = saved_ply[i];
            bdr_drawing_func[i] = saved_bdr[i];
        }
        load_plain_level();
        NUM_TEX = 0;
    }
    // Every drawing function of both kinds replaced by the recorder.
    void record_all_drawing(void)
    {
        for (int i = 0; i < num_draw_funcs; i++) {
            ply_drawing_func[i] = saved_ply[i] ? record_draw : nullptr;
            bdr_drawing_func[i] = saved_bdr[i] ? record_draw : nullptr;
        }
    }
};

inline int vtx(double x, double y)
{
    int v = new_tv(x, y);
    EXPECT_GE(v, 0);
    return v;
}

inline int used_count_bdr(void)
{
    int n = 0;
    for (int i = 0; i < num_bdrs; i++) n += bdr[i].state != 0;
    return n;
}

inline int used_count_tv(void)
{
    int n = 0;
    for (int i = 0; i < num_tvs; i++) n += tv[i].state != 0;
    return n;
}
