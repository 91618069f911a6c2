// A borderless frame whose client area is exactly its size, for the chart suites.
#pragma once

#include "VEK_GUI/SFrameWindow.h"
#include "VEK_UTIL/SGeometry.h"

class ChartHost : public SFrameWindow {
public:
    explicit ChartHost(SSize client = SSize{300, 200});
    const char* getClassName() const override { return "ChartHost"; }
    // Created, shown in front and painted; declared controls are created on the way.
    bool open();
};
