// level/level_file.cpp -- the level file format: record images, the strict
// reader and the safe writer.
// A file is checked completely before anything reaches a table: a malformed
// file is refused whole, so no index read from it can ever point outside a
// table. The writer goes through a temporary file in the same folder and only
// replaces the level (keeping the old one as ".bak") when every write worked.
#include <cerrno>
#include <cstdarg>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>
#include "hillhopper.h"
#include "std_gfuncs.h"
#include "level_id.h"
#include "level_list.h"
#include "polys.h"
#include "bonusnparticle.h"
#include "joints.h"
#include "borders.h"
#include "terrain_file.h"
#include "platform.h"
#include "slots.h"

// ---------------------------------------------------------------------------
// Little-endian fields at fixed offsets of a record image

static void put_u32(unsigned char *p, uint32_t v)
{
    for (int i = 0; i < 4; i++) p[i] = (unsigned char)(v >> (8 * i));
}
static uint32_t get_u32(const unsigned char *p)
{
    uint32_t v = 0;
    for (int i = 0; i < 4; i++) v |= (uint32_t)p[i] << (8 * i);
    return v;
}
static void put_i8(unsigned char *p, char v) { p[0] = (unsigned char)v; }
static char get_i8(const unsigned char *p) { return (char)p[0]; }
static void put_i16(unsigned char *p, short v)
{
    p[0] = (unsigned char)((uint16_t)v & 0xff);
    p[1] = (unsigned char)((uint16_t)v >> 8);
}
static short get_i16(const unsigned char *p) { return (short)(uint16_t)(p[0] | (p[1] << 8)); }
static void put_i32(unsigned char *p, int v) { put_u32(p, (uint32_t)v); }
static int get_i32(const unsigned char *p) { return (int)get_u32(p); }
static void put_f32(unsigned char *p, float v)
{
    uint32_t u;
    memcpy(&u, &v, 4);
    put_u32(p, u);
}
static float get_f32(const unsigned char *p)
{
    uint32_t u = get_u32(p);
    float v;
    memcpy(&v, &u, 4);
    return v;
}
static void put_f64(unsigned char *p, double v)
{
    uint64_t u;
    memcpy(&u, &v, 8);
    put_u32(p, (uint32_t)u);
    put_u32(p + 4, (uint32_t)(u >> 32));
}
static double get_f64(const unsigned char *p)
{
    uint64_t u = get_u32(p) | ((uint64_t)get_u32(p + 4) << 32);
    double v;
    memcpy(&v, &u, 8);
    return v;
}

// ---------------------------------------------------------------------------
// Record images. Writers fill a zeroed image, so padding is always 0.

static void put_tv(unsigned char *p, const terrain_vertex_struct &r)
{
    put_f32(p + 0, r.x);
    put_f32(p + 4, r.y);
    put_i8(p + 8, r.state);
}
static void get_tv(const unsigned char *p, terrain_vertex_struct &r)
{
    r.x = get_f32(p + 0);
    r.y = get_f32(p + 4);
    r.state = get_i8(p + 8);
}

static void put_jnt(unsigned char *p, const jnt_struct &r)
{
    put_i8(p + 0, r.state);
    put_i32(p + 4, r.tvn[0]);
    put_i32(p + 8, r.tvn[1]);
    put_i32(p + 12, r.njnt[0]);
    put_i32(p + 16, r.njnt[1]);
    put_i16(p + 20, r.type);
}
static void get_jnt(const unsigned char *p, jnt_struct &r)
{
    r.state = get_i8(p + 0);
    r.tvn[0] = get_i32(p + 4);
    r.tvn[1] = get_i32(p + 8);
    r.njnt[0] = get_i32(p + 12);
    r.njnt[1] = get_i32(p + 16);
    r.type = get_i16(p + 20);
}

static void put_ply(unsigned char *p, const ply_struct &r)
{
    put_i8(p + 0, r.state);
    for (int c = 0; c < 4; c++) put_i32(p + 4 + 4 * c, r.tvn[c]);
    put_i16(p + 20, r.type);
    put_i16(p + 22, r.x);
    put_i8(p + 24, r.layer);
}
static void get_ply(const unsigned char *p, ply_struct &r)
{
    r.state = get_i8(p + 0);
    for (int c = 0; c < 4; c++) r.tvn[c] = get_i32(p + 4 + 4 * c);
    r.type = get_i16(p + 20);
    r.x = get_i16(p + 22);
    r.layer = get_i8(p + 24);
}

static void put_bdr(unsigned char *p, const bdr_struct &r)
{
    put_i8(p + 0, r.state);
    put_i32(p + 4, r.tvn[0]);
    put_i32(p + 8, r.tvn[1]);
    put_i32(p + 12, r.tva[0]);
    put_i32(p + 16, r.tva[1]);
    put_i16(p + 20, r.last_b);
    put_i16(p + 22, r.next_b);
    put_i16(p + 24, r.type);
    put_i16(p + 26, r.x);
    put_i16(p + 28, r.wpn);
    put_f32(p + 32, r.tex_offset);
    put_f32(p + 36, r.tex_len);
}
static void get_bdr(const unsigned char *p, bdr_struct &r)
{
    r.state = get_i8(p + 0);
    r.tvn[0] = get_i32(p + 4);
    r.tvn[1] = get_i32(p + 8);
    r.tva[0] = get_i32(p + 12);
    r.tva[1] = get_i32(p + 16);
    r.last_b = get_i16(p + 20);
    r.next_b = get_i16(p + 22);
    r.type = get_i16(p + 24);
    r.x = get_i16(p + 26);
    r.wpn = get_i16(p + 28);
    r.tex_offset = get_f32(p + 32);
    r.tex_len = get_f32(p + 36);
}

static void put_dad(unsigned char *p, const dad_struct &r)
{
    put_i8(p + 0, r.state);
    put_f32(p + 4, r.px);
    put_f32(p + 8, r.py);
    put_f32(p + 12, r.ang);
    put_i32(p + 16, r.pic);
    put_i32(p + 20, r.type);
    put_i16(p + 24, r.sx);
    put_i16(p + 26, r.sy);
    put_i8(p + 28, r.layer);
}
static void get_dad(const unsigned char *p, dad_struct &r)
{
    r.state = get_i8(p + 0);
    r.px = get_f32(p + 4);
    r.py = get_f32(p + 8);
    r.ang = get_f32(p + 12);
    r.pic = get_i32(p + 16);
    r.type = get_i32(p + 20);
    r.sx = get_i16(p + 24);
    r.sy = get_i16(p + 26);
    r.layer = get_i8(p + 28);
}

static void put_wpt(unsigned char *p, const wpt_struct &r)
{
    put_i8(p + 0, r.state);
    put_f64(p + 8, r.px);
    put_f64(p + 16, r.py);
    put_i32(p + 24, r.cnt);
}
static void get_wpt(const unsigned char *p, wpt_struct &r)
{
    r.state = get_i8(p + 0);
    r.px = get_f64(p + 8);
    r.py = get_f64(p + 16);
    r.cnt = get_i32(p + 24);
}

static void put_bonus(unsigned char *p, const bonus_struct &r)
{
    put_i8(p + 0, r.state);
    put_f64(p + 8, r.px);
    put_f64(p + 16, r.py);
    put_i16(p + 24, r.type);
}
static void get_bonus(const unsigned char *p, bonus_struct &r)
{
    r.state = get_i8(p + 0);
    r.px = get_f64(p + 8);
    r.py = get_f64(p + 16);
    r.type = get_i16(p + 24);
}

// ---------------------------------------------------------------------------
// Checks of the indices inside a record; each returns 1 or writes the problem.

const int num_bonus_types = BONUS_ELECTRIC + 1;
const short ply_type_quad = 1;      // drawn and picked with its fourth corner

static char problem[200];

static int fail(const char *fmt, ...) __attribute__((format(printf, 1, 2)));
static int fail(const char *fmt, ...)
{
    va_list ap;
    va_start(ap, fmt);
    vsnprintf(problem, sizeof(problem), fmt, ap);
    va_end(ap);
    return 0;
}

static int in_table(int i, int capacity) { return i >= 0 && i < capacity; }
static int link_ok(int i, int capacity) { return i == -1 || in_table(i, capacity); }

static int check_tv(const unsigned char *) { return 1; }

static int check_jnt(const unsigned char *p)
{
    jnt_struct r;
    get_jnt(p, r);
    for (int e = 0; e < 2; e++) {
        if (!in_table(r.tvn[e], num_tvs)) return fail("vertex %d out of range", r.tvn[e]);
        if (!link_ok(r.njnt[e], num_jnts)) return fail("neighbour joint %d out of range", r.njnt[e]);
    }
    return 1;
}

static int check_ply(const unsigned char *p)
{
    ply_struct r;
    get_ply(p, r);
    for (int c = 0; c < 4; c++) {
        // The fourth corner of a triangle may be -1; a quad uses all four.
        int ok = c < 3 || r.type == ply_type_quad ? in_table(r.tvn[c], num_tvs)
                                                  : link_ok(r.tvn[c], num_tvs);
        if (!ok) return fail("vertex %d out of range", r.tvn[c]);
    }
    if (!in_table(r.type, num_draw_funcs)) return fail("type %d out of range", r.type);
    if (!in_table(r.x, num_tex_slots)) return fail("texture %d out of range", r.x);
    return 1;
}

static int check_bdr(const unsigned char *p)
{
    bdr_struct r;
    get_bdr(p, r);
    for (int e = 0; e < 2; e++) {
        if (!in_table(r.tvn[e], num_tvs)) return fail("vertex %d out of range", r.tvn[e]);
        if (!in_table(r.tva[e], num_tvs)) return fail("outer vertex %d out of range", r.tva[e]);
    }
    if (!link_ok(r.last_b, num_bdrs)) return fail("previous border %d out of range", r.last_b);
    if (!link_ok(r.next_b, num_bdrs)) return fail("next border %d out of range", r.next_b);
    if (!in_table(r.type, num_draw_funcs)) return fail("type %d out of range", r.type);
    if (!in_table(r.x, num_tex_slots)) return fail("texture %d out of range", r.x);
    return 1;
}

static int check_dad(const unsigned char *p)
{
    dad_struct r;
    get_dad(p, r);
    if (!in_table(r.pic, num_tex_slots)) return fail("picture %d out of range", r.pic);
    if (!in_table(r.type, num_draw_funcs)) return fail("type %d out of range", r.type);
    return 1;
}

static int check_wpt(const unsigned char *) { return 1; }

static int check_bonus(const unsigned char *p)
{
    bonus_struct r;
    get_bonus(p, r);
    if (!in_table(r.type, num_bonus_types)) return fail("type %d out of range", r.type);
    return 1;
}

// ---------------------------------------------------------------------------
// Sections, in file order

static void store_tv(int s, const unsigned char *p) { get_tv(p, tv[s]); }
static void store_jnt(int s, const unsigned char *p) { get_jnt(p, jnt[s]); }
static void store_ply(int s, const unsigned char *p) { get_ply(p, ply[s]); }
static void store_bdr(int s, const unsigned char *p) { get_bdr(p, bdr[s]); }
static void store_dad(int s, const unsigned char *p) { get_dad(p, dad[s]); }
static void store_wpt(int s, const unsigned char *p) { get_wpt(p, wpt[s]); }
static void store_bonus(int s, const unsigned char *p) { get_bonus(p, bonus[s]); }

static void image_tv(const void *r, unsigned char *p) { put_tv(p, *(const terrain_vertex_struct *)r); }
static void image_jnt(const void *r, unsigned char *p) { put_jnt(p, *(const jnt_struct *)r); }
static void image_ply(const void *r, unsigned char *p) { put_ply(p, *(const ply_struct *)r); }
static void image_bdr(const void *r, unsigned char *p) { put_bdr(p, *(const bdr_struct *)r); }
static void image_dad(const void *r, unsigned char *p) { put_dad(p, *(const dad_struct *)r); }
static void image_wpt(const void *r, unsigned char *p) { put_wpt(p, *(const wpt_struct *)r); }
static void image_bonus(const void *r, unsigned char *p) { put_bonus(p, *(const bonus_struct *)r); }

// Where a record's state byte sits in its image: a free record is never
// referred to.
const int tv_state_offset = 8;

struct section_kind {
    const char *name;
    int image_size;
    int capacity;
    size_t record_size;
    int state_offset;
    int (*check)(const unsigned char *);
    void (*store)(int slot, const unsigned char *);
    void (*image)(const void *record, unsigned char *);
};

static const section_kind sections[num_level_sections] = {
    {"vertex", 12, num_tvs, sizeof(terrain_vertex_struct), tv_state_offset, check_tv, store_tv, image_tv},
    {"joint", 24, num_jnts, sizeof(jnt_struct), 0, check_jnt, store_jnt, image_jnt},
    {"polygon", 28, num_plys, sizeof(ply_struct), 0, check_ply, store_ply, image_ply},
    {"border", 40, num_bdrs, sizeof(bdr_struct), 0, check_bdr, store_bdr, image_bdr},
    {"doodad", 32, num_dads, sizeof(dad_struct), 0, check_dad, store_dad, image_dad},
    {"waypoint", 32, num_wpts, sizeof(wpt_struct), 0, check_wpt, store_wpt, image_wpt},
    {"bonus", 32, num_bonuses, sizeof(bonus_struct), 0, check_bonus, store_bonus, image_bonus},
};
const int num_sections = num_level_sections;

static void *table_of(const level_tables &t, int s)
{
    switch (s) {
    case SEC_TV: return t.tv;
    case SEC_JNT: return t.jnt;
    case SEC_PLY: return t.ply;
    case SEC_BDR: return t.bdr;
    case SEC_DAD: return t.dad;
    case SEC_WPT: return t.wpt;
    default: return t.bonus;
    }
}

static const unsigned char *record_of(const level_tables &t, int s, int slot)
{
    return (const unsigned char *)table_of(t, s) + sections[s].record_size * (size_t)slot;
}

level_tables live_level_tables(void)
{
    return level_tables{tv, jnt, ply, bdr, dad, wpt, bonus};
}

int level_section_capacity(int s) { return sections[s].capacity; }
size_t level_record_size(int s) { return sections[s].record_size; }
const char *level_section_name(int s) { return sections[s].name; }
unsigned char *level_table_record(const level_tables &t, int s, int slot)
{
    return (unsigned char *)record_of(t, s, slot);
}

int level_record_image(int s, const void *record, unsigned char *out)
{
    memset(out, 0, max_record_image);
    sections[s].image(record, out);
    return sections[s].image_size;
}

int level_record_used(int s, const void *record)
{
    unsigned char img[max_record_image];
    level_record_image(s, record, img);
    return img[sections[s].state_offset] != 0;
}

const int header_ints = 10;                 // seven counts, three reserved
const size_t header_bytes = 4 * header_ints;
const size_t slot_bytes = 4;                // the slot index before each image


// ---------------------------------------------------------------------------
// The level section: an optional tail after the bonus section that says what
// the level is (start, clock, names, sky, music). It has its own tag, version
// and checksum, so a damaged tail is told apart from a level without one.

static const unsigned char section_tag[4] = {'H', 'H', 'L', 'V'};
const uint32_t section_version = 1;
const size_t section_head_bytes = 12;       // tag, version, body length
const size_t section_body_bytes = 40 + 2 * level_name_bytes;
const size_t section_bytes = section_head_bytes + section_body_bytes + 4;   // + CRC-32

// CRC-32 (the common reflected 0xEDB88320 polynomial) of a byte run.
static uint32_t crc32_of(const unsigned char *p, size_t n)
{
    uint32_t c = 0xffffffffu;
    for (size_t i = 0; i < n; i++) {
        c ^= p[i];
        for (int k = 0; k < 8; k++) c = (c >> 1) ^ (0xedb88320u & (0u - (c & 1)));
    }
    return c ^ 0xffffffffu;
}

// True when the bytes are well-formed UTF-8 without control characters.
static bool clean_utf8(const char *s, size_t n)
{
    size_t i = 0;
    while (i < n) {
        unsigned char c = (unsigned char)s[i];
        int more = c < 0x80 ? 0 : (c & 0xe0) == 0xc0 ? 1 : (c & 0xf0) == 0xe0 ? 2 : (c & 0xf8) == 0xf0 ? 3 : -1;
        if (c < 0x20 || c == 0x7f || more < 0 || (c & 0xfe) == 0xc0 || c > 0xf4) return false;
        if (more && i + more >= n) return false;
        for (int k = 1; k <= more; k++)
            if (((unsigned char)s[i + k] & 0xc0) != 0x80) return false;
        i += 1 + more;
    }
    return true;
}

// Keeps whole clean characters that fit with their NUL; anything else in the
// text (control characters, broken sequences) becomes '?'.
void set_level_name(level_description *d, int language, const char *text)
{
    if (language < 0 || language >= NUM_NAME_LANGUAGES) return;
    char *out = d->name[language];
    memset(out, 0, level_name_bytes);
    size_t used = 0, n = strlen(text), i = 0;
    while (i < n) {
        unsigned char c = (unsigned char)text[i];
        size_t len = c < 0x80 ? 1 : (c & 0xe0) == 0xc0 ? 2 : (c & 0xf0) == 0xe0 ? 3 : 4;
        if (i + len > n || !clean_utf8(text + i, len)) {
            c = '?';
            len = 1;
            if (used + 1 > (size_t)level_name_bytes - 1) break;
            out[used++] = (char)c;
            i++;
            continue;
        }
        if (used + len > (size_t)level_name_bytes - 1) break;
        memcpy(out + used, text + i, len);
        used += len;
        i += len;
    }
}

// A name field: text, one NUL, then only NULs.
static bool name_field_ok(const char *field)
{
    size_t n = strnlen(field, level_name_bytes);
    if (n == (size_t)level_name_bytes) return false;
    for (size_t i = n; i < (size_t)level_name_bytes; i++)
        if (field[i] != 0) return false;
    return clean_utf8(field, n);
}

static bool within(double v, double lo, double hi) { return std::isfinite(v) && v >= lo && v <= hi; }

bool level_description_ok(const level_description &d, const char **why)
{
    const char *w = nullptr;
    if (!within(d.start_x, -80, 80) || !within(d.start_y, -40, 40)) w = "start point outside the level";
    else if (!within(d.start_ang, -8, 8)) w = "start angle out of range";
    else if (!within(d.time, level_time_min, level_time_max)) w = "time allowed out of range";
    else if (!in_table(d.sky, NUM_SKIES)) w = "unknown sky";
    else if (d.music != music_rotation && !in_table(d.music, NUM_MUSIC_TRACKS)) w = "unknown music track";
    else if (!name_field_ok(d.name[NAME_EN])) w = "English name is not clean text";
    else if (!name_field_ok(d.name[NAME_DE])) w = "German name is not clean text";
    if (why) *why = w;
    return w == nullptr;
}

static void put_section(unsigned char *p, const level_description &d)
{
    memcpy(p, section_tag, 4);
    put_u32(p + 4, section_version);
    put_u32(p + 8, (uint32_t)section_body_bytes);
    unsigned char *b = p + section_head_bytes;
    put_f64(b + 0, d.start_x);
    put_f64(b + 8, d.start_y);
    put_f64(b + 16, d.start_ang);
    put_f64(b + 24, d.time);
    put_i32(b + 32, d.sky);
    put_i32(b + 36, d.music);
    memcpy(b + 40, d.name[NAME_EN], level_name_bytes);
    memcpy(b + 40 + level_name_bytes, d.name[NAME_DE], level_name_bytes);
    size_t crc_at = section_head_bytes + section_body_bytes;
    put_u32(p + crc_at, crc32_of(p, crc_at));
}

// Reads the tail at buf[pos..]; returns 0 with the problem when it is not a
// whole, clean level section ending the file.
static int get_section(const std::vector<unsigned char> &buf, size_t pos, level_description *d)
{
    size_t left = buf.size() - pos;
    const unsigned char *p = &buf[pos];
    if (left < section_head_bytes || memcmp(p, section_tag, 4) != 0)
        return fail("%zu stray bytes after the records", left);
    uint32_t version = get_u32(p + 4), body = get_u32(p + 8);
    if (version != section_version)
        return fail("level section version %u (this game reads version %u)", version, section_version);
    if (body != section_body_bytes)
        return fail("level section body of %u bytes (version 1 has %zu)", body, section_body_bytes);
    if (left < section_bytes) return fail("level section is truncated (%zu of %zu bytes)", left, section_bytes);
    if (left > section_bytes) return fail("%zu stray bytes after the level section", left - section_bytes);
    size_t crc_at = section_head_bytes + section_body_bytes;
    if (get_u32(p + crc_at) != crc32_of(p, crc_at)) return fail("level section checksum does not match");
    const unsigned char *b = p + section_head_bytes;
    level_description r;
    memset(&r, 0, sizeof(r));
    r.present = true;
    r.start_x = get_f64(b + 0);
    r.start_y = get_f64(b + 8);
    r.start_ang = get_f64(b + 16);
    r.time = get_f64(b + 24);
    r.sky = get_i32(b + 32);
    r.music = get_i32(b + 36);
    memcpy(r.name[NAME_EN], b + 40, level_name_bytes);
    memcpy(r.name[NAME_DE], b + 40 + level_name_bytes, level_name_bytes);
    const char *why = nullptr;
    if (!level_description_ok(r, &why)) return fail("level section: %s", why);
    *d = r;
    return 1;
}

// The largest file that can be fully valid, level section included.
static size_t max_level_bytes(void)
{
    size_t n = header_bytes;
    for (const section_kind &k : sections) n += (size_t)k.capacity * (slot_bytes + k.image_size);
    return n + section_bytes;
}

// ---------------------------------------------------------------------------
// Reading

// Walks the records; with apply 0 it only checks, with apply 1 it stores.
// Returns 0 and fills problem at the first fault; *end is where the records
// stop.
static int walk_level_image(const std::vector<unsigned char> &buf, int apply, size_t *end)
{
    if (buf.size() < header_bytes)
        return fail("header is truncated (%zu of %zu bytes)", buf.size(), header_bytes);
    size_t pos = header_bytes;
    for (int s = 0; s < num_sections; s++) {
        const section_kind &k = sections[s];
        int count = get_i32(&buf[4 * s]);
        if (count < 0) return fail("negative %s count %d", k.name, count);
        if (count > k.capacity)
            return fail("%s count %d above capacity %d", k.name, count, k.capacity);
        for (int i = 0; i < count; i++) {
            if (buf.size() - pos < slot_bytes + k.image_size)
                return fail("%s record %d of %d is truncated", k.name, i, count);
            int slot = get_i32(&buf[pos]);
            const unsigned char *img = &buf[pos + slot_bytes];
            if (!in_table(slot, k.capacity))
                return fail("%s record %d: slot %d out of range", k.name, i, slot);
            if (apply) {
                k.store(slot, img);
            } else if (!k.check(img)) {
                std::string what = problem;
                return fail("%s record %d (slot %d): %s", k.name, i, slot, what.c_str());
            }
            pos += slot_bytes + k.image_size;
        }
    }
    *end = pos;
    return 1;
}

// ---- references to free slots -------------------------------------------------
// Run after the walk has accepted the image: every index is in range, so the
// in-use flags of the slots a file fills can be looked up safely.

struct slot_use {
    std::vector<char> used[num_level_sections];
};

static slot_use slots_in_use(const std::vector<unsigned char> &buf)
{
    slot_use u;
    size_t pos = header_bytes;
    for (int s = 0; s < num_sections; s++) {
        const section_kind &k = sections[s];
        u.used[s].assign(k.capacity, 0);
        int count = get_i32(&buf[4 * s]);
        for (int i = 0; i < count; i++, pos += slot_bytes + k.image_size)
            u.used[s][get_i32(&buf[pos])] = buf[pos + slot_bytes + k.state_offset] != 0;
    }
    return u;
}

static int vertex_in_use(const slot_use &u, int v, const char *what)
{
    if (v == -1 || u.used[SEC_TV][v]) return 1;
    return fail("%s %d is not in use", what, v);
}

static int refs_jnt(const slot_use &u, const unsigned char *p)
{
    jnt_struct r;
    get_jnt(p, r);
    return vertex_in_use(u, r.tvn[0], "vertex") && vertex_in_use(u, r.tvn[1], "vertex");
}

static int refs_ply(const slot_use &u, const unsigned char *p)
{
    ply_struct r;
    get_ply(p, r);
    for (int c = 0; c < 4; c++)
        if (!vertex_in_use(u, r.tvn[c], "vertex")) return 0;
    return 1;
}

static int refs_bdr(const slot_use &u, const unsigned char *p)
{
    bdr_struct r;
    get_bdr(p, r);
    for (int e = 0; e < 2; e++) {
        if (!vertex_in_use(u, r.tvn[e], "vertex")) return 0;
        if (!vertex_in_use(u, r.tva[e], "outer vertex")) return 0;
    }
    if (r.last_b != -1 && !u.used[SEC_BDR][r.last_b])
        return fail("previous border %d is not in use", r.last_b);
    if (r.next_b != -1 && !u.used[SEC_BDR][r.next_b])
        return fail("next border %d is not in use", r.next_b);
    return 1;
}

// A record in use may only name records in use: the editor never makes
// anything else, and the game would draw or ride a free slot's leftovers.
static int check_references(const std::vector<unsigned char> &buf)
{
    slot_use u = slots_in_use(buf);
    size_t pos = header_bytes;
    for (int s = 0; s < num_sections; s++) {
        const section_kind &k = sections[s];
        int count = get_i32(&buf[4 * s]);
        for (int i = 0; i < count; i++, pos += slot_bytes + k.image_size) {
            const unsigned char *img = &buf[pos + slot_bytes];
            if (img[k.state_offset] == 0) continue;
            int ok = s == SEC_JNT ? refs_jnt(u, img) : s == SEC_PLY ? refs_ply(u, img)
                   : s == SEC_BDR ? refs_bdr(u, img) : 1;
            if (!ok) {
                std::string what = problem;
                return fail("%s record %d (slot %d): %s", k.name, i, get_i32(&buf[pos]), what.c_str());
            }
        }
    }
    return 1;
}

// Reads at most one byte more than the largest valid file (so that a longer
// one is seen as too long); a read error counts as a short file.
static std::vector<unsigned char> read_level_bytes(FILE *fp)
{
    std::vector<unsigned char> buf(max_level_bytes() + 1);
    size_t got = fread(buf.data(), 1, buf.size(), fp);
    buf.resize(got);
    return buf;
}

// The whole file checked: records, then either the end or a level section.
static int check_level_bytes(const std::vector<unsigned char> &buf, level_description *d)
{
    size_t end = 0;
    if (!walk_level_image(buf, 0, &end)) return 0;
    if (end == buf.size()) return 1;
    return get_section(buf, end, d);
}

std::string level_refusal;

int load_terrain_file(const char *path)
{
    level_refusal.clear();
    load_plain_level();
    level_desc = default_level_description(-1);
    current_level_checksum = 0;
    FILE *fp = open_file(path, "rb");
    if (!fp) return 0;
    std::vector<unsigned char> buf = read_level_bytes(fp);
    fclose(fp);
    current_level_checksum = crc64(buf.data(), buf.size());
    level_description d = default_level_description(-1);
    if (!check_level_bytes(buf, &d) || !check_references(buf)) {
        level_refusal = problem;
        fprintf(stderr, "hillhopper: level file %s refused: %s; the level starts empty\n",
                path, problem);
        return 0;
    }
    size_t end = 0;
    walk_level_image(buf, 1, &end);
    level_desc = d;
    update_region_jnts();
    update_region_bdrs();
    update_region_plys();
    return 1;
}

bool peek_level_file(const char *path, level_description *d, uint64_t *checksum, std::string *why)
{
    FILE *fp = open_file(path, "rb");
    if (!fp) {
        *why = "missing";
        return false;
    }
    std::vector<unsigned char> buf = read_level_bytes(fp);
    fclose(fp);
    *d = default_level_description(-1);
    if (!check_level_bytes(buf, d)) {
        *why = problem;
        return false;
    }
    *checksum = crc64(buf.data(), buf.size());
    return true;
}

static std::string level_file_name(int lev)
{
    loadn("map~", lev, 2);
    return std::string(xnam);
}

std::string level_file_override;

// The override (--level FILE) when set; a user level's number (after the
// shipped ones) names its file in the level list; else map<lev>.trn in the
// game's data folder.
std::string level_load_path(int lev)
{
    if (!level_file_override.empty()) return level_file_override;
    if (lev >= level_list_shipped_count() && lev < level_list_count()) return level_list_path(lev);
    return game_data_path(level_file_name(lev).c_str());
}

// Where the level was loaded from when that folder takes files (a checkout's
// game folder, the user's own levels folder), else the user's levels folder
// under the same name (an installed game's folder is not the player's to
// change).
std::string level_save_path(int lev)
{
    std::string loaded = level_load_path(lev);
    if (dir_is_writable(path_dir(loaded))) return loaded;
    std::string mine = user_data_subdir("levels");
    if (mine.empty()) return loaded;
    size_t cut = loaded.find_last_of("/\\");
    return path_join(mine, cut == std::string::npos ? loaded : loaded.substr(cut + 1));
}

void load_terrain(int lev)
{
    load_terrain_file(level_load_path(lev).c_str());
}

// ---------------------------------------------------------------------------
// Writing

std::vector<unsigned char> level_image_of(const level_tables &t)
{
    std::vector<unsigned char> buf(header_bytes, 0);
    for (int s = 0; s < num_sections; s++) {
        const section_kind &k = sections[s];
        int count = 0;
        unsigned char rec[slot_bytes + max_record_image];
        for (int slot = 0; slot < k.capacity; slot++) {
            level_record_image(s, record_of(t, s, slot), rec + slot_bytes);
            if (rec[slot_bytes + k.state_offset] == 0) continue;
            put_i32(rec, slot);
            buf.insert(buf.end(), rec, rec + slot_bytes + k.image_size);
            count++;
        }
        put_i32(&buf[4 * s], count);
    }
    if (level_desc.present) {
        size_t at = buf.size();
        buf.resize(at + section_bytes, 0);
        put_section(&buf[at], level_desc);
    }
    return buf;
}

static int write_all(const char *path, const std::vector<unsigned char> &buf, std::string *why)
{
    FILE *fp = open_file(path, "wb");
    if (!fp) {
        *why = std::string("cannot create ") + path + ": " + strerror(errno);
        return 0;
    }
    int ok = fwrite(buf.data(), 1, buf.size(), fp) == buf.size();
    // On disk before the replace makes it the level: a crash or power cut
    // right after a save must leave the old file or the new one, whole.
    ok = sync_and_close(fp) && ok;
    if (!ok) *why = std::string("writing ") + path + " failed: " + strerror(errno);
    return ok;
}

// The previous version, byte for byte: 1 when read, 0 when there is none,
// -1 when it exists but cannot be read (then nothing may replace it).
static int read_old_file(const char *path, std::vector<unsigned char> *old)
{
    FILE *fp = open_file(path, "rb");
    if (!fp) return errno == ENOENT ? 0 : -1;
    unsigned char chunk[65536];
    size_t got;
    while ((got = fread(chunk, 1, sizeof(chunk), fp)) > 0) old->insert(old->end(), chunk, chunk + got);
    int ok = !ferror(fp);
    fclose(fp);
    return ok ? 1 : -1;
}

int write_file_replacing(const char *path, const std::vector<unsigned char> &buf, std::string *why)
{
    return write_file_atomically(path, buf.data(), buf.size(), why) ? 1 : 0;
}

// The new file is complete on disk before the backup is touched, so a
// failed write leaves both the old file and the old backup.
int save_level_image(const char *path, const std::vector<unsigned char> &image, std::string *why)
{
    std::string tmp = std::string(path) + ".tmp", bak = std::string(path) + ".bak";
    std::vector<unsigned char> old;
    int had_old = read_old_file(path, &old);
    int ok = had_old >= 0;
    if (!ok) *why = std::string("cannot read the old ") + path + " to back it up: " + strerror(errno);
    const char *bad = nullptr;
    if (ok && level_desc.present && !level_description_ok(level_desc, &bad)) {
        // Written, the file would be refused by the reader.
        *why = std::string("its description is not valid: ") + bad;
        ok = 0;
    }
    ok = ok && write_all(tmp.c_str(), image, why);
    // The backup is itself replaced whole: a failure here keeps the old one.
    if (ok && had_old == 1) ok = write_file_atomically(bak, old.data(), old.size(), why);
    ok = ok && replace_file(tmp, path, why);
    if (!ok) {
        remove_file(tmp);
        fprintf(stderr, "hillhopper: level %s not saved (%s); the old file is unchanged\n", path,
                why->c_str());
    }
    return ok;
}

int save_terrain_file(const char *path)
{
    std::string why;
    return save_level_image(path, level_image_of(live_level_tables()), &why);
}

void save_terrain(int lev)
{
    save_terrain_file(level_save_path(lev).c_str());
}
