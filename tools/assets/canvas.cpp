// tools/assets/canvas.cpp -- shapes, paints, noise, lettering and BMP output.
#include "canvas.h"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ft2build.h>
#include FT_FREETYPE_H

const char *const font_bold = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
const char *const font_sans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
const char *const font_serif_bold = "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf";

rgba rgb(int r, int g, int b, float a) { return {r / 255.0f, g / 255.0f, b / 255.0f, a}; }

rgba mix(rgba a, rgba b, float t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
            a.a + (b.a - a.a) * t};
}

float clampf(float x, float lo, float hi) { return x < lo ? lo : (x > hi ? hi : x); }

rgba shade(rgba c, float k)
{
    if (k >= 1) return mix(c, rgba{1, 1, 1, c.a}, clampf(k - 1, 0, 1));
    return {c.r * k, c.g * k, c.b * k, c.a};
}

float smooth(float e0, float e1, float x)
{
    float t = clampf((x - e0) / (e1 - e0), 0, 1);
    return t * t * (3 - 2 * t);
}

canvas::canvas(int w_, int h_) : w(w_), h(h_), px((size_t)w_ * h_, rgba{0, 0, 0, 0}) {}

void canvas::blend(int x, int y, rgba c, float cov)
{
    if (x < 0 || y < 0 || x >= w || y >= h) return;
    float a = clampf(c.a * cov, 0, 1);
    rgba &d = at(x, y);
    d.r = c.r * a + d.r * (1 - a);
    d.g = c.g * a + d.g * (1 - a);
    d.b = c.b * a + d.b * (1 - a);
    d.a = a + d.a * (1 - a);
}

rgba canvas::get(int x, int y) const
{
    const rgba &p = at(x, y);
    if (p.a <= 0) return {0, 0, 0, 0};
    return {p.r / p.a, p.g / p.a, p.b / p.a, p.a};
}

// ---- filling ---------------------------------------------------------------

void fill(canvas &c, const sdf_fn &shape, const paint_fn &paint, float x0, float y0,
          float x1, float y1)
{
    int ix0 = std::max(0, (int)std::floor(x0)), iy0 = std::max(0, (int)std::floor(y0));
    int ix1 = std::min(c.w - 1, (int)std::ceil(x1)), iy1 = std::min(c.h - 1, (int)std::ceil(y1));
    for (int y = iy0; y <= iy1; y++)
        for (int x = ix0; x <= ix1; x++) {
            float fx = x + 0.5f, fy = y + 0.5f;
            float d = shape(fx, fy);
            float cov = clampf(0.5f - d, 0, 1);
            if (cov <= 0) continue;
            c.blend(x, y, paint(fx, fy, d), cov);
        }
}

void fill(canvas &c, const sdf_fn &shape, const paint_fn &paint)
{
    fill(c, shape, paint, 0, 0, (float)c.w, (float)c.h);
}

void outline(canvas &c, const sdf_fn &shape, rgba col, float width)
{
    fill(c, [shape, width](float x, float y) { return shape(x, y) - width; }, flat(col));
}

void blob(canvas &c, const sdf_fn &shape, rgba base, float line, rgba line_col)
{
    if (line > 0) outline(c, shape, line_col, line);
    fill(c, shape, rim(base, 6.0f));
}

// ---- shapes ----------------------------------------------------------------

sdf_fn circle(float cx, float cy, float r)
{
    return [=](float x, float y) { return std::hypot(x - cx, y - cy) - r; };
}

sdf_fn ellipse(float cx, float cy, float rx, float ry)
{
    // Distance scaled by the smaller radius: exact enough for antialiasing.
    return [=](float x, float y) {
        float dx = (x - cx) / rx, dy = (y - cy) / ry;
        float k = std::sqrt(dx * dx + dy * dy);
        return (k - 1.0f) * std::min(rx, ry);
    };
}

sdf_fn box(float x0, float y0, float x1, float y1, float radius)
{
    float cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
    float hx = (x1 - x0) / 2 - radius, hy = (y1 - y0) / 2 - radius;
    return [=](float x, float y) {
        float qx = std::fabs(x - cx) - hx, qy = std::fabs(y - cy) - hy;
        float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
        return std::hypot(ox, oy) + std::min(std::max(qx, qy), 0.0f) - radius;
    };
}

sdf_fn capsule(float ax, float ay, float bx, float by, float r)
{
    return [=](float x, float y) {
        float px = x - ax, py = y - ay, dx = bx - ax, dy = by - ay;
        float len2 = dx * dx + dy * dy;
        float t = len2 > 0 ? clampf((px * dx + py * dy) / len2, 0, 1) : 0;
        return std::hypot(px - dx * t, py - dy * t) - r;
    };
}

sdf_fn polygon(std::vector<float> xy)
{
    return [xy](float x, float y) {
        size_t n = xy.size() / 2;
        float best = 1e9f;
        bool inside = false;
        for (size_t i = 0, k = n - 1; i < n; k = i++) {
            float ax = xy[2 * k], ay = xy[2 * k + 1], bx = xy[2 * i], by = xy[2 * i + 1];
            float dx = bx - ax, dy = by - ay, px = x - ax, py = y - ay;
            float len2 = dx * dx + dy * dy;
            float t = len2 > 0 ? clampf((px * dx + py * dy) / len2, 0, 1) : 0;
            best = std::min(best, std::hypot(px - dx * t, py - dy * t));
            if ((ay > y) != (by > y) && x < ax + (y - ay) * dx / dy) inside = !inside;
        }
        return inside ? -best : best;
    };
}

sdf_fn rotated(sdf_fn s, float cx, float cy, float ang)
{
    float c = std::cos(-ang), sn = std::sin(-ang);
    return [=](float x, float y) {
        float dx = x - cx, dy = y - cy;
        return s(cx + dx * c - dy * sn, cy + dx * sn + dy * c);
    };
}

sdf_fn unite(sdf_fn a, sdf_fn b)
{
    return [=](float x, float y) { return std::min(a(x, y), b(x, y)); };
}

sdf_fn cut(sdf_fn a, sdf_fn b)
{
    return [=](float x, float y) { return std::max(a(x, y), -b(x, y)); };
}

sdf_fn intersect(sdf_fn a, sdf_fn b)
{
    return [=](float x, float y) { return std::max(a(x, y), b(x, y)); };
}

// ---- paints ----------------------------------------------------------------

paint_fn flat(rgba c)
{
    return [c](float, float, float) { return c; };
}

paint_fn vgrad(rgba top, rgba bottom, float y0, float y1)
{
    return [=](float, float y, float) { return mix(top, bottom, clampf((y - y0) / (y1 - y0), 0, 1)); };
}

paint_fn lit(rgba base, float cx, float cy, float r)
{
    return [=](float x, float y, float d) {
        float hx = cx - 0.35f * r, hy = cy - 0.4f * r;
        float k = std::hypot(x - hx, y - hy) / (1.6f * r);
        rgba c = mix(shade(base, 1.35f), shade(base, 0.72f), clampf(k, 0, 1));
        return mix(shade(c, 0.8f), c, smooth(0, 3.0f, -d));
    };
}

paint_fn rim(rgba base, float edge)
{
    return [=](float, float, float d) {
        float inner = smooth(0, edge, -d);
        return mix(shade(base, 0.78f), base, inner);
    };
}

// ---- noise -----------------------------------------------------------------

static uint32_t hash3(int x, int y, uint32_t seed)
{
    uint32_t h = (uint32_t)x * 374761393u + (uint32_t)y * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return h ^ (h >> 16);
}

float vnoise(float x, float y, int period, uint32_t seed)
{
    int x0 = (int)std::floor(x), y0 = (int)std::floor(y);
    float fx = x - x0, fy = y - y0;
    auto val = [&](int ix, int iy) {
        ix = ((ix % period) + period) % period;
        iy = ((iy % period) + period) % period;
        return (hash3(ix, iy, seed) & 0xffff) / 65535.0f;
    };
    float sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    float a = val(x0, y0), b = val(x0 + 1, y0), c = val(x0, y0 + 1), d = val(x0 + 1, y0 + 1);
    return (a + (b - a) * sx) * (1 - sy) + (c + (d - c) * sx) * sy;
}

float fbm(float x, float y, int period, int octaves, uint32_t seed)
{
    float sum = 0, amp = 0.5f, norm = 0;
    for (int o = 0; o < octaves; o++) {
        sum += amp * vnoise(x, y, period, seed + o * 101);
        norm += amp;
        x *= 2;
        y *= 2;
        period *= 2;
        amp *= 0.5f;
    }
    return sum / norm;
}

// ---- lettering -------------------------------------------------------------

static std::vector<uint32_t> decode_utf8(const std::string &s)
{
    std::vector<uint32_t> out;
    for (size_t i = 0; i < s.size();) {
        unsigned char c = s[i];
        uint32_t cp = c;
        int extra = 0;
        if (c >= 0xf0) { cp = c & 0x07; extra = 3; }
        else if (c >= 0xe0) { cp = c & 0x0f; extra = 2; }
        else if (c >= 0xc0) { cp = c & 0x1f; extra = 1; }
        i++;
        for (int k = 0; k < extra && i < s.size(); k++, i++) cp = (cp << 6) | (s[i] & 0x3f);
        out.push_back(cp);
    }
    return out;
}

static FT_Library ft_library()
{
    static FT_Library lib = nullptr;
    if (!lib && FT_Init_FreeType(&lib)) {
        fprintf(stderr, "assets: FreeType did not start\n");
        exit(1);
    }
    return lib;
}

mask text_mask(const std::string &utf8, const char *face_path, float size, float xscale,
               float yscale, int pad)
{
    FT_Face face;
    if (FT_New_Face(ft_library(), face_path, 0, &face)) {
        fprintf(stderr, "assets: cannot open font %s\n", face_path);
        exit(1);
    }
    FT_Set_Char_Size(face, 0, (FT_F26Dot6)(size * 64), 72, 72);
    FT_Matrix m = {(FT_Fixed)(xscale * 65536), 0, 0, (FT_Fixed)(yscale * 65536)};
    FT_Vector pen = {0, 0};
    struct glyph { int x, y, w, h; std::vector<unsigned char> ink; };
    std::vector<glyph> glyphs;
    int minx = 1 << 30, miny = 1 << 30, maxx = -(1 << 30), maxy = -(1 << 30);
    for (uint32_t cp : decode_utf8(utf8)) {
        FT_Set_Transform(face, &m, &pen);
        if (FT_Load_Char(face, cp, FT_LOAD_RENDER)) continue;
        FT_GlyphSlot g = face->glyph;
        glyph gl{g->bitmap_left, -g->bitmap_top, (int)g->bitmap.width, (int)g->bitmap.rows, {}};
        for (int r = 0; r < gl.h; r++)
            for (int col = 0; col < gl.w; col++)
                gl.ink.push_back(g->bitmap.buffer[r * g->bitmap.pitch + col]);
        if (gl.w > 0 && gl.h > 0) {
            minx = std::min(minx, gl.x); miny = std::min(miny, gl.y);
            maxx = std::max(maxx, gl.x + gl.w); maxy = std::max(maxy, gl.y + gl.h);
        }
        glyphs.push_back(std::move(gl));
        pen.x += g->advance.x;
        pen.y += g->advance.y;
    }
    FT_Done_Face(face);
    mask out;
    if (maxx < minx) return out;
    out.w = maxx - minx + 2 * pad;
    out.h = maxy - miny + 2 * pad;
    out.v.assign((size_t)out.w * out.h, 0.0f);
    for (const glyph &gl : glyphs)
        for (int r = 0; r < gl.h; r++)
            for (int col = 0; col < gl.w; col++) {
                int x = gl.x - minx + pad + col, y = gl.y - miny + pad + r;
                float &v = out.v[(size_t)y * out.w + x];
                v = std::max(v, gl.ink[(size_t)r * gl.w + col] / 255.0f);
            }
    return out;
}

mask grow(const mask &m, float radius)
{
    int r = (int)std::ceil(radius);
    mask out = m;
    for (int y = 0; y < m.h; y++)
        for (int x = 0; x < m.w; x++) {
            float best = 0;
            for (int dy = -r; dy <= r && best < 1; dy++)
                for (int dx = -r; dx <= r; dx++) {
                    float d = std::hypot((float)dx, (float)dy);
                    if (d > radius + 0.5f) continue;
                    float edge = clampf(radius + 0.5f - d, 0, 1);
                    best = std::max(best, m.at(x + dx, y + dy) * edge);
                }
            out.v[(size_t)y * m.w + x] = best;
        }
    return out;
}

void stamp(canvas &c, const mask &m, int x0, int y0, const paint_fn &paint)
{
    for (int y = 0; y < m.h; y++)
        for (int x = 0; x < m.w; x++) {
            float cov = m.v[(size_t)y * m.w + x];
            if (cov > 0) c.blend(x0 + x, y0 + y, paint(x0 + x + 0.5f, y0 + y + 0.5f, -cov), cov);
        }
}

void letter(canvas &c, const std::string &utf8, const char *face, float size, float cx,
            float cy, rgba top, rgba bottom, rgba line, float line_w, float xscale, float yscale)
{
    int pad = (int)std::ceil(line_w) + 4;
    mask ink = text_mask(utf8, face, size, xscale, yscale, pad);
    mask edge = grow(ink, line_w);
    int x0 = (int)std::lround(cx - ink.w / 2.0f), y0 = (int)std::lround(cy - ink.h / 2.0f);
    stamp(c, edge, x0 + 1, y0 + 2, flat(shade(line, 0.6f)));
    stamp(c, edge, x0, y0, flat(line));
    float ty0 = y0 + pad, ty1 = y0 + ink.h - pad;
    stamp(c, ink, x0, y0, vgrad(top, bottom, ty0, ty1));
}

// ---- output ----------------------------------------------------------------

static void put_le(std::vector<unsigned char> &b, uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; i++) b.push_back((v >> (8 * i)) & 0xff);
}

static bool save_bmp(const canvas &c, const std::string &path, bool masked)
{
    int row = (c.w * 3 + 3) & ~3;
    std::vector<unsigned char> b;
    b.push_back('B'); b.push_back('M');
    put_le(b, 54 + row * c.h, 4); put_le(b, 0, 4); put_le(b, 54, 4);
    put_le(b, 40, 4); put_le(b, c.w, 4); put_le(b, c.h, 4); put_le(b, 1, 2); put_le(b, 24, 2);
    put_le(b, 0, 4); put_le(b, row * c.h, 4); put_le(b, 2835, 4); put_le(b, 2835, 4);
    put_le(b, 0, 4); put_le(b, 0, 4);
    for (int y = c.h - 1; y >= 0; y--) {
        for (int x = 0; x < c.w; x++) {
            rgba p = c.get(x, y);
            int r = 255, g = 0, bl = 255;
            if (!masked || p.a >= 0.5f) {
                if (!masked) p = {p.r * p.a, p.g * p.a, p.b * p.a, 1};
                r = (int)std::lround(clampf(p.r, 0, 1) * 255);
                g = (int)std::lround(clampf(p.g, 0, 1) * 255);
                bl = (int)std::lround(clampf(p.b, 0, 1) * 255);
                if (r == 255 && g == 0 && bl == 255) g = 1;   // never the mask by accident
            }
            b.push_back(bl); b.push_back(g); b.push_back(r);
        }
        for (int k = c.w * 3; k < row; k++) b.push_back(0);
    }
    FILE *fp = fopen(path.c_str(), "wb");
    if (!fp) return false;
    bool ok = fwrite(b.data(), 1, b.size(), fp) == b.size();
    return fclose(fp) == 0 && ok;
}

bool save_masked_bmp(const canvas &c, const std::string &path) { return save_bmp(c, path, true); }
bool save_opaque_bmp(const canvas &c, const std::string &path) { return save_bmp(c, path, false); }
