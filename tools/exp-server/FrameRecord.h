// FrameRecord: the file in which exp-server notes every frame it receives, one line per
// frame: session number, code, length, then the payload (text for 'S', hex bytes for 'D',
// nothing for the firmware of 'U'). Lines that are no frame start with "#".
#pragma once

#include "app/ProtocolMessage.h"

#include <cstdio>
#include <mutex>
#include <string>

class FrameRecord {
public:
    FrameRecord() = default;
    FrameRecord(const FrameRecord&) = delete;
    FrameRecord& operator=(const FrameRecord&) = delete;
    ~FrameRecord();

    bool open(const std::string& path);
    void frame(int session, const ProtocolMessage& message);
    void note(int session, const std::string& text);

    // How a frame appears in the record (without the session number).
    static std::string describe(const ProtocolMessage& message);

private:
    void line(const std::string& text);

    std::mutex lock; // sessions run on threads of their own
    FILE* file = nullptr;
};
