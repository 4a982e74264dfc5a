// A gauge is a bar that drains once per frame and fills with every word made.
// The game has three of them, kept in gaugeTable in the order the frame update
// ticks them: the level timer (LIFE), the Drag Bar and a third, hidden gauge.
#pragma once

#include <cstdint>

struct Gauge {
    float resetLevel;        // level after gaugeReset
    float fullLevel;         // additions never raise level above it
    float initialFullLevel;  // fullLevel after gaugeReset
    float softCap;           // from this level on, additions count half
    float level;
    float initialDrainRate;  // drainRate after gaugeReset
    float drainRate;         // removed per tick
    float drainRateGrowth;   // added to drainRate by every addition made while running
    int32_t drainTicks;      // ticks it goes on draining while not running
    float gainWhileRunning;  // multiplier of additions while running
    float gainWhileStopped;  // multiplier of additions while not running
    float fullLevelGrowth;   // added to fullLevel each time the gauge is stopped
    uint8_t running;
};

constexpr int32_t GAUGE_COUNT = 3;
constexpr int32_t GAUGE_LIFE = 0;
constexpr int32_t GAUGE_DRAG = 1;
constexpr int32_t GAUGE_CYCLE = 2;

extern Gauge gaugeTable[GAUGE_COUNT];
inline Gauge& lifeGauge = gaugeTable[GAUGE_LIFE];
inline Gauge& dragGauge = gaugeTable[GAUGE_DRAG];
inline Gauge& cycleGauge = gaugeTable[GAUGE_CYCLE];

// One frame of draining.
void gaugeTick(Gauge& g);
bool gaugeIsEmpty(const Gauge& g);
void gaugeStart(Gauge& g);
// Only a running gauge stops; stopping raises fullLevel by fullLevelGrowth.
void gaugeStop(Gauge& g);
// level, fullLevel, drainRate back to their initial values, drainTicks 0; running unchanged.
void gaugeReset(Gauge& g);
// Adds amount times the gain of the gauge's running state (halved at and above
// softCap, capped at fullLevel); while running, each addition speeds the drain.
void gaugeAdd(Gauge& g, float amount);
// level as a whole percentage of fullLevel, truncated; 0 while fullLevel is 0.
int32_t gaugePercent(const Gauge& g);
// Whole seconds left at 60 ticks a second; 1 when the gauge does not drain.
int32_t gaugeSecondsLeft(const Gauge& g);

// The LIFE gauge running under a fifth of full sounds a warning, repeated at
// most once a second while it stays there.
constexpr int32_t GAUGE_LOW_LIFE_PERCENT = 20;
constexpr uint32_t GAUGE_LOW_LIFE_REPEAT_MS = 1000;

struct GaugeWarning {
    bool sounded;   // since the gauge last went low
    uint32_t time;  // when it last sounded
};
extern GaugeWarning gaugeWarning;

// Sounds the warning when it is due at `now`, the frame's time.
void gaugeWarnLowLife(uint32_t now);

// All three gauges to zero, no warning sounded (for tests and a cold start).
void gaugeClearAll();
