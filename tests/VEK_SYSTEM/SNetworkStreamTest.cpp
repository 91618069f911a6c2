#include "VEK_SYSTEM/SNetworkStreamTcp.h"

#include "HeldNameLookup.h"
#include "PlainPeer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>

namespace {

// Collects everything its event thread reads; a server collector accepts on its own.
class Collector : public SNetworkStreamTcp {
public:
    ~Collector() override { stopEventThread(); }

    void onRead() override {
        SMem chunk;
        read(chunk);
        std::lock_guard<std::mutex> lock(mutex);
        received.append((const char*)chunk.getData(), (std::size_t)chunk.getSize());
    }
    void onAccept() override { accepted = acceptClient(); }
    void onCloseEvent() override { ++closeEvents; }

    std::string text() {
        std::lock_guard<std::mutex> lock(mutex);
        return received;
    }
    std::size_t size() { return text().size(); }

    std::atomic<bool> accepted{false};
    std::atomic<int> closeEvents{0};

private:
    std::mutex mutex;
    std::string received;
};

std::string pattern(std::size_t n) {
    std::string s(n, '\0');
    for (std::size_t i = 0; i < n; ++i) s[i] = (char)(i * 31 + i / 251);
    return s;
}

// Connects to the peer and, with `running`, starts the stream's event thread.
bool connectTo(SNetworkStreamTcp& stream, PlainPeer& peer, bool running = false) {
    return stream.createClient(nullptr, peer.port(), "127.0.0.1") && peer.accept() &&
           (!running || stream.startEventThread());
}

TEST(SNetworkStreamTcp, ClientAndServerRolesExchangeSegmentsInOrder) {
    Collector server, client;
    int port = PlainPeer::freePort();
    ASSERT_TRUE(server.createServer(nullptr, port, "127.0.0.1")) << server.getErrorText().getBuffer();
    EXPECT_STREQ(server.getStatusText(), "Server gestartet.");
    ASSERT_TRUE(server.startEventThread());
    ASSERT_TRUE(client.createClient(nullptr, port, "127.0.0.1")) << client.getErrorText().getBuffer();
    EXPECT_STREQ(client.getStatusText(), "Client verbunden.");
    EXPECT_TRUE(client.isConnectedTo("127.0.0.1", -1));
    EXPECT_FALSE(client.isConnectedTo("127.0.0.1", port + 1));
    ASSERT_TRUE(client.startEventThread());
    ASSERT_TRUE(waitUntil([&] { return server.accepted.load(); }));
    EXPECT_STREQ(server.getStatusText(), "Client akzeptiert.");

    // Many small writes, then several messages in one write.
    std::string expected;
    for (int i = 0; i < 300; ++i) {
        std::string piece = "m" + std::to_string(i) + ";";
        ASSERT_TRUE(client.write(SString(piece.c_str())));
        expected += piece;
    }
    SMem batch;
    batch.append("one\0two\0three", 13);
    ASSERT_TRUE(client.write(batch));
    expected.append("one\0two\0three", 13);
    ASSERT_TRUE(waitUntil([&] { return server.size() >= expected.size(); }));
    EXPECT_EQ(server.text(), expected);

    // A megabyte the other way arrives whole.
    std::string big = pattern(1 << 20);
    ASSERT_TRUE(server.write(SMem(big.data(), (int)big.size())));
    ASSERT_TRUE(waitUntil([&] { return client.size() >= big.size(); }, 20000));
    EXPECT_TRUE(client.text() == big);
}

TEST(SNetworkStreamTcp, PeerClosingLeavesConnectedAndLaterWritesFail) {
    PlainPeer peer;
    Collector client;
    ASSERT_TRUE(connectTo(client, peer, true));
    std::string expected;
    for (int i = 0; i < 200; ++i) {
        std::string piece = "<" + std::to_string(i) + ">";
        ASSERT_TRUE(peer.send(piece));
        expected += piece;
    }
    ASSERT_TRUE(waitUntil([&] { return client.size() >= expected.size(); }));
    EXPECT_EQ(client.text(), expected);

    peer.closeClient();
    ASSERT_TRUE(waitUntil([&] { return client.closeEvents.load() > 0; }));
    EXPECT_TRUE(client.isConnected());
    // The platform notices the closed peer only after a send or two.
    bool failed = waitUntil([&] { return !client.write(SString("ping")); });
    ASSERT_TRUE(failed);
    EXPECT_STREQ(client.getErrorText(), "Daten konnten nicht gesendet werden.");
    EXPECT_STREQ(client.getStatusText(), "Fehler...");
    EXPECT_GE(client.closeEvents.load(), 1); // Wine may report the close again after the reset
}

TEST(SNetworkStreamTcp, SecondCreateClientFailsAndKeepsTheConnection) {
    PlainPeer peer;
    SNetworkStreamTcp client;
    ASSERT_TRUE(connectTo(client, peer));
    EXPECT_FALSE(client.createClient(nullptr, peer.port(), "127.0.0.1"));
    EXPECT_STREQ(client.getErrorText(), "SNetworkStream::createClient(..) : Fehler, Stream ist bereits verbunden.");
    EXPECT_TRUE(client.isConnected());
    EXPECT_FALSE(peer.pendingClient(50));
    ASSERT_TRUE(client.write(SString("still here")));
    EXPECT_EQ(peer.receive(10), "still here");

    SNetworkStreamTcp server;
    const int first = PlainPeer::freePort();
    ASSERT_TRUE(server.createServer(nullptr, first, "127.0.0.1"));
    EXPECT_FALSE(server.createClient(nullptr, peer.port(), "127.0.0.1"));
    EXPECT_STREQ(server.getErrorText(),
                 "SNetworkStream::createClient(..) : Fehler, Stream ist bereits als Server gestartet.");
    EXPECT_FALSE(server.createServer(nullptr, PlainPeer::freePort(), "127.0.0.1"));
    EXPECT_STREQ(server.getErrorText(),
                 "SNetworkStream::createServer(..) : Fehler, Stream ist bereits als Server gestartet.");
    server.close(); // nothing may listen on the first port afterwards
    SNetworkStreamTcp late;
    EXPECT_FALSE(late.createClient(nullptr, first, "127.0.0.1"));
}

TEST(SNetworkStreamTcp, FailedConnectsLeaveNoSocketAndExplainWhy) {
    SNetworkStreamTcp stream;
    EXPECT_FALSE(stream.createClient(nullptr, 5001, "name-that-does-not-exist.invalid"));
    SString error = stream.getErrorText();
    const char* head = "Kann Server-Name/Adresse 'name-that-does-not-exist.invalid' nicht aufl\366sen.\r\n";
    const char* tail = "\r\nFehler beim Erzeugen eines TCP-Clients.";
    EXPECT_TRUE(error.startsWith(head)) << error.getBuffer();
    EXPECT_TRUE(error.endsWith(tail)) << error.getBuffer();
    EXPECT_GT(error.length(), (int)(strlen(head) + strlen(tail))); // the system's text between
    EXPECT_STREQ(stream.getStatusText(), "Fehler...");
    EXPECT_FALSE(stream.hasSocket());
    EXPECT_FALSE(stream.isConnected());

    EXPECT_FALSE(stream.createClient(nullptr, PlainPeer::freePort(), "127.0.0.1"));
    EXPECT_TRUE(stream.getErrorText().startsWith("Fehler beim Verbinden.(")) << stream.getErrorText().getBuffer();
    EXPECT_FALSE(stream.hasSocket());
    EXPECT_FALSE(stream.startEventThread());
    EXPECT_FALSE(stream.isRunning());
    EXPECT_FALSE(stream.write(SString("x")));
}

TEST(SNetworkStreamTcp, CloseEndsTheEventThreadAndTheStreamCanConnectAgain) {
    PlainPeer first;
    Collector client;
    ASSERT_TRUE(connectTo(client, first, true));
    EXPECT_TRUE(client.isRunning());
    client.close();
    EXPECT_FALSE(client.isConnected());
    EXPECT_TRUE(waitUntil([&] { return !client.isRunning(); }, 400)); // within one wait period
    EXPECT_EQ(first.receive(1, 1000), ""); // the peer sees the end of the stream
    EXPECT_FALSE(client.write(SString("gone")));

    // Closing and connecting again at once, as the address query does before the session.
    PlainPeer second;
    ASSERT_TRUE(connectTo(client, second, true));
    client.close();
    PlainPeer third;
    ASSERT_TRUE(connectTo(client, third, true));
    ASSERT_TRUE(third.send("again"));
    ASSERT_TRUE(waitUntil([&] { return client.text().find("again") != std::string::npos; }));
}

TEST(SNetworkStreamTcp, ReadsTakeWhatWaitsWithoutBlocking) {
    PlainPeer peer;
    SNetworkStreamTcp client;
    SMem bytes;
    EXPECT_FALSE(client.read(bytes)); // not connected
    EXPECT_TRUE(client.read().isEmpty());
    ASSERT_TRUE(connectTo(client, peer));

    EXPECT_TRUE(client.read(bytes)); // nothing waits: no block, no error
    EXPECT_EQ(bytes.getSize(), 0);

    // Exactly two full chunks: all of it, and no read error.
    std::string block = pattern(2000);
    ASSERT_TRUE(peer.send(block));
    SMem all;
    ASSERT_TRUE(waitUntil([&] {
        SMem part;
        client.read(part);
        all.append(part);
        return all.getSize() >= 2000;
    }));
    EXPECT_EQ(std::string((const char*)all.getData(), 2000), block);
    EXPECT_TRUE(client.getErrorText().isEmpty()) << client.getErrorText().getBuffer();

    ASSERT_TRUE(peer.send(std::string("abc\0def", 7)));
    SString text;
    ASSERT_TRUE(waitUntil([&] {
        text.append(client.read());
        return !text.isEmpty();
    }));
    EXPECT_STREQ(text, "abc"); // text reading stops at a zero byte
}

// A stream whose owner waits its own way (a GUI would dispatch messages): it counts the waits
// and may close the stream from one of them, as a handler run meanwhile would.
class Owner : public SNetworkStreamTcp {
public:
    Owner() { connectTimeoutMs = 300; }
    std::atomic<int> waits{0};
    int closeInWait = 0; // the wait in which to close; 0: never

protected:
    bool waitWhileBusy(Socket s, int ms) override {
        if (++waits == closeInWait) close();
        return SNetworkStreamTcp::waitWhileBusy(s, ms);
    }
};

// The platform's lookup has no time limit: a bounded connect waits for it through its
// owner's wait, gives up at the connect's time, or when the stream is closed meanwhile.
TEST(SNetworkStreamTcp, ABoundedConnectWaitsForTheNameLookupThroughItsOwner) {
    PlainPeer peer;
    HeldNameLookup names("127.0.0.1");
    Owner stalled;
    stalled.setNameLookup(names.function());
    EXPECT_FALSE(stalled.createClient(nullptr, peer.port(), "labor.test"));
    EXPECT_STREQ(stalled.getErrorText(), "Kann Server-Name/Adresse 'labor.test' nicht aufl\366sen.\r\n"
                                         "Der Namensdienst hat nicht rechtzeitig geantwortet.\r\n"
                                         "Fehler beim Erzeugen eines TCP-Clients.");
    EXPECT_GT(stalled.waits.load(), 1);
    EXPECT_FALSE(stalled.hasSocket());

    Owner closed;
    closed.setNameLookup(names.function());
    closed.closeInWait = 2;
    EXPECT_FALSE(closed.createClient(nullptr, peer.port(), "labor.test"));
    EXPECT_TRUE(closed.getErrorText().startsWith("Verbindungsaufbau abgebrochen."))
        << closed.getErrorText().getBuffer();
    EXPECT_EQ(closed.waits.load(), 2);

    names.release(); // the lookups given up on end now, unobserved
    Owner answered;
    answered.setNameLookup(names.function());
    ASSERT_TRUE(answered.createClient(nullptr, peer.port(), "labor.test")) << answered.getErrorText().getBuffer();
    EXPECT_TRUE(peer.accept());
    EXPECT_EQ(names.calls(), 3);
}

TEST(SNetworkStreamTcp, DestroyingARunningStreamEndsItsThread) {
    PlainPeer peer;
    {
        Collector client;
        ASSERT_TRUE(connectTo(client, peer, true));
        ASSERT_TRUE(peer.send("data"));
        ASSERT_TRUE(waitUntil([&] { return client.size() == 4; }));
    }
    EXPECT_EQ(peer.receive(1, 1000), ""); // closed by the destructor
}

} // namespace
