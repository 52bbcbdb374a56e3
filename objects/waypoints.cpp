// STUB: scaffolding until this module is built; every function here is replaced.
#include "hillhopper.h"
#include "waypoints.h"

void clear_wpts(void) {}
void new_wpt(double x, double y) {}
void draw_wpts(void) {}
void plr_on_wpts(void) {}
