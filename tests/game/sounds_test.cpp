// Which sound each thing a player does or meets asks for.
#include <functional>
#include <string>

#include "game/turnworld.h"
#include "play_fixture.h"
#include "sound/sound.h"

namespace {

// CAT and PIG across the top rows, nothing else of the word list in reach.
const char* const soundRows[GRID_SIZE] = {"CATKVWB", "PIGBKVW", "BKVWBKV", "WBKVWBK",
                                          "VWBKVWB", "KVWBKVW", "BKVWBKV"};

// The sounds asked for since the log was last cleared, as "name+step" words.
std::string heard() {
    std::string said;
    for (int32_t i = 0; i < soundLog.count; i++) {
        std::string name = sndFileName(soundLog.events[i].sound);
        name.resize(name.size() - 4);  // without ".wav"
        if (!said.empty()) said += ' ';
        said += name;
        if (soundLog.events[i].step != 0) said += '+' + std::to_string(soundLog.events[i].step);
    }
    return said;
}

// Presses on the first cell and moves through the rest, still held.
void pressThrough(int32_t p, const std::vector<std::pair<int32_t, int32_t>>& cells) {
    playPressAt(p, cells[0].first, cells[0].second);
    for (size_t i = 1; i < cells.size(); i++) playMoveTo(p, cells[i].first, cells[i].second);
}

class Sounds : public PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        startPlaying();
        playSetGrid(0, soundRows);
        playSetGrid(1, soundRows);
        sndFrameStart();
    }
};

TEST_F(Sounds, EachActionAsksForItsOwnSound) {
    struct Case {
        const char* action;
        std::function<void()> before;  // brings the game to where the action can happen
        std::function<void()> act;
        const char* sounds;
    };
    const auto pressCA = [] {
        playPressAt(0, 0, 0);
        playMoveTo(0, 1, 0);
    };
    const auto dragReady = [] { dragGauge.level = dragGauge.fullLevel; };
    const auto dragOn = [] {
        dragGauge.level = dragGauge.fullLevel;
        dragModeStart(0);
    };
    const Case cases[] = {
        {"a first letter", [] {}, [] { playPressAt(0, 0, 0); }, "letter"},
        {"a third letter, two semitones up", pressCA, [] { playMoveTo(0, 2, 0); }, "letter+2"},
        {"a letter taken back", pressCA, [] { playMoveTo(0, 0, 0); }, "undo"},
        {"a three-letter word let go", [] { pressThrough(0, {{0, 1}, {1, 1}, {2, 1}}); }, [] { PointerRelease(0); },
         "word"},
        {"the other player's word", [] { twoPlayer = 1; pressThrough(1, {{0, 0}, {1, 0}, {2, 0}}); },
         [] { PointerRelease(1); }, "word"},
        {"a five-letter word, four semitones up",
         [] {
             std::memcpy(wordgrid[0][2], "STEAMKV", GRID_SIZE);
             pressThrough(0, {{0, 2}, {1, 2}, {2, 2}, {3, 2}, {4, 2}});
         },
         [] { PointerRelease(0); }, "word+4"},
        {"three letters that are no word", [] { pressThrough(0, {{0, 0}, {1, 0}, {1, 1}}); },
         [] { PointerRelease(0); }, "refused"},
        {"two letters let go", pressCA, [] { PointerRelease(0); }, ""},
        {"START DRAG", dragReady, [] { playClick(0, HOVER_UPPER_BUTTON); }, "button dragstart"},
        {"START DRAG while it cannot start", [] {}, [] { playClick(0, HOVER_UPPER_BUTTON); }, ""},
        {"the Drag Mode key", dragReady, [] { dragModeToggle(0); }, "dragstart"},
        {"STOP DRAG", dragOn, [] { playClick(0, HOVER_LOWER_BUTTON); }, "button dragstop"},
        {"the Drag Bar running out", dragOn, [] { dragBarEmptied(); }, "dragstop"},
        {"a letter carried a cell", dragOn,
         [] {
             playPressAt(0, 0, 0);
             playMoveTo(0, 1, 1);
         },
         "swap"},
        {"a tip opening, and the same tip again", [] {},
         [] {
             tipShowIfAllowed(TIP_DRAG_AVAILABLE);
             gameState = STATE_PLAYING;
             tipShowIfAllowed(TIP_DRAG_AVAILABLE);
         },
         "tip"},
        {"CONTINUE on a tip", [] { tipShowIfAllowed(TIP_DRAG_RUNNING); },
         [] { playClick(0, HOVER_CONTINUE); }, "button"},
        {"the level's objective met as the grid fills", [] { objective.done = objective.target; },
         [] {
             // One step closes the gap, the next finds the grid full.
             wordgrid[0][6][0] = GRID_BLANK;
             for (int step = 0; step < 2; step++) {
                 frameInput.time += 10000;
                 FallStep(0);
             }
         },
         "land levelbonus levelintro"},
        {"a new game with its first tip", [] {}, [] { gameNew(); }, "tip"},
        {"a new game with the tips set aside", [] { tipDoNotShow[TIP_HOW_TO_PLAY] = 1; }, [] { gameNew(); },
         "levelintro"},
    };
    for (const Case& c : cases) {
        SetUp();
        c.before();
        sndFrameStart();
        c.act();
        EXPECT_EQ(heard(), c.sounds) << c.action;
        TearDown();
    }
}

TEST_F(Sounds, LettersLandingSoundOnceAFrameForBothGrids) {
    twoPlayer = 1;
    wordgrid[0][6][3] = GRID_BLANK;
    wordgrid[1][6][3] = GRID_BLANK;
    frameInput.time += 10000;
    FallStep(0);
    FallStep(1);
    EXPECT_EQ(heard(), "land");
    // A step that only drops a new letter into an empty column lands nothing.
    sndFrameStart();
    for (int32_t y = 0; y < GRID_SIZE; y++) wordgrid[0][y][4] = GRID_BLANK;
    frameInput.time += 10000;
    FallStep(0);
    EXPECT_EQ(heard(), "");
}

TEST_F(Sounds, TurningTheWorldTicksForEveryStepItMoves) {
    tipDoNotShow[TIP_TURN_WORLD] = 1;
    TurnWorldBegin(0);
    bannerClearAll();
    playPressAt(0, 3, 3);
    sndFrameStart();
    playMoveTo(0, 4, 3);
    playMoveTo(0, 4, 4);
    EXPECT_EQ(heard(), "turn turn");
}

TEST_F(Sounds, LowLifeWarnsAtMostOnceASecondAndOnlyWhileLow) {
    struct Step {
        float percent;
        uint32_t atMs;
        bool warns;
    };
    const Step steps[] = {
        {25.0f, 0, false},   {19.0f, 10, true},  {18.0f, 500, false}, {17.0f, 1009, false},
        {17.0f, 1010, true}, {30.0f, 1100, false}, {10.0f, 1200, true},  // low again: at once
    };
    const uint32_t start = frameInput.time;
    for (const Step& s : steps) {
        lifeGauge.level = lifeGauge.fullLevel * s.percent / 100.0f;
        sndFrameStart();
        gaugeWarnLowLife(start + s.atMs);
        EXPECT_EQ(heard(), s.warns ? "lowlife" : "") << s.percent << "% at " << s.atMs;
    }
    // A stopped gauge warns of nothing.
    lifeGauge.running = 0;
    sndFrameStart();
    gaugeWarnLowLife(start + 5000);
    EXPECT_EQ(heard(), "");
}

}  // namespace
