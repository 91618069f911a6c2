// PlantSim: the Linux plant-sim program started from a Windows test under Wine, on a
// pseudo-terminal that it links into this Wine prefix as a COM port. Wine starts a Unix
// program through CreateProcess but gives back no process handle and no pipes, so a
// shell records the program's pid and its output in files of a temporary folder.
#pragma once

#include "tests/support/TempDir.h"

#include <functional>
#include <string>

class PlantSim {
public:
    // Starts plant-sim linked as `port` (e.g. "com7") with further options, and waits until
    // the port is ready. A watchdog ends it after 15 minutes should the test not.
    PlantSim(const char* port, const std::string& options);
    ~PlantSim(); // stop()
    PlantSim(const PlantSim&) = delete;
    PlantSim& operator=(const PlantSim&) = delete;

    bool isReady() const { return ready; }
    const std::string& getError() const { return error; }
    // Ends the program (SIGTERM) and waits until it is gone.
    void stop();
    // What plant-sim received (its --record file).
    std::string received() const;

    static std::string programPath(); // empty when the native build has not made it
    static std::string unixPath(const char* windowsPath);

private:
    bool runShell(const std::string& script);
    bool waitFor(const std::function<bool()>& condition, int timeoutMs) const;

    TempDir folder;
    std::string folderUnix;
    std::string pid;
    bool ready = false;
    std::string error;
};
