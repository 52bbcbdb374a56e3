// tools/assets/canvas.h -- the painting kit of the asset builder: a float RGBA
// canvas, shapes given as signed distance functions, paints, tileable noise
// and lettering. Pictures end up masked (one colour is transparent), so every
// sprite is painted with a dark outline: the edge that linear filtering blends
// with the cleared texels is then already dark, and no light fringe shows.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct rgba {
    float r, g, b, a;
};

rgba rgb(int r, int g, int b, float a = 1.0f);
rgba mix(rgba a, rgba b, float t);
rgba shade(rgba c, float k);        // k > 1 lighter, < 1 darker; alpha kept
float clampf(float x, float lo, float hi);
float smooth(float e0, float e1, float x);

// Premultiplied colour per pixel; alpha 0 is "nothing painted".
struct canvas {
    int w = 0, h = 0;
    std::vector<rgba> px;
    canvas() = default;
    canvas(int w_, int h_);
    rgba &at(int x, int y) { return px[(size_t)y * w + x]; }
    const rgba &at(int x, int y) const { return px[(size_t)y * w + x]; }
    // Paints colour c over pixel (x, y) with coverage cov (0..1).
    void blend(int x, int y, rgba c, float cov);
    rgba get(int x, int y) const;   // straight (not premultiplied) colour
};

// A shape: signed distance in pixels, negative inside.
using sdf_fn = std::function<float(float x, float y)>;
// A paint: straight colour at a pixel, given the signed distance there.
using paint_fn = std::function<rgba(float x, float y, float d)>;

// Paints a shape over the canvas. The bounding box limits the work.
void fill(canvas &c, const sdf_fn &shape, const paint_fn &paint,
          float x0, float y0, float x1, float y1);
void fill(canvas &c, const sdf_fn &shape, const paint_fn &paint);
// The shape grown by width and painted flat: an outline under the shape.
void outline(canvas &c, const sdf_fn &shape, rgba col, float width);
// Outline, then the shape with a soft top-left light: the house style of a sprite.
void blob(canvas &c, const sdf_fn &shape, rgba base, float line = 2.0f,
          rgba line_col = rgb(40, 28, 30));

// Shapes.
sdf_fn circle(float cx, float cy, float r);
sdf_fn ellipse(float cx, float cy, float rx, float ry);
sdf_fn box(float x0, float y0, float x1, float y1, float radius);
sdf_fn capsule(float ax, float ay, float bx, float by, float r);
sdf_fn polygon(std::vector<float> xy);      // x0, y0, x1, y1, ...
sdf_fn rotated(sdf_fn s, float cx, float cy, float ang);
sdf_fn unite(sdf_fn a, sdf_fn b);
sdf_fn cut(sdf_fn a, sdf_fn b);             // a without b
sdf_fn intersect(sdf_fn a, sdf_fn b);

// Paints.
paint_fn flat(rgba c);
// Vertical gradient from top colour at y0 to bottom colour at y1.
paint_fn vgrad(rgba top, rgba bottom, float y0, float y1);
// A round lit look: light from the upper left of the circle (cx, cy, r),
// darker towards the rim.
paint_fn lit(rgba base, float cx, float cy, float r);
// Base colour lightened near the top of the shape and darkened along its edge.
paint_fn rim(rgba base, float edge);

// Tileable noise in 0..1; period in lattice cells, so that a picture made of
// it repeats without a seam when the period divides its size.
float vnoise(float x, float y, int period, uint32_t seed);
float fbm(float x, float y, int period, int octaves, uint32_t seed);
// Deterministic random numbers for scattering details.
struct lcg {
    uint32_t s;
    explicit lcg(uint32_t seed) : s(seed * 2654435761u + 12345u) {}
    uint32_t next() { s = s * 1664525u + 1013904223u; return s >> 8; }
    float uniform() { return (next() & 0xffff) / 65535.0f; }
    float range(float a, float b) { return a + (b - a) * uniform(); }
};

// ---- lettering -----------------------------------------------------------

// A coverage mask (0..1 per pixel), for text.
struct mask {
    int w = 0, h = 0;
    std::vector<float> v;
    float at(int x, int y) const {
        return (x < 0 || y < 0 || x >= w || y >= h) ? 0.0f : v[(size_t)y * w + x];
    }
};

// Renders UTF-8 text with a DejaVu face at the pixel size; xscale and yscale
// stretch the glyphs (to look right on a picture shown at another aspect).
// The mask is tight around the ink plus pad pixels on every side.
mask text_mask(const std::string &utf8, const char *face, float size,
               float xscale = 1.0f, float yscale = 1.0f, int pad = 4);
mask grow(const mask &m, float radius);    // the mask thickened by radius pixels
// Paints the mask with its top-left at (x, y).
void stamp(canvas &c, const mask &m, int x, int y, const paint_fn &paint);
// Outlined, shadowed lettering in one call.
void letter(canvas &c, const std::string &utf8, const char *face, float size,
            float cx, float cy, rgba top, rgba bottom, rgba line, float line_w,
            float xscale = 1.0f, float yscale = 1.0f);
extern const char *const font_bold;
extern const char *const font_sans;
extern const char *const font_serif_bold;

// ---- output ----------------------------------------------------------------

// Writes a 24-bit BMP; pixels under half covered become the mask colour
// (255, 0, 255), the others opaque.
bool save_masked_bmp(const canvas &c, const std::string &path);
// The same picture with no mask (the background).
bool save_opaque_bmp(const canvas &c, const std::string &path);
