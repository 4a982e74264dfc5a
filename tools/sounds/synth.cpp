#include "tools/sounds/synth.h"

#include <algorithm>
#include <cstddef>

namespace synth {

namespace {

constexpr double TWO_PI = 6.283185307179586;
constexpr double LN2 = 0.6931471805599453;

// Loudness at sample i of n: see Tone.
double envelope(int i, int n, double attack, int decay, double release) {
    const int rise = std::clamp(sampleCount(attack), 1, n);
    // Sample 0 already sounds: no silent lead-in.
    if (i < rise) return double(i + 1) / rise;
    if (decay > 0) {
        double left = 1.0 - double(i - rise) / double(n - rise);
        double level = 1;
        for (int k = 0; k < decay; k++) level *= left;
        return level;
    }
    const int fall = std::clamp(sampleCount(release), 1, n - rise);
    if (i < n - fall) return 1;
    // Raised cosine, 0 on the last sample.
    double x = double(i - (n - fall) + 1) / fall;
    return 0.5 + 0.5 * sine(0.25 + 0.5 * x);
}

}  // namespace

int sampleCount(double seconds) { return static_cast<int>(seconds * RATE + 0.5); }

double sine(double turns) {
    // Into [-0.5, 0.5], then folded into [-0.25, 0.25] where the series is short.
    double t = turns - static_cast<double>(static_cast<int64_t>(turns));
    if (t > 0.5) t -= 1;
    if (t < -0.5) t += 1;
    if (t > 0.25) t = 0.5 - t;
    if (t < -0.25) t = -0.5 - t;
    const double x = t * TWO_PI, x2 = x * x;
    // Taylor series to x^15: the first term left out is under 1e-11 at pi/2.
    constexpr double c[] = {1.0,           -1.0 / 6.0,        1.0 / 120.0,         -1.0 / 5040.0,
                            1.0 / 362880.0, -1.0 / 39916800.0, 1.0 / 6227020800.0, -1.0 / 1307674368000.0};
    double sum = 0;
    for (int k = 7; k >= 0; k--) sum = c[k] + x2 * sum;
    return x * sum;
}

double exp2(double x) {
    // 2^x = 2^whole * e^(fraction ln 2), the fraction in [0, 1).
    int64_t whole = static_cast<int64_t>(x);
    if (static_cast<double>(whole) > x) whole--;
    const double y = (x - static_cast<double>(whole)) * LN2;
    // Taylor series of e^y to y^13: under 1e-12 for y below ln 2.
    double sum = 1;
    for (int k = 13; k >= 1; k--) sum = 1 + sum * y / k;
    for (; whole > 0; whole--) sum *= 2;
    for (; whole < 0; whole++) sum *= 0.5;
    return sum;
}

double note(double semitones) { return 440.0 * exp2(semitones / 12.0); }

double Noise::next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return static_cast<int32_t>(state_) / 2147483648.0;
}

Wave tone(const Tone& t) {
    const int n = sampleCount(t.seconds);
    Wave w(n);
    double total = 0;
    for (const Partial& p : t.partials) total += p.level < 0 ? -p.level : p.level;
    std::vector<double> phase(t.partials.size(), 0.0);
    double vibrato = 0;
    for (int i = 0; i < n; i++) {
        double semitones = t.from + (t.to - t.from) * i / n + t.vibratoSemitones * sine(vibrato);
        vibrato += t.vibratoHz / RATE;
        const double hz = note(semitones);
        double s = 0;
        for (size_t k = 0; k < phase.size(); k++) {
            const double step = hz * t.partials[k].ratio / RATE;
            // A partial above half the rate would fold back as a stray lower pitch.
            if (step >= 0.5) continue;
            s += t.partials[k].level * sine(phase[k]);
            phase[k] += step;
            if (phase[k] >= 1) phase[k] -= 1;
        }
        w[i] = s / total * envelope(i, n, t.attack, t.decay, t.release);
    }
    return w;
}

Wave hiss(const Hiss& h) {
    const int n = sampleCount(h.seconds);
    Wave w(n);
    Noise noise(h.seed);
    // Chamberlin state-variable filter: cheap, and its centre may move every sample.
    double low = 0, band = 0;
    for (int i = 0; i < n; i++) {
        const double hz = h.fromHz + (h.toHz - h.fromHz) * i / n;
        const double f = 2 * sine(hz / (2.0 * RATE));
        const double high = noise.next() - low - h.width * band;
        band += f * high;
        low += f * band;
        // The band's gain at its centre is about 1 / width.
        w[i] = band * h.width * envelope(i, n, h.attack, h.decay, h.release);
    }
    return w;
}

void lowPass(Wave& w, double hz) {
    const double k = TWO_PI * hz / RATE;
    const double a = k / (1 + k);
    double y = 0;
    for (double& s : w) {
        y += a * (s - y);
        s = y;
    }
}

void mix(Wave& into, const Wave& part, double atSeconds, double gain) {
    const size_t start = static_cast<size_t>(sampleCount(atSeconds));
    if (into.size() < start + part.size()) into.resize(start + part.size(), 0.0);
    for (size_t i = 0; i < part.size(); i++) into[start + i] += gain * part[i];
}

std::vector<int16_t> finish(Wave w, double peak) {
    const int n = static_cast<int>(w.size());
    const int fade = std::min(n, sampleCount(FADE_SECONDS));
    for (int k = 0; k < fade; k++) {
        const double left = double(fade - 1 - k) / fade;
        w[n - fade + k] *= left * left;
    }
    double top = 0;
    for (double s : w) top = std::max(top, s < 0 ? -s : s);
    const double scale = top > 0 ? peak * 32767.0 / top : 0.0;
    std::vector<int16_t> out(w.size());
    for (size_t i = 0; i < w.size(); i++) {
        const double v = w[i] * scale;
        // Half away from zero, whatever the rounding mode.
        out[i] = static_cast<int16_t>(v >= 0 ? static_cast<int>(v + 0.5) : -static_cast<int>(-v + 0.5));
    }
    return out;
}

}  // namespace synth
