// ProtocolMessage: frame building.
#include "app/ProtocolMessage.h"

#include "VEK_UTIL/SString.h"

#include <cstring>

namespace {

void putU32(unsigned char* at, uint32_t value) {
    for (int i = 0; i < 4; ++i) at[i] = (unsigned char)(value >> (8 * i));
}

} // namespace

SMem ProtocolMessage::frame(uint32_t code, const void* bytes, int count) {
    if (count < 0) count = 0;
    SMem out(headerSize);
    putU32(out.getData(), code);
    putU32(out.getData() + 4, (uint32_t)count);
    out.append(bytes, count);
    return out;
}

SMem ProtocolMessage::frame(uint32_t code, const SMem& payload) {
    return frame(code, payload.getData(), payload.getSize());
}

SMem ProtocolMessage::frame(uint32_t code, const SString& text) {
    return frame(code, text.getBuffer(), text.length());
}

SString ProtocolMessage::text() const { return textOf(payload); }

SString ProtocolMessage::textOf(const SMem& payload) {
    const char* bytes = reinterpret_cast<const char*>(payload.getData());
    int n = 0;
    while (n < payload.getSize() && bytes[n] != 0) ++n;
    SString out;
    out.setRaw(bytes ? bytes : "", n); // server texts are not looked up in the language table
    return out;
}
