// Recording a game and playing it back: the same course, the same files, and
// a player who can only watch.
#include "flow/replay.h"

#include <string>

#include "flow/soundkeys.h"
#include "sound/sound.h"
#include "tests/flow/flowfixture.h"

namespace {

// Every three-letter string is a word, so any path of three cells scores.
std::string everyThreeLetterWord() {
    std::string list;
    for (char a = 'A'; a <= 'Z'; a++)
        for (char b = 'A'; b <= 'Z'; b++)
            for (char c = 'A'; c <= 'Z'; c++) list += std::string{a, b, c} + "\r\n";
    return list;
}

class Replay : public FlowTest {
protected:
    void SetUp() override {
        FlowTest::SetUp();
        writeFile(DICT_FILE, everyThreeLetterWord());
        ASSERT_TRUE(dictLoad());
        gridTotalLetterWeights();
        appActive = 1;
        headlessSetTicksPerFlip(17);
        headless.realCopies = true;
        patternSheet();
    }

    // A sheet whose every pixel differs from its neighbours, so each copy
    // shows in the picture.
    static void patternSheet() {
        for (int32_t y = 0; y < gSheetSurface->height; y++)
            for (int32_t x = 0; x < gSheetSurface->width; x++)
                gSheetSurface->pixels[y * gSheetSurface->pitch + x] = static_cast<uint8_t>(x * 7 + y * 13);
    }

    void TearDown() override {
        replayRecordFinish();
        replayClose();
        FlowTest::TearDown();
    }
};

TEST_F(Replay, ARecordedGamePlaysBackToTheSameScreensAndSavedFiles) {
    // The table the game starts from decides whether its score enters.
    hiScores[0] = HiScoreRow{900, "QUELMS", "60"};
    hiScores[1] = HiScoreRow{5, "CAT", "5"};
    hiScoreCount = 2;
    writeFile(PREFS_FILE, DEFAULT_PREFS);
    frameInput.time = platGetTickCount();
    ASSERT_TRUE(replayRecordStart("game.tqr"));
    gameNew();

    int32_t frames = 0;
    auto frame = [&frames](float x, float y, bool button) {
        frameWithMouseAt(x, y, button);
        frames++;
    };
    // The tip, then the level's introduction, each dismissed with a click.
    for (int32_t i = 0; i < 2; i++) {
        frame(200, 320, true);
        frame(200, 320, false);
    }
    // The key screen: player 1's LEFT becomes Q, then L loads prefs.txt back.
    keyDown(VK_P);
    keyDown(VK_K);
    keyDown(VK_RETURN);
    keyDown('Q');
    frame(200, 320, false);
    keyDown(VK_L);
    keyDown(VK_ESCAPE);
    keyDown(VK_P);
    frame(200, 320, false);
    // A three-letter word along the top row.
    frame(cellX(0), cellY(0), true);
    frame(cellX(1), cellY(0), true);
    frame(cellX(2), cellY(0), true);
    frame(cellX(2), cellY(0), false);
    for (int32_t i = 0; i < 90; i++) frame(600, 440, false);
    const uint64_t lastPicture = replayBackBufferHash();
    const int32_t score = playerState[0].score;
    ASSERT_GT(score, 0) << "the word scored";
    keyDown(VK_ESCAPE);  // ends the game: the score enters the table
    keyDown(VK_ESCAPE);  // quits, saving both files
    ASSERT_EQ(headless.quitPosted, 1);
    replayRecordFinish();
    const std::string hiSaved = readFile(HISCORES_FILE);
    const std::string prefsSaved = readFile(PREFS_FILE);
    ASSERT_NE(hiSaved.find(";5;CAT;"), std::string::npos) << hiSaved;

    // Into an empty save folder, as a replay's scratch folder is.
    std::filesystem::remove(HISCORES_FILE);
    std::filesystem::remove(PREFS_FILE);
    coldStart();
    openDisplay();
    patternSheet();
    ASSERT_EQ(replayOpen("game.tqr"), REPLAY_OPENED) << replayOpenText();
    ASSERT_TRUE(replayBegin());
    gameNew();
    int32_t replayed = 0;
    for (ReplayStep step; (step = replayStep()) != REPLAY_STEP_END && headless.quitPosted == 0;) {
        if (step != REPLAY_STEP_FRAME) continue;
        if (++replayed == frames) {
            EXPECT_EQ(replayBackBufferHash(), lastPicture) << "the last frame's picture";
        }
    }
    EXPECT_EQ(replayed, frames);
    EXPECT_EQ(headless.quitPosted, 1) << "the recording ends with the game's own quit";
    EXPECT_EQ(readFile(HISCORES_FILE), hiSaved);
    EXPECT_EQ(readFile(PREFS_FILE), prefsSaved) << "the key screen's load found the recorded game's keys";
    EXPECT_EQ(playerState[0].score, score);
}

// The sound keys' notices show the settings the recorded game had, so the
// watcher's own settings cannot change the pictures.
TEST_F(Replay, SoundKeysPlayBackAsRecordedWhateverTheWatchersSettings) {
    sndApply(SoundSettings{false, 30});
    frameInput.time = platGetTickCount();
    ASSERT_TRUE(replayRecordStart("game.tqr"));
    gameNew();
    keyDown(VK_P);
    keyDown(VK_ADD);  // 40
    keyDown(VK_M);
    int32_t frames = 0;
    for (; frames < 5; frames++) frameWithMouseAt(600, 440, false);
    const uint64_t picture = replayBackBufferHash();
    ASSERT_STREQ(soundNoticeText(frameInput.time), "SOUND OFF");
    keyDown(VK_ESCAPE);  // unpauses
    keyDown(VK_ESCAPE);  // ends the game
    keyDown(VK_ESCAPE);  // quits
    replayRecordFinish();

    coldStart();
    openDisplay();
    patternSheet();
    sndApply(SoundSettings{true, 90});
    ASSERT_EQ(replayOpen("game.tqr"), REPLAY_OPENED) << replayOpenText();
    ASSERT_TRUE(replayBegin());
    EXPECT_FALSE(soundState.settings.muted);
    EXPECT_EQ(soundState.settings.volume, 30);
    gameNew();
    int32_t replayed = 0;
    for (ReplayStep step; replayed < frames && (step = replayStep()) != REPLAY_STEP_END;) {
        if (step == REPLAY_STEP_FRAME) replayed++;
    }
    ASSERT_EQ(replayed, frames);
    EXPECT_EQ(replayBackBufferHash(), picture);
    EXPECT_TRUE(soundState.settings.muted);
    EXPECT_EQ(soundState.settings.volume, 40);
}

}  // namespace
