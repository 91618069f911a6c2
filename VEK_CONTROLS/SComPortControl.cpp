#include "VEK_CONTROLS/SComPortControl.h"

#include "VEK_ARRAYS/SMapStringToString.h"
#include "VEK_CONTROLS/SComportConfigDlg.h"
#include "VEK_GUI/SApplication.h"
#include "VEK_GUI/SToolTip.h"
#include "VEK_SYSTEM/Cp210x.h"
#include "VEK_UTIL/SDebug.h"

#include <dbt.h>

#include <algorithm>

namespace {
// The size the children's rectangles are given for.
const int referenceWidth = 100;
const int referenceHeight = 40;
const UINT_PTR tickTimer = 1;
// Marked texts: the language chooses the variant first, then the values go in.
const char* waitingText = "~~idWaitingForPort~~warte auf %s \205~~waiting for %s \205";
// A blank ends each line: Wine draws the longest line of a tip a few pixels narrower than it
// measures it, and would cut its last digit.
const char* healthTipText = "~~idLineHealthTip~~Rahmen: %llu \r\nverworfene Bytes: %llu \r\nBytes/s: %u ~~frames: "
                            "%llu \r\nrejected bytes: %llu \r\nbytes/s: %u ";
} // namespace

SComPortControl::SComPortControl() {
    connectText = "~~idConnect~~verbinden~~connect";
    disconnectText = "~~idDisconnect~~trennen~~disconnect";
}

// The port is closed while the whole object still exists: close dispatches messages, and
// no tick may reopen it meanwhile.
SComPortControl::~SComPortControl() {
    if (hwnd) {
        KillTimer(hwnd, tickTimer);
        globalApplication.removeWatches(hwnd, 0);
    }
    waiting = false;
    SComPort::close(false);
}

SString SComPortControl::portName() const {
    SString name(getSettings().port);
    name.toUpper();
    return name;
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
    plainTextColor = statusText.getDevice().getTextColor();
    updateDisplay();
    // Over the status line (which lets the mouse through) the container's tip shows.
    addToolTip("", "", 0, 300);
    showTip();
    showNoise();
    SetTimer(hwnd, tickTimer, lookForPortMs, onTick);

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
        if (isLineLost()) closeLostPort(); // not a message left over from a connection before
    } else {
        SControlContainer::onWatchedMessage(h, msg, wParam, lParam, userValue);
    }
}

void SComPortControl::onConnectAction(bool) {}

// The button says what a click does now; while the port opens (the button still says
// "verbinden") or closes, a click has nothing left to do. While the control waits for its
// port the button says "trennen".
void SComPortControl::onButtonClicked() {
    if (isOpen() || waiting)
        disconnect();
    else if (busy == Busy::no)
        connect();
}

void SComPortControl::connect() {
    if (busy != Busy::no) return;
    waiting = false;
    attemptConnect(true);
}

void SComPortControl::attemptConnect(bool userAsked) {
    busy = Busy::connecting;
    disconnectAsked = false;
    lostWhileConnecting = false;
    if (open("", parent ? parent->getHwnd() : nullptr)) {
        waiting = false;
        ++connections;
        lastHealthTrace = GetTickCount();
        updateDisplay();
        if (getSettings().tobrikCommands && !disconnectAsked && !lostWhileConnecting) {
            sendTobrikCmd("+");
            SString reply;
            if (!disconnectAsked && !lostWhileConnecting) sendTobrikCmd("d", &reply);
        }
    } else if (userAsked) {
        setStatusColor(failedColor);
        messageBox(getLastError(), "Fehler", 0x10);
    }
    onConnectAction(true);
    busy = Busy::no;
    if (disconnectAsked) disconnect();
    else if (lostWhileConnecting) closeLostPort();
}

// During a connect the port may already be open (the programmer exchange follows): the
// exchange is ended and the disconnect follows the connect. A wait ends for good.
void SComPortControl::disconnect() {
    if (busy == Busy::connecting) {
        if (isOpen() || waiting) {
            disconnectAsked = true;
            cancelExchange();
        }
        return;
    }
    if (busy != Busy::no) return;
    if (waiting && !isOpen()) { // closed already when its line died
        waiting = false;
        updateDisplay();
        return;
    }
    busy = Busy::disconnecting;
    onConnectAction(false);
    SComPort::close(false);
    busy = Busy::no;
    updateDisplay();
}

// During a connect the exchange is ended first; a disconnect asked for meanwhile wins.
void SComPortControl::closeLostPort() {
    if (!isOpen()) return;
    if (busy == Busy::connecting) {
        lostWhileConnecting = true;
        cancelExchange();
        return;
    }
    if (busy != Busy::no) return; // closing already
    busy = Busy::disconnecting;
    onConnectAction(false);
    SComPort::close(false);
    busy = Busy::no;
    waiting = true;
    globalDebug.printf(" ### Serial Port %s: warte auf den Port", portName().getBuffer());
    updateDisplay();
}

void SComPortControl::onTick(HWND h, UINT, UINT_PTR, DWORD) {
    if (auto* control = dynamic_cast<SComPortControl*>(globalApplication.findWindow(h))) control->tick();
}

void SComPortControl::tick() {
    if (tipStale) showTip();
    if (waiting) {
        lookForPort();
        return;
    }
    DWORD now = GetTickCount();
    if (isOpen() && busy == Busy::no && now - lastHealthTrace >= healthTraceMs) {
        lastHealthTrace = now;
        traceHealth();
    }
}

// The port is back when it opens again under its own name; another port that appears
// meanwhile (the adapter in another socket) is left to the user.
void SComPortControl::lookForPort() {
    if (busy != Busy::no || !canOpen(getSettings().port)) return;
    attemptConnect(false);
}

void SComPortControl::updateDisplay() {
    bool open = isOpen();
    bool lookingForPort = waiting && !open;
    connectButton.setWindowText(open || lookingForPort ? disconnectText : connectText);
    setStatusColor(open ? openColor : lookingForPort ? waitingColor : closedColor);
    if (lookingForPort) {
        SString text;
        statusText.setWindowText(text.format(waitingText, portName().getBuffer()));
    } else {
        statusText.setWindowText(getSettings().toString());
    }
    statusText.invalidate();
}

void SComPortControl::setStatusColor(COLORREF colour) {
    statusText.getDevice().setColors(SPainter::Keep, colour);
    if (statusText.isWindow()) statusText.invalidate();
}

// Only the removal of a port that is no longer listed closes the line: another device's
// removal leaves it alone. A port that arrives while the control waits may be its own.
void SComPortControl::onDeviceChange(WPARAM event, LPARAM data) {
    const DEV_BROADCAST_HDR* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
    if (!header || header->dbch_devicetype != DBT_DEVTYP_PORT) return;
    if (event == DBT_DEVICEARRIVAL && waiting) lookForPort();
    if (!isOpen() || event != DBT_DEVICEREMOVECOMPLETE) return;
    SMapStringToString ports;
    Cp210x::getPortList(ports, true);
    SString mine = portName();
    for (int i = 0; i < ports.count(); ++i) {
        SString listed(ports.getKeyAt(i));
        if (listed.toUpper() == mine) return;
    }
    closeLostPort();
}

void SComPortControl::showConfigDialog() {
    if (busy != Busy::no) return; // the settings of a port that is opening or closing stay
    if (isOpen() || waiting) {
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

// The colour follows at once; the tip, redrawn whenever its text changes while it shows,
// at the next tick.
void SComPortControl::setLineHealth(const LineHealth& told) {
    if (told.frames == health.frames && told.rejected == health.rejected &&
        told.bytesPerSecond == health.bytesPerSecond)
        return;
    health = told;
    tipStale = true;
    showNoise();
}

void SComPortControl::showTip() {
    tipStale = false;
    if (!toolTip) return;
    SString tip;
    toolTip->setText(tip.format(healthTipText, (unsigned long long)health.frames, (unsigned long long)health.rejected,
                                health.bytesPerSecond));
}

// Rejected bytes colour the text, so that a student notices a noisy cable.
void SComPortControl::showNoise() {
    if (!childrenBuilt) return;
    COLORREF text = health.rejected > 0 ? noisyTextColor : plainTextColor;
    if (statusText.getDevice().getTextColor() == text) return;
    statusText.getDevice().setColors(text, SPainter::Keep);
    if (statusText.isWindow()) statusText.invalidate();
}

void SComPortControl::traceHealth() {
    globalDebug.printf(" ### Serial Port %s: %llu Rahmen, %llu verworfene Bytes, %u Bytes/s",
                       portName().getBuffer(), (unsigned long long)health.frames,
                       (unsigned long long)health.rejected, health.bytesPerSecond);
}
