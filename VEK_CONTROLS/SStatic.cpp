#include "VEK_CONTROLS/SStatic.h"

#include "VEK_ARRAYS/SStringList.h"

SStatic::SStatic() {
    className = "STATIC";
    style &= ~WS_TABSTOP;
    device.setColors(SPainter::Keep, SPainter::Transparent);
    styleName.setRaw("SStatic-normal");
}

// Size in points, text colour, face, weight.
void SStatic::onBeforeCreate() {
    SControlPredefined::onBeforeCreate();
    SStringList items;
    if (styleItems("SStatic-normal", items) <= 3) return;
    device.setFont(items[2], scaled(items[0].toNumber()), -2, -2, items[3].toNumber());
    device.setColors((COLORREF)items[1].toNumber(), SPainter::Transparent);
}

// The same text again shows nothing new: telemetry sets its texts with every frame. A new
// one is set with redraw off, or the platform's static would draw it at once over the old
// text; the paint that follows draws the background first.
void SStatic::setWindowText(const char* text) {
    if (hwnd && getWindowText() == (text ? text : "")) return;
    invalidateBehind();
    const bool shown = hwnd && (GetWindowLongA(hwnd, GWL_STYLE) & WS_VISIBLE);
    if (shown) SendMessageA(hwnd, WM_SETREDRAW, FALSE, 0);
    SControlPredefined::setWindowText(text);
    if (!shown) return;
    SendMessageA(hwnd, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
}
