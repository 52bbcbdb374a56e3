// STUB: scaffolding until this module is built; every function here is replaced.
#include "hillhopper.h"
#include "barsnstuff.h"

void draw_barsnstuff(void) {}
void draw_clock(void) {}
void draw_electrics(void) {}
