// hiScoresLoad on any file: whatever it holds, the table keeps at most 12 rows
// of terminated texts.
#include <cstring>

#include "fuzzfile.h"
#include "persist/hiscores.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzEnterScratchFolder();
    hiScoresReset();
    fuzzWriteFile("hi.txt", data, size);
    hiScoresLoad();
    if (hiScoreCount < 0 || hiScoreCount > HISCORE_ROWS) __builtin_trap();
    for (const HiScoreRow& row : hiScores) {
        if (!std::memchr(row.word, '\0', HISCORE_TEXT) || !std::memchr(row.wordScoreText, '\0', HISCORE_TEXT)) {
            __builtin_trap();
        }
    }
    return 0;
}
