// TxtAufzeichnung: the main window's line under "Aufzeichnen": how many rows the recording
// has taken, or saved once it ended.
#pragma once

#include "VEK_CONTROLS/SStatic.h"

class TxtAufzeichnung : public SStatic {
public:
    // Declared with its window as parent, which creates it at its first show.
    explicit TxtAufzeichnung(SWindow& window);
    const char* getClassName() const override { return "TxtAufzeichnung"; }
};
