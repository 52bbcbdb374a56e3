// include/textures.h -- the texture tables, the size query, the textured-quad
// drawer and the background.
#pragma once

extern int NUM_TEX;
extern unsigned int doodad_tex[];   // num_tex_slots entries
extern int NUM_DTEX;

void load_textures(void);
void free_textures(void);
void load_doodad_textures(void);
void free_doodad_textures(void);
int GET_num_dadtex(void);
unsigned int GET_doodad_tex(int i);
int get_num_textures(void);
// 1 when slot x of terrain_tex holds a texture of the loaded datafile: a level
// may name a slot that this datafile does not have, and such items are not drawn.
int terrain_tex_loaded(int x);
// 1 when slot x holds a loaded texture without a masked pixel: drawn at full
// opacity it hides what lies below, so blending it would change nothing.
int terrain_tex_opaque(int x);
// Binds tex and writes its level-0 size in texels. Headless, it reports the
// size recorded by make_headless_texture (0 x 0 for an unknown id).
void get_tex_size(unsigned int tex, double *w, double *h);
// A fake texture id with a recorded size, for running without a GL context;
// 0 when every fake id is taken.
unsigned int make_headless_texture(int w, int h);
// Deletes one texture: the GL texture, or headless, gives the fake id back
// (its size then reads 0 x 0). Id 0 is ignored.
void delete_texture(unsigned int tex);
// Draws a textured quad; corners are rotated by ang about (x1 + px, y1 + py).
// flip 0 plain, 1 mirrored along s, anything else draws nothing.
void tmap(double x1, double y1, double x2, double y2, double x3, double y3,
          double x4, double y4, unsigned int tex, double px, double py, double ang, int flip);
// The terrain slot of a level's sky (a level_sky); the day sky for any
// value out of range.
int sky_texture_slot(int sky);
// The loaded level's sky, scrolling against the camera.
void draw_bg(void);

// Shared by every datafile loader (pictures, samples, tracks).
struct DATAFILE;
// 1 when the file is a datafile whose every chunk is there in full, compressed
// or not (a file cut short would crash Allegro's reader).
int datafile_is_whole(const char *file);
// load_datafile, but NULL (as for a missing file) when the file is not whole.
DATAFILE *load_whole_datafile(const char *file);
// Objects of a datafile that become textures: all but the last (the packer's
// information object), at most capacity.
int usable_objects(const DATAFILE *dat, int capacity);
// A masked texture of a picture object (a fake id when headless). An object
// that is not a picture gets id 0 and a line on stderr naming file and index.
unsigned int texture_from_object(const DATAFILE *obj, const char *file, int index);
// 1 when obj is a picture with no pixel of its mask colour.
int picture_is_opaque(const DATAFILE *obj);
