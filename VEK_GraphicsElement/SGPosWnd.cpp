#include "VEK_GraphicsElement/SGPosWnd.h"

#include "VEK_CONTROLS/SPopupMenu.h"
#include "VEK_GraphicsElement/SFrameWindowGraphics.h"
#include "VEK_GraphicsElement/SGraphicElement.h"

#include <memory>
#include <vector>

SGPosWnd::SGPosWnd() { className = "VEK_GPOS_WINDOW"; }

void SGPosWnd::bind(SGraphicElement* boundElement) {
    element = boundElement;
    if (!element) return;
    SRect r = element->boundingRect();
    if (auto* window = dynamic_cast<SFrameWindowGraphics*>(element->getParent())) r = window->elementsToClient(r);
    creationSize = SSize{10, 10};
    if (r.height < 3 * handleHeight) handleHeight = r.height / 3;
    if (r.width < 3 * handleWidth) handleWidth = r.width / 3;
    moveWindow(r, true);
}

// The element's name as tooltip. It is made when the pointer first comes over the window:
// a tooltip is a top-level window of its own, and a window with hundreds of elements would
// otherwise wait seconds for all of them whenever positioning starts and stops.
void SGPosWnd::onFirstShow() { SPositioningWnd::onFirstShow(); }

void SGPosWnd::onMouseMove(int keys, int x, int y) {
    if (element && !toolTip) addToolTip(element->getName(), "", 0, 200, false);
    SPositioningWnd::onMouseMove(keys, x, y);
}

bool SGPosWnd::onDrag(SPoint point) {
    SRect before = getWindowRect(false), now;
    if (!dragRect(point, now)) return false;
    moveWindow(now, true);
    auto* window = element ? dynamic_cast<SFrameWindowGraphics*>(element->getParent()) : nullptr;
    if (element) {
        SRect r = now;
        if (window) {
            SPoint a = window->clientToElements(SPoint{now.x, now.y});
            SPoint b = window->clientToElements(SPoint{now.x + now.width, now.y + now.height});
            r = SRect{a.x, a.y, b.x - a.x, b.y - a.y};
        }
        element->setRect(r);
    }
    if (parent) parent->invalidate(SRect{before.x - 12, before.y - 12, before.width + 24, before.height + 24});
    return true;
}

void SGPosWnd::onRButtonUp(int, int x, int y) {
    if (!element) return;
    int index = trackElementMenu(clientToScreen(SPoint{x, y}));
    if (index >= 0) element->onMenu(index);
}

int SGPosWnd::trackElementMenu(SPoint screenPoint) {
    if (!element || !element->buildMenu()) return -1;
    SPopupMenu top;
    top.setSendCommand(false);
    // One submenu per group, in order of first appearance; attached submenus belong to top.
    std::vector<std::unique_ptr<SPopupMenu>> groups;
    std::vector<SString> names;
    SMapStringToNum& entries = element->getMenu();
    for (int i = 0; i < entries.count(); ++i) {
        const SString& path = entries.getKeyAt(i);
        int slash = path.findChar('/');
        if (slash < 0) {
            top.appendItem(path, SGraphicElement::MenuCommandBase + i);
            continue;
        }
        SString group = path.left(slash);
        size_t g = 0;
        while (g < names.size() && names[g] != group) ++g;
        if (g == names.size()) {
            names.push_back(group);
            groups.push_back(std::make_unique<SPopupMenu>());
            top.appendSubmenu(group, *groups.back());
        }
        groups[g]->appendItem(path.from(slash + 1), SGraphicElement::MenuCommandBase + i);
    }
    HWND owner = parent ? parent->getHwnd() : hwnd;
    int id = top.track(owner, screenPoint);
    return id >= SGraphicElement::MenuCommandBase ? id - SGraphicElement::MenuCommandBase : -1;
}

void SGPosWnd::storeRecord() {
    if (element) element->storeRecord();
}

// The frame's save message is for controls: the element writes its record when positioning
// of the element stops.
void SGPosWnd::savePosition(const char*) {}
