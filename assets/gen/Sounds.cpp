// The ten event sounds, synthesised: soft bells for the prompts, clicks and
// clacks of chips, knocks and card swishes. Short, with gentle attacks and
// fades so nothing clicks, and peaks well under full scale.

#include <cmath>
#include <vector>

#include "assets/gen/Art.h"
#include "assets/gen/Output.h"

namespace tessaly::assets {
namespace {

constexpr int kRate = 44100;
constexpr double kTau = 6.283185307179586;

using Wave = std::vector<float>;

Wave silence(double seconds)
{
    return Wave(static_cast<size_t>(seconds * kRate), 0.0f);
}

// A bell-like tone: a few inharmonic partials with exponential decay.
void bell(Wave& wave, double start, double frequency, double length, double gain)
{
    const double partials[][2] = {{1.0, 1.0}, {2.0, 0.35}, {3.01, 0.12}, {4.2, 0.05}};
    const size_t from = static_cast<size_t>(start * kRate);
    const size_t count = static_cast<size_t>(length * kRate);
    for (size_t i = 0; i < count && from + i < wave.size(); ++i) {
        const double t = double(i) / kRate;
        const double attack = std::min(1.0, t / 0.004);
        double s = 0;
        for (const auto& p : partials)
            s += p[1] * std::sin(kTau * frequency * p[0] * t) * std::exp(-t * (3.0 + p[0] * 2.5) / length);
        wave[from + i] += static_cast<float>(gain * attack * s);
    }
}

// Filtered noise shaped by an envelope: chips, cards, swishes.
void noiseBurst(Wave& wave, Random& random, double start, double length, double gain, double brightness,
                double resonance, double decay)
{
    const size_t from = static_cast<size_t>(start * kRate);
    const size_t count = static_cast<size_t>(length * kRate);
    double low = 0;
    double band = 0;
    const double f = 2 * std::sin(M_PI * resonance / kRate);
    for (size_t i = 0; i < count && from + i < wave.size(); ++i) {
        const double t = double(i) / kRate;
        const double noise = random.uniform() * 2 - 1;
        // A state-variable filter: a ringing band around `resonance`.
        low += f * band;
        const double high = noise - low - 0.35 * band;
        band += f * high;
        const double envelope = std::min(1.0, t / 0.0015) * std::exp(-t / decay);
        wave[from + i] += static_cast<float>(gain * envelope * (brightness * high + (1 - brightness) * band));
    }
}

void knock(Wave& wave, double start, double gain)
{
    const size_t from = static_cast<size_t>(start * kRate);
    for (size_t i = 0; i < static_cast<size_t>(0.12 * kRate) && from + i < wave.size(); ++i) {
        const double t = double(i) / kRate;
        const double pitch = 140 + 90 * std::exp(-t * 60);
        wave[from + i] += static_cast<float>(gain * std::sin(kTau * pitch * t) * std::exp(-t * 38) *
                                             std::min(1.0, t / 0.001));
    }
}

void fadeOut(Wave& wave, double seconds)
{
    const size_t n = std::min(wave.size(), static_cast<size_t>(seconds * kRate));
    for (size_t i = 0; i < n; ++i)
        wave[wave.size() - 1 - i] *= static_cast<float>(double(i) / n);
}

void normalise(Wave& wave, double peak)
{
    float top = 0;
    for (float s : wave)
        top = std::max(top, std::fabs(s));
    if (top > 0)
        for (float& s : wave)
            s = static_cast<float>(s * peak / top);
}

void finish(Output& out, const char* name, Wave wave, double peak)
{
    fadeOut(wave, 0.01);
    normalise(wave, peak);
    out.wav(QString::fromLatin1("sounds/") + QString::fromLatin1(name), wave, kRate);
}

} // namespace

void makeSounds(Output& out)
{
    Random random(2025);
    {
        Wave w = silence(0.75);   // wake up: a rising two-note chime, twice
        bell(w, 0.0, 784, 0.35, 0.6);
        bell(w, 0.12, 1175, 0.5, 0.5);
        bell(w, 0.32, 784, 0.3, 0.35);
        bell(w, 0.42, 1175, 0.33, 0.3);
        finish(out, "wakeup1.wav", w, 0.7);
    }
    {
        Wave w = silence(0.6);    // your turn: a bright rising arpeggio
        bell(w, 0.0, 1047, 0.45, 0.5);
        bell(w, 0.08, 1319, 0.45, 0.45);
        bell(w, 0.16, 1568, 0.45, 0.45);
        finish(out, "yourturn.wav", w, 0.65);
    }
    {
        Wave w = silence(0.5);    // post a blind: two lower notes
        bell(w, 0.0, 659, 0.4, 0.55);
        bell(w, 0.13, 880, 0.37, 0.5);
        finish(out, "yourturnBLIND.wav", w, 0.6);
    }
    {
        Wave w = silence(0.28);   // call: two chips set down
        noiseBurst(w, random, 0.0, 0.12, 0.8, 0.25, 3400, 0.018);
        noiseBurst(w, random, 0.07, 0.14, 0.9, 0.25, 3000, 0.022);
        finish(out, "calling.wav", w, 0.6);
    }
    {
        Wave w = silence(0.36);   // fold: cards swept to the muck
        noiseBurst(w, random, 0.0, 0.36, 0.5, 0.1, 1800, 0.09);
        finish(out, "Folding.wav", w, 0.45);
    }
    {
        Wave w = silence(0.45);   // bet or raise: a handful of chips
        const double at[] = {0.0, 0.045, 0.1, 0.13, 0.19, 0.24};
        for (double t : at)
            noiseBurst(w, random, t, 0.12, 0.6 + random.uniform() * 0.4, 0.3, 2600 + random.uniform() * 1600, 0.016);
        finish(out, "chipsbetting.wav", w, 0.65);
    }
    {
        Wave w = silence(0.32);   // check: two knocks on the table
        knock(w, 0.0, 0.9);
        knock(w, 0.14, 0.8);
        noiseBurst(w, random, 0.0, 0.02, 0.3, 0.8, 900, 0.004);
        noiseBurst(w, random, 0.14, 0.02, 0.25, 0.8, 900, 0.004);
        finish(out, "CHECK.wav", w, 0.75);
    }
    {
        Wave w = silence(0.42);   // a player sits down: a soft rising pair
        bell(w, 0.0, 523, 0.3, 0.5);
        bell(w, 0.1, 784, 0.32, 0.45);
        finish(out, "joinseat.wav", w, 0.55);
    }
    {
        Wave w = silence(0.22);   // board cards: a crisp card snap
        noiseBurst(w, random, 0.0, 0.08, 0.6, 0.5, 4200, 0.012);
        noiseBurst(w, random, 0.05, 0.16, 0.4, 0.15, 2200, 0.04);
        finish(out, "commcardout.wav", w, 0.55);
    }
    {
        Wave w = silence(0.16);   // one card dealt: a short slide
        noiseBurst(w, random, 0.0, 0.16, 0.5, 0.2, 2800, 0.035);
        finish(out, "card_sliding2.wav", w, 0.4);
    }
}

} // namespace tessaly::assets
