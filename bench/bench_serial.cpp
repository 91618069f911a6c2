// Serial throughput under Wine: bytes per second that reach a window's onReceiveByte from
// SComPort's read thread while plant-sim floods COM7, next to the rate of bare cross-thread
// SendMessageA calls measured in the same run (the bound of one message per byte).
// Usage: bench_serial [bytes]   (default 200000; run through the build's wine-run)
#include "VEK_GUI/SFrameWindow.h"
#include "VEK_GUI/SMessages.h"
#include "VEK_SYSTEM/SComPort.h"
#include "VEK_SYSTEM/SSystem.h"
#include "tests/serial/PlantSim.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

class CountingWindow : public SFrameWindow {
public:
    CountingWindow() { setShowInfoButton(false); }
    const char* getClassName() const override { return "CountingWindow"; }
    void onReceiveByte(unsigned char b) override {
        if (count == 0) firstAt = timeGetTime();
        // Counted frames: 55 AA, then the frame number as level; a wrong sync is a loss.
        if (count % 9 == 0 && b != 0x55) ++outOfOrder;
        ++count;
        lastAt = timeGetTime();
    }
    long count = 0;
    long outOfOrder = 0;
    DWORD firstAt = 0;
    DWORD lastAt = 0;
};

// Handles this thread's messages until done() holds or timeoutMs pass.
template <class Done> bool pumpUntil(Done done, DWORD timeoutMs) {
    DWORD start = timeGetTime();
    while (!done()) {
        if (timeGetTime() - start > timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return true;
}

struct Sender {
    HWND target;
    long messages;
};

DWORD WINAPI sendBytes(void* arg) {
    Sender* s = static_cast<Sender*>(arg);
    for (long i = 0; i < s->messages; ++i) SendMessageA(s->target, MSG_RECEIVE_BYTE, 0, i % 9 ? 0 : 0x55);
    return 0;
}

// Messages per second from another thread's SendMessageA to onReceiveByte.
double sendMessageRate(long messages) {
    CountingWindow window;
    window.create(nullptr);
    Sender sender{window.getHwnd(), messages};
    HANDLE thread = CreateThread(nullptr, 0, sendBytes, &sender, 0, nullptr);
    pumpUntil([&] { return window.count >= messages; }, 120000);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    DWORD ms = window.lastAt - window.firstAt;
    return ms ? (double)(window.count - 1) * 1000.0 / ms : 0;
}

} // namespace

int main(int argc, char** argv) {
    long total = argc > 1 ? std::atol(argv[1]) : 200000;
    // The frames find no icon files here: their boxes must not stop the run.
    SSystem::setPresenter([](void*, const char* text, const char*, unsigned) {
        std::fprintf(stderr, "box: %s\n", text);
        return (int)SSystem::OK;
    });
    timeBeginPeriod(1);
    double bare = sendMessageRate(total / 2);
    std::printf("cross-thread SendMessageA:          %9.0f messages/s (%ld messages)\n", bare, total / 2);
    std::fflush(stdout);

    PlantSim sim("com7", "--flood --counted --bytes " + std::to_string(total));
    if (!sim.isReady()) {
        std::printf("plant-sim: %s\n", sim.getError().c_str());
        return 1;
    }
    CountingWindow window;
    window.create(nullptr);
    SComPort port;
    if (!port.open("COM7", window.getHwnd())) {
        std::printf("open: %s\n", port.getLastError().getBuffer());
        return 1;
    }
    bool all = pumpUntil([&] { return window.count >= total; }, 120000);
    pumpUntil([] { return false; }, 300); // anything beyond the total would be a fault
    port.close();
    DWORD ms = window.lastAt - window.firstAt;
    double delivered = ms ? (double)(window.count - 1) * 1000.0 / ms : 0;

    std::printf("SComPort -> onReceiveByte (flood):  %9.0f bytes/s    (%ld of %ld bytes in %lu ms%s)\n", delivered,
                window.count, total, (unsigned long)ms, all ? "" : ", incomplete");
    std::printf("ratio: %.1f %%; frames out of order: %ld\n", bare > 0 ? 100.0 * delivered / bare : 0.0,
                window.outOfOrder);
    timeEndPeriod(1);
    return all && window.count == total && window.outOfOrder == 0 ? 0 : 1;
}
