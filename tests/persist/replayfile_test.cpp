#include <gtest/gtest.h>
#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#endif
#include <zlib.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "persist/replayfile.h"
#include "testfolder.h"

namespace {

constexpr uint8_t IDLE = INPUT_FRAME_RAN | INPUT_FRAME_DRAWN | INPUT_POINTER_READ;

// Every field away from its zero, the clock a quarter second before it wraps.
ReplayHeader sampleHeader() {
    ReplayHeader h{};
    h.startTime = 0xffffff00u;
    h.seed = 0xdeadbeefu;
    h.twoPlayer = 1;
    h.dictHash = 0x0123456789abcdefULL;
    for (int32_t i = 0; i < PREFS_PLAYERS * PREFS_CONTROLS; i++) h.prefs.bindings[i] = (i * 37 + 11) % 256;
    h.prefs.bindings[0] = 0;
    h.prefs.bindings[1] = 255;
    for (int32_t i = 0; i < PREFS_TIPS; i++) h.prefs.tipDoNotShow[i] = static_cast<uint8_t>(i % 3 == 0);
    h.prefsSpareFlag = 0;
    for (int32_t i = 0; i < HISCORE_ROWS; i++) {
        h.hiScores[i].score = i == 0 ? INT32_MAX : 5000 - 300 * i;
        snprintf(h.hiScores[i].word, HISCORE_TEXT, "%.19s", i == 1 ? "QUERULOUSNESSESXYZW" : "WORD");
        snprintf(h.hiScores[i].wordScoreText, HISCORE_TEXT, "%d", 40 + i);
    }
    h.hiScoreCount = HISCORE_ROWS;
    h.soundMuted = 1;
    h.soundVolume = 30;
    return h;
}

void expectSameHeader(const ReplayHeader& a, const ReplayHeader& b) {
    EXPECT_EQ(a.startTime, b.startTime);
    EXPECT_EQ(a.seed, b.seed);
    EXPECT_EQ(a.twoPlayer, b.twoPlayer);
    EXPECT_EQ(a.dictHash, b.dictHash);
    for (int32_t i = 0; i < PREFS_PLAYERS * PREFS_CONTROLS; i++) EXPECT_EQ(a.prefs.bindings[i], b.prefs.bindings[i]);
    for (int32_t i = 0; i < PREFS_TIPS; i++) EXPECT_EQ(a.prefs.tipDoNotShow[i], b.prefs.tipDoNotShow[i]);
    EXPECT_EQ(a.prefsSpareFlag, b.prefsSpareFlag);
    for (int32_t i = 0; i < HISCORE_ROWS; i++) {
        EXPECT_EQ(a.hiScores[i].score, b.hiScores[i].score);
        EXPECT_EQ(0, memcmp(a.hiScores[i].word, b.hiScores[i].word, HISCORE_TEXT));
        EXPECT_EQ(0, memcmp(a.hiScores[i].wordScoreText, b.hiScores[i].wordScoreText, HISCORE_TEXT));
    }
    EXPECT_EQ(a.hiScoreCount, b.hiScoreCount);
    EXPECT_EQ(a.soundMuted, b.soundMuted);
    EXPECT_EQ(a.soundVolume, b.soundVolume);
}

// Every stored field; hoverTarget must come back 0.
::testing::AssertionResult sameRecord(const FrameInput& want, const FrameInput& got, size_t index) {
    auto differs = [&](const char* field) {
        return ::testing::AssertionFailure() << "record " << index << " differs in " << field;
    };
    if (want.time != got.time) return differs("time") << ": " << want.time << " != " << got.time;
    if (want.flags != got.flags) return differs("flags");
    if (want.eventCount != got.eventCount) return differs("eventCount");
    for (int32_t e = 0; e < want.eventCount; e++) {
        if (want.events[e].kind != got.events[e].kind || want.events[e].key != got.events[e].key) {
            return differs("events");
        }
    }
    for (int32_t p = 0; p < INPUT_PLAYERS; p++) {
        const PlayerInput& w = want.players[p];
        const PlayerInput& g = got.players[p];
        if (w.moveX != g.moveX || w.moveY != g.moveY) return differs("motion");
        if (w.button != g.button) return differs("button");
        if (g.hoverTarget != 0) return differs("hoverTarget");
    }
    return ::testing::AssertionSuccess();
}

// A game's records, built up stretch by stretch.
class Play {
public:
    explicit Play(uint32_t startTime = sampleHeader().startTime) : time(startTime) {}

    // Idle frames (the usual flags, no events, no motion, buttons held as
    // they are), their time differences cycling through `deltas`.
    void idle(int32_t count, std::initializer_list<uint32_t> deltas) {
        auto d = deltas.begin();
        for (int32_t i = 0; i < count; i++) {
            add(*d, IDLE);
            if (++d == deltas.end()) d = deltas.begin();
        }
    }

    // Frames of everything at once: any flags, events of every kind, motion
    // of every size, buttons changing between their possible bytes. With
    // `full`, each has the most events and the longest motion there can be.
    void busy(int32_t count, std::initializer_list<uint32_t> deltas, bool full = false) {
        static const int32_t moves[] = {0, 1, -1, 63, -64, 64, -65, 8191, -300000, INT32_MAX, INT32_MIN};
        static const uint8_t buttonBytes[] = {0, 1, 0x80, 255};
        auto d = deltas.begin();
        for (int32_t i = 0; i < count; i++) {
            FrameInput& r = add(*d, static_cast<uint8_t>(next(8)));
            if (++d == deltas.end()) d = deltas.begin();
            r.eventCount = full ? INPUT_MAX_EVENTS : next(4) == 0 ? next(INPUT_MAX_EVENTS + 1) : 0;
            for (int32_t e = 0; e < r.eventCount; e++) {
                r.events[e].kind = static_cast<uint8_t>(INPUT_KEY_DOWN + next(4));
                r.events[e].key = static_cast<uint8_t>(next(256));
            }
            for (PlayerInput& p : r.players) {
                p.moveX = full ? INT32_MIN : moves[next(std::size(moves))];
                p.moveY = full ? INT32_MAX : moves[next(std::size(moves))];
                if (next(3) == 0) p.button = buttonBytes[next(4)];
            }
            for (int32_t p = 0; p < INPUT_PLAYERS; p++) buttons[p] = r.players[p].button;
        }
    }

    // Frames whose only change is a button byte, which idle frames then keep.
    void press(uint8_t button0, uint8_t button1) {
        buttons[0] = button0;
        buttons[1] = button1;
        add(16, IDLE);
    }

    std::vector<FrameInput> records;
    uint32_t time;

private:
    FrameInput& add(uint32_t delta, uint8_t flags) {
        time += delta;
        FrameInput r{};
        r.time = time;
        r.flags = flags;
        for (int32_t p = 0; p < INPUT_PLAYERS; p++) r.players[p].button = buttons[p];
        records.push_back(r);
        return records.back();
    }

    int32_t next(size_t below) {
        state = state * 1103515245u + 12345u;
        return static_cast<int32_t>((state >> 8) % below);
    }

    uint8_t buttons[INPUT_PLAYERS] = {};
    uint32_t state = 99;
};

// A game with every kind of stretch the coding treats apart.
Play variedPlay() {
    Play play;
    play.busy(300, {16, 17});  // crosses the clock's wrap
    play.idle(1000, {16, 17});
    play.idle(500, {17, 16});  // the larger difference first
    play.press(0x80, 1);
    play.idle(400, {17, 17, 16});  // held buttons
    play.idle(400, {17});
    play.press(0, 0);
    play.idle(5000, {0});              // more records than a block holds, in no time
    play.busy(1500, {0}, true);        // more bytes than a block holds, in no time
    play.idle(10, {0xffffffffu});      // the clock going back a millisecond a frame
    play.busy(1, {0x80000000u});
    for (int32_t i = 0; i < 50; i++) {  // lone idle frames between busy ones
        play.idle(1, {16});
        play.busy(1, {17});
    }
    play.idle(300, {16, 17});
    return play;
}

bool writeReplay(const char* path, const ReplayHeader& header, const std::vector<FrameInput>& records) {
    static ReplayWriter writer;
    if (!replayWriterOpen(&writer, path, header)) return false;
    for (const FrameInput& r : records) {
        if (!replayWriterAdd(&writer, r)) return false;
    }
    return replayWriterClose(&writer);
}

// Reads every record; false at the first that differs from `want`.
::testing::AssertionResult readsBack(ReplayReader* reader, const std::vector<FrameInput>& want) {
    FrameInput got;
    for (size_t i = 0; i < want.size(); i++) {
        got.players[0].hoverTarget = 5;
        if (!replayReaderNext(reader, &got)) return ::testing::AssertionFailure() << "ends after " << i << " records";
        ::testing::AssertionResult same = sameRecord(want[i], got, i);
        if (!same) return same;
    }
    if (replayReaderNext(reader, &got)) return ::testing::AssertionFailure() << "more records than written";
    if (replayReaderNext(reader, &got)) return ::testing::AssertionFailure() << "a record after the end";
    return ::testing::AssertionSuccess();
}

struct BlockPlace {
    size_t at;
    uint32_t length;
    uint32_t records;
};

// The blocks of a file, from their framing.
std::vector<BlockPlace> blocksOf(const std::string& bytes) {
    std::vector<BlockPlace> blocks;
    size_t at = REPLAY_HEADER_SIZE;
    while (at + 12 <= bytes.size()) {
        uint32_t length;
        uint32_t records;
        memcpy(&length, bytes.data() + at, 4);
        memcpy(&records, bytes.data() + at + 4, 4);
        blocks.push_back({at, length, records});
        at += 12 + length;
    }
    return blocks;
}

uint32_t crcOf(const std::string& bytes, size_t at, size_t size) {
    return static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(bytes.data() + at), static_cast<uInt>(size)));
}

void put32(std::string* bytes, size_t at, uint32_t v) {
    for (int32_t i = 0; i < 4; i++) (*bytes)[at + i] = static_cast<char>(v >> (8 * i));
}

class ReplayFile : public TestFolder {};

TEST_F(ReplayFile, EveryKindOfRecordReadsBackEqualAfterTheHeader) {
    const ReplayHeader header = sampleHeader();
    const Play play = variedPlay();
    ASSERT_TRUE(writeReplay("game.tqr", header, play.records));
    // The stretches were meant to need several blocks.
    ASSERT_GT(blocksOf(readFile("game.tqr")).size(), 5u);

    static ReplayReader reader;
    ReplayHeader read{};
    ASSERT_EQ(replayReaderOpen(&reader, "game.tqr", &read), REPLAY_OPENED) << replayReaderOpenText(reader);
    expectSameHeader(header, read);
    EXPECT_EQ(read.version, REPLAY_VERSION);
    EXPECT_EQ(replayReaderRecordCount(reader), static_cast<int64_t>(play.records.size()));
    EXPECT_FALSE(replayReaderCutShort(reader));
    EXPECT_TRUE(readsBack(&reader, play.records));
    replayReaderClose(&reader);
    FrameInput none;
    EXPECT_FALSE(replayReaderNext(&reader, &none));
}

// A block goes to the file once its records span 3000 ms, so a game cut off
// loses at most its last three seconds: 16 and 17 ms alternating reach 3000
// at the 182nd frame, 20 ms at the 150th.
TEST_F(ReplayFile, ABlockReachesTheFileOnceItsRecordsSpanThreeSeconds) {
    struct Case {
        std::initializer_list<uint32_t> deltas;
        size_t perBlock;
    } cases[] = {{{16, 17}, 182}, {{20}, 150}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.perBlock);
        Play play;
        play.idle(static_cast<int32_t>(c.perBlock * 3 + 50), c.deltas);
        static ReplayWriter writer;
        ASSERT_TRUE(replayWriterOpen(&writer, "game.tqr", sampleHeader()));
        for (size_t i = 0; i < play.records.size(); i++) {
            ASSERT_TRUE(replayWriterAdd(&writer, play.records[i]));
            ASSERT_EQ(blocksOf(readFile("game.tqr")).size(), (i + 1) / c.perBlock) << "after record " << i;
        }
        // The file as it stands, the writer still open, plays what it holds.
        static ReplayReader reader;
        ReplayHeader read;
        ASSERT_EQ(replayReaderOpen(&reader, "game.tqr", &read), REPLAY_OPENED);
        EXPECT_EQ(replayReaderRecordCount(reader), static_cast<int64_t>(c.perBlock * 3));
        EXPECT_FALSE(replayReaderCutShort(reader));
        replayReaderClose(&reader);

        ASSERT_TRUE(replayWriterClose(&writer));
        const std::vector<BlockPlace> blocks = blocksOf(readFile("game.tqr"));
        ASSERT_EQ(blocks.size(), 4u);
        EXPECT_EQ(blocks[3].records, 50u);
    }
}

// Idle time costs one run per 3000 ms block: 12 bytes of framing, 4 for the
// run's tag, count and difference, and a bit per frame for the 16/17 ms
// pattern, 39 bytes for 182 frames, so 1200 blocks make about 47 KB an hour.
// A busy frame (small motion every frame, a button or key now and then)
// codes in 4 to 5 bytes, so a minute of them stays under 20 KB.
TEST_F(ReplayFile, AnIdleHourAndABusyMinuteStaySmall) {
    Play idleHour;
    idleHour.idle(3600 * 1000 * 2 / 33, {16, 17});

    Play busyMinute;
    uint32_t state = 5;
    auto next = [&state](uint32_t below) {
        state = state * 1103515245u + 12345u;
        return static_cast<int32_t>((state >> 8) % below);
    };
    for (int32_t i = 0; i < 3600; i++) {
        busyMinute.idle(1, {i % 3 == 2 ? 16u : 17u});
        FrameInput& r = busyMinute.records.back();
        r.players[0].moveX = next(41) - 20;
        r.players[0].moveY = next(41) - 20;
        r.players[0].button = static_cast<uint8_t>(i / 20 % 2 ? 0x80 : 0);
        if (i % 30 == 0) {
            r.eventCount = 2;
            r.events[0] = {INPUT_KEY_DOWN, static_cast<uint8_t>(65 + next(26))};
            r.events[1] = {INPUT_KEY_UP, r.events[0].key};
        }
    }

    struct Case {
        const char* what;
        const std::vector<FrameInput>& records;
        size_t bound;
    } cases[] = {
        {"an idle hour", idleHour.records, 48 * 1024},
        {"a busy minute", busyMinute.records, 20 * 1024},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(writeReplay("game.tqr", sampleHeader(), c.records));
        const size_t size = readFile("game.tqr").size();
        printf("%s: %zu records in %zu bytes\n", c.what, c.records.size(), size);
        EXPECT_LT(size, c.bound);
        static ReplayReader reader;
        ReplayHeader read;
        ASSERT_EQ(replayReaderOpen(&reader, "game.tqr", &read), REPLAY_OPENED);
        EXPECT_TRUE(readsBack(&reader, c.records));
        replayReaderClose(&reader);
    }
}

// The replay plays up to the first block that is not whole.
TEST_F(ReplayFile, AFileCutShortOrDamagedPlaysItsWholeBlocksBeforeTheFault) {
    Play play;
    play.busy(200, {16, 17});
    play.idle(400, {16, 17});
    play.busy(200, {17, 16});
    ASSERT_TRUE(writeReplay("game.tqr", sampleHeader(), play.records));
    const std::string whole = readFile("game.tqr");
    const std::vector<BlockPlace> blocks = blocksOf(whole);
    ASSERT_GE(blocks.size(), 5u);

    struct Case {
        const char* what;
        std::function<void(std::string*)> spoil;
        size_t wholeBlocks;
    } cases[] = {
        {"cut in the middle of block 3", [&](std::string* b) { b->resize(blocks[2].at + 12 + blocks[2].length / 2); },
         2},
        {"cut inside the framing of block 3", [&](std::string* b) { b->resize(blocks[2].at + 5); }, 2},
        {"a payload byte of block 2 changed", [&](std::string* b) { (*b)[blocks[1].at + 20] ^= 0x10; }, 1},
        {"the check value of block 4 changed", [&](std::string* b) { (*b)[blocks[4].at - 1] ^= 1; }, 3},
        {"block 3's length past the end", [&](std::string* b) { put32(b, blocks[2].at, 60000); }, 2},
        {"bytes after the last block", [&](std::string* b) { b->append("\x05\0\0", 3); }, blocks.size()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string bytes = whole;
        c.spoil(&bytes);
        writeFile("spoilt.tqr", bytes);
        size_t records = 0;
        for (size_t i = 0; i < c.wholeBlocks; i++) records += blocks[i].records;

        static ReplayReader reader;
        ReplayHeader read;
        ASSERT_EQ(replayReaderOpen(&reader, "spoilt.tqr", &read), REPLAY_OPENED);
        EXPECT_TRUE(replayReaderCutShort(reader));
        EXPECT_EQ(replayReaderRecordCount(reader), static_cast<int64_t>(records));
        EXPECT_TRUE(readsBack(&reader, std::vector<FrameInput>(play.records.begin(), play.records.begin() + records)));
        replayReaderClose(&reader);
    }
}

TEST_F(ReplayFile, AFileThatCannotBePlayedSaysWhy) {
    Play play;
    play.busy(300, {16, 17});
    ASSERT_TRUE(writeReplay("game.tqr", sampleHeader(), play.records));
    const std::string good = readFile("game.tqr");
    const size_t firstBlock = REPLAY_HEADER_SIZE;

    struct Case {
        const char* what;
        std::function<void(std::string*)> spoil;  // null: no file
        ReplayOpenResult result;
        const char* says;
    } cases[] = {
        {"a missing file", nullptr, REPLAY_MISSING, "not found"},
        {"an empty file", [](std::string* b) { b->clear(); }, REPLAY_NOT_A_REPLAY, "not a Tarvo Quelms replay"},
        {"another magic", [](std::string* b) { (*b)[2] = 'X'; }, REPLAY_NOT_A_REPLAY, "not a Tarvo Quelms replay"},
        {"version 7", [](std::string* b) { (*b)[8] = 7; }, REPLAY_WRONG_VERSION, "(version 7)"},
        {"cut inside the header", [](std::string* b) { b->resize(REPLAY_HEADER_SIZE - 1); }, REPLAY_BAD_HEADER,
         "header"},
        {"a header of another length", [](std::string* b) { (*b)[10] ^= 4; }, REPLAY_BAD_HEADER, "header"},
        {"a header byte changed", [](std::string* b) { (*b)[30] ^= 1; }, REPLAY_BAD_HEADER, "check value"},
        {"twoPlayer 2 under a good check value",
         [](std::string* b) {
             put32(b, 14 + 8, 2);
             put32(b, 14 + REPLAY_HEADER_PAYLOAD, crcOf(*b, 14, REPLAY_HEADER_PAYLOAD));
         },
         REPLAY_BAD_HEADER, "header"},
        {"a volume of 101 under a good check value",
         [](std::string* b) {
             (*b)[14 + REPLAY_HEADER_PAYLOAD - 1] = 101;
             put32(b, 14 + REPLAY_HEADER_PAYLOAD, crcOf(*b, 14, REPLAY_HEADER_PAYLOAD));
         },
         REPLAY_BAD_HEADER, "header"},
        {"the header alone", [&](std::string* b) { b->resize(firstBlock); }, REPLAY_NO_WHOLE_BLOCK, "no moves"},
        {"cut inside the first block", [&](std::string* b) { b->resize(firstBlock + 40); }, REPLAY_NO_WHOLE_BLOCK,
         "first block"},
        {"the first block's check value wrong", [&](std::string* b) { (*b)[firstBlock + 13] ^= 2; },
         REPLAY_NO_WHOLE_BLOCK, "check value"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::remove("case.tqr");
        if (c.spoil) {
            std::string bytes = good;
            c.spoil(&bytes);
            writeFile("case.tqr", bytes);
        }
        static ReplayReader reader;
        ReplayHeader read = sampleHeader();
        read.seed = 1;
        EXPECT_EQ(replayReaderOpen(&reader, "case.tqr", &read), c.result);
        EXPECT_NE(strstr(replayReaderOpenText(reader), c.says), nullptr) << replayReaderOpenText(reader);
        EXPECT_EQ(replayReaderRecordCount(reader), 0);
        FrameInput none;
        EXPECT_FALSE(replayReaderNext(&reader, &none));
        EXPECT_EQ(read.seed, 1u) << "the header changed";
        replayReaderClose(&reader);
    }

    ASSERT_TRUE(makeFolder("folder.tqr"));
    static ReplayReader reader;
    ReplayHeader read;
    EXPECT_EQ(replayReaderOpen(&reader, "folder.tqr", &read), REPLAY_UNREADABLE);
    EXPECT_NE(replayReaderOpenText(reader)[0], '\0');
}

// First blocks under a good check value that hold what the game never writes:
// each must end the replay before it starts. The first case is a good block,
// to show the blocks are built right.
TEST_F(ReplayFile, AFirstBlockHoldingWhatTheGameNeverWritesIsRefused) {
    static ReplayWriter writer;
    ASSERT_TRUE(replayWriterOpen(&writer, "header.tqr", sampleHeader()));
    ASSERT_TRUE(replayWriterClose(&writer));
    const std::string header = readFile("header.tqr");
    ASSERT_EQ(header.size(), REPLAY_HEADER_SIZE);

    const std::string manyEvents = "\x04\x10\x21" + std::string(33 * 2, '\x01');
    const std::string longBitmapRun = std::string("\x03\x90\x03\x10", 4) + std::string(49, '\x55');
    struct Case {
        const char* what;
        std::string payload;
        uint32_t records;
        ReplayOpenResult result;
    } cases[] = {
        {"a record and a run with a bitmap", std::string("\x00\x10\x03\x03\x10\x05", 6), 4, REPLAY_OPENED},
        {"an event of kind 0", std::string("\x04\x10\x01\x00\x41", 5), 1, REPLAY_NO_WHOLE_BLOCK},
        {"an event of kind 5", std::string("\x04\x10\x01\x05\x41", 5), 1, REPLAY_NO_WHOLE_BLOCK},
        {"33 events", manyEvents, 1, REPLAY_NO_WHOLE_BLOCK},
        {"an event list of none", std::string("\x04\x10\x00", 3), 1, REPLAY_NO_WHOLE_BLOCK},
        {"a flag the game does not know", std::string("\x02\x10\x08", 3), 1, REPLAY_NO_WHOLE_BLOCK},
        {"the tag's top bit", std::string("\x80\x10", 2), 1, REPLAY_NO_WHOLE_BLOCK},
        {"a run tag's other bits", std::string("\x05\x02\x10", 3), 2, REPLAY_NO_WHOLE_BLOCK},
        {"a varint of six bytes", std::string("\x00\x80\x80\x80\x80\x80\x00", 7), 1, REPLAY_NO_WHOLE_BLOCK},
        {"a varint past 32 bits", std::string("\x00\x80\x80\x80\x80\x10", 6), 1, REPLAY_NO_WHOLE_BLOCK},
        {"motion cut by the block's end", std::string("\x20\x10\x02", 3), 1, REPLAY_NO_WHOLE_BLOCK},
        {"a bitmap cut by the block's end", longBitmapRun, 400, REPLAY_NO_WHOLE_BLOCK},
        {"a run of none", std::string("\x01\x00\x10", 3), 1, REPLAY_NO_WHOLE_BLOCK},
        {"a run longer than a block holds", std::string("\x01\x81\x20\x10", 4), 4097, REPLAY_NO_WHOLE_BLOCK},
        {"fewer records than counted", std::string("\x00\x10", 2), 2, REPLAY_NO_WHOLE_BLOCK},
        {"more records than counted", std::string("\x00\x10\x00\x10", 4), 1, REPLAY_NO_WHOLE_BLOCK},
        {"no records", "", 0, REPLAY_NO_WHOLE_BLOCK},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string bytes = header + std::string(8, '\0') + c.payload + std::string(4, '\0');
        put32(&bytes, header.size(), static_cast<uint32_t>(c.payload.size()));
        put32(&bytes, header.size() + 4, c.records);
        put32(&bytes, bytes.size() - 4, crcOf(bytes, header.size(), 8 + c.payload.size()));
        static ReplayReader reader;
        ReplayHeader read;
        const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
        EXPECT_EQ(replayReaderOpenBytes(&reader, data, bytes.size(), &read), c.result)
            << replayReaderOpenText(reader);
        replayReaderClose(&reader);
    }

    // The good block's records: one 16 ms after the start, then three idle
    // frames 17, 16 and 17 ms apart (bitmap 0b101).
    const std::string good = header + std::string(8, '\0') + std::string("\x00\x10\x03\x03\x10\x05", 6) +
                             std::string(4, '\0');
    std::string bytes = good;
    put32(&bytes, header.size(), 6);
    put32(&bytes, header.size() + 4, 4);
    put32(&bytes, bytes.size() - 4, crcOf(bytes, header.size(), 14));
    static ReplayReader reader;
    ReplayHeader read;
    ASSERT_EQ(replayReaderOpenBytes(&reader, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &read),
              REPLAY_OPENED);
    const uint32_t start = sampleHeader().startTime;
    const uint32_t times[] = {start + 16, start + 33, start + 49, start + 66};
    for (uint32_t t : times) {
        FrameInput r;
        ASSERT_TRUE(replayReaderNext(&reader, &r));
        EXPECT_EQ(r.time, t);
        EXPECT_EQ(r.flags, IDLE);
    }
    replayReaderClose(&reader);
}

#ifndef _WIN32
// Windows has no limit on a process's file size to stand in for a full disk.
// The file grows no bigger than the header and the first few blocks allow;
// SIGXFSZ is ignored meanwhile, so the write fails as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old);
        oldHandler = signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old);
        signal(SIGXFSZ, oldHandler);
    }

private:
    rlimit old;
    sighandler_t oldHandler;
};

TEST_F(ReplayFile, AFailedWriteMakesEveryLaterCallFalseAndTheGamePlaysOn) {
    Play play;
    play.busy(2000, {16, 17});
    ASSERT_TRUE(writeReplay("full.tqr", sampleHeader(), play.records));
    const std::vector<BlockPlace> blocks = blocksOf(readFile("full.tqr"));
    ASSERT_GE(blocks.size(), 4u);
    // Room for two blocks and half the third.
    const size_t room = blocks[2].at + 12 + blocks[2].length / 2;

    static ReplayWriter writer;
    size_t accepted = 0;
    {
        FileSizeLimit limit(room);
        ASSERT_TRUE(replayWriterOpen(&writer, "game.tqr", sampleHeader()));
        while (accepted < play.records.size() && replayWriterAdd(&writer, play.records[accepted])) accepted++;
        EXPECT_EQ(errno, EFBIG);
        for (size_t i = accepted; i < play.records.size(); i++) EXPECT_FALSE(replayWriterAdd(&writer, play.records[i]));
        EXPECT_FALSE(replayWriterClose(&writer));
    }
    // The add that ended block 3 failed, and nothing reached the file after it.
    const size_t twoBlocks = blocks[0].records + blocks[1].records;
    EXPECT_EQ(accepted, twoBlocks + blocks[2].records - 1);
    EXPECT_EQ(readFile("game.tqr").size(), room);
    static ReplayReader reader;
    ReplayHeader read;
    ASSERT_EQ(replayReaderOpen(&reader, "game.tqr", &read), REPLAY_OPENED);
    EXPECT_TRUE(replayReaderCutShort(reader));
    EXPECT_TRUE(readsBack(&reader, std::vector<FrameInput>(play.records.begin(), play.records.begin() + twoBlocks)));
    replayReaderClose(&reader);
}
#endif

TEST_F(ReplayFile, AWriterThatCannotStartOrIsHandedWhatTheGameNeverMakesFails) {
    ReplayHeader twoPlayerTwo = sampleHeader();
    twoPlayerTwo.twoPlayer = 2;
    ReplayHeader unended = sampleHeader();
    memset(unended.hiScores[3].word, 'A', HISCORE_TEXT);
    ReplayHeader bindingTooBig = sampleHeader();
    bindingTooBig.prefs.bindings[9] = 256;
    struct OpenCase {
        const char* what;
        const char* path;
        ReplayHeader header;
        int error;
    } openCases[] = {
        {"a missing folder", "no/such/folder.tqr", sampleHeader(), ENOENT},
#ifndef _WIN32
        {"a full disk", "/dev/full", sampleHeader(), ENOSPC},
#endif
        {"twoPlayer 2", "game.tqr", twoPlayerTwo, EINVAL},
        {"a high-score word without its end", "game.tqr", unended, EINVAL},
        {"a key binding past 255", "game.tqr", bindingTooBig, EINVAL},
    };
    static ReplayWriter writer;
    FrameInput some{};
    some.time = 16;
    for (const OpenCase& c : openCases) {
        SCOPED_TRACE(c.what);
        errno = 0;
        EXPECT_FALSE(replayWriterOpen(&writer, c.path, c.header));
        EXPECT_EQ(errno, c.error);
        EXPECT_FALSE(replayWriterAdd(&writer, some));
        EXPECT_FALSE(replayWriterClose(&writer));
    }

    FrameInput tooManyEvents{};
    tooManyEvents.eventCount = INPUT_MAX_EVENTS + 1;
    FrameInput negativeEvents{};
    negativeEvents.eventCount = -1;
    FrameInput unknownKind{};
    unknownKind.eventCount = 2;
    unknownKind.events[0] = {INPUT_KEY_DOWN, 65};
    unknownKind.events[1] = {9, 65};
    FrameInput unknownFlag{};
    unknownFlag.flags = 8;
    const FrameInput records[] = {tooManyEvents, negativeEvents, unknownKind, unknownFlag};
    for (const FrameInput& record : records) {
        ASSERT_TRUE(replayWriterOpen(&writer, "game.tqr", sampleHeader()));
        ASSERT_TRUE(replayWriterAdd(&writer, some));
        errno = 0;
        EXPECT_FALSE(replayWriterAdd(&writer, record));
        EXPECT_EQ(errno, EINVAL);
        EXPECT_FALSE(replayWriterAdd(&writer, some));
        EXPECT_FALSE(replayWriterClose(&writer));
    }
}

// Files from before the game had sound: a header two bytes shorter, no sound
// settings in it. They still play, from the unmuted default volume.
TEST_F(ReplayFile, AVersionOneFileStillPlays) {
    Play play;
    play.busy(300, {16, 17});
    ASSERT_TRUE(writeReplay("game.tqr", sampleHeader(), play.records));
    std::string bytes = readFile("game.tqr");
    bytes.erase(14 + REPLAY_HEADER_PAYLOAD_V1, 2);
    bytes[8] = 1;
    put32(&bytes, 10, REPLAY_HEADER_PAYLOAD_V1);
    put32(&bytes, 14 + REPLAY_HEADER_PAYLOAD_V1, crcOf(bytes, 14, REPLAY_HEADER_PAYLOAD_V1));
    writeFile("old.tqr", bytes);

    static ReplayReader reader;
    ReplayHeader read{};
    ASSERT_EQ(replayReaderOpen(&reader, "old.tqr", &read), REPLAY_OPENED) << replayReaderOpenText(reader);
    EXPECT_EQ(read.version, 1);
    EXPECT_EQ(read.soundMuted, 0);
    EXPECT_EQ(read.soundVolume, SETTINGS_DEFAULT_VOLUME);
    EXPECT_EQ(read.seed, sampleHeader().seed);
    EXPECT_EQ(read.hiScoreCount, sampleHeader().hiScoreCount);
    EXPECT_TRUE(readsBack(&reader, play.records));
    replayReaderClose(&reader);
}

}  // namespace
