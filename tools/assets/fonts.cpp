// tools/assets/fonts.cpp -- the game's two text fonts for "fonts.dat": DejaVu
// rendered by FreeType into Allegro's font-grid pictures, one picture per
// character range, and a font script that the packer turns into FONT objects.
// A font grid is an 8-bit picture: colour 255 frames each glyph box, 0 is the
// box's background and 1 its ink, which the packer reads as a one-colour font.
#include <cstdio>
#include <string>
#include <vector>
#include <ft2build.h>
#include FT_FREETYPE_H
#include "canvas.h"
#include "slots.h"
#include "sounds.h"

namespace {

struct char_range { unsigned first, last; };
// Printable ASCII, and Latin-1's letters (ä ö ü Ä Ö Ü ß and their neighbours).
const char_range ranges[] = {{0x20, 0x7e}, {0xa0, 0xff}};

struct font_recipe { const char *name; const char *face; int pixels; };
// Indexed by the slot names of "fonts.dat".
const font_recipe fonts[NUM_FONTS] = {
    {"text", font_sans, 14},
    {"title", font_bold, 26},
};

const unsigned char frame_colour = 255, ink_colour = 1;

struct grid {
    int w = 0, h = 0;
    std::vector<unsigned char> px;
    void put(int x, int y, unsigned char c) { if (x >= 0 && y >= 0 && x < w && y < h) px[(size_t)y * w + x] = c; }
};

// Glyph cells share the font's line height; each is as wide as its advance.
struct cell { int advance; std::vector<unsigned char> ink; };

cell render_glyph(FT_Face face, unsigned cp, int line_h, int ascender)
{
    cell c;
    if (FT_Load_Char(face, cp, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO)) {
        c.advance = 1;
        c.ink.assign((size_t)line_h, 0);
        return c;
    }
    FT_GlyphSlot g = face->glyph;
    c.advance = (int)((g->advance.x + 32) >> 6);
    if (c.advance < 1) c.advance = 1;
    c.ink.assign((size_t)c.advance * line_h, 0);
    const FT_Bitmap &b = g->bitmap;
    for (int r = 0; r < (int)b.rows; r++)
        for (int col = 0; col < (int)b.width; col++) {
            bool on = b.pixel_mode == FT_PIXEL_MODE_MONO
                          ? (b.buffer[r * b.pitch + col / 8] >> (7 - col % 8)) & 1
                          : b.buffer[r * b.pitch + col] >= 128;
            int x = g->bitmap_left + col, y = ascender - g->bitmap_top + r;
            if (on && x >= 0 && x < c.advance && y >= 0 && y < line_h) c.ink[(size_t)y * c.advance + x] = 1;
        }
    return c;
}

// One row of framed boxes: the packer finds each box by its frame corner.
grid range_grid(FT_Face face, const char_range &r, int line_h, int ascender)
{
    std::vector<cell> cells;
    int w = 1;
    for (unsigned cp = r.first; cp <= r.last; cp++) {
        cells.push_back(render_glyph(face, cp, line_h, ascender));
        w += cells.back().advance + 1;
    }
    grid gr;
    gr.w = w;
    gr.h = line_h + 2;
    gr.px.assign((size_t)gr.w * gr.h, frame_colour);
    int x = 1;
    for (const cell &c : cells) {
        for (int y = 0; y < line_h; y++)
            for (int k = 0; k < c.advance; k++)
                gr.put(x + k, y + 1, c.ink[(size_t)y * c.advance + k] ? ink_colour : 0);
        x += c.advance + 1;
    }
    return gr;
}

bool save_grid_bmp(const grid &g, const std::string &path)
{
    FILE *fp = fopen(path.c_str(), "wb");
    if (!fp) return false;
    int row = (g.w + 3) / 4 * 4;
    unsigned data_size = (unsigned)row * g.h, offset = 14 + 40 + 1024;
    auto u16 = [&](unsigned v) { fputc(v & 255, fp); fputc((v >> 8) & 255, fp); };
    auto u32 = [&](unsigned v) { u16(v & 0xffff); u16(v >> 16); };
    fputc('B', fp); fputc('M', fp);
    u32(offset + data_size); u32(0); u32(offset);
    u32(40); u32((unsigned)g.w); u32((unsigned)g.h); u16(1); u16(8); u32(0); u32(data_size);
    u32(2835); u32(2835); u32(256); u32(0);
    for (int i = 0; i < 256; i++) { fputc(i, fp); fputc(i, fp); fputc(i, fp); fputc(0, fp); }
    for (int y = g.h - 1; y >= 0; y--) {
        fwrite(&g.px[(size_t)y * g.w], 1, (size_t)g.w, fp);
        for (int k = g.w; k < row; k++) fputc(0, fp);
    }
    return fclose(fp) == 0;
}

bool write_font(FT_Library lib, const font_recipe &recipe, const std::string &dir, std::string *script)
{
    FT_Face face;
    if (FT_New_Face(lib, recipe.face, 0, &face)) {
        fprintf(stderr, "assets: cannot open font %s\n", recipe.face);
        return false;
    }
    FT_Set_Pixel_Sizes(face, 0, (FT_UInt)recipe.pixels);
    int ascender = (int)((face->size->metrics.ascender + 63) >> 6);
    int descender = (int)((-face->size->metrics.descender + 63) >> 6);
    int line_h = ascender + descender;
    std::string lines;
    bool ok = true;
    for (size_t k = 0; k < sizeof(ranges) / sizeof(ranges[0]) && ok; k++) {
        std::string name = std::string(recipe.name) + "_" + std::to_string(k) + ".bmp";
        ok = save_grid_bmp(range_grid(face, ranges[k], line_h, ascender), dir + "/" + name);
        char line[96];
        snprintf(line, sizeof(line), "%s 0x%X 0x%X\n", name.c_str(), ranges[k].first, ranges[k].last);
        lines += line;
    }
    FT_Done_Face(face);
    std::string path = dir + "/" + recipe.name + ".txt";
    FILE *fp = ok ? fopen(path.c_str(), "wb") : nullptr;
    if (!fp || fwrite(lines.data(), 1, lines.size(), fp) != lines.size()) ok = false;
    if (fp && fclose(fp) != 0) ok = false;
    if (!ok) fprintf(stderr, "assets: cannot write the %s font\n", recipe.name);
    *script = path;
    return ok;
}

}  // namespace

int write_fonts(const std::string &dir, std::vector<std::string> *files)
{
    FT_Library lib;
    if (FT_Init_FreeType(&lib)) {
        fprintf(stderr, "assets: FreeType did not start\n");
        return 1;
    }
    int status = 0;
    for (const font_recipe &recipe : fonts) {
        std::string script;
        if (!write_font(lib, recipe, dir, &script)) { status = 1; break; }
        files->push_back(script);
    }
    FT_Done_FreeType(lib);
    return status;
}
