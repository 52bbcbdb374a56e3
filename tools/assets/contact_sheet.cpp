// tools/assets/contact_sheet.cpp -- one PNG of every picture in the picture
// datafiles, each labelled "file slot" and laid on a checkerboard so that
// masked (transparent) pixels show as such. For looking at the art.
//   contact_sheet OUT.png ttex01.dat doodads01.dat buildings.dat
#include <allegro.h>
#include <png.h>
#include <algorithm>
#include <cstdio>
#include <vector>

static const int sheet_w = 2048;
static const int label_h = 12;
static const int gap = 8;
static const int max_cell = 256;        // bigger pictures are shown halved

static int checker(int x, int y)
{
    return ((x / 8) + (y / 8)) % 2 ? makecol32(200, 200, 200) : makecol32(150, 150, 150);
}

// Draws picture src at (x, y) scaled by 1/div, masked pixels as a checkerboard.
static void put_picture(BITMAP *sheet, BITMAP *src, int x, int y, int div)
{
    const int mask = makecol32(255, 0, 255);
    for (int py = 0; py < src->h / div; py++)
        for (int px = 0; px < src->w / div; px++) {
            int c = getpixel(src, px * div, py * div);
            putpixel(sheet, x + px, y + py, (c & 0xffffff) == (mask & 0xffffff) ? checker(px, py) : c);
        }
}

static bool save_png(BITMAP *bmp, const char *path)
{
    FILE *fp = fopen(path, "wb");
    if (!fp) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        fclose(fp);
        return false;
    }
    png_init_io(png, fp);
    png_set_IHDR(png, info, bmp->w, bmp->h, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(bmp->w * 3);
    for (int y = 0; y < bmp->h; y++) {
        for (int x = 0; x < bmp->w; x++) {
            int c = getpixel(bmp, x, y);
            row[x * 3] = getr32(c);
            row[x * 3 + 1] = getg32(c);
            row[x * 3 + 2] = getb32(c);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return fclose(fp) == 0;
}

int main(int argc, char **argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: contact_sheet OUT.png FILE.dat...\n");
        return 2;
    }
    install_allegro(SYSTEM_NONE, &errno, atexit);
    set_color_depth(32);
    set_color_conversion(COLORCONV_NONE);
    BITMAP *sheet = create_bitmap_ex(32, sheet_w, 6000);
    clear_to_color(sheet, makecol32(60, 64, 80));
    int x = gap, y = gap, row_h = 0;
    for (int a = 2; a < argc; a++) {
        DATAFILE *dat = load_datafile(argv[a]);
        if (!dat) {
            fprintf(stderr, "contact_sheet: cannot load %s\n", argv[a]);
            return 1;
        }
        if (x != gap) { x = gap; y += row_h + gap; row_h = 0; }
        textprintf_ex(sheet, font, x, y, makecol32(255, 255, 120), -1, "%s", argv[a]);
        y += label_h + 4;
        for (int i = 0; dat[i].type != DAT_END; i++) {
            if (dat[i].type != DAT_BITMAP) continue;
            BITMAP *b = (BITMAP *)dat[i].dat;
            int div = std::max(1, std::max(b->w, b->h) / max_cell);
            int w = std::max(b->w / div, 64), h = b->h / div + label_h;
            if (x + w + gap > sheet_w) { x = gap; y += row_h + gap; row_h = 0; }
            textprintf_ex(sheet, font, x, y, makecol32(255, 255, 255), -1, "%d %dx%d", i, b->w, b->h);
            put_picture(sheet, b, x, y + label_h, div);
            x += w + gap;
            row_h = std::max(row_h, h);
        }
        unload_datafile(dat);
    }
    BITMAP *cropped = create_sub_bitmap(sheet, 0, 0, sheet_w, std::min(sheet->h, y + row_h + gap));
    if (!save_png(cropped, argv[1])) {
        fprintf(stderr, "contact_sheet: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
