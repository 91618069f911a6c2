// Fuzzes the frame reassembly and the session's state table: the input is a starting state,
// a cut pattern and a server byte stream. The stream cut into pieces must give the same
// messages as the stream in one piece, and the session must stay in a known state.
#include "app/ExperimentSession.h"
#include "app/FrameReassembler.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

class Effects : public ExperimentEffects {
public:
    size_t appended = 0;
    bool buttons[4] = {true, false, false, false};
    void append(const SString& text) override { appended += (size_t)text.length(); }
    void enableButton(Button b, bool on) override { buttons[b] = on; }
    void feedTelemetry(unsigned char) override {}
    void debugLine(const SString&) override {}
    void closeStream() override {}
    void saveProtocol(const SMem&) override {}
};

struct Taken {
    std::vector<ProtocolMessage> messages;
    bool rejected = false;
};

void drain(FrameReassembler& r, Taken& taken) {
    ProtocolMessage m;
    for (;;) {
        FrameReassembler::Result result = r.next(m);
        if (result == FrameReassembler::Incomplete) return;
        if (result == FrameReassembler::Oversized) taken.rejected = true;
        else taken.messages.push_back(m);
    }
}

bool sameMessage(const ProtocolMessage& a, const ProtocolMessage& b) {
    return a.code == b.code && a.payload.getSize() == b.payload.getSize() &&
           (a.payload.getSize() == 0 || std::memcmp(a.payload.getData(), b.payload.getData(),
                                                    (size_t)a.payload.getSize()) == 0);
}

bool knownState(int s) {
    for (int k : {0, 40, 50, 60, 70, 100, 150, 190, 200})
        if (s == k) return true;
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    static const int states[] = {0, 40, 50, 60, 70, 100, 150, 190, 200};
    int start = states[data[0] % 9];
    unsigned cutSeed = data[1];
    const uint8_t* stream = data + 2;
    int n = (int)(size - 2);

    Taken whole, pieces;
    FrameReassembler once, cut;
    once.append(stream, n);
    drain(once, whole);
    for (int at = 0; at < n;) {
        int piece = 1 + (int)((cutSeed = cutSeed * 1103515245u + 12345u) >> 16) % 17;
        if (piece > n - at) piece = n - at;
        cut.append(stream + at, piece);
        drain(cut, pieces);
        at += piece;
    }
    if (whole.rejected != pieces.rejected || whole.messages.size() != pieces.messages.size()) __builtin_trap();
    for (size_t i = 0; i < whole.messages.size(); ++i)
        if (!sameMessage(whole.messages[i], pieces.messages[i])) __builtin_trap();
    if (once.pendingBytes() != cut.pendingBytes()) __builtin_trap();

    Effects effects;
    ExperimentSession session(effects);
    session.setState(start);
    for (const ProtocolMessage& m : whole.messages) {
        session.handleMessage(m);
        if (!knownState(session.getState())) __builtin_trap();
        bool idleButtons = effects.buttons[0] && !effects.buttons[1] && !effects.buttons[2] && !effects.buttons[3];
        if (session.getState() == ExperimentSession::Idle && !idleButtons) __builtin_trap();
    }
    if (whole.rejected) session.rejectFrame(once.getRejectedLength());
    if (whole.rejected && session.getState() != ExperimentSession::Idle) __builtin_trap();
    return 0;
}
