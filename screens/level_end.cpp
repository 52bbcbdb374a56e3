// screens/level_end.cpp -- the level-complete screen's text and choices, and
// the closing screen after the last level.
// The level-complete screen waits for the player: Space or Enter goes on,
// Backspace plays the level again. After the last level comes the ending,
// then the start screen; the game never runs on into a level it does not have.
#include <cstdio>
#include <allegro.h>
#include "actions.h"
#include "hillhopper.h"
#include "level_id.h"
#include "level_list.h"
#include "terrain_file.h"
#include "records.h"
#include "screen_text.h"
#include "screens.h"
#include "slots.h"
#include "sound.h"
#include "startscr.h"
#include "still_screen.h"
#include "std_gfuncs.h"
#include "world.h"

// The file is read again: a level saved over since its start is another level.
void finish_level_attempt(void)
{
    std::string path = level_load_path(current_level);
    bool ok = false;
    uint64_t now = level_checksum_of_file(path.c_str(), &ok);
    finish_attempt(f[F_TIME], now, ok);
}

void draw_level_complete_text(void)
{
    char time[32], best[32];
    format_frames(attempt.frames, time, sizeof(time));
    int slot = attempt.level_known ? find_record(attempt.level) : -1;
    double y = 300;
    dark_quad(150, y - 40, overlay_w - 150, y + 120, 0.6);
    screen_text(FONT_TEXT, overlay_w / 2, y - 32, ALIGN_CENTRE, 255, 230, 120, "%s",
                level_list_name(current_level, lang).c_str());
    screen_text(FONT_TEXT, 180, y, ALIGN_LEFT, 255, 255, 255, lang ? "Zeit: %s  (%.1f s übrig)" : "Time: %s  (%.1f s left)",
                time, time_left_seconds((int)(attempt.time_left * 100 + 0.5)));
    if (slot >= 0) {
        format_frames(records[slot].frames, best, sizeof(best));
        screen_text(FONT_TEXT, 180, y + 24, ALIGN_LEFT, 200, 230, 255, lang ? "Bestzeit: %s" : "Best: %s", best);
    }
    if (attempt.new_best)
        screen_text(FONT_TITLE, overlay_w - 180, y + 14, ALIGN_RIGHT, 255, 220, 60, "%s", lang ? "Neue Bestzeit!" : "New best!");
    screen_text(FONT_TEXT, overlay_w / 2, y + 60, ALIGN_CENTRE, 230, 230, 230, "%s",
                lang ? "Leertaste/Enter: weiter" : "Space/Enter: go on");
    screen_text(FONT_TEXT, overlay_w / 2, y + 82, ALIGN_CENTRE, 230, 230, 230, "%s",
                lang ? "Rücktaste: nochmal spielen" : "Backspace: play again");
}

frame_result level_complete_choice(int next)
{
    step_menu_input();
    if (restart_wanted()) return FRAME_LEVEL_START;
    if (menur[MENU_OK] != LATCH_RELEASED) return FRAME_NEXT;
    leave_menu_input();
    level_file_override.clear();    // a level file from the command line is followed by the game's own
    if (next >= 0) {
        current_level = next;
        return FRAME_LEVEL_START;
    }
    // The last shipped stage ends the game; a user level stands alone.
    if (current_level == level_list_shipped_count() - 1) ending_screen();
    current_level = first_level;
    quit_flag = start_main();
    return FRAME_LEVEL_START;
}

int best_times_total(int *all_done)
{
    int total = 0;
    *all_done = 1;
    // The stages the ending closes: the shipped ones, not the user's levels.
    for (int n = 0; n < level_list_shipped_count(); n++) {
        int slot = level_record_slot(n);
        if (slot < 0) *all_done = 0;
        else total += records[slot].frames;
    }
    return total;
}

static void draw_ending(int total, int all_done)
{
    dark_quad(90, 120, overlay_w - 90, 360, 0.6);
    screen_text(FONT_TITLE, overlay_w / 2, 140, ALIGN_CENTRE, 255, 230, 120, "%s",
                lang ? "Geschafft!" : "Well done!");
    screen_text(FONT_TEXT, overlay_w / 2, 190, ALIGN_CENTRE, 255, 255, 255, "%s",
                lang ? "Du hast alle Stufen geschafft." : "You have finished every stage.");
    char time[32];
    format_frames(total, time, sizeof(time));
    screen_text(FONT_TEXT, overlay_w / 2, 230, ALIGN_CENTRE, 200, 230, 255,
                lang ? "Summe der Bestzeiten: %s" : "Total of best times: %s", time);
    if (!all_done)
        screen_text(FONT_TEXT, overlay_w / 2, 256, ALIGN_CENTRE, 180, 180, 180, "%s",
                    lang ? "(nicht jede Stufe hat schon eine Bestzeit)" : "(not every stage has a best time yet)");
    screen_text(FONT_TEXT, overlay_w / 2, 310, ALIGN_CENTRE, 230, 230, 230, "%s",
                lang ? "Enter: zum Startbildschirm" : "Enter: back to the start screen");
}

unsigned ending_still_key(int total, int all_done)
{
    unsigned key = still_key_mix(still_key_start, (unsigned)lang);
    return still_key_mix(still_key_mix(key, (unsigned)total), (unsigned)all_done);
}

void ending_screen(void)
{
    int all_done;
    int total = best_times_total(&all_done);
    still_screen picture = {};
    clear_menu_input();
    for (;;) {
        if (close_requested || (headless && !input_hook)) break;    // nobody could press a key
        update_the_music();
        do_keyr();
        do_mouser();
        step_menu_input();
        bool drawn = still_screen_must_draw(&picture, true, ending_still_key(total, all_done));
        if (drawn) {
            draw_start_background(still_menu_sky);
            draw_ending(total, all_done);
        }
        if (menur[MENU_OK] == LATCH_RELEASED || menur[MENU_BACK] == LATCH_RELEASED) {
            leave_menu_input();
            break;
        }
        show_start_frame(drawn);
        wait_start_frame();
    }
}
