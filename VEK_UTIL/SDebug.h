// SDebug: one-line trace messages over TCP to the debug monitor on this machine
// (localhost:5001). The first print after enable() tries once to connect; when that
// fails, every later trace is dropped without another attempt.
//
// Tracing never holds up the program: the socket does not block, a monitor that takes
// nothing for a while is dropped (lines are lost meanwhile, at most a small rest waits),
// and the trace connects again after a pause.
#pragma once

#include "VEK_SYSTEM/SNetworkStreamTcp.h"

#include <cstdint>
#include <mutex>

class SDebug : public SNetworkStreamTcp {
public:
    enum { NOT_TRIED = 0, CONNECTED = 1, FAILED = 2, STALLED = 3 };
    static const int printfLimit = 5000;

    SDebug();
    const char* getClassName() const override { return "SDebug"; }

    void enable();
    bool isEnabled() const;
    void print(const char* text);
    void printf(const char* format, ...) VEK_PRINTF(2, 3);
    // Another monitor address (tests); closes the connection and allows one new attempt.
    void setTarget(const char* targetHost, int targetPort);
    int getConnectState() const;
    // How long a monitor may take nothing before it is dropped, and the pause before the
    // next attempt to connect.
    void setStallTimes(int stallMs, int reconnectMs);
    int getDroppedLines() const; // lines lost to a monitor that did not take them

private:
    bool connection(uint32_t now);
    void send(const SString& line, uint32_t now);
    void dropConnection(uint32_t now);

    static const int pendingLimit = 65536; // unsent bytes kept for a monitor that lags

    mutable std::mutex printLock; // traces may come from any thread
    bool disabled = true;
    int connectState = NOT_TRIED;
    SString pending; // what the socket has not taken yet
    uint32_t lastProgress = 0;
    uint32_t retryAt = 0;
    int reconnectMs = 5000;
    int droppedLines = 0;
};

extern SDebug globalDebug;
