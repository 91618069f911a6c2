// Serial port under Wine against plant-sim on COM7.
// Rate: bytes per second that reach a window's onReceiveByte from SComPort's read thread while
// plant-sim floods, against bare cross-thread SendMessageA calls to the same window. The two
// alternate in short rounds (the serial read thread is held between its rounds), so that the
// load of a shared machine falls on both alike; each round gives a ratio, the medians count.
// Every flooded byte must arrive in order.
// Latency: plant-sim paced at 9600 Bd stamps each frame's last byte on the wall clock; the
// window stamps the same byte in onReceiveByte. Wine's system time is that clock; mix commands
// written the other way bound the offset between the two.
// Usage: bench_serial [rounds] [bytes a round] [latency frames]   (default 10 5000 1000;
// run through the build's wine-run)
#include "VEK_GUI/SFrameWindow.h"
#include "VEK_GUI/SMessages.h"
#include "VEK_SYSTEM/SComPort.h"
#include "VEK_SYSTEM/SSystem.h"
#include "bench/WinBench.h"
#include "tests/serial/PlantSim.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace {

using winbench::wallClockNs;

double seconds() {
    static LARGE_INTEGER frequency{};
    if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return (double)now.QuadPart / (double)frequency.QuadPart;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Counts bytes per round and checks the flooded stream: counted frames 55 AA n-low n-high ….
class CountingWindow : public SFrameWindow {
public:
    CountingWindow() { setShowInfoButton(false); }
    const char* getClassName() const override { return "CountingWindow"; }
    void onReceiveByte(unsigned char b) override {
        double now = seconds();
        if (roundCount++ == 0) firstAt = now;
        else if (now - lastAt >= stallSeconds) stalled += now - lastAt;
        lastAt = now;
        if (bare) return;
        int at = (int)(streamBytes++ % 9);
        frame[at] = b;
        if ((at == 0 && b != 0x55) || (at == 1 && b != 0xAA)) ++outOfOrder;
        if (at == 3 && (frame[2] | frame[3] << 8) != (int)(nextFrame++ & 0xFFFF)) ++outOfOrder;
        if (at == 8 && stampFrames) frameStamps.push_back({frame[2] | frame[3] << 8, wallClockNs()});
    }
    void startRound(bool bareRound) {
        bare = bareRound;
        roundCount = 0;
        stalled = 0;
    }
    // Share of the round spent in gaps of 30 ms or more (the read thread's idle sleep is 50 ms).
    double stallShare() const { return lastAt > firstAt ? stalled / (lastAt - firstAt) : 0; }
    static constexpr double stallSeconds = 0.03;
    double roundRate() const { return lastAt > firstAt ? (double)(roundCount - 1) / (lastAt - firstAt) : 0; }

    bool bare = false;
    long roundCount = 0;
    double firstAt = 0, lastAt = 0, stalled = 0;
    long long streamBytes = 0;
    long long nextFrame = 0;
    long outOfOrder = 0;
    unsigned char frame[9] = {};
    bool stampFrames = false;
    std::vector<std::pair<int, long long>> frameStamps; // frame number, wall clock ns
};

// A port whose read thread can be held between two bytes (after the window had the first).
// The flag keeps the check off the wineserver: a wait, even one of 0 ms, is a request there,
// and one per byte would slow the port's side of the comparison.
class HoldablePort : public SComPort {
public:
    HoldablePort() : held(CreateEventA(nullptr, TRUE, FALSE, nullptr)), go(CreateEventA(nullptr, TRUE, TRUE, nullptr)) {}
    ~HoldablePort() override {
        release();
        close();
        CloseHandle(held);
        CloseHandle(go);
    }
    void onReceive(unsigned char) override {
        if (!holding) return;
        SetEvent(held);
        WaitForSingleObject(go, INFINITE);
    }
    void hold() {
        ResetEvent(held);
        ResetEvent(go);
        holding = true;
    }
    void release() {
        holding = false;
        SetEvent(go);
    }
    HANDLE held, go;
    std::atomic<bool> holding{false};
};

// Handles this thread's messages until done() holds or timeoutMs pass.
template <class Done> bool pumpUntil(Done done, DWORD timeoutMs, HANDLE event = nullptr) {
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs) return false;
        MsgWaitForMultipleObjects(event ? 1 : 0, event ? &event : nullptr, FALSE, 20, QS_ALLINPUT);
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

std::vector<double> bareStalls, serialStalls;

double bareRound(CountingWindow& window, long messages) {
    window.startRound(true);
    Sender sender{window.getHwnd(), messages};
    HANDLE thread = CreateThread(nullptr, 0, sendBytes, &sender, 0, nullptr);
    pumpUntil([&] { return window.roundCount >= messages; }, 300000);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    bareStalls.push_back(window.stallShare());
    return window.roundRate();
}

// Lets the read thread deliver `bytes`, then holds it again.
double serialRound(CountingWindow& window, HoldablePort& port, long bytes) {
    window.startRound(false);
    port.release();
    bool complete = pumpUntil([&] { return window.roundCount >= bytes; }, 300000);
    port.hold();
    pumpUntil([&] { return WaitForSingleObject(port.held, 0) == WAIT_OBJECT_0; }, 5000, port.held);
    serialStalls.push_back(window.stallShare());
    return complete ? window.roundRate() : 0;
}

bool measureRate(int rounds, long bytes) {
    PlantSim sim("com7", "--flood --counted --quiet");
    CountingWindow window;
    HoldablePort port;
    if (!sim.isReady() || !window.create(nullptr) || !port.open("COM7", window.getHwnd())) {
        std::printf("no serial run: %s %s\n", sim.getError().c_str(), port.getLastError().getBuffer());
        return false;
    }
    window.startRound(false);
    port.hold(); // from its first byte on
    pumpUntil([&] { return WaitForSingleObject(port.held, 0) == WAIT_OBJECT_0; }, 5000, port.held);
    std::vector<double> bare, serial, ratio;
    for (int i = 0; i < rounds; ++i) {
        bare.push_back(bareRound(window, bytes));
        serial.push_back(serialRound(window, port, bytes));
        ratio.push_back(bare.back() > 0 ? serial.back() / bare.back() : 0);
        std::printf("round %2d: bare %7.0f msg/s, serial %7.0f B/s, %5.1f %%\n", i + 1, bare.back(), serial.back(),
                    100 * ratio.back());
        std::fflush(stdout);
    }
    port.release();
    port.close();
    std::printf("median cross-thread SendMessageA:      %7.0f messages/s\n", median(bare));
    std::printf("median SComPort -> onReceiveByte:      %7.0f bytes/s (flood, %lld bytes in order)\n",
                median(serial), window.streamBytes);
    std::printf("median ratio: %.1f %% (rounds %.1f .. %.1f %%); bytes out of order or lost: %ld\n",
                100 * median(ratio), 100 * *std::min_element(ratio.begin(), ratio.end()),
                100 * *std::max_element(ratio.begin(), ratio.end()), window.outOfOrder);
    std::printf("median time in gaps of 30 ms or more: bare %.1f %%, serial %.1f %%\n", 100 * median(bareStalls),
                100 * median(serialStalls));
    return window.outOfOrder == 0 && std::count(serial.begin(), serial.end(), 0.0) == 0;
}

struct Stamps {
    std::vector<long long> sent;     // by frame number
    std::vector<std::pair<long long, long long>> received; // bytes so far, ns
};

Stamps readStamps(const std::string& text) {
    Stamps s;
    std::istringstream in(text);
    std::string what;
    long long number, ns, total = 0;
    while (in >> what >> number >> ns) {
        if (what == "sent") {
            if ((long long)s.sent.size() <= number) s.sent.resize((size_t)number + 1, 0);
            s.sent[(size_t)number] = ns;
        } else {
            total += number;
            s.received.push_back({total, ns});
        }
    }
    return s;
}

bool measureLatency(int frames) {
    PlantSim sim("com7", "--counted --rate 9600 --quiet --frames " + std::to_string(frames) + " --stamps {dir}/stamps");
    CountingWindow window;
    SComPort port;
    if (!sim.isReady() || !window.create(nullptr) || !port.open("COM7", window.getHwnd())) {
        std::printf("no serial run: %s %s\n", sim.getError().c_str(), port.getLastError().getBuffer());
        return false;
    }
    window.stampFrames = true;
    long long opened = wallClockNs(); // frames sent before waited in the line for the port
    // Mix commands 1,1 (which change nothing) the other way, to bound the clocks' offset.
    std::vector<long long> written;
    pumpUntil([&] {
        if (written.size() < 20 && window.frameStamps.size() >= written.size() * 20) {
            written.push_back(wallClockNs());
            port.write("\1\1", 2);
        }
        return (int)window.frameStamps.size() >= frames;
    }, frames * 20 + 5000);
    pumpUntil([] { return false; }, 300);
    port.close();
    Stamps stamps = readStamps(sim.readFile("stamps"));

    std::vector<double> latency;
    for (auto [number, ns] : window.frameStamps)
        if (number < (int)stamps.sent.size() && stamps.sent[(size_t)number] > opened)
            latency.push_back((double)(ns - stamps.sent[(size_t)number]) / 1e6);
    double back = 1e18;
    for (size_t i = 0, r = 0; i < written.size(); ++i) {
        while (r < stamps.received.size() && stamps.received[r].first < (long long)(2 * i + 2)) ++r;
        if (r < stamps.received.size()) back = std::min(back, (double)(stamps.received[r].second - written[i]) / 1e6);
    }
    if (latency.empty() || back == 1e18) {
        std::printf("latency: no stamps matched\n");
        return false;
    }
    std::sort(latency.begin(), latency.end());
    double forward = latency.front();
    std::printf("latency at 9600 Bd, plant-sim's last byte of a frame -> onReceiveByte (%zu frames): "
                "median %.2f ms, p99 %.2f ms, max %.2f ms\n",
                latency.size(), latency[latency.size() / 2], latency[latency.size() * 99 / 100], latency.back());
    // Below 960 B/s the window falls behind the line and the latency is the backlog's.
    const auto& first = window.frameStamps.front();
    const auto& last = window.frameStamps.back();
    double span = (double)(last.second - first.second) / 1e9;
    std::printf("the window took %.0f bytes/s of the line's 960\n",
                span > 0 ? 9.0 * (double)(window.frameStamps.size() - 1) / span : 0.0);
    std::printf("clock check: Windows minus Linux wall clock lies within [%.2f, %.2f] ms%s\n", -back, forward,
                forward >= 0 && back >= 0 ? "" : " -- the clocks disagree");
    return forward >= 0 && back >= 0 && window.outOfOrder == 0;
}

} // namespace

int main(int argc, char** argv) {
    int rounds = argc > 1 ? std::atoi(argv[1]) : 10;
    long bytes = argc > 2 ? std::atol(argv[2]) : 5000;
    int frames = argc > 3 ? std::atoi(argv[3]) : 1000;
    // The frames find no icon files here: their boxes must not stop the run.
    SSystem::setPresenter([](void*, const char*, const char*, unsigned) { return (int)SSystem::OK; });
    timeBeginPeriod(1);
    bool rateOk = rounds <= 0 || measureRate(rounds, bytes);
    bool latencyOk = frames <= 0 || measureLatency(frames);
    timeEndPeriod(1);
    return rateOk && latencyOk ? 0 : 1;
}
