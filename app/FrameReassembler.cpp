// FrameReassembler: frame cutting without waiting.
#include "app/FrameReassembler.h"

void FrameReassembler::append(const void* bytes, int count) {
    if (rejected) return;
    rxBuffer.append(bytes, count);
}

void FrameReassembler::reset() {
    rxBuffer.clear();
    consumed = 0;
    rejected = false;
    rejectedLength = 0;
}

uint32_t FrameReassembler::u32At(int offset) const {
    const unsigned char* p = rxBuffer.getData() + offset;
    return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

FrameReassembler::Result FrameReassembler::next(ProtocolMessage& message) {
    if (rejected) return Incomplete;
    int available = rxBuffer.getSize() - consumed;
    if (available >= ProtocolMessage::headerSize) {
        uint32_t length = u32At(consumed + 4);
        if (length > maxLength) {
            rejected = true;
            rejectedLength = length;
            rxBuffer.clear();
            consumed = 0;
            return Oversized;
        }
        if ((uint32_t)(available - ProtocolMessage::headerSize) >= length) {
            message.code = u32At(consumed);
            message.payload = rxBuffer.copy(consumed + ProtocolMessage::headerSize, (int)length);
            consumed += ProtocolMessage::headerSize + (int)length;
            return Complete;
        }
    }
    // Handing out frames only moves an offset; the front is cut once per burst, not once
    // per frame, so many small frames in one read cost no repeated copying.
    rxBuffer.removeFront(consumed);
    consumed = 0;
    return Incomplete;
}
