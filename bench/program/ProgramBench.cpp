#include "bench/program/ProgramBench.h"

#include <algorithm>
#include <cstdio>

namespace programbench {

double percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, (size_t)(p * (double)(v.size() - 1) + 0.5))];
}

double median(const std::vector<double>& v) { return percentile(v, 0.5); }

void pumpFor(double ms, const std::function<bool()>& done) {
    const double end = nowMs() + ms;
    // Blocks like the program's GetMessage loop; the timeout only bounds the wait.
    for (double left = ms; !done() && left > 0; left = end - nowMs()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, (DWORD)std::min(left, 50.0) + 1, QS_ALLINPUT);
        pump();
    }
}

std::string loadAverage() {
    std::string text = readText("Z:\\proc\\loadavg");
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text.empty() ? "unknown" : text;
}

// ---------------------------------------------------------------- the hosted main window

void BenchMain::onReceiveByte(unsigned char byte) {
    const long long now = wallClockNs();
    if (lastByteNs && now - lastByteNs >= 30000000LL) {
        ++gaps;
        gapMs += (double)(now - lastByteNs) / 1e6;
    }
    lastByteNs = now;
    const int before = getDecoder().getState();
    const double t0 = nowMs();
    MainWnd::onReceiveByte(byte);
    const double spent = nowMs() - t0;
    ++bytes;
    if (before >= 0 && before < 16) {
        workMs[before] += spent;
        ++workCount[before];
    }
    if (!firstByteMs) firstByteMs = t0;
    lastByteMs = t0;
    if (before != TelemetryDecoder::Status && getDecoder().getState() == TelemetryDecoder::Status) {
        ++levelsShown;
        const int level = getDecoder().getLevel();
        if (level >= 0 && level < (int)completeNs.size()) completeNs[(size_t)level] = now;
    }
}

void BenchMain::onTimer(DWORD tickCount) {
    const double t0 = nowMs();
    MainWnd::onTimer(tickCount);
    tickMs += nowMs() - t0;
    ++ticks;
}

void BenchMain::startRound(int frames) {
    bytes = ticks = 0;
    firstByteMs = lastByteMs = tickMs = 0;
    std::fill(std::begin(workMs), std::end(workMs), 0.0);
    std::fill(std::begin(workCount), std::end(workCount), 0L);
    completeNs.assign((size_t)frames, 0);
    paintedNs.assign((size_t)frames, 0);
    gaps = 0;
    gapMs = 0;
}

namespace {
BenchMain* watching = nullptr;
}

void BenchMain::hookValueText() {
    watching = this;
    valueTextOriginal =
        (WNDPROC)SetWindowLongPtrA(getTxtWert().getHwnd(), GWLP_WNDPROC, (LONG_PTR)valueTextProcedure);
}

void BenchMain::unhookValueText() {
    if (valueTextOriginal) SetWindowLongPtrA(getTxtWert().getHwnd(), GWLP_WNDPROC, (LONG_PTR)valueTextOriginal);
    valueTextOriginal = nullptr;
    watching = nullptr;
}

LRESULT CALLBACK BenchMain::valueTextProcedure(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
    BenchMain* main = watching;
    if (!main) return DefWindowProcA(hwnd, message, w, l);
    LRESULT result = CallWindowProcA(main->valueTextOriginal, hwnd, message, w, l);
    if (message == WM_PAINT) {
        ++main->valuePaints;
        char text[64] = "";
        GetWindowTextA(hwnd, text, sizeof text);
        int level = -1;
        if (std::sscanf(text, "Level = %d", &level) == 1 && level >= 0 && level < (int)main->paintedNs.size() &&
            !main->paintedNs[(size_t)level])
            main->paintedNs[(size_t)level] = wallClockNs();
    }
    return result;
}

} // namespace programbench
