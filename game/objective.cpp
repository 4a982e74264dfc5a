#include "game/objective.h"

#include <climits>
#include <cstdio>
#include <cstring>

#include "dict/dictionary.h"
#include "game/level.h"

Objective objective;

void objectiveNew() {
    int32_t row = levelNumber;
    if (row < 0) row = 0;
    if (row > LEVEL_LAST) row = LEVEL_LAST;
    const LevelRow& level = levelTable[row];

    objective.requiredLength = level.length;
    objective.done = 0;
    objective.word[0] = '\0';
    if (level.count != 0) {
        objective.isWordObjective = 0;
        objective.target = level.count;
        return;
    }
    const char* word = dictPickWord(level.length);
    if (word == nullptr || static_cast<int32_t>(strlen(word)) != level.length) {
        // No word of that length to ask for: make one word of that length instead.
        objective.isWordObjective = 0;
        objective.target = 1;
        return;
    }
    snprintf(objective.word, sizeof objective.word, "%s", word);
    objective.isWordObjective = 1;
    objective.target = 1;
}

void objectiveText(char* buffer, int32_t form) {
    if (objective.isWordObjective) {
        snprintf(buffer, OBJECTIVE_TEXT_SIZE, "Make word: %s", objective.word);
        return;
    }
    const bool one = objective.target == 1;
    const char* ending = one ? "" : "s";
    if (form == OBJECTIVE_FORM_SHORT) {
        snprintf(buffer, OBJECTIVE_TEXT_SIZE, "Make %d %d-letter word%s", objective.target, objective.requiredLength,
                 ending);
    } else {
        snprintf(buffer, OBJECTIVE_TEXT_SIZE, "Make %s%d-letter word%s - done %d of %d", one ? "one " : "",
                 objective.requiredLength, ending, objective.done, objective.target);
    }
}

void objectiveNoteWord(const char* word) {
    if (word == nullptr) return;
    if (objective.isWordObjective) {
        if (strcmp(word, objective.word) == 0) objective.done = 1;
        return;
    }
    if (static_cast<int32_t>(strlen(word)) == objective.requiredLength && objective.done < INT_MAX) {
        objective.done += 1;
    }
}

bool objectiveIsComplete() { return objective.done >= objective.target; }
