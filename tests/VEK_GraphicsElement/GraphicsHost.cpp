#include "tests/VEK_GraphicsElement/GraphicsHost.h"

#include "VEK_GraphicsElement/SGraphicElement.h"

#include "tests/support/TestResources.h"
#include "tests/support/gui/GdiplusScope.h"
#include "tests/support/gui/MessagePump.h"

#include <cstdlib>

void startGraphicsResources() {
    static GdiplusScope gdiplus;
    startTestResources();
}

GraphicsHost::GraphicsHost(SSize client) : BareFrame("GraphicsHost", client) {
    startGraphicsResources();
    device.setBackgroundColor(Background);
}

WindowCapture GraphicsHost::shot() {
    MessagePump::flush();
    return WindowCapture::ofWindow(hwnd);
}

void GraphicsHost::invalidateElementArea(const SRect& area) {
    ++invalidations;
    SFrameWindowGraphics::invalidateElementArea(area);
}

bool GraphicsHost::chooseElementColor(uint32_t& argb) {
    if (!colorAnswer) return SFrameWindowGraphics::chooseElementColor(argb);
    argb = colorAnswer;
    return true;
}

bool closeTo(COLORREF a, COLORREF b, int tolerance) {
    for (int shift = 0; shift <= 16; shift += 8)
        if (std::abs((int)((a >> shift) & 0xFF) - (int)((b >> shift) & 0xFF)) > tolerance) return false;
    return true;
}

int countIn(const WindowCapture& c, uint32_t argb, const SRect& r, int tolerance) {
    return c.countColor(colorRef(argb), RECT{r.x, r.y, r.x + r.width, r.y + r.height}, tolerance);
}

int menuIndex(SGraphicElement& element, const char* path) {
    element.buildMenu();
    return element.getMenu().find(SString(path));
}
