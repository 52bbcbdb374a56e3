// STUB: scaffolding until this module is built; every function here is replaced.
#include "hillhopper.h"
#include "bees.h"

void clear_bees(void) {}
void new_bees(float x, float y) {}
void hives_check(void) {}
void do_bees(void) {}
