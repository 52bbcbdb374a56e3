// tools/assets/icon.cpp -- the program icon: the hopper's own picture, painted
// by the asset builder's code, shrunk to 64 x 64 with soft edges, written as
// hillhopper.png (the desktop entry's icon) and hillhopper.ico (the Windows
// programs' icon: one 64 x 64 PNG image inside the icon container).
// Usage: icon_builder OUT_DIR
#include <cstdio>
#include <string>
#include <vector>
#include <png.h>
#include "canvas.h"
#include "pictures.h"
#include "slots.h"

static const int icon_size = 64;

// Box-filtered premultiplied colours, straight RGBA bytes out.
static std::vector<unsigned char> shrink(const canvas &c, int size)
{
    std::vector<unsigned char> out((size_t)size * size * 4);
    int k = c.w / size;
    for (int y = 0; y < size; y++)
        for (int x = 0; x < size; x++) {
            rgba sum = {0, 0, 0, 0};
            for (int j = 0; j < k; j++)
                for (int i = 0; i < k; i++) {
                    const rgba &p = c.at(x * k + i, y * k + j);
                    sum.r += p.r, sum.g += p.g, sum.b += p.b, sum.a += p.a;
                }
            float n = (float)(k * k), a = sum.a / n;
            unsigned char *o = &out[((size_t)y * size + x) * 4];
            float inv = a > 0 ? 1.0f / sum.a : 0;
            o[0] = (unsigned char)(clampf(sum.r * inv, 0, 1) * 255 + 0.5f);
            o[1] = (unsigned char)(clampf(sum.g * inv, 0, 1) * 255 + 0.5f);
            o[2] = (unsigned char)(clampf(sum.b * inv, 0, 1) * 255 + 0.5f);
            o[3] = (unsigned char)(clampf(a, 0, 1) * 255 + 0.5f);
        }
    return out;
}

static void png_to_vector(png_structp png, png_bytep data, png_size_t n)
{
    auto *v = static_cast<std::vector<unsigned char> *>(png_get_io_ptr(png));
    v->insert(v->end(), data, data + n);
}

static bool encode_png(const std::vector<unsigned char> &rgba_bytes, int size, std::vector<unsigned char> *out)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) return false;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, out, png_to_vector, nullptr);
    png_set_IHDR(png, info, size, size, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < size; y++) png_write_row(png, &rgba_bytes[(size_t)y * size * 4]);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

static void put16(std::vector<unsigned char> &v, unsigned x) { v.push_back(x & 0xff); v.push_back((x >> 8) & 0xff); }
static void put32(std::vector<unsigned char> &v, unsigned x) { put16(v, x & 0xffff); put16(v, x >> 16); }

// An icon file of one image stored as PNG (understood since Windows Vista).
static std::vector<unsigned char> ico_of(const std::vector<unsigned char> &png, int size)
{
    std::vector<unsigned char> v;
    put16(v, 0), put16(v, 1), put16(v, 1);              // reserved, type icon, one image
    v.push_back((unsigned char)size), v.push_back((unsigned char)size);
    v.push_back(0), v.push_back(0);                     // no palette, reserved
    put16(v, 1), put16(v, 32);                          // planes, bits per pixel
    put32(v, (unsigned)png.size()), put32(v, 6 + 16);   // bytes, offset
    v.insert(v.end(), png.begin(), png.end());
    return v;
}

static bool write_file(const std::string &path, const std::vector<unsigned char> &bytes)
{
    FILE *f = fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return fclose(f) == 0 && ok;
}

int main(int argc, char **argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: icon_builder OUT_DIR\n");
        return 2;
    }
    std::vector<picture> terrain(NUM_TERRAIN_PICTURES);
    add_player_pictures(terrain.data());
    const picture &p = terrain[TEX_PLAYER];
    canvas c(p.w, p.h);
    p.paint(c);
    std::vector<unsigned char> pixels = shrink(c, icon_size), png;
    std::string dir = argv[1];
    if (!encode_png(pixels, icon_size, &png) || !write_file(dir + "/hillhopper.png", png) ||
        !write_file(dir + "/hillhopper.ico", ico_of(png, icon_size))) {
        fprintf(stderr, "icon_builder: cannot write the icon into %s\n", dir.c_str());
        return 1;
    }
    return 0;
}
