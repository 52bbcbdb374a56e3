// objects/doodads.cpp -- decoration sprites and the level sign.
// update_dads_onscreen rewrites every doodad's state each frame (1 near the
// view, 2 away); only state 1 is drawn, so it must run before drawing.
#include <cstdio>
#include <cmath>
#include <allegro.h>
#include <alleggl.h>
#include "hillhopper.h"
#include "game.h"
#include "geometry.h"
#include "slots.h"
#include "textures.h"
#include "editor_state.h"
#include "doodads.h"
#include "world.h"

void (*dad_drawing_func[num_draw_funcs])(int);

const double near_view_half = 4.0;          // world units around the view centre
const double texels_per_unit = 320.0;       // half-size = texels / 320: one texel a pixel
const int sign_w = 128;                     // the level sign's bitmap, pixels
const int sign_h = 64;
static const char *const sign_datafile = "doodads01.dat";

// ---- the level sign ------------------------------------------------------

// The sign blank with "Stage N" printed on it: a dark shadow one pixel up and
// left of the yellow text.
static void print_sign_text(BITMAP *bmp, int stage)
{
    textprintf_ex(bmp, font, 32, 13, makecol32(50, 50, 0), -1, "Stage %i", stage);
    textprintf_ex(bmp, font, 33, 14, makecol32(200, 200, 0), -1, "Stage %i", stage);
}

// The picture datafile again, or nullptr with a line on stderr when it cannot
// be read or has no sign blank; the caller then keeps the current sign.
static DATAFILE *load_sign_source(void)
{
    if (headless) set_color_conversion(COLORCONV_NONE);
    DATAFILE *dat = load_whole_datafile(sign_datafile);
    if (!dat) {
        fprintf(stderr, "hillhopper: cannot read %s again; the level sign is not renewed\n",
                sign_datafile);
        return nullptr;
    }
    int n = 0;
    while (dat[n].type != DAT_END) n++;
    if (n <= DAD_SIGN || dat[DAD_SIGN].type != DAT_BITMAP) {
        fprintf(stderr, "hillhopper: %s holds no sign picture at object %d; the level sign is not renewed\n",
                sign_datafile, DAD_SIGN);
        unload_datafile(dat);
        return nullptr;
    }
    return dat;
}

static unsigned int sign_texture(BITMAP *bmp)
{
    if (headless) return make_headless_texture(bmp->w, bmp->h);
    glColor4f(1, 1, 1, 1);
    allegro_gl_use_alpha_channel(FALSE);
    return allegro_gl_make_masked_texture(bmp);
}

// Renders the sign for current_level (shown counting from 1) and replaces
// doodad picture 18 with it.
void generate_level_sign(void)
{
    // After a start-up failure the screen is in text mode: no texture can be made.
    if (!headless && !screen) return;
    DATAFILE *dat = load_sign_source();
    if (!dat) return;
    BITMAP *bmp = create_bitmap_ex(32, sign_w, sign_h);
    if (!bmp) {
        unload_datafile(dat);
        return;
    }
    clear_to_color(bmp, makecol32(255, 0, 255));
    blit((BITMAP *)dat[DAD_SIGN].dat, bmp, 0, 0, 0, 0, sign_w, sign_h);
    print_sign_text(bmp, current_level + 1);
    delete_texture(doodad_tex[DAD_SIGN]);
    doodad_tex[DAD_SIGN] = sign_texture(bmp);
    unload_datafile(dat);
    destroy_bitmap(bmp);
}

// ---- near the view or away -----------------------------------------------

// The box test is strict: a doodad exactly 4 units off on either axis is away.
int dad_near_view(double px, double py, double cx, double cy, double span)
{
    double dx = px - cx, dy = py - cy, h = near_view_half * span;
    return dx > -h && dx < h && dy > -h && dy < h;
}

// A zoomed-out edit view shows more than the game's own view: "near" grows with it.
void update_dads_onscreen(void)
{
    double cx, cy, span = 1 / view_zoom();
    rot_point(scr_px, scr_py, 0, 0, -world_ang * Z_PI / 180, &cx, &cy);
    for (int i = 0; i < num_dads; i++) {
        if (dad[i].state == 0) continue;
        dad[i].state = dad_near_view(dad[i].px, dad[i].py, cx, cy, span) ? 1 : 2;
    }
}

// ---- drawing ---------------------------------------------------------------

// A type without a drawing function is skipped, like a type out of the table.
void draw_dads(int layer)
{
    for (int i = 0; i < num_dads; i++) {
        if (dad[i].state != 1 || dad[i].layer != layer) continue;
        int t = dad[i].type;
        if (t >= 0 && t < num_draw_funcs && dad_drawing_func[t]) dad_drawing_func[t](i);
    }
}

// Stinging plants flicker, each with its own phase from its slot index.
static void plant_flicker(int i)
{
    double t = j[J_FRAME];
    float a = (float)(t * 0.2);
    float b = (float)((t + 13 * i) * 0.0797912);
    float c = (float)((t + 11 * i) * 0.13241);
    glColor4f(1, (cos(a) + 1) * 0.5 + 0.5, (cos(b) + 1) * 0.3, (cos(c) + 1) * 0.2 + 0.6);
}

static int valid_pic(int pic)
{
    return pic >= 0 && pic < NUM_DTEX && pic < num_tex_slots;
}

static void refresh_size(dad_struct &d)
{
    double w = 0, h = 0;
    if (valid_pic(d.pic)) get_tex_size(doodad_tex[d.pic], &w, &h);
    d.sx = (short)w;
    d.sy = (short)h;
}

// A picture that is not loaded (pic out of 0..NUM_DTEX-1) is not drawn.
void draw_dad_0(int i)
{
    dad_struct &d = dad[i];
    if (!valid_pic(d.pic)) return;
    refresh_size(d);
    if (headless) return;
    double hx = d.sx / texels_per_unit, hy = d.sy / texels_per_unit;
    glColor4f(1, 1, 1, 1);
    selected_doodad(i);
    if (d.pic == DAD_PLANT_A || d.pic == DAD_PLANT_B) plant_flicker(i);
    tmap(d.px - hx, d.py + hy, d.px - hx, d.py - hy, d.px + hx, d.py - hy, d.px + hx, d.py + hy,
         doodad_tex[d.pic], hx, -hy, d.ang, 0);
}

void init_dad_drawing_funcs(void)
{
    for (int t = 0; t < num_draw_funcs; t++) dad_drawing_func[t] = nullptr;
    dad_drawing_func[0] = draw_dad_0;
}

// ---- creation and deletion -----------------------------------------------

int new_dad(double px, double py, double ang, int pic, int type, char layer)
{
    for (int i = 0; i < num_dads; i++) {
        if (dad[i].state != 0) continue;
        dad_struct &d = dad[i];
        d = dad_struct{};
        d.state = 1;
        d.px = (float)px;
        d.py = (float)py;
        d.ang = (float)ang;
        d.pic = pic;
        d.type = type;
        d.layer = layer;
        refresh_size(d);
        return i;
    }
    return num_dads;
}

void delete_doodad(int i)
{
    if (i < 0 || i >= num_dads) return;
    dad[i].state = 0;
}
