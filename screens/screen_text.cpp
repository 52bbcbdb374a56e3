// screens/screen_text.cpp -- text in the game's fonts, dark panels, and menu
// input from keys and the gamepad.
// A string is printed into a masked texture once and kept (text_cache.h)
// until the display changes.
#include <cstdarg>
#include <cstdio>
#include <allegro.h>
#include <alleggl.h>
#include "actions.h"
#include "game.h"
#include "hillhopper.h"
#include "screen_text.h"
#include "slots.h"
#include "std_gfuncs.h"
#include "text_cache.h"
#include "textures.h"
#include "world.h"

static DATAFILE *fonts_dat = NULL;
static const char *const fonts_datafile = "fonts.dat";

void load_fonts(void)
{
    if (fonts_dat) return;
    fonts_dat = load_whole_datafile(fonts_datafile);
    int fonts = 0;
    while (fonts_dat && fonts < NUM_FONTS && fonts_dat[fonts].type == DAT_FONT) fonts++;
    if (fonts_dat && fonts == NUM_FONTS) return;
    if (fonts_dat) unload_datafile(fonts_dat);
    fonts_dat = NULL;
    fprintf(stderr, "hillhopper: %s is missing or damaged; the screens use a plain font\n", fonts_datafile);
}

void free_fonts(void)
{
    free_text_textures();
    if (fonts_dat) unload_datafile(fonts_dat);
    fonts_dat = NULL;
}

FONT *screen_font(int slot)
{
    if (!fonts_dat || slot < 0 || slot >= NUM_FONTS) return font;
    return (FONT *)fonts_dat[slot].dat;
}

int screen_text_width(int slot, const char *utf8)
{
    return text_length(screen_font(slot), utf8);
}

int screen_text_height(int slot)
{
    return text_height(screen_font(slot));
}

static int texture_side(int needed)
{
    int side = 16;
    while (side < needed) side *= 2;
    return side;
}

static text_cache texts;

void free_text_textures(void)
{
    text_cache_clear(&texts, headless ? nullptr : delete_texture_name);
    free_label_textures();
}

// The string printed into a masked texture of its own; the text sits at the
// texture's bottom, because t runs up from the bitmap's last row. 0 when it
// cannot be made.
static GLuint print_text_texture(FONT *f, const char *text, int colour, int h, int tw, int th)
{
    BITMAP *bmp = create_bitmap_ex(32, tw, th);
    if (!bmp) return 0;
    clear_to_color(bmp, makecol32(255, 0, 255));
    textout_ex(bmp, f, text, 0, th - h, colour, -1);
    GLuint tex = allegro_gl_make_masked_texture(bmp);
    destroy_bitmap(bmp);
    return tex;
}

static void text_quad(GLuint tex, double x, double y, int w, int h, int tw, int th, double opacity)
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0, 0, -1);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, tex);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glColor4f(1, 1, 1, (float)opacity);
    double s1 = (double)w / tw, t1 = (double)h / th;
    glBegin(GL_QUADS);
    glTexCoord2f(0, (float)t1);          glVertex3f((float)SX(x), (float)SY(y), 0);
    glTexCoord2f(0, 0);                  glVertex3f((float)SX(x), (float)SY(y + h), 0);
    glTexCoord2f((float)s1, 0);          glVertex3f((float)SX(x + w), (float)SY(y + h), 0);
    glTexCoord2f((float)s1, (float)t1);  glVertex3f((float)SX(x + w), (float)SY(y), 0);
    glEnd();
}

// A string seen before is drawn from the texture it was printed into then:
// the same texels, so the same picture, without a new texture each frame.
static void draw_text(int slot, double x, double y, int align, int r, int g, int b, double opacity,
                      const char *format, va_list ap)
{
    if (headless) return;
    char text[512];
    vsnprintf(text, sizeof(text), format, ap);
    FONT *f = screen_font(slot);
    int w = text_length(f, text), h = text_height(f);
    if (w <= 0 || h <= 0) return;
    if (align == ALIGN_CENTRE) x -= w / 2.0;
    if (align == ALIGN_RIGHT) x -= w;
    int colour = makecol32(r, g, b);
    int tw = texture_side(w), th = texture_side(h);
    if (!text_cache_keeps(text)) {
        GLuint tex = print_text_texture(f, text, colour, h, tw, th);
        if (!tex) return;
        text_quad(tex, x, y, w, h, tw, th, opacity);
        glDeleteTextures(1, &tex);
    } else {
        bool fresh;
        text_cache_entry &e = kept_text_entry(&texts, f, colour, text, w, h, tw, th, &fresh);
        if (fresh) e.texture = print_text_texture(f, text, colour, h, tw, th);
        if (e.texture) text_quad(e.texture, x, y, e.w, e.h, e.tw, e.th, opacity);
    }
    glColor4f(1, 1, 1, 1);
}

void screen_text(int slot, double x, double y, int align, int r, int g, int b, const char *format, ...)
{
    va_list ap;
    va_start(ap, format);
    draw_text(slot, x, y, align, r, g, b, 1.0, format, ap);
    va_end(ap);
}

void screen_text_faded(int slot, double x, double y, int align, int r, int g, int b, double opacity,
                       const char *format, ...)
{
    va_list ap;
    va_start(ap, format);
    draw_text(slot, x, y, align, r, g, b, opacity, format, ap);
    va_end(ap);
}

void dark_quad(double x0, double y0, double x1, double y1, double alpha)
{
    if (headless) return;
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0, 0, -1);
    glDisable(GL_TEXTURE_2D);
    glColor4f(0, 0, 0, (float)alpha);
    glBegin(GL_QUADS);
    glVertex3f((float)SX(x0), (float)SY(y0), 0);
    glVertex3f((float)SX(x0), (float)SY(y1), 0);
    glVertex3f((float)SX(x1), (float)SY(y1), 0);
    glVertex3f((float)SX(x1), (float)SY(y0), 0);
    glEnd();
    glColor4f(1, 1, 1, 1);
}

// ---- input -------------------------------------------------------------------

char menur[NUM_MENU_INPUTS];
const int menu_ok_button = 0, menu_back_button = 1;

static int have_gamepad(void)
{
    return num_joysticks > 0 && joy[0].num_sticks >= 0;
}

// Every stick of the first gamepad counts: on many pads the d-pad is a stick.
unsigned gamepad_direction_bits(void)
{
    if (!have_gamepad()) return 0;
    poll_joystick();
    unsigned bits = 0;
    int sticks = joy[0].num_sticks < MAX_JOYSTICK_STICKS ? joy[0].num_sticks : MAX_JOYSTICK_STICKS;
    for (int s = 0; s < sticks; s++) {
        const JOYSTICK_STICK_INFO &st = joy[0].stick[s];
        if (st.num_axis >= 1 && st.axis[0].d1) bits |= 1u << ACT_LEFT;
        if (st.num_axis >= 1 && st.axis[0].d2) bits |= 1u << ACT_RIGHT;
        if (st.num_axis >= 2 && st.axis[1].d1) bits |= 1u << ACT_SPIN_UP;
        if (st.num_axis >= 2 && st.axis[1].d2) bits |= 1u << ACT_SPIN_DOWN;
    }
    return bits;
}

int gamepad_button_down(void)
{
    if (!have_gamepad()) return -1;
    poll_joystick();
    int n = joy[0].num_buttons < MAX_JOYSTICK_BUTTONS ? joy[0].num_buttons : MAX_JOYSTICK_BUTTONS;
    for (int b = 0; b < n; b++)
        if (joy[0].button[b].b) return b;
    return -1;
}

static int button(int b)
{
    return have_gamepad() && b < joy[0].num_buttons && joy[0].button[b].b;
}

void step_menu_input(void)
{
    unsigned pad = gamepad_direction_bits();
    int down[NUM_MENU_INPUTS] = {
        keyr[KEY_UP] == LATCH_PRESSED || keyr[KEY_UP] == LATCH_HELD || (pad >> ACT_SPIN_UP & 1),
        keyr[KEY_DOWN] == LATCH_PRESSED || keyr[KEY_DOWN] == LATCH_HELD || (pad >> ACT_SPIN_DOWN & 1),
        keyr[KEY_LEFT] == LATCH_PRESSED || keyr[KEY_LEFT] == LATCH_HELD || (pad >> ACT_LEFT & 1),
        keyr[KEY_RIGHT] == LATCH_PRESSED || keyr[KEY_RIGHT] == LATCH_HELD || (pad >> ACT_RIGHT & 1),
        keyr[KEY_ENTER] == LATCH_PRESSED || keyr[KEY_ENTER] == LATCH_HELD || keyr[KEY_SPACE] == LATCH_PRESSED ||
            keyr[KEY_SPACE] == LATCH_HELD || button(menu_ok_button),
        keyr[KEY_ESC] == LATCH_PRESSED || keyr[KEY_ESC] == LATCH_HELD || button(menu_back_button)};
    for (int m = 0; m < NUM_MENU_INPUTS; m++) menur[m] = (char)step_latch(menur[m], down[m]);
}

void leave_menu_input(void)
{
    do_keyr();
    step_menu_input();
}

void clear_menu_input(void)
{
    for (char &m : menur) m = LATCH_UP;
}
