#include "flow/replay.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "Core/cmhash.h"
#include "Core/cmrand.h"
#include "dict/dictionary.h"
#include "flow/frame.h"
#include "flow/keydefs.h"
#include "flow/soundkeys.h"
#include "flow/startup.h"
#include "flow/winproc.h"
#include "game/gamestate.h"
#include "persist/hiscores.h"
#include "persist/prefs.h"
#include "platform/platform.h"
#include "sound/sound.h"
#include "video/display.h"

namespace {

// One recording or one playback per run; the records live here, not on the
// heap, so neither allocates during play.
ReplayWriter replayWriter;
bool replayRecording;

ReplayReader replayReader;
ReplayHeader replayHeader;
bool replayOpened;
ReplaySummary replayTotals;

bool replayPicturesKept;
uint8_t replayPicture[PLAT_SCREEN_WIDTH * PLAT_SCREEN_HEIGHT];

void replayHeaderCapture(ReplayHeader* h) {
    *h = ReplayHeader{};
    h->startTime = frameInput.time;
    h->seed = cmRandState();
    h->twoPlayer = twoPlayer;
    h->dictHash = dictFileHash();
    prefsGather(&h->prefs);
    h->prefsSpareFlag = prefsSpareFlag;
    std::memcpy(h->hiScores, hiScores, sizeof h->hiScores);
    h->hiScoreCount = hiScoreCount;
    h->soundMuted = soundState.settings.muted ? 1 : 0;
    h->soundVolume = static_cast<uint8_t>(soundState.settings.volume);
}

void replayRecordFrame(const FrameInput& record) {
    if (replayRecording) replayWriterAdd(&replayWriter, record);
}

uint64_t replayHashSurface(const uint8_t* pixels, int32_t pitch) {
    uint64_t hash = CM_HASH_START;
    for (int32_t y = 0; y < PLAT_SCREEN_HEIGHT; y++) {
        hash = cmHashBytes(hash, pixels + static_cast<ptrdiff_t>(y) * pitch, PLAT_SCREEN_WIDTH);
    }
    return hash;
}

void replayKeepPicture() {
    if (!replayPicturesKept || gBackSurface == nullptr || platSurfaceLock(gBackSurface) != DD_OK) return;
    for (int32_t y = 0; y < PLAT_SCREEN_HEIGHT; y++) {
        std::memcpy(replayPicture + y * PLAT_SCREEN_WIDTH,
                    gBackSurface->pixels + static_cast<ptrdiff_t>(y) * gBackSurface->pitch, PLAT_SCREEN_WIDTH);
    }
    platSurfaceUnlock(gBackSurface);
}

}  // namespace

bool replayRecordStart(const char* path) {
    ReplayHeader header;
    replayHeaderCapture(&header);
    if (!replayWriterOpen(&replayWriter, path, header)) {
        std::fprintf(stderr, "tarvoquelms: cannot record into %s: %s.\n", path, std::strerror(errno));
        return false;
    }
    replayRecording = true;
    frameRecordHook = replayRecordFrame;
    return true;
}

void replayRecordFinish() {
    if (!replayRecording) return;
    if (frameInput.eventCount > 0) frameInputConsumed();
    frameRecordHook = nullptr;
    replayRecording = false;
    if (!replayWriterClose(&replayWriter)) {
        std::fprintf(stderr, "tarvoquelms: the recording could not be written whole: %s.\n", std::strerror(errno));
    }
}

ReplayOpenResult replayOpen(const char* path) {
    replayClose();
    const ReplayOpenResult result = replayReaderOpen(&replayReader, path, &replayHeader);
    replayOpened = result == REPLAY_OPENED;
    return result;
}

const char* replayOpenText() { return replayReaderOpenText(replayReader); }

bool replayBegin() {
    if (!replayOpened) return false;
    if (replayHeader.dictHash != dictFileHash()) {
        std::fprintf(stderr, "tarvoquelms: this recording was made with another word list than this game's "
                     "worddiction.txt, so it cannot be played back.\n");
        return false;
    }
    frameInput.time = replayHeader.startTime;
    cmSrand(replayHeader.seed);
    twoPlayer = replayHeader.twoPlayer;
    prefsApply(replayHeader.prefs);
    prefsSpareFlag = replayHeader.prefsSpareFlag;
    std::memcpy(hiScores, replayHeader.hiScores, sizeof hiScores);
    hiScoreCount = replayHeader.hiScoreCount;
    // The sound keys' notices show the settings as the recorded game had them.
    sndApply(SoundSettings{replayHeader.soundMuted != 0, replayHeader.soundVolume});
    soundKeysOn = replayHeader.version >= 2;
    // The key screen's L reads prefs.txt during play: the replay's save folder
    // must hold what the recorded game's held, which is what it loaded.
    prefsSave();
    return true;
}

ReplayStep replayStep() {
    FrameInput record;
    if (!replayOpened || !replayReaderNext(&replayReader, &record)) {
        replayTotals.ended = replayOpened;
        return REPLAY_STEP_END;
    }
    for (int32_t i = 0; i < record.eventCount; i++) winApplyInput(record.events[i]);
    if ((record.flags & INPUT_FRAME_RAN) == 0) return REPLAY_STEP_MESSAGES;
    frameInput.time = record.time;
    frameInput.flags = record.flags;
    for (int32_t p = 0; p < INPUT_PLAYERS; p++) {
        // The hover targets are the frame's own work, never the file's.
        frameInput.players[p].moveX = record.players[p].moveX;
        frameInput.players[p].moveY = record.players[p].moveY;
        frameInput.players[p].button = record.players[p].button;
    }
    frameRunRecorded();
    frameInput.flags = 0;
    replayTotals.frames++;
    replayKeepPicture();
    return REPLAY_STEP_FRAME;
}

void replayFrame() {
    if (replayStep() == REPLAY_STEP_END) platPostQuitMessage(0);
}

int32_t replayWindowProc(uint32_t message, uint32_t wParam, int32_t lParam) {
    (void)lParam;
    switch (message) {
        case WM_SETCURSOR:
            return 1;
        case WM_ACTIVATEAPP:
            appActive = static_cast<int32_t>(wParam);
            break;
        case WM_CLOSE:
        case WM_DESTROY:
            // Watching stops; what the recording would still save is not saved.
            displayRelease();
            platPostQuitMessage(0);
            break;
        default:
            break;
    }
    return 0;
}

void replayKeepPictures(bool keep) { replayPicturesKept = keep; }

ReplaySummary replaySummary() {
    ReplaySummary summary = replayTotals;
    summary.cutShort = replayOpened && replayReaderCutShort(replayReader);
    return summary;
}

void replayClose() {
    replayReaderClose(&replayReader);
    replayOpened = false;
    replayTotals = ReplaySummary{};
}

uint64_t replayPictureHash() { return replayHashSurface(replayPicture, PLAT_SCREEN_WIDTH); }

uint64_t replayBackBufferHash() {
    if (gBackSurface == nullptr || platSurfaceLock(gBackSurface) != DD_OK) return 0;
    const uint64_t hash = replayHashSurface(gBackSurface->pixels, gBackSurface->pitch);
    platSurfaceUnlock(gBackSurface);
    return hash;
}
