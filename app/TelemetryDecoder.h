// TelemetryDecoder: turns the plant controller's nine-byte telemetry frames
// (55 AA levelLow levelHigh status pump1 pump2 ratio1 ratio2), fed one byte at a time,
// into the effects on the plant display.
#pragma once

#include "app/TelemetryEffects.h"

class TelemetryDecoder {
public:
    explicit TelemetryDecoder(TelemetryEffects& effects) : effects(effects) {}

    void onReceiveByte(unsigned char b);
    // The window's timer tick: finishes a complete frame and hunts for the next one.
    void onTimer();

    int getLevel() const { return level; }
    int getState() const { return decoderState; }

    enum State { Idle = 0, HuntSync1, HuntSync2, LevelLow, LevelHigh, Status, Pump1, Pump2, Ratio1, Ratio2, Complete };

private:
    void setState(int state);

    TelemetryEffects& effects;
    int level = 0;
    int decoderState = HuntSync1;
};
