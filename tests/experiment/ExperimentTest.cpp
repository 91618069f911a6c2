// The experiment client under Wine against real peers: exp-server, a Node web server and
// a flooding server. Server messages reach the session through a window on this (the GUI)
// thread, as in the program's experiment window.
#include "VEK_GUI/SApplicationBasic.h"
#include "VEK_GUI/SMessages.h"
#include "VEK_GUI/SWindow.h"
#include "app/ExperimentSettings.h"
#include "app/NetClient.h"
#include "app/TelemetryDecoder.h"
#include "tests/experiment/FloodServer.h"
#include "tests/experiment/ExperimentPeers.h"
#include "tests/support/PlantRecorder.h"
#include "tests/support/BoxRecorder.h"
#include "tests/support/TempDir.h"
#include "tests/support/gui/MessagePump.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The native exp-server comes from the linux preset; without it these tests cannot run.
#define START_EXP_SERVER(server, options)                                                                    \
    if (!NativePeer::unixFileExists(ExpServer::programPath()))                                               \
        GTEST_SKIP() << "exp-server not built at " << ExpServer::programPath() << " (build the linux preset)"; \
    ASSERT_TRUE((server).start(options)) << (server).getError()

// Client, session, decoder and the window between them. Every effect notes whether it ran
// on the GUI thread.
class Lab : public ExperimentEffects {
public:
    Lab() : session(*this), decoder(plant) {
        window.lab = this;
        window.create(nullptr);
        client.setMessageWindow(window.getHwnd());
    }

    void append(const SString& text) override { note(), view += text.getBuffer(); }
    void enableButton(Button, bool) override { note(); }
    void feedTelemetry(unsigned char byte) override { note(), decoder.onReceiveByte(byte); }
    void debugLine(const SString&) override { note(); }
    void closeStream() override { note(), client.close(); }
    void saveProtocol(const SMem&) override { note(); }

    bool until(int state, int timeoutMs = 5000) {
        return MessagePump::until([&] { return session.getState() == state; }, timeoutMs);
    }
    int frames() const { return (int)plant.levels.size(); }

    class Window : public SWindow {
    public:
        LRESULT windowProc(HWND h, UINT msg, WPARAM w, LPARAM l, bool& handled, LRESULT& result) override {
            if (h == hwnd && msg == MSG_NET_MESSAGE) {
                const NetDelivery* d = reinterpret_cast<const NetDelivery*>(l);
                bool running = lab->session.getState() == ExperimentSession::Running;
                if (lab->client.deliver(l, lab->session)) {
                    if (running && d->kind == NetDelivery::Message && d->message.code == ProtocolMessage::Data)
                        ++lab->dataMessages;
                    lab->decoder.onTimer(); // the window's timer: each 'D' frame holds one whole telemetry frame
                }
                handled = true;
                return 0;
            }
            if (h == hwnd && msg == WM_TIMER) ++lab->ticks;
            if (h == hwnd && msg == WM_USER + 1) ++lab->posted;
            return SWindow::windowProc(h, msg, w, l, handled, result);
        }
        Lab* lab = nullptr;
    };

    // Declared first, destroyed last: the client's event thread may still be handing over.
    Window window;
    ExperimentSession session;
    PlantRecorder plant;
    TelemetryDecoder decoder;
    NetClient client;
    std::string view;
    int dataMessages = 0, ticks = 0, posted = 0, offThread = 0;

private:
    void note() {
        if (GetCurrentThreadId() != guiThread) ++offThread;
    }
    DWORD guiThread = GetCurrentThreadId();
};

struct Query {
    bool found;
    DWORD ms;
};

Query query(Lab& lab, int webPort) {
    lab.client.setWebServer("127.0.0.1", webPort);
    DWORD start = GetTickCount();
    bool found = lab.client.queryAddress();
    return {found, GetTickCount() - start};
}

TEST(AddressQuery, ChunkedRepliesFromNodeGiveTheAddress) {
    WebPeer web;
    ASSERT_TRUE(web.start()) << web.getError() << " (is nodejs installed?)";
    BoxRecorder boxes;
    Lab dash, plain, split, headOnly;
    EXPECT_TRUE(query(dash, web.portOf("dash")).found);
    EXPECT_STREQ(dash.client.getIp(), "127.0.0.1");
    EXPECT_TRUE(query(plain, web.portOf("plain")).found);
    EXPECT_STREQ(plain.client.getIp(), "127.0.0.2");
    // The body comes 400 ms after the header: the query keeps polling for it.
    EXPECT_TRUE(query(split, web.portOf("split")).found);
    EXPECT_STREQ(split.client.getIp(), "127.0.0.3");
    EXPECT_EQ(boxes.count(), 0);
    // The header ends without its empty line and the server closes: no waiting for more,
    // and no address.
    Query broken = query(headOnly, web.portOf("headonly"));
    EXPECT_FALSE(broken.found);
    EXPECT_TRUE(headOnly.client.getIp().isEmpty());
    EXPECT_LT(broken.ms, 3000u);
    EXPECT_FALSE(headOnly.client.isConnected());
    EXPECT_EQ(boxes.count(), 0);
}

// A reply with a length (the connection kept open) or one that ends at the close gives its
// address; an error page, or a reply past the bound, gives none, and nothing is stored.
TEST(AddressQuery, OnlyAnAddressLineIsStoredWhateverFormTheReplyTakes) {
    WebPeer web;
    ASSERT_TRUE(web.start()) << web.getError();
    BoxRecorder boxes;
    struct {
        const char* behaviour;
        const char* ip;
    } cases[] = {{"length", "127.0.0.4"}, {"closeend", "127.0.0.5"}, {"gateway", ""}, {"padded", ""},
                 {"megabytes", ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.behaviour);
        Lab lab;
        EXPECT_EQ(query(lab, web.portOf(c.behaviour)).found, *c.ip != 0);
        EXPECT_EQ(std::string(lab.client.getIp().getBuffer()).substr(0, 40), c.ip);
        EXPECT_FALSE(lab.client.isConnected());
    }
    EXPECT_EQ(boxes.count(), 0);
}

// About five seconds of polling, and the GUI thread keeps handling its messages meanwhile.
TEST(AddressQuery, SilentWebServerGivesUpAndTheWindowStaysResponsive) {
    WebPeer web;
    ASSERT_TRUE(web.start()) << web.getError();
    Lab lab;
    SetTimer(lab.window.getHwnd(), 1, 50, nullptr);
    PostMessageA(lab.window.getHwnd(), WM_USER + 1, 0, 0);
    Query q = query(lab, web.portOf("silent"));
    KillTimer(lab.window.getHwnd(), 1);
    EXPECT_FALSE(q.found);
    EXPECT_TRUE(lab.client.getIp().isEmpty());
    EXPECT_GE(q.ms, 4900u);
    EXPECT_EQ(lab.posted, 1);
    EXPECT_GE(lab.ticks, 20);
    // Nothing listens on the port any more: the connection is refused at once.
    int freePort = web.portOf("silent");
    web.stop();
    Query refused = query(lab, freePort);
    EXPECT_FALSE(refused.found);
    EXPECT_LT(refused.ms, 3000u);
}

void CALLBACK quitSoon(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    PostQuitMessage(3);
}

// Closing the program while the query waits: the query ends and the quit stays for the
// program's own loop.
TEST(AddressQuery, QuitDuringTheQueryEndsIt) {
    WebPeer web;
    ASSERT_TRUE(web.start()) << web.getError();
    Lab lab;
    SetTimer(nullptr, 0, 300, quitSoon);
    Query q = query(lab, web.portOf("silent"));
    EXPECT_FALSE(q.found);
    EXPECT_LT(q.ms, 3000u);
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
}

TEST(Experiment, FullSessionThroughTheGuiThread) {
    ExpServer server;
    START_EXP_SERVER(server, "--telemetry-ms 20 --step-ms 5");
    Lab lab;
    EXPECT_TRUE(query(lab, server.webPort).found); // exp-server's own chunked reply
    ASSERT_STREQ(lab.client.getIp(), "127.0.0.1");
    ASSERT_TRUE(lab.client.connectExperiment(server.port)) << lab.client.getErrorText().getBuffer();
    lab.session.setState(ExperimentSession::Connecting);
    lab.client.sendText(ProtocolMessage::Status, "connect|matrikel=123456;name=Anna");
    ASSERT_TRUE(lab.until(ExperimentSession::Connected)) << lab.view;
    // A second connect is refused and the session goes on over the first connection.
    EXPECT_FALSE(lab.client.connectExperiment(server.port));
    EXPECT_NE(lab.client.getErrorText().find("Stream ist bereits verbunden."), -1);

    const unsigned char firmware[] = {0x0C, 0x94, 0x34, 0x12, 0xFF, 0x7F};
    lab.session.setState(ExperimentSession::Uploading);
    lab.client.sendData(ProtocolMessage::Upload, SMem(firmware, sizeof firmware));
    ASSERT_TRUE(lab.until(ExperimentSession::Ready)) << lab.view;
    EXPECT_NE(lab.view.find("...Firmware empfangen (6 Bytes)\r\nSeite 1 von 4"), std::string::npos) << lab.view;

    lab.client.sendText(ProtocolMessage::Status, "start");
    ASSERT_TRUE(MessagePump::until([&] { return lab.frames() >= 20; }, 5000)) << lab.view;
    EXPECT_EQ(lab.session.getState(), ExperimentSession::Running);
    const unsigned char mixC[] = {1, 2};
    lab.client.sendData(ProtocolMessage::Data, SMem(mixC, 2));
    ASSERT_TRUE(MessagePump::until([&] { return lab.plant.ratio == "1: 2"; }, 5000));

    lab.session.setState(ExperimentSession::Finishing);
    lab.client.sendText(ProtocolMessage::Status, "finish");
    ASSERT_TRUE(lab.until(ExperimentSession::Ready)) << lab.view;
    EXPECT_EQ(lab.frames(), lab.dataMessages); // every frame relayed while Running reached the decoder whole
    EXPECT_EQ(lab.offThread, 0);
    EXPECT_TRUE(lab.view.ends_with("Experiment beendet\r\n")) << lab.view;
    lab.client.close();
}

// Every frame of a flood arrives, in order, one message each.
TEST(Experiment, FloodReachesTheDecoderInOrderWithNothingLost) {
    const int count = 3000;
    FloodServer flood(count);
    ASSERT_NE(flood.getPort(), 0);
    WebPeer web;
    ASSERT_TRUE(web.start()) << web.getError();
    Lab lab;
    ASSERT_TRUE(query(lab, web.portOf("dash")).found);
    ASSERT_TRUE(lab.client.connectExperiment(flood.getPort()));
    lab.session.setState(ExperimentSession::Running);
    ASSERT_TRUE(MessagePump::until([&] { return lab.frames() >= count; }, 30000)) << lab.frames();
    lab.client.close();
    EXPECT_EQ(lab.dataMessages, count);
    for (int i = 0; i < count; ++i)
        if (lab.plant.levels[i] != i) FAIL() << "frame " << i << " carried level " << lab.plant.levels[i];
    EXPECT_EQ(lab.offThread, 0);
}

// A length the client cannot hold, or garbage that reads as one: the connection closes
// with a German line in the view, and the GUI keeps running meanwhile.
TEST(Experiment, HugeLengthOrGarbageClosesTheConnection) {
    struct Case {
        const char* options;
        const char* view;
    } cases[] = {
        {"--huge-at 1", "Verbindung getrennt: Nachricht mit 4294967280 Bytes ist zu lang.\r\n"},
        {"--garbage-at 1", "Verbindung getrennt: Nachricht mit 3712835165 Bytes ist zu lang.\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options);
        ExpServer server;
        START_EXP_SERVER(server, c.options);
        Lab lab;
        ASSERT_TRUE(query(lab, server.webPort).found);
        ASSERT_TRUE(lab.client.connectExperiment(server.port));
        lab.session.setState(ExperimentSession::Connecting);
        lab.client.sendText(ProtocolMessage::Status, "connect|matrikel=123456;name=Anna");
        ASSERT_TRUE(lab.until(ExperimentSession::Idle));
        EXPECT_EQ(lab.view, c.view);
        EXPECT_FALSE(lab.client.isConnected());
    }
}

// A frame cut off in the middle stays unfinished without holding anything up; closing
// then ends the event thread.
TEST(Experiment, StalledFrameNeitherArrivesNorBlocks) {
    ExpServer server;
    START_EXP_SERVER(server, "--stall-at 1");
    Lab lab;
    ASSERT_TRUE(query(lab, server.webPort).found);
    ASSERT_TRUE(lab.client.connectExperiment(server.port));
    lab.session.setState(ExperimentSession::Connecting);
    lab.client.sendText(ProtocolMessage::Status, "connect|matrikel=123456;name=Anna");
    SetTimer(lab.window.getHwnd(), 1, 50, nullptr);
    MessagePump::run(700);
    KillTimer(lab.window.getHwnd(), 1);
    EXPECT_GE(lab.ticks, 5);
    EXPECT_EQ(lab.session.getState(), ExperimentSession::Connecting);
    EXPECT_TRUE(lab.view.empty());
    lab.client.close();
    EXPECT_TRUE(lab.client.wait(2000));
}

// A message of a connection that has been closed since is not applied to the session.
TEST(Experiment, MessagesOfAClosedConnectionAreDropped) {
    FloodServer flood(100000);
    WebPeer web;
    ASSERT_TRUE(web.start()) << web.getError();
    Lab lab;
    ASSERT_TRUE(query(lab, web.portOf("dash")).found);
    ASSERT_TRUE(lab.client.connectExperiment(flood.getPort()));
    lab.session.setState(ExperimentSession::Running);
    ASSERT_TRUE(MessagePump::until([&] { return lab.frames() >= 10; }, 5000));
    lab.client.close();
    int atClose = lab.frames();
    MessagePump::run(300);
    EXPECT_EQ(lab.frames(), atClose);
}

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        globalApplicationBasic.setConfigFolders(folder.path(), folder.path());
        globalApplicationBasic.parseCommandLine("C:\\Labor\\Anlage.exe");
        ASSERT_TRUE(globalApplicationBasic.openUserConfigFile());
    }
    void TearDown() override { globalApplicationBasic.getUserConfig().close(false); }
    SFileIni& ini() { return globalApplicationBasic.getUserConfig(); }
    TempDir folder;
};

TEST_F(SettingsTest, ValuesFromTheUserFileAndDefaultsForBadOnes) {
    ExperimentSettings settings;
    settings.loadUserSettings();
    EXPECT_STREQ(settings.webServer, "localhost");
    EXPECT_EQ(settings.webPort, 80);
    EXPECT_EQ(settings.experimentPort, 5051);

    ini().setString("Experiment", "WebServer", " labor.example.org ");
    ini().setString("Experiment", "WebPort", "8080");
    ini().setString("Experiment", "ExperimentPort", "6000");
    settings.loadUserSettings();
    EXPECT_STREQ(settings.webServer, "labor.example.org");
    EXPECT_EQ(settings.webPort, 8080);
    EXPECT_EQ(settings.experimentPort, 6000);

    ini().setString("Experiment", "WebServer", "labor host/x");
    ini().setString("Experiment", "WebPort", "80x");
    ini().setString("Experiment", "ExperimentPort", "70000");
    settings.loadUserSettings();
    EXPECT_STREQ(settings.webServer, "localhost");
    EXPECT_EQ(settings.webPort, 80);
    EXPECT_EQ(settings.experimentPort, 5051);
}

} // namespace
