// editor/picker.cpp -- the modal texture picker: a grid of 64-pixel cells,
// 75 textures a page, over the terrain set or the doodad set.
// It runs its own loop as fast as the display allows and steps the latches
// itself; no other part of the game advances meanwhile. The cell under the
// pointer is found in the same 640 x 480 overlay space the cells are drawn in.
#include <allegro.h>
#include <alleggl.h>
#include "hillhopper.h"
#include "game.h"
#include "std_gfuncs.h"
#include "world.h"
#include "textures.h"
#include "editor.h"
#include "editor_state.h"

enum picker_set { SET_TERRAIN = 0, SET_DOODADS = 1 };

int picker_texture_at(double mx, double my, int page, int count)
{
    if (mx < 0 || my < 0 || page < 0) return -1;
    int column = (int)mx / picker_cell;
    int row = (int)my / picker_cell;
    // Off the right of the grid a column would alias into the next row.
    if (column >= picker_columns || row >= picker_rows) return -1;
    long index = (long)picker_page_stride * page + row * picker_columns + column;
    return index < count ? (int)index : -1;
}

static int set_count(int set)
{
    return set == SET_TERRAIN ? get_num_textures() : GET_num_dadtex();
}

static unsigned int set_texture(int set, int i)
{
    return set == SET_TERRAIN ? terrain_tex[i] : GET_doodad_tex(i);
}

static void overlay_view(void)
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0, 0, -1);
}

static void draw_cell(int x, int y, unsigned int tex)
{
    overlay_view();
    glBindTexture(GL_TEXTURE_2D, tex);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glColor3f(1, 1, 1);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 1); glVertex3f(SX(x), SY(y), 0);
    glTexCoord2f(0, 0); glVertex3f(SX(x), SY(y + picker_cell), 0);
    glTexCoord2f(1, 0); glVertex3f(SX(x + picker_cell), SY(y + picker_cell), 0);
    glTexCoord2f(1, 1); glVertex3f(SX(x + picker_cell), SY(y), 0);
    glEnd();
}

// Cells run left to right, a new row once x passes the screen's width, until
// y passes its height: the eighth row is cut by the screen edge.
static void draw_page(int set, int page, int count)
{
    const int last_x = (int)overlay_w - 1, last_y = (int)overlay_h - 1;
    int x = 0, y = 0;
    for (int i = picker_page_stride * page; i < count && y <= last_y; i++) {
        draw_cell(x, y, set_texture(set, i));
        x += picker_cell;
        if (x > last_x) {
            x = 0;
            y += picker_cell;
        }
    }
}

static void outline_cell(double mx, double my)
{
    int x = (int)mx / picker_cell * picker_cell, y = (int)my / picker_cell * picker_cell;
    int x1 = x + picker_cell, y1 = y + picker_cell;
    glLineStipple(3, 0xAAAA);
    glEnable(GL_LINE_STIPPLE);
    overlay_view();
    glColor3f(1, 1, 0);
    glBegin(GL_LINE_LOOP);
    glVertex3f(SX(x), SY(y), 0);
    glVertex3f(SX(x1), SY(y), 0);
    glVertex3f(SX(x1), SY(y1), 0);
    glVertex3f(SX(x), SY(y1), 0);
    glEnd();
    glDisable(GL_LINE_STIPPLE);
}

static void draw_pass(int set, int page, int count, int under)
{
    if (headless) {
        draw_mouse();                       // keeps the label counters running
        return;
    }
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_TEXTURE_2D);
    draw_page(set, page, count);
    glDisable(GL_TEXTURE_2D);
    draw_mouse();
    if (under != -1) outline_cell(mouse_overlay_x(), mouse_overlay_y());
}

void select_a_texture(void)
{
    if (headless && !input_hook) return;    // nobody could ever choose
    int set = SET_TERRAIN, page = 0;
    for (;;) {
        if (close_requested) return;
        if (keyr[KEY_T] == LATCH_PRESSED) set = SET_TERRAIN;
        if (keyr[KEY_D] == LATCH_PRESSED) set = SET_DOODADS;
        int count = set_count(set);
        int under = picker_texture_at(mouse_overlay_x(), mouse_overlay_y(), page, count);
        draw_pass(set, page, count, under);
        // A click on a cell that shows no texture is ignored.
        if (mb1 == LATCH_PRESSED) {
            if (under != -1) {
                edt.cur_tex = under;
                mb1 = LATCH_HELD;           // the click is the picker's, not a vertex pick
                return;
            }
        } else if (mb2 == LATCH_PRESSED || keyr[KEY_ESC] == LATCH_RELEASED) {
            clear_keyr();
            return;
        } else if (keyr[KEY_RIGHT] == LATCH_PRESSED) {
            page++;
        } else if (keyr[KEY_LEFT] == LATCH_PRESSED && page > 0) {
            page--;
        }
        do_keyr();
        do_mouser();
        if (!headless) allegro_gl_flip();
    }
}
