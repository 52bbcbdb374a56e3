// editor/view.cpp -- the edit modes' view: zoom around the mouse and the
// snap grid for new and dragged vertices.
// The zoom itself lives in the view mapping (world.h), so drawing, picking
// and the mouse's world position all follow it.
#include <cmath>
#include <allegro.h>
#include <GL/gl.h>
#include "hillhopper.h"
#include "game.h"
#include "std_gfuncs.h"
#include "world.h"
#include "editor.h"

static const double grid_sizes[] = {0.1, 0.2, 0.5};     // world units
const int num_grid_sizes = 3;
const int max_grid_lines = 400;             // per axis: a finer grid is not drawn

static int grid_on = 0;
static int grid_size_index = 0;
static int last_mouse_z = 0;

double snap_grid_size(void)
{
    return grid_on ? grid_sizes[grid_size_index] : 0;
}

void reset_editor_view(void)
{
    grid_on = 0;
    grid_size_index = 0;
    last_mouse_z = mouse_z;
    set_view_zoom_step(0, 0, 0);
}

void set_snap_grid(int on, int size_index)
{
    grid_on = on != 0;
    if (size_index >= 0 && size_index < num_grid_sizes) grid_size_index = size_index;
}

double snap_to_grid(double v)
{
    double g = snap_grid_size();
    return g > 0 ? floor(v / g + 0.5) * g : v;
}

static bool down_now(int k) { return keyr[k] == LATCH_PRESSED || keyr[k] == LATCH_HELD; }

// Zooming follows the mouse, which only a free camera allows: a camera that
// follows the player would pull the view back to it.
static void zoom_by(int steps)
{
    set_view_zoom_step(view_zoom_step() + steps, mouse_overlay_x(), mouse_overlay_y());
    camera_track = 0;
    editor_say("Zoom %gx", view_zoom());
}

void editor_view_keys(void)
{
    int wheel = mouse_z - last_mouse_z;
    last_mouse_z = mouse_z;
    if (edit_mode == 0) return;             // the wheel means nothing in play
    if (wheel != 0) zoom_by(wheel > 0 ? 1 : -1);
    bool ctrl = down_now(KEY_LCONTROL) || down_now(KEY_RCONTROL);
    if (ctrl && keyr[KEY_UP] == LATCH_PRESSED) zoom_by(1);
    if (ctrl && keyr[KEY_DOWN] == LATCH_PRESSED) zoom_by(-1);
    if (keyr[KEY_G] == LATCH_PRESSED && !ctrl) {
        if (down_now(KEY_LSHIFT) || down_now(KEY_RSHIFT))
            grid_size_index = (grid_size_index + 1) % num_grid_sizes;
        else
            grid_on = !grid_on;
        if (grid_on) editor_say("Snap grid %g", grid_sizes[grid_size_index]);
        else editor_say("Snap grid off (size %g)", grid_sizes[grid_size_index]);
    }
}

// Faint lines over the part of the world the view shows, under the world
// transform like the level's own outline.
void draw_snap_grid(void)
{
    double g = snap_grid_size();
    if (headless || g <= 0) return;
    double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9;
    const double corners[4][2] = {{0, 0}, {overlay_w, 0}, {0, overlay_h}, {overlay_w, overlay_h}};
    for (const auto &c : corners) {
        double wx, wy;
        overlay_to_world(c[0], c[1], &wx, &wy);
        x0 = fmin(x0, wx), y0 = fmin(y0, wy), x1 = fmax(x1, wx), y1 = fmax(y1, wy);
    }
    if ((x1 - x0) / g > max_grid_lines || (y1 - y0) / g > max_grid_lines) return;
    glDisable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, 0.18f);
    glBegin(GL_LINES);
    for (double x = floor(x0 / g) * g; x <= x1; x += g) {
        glVertex3f((float)x, (float)y0, 0);
        glVertex3f((float)x, (float)y1, 0);
    }
    for (double y = floor(y0 / g) * g; y <= y1; y += g) {
        glVertex3f((float)x0, (float)y, 0);
        glVertex3f((float)x1, (float)y, 0);
    }
    glEnd();
}
