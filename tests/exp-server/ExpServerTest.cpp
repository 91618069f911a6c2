// A real exp-server on free loopback ports, and a client made of the library's TCP stream,
// the frame reassembler, the session's state table and the telemetry decoder: the same
// parts the program's network client joins, with the test thread in the GUI thread's place.
#include "VEK_SYSTEM/SNetworkStreamTcp.h"
#include "app/AddressQuery.h"
#include "app/ExperimentSession.h"
#include "app/FrameReassembler.h"
#include "app/TelemetryDecoder.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/PlantRecorder.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using namespace std::chrono_literals;

// exp-server as a child process on free ports, read from its first line.
struct ServerProcess : ChildProcess {
    explicit ServerProcess(std::vector<std::string> args) : ChildProcess(EXP_SERVER_PATH, std::move(args)) {
        if (std::sscanf(firstLine().c_str(), "exp-server: web 127.0.0.1:%d, experiment 127.0.0.1:%d", &webPort,
                        &port) != 2)
            port = webPort = 0;
    }
    int webPort = 0, port = 0;
};

// The event thread cuts frames; the test thread takes them one at a time, in order.
class Client : public SNetworkStreamTcp {
public:
    ~Client() override { stopEventThread(); }
    bool take(ProtocolMessage& message, std::chrono::milliseconds timeout) {
        std::unique_lock<std::mutex> hold(lock);
        if (!arrived.wait_for(hold, timeout, [this] { return !messages.empty(); })) return false;
        message = messages.front();
        messages.pop_front();
        return true;
    }

protected:
    void onRead() override {
        SMem bytes;
        read(bytes);
        std::lock_guard<std::mutex> hold(lock);
        rx.append(bytes);
        for (ProtocolMessage m; rx.next(m) == FrameReassembler::Complete;) messages.push_back(m);
        arrived.notify_all();
    }

private:
    std::mutex lock;
    std::condition_variable arrived;
    FrameReassembler rx;
    std::deque<ProtocolMessage> messages;
};

// Counts decoded frames and keeps the last mixing ratio ("1: 2").
class Session : public ExperimentEffects {
public:
    Session() : session(*this), decoder(plant) {}
    void append(const SString& text) override { view += text.getBuffer(); }
    void enableButton(Button, bool) override {}
    void feedTelemetry(unsigned char byte) override { decoder.onReceiveByte(byte); }
    void debugLine(const SString&) override {}
    void closeStream() override { client.close(); }
    void saveProtocol(const SMem&) override {}

    bool connect(int port) {
        if (!client.createClient(nullptr, port, "127.0.0.1") || !client.startEventThread()) return false;
        session.setState(ExperimentSession::Connecting);
        return true;
    }
    void send(uint32_t code, const SMem& payload) { client.write(ProtocolMessage::frame(code, payload)); }
    void send(uint32_t code, const char* text) { client.write(ProtocolMessage::frame(code, SString(text))); }
    // Applies messages as they come until `done` holds; false after five quiet seconds.
    bool runUntil(const std::function<bool()>& done) {
        while (!done()) {
            ProtocolMessage message;
            if (!client.take(message, 5s)) return false;
            // A running session, and one waiting for its finish, feeds 'D' frames to the decoder.
            if (message.code == ProtocolMessage::Data && (session.getState() == ExperimentSession::Running ||
                                                          session.getState() == ExperimentSession::Finishing))
                ++dataMessages;
            session.handleMessage(message);
            decoder.onTimer(); // the window's timer: every 'D' frame carries one whole telemetry frame
        }
        return true;
    }
    bool inState(int s) { return runUntil([&] { return session.getState() == s; }); }

    Client client;
    ExperimentSession session;
    PlantRecorder plant;
    TelemetryDecoder decoder;
    std::string view;
    int dataMessages = 0;
};

TEST(ExpServer, AddressQueryAndRefusedAdmission) {
    ServerProcess server({"--web-port", "0", "--port", "0", "--record", "/dev/null", "--comment", "Testlabor",
                          "--web-delay", "200"});
    ASSERT_NE(server.webPort, 0);
    SNetworkStreamTcp web;
    ASSERT_TRUE(web.createClient(nullptr, server.webPort, "127.0.0.1"));
    web.write(AddressQuery::requestText("localhost"));
    SString reply, ip;
    for (int i = 0; i < 50 && !AddressQuery::replyComplete(reply, reply.length(), false); ++i) {
        std::this_thread::sleep_for(100ms);
        reply.append(web.read());
    }
    EXPECT_TRUE(AddressQuery::addressFromReply(reply, reply.length(), false, ip)) << reply.getBuffer();
    EXPECT_STREQ(ip, "127.0.0.1");
    EXPECT_NE(reply.find("127.0.0.1 - Testlabor\r\n"), -1);

    Session s;
    ASSERT_TRUE(s.connect(server.port));
    s.send('S', "connect|matrikel=12345;name=Anna");
    ASSERT_TRUE(s.inState(ExperimentSession::Idle));
    EXPECT_EQ(s.view, "Die Matrikelnummer muss aus sechs Ziffern bestehen.\r\n");
    EXPECT_FALSE(s.client.isConnected());
}

TEST(ExpServer, WholeSessionWithTelemetryAndAMixCommand) {
    TempDir dir;
    ServerProcess server({"--web-port", "0", "--port", "0", "--record", dir.file("record.txt").getBuffer(),
                          "--store", dir.path().getBuffer(), "--telemetry-ms", "20", "--step-ms", "5"});
    ASSERT_NE(server.port, 0);
    Session s;
    ASSERT_TRUE(s.connect(server.port));
    s.send('S', "connect|matrikel=123456;name=Anna");
    ASSERT_TRUE(s.inState(ExperimentSession::Connected)) << s.view;

    const unsigned char firmware[] = {0x0C, 0x94, 0x34, 0x12, 0xFF, 0x7F};
    s.send('U', SMem(firmware, sizeof firmware));
    s.session.setState(ExperimentSession::Uploading);
    ASSERT_TRUE(s.inState(ExperimentSession::Ready)) << s.view;
    EXPECT_NE(s.view.find("...Firmware empfangen (6 Bytes)\r\nSeite 1 von 4"), std::string::npos) << s.view;
    EXPECT_STREQ(dir.read("Steuerung_123456.bin"), SString((const char*)firmware, sizeof firmware));

    s.send('S', "start");
    ASSERT_TRUE(s.runUntil([&] { return (int)s.plant.levels.size() >= 5; })) << s.view;
    EXPECT_EQ(s.session.getState(), ExperimentSession::Running);
    const unsigned char mixC[] = {1, 2};
    s.send('D', SMem(mixC, 2));
    ASSERT_TRUE(s.runUntil([&] { return s.plant.ratio == "1: 2"; }));

    s.session.setState(ExperimentSession::Finishing);
    s.send('S', "finish");
    ASSERT_TRUE(s.inState(ExperimentSession::Ready));
    EXPECT_EQ((int)s.plant.levels.size(), s.dataMessages); // every frame relayed while running reached the decoder whole
    EXPECT_TRUE(s.view.ends_with("Experiment beendet\r\n")) << s.view;
    s.client.close();

    std::string record = dir.read("record.txt").getBuffer();
    for (const char* line : {"1 S 33 connect|matrikel=123456;name=Anna\n", "1 U 6\n", "1 S 5 start\n",
                             "1 D 2 01 02\n", "1 S 6 finish\n"})
        EXPECT_NE(record.find(line), std::string::npos) << line << record;
}

} // namespace
