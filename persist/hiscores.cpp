#include "persist/hiscores.h"

#include <cstdio>
#include <cstring>

#include "Core/cmpath.h"
#include "persist/fieldreader.h"
#include "persist/safesave.h"

HiScoreRow hiScores[HISCORE_ROWS];
int32_t hiScoreCount;

namespace {

// The count, twelve rows of an 11-character score and two 19-character texts,
// and the check value, each with its ';'.
constexpr int32_t HISCORE_FILE_SIZE = 1024;

// Longer texts are cut to what a row holds.
void hiScoresCopyText(char* row, const char* text) {
    size_t length = strnlen(text, HISCORE_TEXT - 1);
    memcpy(row, text, length);
    row[length] = '\0';
}

// The next save writes the zeroed table over the file, so a copy of what it
// held is kept beside it first.
void hiScoresKeepBad(const char* path) {
    char badPath[CM_PATH_SIZE + 8];
    snprintf(badPath, sizeof badPath, "%s.bad", path);
    if (safeSaveFile(badPath, fileTextBytes(), fileTextLength)) {
        fprintf(stderr, "tarvoquelms: %s fails its check value, so its scores read as 0; it is kept as %s.\n", path,
                badPath);
    } else {
        fprintf(stderr, "tarvoquelms: %s fails its check value, so its scores read as 0; it could not be kept as %s.\n",
                path, badPath);
    }
}

}  // namespace

int32_t hiScoresCheck() {
    // Unsigned so that overflow keeps the low 32 bits instead of being undefined.
    uint32_t s0 = static_cast<uint32_t>(hiScores[0].score);
    uint32_t s1 = static_cast<uint32_t>(hiScores[1].score);
    uint32_t s2 = static_cast<uint32_t>(hiScores[2].score);
    return static_cast<int32_t>((s1 + 3) * (s2 + 2) * (s0 + 1));
}

void hiScoresLoad() {
    char path[CM_PATH_SIZE];
    if (!cmPathJoin(CM_PATH_SAVE, HISCORES_FILE, path, sizeof path) || !fileReadWhole(path)) {
        return;
    }
    // Rows past the file's count must read as empty, whatever was there before.
    hiScoresReset();
    char field[FILE_FIELD_SIZE];
    fileReadField(field);
    int32_t count = fileFieldToInt(field);
    if (count > HISCORE_ROWS) {
        return;
    }
    // A negative count would show no rows yet grow with every insertion.
    hiScoreCount = count < 0 ? 0 : count;
    for (int32_t i = 0; i < hiScoreCount; i++) {
        fileReadField(field);
        hiScores[i].score = fileFieldToInt(field);
        fileReadField(field);
        hiScoresCopyText(hiScores[i].word, field);
        fileReadField(field);
        hiScoresCopyText(hiScores[i].wordScoreText, field);
    }
    fileReadField(field);
    if (fileFieldToInt(field) != hiScoresCheck()) {
        for (HiScoreRow& row : hiScores) {
            row.score = 0;
        }
        hiScoresKeepBad(path);
    }
}

bool hiScoresSave() {
    char text[HISCORE_FILE_SIZE];
    int32_t length = 0;
    int32_t count = hiScoreCount < 0 ? 0 : hiScoreCount > HISCORE_ROWS ? HISCORE_ROWS : hiScoreCount;
    length += snprintf(text + length, HISCORE_FILE_SIZE - length, "%d;", count);
    for (int32_t i = 0; i < count; i++) {
        const HiScoreRow& row = hiScores[i];
        length += snprintf(text + length, HISCORE_FILE_SIZE - length, "%d;%.19s;%.19s;", row.score, row.word,
                           row.wordScoreText);
    }
    length += snprintf(text + length, HISCORE_FILE_SIZE - length, "%d;", hiScoresCheck());
    char path[CM_PATH_SIZE];
    return cmPathJoin(CM_PATH_SAVE, HISCORES_FILE, path, sizeof path) && safeSaveFile(path, text, length);
}

void hiScoresReset() {
    memset(hiScores, 0, sizeof hiScores);
    hiScoreCount = 0;
}
