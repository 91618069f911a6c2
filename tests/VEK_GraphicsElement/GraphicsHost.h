// What the graphics suites share: the resource manager started once with an empty
// controlpos.ini in a temporary application folder, GDI+ running, and a borderless graphics
// frame whose client area is exactly its size.
#pragma once

#include "VEK_GraphicsElement/SFrameWindowGraphics.h"
#include "tests/support/gui/GdiplusScope.h"

#include <windows.h>

void startGraphicsResources();
GdiplusScope& graphicsGdiplus();

class GraphicsHost : public SFrameWindowGraphics {
public:
    static constexpr COLORREF Background = 0xF0F0F0;
    explicit GraphicsHost(SSize client = SSize{400, 300});
    const char* getClassName() const override { return "GraphicsHost"; }
    // Created, shown in front and painted.
    bool open();
};

// ARGB colours of the tests and what a capture shows of them (0x00BBGGRR).
constexpr COLORREF colorRef(uint32_t argb) {
    return (COLORREF)(((argb >> 16) & 0xFF) | (argb & 0xFF00) | ((argb & 0xFF) << 16));
}
// Whether two captured colours differ by at most tolerance on every channel.
bool closeTo(COLORREF a, COLORREF b, int tolerance = 8);
