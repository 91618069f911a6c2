#include "tests/chart/ChartHost.h"

#include "tests/support/TestResources.h"
#include "tests/support/gui/MessagePump.h"

ChartHost::ChartHost(SSize client) {
    startTestResources();
    style = WS_POPUP;
    rect = SRect{30, 30, client.width, client.height};
    setShowInfoButton(false);
}

bool ChartHost::open() {
    if (!create(nullptr)) return false;
    ShowWindow(hwnd, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd);
    MessagePump::flush();
    return true;
}
