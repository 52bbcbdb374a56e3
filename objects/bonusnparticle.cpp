// STUB: scaffolding until this module is built; every function here is replaced.
#include "hillhopper.h"
#include "bonusnparticle.h"

void new_bonus(double x, double y, short type) {}
void clear_bonuses(void) {}
void collect_bonuses(void) {}
void draw_bonuses(void) {}
int new_particle(double px, double py, double xx, double yy, int cnt, int a, int type) { return 0;}
void clear_particles(void) {}
void draw_particles(void) {}
