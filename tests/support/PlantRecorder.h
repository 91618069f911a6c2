// PlantRecorder: telemetry effects that keep the levels shown and the ratio text, for suites
// that check what reached the decoder.
#pragma once

#include "app/TelemetryEffects.h"

#include <string>
#include <vector>

class PlantRecorder : public TelemetryEffects {
public:
    std::vector<int> levels;
    std::string ratio;
    void showLevel(const SString&, int level) override { levels.push_back(level); }
    void setRatio1Text(const SString& t) override { ratio = t.getBuffer(); }
    void setRatio2Text(const SString& t) override { ratio += t.getBuffer(); }
    void setStatusText(const SString&) override {}
    void setPump1(float) override {}
    void setPump2(float) override {}
    void repaintPump1() override {}
    void repaintPump2() override {}
};
