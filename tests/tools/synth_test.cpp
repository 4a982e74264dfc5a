#include "tools/sounds/synth.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstdint>
#include <numbers>
#include <vector>

namespace {

TEST(Synth, SineFollowsLibmOverManyTurns) {
    // Negative and large phases too: a sweep's phase may be anywhere.
    double worst = 0;
    for (int i = -200000; i <= 200000; i++) {
        const double turns = i * 0.000731;
        worst = std::max(worst, std::fabs(synth::sine(turns) - std::sin(2 * std::numbers::pi * turns)));
    }
    EXPECT_LT(worst, 1e-9);
}

TEST(Synth, Exp2FollowsLibmAcrossTheNotesUsed) {
    double worst = 0;
    for (int i = -6000; i <= 6000; i++) {
        const double x = i * 0.001;
        worst = std::max(worst, std::fabs(synth::exp2(x) / std::exp2(x) - 1));
    }
    EXPECT_LT(worst, 1e-9);
}

TEST(Synth, NotesAreEqualTempered) {
    EXPECT_DOUBLE_EQ(synth::note(0), 440.0);
    EXPECT_NEAR(synth::note(12), 880.0, 1e-9);
    EXPECT_NEAR(synth::note(-12), 220.0, 1e-9);
    EXPECT_NEAR(synth::note(3), 523.2511306011972, 1e-9);  // C5
}

TEST(Synth, NoiseRepeatsForItsSeedAndSpreadsEvenly) {
    synth::Noise a(5), b(5), c(6);
    bool differs = false;
    double sum = 0, low = 1, high = -1;
    const int n = 200000;
    for (int i = 0; i < n; i++) {
        const double x = a.next();
        ASSERT_EQ(x, b.next()) << "at " << i;
        differs = differs || x != c.next();
        sum += x;
        low = std::min(low, x);
        high = std::max(high, x);
    }
    EXPECT_TRUE(differs);
    EXPECT_LT(std::fabs(sum / n), 0.01);
    EXPECT_GE(low, -1.0);
    EXPECT_LT(high, 1.0);
    EXPECT_LT(low, -0.99);
    EXPECT_GT(high, 0.99);
}

TEST(Synth, FinishFadesToZeroAndScalesThePeak) {
    // A full-scale square wave, which would click if cut.
    synth::Wave w(4800);
    for (size_t i = 0; i < w.size(); i++) w[i] = (i / 50) % 2 ? -1.5 : 1.5;
    const std::vector<int16_t> out = synth::finish(w, 0.5);
    ASSERT_EQ(out.size(), w.size());
    int peak = 0;
    for (int16_t s : out) peak = std::max(peak, std::abs(int(s)));
    EXPECT_EQ(peak, 16384);  // 0.5 of 32767, rounded
    EXPECT_EQ(out.front(), 16384);
    EXPECT_EQ(out.back(), 0);
    // The fade falls steadily: no sample in it louder than the one before.
    const size_t fade = static_cast<size_t>(synth::sampleCount(synth::FADE_SECONDS));
    for (size_t i = out.size() - fade + 1; i < out.size(); i++)
        EXPECT_LE(std::abs(int(out[i])), std::abs(int(out[i - 1]))) << "at " << i;
}

TEST(Synth, ToneHoldsItsPitchAndLength) {
    synth::Tone t;
    t.seconds = 0.1;
    t.from = t.to = 12;  // A5
    t.decay = 0;
    t.release = 0.01;
    const synth::Wave w = synth::tone(t);
    ASSERT_EQ(w.size(), 4800u);
    // 880 Hz for 0.1 s crosses zero upward 88 times.
    int upward = 0;
    for (size_t i = 1; i < w.size(); i++) upward += w[i - 1] < 0 && w[i] >= 0;
    EXPECT_NEAR(upward, 88, 1);
}

}  // namespace
