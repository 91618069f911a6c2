#include "VEK_CONTROLS/SComPortControl.h"

#include "VEK_ARRAYS/SMapStringToString.h"
#include "VEK_CONTROLS/SComportConfigDlg.h"
#include "VEK_GUI/SApplication.h"
#include "VEK_SYSTEM/Cp210x.h"

#include <dbt.h>

#include <algorithm>

namespace {
// The size the children's rectangles are given for.
const int referenceWidth = 100;
const int referenceHeight = 40;
} // namespace

SComPortControl::SComPortControl() {
    connectText = "~~idConnect~~verbinden~~connect";
    disconnectText = "~~idDisconnect~~trennen~~disconnect";
}

// The port is closed while the whole object still exists: close dispatches messages.
SComPortControl::~SComPortControl() {
    if (hwnd) globalApplication.removeWatches(hwnd, 0);
    SComPort::close(false);
}

SString SComPortControl::sectionSuffix() const {
    SString suffix;
    suffix.format("_Control%d", controlId);
    return suffix;
}

void SComPortControl::onFirstShow() {
    SControlContainer::onFirstShow();
    buildChildren();
}

// The children are siblings over the container, given for 100 x 40 and scaled to its size.
void SComPortControl::buildChildren() {
    if (childrenBuilt || !parent || !hwnd) return;
    childrenBuilt = true;
    referenceSize = SSize{referenceWidth, referenceHeight};
    const int w = referenceWidth, h = referenceHeight;
    placeChild(connectButton, connectText, SRect{0, 0, w, h / 2});
    placeChild(statusText, "", SRect{0, h / 2 + 4, w - 20, h / 2 - 4});
    placeChild(settingsIcon, "", SRect{w - 20, h / 2 + 4, 20, h / 2 - 4});
    setStatusColor(closedColor);
    settingsIcon.setTransparentColor(RGB(255, 255, 255));
    settingsIcon.setImage("setting.bmp");
    settingsIcon.setClickable(true);
    layoutChildren();

    if (persistSettings) getSettings().load(sectionSuffix());
    updateDisplay();

    HWND parentHandle = parent->getHwnd();
    globalApplication.addWatch(hwnd, parentHandle, WM_COMMAND, 0);
    globalApplication.addWatch(hwnd, mainWindowHandle(), WM_DEVICECHANGE, 0);
    // The port posts a dead line to the window it delivers to, which is the parent.
    globalApplication.addWatch(hwnd, parentHandle, MSG_COM_LINE_LOST, 0);
}

void SComPortControl::layoutChildren() {
    if (!childrenBuilt || !hwnd) return;
    SRect r = getWindowRect(false);
    int lineY = r.y + r.height * (referenceHeight / 2 + 4) / referenceHeight;
    int lineHeight = r.height * (referenceHeight / 2 - 4) / referenceHeight;
    int gearWidth = std::min(r.width, r.height / 2);
    connectButton.moveWindow(r.x, r.y, r.width, r.height / 2, true);
    statusText.moveWindow(r.x, lineY, r.width - gearWidth, lineHeight, true);
    settingsIcon.moveWindow(r.x + r.width - gearWidth, lineY, gearWidth, lineHeight, true);
}

void SComPortControl::placeChild(SControlPositioned& child, const char* text, const SRect& reference) {
    SRect me = getWindowRect(false);
    child.setScaleWithFont(false); // the container's own size is scaled already
    child.createCtrl(parent, text, me.x + me.width * reference.x / referenceWidth,
                     me.y + me.height * reference.y / referenceHeight, me.width * reference.width / referenceWidth,
                     me.height * reference.height / referenceHeight, 1);
    addChild(&child, &reference);
}

// Broadcasts reach top-level windows: the application's main window, or else the top of
// this control's own window tree.
HWND SComPortControl::mainWindowHandle() const {
    SWindow* main = globalApplication.getMainWindow();
    if (main && main->getHwnd()) return main->getHwnd();
    return GetAncestor(parent->getHwnd(), GA_ROOT);
}

void SComPortControl::onWatchedMessage(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, LPARAM userValue) {
    if (msg == WM_COMMAND && connectButton.isCreated() && wParam == (WPARAM)connectButton.getControlId()) {
        onButtonClicked();
        statusText.invalidate();
    } else if (msg == WM_COMMAND && settingsIcon.isCreated() && wParam == (WPARAM)settingsIcon.getControlId()) {
        showConfigDialog();
    } else if (msg == WM_DEVICECHANGE) {
        onDeviceChange(wParam, lParam);
    } else if (msg == MSG_COM_LINE_LOST && lParam == (LPARAM) static_cast<SComPort*>(this)) {
        closeLostPort();
    } else {
        SControlContainer::onWatchedMessage(h, msg, wParam, lParam, userValue);
    }
}

void SComPortControl::onConnectAction(bool) {}

// The button says what a click does now; while the port opens (the button still says
// "verbinden") or closes, a click has nothing left to do.
void SComPortControl::onButtonClicked() {
    if (isOpen())
        disconnect();
    else if (busy == Busy::no)
        connect();
}

void SComPortControl::connect() {
    if (busy != Busy::no) return;
    busy = Busy::connecting;
    disconnectAsked = false;
    if (open("", parent ? parent->getHwnd() : nullptr)) {
        updateDisplay();
        if (getSettings().tobrikCommands && !disconnectAsked) {
            sendTobrikCmd("+");
            SString reply;
            if (!disconnectAsked) sendTobrikCmd("d", &reply);
        }
    } else {
        setStatusColor(failedColor);
        messageBox(getLastError(), "Fehler", 0x10);
    }
    onConnectAction(true);
    busy = Busy::no;
    if (disconnectAsked) disconnect();
}

// During a connect the port may already be open (the programmer exchange follows): the
// exchange is ended and the disconnect follows the connect.
void SComPortControl::disconnect() {
    if (busy == Busy::connecting) {
        if (isOpen()) {
            disconnectAsked = true;
            cancelExchange();
        }
        return;
    }
    if (busy != Busy::no) return;
    busy = Busy::disconnecting;
    onConnectAction(false);
    SComPort::close(false);
    busy = Busy::no;
    updateDisplay();
}

void SComPortControl::closeLostPort() {
    if (isOpen()) disconnect();
}

void SComPortControl::updateDisplay() {
    bool open = isOpen();
    connectButton.setWindowText(open ? disconnectText : connectText);
    setStatusColor(open ? openColor : closedColor);
    statusText.setWindowText(getSettings().toString());
    statusText.invalidate();
}

void SComPortControl::setStatusColor(COLORREF colour) {
    statusText.getDevice().setColors(SPainter::Keep, colour);
    if (statusText.isWindow()) statusText.invalidate();
}

// Only the removal of a port that is no longer listed closes the line: another device's
// removal leaves it alone.
void SComPortControl::onDeviceChange(WPARAM event, LPARAM data) {
    const DEV_BROADCAST_HDR* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
    if (!isOpen() || event != DBT_DEVICEREMOVECOMPLETE || !header || header->dbch_devicetype != DBT_DEVTYP_PORT)
        return;
    SMapStringToString ports;
    Cp210x::getPortList(ports, true);
    SString mine(getSettings().port);
    mine.toUpper();
    for (int i = 0; i < ports.count(); ++i) {
        SString listed(ports.getKeyAt(i));
        if (listed.toUpper() == mine) return;
    }
    closeLostPort();
}

void SComPortControl::showConfigDialog() {
    if (busy != Busy::no) return; // the settings of a port that is opening or closing stay
    if (isOpen()) {
        messageBox("Eine bestehende Verbindung kann nicht konfiguriert werden.\r\n\r\nTrennen Sie die Verbindung vor "
                   "der Konfiguration.",
                   "gesperrt", 0x40);
        return;
    }
    SComportConfigDlg dialog;
    dialog.setSettings(&getSettings());
    dialog.setLockedFields(lockedFields);
    SWindow* owner = parent ? parent : globalApplication.getMainWindow();
    busy = Busy::configuring; // no connect with the settings half edited
    if (dialog.create(owner)) dialog.showModal(false);
    busy = Busy::no;
    if (persistSettings) getSettings().store(sectionSuffix());
    updateDisplay();
}
