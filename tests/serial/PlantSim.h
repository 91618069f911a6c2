// PlantSim: the Linux plant-sim started from a Windows test under Wine, on a pseudo-terminal
// that it links into this Wine prefix as a COM port.
#pragma once

#include "tests/support/NativePeer.h"

class PlantSim : public NativePeer {
public:
    // Starts plant-sim linked as `port` (e.g. "com7") with further options, in which {dir}
    // stands for the folder of its files, and waits until the port is ready. The watchdog ends it after 15 minutes should the test not.
    PlantSim(const char* port, const std::string& options);

    bool isReady() const { return ready; }
    // What plant-sim received (its --record file).
    std::string received() const { return readFile("record"); }

    static std::string programPath(); // empty when the native build has not made it

private:
    bool ready = false;
};
