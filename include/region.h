// include/region.h -- the region grid: the one spatial index of the game.
// Lists are rebuilt from scratch per kind, never incrementally.
#pragma once

const double cell_size = 0.8;                   // world units
const double cells_per_unit = 1.0 / cell_size;  // 1.25
const double grid_left = -80.0;
const double grid_bottom = -40.0;

// 1 when the segment, in cell coordinates, touches cell (rx, ry).
int line_in_region(double x1, double y1, double x2, double y2, int rx, int ry);

// The block of cells drawn around the view: rows from row0 while row < ymax,
// columns from col0 while column < xmax.
struct cell_range {
    int col0, row0;
    double xmax, ymax;
};
cell_range visible_cell_range(void);
