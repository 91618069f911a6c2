// Verlauf: the main window's chart of the level over time, a blue line on white.
#pragma once

#include "VEK_GraphicsElement/SChartControl.h"

class Verlauf : public SChartControl {
public:
    // Declared with its window as parent, which creates it at its first show.
    explicit Verlauf(SWindow& window);
    const char* getClassName() const override { return "Verlauf"; }
    void onAfterCreate() override;
};
