// player/ghost.cpp -- the best run's body, drawn translucent from its stored poses.
#include <vector>
#include <GL/gl.h>
#include "ghost.h"
#include "replay.h"
#include "replay_store.h"
#include "hillhopper.h"
#include "game.h"
#include "level_id.h"
#include "textures.h"
#include "world.h"

bool ghost_shown = true;
static std::vector<ghost_pose> ghost_run;

static const double ghost_half = 0.24;      // world units: the player's sprite size
static const float ghost_alpha = 0.35f;

void ghost_level_start(void)
{
    ghost_run.clear();
    if (replay_playing || !replay_keep_attempts) return;   // tools and tests keep the user's folder out
    replay_record best;
    if (load_best_replay(current_level_checksum, &best)) ghost_run = std::move(best.ghost);
}

bool ghost_available(void)
{
    return !ghost_run.empty();
}

void draw_ghost(void)
{
    if (headless || !ghost_shown || replay_playing || !replay_attempt_running()) return;
    uint32_t n = replay_frames_done();
    if (n >= ghost_run.size()) return;
    const ghost_pose &g = ghost_run[n];
    if (g.frame >= num_tex_slots || g.flip > 1) return;
    const double h = ghost_half;
    trans_map();
    glEnable(GL_TEXTURE_2D);
    glColor4f(0.7f, 0.85f, 1, ghost_alpha);
    tmap(g.x - h, g.y + h, g.x - h, g.y - h, g.x + h, g.y - h, g.x + h, g.y + h,
         terrain_tex[g.frame], h, -h, g.ang + Z_PI, g.flip);
    glColor4f(1, 1, 1, 1);
}
