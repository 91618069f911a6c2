// Byte to screen: MainWnd hosted here, plant-sim paced at the line's rate on COM7 with
// --counted frames (frame n carries level n) and --stamps. A level is complete with the
// frame's fourth byte, sent five byte times (5.2 ms at 9600 Bd) before the frame's last one,
// which plant-sim stamps on the wall clock. The value text is "on screen" when the first
// WM_PAINT of TxtWert with that text has returned. Rounds alternate the library's serial port
// (its read thread sleeps 50 ms after a burst) with a bare read thread that reads the same
// port the same way without the sleep and hands each byte to the same window.
#include "VEK_GUI/SMessages.h"
#include "bench/program/ProgramBench.h"
#include "tests/serial/PlantSim.h"

#include <atomic>
#include <cstdio>
#include <numeric>
#include <sstream>
#include <string>
#include <vector>

namespace programbench {

namespace {

// Reads the port as the library's port does (one read takes what waits, or returns after
// 2 ms), without the pause after a burst, and sends each byte to the window.
class BareReader {
public:
    bool open(const char* name, HWND target) {
        window = target;
        port = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (port == INVALID_HANDLE_VALUE) return false;
        DCB dcb{};
        dcb.DCBlength = sizeof dcb;
        GetCommState(port, &dcb);
        dcb.BaudRate = 9600;
        dcb.ByteSize = 8;
        dcb.Parity = NOPARITY;
        dcb.StopBits = ONESTOPBIT;
        dcb.fBinary = TRUE;
        SetCommState(port, &dcb);
        COMMTIMEOUTS timeouts{MAXDWORD, MAXDWORD, 2, 1, 1000};
        SetCommTimeouts(port, &timeouts);
        stop = false;
        thread = CreateThread(nullptr, 0, run, this, 0, nullptr);
        return true;
    }
    void close() {
        stop = true;
        while (WaitForSingleObject(thread, 5) == WAIT_TIMEOUT) pump(); // it may be sending to us
        CloseHandle(thread);
        CloseHandle(port);
    }

private:
    static DWORD WINAPI run(void* self) {
        BareReader* r = static_cast<BareReader*>(self);
        unsigned char chunk[64];
        DWORD got = 0;
        while (!r->stop)
            if (ReadFile(r->port, chunk, sizeof chunk, &got, nullptr))
                for (DWORD i = 0; i < got; ++i) SendMessageA(r->window, MSG_RECEIVE_BYTE, 0, chunk[i]);
        return 0;
    }
    HANDLE port = INVALID_HANDLE_VALUE, thread = nullptr;
    HWND window = nullptr;
    std::atomic<bool> stop{false};
};

struct LatencyRun {
    std::vector<double> toPaint, toWindow, windowToPaint, lastByteToPaint;
    long gaps = 0;
    double gapMs = 0, seconds = 0;
    long framesSent = 0, framesPainted = 0;
};

std::vector<long long> sentStamps(const std::string& text) {
    std::vector<long long> sent;
    std::istringstream in(text);
    std::string what;
    long long number, ns;
    while (in >> what >> number >> ns)
        if (what == "sent") {
            if ((long long)sent.size() <= number) sent.resize((size_t)number + 1, 0);
            sent[(size_t)number] = ns;
        }
    return sent;
}

bool latencyRound(BenchMain& main, bool bare, int frames, int rate, LatencyRun& run) {
    PlantSim sim("com7", "--counted --rate " + std::to_string(rate) + " --quiet --frames " + std::to_string(frames) +
                             " --stamps {dir}/stamps");
    if (!sim.isReady()) {
        std::printf("latency: plant-sim: %s\n", sim.getError().c_str());
        return false;
    }
    main.startRound(frames);
    BareReader reader;
    const long long opened = wallClockNs();
    const double t0 = nowMs(), cpu0 = cpuMs();
    bool open = bare ? reader.open("\\\\.\\COM7", main.getHwnd())
                     : main.getSteuerung().SComPort::open("COM7", main.getHwnd());
    if (!open) {
        std::printf("latency: COM7 does not open\n");
        return false;
    }
    // Until the last frames have come (the decoder catches those that start after a tick).
    pumpFor(frames * 90000.0 / rate + 3000, [&] {
        for (int n = frames - 3; n < frames; ++n)
            if (main.completeNs[(size_t)n]) return true;
        return false;
    });
    pumpFor(200);
    if (bare) reader.close();
    else main.getSteuerung().SComPort::close();
    run.seconds += (nowMs() - t0) / 1000;
    std::printf("  process CPU %.0f %% of a core over the round\n", 100 * (cpuMs() - cpu0) / (nowMs() - t0));
    const double span = (main.lastByteMs - main.firstByteMs) / 1000;
    std::printf("  %ld bytes in %.1f s: %.0f bytes/s taken from the line; in the handler %.0f %% of the time, "
                "per byte by decoder state:",
                main.bytes, span, span > 0 ? main.bytes / span : 0.0,
                span > 0 ? 100 * std::accumulate(std::begin(main.workMs), std::end(main.workMs), 0.0) / 1000 / span : 0);
    for (int st = 0; st < 16; ++st)
        if (main.workCount[st]) std::printf(" %d:%.2f ms", st, main.workMs[st] / (double)main.workCount[st]);
    std::printf("; %ld ticks, %.2f ms each\n", main.ticks, main.ticks ? main.tickMs / (double)main.ticks : 0.0);
    run.gaps += main.gaps;
    run.gapMs += main.gapMs;
    const std::vector<long long> sent = sentStamps(sim.readFile("stamps"));
    const long long byteNs = 10 * 1000000000LL / rate; // 10 bits a byte
    for (size_t n = 0; n < sent.size() && n < (size_t)frames; ++n) {
        if (sent[n] < opened + 300000000LL) continue; // sent while the port was still catching up
        ++run.framesSent;
        if (!main.paintedNs[n] || !main.completeNs[n]) continue;
        ++run.framesPainted;
        const long long levelSent = sent[n] - 5 * byteNs;
        run.toPaint.push_back((double)(main.paintedNs[n] - levelSent) / 1e6);
        run.toWindow.push_back((double)(main.completeNs[n] - levelSent) / 1e6);
        run.windowToPaint.push_back((double)(main.paintedNs[n] - main.completeNs[n]) / 1e6);
        run.lastByteToPaint.push_back((double)(main.paintedNs[n] - sent[n]) / 1e6);
    }
    return true;
}

void appendAll(std::vector<double>& to, const std::vector<double>& from) { to.insert(to.end(), from.begin(), from.end()); }

void reportLatency(const char* name, const LatencyRun& r) {
    std::printf("%s: %ld of %ld frames painted as they came\n", name, r.framesPainted, r.framesSent);
    std::printf("  level's byte sent -> value text painted: median %6.2f ms, p99 %6.2f ms, max %6.2f ms\n",
                percentile(r.toPaint, 0.5), percentile(r.toPaint, 0.99), percentile(r.toPaint, 1));
    std::printf("  frame's last byte sent -> painted:        median %6.2f ms, p99 %6.2f ms\n",
                percentile(r.lastByteToPaint, 0.5), percentile(r.lastByteToPaint, 0.99));
    std::printf("  of it: byte sent -> in the window          median %6.2f ms, p99 %6.2f ms\n",
                percentile(r.toWindow, 0.5), percentile(r.toWindow, 0.99));
    std::printf("         in the window -> painted            median %6.2f ms, p99 %6.2f ms\n",
                percentile(r.windowToPaint, 0.5), percentile(r.windowToPaint, 0.99));
    std::printf("  pauses of 30 ms or more between two bytes: %.1f a second, %.1f %% of the time\n",
                r.seconds > 0 ? r.gaps / r.seconds : 0, r.seconds > 0 ? r.gapMs / r.seconds / 10 : 0);
}

} // namespace

void measureLatency(BenchMain& main, int rounds, int frames, int rate) {
    LatencyRun port, bare;
    for (int round = 0; round < rounds; ++round) {
        LatencyRun r;
        const bool isBare = round % 2 == 1;
        if (!latencyRound(main, isBare, frames, rate, r)) return;
        std::printf("round %d %-12s level -> painted median %6.2f ms, p99 %6.2f ms (%ld/%ld frames)\n", round + 1,
                    isBare ? "bare reader" : "SComPort", percentile(r.toPaint, 0.5), percentile(r.toPaint, 0.99),
                    r.framesPainted, r.framesSent);
        std::fflush(stdout);
        LatencyRun& all = isBare ? bare : port;
        appendAll(all.toPaint, r.toPaint);
        appendAll(all.toWindow, r.toWindow);
        appendAll(all.windowToPaint, r.windowToPaint);
        appendAll(all.lastByteToPaint, r.lastByteToPaint);
        all.gaps += r.gaps;
        all.gapMs += r.gapMs;
        all.seconds += r.seconds;
        all.framesSent += r.framesSent;
        all.framesPainted += r.framesPainted;
    }
    std::printf("line at %d Bd (%d bytes/s)\n", rate, rate / 10);
    reportLatency("through the library's serial port (SComPort) into MainWnd", port);
    reportLatency("baseline: the same port read without the pause after a burst, into the same MainWnd", bare);
    if (!port.toPaint.empty() && !bare.toPaint.empty())
        std::printf("byte to screen: library port %.2f ms against bare read thread %.2f ms (medians), ratio %.2f\n",
                    median(port.toPaint), median(bare.toPaint), median(port.toPaint) / median(bare.toPaint));
}

} // namespace programbench
