#include "game/prompt.h"

#include "video/text.h"

void StatusPrompt() {
    if (promptStep()) txtDrawSmallString(promptTexts[promptIndex], PROMPT_X, PROMPT_Y, TXT_ALIGN_CENTRE);
}
