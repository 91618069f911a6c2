// What the control suites share: the resource manager started once with the suite's styles,
// and a borderless frame whose client area is exactly its size.
#pragma once

#include "VEK_GUI/SFrameWindow.h"
#include "VEK_UTIL/SGeometry.h"

// Styles of the suite's controlpos.ini ([Control-Styles]):
//   SButton-normal   #102030,#405060,#405060,#708090 (four items: taken)
//   SButton-selected #123456,#654321                  (too few: the default stays)
//   stdFont          9,x,Arial                        (too few: ignored)
//   SEdit-normal     Arial,10,400,#000000,#ffffff     (too few: ignored)
//   Test-flat        #00ffff,#ff0000,#ff0000,#000000   (light = dark)
//   Test-raised      #00ffff,#ffffff,#000000,#000000   (light and dark differ)
void startControlResources();

class ControlHost : public SFrameWindow {
public:
    explicit ControlHost(SSize client = SSize{400, 300});
    const char* getClassName() const override { return "ControlHost"; }
    // Created, shown in front and painted.
    bool open();
};
