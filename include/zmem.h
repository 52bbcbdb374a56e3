// include/zmem.h -- allocation of every world table, once for the whole run.
#pragma once

void alloc_zmem(void);              // tables, datafiles, drawing-function tables
void free_zmem(void);
// The tables alone, without the sound and music datafiles: what alloc_zmem
// does apart from loading data. Tests and tools use it directly.
void alloc_world_tables(void);
void free_world_tables(void);
void alloc_terrain_mem(void);
void free_terrain_mem(void);
// Creates a terrain vertex in the lowest free slot and returns it; -1 when the
// table is full (nothing is stored then).
int new_tv(double x, double y);
