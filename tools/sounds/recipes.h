// The game's sounds, one file per event; the game loads them by these names.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Sound {
    std::string file;
    std::vector<int16_t> samples;  // at synth::RATE, one channel
};

std::vector<Sound> makeSounds();
