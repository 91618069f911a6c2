// The experiment suite's native peers: exp-server and the Node web server.
#pragma once

#include "tests/support/NativePeer.h"

// exp-server on free ports, with the misbehaviour options given.
class ExpServer : public NativePeer {
public:
    static std::string programPath() { return VEK_EXP_SERVER; }
    bool start(const std::string& options);
    std::string record() const { return readFile("record"); }
    int webPort = 0, port = 0;
};

// tests/experiment/web-peer.js under node: one port per behaviour of the web server.
class WebPeer : public NativePeer {
public:
    bool start();
    int portOf(const char* behaviour) const;
};
