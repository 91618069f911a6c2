// FrameReassembler: cuts a received byte stream into protocol messages (the client's
// rxBuffer). It never waits: bytes of an incomplete frame stay buffered until more come,
// so a read handler can feed it whatever one read event brought and return.
//
// A frame longer than maxLength is not allocated: next() reports it once, and from then
// on the stream is out of step, so every further byte is dropped until reset(). The owner
// closes the connection.
#pragma once

#include "app/ProtocolMessage.h"

#include <cstdint>

class FrameReassembler {
public:
    static constexpr uint32_t maxLength = 16u << 20;
    enum Result { Incomplete, Complete, Oversized };

    void append(const void* bytes, int count);
    void append(const SMem& bytes) { append(bytes.getData(), bytes.getSize()); }
    // Takes the first complete frame out of the buffer.
    Result next(ProtocolMessage& message);
    // For a new connection: nothing of the old one may leak into it.
    void reset();

    bool isRejected() const { return rejected; }
    uint32_t getRejectedLength() const { return rejectedLength; }
    int pendingBytes() const { return rxBuffer.getSize() - consumed; }

private:
    uint32_t u32At(int offset) const;

    SMem rxBuffer;
    int consumed = 0; // bytes at the front already handed out; dropped when a frame is missing
    bool rejected = false;
    uint32_t rejectedLength = 0;
};
