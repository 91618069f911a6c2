#include "VEK_CONTROLS/SButton.h"

#include "VEK_ARRAYS/SStringList.h"
#include "VEK_GUI/SApplication.h"
#include "VEK_GUI/SGdiObject.h"

#include <vector>

namespace {

// The library's default button styles (with the default colour variables).
const char* const kNormal = "#f0f0ff,#a0a0ff,#a0a0ff,#5050ff";
const char* const kSelected = "#d0d0ff,#a0a0ff,#a0a0ff,#5050ff";
const char* const kDisabled = "#f0f0f0,#a0a0a0,#f0f0f0,#a0a0a0";

// GDI objects by colour, made on first use and kept for the process: the buttons of a style
// share a few colours (GUI thread only).
template <class Handle>
class ByColour {
public:
    explicit ByColour(Handle (*make)(COLORREF)) : make(make) {}
    Handle get(COLORREF colour) {
        for (const Entry& e : made)
            if (e.colour == colour) return e.object.get();
        made.push_back(Entry{colour, SGdiObject<Handle>(make(colour))});
        return made.back().object.get();
    }

private:
    struct Entry {
        COLORREF colour;
        SGdiObject<Handle> object;
    };
    Handle (*make)(COLORREF);
    std::vector<Entry> made;
};

HPEN penOf(COLORREF colour) {
    static ByColour<HPEN> pens([](COLORREF c) { return CreatePen(PS_SOLID, 1, c); });
    return pens.get(colour);
}

HGDIOBJ brushOf(COLORREF colour) {
    static ByColour<HBRUSH> brushes([](COLORREF c) { return CreateSolidBrush(c); });
    return colour == SPainter::Transparent ? GetStockObject(NULL_BRUSH) : brushes.get(colour);
}

void roundRect(HDC dc, const SRect& r, SSize corner, COLORREF pen, COLORREF fill) {
    SelectObject(dc, penOf(pen));
    SelectObject(dc, brushOf(fill));
    RoundRect(dc, r.left(), r.top(), r.right(), r.bottom(), corner.width, corner.height);
}

// What a context held before a draw, put back afterwards (under Wine cheaper than SaveDC).
class ContextState {
public:
    explicit ContextState(HDC dc)
        : dc(dc), pen(GetCurrentObject(dc, OBJ_PEN)), brush(GetCurrentObject(dc, OBJ_BRUSH)),
          font(GetCurrentObject(dc, OBJ_FONT)), textColour(GetTextColor(dc)), mode(GetBkMode(dc)) {}
    ~ContextState() {
        SelectObject(dc, pen);
        SelectObject(dc, brush);
        if (GetCurrentObject(dc, OBJ_FONT) != font) SelectObject(dc, font);
        SetTextColor(dc, textColour);
        SetBkMode(dc, mode);
    }
    ContextState(const ContextState&) = delete;
    ContextState& operator=(const ContextState&) = delete;
    HGDIOBJ currentFont() const { return font; }

private:
    HDC dc;
    HGDIOBJ pen, brush, font;
    COLORREF textColour;
    int mode;
};

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

void SButton::drawButton(const RECT& area, UINT itemState, HDC dc) {
    SRect r{area.left, area.top, area.right - area.left, area.bottom - area.top};
    const SNumList& c = colorsFor(itemState);
    ContextState kept(dc);
    SRect textRect;
    if (c[1] == c[2])
        drawFlat(dc, r, c, textRect);
    else
        drawRaised(dc, r, c, textRect);
    // The platform has selected the font the window was given, made from the same description.
    HFONT font = globalApplication.getFontCache().get(device.getLogFont());
    if (font && font != kept.currentFont()) SelectObject(dc, font);
    SetTextColor(dc, (COLORREF)c[3]);
    SetBkMode(dc, TRANSPARENT);
    const SString text = getWindowText();
    RECT t{textRect.left(), textRect.top(), textRect.right(), textRect.bottom()};
    DrawTextA(dc, text, text.length(), &t, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_WORD_ELLIPSIS | DT_NOPREFIX);
    if (itemState & ODS_FOCUS) {
        int y = r.y + r.height - 4 - 1;
        SelectObject(dc, penOf((COLORREF)c[3]));
        MoveToEx(dc, r.x + 6, y, nullptr);
        LineTo(dc, r.x + r.width - 6, y);
    }
}

void SButton::drawFlat(HDC dc, const SRect& r, const SNumList& c, SRect& textRect) {
    COLORREF face = (COLORREF)c[0], light = (COLORREF)c[1];
    roundRect(dc, r, form, light, face);
    if (isDefault) roundRect(dc, SRect{r.x + 1, r.y + 1, r.width - 2, r.height - 2}, form, light, SPainter::Transparent);
    int inset = isDefault ? 2 : 1;
    textRect = SRect{r.x + inset, r.y, r.width - 2 * inset, r.height};
}

// Dark outline one pixel right and down, light outline over it one pixel left and up: the
// top and left edges come out light, the bottom and right ones dark.
void SButton::drawRaised(HDC dc, const SRect& r, const SNumList& c, SRect& textRect) {
    COLORREF face = (COLORREF)c[0], light = (COLORREF)c[1], dark = (COLORREF)c[2];
    SRect body{r.x + 1, r.y + 1, r.width - 1, r.height - 1};
    bool filled = false;
    if (isDefault) {
        roundRect(dc, SRect{r.x + 2, r.y + 2, r.width - 2, r.height - 2}, form, dark, face);
        body = SRect{r.x + 1, r.y + 1, r.width - 2, r.height - 2};
        filled = true;
    }
    roundRect(dc, body, form, dark, filled ? SPainter::Transparent : face);
    roundRect(dc, SRect{body.x - 1, body.y - 1, body.width, body.height}, form, light, SPainter::Transparent);
    textRect = isDefault ? SRect{r.x + 3, r.y, r.width - 4, r.height} : SRect{r.x + 2, r.y, r.width - 3, r.height};
}
