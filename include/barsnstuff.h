// include/barsnstuff.h -- the HUD: clock, boost icons, power and jump bars.
#pragma once

void draw_barsnstuff(void);         // also decays the player's power
void draw_clock(void);
void draw_electrics(void);
