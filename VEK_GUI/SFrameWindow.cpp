#include "VEK_GUI/SFrameWindow.h"

#include "VEK_GUI/SApplication.h"
#include "VEK_GUI/SApplicationBasic.h"
#include "VEK_UTIL/SResources.h"

#include <shellapi.h>

#include <vector>

SFrameWindow::SFrameWindow() : bigIconName("app_big.ico"), smallIconName("app_smal.ico") {}

SFrameWindow::~SFrameWindow() {
    if (isWindow()) DestroyWindow(hwnd); // before the icons it shows go away
}

LRESULT SFrameWindow::windowProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, bool& handled, LRESULT& result) {
    if (h == hwnd || h == nullptr) {
        eventCalls.fire(msg, wParam, lParam);
        switch (msg) {
        case WM_KEYDOWN:
            if (developmentMode() && ((lParam & 0x7F0000) >> 16) == 0x46) {
                if (positioningActive)
                    stopPositioning();
                else
                    startPositioning();
            }
            break;
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
            result = SendMessageA((HWND)lParam, MSG_REFLECT_CTLCOLOR, wParam, lParam);
            if (result) handled = true;
            break;
        case WM_DRAWITEM: {
            const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item) SendMessageA(item->hwndItem, MSG_REFLECT_DRAWITEM, wParam, lParam);
            result = 1;
            handled = true;
            break;
        }
        case MSG_RECEIVE_BYTE: onReceiveByte((unsigned char)(lParam & 0xFF)); break;
        case WM_SHOWWINDOW: firstShow(); break;
        case WM_SIZE: handleSize(); break;
        case WM_WINDOWPOSCHANGED: handlePosChanged(reinterpret_cast<const WINDOWPOS*>(lParam)); break;
        case WM_ENTERSIZEMOVE: sizingLoop = true; break;
        case WM_EXITSIZEMOVE:
            sizingLoop = false;
            storePlacement();
            break;
        case WM_GETMINMAXINFO: {
            MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lParam);
            if (info && creationSize.width > 0) {
                info->ptMinTrackSize.x = creationSize.width;
                info->ptMinTrackSize.y = creationSize.height;
                handled = true;
                result = 0;
            }
            break;
        }
        default: break;
        }
    }
    LRESULT r = SWindow::windowProc(h, msg, wParam, lParam, handled, result);
    if (msg == WM_CREATE && h == hwnd) showIcons();
    return r;
}

void SFrameWindow::firstShow() {
    if (!firstShowPending) return;
    firstShowPending = false;
    onFirstShow();
    createPendingControls();
}

// One change of place or size: lay out for a new size; the placement is stored once the
// change is finished - at once for a program's change, at the end of the user's sizing loop.
void SFrameWindow::handlePosChanged(const WINDOWPOS* position) {
    if (!position) return;
    if (!(position->flags & SWP_NOSIZE)) handleSize();
    if ((position->flags & (SWP_NOSIZE | SWP_NOMOVE)) != (SWP_NOSIZE | SWP_NOMOVE) && !sizingLoop) storePlacement();
}

// WM_WINDOWPOSCHANGED and the WM_SIZE it produces both arrive here: lay out once per size.
void SFrameWindow::handleSize() {
    firstShow();
    SSize size = getClientSize();
    if (size == laidOutSize) return;
    laidOutSize = size;
    std::vector<SWindow*> children;
    for (HWND c = GetWindow(hwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (SWindow* w = globalApplication.findWindow(c)) children.push_back(w);
    for (SWindow* w : children) w->onParentResized(size);
    layoutBars();
    if (showInfoButton && !infoButton.isCreated()) createInfoButton();
}

SPoint SFrameWindow::nextGridPosition(int& column, int& row) {
    SPoint p{column, row};
    column += 100;
    if (column > 700) {
        column = 20;
        row += 40;
    }
    return p;
}

// Declared controls of this frame (kind 3) that nobody created yet are created now; those
// without a position go onto the grid.
void SFrameWindow::createPendingControls() {
    int column = 20, row = 20;
    std::vector<SWindow*> pending;
    for (int i = 0;; ++i) {
        SWindow* w = globalApplication.windowAt(i);
        if (!w) break;
        if (w->getParent() == this && w->getKind() == 3 && !w->isCreated()) pending.push_back(w);
    }
    for (SWindow* w : pending) {
        SRect r = w->getRect();
        int x = r.x, y = r.y;
        if (x == -1) {
            SPoint p = nextGridPosition(column, row);
            x = p.x;
            if (y == -1) y = p.y;
        } else if (y == -1) {
            y = row;
        }
        w->createPending(*this, x, y);
    }
}

// Writes "winpos" (not while minimised or maximised) and saves when it changed.
void SFrameWindow::storePlacement() {
    if (!savePlacement || !hwnd || !globalApplicationBasic.openUserConfigFile()) return;
    if (setPlacementValue(globalApplicationBasic.getUserConfig())) globalApplicationBasic.getUserConfig().save();
}

bool SFrameWindow::setPlacementValue(SFileIni& ini) {
    if (getStyle() & (WS_MINIMIZE | WS_MAXIMIZE)) return false;
    SRect r = getWindowRect(true);
    SString value;
    value.format("%d,%d,%d,%d", r.x, r.y, r.width, r.height);
    if (ini.getString(getClassName(), "winpos", "") == value) return false;
    ini.setString(getClassName(), "winpos", value);
    return true;
}

void SFrameWindow::readPlacement() {
    if (!savePlacement || !globalApplicationBasic.openUserConfigFile()) return;
    SFileIni& ini = globalApplicationBasic.getUserConfig();
    SString position = ini.getString(getClassName(), "winpos", "");
    if (!position.isEmpty()) {
        int values[4] = {rect.x, rect.y, rect.width, rect.height};
        int pos = 0;
        for (int& v : values) {
            SString field = position.token(",", pos);
            if (!field.trim().isEmpty()) v = field.toNumber();
        }
        rect = SRect{values[0], values[1], values[2], values[3]};
    }
    if (ini.getString(getClassName(), "winpostype", "") == "max") style |= WS_MAXIMIZE;
}

bool SFrameWindow::developmentMode() { return globalResources.isDevelopmentMode(); }

void SFrameWindow::loadIcons() {
    SString big = globalResources.getFile(bigIconName);
    if (!big.isEmpty()) bigIcon.reset(ExtractIconA(globalApplication.getInstance(), big, 0));
    SString small = globalResources.getFile(smallIconName);
    if (!small.isEmpty()) smallIcon.reset(ExtractIconA(globalApplication.getInstance(), small, 0));
}

// Per window, not through the shared class: the class is registered once for every frame,
// and it would keep using an icon that its frame destroys.
void SFrameWindow::showIcons() {
    if (bigIcon) SendMessageA(hwnd, WM_SETICON, ICON_BIG, (LPARAM)bigIcon.get());
    if (smallIcon) SendMessageA(hwnd, WM_SETICON, ICON_SMALL, (LPARAM)smallIcon.get());
}

void SFrameWindow::onPreCreateWindow() {
    SWindow::onPreCreateWindow();
    if (creationSize.width == -1) creationSize.width = rect.width;
    if (creationSize.height == -1) creationSize.height = rect.height;
    readPlacement();
    loadIcons();
}

int SFrameWindow::onClose() {
    if (savePlacement && hwnd && globalApplicationBasic.openUserConfigFile()) {
        SFileIni& ini = globalApplicationBasic.getUserConfig();
        setPlacementValue(ini);
        ini.setString(getClassName(), "winpostype", (getStyle() & WS_MAXIMIZE) ? "max" : "std");
        ini.save();
    }
    return SWindow::onClose();
}

// With drag bit 0 the left button drags the whole window from its client area.
void SFrameWindow::onMouseMove(int keys, int x, int y) {
    SWindow::onMouseMove(keys, x, y);
    if (!(dragFlags & 1) || positioningActive || inDrag) return;
    inDrag = true;
    POINT pointer{x, y};
    ClientToScreen(hwnd, &pointer);
    if (keys & MK_LBUTTON) {
        if (!dragging) {
            dragging = true;
            SetCapture(hwnd);
            dragStart = pointer;
            SRect r = getWindowRect(!(getStyle() & WS_CHILD)); // where moveWindow places it
            windowStart = POINT{r.x, r.y};
            setCursor(32646); // IDC_SIZEALL
        } else if (pointer.x != lastPointer.x || pointer.y != lastPointer.y) {
            // Also along one axis alone: a purely horizontal drag must move the window too.
            SRect r = getWindowRect(false);
            moveWindow(windowStart.x + pointer.x - dragStart.x, windowStart.y + pointer.y - dragStart.y, r.width,
                       r.height, true);
        }
        lastPointer = pointer;
    } else if (dragging) {
        dragging = false;
        ReleaseCapture();
        setCursor(32512); // IDC_ARROW
    }
    inDrag = false;
}

void SFrameWindow::startPositioning() {
    if (kind != 0 || positioningActive) return;
    SRect r = getWindowRect(false);
    if (r.width != creationSize.width || r.height != creationSize.height) {
        SString text("Die aktuelle Gr\366\337e einspricht nicht der Gr\366\337e bei Erzeugung des Fensters.\r\n");
        text.append("Die Positionierung der Controls erfolgt bei Erzeugung des Fensters in der aktuellen Gr\366\337e,");
        text.append(" somit kann es zur Zerst\366rung Ihrer Anordnung kommen.\r\n");
        text.append("Wollen Sie trotzdem mit der Anordnung beginnen?");
        if (messageBox(text, "ver\344nderte Fenstergr\366\337e", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDNO)
            return;
    }
    positioningActive = 1;
    sendToChildren(MSG_POSITIONING_START, 0, 0);
}

// Only a running layouter stops: without overlays to write them, emptying the section would
// lose every stored position.
void SFrameWindow::stopPositioning() {
    if (!positioningActive) return;
    SString section(getClassName());
    SFileIni& positions = globalResources.controlPositions;
    positions.setSectionText(section, "");
    sendToChildren(MSG_POSITIONING_SAVE, 0, (LPARAM)section.getBuffer());
    // Unsaid, a layout that cannot be written (a read-only controlpos.ini) is gone at the end;
    // said at once, the developer can make the file writable and stop the layouter again.
    if (!positions.save())
        positions.reportNotSaved("~~idLayoutNotStored~~Die Anordnung konnte nicht gespeichert werden und gilt nur "
                                 "bis zum Ende des Programms.\r\nDatei: %s\r\n%s~~The layout could not be saved and "
                                 "applies only until the program ends.\r\nFile: %s\r\n%s");
    sendToChildren(MSG_POSITIONING_STOP, 0, 0);
    positioningActive = 0;
    invalidate();
}

const char* SFrameWindow::infoButtonToolTip(bool development) {
    return development ? "Klicken Sie hier f\374r den Realtime-Layouter.\r\n\r\n"
                         "Diese Anwendung wurde mit der \r\nVekora-Library erstellt."
                       : "Diese Anwendung wurde mit der \r\nVekora-Library erstellt.";
}

void SFrameWindow::onInfoCommand(int id) {
    switch (id) {
    case InfoPositioning: startPositioning(); break;
    case InfoPositioningActive: stopPositioning(); break;
    case InfoAbout:
        messageBox("Bevor Sie Ihre Anwendung weitergeben, sollten Sie die \r\nbenutzten Ressourcen und Einstellungen in "
                   "das fertige Programm binden.\r\nW\344hlen Sie dazu 'Ressourcen einbinden' im Aktionsmen\374 der "
                   "Objektbibliothek.",
                   "Info", MB_ICONINFORMATION);
        break;
    case InfoWebPage: ShellExecuteA(nullptr, "open", webPageAddress(), nullptr, nullptr, SW_SHOWNORMAL); break;
    default: break;
    }
}

void SFrameWindow::onReceiveByte(unsigned char) {}
bool SFrameWindow::onStatusBarClick(int) { return false; }
bool SFrameWindow::onStatusBarRClick(int) { return false; }
bool SFrameWindow::onStatusBarDblClk(int) { return false; }

// ---------------------------------------------------------------- bars

bool SFrameWindow::createCoolbar() {
    if (!hwnd) return false;
    if (!coolbar.isCreated() &&
        !coolbar.createCtrl(this, "coolbar", 0, 0, getClientSize().width, SControlPositioned::DefaultSize, 1))
        return false;
    if (!toolbar.isCreated() && toolbar.createToolbar(this)) coolbar.addBand(toolbar, "");
    layoutBars();
    return coolbar.getHwnd() != nullptr;
}

bool SFrameWindow::createStatusBar() {
    if (!hwnd) return false;
    if (!statusBar.isCreated() &&
        !statusBar.createCtrl(this, "Status", 0, 0, SControlPositioned::DefaultSize, SControlPositioned::DefaultSize, 1))
        return false;
    layoutBars();
    return statusBar.getHwnd() != nullptr;
}

void SFrameWindow::showScrollBars(bool horizontal, bool vertical) {
    if (!hwnd) return;
    int barHeight = GetSystemMetrics(SM_CYHSCROLL), barWidth = GetSystemMetrics(SM_CXVSCROLL);
    SRect inner = getInnerRect();
    if (horizontal && !hScrollBar.isCreated()) {
        int width = inner.width - (vertical ? barWidth : 0);
        hScrollBar.createCtrl(this, "hScroll", inner.x, inner.y + inner.height - barHeight, width, barHeight, 1);
    }
    if (vertical && !vScrollBar.isCreated())
        vScrollBar.createCtrl(this, "vScroll", inner.x + inner.width - barWidth, inner.y, barWidth, inner.height, 1);
    scroll.setBars(vScrollBar.getHwnd() ? &vScrollBar : nullptr, hScrollBar.getHwnd() ? &hScrollBar : nullptr);
    layoutBars();
    scroll.update();
}

// The bars take their space from the client area's edges: coolbar at the top, status bar
// and horizontal scroll bar at the bottom, vertical scroll bar at the right.
void SFrameWindow::layoutBars() {
    if (!hwnd) return;
    barInsets = SRect{};
    SSize client = getClientSize();
    if (coolbar.getHwnd()) {
        SRect r = coolbar.getWindowRect(false);
        if (r.width != client.width) coolbar.moveWindow(0, 0, client.width, r.height, true);
        barInsets.y = r.height;
    }
    if (statusBar.getHwnd()) {
        statusBar.sendMessage(WM_SIZE, 0, 0); // it keeps itself at the bottom edge
        barInsets.height += statusBar.getWindowRect(false).height;
    }
    if (hScrollBar.getHwnd()) barInsets.height += hScrollBar.getWindowRect(false).height;
    if (vScrollBar.getHwnd()) barInsets.width += vScrollBar.getWindowRect(false).width;
    SRect inner = getInnerRect();
    if (hScrollBar.getHwnd())
        hScrollBar.moveWindow(inner.x, inner.y + inner.height, inner.width, hScrollBar.getWindowRect(false).height, true);
    if (vScrollBar.getHwnd())
        vScrollBar.moveWindow(inner.x + inner.width, inner.y, vScrollBar.getWindowRect(false).width, inner.height, true);
    // A frame without bars has nothing new to show.
    if (coolbar.getHwnd() || statusBar.getHwnd() || hScrollBar.getHwnd() || vScrollBar.getHwnd()) invalidate();
}

// ---------------------------------------------------------------- information button

void SFrameWindow::createInfoButton() {
    infoButton.setPositionable(false);
    if (!infoButton.createCtrl(this, "", 0, -35, 70, 35, 1)) return;
    infoButton.setImage("vek.bmp");
    infoButton.setClickable(true);
    infoButton.addToolTip(infoButtonToolTip(developmentMode()), "", 0, 300);
    eventCalls.add(SEventBinding::make(WM_COMMAND, infoButton.getControlId(), 0, this, &SFrameWindow::openInfoMenu));
}

void SFrameWindow::openInfoMenu() {
    if (!developmentMode()) {
        onInfoCommand(InfoWebPage);
        return;
    }
    SPopupMenu menu;
    menu.setSendCommand(false);
    if (positioningActive)
        menu.appendItem("Positionierung", InfoPositioningActive, MFS_CHECKED);
    else
        menu.appendItem("Positionierung", InfoPositioning);
    menu.appendItem("Info...", InfoAbout);
    menu.appendItem("Vekora-Library im Internet", InfoWebPage);
    SRect button = infoButton.getWindowRect(false);
    SPoint corner = clientToScreen(SPoint{button.x, button.y + button.height});
    int chosen = menu.track(hwnd, corner);
    if (chosen) onInfoCommand(chosen);
}
