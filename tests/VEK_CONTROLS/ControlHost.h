// What the control suites share: the resource manager started once with the suite's styles,
// and a borderless frame.
#pragma once

#include "VEK_GUI/SFrameWindow.h"
#include "tests/support/TestResources.h"
#include "tests/support/gui/BareFrame.h"

// Styles of the suite's controlpos.ini: light and dark edges the same colour (flat) or not.
inline void startControlResources() {
    startTestResources("[Control-Styles]\r\n"
                       "Test-flat=#00ffff,#ff0000,#ff0000,#000000\r\n"
                       "Test-raised=#00ffff,#ffffff,#000000,#000000\r\n");
}

class ControlHost : public BareFrame<SFrameWindow> {
public:
    explicit ControlHost(SSize client = SSize{400, 300}) : BareFrame("ControlHost", client) {
        startControlResources();
    }
};
