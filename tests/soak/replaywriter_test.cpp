// Recording runs inside play, which allocates nothing on the general heap:
// after it opens, the replay writer must not either.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "heapcount.h"
#include "persist/replayfile.h"

namespace {

TEST(ReplayWriterHeap, AddingRecordsOfEveryKindAndClosingAllocateNothing) {
    if (!heapCountsAllocations()) GTEST_SKIP() << "the sanitizers' allocator is not counted";
    char folder[] = "/tmp/tqreplayXXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string path = std::string(folder) + "/game.tqr";

    static ReplayWriter writer;
    ReplayHeader header{};
    header.startTime = 1000;
    ASSERT_TRUE(replayWriterOpen(&writer, path.c_str(), header));

    // Busy and idle stretches over many blocks, and a burst with no time
    // passing that fills the buffer.
    uint32_t state = 3;
    auto next = [&state](uint32_t below) {
        state = state * 1103515245u + 12345u;
        return (state >> 8) % below;
    };
    FrameInput r{};
    r.time = header.startTime;
    int64_t added = 0;
    bool allAdded = true;
    heapCountingOn(true);
    for (int32_t i = 0; i < 40000; i++) {
        const bool busy = i / 500 % 2 == 0;
        const bool burst = i >= 30000 && i < 32000;
        r.time += burst ? 0 : 16 + (i % 3 == 0);
        r.flags = INPUT_FRAME_RAN | INPUT_FRAME_DRAWN | INPUT_POINTER_READ;
        r.eventCount = burst ? INPUT_MAX_EVENTS : busy && next(20) == 0 ? 2 : 0;
        for (int32_t e = 0; e < r.eventCount; e++) r.events[e] = {INPUT_KEY_DOWN, static_cast<uint8_t>(next(256))};
        for (PlayerInput& p : r.players) {
            p.moveX = busy || burst ? static_cast<int32_t>(next(2001)) - 1000 : 0;
            p.moveY = busy || burst ? static_cast<int32_t>(next(2001)) - 1000 : 0;
            if (busy && next(30) == 0) p.button = p.button ? 0 : 0x80;
        }
        allAdded = replayWriterAdd(&writer, r) && allAdded;
        added++;
    }
    const bool closed = replayWriterClose(&writer);
    heapCountingOn(false);
    const int64_t allocations = heapAllocations();

    EXPECT_TRUE(allAdded);
    EXPECT_TRUE(closed);
    EXPECT_EQ(allocations, 0);
    // It was a real recording: every record is in the file.
    static ReplayReader reader;
    ReplayHeader read;
    ASSERT_EQ(replayReaderOpen(&reader, path.c_str(), &read), REPLAY_OPENED);
    EXPECT_EQ(replayReaderRecordCount(reader), added);
    replayReaderClose(&reader);
    std::filesystem::remove_all(folder);
}

}  // namespace
