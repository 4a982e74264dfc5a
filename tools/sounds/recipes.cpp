// One short recipe per sound. Pitches are semitones above A4 (A5 = 12, C5 = 3).
#include "tools/sounds/recipes.h"

#include "tools/sounds/synth.h"

using namespace synth;

namespace {

// Peaks, as parts of full scale. Sounds heard many times a minute sit lower than
// the rarer ones; the landing thump, heard after nearly every word, well under all.
constexpr double LOUD = 0.71;   // -3 dBFS
constexpr double SOFT = 0.56;   // -5 dBFS
constexpr double QUIET = 0.2;   // -14 dBFS

enum Pitch { C4 = -9, E4 = -5, F4 = -4, FS4 = -3, G4 = -2, C5 = 3, E5 = 7, G5 = 10, A5 = 12, B5 = 14,
             C6 = 15, E6 = 19, G6 = 22, A6 = 24, C7 = 27 };

// A sine with a touch of its octave, so it is not thin.
const std::vector<Partial> ROUND = {{1, 1}, {2, 0.15}};
const std::vector<Partial> BELL = {{1, 1}, {2, 0.45}, {3, 0.2}, {4.2, 0.08}};
const std::vector<Partial> REED = {{1, 1}, {3, 0.15}};
// Even partials inverted: the same colour, but the wave's widest swing comes in
// its first half-cycle, so the note is heard from its first millisecond.
const std::vector<Partial> BRASS = {{1, 1}, {2, -0.6}, {3, 0.45}, {4, -0.3}, {5, 0.18}, {6, -0.1}};
const std::vector<Partial> BUZZ = {{1, 1}, {2, 0.5}, {3, 0.35}, {4, 0.25}, {5, 0.2}, {6, 0.15}, {7, 0.12}};

Tone pitched(double seconds, double pitch, const std::vector<Partial>& partials, int decay) {
    Tone t;
    t.seconds = seconds;
    t.from = t.to = pitch;
    t.partials = partials;
    t.decay = decay;
    return t;
}

// A held note with soft edges, for tunes.
Tone held(double seconds, double pitch, const std::vector<Partial>& partials, double release) {
    Tone t = pitched(seconds, pitch, partials, 0);
    t.release = release;
    return t;
}

Wave letter() {
    // The game pitches it up by resampling, so a clean A5 with little above it.
    return tone(pitched(0.06, A5, ROUND, 3));
}

Wave undo() {
    Tone t = pitched(0.06, B5, ROUND, 2);
    t.to = E5;
    return tone(t);
}

Wave word() {
    Wave w = tone(pitched(0.3, C6, BELL, 3));
    mix(w, tone(pitched(0.26, G6, BELL, 3)), 0.04, 0.8);
    return w;
}

Wave refused() {
    Tone buzz = pitched(0.2, -27, BUZZ, 2);  // about 92 Hz, sagging
    buzz.to = -30;
    Wave w = tone(buzz);
    lowPass(w, 700);  // dull, not rasping
    Tone thud = pitched(0.08, -30, ROUND, 2);
    thud.to = -40;
    mix(w, tone(thud), 0, 0.8);
    return w;
}

Wave land() {
    Tone thump = pitched(0.05, -22, {{1, 1}}, 2);  // about 125 Hz falling to 60
    thump.to = -35;
    Wave w = tone(thump);
    Hiss soft;
    soft.seconds = 0.02;
    soft.fromHz = soft.toHz = 400;
    soft.seed = 7;
    mix(w, hiss(soft), 0, 0.5);
    return w;
}

Wave button() {
    Hiss snap;
    snap.seconds = 0.012;
    snap.fromHz = snap.toHz = 4500;
    snap.decay = 3;
    snap.seed = 11;
    Wave w = hiss(snap);
    mix(w, tone(pitched(0.04, C7, {{1, 1}, {2.7, 0.3}}, 5)), 0, 0.7);  // a 2 kHz ping under it
    return w;
}

Wave tip() {
    Tone low = pitched(0.24, E6, ROUND, 3);
    low.attack = 0.003;
    Tone high = pitched(0.15, A6, ROUND, 3);
    high.attack = 0.003;
    Wave w = tone(low);
    mix(w, tone(high), 0.09, 0.9);
    return w;
}

Wave sweep(double from, double to) {
    Tone t = held(0.2, from, {{1, 1}, {2, 0.3}, {3, 0.1}}, 0.05);
    t.attack = 0.002;
    t.to = to;
    return tone(t);
}

Wave dragStart() { return sweep(C4, C6); }
Wave dragStop() { return sweep(C6, C4); }

Wave swap() {
    Hiss swish;
    swish.seconds = 0.08;
    swish.fromHz = 1200;
    swish.toHz = 4000;
    swish.width = 0.6;
    swish.seed = 23;
    return hiss(swish);
}

Wave turn() {
    Hiss tick;
    tick.seconds = 0.006;
    tick.fromHz = tick.toHz = 5000;
    tick.seed = 31;
    Hiss whoosh;
    whoosh.seconds = 0.1;
    whoosh.fromHz = 500;
    whoosh.toHz = 1500;
    whoosh.decay = 1;
    whoosh.seed = 37;
    Wave w = hiss(whoosh);
    mix(w, hiss(tick), 0, 0.6);
    mix(w, tone(pitched(0.015, 20, {{1, 1}}, 4)), 0, 0.3);  // a metal ping in the tick
    mix(w, hiss(tick), 0.045, 0.35);  // the ratchet's second tooth
    return w;
}

Wave lowLife() {
    // Reed-like rather than square: heard clearly without grating.
    Tone beep = held(0.11, G5, REED, 0.02);
    beep.attack = 0.003;
    Wave w = tone(beep);
    mix(w, tone(beep), 0.16);
    return w;
}

Wave levelBonus() {
    const Pitch notes[] = {C5, E5, G5, C6, E6, G6, C7};
    Wave w;
    for (int i = 0; i < 7; i++) mix(w, tone(pitched(i == 6 ? 0.55 : 0.35, notes[i], BELL, 3)), 0.075 * i, 0.7);
    return w;
}

Wave levelIntro() {
    Wave w;
    for (int i = 0; i < 3; i++) mix(w, tone(held(0.1, C5, BRASS, 0.03)), 0.12 * i);
    Tone last = held(0.34, G5, BRASS, 0.12);
    last.vibratoHz = 5.5;
    last.vibratoSemitones = 0.12;
    mix(w, tone(last), 0.36);
    mix(w, tone(held(0.34, E5, BRASS, 0.12)), 0.36, 0.6);
    return w;
}

Wave gameOver() {
    const Pitch notes[] = {G4, FS4, F4};
    const std::vector<Partial> mellow = {{1, 1}, {2, -0.5}, {3, 0.25}, {4, -0.12}};
    Wave w;
    // Each note sinks away before the next, as a sigh.
    for (int i = 0; i < 3; i++) mix(w, tone(pitched(0.3, notes[i], mellow, 1)), 0.27 * i);
    Tone last = held(0.39, E4, mellow, 0.2);
    last.vibratoHz = 6;
    last.vibratoSemitones = 0.25;
    mix(w, tone(last), 0.81);
    return w;
}

Wave highScore() {
    const Pitch run[] = {C5, E5, G5, C6};
    Wave w;
    for (int i = 0; i < 4; i++) mix(w, tone(pitched(i == 3 ? 0.25 : 0.14, run[i], BRASS, 1)), 0.07 * i);
    for (Pitch p : {C6, E6, G6}) {
        Tone chord = pitched(0.8, p, BELL, 2);
        chord.vibratoHz = 5;
        chord.vibratoSemitones = 0.06;
        mix(w, tone(chord), 0.4, 0.35);
    }
    mix(w, tone(pitched(0.8, C5, BRASS, 2)), 0.4, 0.3);
    return w;
}

}  // namespace

std::vector<Sound> makeSounds() {
    struct Recipe {
        const char* file;
        Wave (*make)();
        double peak;
    };
    const Recipe recipes[] = {
        {"letter.wav", letter, SOFT},         {"undo.wav", undo, SOFT},
        {"word.wav", word, LOUD},             {"refused.wav", refused, SOFT},
        {"land.wav", land, QUIET},            {"button.wav", button, SOFT},
        {"tip.wav", tip, SOFT},               {"dragstart.wav", dragStart, SOFT},
        {"dragstop.wav", dragStop, SOFT},     {"swap.wav", swap, SOFT},
        {"turn.wav", turn, SOFT},             {"lowlife.wav", lowLife, SOFT},
        {"levelbonus.wav", levelBonus, LOUD}, {"levelintro.wav", levelIntro, LOUD},
        {"gameover.wav", gameOver, LOUD},     {"highscore.wav", highScore, LOUD},
    };
    std::vector<Sound> sounds;
    for (const Recipe& r : recipes) sounds.push_back(Sound{r.file, finish(r.make(), r.peak)});
    return sounds;
}
