// Recording a game and playing a recording back. A recording holds what the
// game's course depends on at its start (the generator, the high-score table,
// the keys and tips, one or two players, the word list) and then every frame's
// input record. Played back against the same word list it repeats the game
// exactly: the same screens, the same scores, the same files saved.
#pragma once

#include <cstdint>

#include "persist/replayfile.h"

// ---- Recording -------------------------------------------------------------

// Creates the file with the game's starting state as it stands now and hands
// it every finished frame record from then on. False, said on standard error,
// when the file cannot be made.
bool replayRecordStart(const char* path);
// The messages that came after the last frame (the close that ended the
// game), then the file's last block. Nothing when no recording runs.
void replayRecordFinish();

// ---- Playing back ----------------------------------------------------------

// Reads and checks the whole file. Anything but REPLAY_OPENED means it cannot
// be played; replayOpenText says why in a line for the player.
ReplayOpenResult replayOpen(const char* path);
const char* replayOpenText();
// Puts the recording's starting state in place of the loaded one, and writes
// its keys and tips into the save folder's prefs.txt, where the key screen's
// load finds them as the recorded game did. False, said on standard error,
// when the recording was made with another word list.
bool replayBegin();

enum ReplayStep {
    REPLAY_STEP_MESSAGES,  // the record's messages, and no frame after them
    REPLAY_STEP_FRAME,     // its messages, then its frame
    REPLAY_STEP_END,       // no record was left
};
// Acts on the next record as the live game did: its messages, then its frame
// with the record's time, mouse and drawing outcome.
ReplayStep replayStep();
// replayStep for the message loop; at the end it posts the quit message.
void replayFrame();
// While a recording plays, the player's keys and mouse do nothing; closing
// the window stops the replay without saving.
int32_t replayWindowProc(uint32_t message, uint32_t wParam, int32_t lParam);
// Keep a copy of each frame's picture, for replayPictureHash after the display
// is gone.
void replayKeepPictures(bool keep);

struct ReplaySummary {
    int64_t frames;   // frames played
    bool cutShort;    // the file ended in a damaged or partly written block
    bool ended;       // every record was played
};
ReplaySummary replaySummary();
void replayClose();

// cmHashBytes over the visible 640 x 480 pixels of the last frame drawn.
uint64_t replayPictureHash();
// The same over the back buffer as it stands (tests compare frames with it).
uint64_t replayBackBufferHash();
