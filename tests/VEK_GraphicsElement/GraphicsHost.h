// What the graphics and plant suites share: the resource manager started once with an empty
// controlpos.ini, GDI+ running, and a borderless graphics frame that counts the repaints its
// elements ask for and may answer their colour dialog itself.
#pragma once

#include "VEK_GraphicsElement/SFrameWindowGraphics.h"
#include "tests/support/gui/BareFrame.h"
#include "tests/support/gui/WindowCapture.h"

#include <windows.h>

void startGraphicsResources();

class GraphicsHost : public BareFrame<SFrameWindowGraphics> {
public:
    static constexpr COLORREF Background = 0xF0F0F0;
    explicit GraphicsHost(SSize client = SSize{400, 300});
    // Paints what is pending and takes the client area.
    WindowCapture shot();

    void invalidateElementArea(const SRect& area) override;
    bool chooseElementColor(uint32_t& argb) override;

    int invalidations = 0;
    uint32_t colorAnswer = 0; // 0: the real colour dialog
};

// ARGB colours of the tests and what a capture shows of them (0x00BBGGRR).
constexpr COLORREF colorRef(uint32_t argb) {
    return (COLORREF)(((argb >> 16) & 0xFF) | (argb & 0xFF00) | ((argb & 0xFF) << 16));
}
// Whether two captured colours differ by at most tolerance on every channel.
bool closeTo(COLORREF a, COLORREF b, int tolerance = 8);
// Pixels of a colour in the rectangle x, y, width, height.
int countIn(const WindowCapture& c, uint32_t argb, const SRect& r, int tolerance = 0);
// The index of a menu entry of an element, built anew; -1 when missing.
int menuIndex(SGraphicElement& element, const char* path);
