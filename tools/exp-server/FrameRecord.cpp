// FrameRecord: one line per received frame.
#include "tools/exp-server/FrameRecord.h"

namespace {

std::string hexBytes(const SMem& bytes, int limit) {
    std::string out;
    char two[4];
    for (int i = 0; i < bytes.getSize() && i < limit; ++i) {
        std::snprintf(two, sizeof two, " %02X", bytes.getAt(i));
        out += two;
    }
    if (bytes.getSize() > limit) out += " ...";
    return out;
}

// Texts stay on one line: control bytes are escaped.
std::string printable(const SMem& bytes) {
    std::string out;
    for (int i = 0; i < bytes.getSize(); ++i) {
        unsigned char c = bytes.getAt(i);
        if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n";
        else if (c == '\\') out += "\\\\";
        else if (c < 32 || c == 127) {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\x%02X", c);
            out += esc;
        } else out += (char)c;
    }
    return out;
}

} // namespace

FrameRecord::~FrameRecord() {
    if (file) std::fclose(file);
}

bool FrameRecord::open(const std::string& path) {
    file = std::fopen(path.c_str(), "a");
    return file != nullptr;
}

std::string FrameRecord::describe(const ProtocolMessage& message) {
    char head[48];
    uint32_t c = message.code;
    if (c >= 'A' && c <= 'Z') std::snprintf(head, sizeof head, "%c %d", (char)c, message.payload.getSize());
    else std::snprintf(head, sizeof head, "0x%08X %d", c, message.payload.getSize());
    std::string text = head;
    if (c == ProtocolMessage::Status) return text + " " + printable(message.payload);
    if (c == ProtocolMessage::Upload) return text;
    return text + hexBytes(message.payload, 64);
}

void FrameRecord::frame(int session, const ProtocolMessage& message) {
    line(std::to_string(session) + " " + describe(message));
}

void FrameRecord::note(int session, const std::string& text) { line("# " + std::to_string(session) + " " + text); }

void FrameRecord::line(const std::string& text) {
    std::lock_guard<std::mutex> hold(lock);
    if (!file) return;
    std::fprintf(file, "%s\n", text.c_str());
    std::fflush(file);
}
