// terrain/region.cpp -- the region grid: segment-versus-cell test, the common
// rebuild scheme shared by joints, polygons and borders, and the visible range.
// A record is filed in every cell of its clamped bounding box that one of its
// edges touches; runs are laid out cell after cell with no gaps.
#include <cmath>
#include <cstdio>
#include "hillhopper.h"
#include "geometry.h"
#include "region.h"
#include "world.h"

double cell_x(double x)
{
    return (x - grid_left) * cells_per_unit;
}

double cell_y(double y)
{
    return (y - grid_bottom) * cells_per_unit;
}

static int end_in_cell(double x, double y, double xmin, double ymin)
{
    return xmin <= x && x < xmin + 1 && ymin <= y && y < ymin + 1;
}

int line_in_region(double x1, double y1, double x2, double y2, int rx, int ry)
{
    double xmin = rx, xmax = rx + 1, ymin = ry, ymax = ry + 1;
    if (end_in_cell(x1, y1, xmin, ymin)) return 1;
    if (end_in_cell(x2, y2, xmin, ymin)) return 1;
    // Bottom, right, top, left: the corners walked counter-clockwise.
    const double cx[5] = {xmin, xmax, xmax, xmin, xmin};
    const double cy[5] = {ymin, ymin, ymax, ymax, ymin};
    for (int s = 0; s < 4; s++) {
        double ax = cx[s], ay = cy[s], bx = cx[s + 1], by = cy[s + 1];
        // Touching counts: only "strictly on the same side" separates.
        if (!same_side_of_line(ax, ay, bx, by, x1, y1, x2, y2) &&
            !same_side_of_line(x1, y1, x2, y2, ax, ay, bx, by))
            return 1;
    }
    return 0;
}

// ---------------------------------------------------------------------------
// Common rebuild scheme

// One clamped, truncated block of cells; empty when first > last.
struct cell_span {
    int first, last;
};

// A bounding-box side in cell coordinates, clamped to the grid: a minimum
// below 0 becomes 0, a maximum of `cells` or more becomes cells - 1, both
// truncated toward zero. Decided in doubles so that huge values never reach
// an int conversion.
static cell_span clamp_span(double lo, double hi, int cells)
{
    if (lo < 0) lo = 0;
    if (hi >= cells) hi = cells - 1;
    if (!(lo < cells) || !(hi > -1)) return cell_span{1, 0};
    return cell_span{(int)lo, (int)hi};
}

// Edges of one record in cell coordinates, ready for line_in_region.
struct record_edges {
    int count;
    double x1[max_record_edges], y1[max_record_edges];
    double x2[max_record_edges], y2[max_record_edges];
};

static int vertex_ok(int v)
{
    return v >= 0 && v < num_tvs && std::isfinite(tv[v].x) && std::isfinite(tv[v].y);
}

// Fills e from record n; 0 when the record is free or refers to a vertex that
// cannot be placed in the grid.
static int load_edges(const region_kind &k, int n, record_edges *e)
{
    int ends[max_record_edges][2];
    int ne = k.get_edges(n, ends);
    if (ne <= 0 || ne > max_record_edges) return 0;
    for (int i = 0; i < ne; i++) {
        int a = ends[i][0], b = ends[i][1];
        if (!vertex_ok(a) || !vertex_ok(b)) return 0;
        e->x1[i] = cell_x(tv[a].x);
        e->y1[i] = cell_y(tv[a].y);
        e->x2[i] = cell_x(tv[b].x);
        e->y2[i] = cell_y(tv[b].y);
    }
    e->count = ne;
    return 1;
}

// Hits of the count pass, kept in order so that the fill pass replays them
// instead of testing the geometry again: records come in increasing index, so
// every run comes out in increasing record index. Sized for the largest list.
static const int max_list_size = ply_list_size;
static int hit_cell[max_list_size];
static int hit_rec[max_list_size];

// Adds record n's cells to the hit buffer and the counts. Returns 0, with
// everything it added taken back, when the buffer (the list table) is full.
static int count_record(const region_kind &k, int n, const record_edges &e, int *nhits)
{
    double xmin = e.x1[0], xmax = xmin, ymin = e.y1[0], ymax = ymin;
    for (int i = 0; i < e.count; i++) {
        xmin = fmin(xmin, fmin(e.x1[i], e.x2[i]));
        xmax = fmax(xmax, fmax(e.x1[i], e.x2[i]));
        ymin = fmin(ymin, fmin(e.y1[i], e.y2[i]));
        ymax = fmax(ymax, fmax(e.y1[i], e.y2[i]));
    }
    cell_span cols = clamp_span(xmin, xmax, map_sx);
    cell_span rows = clamp_span(ymin, ymax, map_sy);
    int first_hit = *nhits;
    for (int row = rows.first; row <= rows.last; row++)
        for (int col = cols.first; col <= cols.last; col++) {
            int hit = 0;
            for (int i = 0; i < e.count && !hit; i++)
                hit = line_in_region(e.x1[i], e.y1[i], e.x2[i], e.y2[i], col, row);
            if (!hit) continue;
            int cell = row * map_sx + col;
            if (*nhits >= k.list_size) {
                for (int h = first_hit; h < *nhits; h++) region[hit_cell[h]].*k.count -= 1;
                *nhits = first_hit;
                return 0;
            }
            hit_cell[*nhits] = cell;
            hit_rec[*nhits] = n;
            (*nhits)++;
            region[cell].*k.count += 1;
        }
    return 1;
}

int rebuild_region_kind(const region_kind &k)
{
    const int cells = map_sx * map_sy;
    int list_size = k.list_size < max_list_size ? k.list_size : max_list_size;
    region_kind kk = k;
    kk.list_size = list_size;

    for (int c = 0; c < cells; c++) {
        region[c].*kk.count = 0;
        region[c].obs_added = 0;
    }

    int nhits = 0, left_out = 0;
    record_edges e;
    for (int n = 0; n < kk.num_records; n++) {
        if (!load_edges(kk, n, &e)) continue;
        if (!count_record(kk, n, e, &nhits)) left_out++;
    }

    int total = 0;
    for (int c = 0; c < cells; c++) {
        region[c].*kk.start = total;
        total += region[c].*kk.count;
    }

    for (int h = 0; h < nhits; h++) {
        region_struct &r = region[hit_cell[h]];
        kk.list[r.*kk.start + r.obs_added] = hit_rec[h];
        r.obs_added++;
    }

    if (left_out)
        fprintf(stderr, "hillhopper: region list of %s is full (%d entries); %d not filed\n",
                kk.name, list_size, left_out);
    return nhits;
}

// ---------------------------------------------------------------------------
// Visible range

// The screen's 4 by 3 world units around the view centre, plus one cell.
const double view_half_w = 2.0;
const double view_half_h = 1.5;

cell_range cell_range_around(double sx, double sy, double span)
{
    double hw = view_half_w * span, hh = view_half_h * span;
    double xmin = cell_x(sx - hw) - 1, xmax = cell_x(sx + hw) + 1;
    double ymin = cell_y(sy - hh) - 1, ymax = cell_y(sy + hh) + 1;
    if (xmin < 0) xmin = 0;
    if (ymin < 0) ymin = 0;
    if (xmax > map_sx) xmax = map_sx - 1;
    if (ymax > map_sy) ymax = map_sy - 1;
    // A view far outside the grid: start past the end so the walk is empty.
    cell_range r;
    r.col0 = xmin < map_sx ? (int)xmin : map_sx;
    r.row0 = ymin < map_sy ? (int)ymin : map_sy;
    r.xmax = xmax;
    r.ymax = ymax;
    return r;
}

cell_range visible_cell_range(void)
{
    double sx, sy;
    rot_point(scr_px, scr_py, 0, 0, -world_ang * Z_PI / 180, &sx, &sy);
    return cell_range_around(sx, sy, 1 / view_zoom());
}
