// Replay files: everything a game's course depends on, so that it can be
// played again exactly. The writer runs during play and allocates nothing
// after it opens; the reader runs before play, takes the file in whole and
// checks every byte at open, so that handing out records never meets a bad one.
//
// The file, all integers little-endian:
//   "TQREPLAY"  8 bytes
//   u16         version (REPLAY_VERSION)
//   u32         header payload length (REPLAY_HEADER_PAYLOAD)
//   payload     startTime u32, seed u32, twoPlayer i32, dictHash u64,
//               prefs.bindings 14 x i32, prefs.tipDoNotShow 8 x u8,
//               prefsSpareFlag u8, hiScores 12 x (score i32, word 20 bytes,
//               wordScoreText 20 bytes), hiScoreCount i32,
//               then from version 2: soundMuted u8, soundVolume u8
//   u32         CRC-32 of the payload
//   blocks, to the end of the file
//
// A block:
//   u32         payload length, at most REPLAY_BLOCK_SIZE - 12
//   u32         record count, 1 to REPLAY_BLOCK_RECORDS
//   payload     items, each one record or one run of idle records
//   u32         CRC-32 of the length, the count and the payload
// The first block that runs past the end of the file or fails its check (its
// CRC, its limits, or an item that does not decode to exactly its count) ends
// the replay there. Items never span blocks; the decoder's state (the last
// record's time and buttons, at first the header's startTime and 0) does.
//
// Varints are LEB128 of at most 5 bytes for 32 bits; signed ones are zigzagged
// first. A record's time is stored as its difference from the one before,
// wrapping at 32 bits.
//
// A record item: a tag byte with bit 0 clear, then the time difference, then
// what the tag's bits say follows:
//   bit 1  the flags byte (absent: INPUT_FRAME_RAN | INPUT_FRAME_DRAWN | INPUT_POINTER_READ)
//   bit 2  the events: a count of 1 to INPUT_MAX_EVENTS, then (kind, key) byte pairs
//   bit 3  player 1's button byte (absent: unchanged)
//   bit 4  player 2's button byte (absent: unchanged)
//   bit 5  player 1's motion, x then y (absent: 0, 0)
//   bit 6  player 2's motion (absent: 0, 0)
//   bit 7  never set
// A run item stands for `count` idle records: the usual flags, no events, no
// motion, buttons unchanged. Its tag byte is 1, or 3 when a bitmap follows;
// then the count (1 to REPLAY_BLOCK_RECORDS) and a time difference D. Without
// the bitmap every record comes D after the one before; with it, record i
// comes D + 1 after when bit i % 8 of bitmap byte i / 8 is set (a 60 Hz
// display paced in whole milliseconds alternates 16 and 17).
#pragma once

#include <cstdio>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "Core/cminput.h"
#include "persist/hiscores.h"
#include "persist/prefs.h"
#include "persist/settings.h"

// The version written. Version 1 files, made before the game had sound, still
// play: their header lacks the sound settings, and their sound keys did nothing.
constexpr uint16_t REPLAY_VERSION = 2;
constexpr uint32_t REPLAY_HEADER_PAYLOAD_V1 = 4 + 4 + 4 + 8 + PREFS_PLAYERS * PREFS_CONTROLS * 4 + PREFS_TIPS + 1 +
                                              HISCORE_ROWS * (4 + 2 * HISCORE_TEXT) + 4;
constexpr uint32_t REPLAY_HEADER_PAYLOAD = REPLAY_HEADER_PAYLOAD_V1 + 2;
// Magic, version, length, payload and check value.
constexpr uint32_t REPLAY_HEADER_FRAMING = 8 + 2 + 4 + 4;
constexpr uint32_t REPLAY_HEADER_SIZE = REPLAY_HEADER_FRAMING + REPLAY_HEADER_PAYLOAD;
constexpr uint8_t REPLAY_VOLUME_MAX = SETTINGS_VOLUME_MAX;
// A block is written once its records span this much record time, so a game
// cut off by a crash loses at most about this much of its end.
constexpr uint32_t REPLAY_BLOCK_MS = 3000;
// Whole blocks, framing included: the writer's buffer.
constexpr uint32_t REPLAY_BLOCK_SIZE = 65536;
// Records in a block at most: bounds what a hostile count can make the reader
// do, and a run's bitmap.
constexpr uint32_t REPLAY_BLOCK_RECORDS = 4096;
// Bigger files are refused as unreadable: the reader holds the file whole.
constexpr size_t REPLAY_FILE_MAX = size_t{512} << 20;

// What a game's course depends on besides its input records.
struct ReplayHeader {
    uint32_t startTime;  // the tick count the game started at
    uint32_t seed;       // the generator's state at the start
    int32_t twoPlayer;   // 0 or 1
    uint64_t dictHash;   // cmHashBytes over worddiction.txt's bytes; 0 when it was missing
    PrefsRecord prefs;   // key bindings (0 to 255) and tip flags
    uint8_t prefsSpareFlag;
    HiScoreRow hiScores[HISCORE_ROWS];  // texts ended by a zero byte
    int32_t hiScoreCount;               // 0 to HISCORE_ROWS
    // The sound settings the game started with, which the sound keys' notices
    // show: 0 or 1, and 0 to REPLAY_VOLUME_MAX.
    uint8_t soundMuted;
    uint8_t soundVolume;
    // The version the file was written in (the writer ignores it).
    uint16_t version;
};

// Big (the block buffer is inside): keep it static.
struct ReplayWriter {
    ReplayWriter() = default;
    // A copy would share the file and split the coder's state.
    ReplayWriter(const ReplayWriter&) = delete;
    ReplayWriter& operator=(const ReplayWriter&) = delete;

    FILE* file = nullptr;
    bool failed = true;
    int error = 0;  // errno of the failure
    // What the decoder will know after the last record added.
    uint32_t lastTime = 0;
    uint8_t lastButtons[INPUT_PLAYERS] = {};
    // The block being filled: its payload starts after the length and count.
    uint32_t blockLength = 0;
    uint32_t blockRecords = 0;  // the pending run's included
    uint64_t blockSpan = 0;     // record time since the last block ended
    // Idle records not yet coded: their time differences lie within one of
    // each other, bit i set where record i's differs from the first's.
    uint32_t runCount = 0;
    uint32_t runFirst = 0, runLow = 0, runHigh = 0;
    uint8_t runBits[REPLAY_BLOCK_RECORDS / 8] = {};
    uint8_t block[REPLAY_BLOCK_SIZE];
};

// Creates (or empties) the file and writes the header. False, errno telling
// why, when it cannot, or (EINVAL) when the header breaks its own limits.
bool replayWriterOpen(ReplayWriter* w, const char* path, const ReplayHeader& header);
// Adds one record (its hoverTarget fields are not stored). A block is written
// out once the records in it span REPLAY_BLOCK_MS, hold REPLAY_BLOCK_RECORDS,
// or might not leave room for the next record. False once a write has failed,
// or (EINVAL) for a record the game cannot make (an event count outside 0 to
// INPUT_MAX_EVENTS, an unknown event kind or flag): the writer then drops
// everything, and the game plays on.
bool replayWriterAdd(ReplayWriter* w, const FrameInput& record);
// Writes the last block and closes the file. False when anything failed.
bool replayWriterClose(ReplayWriter* w);

enum ReplayOpenResult {
    REPLAY_OPENED,
    REPLAY_MISSING,
    REPLAY_UNREADABLE,       // cannot be read, or bigger than REPLAY_FILE_MAX
    REPLAY_NOT_A_REPLAY,     // shorter than the magic, or another magic
    REPLAY_WRONG_VERSION,
    REPLAY_BAD_HEADER,       // cut short, wrong length or check value, or a field out of range
    REPLAY_NO_WHOLE_BLOCK,   // no blocks at all, or the first one fails its check
};

struct ReplayReader {
    ReplayReader() = default;
    // A copy would point into the other's bytes.
    ReplayReader(const ReplayReader&) = delete;
    ReplayReader& operator=(const ReplayReader&) = delete;

    char text[96] = {};  // one line for a player about the last open
    std::vector<uint8_t> owned;  // the file, when opened by name
    const uint8_t* data = nullptr;
    size_t wholeEnd = 0;  // the end of the last whole block
    int64_t recordCount = 0;
    bool cutShort = false;
    // Where replayReaderNext is.
    size_t nextBlock = 0;
    size_t pos = 0, payloadEnd = 0;
    uint32_t lastTime = 0;
    uint8_t lastButtons[INPUT_PLAYERS] = {};
    uint32_t runLeft = 0, runIndex = 0, runDelta = 0;
    const uint8_t* runBitmap = nullptr;  // null when every difference is runDelta
};

// Reads the whole file and checks it. Anything but REPLAY_OPENED leaves the
// header as it was and the reader with no records.
ReplayOpenResult replayReaderOpen(ReplayReader* r, const char* path, ReplayHeader* header);
// The same over bytes in memory, which are borrowed, not copied: they must
// stay until replayReaderClose.
ReplayOpenResult replayReaderOpenBytes(ReplayReader* r, const uint8_t* data, size_t size, ReplayHeader* header);
// One line for a player about the last open, e.g. "made by another version of
// the game (version 7)" or "damaged: its first block fails its check value".
const char* replayReaderOpenText(const ReplayReader& r);
// The next record, in order; false after the last record of the last whole
// block. The hoverTarget fields are 0: they are worked out, never stored.
bool replayReaderNext(ReplayReader* r, FrameInput* record);
// Records in the whole blocks.
int64_t replayReaderRecordCount(const ReplayReader& r);
// Bytes after the last whole block were left out: a game cut off while
// recording, or a damaged file.
bool replayReaderCutShort(const ReplayReader& r);
// Releases the file; the reader then has no records. Safe after any open.
void replayReaderClose(ReplayReader* r);
