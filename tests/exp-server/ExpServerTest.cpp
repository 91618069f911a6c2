// A real exp-server on free loopback ports, and a client made of the library's TCP stream,
// the address query, the frame reassembler and the session's state table: the parts the
// program's network client joins, with the test thread in the GUI thread's place. The whole
// session runs through the experiment window's suite and the packed program's.
#include "VEK_SYSTEM/SNetworkStreamTcp.h"
#include "app/AddressQuery.h"
#include "app/ExperimentSession.h"
#include "app/FrameReassembler.h"
#include "tests/support/ChildProcess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
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

// The session's view, with the client's stream.
class Session : public ExperimentEffects {
public:
    Session() : session(*this) {}
    void append(const SString& text) override { view += text.getBuffer(); }
    void enableButton(Button, bool) override {}
    void feedTelemetry(unsigned char) override {}
    void debugLine(const SString&) override {}
    void closeStream() override { client.close(); }
    void saveProtocol(const SMem&) override {}

    bool connect(int port) {
        if (!client.createClient(nullptr, port, "127.0.0.1") || !client.startEventThread()) return false;
        session.setState(ExperimentSession::Connecting);
        return true;
    }
    void send(uint32_t code, const char* text) { client.write(ProtocolMessage::frame(code, SString(text))); }
    // Applies messages as they come until the state is reached; false after five quiet seconds.
    bool inState(int state) {
        while (session.getState() != state) {
            ProtocolMessage message;
            if (!client.take(message, 5s)) return false;
            session.handleMessage(message);
        }
        return true;
    }

    Client client;
    ExperimentSession session;
    std::string view;
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

} // namespace
