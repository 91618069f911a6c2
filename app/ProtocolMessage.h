// ProtocolMessage: one message of the experiment server protocol, and the frame that
// carries it on the wire: code (u32 LE), length (u32 LE), then the payload bytes.
#pragma once

#include "VEK_SYSTEM/SMem.h"

#include <cstdint>

class SString;

class ProtocolMessage {
public:
    // The codes: an ASCII capital in the low byte.
    enum Code : uint32_t { Status = 'S', Upload = 'U', Progress = 'B', Data = 'D', Protocol = 'P' };
    static constexpr int headerSize = 8;

    ProtocolMessage() = default;
    ProtocolMessage(uint32_t code, const SMem& payload) : code(code), payload(payload) {}

    // The whole frame in one buffer, so that it can go out in one write.
    static SMem frame(uint32_t code, const void* bytes, int count);
    static SMem frame(uint32_t code, const SMem& payload);
    static SMem frame(uint32_t code, const SString& text); // without the terminator
    SMem toFrame() const { return frame(code, payload); }

    // The payload as text, up to a zero byte (a text protocol has none).
    static SString textOf(const SMem& payload);
    SString text() const;

    uint32_t code = 0;
    SMem payload;
};
