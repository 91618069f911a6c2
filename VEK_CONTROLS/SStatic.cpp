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

void SStatic::setWindowText(const char* text) {
    invalidateBehind();
    SControlPredefined::setWindowText(text);
}
