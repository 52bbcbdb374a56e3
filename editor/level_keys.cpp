// editor/level_keys.cpp -- the level-wide editor keys and the checks before a
// save. The description they change is level_desc, which every save writes.
#include <cmath>
#include <cstring>
#include <allegro.h>
#include <alleggl.h>
#include "hillhopper.h"
#include "std_gfuncs.h"
#include "bonusnparticle.h"
#include "bees.h"
#include "game.h"
#include "waypoints.h"
#include "editor_level.h"
#include "editor.h"
#include "level_list.h"
#include "platform.h"
#include "terrain_file.h"

const double time_step = 5;
const double new_level_time = 60;
const int label_frames = 60;
const double level_half_w = 80, level_half_h = 40;

// A short confirmation of the last level key, shown for label_frames frames.
static char label[96];
static int label_left = 0;

static void show_label(const char *fmt, double a, double b)
{
    snprintf(label, sizeof(label), fmt, a, b);
    label_left = label_frames;
}
static void show_label(const char *fmt, double a)
{
    snprintf(label, sizeof(label), fmt, a);
    label_left = label_frames;
}

static bool pressed(int k) { return keyr[k] == LATCH_PRESSED; }

bool editor_ctrl_down(void)
{
    return keyr[KEY_LCONTROL] != LATCH_UP || keyr[KEY_RCONTROL] != LATCH_UP;
}

static double clamp(double v, double lo, double hi) { return v < lo ? lo : v > hi ? hi : v; }

static void set_start_at_mouse(void)
{
    level_desc.start_x = clamp(mposx, -level_half_w, level_half_w);
    level_desc.start_y = clamp(mposy, -level_half_h, level_half_h);
    level_desc.present = true;
    show_label("Start point: %.2f %.2f", level_desc.start_x, level_desc.start_y);
}

static void change_time(double by)
{
    level_desc.time = clamp(level_desc.time + by, level_time_min, level_time_max);
    level_desc.present = true;
    show_label("Time allowed: %.0f", level_desc.time);
}

void editor_level_keys(void)
{
    if (!editor_ctrl_down()) return;
    if (pressed(KEY_N)) new_user_level();
    if (pressed(KEY_L)) set_start_at_mouse();
    if (pressed(KEY_PGUP)) change_time(time_step);
    if (pressed(KEY_PGDN)) change_time(-time_step);
    if (pressed(KEY_E)) level_name_entry_begin(lang ? NAME_DE : NAME_EN);
}

// ---- a new level --------------------------------------------------------------

static std::string unused_level_name(const std::string &dir)
{
    for (int k = 1; k < 10000; k++) {
        std::string name = "level" + std::to_string(k) + ".trn";
        if (!file_exists(path_join(dir, name))) return name;
    }
    return "";
}

std::string new_user_level(void)
{
    std::string dir = user_data_subdir("levels");
    std::string name = dir.empty() ? "" : unused_level_name(dir);
    if (name.empty()) {
        fprintf(stderr, "hillhopper: no user levels folder to make a new level in\n");
        return "";
    }
    std::string path = path_join(dir, name);
    write_recovery_file("Ctrl+N");          // the level being left keeps its unsaved edits
    load_plain_level();
    clear_wpts();
    clear_bonuses();
    level_desc = default_level_description(-1);
    level_desc.present = true;
    level_desc.start_ang = level_start_values(0).ang;
    level_desc.time = new_level_time;
    if (!save_terrain_file(path.c_str())) return "";
    refresh_level_list();
    int n = level_list_find(path);
    if (n >= 0) current_level = n;
    load_level(current_level);
    editor_level_loaded();
    return path;
}

// ---- the checks before a save -------------------------------------------------

static bool has_level_end(void)
{
    for (int i = 0; i < num_bonuses; i++)
        if (bonus[i].state != 0 && bonus[i].type == BONUS_LEVEL_END) return true;
    return false;
}

// A walking joint (type 1 or 3) that passes below the start point.
static bool walkable_under(double x, double y)
{
    for (int i = 0; i < num_jnts; i++) {
        const jnt_struct &e = jnt[i];
        if (!e.state || (e.type != 1 && e.type != 3)) continue;
        if (e.tvn[0] < 0 || e.tvn[0] >= num_tvs || e.tvn[1] < 0 || e.tvn[1] >= num_tvs) continue;
        const terrain_vertex_struct &a = tv[e.tvn[0]], &b = tv[e.tvn[1]];
        double lo = fmin(a.x, b.x), hi = fmax(a.x, b.x);
        if (x < lo || x > hi || hi - lo < 1e-9) continue;
        double t = (x - a.x) / (b.x - a.x);
        if (a.y + t * (b.y - a.y) <= y) return true;
    }
    return false;
}

std::string level_save_warning(void)
{
    std::string missing;
    auto add = [&](const char *what) { missing += missing.empty() ? what : std::string("; ") + what; };
    const level_description &d = level_desc;
    bool start_inside = d.present && fabs(d.start_x) <= level_half_w && fabs(d.start_y) <= level_half_h;
    if (!has_level_end()) add("no level end");
    if (!start_inside) add("no start point inside the level");
    else if (!walkable_under(d.start_x, d.start_y)) add("no walkable ground under the start point");
    return missing.empty() ? "" : "Saved, but: " + missing + ".";
}

// ---- typing the name -----------------------------------------------------------

struct name_entry {
    bool open = false;
    bool closing = false;           // closed; waiting until every key is up
    int language = NAME_EN;
    std::string text;
};
static name_entry entry;

bool level_name_entry_busy(void) { return entry.open || entry.closing; }
const char *level_name_entry_text(void) { return entry.text.c_str(); }

void level_name_entry_begin(int language)
{
    if (language < 0 || language >= NUM_NAME_LANGUAGES) return;
    entry.open = true;
    entry.closing = false;
    entry.language = language;
    entry.text = level_desc.name[language];
    if (keyboard_driver) clear_keybuf();
}

static void append_code_point(std::string *s, int c)
{
    char buf[5] = {0};
    if (c < 0x80) buf[0] = (char)c;
    else if (c < 0x800) { buf[0] = (char)(0xc0 | (c >> 6)); buf[1] = (char)(0x80 | (c & 0x3f)); }
    else if (c < 0x10000) {
        buf[0] = (char)(0xe0 | (c >> 12));
        buf[1] = (char)(0x80 | ((c >> 6) & 0x3f));
        buf[2] = (char)(0x80 | (c & 0x3f));
    } else {
        return;
    }
    if (s->size() + strlen(buf) <= (size_t)level_name_bytes - 1) *s += buf;
}

static void drop_last_character(std::string *s)
{
    while (!s->empty() && ((unsigned char)s->back() & 0xc0) == 0x80) s->pop_back();
    if (!s->empty()) s->pop_back();
}

static void trim_spaces(std::string *s)
{
    size_t a = s->find_first_not_of(' '), b = s->find_last_not_of(' ');
    *s = a == std::string::npos ? "" : s->substr(a, b - a + 1);
}

void level_name_entry_key(int unicode, int scancode)
{
    if (!entry.open) return;
    if (scancode == KEY_ENTER || scancode == KEY_ENTER_PAD) {
        trim_spaces(&entry.text);
        set_level_name(&level_desc, entry.language, entry.text.c_str());
        level_desc.present = true;
        entry.open = false;
        entry.closing = true;
    } else if (scancode == KEY_ESC) {
        entry.open = false;
        entry.closing = true;
    } else if (scancode == KEY_BACKSPACE) {
        drop_last_character(&entry.text);
    } else if (unicode >= 0x20 && unicode != 0x7f && (unicode < 0xd800 || unicode > 0xdfff)) {
        append_code_point(&entry.text, unicode);
    }
}

static bool any_key_latched(void)
{
    for (int n = 0; n < KEY_MAX; n++)
        if (keyr[n] != LATCH_UP) return true;
    return false;
}

bool level_name_entry_frame(void)
{
    while (entry.open && keyboard_driver && keypressed()) {
        int scancode = 0;
        int c = ureadkey(&scancode);
        level_name_entry_key(c, scancode);
    }
    if (entry.closing && !any_key_latched()) entry.closing = false;
    return level_name_entry_busy();
}

// ---- drawing -------------------------------------------------------------------

void draw_editor_level_overlay(void)
{
    if (headless) return;
    if (label_left > 0) {
        label_left--;
        ztextprintf(100, font, 10, 440, makecol32(255, 255, 0), "%s", label);
    }
    if (entry.open) {
        const char *which = entry.language == NAME_DE ? "German" : "English";
        ztextprintf(400, font, 10, 420, makecol32(255, 255, 255), "Level name (%s): %s_", which,
                    entry.text.c_str());
    }
}
