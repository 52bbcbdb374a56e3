// terrain/textures.cpp -- the terrain and doodad texture tables, the size
// query, the textured-quad drawer, the scrolling background, and the check
// that every datafile loader runs before handing a file to Allegro.
// Without a GL context (headless) a texture is a fake id whose size is kept
// in a small table here, so that code sizing sprites by their texture runs in
// tests exactly as it does on screen.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include "platform.h"
#include "hillhopper.h"
#include "game.h"
#include "geometry.h"
#include "slots.h"
#include "terrain_file.h"
#include "textures.h"
#include "world.h"
#include <alleggl.h>

int NUM_TEX = 0;
unsigned int doodad_tex[num_tex_slots];
int NUM_DTEX = 0;

// 1 for a terrain texture without a single masked pixel: it covers whatever
// it is drawn over, so it can be drawn without blending.
static unsigned char terrain_opaque[num_tex_slots];

static const char *const terrain_datafile = "ttex01.dat";
static const char *const doodad_datafile = "doodads01.dat";

// ---- headless textures -------------------------------------------------

// Fake ids count from 1 so that 0 still reads as "no texture". A run makes a
// few hundred at most; when the table is full the id is 0 (size 0 x 0).
static const int num_headless_texs = 8192;
static int headless_w[num_headless_texs + 1];
static int headless_h[num_headless_texs + 1];
static int headless_count = 0;

unsigned int make_headless_texture(int w, int h)
{
    if (headless_count >= num_headless_texs) return 0;
    headless_count++;
    headless_w[headless_count] = w < 0 ? 0 : w;
    headless_h[headless_count] = h < 0 ? 0 : h;
    return (unsigned int)headless_count;
}

// A released fake id reads as size 0 x 0, like a deleted texture. Ids are
// taken back from the top, so that loading and freeing the tables again and
// again (as tests do) never runs out of ids.
static void release_headless_texture(unsigned int tex)
{
    if (tex < 1 || tex > (unsigned int)headless_count) return;
    headless_w[tex] = headless_h[tex] = -1;
    while (headless_count > 0 && headless_w[headless_count] == -1) headless_count--;
}

void get_tex_size(unsigned int tex, double *w, double *h)
{
    if (headless) {
        int known = tex >= 1 && tex <= (unsigned int)headless_count && headless_w[tex] >= 0;
        *w = known ? headless_w[tex] : 0;
        *h = known ? headless_h[tex] : 0;
        return;
    }
    GLfloat tw = 0, th = 0;
    glBindTexture(GL_TEXTURE_2D, tex);
    glGetTexLevelParameterfv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &tw);
    glGetTexLevelParameterfv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &th);
    *w = tw;
    *h = th;
}

// ---- loading -------------------------------------------------------------

// The datafile's objects up to its end marker; the loaders use all but the
// last one (the information object the packer appends).
static int count_objects(const DATAFILE *dat)
{
    int n = 0;
    while (dat[n].type != DAT_END) n++;
    return n;
}

// How many objects of a datafile become textures: all but the last, and never
// more than the table holds.
int usable_objects(const DATAFILE *dat, int capacity)
{
    int n = count_objects(dat) - 1;
    if (n < 0) n = 0;
    if (n > capacity) n = capacity;
    return n;
}

// One datafile object as a masked texture. An object that is not a picture
// gets no texture (id 0) and a line on stderr, so the slots after it keep
// their numbers.
unsigned int texture_from_object(const DATAFILE *obj, const char *file, int index)
{
    if (obj->type != DAT_BITMAP) {
        fprintf(stderr, "hillhopper: %s object %d is not a picture; slot left empty\n",
                file, index);
        return 0;
    }
    BITMAP *bmp = (BITMAP *)obj->dat;
    if (headless) return make_headless_texture(bmp->w, bmp->h);
    allegro_gl_use_alpha_channel(FALSE);
    return allegro_gl_make_masked_texture(bmp);
}

// ---- checking a datafile before Allegro reads it ----------------------------
// Allegro's reader trusts the sizes written in the file and crashes on a file
// cut short. A datafile is a chain of sized chunks: "ALL.", the object count,
// then per object its properties ("prop", type, size, bytes) and its own chunk
// (type, size, unpacked size, bytes). The walk reads the chain through
// Allegro's packfile layer, which also unpacks a compressed file, and checks
// that every chunk is there in full.

static const long max_datafile_objects = 100000;
static const long max_chunk_size = 256L << 20;     // far above any picture of ours

static int pack_be32(PACKFILE *pf, long *v)
{
    unsigned char b[4];
    if (pack_fread(b, 4, pf) != 4) return 0;
    *v = (long)(int32_t)((uint32_t)b[0] << 24 | (uint32_t)b[1] << 16 | (uint32_t)b[2] << 8 | b[3]);
    return 1;
}

// Reads past a chunk of size bytes; 0 when the stream ends before it does.
static int pack_skip(PACKFILE *pf, long size)
{
    static char scratch[4096];
    if (size < 0 || size > max_chunk_size) return 0;
    while (size > 0) {
        long n = size > (long)sizeof(scratch) ? (long)sizeof(scratch) : size;
        if (pack_fread(scratch, n, pf) != n) return 0;
        size -= n;
    }
    return 1;
}

static int chunks_whole(PACKFILE *pf)
{
    long all = 0, count = 0;
    if (!pack_be32(pf, &all) || all != (long)DAT_MAGIC) return 0;
    if (!pack_be32(pf, &count) || count < 0 || count > max_datafile_objects) return 0;
    for (long i = 0; i < count; i++) {
        long type = 0, size = 0, unpacked = 0;
        if (!pack_be32(pf, &type)) return 0;
        while (type == (long)DAT_PROPERTY) {
            long prop_type = 0;
            if (!pack_be32(pf, &prop_type) || !pack_be32(pf, &size) || !pack_skip(pf, size)) return 0;
            if (!pack_be32(pf, &type)) return 0;
        }
        if (!pack_be32(pf, &size) || !pack_be32(pf, &unpacked) || !pack_skip(pf, size)) return 0;
    }
    return 1;
}

int datafile_is_whole(const char *file)
{
    PACKFILE *pf = pack_fopen(file, F_READ_PACKED);
    if (!pf) return 0;
    int ok = chunks_whole(pf);
    pack_fclose(pf);
    return ok;
}

DATAFILE *load_whole_datafile(const char *file)
{
    std::string path = loader_path(game_data_path(file));
    return datafile_is_whole(path.c_str()) ? load_datafile(path.c_str()) : NULL;
}

// Loads a picture datafile; on failure shows its message in text mode and ends
// the program: the screen is gone and no frame could be drawn.
static DATAFILE *load_picture_datafile(const char *file)
{
    if (headless) set_color_conversion(COLORCONV_NONE);
    DATAFILE *dat = load_whole_datafile(file);
    if (dat) return dat;
    if (!headless) set_gfx_mode(GFX_TEXT, 0, 0, 0, 0);
    allegro_message("Unable to load %s!\n", file);
    exit(0);
}

int picture_is_opaque(const DATAFILE *obj)
{
    if (obj->type != DAT_BITMAP) return 0;
    BITMAP *bmp = (BITMAP *)obj->dat;
    int mask = bitmap_mask_color(bmp);
    int fast = bitmap_color_depth(bmp) == 32 && is_memory_bitmap(bmp);
    for (int y = 0; y < bmp->h; y++)
        for (int x = 0; x < bmp->w; x++) {
            int c = fast ? (int)_getpixel32(bmp, x, y) : getpixel(bmp, x, y);
            if (c == mask) return 0;
        }
    return 1;
}

// opaque, when given, records per slot whether the picture has no masked pixel.
static int fill_table(unsigned int *table, unsigned char *opaque, const char *file)
{
    DATAFILE *dat = load_picture_datafile(file);
    int n = usable_objects(dat, num_tex_slots);
    if (!headless) glColor4f(1, 1, 1, 1);
    for (int i = 0; i < n; i++) {
        table[i] = texture_from_object(&dat[i], file, i);
        if (opaque) opaque[i] = (unsigned char)picture_is_opaque(&dat[i]);
    }
    unload_datafile(dat);
    return n;
}

void load_textures(void)
{
    NUM_TEX = fill_table(terrain_tex, terrain_opaque, terrain_datafile);
    load_doodad_textures();
}

void load_doodad_textures(void)
{
    NUM_DTEX = fill_table(doodad_tex, nullptr, doodad_datafile);
}

void delete_texture(unsigned int tex)
{
    if (headless) release_headless_texture(tex);
    else if (tex) glDeleteTextures(1, &tex);
}

static void delete_textures(unsigned int *table, int n)
{
    for (int i = 0; i < n; i++) delete_texture(table[i]);
}

void free_textures(void)
{
    delete_textures(terrain_tex, NUM_TEX);
    NUM_TEX = 0;
    free_doodad_textures();
}

void free_doodad_textures(void)
{
    delete_textures(doodad_tex, NUM_DTEX);
    NUM_DTEX = 0;
}

int GET_num_dadtex(void) { return NUM_DTEX; }

unsigned int GET_doodad_tex(int i)
{
    if (i < 0 || i >= num_tex_slots) return 0;
    return doodad_tex[i];
}

int terrain_tex_loaded(int x)
{
    return x >= 0 && x < NUM_TEX;
}

int terrain_tex_opaque(int x)
{
    return terrain_tex_loaded(x) && terrain_opaque[x];
}

int get_num_textures(void) { return NUM_TEX; }

// ---- drawing ---------------------------------------------------------------

// Texture coordinates stay 0.01 inside the picture so that linear filtering
// does not pull in the texels of the opposite edge.
static const double tex_lo = 0.01;
static const double tex_hi = 0.99;

void tmap(double x1, double y1, double x2, double y2, double x3, double y3,
          double x4, double y4, unsigned int tex, double px, double py, double ang, int flip)
{
    if (headless || (flip != 0 && flip != 1)) return;
    double cx = x1 + px, cy = y1 + py;
    rot_point(x1, y1, cx, cy, ang, &x1, &y1);
    rot_point(x2, y2, cx, cy, ang, &x2, &y2);
    rot_point(x3, y3, cx, cy, ang, &x3, &y3);
    rot_point(x4, y4, cx, cy, ang, &x4, &y4);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, tex);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    double s_left = flip ? tex_hi : tex_lo;
    double s_right = flip ? tex_lo : tex_hi;
    glBegin(GL_QUADS);
    glTexCoord2d(s_left, tex_hi);  glVertex2d(x1, y1);
    glTexCoord2d(s_left, tex_lo);  glVertex2d(x2, y2);
    glTexCoord2d(s_right, tex_lo); glVertex2d(x3, y3);
    glTexCoord2d(s_right, tex_hi); glVertex2d(x4, y4);
    glEnd();
}

// The background moves against the camera: one texture width per 320 world
// units across and one height per 160 up, so it drifts 4 and 6 overlay pixels
// per world unit while the terrain moves 160. Half the texture fills the screen.
static const double bg_units_per_s = 320.0;
static const double bg_units_per_t = 160.0;
static const double bg_half = 0.5;

// The picture of each level_sky, in enum order.
static const int sky_slots[NUM_SKIES] = {TEX_BACKGROUND, TEX_SKY_DUSK, TEX_SKY_NIGHT, TEX_SKY_HALL, TEX_SKY_DESERT};

int sky_texture_slot(int sky)
{
    return sky >= 0 && sky < NUM_SKIES ? sky_slots[sky] : TEX_BACKGROUND;
}

void draw_bg(void)
{
    if (headless) return;
    glLoadIdentity();
    glTranslatef(0, 0, -1);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, terrain_tex[sky_texture_slot(level_desc.sky)]);
    glColor4f(1, 1, 1, 1);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    double s0 = (80 - scr_px) / bg_units_per_s;
    double t0 = (40 + scr_py) / bg_units_per_t;
    // The background is opaque and covers the screen: blending it would only
    // read every pixel back for nothing (the software renderer's dearest step).
    glDisable(GL_BLEND);
    glBegin(GL_QUADS);
    glTexCoord2d(s0, t0);                      glVertex2d(SX(overlay_w), SY(overlay_h));
    glTexCoord2d(s0, t0 + bg_half);            glVertex2d(SX(overlay_w), SY(0));
    glTexCoord2d(s0 + bg_half, t0 + bg_half);  glVertex2d(SX(0), SY(0));
    glTexCoord2d(s0 + bg_half, t0);            glVertex2d(SX(0), SY(overlay_h));
    glEnd();
    glEnable(GL_BLEND);
}
