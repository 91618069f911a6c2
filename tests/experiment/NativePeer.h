// NativePeer: a Linux program (exp-server, node) started from a Windows test under Wine.
// Wine starts a Unix program through CreateProcess but hands back no process handle and no
// pipes, so a shell keeps its pid and its output in files of a temporary folder. A watchdog
// ends the program after two minutes should the test not.
#pragma once

#include "tests/support/TempDir.h"

#include <string>

class NativePeer {
public:
    NativePeer();
    ~NativePeer(); // stop()
    NativePeer(const NativePeer&) = delete;
    NativePeer& operator=(const NativePeer&) = delete;

    // Runs `command` (a shell command line with Unix paths) and waits for its first line.
    bool start(const std::string& command, int timeoutMs = 5000);
    // Ends the program (SIGTERM) and waits until it is gone.
    void stop();

    const std::string& firstLine() const { return line; }
    const std::string& getError() const { return error; }
    // The folder in Unix form, for options such as --record.
    const std::string& unixFolder() const { return folderUnix; }
    std::string readFile(const char* name) const;

    static std::string unixPath(const char* windowsPath);
    static bool unixFileExists(const std::string& path);

private:
    bool runShell(const std::string& script);

    TempDir folder;
    std::string folderUnix;
    std::string pid;
    std::string line;
    std::string error;
};

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
