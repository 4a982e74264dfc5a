// The flashing status line under the grid that says what the pointer does now.
#pragma once

#include <cstdint>

constexpr int32_t PROMPT_COUNT = 7;
constexpr int32_t PROMPT_BLINK_FRAMES = 180;

// Prompt 0 has no text.
extern const char* const promptTexts[PROMPT_COUNT];
extern int32_t promptIndex;
extern int32_t promptBlink;

// The prompt for the current state.
int32_t promptChoose();
// One frame of the prompt: chooses it, restarts the blinking on a change,
// counts the blinking down; true when its text is to be drawn this frame.
bool promptStep();

// Back to prompt 0, no blinking (for tests and a cold start).
void promptClearAll();
