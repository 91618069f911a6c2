// TankModel: the mixing tank and its two-point controller, as the plant controller reports
// them in its nine-byte telemetry frame. Shared by the plant simulator on a pseudo-terminal
// and the experiment server, so both show the same plant. Deterministic: time passes only
// through advance(), in fixed steps, so equal calls give equal frames.
#pragma once

#include <array>
#include <cstdint>

class TankModel {
public:
    // Level in frame units (0 … 65535). The controller starts filling below lowMark and
    // stops at highMark, so the level swings between the two: inside the range the program's
    // gauge shows (1200 to 3200) and between its alarm limits (1600 and 2900).
    static constexpr double fullLevel = 65535.0;
    static constexpr double lowMark = 1800.0;
    static constexpr double highMark = 2700.0;
    // A pump at 100 adds pumpRate level units per second; the outlet drains outletRate of
    // the level per second (a little more the fuller the tank).
    static constexpr double pumpRate = 2.0;
    static constexpr double outletRate = 0.05;
    static constexpr double stepSeconds = 0.01;
    static constexpr double maxAdvanceSeconds = 3600.0; // longer calls are cut to this
    static constexpr uint8_t fillingStatus = 1;

    // Takes the two bytes of a mix command; only 1,1 / 2,1 / 1,2 are commands, any other
    // pair is ignored.
    void applyMixCommand(uint8_t first, uint8_t second);
    static bool isMixCommand(uint8_t first, uint8_t second);
    void advance(double seconds);
    // 0x55 0xAA, level low, level high, status, pump 1, pump 2, ratio first, ratio second.
    std::array<uint8_t, 9> telemetryFrame() const;

    uint16_t level() const;
    bool isFilling() const { return filling; }
    uint8_t pump1() const;
    uint8_t pump2() const;
    uint8_t ratioFirst() const { return ratio1; }
    uint8_t ratioSecond() const { return ratio2; }

private:
    void step();

    double levelValue = 0.0;
    double pendingSeconds = 0.0; // time not yet used up by whole steps
    bool filling = true;
    uint8_t ratio1 = 1;
    uint8_t ratio2 = 1;
};
