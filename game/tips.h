// The tutorial tips: pop-up texts explaining a rule the first time it matters.
#pragma once

#include <cstdint>

constexpr int32_t TIP_COUNT = 8;
constexpr int32_t TIP_HOW_TO_PLAY = 0;
constexpr int32_t TIP_DRAG_AVAILABLE = 1;
constexpr int32_t TIP_DRAG_RUNNING = 2;
constexpr int32_t TIP_TURN_WORLD = 3;

// Tips 4-7 only hold places; their texts are empty.
extern const char* const tipTexts[TIP_COUNT];
// Shown in this game; cleared at start-up and by every new game.
extern uint8_t tipShown[TIP_COUNT];
// DO NOT SHOW AGAIN; kept in prefs.txt.
extern uint8_t tipDoNotShow[TIP_COUNT];

// Opens tip t unless it was shown in this game or is marked do-not-show.
bool tipShowIfAllowed(int32_t t);
// Clears both flag arrays (start-up).
void tipsClear();
