#include "app/ExperimentWnd.h"

#include "VEK_GUI/SApplicationBasic.h"
#include "VEK_GUI/SFileDialog.h"
#include "VEK_SYSTEM/SSystem.h"
#include "VEK_UTIL/SDebug.h"
#include "VEK_UTIL/SError.h"

#include <shellapi.h>

#include <cstdio>
#include <ctime>

ExperimentWnd::ExperimentWnd()
    : session(*this), txtUeberschrift(*this), protokoll(*this), btnVerbinden(*this), btnUpload(*this),
      btnStart(*this), btnFertig(*this), btnKamera(*this), btnEnde(*this), editName(*this), editMatrikel(*this) {
    session.setState(ExperimentSession::Idle);
}

// The event thread hands messages to this window: it ends before the window goes.
ExperimentWnd::~ExperimentWnd() {
    netClient.close();
    netClient.wait();
}

LRESULT ExperimentWnd::windowProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, bool& handled, LRESULT& result) {
    if (h == hwnd && h && msg == MSG_NET_MESSAGE) {
        netClient.deliver(lParam, session);
        handled = true;
        return result = 0;
    }
    return SFrameWindow::windowProc(h, msg, wParam, lParam, handled, result);
}

// The laboratory's servers are read when the window is made (the configuration is open then).
void ExperimentWnd::onPreCreateWindow() {
    SFrameWindow::onPreCreateWindow();
    settings.loadUserSettings();
    netClient.setWebServer(settings.webServer, settings.webPort);
}

void ExperimentWnd::onCreate(CREATESTRUCTA* createStruct) {
    SFrameWindow::onCreate(createStruct);
    netClient.setMessageWindow(hwnd);
}

void ExperimentWnd::onFirstShow() {
    SFrameWindow::onFirstShow();
    btnVerbinden.createCtrl(this, "Verbinden", 10, 50, 100, 40);
    btnUpload.createCtrl(this, "Upload", 10, 100, 100, 40);
    btnStart.createCtrl(this, "Starten", 10, 150, 100, 40);
    btnFertig.createCtrl(this, "Beenden", 10, 200, 100, 40);
    btnVerbinden.addToolTip("Stellt die Verbindung zum Experiment-Server her", "", 0, 200);
    btnUpload.addToolTip("Upload der Steuerungs-Firmware", "", 0, 200);
    btnStart.addToolTip("startet das Experiment", "", 0, 200);
    btnFertig.addToolTip("beendet das Experiment", "", 0, 200);
    btnUpload.enable(false);
    btnStart.enable(false);
    btnFertig.enable(false);
    protokoll.createCtrl(this, "", 200, 50, 250, 250, 0xF000);
}

// Hidden, not destroyed: the next opening shows the same window with its protocol.
int ExperimentWnd::onClose() {
    netClient.close();
    hide();
    endSession();
    SFrameWindow::onClose();
    return 0;
}

void ExperimentWnd::end() {
    hide();
    endSession();
}

void ExperimentWnd::endSession() {
    ++sessionEnds;
    netClient.close();
    session.setState(ExperimentSession::Idle);
    btnVerbinden.enable(true);
    btnUpload.enable(false);
    btnStart.enable(false);
    btnFertig.enable(false);
}

SButton& ExperimentWnd::getButton(Button button) {
    switch (button) {
    case Upload: return btnUpload;
    case Start: return btnStart;
    case Fertig: return btnFertig;
    default: return btnVerbinden;
    }
}

namespace {

// Set while a button's action waits on the network with messages flowing.
class Waiting {
public:
    explicit Waiting(bool& flag) : flag(flag) { flag = true; }
    ~Waiting() { flag = false; }
    Waiting(const Waiting&) = delete;
    Waiting& operator=(const Waiting&) = delete;

private:
    bool& flag;
};

} // namespace

// The address query and the connect dispatch messages while they wait. A second press
// meanwhile (also after the window was closed and opened again) would take over the stream
// the first one still uses: it is ignored. Closing the window ends the wait without a word.
void ExperimentWnd::connect() {
    if (waiting) return;
    Waiting hold(waiting);
    const unsigned ends = sessionEnds;
    if (netClient.getIp().isEmpty()) netClient.queryAddress();
    if (endedSince(ends)) return;
    SString matrikel = editMatrikel.getWindowText();
    SString name = editName.getWindowText();
    if (matrikel.isEmpty() || matrikel == "MatrikelNr") return showError("Sie m\374ssen Ihre Matrikel-Nummer angeben!");
    if (name.isEmpty() || name == "Name") return showError("Bitte geben Sie Ihren Namen an.");
    if (netClient.getIp().isEmpty()) return showError("Keine Adresse vom Experiment-Webserver erhalten.");
    if (!netClient.connectExperiment(settings.experimentPort)) {
        if (endedSince(ends)) return;
        globalDebug.print(netClient.getErrorText());
        // An address that cannot be reached is asked for again next time; a second press
        // while connected leaves the connection and its address alone.
        if (!netClient.isConnected()) netClient.forgetIp();
        return showError("Verbindung zum Experiment konnte nicht hergestellt werden.");
    }
    session.setState(ExperimentSession::Connecting);
    protokoll.append("Verbindung zum Experiment herstellen\r\n");
    SString command;
    command.setRaw("connect|matrikel=");
    command.append(matrikel).append(";name=").append(name);
    netClient.sendText(ProtocolMessage::Status, command);
}

SString ExperimentWnd::firmwarePath() {
    SString path(globalApplicationBasic.getApplicationDirectory());
    path.append("\\..\\Steuerung\\temp_bin\\Steuerung.bin");
    return path;
}

// The firmware is read whole before anything is sent: a file the toolchain still writes
// must not go out empty or cut short. The state moves before the send, whose wait may
// already dispatch the server's replies.
void ExperimentWnd::upload() {
    if (waiting) return;
    if (netClient.getIp().isEmpty()) {
        Waiting hold(waiting);
        const unsigned ends = sessionEnds;
        netClient.queryAddress();
        if (endedSince(ends)) return;
    }
    if (session.getState() != ExperimentSession::Connected) return;
    SString path = firmwarePath();
    globalDebug.print(path);
    if (!SSystem::fileExists(path)) return showError("Steuerung nicht gefunden.");
    SMem firmware;
    SString reason;
    if (!readFirmware(path, firmware, reason)) {
        SString text("Die Firmware-Datei konnte nicht gelesen werden:\r\n");
        text.append(path).append("\r\n").append(reason);
        return showError(text);
    }
    protokoll.append("Upload Steuerung\r\n");
    session.setState(ExperimentSession::Uploading);
    netClient.sendData(ProtocolMessage::Upload, firmware);
}

void ExperimentWnd::start() {
    if (session.getState() == ExperimentSession::Ready) netClient.sendText(ProtocolMessage::Status, "start");
}

void ExperimentWnd::finish() {
    if (session.getState() != ExperimentSession::Running) return;
    session.setState(ExperimentSession::Finishing);
    netClient.sendText(ProtocolMessage::Status, "finish");
}

void ExperimentWnd::openCamera() {
    SString address = cameraAddress(settings.webServer);
    HINSTANCE done = ShellExecuteA(nullptr, "open", address, nullptr, nullptr, SW_SHOW);
    if ((INT_PTR)done > 32) return;
    SString text("Fehler bei SFileSystem:run(..)\r\n");
    text.append(SSystem::systemErrorText(GetLastError())).append("\r\n").append(address).append(" ");
    globalError.add(text);
    globalError.show(text, 0, "Fehler !", MB_ICONERROR);
}

void ExperimentWnd::feedTelemetry(unsigned char byte) {
    if (telemetrySink) telemetrySink->onTelemetryByte(byte);
}

void ExperimentWnd::debugLine(const SString& text) { globalDebug.print(text); }

// The server's CSV protocol, byte for byte, into a file the user chooses; cancelled, it is
// at least shown in the view.
void ExperimentWnd::saveProtocol(const SMem& csv) {
    char stamp[32];
    std::time_t now = std::time(nullptr);
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d_%H-%M-%S", std::localtime(&now));
    SString proposed;
    proposed.setRaw("Protokoll_");
    proposed.append(editMatrikel.getWindowText()).append("_").append(stamp).append(".csv");
    SFileDialog dialog;
    dialog.setFileName(proposed);
    if (!dialog.save(hwnd, "Protokoll speichern")) {
        SString shown("Protokoll - CSV-Daten:\r\n");
        shown.append(ProtocolMessage::textOf(csv)).append("\r\n");
        protokoll.append(shown);
        return;
    }
    SString path = dialog.getFileName();
    int cut = path.findLastChar('\\');
    SString name = cut >= 0 ? path.mid(cut + 1, path.length() - cut - 1) : path;
    SString line(writeBytes(path, csv) ? "Protokoll gespeichert als " : "Protokoll konnte nicht gespeichert werden: ");
    line.append(name).append("\r\n");
    protokoll.append(line);
}

namespace {

// Far more than any controller holds, and still an allocation a 32-bit program can make.
const long long kFirmwareLimit = 64ll << 20;

// Why the firmware could not be read, for the student.
SString readFailure(DWORD error, DWORD got, long long size) {
    SString reason;
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION)
        reason = "Sie wird gerade von einem anderen Programm benutzt (etwa dem Compiler, der sie schreibt). "
                 "Bitte versuchen Sie es gleich noch einmal.";
    else if (error == ERROR_ACCESS_DENIED)
        reason = "Der Zugriff wurde verweigert.";
    else if (error == ERROR_FILE_TOO_LARGE)
        reason = "Sie ist gr\366\337er als 64 MB.";
    else if (error)
        reason = SSystem::systemErrorText(error);
    else
        reason.format("Sie wurde beim Lesen k\374rzer (%lu von %lu Bytes).", (unsigned long)got, (unsigned long)size);
    if (reason.isEmpty()) reason.format("Fehler %lu.", (unsigned long)error);
    return reason;
}

} // namespace

// Read sharing only: a file another program writes right now is not read half-written.
bool ExperimentWnd::readFirmware(const char* path, SMem& bytes, SString& reason) {
    HANDLE file =
        CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD error = file == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
    LARGE_INTEGER size{};
    if (!error && !GetFileSizeEx(file, &size)) error = GetLastError();
    if (!error && size.QuadPart > kFirmwareLimit) error = ERROR_FILE_TOO_LARGE;
    DWORD total = 0;
    if (!error) {
        bytes.resize((int)size.QuadPart);
        // ReadFile sets got to 0 first: the loop ends at the file's end and on a failure.
        for (DWORD got = 1; got && total < (DWORD)size.QuadPart; total += got) {
            if (!ReadFile(file, bytes.getData() + total, (DWORD)size.QuadPart - total, &got, nullptr))
                error = GetLastError();
        }
    }
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    if (!error && total == (DWORD)size.QuadPart) return true;
    reason = readFailure(error, total, size.QuadPart);
    return false;
}

bool ExperimentWnd::writeBytes(const char* path, const SMem& bytes) {
    std::FILE* file = std::fopen(path, "wb");
    if (!file) return false;
    bool ok = std::fwrite(bytes.getData(), 1, (size_t)bytes.getSize(), file) == (size_t)bytes.getSize();
    return std::fclose(file) == 0 && ok;
}
