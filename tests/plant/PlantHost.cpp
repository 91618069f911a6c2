#include "tests/plant/PlantHost.h"

#include "VEK_GraphicsElement/SGraphicElement.h"
#include "tests/support/TestResources.h"
#include "tests/support/gui/GdiplusScope.h"
#include "tests/support/gui/MessagePump.h"

void startPlantResources() {
    static GdiplusScope gdiplus;
    startTestResources();
}

PlantHost::PlantHost(SSize client) {
    startPlantResources();
    style = WS_POPUP;
    rect = SRect{30, 30, client.width, client.height};
    showInfoButton = 0;
    device.setBackgroundColor(Background);
}

bool PlantHost::open() {
    if (!create(nullptr)) return false;
    ShowWindow(hwnd, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd);
    MessagePump::flush();
    return true;
}

WindowCapture PlantHost::shot() {
    MessagePump::flush();
    return WindowCapture::ofWindow(hwnd);
}

void PlantHost::invalidateElementArea(const SRect& area) {
    ++invalidations;
    SFrameWindowGraphics::invalidateElementArea(area);
}

bool PlantHost::chooseElementColor(uint32_t& argb) {
    argb = colorAnswer;
    return true;
}

int countIn(const WindowCapture& c, uint32_t argb, const SRect& r, int tolerance) {
    return c.countColor(colorRef(argb), RECT{r.x, r.y, r.x + r.width, r.y + r.height}, tolerance);
}

int menuIndex(SGraphicElement& element, const char* path) {
    int i = element.getMenu().find(SString(path));
    return i >= 0 ? i : -1;
}
