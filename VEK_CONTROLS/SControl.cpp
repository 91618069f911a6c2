#include "VEK_CONTROLS/SControl.h"

#include "VEK_GUI/SApplication.h"

#include <cstddef>

static_assert(offsetof(SCommandHeader, code) == offsetof(NMHDR, code) && sizeof(SCommandHeader) == sizeof(NMHDR),
              "a reflected WM_COMMAND is read as NMHDR");

SControl::SControl() {
    kind = 1;
    style = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    controlId = globalApplication.nextId();
    windowId = controlId;
    title.clear();
}

void SControl::setControlId(int id) {
    controlId = id;
    windowId = id;
    if (hwnd) SetWindowLongPtrA(hwnd, GWLP_ID, id);
}

LRESULT SControl::windowProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, bool& handled, LRESULT& result) {
    if (h == hwnd && h) {
        if (msg == MSG_REFLECT_CTLCOLOR) {
            handled = true;
            result = (LRESULT)onCtlColor((HDC)wParam);
            return result;
        }
        if (msg == MSG_REFLECT_NOTIFY && lParam) {
            // SCommandHeader (a reflected WM_COMMAND) has the layout of NMHDR.
            int code = (int)reinterpret_cast<NMHDR*>(lParam)->code;
            result = onReflectedNotify(code, reinterpret_cast<NMHDR*>(lParam));
            if (result != 0) {
                handled = true;
                return result;
            }
        }
    }
    return SWindow::windowProc(h, msg, wParam, lParam, handled, result);
}

int SControl::onReflectedNotify(int, NMHDR*) { return 0; }

// In its own paint, so the parent need not paint under it first and the text never flickers.
int SControl::onEraseBackground(SDevice& context) {
    HDC dc = context.getHdc();
    if (dc && parent && isSeeThrough() && parent->drawBehind(*this, dc)) return 1;
    return SWindow::onEraseBackground(context);
}

HBRUSH SControl::onCtlColor(HDC deviceContext) {
    COLORREF back = device.getTextBackColor();
    SetTextColor(deviceContext, device.getTextColor());
    if (back == SPainter::Transparent) {
        SetBkMode(deviceContext, TRANSPARENT);
        return (HBRUSH)GetStockObject(HOLLOW_BRUSH);
    }
    SetBkMode(deviceContext, OPAQUE);
    SetBkColor(deviceContext, back);
    return device.getTextBackBrush();
}
