// player/replay_format.cpp -- replay files: writing, and the strict reader.
// Little-endian throughout; the last 8 bytes are the CRC-64 of all before
// them. A file is taken whole or refused whole with one reason.
#include <cmath>
#include <cstdio>
#include <cstring>
#include "replay.h"
#include "actions.h"
#include "level_id.h"
#include "platform.h"

static const char replay_magic[8] = {'H', 'H', 'R', 'E', 'P', 'L', 'A', 'Y'};
static const size_t max_name_bytes = 255;
static const size_t crc_bytes = 8;
static const size_t ghost_pose_bytes = 14;
static const uint32_t all_action_bits = (1u << NUM_ACTIONS) - 1;
static const uint32_t all_latch_bits = (1u << (2 * NUM_ACTIONS)) - 1;
static const double max_time_left = 1000;     // clock units; a full clock is 100
static const float max_ghost_coord = 1000;     // world units; levels span -80..80
static const int ghost_frames = 100;           // picture slots a pose may name
// A latch step carries at most one more step within its frame (the controls
// key's mid-frame step): a run has between frames and twice frames steps.
static const uint64_t max_steps_per_frame = 2;

// ---- writing ----------------------------------------------------------------

static void put_bytes(std::vector<unsigned char> &b, const void *p, size_t n)
{
    const unsigned char *c = (const unsigned char *)p;
    b.insert(b.end(), c, c + n);
}

static void put_le(std::vector<unsigned char> &b, uint64_t v, int bytes)
{
    for (int i = 0; i < bytes; i++) b.push_back((unsigned char)(v >> (8 * i)));
}

static void put_f64(std::vector<unsigned char> &b, double d)
{
    uint64_t v;
    memcpy(&v, &d, 8);
    put_le(b, v, 8);
}

static void put_f32(std::vector<unsigned char> &b, float d)
{
    uint32_t v;
    memcpy(&v, &d, 4);
    put_le(b, v, 4);
}

static void put_varint(std::vector<unsigned char> &b, uint64_t v)
{
    while (v >= 0x80) {
        b.push_back((unsigned char)(v | 0x80));
        v >>= 7;
    }
    b.push_back((unsigned char)v);
}

static std::vector<unsigned char> encode_input(const std::vector<replay_input> &input)
{
    std::vector<unsigned char> b;
    for (const replay_input &e : input) {
        put_varint(b, ((uint64_t)e.count << 1) | e.kind);
        put_le(b, e.value, e.kind == input_wait ? 4 : 2);
    }
    return b;
}

std::vector<unsigned char> encode_replay(const replay_record &r)
{
    std::vector<unsigned char> b;
    put_bytes(b, replay_magic, sizeof(replay_magic));
    put_le(b, replay_version, 4);
    put_le(b, r.seed, 4);
    put_le(b, (uint32_t)r.level, 4);
    put_le(b, r.level_checksum, 8);
    put_le(b, r.frames, 4);
    b.push_back(r.finished ? 1 : 0);
    put_f64(b, r.time_left);
    size_t n = r.level_file.size() < max_name_bytes ? r.level_file.size() : max_name_bytes;
    put_le(b, n, 2);
    put_bytes(b, r.level_file.data(), n);
    std::vector<unsigned char> in = encode_input(r.input);
    put_le(b, in.size(), 4);
    put_bytes(b, in.data(), in.size());
    put_le(b, r.ghost.size(), 4);
    for (const ghost_pose &g : r.ghost) {
        put_f32(b, g.x);
        put_f32(b, g.y);
        put_f32(b, g.ang);
        b.push_back(g.frame);
        b.push_back(g.flip);
    }
    put_le(b, crc64(b.data(), b.size()), 8);
    return b;
}

uint64_t replay_step_count(const replay_record &r)
{
    uint64_t n = 0;
    for (const replay_input &e : r.input)
        if (e.kind == input_steps) n += e.count;
    return n;
}

// ---- reading ----------------------------------------------------------------

namespace {

// A cursor that refuses to read past its end; every read checks.
struct reader {
    const unsigned char *p;
    size_t size, pos;
    bool take(void *out, size_t n)
    {
        if (n > size - pos) return false;
        memcpy(out, p + pos, n);
        pos += n;
        return true;
    }
    bool le(uint64_t *v, int bytes)
    {
        if ((size_t)bytes > size - pos) return false;
        *v = 0;
        for (int i = 0; i < bytes; i++) *v |= (uint64_t)p[pos + i] << (8 * i);
        pos += bytes;
        return true;
    }
    bool varint(uint64_t *v)
    {
        *v = 0;
        for (int shift = 0; shift < 35; shift += 7) {
            if (pos >= size) return false;
            unsigned char c = p[pos++];
            *v |= (uint64_t)(c & 0x7f) << shift;
            if (!(c & 0x80)) return c != 0 || shift == 0;   // one way to write each number
        }
        return false;   // longer than any count we write
    }
};

bool refuse(std::string *error, const char *why)
{
    if (error) *error = why;
    return false;
}

bool name_is_plain(const std::string &s)
{
    for (unsigned char c : s)
        if (c < 32 || c == 127 || c == '/' || c == '\\') return false;
    return true;
}

bool decode_input(const unsigned char *p, size_t n, const replay_record &r,
                  std::vector<replay_input> *out, std::string *error)
{
    reader in{p, n, 0};
    uint64_t steps = 0, waits = 0;
    const uint64_t max_steps = max_steps_per_frame * r.frames;
    while (in.pos < in.size) {
        uint64_t tag, value;
        if (!in.varint(&tag)) return refuse(error, "input cut short or a count too long");
        replay_input e;
        e.kind = (uint8_t)(tag & 1);
        uint64_t count = tag >> 1;
        if (e.kind == input_wait) {
            if (count != 1) return refuse(error, "a wait that is not one entry");
            if (!in.le(&value, 4)) return refuse(error, "input cut short");
            if (value > all_latch_bits) return refuse(error, "a wait's latches name unknown actions");
            if (++waits > r.frames) return refuse(error, "more waits than frames");
        } else {
            if (count == 0) return refuse(error, "an empty run of steps");
            if (!in.le(&value, 2)) return refuse(error, "input cut short");
            if (value > all_action_bits) return refuse(error, "steps name unknown actions");
            steps += count;
            if (steps > max_steps) return refuse(error, "more input than its frames could use");
        }
        e.value = (uint32_t)value;
        e.count = (uint32_t)count;
        out->push_back(e);
    }
    if (steps < r.frames) return refuse(error, "less input than its frames");
    return true;
}

bool pose_is_sound(const ghost_pose &g)
{
    auto ok = [](float v) { return std::isfinite(v) && std::fabs(v) <= max_ghost_coord; };
    return ok(g.x) && ok(g.y) && ok(g.ang) && g.frame < ghost_frames && g.flip <= 1;
}

bool decode_ghost(reader &in, replay_record *r, std::string *error)
{
    uint64_t g;
    if (!in.le(&g, 4)) return refuse(error, "truncated before the ghost");
    if (g != 0 && g != r->frames) return refuse(error, "ghost length differs from the frames");
    if (g * ghost_pose_bytes > in.size - in.pos) return refuse(error, "truncated in the ghost");
    r->ghost.resize(g);
    for (ghost_pose &p : r->ghost) {
        uint64_t x = 0, y = 0, a = 0, fr = 0, fl = 0;    // the length was checked above
        in.le(&x, 4), in.le(&y, 4), in.le(&a, 4), in.le(&fr, 1), in.le(&fl, 1);
        uint32_t bits[3] = {(uint32_t)x, (uint32_t)y, (uint32_t)a};
        memcpy(&p.x, &bits[0], 4);
        memcpy(&p.y, &bits[1], 4);
        memcpy(&p.ang, &bits[2], 4);
        p.frame = (uint8_t)fr;
        p.flip = (uint8_t)fl;
        if (!pose_is_sound(p)) return refuse(error, "a ghost position out of range");
    }
    return true;
}

bool decode_header(reader &in, replay_record *r, std::string *error)
{
    uint64_t seed, level, sum, frames, finished, time_bits, name_len;
    if (!in.le(&seed, 4) || !in.le(&level, 4) || !in.le(&sum, 8) || !in.le(&frames, 4) ||
        !in.le(&finished, 1) || !in.le(&time_bits, 8) || !in.le(&name_len, 2))
        return refuse(error, "truncated header");
    r->seed = (uint32_t)seed;
    r->level = (int32_t)(uint32_t)level;
    r->level_checksum = sum;
    r->frames = (uint32_t)frames;
    r->finished = finished == 1;
    memcpy(&r->time_left, &time_bits, 8);
    if (r->level < 0 || r->level > 9999) return refuse(error, "level number out of range");
    if (frames == 0) return refuse(error, "no frames");
    if (frames > max_replay_frames) return refuse(error, "a run longer than a level can last");
    if (finished > 1) return refuse(error, "finish flag neither 0 nor 1");
    if (!std::isfinite(r->time_left) || r->time_left < 0 || r->time_left > max_time_left)
        return refuse(error, "time left out of range");
    if (name_len > max_name_bytes) return refuse(error, "level file name too long");
    r->level_file.assign(name_len, ' ');
    if (!in.take(&r->level_file[0], name_len)) return refuse(error, "truncated in the level name");
    if (!name_is_plain(r->level_file)) return refuse(error, "level file name holds control characters or a folder");
    return true;
}

} // namespace

bool decode_replay(const unsigned char *data, size_t size, replay_record *out, std::string *error)
{
    const size_t fixed = sizeof(replay_magic) + 4;
    if (!data || size < sizeof(replay_magic) || memcmp(data, replay_magic, sizeof(replay_magic)) != 0)
        return refuse(error, "not a replay file");
    if (size < fixed + crc_bytes) return refuse(error, "truncated header");
    reader in{data, size - crc_bytes, sizeof(replay_magic)};
    uint64_t version, stored_crc;
    in.le(&version, 4);
    if (version != replay_version) return refuse(error, "unknown replay version");
    reader tail{data, size, size - crc_bytes};
    tail.le(&stored_crc, 8);
    if (crc64(data, size - crc_bytes) != stored_crc) return refuse(error, "checksum mismatch (damaged)");
    replay_record r;
    if (!decode_header(in, &r, error)) return false;
    uint64_t input_len;
    if (!in.le(&input_len, 4)) return refuse(error, "truncated before the input");
    if (input_len > in.size - in.pos) return refuse(error, "input length beyond the file");
    if (!decode_input(in.p + in.pos, input_len, r, &r.input, error)) return false;
    in.pos += input_len;
    if (!decode_ghost(in, &r, error)) return false;
    if (in.pos != in.size) return refuse(error, "bytes after the ghost");
    *out = std::move(r);
    return true;
}

static const long max_replay_file_bytes = 64L << 20;

bool read_replay_file(const std::string &path, replay_record *r, std::string *error)
{
    FILE *fp = open_file(path, "rb");
    if (!fp) return refuse(error, "cannot be opened");
    std::vector<unsigned char> buf;
    unsigned char chunk[65536];
    size_t n;
    bool too_big = false;
    while ((n = fread(chunk, 1, sizeof(chunk), fp)) > 0) {
        buf.insert(buf.end(), chunk, chunk + n);
        if ((long)buf.size() > max_replay_file_bytes) { too_big = true; break; }
    }
    bool failed = ferror(fp);
    fclose(fp);
    if (failed) return refuse(error, "cannot be read");
    if (too_big) return refuse(error, "far too large for a replay");
    return decode_replay(buf.data(), buf.size(), r, error);
}

bool write_replay_file(const std::string &path, const replay_record &r, std::string *error)
{
    std::vector<unsigned char> b = encode_replay(r);
    return write_file_atomically(path, b.data(), b.size(), error);
}
