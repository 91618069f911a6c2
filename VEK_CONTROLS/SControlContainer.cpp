#include "VEK_CONTROLS/SControlContainer.h"

// The children lie over the container: it must not paint its background over them.
SControlContainer::SControlContainer() { style = (style & ~WS_TABSTOP) | WS_CLIPSIBLINGS; }

void SControlContainer::onAfterCreate() {
    SControlPositioned::onAfterCreate();
    if (referenceSize.width <= 0 || referenceSize.height <= 0) {
        SRect r = getWindowRect(false);
        referenceSize = SSize{r.width, r.height};
    }
}

int SControlContainer::addChild(SControlPositioned* child, const SRect* given) {
    if (!child) return -1;
    SRect r;
    if (given) {
        r = *given;
    } else {
        // Where the child is now, relative to the container.
        SRect c = child->getWindowRect(false);
        SRect me = getWindowRect(false);
        r = SRect{c.x - me.x, c.y - me.y, c.width, c.height};
    }
    elements.push_back(SControlContainerElement{r, child});
    child->setPositionable(false);
    child->getAnchor().setMode(0);
    int index = (int)elements.size() - 1;
    onElementsChanged(index);
    if (hwnd) SetWindowPos(hwnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return index;
}

void SControlContainer::removeAll() {
    while (!elements.empty()) elements.pop_back();
    currentIndex = 0;
    onElementsChanged(-1);
}

const SControlContainerElement& SControlContainer::getElement(int index) const {
    static const SControlContainerElement empty;
    if (index < 0 || index >= (int)elements.size()) return empty;
    return elements[(std::size_t)index];
}

void SControlContainer::layoutChildren() {
    if (!hwnd || referenceSize.width <= 0 || referenceSize.height <= 0) return; // nothing to scale from
    SRect r = getWindowRect(false);
    long long w0 = referenceSize.width, h0 = referenceSize.height;
    for (const SControlContainerElement& e : elements) {
        if (!e.control || !e.control->isWindow()) continue;
        e.control->moveWindow((int)(r.x + r.width * (long long)e.rect.x / w0),
                              (int)(r.y + r.height * (long long)e.rect.y / h0),
                              (int)(r.width * (long long)e.rect.width / w0),
                              (int)(r.height * (long long)e.rect.height / h0), true);
    }
}

LRESULT SControlContainer::windowProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, bool& handled,
                                      LRESULT& result) {
    if (msg == WM_MOVE && h == hwnd && h) layoutChildren();
    return SControlPositioned::windowProc(h, msg, wParam, lParam, handled, result);
}

void SControlContainer::onSize(int type, int width, int height) {
    SControlPositioned::onSize(type, width, height);
    layoutChildren();
}

void SControlContainer::onElementsChanged(int) {}
