// SentLog: plant-sim's own record of the telemetry it sent, one line per frame once its last
// byte went to the line: the frame's number (from 0) and its bytes in hex, the noise after it
// included. Tests compare what the program made of the line with it.
#pragma once

#include "tools/plant-sim/FileDescriptor.h"

#include <cstddef>
#include <cstdint>
#include <string>

class SentLog {
public:
    // Empty path: nothing is logged. False (with a message) when the file cannot be made.
    bool open(const std::string& path);
    void frame(uint64_t number, const uint8_t* bytes, size_t count);

private:
    FileDescriptor file;
};
