// include/polys.h -- textured terrain polygons on three layers.
#pragma once

const int num_draw_funcs = 20;      // entries of each per-type drawing table
extern void (*ply_drawing_func[num_draw_funcs])(int);

// A triangle (tvn4 = -1) is stored counter-clockwise; a quad as passed.
// Does not file the polygon: call update_region_plys.
void new_ply(int tvn1, int tvn2, int tvn3, int tvn4, int type, int x, int layer);
void delete_ply(int n);             // frees and refiles polygons
void update_region_plys(void);
void draw_plys(int layer);          // every visible polygon of the layer, once
void draw_ply_0(int plyn);          // world-textured triangle
void draw_ply_1(int plyn);          // single faded quad
void init_ply_drawing_funcs(void);
