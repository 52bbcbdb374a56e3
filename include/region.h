// include/region.h -- the region grid: the one spatial index of the game.
// Lists are rebuilt from scratch per kind, never incrementally.
#pragma once
#include "structs.h"

const double cell_size = 0.8;                   // world units
const double cells_per_unit = 1.0 / cell_size;  // 1.25
const double grid_left = -80.0;
const double grid_bottom = -40.0;

// 1 when the segment, in cell coordinates, touches cell (rx, ry).
int line_in_region(double x1, double y1, double x2, double y2, int rx, int ry);

// Cell coordinates of a world point (not truncated).
double cell_x(double x);
double cell_y(double y);

// The block of cells drawn around the view: rows from row0 while row < ymax,
// columns from col0 while column < xmax.
struct cell_range {
    int col0, row0;
    double xmax, ymax;
};
cell_range visible_cell_range(void);
// The same block around an unrotated view centre (sx, sy), world units.
cell_range cell_range_around(double sx, double sy, double span = 1.0);  // span: view sizes

// One kind of record filed by the common rebuild scheme (joints, polygons,
// borders). get_edges writes the vertex pairs of record n's edges to ends and
// returns how many there are; 0 means "not filed" (a free slot).
const int max_record_edges = 5;     // a quad: 1-2, 2-3, 3-1, 3-4, 4-1
struct region_kind {
    const char *name;               // for the one-line capacity message
    int num_records;                // capacity of the record table
    int (*get_edges)(int n, int ends[max_record_edges][2]);
    int *list;                      // jnt_list, ply_list or bdr_list
    int list_size;
    int region_struct::*start;      // &region_struct::jnt_n, ...
    short region_struct::*count;    // &region_struct::jnt_x, ...
};
// Clears, counts, prefixes and fills one kind's runs. Edges whose vertex
// indices lie outside tv, or whose coordinates are not finite, are not filed.
// A record whose entries no longer fit the list table is not filed at all,
// and one line on stderr says how many were left out.
// Returns the number of list entries written.
int rebuild_region_kind(const region_kind &k);
