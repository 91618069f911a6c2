// TxtMix2: the main window's text of the second number of the mixing ratio, after its colon.
#pragma once

#include "VEK_CONTROLS/SStatic.h"

class TxtMix2 : public SStatic {
public:
    // Declared with its window as parent, which creates it at its first show.
    explicit TxtMix2(SWindow& window);
    const char* getClassName() const override { return "TxtMix2"; }
    void onFirstCreateStep() override;
};
