// The frame the chart suites place their controls in.
#pragma once

#include "VEK_GUI/SFrameWindow.h"
#include "tests/support/TestResources.h"
#include "tests/support/gui/BareFrame.h"

class ChartHost : public BareFrame<SFrameWindow> {
public:
    explicit ChartHost(SSize client = SSize{300, 200}) : BareFrame("ChartHost", client) { startTestResources(); }
};
