// Oscillators, envelopes, filters and noise for the sound tool. Plain double and
// integer arithmetic only, no libm: every build on every machine makes the same
// samples, so the shipped files never change by accident.
#pragma once

#include <cstdint>
#include <vector>

namespace synth {

constexpr int RATE = 48000;

// A sound being made: samples about -1 to 1 at RATE.
using Wave = std::vector<double>;

int sampleCount(double seconds);

// sin(2 pi turns), good to about 1e-9.
double sine(double turns);
// 2 to the power x, good to about 1e-9 relative.
double exp2(double x);
// The equal-tempered note `semitones` above A4 (440 Hz); fractions glide between notes.
double note(double semitones);

// White noise from a 32-bit xorshift: the same seed gives the same stream.
class Noise {
public:
    explicit Noise(uint32_t seed) : state_(seed ? seed : 1) {}
    double next();  // -1 to just under 1

private:
    uint32_t state_;
};

// One sine of a tone, at `ratio` times its frequency.
struct Partial {
    double ratio, level;
};

// A pitched sound: a sum of partials whose pitch glides from `from` to `to`
// (semitones above A4) and whose loudness rises over `attack`, then either
// falls to 0 as (1 - x)^decay, or with decay 0 holds and fades over `release`.
struct Tone {
    double seconds = 0.1;
    double from = 0, to = 0;
    std::vector<Partial> partials = {{1, 1}};
    double attack = 0.001;
    int decay = 2;
    double release = 0.02;
    double vibratoHz = 0, vibratoSemitones = 0;
};
Wave tone(const Tone& t);

// Noise through a band-pass whose centre glides from `fromHz` to `toHz`; the
// loudness is shaped as a Tone's.
struct Hiss {
    double seconds = 0.05;
    uint32_t seed = 1;
    double fromHz = 2000, toHz = 2000;
    double width = 1;  // the filter's damping: small is narrow and ringing
    double attack = 0.001;
    int decay = 2;
    double release = 0.02;
};
Wave hiss(const Hiss& h);

// Softens the sound above `hz` (one pole).
void lowPass(Wave& w, double hz);
// Adds `part` from `atSeconds` on, growing `into` as needed.
void mix(Wave& into, const Wave& part, double atSeconds, double gain = 1);

// The last FADE_SECONDS fall to exactly 0, so a sound cut there never clicks.
constexpr double FADE_SECONDS = 0.008;
// Fades the end, scales the highest sample to `peak` of full scale and rounds to 16 bits.
std::vector<int16_t> finish(Wave w, double peak);

}  // namespace synth
