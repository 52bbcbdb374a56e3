// screens/level_title.cpp -- the level's name over the play view for the
// first seconds of an attempt, so that a player knows where they are before
// the level sign scrolls out of view.
#include <string>
#include "hillhopper.h"
#include "world.h"
#include "level_list.h"
#include "screen_text.h"
#include "screens.h"
#include "slots.h"

static const int title_full_frames = 100;     // 2.5 s at full strength
static const int title_fade_frames = 40;      // then a second to fade out

double level_title_opacity(int attempt_frames)
{
    if (attempt_frames < 0) return 0;
    if (attempt_frames < title_full_frames) return 1;
    int fading = attempt_frames - title_full_frames;
    if (fading >= title_fade_frames) return 0;
    return 1.0 - (double)fading / title_fade_frames;
}

void draw_level_title(int attempt_frames)
{
    double opacity = level_title_opacity(attempt_frames);
    if (opacity <= 0) return;
    const double y = 96, margin = 24;
    std::string name = level_list_name(current_level, lang);
    // A panel just round the name, clear of the clock and the power bar.
    double half_w = screen_text_width(FONT_TITLE, name.c_str()) / 2.0 + margin;
    double title_h = screen_text_height(FONT_TITLE);
    dark_quad(overlay_w / 2 - half_w, y - 8, overlay_w / 2 + half_w, y + title_h + 8, 0.45 * opacity);
    screen_text_faded(FONT_TITLE, overlay_w / 2.0, y, ALIGN_CENTRE, 255, 230, 120, opacity, "%s", name.c_str());
}
