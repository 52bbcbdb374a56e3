// tools/assets/items.cpp -- pick-ups, particles, HUD pieces and the time-out
// and level-complete lettering of "ttex01.dat".
#include <cmath>
#include "pictures.h"
#include "slots.h"

const rgba ink = rgb(40, 28, 30);

namespace {

const float pi = 3.14159265f;

std::vector<float> star_points(float cx, float cy, int n, float r_out, float r_in, float rot)
{
    std::vector<float> pts;
    for (int i = 0; i < 2 * n; i++) {
        float a = rot + i * pi / n, r = i % 2 ? r_in : r_out;
        pts.push_back(cx + std::cos(a) * r);
        pts.push_back(cy + std::sin(a) * r);
    }
    return pts;
}

// A leaf: pointed oval with a midrib and veins, slightly turned.
void leaf(canvas &c)
{
    sdf_fn body = rotated(intersect(circle(32, 60, 44), circle(32, 4, 44)), 32, 32, 0.6f);
    sdf_fn stem = rotated(capsule(32, 54, 32, 62, 2.5f), 32, 32, 0.6f);
    blob(c, stem, rgb(120, 90, 40), 2, ink);
    outline(c, body, ink, 2.2f);
    fill(c, body, lit(rgb(90, 200, 70), 32, 32, 26));
    fill(c, rotated(capsule(32, 10, 32, 56, 1.3f), 32, 32, 0.6f), flat(rgb(200, 240, 140)));
    for (int k = 0; k < 3; k++) {
        float y = 22 + k * 10;
        fill(c, rotated(capsule(32, y + 6, 22, y, 1.0f), 32, 32, 0.6f), flat(rgb(170, 225, 120)));
        fill(c, rotated(capsule(32, y + 6, 42, y, 1.0f), 32, 32, 0.6f), flat(rgb(170, 225, 120)));
    }
}

// A spiked iron ball (also the burst particle, which the game tints).
void spike(canvas &c)
{
    sdf_fn spikes = polygon(star_points(32, 32, 9, 29, 15, 0.1f));
    outline(c, spikes, ink, 2.0f);
    fill(c, spikes, lit(rgb(200, 205, 220), 32, 32, 28));
    sdf_fn ball = circle(32, 32, 15);
    outline(c, ball, ink, 1.5f);
    fill(c, ball, lit(rgb(150, 150, 175), 32, 32, 15));
}

// The power bar's frame: a light rounded rim around the bar window
// (x 11..245, y 8..24 of the picture), so the game's tint shows on it.
void bar_frame(canvas &c)
{
    sdf_fn outer = box(1, 1, 255, 31, 12);
    sdf_fn window = box(11, 8, 245, 24, 4);
    sdf_fn rim_shape = cut(outer, window);
    outline(c, rim_shape, ink, 1.0f);
    fill(c, rim_shape, vgrad(rgb(255, 255, 255), rgb(170, 175, 200), 1, 31));
    for (int k = 0; k < 2; k++) {   // rivets at both ends
        float x = k ? 250 : 6;
        fill(c, circle(x, 16, 3), lit(rgb(250, 220, 120), x, 16, 3));
    }
    fill(c, cut(box(10, 7, 246, 25, 5), window), flat(rgb(60, 60, 90)));
}

// The waypoint: a post with a round clock sign, pivoting on its foot.
void waypoint_sign(canvas &c, rgba face, rgba pole)
{
    blob(c, box(28, 56, 36, 124, 3), pole, 2, ink);
    blob(c, ellipse(32, 122, 14, 5), shade(pole, 0.8f), 2, ink);
    sdf_fn disc = circle(32, 34, 26);
    outline(c, disc, ink, 2.5f);
    fill(c, disc, lit(face, 32, 34, 26));
    fill(c, circle(32, 34, 19), flat(rgb(255, 252, 235)));
    for (int k = 0; k < 12; k++) {
        float a = k * pi / 6, r0 = k % 3 ? 16 : 14;
        fill(c, capsule(32 + std::cos(a) * r0, 34 + std::sin(a) * r0, 32 + std::cos(a) * 18,
                        34 + std::sin(a) * 18, 0.8f), flat(ink));
    }
    fill(c, capsule(32, 34, 32, 22, 2), flat(ink));
    fill(c, capsule(32, 34, 41, 34, 2), flat(ink));
    fill(c, circle(32, 34, 2.5f), flat(rgb(200, 40, 40)));
    // "+10" pennant on the pole.
    sdf_fn pennant = polygon({37, 62, 60, 70, 37, 80});
    outline(c, pennant, ink, 1.5f);
    fill(c, pennant, flat(rgb(250, 90, 70)));
}

void waypoint(canvas &c) { waypoint_sign(c, rgb(80, 170, 250), rgb(170, 120, 70)); }
void waypoint_spin(canvas &c) { waypoint_sign(c, rgb(255, 215, 60), rgb(250, 230, 170)); }

// Dust puffs: clumps of soft brown circles, four shapes.
void dust(canvas &c, uint32_t seed)
{
    lcg r(seed);
    std::vector<sdf_fn> parts;
    sdf_fn cloud = circle(16, 17, 7);
    for (int k = 0; k < 4; k++) cloud = unite(cloud, circle(r.range(9, 23), r.range(10, 22), r.range(4, 7)));
    outline(c, cloud, rgb(120, 95, 70), 1.2f);
    fill(c, cloud, lit(rgb(215, 190, 150), 16, 15, 12));
}
void dust0(canvas &c) { dust(c, 1); }
void dust1(canvas &c) { dust(c, 2); }
void dust2(canvas &c) { dust(c, 3); }
void dust3(canvas &c) { dust(c, 4); }

// The clock frame: a ring round the face (the face itself is drawn by the
// game underneath, radius 30 of the frame's 41), with a bell on top.
void clock_frame(canvas &c)
{
    const float k = 64.0f / 41.0f;          // picture pixels per screen pixel
    sdf_fn ring = cut(circle(64, 64, 38 * k), circle(64, 64, 29 * k));
    blob(c, unite(circle(64, 64 - 38 * k, 6), capsule(52, 64 - 39 * k, 76, 64 - 39 * k, 3)), rgb(250, 240, 220), 2, ink);
    outline(c, ring, ink, 2.5f);
    fill(c, ring, [](float x, float y, float d) {
        float a = std::atan2(y - 64, x - 64);
        rgba base = mix(rgb(255, 255, 255), rgb(190, 195, 215), (std::sin(a) + 1) / 2);
        return mix(shade(base, 0.8f), base, smooth(0, 4, -d));
    });
    for (int i = 0; i < 12; i++) {
        float a = i * pi / 6;
        float r0 = 31 * k, r1 = (i % 3 ? 34 : 36.5f) * k;
        fill(c, capsule(64 + std::cos(a) * r0, 64 + std::sin(a) * r0, 64 + std::cos(a) * r1,
                        64 + std::sin(a) * r1, i % 3 ? 1.2f : 2.2f), flat(rgb(70, 60, 80)));
    }
}

// The hand, pointing up; the pivot is 4/26 of the height above the bottom.
void clock_hand(canvas &c)
{
    sdf_fn hand = polygon({16, 3, 25, 30, 20, 104, 12, 104, 7, 30});
    outline(c, hand, ink, 2);
    fill(c, hand, vgrad(rgb(255, 90, 70), rgb(170, 30, 40), 0, 104));
    blob(c, circle(16, 108, 8), rgb(250, 210, 90), 2, ink);
}

// Lettering on a plaque, 256 x 128, shown at 200 x 100.
void time_out_plaque(canvas &c, const char *line1, const char *line2)
{
    sdf_fn board = box(6, 10, 250, 118, 22);
    outline(c, board, ink, 3);
    fill(c, board, [](float x, float y, float d) {
        float g = fbm(x / 32, y / 8, 8, 3, 5);
        rgba wood = mix(rgb(226, 170, 104), rgb(190, 126, 70), g);
        rgba lit_wood = mix(shade(wood, 1.15f), wood, clampf(y / 118, 0, 1));
        return mix(shade(lit_wood, 0.7f), lit_wood, smooth(0, 6, -d));
    });
    fill(c, cut(box(14, 18, 242, 110, 16), box(17, 21, 239, 107, 14)), flat(rgb(150, 95, 50, 0.8f)));
    float y1 = line2 ? 50 : 64;
    letter(c, line1, font_bold, line2 ? 34 : 40, 128, y1, rgb(255, 250, 220), rgb(255, 205, 90), ink, 3.0f, 0.92f);
    if (line2) letter(c, line2, font_bold, 34, 128, 86, rgb(255, 250, 220), rgb(255, 205, 90), ink, 3.0f, 0.92f);
}

void play_again_en(canvas &c) { time_out_plaque(c, "Play again", nullptr); }
void play_again_de(canvas &c) { time_out_plaque(c, "Nochmal", "spielen"); }
void back_to_start_en(canvas &c) { time_out_plaque(c, "Back to", "start"); }
void back_to_start_de(canvas &c) { time_out_plaque(c, "Zurück zum", "Start"); }

// Level complete: a golden star with a ribbon and "Super!" (the same word in
// English and German), 256 x 128, shown at a 2 : 1 aspect.
void level_complete(canvas &c)
{
    sdf_fn ribbon = box(20, 70, 236, 112, 10);
    outline(c, ribbon, ink, 3);
    fill(c, ribbon, vgrad(rgb(250, 90, 110), rgb(180, 30, 60), 70, 112));
    for (int side = 0; side < 2; side++) {
        float x = side ? 226 : 30;
        sdf_fn sparkle = polygon(star_points(x, 38, 4, 16, 4, 0));
        outline(c, sparkle, ink, 1.5f);
        fill(c, sparkle, flat(rgb(255, 255, 200)));
    }
    sdf_fn star = polygon(star_points(128, 52, 5, 50, 22, -pi / 2));
    outline(c, star, ink, 3);
    fill(c, star, lit(rgb(255, 205, 40), 128, 52, 50));
    letter(c, "Super!", font_bold, 40, 128, 92, rgb(255, 255, 235), rgb(255, 220, 120), ink, 3.0f);
}

// A bee: striped body, wings; tiny on screen, so bold shapes.
void bee(canvas &c)
{
    blob(c, ellipse(13, 9, 6, 5), rgb(220, 240, 255, 0.9f), 1.2f, ink);
    blob(c, ellipse(20, 9, 5, 4), rgb(220, 240, 255, 0.9f), 1.2f, ink);
    sdf_fn body = ellipse(16, 19, 11, 8);
    outline(c, body, ink, 1.5f);
    fill(c, body, [](float x, float, float) {
        return ((int)(x / 5) % 2) ? rgb(40, 30, 20) : rgb(255, 205, 40);
    });
    fill(c, circle(25, 17, 1.6f), flat(rgb(255, 255, 255)));
}

// The electric charge: a lightning bolt in a glass capsule, 64 x 128.
void electric(canvas &c)
{
    sdf_fn capsule_body = box(8, 6, 56, 122, 22);
    outline(c, capsule_body, ink, 2.5f);
    fill(c, capsule_body, lit(rgb(90, 140, 255), 28, 50, 50));
    sdf_fn bolt = polygon({38, 14, 16, 70, 31, 70, 24, 114, 48, 52, 33, 52});
    outline(c, bolt, rgb(20, 40, 120), 2);
    fill(c, bolt, vgrad(rgb(255, 255, 230), rgb(255, 230, 80), 14, 114));
    fill(c, capsule(18, 20, 18, 42, 3), flat(rgb(220, 240, 255, 0.8f)));
}

// The glow behind a charge: a light starburst (tinted blue by the game).
void glow(canvas &c)
{
    sdf_fn burst = polygon(star_points(64, 64, 12, 62, 36, 0));
    fill(c, burst, [](float x, float y, float) {
        float r = std::hypot(x - 64, y - 64) / 62;
        return mix(rgb(255, 255, 255), rgb(150, 170, 255), clampf(r, 0, 1));
    });
}

// A puff of smoke around the stung player.
void puff(canvas &c)
{
    sdf_fn cloud = unite(unite(circle(32, 36, 16), circle(20, 30, 11)), unite(circle(44, 28, 12), circle(32, 22, 12)));
    outline(c, cloud, rgb(110, 110, 130), 1.5f);
    fill(c, cloud, lit(rgb(235, 235, 245), 30, 28, 22));
}

}  // namespace

void add_item_pictures(picture *t)
{
    t[TEX_LEAF] = {"leaf", 64, 64, leaf};
    t[TEX_SPIKE] = {"spike", 64, 64, spike};
    t[TEX_BAR_FRAME] = {"bar_frame", 256, 32, bar_frame};
    t[TEX_WAYPOINT] = {"waypoint", 64, 128, waypoint};
    t[TEX_WAYPOINT_SPIN] = {"waypoint_spin", 64, 128, waypoint_spin};
    t[TEX_DUST + 0] = {"dust0", 32, 32, dust0};
    t[TEX_DUST + 1] = {"dust1", 32, 32, dust1};
    t[TEX_DUST + 2] = {"dust2", 32, 32, dust2};
    t[TEX_DUST + 3] = {"dust3", 32, 32, dust3};
    t[TEX_CLOCK_FRAME] = {"clock_frame", 128, 128, clock_frame};
    t[TEX_CLOCK_HAND] = {"clock_hand", 32, 128, clock_hand};
    t[TEX_PLAY_AGAIN + 0] = {"play_again_en", 256, 128, play_again_en};
    t[TEX_PLAY_AGAIN + 1] = {"play_again_de", 256, 128, play_again_de};
    t[TEX_BACK_TO_START + 0] = {"back_to_start_en", 256, 128, back_to_start_en};
    t[TEX_BACK_TO_START + 1] = {"back_to_start_de", 256, 128, back_to_start_de};
    t[TEX_LEVEL_COMPLETE] = {"level_complete", 256, 128, level_complete};
    t[TEX_BEE] = {"bee", 32, 32, bee};
    t[TEX_ELECTRIC] = {"electric", 64, 128, electric};
    t[TEX_GLOW] = {"glow", 128, 128, glow};
    t[TEX_PUFF] = {"puff", 64, 64, puff};
}
