// TxtAktion: the main window's text of what the controller is doing: "OK" or filling.
#pragma once

#include "VEK_CONTROLS/SStatic.h"

class TxtAktion : public SStatic {
public:
    // Declared with its window as parent, which creates it at its first show.
    explicit TxtAktion(SWindow& window);
    const char* getClassName() const override { return "TxtAktion"; }
    void onFirstCreateStep() override;
};
