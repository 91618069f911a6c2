#include "VEK_CONTROLS/SEdit.h"

#include "VEK_ARRAYS/SStringList.h"
#include "VEK_CONTROLS/SLabel.h"
#include "VEK_UTIL/SError.h"

SEdit::SEdit() {
    className = "EDIT";
    exStyle = WS_EX_CLIENTEDGE;
    device.setFillColor(0xFFFFFF);
    device.setColors(0x000000, 0xFFFFFF);
    styleName.setRaw("SEdit-normal");
}

SEdit::~SEdit() = default;

// Face, size in points, weight, text colour, background colour, border colour.
void SEdit::onBeforeCreate() {
    SControlPredefined::onBeforeCreate();
    SStringList items;
    if (styleItems("SEdit-normal", items) <= 5) return;
    device.setFont(items[0], scaled(items[1].toNumber()), -2, -2, items[2].toNumber());
    device.setColors((COLORREF)items[3].toNumber(), (COLORREF)items[4].toNumber());
    borderColor = (COLORREF)items[5].toNumber();
    setBackground((COLORREF)items[4].toNumber());
}

void SEdit::setBackground(COLORREF colour) {
    device.setFillColor(colour);
    device.setColors(SPainter::Keep, colour);
    if (hwnd) invalidate();
}

// The platform draws its edge and scroll bars first; the border goes over the outer ring.
bool SEdit::onNcPaint(SDevice& target) {
    callDefaultProc(hwnd, WM_NCPAINT, 1, 0);
    SRect w = getWindowRect(true);
    target.setPen(borderColor, 1, PS_SOLID);
    target.rectangle(SRect{0, 0, w.width, w.height}, borderColor, SPainter::Transparent);
    return true;
}

bool SEdit::addLabel(const char* text, int x, int y, int w, int h) { return addLabelTo(*this, label, text, x, y, w, h); }

bool SEdit::addLabelTo(SControlPositioned& control, std::unique_ptr<SLabel>& slot, const char* text, int x, int y,
                       int w, int h) {
    if (slot) {
        globalError.show("Ein Label kann nur einmal zu einem Control hinzugef\374gt werden. ", 0, "Fehler !", 16);
        return false;
    }
    auto made = std::make_unique<SLabel>();
    // -1 (the owner's size) is a marker, not a size: it is not scaled.
    auto scale = [](int v) { return v == -1 ? v : scaled(v); };
    if (!made->attach(&control, text, scaled(x), scaled(y), scale(w), scale(h))) return false;
    slot = std::move(made);
    return true;
}
