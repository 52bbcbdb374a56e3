// terrain/polys.cpp -- textured terrain polygons: creation, grid filing and
// drawing of the visible ones, once each per pass, through the per-type table.
// Triangles are kept counter-clockwise because the game culls clockwise faces.
#include <GL/gl.h>
#include "hillhopper.h"
#include "editor_state.h"
#include "game.h"
#include "geometry.h"
#include "polys.h"
#include "region.h"
#include "textures.h"
#include "world.h"

void (*ply_drawing_func[num_draw_funcs])(int);

// A world-textured triangle repeats its texture every 0.012 world units per
// texel: a 256-texel texture every 3.072 units, aligned to the world origin.
const double ply_units_per_texel = 0.012;
const int ply_type_quad = 1;

static int tv_index_ok(int v)
{
    return v >= 0 && v < num_tvs;
}

void new_ply(int tvn1, int tvn2, int tvn3, int tvn4, int type, int x, int layer)
{
    // The winding test reads the corners: refuse indices outside the table.
    if (!tv_index_ok(tvn1) || !tv_index_ok(tvn2) || !tv_index_ok(tvn3) ||
        (tvn4 != -1 && !tv_index_ok(tvn4)))
        return;
    int n = -1;
    for (int i = 0; i < num_plys && n < 0; i++)
        if (ply[i].state == 0) n = i;
    if (n < 0) return;

    ply[n] = ply_struct{};
    if (tvn4 != -1 || get_tri_dir(tvn1, tvn2, tvn3) == 1) {
        ply[n].tvn[0] = tvn1;
        ply[n].tvn[1] = tvn2;
    } else {
        ply[n].tvn[0] = tvn2;
        ply[n].tvn[1] = tvn1;
    }
    ply[n].tvn[2] = tvn3;
    ply[n].tvn[3] = tvn4;
    ply[n].type = (short)type;
    ply[n].x = (short)x;
    ply[n].state = 1;
    ply[n].layer = (char)layer;
}

void delete_ply(int n)
{
    if (n < 0 || n >= num_plys) return;
    ply[n].state = 0;
    update_region_plys();
}

// ---- grid filing -----------------------------------------------------------

// A triangle's edges 1-2, 2-3, 3-1; a quad adds 3-4 and 4-1, so it is filed
// as the two triangles 1-2-3 and 1-3-4.
static int ply_edges(int n, int ends[max_record_edges][2])
{
    if (!ply[n].state) return 0;
    const int *v = ply[n].tvn;
    int k = 0;
    ends[k][0] = v[0]; ends[k][1] = v[1]; k++;
    ends[k][0] = v[1]; ends[k][1] = v[2]; k++;
    ends[k][0] = v[2]; ends[k][1] = v[0]; k++;
    if (ply[n].type == ply_type_quad) {
        ends[k][0] = v[2]; ends[k][1] = v[3]; k++;
        ends[k][0] = v[3]; ends[k][1] = v[0]; k++;
    }
    return k;
}

void update_region_plys(void)
{
    region_kind k = {"polygons", num_plys, ply_edges, ply_list, ply_list_size,
                     &region_struct::ply_n, &region_struct::ply_x};
    rebuild_region_kind(k);
}

// ---- drawing ---------------------------------------------------------------

// Every record listed in the cells of range r, each once, in the order first
// met: cells row by row from the lowest, within a cell in increasing index.
// h_table holds the drawn-once marks, as the drawing passes share it.
int visible_records(const int *list, int region_struct::*start, short region_struct::*count,
                    int num_records, cell_range r, int *out, int cap)
{
    // First walk: clear the mark of every listed record.
    for (int row = r.row0; row < r.ymax; row++)
        for (int col = r.col0; col < r.xmax; col++) {
            const region_struct &c = region[row * map_sx + col];
            for (int i = 0; i < c.*count; i++) {
                int n = list[c.*start + i];
                if (n >= 0 && n < num_records && n < h_table_size) h_table[n] = 0;
            }
        }
    // Second walk: take each record the first time it is met.
    int found = 0;
    for (int row = r.row0; row < r.ymax; row++)
        for (int col = r.col0; col < r.xmax; col++) {
            const region_struct &c = region[row * map_sx + col];
            for (int i = 0; i < c.*count; i++) {
                int n = list[c.*start + i];
                if (n < 0 || n >= num_records || n >= h_table_size || h_table[n]) continue;
                h_table[n] = 1;
                if (found < cap) out[found++] = n;
            }
        }
    return found;
}

static void draw_one_ply(int n)
{
    int type = ply[n].type;
    if (type >= 0 && type < num_draw_funcs && ply_drawing_func[type])
        ply_drawing_func[type](n);
}

// Every polygon is drawn in the world view. It is loaded once per pass: a
// matrix load per triangle would end the renderer's batch at each one, and the
// software renderer then spends a quarter of the frame starting batches.
void draw_plys(int layer)
{
    static int seen[num_plys];
    if (!headless) trans_map();
    int count = visible_records(ply_list, &region_struct::ply_n, &region_struct::ply_x,
                                num_plys, visible_cell_range(), seen, num_plys);
    for (int i = 0; i < count; i++)
        if (ply[seen[i]].state && ply[seen[i]].layer == layer && terrain_tex_loaded(ply[seen[i]].x))
            draw_one_ply(seen[i]);
    if (!headless) glEnable(GL_BLEND);
}

void ply_tex_coord(double x, double y, double w, double h, double *s, double *t)
{
    *s = w > 0 ? x / (w * ply_units_per_texel) : 0;
    *t = h > 0 ? y / (h * ply_units_per_texel) : 0;
}

static unsigned int ply_texture(int n)
{
    int x = ply[n].x;
    return x >= 0 && x < num_tex_slots ? terrain_tex[x] : 0;
}

static int corners_ok(int n, int corners)
{
    for (int k = 0; k < corners; k++) {
        int v = ply[n].tvn[k];
        if (v < 0 || v >= num_tvs) return 0;
    }
    return 1;
}

static void linear_repeat(void)
{
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
}

void draw_ply_0(int plyn)
{
    if (headless || !corners_ok(plyn, 3)) return;
    glEnable(GL_TEXTURE_2D);
    double w, h;
    get_tex_size(ply_texture(plyn), &w, &h);   // binds the texture too
    glColor4f(1, 1, 1, 1);
    selected_poly(plyn);
    linear_repeat();
    // At full opacity an opaque texture blended over the scene gives the
    // texture itself, but the software renderer would read every covered
    // pixel back for it. The state changes only where the texture does.
    if (terrain_tex_opaque(ply[plyn].x)) glDisable(GL_BLEND);
    else glEnable(GL_BLEND);
    glBegin(GL_TRIANGLES);
    for (int k = 0; k < 3; k++) {
        const terrain_vertex_struct &v = tv[ply[plyn].tvn[k]];
        double s, t;
        ply_tex_coord(v.x, v.y, w, h, &s, &t);
        glTexCoord2f((float)s, (float)t);
        glVertex2f(v.x, v.y);
    }
    glEnd();
}

// The faded quad: the side from corner 4 to corner 1 nearly transparent, the
// opacity rising towards the side from corner 2 to corner 3. The per-corner
// colours replace any editor tint.
static const float quad_tex_s[4] = {0, 0, 1, 1};
static const float quad_tex_t[4] = {1, 0, 0, 1};
static const float quad_alpha[4] = {0.1f, 1.0f, 1.0f, 0.1f};

void draw_ply_1(int plyn)
{
    if (headless || !corners_ok(plyn, 4)) return;
    glEnable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, ply_texture(plyn));
    glColor4f(1, 1, 1, 1);
    selected_poly(plyn);
    linear_repeat();
    glBegin(GL_QUADS);
    for (int k = 0; k < 4; k++) {
        const terrain_vertex_struct &v = tv[ply[plyn].tvn[k]];
        glColor4f(1, 1, 1, quad_alpha[k]);
        glTexCoord2f(quad_tex_s[k], quad_tex_t[k]);
        glVertex2f(v.x, v.y);
    }
    glEnd();
}

void init_ply_drawing_funcs(void)
{
    for (int i = 0; i < num_draw_funcs; i++) ply_drawing_func[i] = nullptr;
    ply_drawing_func[0] = draw_ply_0;
    ply_drawing_func[1] = draw_ply_1;
}
