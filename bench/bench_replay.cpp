// What recording costs a frame, and how fast a recording plays back headless.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "Core/cmrand.h"
#include "busyscreen.h"
#include "headlessgame.h"
#include "dict/dictionary.h"
#include "flow/frame.h"
#include "flow/keydefs.h"
#include "flow/replay.h"
#include "flow/winproc.h"
#include "game/gamestate.h"
#include "game/grid.h"
#include "platform/headless/headless.h"
#include "video/display.h"

namespace {

using bench::GameFolder;
using bench::openHeadlessGame;

const std::string recordingPath = std::string(P_tmpdir) + "/tq-bench-replay.tqr";

// One record as a moving pointer makes it (arg 0) or as an idle frame (arg 1).
void BM_RecordAdd(benchmark::State& state) {
    static ReplayWriter writer;
    if (!replayWriterOpen(&writer, "/dev/null", ReplayHeader{})) {
        state.SkipWithError("cannot write /dev/null");
        return;
    }
    FrameInput record{};
    record.flags = INPUT_FRAME_RAN | INPUT_FRAME_DRAWN | INPUT_POINTER_READ;
    const bool idle = state.range(0) == 1;
    int32_t step = 0;
    for (auto _ : state) {
        record.time += 16 + (step & 1);
        record.players[0].moveX = idle ? 0 : (step % 9) - 4;
        record.players[0].moveY = idle ? 0 : (step % 7) - 3;
        step++;
        benchmark::DoNotOptimize(replayWriterAdd(&writer, record));
    }
    replayWriterClose(&writer);
}
BENCHMARK(BM_RecordAdd)->Arg(0)->Arg(1);

// Records a game of `frames` frames whose pointer wanders over the grid.
bool benchRecord(int32_t frames) {
    if (!openHeadlessGame()) return false;
    frameInput.time = platGetTickCount();
    if (!replayRecordStart(recordingPath.c_str())) return false;
    gameNew();
    headlessSetTicksPerFlip(17);
    for (int32_t i = 0; i < frames; i++) {
        headlessSetMouse(static_cast<int32_t>(cmRand() % 41) - 20, static_cast<int32_t>(cmRand() % 41) - 20,
                         i % 60 < 30);
        gameRunFrame();
    }
    replayRecordFinish();
    displayRelease();
    return true;
}

// Frames a second of a headless replay: the rules, every copy, the picture kept.
void BM_ReplayFrames(benchmark::State& state) {
    GameFolder folder;
    const int32_t frames = 3600;
    if (!benchRecord(frames)) {
        state.SkipWithError("the recording could not be made");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        if (!openHeadlessGame() || replayOpen(recordingPath.c_str()) != REPLAY_OPENED || !replayBegin()) {
            state.SkipWithError("the recording could not be played");
            return;
        }
        replayKeepPictures(true);
        gameNew();
        state.ResumeTiming();
        while (replayStep() != REPLAY_STEP_END) {
        }
        state.PauseTiming();
        if (replaySummary().frames != frames) state.SkipWithError("the replay lost frames");
        replayClose();
        displayRelease();
        state.ResumeTiming();
    }
    state.counters["frames/s"] = benchmark::Counter(static_cast<double>(frames) * static_cast<double>(state.iterations()),
                                                    benchmark::Counter::kIsRate);
    std::remove(recordingPath.c_str());
}
BENCHMARK(BM_ReplayFrames)->Unit(benchmark::kMillisecond);

}  // namespace
