#include "tests/VEK_CONTROLS/ControlHost.h"

#include "tests/support/TestResources.h"
#include "tests/support/gui/MessagePump.h"

void startControlResources() {
    const char styles[] = "[Control-Styles]\r\n"
                          "SButton-normal=#102030,#405060,#405060,#708090\r\n"
                          "SButton-selected=#123456,#654321\r\n"
                          "stdFont=9,x,Arial\r\n"
                          "SEdit-normal=Arial,10,400,#000000,#ffffff\r\n"
                          "Test-flat=#00ffff,#ff0000,#ff0000,#000000\r\n"
                          "Test-raised=#00ffff,#ffffff,#000000,#000000\r\n";
    startTestResources(styles);
}

ControlHost::ControlHost(SSize client) {
    startControlResources();
    style = WS_POPUP;
    rect = SRect{30, 30, client.width, client.height};
    showInfoButton = 0;
}

bool ControlHost::open() {
    if (!create(nullptr)) return false;
    ShowWindow(hwnd, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd);
    MessagePump::flush();
    return true;
}
