// include/startscr.h -- the start screen and the overlay picture drawer.
#pragma once

extern unsigned int building_tex[];
extern int NUM_BTEX;
extern int first_level;

int start_main(void);               // 0 play from first_level, 1 quit
void draw_shaded_tex(float x, float y, float w, float h, unsigned int tex, int shaded);
void draw_scrolling_text(void);
void load_building_textures(void);
void free_building_textures(void);
