// tests/assets/datafiles_test.cpp -- the five built datafiles: object counts
// and types, picture sizes at the slots the game reads, masked edges, sample
// formats and levels, and the tracks' length, parts and instruments.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <vector>
#include <set>
#include <sstream>
#include "assets_fixture.h"
#include "slots.h"

namespace {

const int dat_info = DAT_ID('i', 'n', 'f', 'o');

bool power_of_two(int v) { return v > 0 && (v & (v - 1)) == 0; }

BITMAP *bmp(DATAFILE *dat, int slot) { return (BITMAP *)dat[slot].dat; }

const int all_skies[] = {TEX_BACKGROUND, TEX_SKY_DUSK, TEX_SKY_NIGHT, TEX_SKY_HALL, TEX_SKY_DESERT};

bool is_mask(BITMAP *b, int x, int y)
{
    int c = getpixel(b, x, y);
    return getr32(c) == 255 && getg32(c) == 0 && getb32(c) == 255;
}

// Every picture datafile: pictures in 32 bits with power-of-two sides, then
// the packer's information object last.
void expect_picture_datafile(DATAFILE *dat, int pictures)
{
    ASSERT_NE(dat, nullptr);
    ASSERT_EQ(object_count(dat), pictures + 1);
    EXPECT_EQ(dat[pictures].type, dat_info);
    for (int i = 0; i < pictures; i++) {
        ASSERT_EQ(dat[i].type, DAT_BITMAP) << "slot " << i;
        EXPECT_EQ(bitmap_color_depth(bmp(dat, i)), 32) << "slot " << i;
        EXPECT_TRUE(power_of_two(bmp(dat, i)->w) && power_of_two(bmp(dat, i)->h)) << "slot " << i;
    }
}

void expect_size(DATAFILE *dat, int slot, int w, int h)
{
    EXPECT_EQ(bmp(dat, slot)->w, w) << "slot " << slot;
    EXPECT_EQ(bmp(dat, slot)->h, h) << "slot " << slot;
}

}  // namespace

TEST(TerrainDatafile, PicturesSitAtTheSlotsTheGameReadsWithTheirShapes)
{
    DATAFILE *dat = load_game_datafile("ttex01.dat");
    expect_picture_datafile(dat, NUM_TERRAIN_PICTURES);
    const int frames[] = {TEX_PLAYER, TEX_PLAYER_LANDING, TEX_PLAYER_TUMBLING, TEX_PLAYER_RUNNING,
                          TEX_PLAYER_RECOVERY, TEX_PLAYER_CHARGING, TEX_PLAYER_BLINK,
                          TEX_PLAYER_BOOST_A, TEX_PLAYER_BOOST_B, TEX_PLAYER_BOOST};
    for (int s : frames) expect_size(dat, s, 128, 128);
    BITMAP *bg = bmp(dat, TEX_BACKGROUND);
    EXPECT_EQ(bg->w, 2 * bg->h);
    EXPECT_GE(bg->w, 1024);
    expect_size(dat, TEX_BAR_FRAME, 256, 32);
    for (int k = 0; k < 2; k++) {
        expect_size(dat, TEX_PLAY_AGAIN + k, 256, 128);       // shown at 200 x 100
        expect_size(dat, TEX_BACK_TO_START + k, 256, 128);
    }
    expect_size(dat, TEX_LEVEL_COMPLETE, 256, 128);
    expect_size(dat, TEX_WAYPOINT, 64, 128);                  // a 0.2 x 0.4 marker
    expect_size(dat, TEX_WAYPOINT_SPIN, 64, 128);
    expect_size(dat, TEX_ELECTRIC, 64, 128);                  // a 0.16 x 0.32 charge
    EXPECT_GE(bmp(dat, TEX_CLOCK_HAND)->h, 3 * bmp(dat, TEX_CLOCK_HAND)->w);
    const int squares[] = {TEX_LEAF, TEX_SPIKE, TEX_DUST, TEX_DUST + 1, TEX_DUST + 2, TEX_DUST + 3,
                           TEX_CLOCK_FRAME, TEX_BEE, TEX_GLOW, TEX_PUFF};
    for (int s : squares) EXPECT_EQ(bmp(dat, s)->w, bmp(dat, s)->h) << "slot " << s;
    unload_datafile(dat);
}

TEST(TerrainDatafile, SpritesAreMaskedRoundTheirEdgesAndTheBackgroundIsSolid)
{
    DATAFILE *dat = load_game_datafile("ttex01.dat");
    ASSERT_NE(dat, nullptr);
    const int sprites[] = {TEX_PLAYER, TEX_PLAYER_RUNNING, TEX_LEAF, TEX_SPIKE, TEX_BEE, TEX_PUFF,
                           TEX_WAYPOINT, TEX_CLOCK_FRAME, TEX_ELECTRIC, TEX_GLOW};
    for (int s : sprites) {
        BITMAP *b = bmp(dat, s);
        EXPECT_TRUE(is_mask(b, 0, 0) && is_mask(b, b->w - 1, 0) && is_mask(b, 0, b->h - 1) &&
                    is_mask(b, b->w - 1, b->h - 1)) << "corners of slot " << s;
    }
    EXPECT_FALSE(is_mask(bmp(dat, TEX_PLAYER), 64, 64));
    // The clock face shows through the frame; the bar shows through its window.
    EXPECT_TRUE(is_mask(bmp(dat, TEX_CLOCK_FRAME), 64, 64));
    EXPECT_TRUE(is_mask(bmp(dat, TEX_BAR_FRAME), 128, 16));
    EXPECT_FALSE(is_mask(bmp(dat, TEX_BAR_FRAME), 128, 2));
    BITMAP *bg = bmp(dat, TEX_BACKGROUND);
    int masked = 0;
    for (int y = 0; y < bg->h; y += 7)
        for (int x = 0; x < bg->w; x += 7) masked += is_mask(bg, x, y);
    EXPECT_EQ(masked, 0);
    unload_datafile(dat);
}

// Masked texels become transparent black, which linear filtering blends into
// the picture's edge: a sprite whose rim is dark outline shows no fringe.
TEST(TerrainDatafile, SpriteRimsAreDarkOutlinesSoFilteringLeavesNoFringe)
{
    DATAFILE *dat = load_game_datafile("ttex01.dat");
    ASSERT_NE(dat, nullptr);
    const int sprites[] = {TEX_PLAYER, TEX_PLAYER_LANDING, TEX_PLAYER_TUMBLING, TEX_PLAYER_RUNNING,
                           TEX_PLAYER_RECOVERY, TEX_PLAYER_CHARGING, TEX_PLAYER_BLINK, TEX_PLAYER_BOOST_A,
                           TEX_PLAYER_BOOST_B, TEX_PLAYER_BOOST, TEX_LEAF, TEX_SPIKE, TEX_WAYPOINT,
                           TEX_ELECTRIC, TEX_BEE, TEX_CLOCK_HAND};
    for (int s : sprites) {
        BITMAP *b = bmp(dat, s);
        int rim = 0, dark = 0;
        for (int y = 1; y + 1 < b->h; y++)
            for (int x = 1; x + 1 < b->w; x++) {
                if (is_mask(b, x, y)) continue;
                if (!is_mask(b, x - 1, y) && !is_mask(b, x + 1, y) && !is_mask(b, x, y - 1) && !is_mask(b, x, y + 1)) continue;
                int c = getpixel(b, x, y);
                rim++;
                dark += getr32(c) + getg32(c) + getb32(c) < 3 * 150;
            }
        ASSERT_GT(rim, 0) << "slot " << s;
        EXPECT_GT(dark * 10, rim * 8) << "slot " << s << ": " << dark << " of " << rim << " rim texels are dark";
    }
    unload_datafile(dat);
}

namespace {

int colour_step(BITMAP *b, int x0, int y0, int x1, int y1)
{
    int a = getpixel(b, x0, y0), c = getpixel(b, x1, y1);
    return std::abs(getr32(a) - getr32(c)) + std::abs(getg32(a) - getg32(c)) + std::abs(getb32(a) - getb32(c));
}

// How much a picture changes from column x0 to column x1 (or row to row).
double column_step(BITMAP *b, int x0, int x1)
{
    double sum = 0;
    for (int y = 0; y < b->h; y++) sum += colour_step(b, x0, y, x1, y);
    return sum;
}

double row_step(BITMAP *b, int y0, int y1)
{
    double sum = 0;
    for (int x = 0; x < b->w; x++) sum += colour_step(b, x, y0, x, y1);
    return sum;
}

// The step across the wrap, against the typical step between neighbours: a
// seam shows as a wrap step far above the picture's usual ones.
void expect_seamless(BITMAP *b, bool vertical, int slot)
{
    double mean = 0, wrap;
    int n = vertical ? b->h : b->w;
    for (int i = 0; i + 1 < n; i++) mean += vertical ? row_step(b, i, i + 1) : column_step(b, i, i + 1);
    mean /= n - 1;
    wrap = vertical ? row_step(b, n - 1, 0) : column_step(b, n - 1, 0);
    EXPECT_LT(wrap, 2.5 * mean + 8.0 * (vertical ? b->w : b->h)) << (vertical ? "rows" : "columns")
                                                              << " of slot " << slot << " do not meet";
}

}  // namespace

TEST(TerrainDatafile, FillsAndBandsRepeatWithoutASeam)
{
    DATAFILE *dat = load_game_datafile("ttex01.dat");
    ASSERT_NE(dat, nullptr);
    const int fills[] = {TEX_FILL_GRASS, TEX_FILL_EARTH, TEX_FILL_ROCK, TEX_FILL_SAND, TEX_FILL_WOOD,
                         TEX_FILL_BRICKS, TEX_FILL_CAVE, TEX_FILL_ICE, TEX_FILL_COBBLE, TEX_FILL_SNOW,
                         TEX_FILL_LEAF_LITTER, TEX_FILL_SANDSTONE, TEX_FILL_ASHLAR, TEX_FILL_NIGHT_SOIL};
    for (int s : fills) {
        BITMAP *b = bmp(dat, s);
        ASSERT_EQ(b->w, b->h) << "slot " << s;
        expect_seamless(b, false, s);
        expect_seamless(b, true, s);
    }
    const int bands[] = {TEX_BAND_GRASS, TEX_BAND_FLOWERS, TEX_BAND_ROCK, TEX_BAND_SAND,
                         TEX_BAND_BLEND, TEX_BAND_ARROW, TEX_BAND_SNOW, TEX_BAND_PLANKS,
                         TEX_BAND_AUTUMN, TEX_BAND_CARPET, TEX_BAND_NIGHT_GRASS};
    for (int s : bands) {
        BITMAP *b = bmp(dat, s);
        EXPECT_EQ(b->w, 256) << "slot " << s;
        EXPECT_LE(b->h, 128) << "slot " << s;
        expect_seamless(b, false, s);
    }
    for (int s : all_skies) expect_seamless(bmp(dat, s), false, s);
    unload_datafile(dat);
}

namespace {

double masked_share(BITMAP *b, int y)
{
    int n = 0;
    for (int x = 0; x < b->w; x++) n += is_mask(b, x, y);
    return (double)n / b->w;
}

struct colour_sum { double r = 0, g = 0, b = 0; double light() const { return (r + g + b) / 3; } };

colour_sum mean_colour(BITMAP *p)
{
    colour_sum m;
    int n = 0;
    for (int y = 0; y < p->h; y += 3)
        for (int x = 0; x < p->w; x += 3, n++) {
            int c = getpixel(p, x, y);
            m.r += getr32(c); m.g += getg32(c); m.b += getb32(c);
        }
    m.r /= n; m.g /= n; m.b /= n;
    return m;
}

}  // namespace

// A band lies on the terrain's surface, its middle row, and stands out of it
// with some of its upper half: the middle row is painted all along, the top
// row shows the sky through it.
TEST(TerrainDatafile, BandsCoverTheSurfaceRowAndLeaveSkyAboveIt)
{
    DATAFILE *dat = load_game_datafile("ttex01.dat");
    ASSERT_NE(dat, nullptr);
    const int bands[] = {TEX_BAND_GRASS, TEX_BAND_FLOWERS, TEX_BAND_ROCK, TEX_BAND_SNOW, TEX_BAND_PLANKS,
                         TEX_BAND_AUTUMN, TEX_BAND_CARPET, TEX_BAND_NIGHT_GRASS};
    for (int s : bands) {
        BITMAP *b = bmp(dat, s);
        EXPECT_EQ(masked_share(b, b->h / 2), 0.0) << "slot " << s << ": a gap along the surface";
        EXPECT_GT(masked_share(b, 0), 0.9) << "slot " << s;
        EXPECT_GT(masked_share(b, b->h - 1), 0.9) << "slot " << s << ": a band is no fill";
    }
    unload_datafile(dat);
}

// Every sky is a whole, opaque picture of the day sky's shape, each its own;
// the night and the hall are dark enough that ground drawn over them reads.
TEST(TerrainDatafile, EverySkyIsItsOwnOpaquePictureOfTheDaySkysShape)
{
    DATAFILE *dat = load_game_datafile("ttex01.dat");
    ASSERT_NE(dat, nullptr);
    std::vector<colour_sum> means;
    for (int s : all_skies) {
        BITMAP *b = bmp(dat, s);
        expect_size(dat, s, 1024, 512);
        int masked = 0;
        for (int y = 0; y < b->h; y += 5)
            for (int x = 0; x < b->w; x += 5) masked += is_mask(b, x, y);
        EXPECT_EQ(masked, 0) << "slot " << s;
        means.push_back(mean_colour(b));
    }
    for (size_t i = 0; i < means.size(); i++)
        for (size_t k = i + 1; k < means.size(); k++) {
            double d = std::fabs(means[i].r - means[k].r) + std::fabs(means[i].g - means[k].g) +
                       std::fabs(means[i].b - means[k].b);
            EXPECT_GT(d, 30) << "skies " << all_skies[i] << " and " << all_skies[k] << " look alike";
        }
    double day = mean_colour(bmp(dat, TEX_BACKGROUND)).light();
    EXPECT_LT(mean_colour(bmp(dat, TEX_SKY_NIGHT)).light(), day * 0.5);
    EXPECT_LT(mean_colour(bmp(dat, TEX_SKY_HALL)).light(), 100);
    unload_datafile(dat);
}

TEST(DoodadDatafile, HivesPlantsAndTheSignBlankAtTheirPictures)
{
    DATAFILE *dat = load_game_datafile("doodads01.dat");
    expect_picture_datafile(dat, NUM_DOODAD_PICTURES);
    EXPECT_GE(NUM_DOODAD_PICTURES - 5, 20);              // decorations besides the five with a meaning
    expect_size(dat, DAD_SIGN, 128, 64);
    // "Stage N" is printed from (32, 13) in an 8-pixel font: the board must be there.
    BITMAP *sign = bmp(dat, DAD_SIGN);
    for (int x = 32; x < 100; x += 4)
        for (int y = 13; y < 22; y += 2) EXPECT_FALSE(is_mask(sign, x, y)) << x << "," << y;
    const int meaningful[] = {DAD_HIVE, DAD_HIVE_DISTURBED, DAD_PLANT_A, DAD_PLANT_B};
    for (int s : meaningful) EXPECT_GE(bmp(dat, s)->w, 32) << "slot " << s;
    unload_datafile(dat);
}

namespace {

// Pictures hung on something (a branch, a wall) or floating; every other
// picture stands on the ground.
bool hangs(int slot)
{
    const int hung[] = {DAD_HIVE, DAD_HIVE_DISTURBED, DAD_CLOUD, DAD_TORCH, DAD_BANNER, DAD_CASTLE_WINDOW};
    return std::find(std::begin(hung), std::end(hung), slot) != std::end(hung);
}

int lowest_opaque_row(BITMAP *b)
{
    for (int y = b->h - 1; y >= 0; y--)
        for (int x = 0; x < b->w; x++)
            if (!is_mask(b, x, y)) return y;
    return -1;
}

}  // namespace

// A doodad is drawn centred on its position with the texture repeating
// sideways, so its side columns and top row stay clear (or they would bleed
// over the opposite edge), and a standing one reaches the bottom rows, or it
// floats above the ground it is placed on. No slot repeats another's picture.
TEST(DoodadDatafile, EveryPictureIsFramedClearAndStandingOnesReachTheirBase)
{
    DATAFILE *dat = load_game_datafile("doodads01.dat");
    expect_picture_datafile(dat, NUM_DOODAD_PICTURES);
    std::map<std::vector<int>, int> seen;
    for (int s = 0; s < NUM_DOODAD_PICTURES; s++) {
        BITMAP *b = bmp(dat, s);
        int opaque = 0, edge = 0;
        std::vector<int> pixels;
        for (int y = 0; y < b->h; y++)
            for (int x = 0; x < b->w; x++) {
                bool solid = !is_mask(b, x, y);
                opaque += solid;
                edge += solid && (x == 0 || x == b->w - 1 || y == 0);
                pixels.push_back(getpixel(b, x, y));
            }
        EXPECT_EQ(edge, 0) << "slot " << s << " touches its side or top edge";
        EXPECT_GT(opaque * 10, b->w * b->h) << "slot " << s << " is almost empty";
        if (!hangs(s)) { EXPECT_GE(lowest_opaque_row(b), b->h - 5) << "slot " << s << " floats"; }
        auto again = seen.emplace(pixels, s);
        EXPECT_TRUE(again.second) << "slot " << s << " repeats slot " << again.first->second;
    }
    unload_datafile(dat);
}

TEST(BuildingsDatafile, StartScreenPicturesAtTheirIndices)
{
    DATAFILE *dat = load_game_datafile("buildings.dat");
    expect_picture_datafile(dat, NUM_BUILDING_PICTURES);
    const int words[] = {BTEX_LANG_0, BTEX_LANG_1, BTEX_START, BTEX_START + 1, BTEX_QUIT, BTEX_QUIT + 1,
                         BTEX_OPTIONS, BTEX_OPTIONS + 1};
    for (int s : words) expect_size(dat, s, 256, 64);    // shown at 200 x 40
    expect_size(dat, BTEX_POINTER, 128, 32);
    expect_size(dat, BTEX_TITLE, 512, 512);
    expect_size(dat, BTEX_SCROLL_TEXT, 256, 1024);
    // The pointer's tip is at its right end, where it meets the menu word.
    BITMAP *p = bmp(dat, BTEX_POINTER);
    int tip = 0;
    for (int x = 0; x < p->w; x++)
        if (!is_mask(p, x, p->h / 2)) tip = x;
    EXPECT_GE(tip, p->w - 8);
    unload_datafile(dat);
}

TEST(SoundDatafile, TenShortCleanSamplesThenTheInformationObject)
{
    DATAFILE *dat = load_game_datafile("sound.dat");
    ASSERT_NE(dat, nullptr);
    ASSERT_EQ(object_count(dat), NUM_SOUND_SAMPLES + 1);
    EXPECT_EQ(dat[NUM_SOUND_SAMPLES].type, dat_info);
    for (int i = 0; i < NUM_SOUND_SAMPLES; i++) {
        ASSERT_EQ(dat[i].type, DAT_SAMPLE) << "sample " << i;
        SAMPLE *s = (SAMPLE *)dat[i].dat;
        EXPECT_EQ(s->bits, 16);
        EXPECT_GE(s->freq, 22050);
        double seconds = (double)s->len / s->freq;
        EXPECT_GT(seconds, 0.05) << "sample " << i;
        EXPECT_LT(seconds, 2.0) << "sample " << i;
        // Allegro keeps 16-bit samples unsigned, centred on 32768.
        const unsigned short *v = (const unsigned short *)s->data;
        int peak = 0;
        for (unsigned long k = 0; k < s->len; k++) peak = std::max(peak, std::abs((int)v[k] - 32768));
        EXPECT_GT(peak, 16000) << "sample " << i << " is too quiet";
        EXPECT_LT(std::abs((int)v[0] - 32768), 600) << "sample " << i << " starts with a click";
        EXPECT_LT(std::abs((int)v[s->len - 1] - 32768), 600) << "sample " << i << " ends with a click";
    }
    unload_datafile(dat);
}

// ---- MIDI tracks ---------------------------------------------------------------

namespace {

struct song_facts {
    double seconds = 0;
    std::map<int, int> notes_per_channel;
    std::map<int, double> mean_pitch;
    std::set<int> programs;
};

unsigned read_var(const unsigned char *d, int len, int *pos)
{
    unsigned v = 0;
    while (*pos < len) {
        unsigned char c = d[(*pos)++];
        v = (v << 7) | (c & 0x7f);
        if (!(c & 0x80)) break;
    }
    return v;
}

// Walks every track of a MIDI object: notes per channel, their mean pitch,
// programs, and the playing time from the tempo map.
song_facts scan(const MIDI *m)
{
    song_facts f;
    std::vector<std::pair<long, unsigned>> tempos;
    long last_tick = 0;
    std::map<int, double> pitch_sum;
    for (int t = 0; t < MIDI_TRACKS; t++) {
        const unsigned char *d = m->track[t].data;
        int len = m->track[t].len, pos = 0, status = 0;
        long tick = 0;
        while (d && pos < len) {
            tick += read_var(d, len, &pos);
            int c = d[pos];
            if (c & 0x80) { status = c; pos++; }
            if (status == 0xff) {
                int type = d[pos++];
                int l = (int)read_var(d, len, &pos);
                if (type == 0x51 && l == 3) tempos.push_back({tick, (unsigned)(d[pos] << 16 | d[pos + 1] << 8 | d[pos + 2])});
                pos += l;
                status = 0;
                continue;
            }
            if (status == 0xf0 || status == 0xf7) { pos += (int)read_var(d, len, &pos); continue; }
            int kind = status & 0xf0, ch = status & 0x0f;
            if (kind == 0xc0 || kind == 0xd0) {
                if (kind == 0xc0) f.programs.insert(d[pos]);
                pos += 1;
                continue;
            }
            int a = d[pos], b = d[pos + 1];
            pos += 2;
            if (kind == 0x90 && b > 0) {
                f.notes_per_channel[ch]++;
                pitch_sum[ch] += a;
            }
        }
        last_tick = std::max(last_tick, tick);
    }
    std::sort(tempos.begin(), tempos.end());
    unsigned us = 500000;
    long at = 0;
    for (auto &tp : tempos) {
        f.seconds += (double)(tp.first - at) / m->divisions * us / 1e6;
        at = tp.first;
        us = tp.second;
    }
    f.seconds += (double)(last_tick - at) / m->divisions * us / 1e6;
    for (auto &p : pitch_sum) f.mean_pitch[p.first] = p.second / f.notes_per_channel[p.first];
    return f;
}

std::set<int> freepats_programs()
{
    std::set<int> out;
    std::ifstream in("/etc/timidity/freepats.cfg");
    std::string line;
    bool tones = false;
    while (std::getline(in, line)) {
        std::istringstream w(line);
        std::string first;
        w >> first;
        if (first == "bank") tones = true;
        if (first == "drumset") tones = false;
        if (tones && !first.empty() && isdigit((unsigned char)first[0])) out.insert(std::stoi(first));
    }
    return out;
}

}  // namespace

TEST(MusicDatafile, TracksOfOneToTwoMinutesWithMelodyBassAndDrums)
{
    DATAFILE *dat = load_game_datafile("music.dat");
    ASSERT_NE(dat, nullptr);
    ASSERT_EQ(object_count(dat), NUM_MUSIC_TRACKS + 1);
    ASSERT_GE(NUM_MUSIC_TRACKS, 3);
    EXPECT_EQ(dat[NUM_MUSIC_TRACKS].type, dat_info);
    std::set<int> available = freepats_programs();
    std::set<std::set<int>> instrument_sets;
    for (int i = 0; i < NUM_MUSIC_TRACKS; i++) {
        ASSERT_EQ(dat[i].type, DAT_MIDI) << "track " << i;
        song_facts f = scan((const MIDI *)dat[i].dat);
        EXPECT_GE(f.seconds, 60) << "track " << i;
        EXPECT_LE(f.seconds, 120) << "track " << i;
        EXPECT_GT(f.notes_per_channel[9], 100) << "track " << i << " has no drums";
        EXPECT_GT(f.notes_per_channel[0], 100) << "track " << i << " has no melody";
        EXPECT_GT(f.notes_per_channel[3], 30) << "track " << i << " has no bass";
        EXPECT_LT(f.mean_pitch[3] + 12, f.mean_pitch[0]) << "track " << i << ": the bass sits below the tune";
        for (int p : f.programs) {
            if (available.empty()) continue;
            EXPECT_TRUE(available.count(p)) << "track " << i << " uses program " << p << " that freepats lacks";
        }
        instrument_sets.insert(f.programs);
    }
    EXPECT_EQ((int)instrument_sets.size(), NUM_MUSIC_TRACKS) << "every track has its own sound";
    unload_datafile(dat);
}

namespace {

// Pixels the glyph of one UTF-8 character sets on a clear bitmap.
int ink_of(FONT *f, const char *utf8)
{
    BITMAP *b = create_bitmap_ex(32, 64, 64);
    clear_to_color(b, 0);
    textout_ex(b, f, utf8, 0, 0, makecol32(255, 255, 255), -1);
    int n = 0;
    for (int y = 0; y < b->h; y++)
        for (int x = 0; x < b->w; x++) n += getpixel(b, x, y) != 0;
    destroy_bitmap(b);
    return n;
}

}  // namespace

// Both fonts reach every letter of the two languages, umlauts and sharp s
// included, each glyph distinct; the title font is the taller.
TEST(FontsDatafile, TwoFontsWithEveryLetterOfBothLanguages)
{
    DATAFILE *dat = load_game_datafile("fonts.dat");
    ASSERT_NE(dat, nullptr);
    ASSERT_EQ(object_count(dat), NUM_FONTS + 1);
    EXPECT_EQ(dat[NUM_FONTS].type, dat_info);
    for (int i = 0; i < NUM_FONTS; i++) {
        ASSERT_EQ(dat[i].type, DAT_FONT) << "font " << i;
        FONT *f = (FONT *)dat[i].dat;
        for (const char *c : {"A", "z", "0", "?", "\xc3\xa4", "\xc3\xb6", "\xc3\xbc", "\xc3\x84", "\xc3\x96", "\xc3\x9c", "\xc3\x9f"})
            EXPECT_GT(ink_of(f, c), 3) << "font " << i << " glyph " << c;
        EXPECT_NE(ink_of(f, "\xc3\xa4"), ink_of(f, "a")) << "the umlaut has its dots";
        EXPECT_EQ(ink_of(f, " "), 0);
        EXPECT_GT(text_length(f, "Hillhopper"), text_length(f, "Hill"));
    }
    EXPECT_GT(text_height((FONT *)dat[FONT_TITLE].dat), text_height((FONT *)dat[FONT_TEXT].dat));
    unload_datafile(dat);
}

// The builder sits in the build tree beside the game folder; run again into a
// scratch folder, it must reproduce the five datafiles byte for byte.
TEST(AssetBuilder, ASecondRunMakesTheSameBytes)
{
    std::string builder = std::string(GAME_DATA_DIR) + "/../tools/assets/asset_builder";
    if (access(builder.c_str(), X_OK) != 0) GTEST_SKIP() << "no asset builder at " << builder;
    std::string dir = scratch_dir("rebuild");
    ASSERT_EQ(std::system(("'" + builder + "' '" + dir + "/work' '" + dir + "/out' > /dev/null").c_str()), 0);
    for (const char *name : {"ttex01.dat", "doodads01.dat", "buildings.dat", "sound.dat", "music.dat", "fonts.dat"}) {
        std::string cmd = "cmp -s '" + dir + "/out/" + name + "' '" + GAME_DATA_DIR + "/" + name + "'";
        EXPECT_EQ(std::system(cmd.c_str()), 0) << name << " differs from the built one";
    }
}
