// SComPort: open/close with the read thread, buffered reads with message-dispatching
// waits, writes, the state stack and the Tobrik programmer's command exchange.
#include "VEK_SYSTEM/SComPort.h"

#include "VEK_SYSTEM/SComPortMessages.h"
#include "VEK_SYSTEM/SMem.h"
#include "VEK_SYSTEM/SSystem.h"
#include "VEK_UTIL/SDebug.h"
#include "VEK_UTIL/SError.h"

#include <cstring>
#include <memory>

namespace {

const unsigned char tobrikPreamble[] = {0xD4, 0xC7, 0xA3, 0xBE, 0xF1, 0xAC, 0xC9};
const int tobrikRates[] = {500000, 19200, 115200, 250000};
const int tobrikReplyMs = 200;
// The language chooses the variant first, then the port name goes in.
const char* notOpenedText =
    "~~idComPortNotOpened~~Der Port %s konnte nicht ge\366ffnet werden.~~Port %s could not be opened.";

// Bytes as text: a 0 byte would end the text early, so it becomes 0xFF.
SString bytesAsText(const SMem& memory, int count) {
    SString result;
    for (int i = 0; i < count; ++i) {
        unsigned char b = memory.getAt(i);
        result.append((char)(b ? b : 0xFF));
    }
    return result;
}

} // namespace

SComPort::SComPort() = default;

// The read thread uses this object: it must have ended before the object goes. One still
// waiting for a handler after the close's bounded wait is waited for once more, and ended
// by force only should it hang beyond that.
SComPort::~SComPort() {
    close(false);
    if (collectReadThread(closeWaitMs) || !readThread) return;
    globalDebug.print(" ### SComPort: Lese-Thread beendet");
    TerminateThread(readThread, 1);
    CloseHandle(readThread);
    readThread = nullptr;
}

void SComPort::onReceive(unsigned char) {}

SString SComPort::systemErrorText(unsigned code) {
    SString result = SSystem::systemErrorText(code);
    if (result.isEmpty()) result.format("Unbekannter Fehler %u.", code);
    return result;
}

// ---------------------------------------------------------------- opening and closing

namespace {
// Marks an open or close under way for as long as it lasts; the one it was nested in, if
// any, is marked again afterwards.
template <class T> class Marked {
public:
    Marked(T& marked, T value) : field(marked), old(marked) { field = value; }
    ~Marked() { field = old; }
    Marked(const Marked&) = delete;
    Marked& operator=(const Marked&) = delete;

private:
    T& field;
    T old;
};
} // namespace

// The thread's own copy of what it needs: the port's settings may change meanwhile.
struct SComPort::ReadThreadStart {
    SComPort* port;
    HANDLE handle;
    SString portName;
};

bool SComPort::open(const char* name, HWND window) {
    const char* wanted = name && *name ? name : settings.port.getBuffer();
    // Asked again from a message dispatched while the port changes: a second handle and
    // read thread would share the line.
    if (change != Change::none || exchangeDepth > 0) {
        lastError.format(notOpenedText, wanted);
        return false;
    }
    if (handle.load()) close(false); // a second handle would leak and share the line
    if (!collectReadThread(closeWaitMs)) {
        lastError = text("~~forPort~~F\374r den Port ") + wanted +
                    text("~~noReadThread~~ konnte kein Lese-Thread erstellt werden.");
        return false;
    }
    Marked opening(change, Change::opening);
    notifyWindow = window;
    if (name && *name && settings.port.compare(name) != 0) settings.port.setRaw(name);
    globalDebug.printf(" ### \366ffne Serial Port %s, %d Baud", settings.port.getBuffer(), settings.baud);
    lineLost = false;
    lostUntold = false;

    SString path("\\\\.\\");
    path.append(settings.port);
    HANDLE h = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        lastError.format(notOpenedText, settings.port.getBuffer());
        opened = false;
        return false;
    }
    handle = h;
    initialState = DCB{};
    initialState.DCBlength = sizeof(DCB);
    GetCommState(h, &initialState);
    opened = _setState() && handle.load() == h && setTimeouts(h) && startThread(h);
    if (handle.load() != h) lastError.format(notOpenedText, settings.port.getBuffer()); // closed meanwhile
    return opened;
}

bool SComPort::canOpen(const char* name) {
    SString path("\\\\.\\");
    path.append(name ? name : "");
    HANDLE h = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    CloseHandle(h);
    return true;
}

// A one-byte read returns at once when a byte waits, else after at most 2 ms.
bool SComPort::setTimeouts(HANDLE port) {
    COMMTIMEOUTS t{};
    GetCommTimeouts(port, &t);
    t.ReadIntervalTimeout = MAXDWORD;
    t.ReadTotalTimeoutMultiplier = MAXDWORD;
    t.ReadTotalTimeoutConstant = 2;
    t.WriteTotalTimeoutMultiplier = 1;
    t.WriteTotalTimeoutConstant = 1000;
    if (SetCommTimeouts(port, &t)) return true;
    lastError = text("~~port~~Dem Port ") + settings.port +
                text("~~noTimeoutParam~~ konnten Timeout-Parameter nicht konfiguriert werden.");
    return false;
}

bool SComPort::startThread(HANDLE port) {
    lastLineCheck = GetTickCount();
    auto* start = new ReadThreadStart{this, port, settings.port};
    readThread = CreateThread(nullptr, 0, threadMain, start, 0, &threadId);
    if (readThread) return true;
    delete start;
    lastError = text("~~forPort~~F\374r den Port ") + settings.port +
                text("~~noReadThread~~ konnte kein Lese-Thread erstellt werden.");
    return false;
}

// Waits for the read thread to end while this thread's messages are handled (the thread may
// be inside SendMessageA to one of its windows), at most limitMs. Whether it has ended.
bool SComPort::collectReadThread(unsigned limitMs) {
    if (!readThread) return true;
    if (!SSystem::waitFor(readThread, limitMs)) return false;
    CloseHandle(readThread);
    readThread = nullptr;
    threadId = 0;
    return true;
}

void SComPort::close(bool keepState) {
    HANDLE h = handle.load();
    if (!h) return;
    Marked closing(change, Change::closing);
    globalDebug.printf(" ### close Serial Port %s", settings.port.getBuffer());
    purge();
    handle = nullptr; // the read thread's signal to stop
    // A thread that does not end in time waits for a handler further up this thread's stack;
    // it touches neither the port nor its buffer once it sees the signal.
    if (!collectReadThread(closeWaitMs))
        globalDebug.printf(" ### Serial Port %s: der Lese-Thread endet erst sp\344ter", settings.port.getBuffer());
    if (!keepState) {
        SetCommState(h, &initialState);
        SSystem::wait(60);
    }
    CloseHandle(h);
    opened = false;
    SSystem::wait(100);
}

bool SComPort::_setState() {
    HANDLE h = handle.load();
    if (!h) {
        globalError.show(text("~~noAccess~~SComPort::_setState(..) Zugriff auf nicht ge\366ffneten Port."), 0,
                         "Fehler !", 16);
        return false;
    }
    DCB dcb{};
    dcb.DCBlength = sizeof(DCB);
    GetCommState(h, &dcb);
    dcb.BaudRate = (DWORD)settings.baud;
    dcb.fBinary = 1;
    dcb.fParity = 1;
    dcb.fOutxCtsFlow = 0;
    dcb.fOutxDsrFlow = 0;
    dcb.fDtrControl = DTR_CONTROL_DISABLE;
    dcb.fDsrSensitivity = 0;
    dcb.fTXContinueOnXoff = 1;
    dcb.fOutX = 0;
    dcb.fInX = 0;
    dcb.fErrorChar = 0;
    dcb.fNull = 0;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    dcb.fAbortOnError = 0;
    dcb.ByteSize = (BYTE)settings.dataBits;
    dcb.Parity = (BYTE)settings.parity;
    dcb.StopBits = (BYTE)settings.stopBits;
    if (SetCommState(h, &dcb)) {
        SSystem::wait(60);
        return true;
    }
    SString reason = SSystem::systemErrorText(GetLastError());
    lastError = text("~~port~~Der Port ") + settings.port + " " +
                text("~~notConfig~~konnte nicht konfiguriert werden.") + "(" + reason + ")";
    return false;
}

bool SComPort::applySettings(const char* settingsText) {
    settings.fromString(settingsText);
    return _setState();
}

// ---------------------------------------------------------------- the read thread

DWORD WINAPI SComPort::threadMain(void* start) {
    std::unique_ptr<ReadThreadStart> own(static_cast<ReadThreadStart*>(start));
    own->port->readLoop(own->handle, own->portName);
    return 0;
}

// Runs while `handle` is the port this thread was started for.
void SComPort::readLoop(HANDLE port, const SString& portName) {
    while (handle.load() == port) {
        if (!lineLost) readBurst(port);
        if (handle.load() != port) break;
        checkLine(port, portName);
        Sleep(50);
    }
}

// Reads while bytes come, until close. With the port's timeouts one read returns at once with
// the bytes that wait (up to a chunk), or after at most 2 ms with none. Taking them in one read
// rather than one by one saves a driver call per byte (under Wine a round trip to its server);
// the bytes are still handed on one at a time.
void SComPort::readBurst(HANDLE port) {
    unsigned char chunk[readChunk];
    DWORD got = 0;
    while (handle.load() == port && ReadFile(port, chunk, sizeof chunk, &got, nullptr) && got > 0)
        for (DWORD i = 0; i < got && handle.load() == port; ++i) deliver(port, chunk[i]);
}

void SComPort::deliver(HANDLE port, unsigned char byte) {
    HWND window = notifyWindow.load();
    if (window) SendMessageA(window, MSG_RECEIVE_BYTE, 0, byte);
    if (handle.load() != port) return; // closed while the window handled it
    if (!suppressCallback) onReceive(byte);
    std::lock_guard<std::mutex> lock(bufferLock);
    receiveBuffer.put(byte);
}

// A vanished line does not always make reads fail (a closed pseudo-terminal under Wine
// just reads nothing), but the line status query fails: then the window is told.
void SComPort::checkLine(HANDLE port, const SString& portName) {
    DWORD now = GetTickCount();
    if (!lineLost && now - lastLineCheck >= lineCheckMs) {
        lastLineCheck = now;
        DWORD errors = 0;
        COMSTAT status{};
        if (!ClearCommError(port, &errors, &status)) markLineLost(portName);
    }
    HWND window = notifyWindow.load();
    if (lostUntold && window && lostUntold.exchange(false)) PostMessageA(window, MSG_COM_LINE_LOST, 0, (LPARAM)this);
}

void SComPort::markLineLost(const SString& portName) {
    if (lineLost.exchange(true)) return;
    lostUntold = true;
    globalDebug.printf(" ### Serial Port %s: Leitung verloren", portName.getBuffer());
}

// ---------------------------------------------------------------- writing

bool SComPort::write(const SMem& memory) { return write(memory.getData(), memory.getSize()); }

bool SComPort::write(const void* data, int count) {
    HANDLE h = handle.load();
    if (!h) {
        lastError = text("~~errorWritingComPort~~Fehler beim Schreiben auf den COM-Port: Zugriff auf nicht "
                         "ge\366ffneten Port.\r\nBitte verwenden Sie zuerst SComPort::open(..)");
        return false;
    }
    if (count <= 0) return true;
    DWORD written = 0;
    if (!WriteFile(h, data, (DWORD)count, &written, nullptr)) {
        DWORD code = GetLastError();
        lastError = systemErrorText(code);
        DWORD errors = 0;
        COMSTAT status{};
        if (!ClearCommError(h, &errors, &status)) markLineLost(settings.port);
        return false;
    }
    // A write that timed out part-way is lost data, not success.
    if ((int)written != count) {
        lastError = systemErrorText(ERROR_TIMEOUT);
        return false;
    }
    return true;
}

void SComPort::purge() {
    HANDLE h = handle.load();
    if (h) PurgeComm(h, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
    std::lock_guard<std::mutex> lock(bufferLock);
    receiveBuffer.clear();
}

void SComPort::setBufferSize(int size) {
    std::lock_guard<std::mutex> lock(bufferLock);
    receiveBuffer.setCapacity(size);
}

int SComPort::getBufferSize() {
    std::lock_guard<std::mutex> lock(bufferLock);
    return receiveBuffer.getCapacity();
}

void SComPort::pulseRts() {
    HANDLE h = handle.load();
    if (!h) return;
    EscapeCommFunction(h, SETRTS);
    Sleep(50);
    EscapeCommFunction(h, CLRRTS);
}

// ---------------------------------------------------------------- reading

bool SComPort::takeByte(unsigned char& byte) {
    std::lock_guard<std::mutex> lock(bufferLock);
    return receiveBuffer.readByte(byte);
}

// Takes up to `count` bytes (-1: any number) within the time into `memory`; returns how
// many were stored. Polls the buffer every 5 ms while this thread's messages are handled.
int SComPort::takeBytes(SMem& memory, int timeoutMs, int count) {
    memory.resize(count < 0 ? 1000 : count);
    int stored = 0;
    int left = timeoutMs;
    while (left >= 1 && count != 0) {
        if (!isOpen()) break;
        unsigned char byte;
        while ((count < 0 || stored < count) && takeByte(byte)) {
            if (stored == memory.getSize()) memory.resize(stored + 1000);
            memory.setAt(stored++, byte);
        }
        if (stored == count) break;
        int step = left < 5 ? left : 5;
        if (!SSystem::wait((unsigned)step)) break; // the program is quitting
        left -= step;
    }
    return stored;
}

bool SComPort::readBytes(SMem& memory, int timeoutMs, int count) {
    if (count < 0) {
        int stored = takeBytes(memory, timeoutMs, -1);
        memory.resize(stored); // so that the caller knows how many came
        return stored > 0;
    }
    return takeBytes(memory, timeoutMs, count) == count;
}

unsigned char SComPort::readByte(int timeoutMs) {
    lastError.clear();
    if (!isOpen()) {
        lastError = "Fehler beim Lesen vom COM-Port: Zugriff auf nicht ge\366ffneten Port.\r\nBitte verwenden Sie "
                    "zuerst SComPort::open(..)";
        return 0;
    }
    SMem memory;
    return readBytes(memory, timeoutMs, 1) ? memory.getAt(0) : 0;
}

bool SComPort::readString(SString& result, int timeoutMs, int count) {
    result.clear();
    SMem memory;
    int stored = takeBytes(memory, timeoutMs, count < 0 ? -1 : count);
    result = bytesAsText(memory, stored);
    return count < 0 ? stored > 0 : stored == count;
}

bool SComPort::readUntil(SString& result, int timeoutMs, const char* terminator) {
    if (!terminator || !*terminator) return readString(result, timeoutMs, -1);
    result.clear();
    const int length = (int)std::strlen(terminator);
    SMem memory(500);
    int stored = 0;
    int matched = 0;
    int left = timeoutMs;
    while (left >= 1 && matched < length) {
        if (!isOpen() || exchangeStopped()) break;
        unsigned char byte;
        while (matched < length && takeByte(byte)) {
            if (stored == memory.getSize()) memory.resize(stored + 500);
            memory.setAt(stored++, byte);
            // A byte that breaks a partial match may begin a new one ("\r\r\n" ends at "\r\n").
            if (byte == (unsigned char)terminator[matched]) ++matched;
            else matched = byte == (unsigned char)terminator[0] ? 1 : 0;
        }
        if (matched == length) break;
        int step = left < 50 ? left : 50;
        if (!SSystem::wait((unsigned)step)) break;
        left -= step;
    }
    result = bytesAsText(memory, stored);
    return matched == length;
}

// ---------------------------------------------------------------- the state stack

void SComPort::saveState() {
    SString state(handle.load() ? "1," : "0,");
    state.appendFormat("%016d,", (int)(INT_PTR)notifyWindow.load());
    state.append(settings.toString());
    savedStates.add(state);
    globalDebug.printf("speichere %s", state.getBuffer());
}

// Takes the last saved state off the stack and gives its window back.
bool SComPort::takeState(SString& state) {
    int last = savedStates.count() - 1;
    if (last < 0) {
        globalDebug.print("Fehler: SComPort::restore() Aufruf ohne dass States vorhanden sind.");
        return false;
    }
    state = savedStates[last];
    savedStates.removeAt(last);
    notifyWindow = (HWND)(INT_PTR)SString::toNumber(state.mid(2, 16));
    return true;
}

bool SComPort::restore() {
    SString state;
    if (!takeState(state)) return false;
    SString saved = state.from(19);
    bool wasOpen = state.getAt(0) == '1';
    bool result = true;
    // The port name with its comma: com1 is not the port of a state of com10.
    if (!saved.startsWith(settings.port + ",", true)) {
        close(false);
        settings.fromString(saved);
        if (wasOpen) result = open(settings.port, notifyWindow.load());
    } else if (handle.load()) {
        if (wasOpen) {
            result = applySettings(saved);
        } else {
            close(false);
            settings.fromString(saved);
        }
    } else {
        settings.fromString(saved);
        if (wasOpen) result = open(settings.port, notifyWindow.load());
    }
    globalDebug.printf("restore %s", state.getBuffer());
    return result;
}

// ---------------------------------------------------------------- the Tobrik programmer

// One attempt at one rate, 8N1. A rate the platform refuses to set is a failed attempt;
// a port closed or an exchange cancelled during the settle time writes nothing.
SComPort::TobrikOutcome SComPort::tobrikAttempt(const SMem& frame, int baud, SString& reply) {
    reply.clear();
    if (exchangeStopped()) return notWritten;
    settings.baud = baud;
    settings.parity = 0;
    settings.dataBits = 8;
    settings.stopBits = 0;
    if (!_setState()) return rateRefused;
    if (exchangeStopped()) return notWritten;
    purge();
    if (!write(frame)) return notWritten;
    return readUntil(reply, tobrikReplyMs, "\n") ? replyLine : noReply;
}

void SComPort::cancelExchange() {
    if (exchangeDepth > 0) exchangeCancelled = true;
}

bool SComPort::sendTobrikCmd(const char* command, SString* answer) {
    if (!isOpen() || !handle.load()) return false;
    saveState();
    SMem frame(tobrikPreamble, (int)sizeof tobrikPreamble);
    if (command) frame.append(command, (int)std::strlen(command));
    int capacity = getBufferSize();
    if (capacity < 100) setBufferSize(100);
    notifyWindow = nullptr;
    suppressCallback = true;
    if (exchangeDepth++ == 0) exchangeCancelled = false;

    SString reply;
    TobrikOutcome outcome = noReply;
    auto answered = [&] { return outcome == replyLine && reply.find("\xB1") >= 0; };
    if (lastTobrikBaud > 0) {
        outcome = tobrikAttempt(frame, lastTobrikBaud, reply);
        // A failed write keeps the rate: a line that takes no bytes gains nothing from others.
        if (outcome != notWritten && !answered() && !exchangeStopped()) lastTobrikBaud = 0;
    }
    for (int i = 0; lastTobrikBaud == 0 && !exchangeStopped() && i < (int)(sizeof tobrikRates / sizeof tobrikRates[0]);
         ++i) {
        outcome = tobrikAttempt(frame, tobrikRates[i], reply);
        if (answered()) lastTobrikBaud = tobrikRates[i];
    }

    if (--exchangeDepth == 0) {
        suppressCallback = false;
        exchangeCancelled = false;
    }
    purge();
    setBufferSize(capacity);
    if (handle.load()) {
        restore();
    } else {
        // Closed meanwhile: the port's own settings come back, but the port stays closed.
        SString state;
        if (takeState(state)) settings.fromString(state.from(19));
    }
    globalDebug.printf("SComPort::sendTobrikCmd( %s ) answer=%s", command ? command : "", reply.getBuffer());
    if (answer) *answer = reply;
    return outcome == replyLine;
}
