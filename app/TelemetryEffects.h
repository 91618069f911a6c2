// TelemetryEffects: what the telemetry decoder does to the plant display. The main
// window binds each effect to its elements; tests bind them to recorders.
#pragma once

#include "VEK_UTIL/SString.h"

class TelemetryEffects {
public:
    virtual ~TelemetryEffects() = default;
    // The level value text ("Level = %d"), then the gauge and the chart at `level`.
    virtual void showLevel(const SString& valueText, int level) = 0;
    virtual void setStatusText(const SString& text) = 0; // "OK" or "FÜLLEN"
    virtual void setPump1(float value) = 0;
    virtual void setPump2(float value) = 0;
    virtual void setRatio1Text(const SString& text) = 0; // "%d"
    virtual void setRatio2Text(const SString& text) = 0; // ": %d"
    // After a complete frame, on the next timer tick: pump 1 first, then pump 2.
    virtual void repaintPump1() = 0;
    virtual void repaintPump2() = 0;
};
