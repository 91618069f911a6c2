// TelemetryDecoder: turns the plant controller's nine-byte telemetry frames
// (55 AA levelLow levelHigh status pump1 pump2 ratio1 ratio2), fed one byte at a time,
// into the effects on the plant display. It also counts the line's health.
#pragma once

#include "app/TelemetryEffects.h"

#include <cstdint>

class TelemetryDecoder {
public:
    explicit TelemetryDecoder(TelemetryEffects& effects) : effects(effects) {}

    void onReceiveByte(unsigned char b);
    // The window's timer tick: finishes a complete frame and hunts for the next one.
    void onTimer();

    // The line's health since startLine: complete frames, bytes skipped while hunting for the
    // sync bytes (noise, the rest of a frame cut short), all bytes, and bytes per second.
    struct Counts {
        uint64_t frames = 0;
        uint64_t rejected = 0;
        uint64_t bytes = 0;
        uint32_t bytesPerSecond = 0;
    };
    const Counts& getCounts() const { return counts; }
    // A new connection: the counts start again. Decoding goes on where it was.
    void startLine();
    // Called with a millisecond clock (wrapping); the rate is that of the last full second.
    void measureRate(uint32_t nowMs);

    int getLevel() const { return level; }
    int getState() const { return decoderState; }

    enum State { Idle = 0, HuntSync1, HuntSync2, LevelLow, LevelHigh, Status, Pump1, Pump2, Ratio1, Ratio2, Complete };

private:
    void setState(int state);

    TelemetryEffects& effects;
    int level = 0;
    int decoderState = HuntSync1;
    Counts counts;
    // The next byte should begin a frame, so a skipped one is noise. Not so at the start of a
    // line, nor after bytes were lost waiting for the tick: the rest of that frame is skipped.
    bool aligned = false;
    bool rateStarted = false;
    uint32_t rateFrom = 0;      // start of the present second
    uint64_t bytesAtRateFrom = 0;
};
