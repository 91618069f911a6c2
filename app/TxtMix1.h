// TxtMix1: the main window's text of the first number of the mixing ratio, right-aligned
// against the second.
#pragma once

#include "VEK_CONTROLS/SStatic.h"

class TxtMix1 : public SStatic {
public:
    // Declared with its window as parent, which creates it at its first show.
    explicit TxtMix1(SWindow& window);
    const char* getClassName() const override { return "TxtMix1"; }
    void onFirstCreateStep() override;
};
