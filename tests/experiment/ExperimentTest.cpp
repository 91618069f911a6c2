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
#include "tests/support/gui/MessagePump.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

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
    int dataMessages = 0, ticks = 0, offThread = 0;

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

// Chunked (the body 400 ms after the header in "split"), with a length on a connection kept
// open, or ending at the close: the address. An error page, a reply past the bound, or a
// header that ends without its empty line as the server closes: none, without waiting for
// more. Nothing is stored then, and no box comes up.
TEST(AddressQuery, OnlyAnAddressLineIsStoredWhateverFormTheReplyTakes) {
    WebPeer web;
    ASSERT_TRUE(web.start()) << web.getError() << " (is nodejs installed?)";
    BoxRecorder boxes;
    struct {
        const char* behaviour;
        const char* ip;
    } cases[] = {{"dash", "127.0.0.1"},     {"plain", "127.0.0.2"}, {"split", "127.0.0.3"},
                 {"length", "127.0.0.4"},   {"closeend", "127.0.0.5"}, {"gateway", ""},
                 {"padded", ""},            {"megabytes", ""},      {"headonly", ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.behaviour);
        Lab lab;
        Query q = query(lab, web.portOf(c.behaviour));
        EXPECT_EQ(q.found, *c.ip != 0);
        EXPECT_EQ(std::string(lab.client.getIp().getBuffer()).substr(0, 40), c.ip);
        EXPECT_FALSE(lab.client.isConnected());
        if (std::string(c.behaviour) == "headonly") {
            EXPECT_LT(q.ms, 3000u) << "polled a closed connection";
        }
    }
    EXPECT_EQ(boxes.count(), 0);
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

// A frame cut off in the middle stays unfinished without holding anything up; closing
// then ends the event thread.
TEST(Experiment, StalledFrameNeitherArrivesNorBlocks) {
    SKIP_WITHOUT_EXP_SERVER();
    ExpServer server;
    ASSERT_TRUE(server.start("--stall-at 1")) << server.getError();
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

// Values from the user's file, trimmed; the default for each one that is no host or port.
TEST(ExperimentSettingsFile, ValuesFromTheUserFileAndDefaultsForBadOnes) {
    ExperimentLab lab;
    ASSERT_TRUE(lab.ready());
    ExperimentSettings settings;
    lab.servers(" labor.example.org ", 8080, 6000);
    settings.loadUserSettings();
    EXPECT_STREQ(settings.webServer, "labor.example.org");
    EXPECT_EQ(settings.webPort, 8080);
    EXPECT_EQ(settings.experimentPort, 6000);

    SFileIni& ini = globalApplicationBasic.getUserConfig();
    ini.setString("Experiment", "WebServer", "labor host/x");
    ini.setString("Experiment", "WebPort", "80x");
    ini.setString("Experiment", "ExperimentPort", "70000");
    settings.loadUserSettings();
    EXPECT_STREQ(settings.webServer, "localhost");
    EXPECT_EQ(settings.webPort, 80);
    EXPECT_EQ(settings.experimentPort, 5051);
}

} // namespace
