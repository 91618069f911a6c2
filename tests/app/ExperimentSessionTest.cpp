#include "app/ExperimentSession.h"
#include "app/FrameReassembler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records every effect as one line, in order.
class Recorder : public ExperimentEffects {
public:
    std::vector<std::string> log;
    std::string view; // the protocol view's text
    void append(const SString& text) override {
        log.push_back(std::string("append ") + text.getBuffer());
        view += text.getBuffer();
    }
    void enableButton(Button b, bool on) override {
        static const char* names[] = {"Verbinden", "Upload", "Start", "Fertig"};
        log.push_back(std::string(on ? "enable " : "disable ") + names[b]);
    }
    void feedTelemetry(unsigned char byte) override { log.push_back("byte " + std::to_string(byte)); }
    void debugLine(const SString& text) override { log.push_back(std::string("debug ") + text.getBuffer()); }
    void closeStream() override { log.push_back("close"); }
    void saveProtocol(const SMem& csv) override {
        log.push_back("save " + std::string(reinterpret_cast<const char*>(csv.getData()), (size_t)csv.getSize()));
    }
};

using S = ExperimentSession;
const std::vector<std::string> idleButtons = {"enable Verbinden", "disable Upload", "disable Start",
                                              "disable Fertig"};

std::vector<std::string> plus(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct Case {
    const char* what;
    int state;
    char code;
    std::string payload;
    int after;
    std::vector<std::string> effects;
};

const Case cases[] = {
    {"greeting", S::Connecting, 'S', "connected|Willkommen|Gruppe 3", S::Connected,
     {"append Willkommen|Gruppe 3\r\n", "enable Upload", "disable Verbinden"}},
    {"bare connected", S::Connecting, 'S', "connected", S::Connected,
     {"append \r\n", "enable Upload", "disable Verbinden"}},
    {"refused", S::Connecting, 'S', "disabled|Kein Zugang", S::Idle,
     plus({"append Kein Zugang\r\n", "close"}, idleButtons)},
    {"connected with code B", S::Connecting, 'B', "connected|x", S::Idle,
     plus({"append Verbindungsaufbau fehlgeschlagen (B)\r\n", "close"}, idleButtons)},
    {"other word", S::Connecting, 'S', "Connected", S::Idle,
     plus({"append Verbindungsaufbau fehlgeschlagen (S)\r\n", "close"}, idleButtons)},
    {"progress while uploading", S::Uploading, 'B', "x|50 %", S::Uploading, {"append ."}},
    {"uploaded", S::Uploading, 'S', "uploaded|Empfangen", S::Programming, {"append Empfangen\r\n"}},
    // The Programming block runs next and takes a 'B' as progress: the text shows twice.
    {"uploaded with code B", S::Uploading, 'B', "uploaded|Empfangen", S::Programming,
     {"append Empfangen\r\n", "append Empfangen\r\n"}},
    {"programming progress", S::Programming, 'B', "error|Seite 3", S::Programming, {"append Seite 3\r\n"}},
    {"programming error", S::Programming, 'S', "error|Fehlgeschlagen", S::Connected,
     {"append Fehlgeschlagen\r\n"}},
    {"burned", S::Programming, 'S', "burned|Programmiert", S::Ready,
     {"append Programmiert\r\n", "disable Upload", "enable Start"}},
    {"other word while programming", S::Programming, 'S', "started|x", S::Programming, {}},
    {"data while ready", S::Ready, 'D', "\x55\xAA", S::Ready, {}},
    {"started", S::Ready, 'S', "started|L\344uft", S::Running,
     {"append L\344uft\r\n", "disable Start", "enable Fertig"}},
    {"data while running", S::Running, 'D', std::string("\x55\xAA\0\x7F", 4), S::Running,
     {"byte 85", "byte 170", "byte 0", "byte 127"}},
    {"status while running", S::Running, 'S', "finished|x", S::Running, {}},
    {"data while finishing", S::Finishing, 'D', "\x55", S::Finishing, {"byte 85"}},
    {"finished", S::Finishing, 'S', "finished|Fertig", S::Ready,
     {"append Fertig\r\n", "enable Start", "disable Fertig"}},
    {"protocol transfer", S::ProtocolTransfer, 'P', "a;b\r\n1;2\r\n", S::Idle,
     plus({"save a;b\r\n1;2\r\n", "close"}, idleButtons)},
    {"anything while idle", S::Idle, 'D', "\x55", S::Idle, idleButtons},
};

TEST(ExperimentSessionTable, EachStateAndMessage) {
    for (const Case& c : cases) {
        Recorder r;
        S session(r);
        session.setState(c.state);
        session.handleMessage(c.code, SMem(c.payload.data(), (int)c.payload.size()));
        EXPECT_EQ(session.getState(), c.after) << c.what;
        EXPECT_EQ(r.log, c.effects) << c.what;
    }
}

// The network client's path: bytes through the reassembler, each message into the session.
void receive(FrameReassembler& rx, S& session, const SMem& bytes) {
    rx.append(bytes);
    ProtocolMessage m;
    for (;;) {
        FrameReassembler::Result result = rx.next(m);
        if (result == FrameReassembler::Incomplete) return;
        if (result == FrameReassembler::Oversized) return session.rejectFrame(rx.getRejectedLength());
        session.handleMessage(m);
    }
}

TEST(ExperimentSessionFlow, HugeLengthEndsTheSession) {
    Recorder r;
    S session(r);
    FrameReassembler rx;
    session.setState(S::Running);
    SMem bytes = ProtocolMessage::frame('D', SString("\x55"));
    const unsigned char huge[] = {'D', 0, 0, 0, 0xF0, 0xFF, 0xFF, 0xFF, 1, 2, 3};
    bytes.append(huge, sizeof huge);
    receive(rx, session, bytes);
    std::vector<std::string> expected = {"byte 85",
                                         "append Verbindung getrennt: Nachricht mit 4294967280 Bytes ist zu lang.\r\n",
                                         "debug Nachricht mit L\344nge 4294967280 abgelehnt, Verbindung geschlossen.",
                                         "close"};
    EXPECT_EQ(r.log, plus(expected, idleButtons));
    EXPECT_EQ(session.getState(), S::Idle);
}

// The server's end, in any state but Idle: one line and a new session's buttons; in Idle
// there is nothing to say.
TEST(ExperimentSessionFlow, TheServerClosingEndsEverySessionButAnIdleOne) {
    for (int state : {S::Connecting, S::Connected, S::Uploading, S::Programming, S::Ready, S::Running, S::Finishing}) {
        Recorder r;
        S session(r);
        session.setState(state);
        session.connectionLost();
        EXPECT_EQ(session.getState(), S::Idle) << state;
        EXPECT_EQ(r.log, plus({"append Verbindung zum Experiment-Server getrennt.\r\n",
                               "debug Verbindung vom Server beendet.", "close"},
                              idleButtons))
            << state;
    }
    Recorder r;
    S session(r);
    session.connectionLost();
    EXPECT_EQ(r.log, std::vector<std::string>{"close"});
}

} // namespace
