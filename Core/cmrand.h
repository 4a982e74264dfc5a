// The game's own random generator. Every random choice goes through it so that
// the same seed plays the same game on every machine (the C library's rand()
// differs between systems).
#pragma once

#include <cstdint>

constexpr int32_t CM_RAND_MAX = 32767;

// state = state * 214013 + 2531011 (mod 2^32); the result is bits 16 to 30.
void cmSrand(uint32_t seed);
int32_t cmRand();
uint32_t cmRandState();
