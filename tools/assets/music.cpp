// tools/assets/music.cpp -- the background tracks, composed here and written
// as type-1 Standard MIDI Files in General MIDI. A song is a form of sections
// over chord progressions; each section's tune is made once from a seeded
// generator and repeats wherever the section returns, so the songs have
// recognisable themes. Only programs of the Debian freepats set are used, so
// the patch set built from it plays every part.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>
#include "canvas.h"
#include "sounds.h"
#include "slots.h"

namespace {

const int tpq = 480;                // ticks per quarter note
const int eighth = tpq / 2;
const int drum_channel = 9;

// ---- events and the file writer ----------------------------------------------

struct event {
    int tick;
    int order;                      // note-offs sort before note-ons at one tick
    std::vector<unsigned char> bytes;
};

struct track {
    std::vector<event> ev;
    void add(int tick, int order, std::vector<unsigned char> b) { ev.push_back({tick, order, std::move(b)}); }
    void note(int ch, int tick, int len, int key, int vel) {
        if (key < 0 || key > 127 || len <= 0) return;
        add(tick, 1, {(unsigned char)(0x90 | ch), (unsigned char)key, (unsigned char)std::clamp(vel, 1, 127)});
        add(tick + len, 0, {(unsigned char)(0x80 | ch), (unsigned char)key, 0});
    }
    void setup(int ch, int program, int volume, int pan) {
        if (ch != drum_channel) add(0, 0, {(unsigned char)(0xc0 | ch), (unsigned char)program});
        add(0, 0, {(unsigned char)(0xb0 | ch), 7, (unsigned char)volume});
        add(0, 0, {(unsigned char)(0xb0 | ch), 10, (unsigned char)pan});
    }
};

void put_var(std::vector<unsigned char> &out, uint32_t v)
{
    unsigned char buf[5];
    int n = 0;
    buf[n++] = v & 0x7f;
    while (v >>= 7) buf[n++] = 0x80 | (v & 0x7f);
    while (n) out.push_back(buf[--n]);
}

void put_be(std::vector<unsigned char> &out, uint32_t v, int bytes)
{
    for (int i = bytes - 1; i >= 0; i--) out.push_back((v >> (8 * i)) & 0xff);
}

std::vector<unsigned char> track_chunk(track t, int end_tick)
{
    std::stable_sort(t.ev.begin(), t.ev.end(), [](const event &a, const event &b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    std::vector<unsigned char> data;
    int last = 0;
    for (const event &e : t.ev) {
        put_var(data, (uint32_t)(e.tick - last));
        data.insert(data.end(), e.bytes.begin(), e.bytes.end());
        last = e.tick;
    }
    put_var(data, (uint32_t)std::max(0, end_tick - last));
    data.insert(data.end(), {0xff, 0x2f, 0x00});
    std::vector<unsigned char> chunk = {'M', 'T', 'r', 'k'};
    put_be(chunk, (uint32_t)data.size(), 4);
    chunk.insert(chunk.end(), data.begin(), data.end());
    return chunk;
}

// ---- harmony -------------------------------------------------------------------

struct key_sig {
    int root;                       // MIDI note of the tonic in the bass octave
    bool minor;
    int step(int degree) const {    // semitones above the root of scale index degree
        static const int major[7] = {0, 2, 4, 5, 7, 9, 11};
        static const int minor_s[7] = {0, 2, 3, 5, 7, 8, 10};
        int oct = degree >= 0 ? degree / 7 : -((-degree + 6) / 7);
        int d = degree - oct * 7;
        return oct * 12 + (minor ? minor_s[d] : major[d]);
    }
};

// A chord is a scale degree; its triad is degrees d, d + 2, d + 4. In minor
// the chord on degree 4 takes the raised leading note (a major dominant).
bool chord_tone(int degree, int chord) { return ((degree - chord) % 7 + 7) % 7 % 2 == 0 && ((degree - chord) % 7 + 7) % 7 != 6; }

int pitch(const key_sig &k, int degree, int chord, int octave_base)
{
    int p = octave_base + k.step(degree);
    if (k.minor && chord == 4 && ((degree % 7) + 7) % 7 == 6) p += 1;
    return p;
}

// ---- songs ---------------------------------------------------------------------

enum style { STYLE_SUNNY, STYLE_CAVE, STYLE_RUSH, STYLE_WALTZ };

struct section {
    char id;                        // sections with one id share their tune
    std::vector<int> chords;        // one chord degree per bar
    bool melody;
    int energy;                     // 0 quiet, 1 normal, 2 full
};

struct song {
    const char *name;
    int bpm, beats;
    key_sig key;
    style st;
    int lead, lead2, chords, bass;  // General MIDI programs
    uint32_t seed;
    std::vector<section> form;
};

const std::vector<std::vector<int>> patterns_4 = {
    {2, 2, 2, 2}, {3, 1, 2, 2}, {2, 1, 1, 2, 2}, {1, 1, 2, 1, 1, 2}, {4, 2, 2},
    {2, 2, 4}, {3, 3, 2}, {1, 1, 1, 1, 2, 2}, {2, 2, 1, 1, 2}};
const std::vector<std::vector<int>> patterns_3 = {{2, 2, 2}, {3, 1, 2}, {4, 2}, {2, 1, 1, 2}, {2, 4}};

struct note_ev { int start, len, degree; };

// One bar of tune following a contour (dir +1 rising, -1 falling): strong
// positions land on a chord tone about a step or two along the contour, the
// others move through the scale, mostly by step and rarely standing still.
std::vector<note_ev> make_bar(lcg &r, const std::vector<int> &rhythm, int chord, int dir, int *last, int lo, int hi)
{
    std::vector<note_ev> out;
    int pos = 0;
    for (int len : rhythm) {
        bool strong = pos % 4 == 0;
        int d = *last;
        if (*last >= hi - 1) dir = -1;
        if (*last <= lo + 1) dir = 1;
        if (strong) {
            int aim = *last + dir * (1 + (int)(r.next() % 3));
            int best = d, best_cost = 1000;
            for (int cand = lo; cand <= hi; cand++) {
                if (!chord_tone(cand, chord)) continue;
                int cost = std::abs(cand - aim) * 3 + (int)(r.next() % 4) + (cand == *last ? 4 : 0);
                if (cost < best_cost) { best_cost = cost; best = cand; }
            }
            d = best;
        } else {
            const int moves[] = {1, 1, 1, 2, -1, -1, 0};
            d = *last + dir * moves[r.next() % 7];
        }
        d = std::clamp(d, lo, hi);
        out.push_back({pos, len, d});
        *last = d;
        pos += len;
    }
    return out;
}

// The tune of a section: a four-bar phrase answered by a variation that ends
// on the chord's root (the tonic in the closing bar).
std::vector<std::vector<note_ev>> make_tune(const song &s, const section &sec)
{
    lcg r(s.seed * 31 + (uint32_t)sec.id);
    const auto &pats = s.beats == 3 ? patterns_3 : patterns_4;
    int n = (int)sec.chords.size();
    std::vector<std::vector<int>> rhythm(n);
    int a = r.next() % pats.size(), b = r.next() % pats.size(), c = r.next() % pats.size();
    for (int i = 0; i < n; i++) {
        int k = i % 4;
        rhythm[i] = pats[k == 1 ? b : (k == 3 ? c : a)];
    }
    std::vector<std::vector<note_ev>> bars(n);
    int last = 7 + (int)(r.next() % 3);
    const int lo = 2, hi = 13;
    for (int i = 0; i < n; i++) {
        if (i >= 4 && i < n - 1) {
            // The answer: the same tune moved onto the new chord where needed.
            bars[i] = bars[i - 4];
            for (note_ev &e : bars[i])
                if (e.start % 4 == 0 && !chord_tone(e.degree, sec.chords[i]))
                    e.degree += chord_tone(e.degree + 1, sec.chords[i]) ? 1 : -1;
            if (!bars[i].empty()) last = bars[i].back().degree;
        } else {
            int dir = (i % 4) < 2 ? 1 : -1;         // each four bars rise, then fall
            bars[i] = make_bar(r, rhythm[i], sec.chords[i], dir, &last, lo, hi);
        }
    }
    if (n >= 2) {   // closing bar: a long note on the chord root
        int root = sec.chords[n - 1];
        int d = root + 7;
        while (d - last > 4) d -= 7;
        while (last - d > 4) d += 7;
        bars[n - 1] = {{0, s.beats * 2, std::clamp(d, lo, hi + 2)}};
    }
    return bars;
}

struct arranger {
    const song &s;
    track lead, lead2, chords, bass, drums;
    int bar_ticks;
    explicit arranger(const song &s_) : s(s_), bar_ticks(s_.beats * tpq) {}

    void tune(const std::vector<note_ev> &bar, int t0, int chord, int energy, bool echo) {
        int base = s.key.root + 12;     // the tune sits an octave and more above the tonic
        for (const note_ev &e : bar) {
            int p = pitch(s.key, e.degree, chord, base);
            int vel = (e.start % 4 == 0 ? 100 : 86) + energy * 6;
            lead.note(0, t0 + e.start * eighth, e.len * eighth - 20, p, vel);
            if (echo) lead2.note(1, t0 + e.start * eighth + 3 * eighth / 2, e.len * eighth - 20, p, vel / 2);
            else if (energy == 2) lead2.note(1, t0 + e.start * eighth, e.len * eighth - 20, p + 12, vel - 30);
        }
    }

    std::vector<int> triad(int chord, int base) const {
        return {pitch(s.key, chord, chord, base), pitch(s.key, chord + 2, chord, base), pitch(s.key, chord + 4, chord, base)};
    }

    void accompany(int t0, int chord, int energy) {
        int root = pitch(s.key, chord, chord, s.key.root - 12);   // the bass an octave down
        int fifth = pitch(s.key, chord + 4, chord, s.key.root - 12);
        std::vector<int> tri = triad(chord, s.key.root);
        switch (s.st) {
        case STYLE_SUNNY:
            bass.note(3, t0, tpq - 40, root, 100);
            bass.note(3, t0 + tpq + eighth, eighth - 20, root + 12, 80);
            bass.note(3, t0 + 2 * tpq, tpq - 40, fifth, 95);
            bass.note(3, t0 + 3 * tpq + eighth, eighth - 20, root, 85);
            for (int p : tri) chords.note(2, t0, tpq, p, 80);
            for (int beat : {1, 3})
                for (int p : tri) chords.note(2, t0 + beat * tpq + eighth, eighth - 30, p, 62 + energy * 8);
            break;
        case STYLE_CAVE:
            bass.note(3, t0, bar_ticks / 2 + tpq, root, 90);
            bass.note(3, t0 + 3 * tpq, tpq - 30, fifth, 70);
            for (int p : tri) chords.note(2, t0, bar_ticks - 10, p, 58 + energy * 6);
            for (int k = 0; k < 8 && energy > 0; k++)
                chords.note(2, t0 + k * eighth, eighth, tri[(k * 2) % 3] + 12, 40 + (k == 0 ? 10 : 0));
            break;
        case STYLE_RUSH:
            for (int k = 0; k < 8; k++)
                bass.note(3, t0 + k * eighth, eighth - 30, k % 4 == 3 ? root + 12 : root, k % 2 ? 84 : 104);
            for (int k = 1; k < 8; k += 2)
                for (int p : tri) chords.note(2, t0 + k * eighth, eighth / 2, p + 12, 60 + energy * 10);
            break;
        case STYLE_WALTZ:
            bass.note(3, t0, tpq * 2 - 40, root, 96);
            bass.note(3, t0 + 2 * tpq, tpq - 40, fifth, 70);
            for (int beat : {1, 2})
                for (int p : tri) chords.note(2, t0 + beat * tpq, tpq - 60, p + 12, 56 + energy * 6);
            break;
        }
    }

    void drum_bar(int t0, int energy, bool crash, bool fill) {
        auto hit = [&](int pos_eighths, int key, int vel) { drums.note(drum_channel, t0 + pos_eighths * eighth, eighth / 2, key, vel); };
        if (crash) hit(0, 49, 100);
        switch (s.st) {
        case STYLE_SUNNY:
            hit(0, 36, 105); hit(4, 36, 95); hit(5, 36, 70);
            hit(2, 38, 95); hit(6, 38, 100);
            for (int k = 0; k < 8; k++) hit(k, 42, k % 2 ? 55 : 75);
            if (energy == 2) { hit(2, 54, 70); hit(6, 54, 70); }
            break;
        case STYLE_CAVE:
            hit(0, 36, 85);
            if (energy > 0) hit(4, 37, 70);
            for (int k = 0; k < 8; k++) hit(k, 70, k % 2 ? 35 : 50);
            if (energy == 2) { hit(3, 36, 60); hit(6, 39, 60); }
            break;
        case STYLE_RUSH:
            for (int k = 0; k < 8; k += 2) hit(k, 36, 110);
            hit(2, 38, 105); hit(6, 38, 110);
            for (int k = 0; k < 8; k++) hit(k, k % 2 ? 46 : 42, k % 2 ? 60 : 80);
            if (energy == 2) hit(7, 38, 70);
            break;
        case STYLE_WALTZ:
            hit(0, 36, 90);
            hit(2, 42, 60); hit(4, 42, 60);
            if (energy > 0) { hit(2, 51, 50); hit(4, 51, 50); }
            if (energy == 2) hit(5, 37, 55);
            break;
        }
        if (fill && s.beats == 4) {   // a tom run into the next section
            const int toms[] = {50, 48, 47, 45};
            for (int k = 0; k < 4; k++) hit(4 + k, toms[k], 90 + k * 5);
        }
    }
};

void compose(const song &s, std::vector<unsigned char> *file)
{
    arranger a(s);
    a.lead.setup(0, s.lead, 110, 64);
    a.lead2.setup(1, s.lead2, 80, 40);
    a.chords.setup(2, s.chords, 88, 84);
    a.bass.setup(3, s.bass, 110, 64);
    a.drums.setup(drum_channel, 0, 100, 64);
    int t = 0;
    for (size_t si = 0; si < s.form.size(); si++) {
        const section &sec = s.form[si];
        std::vector<std::vector<note_ev>> bars;
        if (sec.melody) bars = make_tune(s, sec);
        int n = (int)sec.chords.size();
        for (int i = 0; i < n; i++) {
            bool last_bar = i == n - 1;
            bool song_end = last_bar && si + 1 == s.form.size();
            if (song_end) {   // the final chord, held, with a crash
                int root = pitch(s.key, 0, 0, s.key.root - 12);
                a.bass.note(3, t, a.bar_ticks, root, 100);
                for (int p : a.triad(0, s.key.root)) a.chords.note(2, t, a.bar_ticks, p, 80);
                a.lead.note(0, t, a.bar_ticks, pitch(s.key, 7, 0, s.key.root + 12), 96);
                a.drums.note(drum_channel, t, tpq, 49, 110);
                a.drums.note(drum_channel, t, tpq, 36, 110);
            } else {
                a.accompany(t, sec.chords[i], sec.energy);
                a.drum_bar(t, sec.energy, i == 0 && si > 0, last_bar && si + 2 < s.form.size());
                if (sec.melody) a.tune(bars[i], t, sec.chords[i], sec.energy, s.st == STYLE_CAVE);
                // In the calmer sections a second voice holds the chord's third under the tune.
                if (sec.melody && sec.energy == 1 && s.st != STYLE_CAVE)
                    a.lead2.note(1, t, a.bar_ticks - 40, pitch(s.key, sec.chords[i] + 2, sec.chords[i], s.key.root + 12), 52);
            }
            t += a.bar_ticks;
        }
    }
    int end = t + tpq;
    track tempo;
    uint32_t us = 60000000u / (uint32_t)s.bpm;
    tempo.add(0, 0, {0xff, 0x51, 0x03, (unsigned char)(us >> 16), (unsigned char)(us >> 8), (unsigned char)us});
    tempo.add(0, 0, {0xff, 0x58, 0x04, (unsigned char)s.beats, 2, 24, 8});
    std::vector<track> tracks = {tempo, a.lead, a.lead2, a.chords, a.bass, a.drums};
    file->clear();
    file->insert(file->end(), {'M', 'T', 'h', 'd'});
    put_be(*file, 6, 4);
    put_be(*file, 1, 2);
    put_be(*file, (uint32_t)tracks.size(), 2);
    put_be(*file, tpq, 2);
    for (const track &tr : tracks) {
        std::vector<unsigned char> chunk = track_chunk(tr, end);
        file->insert(file->end(), chunk.begin(), chunk.end());
    }
}

// Chord degrees: 0 I, 1 ii, 2 iii, 3 IV, 4 V, 5 vi, 6 vii.
song sunny_hills()
{
    song s{"sunny_hills", 124, 4, {53, false}, STYLE_SUNNY, 73, 9, 24, 33, 11, {}};
    std::vector<int> a = {0, 3, 4, 0, 0, 3, 4, 0}, b = {5, 3, 0, 4, 5, 3, 1, 4}, c = {3, 4, 2, 5, 3, 4, 0, 0};
    s.form = {{'i', {0, 3, 4, 4}, false, 0}, {'A', a, true, 1}, {'A', a, true, 2}, {'B', b, true, 1},
              {'A', a, true, 2}, {'C', c, true, 1}, {'A', a, true, 2}, {'o', {3, 4, 0, 0}, false, 1}};
    return s;
}

song cave_echoes()
{
    song s{"cave_echoes", 84, 4, {50, true}, STYLE_CAVE, 8, 8, 94, 35, 23, {}};
    std::vector<int> a = {0, 5, 3, 4, 0, 5, 3, 4}, b = {5, 2, 3, 0, 5, 2, 3, 4};
    s.form = {{'i', {0, 0, 5, 4}, false, 0}, {'A', a, true, 0}, {'B', b, true, 1}, {'A', a, true, 1},
              {'B', b, true, 2}, {'o', {5, 4, 0, 0}, false, 0}};
    return s;
}

song hive_rush()
{
    song s{"hive_rush", 152, 4, {52, true}, STYLE_RUSH, 80, 80, 7, 38, 37, {}};
    std::vector<int> a = {0, 0, 5, 6, 0, 0, 5, 4}, b = {3, 4, 0, 5, 3, 4, 5, 4}, c = {5, 3, 0, 4, 5, 3, 4, 4};
    s.form = {{'i', {0, 0, 0, 4}, false, 1}, {'A', a, true, 1}, {'A', a, true, 2}, {'B', b, true, 2},
              {'C', c, true, 1}, {'A', a, true, 2}, {'B', b, true, 2}, {'o', {5, 4, 0, 0}, false, 2}};
    return s;
}

song evening_waltz()
{
    song s{"evening_waltz", 138, 3, {55, false}, STYLE_WALTZ, 21, 73, 0, 32, 41, {}};
    std::vector<int> a = {0, 0, 3, 0, 4, 4, 0, 0}, b = {5, 5, 1, 4, 0, 3, 4, 0}, c = {3, 3, 0, 5, 1, 4, 0, 0};
    s.form = {{'i', {0, 4, 0, 4}, false, 0}, {'A', a, true, 1}, {'B', b, true, 1}, {'A', a, true, 1},
              {'C', c, true, 2}, {'A', a, true, 2}, {'B', b, true, 1}, {'A', a, true, 1},
              {'C', c, true, 2}, {'A', a, true, 1}, {'o', {3, 4, 0, 0}, false, 0}};
    return s;
}

}  // namespace

int write_music(const std::string &dir, std::vector<std::string> *files)
{
    song songs[NUM_MUSIC_TRACKS];
    songs[MUS_SUNNY_HILLS] = sunny_hills();
    songs[MUS_CAVE_ECHOES] = cave_echoes();
    songs[MUS_HIVE_RUSH] = hive_rush();
    songs[MUS_EVENING_WALTZ] = evening_waltz();
    for (const song &s : songs) {
        std::vector<unsigned char> bytes;
        compose(s, &bytes);
        std::string path = dir + "/" + s.name + ".mid";
        FILE *fp = fopen(path.c_str(), "wb");
        bool ok = fp && fwrite(bytes.data(), 1, bytes.size(), fp) == bytes.size();
        if (fp && fclose(fp) != 0) ok = false;
        if (!ok) {
            fprintf(stderr, "assets: cannot write %s\n", path.c_str());
            return 1;
        }
        files->push_back(path);
    }
    return 0;
}
