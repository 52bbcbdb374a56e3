// shell/std_gfuncs.cpp -- key and mouse latches, waiting for a key, number
// text, level file names and the on-screen text printer.
// The game never reads key[] in its logic: it reads the latches stepped here.
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <allegro.h>
#include <alleggl.h>
#include "hillhopper.h"
#include "std_gfuncs.h"
#include "world.h"
#include "game.h"
#include "actions.h"
#include "replay.h"
#include "text_cache.h"

void (*input_hook)(void) = nullptr;

void clear_keyr(void)
{
    memset(keyr, 0, sizeof(keyr));
    clear_action_latches();
}

// 2 (released last frame) clears first, so a key pressed again in the frame
// right after its release reads 1, not 3.
int step_latch(int latch, int down)
{
    if (latch == LATCH_RELEASED) latch = LATCH_UP;
    if (!down) return latch != LATCH_UP ? LATCH_RELEASED : LATCH_UP;
    return latch != LATCH_UP ? LATCH_HELD : LATCH_PRESSED;
}

void do_keyr(void)
{
    if (input_hook) input_hook();
    // A held key can read -1 in key[]: any non-zero value is down.
    for (int n = 0; n < num_keys; n++)
        keyr[n] = (char)step_latch(keyr[n], key[n] != 0);
    step_action_latches(replay_latch_step());
}

void do_mouser(void)
{
    set_mpos();
    mb1 = step_latch(mb1, (mouse_b & 1) != 0);
    mb2 = step_latch(mb2, (mouse_b & 2) != 0);
}

static int any_key_released(void)
{
    for (int n = 0; n < num_keys; n++)
        if (keyr[n] == LATCH_RELEASED) return 1;
    return 0;
}

// All latches start at 0, so a key already down when the wait starts counts
// as newly pressed and its release ends the wait.
// A replay being watched does not wait: it sets the latches the live wait left.
void wfk(void)
{
    if (replay_wait_played()) return;
    if (headless && !input_hook) return;    // nobody could ever press a key
    replay_wait_begin();
    clear_keyr();
    for (;;) {
        do_keyr();
        if (any_key_released() || close_requested) break;
        if (!headless) rest(1);
    }
    replay_wait_end();
}

void int_to_str(int num, char *str)
{
    if (num == 0) {
        strcpy(str, "0");
        return;
    }
    int pos = 0;
    if (num < 0) {
        str[pos++] = '-';
        num = -num;
    }
    int n = (int)log10((double)num) + 1;
    for (int i = 0; i < n; i++) {
        long long upper = (long long)pow(10.0, n - i);
        long long lower = (long long)pow(10.0, n - 1 - i);
        str[pos++] = (char)('0' + (num % upper) / lower);
    }
    str[pos] = 0;
}

static const char *file_extension(int ft)
{
    switch (ft) {
    case 0: return ".bmp";
    case 1: return ".txt";
    case 2: return ".trn";
    case 3: return ".mid";
    default: return "";
    }
}

void loadn(const char *c, int x, int ft)
{
    const int template_search = 20;
    int tilde = -1;
    for (int i = 0; i < template_search && c[i]; i++) {
        if (c[i] == '~') {
            tilde = i;
            break;
        }
    }
    if (tilde < 0) return;
    char number[12];
    int_to_str(x, number);
    snprintf(xnam, xnam_size, "%.*s%s%s", tilde, c, number, file_extension(ft));
}

// Doubles at least once: a text texture is at least 16 by 8 texels.
static int texture_side(int start, int needed)
{
    int side = start * 2;
    while (side < needed) side *= 2;
    return side;
}

static text_cache labels;

void delete_texture_name(unsigned texture)
{
    GLuint name = texture;
    glDeleteTextures(1, &name);
}

text_cache_entry &kept_text_entry(text_cache *c, const void *font, int colour, const char *key,
                                  int w, int h, int tw, int th, bool *fresh)
{
    int k = text_cache_find(c, font, colour, key);
    *fresh = k < 0;
    if (*fresh) {
        unsigned old = 0;
        k = text_cache_claim(c, font, colour, key, &old);
        if (old) delete_texture_name(old);
        text_cache_entry &e = c->entry[k];
        e.texture = 0;
        e.w = w; e.h = h; e.tw = tw; e.th = th;
    }
    return c->entry[k];
}

void free_label_textures(void)
{
    text_cache_clear(&labels, headless ? nullptr : delete_texture_name);
}

static GLuint print_label_texture(FONT *fnt, const char *text, int color, int tw, int th)
{
    BITMAP *bmp = create_bitmap_ex(32, tw, th);
    if (!bmp) return 0;
    clear_to_color(bmp, makecol32(255, 0, 255));
    textout_ex(bmp, fnt, text, 0, 0, color, -1);
    GLuint tex = allegro_gl_make_masked_texture(bmp);
    destroy_bitmap(bmp);
    return tex;
}

static void label_quad(GLuint tex, int x, int y, int w, int h, int tw, int th)
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0, 0, -1);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, tex);
    double s1 = (double)w / tw, t1 = (double)h / th;
    glBegin(GL_QUADS);
    glTexCoord2f(0, t1);
    glVertex3f(SX(x), SY(y), 0);
    glTexCoord2f(0, 0);
    glVertex3f(SX(x), SY(y + h), 0);
    glTexCoord2f(s1, 0);
    glVertex3f(SX(x + w), SY(y + h), 0);
    glTexCoord2f(s1, t1);
    glVertex3f(SX(x + w), SY(y), 0);
    glEnd();
}

// A label drawn before (same font, colour, text and quad width) is drawn
// from the texture it was printed into then, as the screens' text is.
void ztextprintf(int sizeofnums, FONT *fnt, int x, int y, int color, const char *s, ...)
{
    if (headless) return;
    char buf[512];
    va_list ap;
    va_start(ap, s);
    uvszprintf(buf, sizeof(buf), s, ap);
    va_end(ap);

    // The quad is as wide as the format string plus the caller's allowance
    // for what the values add, not as wide as the formatted text.
    int w = text_length(fnt, s) + sizeofnums;
    int h = text_height(fnt);
    int tw = texture_side(8, w);
    int th = texture_side(4, h);

    char key[sizeof(buf) + 16];
    snprintf(key, sizeof(key), "%d|%s", w, buf);
    if (!text_cache_keeps(key)) {
        GLuint tex = print_label_texture(fnt, buf, color, tw, th);
        if (!tex) return;
        label_quad(tex, x, y, w, h, tw, th);
        glDeleteTextures(1, &tex);
        return;
    }
    bool fresh;
    text_cache_entry &e = kept_text_entry(&labels, fnt, color, key, w, h, tw, th, &fresh);
    if (fresh) e.texture = print_label_texture(fnt, buf, color, tw, th);
    if (e.texture) label_quad(e.texture, x, y, e.w, e.h, e.tw, e.th);
}
