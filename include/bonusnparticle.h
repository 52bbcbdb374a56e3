// include/bonusnparticle.h -- bonuses (leaf, spike, level end, electric) and
// particles (spike burst, dust, bees, puffs).
#pragma once

enum bonus_type { BONUS_LEAF = 0, BONUS_SPIKE = 1, BONUS_LEVEL_END = 2, BONUS_ELECTRIC = 3 };
enum particle_type { PART_SPIKE = 0, PART_DUST = 1, PART_BEE = 2, PART_PUFF = 3 };

void new_bonus(double x, double y, short type);
void clear_bonuses(void);
void collect_bonuses(void);
void draw_bonuses(void);            // also fades collected leaves
// Lowest free particle; -1 when the table is full.
int new_particle(double px, double py, double xx, double yy, int cnt, int a, int type);
void clear_particles(void);
void draw_particles(void);          // also moves and ages the particles
