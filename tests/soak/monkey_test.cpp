// A long monkey run: a million frames of random keys, pointer moves, presses,
// releases and clock jumps, checking the game's invariants after every frame
// and that the heap does not grow once play is under way.
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "flow/flowfixture.h"
#include "heapcount.h"

namespace {

// Every key the window procedure reacts to, plus the bindings' defaults.
constexpr uint32_t interestingKeys[] = {
    13, 27, 123, 38, 40, 75, 76, 80, 83, 112, 113, 88, 84, 71,  // command keys
    65, 68, 87, 83, 32, 9, 100, 102, 104, 101, 98, 107,         // default bindings
    37, 39, 114, 115, 188, 0};

uint64_t monkeyState;
uint32_t monkeyNext() {
    // The input's own generator, apart from the game's, so the game's draws are its own.
    monkeyState = monkeyState * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<uint32_t>(monkeyState >> 33);
}
uint32_t monkeyBelow(uint32_t n) { return monkeyNext() % n; }

bool wouldQuit(uint32_t key) {
    return (key == 27 || key == 123) && !keyCaptureActive && !keyDefActive && !paused &&
           (gameState == STATE_GAME_OVER || gameState == STATE_NO_DICTIONARY);
}

// Empty when every invariant holds; otherwise what broke.
std::string brokenInvariant() {
    char why[160];
    auto fail = [&](const char* what, long value) {
        std::snprintf(why, sizeof why, "%s (%ld)", what, value);
        return std::string(why);
    };
    if (gameState < STATE_GAME_OVER || gameState > STATE_NO_DICTIONARY) return fail("gameState", gameState);
    if (levelNumber < 0 || levelNumber > LEVEL_LAST) return fail("levelNumber", levelNumber);
    if (worldOffsetX < 0 || worldOffsetX >= WORLD_SIZE) return fail("worldOffsetX", worldOffsetX);
    if (worldOffsetY < 0 || worldOffsetY >= WORLD_SIZE) return fail("worldOffsetY", worldOffsetY);
    for (int p = 0; p < MAX_PLAYERS; p++) {
        for (int y = 0; y < WORLD_SIZE; y++) {
            for (int x = 0; x < WORLD_SIZE; x++) {
                char c = letterWorld[p][y][x];
                if (c != GRID_BLANK && (c < 'A' || c > 'Z')) return fail("letterWorld letter", c);
            }
        }
        for (int y = 0; y < GRID_SIZE; y++) {
            for (int x = 0; x < GRID_SIZE; x++) {
                char c = wordgrid[p][y][x];
                if (c != GRID_BLANK && (c < 'A' || c > 'Z')) return fail("wordgrid letter", c);
            }
        }
        if (wordLength[p] < 0 || wordLength[p] > maxWordLength) return fail("wordLength", wordLength[p]);
        if (cursorX[p] < 0 || cursorX[p] >= GRID_SIZE || cursorY[p] < 0 || cursorY[p] >= GRID_SIZE) {
            return fail("cursor", cursorX[p] * 10 + cursorY[p]);
        }
        const PlayerState& ps = playerState[p];
        if (ps.wordRowCount < 0 || ps.wordRowCount > WORD_ROWS_SHOWN) return fail("wordRowCount", ps.wordRowCount);
        if (ps.recentWordCount < 0 || ps.recentWordCount > RECENT_WORD_ROWS) {
            return fail("recentWordCount", ps.recentWordCount);
        }
    }
    for (int i = 0; i < GAUGE_COUNT; i++) {
        const Gauge& g = gaugeTable[i];
        if (!(g.level >= 0.0f) || g.level > g.fullLevel) return fail("gauge level", i);
    }
    if (hiScoreCount < 0 || hiScoreCount > HISCORE_ROWS) return fail("hiScoreCount", hiScoreCount);
    for (int i = 1; i < HISCORE_ROWS; i++) {
        if (hiScores[i].score > hiScores[i - 1].score) return fail("high-score order at row", i);
    }
    return {};
}

}  // namespace

class MonkeyRun : public FlowTest {};

TEST_F(MonkeyRun, AMillionRandomFramesKeepEveryInvariantAndTheHeapStill) {
    const char* seedText = std::getenv("TQ_MONKEY_SEED");
    const char* framesText = std::getenv("TQ_MONKEY_FRAMES");
    const uint64_t seed = seedText ? std::strtoull(seedText, nullptr, 10) : 20261209;
    const long frames = framesText ? std::strtol(framesText, nullptr, 10) : 1000000;
    std::printf("monkey: seed %llu, %ld frames (TQ_MONKEY_SEED, TQ_MONKEY_FRAMES)\n",
                static_cast<unsigned long long>(seed), frames);
    monkeyState = seed;
    cmSrand(static_cast<uint32_t>(seed));

    std::filesystem::copy_file(TQ_GAME_DIR "/worddiction.txt", "worddiction.txt");
    ASSERT_TRUE(dictLoad());
    gridTotalLetterWeights();
    headlessSetTicksPerFlip(16);
    gameNew();

    bool button = false;
    int64_t heapAtThousand = 0;
    for (long frame = 1; frame <= frames; frame++) {
        for (uint32_t n = monkeyBelow(4); n > 0 && monkeyBelow(3) == 0; n--) {
            uint32_t key = monkeyBelow(4) == 0 ? monkeyBelow(256)
                                               : interestingKeys[monkeyBelow(std::size(interestingKeys))];
            bool down = monkeyBelow(2) == 0;
            if (down && wouldQuit(key)) continue;
            gameWindowProc(down ? WM_KEYDOWN : WM_KEYUP, key, 0);
        }
        if (monkeyBelow(20) == 0) button = !button;
        int32_t dx = static_cast<int32_t>(monkeyBelow(121)) - 60;
        int32_t dy = static_cast<int32_t>(monkeyBelow(121)) - 60;
        headlessSetMouse(dx, dy, button);
        if (monkeyBelow(50) == 0) headlessAdvanceTicks(monkeyBelow(2500));
        gameRunFrame();

        std::string broken = brokenInvariant();
        ASSERT_TRUE(broken.empty()) << "frame " << frame << ", seed " << seed << ": " << broken;
        if (frame == 1000) heapAtThousand = heapLiveBytes();
    }
    ASSERT_EQ(headless.quitPosted, 0) << "the monkey never asks to quit";
    if (frames >= 1000) {
        EXPECT_LE(heapLiveBytes(), heapAtThousand) << "the heap grew during play";
    }
}
