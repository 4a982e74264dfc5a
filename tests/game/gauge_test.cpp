#include <gtest/gtest.h>

#include "game/gauge.h"

namespace {

Gauge makeGauge(float level, float fullLevel, float softCap, bool running) {
    Gauge g{};
    g.level = level;
    g.fullLevel = fullLevel;
    g.softCap = softCap;
    g.gainWhileRunning = 3.0f;
    g.gainWhileStopped = 1.0f;
    g.drainRate = 0.5f;
    g.drainRateGrowth = 0.25f;
    g.running = running ? 1 : 0;
    return g;
}

class GaugeTest : public ::testing::Test {
protected:
    void SetUp() override { gaugeClearAll(); }
};

struct AddCase {
    const char* name;
    bool running;
    float level;
    float softCap;
    float amount;
    float expectLevel;
    float expectDrainRate;
};

TEST_F(GaugeTest, AddScalesByGainHalvesAtSoftCapAndClampsAtFull) {
    // Full level 200; stopped gain 1, running gain 3; drain rate 0.5 growing by 0.25.
    const AddCase cases[] = {
        {"stopped below cap adds whole", false, 100.0f, 200.0f, 25.0f, 125.0f, 0.5f},
        {"stopped reaching cap: halved, then clamped", false, 190.0f, 200.0f, 25.0f, 200.0f, 0.5f},
        {"sum exactly at cap is halved", false, 150.0f, 200.0f, 50.0f, 175.0f, 0.5f},
        {"already above cap is halved", false, 160.0f, 150.0f, 10.0f, 165.0f, 0.5f},
        {"running uses its own gain and speeds the drain", true, 10.0f, 200.0f, 10.0f, 40.0f, 0.75f},
        {"running over cap: whole addition halved", true, 150.0f, 160.0f, 20.0f, 180.0f, 0.75f},
    };
    for (const AddCase& c : cases) {
        Gauge g = makeGauge(c.level, 200.0f, c.softCap, c.running);
        gaugeAdd(g, c.amount);
        EXPECT_FLOAT_EQ(g.level, c.expectLevel) << c.name;
        EXPECT_FLOAT_EQ(g.drainRate, c.expectDrainRate) << c.name;
    }
}

TEST_F(GaugeTest, AddOverCapIsHalvedBeforeTheClamp) {
    // 190 + 25 reaches the cap of 200: only 12.5 counts, giving 202.5 under a full level of 250.
    Gauge g = makeGauge(190.0f, 250.0f, 200.0f, false);
    gaugeAdd(g, 25.0f);
    EXPECT_FLOAT_EQ(g.level, 202.5f);
}

TEST_F(GaugeTest, PercentIsComputedInFloatAndTruncated) {
    struct Case { float level, full; int32_t expect; };
    const Case cases[] = {
        {6000.0f, 10000.0f, 60},
        {5700.0f, 10000.0f, 57},  // double arithmetic would give 56
        {90.0f, 180.0f, 50},
        {89.9f, 180.0f, 49},
        {180.0f, 180.0f, 100},
        {0.0f, 180.0f, 0},
        {0.0f, 0.0f, 0},          // gauges never preset yet
    };
    for (const Case& c : cases) {
        Gauge g = makeGauge(c.level, c.full, c.full, false);
        EXPECT_EQ(gaugePercent(g), c.expect) << c.level << " of " << c.full;
    }
    // The 57 case is only meaningful because double truncation differs.
    EXPECT_EQ(static_cast<int>(5700.0 / 10000.0 * 100.0), 56);
}

TEST_F(GaugeTest, SecondsLeftAtSixtyTicksASecond) {
    struct Case { float level, drainRate; int32_t expect; };
    const Case cases[] = {
        {4500.0f, 0.75f, 100},
        {50.0f, 0.125f, 6},
        {6000.0f, 0.75f, 133},
        {4500.0f, 0.0f, 1},
        {0.0f, 0.0f, 1},
        {0.0f, 0.75f, 0},
    };
    for (const Case& c : cases) {
        Gauge g = makeGauge(c.level, 10000.0f, 10000.0f, true);
        g.drainRate = c.drainRate;
        EXPECT_EQ(gaugeSecondsLeft(g), c.expect) << c.level << " at " << c.drainRate;
    }
}

TEST_F(GaugeTest, StoppedGaugeDrainsForItsDrainTicksOnly) {
    Gauge g = makeGauge(100.0f, 180.0f, 180.0f, false);
    g.drainTicks = 30;
    for (int i = 0; i < 30; i++) gaugeTick(g);
    EXPECT_FLOAT_EQ(g.level, 85.0f);
    EXPECT_EQ(g.drainTicks, 0);
    gaugeTick(g);
    EXPECT_FLOAT_EQ(g.level, 85.0f);
}

TEST_F(GaugeTest, RunningGaugeDrainsToZeroAndEmpties) {
    Gauge g = makeGauge(1.2f, 180.0f, 180.0f, true);
    gaugeTick(g);
    EXPECT_FALSE(gaugeIsEmpty(g));
    gaugeTick(g);
    gaugeTick(g);
    EXPECT_FLOAT_EQ(g.level, 0.0f);
    EXPECT_TRUE(gaugeIsEmpty(g));
    EXPECT_EQ(g.drainTicks, 0);
}

TEST_F(GaugeTest, StopGrowsFullLevelOnlyWhenRunning) {
    Gauge g = makeGauge(50.0f, 180.0f, 180.0f, false);
    g.fullLevelGrowth = 40.0f;
    gaugeStop(g);
    EXPECT_FLOAT_EQ(g.fullLevel, 180.0f);
    EXPECT_EQ(g.running, 0);
    gaugeStart(g);
    EXPECT_EQ(g.running, 1);
    gaugeStop(g);
    EXPECT_EQ(g.running, 0);
    EXPECT_FLOAT_EQ(g.fullLevel, 220.0f);
}

TEST_F(GaugeTest, ResetRestoresInitialsButNotRunning) {
    Gauge g = makeGauge(50.0f, 220.0f, 180.0f, true);
    g.resetLevel = 6000.0f;
    g.initialFullLevel = 10000.0f;
    g.initialDrainRate = 0.75f;
    g.drainTicks = 12;
    gaugeReset(g);
    EXPECT_FLOAT_EQ(g.level, 6000.0f);
    EXPECT_FLOAT_EQ(g.fullLevel, 10000.0f);
    EXPECT_FLOAT_EQ(g.drainRate, 0.75f);
    EXPECT_EQ(g.drainTicks, 0);
    EXPECT_EQ(g.running, 1);
}

}  // namespace
