#include "app/FrameReassembler.h"

#include "VEK_UTIL/SString.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string bytesOf(const SMem& m) {
    return std::string(reinterpret_cast<const char*>(m.getData()), (size_t)m.getSize());
}

struct Got {
    uint32_t code;
    std::string payload;
    bool operator==(const Got&) const = default;
};

// Feeds the pieces one after the other and collects every complete message.
std::vector<Got> deliver(FrameReassembler& r, const std::vector<std::string>& pieces) {
    std::vector<Got> got;
    for (const std::string& piece : pieces) {
        r.append(piece.data(), (int)piece.size());
        ProtocolMessage m;
        while (r.next(m) == FrameReassembler::Complete) got.push_back({m.code, bytesOf(m.payload)});
    }
    return got;
}

std::string header(uint32_t code, uint32_t length) {
    std::string h;
    for (uint32_t v : {code, length})
        for (int i = 0; i < 4; ++i) h += (char)(v >> (8 * i));
    return h;
}

TEST(ProtocolFrame, LayoutIsCodeLengthPayloadLittleEndian) {
    EXPECT_EQ(bytesOf(ProtocolMessage::frame('S', SString("start"))),
              std::string("S\0\0\0\5\0\0\0start", 13));
    SMem big(300);
    std::string f = bytesOf(ProtocolMessage::frame('U', big));
    EXPECT_EQ(f.substr(0, 8), std::string("U\0\0\0\x2C\x01\0\0", 8));
    EXPECT_EQ(f.size(), 308u);
}

TEST(FrameReassembly, EverySplitOfThreeFramesDeliversEachOnceInOrder) {
    std::string stream = bytesOf(ProtocolMessage::frame('S', SString("connected|Hallo"))) +
                         bytesOf(ProtocolMessage::frame('P', SString(""))) +
                         bytesOf(ProtocolMessage::frame('D', SString("\x55\xAA\1\2\3")));
    const std::vector<Got> expected = {{'S', "connected|Hallo"}, {'P', ""}, {'D', "\x55\xAA\1\2\3"}};
    for (size_t cut = 0; cut <= stream.size(); ++cut) {
        FrameReassembler r;
        EXPECT_EQ(deliver(r, {stream.substr(0, cut), stream.substr(cut)}), expected) << "cut " << cut;
        EXPECT_EQ(r.pendingBytes(), 0);
    }
}

TEST(FrameReassembly, LengthBeyondTheBoundIsRejectedWithoutWaitingForIt) {
    for (uint32_t length : {FrameReassembler::maxLength + 1, 0xFFFFFFF8u}) {
        FrameReassembler r;
        std::string good = bytesOf(ProtocolMessage::frame('S', SString("ok")));
        r.append(good.data(), (int)good.size());
        std::string bad = header('S', length) + "xyz";
        r.append(bad.data(), (int)bad.size());
        ProtocolMessage m;
        EXPECT_EQ(r.next(m), FrameReassembler::Complete);
        EXPECT_EQ(r.next(m), FrameReassembler::Oversized);
        EXPECT_EQ(r.getRejectedLength(), length);
        // Out of step from here on: nothing more is taken or delivered until a reset.
        r.append(good.data(), (int)good.size());
        EXPECT_EQ(r.next(m), FrameReassembler::Incomplete);
        EXPECT_EQ(r.pendingBytes(), 0);
        r.reset();
        EXPECT_EQ(deliver(r, {good}), (std::vector<Got>{{'S', "ok"}}));
    }
}

} // namespace
