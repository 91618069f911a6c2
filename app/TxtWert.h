// TxtWert: the main window's text of the level the telemetry last reported.
#pragma once

#include "VEK_CONTROLS/SStatic.h"

class TxtWert : public SStatic {
public:
    // Declared with its window as parent, which creates it at its first show.
    explicit TxtWert(SWindow& window);
    const char* getClassName() const override { return "TxtWert"; }
    void onFirstCreateStep() override;
};
