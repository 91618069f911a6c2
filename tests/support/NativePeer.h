// NativePeer: a Linux program (exp-server, node, plant-sim) started from a Windows test under
// Wine. Wine starts a Unix program through CreateProcess but hands back no process handle and no
// pipes, so a shell keeps its pid and its output in files of a temporary folder. A watchdog
// ends the program should the test not.
#pragma once

#include "tests/support/TempDir.h"

#include <string>

class NativePeer {
public:
    NativePeer();
    ~NativePeer(); // stop()
    NativePeer(const NativePeer&) = delete;
    NativePeer& operator=(const NativePeer&) = delete;

    // Runs `command` (a shell command line with Unix paths) and waits for its first line; the
    // watchdog ends it after `watchdogSeconds`.
    bool start(const std::string& command, int timeoutMs = 5000, int watchdogSeconds = 120);
    // Ends the program (SIGTERM) and waits until it is gone.
    void stop();

    const std::string& firstLine() const { return line; }
    const std::string& getError() const { return error; }
    // The folder in Unix form, for options such as --record.
    const std::string& unixFolder() const { return folderUnix; }
    std::string readFile(const char* name) const;

    static std::string unixPath(const char* windowsPath);
    static bool unixFileExists(const std::string& path);

protected:
    std::string error;

private:
    bool runShell(const std::string& script);

    TempDir folder;
    std::string folderUnix;
    std::string pid;
    std::string line;
};
