// tools/assets/sounds.cpp -- the game's sound effects, synthesised as 16-bit
// mono WAV at 22,050 Hz. Each effect is a short sum of oscillators under
// envelopes; noise comes from a seeded generator, so the bytes never change.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>
#include "canvas.h"
#include "sounds.h"
#include "slots.h"

namespace {

const int rate = 22050;
const float two_pi = 6.2831853f;

struct voice {
    std::vector<float> s;
    explicit voice(float seconds) : s((size_t)(seconds * rate), 0.0f) {}
    size_t n() const { return s.size(); }
    float t(size_t i) const { return (float)i / rate; }
};

float env_exp(float t, float attack, float decay)
{
    float a = attack > 0 ? std::min(1.0f, t / attack) : 1.0f;
    return a * std::exp(-t / decay);
}

// A phase-accumulating oscillator: the frequency may change per sample. The
// square, saw and triangle are summed from their harmonics below 10 kHz, so
// they stay clean (no aliased tones folding back down).
struct osc {
    float phase = 0;
    float sine(float f) { step(f); return std::sin(two_pi * phase); }
    float square(float f) { step(f); return 0.6f * 4 / 3.14159f * partials(f, 2, 1); }
    float saw(float f) { step(f); return 2 / 3.14159f * partials(f, 1, 1); }
    float tri(float f) { step(f); return 8 / (3.14159f * 3.14159f) * partials(f, 2, 2); }
    void step(float f) { phase += f / rate; phase -= std::floor(phase); }
    // Sum of sin(k x) / k^power over k = 1, 1 + stride, ... below the limit;
    // the triangle's alternating signs come with power 2.
    float partials(float f, int stride, int power) const {
        float sum = 0;
        for (int k = 1, n = 0; k * f < 10000.0f; k += stride, n++) {
            float term = std::sin(two_pi * phase * k) / (power == 1 ? k : (float)k * k);
            sum += (power == 2 && n % 2) ? -term : term;
        }
        return sum;
    }
};

// One-pole low-pass, to soften square and noise sources.
struct lowpass {
    float y = 0, k;
    explicit lowpass(float cutoff) : k(1 - std::exp(-two_pi * cutoff / rate)) {}
    float run(float x) { y += k * (x - y); return y; }
};

float noise(lcg &r) { return r.uniform() * 2 - 1; }

// Peak to 0.85 of full scale, with 4 ms fades at both ends against clicks.
void finish(voice &v)
{
    float peak = 1e-6f;
    for (float x : v.s) peak = std::max(peak, std::fabs(x));
    size_t fade = rate / 250;
    for (size_t i = 0; i < v.n(); i++) {
        float g = 0.85f / peak;
        if (i < fade) g *= (float)i / fade;
        if (v.n() - i < fade) g *= (float)(v.n() - i) / fade;
        v.s[i] *= g;
    }
}

voice spike_hit()
{
    voice v(0.4f);
    lcg r(1);
    osc a, b, c, d, thud;
    lowpass lp(2500);
    for (size_t i = 0; i < v.n(); i++) {
        float t = v.t(i);
        float metal = (a.sine(420) + 0.7f * b.sine(1130) + 0.5f * c.sine(1790) + 0.3f * d.sine(2650)) * env_exp(t, 0.001f, 0.09f);
        float crack = lp.run(noise(r)) * env_exp(t, 0.0005f, 0.03f) * 2.5f;
        float low = thud.sine(140 * std::exp(-t * 6)) * env_exp(t, 0.002f, 0.08f);
        v.s[i] = metal * 0.6f + crack + low;
    }
    return v;
}

voice leaf_chime()
{
    voice v(0.45f);
    lcg r(2);
    osc a, a2, b, b2;
    lowpass lp(3000);
    for (size_t i = 0; i < v.n(); i++) {
        float t = v.t(i);
        float n1 = (a.sine(1318.5f) + 0.3f * a2.sine(2637)) * env_exp(t, 0.003f, 0.12f);
        float t2 = t - 0.08f;
        float n2 = t2 > 0 ? (b.sine(1975.5f) + 0.3f * b2.sine(3951)) * env_exp(t2, 0.003f, 0.16f) : 0;
        float rustle = lp.run(noise(r)) * env_exp(t, 0.01f, 0.04f) * 0.6f;
        v.s[i] = n1 + n2 + rustle;
    }
    return v;
}

voice waypoint_arpeggio()
{
    const float notes[] = {1046.5f, 1318.5f, 1568.0f, 2093.0f};
    voice v(0.6f);
    osc o[4], h[4];
    for (size_t i = 0; i < v.n(); i++) {
        float t = v.t(i), sum = 0;
        for (int k = 0; k < 4; k++) {
            float tk = t - k * 0.065f;
            if (tk < 0) continue;
            sum += (o[k].tri(notes[k]) * 0.7f + 0.3f * h[k].sine(notes[k] * 2)) * env_exp(tk, 0.002f, k == 3 ? 0.22f : 0.09f);
        }
        v.s[i] = sum;
    }
    return v;
}

voice clock_tick()
{
    voice v(0.09f);
    lcg r(4);
    osc a, b;
    for (size_t i = 0; i < v.n(); i++) {
        float t = v.t(i);
        v.s[i] = (a.sine(1800) + 0.5f * b.sine(2700)) * env_exp(t, 0.0005f, 0.018f) + noise(r) * env_exp(t, 0, 0.003f);
    }
    return v;
}

voice swarm_buzz()
{
    voice v(0.9f);
    osc o[3], vib, trem;
    lowpass lp(1800);
    const float base[] = {178, 183, 241};
    for (size_t i = 0; i < v.n(); i++) {
        float t = v.t(i);
        float wob = vib.sine(23) * 6;
        float sum = 0;
        for (int k = 0; k < 3; k++) sum += o[k].saw(base[k] + wob * (k + 1) * 0.5f);
        float amp = std::min(1.0f, t / 0.08f) * std::min(1.0f, (0.9f - t) / 0.25f) * (0.75f + 0.25f * trem.sine(11));
        v.s[i] = lp.run(sum) * amp;
    }
    return v;
}

voice boost_zap()
{
    voice v(0.55f);
    lcg r(6);
    osc car, mod, sub;
    lowpass lp(2500);
    for (size_t i = 0; i < v.n(); i++) {
        float t = v.t(i);
        float f = 180 * std::pow(9.0f, t / 0.55f);
        float fm = car.sine(f + 300 * mod.sine(f * 1.5f));
        float crackle = (r.uniform() < 0.012f ? noise(r) : 0) * 3.0f;
        float amp = std::min(1.0f, t / 0.02f) * std::min(1.0f, (0.55f - t) / 0.2f);
        v.s[i] = (fm * 0.7f + lp.run(crackle) + 0.3f * sub.square(f / 2)) * amp;
    }
    return v;
}

voice sting_zip()
{
    voice v(0.22f);
    osc o, h;
    lowpass lp(5000);
    for (size_t i = 0; i < v.n(); i++) {
        float t = v.t(i);
        float f = 2400 * std::exp(-t * 9);
        v.s[i] = lp.run(o.square(f) + 0.4f * h.sine(f * 1.5f)) * env_exp(t, 0.001f, 0.09f);
    }
    return v;
}

voice death_wail()
{
    const float notes[] = {392.0f, 370.0f, 349.2f, 311.1f};
    const float starts[] = {0.0f, 0.28f, 0.56f, 0.84f};
    voice v(1.7f);
    osc o, vib;
    lowpass lp(1400);
    for (size_t i = 0; i < v.n(); i++) {
        float t = v.t(i);
        int k = 0;
        while (k < 3 && t >= starts[k + 1]) k++;
        float tk = t - starts[k];
        float f = notes[k] * (k == 3 ? std::exp(-tk * 0.35f) : 1.0f);
        float vibrato = 1 + (k == 3 ? 0.025f : 0.01f) * vib.sine(6);
        float amp = (k == 3 ? env_exp(tk, 0.02f, 0.45f) : std::min(1.0f, tk / 0.02f) * (1 - 0.4f * tk / 0.28f));
        v.s[i] = lp.run(o.saw(f * vibrato)) * amp;
    }
    return v;
}

voice jump_boing()
{
    voice v(0.3f);
    osc o, h, vib;
    for (size_t i = 0; i < v.n(); i++) {
        float t = v.t(i);
        float f = 240 * std::pow(3.0f, std::min(t / 0.16f, 1.0f)) * (1 + 0.02f * vib.sine(30));
        v.s[i] = (o.sine(f) + 0.25f * h.tri(f * 2)) * env_exp(t, 0.004f, 0.12f);
    }
    return v;
}

voice electric_pickup()
{
    const float notes[] = {880.0f, 1108.7f, 1318.5f, 1760.0f};
    voice v(0.5f);
    lcg r(10);
    osc o[4];
    lowpass lp(3500);
    for (size_t i = 0; i < v.n(); i++) {
        float t = v.t(i), sum = 0;
        for (int k = 0; k < 4; k++) {
            float tk = t - k * 0.05f;
            if (tk >= 0) sum += o[k].square(notes[k]) * env_exp(tk, 0.001f, k == 3 ? 0.15f : 0.06f);
        }
        float crackle = (r.uniform() < 0.05f ? noise(r) : 0) * env_exp(t, 0, 0.12f) * 2;
        v.s[i] = lp.run(sum + crackle);
    }
    return v;
}

void put16(FILE *fp, int v) { fputc(v & 0xff, fp); fputc((v >> 8) & 0xff, fp); }
void put32(FILE *fp, uint32_t v) { put16(fp, v & 0xffff); put16(fp, (int)(v >> 16)); }

bool save_wav(const voice &v, const std::string &path)
{
    FILE *fp = fopen(path.c_str(), "wb");
    if (!fp) return false;
    uint32_t bytes = (uint32_t)v.n() * 2;
    fwrite("RIFF", 1, 4, fp); put32(fp, 36 + bytes); fwrite("WAVE", 1, 4, fp);
    fwrite("fmt ", 1, 4, fp); put32(fp, 16); put16(fp, 1); put16(fp, 1);
    put32(fp, rate); put32(fp, rate * 2); put16(fp, 2); put16(fp, 16);
    fwrite("data", 1, 4, fp); put32(fp, bytes);
    for (float x : v.s) put16(fp, (int)std::lround(clampf(x, -1, 1) * 32767));
    return fclose(fp) == 0;
}

}  // namespace

int write_sounds(const std::string &dir, std::vector<std::string> *files)
{
    struct entry { const char *name; voice (*make)(); };
    entry table[NUM_SOUND_SAMPLES] = {};
    table[SND_SPIKE] = {"spike", spike_hit};
    table[SND_LEAF] = {"leaf", leaf_chime};
    table[SND_WAYPOINT] = {"waypoint", waypoint_arpeggio};
    table[SND_CLOCK_TICK] = {"tick", clock_tick};
    table[SND_HIVE] = {"swarm", swarm_buzz};
    table[SND_BOOST] = {"boost", boost_zap};
    table[SND_STING] = {"sting", sting_zip};
    table[SND_DEATH] = {"death", death_wail};
    table[SND_JUMP] = {"jump", jump_boing};
    table[SND_ELECTRIC] = {"electric", electric_pickup};
    for (int k = 0; k < NUM_SOUND_SAMPLES; k++) {
        if (!table[k].make) {
            fprintf(stderr, "assets: no sound for sample %d\n", k);
            return 1;
        }
        voice v = table[k].make();
        finish(v);
        std::string path = dir + "/" + table[k].name + ".wav";
        if (!save_wav(v, path)) {
            fprintf(stderr, "assets: cannot write %s\n", path.c_str());
            return 1;
        }
        files->push_back(path);
    }
    return 0;
}
