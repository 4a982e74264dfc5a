#include "Core/cmrand.h"

namespace {
uint32_t randState = 1;
}

void cmSrand(uint32_t seed) { randState = seed; }

int32_t cmRand() {
    randState = randState * 214013u + 2531011u;
    return static_cast<int32_t>((randState >> 16) & 0x7FFF);
}

uint32_t cmRandState() { return randState; }
