// editor/design.cpp -- the design copy of the level's tables and the undo
// history of record changes between its versions.
// A step is the list of records it changed, each with its bytes before and
// after, so undo and redo restore records exactly and cost only what the step
// touched. Records are compared by their file images: padding never counts.
#include <cstring>
#include <unordered_map>
#include "hillhopper.h"
#include "std_gfuncs.h"
#include "joints.h"
#include "polys.h"
#include "borders.h"
#include "editor_state.h"
#include "design.h"

struct record_change {
    unsigned char section;
    int slot;
    unsigned char before[max_record_image];
    unsigned char after[max_record_image];
};

// The level's description (start, clock, names) is designed too: no play
// changes it, so the live one is the design and a step carries both sides.
struct design_step {
    std::vector<record_change> changes;
    bool desc_changed = false;
    level_description desc_before, desc_after;
    long version_before, version_after;
};

static level_tables design_set, before_set;
static bool allocated = false;

static std::vector<design_step> undo_steps, redo_steps;
static design_step pending;
static std::unordered_map<long, size_t> pending_index;     // section * 2^20 + slot -> change
static long version = 0, last_version = 0, saved_version = 0;
static level_description desc_at_begin;
static long captures = 0, captures_at_begin = 0;    // a level loaded inside a watch is no edit

static_assert(sizeof(bdr_struct) <= (size_t)max_record_image, "records fit a change");

static void allocate_sets(void)
{
    if (allocated) return;
    for (level_tables *t : {&design_set, &before_set}) {
        t->tv = new terrain_vertex_struct[num_tvs]();
        t->jnt = new jnt_struct[num_jnts]();
        t->ply = new ply_struct[num_plys]();
        t->bdr = new bdr_struct[num_bdrs]();
        t->dad = new dad_struct[num_dads]();
        t->wpt = new wpt_struct[num_wpts]();
        t->bonus = new bonus_struct[num_bonuses]();
    }
    allocated = true;
}

static size_t table_bytes(int s)
{
    return level_record_size(s) * (size_t)level_section_capacity(s);
}

static void copy_tables(const level_tables &to, const level_tables &from)
{
    for (int s = 0; s < num_level_sections; s++)
        memcpy(level_table_record(to, s, 0), level_table_record(from, s, 0), table_bytes(s));
}

static bool same_image(int s, const void *a, const void *b)
{
    unsigned char ia[max_record_image], ib[max_record_image];
    level_record_image(s, a, ia);
    level_record_image(s, b, ib);
    return memcmp(ia, ib, max_record_image) == 0;
}

static void new_version(void)
{
    version = ++last_version;
}

void design_capture(void)
{
    allocate_sets();
    copy_tables(design_set, live_level_tables());
    captures++;
    undo_steps.clear();
    redo_steps.clear();
    pending.changes.clear();
    pending.desc_changed = false;
    pending_index.clear();
    new_version();
    saved_version = version;
}

// ---- watching the editor's part of a frame -------------------------------------

void design_watch_begin(void)
{
    allocate_sets();
    copy_tables(before_set, live_level_tables());
    desc_at_begin = level_desc;
    captures_at_begin = captures;
}

void design_watch_cancel(void)
{
    copy_tables(live_level_tables(), before_set);
    level_desc = desc_at_begin;
    update_region_jnts();
    update_region_plys();
    update_region_bdrs();
}

// A record that stays in use keeps what play may have changed in it as the
// design has it.
static void keep_play_fields(int s, unsigned char *rec, const unsigned char *designed)
{
    switch (s) {
    case SEC_JNT:
        ((jnt_struct *)rec)->state = ((const jnt_struct *)designed)->state;
        break;
    case SEC_DAD: {
        dad_struct *d = (dad_struct *)rec;
        const dad_struct *o = (const dad_struct *)designed;
        d->state = o->state;
        d->pic = o->pic;
        d->sx = o->sx;
        d->sy = o->sy;
        break;
    }
    case SEC_WPT:
        ((wpt_struct *)rec)->cnt = ((const wpt_struct *)designed)->cnt;
        break;
    case SEC_BONUS:
        ((bonus_struct *)rec)->state = ((const bonus_struct *)designed)->state;
        break;
    default:
        break;
    }
}

// The preview of doodad placement is live but never designed; a preview
// removed since design_watch_begin left a slot free in both, which is skipped.
static bool is_preview(int s, int slot)
{
    return s == SEC_DAD && slot == edt.preview_dad;
}

// Adds a change of one design record to the step under way; a record changed
// again keeps its first "before".
static void note_change(int s, int slot, const unsigned char *old_rec, const unsigned char *new_rec)
{
    size_t n = level_record_size(s);
    long key = (long)s * (1L << 20) + slot;
    auto it = pending_index.find(key);
    if (it != pending_index.end()) {
        memcpy(pending.changes[it->second].after, new_rec, n);
        return;
    }
    record_change c;
    memset(&c, 0, sizeof(c));
    c.section = (unsigned char)s;
    c.slot = slot;
    memcpy(c.before, old_rec, n);
    memcpy(c.after, new_rec, n);
    pending_index[key] = pending.changes.size();
    pending.changes.push_back(c);
}

static void take_record(int s, int slot, int whole_records)
{
    size_t n = level_record_size(s);
    level_tables live = live_level_tables();
    unsigned char *designed = level_table_record(design_set, s, slot);
    unsigned char rec[max_record_image];
    memcpy(rec, level_table_record(live, s, slot), n);
    bool used_now = level_record_used(s, rec), designed_used = level_record_used(s, designed);
    // What a free slot holds is never saved, filed or drawn.
    if (!used_now && !designed_used) return;
    if (!whole_records && used_now && designed_used) keep_play_fields(s, rec, designed);
    if (same_image(s, rec, designed)) return;
    note_change(s, slot, designed, rec);
    memcpy(designed, rec, n);
}

static bool same_desc(const level_description &a, const level_description &b)
{
    return a.present == b.present && a.start_x == b.start_x && a.start_y == b.start_y &&
           a.start_ang == b.start_ang && a.time == b.time && a.sky == b.sky && a.music == b.music &&
           memcmp(a.name, b.name, sizeof(a.name)) == 0;
}

static void note_desc_change(void)
{
    if (same_desc(desc_at_begin, level_desc)) return;
    if (!pending.desc_changed) pending.desc_before = desc_at_begin;
    pending.desc_changed = true;
    pending.desc_after = level_desc;
}

void design_watch_end(int whole_records)
{
    allocate_sets();
    if (captures != captures_at_begin) return;
    note_desc_change();
    level_tables live = live_level_tables();
    const size_t chunk_records = 64;
    for (int s = 0; s < num_level_sections; s++) {
        size_t n = level_record_size(s);
        int cap = level_section_capacity(s);
        for (int first = 0; first < cap; first += (int)chunk_records) {
            int count = cap - first < (int)chunk_records ? cap - first : (int)chunk_records;
            const unsigned char *a = level_table_record(live, s, first), *b = level_table_record(before_set, s, first);
            if (memcmp(a, b, n * count) == 0) continue;
            for (int slot = first; slot < first + count; slot++) {
                if (memcmp(level_table_record(live, s, slot), level_table_record(before_set, s, slot), n) == 0) continue;
                if (is_preview(s, slot)) continue;
                take_record(s, slot, whole_records);
            }
        }
    }
}

// ---- steps ------------------------------------------------------------------------

void design_end_frame(void)
{
    bool dragging = selected_point != -1 && mb1 != LATCH_UP && mb1 != LATCH_RELEASED;
    if (dragging || (pending.changes.empty() && !pending.desc_changed)) return;
    design_step step;
    for (const record_change &c : pending.changes)
        if (!same_image(c.section, c.before, c.after)) step.changes.push_back(c);
    if (pending.desc_changed && !same_desc(pending.desc_before, pending.desc_after)) {
        step.desc_changed = true;
        step.desc_before = pending.desc_before;
        step.desc_after = pending.desc_after;
    }
    pending.changes.clear();
    pending.desc_changed = false;
    pending_index.clear();
    if (step.changes.empty() && !step.desc_changed) return;
    step.version_before = version;
    new_version();
    step.version_after = version;
    undo_steps.push_back(std::move(step));
    redo_steps.clear();
    // Ordinary steps touch a few records; a few giant ones (a restored
    // recovery file) must not push memory past the byte limit.
    while (undo_steps.size() > 1 && ((int)undo_steps.size() > design_history_limit ||
                                     design_history_bytes() > design_history_byte_limit))
        undo_steps.erase(undo_steps.begin());
}

// Applies one side of a step to the design and to the live tables.
static void apply_step(const design_step &step, bool forward)
{
    level_tables live = live_level_tables();
    for (size_t i = step.changes.size(); i-- > 0;) {
        const record_change &c = step.changes[forward ? step.changes.size() - 1 - i : i];
        const unsigned char *rec = forward ? c.after : c.before;
        size_t n = level_record_size(c.section);
        memcpy(level_table_record(design_set, c.section, c.slot), rec, n);
        memcpy(level_table_record(live, c.section, c.slot), rec, n);
    }
    if (step.desc_changed) level_desc = forward ? step.desc_after : step.desc_before;
    version = forward ? step.version_after : step.version_before;
    update_region_jnts();
    update_region_plys();
    update_region_bdrs();
    // Constructions and selections may name records the step freed.
    edt.jnt_stage = edt.ply_stage = edt.bdr_stage = 0;
    selected_point = -1;
    mouse_over_point = -1;
    clear_all_selections();
}

// A step still under way (a drag) is closed first, so it is the one undone.
static void close_pending(void)
{
    selected_point = -1;
    design_end_frame();
}

int design_undo(void)
{
    close_pending();
    if (undo_steps.empty()) return 0;
    design_step step = std::move(undo_steps.back());
    undo_steps.pop_back();
    apply_step(step, false);
    redo_steps.push_back(std::move(step));
    return 1;
}

int design_redo(void)
{
    close_pending();
    if (redo_steps.empty()) return 0;
    design_step step = std::move(redo_steps.back());
    redo_steps.pop_back();
    apply_step(step, true);
    undo_steps.push_back(std::move(step));
    return 1;
}

int design_undo_steps(void) { return (int)undo_steps.size(); }
int design_redo_steps(void) { return (int)redo_steps.size(); }

size_t design_history_bytes(void)
{
    size_t n = 0;
    for (const auto *list : {&undo_steps, &redo_steps})
        for (const design_step &s : *list) n += sizeof(s) + s.changes.capacity() * sizeof(record_change);
    return n;
}

// ---- the design as a file ------------------------------------------------------

level_tables design_tables(void)
{
    allocate_sets();
    return design_set;
}

std::vector<unsigned char> design_image(void)
{
    return level_image_of(design_tables());
}

int design_slot_used(int section, int slot)
{
    if (section < 0 || section >= num_level_sections) return 0;
    if (slot < 0 || slot >= level_section_capacity(section)) return 0;
    return level_record_used(section, level_table_record(design_tables(), section, slot));
}

int design_unsaved(void) { return version != saved_version; }
void design_mark_saved(void) { saved_version = version; }
long design_version(void) { return version; }
