// screens/level_select.cpp -- the level list in play order and the level
// select after Start: each level with its best time, the locked ones greyed.
// A level is keyed by its file's checksum, so a changed file shows no record.
#include <cstdio>
#include <allegro.h>
#include "hillhopper.h"
#include "level_id.h"
#include "level_list.h"
#include "platform.h"
#include "records.h"
#include "screen_text.h"
#include "screens.h"
#include "slots.h"
#include "sound.h"
#include "startscr.h"
#include "still_screen.h"
#include "std_gfuncs.h"
#include "world.h"
#include "terrain_file.h"

int level_count(void)
{
    return level_list_count();
}

std::string level_file_path(int n)
{
    return level_list_path(n);
}

int level_record_slot(int n)
{
    if (n < 0 || n >= level_count()) return -1;
    uint64_t sum = level_list_checksum(n);
    return sum ? find_record(sum) : -1;
}

// The shipped stages open one after the other; the user's own levels and the
// first stage are always open; a level the reader would refuse never is.
int level_is_open(int n)
{
    if (n < 0 || n >= level_count() || !level_list_readable(n, nullptr)) return 0;
    if (n == 0 || level_list_is_user(n)) return 1;
    return level_record_slot(n - 1) >= 0;
}

int level_select_default(void)
{
    int last_open = 0;
    for (int n = 0; n < level_count(); n++) {
        if (!level_is_open(n)) break;
        last_open = n;
        if (level_record_slot(n) < 0) return n;
    }
    return last_open;
}

// ---- the screen ------------------------------------------------------------------

const int max_rows = 64;
const double list_x = 120, list_top = 110, row_h = 26;

struct level_row {
    char name[64];
    int open;
    int record;             // slot in records, or -1
};

static int gather_rows(level_row *rows)
{
    refresh_level_list();                   // the user's folder may have changed
    int n = level_count() < max_rows ? level_count() : max_rows;
    for (int k = 0; k < n; k++) {
        snprintf(rows[k].name, sizeof(rows[k].name), "%s", level_list_name(k, lang).c_str());
        rows[k].record = level_record_slot(k);
        rows[k].open = level_is_open(k);
    }
    return n;
}

// The user's levels sit under a heading of their own, one row below the stages.
static double row_y(int k)
{
    return list_top + k * row_h + (k >= level_list_shipped_count() ? row_h : 0);
}

static void draw_row(const level_row &r, int k, int chosen)
{
    double y = row_y(k);
    if (k == chosen) dark_quad(list_x - 12, y - 3, overlay_w - list_x + 12, y + row_h - 5, 0.55);
    int grey = r.open ? 255 : 140;
    screen_text(FONT_TEXT, list_x, y, ALIGN_LEFT, grey, grey, r.open ? 200 : 140, "%s", r.name);
    char time[32];
    if (!r.open) {
        screen_text(FONT_TEXT, overlay_w - list_x, y, ALIGN_RIGHT, 140, 140, 140, "%s", lang ? "gesperrt" : "locked");
    } else if (r.record >= 0) {
        format_frames(records[r.record].frames, time, sizeof(time));
        screen_text(FONT_TEXT, 330, y, ALIGN_LEFT, 255, 255, 255, "%s", time);
        screen_text(FONT_TEXT, overlay_w - list_x, y, ALIGN_RIGHT, 200, 230, 255, lang ? "%.1f s übrig" : "%.1f s left",
                    time_left_seconds(records[r.record].time_left));
    } else {
        screen_text(FONT_TEXT, 330, y, ALIGN_LEFT, 200, 200, 200, "--:--.--");
    }
}

static void draw_level_select(const level_row *rows, int n, int chosen)
{
    double bottom = n > 0 ? row_y(n - 1) + row_h : list_top;
    dark_quad(list_x - 30, 40, overlay_w - list_x + 30, bottom + 40, 0.6);
    screen_text(FONT_TITLE, overlay_w / 2, 55, ALIGN_CENTRE, 255, 230, 120, "%s", lang ? "Stufe wählen" : "Choose a level");
    for (int k = 0; k < n; k++) draw_row(rows[k], k, chosen);
    int shipped = level_list_shipped_count();
    if (n > shipped)
        screen_text(FONT_TEXT, list_x, row_y(shipped) - row_h, ALIGN_LEFT, 160, 200, 255, "%s",
                    lang ? "Eigene Stufen" : "Your levels");
    screen_text(FONT_TEXT, overlay_w / 2, bottom + 12, ALIGN_CENTRE, 220, 220, 220, "%s",
                lang ? "Enter: spielen   Esc: zurück" : "Enter: play   Esc: back");
}

unsigned level_select_still_key(int chosen)
{
    return still_key_mix(still_key_mix(still_key_start, (unsigned)lang), (unsigned)chosen);
}

static int step_choice(const level_row *rows, int n, int chosen, int dir)
{
    for (int k = chosen + dir; k >= 0 && k < n; k += dir)
        if (rows[k].open) return k;
    return chosen;
}

int level_select_screen(void)
{
    level_row rows[max_rows];
    int n = gather_rows(rows);
    int chosen = level_select_default();
    if (chosen >= n) chosen = 0;
    still_screen picture = {};
    clear_menu_input();
    for (;;) {
        if (close_requested || (headless && !input_hook)) return -1;    // nobody could press a key
        update_the_music();
        do_keyr();
        do_mouser();
        step_menu_input();
        if (menur[MENU_UP] == LATCH_PRESSED) chosen = step_choice(rows, n, chosen, -1);
        if (menur[MENU_DOWN] == LATCH_PRESSED) chosen = step_choice(rows, n, chosen, +1);
        bool drawn = still_screen_must_draw(&picture, true, level_select_still_key(chosen));
        if (drawn) {
            draw_start_background(still_menu_sky);
            draw_level_select(rows, n, chosen);
        }
        // Chosen on the release, so that the key does not reach the first frame of play.
        if (menur[MENU_OK] == LATCH_RELEASED && n > 0 && rows[chosen].open) {
            leave_menu_input();
            return chosen;
        }
        if (menur[MENU_BACK] == LATCH_RELEASED) {
            leave_menu_input();
            return -1;
        }
        show_start_frame(drawn);
        wait_start_frame();
    }
}
