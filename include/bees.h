// include/bees.h -- hives, stinging plants and bee swarms.
#pragma once

void clear_bees(void);
void new_bees(float x, float y);
void hives_check(void);
void do_bees(void);
