// include/polys.h -- textured terrain polygons on three layers.
#pragma once
#include "structs.h"
#include "region.h"

const int num_draw_funcs = 20;      // entries of each per-type drawing table
extern void (*ply_drawing_func[num_draw_funcs])(int);

// A triangle (tvn4 = -1) is stored counter-clockwise; a quad as passed.
// Nothing happens when the table is full or a corner index lies outside tv.
// Does not file the polygon: call update_region_plys.
void new_ply(int tvn1, int tvn2, int tvn3, int tvn4, int type, int x, int layer);
void delete_ply(int n);             // frees and refiles polygons
void update_region_plys(void);
// Every visible polygon of the layer, once, in the world view (loaded here);
// types without a drawing function are skipped.
void draw_plys(int layer);
// The per-type drawers draw in the current model-view matrix: the world view
// that draw_plys has loaded.
void draw_ply_0(int plyn);          // world-textured triangle
void draw_ply_1(int plyn);          // single faded quad
void init_ply_drawing_funcs(void);

// The texture coordinate of a world-textured triangle's corner at (x, y) for a
// w x h texel texture; 0 along an axis of no texels.
void ply_tex_coord(double x, double y, double w, double h, double *s, double *t);

// The records of one kind listed in the cells of r, each once, in the order
// first met (cells row by row from the lowest, within a cell by index), at
// most cap of them written to out. Uses h_table as its drawn-once marks;
// indices outside the record table are passed over. Returns the count.
int visible_records(const int *list, int region_struct::*start, short region_struct::*count,
                    int num_records, cell_range r, int *out, int cap);
