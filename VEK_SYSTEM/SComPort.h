// SComPort: a Windows serial port. Its read thread hands every received byte to a window
// (MSG_RECEIVE_BYTE, sent and handled one by one), to onReceive and to a ring buffer from
// which the reads with timeouts take their bytes. Writes are synchronous; a stack of state
// texts saves and re-applies the port's settings; the Tobrik programmer's command exchange
// runs over the same port. Every operation belongs to the thread of the notify window.
#pragma once

#include "VEK_ARRAYS/SStringList.h"
#include "VEK_SYSTEM/SComPortSettings.h"
#include "VEK_SYSTEM/SRingBuffer.h"
#include "VEK_UTIL/SString.h"

#include <windows.h>

#include <atomic>
#include <mutex>

class SMem;

class SComPort {
public:
    SComPort();
    SComPort(const SComPort&) = delete;
    SComPort& operator=(const SComPort&) = delete;
    // Runs on the read thread for each byte, except during a programmer command.
    virtual void onReceive(unsigned char byte);
    virtual const char* getClassName() const { return "SComPort"; }
    virtual ~SComPort(); // close(false)

    // Opens `name` (empty: settings.port) and starts the read thread; bytes go to `window`.
    // Refused while the port is opening, closing or in a programmer exchange (asked from a
    // message dispatched meanwhile): the port is opened once, by one thread.
    bool open(const char* name, HWND window);
    // Stops the read thread and closes the port; without keepState the line settings found
    // at opening are written back first. Dispatches this thread's messages meanwhile. The
    // wait for the read thread is bounded (closeWaitMs): closed from inside the handling of a
    // byte, the thread ends only after that handler; the next open collects it.
    void close(bool keepState = false);
    bool isOpen() const { return opened; }
    // Whether the port `name` opens now: tried and closed again at once, without a trace. A
    // port that is missing, or held by another program, does not.
    static bool canOpen(const char* name);

    bool _setState();
    bool applySettings(const char* text);

    bool write(const void* data, int count);
    bool write(const SString& text) { return write(text.getBuffer(), text.length()); }
    bool write(const SMem& memory);
    bool writeByte(unsigned char byte) { return write(&byte, 1); }

    // count -1: as many bytes as arrive within the time (the memory then holds just those).
    bool readBytes(SMem& memory, int timeoutMs, int count);
    unsigned char readByte(int timeoutMs);
    bool readString(SString& text, int timeoutMs, int count);
    bool readUntil(SString& text, int timeoutMs, const char* terminator);

    void purge();
    void setBufferSize(int size);
    void pulseRts();

    void saveState();
    bool restore();

    // Sends the preamble and `command` to the Tobrik programmer, finding its baud rate, and
    // puts the port back as it was. `answer` receives the programmer's last reply. A port
    // closed meanwhile ends the exchange and stays closed, with its own settings back.
    bool sendTobrikCmd(const char* command, SString* answer = nullptr);
    // Ends a programmer exchange under way after its present step; the port is put back.
    void cancelExchange();
    bool isExchanging() const { return exchangeDepth > 0; }

    // The line stopped answering while open (a failed write or line-status query): the
    // window was told with MSG_COM_LINE_LOST. The owner treats it like a removed device.
    bool isLineLost() const { return lineLost.load(); }

    // The platform's text for an error code, or "Unbekannter Fehler <code>." without one.
    static SString systemErrorText(unsigned code);

    SComPortSettings& getSettings() { return settings; }
    const SComPortSettings& getSettings() const { return settings; }
    const SString& getLastError() const { return lastError; }
    HWND getNotifyWindow() const { return notifyWindow.load(); }
    int getBufferSize();
    int getLastTobrikBaud() const { return lastTobrikBaud; }
    int getSavedStateCount() const { return savedStates.count(); }

    static constexpr int receiveBufferCapacity = 400;
    static constexpr DWORD lineCheckMs = 250;
    static constexpr int readChunk = 64; // bytes one read may take from the driver
    static constexpr unsigned closeWaitMs = 3000;

private:
    enum TobrikOutcome { rateRefused, notWritten, noReply, replyLine };
    enum class Change { none, opening, closing };
    struct ReadThreadStart;

    bool setTimeouts(HANDLE port);
    bool startThread(HANDLE port);
    bool collectReadThread(unsigned limitMs);
    static DWORD WINAPI threadMain(void* start);
    void readLoop(HANDLE port, const SString& portName);
    void readBurst(HANDLE port);
    void deliver(HANDLE port, unsigned char byte);
    void checkLine(HANDLE port, const SString& portName);
    void markLineLost(const SString& portName);
    bool takeByte(unsigned char& byte);
    int takeBytes(SMem& memory, int timeoutMs, int count);
    TobrikOutcome tobrikAttempt(const SMem& frame, int baud, SString& reply);
    bool exchangeStopped() const { return exchangeDepth > 0 && (exchangeCancelled || !handle.load()); }
    bool takeState(SString& state);
    static SString text(const char* marked) { return SString(marked); }

    SString lastError;
    std::atomic<HANDLE> handle{nullptr};
    std::atomic<HWND> notifyWindow{nullptr};
    std::mutex bufferLock; // around every use of receiveBuffer
    SRingBuffer receiveBuffer{receiveBufferCapacity};
    SComPortSettings settings;
    HANDLE readThread = nullptr; // owned; released once the thread has ended (by close or the next open)
    DWORD threadId = 0;
    SStringList savedStates;
    DCB initialState{};
    bool opened = false;
    std::atomic<bool> suppressCallback{false};
    int lastTobrikBaud = 0;
    std::atomic<bool> lineLost{false};
    std::atomic<bool> lostUntold{false}; // the window has not been told yet
    DWORD lastLineCheck = 0;             // read thread only
    Change change = Change::none;        // an open or close under way
    int exchangeDepth = 0;               // programmer exchanges under way
    bool exchangeCancelled = false;
};
