#include <algorithm>
#include <string>

#include "game/turnworld.h"
#include "play_fixture.h"

namespace {

// Every three- and four-letter string of the ten commonest letters: random grids
// then hold words often enough for scoring, objectives and level ends to happen.
std::vector<std::string> robustWords() {
    const std::string letters = "adeilnorst";
    std::vector<std::string> words;
    for (char a : letters)
        for (char b : letters)
            for (char c : letters) {
                words.push_back({a, b, c});
                for (char d : letters) words.push_back({a, b, c, d});
            }
    return words;
}

bool isLetterOrBlank(char c) { return c == GRID_BLANK || (c >= 'A' && c <= 'Z'); }

void checkInvariants(const char* action) {
    SCOPED_TRACE(action);
    for (int32_t p = 0; p < MAX_PLAYERS; p++) {
        for (int32_t y = 0; y < GRID_SIZE; y++)
            for (int32_t x = 0; x < GRID_SIZE; x++) ASSERT_TRUE(isLetterOrBlank(wordgrid[p][y][x]));
        for (int32_t r = 0; r < WORLD_SIZE; r++)
            for (int32_t c = 0; c < WORLD_SIZE; c++) ASSERT_TRUE(isLetterOrBlank(letterWorld[p][r][c]));
        ASSERT_GE(wordLength[p], 0);
        ASSERT_LE(wordLength[p], maxWordLength);
        for (int32_t k = 0; k < wordLength[p]; k++) {
            ASSERT_TRUE(pathX[p][k] >= 0 && pathX[p][k] < GRID_SIZE);
            ASSERT_TRUE(pathY[p][k] >= 0 && pathY[p][k] < GRID_SIZE);
        }
        ASSERT_TRUE(prevCellX[p] >= 0 && prevCellX[p] < GRID_SIZE);
        ASSERT_TRUE(prevCellY[p] >= 0 && prevCellY[p] < GRID_SIZE);
        ASSERT_LE(pointerHeld[p], 1);
        ASSERT_LE(dragModeOn[p], 1);
        const PlayerState& player = playerState[p];
        ASSERT_TRUE(player.wordRowCount >= 0 && player.wordRowCount <= WORD_ROWS_SHOWN);
        ASSERT_TRUE(player.recentWordCount >= 0 && player.recentWordCount <= RECENT_WORD_ROWS);
        ASSERT_GE(player.score, 0);
        ASSERT_TRUE(worldOffsetX[p] >= 0 && worldOffsetX[p] < WORLD_SIZE);
        ASSERT_TRUE(worldOffsetY[p] >= 0 && worldOffsetY[p] < WORLD_SIZE);
    }
    ASSERT_TRUE(levelNumber >= 0 && levelNumber <= LEVEL_LAST);
    ASSERT_TRUE(gameState >= STATE_GAME_OVER && gameState <= STATE_NO_DICTIONARY);
    // A tip never leads back to a tip.
    ASSERT_TRUE(previousState >= STATE_GAME_OVER && previousState <= STATE_NO_DICTIONARY);
    ASSERT_NE(previousState, STATE_TIP);
    ASSERT_TRUE(tipIndex >= 0 && tipIndex < TIP_COUNT);
    ASSERT_TRUE(bannerIndex >= 0 && bannerIndex <= BANNER_NONE);
    ASSERT_LE(bannerFrames, 250);
    ASSERT_TRUE(objective.requiredLength >= 3 && objective.requiredLength <= 15);
    ASSERT_GE(objective.target, 1);
    ASSERT_GE(objective.done, 0);
    for (const Gauge& g : gaugeTable) {
        ASSERT_GE(g.level, 0.0f);
        ASSERT_LE(g.level, g.fullLevel);
    }
}

// What the frame does between handler calls, without drawing.
void frameSteps() {
    frameInput.time += static_cast<uint32_t>(cmRand() % 300);
    if (gameState == STATE_PLAYING) {
        for (Gauge& g : gaugeTable) gaugeTick(g);
        if (lifeGauge.running && gaugeIsEmpty(lifeGauge)) {
            gameState = STATE_GAME_OVER;
            ShowBanner(BANNER_GAME_OVER);
        }
        if (dragGauge.running && gaugeIsEmpty(dragGauge)) {
            gaugeStop(dragGauge);
            dragBarEmptied();
        }
        for (int32_t p = 0; p <= twoPlayer; p++) FallStep(p);
    } else if (gameState == STATE_TURN_WORLD) {
        FallStep(0);
        gaugeTick(lifeGauge);
        if (gaugeIsEmpty(lifeGauge)) levelStart();
    }
    for (int32_t p = 0; p <= twoPlayer; p++) VanishStep(p);
    promptStep();
    if (bannerIndex != BANNER_NONE && --bannerFrames < 1) bannerIndex = BANNER_NONE;
}

TEST(PlayRobustnessTest, HandlersInAnyStateAnyOrderAndAnyCellKeepEveryInvariant) {
    static const char frame[] = "frame";
    const int32_t hovers[] = {HOVER_NONE, HOVER_GRID,     2, HOVER_UPPER_BUTTON, HOVER_LOWER_BUTTON, 5, 6,
                              HOVER_CONTINUE, HOVER_DO_NOT_SHOW, -1, 9};
    const int32_t oddCells[] = {-1, 7, 100, -100};
    int32_t wordsMade = 0;
    int32_t levelsReached = 0;
    bool stateSeen[6] = {};
    ASSERT_TRUE(playLoadWords(robustWords()));
    for (uint32_t seed = 1; seed <= 24; seed++) {
        playReset();
        frameInput.time = seed * 7919;
        gameNew();
        cmSrand(seed);
        for (int step = 0; step < 4000; step++) {
            const int32_t p = cmRand() % 2;
            const int32_t wordsBefore = playerState[0].recentWordCount + playerState[1].recentWordCount;
            const int32_t levelBefore = levelNumber;
            const int32_t roll = cmRand() % 100;
            const char* action;
            if (roll < 30) {
                action = "move";
                frameInput.players[0].hoverTarget = cmRand() % 2 ? HOVER_GRID : hovers[cmRand() % 11];
                if (cmRand() % 2) {
                    // A step to a neighbour, as a drag mostly goes.
                    cursorX[p] = std::min(GRID_SIZE - 1, std::max(0, cursorX[p] + cmRand() % 3 - 1));
                    cursorY[p] = std::min(GRID_SIZE - 1, std::max(0, cursorY[p] + cmRand() % 3 - 1));
                } else {
                    cursorX[p] = cmRand() % GRID_SIZE;
                    cursorY[p] = cmRand() % GRID_SIZE;
                }
                PointerCellChanged(p);
            } else if (roll < 32) {
                action = "move off the grid arrays";
                frameInput.players[0].hoverTarget = hovers[cmRand() % 11];
                cursorX[p] = oddCells[cmRand() % 4];
                cursorY[p] = cmRand() % 2 ? oddCells[cmRand() % 4] : cmRand() % GRID_SIZE;
                PointerCellChanged(p);
                PointerPress(p);
                PointerRelease(p);
                cursorX[p] = cursorY[p] = 3;
            } else if (roll < 45) {
                action = "press";
                frameInput.players[0].hoverTarget = cmRand() % 2 ? HOVER_GRID : hovers[cmRand() % 11];
                PointerPress(p);
            } else if (roll < 52) {
                action = "release";
                PointerRelease(p);
            } else if (roll < 85) {
                action = frame;
                frameSteps();
            } else if (roll < 88) {
                action = "any state";
                gameState = cmRand() % 6;
            } else if (roll < 90) {
                action = "banner";
                ShowBanner(cmRand() % 4 - 1);
            } else if (roll < 92) {
                action = "tip";
                tipShowIfAllowed(cmRand() % 10 - 1);
            } else if (roll < 94) {
                action = "level skipped";
                levelAdvance(p);
            } else if (roll < 95) {
                action = "objective met";
                objective.done = objective.target;
            } else if (roll < 97) {
                action = "Drag Bar full";
                dragGauge.level = dragGauge.fullLevel;
            } else if (roll < 98) {
                action = "players";
                twoPlayer = cmRand() % 2;
            } else {
                action = "tip flags";
                tipsClear();
            }
            checkInvariants(action);
            if (HasFatalFailure()) {
                ADD_FAILURE() << "seed " << seed << ", step " << step;
                return;
            }
            stateSeen[gameState] = true;
            if (playerState[0].recentWordCount + playerState[1].recentWordCount > wordsBefore) wordsMade++;
            if (levelNumber > levelBefore && action == frame) levelsReached++;
        }
    }
    // The run really played: words were accepted, levels ended by play, every state visited.
    EXPECT_GT(wordsMade, 0);
    EXPECT_GT(levelsReached, 0);
    for (int32_t s = 0; s < 6; s++) EXPECT_TRUE(stateSeen[s]) << s;
}

}  // namespace
