// Server 'D' frames applied to the telemetry decoder through the GUI thread: a server on
// loopback floods the experiment client with telemetry frames; the client's event thread
// hands each message to a window of this thread, which applies it to the session and the
// decoder. Reports frames per second, the cross-thread messages per second of the same
// run, whether every frame arrived in order, and then the rate of as many bare
// cross-thread messages (what the platform's hand-over alone costs at the moment).
// Usage: bench_experiment [frames]   (Windows program; run it under Wine with build/…/wine-run)
#include "VEK_GUI/SMessages.h"
#include "VEK_GUI/SWindow.h"
#include "app/NetClient.h"
#include "app/TelemetryDecoder.h"
#include "tests/experiment/FloodServer.h"

#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

class Plant : public TelemetryEffects {
public:
    long frames = 0;
    long outOfOrder = 0;
    void showLevel(const SString&, int level) override {
        if (level != (int)(frames & 0xFFFF)) ++outOfOrder;
        ++frames;
    }
    void setStatusText(const SString&) override {}
    void setPump1(float) override {}
    void setPump2(float) override {}
    void setRatio1Text(const SString&) override {}
    void setRatio2Text(const SString&) override {}
    void repaintPump1() override {}
    void repaintPump2() override {}
};

class Receiver : public SWindow, public ExperimentEffects {
public:
    Receiver() : session(*this), decoder(plant) { session.setState(ExperimentSession::Running); }
    LRESULT windowProc(HWND h, UINT msg, WPARAM w, LPARAM l, bool& handled, LRESULT& result) override {
        if (h == hwnd && msg == WM_USER + 1) {
            ++bare;
            handled = true;
            return 0;
        }
        if (h != hwnd || msg != MSG_NET_MESSAGE) return SWindow::windowProc(h, msg, w, l, handled, result);
        ++messages;
        client.deliver(l, session);
        decoder.onTimer();
        handled = true;
        return 0;
    }
    void append(const SString&) override {}
    void enableButton(Button, bool) override {}
    void feedTelemetry(unsigned char b) override { decoder.onReceiveByte(b); }
    void debugLine(const SString&) override {}
    void closeStream() override { client.close(); }
    void saveProtocol(const SMem&) override {}

    ExperimentSession session;
    Plant plant;
    TelemetryDecoder decoder;
    long messages = 0;
    long bare = 0;
    NetClient client;
};

// Runs this thread's loop until done() holds or a minute has passed.
template <class Done> void pump(Done done) {
    DWORD start = timeGetTime();
    MSG msg;
    while (!done() && timeGetTime() - start < 60000) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
}

} // namespace

int main(int argc, char** argv) {
    int frames = argc > 1 ? std::atoi(argv[1]) : 20000;
    FloodServer server(frames);
    Receiver receiver;
    receiver.create(nullptr);
    receiver.client.setMessageWindow(receiver.getHwnd());
    receiver.client.setIp("127.0.0.1");
    if (!server.getPort()) {
        std::printf("no server\n");
        return 1;
    }
    DWORD start = timeGetTime();
    if (!receiver.client.connectExperiment(server.getPort())) {
        std::printf("connect failed: %s\n", receiver.client.getErrorText().getBuffer());
        return 1;
    }
    pump([&] { return receiver.plant.frames >= frames; });
    double seconds = (timeGetTime() - start) / 1000.0;
    receiver.client.close();
    std::printf("frames %ld of %d in %.3f s: %.0f frames/s, %.0f cross-thread messages/s, %ld out of order, %s\n",
                receiver.plant.frames, frames, seconds, receiver.plant.frames / seconds, receiver.messages / seconds,
                receiver.plant.outOfOrder, receiver.plant.frames == frames ? "nothing lost" : "FRAMES LOST");

    // The same number of bare cross-thread messages right after: the platform's share.
    HWND window = receiver.getHwnd();
    start = timeGetTime();
    std::thread sender([window, frames] {
        for (int i = 0; i < frames; ++i) SendMessageA(window, WM_USER + 1, 0, 0);
    });
    pump([&] { return receiver.bare >= frames; });
    sender.join();
    double bareSeconds = (timeGetTime() - start) / 1000.0;
    std::printf("bare cross-thread SendMessage: %ld in %.3f s: %.0f messages/s\n", receiver.bare, bareSeconds,
                receiver.bare / bareSeconds);
    return receiver.plant.frames == frames && receiver.plant.outOfOrder == 0 ? 0 : 1;
}
