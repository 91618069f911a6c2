#include "app/MainWnd.h"

#include "VEK_GUI/SFileDialog.h"
#include "VEK_SYSTEM/SMem.h"
#include "VEK_UTIL/SDebug.h"
#include "VEK_UTIL/SError.h"
#include "app/ProtocolMessage.h"

#include <shlobj.h>

#include <algorithm>

MainWnd::MainWnd()
    : behaelter(this), txtWert(*this), btnExperiment(*this), zuleitung1(this), pumpe1(this), zuleitung2(this),
      pumpe2(this), btnMischA(*this), btnMischB(*this), verlauf(*this), btnMischC(*this), txtMix2(*this),
      txtMix1(*this), entnahme(this), txtAktion(*this), btnAufzeichnen(*this), txtAufzeichnung(*this),
      decoder(*this) {
    title = "Anlage";
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

// A recording that runs when the window goes is finished first, with every row it took.
void MainWnd::onDestroy() {
    if (!recorder.stop()) globalError.add(recorder.getMessage());
    SFrameWindowGraphics::onDestroy();
}

// At the end of a Windows session the process may be ended without its window being destroyed.
LRESULT MainWnd::windowProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, bool& handled, LRESULT& result) {
    if (h && h == hwnd && msg == WM_ENDSESSION && wParam) recorder.stop();
    return SFrameWindowGraphics::windowProc(h, msg, wParam, lParam, handled, result);
}

void MainWnd::onReceiveByte(unsigned char byte) {
    followConnection();
    decoder.onReceiveByte(byte);
    if (recorder.isRecording()) recorder.onByte(RecordingFormat::Serial, byte);
}

void MainWnd::onTelemetryByte(unsigned char byte) {
    decoder.onReceiveByte(byte);
    if (recorder.isRecording()) recorder.onByte(RecordingFormat::Experiment, byte);
}

void MainWnd::setUpPump(Pumpe& pump, const char* caption) {
    pump.setText(caption, pump.getFontSize());
    pump.setLimits(0.0f, 1.0f);
    pump.setValue(0.0f);
}

// Steuerung shows the line's health as the decoder counts it; the recording's count and the
// title follow too.
void MainWnd::onTimer(DWORD tickCount) {
    SFrameWindowGraphics::onTimer(tickCount);
    decoder.onTimer();
    followConnection();
    decoder.measureRate(tickCount);
    const TelemetryDecoder::Counts& counts = decoder.getCounts();
    steuerung.setLineHealth({counts.frames, counts.rejected, counts.bytesPerSecond});
    if (recorder.failed()) {
        showRecording();
        messageBox(recorder.getMessage(), "Fehler", MB_ICONERROR);
    } else if (recorder.isRecording() && recorder.rowsTaken() != rowsShown && GetTickCount() - rowsShownAt >= 250) {
        showRecording();
    }
    updateTitle();
}

void MainWnd::followConnection() {
    if (steuerung.getConnectionCount() == countedConnection) return;
    countedConnection = steuerung.getConnectionCount();
    decoder.startLine();
}

namespace {

SString documentsFolder() {
    char path[MAX_PATH + 1] = "";
    SString folder;
    if (SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, 0, path))) folder.setRaw(path);
    return folder;
}

SString rowCountText(uint64_t rows, const char* after) {
    SString text;
    return text.format(rows == 1 ? "%llu Zeile%s" : "%llu Zeilen%s", (unsigned long long)rows, after);
}

} // namespace

void MainWnd::toggleRecording() {
    if (recorder.isRecording()) {
        stopRecording();
        return;
    }
    SYSTEMTIME now;
    GetLocalTime(&now);
    SFileDialog dialog;
    dialog.setFilter("CSV-Dateien (*.csv)|*.csv|alle Dateien|*.*");
    dialog.setDefaultExtension("csv");
    dialog.setInitialFolder(documentsFolder());
    dialog.setFileName(RecordingFormat::proposedFileName(
        RecordingFormat::Time{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, 0}));
    if (dialog.save(hwnd, "Aufzeichnung speichern")) startRecording(dialog.getFileName());
}

bool MainWnd::startRecording(const char* path) {
    bool started = recorder.start(path);
    showRecording();
    if (!started) messageBox(recorder.getMessage(), "Fehler", MB_ICONERROR);
    return started;
}

void MainWnd::stopRecording() {
    bool saved = recorder.stop();
    showRecording();
    if (!saved) messageBox(recorder.getMessage(), "Fehler", MB_ICONERROR);
}

// The button's text and the row count: taken while recording, saved once it ended.
void MainWnd::showRecording() {
    const bool on = recorder.isRecording();
    if (SString(btnAufzeichnen.getWindowText()) != (on ? "Aufzeichnung beenden" : "Aufzeichnen"))
        btnAufzeichnen.setWindowText(on ? "Aufzeichnung beenden" : "Aufzeichnen");
    rowsShown = on ? recorder.rowsTaken() : recorder.rowsSaved();
    rowsShownAt = GetTickCount();
    txtAufzeichnung.setWindowText(recorder.getPath().isEmpty() ? SString()
                                  : on ? rowCountText(rowsShown, "")
                                       : rowCountText(rowsShown, " gespeichert"));
}

SString MainWnd::titleText() {
    SString text("Anlage");
    const char* joint = " \226 ";
    if (steuerung.isOpen()) {
        SString port(steuerung.getSettings().port);
        text.append(joint).append(port.toUpper());
        joint = ", ";
    }
    if (experimentWnd.getState() >= ExperimentSession::Connected) text.append(joint).append("Experiment");
    return text;
}

void MainWnd::updateTitle() {
    if (!hwnd) return;
    SString text = titleText();
    if (text != shownTitle) {
        shownTitle = text;
        setWindowText(text);
    }
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
