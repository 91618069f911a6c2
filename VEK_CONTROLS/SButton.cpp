#include "VEK_CONTROLS/SButton.h"

#include "VEK_ARRAYS/SStringList.h"

namespace {

// The library's default button styles (with the default colour variables).
const char* const kNormal = "#f0f0ff,#a0a0ff,#a0a0ff,#5050ff";
const char* const kSelected = "#d0d0ff,#a0a0ff,#a0a0ff,#5050ff";
const char* const kDisabled = "#f0f0f0,#a0a0a0,#f0f0f0,#a0a0a0";

} // namespace

SButton::SButton() {
    style |= BS_OWNERDRAW;
    normalColors.addFromText(kNormal);
    selectedColors.addFromText(kSelected);
    mouseOverColors.addFromText(kSelected);
    disabledColors.addFromText(kDisabled);
}

LRESULT SButton::windowProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, bool& handled, LRESULT& result) {
    if (h == hwnd && h) {
        switch (msg) {
        case MSG_DEFAULT_BUTTON: {
            int now = lParam != 0 && lParam == controlId ? 1 : 0;
            if (now != isDefault) {
                isDefault = now;
                invalidate();
            }
            handled = true;
            return result = 0;
        }
        case MSG_DIALOG_KEY:
            if (lParam == 0 && isDefault && acceptsKeyClick()) click();
            break;
        case MSG_REFLECT_DRAWITEM: {
            const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item) drawButton(item->rcItem, item->itemState, item->hDC);
            handled = true;
            return result = 1;
        }
        case WM_ERASEBKGND:
            // drawButton paints the whole face; erasing first would only flicker.
            handled = true;
            return result = 1;
        default: break;
        }
    }
    return SButtonCtrl::windowProc(h, msg, wParam, lParam, handled, result);
}

void SButton::readColors(const char* name, SNumList& colors) {
    SStringList items;
    if (styleItems(name, items) < 4) return;
    colors.clear();
    for (int i = 0; i < 4; ++i) colors.add(items[i].toNumber());
}

void SButton::onBeforeCreate() {
    SButtonCtrl::onBeforeCreate();
    SStringList items;
    if (styleItems("SButton-form", items) >= 2) form = SSize{items[0].toNumber(), items[1].toNumber()};
    readColors("SButton-normal", normalColors);
    readColors("SButton-selected", selectedColors);
    readColors("SButton-mouseover", mouseOverColors);
    readColors("SButton-disabled", disabledColors);
    if (styleItems("stdFont", items) > 3)
        device.setFont(items[2], scaled(items[0].toNumber()), 0, 0, items[3].toNumber());
}

void SButton::setDefault() {
    if (!hwnd) {
        isDefault = 1;
        return;
    }
    if (parent && parent->getHwnd()) parent->sendToChildren(MSG_DEFAULT_BUTTON, 0, controlId);
}

void SButton::onMouseMove(int keys, int x, int y) {
    SButtonCtrl::onMouseMove(keys, x, y);
    if (!mouseOver) {
        mouseOver = 1;
        trackMouse(true, false);
        onMouseEnter();
    }
    setCursor(32649); // IDC_HAND
}

void SButton::onMouseLeave() {
    SButtonCtrl::onMouseLeave();
    mouseOver = 0;
    invalidate();
}

void SButton::onMouseEnter() { invalidate(); }

const SNumList& SButton::colorsFor(UINT itemState) const {
    if (itemState & (ODS_GRAYED | ODS_DISABLED)) return disabledColors;
    if (itemState & ODS_SELECTED) return selectedColors;
    if (mouseOver) return mouseOverColors;
    return normalColors;
}

void SButton::drawButton(const RECT& area, UINT itemState, HDC deviceContext) {
    SRect r{area.left, area.top, area.right - area.left, area.bottom - area.top};
    const SNumList& c = colorsFor(itemState);
    device.beginPaint(deviceContext);
    device.setPen(SPainter::Keep, 1, PS_SOLID);
    SRect textRect;
    if (c[1] == c[2])
        drawFlat(r, c, textRect);
    else
        drawRaised(r, c, textRect);
    device.setColors((COLORREF)c[3], SPainter::Keep);
    COLORREF back = device.getTextBackColor();
    device.setColors(SPainter::Keep, SPainter::Transparent);
    device.drawText(textRect, getWindowText(), "hve");
    device.setColors(SPainter::Keep, back);
    if (itemState & ODS_FOCUS) {
        int y = r.y + r.height - 4 - 1;
        device.line(r.x + 6, y, r.x + r.width - 6, y, (COLORREF)c[3]);
    }
    device.endPaint();
}

void SButton::drawFlat(const SRect& r, const SNumList& c, SRect& textRect) {
    COLORREF face = (COLORREF)c[0], light = (COLORREF)c[1];
    device.roundRect(r, form, light, face);
    if (isDefault) device.roundRect(SRect{r.x + 1, r.y + 1, r.width - 2, r.height - 2}, form, light, SPainter::Transparent);
    int inset = isDefault ? 2 : 1;
    textRect = SRect{r.x + inset, r.y, r.width - 2 * inset, r.height};
}

// Dark outline one pixel right and down, light outline over it one pixel left and up: the
// top and left edges come out light, the bottom and right ones dark.
void SButton::drawRaised(const SRect& r, const SNumList& c, SRect& textRect) {
    COLORREF face = (COLORREF)c[0], light = (COLORREF)c[1], dark = (COLORREF)c[2];
    SRect body{r.x + 1, r.y + 1, r.width - 1, r.height - 1};
    bool filled = false;
    if (isDefault) {
        device.roundRect(SRect{r.x + 2, r.y + 2, r.width - 2, r.height - 2}, form, dark, face);
        body = SRect{r.x + 1, r.y + 1, r.width - 2, r.height - 2};
        filled = true;
    }
    device.roundRect(body, form, dark, filled ? SPainter::Transparent : face);
    device.roundRect(SRect{body.x - 1, body.y - 1, body.width, body.height}, form, light, SPainter::Transparent);
    textRect = isDefault ? SRect{r.x + 3, r.y, r.width - 4, r.height} : SRect{r.x + 2, r.y, r.width - 3, r.height};
}
