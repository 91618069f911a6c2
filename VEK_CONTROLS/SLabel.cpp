#include "VEK_CONTROLS/SLabel.h"

#include "VEK_GUI/SApplication.h"
#include "VEK_UTIL/SError.h"

bool SLabel::attach(SWindow* ownerWindow, const char* labelText, int x, int y, int w, int h) {
    if (!ownerWindow || !ownerWindow->isCreated() || !ownerWindow->isWindow()) {
        globalError.show("Das SLabel kann nicht erstellt werden, da der Eigent\374mer noch nicht erzeugt wurde.\r\n"
                         "Bitte f\374gen Sie das SLabel nach dem .createCtrl(..) des Eigent\374mers ein.",
                         0, "Fehler !", 16);
        return false;
    }
    owner = ownerWindow;
    text = labelText ? labelText : "";
    offsetX = x;
    offsetY = y;
    width = w;
    height = h;
    if (!createCtrl(owner->getParent(), text, 10, 10, DefaultSize, DefaultSize, 1)) return false;
    HWND watched = owner->getHwnd();
    for (UINT m : {(UINT)WM_MOVE, (UINT)WM_SIZE, (UINT)WM_CLOSE, (UINT)WM_SHOWWINDOW})
        globalApplication.addWatch(hwnd, watched, m, 0);
    place();
    return true;
}

void SLabel::place() {
    if (!owner || !owner->isWindow() || !hwnd) return;
    SRect o = owner->getWindowRect(false);
    moveWindow(o.x + offsetX, o.y + offsetY, width == -1 ? o.width : width, height == -1 ? o.height : height, true);
}

void SLabel::onWatchedMessage(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, LPARAM userValue) {
    SStatic::onWatchedMessage(h, msg, wParam, lParam, userValue);
    if (!owner || h != owner->getHwnd()) return;
    switch (msg) {
    case WM_MOVE:
    case WM_SIZE: place(); break;
    case WM_CLOSE: close(); break;
    case WM_SHOWWINDOW: show(wParam == 0 ? SW_HIDE : SW_RESTORE); break;
    default: break;
    }
}
