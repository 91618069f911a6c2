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
// one is stored by the default procedure, not by the platform's static, which would draw it at
// once over the old text; the paint that follows draws the background first. (Turning redraw
// off and on around the static's own WM_SETTEXT did the same with two more style changes,
// each a request to the server under Wine, for every frame.)
void SStatic::setWindowText(const char* text) {
    if (!hwnd) {
        SControlPredefined::setWindowText(text);
        return;
    }
    if (getWindowText() == (text ? text : "")) return;
    invalidateBehind();
    DefWindowProcA(hwnd, WM_SETTEXT, 0, (LPARAM)(text ? text : ""));
    if (GetWindowLongA(hwnd, GWL_STYLE) & WS_VISIBLE) RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
}
