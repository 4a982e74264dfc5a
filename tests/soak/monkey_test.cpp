// A long monkey run: a million frames of random keys, pointer moves, presses,
// releases and clock jumps, checking the game's invariants after every frame
// and that the heap does not grow once play is under way. The run records
// itself, and the recording played back from a cold start must draw the same
// pictures and end in the same state.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "Core/cmhash.h"
#include "flow/flowfixture.h"
#include "flow/replay.h"
#include "heapcount.h"
#include "video/sheet.h"

namespace {

// Every key the window procedure reacts to, plus the bindings' defaults.
constexpr uint32_t interestingKeys[] = {
    13, 27, 123, 38, 40, 75, 76, 80, 83, 112, 113, 88, 84, 71, 72,  // command keys
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
    for (int p = 0; p < MAX_PLAYERS; p++) {
        if (worldOffsetX[p] < 0 || worldOffsetX[p] >= WORLD_SIZE) return fail("worldOffsetX", worldOffsetX[p]);
        if (worldOffsetY[p] < 0 || worldOffsetY[p] >= WORLD_SIZE) return fail("worldOffsetY", worldOffsetY[p]);
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

// What a replay must reproduce: the game's records that the rules and the
// frame change, field by field.
uint64_t stateDigest() {
    uint64_t h = CM_HASH_START;
    auto add = [&h](const auto& value) { h = cmHashBytes(h, &value, sizeof value); };
    add(gameState), add(previousState), add(paused), add(twoPlayer), add(levelNumber), add(worldOffsetX),
        add(worldOffsetY), add(frameCounter), add(playFrameCounter), add(pointerX), add(pointerY);
    add(letterWorld), add(wordgrid), add(wordLength), add(cursorX), add(cursorY), add(pointerHeld),
        add(dragModeOn), add(bannerIndex), add(bannerFrames), add(tipIndex), add(tipDoNotShow);
    for (const PlayerState& ps : playerState) {
        add(ps.score), add(ps.recentWords), add(ps.recentScores), add(ps.wordRowCount), add(ps.recentWordCount);
        for (const BestWord& b : ps.bestWords) add(b.score), add(b.word);
    }
    for (const Gauge& g : gaugeTable) add(g.level), add(g.fullLevel), add(g.running), add(g.drainRate);
    for (const HiScoreRow& row : hiScores) add(row.score), add(row.word);
    add(hiScoreCount);
    const uint32_t generator = cmRandState();
    add(generator);
    return h;
}

// Every 1,000th frame draws its pixels; the others only count their copies,
// which keeps a million frames quick. Each frame paints the whole screen, so
// the picture of a drawn frame is complete.
constexpr long PICTURE_EVERY = 1000;

}  // namespace

class MonkeyRun : public FlowTest {};

TEST_F(MonkeyRun, AMillionRandomFramesKeepEveryInvariantAndTheHeapStillAndReplayExactly) {
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
    dictIndexBuild();
    gridTotalLetterWeights();
    ASSERT_EQ(vidReloadBitmap(gSheetSurface, TQ_GAME_DIR "/ALL"), DD_OK);
    headlessSetTicksPerFlip(16);
    // As start-up does: the start time stands in until the first frame, and
    // the recording begins before the first game.
    frameInput.time = platGetTickCount();
    ASSERT_TRUE(replayRecordStart("monkey.tqr"));
    gameNew();
    std::vector<uint64_t> pictures;
    pictures.reserve(static_cast<size_t>(frames / PICTURE_EVERY));

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
        headless.realCopies = frame % PICTURE_EVERY == 0;
        gameRunFrame();
        if (frame % PICTURE_EVERY == 0) pictures.push_back(replayBackBufferHash());

        std::string broken = brokenInvariant();
        ASSERT_TRUE(broken.empty()) << "frame " << frame << ", seed " << seed << ": " << broken;
        if (frame == 1000) heapAtThousand = heapLiveBytes();
    }
    ASSERT_EQ(headless.quitPosted, 0) << "the monkey never asks to quit";
    if (frames >= 1000) {
        EXPECT_LE(heapLiveBytes(), heapAtThousand) << "the heap grew during play";
    }
    const uint64_t finalState = stateDigest();
    replayRecordFinish();
    std::printf("monkey: recording of %lld bytes\n",
                static_cast<long long>(std::filesystem::file_size("monkey.tqr")));

    // From a cold start, as a new process would begin: nothing of the run may
    // leak into its replay.
    coldStart();
    ASSERT_EQ(replayOpen("monkey.tqr"), REPLAY_OPENED) << replayOpenText();
    ASSERT_TRUE(replayBegin());
    gameNew();
    long replayed = 0;
    size_t shown = 0;
    for (;;) {
        headless.realCopies = (replayed + 1) % PICTURE_EVERY == 0;
        const ReplayStep step = replayStep();
        if (step == REPLAY_STEP_END) break;
        if (step != REPLAY_STEP_FRAME) continue;
        replayed++;
        if (replayed % PICTURE_EVERY != 0) continue;
        ASSERT_LT(shown, pictures.size());
        ASSERT_EQ(replayBackBufferHash(), pictures[shown]) << "the picture of frame " << replayed;
        shown++;
    }
    EXPECT_EQ(replayed, frames);
    EXPECT_EQ(shown, pictures.size());
    EXPECT_FALSE(replaySummary().cutShort);
    EXPECT_EQ(stateDigest(), finalState) << "the replay ended in another state";
    replayClose();
}
