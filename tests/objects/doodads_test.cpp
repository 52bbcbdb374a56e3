// Doodads: near-view classification, the drawing table and its guards, the
// creator, and the level sign's fall-backs (headless: textures are fake ids).
#include <cstdio>
#include <string>
#include <vector>
#include "level_fixture.h"
#include "picture_datafile.h"
#include "hillhopper.h"
#include "slots.h"
#include "textures.h"
#include "doodads.h"

TEST(Doodads, ExactlyFourUnitsFromTheViewCentreIsAway)
{
    fresh_level(1, 2);
    fake_doodad_pictures(20, 32, 32);
    int edge_x = new_dad(1 + 4, 2, 0, 0, 0, 0);
    int edge_y = new_dad(1, 2 - 4, 0, 0, 0, 0);
    int inside = new_dad(1 - 3.99, 2 + 3.99, 0, 0, 0, 0);
    int editor_preview = new_dad(1, 2, 0, 0, 0, 0);
    dad[editor_preview].state = (char)255;
    frames_holding(1, 1, 2);
    EXPECT_EQ(dad[edge_x].state, 2);
    EXPECT_EQ(dad[edge_y].state, 2);
    EXPECT_EQ(dad[inside].state, 1);
    EXPECT_EQ(dad[editor_preview].state, 1);
}

// The reference point is the view centre turned back by the view rotation.
TEST(Doodads, TheRotatedViewClassifiesAboutTheTurnedCentre)
{
    fresh_level(0, 0);
    int d = new_dad(0, -10, 0, 0, 0, 0);
    scr_px = 10;
    scr_py = 0;
    world_ang = 90;                         // (10, 0) turned by -90 degrees is (0, -10)
    update_dads_onscreen();
    EXPECT_EQ(dad[d].state, 1);
    world_ang = 0;
    update_dads_onscreen();
    EXPECT_EQ(dad[d].state, 2);
    EXPECT_TRUE(dad_near_view(3.999, -3.999, 0, 0));
    EXPECT_FALSE(dad_near_view(-4, 0, 0, 0));
}

// draw_dad_0 refreshes the size from the texture before drawing, so sx shows
// which doodads reached it: a type without a function, another layer, or a
// picture that is not loaded never do.
TEST(Doodads, OnlyLoadedPicturesOfTypeZeroOnTheAskedLayerAreDrawn)
{
    fresh_level(0, 0);
    fake_doodad_pictures(20, 64, 16);
    struct { int pic, type; char layer; bool drawn; } cases[] = {
        {3, 0, 0, true},
        {3, 1, 0, false},                   // no drawing function
        {3, 19, 0, false},
        {3, -1, 0, false},                  // type out of the table
        {3, 400, 0, false},
        {3, 0, 1, false},                   // layer 1 is never asked for
        {20, 0, 0, false},                  // pic not below NUM_DTEX
        {-2, 0, 0, false},
    };
    std::vector<int> slots;
    for (auto &c : cases) {
        int d = new_dad(0, 0, 0, 0, c.type, c.layer);
        dad[d].pic = c.pic;
        dad[d].sx = dad[d].sy = 7;
        slots.push_back(d);
    }
    update_dads_onscreen();
    draw_dads(0);
    for (size_t k = 0; k < slots.size(); k++) {
        const dad_struct &d = dad[slots[k]];
        EXPECT_EQ(d.sx, cases[k].drawn ? 64 : 7) << "case " << k;
        EXPECT_EQ(d.sy, cases[k].drawn ? 16 : 7) << "case " << k;
    }
}

TEST(Doodads, CreationFillsTheLowestSlotAndAFullTableSaysSo)
{
    fresh_level(0, 0);
    fake_doodad_pictures(20, 48, 24);
    int d = new_dad(1.5, -2.5, 0.25, 4, 0, 2);
    EXPECT_EQ(d, 0);
    EXPECT_EQ(dad[d].state, 1);
    EXPECT_FLOAT_EQ(dad[d].px, 1.5f);
    EXPECT_FLOAT_EQ(dad[d].ang, 0.25f);
    EXPECT_EQ(dad[d].sx, 48);
    EXPECT_EQ(dad[d].sy, 24);
    EXPECT_EQ(dad[d].layer, 2);
    for (int i = 1; i < num_dads; i++) ASSERT_EQ(new_dad(0, 0, 0, 0, 0, 0), i);
    EXPECT_EQ(new_dad(9, 9, 0, 1, 0, 0), num_dads);
    EXPECT_FLOAT_EQ(dad[num_dads - 1].px, 0.0f);
    delete_doodad(77);
    EXPECT_EQ(dad[77].state, 0);
    EXPECT_EQ(new_dad(9, 9, 0, 1, 0, 0), 77);
    EXPECT_FLOAT_EQ(dad[77].px, 9.0f);
    delete_doodad(-1);                      // out of the table: nothing happens
    delete_doodad(num_dads);
}

// The sign keeps its texture when the datafile is gone or has no object 18;
// otherwise picture 18 becomes a new 128 x 64 texture.
TEST(LevelSign, KeepsTheCurrentSignWhenTheDatafileCannotServe)
{
    headless_world();
    std::string dir = scratch_dir("sign");
    ASSERT_FALSE(dir.empty());
    doodad_tex[DAD_SIGN] = make_headless_texture(5, 5);
    unsigned int old = doodad_tex[DAD_SIGN];

    in_dir(dir, [] { generate_level_sign(); });        // no datafile at all
    EXPECT_EQ(doodad_tex[DAD_SIGN], old);

    std::vector<test_picture> few(12, test_picture{16, 16, 10, 80, 10});
    ASSERT_TRUE(make_picture_datafile(dir, "doodads01.dat", few));
    in_dir(dir, [] { generate_level_sign(); });
    EXPECT_EQ(doodad_tex[DAD_SIGN], old);
    double kept_w = 0, kept_h = 0;
    get_tex_size(doodad_tex[DAD_SIGN], &kept_w, &kept_h);
    EXPECT_EQ(kept_w, 5);

    std::vector<test_picture> full(20, test_picture{16, 16, 10, 80, 10});
    full[DAD_SIGN] = test_picture{128, 64, 40, 30, 20};
    ASSERT_TRUE(make_picture_datafile(dir, "doodads01.dat", full));
    in_dir(dir, [] { generate_level_sign(); });
    // The old texture is given back first, so the new one may reuse its id:
    // its size tells them apart.
    double w = 0, h = 0;
    get_tex_size(doodad_tex[DAD_SIGN], &w, &h);
    EXPECT_EQ(w, 128);
    EXPECT_EQ(h, 64);
}
