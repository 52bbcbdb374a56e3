// include/waypoints.h -- waypoints: time checkpoints that spin away when taken.
#pragma once

void clear_wpts(void);
void new_wpt(double x, double y);
void draw_wpts(void);               // also advances the spin of taken markers
void plr_on_wpts(void);
