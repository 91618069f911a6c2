#include "tests/VEK_GraphicsElement/GraphicsHost.h"

#include "tests/support/TestResources.h"
#include "tests/support/gui/MessagePump.h"

#include <cstdlib>

void startGraphicsResources() {
    graphicsGdiplus();
    startTestResources();
}

GdiplusScope& graphicsGdiplus() {
    static GdiplusScope scope;
    return scope;
}

GraphicsHost::GraphicsHost(SSize client) {
    startGraphicsResources();
    style = WS_POPUP;
    rect = SRect{30, 30, client.width, client.height};
    showInfoButton = 0;
    device.setBackgroundColor(Background);
}

bool GraphicsHost::open() {
    if (!create(nullptr)) return false;
    ShowWindow(hwnd, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd);
    MessagePump::flush();
    return true;
}

bool closeTo(COLORREF a, COLORREF b, int tolerance) {
    for (int shift = 0; shift <= 16; shift += 8)
        if (std::abs((int)((a >> shift) & 0xFF) - (int)((b >> shift) & 0xFF)) > tolerance) return false;
    return true;
}
