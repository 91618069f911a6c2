#include "tools/plant-model/TankModel.h"

#include <algorithm>
#include <cmath>

bool TankModel::isMixCommand(uint8_t first, uint8_t second) {
    return (first == 1 && second == 1) || (first == 2 && second == 1) || (first == 1 && second == 2);
}

void TankModel::applyMixCommand(uint8_t first, uint8_t second) {
    if (!isMixCommand(first, second)) return;
    ratio1 = first;
    ratio2 = second;
}

void TankModel::advance(double seconds) {
    if (!(seconds > 0.0)) return; // also NaN
    pendingSeconds += std::min(seconds, maxAdvanceSeconds);
    // A small tolerance keeps sums of short calls (10 × 0.001 s) from losing a step.
    while (pendingSeconds >= stepSeconds - 1e-9) {
        step();
        pendingSeconds -= stepSeconds;
    }
    if (pendingSeconds < 0.0) pendingSeconds = 0.0;
}

void TankModel::step() {
    double inflow = (pump1() + pump2()) * pumpRate;
    double outflow = levelValue * outletRate;
    levelValue = std::clamp(levelValue + (inflow - outflow) * stepSeconds, 0.0, fullLevel);
    if (filling && levelValue >= highMark) filling = false;
    else if (!filling && levelValue < lowMark) filling = true;
}

uint16_t TankModel::level() const {
    return (uint16_t)std::lround(levelValue);
}

// The larger share of the ratio runs at full speed, the other in proportion.
uint8_t TankModel::pump1() const {
    if (!filling) return 0;
    return (uint8_t)(100 * ratio1 / std::max(ratio1, ratio2));
}

uint8_t TankModel::pump2() const {
    if (!filling) return 0;
    return (uint8_t)(100 * ratio2 / std::max(ratio1, ratio2));
}

std::array<uint8_t, 9> TankModel::telemetryFrame() const {
    uint16_t value = level();
    return {0x55,
            0xAA,
            (uint8_t)(value & 0xFF),
            (uint8_t)(value >> 8),
            (uint8_t)(filling ? fillingStatus : 0),
            pump1(),
            pump2(),
            ratio1,
            ratio2};
}
