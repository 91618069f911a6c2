// Connection: one client a Listener accepted, on a stream and event thread of its own.
// When it is done it says so, and the main thread destroys it.
#pragma once

#include "VEK_SYSTEM/SNetworkStreamTcp.h"

#include <atomic>

class Connection : public SNetworkStreamTcp {
public:
    ~Connection() override { stopEventThread(); }
    const char* getClassName() const override { return "Connection"; }

    // Takes over a socket the listener accepted and starts watching it.
    bool adopt(Socket s);
    // About every 10 ms, on the main thread: for replies that are due later.
    virtual void tick() {}
    bool isFinished() const { return finished.load(); }

protected:
    void onCloseEvent() override { finish(); }
    void finish() { finished = true; }

private:
    std::atomic<bool> finished{false};
};
