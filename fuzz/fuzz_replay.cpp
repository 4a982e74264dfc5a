// The replay reader on any bytes: it refuses them with a reason, or hands out
// exactly the records it counted, each one the game could have made. Those the
// writer then codes afresh read back the same. Each input goes in twice: as it
// is, and with its check values made right, so that changed bytes inside a
// block reach the decoder instead of stopping at the block's check value.
#include <zlib.h>

#include <cstring>

#include "fuzzfile.h"
#include "persist/replayfile.h"

namespace {

// Records kept for writing back; longer replays are only read through.
constexpr int64_t KEPT = 8192;
FrameInput kept[KEPT];

bool couldBeMade(const FrameInput& r) {
    if (r.flags & ~(INPUT_FRAME_RAN | INPUT_FRAME_DRAWN | INPUT_POINTER_READ)) return false;
    if (r.eventCount < 0 || r.eventCount > INPUT_MAX_EVENTS) return false;
    for (int32_t e = 0; e < r.eventCount; e++) {
        if (r.events[e].kind < INPUT_KEY_DOWN || r.events[e].kind > INPUT_DESTROY) return false;
    }
    for (const PlayerInput& p : r.players) {
        if (p.hoverTarget != 0) return false;
    }
    return true;
}

bool same(const FrameInput& a, const FrameInput& b) {
    if (a.time != b.time || a.flags != b.flags || a.eventCount != b.eventCount) return false;
    if (memcmp(a.events, b.events, sizeof(InputEvent) * static_cast<size_t>(a.eventCount)) != 0) return false;
    for (int32_t p = 0; p < INPUT_PLAYERS; p++) {
        const PlayerInput& x = a.players[p];
        const PlayerInput& y = b.players[p];
        if (x.moveX != y.moveX || x.moveY != y.moveY || x.button != y.button || x.hoverTarget != y.hoverTarget) {
            return false;
        }
    }
    return true;
}

bool sameHeader(const ReplayHeader& a, const ReplayHeader& b) {
    if (a.startTime != b.startTime || a.seed != b.seed || a.twoPlayer != b.twoPlayer || a.dictHash != b.dictHash ||
        a.prefsSpareFlag != b.prefsSpareFlag || a.hiScoreCount != b.hiScoreCount) {
        return false;
    }
    if (memcmp(&a.prefs, &b.prefs, sizeof a.prefs) != 0) return false;
    for (int32_t i = 0; i < HISCORE_ROWS; i++) {
        if (a.hiScores[i].score != b.hiScores[i].score ||
            memcmp(a.hiScores[i].word, b.hiScores[i].word, HISCORE_TEXT) != 0 ||
            memcmp(a.hiScores[i].wordScoreText, b.hiScores[i].wordScoreText, HISCORE_TEXT) != 0) {
            return false;
        }
    }
    return true;
}

uint32_t get32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

void put32(uint8_t* p, uint32_t v) {
    for (int32_t i = 0; i < 4; i++) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

uint32_t crcOf(const uint8_t* p, size_t size) {
    return static_cast<uint32_t>(crc32(0, p, static_cast<uInt>(size)));
}

// Rewrites the header's and every block's check value, as far as the lengths
// in the framing lead.
void fixCheckValues(uint8_t* bytes, size_t size) {
    if (size < REPLAY_HEADER_SIZE || get32(bytes + 10) != REPLAY_HEADER_PAYLOAD) return;
    put32(bytes + 14 + REPLAY_HEADER_PAYLOAD, crcOf(bytes + 14, REPLAY_HEADER_PAYLOAD));
    size_t at = REPLAY_HEADER_SIZE;
    while (size - at >= 12) {
        const uint32_t length = get32(bytes + at);
        if (length > size - at - 12) return;
        put32(bytes + at + 8 + length, crcOf(bytes + at, 8 + length));
        at += 12 + length;
    }
}

void check(const uint8_t* data, size_t size) {
    static ReplayReader reader;
    static ReplayWriter writer;
    fuzzEnterScratchFolder();
    ReplayHeader header;
    FrameInput record;
    if (replayReaderOpenBytes(&reader, data, size, &header) != REPLAY_OPENED) {
        if (replayReaderRecordCount(reader) != 0 || replayReaderNext(&reader, &record)) __builtin_trap();
        if (replayReaderOpenText(reader)[0] == '\0') __builtin_trap();
        replayReaderClose(&reader);
        return;
    }
    const int64_t count = replayReaderRecordCount(reader);
    int64_t read = 0;
    while (replayReaderNext(&reader, &record)) {
        if (!couldBeMade(record)) __builtin_trap();
        if (read < KEPT) kept[read] = record;
        read++;
    }
    if (read != count || count == 0) __builtin_trap();
    replayReaderClose(&reader);
    if (count > KEPT) return;

    if (!replayWriterOpen(&writer, "replay.tqr", header)) __builtin_trap();
    for (int64_t i = 0; i < count; i++) {
        if (!replayWriterAdd(&writer, kept[i])) __builtin_trap();
    }
    if (!replayWriterClose(&writer)) __builtin_trap();
    ReplayHeader again;
    if (replayReaderOpen(&reader, "replay.tqr", &again) != REPLAY_OPENED) __builtin_trap();
    if (!sameHeader(header, again) || replayReaderCutShort(reader) || replayReaderRecordCount(reader) != count) {
        __builtin_trap();
    }
    for (int64_t i = 0; i < count; i++) {
        if (!replayReaderNext(&reader, &record) || !same(kept[i], record)) __builtin_trap();
    }
    if (replayReaderNext(&reader, &record)) __builtin_trap();
    replayReaderClose(&reader);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static uint8_t fixed[1 << 20];
    check(data, size);
    if (size <= sizeof fixed) {
        memcpy(fixed, data, size);
        fixCheckValues(fixed, size);
        if (memcmp(fixed, data, size) != 0) check(fixed, size);
    }
    return 0;
}
