// screens/startscr.cpp -- the start screen: a language menu, then a start/quit
// menu in pictures of the chosen language, over a drifting background with a
// bobbing title and a gliding pointer; and draw_shaded_tex, the overlay
// picture drawer the frame loop uses for its own menus.
// Every word here is a picture of "buildings.dat"; the pictures live only
// while start_main runs.
#include <cmath>
#include <cstdio>
#include <allegro.h>
#include <alleggl.h>
#include "hillhopper.h"
#include "game.h"
#include "geometry.h"
#include "slots.h"
#include "sound.h"
#include "std_gfuncs.h"
#include "textures.h"
#include "world.h"
#include "startscr.h"
#include "screens.h"
#include "screen_text.h"
#include "settings.h"

unsigned int building_tex[num_tex_slots];
int NUM_BTEX = 0;
int first_level = 0;

int stage = 0;
int wt = 0;
float ppx = 100, ppy = 100;
float pdx = 0, pdy = 0;
float pxx = 0, pyy = 0;
float text_scroll = 0.74f;
vect_struct pointer_dir;
void (*start_screen_before_flip)(void) = nullptr;

static const char *const buildings_datafile = "buildings.dat";
static int buildings_missing = 0;           // the last load failed

const float pointer_start = 100;            // where the pointer appears, both axes
const float pointer_pull = 4;               // pixels per frame towards the item
const float pointer_keep = 0.8f;            // velocity kept per frame
const double pointer_snap = 2;              // closer than this, the pointer lands
const float item_x = 350, item_w = 200, item_h = 40;
const float item_y[3] = {210, 260, 310};
const int start_frame_ticks = 24;           // wait until ztimer exceeds this

// ---- pictures --------------------------------------------------------------

void draw_shaded_tex(float x, float y, float w, float h, unsigned int tex, int shaded)
{
    if (headless) return;
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, tex);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glColor4f(1, 1, 1, 1);
    glBegin(GL_QUADS);
    if (shaded) glColor3f(0, 0, 0.6f);
    glTexCoord2f(0.01f, 0.99f); glVertex3f(SX(x), SY(y), 0);
    if (shaded) glColor3f(1, 1, 1);
    glTexCoord2f(0.01f, 0.01f); glVertex3f(SX(x), SY(y + h), 0);
    if (shaded) glColor3f(0, 0, 0.6f);
    glTexCoord2f(0.99f, 0.01f); glVertex3f(SX(x + w), SY(y + h), 0);
    if (shaded) glColor3f(0.6f, 0.6f, 1);
    glTexCoord2f(0.99f, 0.99f); glVertex3f(SX(x + w), SY(y), 0);
    glEnd();
}

// A picture the datafile did not bring is not drawn.
static void draw_building(int index, float x, float y, float w, float h, int shaded)
{
    if (index < 0 || index >= NUM_BTEX) return;
    draw_shaded_tex(x, y, w, h, building_tex[index], shaded);
}

void load_building_textures(void)
{
    if (headless) set_color_conversion(COLORCONV_NONE);
    // A damaged file counts as missing: Allegro's reader crashes on one cut short.
    DATAFILE *dat = load_whole_datafile(buildings_datafile);
    if (!dat) {
        buildings_missing = 1;
        if (!headless) set_gfx_mode(GFX_TEXT, 0, 0, 0, 0);
        allegro_message("Unable to load buildings.dat!\n");
        return;
    }
    buildings_missing = 0;
    NUM_BTEX = usable_objects(dat, num_tex_slots);
    if (!headless) glColor4f(1, 1, 1, 1);
    for (int k = 0; k < NUM_BTEX; k++)
        building_tex[k] = texture_from_object(&dat[k], buildings_datafile, k);
    unload_datafile(dat);
}

void free_building_textures(void)
{
    for (int k = 0; k < NUM_BTEX; k++) {
        delete_texture(building_tex[k]);
        building_tex[k] = 0;
    }
    NUM_BTEX = 0;
}

// ---- menus -----------------------------------------------------------------

int start_menu_items(int menu_stage)
{
    return menu_stage == 0 ? 2 : 3;
}

int start_menu_picture(int menu_stage, int language, int item)
{
    if (menu_stage == 0) return item == 0 ? BTEX_LANG_0 : BTEX_LANG_1;
    if (item == START_ITEM_OPTIONS) return BTEX_OPTIONS + (language ? 1 : 0);
    return (item == START_ITEM_PLAY ? BTEX_START : BTEX_QUIT) + (language ? 1 : 0);
}

void start_pointer_dest(int menu_stage, int language, int item, float *x, float *y)
{
    int last = start_menu_items(menu_stage) - 1;
    if (item < 0) item = 0;
    if (item > last) item = last;
    *y = item_y[item];
    if (menu_stage == 0) *x = 270;
    else if (item == START_ITEM_PLAY) *x = 240;
    else if (item == START_ITEM_QUIT) *x = language == 0 ? 290 : 270;
    else *x = 270;
}

int start_scroller_shown(int menu_stage, int language)
{
    return menu_stage == 1 && language == 0;
}

static int wrap_item(int item)
{
    int n = start_menu_items(stage);
    if (item < 0) item = n - 1;
    if (item >= n) item = 0;
    return item;
}

static void draw_menu(void)
{
    for (int item = 0; item < start_menu_items(stage); item++)
        draw_building(start_menu_picture(stage, lang, item), item_x, item_y[item], item_w, item_h, 1);
    wt = wrap_item(wt);
    start_pointer_dest(stage, lang, wt, &pdx, &pdy);
}

// The pointer is pulled towards its item, overshoots less each frame and
// lands when it comes within 2 pixels.
void step_start_pointer(void)
{
    vect_struct away = {(double)ppx - pdx, (double)ppy - pdy};
    unit_vect(away, &pointer_dir);
    pxx = (float)((pxx - pointer_pull * pointer_dir.x) * pointer_keep);
    pyy = (float)((pyy - pointer_pull * pointer_dir.y) * pointer_keep);
    ppx += pxx;
    ppy += pyy;
    if (dist(ppx, ppy, pdx, pdy) < pointer_snap) {
        ppx = pdx;
        ppy = pdy;
        pxx = pyy = 0;
    }
}

// ---- the loop ----------------------------------------------------------------

void draw_scrolling_text(void)
{
    text_scroll -= 0.0006f;
    if (text_scroll < 0.01f) text_scroll = 0.8f;
    if (headless || NUM_BTEX <= BTEX_SCROLL_TEXT) return;
    float T = text_scroll;
    float top = T + 0.1f > 0.99f ? 0.99f : T + 0.1f;
    float mid = T + 0.025f > 0.99f ? 0.99f : T + 0.025f;
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, building_tex[BTEX_SCROLL_TEXT]);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glBegin(GL_QUADS);
    glColor4f(0, 0, 0.6f, 1); glTexCoord2f(0.01f, top);        glVertex3f(SX(350), SY(0), 0);
    glColor4f(0, 0, 0.6f, 1); glTexCoord2f(0.01f, T + 0.025f); glVertex3f(SX(350), SY(60), 0);
    glColor4f(1, 1, 1, 1);    glTexCoord2f(0.99f, T + 0.025f); glVertex3f(SX(606), SY(60), 0);
    glColor4f(1, 1, 1, 1);    glTexCoord2f(0.99f, top);        glVertex3f(SX(606), SY(0), 0);
    // The lower band fades the text out at the panel's bottom edge.
    glColor4f(0, 0, 0.6f, 1); glTexCoord2f(0.01f, mid);        glVertex3f(SX(350), SY(60), 0);
    glColor4f(0, 0, 0.6f, 0); glTexCoord2f(0.01f, T);          glVertex3f(SX(350), SY(80), 0);
    glColor4f(1, 1, 1, 0);    glTexCoord2f(0.99f, T);          glVertex3f(SX(606), SY(80), 0);
    glColor4f(1, 1, 1, 1);    glTexCoord2f(0.99f, mid);        glVertex3f(SX(606), SY(60), 0);
    glEnd();
}

void draw_start_background(float u)
{
    if (headless) return;
    // Opaque and covering the screen: blending would only read every pixel
    // back for nothing.
    glDisable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, terrain_tex[TEX_BACKGROUND]);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glColor4f(1, 1, 1, 1);
    glBegin(GL_QUADS);
    glTexCoord2f(u + 0.01f, 0.99f); glVertex3f(SX(0), SY(0), 0);
    glTexCoord2f(u + 0.01f, 0.01f); glVertex3f(SX(0), SY(overlay_h), 0);
    glTexCoord2f(u + 0.5f, 0.01f);  glVertex3f(SX(overlay_w), SY(overlay_h), 0);
    glTexCoord2f(u + 0.5f, 0.99f);  glVertex3f(SX(overlay_w), SY(0), 0);
    glEnd();
    glEnable(GL_BLEND);
}

void show_start_frame(bool drawn)
{
    if (start_screen_before_flip) start_screen_before_flip();
    if (!headless && drawn) allegro_gl_flip();
}

// Paced like the game's frames; gives the processor back between checks.
void wait_start_frame(void)
{
    if (!headless && pacing_enabled)
        rest_until_tick(start_frame_ticks + 1);
    ztimer = 0;
    j[J_FRAME]++;
}

static int leave_start(int answer)
{
    free_building_textures();
    return answer;
}

// The menus choose on the release of Space or Enter, or of the gamepad's
// first button; the extra latch step keeps that release from also choosing
// on the next menu or screen.
static int menu_chosen(void)
{
    if (keyr[KEY_SPACE] != LATCH_RELEASED && keyr[KEY_ENTER] != LATCH_RELEASED &&
        !(menur[MENU_OK] == LATCH_RELEASED && keyr[KEY_SPACE] == LATCH_UP && keyr[KEY_ENTER] == LATCH_UP))
        return 0;
    leave_menu_input();
    return 1;
}

// The language picked is remembered for the next start.
static void language_menu(void)
{
    draw_menu();
    if (!menu_chosen()) return;
    stage = 1;
    lang = wt;
    if (settings.language != lang) {
        settings.language = lang;
        save_settings();
    }
    wt = 0;
}

// Returns 0 play (current_level is the level chosen), 1 quit, -1 no choice
// yet. The level select and the options screen return here when left.
static int start_quit_menu(void)
{
    draw_menu();
    if (!menu_chosen()) return -1;
    if (wt == START_ITEM_OPTIONS) {
        options_screen();
        return -1;
    }
    if (wt == START_ITEM_QUIT) return 1;
    int level = level_select_screen();
    if (close_requested) return 1;
    if (level < 0) return -1;
    current_level = level;
    return 0;
}

int start_main(void)
{
    if (!headless) {
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glTranslatef(0, 0, -1);
    }
    load_building_textures();
    // Without its pictures the screen is already in text mode: nothing can be
    // shown or played, so the answer is quit.
    if (buildings_missing) return 1;
    ppx = ppy = pointer_start;
    pxx = pyy = 0;
    wt = settings.language;                 // the language chosen last time
    stage = 0;
    load_fonts();
    float u = still_menu_sky, p = 0, q = 0;
    for (;;) {
        if (close_requested) return leave_start(1);
        update_the_music();
        do_keyr();
        do_mouser();
        step_menu_input();
        draw_start_background(u);
        u -= 0.0004f;
        if (menur[MENU_UP] == LATCH_PRESSED) wt--;
        if (menur[MENU_DOWN] == LATCH_PRESSED) wt++;
        float a = (float)(sin(p) * 10), b = (float)(sin(q / Z_PI) * 35);
        p += 0.09f;
        q += 0.074252434f;
        draw_building(BTEX_TITLE, 10 + a, b - 5, 460, 460, 0);
        if (stage == 0) language_menu();
        if (stage == 1) {
            int answer = start_quit_menu();
            if (answer >= 0) return leave_start(answer);
        }
        step_start_pointer();
        draw_building(BTEX_POINTER, ppx - 30, ppy + 5, 128, 32, 0);
        if (start_scroller_shown(stage, lang)) draw_scrolling_text();
        if (menur[MENU_BACK] == LATCH_RELEASED) return leave_start(1);
        show_start_frame();
        wait_start_frame();
    }
}
