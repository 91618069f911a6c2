// The whole program end to end, each figure beside a baseline measured in the same run.
//
// start:   the packed Anlage.exe and a bare Win32 program (bench_bare_window: one window, the
//          same 10 ms thread timer doing nothing) started in turn from one folder. Start to
//          first paint: from CreateProcess to the moment its top-level window is visible, no
//          update region is left in it or its children and a capture of it is not one flat
//          colour (polled every millisecond). Then, nothing arriving, the child's processor
//          time (GetProcessTimes) over the idle seconds. Under Wine that reads about 0 for
//          another process: bench/program-idle-cpu.sh measures idle time from the Linux side.
// latency: MainWnd hosted here, plant-sim paced at 9600 Bd on COM7 with --counted frames
//          (frame n carries level n) and --stamps. A level is complete with the frame's fourth
//          byte, sent five byte times (5.2 ms) before the frame's last one, which plant-sim
//          stamps on the wall clock. The value text is "on screen" when the first WM_PAINT of
//          TxtWert with that text has returned. Rounds alternate the library's serial port
//          (its read thread sleeps 50 ms after a burst) with a bare read thread that reads the
//          same port the same way without the sleep and hands each byte to the same window.
// repaint: RedrawWindow(RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN) of MainWnd, of a
//          bare window of the same size and of a bare window with plain Win32 copies of the
//          main window's child windows, in turn; then the main window's frame alone and its
//          children one by one, to show where the time goes.
// memory:  MainWnd on plant-sim (9600 Bd, or flooding) for some minutes: working set, private
//          bytes and handle count every 10 s.
// Usage: bench_program [all | start [rounds] [idle seconds] | latency [rounds] [frames] |
//                       repaint [rounds] | memory [minutes] [flood]]   (latency: [baud] last, default 9600)
// (a Windows program; run it through the build's wine-run with plant-sim built natively)
#include "VEK_GUI/SApplication.h"
#include "VEK_GUI/SApplicationBasic.h"
#include "VEK_GUI/SMessages.h"
#include "VEK_SYSTEM/SSystem.h"
#include "app/MainWnd.h"
#include "bench/WinBench.h"
#include "tests/serial/PlantSim.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestResources.h"

#include <windows.h>

#include <gdiplus.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <numeric>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using winbench::cpuMs;
using winbench::nowMs;
using winbench::pump;
using winbench::wallClockNs;

double percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, (size_t)(p * (double)(v.size() - 1) + 0.5))];
}

std::string windowsPath(std::string unixPath) {
    for (char& c : unixPath)
        if (c == '/') c = '\\';
    return "Z:" + unixPath;
}

void pumpFor(double ms, const std::function<bool()>& done = [] { return false; }) {
    const double end = nowMs() + ms;
    // Blocks like the program's GetMessage loop; the timeout only bounds the wait.
    for (double left = ms; !done() && left > 0; left = end - nowMs()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, (DWORD)std::min(left, 50.0) + 1, QS_ALLINPUT);
        pump();
    }
}

// ---------------------------------------------------------------- start and idle

struct Child {
    PROCESS_INFORMATION process{};
    HWND window = nullptr;
    double firstPaintMs = -1;
};

HWND visibleTopLevel(DWORD pid) {
    struct Search {
        DWORD pid;
        HWND found;
    } search{pid, nullptr};
    EnumWindows(
        [](HWND h, LPARAM l) -> BOOL {
            Search* s = reinterpret_cast<Search*>(l);
            DWORD owner = 0;
            GetWindowThreadProcessId(h, &owner);
            if (owner != s->pid || !IsWindowVisible(h) || GetWindow(h, GW_OWNER)) return TRUE;
            s->found = h;
            return FALSE;
        },
        (LPARAM)&search);
    return search.found;
}

bool updatePending(HWND hwnd) {
    if (GetUpdateRect(hwnd, nullptr, FALSE)) return true;
    bool pending = false;
    EnumChildWindows(
        hwnd,
        [](HWND c, LPARAM l) -> BOOL {
            if (IsWindowVisible(c) && GetUpdateRect(c, nullptr, FALSE)) *reinterpret_cast<bool*>(l) = true;
            return TRUE;
        },
        (LPARAM)&pending);
    return pending;
}

// Whether the window's client area shows more than one colour (sampled every 4th pixel).
bool showsSomething(HWND hwnd) {
    RECT r;
    GetClientRect(hwnd, &r);
    if (r.right <= 0 || r.bottom <= 0) return false;
    HDC screen = GetDC(hwnd);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), r.right, -r.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, r.right, r.bottom, screen, 0, 0, SRCCOPY);
    GdiFlush();
    const DWORD* pixels = static_cast<const DWORD*>(bits);
    bool more = false;
    for (int y = 0; y < r.bottom && !more; y += 4)
        for (int x = 0; x < r.right && !more; x += 4) more = (pixels[y * r.right + x] & 0xFFFFFF) != (pixels[0] & 0xFFFFFF);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(hwnd, screen);
    return more;
}

Child startChild(const std::string& exe, const std::string& arguments, const std::string& folder) {
    Child child;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    std::string command = "\"" + exe + "\" " + arguments;
    const double t0 = nowMs();
    if (!CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si,
                        &child.process))
        return child;
    while (nowMs() - t0 < 20000) {
        if (!child.window) child.window = visibleTopLevel(child.process.dwProcessId);
        if (child.window && !updatePending(child.window) && showsSomething(child.window)) {
            child.firstPaintMs = nowMs() - t0;
            break;
        }
        Sleep(1);
    }
    return child;
}

double processCpuMs(HANDLE process) {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(process, &created, &exited, &kernel, &user);
    auto ms = [](FILETIME f) { return (double)(((ULONGLONG)f.dwHighDateTime << 32) | f.dwLowDateTime) / 10000.0; };
    return ms(kernel) + ms(user);
}

void endChild(Child& child) {
    if (!child.process.hProcess) return;
    if (child.window) PostMessageA(child.window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(child.process.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(child.process.hProcess, 1);
    WaitForSingleObject(child.process.hProcess, 5000);
    CloseHandle(child.process.hThread);
    CloseHandle(child.process.hProcess);
}

void measureStart(int rounds, double idleSeconds) {
    TempDir folder;
    const std::string anlage = std::string(folder.path().getBuffer()) + "\\Anlage.exe";
    const std::string bare = windowsPath(BENCH_BARE_WINDOW);
    if (!CopyFileA(windowsPath(ANLAGE_PACKED).c_str(), anlage.c_str(), FALSE)) {
        std::printf("start: cannot copy %s\n", ANLAGE_PACKED);
        return;
    }
    std::string bareSize;
    std::vector<double> paintAnlage, paintBare, cpuAnlage, cpuBare;
    for (int round = 0; round < rounds; ++round)
        for (int which = 0; which < 2; ++which) {
            Child child = which == 0 ? startChild(anlage, "", folder.path().getBuffer())
                                     : startChild(bare, bareSize, folder.path().getBuffer());
            if (child.firstPaintMs < 0) {
                std::printf("start: %s showed nothing\n", which == 0 ? "Anlage" : "bare");
                endChild(child);
                continue;
            }
            if (which == 0 && bareSize.empty()) {
                RECT r;
                GetWindowRect(child.window, &r);
                bareSize = std::to_string(r.right - r.left) + " " + std::to_string(r.bottom - r.top);
                std::printf("main window %s px\n", bareSize.c_str());
            }
            (which == 0 ? paintAnlage : paintBare).push_back(child.firstPaintMs);
            if (idleSeconds > 0) {
                Sleep(1000);
                const double c0 = processCpuMs(child.process.hProcess), t0 = nowMs();
                Sleep((DWORD)(idleSeconds * 1000));
                const double share = 100 * (processCpuMs(child.process.hProcess) - c0) / (nowMs() - t0);
                (which == 0 ? cpuAnlage : cpuBare).push_back(share);
            }
            std::printf("round %d %-6s first paint %7.1f ms, idle CPU %5.2f %%\n", round + 1,
                        which == 0 ? "Anlage" : "bare", child.firstPaintMs,
                        idleSeconds > 0 ? (which == 0 ? cpuAnlage : cpuBare).back() : 0.0);
            std::fflush(stdout);
            endChild(child);
        }
    std::printf("start to first paint: Anlage.exe (packed) median %.1f ms (min %.1f, max %.1f); bare %.1f ms "
                "(min %.1f, max %.1f)\n",
                percentile(paintAnlage, 0.5), percentile(paintAnlage, 0), percentile(paintAnlage, 1),
                percentile(paintBare, 0.5), percentile(paintBare, 0), percentile(paintBare, 1));
    if (idleSeconds > 0)
        std::printf("idle CPU over %.0f s (10 ms timer, nothing arriving; GetProcessTimes, about 0 under Wine): "
                    "Anlage median %.2f %% of a core, bare %.2f %%, ratio %.2f\n",
                    idleSeconds, percentile(cpuAnlage, 0.5), percentile(cpuBare, 0.5),
                    percentile(cpuBare, 0.5) > 0 ? percentile(cpuAnlage, 0.5) / percentile(cpuBare, 0.5) : 0.0);
}

// ---------------------------------------------------------------- the hosted main window

// Stamps, per level, when the level became complete in the window and when the value text
// showing it was first painted.
class BenchMain : public MainWnd {
public:
    void onReceiveByte(unsigned char byte) override {
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
            if (level < (int)completeNs.size()) completeNs[(size_t)level] = now;
        }
    }
    void onTimer(DWORD tickCount) override {
        const double t0 = nowMs();
        MainWnd::onTimer(tickCount);
        tickMs += nowMs() - t0;
        ++ticks;
    }
    void startRound(int frames) {
        bytes = ticks = 0;
        firstByteMs = lastByteMs = tickMs = 0;
        std::fill(std::begin(workMs), std::end(workMs), 0.0);
        std::fill(std::begin(workCount), std::end(workCount), 0L);
        completeNs.assign((size_t)frames, 0);
        paintedNs.assign((size_t)frames, 0);
        gaps = 0;
        gapMs = 0;
        lastByteNs = 0;
    }
    std::vector<long long> completeNs, paintedNs;
    long long lastByteNs = 0;
    long gaps = 0, levelsShown = 0, valuePaints = 0, bytes = 0, ticks = 0;
    double gapMs = 0, firstByteMs = 0, lastByteMs = 0, tickMs = 0;
    // Time in the window's handler by the decoder's state before the byte (which effect ran).
    double workMs[16] = {};
    long workCount[16] = {};
};

BenchMain* hosted = nullptr;
WNDPROC valueTextProcedure = nullptr;

LRESULT CALLBACK valueTextHook(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
    LRESULT result = CallWindowProcA(valueTextProcedure, hwnd, message, w, l);
    if (message == WM_PAINT && hosted) {
        ++hosted->valuePaints;
        char text[64] = "";
        GetWindowTextA(hwnd, text, sizeof text);
        int level = -1;
        if (std::sscanf(text, "Level = %d", &level) == 1 && level >= 0 && level < (int)hosted->paintedNs.size() &&
            !hosted->paintedNs[(size_t)level])
            hosted->paintedNs[(size_t)level] = wallClockNs();
    }
    return result;
}

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
}

// ---------------------------------------------------------------- repaint

// A class of the bare windows (registered once; a second registration is refused harmlessly).
void registerBareClass(const char* name, WNDPROC procedure, int systemColour) {
    WNDCLASSA c{};
    c.lpfnWndProc = procedure;
    c.hInstance = GetModuleHandleA(nullptr);
    c.hbrBackground = (HBRUSH)(INT_PTR)(systemColour + 1);
    c.lpszClassName = name;
    RegisterClassA(&c);
}

// The bare window draws its owner-drawn buttons as plainly as Win32 allows: a frame and the text.
LRESULT CALLBACK bareProcedure(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_DRAWITEM) {
        const DRAWITEMSTRUCT* item = reinterpret_cast<DRAWITEMSTRUCT*>(l);
        char text[64] = "";
        GetWindowTextA(item->hwndItem, text, sizeof text);
        RECT r = item->rcItem;
        DrawEdge(item->hDC, &r, EDGE_RAISED, BF_RECT | BF_MIDDLE);
        SetBkMode(item->hDC, TRANSPARENT);
        DrawTextA(item->hDC, text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        return TRUE;
    }
    return DefWindowProcA(hwnd, message, w, l);
}

// A bare Win32 child in the place of each of the main window's: same system class, style,
// place and text (a library window becomes a plain window of its own class).
void cloneChildren(HWND from, HWND to) {
    registerBareClass("BenchBareChild", DefWindowProcA, COLOR_BTNFACE);
    std::vector<HWND> children;
    for (HWND child = GetWindow(from, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (IsWindowVisible(child)) children.push_back(child);
    for (HWND child : children) {
        char name[64] = "", text[64] = "";
        GetClassNameA(child, name, sizeof name);
        GetWindowTextA(child, text, sizeof text);
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, from, reinterpret_cast<POINT*>(&r), 2);
        const bool system = !_stricmp(name, "Button") || !_stricmp(name, "Static");
        CreateWindowA(system ? name : "BenchBareChild", text, (DWORD)GetWindowLongA(child, GWL_STYLE), r.left, r.top,
                      r.right - r.left, r.bottom - r.top, to, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
}

HWND createBareWindow(const RECT& like) {
    registerBareClass("BenchBareWindow", bareProcedure, COLOR_WINDOW);
    HWND h = CreateWindowA("BenchBareWindow", "bare", WS_OVERLAPPEDWINDOW, like.right, like.top,
                           like.right - like.left, like.bottom - like.top, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
    ShowWindow(h, SW_SHOWNOACTIVATE);
    UpdateWindow(h);
    return h;
}

// Paint messages during full repaints, counted and timed per window through the thread's
// window-procedure hooks (times are inclusive: a paint that repaints others holds theirs).
struct MessageCost {
    long count = 0;
    double ms = 0, ownMs = 0;
};
std::vector<std::pair<std::pair<HWND, UINT>, MessageCost>> messageCosts;
struct Started {
    double at, nestedMs;
};
std::vector<Started> messageStarts;
HHOOK beforeHook = nullptr, afterHook = nullptr;

bool profiled(UINT message) {
    return message == WM_PAINT || message == WM_ERASEBKGND || message == WM_CTLCOLORSTATIC ||
           message == WM_CTLCOLORBTN || message == WM_DRAWITEM;
}

MessageCost& costOf(HWND hwnd, UINT message) {
    for (auto& entry : messageCosts)
        if (entry.first == std::make_pair(hwnd, message)) return entry.second;
    messageCosts.push_back({{hwnd, message}, {}});
    return messageCosts.back().second;
}

LRESULT CALLBACK beforeMessage(int code, WPARAM w, LPARAM l) {
    if (code == HC_ACTION && profiled(reinterpret_cast<CWPSTRUCT*>(l)->message)) messageStarts.push_back({nowMs(), 0});
    return CallNextHookEx(beforeHook, code, w, l);
}

LRESULT CALLBACK afterMessage(int code, WPARAM w, LPARAM l) {
    const CWPRETSTRUCT* m = reinterpret_cast<CWPRETSTRUCT*>(l);
    if (code == HC_ACTION && profiled(m->message) && !messageStarts.empty()) {
        MessageCost& cost = costOf(m->hwnd, m->message);
        const double ms = nowMs() - messageStarts.back().at;
        ++cost.count;
        cost.ms += ms;
        cost.ownMs += ms - messageStarts.back().nestedMs;
        messageStarts.pop_back();
        if (!messageStarts.empty()) messageStarts.back().nestedMs += ms;
    }
    return CallNextHookEx(afterHook, code, w, l);
}

void profileMessages(HWND main, int rounds) {
    messageCosts.clear();
    beforeHook = SetWindowsHookExA(WH_CALLWNDPROC, beforeMessage, nullptr, GetCurrentThreadId());
    afterHook = SetWindowsHookExA(WH_CALLWNDPROCRET, afterMessage, nullptr, GetCurrentThreadId());
    for (int i = 0; i < rounds; ++i) {
        RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        pump();
    }
    UnhookWindowsHookEx(beforeHook);
    UnhookWindowsHookEx(afterHook);
    std::printf("  paint messages a full repaint (per round: count x, inclusive ms, own ms without the nested ones):\n");
    for (auto& [key, cost] : messageCosts) {
        char name[64] = "", text[32] = "";
        GetClassNameA(key.first, name, sizeof name);
        GetWindowTextA(key.first, text, sizeof text);
        const char* message = key.second == WM_PAINT        ? "WM_PAINT"
                              : key.second == WM_ERASEBKGND ? "WM_ERASEBKGND"
                              : key.second == WM_DRAWITEM   ? "WM_DRAWITEM"
                                                            : "WM_CTLCOLOR*";
        std::printf("    %s%-10s \"%s\" %-14s %4.1f x %6.2f ms, own %6.2f ms\n", key.first == main ? "main " : "", name,
                    text, message, (double)cost.count / rounds, cost.ms / rounds, cost.ownMs / rounds);
    }
}

double redrawMs(HWND hwnd, UINT flags) {
    const double t0 = nowMs();
    RedrawWindow(hwnd, nullptr, nullptr, flags);
    GdiFlush();
    return nowMs() - t0;
}

// Where the frame's paint goes: the steps of its buffered paint timed one by one, each
// graphic element on its own (median over rounds, slowest first).
void profileFrame(BenchMain& main, int rounds) {
    RECT client;
    GetClientRect(main.getHwnd(), &client);
    SGraphicElementList& elements = main.getGraphicElements();
    std::vector<std::vector<double>> perElement((size_t)elements.count());
    std::vector<double> setUp, blit, total;
    for (int round = 0; round < rounds; ++round) {
        const double t0 = nowMs();
        Gdiplus::Bitmap buffer(client.right, client.bottom, PixelFormat32bppARGB);
        Gdiplus::Graphics g(&buffer);
        g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        g.Clear(Gdiplus::Color(0xFFF0F0FF));
        setUp.push_back(nowMs() - t0);
        for (int i = 0; i < elements.count(); ++i) {
            const double e0 = nowMs();
            if (elements[i]) elements[i]->paint(g);
            perElement[(size_t)i].push_back(nowMs() - e0);
        }
        const double b0 = nowMs();
        HDC dc = GetDC(main.getHwnd());
        {
            Gdiplus::Graphics screen(dc);
            screen.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
            screen.DrawImage(&buffer, 0, 0, client.right, client.bottom);
        }
        GdiFlush();
        ReleaseDC(main.getHwnd(), dc);
        blit.push_back(nowMs() - b0);
        total.push_back(nowMs() - t0);
        pump();
    }
    std::printf("  the frame's buffered paint step by step (%d rounds, medians): buffer and clear %.2f ms, %d "
                "elements %.2f ms, buffer to screen %.2f ms, all %.2f ms\n",
                rounds, percentile(setUp, 0.5), elements.count(),
                [&] {
                    double sum = 0;
                    for (auto& v : perElement) sum += percentile(v, 0.5);
                    return sum;
                }(),
                percentile(blit, 0.5), percentile(total, 0.5));
    std::vector<int> order((size_t)elements.count());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        return percentile(perElement[(size_t)a], 0.5) > percentile(perElement[(size_t)b], 0.5);
    });
    std::vector<HWND> children;
    for (HWND c = GetWindow(main.getHwnd(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (IsWindowVisible(c)) children.push_back(c);
    std::vector<std::vector<double>> perChild(children.size());
    for (int round = 0; round < rounds; ++round)
        for (size_t i = 0; i < children.size(); ++i)
            perChild[i].push_back(redrawMs(children[i], RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN));
    std::printf("  child windows, each repainted alone (medians):");
    for (size_t i = 0; i < children.size(); ++i) {
        char name[64] = "", text[32] = "";
        GetClassNameA(children[i], name, sizeof name);
        GetWindowTextA(children[i], text, sizeof text);
        std::printf(" %s \"%s\" %.2f;", name, text, percentile(perChild[i], 0.5));
    }
    std::printf("\n");
    for (int i : order) {
        SGraphicElement* e = elements[i];
        if (!e) continue;
        const SRectFloat& r = e->getRect();
        std::printf("    %-12s %-10s %4.0f x %-4.0f %6.2f ms\n", e->getClassName(), e->getName().getBuffer(), r.width,
                    r.height, percentile(perElement[(size_t)i], 0.5));
    }
}

void measureRepaint(BenchMain& main, int rounds) {
    const UINT full = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN;
    RECT r;
    GetWindowRect(main.getHwnd(), &r);
    HWND bare = createBareWindow(r);
    OffsetRect(&r, 0, r.bottom - r.top);
    HWND bareWithChildren = createBareWindow(r);
    cloneChildren(main.getHwnd(), bareWithChildren);
    pumpFor(300);
    std::vector<double> mainMs, bareMs, bareChildrenMs, frameMs, childrenMs;
    const double cpu0 = cpuMs();
    for (int i = 0; i < rounds; ++i) {
        mainMs.push_back(redrawMs(main.getHwnd(), full));
        bareMs.push_back(redrawMs(bare, full));
        bareChildrenMs.push_back(redrawMs(bareWithChildren, full));
        pump();
    }
    const double cpuPerRound = (cpuMs() - cpu0) / rounds;
    for (int i = 0; i < rounds; ++i) {
        frameMs.push_back(redrawMs(main.getHwnd(), RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_NOCHILDREN));
        double children = 0;
        for (HWND c = GetWindow(main.getHwnd(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            if (IsWindowVisible(c)) children += redrawMs(c, full);
        childrenMs.push_back(children);
        pump();
    }
    int childCount = 0;
    for (HWND c = GetWindow(main.getHwnd(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) childCount += IsWindowVisible(c);
    std::printf("full repaint, %ld x %ld px, %d rounds: MainWnd median %.2f ms, p99 %.2f ms; bare window median "
                "%.2f ms, p99 %.2f ms (all three: %.2f ms CPU a round)\n",
                r.right - r.left, r.bottom - r.top, rounds, percentile(mainMs, 0.5), percentile(mainMs, 0.99),
                percentile(bareMs, 0.5), percentile(bareMs, 0.99), cpuPerRound);
    std::printf("  bare Win32 window with the same child windows (system buttons and statics): median %.2f ms, "
                "p99 %.2f ms\n",
                percentile(bareChildrenMs, 0.5), percentile(bareChildrenMs, 0.99));
    std::printf("  of MainWnd: the frame alone (plant, chart background) median %.2f ms; its %d child windows one "
                "by one, together median %.2f ms\n",
                percentile(frameMs, 0.5), childCount, percentile(childrenMs, 0.5));
    DestroyWindow(bare);
    DestroyWindow(bareWithChildren);
    profileFrame(main, std::max(10, rounds / 10));
    profileMessages(main.getHwnd(), std::max(10, rounds / 10));
}

// ---------------------------------------------------------------- memory

void measureMemory(BenchMain& main, double minutes, bool flood) {
    PlantSim sim("com8", flood ? "--flood --quiet" : "--rate 9600 --quiet");
    if (!sim.isReady() || !main.getSteuerung().SComPort::open("COM8", main.getHwnd())) {
        std::printf("memory: no telemetry: %s\n", sim.getError().c_str());
        return;
    }
    std::printf("working set under telemetry (%s), a sample every 10 s for %.0f min:\n",
                flood ? "plant-sim flooding" : "9600 Bd", minutes);
    const double start = nowMs();
    for (int sample = 1; sample <= (int)(minutes * 6); ++sample) {
        pumpFor(start + sample * 10000.0 - nowMs());
        PROCESS_MEMORY_COUNTERS_EX m{};
        GetProcessMemoryInfo(GetCurrentProcess(), (PROCESS_MEMORY_COUNTERS*)&m, sizeof m);
        DWORD handles = 0;
        GetProcessHandleCount(GetCurrentProcess(), &handles);
        std::printf("  %4d s: working set %7.0f KiB, private %7.0f KiB, handles %lu, levels shown %ld\n",
                    sample * 10, m.WorkingSetSize / 1024.0, m.PrivateUsage / 1024.0, handles, main.levelsShown);
        std::fflush(stdout);
    }
    main.getSteuerung().SComPort::close();
}

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "all";
    auto arg = [&](int i, double fallback) { return argc > i ? std::atof(argv[i]) : fallback; };
    SSystem::setPresenter([](void*, const char*, const char*, unsigned) { return (int)SSystem::OK; });
    timeBeginPeriod(1);
    std::printf("load average: %s", readText("Z:\\proc\\loadavg").c_str());
    if (mode == "all" || mode == "start") measureStart((int)arg(2, 5), arg(3, 10));
    if (mode == "all" || mode == "latency" || mode == "repaint" || mode == "memory") {
        Gdiplus::GdiplusStartupInput input;
        ULONG_PTR token = 0;
        Gdiplus::GdiplusStartup(&token, &input, nullptr);
        startTestResources(readText(windowsPath(ANLAGE_CONTROLPOS)).c_str());
        TempDir config;
        globalApplicationBasic.setConfigFolders(config.path(), config.path());
        globalApplicationBasic.parseCommandLine(config.file("Anlage.exe"));
        globalApplicationBasic.openUserConfigFile();
        globalApplication.startTimer();
        {
            BenchMain main;
            hosted = &main;
            main.create(nullptr);
            main.show(SW_SHOWNORMAL);
            pumpFor(500);
            valueTextProcedure = (WNDPROC)SetWindowLongPtrA(main.getTxtWert().getHwnd(), GWLP_WNDPROC,
                                                           (LONG_PTR)valueTextHook);
            if (mode == "all" || mode == "latency") measureLatency(main, (int)arg(2, 6), (int)arg(3, 400), (int)arg(4, 9600));
            if (mode == "all" || mode == "repaint") measureRepaint(main, mode == "all" ? 300 : (int)arg(2, 300));
            if (mode == "memory") measureMemory(main, arg(2, 3), argc > 3 && !std::strcmp(argv[3], "flood"));
            SetWindowLongPtrA(main.getTxtWert().getHwnd(), GWLP_WNDPROC, (LONG_PTR)valueTextProcedure);
            hosted = nullptr;
            main.close();
            pumpFor(200);
        }
        globalApplicationBasic.getUserConfig().close(false);
    }
    timeEndPeriod(1);
    std::printf("load average: %s", readText("Z:\\proc\\loadavg").c_str());
    return 0;
}
