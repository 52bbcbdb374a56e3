// editor/safety.cpp -- keeping a designer's work: the save key, the recovery
// file, the undo keys and the editor's status line.
// Everything written here is the design (design.h), never the play state.
// The recovery file sits beside the level: "<level file>.autosave".
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include "hillhopper.h"
#include "game.h"
#include "std_gfuncs.h"
#include "terrain_file.h"
#include "design.h"
#include "level_id.h"
#include "editor.h"
#include "editor_state.h"
#include "platform.h"

const int status_frames = 200;              // 5 s at 40 frames a second
const int confirm_frames = 200;             // how long a second S confirms an overwrite
const int autosave_frames = 2 * 60 * 40;    // 2 minutes of edit-mode frames

static char status_text[300];
static int status_left = 0;
static std::string refused_path, refusal;   // the level file the reader refused, and why
static int confirm_left = 0;                // a second S within this many frames overwrites it
static bool offer_restore = false;
static long recovery_version = -1;          // the design version last written as recovery
static int edit_frames_unsaved = 0;

void editor_say(const char *fmt, ...)
{
    va_list ap;
    va_start(ap, fmt);
    vsnprintf(status_text, sizeof(status_text), fmt, ap);
    va_end(ap);
    status_left = status_frames;
}

const char *editor_status(void)
{
    return status_left > 0 ? status_text : "";
}

void draw_editor_status(void)
{
    if (status_left <= 0) return;
    status_left--;
    int w = 8 * (int)strlen(status_text);
    ztextprintf(w, font, 10, 440, makecol32(255, 255, 96), "%s", status_text);
}

// Beside where the level will be saved, which may be the user's levels
// folder when the level's own folder takes no files.
std::string recovery_path(int lev)
{
    return level_save_path(lev) + ".autosave";
}

static std::string base_name(const std::string &path)
{
    size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// ---- the recovery file ----------------------------------------------------------

int write_recovery_file(const char *reason)
{
    if (!design_unsaved() || recovery_version == design_version()) return 1;
    std::string path = recovery_path(current_level), why;
    if (!write_file_replacing(path.c_str(), design_image(), &why)) {
        editor_say("Recovery file not written (%s): %s", reason, why.c_str());
        fprintf(stderr, "hillhopper: %s\n", editor_status());
        return 0;
    }
    recovery_version = design_version();
    edit_frames_unsaved = 0;
    editor_say("Unsaved edits kept in %s (%s)", base_name(path).c_str(), reason);
    fprintf(stderr, "hillhopper: %s\n", editor_status());
    return 1;
}

static bool newer_than(const std::string &a, const std::string &b)
{
    long long ta, tb;
    if (!file_modified_time(a, &ta)) return false;
    if (!file_modified_time(b, &tb)) return true;
    return ta > tb;
}

// The recovery file replaces the design as one undo step. A recovery file the
// reader refuses changes nothing.
int restore_recovery_file(void)
{
    std::string path = recovery_path(current_level);
    uint64_t level_identity = current_level_checksum;  // still the level as loaded
    design_watch_begin();
    for (int i = 0; i < num_wpts; i++) wpt[i] = wpt_struct{};
    for (int i = 0; i < num_bonuses; i++) bonus[i] = bonus_struct{};
    int read = load_terrain_file(path.c_str());
    current_level_checksum = level_identity;
    if (!read) {
        std::string why = level_refusal.empty() ? strerror(errno) : level_refusal;
        design_watch_cancel();
        editor_say("Cannot restore %s: %s", base_name(path).c_str(), why.c_str());
        return 0;
    }
    design_watch_end(1);
    design_end_frame();
    offer_restore = false;
    editor_say("Restored %s (Ctrl+Z takes it back)", base_name(path).c_str());
    return 1;
}

// ---- level start -------------------------------------------------------------------

// Nothing half-built or selected survives into another level: its vertex
// numbers mean other vertices there.
void reset_editor_constructions(void)
{
    edt.jnt_stage = edt.ply_stage = edt.bdr_stage = 0;
    edt.preview_dad = -1;
    edt.preview_on = 0;
    edt.hover_bdr = edt.hover_ply = edt.hover_jnt = edt.hover_dad = -1;
    selected_point = -1;
    mouse_over_point = -1;
    clear_all_selections();
}

void editor_level_loaded(void)
{
    reset_editor_constructions();
    design_capture();
    std::string path = level_load_path(current_level);
    refused_path = level_refusal.empty() ? "" : path;
    refusal = level_refusal;
    confirm_left = 0;
    recovery_version = -1;
    edit_frames_unsaved = 0;
    offer_restore = false;
    if (!editor_enabled) return;
    if (!refused_path.empty())
        editor_say("%s was refused: %s", base_name(path).c_str(), refusal.c_str());
    std::string rec = recovery_path(current_level);
    if (newer_than(rec, path)) {
        offer_restore = true;
        editor_say("%s is newer than the level: F7 restores it", base_name(rec).c_str());
    }
}

// ---- the save key ------------------------------------------------------------------

int editor_save(void)
{
    std::string path = level_save_path(current_level), why;
    // Only a save over the refused file itself needs the second press.
    if (!refused_path.empty() && path == refused_path && confirm_left == 0) {
        confirm_left = confirm_frames;
        editor_say("%s was refused when loaded (%s): press S again to overwrite it",
                   base_name(path).c_str(), refusal.c_str());
        return 0;
    }
    confirm_left = 0;
    if (!save_level_image(path.c_str(), design_image(), &why)) {
        editor_say("Save failed: %s", why.c_str());
        return 0;
    }
    design_mark_saved();
    refused_path.clear();
    remove(recovery_path(current_level).c_str());
    recovery_version = -1;
    edit_frames_unsaved = 0;
    editor_say("Saved %s", base_name(path).c_str());
    return 1;
}

// ---- once a frame -------------------------------------------------------------------

static bool down_now(int k) { return keyr[k] == LATCH_PRESSED || keyr[k] == LATCH_HELD; }
static bool ctrl_down(void) { return down_now(KEY_LCONTROL) || down_now(KEY_RCONTROL); }
static bool shift_down(void) { return down_now(KEY_LSHIFT) || down_now(KEY_RSHIFT); }

bool editor_ctrl_held(void) { return ctrl_down(); }

// The keys of both edit modes that act on the design as a whole. They run
// outside the watched part of the frame: their changes are steps themselves.
void editor_history_keys(void)
{
    if (ctrl_down() && keyr[KEY_Z] == LATCH_PRESSED) {
        bool redo = shift_down();
        int done = redo ? design_redo() : design_undo();
        editor_say("%s", done ? (redo ? "Redo" : "Undo") : (redo ? "Nothing to redo" : "Nothing to undo"));
    }
    if (ctrl_down() && keyr[KEY_Y] == LATCH_PRESSED) editor_say("%s", design_redo() ? "Redo" : "Nothing to redo");
}

// Counts down the status line's helpers and writes the recovery file after
// two minutes of editing with unsaved changes.
void editor_tick(void)
{
    // The level starts in play: the offer stands in every mode.
    if (keyr[KEY_F7] == LATCH_RELEASED && offer_restore) restore_recovery_file();
    if (confirm_left > 0) confirm_left--;
    if (edit_mode == 0 || !design_unsaved()) return;
    if (++edit_frames_unsaved >= autosave_frames) write_recovery_file("every 2 minutes");
}
