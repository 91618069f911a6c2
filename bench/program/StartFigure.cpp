// Start to first paint, step by step, and idle processor time.
//
// The packed Anlage.exe and a bare Win32 program (bench_bare_window: one window, the same
// 10 ms thread timer doing nothing) are started in turn from one folder. Start to first
// paint: from CreateProcess to the moment the top-level window is visible, no update region
// is left in it or its children and a capture of it is not one flat colour (polled every
// millisecond). Then, nothing arriving, the child's processor time (GetProcessTimes) over the
// idle seconds. Under Wine that reads about 0 for another process: bench/program-idle-cpu.sh
// measures idle time from the Linux side.
//
// Where the program's time goes: this benchmark started once more as a fresh process
// ("startsteps") does what the program's start does, step by step, on the packed program's
// own pack: the process start with its libraries, GDI+ start-up, unpacking, style and layout
// parsing, the main window's objects, creating the window, showing it (the controls are
// made at the first show), the first paint of the window and all its children. Font
// creation and selection are timed within the steps (the program's imports of
// CreateFontIndirectA and SelectObject replaced by timed ones).
#include "VEK_GUI/SApplication.h"
#include "VEK_GUI/SApplicationBasic.h"
#include "VEK_SYSTEM/SSystem.h"
#include "VEK_UTIL/SResourcePack.h"
#include "VEK_UTIL/SResources.h"
#include "bench/program/ProgramBench.h"
#include "tests/support/TempDir.h"

#include <gdiplus.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace programbench {

namespace {

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

// ---------------------------------------------------------------- the steps, in the child

// Font work of the child: what CreateFontIndirectA and the selection of a font cost.
double fontMs = 0;
int fontsMade = 0;
HFONT(WINAPI* realCreateFont)(const LOGFONTA*) = nullptr;
HGDIOBJ(WINAPI* realSelectObject)(HDC, HGDIOBJ) = nullptr;

HFONT WINAPI timedCreateFont(const LOGFONTA* description) {
    const double t0 = nowMs();
    HFONT font = realCreateFont(description);
    fontMs += nowMs() - t0;
    ++fontsMade;
    return font;
}

// Wine finds and loads the font's face when it is selected the first time.
HGDIOBJ WINAPI timedSelectObject(HDC dc, HGDIOBJ object) {
    if (GetObjectType(object) != OBJ_FONT) return realSelectObject(dc, object);
    const double t0 = nowMs();
    HGDIOBJ old = realSelectObject(dc, object);
    fontMs += nowMs() - t0;
    return old;
}

// Points this program's import of module!function at replacement; returns what it pointed at.
void* replaceImport(const char* module, const char* function, void* replacement) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name; ++d) {
        if (_stricmp(reinterpret_cast<char*>(base + d->Name), module) != 0) continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<char*>(byName->Name), function) != 0) continue;
            DWORD protection = 0;
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &protection);
            void* original = reinterpret_cast<void*>(slots->u1.Function);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, protection, &protection);
            return original;
        }
    }
    return nullptr;
}

class StepLog {
public:
    explicit StepLog(const char* path) : file(std::fopen(path, "w")) {}
    ~StepLog() {
        if (file) std::fclose(file);
    }
    StepLog(const StepLog&) = delete;
    StepLog& operator=(const StepLog&) = delete;
    void step(const char* name, double ms, double fonts) {
        if (file) std::fprintf(file, "%s\t%.3f\t%.3f\n", name, ms, fonts);
    }
    // Times what follows up to the next mark under `name`.
    void mark(const char* name) {
        const double now = nowMs(), fonts = fontMs;
        if (*pending) step(pending, now - since, fonts - fontsSince);
        std::strncpy(pending, name, sizeof pending - 1);
        since = now;
        fontsSince = fonts;
    }

private:
    std::FILE* file;
    char pending[96] = "";
    double since = 0, fontsSince = 0;
};

const char* const kSteps[] = {"process start, libraries, static initialisation",
                              "GDI+ start-up",
                              "unpacking the pack",
                              "style and layout parsing",
                              "the main window's objects (windows, elements)",
                              "creating the main window",
                              "showing it (controls made at the first show)",
                              "first paint of the window and its children"};

// The steps of the pack's program; what a step cannot do ends the child with a note.
void startSteps(StepLog& log, const char* packed) {
    ULONG_PTR token = 0;
    log.mark(kSteps[1]);
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    log.mark(kSteps[2]);
    SResourcePack pack;
    if (!pack.load(packed)) {
        log.step("not measured: the pack does not load", 0, 0);
        return;
    }
    log.mark(kSteps[3]);
    TempDir folder;
    globalResources.setAppDir(folder.path());
    globalResources.setProgramFile(folder.file("Anlage.exe"));
    globalResources.addSearchPath(pack.getTempDir(), true);
    globalResources.init();
    globalApplicationBasic.setConfigFolders(folder.path(), folder.path());
    globalApplicationBasic.parseCommandLine(folder.file("Anlage.exe"));
    globalApplication.startTimer();
    log.mark(kSteps[4]);
    {
        auto main = std::make_unique<MainWnd>();
        log.mark(kSteps[5]);
        main->setStyleBits(main->getStyleBits() | WS_POPUP);
        if (!main->create(nullptr)) {
            log.step("not measured: no main window (no display?)", 0, 0);
            return;
        }
        log.mark(kSteps[6]);
        SApplication::bringToFront(main->getHwnd());
        ShowWindow(main->getHwnd(), SW_SHOWNORMAL);
        log.mark(kSteps[7]);
        RedrawWindow(main->getHwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        GdiFlush();
        log.mark("");
        main->close();
    }
    globalApplicationBasic.getUserConfig().close(false);
    pack.removeFiles();
    log.step("fonts made", fontsMade, 0);
    Gdiplus::GdiplusShutdown(token);
}

struct StepTimes {
    std::vector<std::string> order;
    std::map<std::string, std::vector<double>> ms, fonts;
    void add(const std::string& name, double stepMs, double fontStepMs) {
        if (!ms.count(name)) order.push_back(name);
        ms[name].push_back(stepMs);
        fonts[name].push_back(fontStepMs);
    }
};

// How long after CreateProcess a fresh bare program enters its WinMain; -1 when unknown.
double bareEntryMs(const std::string& bare) {
    TempDir out;
    const SString file = out.file("entered.txt");
    std::string command = "\"" + bare + "\" entered " + std::to_string(wallClockNs()) + " \"" + file.getBuffer() + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(bare.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &process))
        return -1;
    WaitForSingleObject(process.hProcess, 20000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    const std::string text = readText(file.getBuffer());
    return text.empty() ? -1 : std::atof(text.c_str());
}

// One fresh child doing the steps; false when it wrote nothing.
bool stepRound(const std::string& packed, StepTimes& times) {
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, sizeof self);
    TempDir out;
    const SString log = out.file("steps.txt");
    const long long started = wallClockNs();
    std::string command = std::string("\"") + self + "\" startsteps \"" + packed + "\" \"" + log.getBuffer() +
                          "\" " + std::to_string(started);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(self, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &process)) return false;
    if (WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    std::istringstream lines(readText(log.getBuffer()));
    std::string line;
    bool any = false;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string name, ms, fonts;
        if (!std::getline(fields, name, '\t') || !std::getline(fields, ms, '\t') || !std::getline(fields, fonts, '\t'))
            continue;
        times.add(name, std::atof(ms.c_str()), std::atof(fonts.c_str()));
        any = true;
    }
    return any;
}

void reportSteps(const StepTimes& times, int rounds, const std::vector<double>& bareEntry) {
    std::printf("start-up step by step (fresh processes doing the program's start on its pack, %d rounds, "
                "medians):\n",
                rounds);
    double sum = 0;
    for (const std::string& name : times.order) {
        const double ms = median(times.ms.at(name)), fonts = median(times.fonts.at(name));
        if (name == "fonts made") {
            std::printf("  %-52s %7.0f\n", name.c_str(), ms);
            continue;
        }
        sum += ms;
        std::printf("  %-52s %7.1f ms", name.c_str(), ms);
        if (fonts >= 0.05) std::printf("  (fonts %.1f ms)", fonts);
        if (name == kSteps[0] && !bareEntry.empty())
            std::printf("  (this benchmark's program; the bare program %.1f ms)", median(bareEntry));
        std::printf("\n");
    }
    std::printf("  %-52s %7.1f ms\n", "together", sum);
}

// One program of the comparison: its copy in a folder, its arguments and its figures.
struct Started {
    std::string name, exe, arguments;
    std::vector<double> paintMs, idleCpu;
};

void report(const Started& p, const Started& bare) {
    if (p.paintMs.empty()) {
        std::printf("  %-22s not measured (it never showed its window)\n", p.name.c_str());
        return;
    }
    std::printf("  %-22s median %7.1f ms (min %7.1f, max %7.1f)", p.name.c_str(), median(p.paintMs),
                percentile(p.paintMs, 0), percentile(p.paintMs, 1));
    if (&p != &bare && !bare.paintMs.empty()) std::printf("  ratio to bare %.2f", median(p.paintMs) / median(bare.paintMs));
    std::printf("\n");
}

} // namespace

int runStartSteps(int argc, char** argv) {
    if (argc < 5) return 2;
    const double entered = (double)(wallClockNs() - std::atoll(argv[4])) / 1e6;
    StepLog log(argv[3]);
    log.step(kSteps[0], entered, 0);
    realCreateFont = reinterpret_cast<decltype(realCreateFont)>(
        replaceImport("gdi32.dll", "CreateFontIndirectA", reinterpret_cast<void*>(timedCreateFont)));
    realSelectObject = reinterpret_cast<decltype(realSelectObject)>(
        replaceImport("gdi32.dll", "SelectObject", reinterpret_cast<void*>(timedSelectObject)));
    if (!realCreateFont || !realSelectObject) log.step("fonts not timed: imports not found", 0, 0);
    SSystem::setPresenter([](void*, const char*, const char*, unsigned) { return (int)SSystem::OK; });
    startSteps(log, argv[2]);
    return 0;
}

void measureStart(int rounds, double idleSeconds, const std::string& otherPacked) {
    TempDir folder, otherFolder;
    std::vector<Started> programs;
    programs.push_back(Started{"Anlage.exe (packed)", std::string(folder.path().getBuffer()) + "\\Anlage.exe", "", {}, {}});
    if (!CopyFileA(windowsPath(ANLAGE_PACKED).c_str(), programs[0].exe.c_str(), FALSE)) {
        std::printf("start: not measured, cannot copy %s\n", ANLAGE_PACKED);
        return;
    }
    if (!otherPacked.empty()) {
        // Another build of the packed program (before a change), in a folder of its own.
        Started other{"other Anlage.exe", std::string(otherFolder.path().getBuffer()) + "\\Anlage.exe", "", {}, {}};
        if (CopyFileA(otherPacked.c_str(), other.exe.c_str(), FALSE)) programs.push_back(other);
        else std::printf("start: cannot copy %s, measured without it\n", otherPacked.c_str());
    }
    programs.push_back(Started{"bare program", windowsPath(BENCH_BARE_WINDOW), "", {}, {}});
    Started& bare = programs.back();
    StepTimes steps;
    int stepRounds = 0;
    std::vector<double> bareEntry;
    for (int round = 0; round < rounds; ++round) {
        for (Started& p : programs) {
            Child child = startChild(p.exe, p.arguments, p.exe.substr(0, p.exe.rfind('\\')));
            if (child.firstPaintMs < 0) {
                std::printf("start: %s showed nothing (no display?)\n", p.name.c_str());
                endChild(child);
                continue;
            }
            if (&p == &programs[0] && bare.arguments.empty()) {
                RECT r;
                GetWindowRect(child.window, &r);
                bare.arguments = std::to_string(r.right - r.left) + " " + std::to_string(r.bottom - r.top);
                std::printf("main window %s px\n", bare.arguments.c_str());
            }
            p.paintMs.push_back(child.firstPaintMs);
            if (idleSeconds > 0) {
                Sleep(1000);
                const double c0 = processCpuMs(child.process.hProcess), t0 = nowMs();
                Sleep((DWORD)(idleSeconds * 1000));
                p.idleCpu.push_back(100 * (processCpuMs(child.process.hProcess) - c0) / (nowMs() - t0));
            }
            std::printf("round %d %-22s first paint %7.1f ms\n", round + 1, p.name.c_str(), child.firstPaintMs);
            std::fflush(stdout);
            endChild(child);
        }
        stepRounds += stepRound(programs[0].exe, steps) ? 1 : 0;
        if (double entered = bareEntryMs(bare.exe); entered >= 0) bareEntry.push_back(entered);
    }
    std::printf("start to first paint, %d rounds in turn:\n", rounds);
    for (const Started& p : programs) report(p, bare);
    if (idleSeconds > 0)
        for (const Started& p : programs)
            if (!p.idleCpu.empty())
                std::printf("  idle CPU over %.0f s (GetProcessTimes, about 0 under Wine): %-22s %.2f %% of a core\n",
                            idleSeconds, p.name.c_str(), median(p.idleCpu));
    if (stepRounds)
        reportSteps(steps, stepRounds, bareEntry);
    else
        std::printf("start-up steps: not measured (the step process wrote nothing)\n");
}

} // namespace programbench
