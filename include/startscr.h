// include/startscr.h -- the start screen and the overlay picture drawer.
#pragma once
#include "structs.h"

extern unsigned int building_tex[];
extern int NUM_BTEX;
extern int first_level;

// Start-screen state; start_main resets all but text_scroll on entry.
extern int stage;                   // 0 language menu, 1 start/quit menu
extern int wt;                      // highlighted item, from 0 at the top
extern float ppx, ppy;              // pointer position, overlay pixels
extern float pdx, pdy;              // pointer destination
extern float pxx, pyy;              // pointer velocity, pixels per frame
extern float text_scroll;           // texture position of the scroller, kept across calls
extern vect_struct pointer_dir;     // unit vector from the destination to the pointer
// Called once per frame of the start screen and the menus, just before the
// flip, also on a still menu's frame that is not drawn (tests read pixels).
extern void (*start_screen_before_flip)(void);

// Runs the start screen until a choice: 0 play the level chosen on the level
// select (current_level is set to it), 1 quit (also Escape, the window's
// close button, or a missing "buildings.dat" after its message). Options
// opens the options screen and comes back here.
int start_main(void);
void draw_shaded_tex(float x, float y, float w, float h, unsigned int tex, int shaded);
void draw_scrolling_text(void);     // also advances text_scroll
void load_building_textures(void);
void free_building_textures(void);

// Items of the second menu, top to bottom.
enum start_item { START_ITEM_PLAY = 0, START_ITEM_OPTIONS = 1, START_ITEM_QUIT = 2 };
int start_menu_items(int menu_stage);       // 2 languages, then 3 items

// Shared with the other menu screens: the background sky at offset u, the
// flip (after start_screen_before_flip) and the start screen's pacing.
void draw_start_background(float u);
// start_screen_before_flip runs on every frame; the flip only on a drawn one
// (a still menu's other frames leave the window as it is).
void show_start_frame(bool drawn = true);
// Where the sky stands behind the still menus: where every menu opens, and
// where the start screen's drifting sky begins.
const float still_menu_sky = 0;
void wait_start_frame(void);

// The rules behind the menus, for tests: the picture of an item, the pointer's
// destination, whether the scroller shows, one pointer step.
int start_menu_picture(int menu_stage, int language, int item);
void start_pointer_dest(int menu_stage, int language, int item, float *x, float *y);
int start_scroller_shown(int menu_stage, int language);
void step_start_pointer(void);
