#include "game/banner.h"

#include <cstring>

const char* const bannerTexts[BANNER_COUNT] = {"TURN THE WORLD", "GAME OVER", "GAME OVER \nNEW HIGH SCORE"};

int32_t bannerIndex = BANNER_NONE;
int32_t bannerFrames;

void ShowBanner(int32_t i) {
    if (i < 0 || i >= BANNER_COUNT) return;
    bannerIndex = i;
    // A two-line text needs the tall panel and longer to read.
    bannerFrames = strlen(bannerTexts[i]) < 16 ? 150 : 250;
}

bool bannerShowing() { return bannerIndex != BANNER_NONE; }

void bannerClearAll() {
    bannerIndex = BANNER_NONE;
    bannerFrames = 0;
}
