// SDebug: one-line trace messages over TCP to the debug monitor on this machine
// (localhost:5001). The first print after enable() tries once to connect; when that
// fails, every later trace is dropped without another attempt.
#pragma once

#include "VEK_SYSTEM/SNetworkStreamTcp.h"

#include <mutex>

class SDebug : public SNetworkStreamTcp {
public:
    enum { NOT_TRIED = 0, CONNECTED = 1, FAILED = 2 };
    static const int printfLimit = 5000;

    SDebug();
    const char* getClassName() const override { return "SDebug"; }

    void enable();
    bool isEnabled() const;
    void print(const char* text);
    void printf(const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;
    // Another monitor address (tests); closes the connection and allows one new attempt.
    void setTarget(const char* targetHost, int targetPort);
    int getConnectState() const;

private:
    mutable std::mutex printLock; // traces may come from any thread
    bool disabled = true;
    int connectState = NOT_TRIED;
};

extern SDebug globalDebug;
