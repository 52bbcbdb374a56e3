// tools/assets/player.cpp -- the hopper: a round green frog-like creature that
// fills the player's 0.48-unit square, facing right (the game mirrors it).
// Every frame is one pose of the same figure: parts are placed in a local frame
// (body radius 1, y down) that a pose squashes, leans and shifts.
#include <cmath>
#include "pictures.h"
#include "slots.h"

namespace {

const rgba skin = rgb(112, 204, 64);
const rgba belly = rgb(236, 242, 168);
const rgba foot = rgb(250, 152, 48);
const rgba cheek = rgb(255, 130, 140);
const rgba spark = rgb(150, 235, 255);
float ls = 1;                       // outline width scale: 1 at the sprite's own size

enum eyes { EYES_OPEN, EYES_HAPPY, EYES_DIZZY, EYES_DETERMINED, EYES_SHUT, EYES_DAZED };
enum mouth { MOUTH_SMILE, MOUTH_GRIN, MOUTH_OPEN, MOUTH_GRIT, MOUTH_WOBBLE };

struct pose {
    float sx = 1, sy = 1;           // squash and stretch of the whole figure
    float lean = 0;                 // radians, clockwise on the picture
    float dy = 0;                   // shift down in body radii
    float foot_l = -0.42f, foot_r = 0.42f;  // feet along x, in radii
    float foot_lift_l = 0, foot_lift_r = 0;
    float arm = 0.4f;               // arm angle: 0 down, positive raised forward
    eyes e = EYES_OPEN;
    mouth m = MOUTH_SMILE;
    bool sparks = false;
    int spark_set = 0;
    bool speed_lines = false;
    bool stars = false;
    bool swirl = false;
    float ox = 64, oy = 70, scale = 40;   // where the figure sits in the picture
    float arm_x = 0.22f, arm_y = 0.52f;   // the near arm's shoulder
};

// The local frame: origin at the picture centre, radius scale pixels.
struct frame {
    float ox, oy, scale, sx, sy, ang;
    void to_canvas(float lx, float ly, float *x, float *y) const {
        float px = lx * scale * sx, py = ly * scale * sy;
        float c = std::cos(ang), s = std::sin(ang);
        *x = ox + px * c - py * s;
        *y = oy + px * s + py * c;
    }
    sdf_fn place(sdf_fn local) const {
        frame f = *this;
        return [f, local](float x, float y) {
            float dx = x - f.ox, dy = y - f.oy;
            float c = std::cos(-f.ang), s = std::sin(-f.ang);
            float rx = dx * c - dy * s, ry = dx * s + dy * c;
            float lx = rx / (f.scale * f.sx), ly = ry / (f.scale * f.sy);
            return local(lx, ly) * f.scale * std::min(f.sx, f.sy);
        };
    }
};

void paint_eye(canvas &c, const frame &f, float lx, float ly, float r, eyes e, float look)
{
    sdf_fn ball = f.place(circle(lx, ly, r));
    float px, py;
    f.to_canvas(lx, ly, &px, &py);
    float pr = r * f.scale;
    switch (e) {
    case EYES_OPEN:
    case EYES_DETERMINED:
    case EYES_DAZED:
        outline(c, ball, ink, 2.2f * ls);
        fill(c, ball, lit(rgb(255, 255, 255), px, py, pr));
        fill(c, f.place(circle(lx + r * 0.35f * look, ly + r * 0.1f, r * 0.5f)), flat(rgb(30, 30, 50)));
        fill(c, f.place(circle(lx + r * 0.2f * look, ly - r * 0.15f, r * 0.17f)), flat(rgb(255, 255, 255)));
        if (e == EYES_DETERMINED)   // a heavy lid slanting down towards the front
            fill(c, f.place(intersect(circle(lx, ly, r * 1.04f),
                                      polygon({lx - r * 1.2f, ly - r * 1.3f, lx + r * 1.3f, ly - r * 1.3f,
                                               lx + r * 1.3f, ly - r * 0.05f, lx - r * 1.2f, ly - r * 0.6f}))),
                 flat(shade(skin, 0.85f)));
        if (e == EYES_DAZED)
            fill(c, f.place(intersect(circle(lx, ly, r * 1.04f),
                                      box(lx - r * 1.3f, ly - r * 1.3f, lx + r * 1.3f, ly - r * 0.1f, 0))),
                 flat(shade(skin, 0.85f)));
        break;
    case EYES_HAPPY:
        outline(c, ball, ink, 2.2f * ls);
        fill(c, ball, lit(skin, px, py, pr));
        fill(c, f.place(cut(circle(lx, ly + r * 0.45f, r * 0.55f), circle(lx, ly + r * 0.75f, r * 0.5f))),
             flat(ink));
        break;
    case EYES_SHUT:
        outline(c, ball, ink, 2.2f * ls);
        fill(c, ball, lit(skin, px, py, pr));
        fill(c, f.place(capsule(lx - r * 0.55f, ly - r * 0.2f, lx + r * 0.35f, ly + r * 0.15f, r * 0.12f)), flat(ink));
        fill(c, f.place(capsule(lx - r * 0.55f, ly + r * 0.5f, lx + r * 0.35f, ly + r * 0.15f, r * 0.12f)), flat(ink));
        break;
    case EYES_DIZZY:
        outline(c, ball, ink, 2.2f * ls);
        fill(c, ball, lit(rgb(255, 255, 255), px, py, pr));
        for (int k = 0; k < 2; k++) {   // a small spiral of two rings
            float rr = r * (0.25f + 0.25f * k);
            fill(c, f.place(cut(circle(lx, ly, rr + r * 0.08f), circle(lx, ly, rr - r * 0.08f))), flat(rgb(30, 30, 50)));
        }
        break;
    }
}

void paint_mouth(canvas &c, const frame &f, mouth m)
{
    const float mx = 0.38f, my = 0.08f;
    switch (m) {
    case MOUTH_SMILE:
        fill(c, f.place(intersect(cut(circle(mx, my - 0.32f, 0.46f), circle(mx, my - 0.42f, 0.44f)),
                                  box(mx - 0.5f, my - 0.1f, mx + 0.5f, my + 0.3f, 0))), flat(ink));
        break;
    case MOUTH_GRIN:
    case MOUTH_OPEN: {
        float rr = m == MOUTH_GRIN ? 0.36f : 0.22f;
        sdf_fn open = m == MOUTH_GRIN ? intersect(circle(mx, my - 0.05f, rr), box(mx - 1, my - 0.02f, mx + 1, my + 1, 0))
                                      : ellipse(mx + 0.05f, my + 0.1f, rr * 0.8f, rr);
        outline(c, f.place(open), ink, 2.0f * ls);
        fill(c, f.place(open), flat(rgb(150, 40, 50)));
        fill(c, f.place(intersect(open, circle(mx, my + rr + 0.05f, rr * 0.75f))), flat(rgb(240, 110, 120)));
        break;
    }
    case MOUTH_GRIT: {
        sdf_fn teeth = box(mx - 0.28f, my - 0.06f, mx + 0.3f, my + 0.14f, 0.06f);
        outline(c, f.place(teeth), ink, 2.0f * ls);
        fill(c, f.place(teeth), flat(rgb(250, 250, 240)));
        fill(c, f.place(box(mx - 0.28f, my + 0.035f, mx + 0.3f, my + 0.055f, 0)), flat(ink));
        break;
    }
    case MOUTH_WOBBLE:
        for (int k = 0; k < 3; k++) {
            float x = mx - 0.25f + k * 0.2f;
            fill(c, f.place(capsule(x, my + (k % 2 ? 0.05f : -0.03f), x + 0.2f, my + (k % 2 ? -0.03f : 0.05f), 0.035f)), flat(ink));
        }
        break;
    }
}

// Little lightning bolts round the figure: zigzags of three strokes.
void paint_sparks(canvas &c, int set)
{
    lcg r(77 + set * 31);
    for (int k = 0; k < 5; k++) {
        float a = (k + 0.5f * set) * 6.2832f / 5 + r.range(-0.25f, 0.25f);
        float ca = std::cos(a), sa = std::sin(a);
        std::vector<float> pts;
        const float along[] = {44, 50, 53, 59};
        const float side[] = {0, 5, -4, 1};
        for (int i = 0; i < 4; i++) {
            pts.push_back(64 + ca * along[i] - sa * side[i]);
            pts.push_back(66 + sa * along[i] + ca * side[i]);
        }
        sdf_fn bolt = capsule(pts[0], pts[1], pts[2], pts[3], 2.0f);
        for (int i = 1; i < 3; i++)
            bolt = unite(bolt, capsule(pts[2 * i], pts[2 * i + 1], pts[2 * i + 2], pts[2 * i + 3], 2.0f));
        outline(c, bolt, rgb(30, 60, 150), 1.6f);
        fill(c, bolt, flat(rgb(255, 250, 170)));
    }
}

void paint_speed_lines(canvas &c)
{
    for (int k = 0; k < 3; k++) {
        float y = 46 + k * 18, x0 = 4 + (k % 2) * 6;
        sdf_fn line = capsule(x0, y, x0 + 16, y, 2.0f);
        outline(c, line, rgb(60, 90, 130), 1.2f);
        fill(c, line, flat(rgb(235, 245, 255)));
    }
}

void paint_stars(canvas &c)
{
    for (int k = 0; k < 3; k++) {
        float cx = 36 + k * 26, cy = 14 + (k % 2) * 8;
        std::vector<float> pts;
        for (int i = 0; i < 10; i++) {
            float a = i * 3.14159f / 5 - 1.5708f, rr = i % 2 ? 3.0f : 7.5f;
            pts.push_back(cx + std::cos(a) * rr);
            pts.push_back(cy + std::sin(a) * rr);
        }
        outline(c, polygon(pts), ink, 1.5f * ls);
        fill(c, polygon(pts), lit(rgb(255, 220, 60), cx, cy, 7));
    }
}

void paint_swirl(canvas &c)
{
    for (int k = 0; k < 3; k++) {
        float a0 = k * 2.094f;
        sdf_fn arc = intersect(cut(circle(64, 64, 60), circle(64, 64, 56)),
                               rotated(box(64, 0, 128, 64, 0), 64, 64, a0));
        outline(c, arc, rgb(70, 90, 140), 1.2f * ls);
        fill(c, arc, flat(rgb(250, 250, 255)));
    }
}

void paint_hopper(canvas &c, const pose &p)
{
    const float scale = p.scale;
    ls = scale / 40;
    frame f{p.ox, p.oy + p.dy * scale, scale, p.sx, p.sy, p.lean};
    if (p.swirl) paint_swirl(c);
    if (p.speed_lines) paint_speed_lines(c);
    if (p.sparks) {   // a cool glow ring behind the figure
        sdf_fn ring = cut(circle(64, 66, 57), circle(64, 66, 52));
        outline(c, ring, rgb(30, 70, 150), 1.2f);
        fill(c, ring, flat(rgb(120, 220, 255)));
    }
    // Back foot and back arm first, then the body, then the near limbs.
    auto paint_foot = [&](float fx, float lift) {
        sdf_fn s = f.place(ellipse(fx, 1.02f - lift, 0.34f, 0.16f));
        float x, y;
        f.to_canvas(fx, 1.0f - lift, &x, &y);
        blob(c, s, foot, 2.2f * ls, ink);
        (void)x; (void)y;
    };
    // Arms: a short limb and a round hand. The near arm hangs in front of the
    // body, the far one sticks out behind it.
    auto paint_arm = [&](float ax, float ay, float dx, float dy, float tone) {
        const float len = 0.36f;
        float ex = ax + dx * len, ey = ay + dy * len;
        blob(c, f.place(capsule(ax, ay, ex, ey, 0.12f)), shade(skin, tone), 2.0f * ls, ink);
        blob(c, f.place(circle(ex + dx * 0.04f, ey + dy * 0.04f, 0.15f)), shade(skin, tone * 1.08f), 2.0f * ls, ink);
    };
    float back = 0.6f + p.arm * 0.5f;
    paint_foot(p.foot_l, p.foot_lift_l);
    paint_arm(-0.7f, 0.25f, -std::sin(back), std::cos(back), 0.82f);
    float bx, by;
    f.to_canvas(0, 0, &bx, &by);
    sdf_fn body = f.place(ellipse(0, 0.05f, 1.08f, 0.98f));
    outline(c, body, ink, 2.6f * ls);
    fill(c, body, lit(skin, bx, by, scale));
    // Belly, a few freckles and the cheek.
    sdf_fn tummy = f.place(intersect(ellipse(0.15f, 0.45f, 0.72f, 0.52f), ellipse(0, 0.05f, 1.0f, 0.9f)));
    fill(c, tummy, rim(belly, 4));
    for (int k = 0; k < 3; k++)
        fill(c, f.place(circle(-0.55f + k * 0.16f, -0.28f + (k % 2) * 0.12f, 0.055f)), flat(shade(skin, 0.7f)));
    fill(c, f.place(ellipse(0.78f, -0.02f, 0.14f, 0.09f)), flat(cheek));
    paint_mouth(c, f, p.m);
    // Eyes bulge over the top of the head: the far one smaller and behind.
    float look = p.e == EYES_DIZZY ? 0 : 1;
    paint_eye(c, f, -0.12f, -0.78f, 0.3f, p.e, look);
    paint_eye(c, f, 0.42f, -0.74f, 0.34f, p.e, look);
    paint_arm(p.arm_x, p.arm_y, std::sin(p.arm), std::cos(p.arm), 1.0f);
    paint_foot(p.foot_r, p.foot_lift_r);
    if (p.sparks) paint_sparks(c, p.spark_set);
    if (p.stars) paint_stars(c);
}

void hopper_default(canvas &c) { paint_hopper(c, pose{}); }

void hopper_landing(canvas &c)
{
    pose p;
    p.sx = 1.14f; p.sy = 0.8f; p.dy = 0.28f; p.foot_l = -0.6f; p.foot_r = 0.6f;
    p.arm = 1.4f; p.e = EYES_HAPPY; p.m = MOUTH_GRIN;
    paint_hopper(c, p);
}

void hopper_tumbling(canvas &c)
{
    pose p;
    p.sx = 0.95f; p.sy = 0.95f; p.lean = 0.9f; p.foot_l = -0.2f; p.foot_r = 0.25f;
    p.foot_lift_l = 0.25f; p.foot_lift_r = 0.3f; p.arm = 2.4f; p.e = EYES_DIZZY; p.m = MOUTH_WOBBLE;
    p.swirl = true;
    paint_hopper(c, p);
}

void hopper_running(canvas &c)
{
    pose p;
    p.sx = 0.96f; p.sy = 1.04f; p.lean = 0.22f; p.dy = -0.05f; p.foot_l = -0.75f; p.foot_r = 0.7f;
    p.foot_lift_l = 0.22f; p.arm = -0.7f; p.m = MOUTH_GRIN; p.speed_lines = true;
    paint_hopper(c, p);
}

void hopper_recovery(canvas &c)
{
    pose p;
    p.sx = 1.08f; p.sy = 0.88f; p.dy = 0.16f; p.foot_l = -0.55f; p.foot_r = 0.62f;
    p.arm = 0.1f; p.e = EYES_DAZED; p.m = MOUTH_WOBBLE; p.stars = true;
    paint_hopper(c, p);
}

void hopper_charging(canvas &c)
{
    pose p;
    p.sx = 1.16f; p.sy = 0.76f; p.dy = 0.32f; p.lean = 0.08f; p.foot_l = -0.62f; p.foot_r = 0.62f;
    p.arm = 1.0f; p.e = EYES_DETERMINED; p.m = MOUTH_GRIT;
    paint_hopper(c, p);
}

void hopper_blink(canvas &c)
{
    pose p;
    p.sx = 1.05f; p.sy = 0.95f; p.dy = 0.06f; p.arm = 2.0f; p.e = EYES_SHUT; p.m = MOUTH_OPEN;
    paint_hopper(c, p);
}

pose boost_pose()
{
    pose p;
    p.sx = 0.94f; p.sy = 1.02f; p.lean = 0.32f; p.foot_l = -0.7f; p.foot_r = 0.55f;
    p.foot_lift_l = 0.3f; p.foot_lift_r = 0.1f; p.arm = -1.0f; p.e = EYES_DETERMINED; p.m = MOUTH_GRIN;
    p.sparks = true;
    return p;
}

void hopper_boost_a(canvas &c) { pose p = boost_pose(); paint_hopper(c, p); }
void hopper_boost_b(canvas &c) { pose p = boost_pose(); p.spark_set = 1; paint_hopper(c, p); }
void hopper_boost(canvas &c)
{
    pose p = boost_pose();
    p.sparks = false;
    p.speed_lines = true;
    p.lean = 0.4f;
    sdf_fn ring = cut(circle(64, 66, 59), circle(64, 66, 51));
    outline(c, ring, rgb(30, 70, 150), 1.2f);
    fill(c, ring, flat(rgb(130, 225, 255)));
    paint_hopper(c, p);
}

}  // namespace

// The hopper in its happy landing pose, large, for the title picture.
void paint_title_hopper(canvas &c, float ox, float oy, float scale)
{
    pose p;
    p.sx = 1.06f; p.sy = 0.94f; p.foot_l = -0.55f; p.foot_r = 0.55f;
    p.arm = 2.3f; p.arm_x = 0.78f; p.arm_y = 0.3f; p.e = EYES_OPEN; p.m = MOUTH_GRIN;
    p.ox = ox; p.oy = oy; p.scale = scale;
    paint_hopper(c, p);
    ls = 1;
}

void add_player_pictures(picture *t)
{
    const int s = 128;              // 0.48 world units: about 77 screen pixels
    t[TEX_PLAYER] = {"hopper", s, s, hopper_default};
    t[TEX_PLAYER_LANDING] = {"hopper_landing", s, s, hopper_landing};
    t[TEX_PLAYER_TUMBLING] = {"hopper_tumbling", s, s, hopper_tumbling};
    t[TEX_PLAYER_RUNNING] = {"hopper_running", s, s, hopper_running};
    t[TEX_PLAYER_RECOVERY] = {"hopper_recovery", s, s, hopper_recovery};
    t[TEX_PLAYER_CHARGING] = {"hopper_charging", s, s, hopper_charging};
    t[TEX_PLAYER_BLINK] = {"hopper_blink", s, s, hopper_blink};
    t[TEX_PLAYER_BOOST_A] = {"hopper_boost_a", s, s, hopper_boost_a};
    t[TEX_PLAYER_BOOST_B] = {"hopper_boost_b", s, s, hopper_boost_b};
    t[TEX_PLAYER_BOOST] = {"hopper_boost", s, s, hopper_boost};
}
