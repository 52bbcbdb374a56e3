// tools/assets/doodads.cpp -- the decoration pictures of "doodads01.dat".
// A doodad is shown at one texel per screen pixel, centred on its position,
// so each picture stands on its bottom rows with a little margin.
#include <algorithm>
#include <cmath>
#include "pictures.h"
#include "slots.h"

namespace {

const float pi = 3.14159265f;
const rgba bark = rgb(130, 88, 52);
const rgba leafy = rgb(90, 180, 70);

// A crown of overlapping lit circles, outlined as one shape; returns the shape.
sdf_fn crown(canvas &c, float cx, float cy, float rx, float ry, rgba col, uint32_t seed, int n)
{
    lcg r(seed);
    sdf_fn shape = ellipse(cx, cy, rx * 0.8f, ry * 0.8f);
    std::vector<float> bx, by, br;
    for (int k = 0; k < n; k++) {
        float a = r.range(0, 2 * pi), d = r.range(0.3f, 0.75f);
        bx.push_back(cx + std::cos(a) * rx * d);
        by.push_back(cy + std::sin(a) * ry * d);
        br.push_back(r.range(0.3f, 0.45f) * std::min(rx, ry) * 1.3f);
        shape = unite(shape, circle(bx.back(), by.back(), br.back()));
    }
    outline(c, shape, ink, 2.5f);
    fill(c, shape, lit(col, cx, cy, std::max(rx, ry)));
    for (size_t k = 0; k < bx.size(); k++)   // highlights on the upper bumps
        if (by[k] < cy) fill(c, circle(bx[k] - br[k] * 0.2f, by[k] - br[k] * 0.25f, br[k] * 0.45f), flat(shade(col, 1.2f)));
    return shape;
}

void trunk(canvas &c, float x, float y0, float y1, float w0, float w1, rgba col)
{
    sdf_fn t = polygon({x - w1, y0, x + w1, y0, x + w0, y1, x - w0, y1});
    outline(c, t, ink, 2.2f);
    fill(c, t, [=](float px, float, float d) {
        float g = 0.5f + 0.5f * std::sin((px - x) * 0.9f);
        return mix(shade(col, 0.75f), mix(col, shade(col, 0.85f), g), smooth(0, 3, -d));
    });
}

void oak(canvas &c)
{
    trunk(c, 64, 130, 250, 14, 8, bark);
    fill(c, capsule(64, 170, 36, 140, 5), flat(ink));
    fill(c, capsule(64, 170, 36, 140, 3), flat(bark));
    crown(c, 64, 96, 44, 62, leafy, 1, 12);
    lcg r(2);
    for (int k = 0; k < 6; k++)
        blob(c, circle(r.range(30, 98), r.range(50, 150), 4), rgb(230, 60, 50), 1.5f, ink);
}

void pine(canvas &c)
{
    trunk(c, 64, 200, 252, 9, 7, bark);
    for (int k = 0; k < 4; k++) {
        float top = 10 + k * 44, w = 26 + k * 11, bottom = top + 70;
        sdf_fn tier = polygon({64, top, 64 + w, bottom, 64 + w * 0.3f, bottom - 8, 64, bottom,
                               64 - w * 0.3f, bottom - 8, 64 - w, bottom});
        outline(c, tier, ink, 2.2f);
        fill(c, tier, lit(rgb(50, 140, 80), 64, bottom - 30, w));
    }
}

// A bush: a mound of leafy bumps on a flat base.
void bush(canvas &c, rgba col, bool berries)
{
    lcg r(berries ? 7 : 5);
    sdf_fn shape = box(12, 40, 116, 62, 8);
    std::vector<float> bx, by, br;
    for (int k = 0; k < 7; k++) {
        float x = 20 + k * 14.5f, rr = r.range(13, 19);
        float y = 58 - rr - 10 * std::sin(3.14159f * (x - 10) / 108);
        bx.push_back(x); by.push_back(y); br.push_back(rr);
        shape = unite(shape, circle(x, y, rr));
    }
    outline(c, shape, ink, 2.5f);
    fill(c, shape, lit(col, 64, 36, 50));
    for (size_t k = 0; k < bx.size(); k++)
        fill(c, circle(bx[k] - br[k] * 0.25f, by[k] - br[k] * 0.3f, br[k] * 0.4f), flat(shade(col, 1.18f)));
    if (!berries) return;
    for (int k = 0; k < 12; k++)
        blob(c, circle(r.range(18, 110), r.range(26, 54), 3.2f), rgb(90, 60, 200), 1.2f, ink);
}
void bush_plain(canvas &c) { bush(c, rgb(80, 170, 70), false); }
void bush_berry(canvas &c) { bush(c, rgb(60, 150, 80), true); }

void flower(canvas &c, float x, float base, float h, rgba petal, float size)
{
    fill(c, capsule(x, base, x, base - h, 2.6f), flat(ink));
    fill(c, capsule(x, base, x, base - h, 1.3f), flat(rgb(60, 140, 50)));
    blob(c, ellipse(x + 5, base - h * 0.45f, 5, 2.5f), rgb(80, 170, 60), 1.2f, ink);
    sdf_fn petals = circle(x, base - h, size * 0.4f);
    for (int p = 0; p < 6; p++) {
        float a = p * pi / 3;
        petals = unite(petals, circle(x + std::cos(a) * size * 0.55f, base - h + std::sin(a) * size * 0.55f, size * 0.42f));
    }
    outline(c, petals, ink, 1.5f);
    fill(c, petals, lit(petal, x, base - h, size));
    blob(c, circle(x, base - h, size * 0.3f), rgb(250, 200, 40), 1.0f, ink);
}

void flowers(canvas &c, rgba a, rgba b)
{
    flower(c, 18, 60, 30, a, 10);
    flower(c, 46, 60, 40, b, 12);
    flower(c, 32, 61, 18, a, 8);
}
void red_flowers(canvas &c) { flowers(c, rgb(240, 70, 80), rgb(255, 120, 150)); }
void yellow_flowers(canvas &c) { flowers(c, rgb(255, 215, 50), rgb(255, 240, 140)); }

void boulder(canvas &c)
{
    sdf_fn rock = polygon({8, 60, 14, 30, 34, 12, 70, 6, 100, 16, 118, 36, 122, 60});
    outline(c, rock, ink, 2.5f);
    fill(c, rock, lit(rgb(160, 158, 170), 60, 30, 60));
    fill(c, capsule(50, 22, 60, 36, 1.2f), flat(rgb(90, 88, 100)));
    fill(c, capsule(60, 36, 56, 48, 1.2f), flat(rgb(90, 88, 100)));
    blob(c, ellipse(30, 22, 10, 5), rgb(100, 180, 70), 1.2f, ink);
}

void pebbles(canvas &c)
{
    const float xs[] = {13, 28, 44, 54}, rs[] = {7, 10, 6, 5};
    for (int k = 0; k < 4; k++) blob(c, ellipse(xs[k], 28 - rs[k] * 0.8f, rs[k] * 1.3f, rs[k] * 0.8f), rgb(170 - k * 10, 165 - k * 8, 160), 1.8f, ink);
}

void toadstool(canvas &c)
{
    blob(c, box(26, 30, 38, 60, 5), rgb(245, 240, 220), 2, ink);
    sdf_fn cap = intersect(ellipse(32, 32, 28, 24), box(0, 0, 64, 34, 0));
    outline(c, cap, ink, 2.2f);
    fill(c, cap, lit(rgb(230, 50, 50), 32, 22, 28));
    const float dx[] = {20, 34, 46, 28, 42}, dy[] = {22, 16, 26, 29, 31};
    for (int k = 0; k < 5; k++) fill(c, circle(dx[k], dy[k], 3), flat(rgb(255, 250, 240)));
}

void mushrooms(canvas &c)
{
    const float xs[] = {17, 39, 51}, hs[] = {22, 34, 14}, rs[] = {12, 16, 9};
    for (int k = 0; k < 3; k++) {
        float x = xs[k], top = 62 - hs[k];
        blob(c, box(x - 3, top, x + 3, 62, 2), rgb(240, 230, 210), 1.6f, ink);
        sdf_fn cap = intersect(ellipse(x, top + 2, rs[k], rs[k] * 0.7f), box(0, 0, 64, top + 3, 0));
        outline(c, cap, ink, 1.8f);
        fill(c, cap, lit(rgb(190, 130, 70), x, top - 2, rs[k]));
    }
}

void grass_tuft(canvas &c)
{
    lcg r(30);
    for (int k = 0; k < 14; k++) {
        float x = r.range(10, 54), l = r.range(12, 26), a = r.range(-0.6f, 0.6f);
        sdf_fn blade = polygon({x - 2.5f, 31, x + 2.5f, 31, x + std::sin(a) * l, 31 - std::cos(a) * l});
        outline(c, blade, ink, 1.2f);
        fill(c, blade, flat(mix(rgb(70, 150, 45), rgb(150, 225, 90), r.uniform())));
    }
}

void reeds(canvas &c)
{
    lcg r(31);
    for (int k = 0; k < 7; k++) {
        float x = 10 + k * 7 + r.range(-2, 2), top = r.range(8, 26), lean = r.range(-4, 4);
        fill(c, capsule(x, 62, x + lean, top, 2.6f), flat(ink));
        fill(c, capsule(x, 62, x + lean, top, 1.4f), flat(rgb(110, 170, 70)));
        if (k % 2 == 0) blob(c, capsule(x + lean * 0.8f, top + 4, x + lean * 0.9f, top + 14, 3), rgb(130, 80, 45), 1.2f, ink);
    }
}

void fence(canvas &c)
{
    for (int k = 0; k < 2; k++) blob(c, box(4, 22 + k * 20, 124, 30 + k * 20, 2), rgb(200, 150, 90), 2, ink);
    for (int k = 0; k < 4; k++) {
        float x = 12 + k * 34;
        blob(c, polygon({x - 6, 62, x - 6, 14, x, 6, x + 6, 14, x + 6, 62}), rgb(215, 165, 100), 2, ink);
    }
}

void signpost(canvas &c)
{
    blob(c, box(28, 30, 36, 126, 2), bark, 2, ink);
    sdf_fn arrow1 = polygon({6, 16, 46, 16, 58, 26, 46, 36, 6, 36});
    sdf_fn arrow2 = polygon({58, 46, 18, 46, 6, 56, 18, 66, 58, 66});
    for (const sdf_fn &a : {arrow1, arrow2}) {
        outline(c, a, ink, 2);
        fill(c, a, vgrad(rgb(235, 190, 120), rgb(200, 140, 80), 10, 70));
    }
    fill(c, box(12, 25, 42, 27, 1), flat(rgb(120, 80, 45)));
    fill(c, box(22, 55, 52, 57, 1), flat(rgb(120, 80, 45)));
}

void crystals(canvas &c, rgba col, int n, uint32_t seed)
{
    lcg r(seed);
    for (int k = 0; k < n; k++) {
        float x = n == 1 ? 32 : 13 + k * 17 + r.range(-3, 3);
        float h = n == 1 ? 54 : r.range(24, 50), w = n == 1 ? 12 : r.range(6, 9), tilt = n == 1 ? 0 : (k - 1) * 6.0f;
        sdf_fn shard = polygon({x - w, 62, x - w + tilt * 0.5f, 62 - h + w, x + tilt, 62 - h, x + w + tilt * 0.5f, 62 - h + w, x + w, 62});
        outline(c, shard, ink, 2);
        fill(c, shard, [=](float px, float py, float) {
            return px < x + tilt * (62 - py) / h ? shade(col, 1.25f) : shade(col, 0.85f);
        });
        fill(c, capsule(x - w * 0.4f, 58, x - w * 0.4f + tilt * 0.3f, 62 - h * 0.7f, 1.2f), flat(rgb(255, 255, 255, 0.8f)));
    }
}
void blue_crystals(canvas &c) { crystals(c, rgb(90, 170, 255), 3, 40); }
void pink_crystal(canvas &c) { crystals(c, rgb(255, 120, 210), 1, 41); }

// A bee hive hanging from a branch stub; the disturbed one is cracked,
// tilted and circled by angry bees.
void hive_body(canvas &c, bool disturbed)
{
    fill(c, capsule(4, 6, 60, 6, 3.5f), flat(ink));
    fill(c, capsule(4, 6, 60, 6, 2.2f), flat(bark));
    sdf_fn body = ellipse(32, 34, 22, 26);
    if (disturbed) body = rotated(body, 32, 10, 0.25f);
    outline(c, body, ink, 2.5f);
    fill(c, body, [=](float x, float y, float d) {
        float ring = 0.5f + 0.5f * std::cos(y * 0.75f);
        rgba col = mix(rgb(240, 190, 70), rgb(205, 145, 45), ring);
        if (disturbed) col = shade(col, 0.85f);
        float light = clampf(1.15f - std::hypot(x - 24, y - 22) / 60, 0.8f, 1.15f);
        return mix(shade(col, 0.75f), shade(col, light), smooth(0, 4, -d));
    });
    sdf_fn door = ellipse(32, 46, 6, 5);
    if (disturbed) door = rotated(door, 32, 10, 0.25f);
    fill(c, door, flat(rgb(60, 35, 20)));
    if (disturbed) {
        fill(c, polygon({20, 20, 28, 30, 24, 36, 30, 46, 27, 47, 21, 37, 25, 31}), flat(rgb(60, 35, 20)));
        for (int k = 0; k < 3; k++) {   // angry bees: wings, a striped body
            float x = 10 + k * 22, y = 56 - (k % 2) * 40;
            blob(c, ellipse(x - 1, y - 4, 3, 2.2f), rgb(225, 240, 255), 1.0f, ink);
            sdf_fn body = ellipse(x, y, 5, 3.4f);
            outline(c, body, ink, 1.2f);
            fill(c, body, [x](float px, float, float) {
                return ((int)std::floor((px - x + 5) / 2.5f) % 2) ? rgb(40, 30, 20) : rgb(255, 205, 40);
            });
        }
    }
}
void hive(canvas &c) { hive_body(c, false); }
void hive_disturbed(canvas &c) { hive_body(c, true); }

// The level sign's blank: a dark wooden board on two posts, room for
// "Stage N" from (32, 13) in the 8-pixel font.
void sign_blank(canvas &c)
{
    for (int k = 0; k < 2; k++) blob(c, box(k ? 92 : 28, 30, k ? 100 : 36, 62, 2), bark, 2, ink);
    sdf_fn board = box(14, 4, 114, 32, 5);
    outline(c, board, ink, 2.5f);
    fill(c, board, [](float x, float y, float d) {
        float g = 0.5f + 0.5f * std::sin(y * 1.1f + 2 * std::sin(x * 0.05f));
        rgba col = mix(rgb(95, 60, 35), rgb(120, 78, 44), g);
        return mix(shade(col, 1.3f), col, smooth(0, 3, -d));
    });
    fill(c, circle(19, 18, 1.8f), flat(rgb(200, 200, 210)));
    fill(c, circle(109, 18, 1.8f), flat(rgb(200, 200, 210)));
}

// Stinging plants: spiky leaves, bright tips (the game flickers them).
void thistle(canvas &c)
{
    for (int k = 0; k < 5; k++) {
        float a = -pi / 2 + (k - 2) * 0.45f;
        float x1 = 32 + std::cos(a) * 28, y1 = 60 + std::sin(a) * 40;
        sdf_fn leaf = polygon({32 - 4, 60, x1, y1, 32 + 4, 60});
        outline(c, leaf, ink, 1.8f);
        fill(c, leaf, lit(rgb(90, 160, 80), 32, 40, 30));
        for (int s = 1; s < 4; s++) {
            float px = 32 + (x1 - 32) * s / 4, py = 60 + (y1 - 60) * s / 4;
            fill(c, capsule(px, py, px + std::cos(a + 1.2f) * 6, py + std::sin(a + 1.2f) * 6, 0.9f), flat(ink));
            fill(c, capsule(px, py, px + std::cos(a - 1.2f) * 6, py + std::sin(a - 1.2f) * 6, 0.9f), flat(ink));
        }
    }
    sdf_fn head = circle(32, 18, 9);
    outline(c, head, ink, 2);
    fill(c, head, lit(rgb(200, 80, 220), 32, 18, 9));
    for (int k = 0; k < 8; k++) {
        float a = k * pi / 4;
        fill(c, capsule(32 + std::cos(a) * 8, 18 + std::sin(a) * 8, 32 + std::cos(a) * 14, 18 + std::sin(a) * 14, 1.1f), flat(rgb(250, 120, 250)));
    }
}

void nettle(canvas &c)
{
    fill(c, capsule(32, 62, 32, 8, 3), flat(ink));
    fill(c, capsule(32, 62, 32, 8, 1.8f), flat(rgb(70, 140, 60)));
    for (int k = 0; k < 4; k++) {
        float y = 50 - k * 11, side = k % 2 ? 1.0f : -1.0f;
        sdf_fn leaf = polygon({32, y, 32 + side * 26, y - 8, 32 + side * 20, y - 2, 32 + side * 24, y + 3, 32 + side * 8, y + 4});
        outline(c, leaf, ink, 1.6f);
        fill(c, leaf, lit(rgb(110, 190, 70), 32 + side * 12, y, 14));
    }
    for (int k = 0; k < 5; k++) blob(c, circle(26 + k * 3, 8 + (k % 2) * 3, 3), rgb(255, 90, 60), 1.2f, ink);
}

void birch(canvas &c)
{
    trunk(c, 32, 90, 252, 7, 5, rgb(240, 238, 225));
    lcg r(50);
    for (int k = 0; k < 12; k++) {
        float y = r.range(100, 245);
        fill(c, box(26, y, 26 + r.range(4, 10), y + 2, 1), flat(rgb(50, 45, 45)));
    }
    crown(c, 32, 70, 20, 56, rgb(150, 210, 80), 51, 10);
}

void cactus(canvas &c)
{
    sdf_fn body = unite(capsule(32, 124, 32, 24, 12), unite(capsule(32, 80, 12, 80, 6), capsule(12, 80, 12, 56, 6)));
    body = unite(body, unite(capsule(32, 66, 52, 66, 6), capsule(52, 66, 52, 40, 6)));
    outline(c, body, ink, 2.2f);
    fill(c, body, lit(rgb(90, 180, 90), 30, 60, 40));
    for (int k = 0; k < 8; k++) fill(c, capsule(32, 34 + k * 11, 34, 32 + k * 11, 0.8f), flat(rgb(255, 255, 220)));
    blob(c, circle(32, 14, 6), rgb(255, 110, 160), 1.5f, ink);
}

void sunflower(canvas &c)
{
    fill(c, capsule(32, 126, 32, 37, 3.5f), flat(ink));
    fill(c, capsule(32, 126, 32, 37, 2.2f), flat(rgb(70, 150, 50)));
    for (int s = 0; s < 2; s++) blob(c, ellipse(s ? 44 : 20, 80 + s * 14, 11, 5), rgb(80, 170, 60), 1.5f, ink);
    sdf_fn petals = circle(32, 33, 14);
    for (int p = 0; p < 12; p++) {
        float a = p * pi / 6;
        petals = unite(petals, rotated(ellipse(32 + std::cos(a) * 18, 33 + std::sin(a) * 18, 8, 4), 32 + std::cos(a) * 18, 33 + std::sin(a) * 18, a));
    }
    outline(c, petals, ink, 1.8f);
    fill(c, petals, lit(rgb(255, 210, 40), 32, 33, 26));
    blob(c, circle(32, 33, 11), rgb(120, 70, 30), 1.5f, ink);
}

void stump(canvas &c)
{
    trunk(c, 32, 30, 62, 22, 18, bark);
    sdf_fn top = ellipse(32, 30, 18, 6);
    outline(c, top, ink, 2);
    fill(c, top, flat(rgb(230, 190, 130)));
    fill(c, cut(ellipse(32, 30, 10, 3.3f), ellipse(32, 30, 8.5f, 2.4f)), flat(rgb(180, 130, 80)));
    blob(c, ellipse(12, 58, 8, 4), rgb(100, 180, 70), 1.2f, ink);
}

void log_pile(canvas &c)
{
    sdf_fn body = box(6, 8, 116, 30, 10);
    outline(c, body, ink, 2.2f);
    fill(c, body, vgrad(rgb(170, 115, 65), rgb(120, 80, 45), 8, 30));
    sdf_fn end = ellipse(116, 19, 7, 11);
    outline(c, end, ink, 2);
    fill(c, end, flat(rgb(235, 195, 135)));
    fill(c, cut(ellipse(116, 19, 4, 6.5f), ellipse(116, 19, 3, 5)), flat(rgb(180, 130, 80)));
    blob(c, ellipse(40, 9, 8, 3), rgb(100, 180, 70), 1.2f, ink);
}

void lantern(canvas &c)
{
    blob(c, box(13, 30, 19, 126, 2), rgb(70, 70, 90), 1.8f, ink);
    sdf_fn glass = box(8, 8, 24, 30, 3);
    outline(c, glass, ink, 2);
    fill(c, glass, lit(rgb(255, 225, 110), 16, 18, 12));
    blob(c, polygon({5, 10, 16, 2, 27, 10}), rgb(70, 70, 90), 1.5f, ink);
}

void cloud_doodad(canvas &c)
{
    sdf_fn cl = unite(unite(circle(40, 38, 20), circle(70, 30, 26)), unite(circle(96, 40, 18), box(24, 38, 110, 56, 9)));
    outline(c, cl, rgb(120, 140, 180), 2);
    fill(c, cl, vgrad(rgb(255, 255, 255), rgb(205, 220, 245), 6, 58));
}


// ---- autumn, night, castle and desert ----------------------------------------

// A maple leaf of five pointed lobes and a stalk, at (x, y), turned by ang.
sdf_fn maple_leaf(float x, float y, float r, float ang)
{
    const float lobe_ang[] = {0, -0.95f, 0.95f, -1.95f, 1.95f}, lobe_len[] = {1, 0.85f, 0.85f, 0.55f, 0.55f};
    sdf_fn leaf = circle(x, y, r * 0.3f);
    for (int k = 0; k < 5; k++) {
        float a = ang + lobe_ang[k], l = r * lobe_len[k];
        float dx = std::sin(a), dy = -std::cos(a);
        leaf = unite(leaf, polygon({x - dy * l * 0.32f, y + dx * l * 0.32f, x + dx * l, y + dy * l,
                                    x + dy * l * 0.32f, y - dx * l * 0.32f}));
    }
    return unite(leaf, capsule(x, y, x - std::sin(ang) * r * 0.8f, y + std::cos(ang) * r * 0.8f, r * 0.08f));
}

void maple(canvas &c)
{
    trunk(c, 64, 140, 250, 13, 8, bark);
    for (int s = -1; s <= 1; s += 2) {
        fill(c, capsule(64, 175, 64 + s * 30, 138, 5), flat(ink));
        fill(c, capsule(64, 175, 64 + s * 30, 138, 3), flat(bark));
    }
    sdf_fn leaves = crown(c, 64, 94, 50, 64, rgb(226, 112, 38), 60, 13);
    lcg r(61);
    const rgba leaf_cols[] = {rgb(205, 48, 40), rgb(248, 190, 60), rgb(235, 130, 40)};
    // Patches turned red or gold: a thin wash over the crown, led by noise,
    // that keeps clear of the outline.
    fill(c, [leaves](float px, float py) { return leaves(px, py) + 3; }, [&](float x, float y, float) {
        float n = fbm(x / 24, y / 24, 16, 3, 62);
        rgba tint = n < 0.5f ? leaf_cols[0] : leaf_cols[1];
        tint.a = 0.75f * smooth(0.08f, 0.25f, std::fabs(n - 0.5f));
        return tint;
    });
    for (int k = 0; k < 14; k++) {
        float x = r.range(28, 100), y = r.range(46, 146);
        blob(c, maple_leaf(x, y, r.range(5, 7), r.range(-0.5f, 0.5f)), leaf_cols[k % 3], 1.3f, ink);
    }
    // Leaves on their way down, and two on the ground at the roots.
    const float fx[] = {18, 106, 34, 88}, fy[] = {196, 206, 248, 249};
    for (int k = 0; k < 4; k++) blob(c, maple_leaf(fx[k], fy[k], 5.5f, k * 0.9f), leaf_cols[k % 3], 1.3f, ink);
}

// Forking limbs: at each fork the leader bends a little and goes on, a
// thinner side limb leaves it at a wider angle; both lean back towards
// upright, so the crown grows up rather than out.
void limbs(std::vector<float> *seg, lcg &r, float x, float y, float ang, float len, float rad, int depth)
{
    float ex = x + std::sin(ang) * len, ey = y - std::cos(ang) * len;
    seg->insert(seg->end(), {x, y, ex, ey, rad});
    if (depth == 0) return;
    float side = r.uniform() < 0.5f ? -1.0f : 1.0f;
    limbs(seg, r, ex, ey, (ang + side * r.range(0.1f, 0.25f)) * 0.9f, len * 0.8f, rad * 0.75f, depth - 1);
    limbs(seg, r, ex, ey, (ang - side * r.range(0.5f, 0.85f)) * 0.9f, len * 0.6f, rad * 0.6f, depth - 1);
}

void bare_tree(canvas &c)
{
    const rgba grey_bark = rgb(120, 98, 82);
    std::vector<float> seg;
    lcg r(70);
    limbs(&seg, r, 64, 112, 0.1f, 26, 5.5f, 5);
    limbs(&seg, r, 64, 152, -0.95f, 40, 5.5f, 4);
    limbs(&seg, r, 64, 132, 0.95f, 38, 5.0f, 4);
    limbs(&seg, r, 62, 116, -0.55f, 28, 4.5f, 3);
    float reach = 0;   // squeeze the crown sideways into the picture
    for (size_t k = 0; k < seg.size(); k += 5)
        reach = std::max({reach, std::fabs(seg[k] - 64) + seg[k + 4], std::fabs(seg[k + 2] - 64) + seg[k + 4]});
    float squeeze = std::min(1.0f, 56 / reach);
    for (size_t k = 0; k < seg.size(); k += 5) {
        seg[k] = 64 + (seg[k] - 64) * squeeze;
        seg[k + 2] = 64 + (seg[k + 2] - 64) * squeeze;
    }
    sdf_fn wood = polygon({50, 252, 56, 240, 58, 110, 70, 110, 72, 240, 78, 252});   // trunk, flared roots
    for (size_t k = 0; k < seg.size(); k += 5)
        wood = unite(wood, capsule(seg[k], seg[k + 1], seg[k + 2], seg[k + 3], seg[k + 4]));
    outline(c, wood, ink, 2.2f);
    fill(c, wood, [=](float px, float, float d) {
        float g = 0.5f + 0.5f * std::sin(px * 0.8f);
        return mix(shade(grey_bark, 0.72f), mix(grey_bark, shade(grey_bark, 0.85f), g), smooth(0, 3, -d));
    });
    blob(c, ellipse(66, 196, 3.5f, 6), rgb(50, 36, 32), 1.2f, shade(grey_bark, 0.6f));   // a knot hole
}

// Twigs along a path, each an ink line under a straw one; a twig is cut
// where it leaves the ball, so the ball keeps its round outline.
void twig(canvas &c, const std::vector<float> &xy, rgba col, float cx, float cy, float ball)
{
    for (size_t k = 0; k + 3 < xy.size(); k += 2)
        if (std::hypot(xy[k] - cx, xy[k + 1] - cy) <= ball && std::hypot(xy[k + 2] - cx, xy[k + 3] - cy) <= ball)
            fill(c, capsule(xy[k], xy[k + 1], xy[k + 2], xy[k + 3], 1.7f), flat(ink));
    for (size_t k = 0; k + 3 < xy.size(); k += 2)
        if (std::hypot(xy[k] - cx, xy[k + 1] - cy) <= ball && std::hypot(xy[k + 2] - cx, xy[k + 3] - cy) <= ball)
            fill(c, capsule(xy[k], xy[k + 1], xy[k + 2], xy[k + 3], 0.8f), flat(col));
}

void pumpkin(canvas &c)
{
    // Ribs drawn from the outside in, so the middle one lies in front.
    const float xs[] = {15, 49, 23, 41, 32}, rx[] = {11, 11, 13, 13, 12};
    sdf_fn body = ellipse(32, 42, 27, 19);
    outline(c, body, ink, 2.4f);
    for (int k = 0; k < 5; k++) {
        sdf_fn rib = intersect(ellipse(xs[k], 42, rx[k], 19), body);
        outline(c, rib, ink, 1.2f);
        fill(c, rib, lit(shade(rgb(240, 130, 30), k < 2 ? 0.85f : 1.0f), xs[k], 40, 16));
    }
    blob(c, polygon({29, 25, 31, 10, 37, 8, 38, 12, 35, 13, 34, 25}), rgb(110, 130, 50), 1.6f, ink);
    std::vector<float> curl;   // a tendril of vine winding in from the stem
    for (int k = 0; k <= 20; k++) {
        float a = k * 0.45f, rad = 7 - k * 0.25f;
        curl.insert(curl.end(), {44 + rad * std::cos(a) - 4, 15 + rad * std::sin(a)});
    }
    twig(c, curl, rgb(90, 150, 60), 32, 32, 64);
    blob(c, rotated(ellipse(20, 18, 9, 5), 20, 18, -0.4f), rgb(90, 150, 60), 1.5f, ink);
}

// A lit street lamp: a starburst of warm light round the lamp head (the
// house look of a glow: the picture is masked, so light cannot fade out), a
// pole that the lamp lights from above.
void lamp_post(canvas &c)
{
    const rgba iron = rgb(74, 80, 102), warm = rgb(150, 130, 110);
    const float lx = 64, ly = 38;
    std::vector<float> star;
    for (int k = 0; k < 24; k++) {
        float a = k * pi / 12, d = k % 2 ? 30 : (k % 4 ? 46 : 56);
        star.insert(star.end(), {lx + std::cos(a) * d, ly + std::sin(a) * d * 0.75f});
    }
    fill(c, polygon(star), [=](float x, float y, float) {
        float k = clampf(std::hypot(x - lx, (y - ly) / 0.75f) / 56, 0, 1);
        return mix(rgb(255, 244, 190), rgb(240, 170, 70), k);
    });
    auto lit_iron = [=](float y) { return mix(warm, iron, clampf((y - 56) / 90, 0, 1)); };
    paint_fn pole_paint = [=](float x, float y, float d) {
        return mix(shade(lit_iron(y), 0.75f), x < lx ? shade(lit_iron(y), 1.15f) : lit_iron(y), smooth(0, 2, -d));
    };
    sdf_fn pole = box(61, 56, 67, 238, 2);
    outline(c, pole, ink, 1.8f);
    fill(c, pole, pole_paint);
    blob(c, polygon({50, 254, 52, 238, 76, 238, 78, 254}), iron, 2, ink);   // foot
    blob(c, box(57, 206, 71, 214, 3), shade(iron, 1.3f), 1.6f, ink);         // collar
    blob(c, box(55, 52, 73, 60, 2), warm, 1.6f, ink);                        // lamp seat
    sdf_fn glass = polygon({48, 22, 80, 22, 74, 52, 54, 52});
    outline(c, glass, ink, 2);
    fill(c, glass, [=](float x, float y, float) {
        float k = clampf(std::hypot(x - lx, y - 36) / 18, 0, 1);
        return mix(rgb(255, 252, 225), rgb(255, 190, 80), k);
    });
    fill(c, box(63, 22, 65, 52, 0), flat(warm));
    blob(c, polygon({42, 24, 64, 6, 86, 24}), iron, 1.8f, ink);              // hood
    blob(c, circle(64, 6, 3.5f), iron, 1.5f, ink);
}

// A wall torch: an iron bracket, a wooden shaft and a two-tone flame.
void torch(canvas &c)
{
    const rgba iron = rgb(70, 70, 82);
    blob(c, box(22, 84, 42, 110, 4), iron, 2, ink);                          // wall plate
    fill(c, circle(27, 89, 1.6f), flat(rgb(150, 150, 165)));
    fill(c, circle(37, 105, 1.6f), flat(rgb(150, 150, 165)));
    blob(c, polygon({27, 60, 37, 60, 35, 124, 29, 124}), rgb(140, 92, 52), 2, ink);
    blob(c, box(24, 92, 40, 98, 2), iron, 1.6f, ink);                        // ring round the shaft
    blob(c, polygon({18, 50, 46, 50, 40, 64, 24, 64}), iron, 2, ink);        // cup
    sdf_fn outer = unite(circle(32, 36, 12), polygon({20, 34, 30, 4, 36, 16, 40, 8, 44, 34}));
    outline(c, outer, rgb(150, 40, 20), 1.8f);
    fill(c, outer, vgrad(rgb(250, 90, 30), rgb(255, 150, 40), 6, 48));
    sdf_fn inner = unite(circle(32, 40, 7), polygon({25, 39, 32, 16, 39, 39}));
    fill(c, inner, vgrad(rgb(255, 220, 90), rgb(255, 250, 200), 16, 46));
}

// A castle banner on a rod: gold trim, a swallowtail and a leaf device.
void banner(canvas &c)
{
    const rgba cloth = rgb(170, 34, 46), gold = rgb(235, 190, 70);
    sdf_fn flag = polygon({10, 12, 54, 12, 54, 236, 32, 214, 10, 236});
    outline(c, flag, ink, 2.2f);
    fill(c, flag, [=](float x, float, float d) {
        float fold = 0.5f + 0.5f * std::sin((x - 10) * pi / 11);
        return mix(shade(cloth, 0.7f), mix(shade(cloth, 0.8f), shade(cloth, 1.12f), fold), smooth(0, 3, -d));
    });
    sdf_fn trim = cut(polygon({14, 16, 50, 16, 50, 226, 32, 206, 14, 226}), polygon({18, 20, 46, 20, 46, 216, 32, 198, 18, 216}));
    fill(c, trim, flat(gold));
    sdf_fn shield = unite(box(20, 60, 44, 90, 3), polygon({20, 88, 44, 88, 32, 110}));
    outline(c, shield, ink, 1.6f);
    fill(c, shield, lit(gold, 32, 80, 18));
    blob(c, maple_leaf(32, 82, 9, 0), rgb(60, 120, 60), 1.2f, ink);
    blob(c, capsule(6, 10, 58, 10, 3.5f), rgb(120, 80, 45), 2, ink);        // rod
    for (int s = 0; s < 2; s++) blob(c, circle(s ? 57 : 7, 10, 4), gold, 1.5f, ink);
}

// A tall arched window with stone dressings; the night shows through.
void castle_window(canvas &c)
{
    const rgba stone = rgb(168, 160, 148);
    sdf_fn frame = unite(box(14, 70, 114, 232, 2), circle(64, 70, 50));
    outline(c, frame, ink, 2.5f);
    fill(c, frame, [=](float x, float y, float d) {
        // Voussoirs round the arch, blocks down the jambs.
        bool joint = y < 70 ? std::fabs(std::fmod(std::atan2(y - 70, x - 64) + 2 * pi, pi / 7)) < 0.03f
                            : std::fmod(y - 70, 27) < 1.5f;
        rgba col = joint ? shade(stone, 0.62f) : stone;
        return mix(shade(col, 0.8f), col, smooth(0, 4, -d));
    });
    sdf_fn opening = unite(box(32, 70, 96, 224, 0), circle(64, 70, 32));
    outline(c, opening, ink, 2);
    fill(c, opening, vgrad(rgb(20, 26, 70), rgb(60, 70, 130), 38, 224));
    lcg r(80);
    for (int k = 0; k < 16; k++) {
        float x = r.range(36, 92), y = r.range(44, 216);
        if (opening(x, y) < -3) fill(c, circle(x, y, r.range(0.8f, 1.5f)), flat(rgb(250, 245, 210)));
    }
    fill(c, cut(circle(80, 84, 9), circle(84, 81, 8)), flat(rgb(250, 240, 190)));   // crescent moon
    sdf_fn bars = intersect(unite(box(62, 38, 66, 224, 0), box(32, 140, 96, 144, 0)), opening);
    fill(c, bars, flat(shade(stone, 0.75f)));
    blob(c, box(6, 224, 122, 240, 3), shade(stone, 1.05f), 2.2f, ink);     // sill
}

// A palm frond along a drooping curve from (x, y): a smooth upper edge, a
// lower edge cut into leaflet tips, and a darker midrib.
void frond(canvas &c, float x, float y, float ang, float len, float droop)
{
    const int n = 16;
    auto at = [=](float t, float *px, float *py) {
        *px = x + std::cos(ang) * len * t;
        *py = y + std::sin(ang) * len * t + droop * len * t * t;
    };
    std::vector<float> upper, lower;
    for (int k = 0; k <= n; k++) {
        float t = k / (float)n, px, py, qx, qy;
        at(t, &px, &py);
        at(std::min(1.0f, t + 0.01f), &qx, &qy);
        float dl = std::hypot(qx - px, qy - py) + 1e-6f, nx = (qy - py) / dl, ny = -(qx - px) / dl;
        if (ny > 0) { nx = -nx; ny = -ny; }                                   // (nx, ny) points up
        float w = 11 * std::sin(pi * std::min(1.0f, t * 1.1f)) + 0.5f, tip = k % 2 ? 1.0f : 0.45f;
        upper.insert(upper.end(), {px + nx * w * 0.45f, py + ny * w * 0.45f});
        lower.insert(lower.begin(), {px - nx * w * tip + std::cos(ang) * 2, py - ny * w * tip + 3});
    }
    upper.insert(upper.end(), lower.begin(), lower.end());
    sdf_fn leaf = polygon(upper);
    outline(c, leaf, ink, 1.8f);
    float mx, my;
    at(0.4f, &mx, &my);
    fill(c, leaf, lit(rgb(80, 165, 70), mx, my - 4, len * 0.5f));
    for (int k = 0; k < n; k++) {
        float x0, y0, x1, y1;
        at(k / (float)n, &x0, &y0);
        at((k + 1) / (float)n, &x1, &y1);
        fill(c, capsule(x0, y0, x1, y1, 0.9f), flat(rgb(50, 110, 50)));
    }
}

// A palm: a leaning ringed trunk, drooping fronds and coconuts.
void palm(canvas &c)
{
    const float top_x = 66, top_y = 66;
    auto trunk_x = [=](float t) { return 52 + (top_x - 52) * t * t; };      // t: 0 at the root, 1 at the top
    sdf_fn stem = polygon({39, 253, 44, 240, 60, 240, 65, 253});
    for (int k = 0; k < 12; k++) {
        float t0 = k / 12.0f, t1 = (k + 1) / 12.0f;
        stem = unite(stem, capsule(trunk_x(t0), 246 - 180 * t0, trunk_x(t1), 246 - 180 * t1, 9 - 3 * t0));
    }
    outline(c, stem, ink, 2.2f);
    fill(c, stem, lit(rgb(190, 150, 100), 58, 150, 60));
    for (int k = 1; k < 14; k++) {   // the rings of old leaf bases
        float t = k / 14.0f, x = trunk_x(t), y = 246 - 180 * t, w = 9 - 3 * t;
        fill(c, polygon({x - w, y - 3, x, y + 2, x + w, y - 3, x + w, y - 1, x, y + 4, x - w, y - 1}), flat(rgb(120, 88, 56)));
    }
    // Back fronds first, then the ones that hang towards the viewer.
    const float angs[] = {-2.0f, -1.15f, -2.75f, -0.4f, -3.05f, -0.05f, -1.6f}, lens[] = {50, 50, 60, 60, 56, 56, 38};
    for (int f = 0; f < 7; f++) frond(c, top_x, top_y, angs[f], lens[f], f < 2 || f == 6 ? 0.35f : 0.6f);
    for (int k = 0; k < 3; k++) blob(c, circle(top_x - 7 + k * 7, top_y + 8 + (k % 2) * 3, 5), rgb(120, 80, 40), 1.6f, ink);
}

// A ball of dry twigs: tilted rings round the ball and short curls inside,
// with the sky showing between them.
void tumbleweed(canvas &c)
{
    lcg r(90);
    const float cx = 32, cy = 33.5f, ball = 28.5f;
    for (int k = 0; k < 18; k++) {
        bool ring = k % 3 != 2;
        float phi = r.range(0, pi), q = ring ? r.range(0.15f, 1.0f) : 1.0f;
        float rad = ring ? ball - 1.5f : r.range(6, 12), ox = ring ? cx : cx + r.range(-10, 10), oy = ring ? cy : cy + r.range(-10, 10);
        float a0 = r.range(0, 2 * pi), span = ring ? r.range(3.5f, 6.3f) : r.range(2, 4);
        std::vector<float> xy;
        for (int s = 0; s <= 24; s++) {
            float t = a0 + span * s / 24, ex = std::cos(t) * rad, ey = std::sin(t) * rad * q;
            xy.push_back(ox + ex * std::cos(phi) - ey * std::sin(phi));
            xy.push_back(oy + ex * std::sin(phi) + ey * std::cos(phi));
        }
        twig(c, xy, mix(rgb(222, 190, 128), rgb(168, 128, 78), r.uniform()), cx, cy, ball);
    }
}
}  // namespace

void add_doodad_pictures(picture *d)
{
    d[DAD_OAK] = {"oak", 128, 256, oak};
    d[DAD_PINE] = {"pine", 128, 256, pine};
    d[DAD_BUSH] = {"bush", 128, 64, bush_plain};
    d[DAD_BERRY_BUSH] = {"berry_bush", 128, 64, bush_berry};
    d[DAD_RED_FLOWERS] = {"red_flowers", 64, 64, red_flowers};
    d[DAD_YELLOW_FLOWERS] = {"yellow_flowers", 64, 64, yellow_flowers};
    d[DAD_BOULDER] = {"boulder", 128, 64, boulder};
    d[DAD_HIVE] = {"hive", 64, 64, hive};
    d[DAD_HIVE_DISTURBED] = {"hive_disturbed", 64, 64, hive_disturbed};
    d[DAD_PEBBLES] = {"pebbles", 64, 32, pebbles};
    d[DAD_TOADSTOOL] = {"toadstool", 64, 64, toadstool};
    d[DAD_MUSHROOMS] = {"mushrooms", 64, 64, mushrooms};
    d[DAD_GRASS_TUFT] = {"grass_tuft", 64, 32, grass_tuft};
    d[DAD_REEDS] = {"reeds", 64, 64, reeds};
    d[DAD_FENCE] = {"fence", 128, 64, fence};
    d[DAD_SIGNPOST] = {"signpost", 64, 128, signpost};
    d[DAD_BLUE_CRYSTALS] = {"blue_crystals", 64, 64, blue_crystals};
    d[DAD_PINK_CRYSTAL] = {"pink_crystal", 64, 64, pink_crystal};
    d[DAD_SIGN] = {"sign", 128, 64, sign_blank};
    d[DAD_PLANT_A] = {"thistle", 64, 64, thistle};
    d[DAD_PLANT_B] = {"nettle", 64, 64, nettle};
    d[DAD_BIRCH] = {"birch", 64, 256, birch};
    d[DAD_CACTUS] = {"cactus", 64, 128, cactus};
    d[DAD_SUNFLOWER] = {"sunflower", 64, 128, sunflower};
    d[DAD_STUMP] = {"stump", 64, 64, stump};
    d[DAD_LOG] = {"log", 128, 32, log_pile};
    d[DAD_LANTERN] = {"lantern", 32, 128, lantern};
    d[DAD_CLOUD] = {"cloud", 128, 64, cloud_doodad};
    d[DAD_MAPLE] = {"maple", 128, 256, maple};
    d[DAD_BARE_TREE] = {"bare_tree", 128, 256, bare_tree};
    d[DAD_PUMPKIN] = {"pumpkin", 64, 64, pumpkin};
    d[DAD_LAMP_POST] = {"lamp_post", 128, 256, lamp_post};
    d[DAD_TORCH] = {"torch", 64, 128, torch};
    d[DAD_BANNER] = {"banner", 64, 256, banner};
    d[DAD_CASTLE_WINDOW] = {"castle_window", 128, 256, castle_window};
    d[DAD_PALM] = {"palm", 128, 256, palm};
    d[DAD_TUMBLEWEED] = {"tumbleweed", 64, 64, tumbleweed};
}
