// tools/assets/start.cpp -- the start-screen pictures of "buildings.dat": menu
// words in both languages, the pointer, the title and the scrolling text.
// Menu words are 256 x 64 pictures shown at 200 x 40, so their glyphs are
// drawn 0.8 wide to look right on screen; the scroll panel shows its
// 256 x 1024 picture at 800 screen pixels per height, so its glyphs are drawn
// 1.28 tall.
#include <cmath>
#include "pictures.h"
#include "slots.h"

void paint_title_hopper(canvas &c, float ox, float oy, float scale);

namespace {

const float pi = 3.14159265f;
const float menu_xscale = (256.0f / 200.0f) / (64.0f / 40.0f);   // 0.8
const float scroll_yscale = 1024.0f / 800.0f;                    // 1.28

// Menu word, left edge at text_x texels: the game's pointer stops left of it.
void menu_word(canvas &c, const char *word, float text_x)
{
    mask ink_mask = text_mask(word, font_bold, 40, menu_xscale, 1.0f, 6);
    mask edge = grow(ink_mask, 3.0f);
    int x0 = (int)text_x - 6, y0 = 32 - ink_mask.h / 2;
    stamp(c, edge, x0 + 2, y0 + 3, flat(rgb(20, 20, 40, 0.9f)));
    stamp(c, edge, x0, y0, flat(ink));
    stamp(c, ink_mask, x0, y0, vgrad(rgb(255, 255, 245), rgb(255, 210, 80), (float)y0 + 8, (float)y0 + ink_mask.h - 8));
}

// Where each word starts, in texels: the pointer's tip rests 12, 38 and 18
// screen pixels into the picture for "Start", English "Quit" and the rest.
const float tex_per_px = 256.0f / 200.0f;
void lang_en(canvas &c) { menu_word(c, "English", 24 * tex_per_px); }
void lang_de(canvas &c) { menu_word(c, "Deutsch", 24 * tex_per_px); }
void start_en(canvas &c) { menu_word(c, "Start", 4 * tex_per_px); }
void start_de(canvas &c) { menu_word(c, "Spielen", 4 * tex_per_px); }
void quit_en(canvas &c) { menu_word(c, "Quit", 44 * tex_per_px); }
void quit_de(canvas &c) { menu_word(c, "Beenden", 24 * tex_per_px); }
void options_en(canvas &c) { menu_word(c, "Options", 24 * tex_per_px); }
void options_de(canvas &c) { menu_word(c, "Optionen", 24 * tex_per_px); }

// The pointer: an arrow whose tip is the picture's right edge.
void pointer(canvas &c)
{
    sdf_fn arrow = polygon({6, 11, 84, 11, 80, 2, 124, 16, 80, 30, 84, 21, 6, 21});
    outline(c, arrow, ink, 2.2f);
    fill(c, arrow, vgrad(rgb(255, 250, 170), rgb(255, 140, 40), 2, 30));
    fill(c, capsule(10, 14, 82, 14, 1.2f), flat(rgb(255, 255, 230)));
}

// The title: sun rays, the name in big round letters, and the hopper on a
// green hill in the lower left. The right-hand middle stays clear for the menu.
void title(canvas &c)
{
    // A rainbow over the hill, behind the hopper and under the name.
    const rgba bands[] = {rgb(240, 70, 70), rgb(255, 160, 50), rgb(255, 230, 80),
                          rgb(110, 200, 80), rgb(80, 160, 240), rgb(150, 100, 220)};
    for (int k = 0; k < 6; k++) {
        float r0 = 250 - k * 14;
        sdf_fn arc = intersect(cut(circle(150, 470, r0 - 30), circle(150, 470, r0 - 44)), box(0, 0, 512, 470, 0));
        fill(c, arc, flat(bands[k]));
    }
    fill(c, cut(intersect(circle(150, 470, 221.5f), box(0, 0, 512, 470, 0)), circle(150, 470, 220)), flat(ink));
    fill(c, cut(intersect(circle(150, 470, 136), box(0, 0, 512, 470, 0)), circle(150, 470, 134.5f)), flat(ink));
    sdf_fn hill = unite(ellipse(150, 520, 230, 120), ellipse(20, 470, 120, 80));
    outline(c, hill, ink, 3);
    fill(c, hill, [](float x, float y, float d) {
        float n = fbm(x / 40, y / 40, 64, 3, 3);
        rgba col = mix(rgb(130, 215, 75), rgb(80, 160, 50), clampf((y - 400) / 110 + n * 0.3f, 0, 1));
        return mix(shade(col, 0.8f), col, smooth(0, 5, -d));
    });
    lcg r(60);
    for (int k = 0; k < 40; k++) {
        float x = r.range(10, 370), a = r.range(-0.4f, 0.4f), l = r.range(8, 16);
        float top = 520 - 120 * std::sqrt(std::max(0.0f, 1 - ((x - 150) / 230) * ((x - 150) / 230)));
        if (top > 505) continue;
        fill(c, capsule(x, top + 4, x + std::sin(a) * l, top + 4 - std::cos(a) * l, 1.6f), flat(rgb(60, 140, 40)));
    }
    paint_title_hopper(c, 170, 340, 95);
    letter(c, "Hillhopper", font_bold, 86, 256, 118, rgb(255, 250, 200), rgb(255, 160, 40), ink, 6.0f, 0.82f, 1.15f);
}

// Credits and how to play, white on the clear picture; the scroll shows
// rows 10 % to 99 % of the picture, so the text starts at a fifth of it.
void scroll_text(canvas &c)
{
    struct line { const char *text; bool heading; };
    const line lines[] = {
        {"HILLHOPPER", true}, {"", false},
        {"How to play", true},
        {"Left, Right: run", false},
        {"Hold Enter: charge a jump", false},
        {"Let go of Enter: jump", false},
        {"Up, Down: spin in the air", false},
        {"Right Ctrl: electric boost", false},
        {"Right Shift: tap just before", false},
        {"landing to keep control", false},
        {"H: show the controls", false},
        {"Esc: give up the level", false},
        {"", false},
        {"Leaves give you power,", false},
        {"spikes take it away.", false},
        {"Clock posts add time.", false},
        {"Lightning stores a boost.", false},
        {"Mind the bees and the", false},
        {"stinging plants!", false},
        {"Reach the goal before", false},
        {"the clock runs out.", false},
        {"", false},
        {"Credits", true},
        {"Made by the Hillhopper team", false},
        {"Every picture, sound and", false},
        {"tune is made by our own", false},
        {"programs at build time.", false},
        {"Lettering: DejaVu fonts", false},
        {"Music: General MIDI, played", false},
        {"with the freepats patches", false},
        {"", false},
        {"Thanks for playing!", true},
    };
    float y = 0.21f * c.h;
    const float line_h = 15 * scroll_yscale;
    for (const line &l : lines) {
        if (l.text[0]) {
            if (l.heading)
                letter(c, l.text, font_bold, 14, 128, y, rgb(255, 240, 120), rgb(255, 180, 50), ink, 2.0f, 1.0f, scroll_yscale);
            else
                letter(c, l.text, font_sans, 11.5f, 128, y, rgb(255, 255, 255), rgb(225, 235, 255), ink, 1.6f, 1.0f, scroll_yscale);
        }
        y += line_h * (l.heading ? 1.3f : 1.0f);
    }
}

}  // namespace

void add_start_pictures(picture *b)
{
    b[BTEX_LANG_0] = {"lang_en", 256, 64, lang_en};
    b[BTEX_LANG_1] = {"lang_de", 256, 64, lang_de};
    b[BTEX_START + 0] = {"start_en", 256, 64, start_en};
    b[BTEX_START + 1] = {"start_de", 256, 64, start_de};
    b[BTEX_QUIT + 0] = {"quit_en", 256, 64, quit_en};
    b[BTEX_QUIT + 1] = {"quit_de", 256, 64, quit_de};
    b[BTEX_POINTER] = {"pointer", 128, 32, pointer};
    b[BTEX_TITLE] = {"title", 512, 512, title};
    b[BTEX_SCROLL_TEXT] = {"scroll_text", 256, 1024, scroll_text};
    b[BTEX_OPTIONS + 0] = {"options_en", 256, 64, options_en};
    b[BTEX_OPTIONS + 1] = {"options_de", 256, 64, options_de};
}
