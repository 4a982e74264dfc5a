// The words on the board: building the prefix index from the shipped
// dictionary, and finding every word on full grids dealt by the game's own
// letter source, one seed per board.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "Core/cmrand.h"
#include "dict/dictindex.h"
#include "dict/dictionary.h"
#include "game/grid.h"
#include "game/objective.h"
#include "game/solver.h"
#include "busyscreen.h"

namespace {

using bench::GameFolder;

constexpr int32_t SOLVE_BOARDS = 1000;

void BM_SolverIndex(benchmark::State& state) {
    GameFolder folder;
    if (!dictLoad()) {
        state.SkipWithError("dictLoad failed");
        return;
    }
    for (auto _ : state) {
        dictIndexBuild();
        benchmark::ClobberMemory();
    }
    state.counters["nodes"] = static_cast<double>(dictIndexNodeCount);
    state.counters["words"] = static_cast<double>(dictIndexWordCount);
    state.counters["node_MB"] = static_cast<double>(dictIndexNodeCount * sizeof(DictIndexNode)) / 1e6;
}
BENCHMARK(BM_SolverIndex)->Unit(benchmark::kMillisecond);

// Each iteration solves the same 1,000 boards, each timed on its own. A
// board's time is the least of its runs, which leaves out the other work of a
// shared machine; median and worst are over the boards. worst_any_ms is the
// slowest single run, that other work included.
void BM_SolveBoard(benchmark::State& state) {
    GameFolder folder;
    if (!dictLoad()) {
        state.SkipWithError("dictLoad failed");
        return;
    }
    dictIndexBuild();
    gridClearAll();
    gridTotalLetterWeights();
    objective = Objective{};
    static char boards[SOLVE_BOARDS][GRID_SIZE][GRID_SIZE];
    for (int32_t b = 0; b < SOLVE_BOARDS; b++) {
        cmSrand(static_cast<uint32_t>(b + 1));
        gridNewGame(0);
        std::copy(&wordgrid[0][0][0], &wordgrid[0][0][0] + GRID_SIZE * GRID_SIZE, &boards[b][0][0]);
    }

    std::vector<double> best(SOLVE_BOARDS, 1e9);
    double worstAny = 0;
    int64_t words = 0;
    for (auto _ : state) {
        for (int32_t b = 0; b < SOLVE_BOARDS; b++) {
            std::copy(&boards[b][0][0], &boards[b][0][0] + GRID_SIZE * GRID_SIZE, &wordgrid[0][0][0]);
            SolverResult r;
            const auto start = std::chrono::steady_clock::now();
            solverSolve(0, &r);
            const auto end = std::chrono::steady_clock::now();
            benchmark::DoNotOptimize(r.wordCount);
            const double ms = std::chrono::duration<double, std::milli>(end - start).count();
            best[static_cast<size_t>(b)] = std::min(best[static_cast<size_t>(b)], ms);
            worstAny = std::max(worstAny, ms);
            words += r.wordCount;
        }
    }
    std::vector<double> sorted = best;
    std::sort(sorted.begin(), sorted.end());
    state.counters["median_ms"] = (sorted[SOLVE_BOARDS / 2 - 1] + sorted[SOLVE_BOARDS / 2]) / 2;
    state.counters["worst_ms"] = sorted.back();
    state.counters["worst_any_ms"] = worstAny;
    state.counters["words_per_board"] = static_cast<double>(words) / static_cast<double>(state.iterations() * SOLVE_BOARDS);
    state.SetItemsProcessed(state.iterations() * SOLVE_BOARDS);
}
BENCHMARK(BM_SolveBoard)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
