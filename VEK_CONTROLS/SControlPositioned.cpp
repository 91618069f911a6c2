#include "VEK_CONTROLS/SControlPositioned.h"

#include "VEK_ARRAYS/SStringList.h"
#include "VEK_CONTROLS/SControlPos.h"
#include "VEK_CONTROLS/SPositioningWnd.h"
#include "VEK_GUI/SApplication.h"
#include "VEK_UTIL/SError.h"
#include "VEK_UTIL/SResources.h"

SControlPositioned::SControlPositioned() {
    kind = 3;
    rect = SRect{-1, -1, 80, 20};
}

SControlPositioned::~SControlPositioned() = default;

bool SControlPositioned::create(SWindow&) { return create(nullptr); }

bool SControlPositioned::create(SWindow*) {
    globalError.show("SControl::create(): Controls k\366nnen nicht mittels create(...) erzeugt werden, verwenden Sie "
                     "statt dessen createCtrl(...).",
                     0, "Fehler !", 16);
    return false;
}

bool SControlPositioned::createPending(SWindow& frame, int x, int y) {
    SString text(title); // createControl assigns the title anew
    return createCtrl(&frame, text, x, y, DefaultSize, DefaultSize, 1) != 0;
}

LRESULT SControlPositioned::windowProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, bool& handled,
                                       LRESULT& result) {
    if (h == hwnd && h) {
        if (msg == MSG_POSITIONING_START) onStartPositioning();
        if (msg == MSG_POSITIONING_STOP) onStopPositioning();
    }
    return SControl::windowProc(h, msg, wParam, lParam, handled, result);
}

int SControlPositioned::createCtrl(SWindow* parentWindow, const char* text, int x, int y, int width, int height,
                                   int anchorMode) {
    SRect r = rect;
    r.x = x;
    r.y = y;
    if (width != DefaultSize) r.width = width;
    if (height != DefaultSize) r.height = height;
    return createControl(parentWindow, text, r, anchorMode);
}

int SControlPositioned::createControl(SWindow* parentWindow, const char* text, SRect r, int anchorMode) {
    if (created) {
        SWindow::create(parentWindow); // reports the second creation, changes nothing
        return 0;
    }
    onFirstCreateStep();
    windowId = controlId;
    anchor.setMode((uint32_t)anchorMode);
    if (scaleWithFont) {
        double scale = globalApplication.getFontScale();
        r = SRect{(int)(r.x * scale), (int)(r.y * scale), (int)(r.width * scale), (int)(r.height * scale)};
    }
    designRect = r;
    if (parentWindow) {
        // Negative values count from the parent's right and bottom edges.
        SSize p = parentWindow->getClientSize();
        if (r.x < 0) r.x = p.width + r.x;
        if (r.y < 0) r.y = p.height + r.y;
        if (r.width < 0) r.width = p.width - r.x + r.width;
        if (r.height < 0) r.height = p.height - r.y + r.height;
    }
    rect = r;
    title = text ? text : "";
    onBeforeCreate();
    if (!SWindow::create(parentWindow)) return 0;
    applyFontToControl();
    loadControlpos();
    if (parent) {
        SSize p = parentClientSize();
        SRect now = currentRect();
        anchor.classify(SRect{0, 0, p.width, p.height}, now);
        anchor.record(now, p);
    }
    onAfterCreate();
    show(SW_SHOW);
    return controlId;
}

void SControlPositioned::applyFontToControl() {
    if (!hwnd) return;
    HFONT font = globalApplication.getFontCache().get(device.getLogFont());
    if (font) SendMessageA(hwnd, WM_SETFONT, (WPARAM)font, TRUE);
}

SRect SControlPositioned::currentRect() { return hwnd ? getWindowRect(false) : rect; }

SSize SControlPositioned::parentClientSize() const {
    return parent && parent->getHwnd() ? parent->getClientSize() : SSize{};
}

// ---------------------------------------------------------------- stored positions

SString SControlPositioned::rectText(const SRect& r) { return SControlPos::text(r); }

SString SControlPositioned::positionKey(const SRect& r) const {
    SString key;
    key.setRaw(getClassName()).append(",").append(rectText(r));
    return key;
}

SRect SControlPositioned::parseStoredRect(const char* value, const SRect& current) {
    return SControlPos::parse(value, current);
}

SRect SControlPositioned::fitInto(const SRect& r, SSize parentSize) { return SControlPos::fit(r, parentSize); }

bool SControlPositioned::loadControlpos() {
    if (!parent) return false;
    SFileIni& positions = globalResources.controlPositions;
    SString section;
    section.setRaw(parent->getClassName());
    SString value = positions.getString(section, positionKey(designRect), "");
    SRect now = currentRect();
    if (value.isEmpty()) value = positions.getString(section, positionKey(now), "");
    if (value.isEmpty()) return false;
    SRect stored = fitInto(parseStoredRect(value, now), parentClientSize());
    moveWindow(stored, true);
    return true;
}

// ---------------------------------------------------------------- styles

int SControlPositioned::styleItems(const char* name, SStringList& items) {
    items.clear();
    if (!globalResources.isInitialised()) return 0;
    SString text = globalResources.getStyle(name);
    if (text.isEmpty()) return 0;
    items.split(text, ",");
    for (int i = 0; i < items.count(); ++i) items[i].trim();
    return items.count();
}

int SControlPositioned::scaled(int value) { return (int)(value * globalApplication.getFontScale()); }

void SControlPositioned::invalidateBehind() {
    if (!hwnd || !parent) return;
    bool transparent = device.getTextBackColor() == SPainter::Transparent ||
                       parent->getDevice().getTextBackColor() == SPainter::Transparent;
    if (!transparent) return;
    // The children there are redrawn too, after the parent: a static paints its new text at
    // once, and the parent's later paint would cover it otherwise.
    SRect r = getWindowRect(false);
    RECT area{r.x, r.y, r.x + r.width, r.y + r.height};
    RedrawWindow(parent->getHwnd(), &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// ---------------------------------------------------------------- layouter and steps

// The overlay lies over the control as a sibling on top, so the mouse reaches it first.
void SControlPositioned::onStartPositioning() {
    if (!parent || !positionable || !hwnd || positioningWnd) return;
    moveWindow(fitInto(currentRect(), parentClientSize()), true);
    auto overlay = std::make_unique<SPositioningWnd>();
    overlay->setDesignRect(designRect);
    overlay->bind(this);
    if (overlay->createOverTarget()) positioningWnd = std::move(overlay);
}

void SControlPositioned::onStopPositioning() {
    positioningWnd.reset();
    if (!parent || !hwnd) return;
    SSize p = parentClientSize();
    anchor.rerecord(currentRect(), p);
    onParentResized(p);
}

void SControlPositioned::onAfterCreate() {}
void SControlPositioned::onBeforeCreate() {}
void SControlPositioned::onFirstCreateStep() {}
