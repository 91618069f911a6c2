#include "app/MainWnd.h"

#include "VEK_SYSTEM/SMem.h"
#include "VEK_UTIL/SDebug.h"
#include "app/ProtocolMessage.h"

#include <algorithm>

MainWnd::MainWnd()
    : behaelter(this), txtWert(*this), btnExperiment(*this), zuleitung1(this), pumpe1(this), zuleitung2(this),
      pumpe2(this), btnMischA(*this), btnMischB(*this), verlauf(*this), btnMischC(*this), txtMix2(*this),
      txtMix1(*this), entnahme(this), txtAktion(*this), decoder(*this) {
    experimentWnd.setTelemetrySink(this);
}

// The port's read thread sends to this window: it is stopped while the window still exists.
MainWnd::~MainWnd() {
    experimentWnd.setTelemetrySink(nullptr);
    steuerung.SComPort::close(false);
}

void MainWnd::onPreCreateWindow() {
    globalDebug.enable();
    SFrameWindowGraphics::onPreCreateWindow();
}

void MainWnd::onFirstShow() {
    SFrameWindowGraphics::onFirstShow();
    btnEnde.createCtrl(this, "Ende", -100, -30, SControlPositioned::DefaultSize, SControlPositioned::DefaultSize, 1);
    eventCalls.add(SEventBinding::make(WM_COMMAND, btnEnde.getControlId(), 0, static_cast<SWindow*>(this),
                                       &SWindow::close));
    // Wide enough that the status line shows the longest settings text beside the gear.
    steuerung.createCtrl(this, "Steuerung", -200, 10, 190, 40, 1);
    behaelter.fuellstand.setRange(1200.0f, 3200.0f);
    behaelter.fuellstand.setLimits(1600.0f, 2900.0f);
    verlauf.setRange(1200, 3200);
    setUpPump(pumpe1, "P1");
    setUpPump(pumpe2, "P2");
}

void MainWnd::setUpPump(Pumpe& pump, const char* caption) {
    pump.setText(caption, pump.getFontSize());
    pump.setLimits(0.0f, 1.0f);
    pump.setValue(0.0f);
}

void MainWnd::onReceiveByte(unsigned char byte) {
    followConnection();
    decoder.onReceiveByte(byte);
}

// Steuerung shows the line's health as the decoder counts it.
void MainWnd::onTimer(DWORD tickCount) {
    SFrameWindowGraphics::onTimer(tickCount);
    decoder.onTimer();
    followConnection();
    decoder.measureRate(tickCount);
    const TelemetryDecoder::Counts& counts = decoder.getCounts();
    steuerung.setLineHealth({counts.frames, counts.rejected, counts.bytesPerSecond});
}

void MainWnd::followConnection() {
    if (steuerung.getConnectionCount() == countedConnection) return;
    countedConnection = steuerung.getConnectionCount();
    decoder.startLine();
}

void MainWnd::openExperiment() {
    if (!experimentWnd.isWindow()) {
        experimentWnd.create(this);
        SRect r = getWindowRect(true);
        r.x += r.width;
        keepOnScreen(r);
        experimentWnd.moveWindow(r, true);
    }
    experimentWnd.show(SW_RESTORE);
}

// Beside the main window, but moved back into the work area where it would stand beyond
// its edge: a window half off the screen hides its fields from the student.
void MainWnd::keepOnScreen(SRect& r) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoA(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &info)) return;
    const RECT& work = info.rcWork;
    if (r.x + r.width > work.right) r.x = std::max((int)work.left, (int)work.right - r.width);
    if (r.y + r.height > work.bottom) r.y = std::max((int)work.top, (int)work.bottom - r.height);
}

void MainWnd::sendMix(int first, int second) {
    if (experimentWnd.getState() == ExperimentSession::Running) {
        const unsigned char ratio[2] = {(unsigned char)first, (unsigned char)second};
        experimentWnd.getNetClient().sendData(ProtocolMessage::Data, SMem(ratio, 2));
        return;
    }
    if (!steuerung.isOpen()) return;
    steuerung.writeByte((unsigned char)first);
    steuerung.writeByte((unsigned char)second);
}

void MainWnd::showLevel(const SString& valueText, int level) {
    txtWert.setWindowText(valueText);
    behaelter.fuellstand.setValue((float)level);
    verlauf.addValue(level, false);
}

void MainWnd::setStatusText(const SString& text) { txtAktion.setWindowText(text); }
void MainWnd::setRatio1Text(const SString& text) { txtMix1.setWindowText(text); }
void MainWnd::setRatio2Text(const SString& text) { txtMix2.setWindowText(text); }

void MainWnd::setPump1(float value) { pumpe1.setValue(value); }
void MainWnd::setPump2(float value) { pumpe2.setValue(value); }
void MainWnd::repaintPump1() { pumpe1.update(false); }
void MainWnd::repaintPump2() { pumpe2.update(false); }
