// Cp210x: the serial ports of this machine from the registry. Ports of a Silicon Labs
// CP210x USB bridge (VID 10C4, PID EA60) are described by the bridge's USB instance name.
#pragma once

#include "VEK_ARRAYS/SMapStringToString.h"

class Cp210x {
public:
    // Fills `list` with port name -> description ("serial port", the instance name, or
    // "offline - " + instance name for a bridge that is not plugged in, which onlyPresent
    // leaves out). Returns whether it found a port.
    static bool getPortList(SMapStringToString& list, bool onlyPresent);
};
