// include/barsnstuff.h -- the HUD: clock, boost icons, power and jump bars.
#pragma once

// Once per frame after the physics and bonus collection; also decays the
// player's power (f slot 0) by x 0.995, headless as well.
void draw_barsnstuff(void);
void draw_clock(void);              // also plays the warning tick
void draw_electrics(void);

// The numbers behind the HUD, in overlay pixels.
double power_bar_end(double power);     // right end of the power bar: 320 at 0, 437 at 100
double jump_bar_end(double charge);     // right end of the jump bar
double electric_icon_x(int k);          // centre of the k-th boost icon (k from 0)
// The clock warns (pulses and ticks) while time left is below 8 and the
// player has not given up or died.
int clock_warns(double time_left, int lost);
double clock_scale(double time_left, int lost, int frame);  // 1 at rest, 1..1.6 warning
int clock_ticks(double time_left, int lost, int frame);     // plays the tick this frame
