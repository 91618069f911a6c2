#include "VEK_CONTROLS/SButtonCtrl.h"

SButtonCtrl::SButtonCtrl() { className = "BUTTON"; }

LRESULT SButtonCtrl::windowProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, bool& handled, LRESULT& result) {
    if (msg == MSG_DIALOG_KEY && h == hwnd && h) {
        bool defaultPush = lParam == 0 && (getStyle() & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
        if ((lParam == controlId || defaultPush) && acceptsKeyClick()) click();
        handled = true;
        result = 0;
        return result;
    }
    return SControlPredefined::windowProc(h, msg, wParam, lParam, handled, result);
}

bool SButtonCtrl::acceptsKeyClick() const {
    DWORD s = getStyle();
    return (s & WS_VISIBLE) && !(s & WS_DISABLED);
}

int SButtonCtrl::onReflectedNotify(int code, NMHDR*) {
    if (code == BN_CLICKED) onClicked();
    return 0;
}

void SButtonCtrl::onAfterCreate() {
    SControlPredefined::onAfterCreate();
    device.setFillColor(0xA08D8C);
    device.setColors(SPainter::Keep, 0xA08D8C);
    device.setBackgroundColor(0xA08D8C);
    invalidate();
}

void SButtonCtrl::onClicked() {}

// With the button's own handle, as a click with the mouse sends it: the parent reflects it
// back, so onClicked runs for a key as for the mouse.
void SButtonCtrl::click() {
    if (!parent || !parent->getHwnd()) return;
    SendMessageA(parent->getHwnd(), WM_COMMAND, MAKEWPARAM(controlId, BN_CLICKED), (LPARAM)hwnd);
}
