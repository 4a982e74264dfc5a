// The message loop over the headless backend's scripted queue.
#include <gtest/gtest.h>

#include <string>

#include "flow/startup.h"
#include "platform/headless/headless.h"

namespace {

std::string trace;  // what happened, in order
int frames;
int quitAfterFrames;
int32_t quitCode;

int32_t recordingProc(uint32_t message, uint32_t wParam, int32_t) {
    // Appended: g++ 12 at -O3 gives "literal" + std::string a false -Wrestrict (GCC bug 105329).
    trace.append("m").append(std::to_string(message)).append(":").append(std::to_string(wParam)).append(" ");
    return 0;
}

void countingFrame() {
    frames++;
    trace += "frame(" + std::to_string(headlessPendingMessages()) + ") ";
    if (frames == quitAfterFrames) platPostQuitMessage(quitCode);
}

class MessageLoop : public ::testing::Test {
protected:
    void SetUp() override {
        headlessReset();
        platSetWindowProc(recordingProc);
        trace.clear();
        frames = 0;
        quitAfterFrames = 1;
        quitCode = 0;
        appActive = 0;
    }
    void TearDown() override {
        platSetWindowProc(nullptr);
        headlessSetIdleHook(nullptr);
        appActive = 0;
    }
};

TEST_F(MessageLoop, EveryWaitingMessageIsHandledBeforeAFrame) {
    appActive = 1;
    quitAfterFrames = 2;
    quitCode = 9;
    headlessPushMessage(WM_KEYDOWN, 65, 0);
    headlessPushMessage(WM_KEYUP, 65, 0);
    headlessPushMessage(WM_KEYDOWN, 68, 0);
    EXPECT_EQ(startMessageLoop(countingFrame), 9);
    EXPECT_EQ(trace, "m256:65 m257:65 m256:68 frame(0) frame(0) ");
}

TEST_F(MessageLoop, NoFrameRunsWhileInactiveAndTheLoopWaits) {
    headlessPushMessage(WM_KEYDOWN, 80, 0);
    // With nothing more to come the headless wait posts a quit with code -1.
    EXPECT_EQ(startMessageLoop(countingFrame), -1);
    EXPECT_EQ(frames, 0);
    EXPECT_EQ(headless.idleCalls, 1);
    EXPECT_EQ(trace, "m256:80 ");
}

void activateOnIdle() {
    trace += "wait ";
    appActive = 1;
    headlessPushMessage(WM_ACTIVATEAPP, 1, 0);
}

TEST_F(MessageLoop, FramesStartOnceTheApplicationIsActive) {
    headlessSetIdleHook(activateOnIdle);
    quitAfterFrames = 3;
    quitCode = 4;
    EXPECT_EQ(startMessageLoop(countingFrame), 4);
    EXPECT_EQ(trace, "wait m28:1 frame(0) frame(0) frame(0) ");
    EXPECT_EQ(headless.idleCalls, 1);
}

TEST_F(MessageLoop, TheQuitMessageEndsTheLoopWithItsCodeAndNoFrameFollows) {
    appActive = 1;
    quitAfterFrames = 1;
    quitCode = 0x1234;
    EXPECT_EQ(startMessageLoop(countingFrame), 0x1234);
    EXPECT_EQ(frames, 1);

    // Messages queued ahead of the quit are still dispatched; those after it are not.
    trace.clear();
    frames = 0;
    headlessPushMessage(WM_KEYDOWN, 27, 0);
    platPostQuitMessage(-5);
    headlessPushMessage(WM_KEYDOWN, 13, 0);
    EXPECT_EQ(startMessageLoop(countingFrame), -5);
    EXPECT_EQ(trace, "m256:27 ");
    EXPECT_EQ(frames, 0);
}

}  // namespace
