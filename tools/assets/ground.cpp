// tools/assets/ground.cpp -- the terrain set (seamless fills and border bands)
// and the background. Fills repeat in both directions, so every pattern here
// is periodic over the picture: noise periods divide the size, and scattered
// details are painted again one picture-width (and height) over.
#include <cmath>
#include "pictures.h"
#include "slots.h"

namespace {

const float pi = 3.14159265f;

// Paints a per-pixel function over the whole picture.
void each_pixel(canvas &c, const std::function<rgba(float x, float y)> &f)
{
    for (int y = 0; y < c.h; y++)
        for (int x = 0; x < c.w; x++) c.blend(x, y, f(x + 0.5f, y + 0.5f), 1);
}

// A shape painted at (x, y) and at its wrapped copies, for seamless pictures.
void tiled(canvas &c, const std::function<sdf_fn(float, float)> &make, const paint_fn &paint,
           float x, float y, bool wrap_y = true, float reach = 80)
{
    for (int dy = wrap_y ? -1 : 0; dy <= (wrap_y ? 1 : 0); dy++)
        for (int dx = -1; dx <= 1; dx++) {
            float px = x + dx * c.w, py = y + dy * c.h;
            // The copy is painted as the original would be at this place.
            float ox = (float)dx * c.w, oy = (float)dy * c.h;
            paint_fn moved = [=](float qx, float qy, float d) { return paint(qx - ox, qy - oy, d); };
            fill(c, make(px, py), moved, px - reach, py - reach, px + reach, py + reach);
        }
}

// Moves a seamless picture round by (dx, dy), so that straight joints of a
// pattern (planks, boards) do not fall on the picture's own edge.
void roll(canvas &c, int dx, int dy)
{
    canvas out(c.w, c.h);
    for (int y = 0; y < c.h; y++)
        for (int x = 0; x < c.w; x++) out.at((x + dx) % c.w, (y + dy) % c.h) = c.at(x, y);
    c = out;
}

// Tileable cell noise: distance to the nearest and second nearest feature
// point, one point per cell of a period x period grid.
void worley(float x, float y, int period, float cell, uint32_t seed, float *f1, float *f2, int *id)
{
    int cx = (int)std::floor(x / cell), cy = (int)std::floor(y / cell);
    *f1 = *f2 = 1e9f;
    *id = 0;
    for (int j = -1; j <= 1; j++)
        for (int i = -1; i <= 1; i++) {
            int gx = cx + i, gy = cy + j;
            int wx = ((gx % period) + period) % period, wy = ((gy % period) + period) % period;
            lcg r(seed + wx * 131 + wy * 7919);
            float px = (gx + r.range(0.15f, 0.85f)) * cell, py = (gy + r.range(0.15f, 0.85f)) * cell;
            float d = std::hypot(x - px, y - py);
            if (d < *f1) { *f2 = *f1; *f1 = d; *id = wx * 31 + wy; }
            else if (d < *f2) *f2 = d;
        }
}

// A stone of a cell pattern: its id, the distance to the nearest joint with a
// neighbouring stone, and the light on a bevel along that joint (light from
// the upper left: positive on joints facing it, negative on the others).
struct stone { int id; float joint; float bevel; };

stone stone_at(float x, float y, int period, float cell, uint32_t seed, float bevel_width)
{
    int cx = (int)std::floor(x / cell), cy = (int)std::floor(y / cell);
    float best[2] = {1e9f, 1e9f}, bx[2] = {0, 0}, by[2] = {0, 0};
    int id = 0;
    for (int j = -2; j <= 2; j++)
        for (int i = -2; i <= 2; i++) {
            int gx = cx + i, gy = cy + j;
            int wx = ((gx % period) + period) % period, wy = ((gy % period) + period) % period;
            lcg r(seed + wx * 131 + wy * 7919);
            float px = (gx + r.range(0.15f, 0.85f)) * cell, py = (gy + r.range(0.15f, 0.85f)) * cell;
            float d = std::hypot(x - px, y - py);
            if (d < best[0]) {
                best[1] = best[0]; bx[1] = bx[0]; by[1] = by[0];
                best[0] = d; bx[0] = px; by[0] = py; id = wx * 31 + wy;
            } else if (d < best[1]) {
                best[1] = d; bx[1] = px; by[1] = py;
            }
        }
    // Distance to the bisector of the two nearest points: the true joint.
    float nx = bx[1] - bx[0], ny = by[1] - by[0], len = std::hypot(nx, ny);
    nx /= len; ny /= len;
    float joint = ((bx[0] + bx[1]) / 2 - x) * nx + ((by[0] + by[1]) / 2 - y) * ny;
    float facing = nx * -0.6f + ny * -0.8f;          // the joint's outward normal towards the light
    float bevel = facing * clampf(1 - joint / bevel_width, 0, 1);
    return {id, joint, bevel};
}

float n01(float x, float y, float size, int period, int oct, uint32_t seed)
{
    return fbm(x / size * period, y / size * period, period, oct, seed);
}

// ---- fills -------------------------------------------------------------------

void fill_grass(canvas &c)
{
    each_pixel(c, [](float x, float y) {
        float n = n01(x, y, 256, 4, 4, 11), m = n01(x, y, 256, 16, 2, 12);
        return mix(mix(rgb(70, 150, 45), rgb(120, 200, 70), n), rgb(60, 120, 40), m * 0.4f);
    });
    lcg r(5);
    for (int k = 0; k < 140; k++) {
        float x = r.range(0, 256), y = r.range(0, 256), a = r.range(-0.5f, 0.5f), l = r.range(4, 8);
        rgba col = r.uniform() < 0.5f ? rgb(140, 210, 85, 0.7f) : rgb(60, 125, 40, 0.7f);
        tiled(c, [=](float px, float py) { return capsule(px, py, px + std::sin(a) * l, py - std::cos(a) * l, 0.8f); },
              flat(col), x, y);
    }
    for (int k = 0; k < 18; k++) {   // clover-like specks of flowers
        float x = r.range(0, 256), y = r.range(0, 256);
        rgba col = k % 3 ? rgb(255, 255, 240) : rgb(255, 220, 70);
        tiled(c, [=](float px, float py) { return circle(px, py, 2.2f); }, flat(col), x, y);
    }
}

void fill_earth(canvas &c)
{
    each_pixel(c, [](float x, float y) {
        float n = n01(x, y, 256, 4, 5, 21);
        float band = 0.5f + 0.5f * std::sin((y / 256) * 2 * pi * 3 + n * 4);
        return mix(mix(rgb(120, 78, 44), rgb(165, 110, 62), n), rgb(100, 62, 36), band * 0.25f);
    });
    lcg r(6);
    for (int k = 0; k < 40; k++) {   // pebbles
        float x = r.range(0, 256), y = r.range(0, 256), rr = r.range(2.5f, 6);
        rgba col = mix(rgb(170, 150, 130), rgb(120, 110, 100), r.uniform());
        tiled(c, [=](float px, float py) { return ellipse(px, py, rr * 1.3f, rr); },
              [=](float px, float py, float d) { return lit(col, x, y, rr)(px, py, d); }, x, y);
    }
    for (int k = 0; k < 6; k++) {   // roots
        float x = r.range(0, 256), y = r.range(0, 256), a = r.range(0, pi);
        tiled(c, [=](float px, float py) {
            return capsule(px, py, px + std::cos(a) * 26, py + std::sin(a) * 26, 1.4f);
        }, flat(rgb(80, 50, 28)), x, y);
    }
}

void fill_rock(canvas &c)
{
    each_pixel(c, [](float x, float y) {
        stone st = stone_at(x, y, 5, 256.0f / 5, 31, 9);
        float n = n01(x, y, 256, 8, 3, 32);
        rgba base = mix(rgb(132, 130, 140), rgb(172, 168, 172), (st.id % 7) / 6.0f);
        base = mix(base, rgb(112, 110, 122), n * 0.5f);
        rgba face = shade(base, 1 + 0.35f * st.bevel);
        return mix(rgb(58, 56, 68), face, smooth(0.8f, 2.2f, st.joint));
    });
}

void fill_sand(canvas &c)
{
    each_pixel(c, [](float x, float y) {
        float n = n01(x, y, 256, 8, 4, 41);
        float ripple = 0.5f + 0.5f * std::sin((y / 256) * 2 * pi * 10 + 2.5f * std::sin(x / 256 * 2 * pi * 2) + n * 3);
        lcg r((uint32_t)x * 977 + (uint32_t)y * 131);
        float grain = r.uniform() * 0.12f;
        return shade(mix(rgb(232, 200, 130), rgb(250, 225, 160), ripple * 0.7f + n * 0.3f), 1.0f - grain);
    });
}

void fill_wood(canvas &c)
{
    const float plank = 32;
    each_pixel(c, [=](float x, float y) {
        int row = (int)(y / plank);
        float off = (row * 97) % 256;
        float gx = std::fmod(x + off, 256.0f);
        float grain = n01(gx, y, 256, 2, 3, 51 + row) * 6 + y / plank * 2;
        float lines = 0.5f + 0.5f * std::sin(grain * pi * 2);
        rgba base = mix(rgb(180, 120, 62), rgb(210, 150, 85), lines);
        base = mix(base, rgb(150, 96, 50), (row % 3) * 0.12f);
        float fy = std::fmod(y, plank);
        float seam_x = std::fmod(gx, 128.0f);
        if (fy < 2 || seam_x < 2) return rgb(90, 55, 30);
        if (fy < 4) return shade(base, 1.15f);
        if (fy > plank - 3) return shade(base, 0.75f);
        return base;
    });
    for (int row = 0; row < 8; row++)
        for (int k = 0; k < 2; k++) {
            float x = std::fmod(128.0f * k + 8 - (row * 97) % 256 + 512, 256.0f), y = row * plank + 16;
            tiled(c, [](float px, float py) { return circle(px, py, 2.5f); },
                  lit(rgb(150, 150, 160), x, y, 2.5f), x, y);
            tiled(c, [](float px, float py) { return circle(px, py, 2.5f); },
                  lit(rgb(150, 150, 160), x + 112, y, 2.5f), x + 112, y);
        }
    roll(c, 40, 16);
}

void fill_bricks(canvas &c)
{
    const float bw = 64, bh = 32;
    each_pixel(c, [=](float x, float y) {
        int row = (int)(y / bh);
        float sx = std::fmod(x + (row % 2) * bw / 2, 256.0f);
        int col = (int)(sx / bw);
        float fx = std::fmod(sx, bw), fy = std::fmod(y, bh);
        float d = std::min(std::min(fx, bw - fx), std::min(fy, bh - fy));
        lcg r(row * 17 + col * 5 + 3);
        rgba base = mix(rgb(150, 140, 130), rgb(190, 178, 160), r.uniform());
        float n = n01(x, y, 256, 16, 3, 61);
        base = mix(base, rgb(120, 115, 110), n * 0.35f);
        if (d < 2.5f) return rgb(90, 84, 80);
        float light = 1 + 0.18f * (fy < 6 ? 1 : 0) - 0.2f * (fy > bh - 6 ? 1 : 0);
        return shade(base, light);
    });
}

void fill_cave(canvas &c)
{
    each_pixel(c, [](float x, float y) {
        stone st = stone_at(x, y, 4, 64, 71, 10);
        float n = n01(x, y, 256, 4, 5, 72);
        rgba base = mix(rgb(42, 40, 66), rgb(74, 66, 100), n);
        return mix(rgb(20, 18, 32), shade(base, 1 + 0.45f * st.bevel), smooth(0.8f, 2.5f, st.joint));
    });
    lcg r(8);
    for (int k = 0; k < 12; k++) {   // faint glowing specks
        float x = r.range(0, 256), y = r.range(0, 256);
        tiled(c, [](float px, float py) { return circle(px, py, 1.6f); }, flat(rgb(120, 220, 200)), x, y);
    }
}

void fill_ice(canvas &c)
{
    each_pixel(c, [](float x, float y) {
        float f1, f2;
        int id;
        worley(x, y, 3, 256.0f / 3, 81, &f1, &f2, &id);
        float n = n01(x + y, y, 256, 4, 4, 82);
        rgba base = mix(rgb(160, 215, 245), rgb(215, 240, 255), n);
        float streak = 0.5f + 0.5f * std::sin((x + y) / 256 * 2 * pi * 4 + n * 5);
        base = mix(base, rgb(245, 252, 255), streak * 0.3f);
        return mix(rgb(110, 170, 220), base, smooth(0, 2.5f, f2 - f1));
    });
}

void fill_cobble(canvas &c)
{
    each_pixel(c, [](float x, float y) {
        stone st = stone_at(x, y, 8, 32, 91, 7);
        rgba base = mix(rgb(150, 140, 150), rgb(194, 184, 172), (st.id % 5) / 4.0f);
        float n = n01(x, y, 256, 16, 2, 92);
        base = mix(base, rgb(130, 122, 120), n * 0.3f);
        return mix(rgb(72, 64, 60), shade(base, 1 + 0.4f * st.bevel), smooth(1.0f, 3.0f, st.joint));
    });
}

void fill_snow(canvas &c)
{
    each_pixel(c, [](float x, float y) {
        float n = n01(x, y, 256, 4, 4, 101);
        float drift = 0.5f + 0.5f * std::sin(y / 256 * 2 * pi * 3 + x / 256 * 2 * pi + n * 5);
        float k = clampf(drift * 0.6f + n * 0.6f - 0.1f, 0, 1);
        return mix(rgb(196, 212, 240), rgb(252, 253, 255), k);
    });
    lcg r(9);
    for (int k = 0; k < 40; k++) {
        float x = r.range(0, 256), y = r.range(0, 256), s = r.range(1.5f, 3.0f);
        tiled(c, [=](float px, float py) {
            return unite(capsule(px - s, py, px + s, py, 0.6f), capsule(px, py - s, px, py + s, 0.6f));
        }, flat(rgb(255, 255, 255)), x, y);
    }
}

// A fallen leaf: a lens with pointed ends, length l and width w, turned by a.
sdf_fn leaf_shape(float x, float y, float l, float w, float a)
{
    float big = (l * l / w + w) / 2, off = big - w;     // two circles whose overlap is the lens
    return rotated(intersect(circle(x, y - off, big), circle(x, y + off, big)), x, y, a);
}

const rgba autumn_leaves[] = {rgb(235, 120, 35), rgb(200, 60, 35), rgb(240, 185, 50), rgb(160, 90, 45),
                              rgb(220, 90, 40)};

// Fallen leaves scattered over rows y0..y1, each turned by up to tilt, with a
// light vein along its middle and a rim: ink on a band (a sprite's edge), a
// darker shade of the leaf in a fill.
struct leaf_scatter { uint32_t seed; int count; float y0, y1, size, tilt; bool wrap_y, inked; };

void strew_leaves(canvas &c, const leaf_scatter &s)
{
    lcg r(s.seed);
    for (int k = 0; k < s.count; k++) {
        float x = r.range(0, 256), y = r.range(s.y0, s.y1), a = r.range(-s.tilt, s.tilt);
        float l = r.range(0.7f, 1.2f) * s.size, w = l * r.range(0.38f, 0.5f);
        rgba col = mix(autumn_leaves[k % 5], rgb(120, 70, 40), r.range(0, 0.35f));
        rgba edge = s.inked ? ink : shade(col, 0.55f);
        tiled(c, [=](float px, float py) { return leaf_shape(px, py, l, w, a); },
              [=](float, float, float d) { return d > -0.9f ? edge : col; }, x, y, s.wrap_y, l + 4);
        float ca = std::cos(a) * l * 0.8f, sa = std::sin(a) * l * 0.8f;
        tiled(c, [=](float px, float py) { return capsule(px - ca, py - sa, px + ca, py + sa, 0.45f); },
              flat(shade(col, 1.25f)), x, y, s.wrap_y, l + 4);
    }
}

// Forest floor: dark humus under a layer of fallen leaves and twigs.
void fill_leaf_litter(canvas &c)
{
    each_pixel(c, [](float x, float y) {
        float n = n01(x, y, 256, 4, 5, 111), m = n01(x, y, 256, 16, 2, 112);
        return mix(mix(rgb(92, 58, 34), rgb(128, 84, 44), n), rgb(70, 44, 28), m * 0.4f);
    });
    lcg r(113);
    for (int k = 0; k < 10; k++) {   // twigs
        float x = r.range(0, 256), y = r.range(0, 256), a = r.range(0, pi), l = r.range(10, 22);
        tiled(c, [=](float px, float py) {
            return capsule(px, py, px + std::cos(a) * l, py + std::sin(a) * l, 1.2f);
        }, flat(rgb(62, 40, 24)), x, y, true, l + 4);
    }
    strew_leaves(c, {114, 190, 0, 256, 7.5f, pi, true, false});
    strew_leaves(c, {115, 150, 0, 256, 5, pi, true, false});
}

// Sandstone: strata of uneven thickness in warm tones, gently warped, each
// with a lit top edge, a dark seam under it, cross-bedding in the thick ones
// and a couple of joints across it.
void fill_sandstone(canvas &c)
{
    const float thick[] = {28, 14, 22, 18, 30, 12, 24, 16, 26, 20, 34, 12};   // 256 in all
    const rgba tones[] = {rgb(214, 142, 90), rgb(234, 178, 120), rgb(196, 118, 76),
                          rgb(242, 198, 144), rgb(206, 130, 84), rgb(226, 162, 108)};
    const int strata = sizeof thick / sizeof thick[0];
    each_pixel(c, [&](float x, float y) {
        float n = n01(x, y, 256, 4, 4, 121);
        float v = std::fmod(y + 3 * std::sin(x / 256 * 2 * pi + 1) + 10 * (n - 0.5f) + 256, 256.0f);
        int k = 0;
        float top = 0;
        while (k + 1 < strata && v >= top + thick[k]) top += thick[k++];
        float yl = v - top, h = thick[k];
        rgba col = tones[(k * 5) % 6];
        lcg grain((uint32_t)x * 977 + (uint32_t)y * 131);
        col = shade(col, 0.9f + 0.16f * n01(x, y * 4, 256, 32, 2, 122) + 0.06f * grain.uniform());
        col = mix(col, rgb(160, 96, 70), 0.3f * smooth(0.55f, 0.8f, n01(x, y, 256, 8, 3, 123)));   // weathered patches
        if (h >= 24 && std::fmod(x + 2 * yl + 256, 16.0f) < 1.2f) col = shade(col, 0.9f);   // cross-bedding
        if (yl < 2) col = shade(col, 1.14f);
        if (h - yl < 1.6f) col = shade(col, 0.62f);
        for (int j = 0; j < 2; j++) {   // joints, dark with a lit lip on their left
            float jx = (k * 97 + j * 128) % 256 + 40 * std::sin(k * 2.3f + j) + 2 * (yl / h - 0.5f) + 4 * (n - 0.5f);
            float d = std::fmod(x - jx + 512, 256.0f);
            if (d < 1.4f) return shade(col, 0.58f);
            if (d > 254.6f) return shade(col, 1.12f);
        }
        return col;
    });
}

// Ashlar: large dressed blocks in courses, bevelled towards the light,
// with a tooled face.
void fill_ashlar(canvas &c)
{
    const float course = 64;
    // Each course's joints (x positions in 0..256), staggered.
    const float joints[4][3] = {{0, 96, 176}, {48, 128, 208}, {16, 112, 192}, {64, 144, 224}};
    each_pixel(c, [&](float x, float y) {
        int row = (int)(y / course) % 4;
        float fy = std::fmod(y, course);
        float left = -1e9f, right = 1e9f;
        int block = 0;
        for (int k = 0; k < 3; k++)
            for (int wrap = -1; wrap <= 1; wrap++) {
                float j = joints[row][k] + wrap * 256.0f;
                if (j <= x && j > left) { left = j; block = k; }
                if (j > x && j < right) right = j;
            }
        float fx = x - left, bw = right - left;
        lcg r(row * 11 + block * 3 + 7);
        rgba base = mix(rgb(150, 142, 130), rgb(184, 176, 160), r.uniform());
        float n = n01(x, y, 256, 8, 3, 131), tool = n01(x, y, 256, 64, 1, 132);
        base = mix(base, rgb(124, 118, 112), n * 0.4f);
        base = shade(base, 0.94f + 0.1f * tool);
        float d = std::min(std::min(fx, bw - fx), std::min(fy, course - fy));
        if (d < 2.0f) return rgb(62, 58, 56);
        // Bevel: lit on the top and left, shaded on the bottom and right.
        const float bevel = 7;
        if (fy < bevel && fy <= fx && fy <= bw - fx) return shade(base, 1.22f);
        if (fx < bevel && fx <= course - fy) return shade(base, 1.12f);
        if (course - fy < bevel && course - fy <= bw - fx) return shade(base, 0.72f);
        if (bw - fx < bevel) return shade(base, 0.82f);
        return base;
    });
}

// Moonlit earth: blue-black soil with pebbles catching the moon.
void fill_night_soil(canvas &c)
{
    each_pixel(c, [](float x, float y) {
        float n = n01(x, y, 256, 4, 5, 141), m = n01(x, y, 256, 16, 2, 142);
        float band = 0.5f + 0.5f * std::sin((y / 256) * 2 * pi * 3 + n * 4);
        return mix(mix(mix(rgb(38, 36, 58), rgb(62, 56, 80), n), rgb(30, 28, 46), band * 0.3f),
                   rgb(48, 58, 84), m * 0.3f);
    });
    lcg r(143);
    for (int k = 0; k < 6; k++) {   // roots: three bending pieces, thinning out
        float x = r.range(0, 256), y = r.range(0, 256), a = r.range(0, 2 * pi), bend = r.range(-0.5f, 0.5f);
        for (int p = 0; p < 3; p++) {
            float ang = a + bend * p, len = 10 - 2 * p, w = 1.5f - 0.35f * p;
            tiled(c, [=](float px, float py) { return capsule(px, py, px + std::cos(ang) * len, py + std::sin(ang) * len, w); },
                  flat(rgb(22, 20, 32)), x, y, true, 16);
            x += std::cos(ang) * len;
            y += std::sin(ang) * len;
        }
    }
    for (int k = 0; k < 36; k++) {   // pebbles lit from the upper left by the moon
        float x = r.range(0, 256), y = r.range(0, 256), rr = r.range(2.5f, 6);
        rgba col = mix(rgb(96, 104, 136), rgb(70, 72, 98), r.uniform());
        tiled(c, [=](float px, float py) { return ellipse(px, py, rr * 1.3f, rr); },
              [=](float px, float py, float d) { return lit(col, x, y, rr)(px, py, d); }, x, y, true, rr * 1.3f + 3);
    }
}

// ---- border bands ------------------------------------------------------------
// Picture row 0 is the band's outer edge (the side the player walks on), the
// middle row the terrain surface. Along x the band repeats every 256 texels.

// The lower edge of a turf strip: a scalloped line that repeats along x.
float scallop(float x, float base, float depth, int count)
{
    float t = x / 256 * count;
    float f = t - std::floor(t);
    return base + depth * std::sqrt(std::max(0.0f, 1 - (2 * f - 1) * (2 * f - 1)));
}

void grass_blades(canvas &c, uint32_t seed, float surface, float tall, int count, rgba light, rgba dark)
{
    lcg r(seed);
    for (int k = 0; k < count; k++) {
        float x = r.range(0, 256), l = r.range(tall * 0.5f, tall), a = r.range(-0.45f, 0.45f);
        float w = r.range(1.6f, 2.6f);
        rgba col = mix(dark, light, r.uniform());
        auto make = [=](float px, float py) {
            return polygon({px - w, py + 4, px + w, py + 4, px + std::sin(a) * l, py - std::cos(a) * l});
        };
        tiled(c, [=](float px, float py) { sdf_fn s = make(px, py); return [s](float X, float Y) { return s(X, Y) - 1.2f; }; },
              flat(ink), x, surface, false);
        tiled(c, make, flat(col), x, surface, false);
    }
}

void turf(canvas &c, float top, float bottom, int count, rgba hi, rgba lo)
{
    auto shape = [=](float x, float y) {
        float b = scallop(x, bottom - 6, 6, count);
        return std::max(top - y, y - b);
    };
    fill(c, [=](float x, float y) { return shape(x, y) - 2.0f; }, flat(ink));
    fill(c, shape, [=](float x, float y, float d) {
        float n = n01(x, y, 256, 8, 3, 7);
        rgba col = mix(hi, lo, clampf((y - top) / (bottom - top), 0, 1));
        return mix(shade(col, 0.8f), mix(col, shade(col, 0.85f), n), smooth(0, 3, -d));
    });
}

void band_grass(canvas &c)
{
    turf(c, 30, 50, 8, rgb(120, 210, 70), rgb(60, 140, 40));
    grass_blades(c, 3, 33, 26, 70, rgb(150, 230, 90), rgb(60, 150, 40));
}

void band_flowers(canvas &c)
{
    band_grass(c);
    lcg r(4);
    const rgba petals[] = {rgb(255, 90, 110), rgb(255, 220, 60), rgb(250, 250, 255), rgb(170, 120, 255)};
    for (int k = 0; k < 9; k++) {
        float x = 14 + k * 28.4f + r.range(-5, 5), h = r.range(10, 22);
        rgba col = petals[k % 4];
        tiled(c, [=](float px, float py) { return capsule(px, py, px, py - h, 1.2f); }, flat(rgb(50, 120, 40)), x, 34, false);
        for (int p = 0; p < 5; p++) {
            float a = p * 2 * pi / 5;
            tiled(c, [=](float px, float py) { return circle(px + std::cos(a) * 3.5f, py - h + std::sin(a) * 3.5f, 3.0f); },
                  [=](float, float, float d) { return d > -0.8f ? ink : col; }, x, 34, false);
        }
        tiled(c, [=](float px, float py) { return circle(px, py - h, 2.2f); }, flat(rgb(250, 200, 40)), x, 34, false);
    }
}

// A rocky ledge: a row of boulders standing on the surface over a grey rock
// face with cracks. 128 texels tall: 0.256 world units each side.
void band_rock(canvas &c)
{
    turf(c, 60, 104, 6, rgb(165, 160, 170), rgb(105, 102, 118));
    lcg r(12);
    for (int k = 0; k < 14; k++) {   // cracks in the face
        float x = r.range(0, 256), y = r.range(70, 92), a = r.range(0.9f, 2.2f);
        tiled(c, [=](float px, float py) { return capsule(px, py, px + std::cos(a) * 9, py + std::sin(a) * 9, 1.0f); },
              flat(rgb(80, 78, 92)), x, y, false);
    }
    for (int k = 0; k < 6; k++) {   // boulders along the top, outlined, overlapping
        float x = k * 42.7f + r.range(-6, 6), rr = r.range(15, 24), y = 66 - rr * 0.45f;
        rgba col = mix(rgb(150, 148, 162), rgb(190, 186, 190), r.uniform());
        tiled(c, [=](float px, float py) { return ellipse(px, py, rr * 1.35f + 2.5f, rr + 2.5f); }, flat(ink), x, y, false);
        tiled(c, [=](float px, float py) { return ellipse(px, py, rr * 1.35f, rr); },
              [=](float px, float py, float d) { return lit(col, x, y, rr)(px, py, d); }, x, y, false);
        tiled(c, [=](float px, float py) { return ellipse(px - rr * 0.45f, py - rr * 0.45f, rr * 0.32f, rr * 0.14f); },
              flat(shade(col, 1.3f)), x, y, false);
    }
}

void band_sand(canvas &c)
{
    auto shape = [](float x, float y) {
        float top = 12 + 3 * std::sin(x / 256 * 2 * pi * 3) + 1.5f * std::sin(x / 256 * 2 * pi * 7);
        float bottom = scallop(x, 22, 4, 6);
        return std::max(top - y, y - bottom);
    };
    fill(c, [=](float x, float y) { return shape(x, y) - 1.5f; }, flat(rgb(150, 110, 60)));
    fill(c, shape, [](float x, float y, float) {
        lcg r((uint32_t)x * 977 + (uint32_t)y * 131);
        return shade(mix(rgb(255, 235, 170), rgb(225, 185, 110), clampf((y - 10) / 16, 0, 1)), 1 - r.uniform() * 0.1f);
    });
    lcg r(13);
    for (int k = 0; k < 8; k++) {   // little shells and stones on the crest
        float x = r.range(0, 256);
        rgba col = k % 2 ? rgb(255, 200, 190) : rgb(190, 180, 170);
        tiled(c, [](float px, float py) { return ellipse(px, py, 3, 2); },
              [=](float, float, float d) { return d > -0.7f ? rgb(120, 90, 60) : col; }, x, 14, false);
    }
}

// Blended base: a grassy crest on rich soil. The game draws the lower half
// fading out towards the ground, so the soil runs to the bottom row.
void band_blend(canvas &c)
{
    const float surface = 49;       // the terrain edge sits at 0.3 / 1.3 of the upper half
    fill(c, box(-10, surface - 4, 266, 140, 0), [=](float x, float y, float) {
        float n = n01(x, y, 256, 8, 4, 17);
        rgba soil = mix(rgb(135, 88, 50), rgb(100, 64, 38), n);
        rgba grass = mix(rgb(110, 200, 60), rgb(70, 150, 45), n);
        float g = smooth(surface + 12 + 5 * std::sin(x / 256 * 2 * pi * 9), surface + 18 + 5 * std::sin(x / 256 * 2 * pi * 9), y);
        return mix(grass, soil, g);
    });
    lcg r(14);
    for (int k = 0; k < 30; k++) {   // pebbles in the soil
        float x = r.range(0, 256), y = r.range(surface + 24, 124), rr = r.range(2, 4.5f);
        tiled(c, [=](float px, float py) { return ellipse(px, py, rr * 1.3f, rr); },
              [=](float, float, float d) { return d > -0.8f ? rgb(70, 45, 28) : rgb(170, 150, 130); }, x, y, false);
    }
    fill(c, [=](float x, float y) { return std::fabs(y - (surface - 3)) - 1.2f + 0 * x; }, flat(rgb(50, 110, 35)));
    grass_blades(c, 15, surface - 2, 30, 80, rgb(150, 230, 90), rgb(60, 150, 40));
}

// Guide arrows floating above the surface, pointing along the border.
void band_arrow(canvas &c)
{
    for (int k = 0; k < 2; k++) {
        float x = 64 + k * 128;
        sdf_fn arrow = polygon({x - 40, 8, x + 4, 8, x + 4, 0, x + 36, 18, x + 4, 36, x + 4, 28, x - 40, 28});
        outline(c, arrow, ink, 2.5f);
        fill(c, arrow, vgrad(rgb(255, 245, 140), rgb(255, 150, 30), 0, 36));
        fill(c, capsule(x - 36, 12, x + 2, 12, 1.5f), flat(rgb(255, 255, 220)));
    }
}

void band_snow(canvas &c)
{
    auto cap = [](float x, float y) {
        float top = 16 + 4 * std::sin(x / 256 * 2 * pi * 4) + 2 * std::sin(x / 256 * 2 * pi * 9);
        float bottom = scallop(x, 42, 6, 10);
        return std::max(top - y, y - bottom);
    };
    lcg r(16);
    for (int k = 0; k < 12; k++) {   // icicles hanging from the cap
        float x = r.range(0, 256), l = r.range(8, 18);
        tiled(c, [=](float px, float py) { return polygon({px - 3, py, px + 3, py, px, py + l}); },
              [=](float, float, float d) { return d > -1 ? rgb(90, 140, 200) : rgb(200, 235, 255); }, x, 40, false);
    }
    fill(c, [=](float x, float y) { return cap(x, y) - 2; }, flat(rgb(90, 120, 170)));
    fill(c, cap, [](float, float y, float d) {
        rgba col = mix(rgb(255, 255, 255), rgb(200, 220, 245), clampf((y - 16) / 28, 0, 1));
        return mix(shade(col, 0.9f), col, smooth(0, 3, -d));
    });
}

void band_planks(canvas &c)
{
    sdf_fn board = box(-10, 26, 266, 42, 0);
    fill(c, [board](float x, float y) { return board(x, y) - 2; }, flat(ink));
    fill(c, board, [](float x, float y, float) {
        float grain = 0.5f + 0.5f * std::sin(y * 1.3f + 3 * std::sin(x / 256 * 2 * pi * 3));
        rgba col = mix(rgb(200, 140, 80), rgb(170, 112, 60), grain);
        if (std::fmod(x, 64.0f) < 2) return rgb(90, 55, 30);
        return y < 29 ? shade(col, 1.15f) : col;
    });
    for (int k = 0; k < 4; k++)
        for (int e = 0; e < 2; e++) {
            float x = k * 64 + (e ? 58 : 6);
            fill(c, circle(x, 34, 2.2f), lit(rgb(170, 170, 180), x, 34, 2.2f));
        }
    roll(c, 32, 0);
}

// Autumn grass: yellowing turf and blades, strewn with fallen leaves.
void band_autumn(canvas &c)
{
    turf(c, 30, 50, 8, rgb(150, 170, 70), rgb(100, 110, 45));
    grass_blades(c, 151, 33, 24, 60, rgb(200, 190, 90), rgb(120, 125, 50));
    strew_leaves(c, {152, 26, 26, 40, 9, 0.5f, false, true});
}

// A castle floor's edge: a dressed stone lip with a red runner lying on it,
// gold-edged and patterned, its fringe hanging over the front.
void band_carpet(canvas &c)
{
    sdf_fn lip = box(-10, 31, 266, 50, 0);
    fill(c, [lip](float x, float y) { return lip(x, y) - 2; }, flat(ink));
    fill(c, lip, [](float x, float y, float) {
        float n = n01(x, y, 256, 16, 2, 161);
        rgba col = mix(rgb(150, 142, 132), rgb(120, 114, 108), n);
        if (std::fmod(x + 40, 128.0f) < 2) return rgb(62, 58, 56);
        if (y > 46) return shade(col, 0.72f);
        return y < 35 ? shade(col, 1.2f) : col;
    });
    sdf_fn runner = box(-10, 22, 266, 33, 0);
    fill(c, [runner](float x, float y) { return runner(x, y) - 1.5f; }, flat(rgb(60, 14, 20)));
    fill(c, runner, [](float x, float y, float) {
        if (y < 24.5f || y > 30.5f) return rgb(230, 180, 60);          // gold edges
        float cx = std::fmod(x, 32.0f) - 16;                          // diamonds along the middle
        float diamond = std::fabs(cx) / 2.2f + std::fabs(y - 27.5f);
        if (diamond < 2.2f) return rgb(240, 200, 90);
        rgba red = mix(rgb(190, 30, 40), rgb(150, 20, 32), 0.5f + 0.5f * std::sin(x * 0.9f));
        return y < 26 ? shade(red, 1.15f) : red;
    });
    for (int k = 0; k < 64; k++) {   // fringe threads over the lip's face
        float x = k * 4 + 2;
        fill(c, capsule(x, 33, x, 37, 0.7f), flat(rgb(220, 170, 60)));
    }
}

// Grass by moonlight: blue-green turf with pale tips.
void band_night_grass(canvas &c)
{
    turf(c, 30, 50, 8, rgb(52, 96, 96), rgb(26, 52, 62));
    grass_blades(c, 171, 33, 26, 70, rgb(110, 170, 170), rgb(30, 70, 72));
    lcg r(172);
    for (int k = 0; k < 7; k++) {   // a few pale night flowers
        float x = 18 + k * 36.6f + r.range(-6, 6), h = r.range(8, 16);
        tiled(c, [=](float px, float py) { return capsule(px, py, px, py - h, 1.0f); }, flat(rgb(30, 70, 72)), x, 34, false, 24);
        tiled(c, [=](float px, float py) { return circle(px, py - h, 3.0f); },
              [=](float, float, float d) { return d > -0.8f ? ink : rgb(220, 230, 255); }, x, 34, false, 24);
    }
}

// ---- background ----------------------------------------------------------------
// 1024 x 512, repeating along x. The screen shows half of it at once, the
// horizon near the middle row; higher up the sky deepens. On the play screen
// a texel is 1.5 times taller than wide (640 pixels show 512 columns, 480
// show 256 rows), so round things are painted that much flatter.
const float bg_squash = 1.5f;

float hill_line(float x, float base, float amp, uint32_t seed)
{
    lcg r(seed);
    float y = base;
    for (int k = 1; k <= 5; k++) {
        int freq = (int)r.range(1, 7);
        float phase = r.range(0, 2 * pi);
        y -= amp / k * (0.6f + 0.4f * std::sin(x / 1024 * 2 * pi * freq + phase));
    }
    return y;
}

// Cloud colours: the lit top and the shaded underside.
struct cloud_look { rgba top, bottom; float stretch; };
const cloud_look white_cloud = {rgb(255, 255, 255), rgb(200, 215, 240), 1};

void cloud(canvas &c, float x, float y, float s, uint32_t seed, const cloud_look &look = white_cloud)
{
    lcg r(seed);
    std::vector<float> cx, cy, cr;
    for (int k = 0; k < 6; k++) {
        cx.push_back(r.range(-40, 40) * s * look.stretch);
        cy.push_back(r.range(-8, 6) * s);
        cr.push_back(r.range(14, 26) * s);
    }
    float reach = 90 * s * look.stretch;
    for (int dx = -1; dx <= 1; dx++) {
        float ox = x + dx * c.w;
        auto shape = [=](float px, float py) {
            float d = (py - (y + 12 * s / bg_squash)) * bg_squash;   // flat underside
            float m = 1e9f;
            for (size_t k = 0; k < cx.size(); k++)
            m = std::min(m, std::hypot((px - ox - cx[k]) / look.stretch, (py - y - cy[k]) * bg_squash) - cr[k]);
            return std::max(m, d);
        };
        fill(c, shape, [=](float, float py, float d) {
            rgba col = mix(look.top, look.bottom, clampf((py - (y - 20 * s)) / (34 * s), 0, 1));
            return mix(shade(col, 0.93f), col, smooth(0, 4, -d));
        }, ox - reach, y - 60 * s, ox + reach, y + 30 * s);
    }
}

// count clouds scattered over rows y0..y1, sized s0..s1.
void cloud_row(canvas &c, uint32_t seed, int count, float y0, float y1, float s0, float s1, uint32_t first,
               const cloud_look &look = white_cloud)
{
    lcg r(seed);
    for (int k = 0; k < count; k++) cloud(c, r.range(0, 1024), r.range(y0, y1), r.range(s0, s1), first + k, look);
}

// A range of hills along hill_line, its colour deepening downwards and its
// crest lit by rim (1: no light on the crest).
struct hill_range { float base, amp; uint32_t seed; rgba top, bottom; float rim; };

void hills(canvas &c, const hill_range &rg)
{
    auto shape = [rg](float x, float y) { return hill_line(x, rg.base, rg.amp, rg.seed) - y; };
    fill(c, shape, [rg](float, float y, float d) {
        rgba col = mix(rg.top, rg.bottom, clampf((y - rg.base + rg.amp) / 200, 0, 1));
        return mix(shade(col, rg.rim), col, smooth(0, 6, -d));
    });
}

// A sun or moon: a glow of radius glow, then the disc of radius r, both
// flattened for the screen. A soft glow fades out to nothing at its rim.
void sky_light(canvas &c, float x, float y, float r, float glow, rgba disc, rgba halo, float halo_alpha,
               bool soft = false)
{
    fill(c, ellipse(x, y, glow, glow / bg_squash), [=](float px, float py, float) {
        rgba h = halo;
        float t = std::hypot(px - x, (py - y) * bg_squash) / glow;
        h.a = (soft ? (1 - t) * (1 - t) : clampf(1.2f - t, 0, 1)) * halo_alpha;
        return h;
    });
    fill(c, ellipse(x, y, r, r / bg_squash), flat(disc));
}

// Round-crowned trees standing on a range, crowns in turn from the palette.
void crowned_trees(canvas &c, const hill_range &rg, uint32_t seed, int count, rgba trunk,
                   const std::vector<rgba> &crowns)
{
    lcg t(seed);
    for (int k = 0; k < count; k++) {
        float x = t.range(0, 1024), s = t.range(0.6f, 1.1f);
        float y = hill_line(x, rg.base, rg.amp, rg.seed) + 6;
        rgba crown = crowns[k % crowns.size()];
        for (int dx = -1; dx <= 1; dx++) {
            float ox = x + dx * 1024;
            fill(c, capsule(ox, y, ox, y - 10 * s, 2.5f * s), flat(trunk), ox - 30, y - 60, ox + 30, y + 10);
            fill(c, ellipse(ox, y - 14 * s, 11 * s, 11 * s / bg_squash), lit(crown, ox, y - 14 * s, 11 * s),
                 ox - 30, y - 60, ox + 30, y + 10);
        }
    }
}

// A vertical sky gradient through colour stops (row, colour), flat past both ends.
struct sky_stop { float y; rgba col; };

void sky_gradient(canvas &c, const std::vector<sky_stop> &stops)
{
    each_pixel(c, [&stops](float, float y) {
        if (y <= stops.front().y) return stops.front().col;
        for (size_t k = 1; k < stops.size(); k++)
            if (y < stops[k].y) {
                float t = (y - stops[k - 1].y) / (stops[k].y - stops[k - 1].y);
                return mix(stops[k - 1].col, stops[k].col, t * t * (3 - 2 * t));
            }
        return stops.back().col;
    });
}

void background(canvas &c)
{
    each_pixel(c, [](float, float y) {
        if (y < 300) return mix(rgb(52, 100, 196), rgb(196, 228, 250), std::pow(y / 300, 1.4f));
        return rgb(196, 228, 250);
    });
    // Sun glow, far clouds, then three ranges of hills from far to near.
    sky_light(c, 700, 150, 18, 44, rgb(255, 244, 190), rgb(255, 250, 215), 0.5f);
    cloud_row(c, 20, 9, 60, 240, 0.6f, 1.3f, 200);
    const hill_range ranges[] = {
        {290, 70, 31, rgb(150, 190, 200), rgb(170, 205, 210), 1.12f},
        {340, 60, 32, rgb(110, 175, 120), rgb(95, 150, 105), 1.12f},
        {400, 50, 33, rgb(95, 170, 70), rgb(60, 120, 50), 1.12f},
    };
    for (const hill_range &rg : ranges) hills(c, rg);
    // Trees on the near hills: dark round crowns, periodic along x.
    crowned_trees(c, ranges[2], 21, 26, rgb(90, 70, 50), {rgb(50, 120, 60)});
}

// An autumn evening: a low orange sun behind far hills, long pink clouds,
// woods in red and gold on the near hills.
void sky_dusk(canvas &c)
{
    sky_gradient(c, {{0, rgb(58, 52, 120)}, {150, rgb(150, 92, 140)}, {240, rgb(236, 136, 110)},
                     {300, rgb(255, 190, 110)}, {340, rgb(255, 214, 140)}});
    sky_light(c, 420, 214, 30, 150, rgb(255, 232, 160), rgb(255, 206, 120), 0.7f, true);
    cloud_row(c, 30, 7, 70, 230, 0.4f, 0.8f, 300, {rgb(255, 176, 150), rgb(150, 96, 140), 2.2f});
    const hill_range ranges[] = {
        {300, 60, 34, rgb(176, 112, 140), rgb(190, 130, 140), 1.15f},
        {350, 60, 35, rgb(150, 84, 70), rgb(128, 70, 62), 1.2f},
        {410, 50, 36, rgb(140, 88, 50), rgb(96, 58, 38), 1.2f},
    };
    for (const hill_range &rg : ranges) hills(c, rg);
    crowned_trees(c, ranges[2], 38, 30, rgb(70, 44, 30),
                  {rgb(230, 120, 40), rgb(190, 60, 40), rgb(232, 176, 50), rgb(200, 96, 44)});
}

// Stars over the sky's upper rows: most faint points, a few bright ones with
// a glint across them.
void stars(canvas &c, uint32_t seed, int count, float y1)
{
    lcg r(seed);
    for (int k = 0; k < count; k++) {
        float x = r.range(0, 1024), y = r.range(0, y1), b = r.range(0.35f, 1);
        float size = r.range(0.6f, 1.3f) + (k % 13 == 0 ? 0.8f : 0);
        rgba col = mix(rgb(150, 170, 230), k % 3 ? rgb(255, 255, 255) : rgb(255, 240, 190), b);
        for (int dx = -1; dx <= 1; dx++) {
            float ox = x + dx * 1024;
            if (k % 13 == 0)
                fill(c, unite(capsule(ox - 5, y, ox + 5, y, 0.5f), capsule(ox, y - 3.5f, ox, y + 3.5f, 0.5f)),
                     flat(rgb(220, 230, 255, 0.7f)), ox - 8, y - 8, ox + 8, y + 8);
            fill(c, ellipse(ox, y, size, size / bg_squash + 0.3f), flat(col), ox - 4, y - 4, ox + 4, y + 4);
        }
    }
}

// Night: deep blue, a full moon with its halo, stars, and dark hills whose
// crests catch the moonlight; a few lit windows far off.
void sky_night(canvas &c)
{
    sky_gradient(c, {{0, rgb(8, 12, 36)}, {200, rgb(22, 34, 78)}, {340, rgb(44, 62, 112)}});
    stars(c, 40, 260, 300);
    sky_light(c, 260, 120, 26, 110, rgb(246, 242, 220), rgb(170, 190, 240), 0.5f, true);
    lcg m(41);
    for (int k = 0; k < 5; k++) {   // the moon's seas
        float x = 260 + m.range(-14, 14), y = 120 + m.range(-9, 9), rr = m.range(3, 7);
        fill(c, ellipse(x, y, rr, rr / bg_squash), flat(rgb(214, 210, 196, 0.8f)), x - 10, y - 10, x + 10, y + 10);
    }
    cloud_row(c, 42, 4, 150, 250, 0.4f, 0.7f, 400, {rgb(90, 100, 140), rgb(40, 48, 86), 1.8f});
    const hill_range ranges[] = {
        {300, 70, 43, rgb(44, 58, 100), rgb(50, 66, 108), 1.08f},
        {350, 60, 44, rgb(30, 42, 76), rgb(26, 36, 66), 1.1f},
        {410, 50, 45, rgb(20, 30, 54), rgb(12, 18, 36), 1.12f},
    };
    hills(c, ranges[0]);
    hills(c, ranges[1]);
    lcg w(46);
    for (int k = 0; k < 14; k++) {   // lit windows on the middle hills
        float x = w.range(0, 1024), y = hill_line(x, 350, 60, 44) + w.range(6, 20);
        for (int dx = -1; dx <= 1; dx++)
            fill(c, box(x + dx * 1024 - 1.5f, y - 1.2f, x + dx * 1024 + 1.5f, y + 1.2f, 0.3f),
                 flat(rgb(255, 214, 120)), x + dx * 1024 - 4, y - 4, x + dx * 1024 + 4, y + 4);
    }
    hills(c, ranges[2]);
    crowned_trees(c, ranges[2], 47, 26, rgb(10, 14, 26), {rgb(18, 30, 44), rgb(16, 26, 40)});
}

// ---- the hall: the far wall of a great castle hall -------------------------
// Four bays across the picture (so it repeats), each a tall arched window
// between two pillars, under a vault. Dim, so ground drawn over it reads.
const float bay_w = 256, window_half = 34, window_top = 168, window_sill = 370, arch_spring = 120;

sdf_fn window_opening(float cx)
{
    return unite(box(cx - window_half, window_top, cx + window_half, window_sill, 0),
                 ellipse(cx, window_top, window_half, window_half / bg_squash * 1.4f));
}

// Stone courses of the wall, lit from the windows' moonlight and darker up
// under the vault.
rgba hall_wall(float x, float y)
{
    const float course = 16, block = 44;
    int row = (int)(y / course);
    float fx = std::fmod(x + (row % 2) * block / 2, block), fy = std::fmod(y, course);
    lcg r(row * 37 + (int)((x + (row % 2) * block / 2) / block) * 11 + 5);
    rgba base = mix(rgb(78, 72, 76), rgb(100, 92, 90), r.uniform());
    base = mix(base, rgb(62, 58, 64), n01(x, y, 1024, 32, 3, 181) * 0.5f);
    float light = 0.55f + 0.45f * smooth(40, 300, y) - 0.2f * smooth(430, 512, y);
    if (fx < 1.5f || fy < 1.5f) return shade(rgb(40, 36, 40), light);
    if (fy < 4) base = shade(base, 1.08f);
    return shade(base, light);
}

rgba window_view(float x, float y)
{
    rgba sky = mix(rgb(14, 20, 54), rgb(46, 64, 118), smooth(window_top - 30, window_sill, y));
    // Leading: a lattice of small diamond panes.
    float u = (x + y * bg_squash * 0.5f) / 12, v = (x - y * bg_squash * 0.5f) / 12;
    float lu = std::fabs(u - std::round(u)), lv = std::fabs(v - std::round(v));
    if (std::min(lu, lv) < 0.06f) return rgb(24, 26, 36);
    return sky;
}

void sky_hall(canvas &c)
{
    each_pixel(c, hall_wall);
    for (int b = 0; b < 4; b++) {
        float cx = bay_w * b + bay_w / 2;
        sdf_fn hole = window_opening(cx);
        // Dressed surround, then the night seen through leaded panes.
        fill(c, [hole](float x, float y) { return hole(x, y) - 9; }, [](float x, float y, float d) {
            rgba col = rgb(118, 108, 102);
            float voussoir = std::fmod(std::atan2(y - window_top, x) * 40 + 100, 1.0f);
            if (y < window_top && voussoir < 0.08f) return rgb(52, 48, 50);
            return shade(col, d < -6 ? 1.15f : 0.9f);
        }, cx - 60, 60, cx + 60, window_sill + 14);
        fill(c, hole, [](float x, float y, float) { return window_view(x, y); }, cx - 40, 100, cx + 40, window_sill);
        lcg st(190 + b);
        for (int k = 0; k < 8; k++) {   // stars in the panes
            float sx = cx + st.range(-28, 28), sy = st.range(window_top - 30, 300);
            fill(c, intersect(hole, ellipse(sx, sy, 1.1f, 0.9f)), flat(rgb(240, 240, 255)), sx - 3, sy - 3, sx + 3, sy + 3);
        }
        if (b == 1) {   // the moon in one window
            fill(c, intersect(hole, ellipse(cx + 12, window_top + 10, 11, 11 / bg_squash)),
                 flat(rgb(246, 242, 220)), cx - 10, window_top - 10, cx + 30, window_top + 30);
        }
        // Mullion, transom, and the sill's lit ledge.
        fill(c, box(cx - 3, window_top - 20, cx + 3, window_sill, 1), flat(rgb(96, 88, 84)));
        fill(c, box(cx - window_half, 262, cx + window_half, 268, 1), flat(rgb(96, 88, 84)));
        fill(c, box(cx - window_half - 14, window_sill, cx + window_half + 14, window_sill + 10, 2),
             vgrad(rgb(150, 140, 130), rgb(80, 74, 72), window_sill, window_sill + 10));
        // Moonlight falling through onto the floor below the window.
        fill(c, box(cx - window_half - 20, window_sill + 10, cx + window_half + 20, 512, 0), [=](float x, float y, float) {
            float k = (1 - std::fabs(x - cx) / (window_half + 20)) * (1 - (y - window_sill) / 200);
            return rgb(150, 170, 230, clampf(k, 0, 1) * 0.12f);
        });
    }
    // The vault: between the pillars' capitals the wall arches away into shadow.
    for (int b = 0; b <= 4; b++) {
        float px = bay_w * b;
        for (int side = -1; side <= 1; side += 2) {
            float ax = px + side * bay_w / 2;
            sdf_fn rib = ellipse(ax, arch_spring, bay_w / 2, 90);
            fill(c, [rib](float x, float y) { return y > arch_spring ? 1e9f : -rib(x, y) - 0.0f; },
                 flat(rgb(20, 18, 26, 0.55f)), ax - bay_w / 2, 0, ax + bay_w / 2, arch_spring);
            fill(c, [rib](float x, float y) { return y > arch_spring ? 1e9f : std::fabs(rib(x, y)) - 4; },
                 [](float, float y, float) { return shade(rgb(104, 96, 92), 0.6f + 0.4f * y / arch_spring); },
                 ax - bay_w / 2 - 6, 0, ax + bay_w / 2 + 6, arch_spring + 2);
        }
    }
    // Pillars: round shafts lit from the left, with a capital and a base.
    for (int b = 0; b <= 4; b++) {
        float px = bay_w * b, half = 24;
        fill(c, box(px - half, 0, px + half, 512, 0), [=](float x, float y, float) {
            float u = (x - px) / half;                    // -1 .. 1 across the shaft
            float round = std::sqrt(std::max(0.0f, 1 - u * u));
            rgba col = mix(rgb(70, 64, 66), rgb(128, 118, 110), round * (0.8f - 0.3f * u));
            float ring = std::fmod(y, 44.0f);
            if (ring < 1.5f) col = shade(col, 0.7f);
            return shade(col, 0.6f + 0.4f * smooth(0, 260, y));
        });
        fill(c, box(px - half - 10, arch_spring - 6, px + half + 10, arch_spring + 12, 2),
             vgrad(rgb(140, 130, 120), rgb(72, 66, 66), arch_spring - 6, arch_spring + 12));
        fill(c, box(px - half - 12, 440, px + half + 12, 470, 2), vgrad(rgb(120, 110, 104), rgb(56, 52, 54), 440, 470));
    }
}

// The desert: a pale, hot sky with a white sun, flat-topped mesas in layered
// red rock, and dunes in front.
float mesa_line(float x, uint32_t seed, int count, float base, float height)
{
    lcg r(seed);
    float top = base;
    for (int k = 0; k < count; k++) {
        float mx = r.range(0, 1024), half = r.range(40, 110), cliff = r.range(6, 12), h = r.range(0.5f, 1) * height;
        for (int dx = -1; dx <= 1; dx++) {
            float d = std::fabs(x - mx - dx * 1024.0f) - half;
            // A steep cliff under the cap rock, then a long scree slope at its foot.
            float lift = d <= 0 ? h : std::max(h * (1 - smooth(0, cliff, d)), h * 0.45f * (1 - smooth(0, 60, d - cliff)));
            top = std::min(top, base - lift);
        }
    }
    return top;
}

void mesas(canvas &c, uint32_t seed, int count, float base, float height, rgba top, rgba bottom, float strata)
{
    fill(c, [=](float x, float y) { return mesa_line(x, seed, count, base, height) - y; }, [=](float x, float y, float d) {
        rgba col = mix(top, bottom, clampf((y - base + height) / (height + 60), 0, 1));
        float layer = 0.5f + 0.5f * std::sin(y / 9 * 2 * pi + 0.8f * std::sin(x / 1024 * 2 * pi * 5));
        col = shade(col, 1 - strata * layer);
        return mix(shade(col, 1.1f), col, smooth(0, 4, -d));
    });
}

// A range of dunes: the side towards the sun lit, the far side shaded, both
// fading into the sand's own colour below the crest.
void dunes(canvas &c, float base, float amp, uint32_t seed, rgba top, rgba bottom)
{
    fill(c, [=](float x, float y) { return hill_line(x, base, amp, seed) - y; }, [=](float x, float y, float d) {
        float crest = hill_line(x, base, amp, seed);
        float slope = hill_line(x + 1, base, amp, seed) - hill_line(x - 1, base, amp, seed);
        rgba col = mix(top, bottom, clampf((y - crest) / 120, 0, 1));
        float light = clampf(slope * 0.5f, -0.12f, 0.25f) * (1 - smooth(0, 50, y - crest));
        col = shade(col, 1 - light);
        return mix(shade(col, 1.12f), col, smooth(0, 4, -d));
    });
}

void sky_desert(canvas &c)
{
    sky_gradient(c, {{0, rgb(96, 150, 210)}, {170, rgb(170, 200, 225)}, {290, rgb(250, 236, 206)}});
    sky_light(c, 640, 100, 20, 90, rgb(255, 252, 235), rgb(255, 250, 225), 0.8f, true);
    mesas(c, 51, 6, 300, 90, rgb(228, 184, 168), rgb(236, 206, 184), 0.03f);
    mesas(c, 52, 5, 350, 110, rgb(214, 120, 76), rgb(190, 100, 66), 0.1f);
    dunes(c, 390, 30, 53, rgb(240, 200, 136), rgb(222, 172, 108));
    dunes(c, 450, 36, 54, rgb(246, 210, 146), rgb(214, 160, 96));
}

}  // namespace

void add_ground_pictures(picture *t)
{
    t[TEX_FILL_GRASS] = {"fill_grass", 256, 256, fill_grass};
    t[TEX_FILL_EARTH] = {"fill_earth", 256, 256, fill_earth};
    t[TEX_FILL_ROCK] = {"fill_rock", 256, 256, fill_rock};
    t[TEX_FILL_SAND] = {"fill_sand", 256, 256, fill_sand};
    t[TEX_FILL_WOOD] = {"fill_wood", 256, 256, fill_wood};
    t[TEX_FILL_BRICKS] = {"fill_bricks", 256, 256, fill_bricks};
    t[TEX_FILL_CAVE] = {"fill_cave", 256, 256, fill_cave};
    t[TEX_FILL_ICE] = {"fill_ice", 256, 256, fill_ice};
    t[TEX_FILL_COBBLE] = {"fill_cobble", 256, 256, fill_cobble};
    t[TEX_FILL_SNOW] = {"fill_snow", 256, 256, fill_snow};
    t[TEX_BAND_GRASS] = {"band_grass", 256, 64, band_grass};
    t[TEX_BAND_FLOWERS] = {"band_flowers", 256, 64, band_flowers};
    t[TEX_BAND_ROCK] = {"band_rock", 256, 128, band_rock};
    t[TEX_BAND_SAND] = {"band_sand", 256, 32, band_sand};
    t[TEX_BAND_BLEND] = {"band_blend", 256, 128, band_blend};
    t[TEX_BAND_ARROW] = {"band_arrow", 256, 64, band_arrow};
    t[TEX_BAND_SNOW] = {"band_snow", 256, 64, band_snow};
    t[TEX_BAND_PLANKS] = {"band_planks", 256, 64, band_planks};
    t[TEX_FILL_LEAF_LITTER] = {"fill_leaf_litter", 256, 256, fill_leaf_litter};
    t[TEX_FILL_SANDSTONE] = {"fill_sandstone", 256, 256, fill_sandstone};
    t[TEX_FILL_ASHLAR] = {"fill_ashlar", 256, 256, fill_ashlar};
    t[TEX_FILL_NIGHT_SOIL] = {"fill_night_soil", 256, 256, fill_night_soil};
    t[TEX_BAND_AUTUMN] = {"band_autumn", 256, 64, band_autumn};
    t[TEX_BAND_CARPET] = {"band_carpet", 256, 64, band_carpet};
    t[TEX_BAND_NIGHT_GRASS] = {"band_night_grass", 256, 64, band_night_grass};
    // The skies: opaque, 1024 x 512, repeating along x.
    const picture skies[] = {{"background", 1024, 512, background}, {"sky_dusk", 1024, 512, sky_dusk},
                             {"sky_night", 1024, 512, sky_night}, {"sky_hall", 1024, 512, sky_hall},
                             {"sky_desert", 1024, 512, sky_desert}};
    const int sky_slots[] = {TEX_BACKGROUND, TEX_SKY_DUSK, TEX_SKY_NIGHT, TEX_SKY_HALL, TEX_SKY_DESERT};
    for (int k = 0; k < 5; k++) {
        t[sky_slots[k]] = skies[k];
        t[sky_slots[k]].opaque = true;
    }
}
