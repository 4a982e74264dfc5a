#include "game/gauge.h"

#include <cmath>

#include "sound/sound.h"

Gauge gaugeTable[GAUGE_COUNT];
GaugeWarning gaugeWarning;

// Float to int truncated toward zero, without the undefined cases of a plain
// cast (NaN or out of range).
static int32_t gaugeTruncate(float value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0f) return INT32_MAX;
    if (value <= -2147483648.0f) return INT32_MIN;
    return static_cast<int32_t>(value);
}

void gaugeTick(Gauge& g) {
    if (!g.running && g.drainTicks <= 0) return;
    if (g.drainTicks > 0) g.drainTicks--;
    g.level -= g.drainRate;
    if (g.level < 0.0f) g.level = 0.0f;
}

bool gaugeIsEmpty(const Gauge& g) { return g.level == 0.0f; }

void gaugeStart(Gauge& g) { g.running = 1; }

void gaugeStop(Gauge& g) {
    if (!g.running) return;
    g.running = 0;
    g.fullLevel += g.fullLevelGrowth;
}

void gaugeReset(Gauge& g) {
    g.level = g.resetLevel;
    g.fullLevel = g.initialFullLevel;
    g.drainRate = g.initialDrainRate;
    g.drainTicks = 0;
}

void gaugeAdd(Gauge& g, float amount) {
    const float a = amount * (g.running ? g.gainWhileRunning : g.gainWhileStopped);
    const float sum = g.level + a;
    if (sum < g.softCap) {
        g.level = sum;
    } else {
        // The whole addition is halved, not only the part above the cap.
        const float half = a * 0.5f;
        g.level = g.level + half;
    }
    if (g.level >= g.fullLevel) g.level = g.fullLevel;
    if (g.running) g.drainRate += g.drainRateGrowth;
}

int32_t gaugePercent(const Gauge& g) {
    // Kept in float on purpose: 5700 of 10000 must give 57, which double
    // arithmetic would truncate to 56.
    if (g.fullLevel == 0.0f) return 0;
    const float ratio = g.level / g.fullLevel;
    const float percent = ratio * 100.0f;
    return gaugeTruncate(percent);
}

int32_t gaugeSecondsLeft(const Gauge& g) {
    if (g.drainRate == 0.0f) return 1;
    const float perSecond = g.drainRate * 60.0f;
    const float seconds = g.level / perSecond;
    return gaugeTruncate(seconds);
}

void gaugeWarnLowLife(uint32_t now) {
    if (!lifeGauge.running || gaugePercent(lifeGauge) >= GAUGE_LOW_LIFE_PERCENT) {
        gaugeWarning.sounded = false;
        return;
    }
    // Elapsed time, not a sum: the tick count wraps.
    if (gaugeWarning.sounded && now - gaugeWarning.time < GAUGE_LOW_LIFE_REPEAT_MS) return;
    sndPlay(SOUND_LOW_LIFE);
    gaugeWarning = GaugeWarning{true, now};
}

void gaugeClearAll() {
    for (Gauge& g : gaugeTable) g = Gauge{};
    gaugeWarning = GaugeWarning{};
}
