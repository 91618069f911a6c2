// The experiment suite's native peers (exp-server, the Node web server) and the folders of a
// program installation they are used with.
#pragma once

#include "tests/support/NativePeer.h"
#include "tests/support/TempDir.h"

// The native exp-server comes from the linux preset; without it a test cannot run.
#define SKIP_WITHOUT_EXP_SERVER()                                                                       \
    if (!NativePeer::unixFileExists(ExpServer::programPath()))                                          \
    GTEST_SKIP() << "exp-server not built at " << ExpServer::programPath() << " (build the linux preset)"

// exp-server on free ports, with the misbehaviour options given.
class ExpServer : public NativePeer {
public:
    static std::string programPath() { return VEK_EXP_SERVER; }
    bool start(const std::string& options);
    std::string record() const { return readFile("record"); }
    // The frames it received (its record without its own notes).
    std::string received() const;
    int webPort = 0, port = 0;
};

// tests/experiment/web-peer.js under node: one port per behaviour of the web server.
class WebPeer : public NativePeer {
public:
    bool start();
    int portOf(const char* behaviour) const;
};

// A program installed in a folder of its own (bin\Anlage.exe), its user configuration in
// another, with the experiment's servers set there. Nothing listens on port 1, so a query
// or connect to it fails at once.
class ExperimentLab {
public:
    ExperimentLab();
    ~ExperimentLab();
    ExperimentLab(const ExperimentLab&) = delete;
    ExperimentLab& operator=(const ExperimentLab&) = delete;

    bool ready() const { return configOpen; }
    void servers(const char* host, int webPort, int experimentPort);
    // The firmware the upload sends, as the toolchain leaves it.
    void writeFirmware(const char* bytes, int length = -1);

    TempDir config, install;

private:
    bool configOpen = false;
};
