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
           float x, float y, bool wrap_y = true)
{
    for (int dy = wrap_y ? -1 : 0; dy <= (wrap_y ? 1 : 0); dy++)
        for (int dx = -1; dx <= 1; dx++) {
            float px = x + dx * c.w, py = y + dy * c.h;
            // The copy is painted as the original would be at this place.
            float ox = (float)dx * c.w, oy = (float)dy * c.h;
            paint_fn moved = [=](float qx, float qy, float d) { return paint(qx - ox, qy - oy, d); };
            fill(c, make(px, py), moved, px - 80, py - 80, px + 80, py + 80);
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

void cloud(canvas &c, float x, float y, float s, uint32_t seed)
{
    lcg r(seed);
    std::vector<float> cx, cy, cr;
    for (int k = 0; k < 6; k++) {
        cx.push_back(r.range(-40, 40) * s);
        cy.push_back(r.range(-8, 6) * s);
        cr.push_back(r.range(14, 26) * s);
    }
    for (int dx = -1; dx <= 1; dx++) {
        float ox = x + dx * c.w;
        auto shape = [=](float px, float py) {
            float d = (py - (y + 12 * s / bg_squash)) * bg_squash;   // flat underside
            float m = 1e9f;
            for (size_t k = 0; k < cx.size(); k++)
            m = std::min(m, std::hypot(px - ox - cx[k], (py - y - cy[k]) * bg_squash) - cr[k]);
            return std::max(m, d);
        };
        fill(c, shape, [=](float, float py, float d) {
            rgba col = mix(rgb(255, 255, 255), rgb(200, 215, 240), clampf((py - (y - 20 * s)) / (34 * s), 0, 1));
            return mix(shade(col, 0.93f), col, smooth(0, 4, -d));
        }, ox - 90 * s, y - 60 * s, ox + 90 * s, y + 30 * s);
    }
}

void background(canvas &c)
{
    each_pixel(c, [](float, float y) {
        if (y < 300) return mix(rgb(52, 100, 196), rgb(196, 228, 250), std::pow(y / 300, 1.4f));
        return rgb(196, 228, 250);
    });
    // Sun glow, far clouds, then three ranges of hills from far to near.
    fill(c, ellipse(700, 150, 44, 44 / bg_squash), [](float x, float y, float) {
        return rgb(255, 250, 215, clampf(1.2f - std::hypot(x - 700, (y - 150) * bg_squash) / 44, 0, 1) * 0.5f);
    });
    fill(c, ellipse(700, 150, 18, 18 / bg_squash), flat(rgb(255, 244, 190)));
    lcg r(20);
    for (int k = 0; k < 9; k++) cloud(c, r.range(0, 1024), r.range(60, 240), r.range(0.6f, 1.3f), 200 + k);
    struct range { float base, amp; uint32_t seed; rgba top, bottom; };
    const range ranges[] = {
        {290, 70, 31, rgb(150, 190, 200), rgb(170, 205, 210)},
        {340, 60, 32, rgb(110, 175, 120), rgb(95, 150, 105)},
        {400, 50, 33, rgb(95, 170, 70), rgb(60, 120, 50)},
    };
    for (const range &rg : ranges) {
        auto shape = [rg](float x, float y) { return hill_line(x, rg.base, rg.amp, rg.seed) - y; };
        fill(c, shape, [rg](float, float y, float d) {
            rgba col = mix(rg.top, rg.bottom, clampf((y - rg.base + rg.amp) / 200, 0, 1));
            return mix(shade(col, 1.12f), col, smooth(0, 6, -d));
        });
    }
    // Trees on the near hills: dark round crowns, periodic along x.
    lcg t(21);
    for (int k = 0; k < 26; k++) {
        float x = t.range(0, 1024), s = t.range(0.6f, 1.1f);
        float y = hill_line(x, 400, 50, 33) + 6;
        for (int dx = -1; dx <= 1; dx++) {
            float ox = x + dx * 1024;
            fill(c, capsule(ox, y, ox, y - 10 * s, 2.5f * s), flat(rgb(90, 70, 50)), ox - 30, y - 60, ox + 30, y + 10);
            fill(c, ellipse(ox, y - 14 * s, 11 * s, 11 * s / bg_squash), lit(rgb(50, 120, 60), ox, y - 14 * s, 11 * s),
                 ox - 30, y - 60, ox + 30, y + 10);
        }
    }
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
    picture bg{"background", 1024, 512, background};
    bg.opaque = true;
    t[TEX_BACKGROUND] = bg;
}
