// The large timed message that announces the Turn The World phase and the end
// of a game.
#pragma once

#include <cstdint>

constexpr int32_t BANNER_TURN_WORLD = 0;
constexpr int32_t BANNER_GAME_OVER = 1;
constexpr int32_t BANNER_GAME_OVER_HIGH_SCORE = 2;
constexpr int32_t BANNER_NONE = 3;
constexpr int32_t BANNER_COUNT = 3;

extern const char* const bannerTexts[BANNER_COUNT];
// BANNER_NONE when no banner shows.
extern int32_t bannerIndex;
extern int32_t bannerFrames;

// Shows banner i: 150 frames for a text under 16 characters, else 250.
void ShowBanner(int32_t i);
bool bannerShowing();

// No banner (for tests and a cold start).
void bannerClearAll();
