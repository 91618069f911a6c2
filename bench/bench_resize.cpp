// Resizing and moving a frame step by step, as the system's sizing loop does it: messages to
// the frame and its anchored children, child moves and writes of the user configuration file
// per step. Three runs: a sizing loop, a moving loop, and sizes set by the program.
// Usage: bench_resize [steps]   (Windows program; run it under Wine with build/…/wine-run)
#include "VEK_GUI/SApplication.h"
#include "VEK_GUI/SApplicationBasic.h"
#include "VEK_GUI/SFrameWindow.h"
#include "VEK_SYSTEM/SSystem.h"
#include "VEK_UTIL/SResources.h"
#include "bench/WinBench.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

namespace {

using winbench::pump;

class BenchFrame : public SFrameWindow {
public:
    BenchFrame() {
        rect = SRect{40, 40, 600, 400};
        savePlacement = 1;
        showInfoButton = 0;
    }
    const char* getClassName() const override { return "BenchFrame"; }
};

// A child that follows the frame's edges like a control made by createCtrl.
class AnchoredChild : public SWindow {
public:
    AnchoredChild(SWindow& frame, SRect r) {
        style = WS_CHILD | WS_VISIBLE;
        rect = r;
        create(&frame);
        anchor.setMode(SAnchor::Automatic);
        anchor.rerecord(getWindowRect(false), frame.getClientSize());
    }
};

struct Counts {
    long frameMessages = 0;
    long childMessages = 0;
    long childMoves = 0;    // WM_WINDOWPOSCHANGED: the place really changed
    long moveRequests = 0;  // WM_WINDOWPOSCHANGING: a move was asked for
};

HWND frameHandle = nullptr;
Counts counts;
std::atomic<long> fileWrites{0};

void count(HWND h, UINT msg) {
    if (h == frameHandle) {
        ++counts.frameMessages;
    } else if (frameHandle && IsChild(frameHandle, h)) {
        ++counts.childMessages;
        if (msg == WM_WINDOWPOSCHANGED) ++counts.childMoves;
        if (msg == WM_WINDOWPOSCHANGING) ++counts.moveRequests;
    }
}

LRESULT CALLBACK sentHook(int code, WPARAM w, LPARAM l) {
    if (code == HC_ACTION) {
        const CWPSTRUCT* m = reinterpret_cast<const CWPSTRUCT*>(l);
        count(m->hwnd, m->message);
    }
    return CallNextHookEx(nullptr, code, w, l);
}

LRESULT CALLBACK postedHook(int code, WPARAM w, LPARAM l) {
    if (code == HC_ACTION && w == PM_REMOVE) {
        const MSG* m = reinterpret_cast<const MSG*>(l);
        count(m->hwnd, m->message);
    }
    return CallNextHookEx(nullptr, code, w, l);
}

// Every save writes a temporary file and renames it: count the temporary files created.
DWORD WINAPI watchWrites(void* folder) {
    HANDLE dir = CreateFileA(static_cast<const char*>(folder), FILE_LIST_DIRECTORY,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (dir == INVALID_HANDLE_VALUE) return 1;
    alignas(DWORD) static char buffer[64 * 1024];
    DWORD bytes = 0;
    while (ReadDirectoryChangesW(dir, buffer, sizeof buffer, FALSE, FILE_NOTIFY_CHANGE_FILE_NAME, &bytes, nullptr,
                                 nullptr)) {
        for (DWORD offset = 0; bytes;) {
            const FILE_NOTIFY_INFORMATION* n = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(buffer + offset);
            std::wstring name(n->FileName, n->FileNameLength / sizeof(WCHAR));
            if (n->Action == FILE_ACTION_ADDED && name.find(L".vektmp") != std::wstring::npos) ++fileWrites;
            if (!n->NextEntryOffset) break;
            offset += n->NextEntryOffset;
        }
    }
    CloseHandle(dir);
    return 0;
}

// A box would wait for a person: print it instead.
int printBox(void*, const char* text, const char* caption, unsigned) {
    std::printf("box [%s]: %s\n", caption, text);
    return SSystem::OK;
}

// One run: `step` changes the frame once; inLoop brackets the run as the sizing loop does.
template <class Step>
void run(const char* name, int steps, bool inLoop, Step step) {
    pump();
    Sleep(300);
    counts = Counts{};
    long writesBefore = fileWrites;
    DWORD start = timeGetTime();
    if (inLoop) SendMessageA(frameHandle, WM_ENTERSIZEMOVE, 0, 0);
    for (int i = 1; i <= steps; ++i) {
        step(i);
        pump();
    }
    if (inLoop) SendMessageA(frameHandle, WM_EXITSIZEMOVE, 0, 0);
    pump();
    double ms = (double)(timeGetTime() - start);
    Sleep(500); // the file system reports its changes a little later
    double n = steps;
    std::printf("%-20s per step: %5.1f frame messages, %5.1f child messages, %5.2f child move requests,"
                " %5.2f child moves, %5.2f file writes (%ld in all), %.2f ms\n",
                name, counts.frameMessages / n, counts.childMessages / n, counts.moveRequests / n,
                counts.childMoves / n, (fileWrites - writesBefore) / n, fileWrites - writesBefore, ms / n);
}

} // namespace

int main(int argc, char** argv) {
    int steps = argc > 1 ? std::atoi(argv[1]) : 100;

    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + "vek_bench_resize_" + std::to_string(GetCurrentProcessId());
    std::string vek = folder + "\\VEK";
    CreateDirectoryA(folder.c_str(), nullptr);
    CreateDirectoryA(vek.c_str(), nullptr);
    SSystem::setPresenter(printBox);
    globalResources.setAppDir(folder.c_str());
    globalResources.setProgramFile((folder + "\\bench_resize.exe").c_str());
    globalResources.init();
    globalApplicationBasic.setConfigFolders(folder.c_str(), folder.c_str());
    globalApplicationBasic.parseCommandLine("C:\\Labor\\bench_resize.exe");
    CreateThread(nullptr, 0, watchWrites, (void*)vek.c_str(), 0, nullptr);

    BenchFrame frame;
    frame.create(nullptr);
    frame.show(SW_SHOWNORMAL);
    frameHandle = frame.getHwnd();
    const SRect places[] = {{10, 10, 80, 24},   {100, 10, 80, 24},   {510, 10, 80, 24},  {510, 150, 80, 24},
                            {10, 340, 80, 24},  {250, 340, 80, 24},  {10, 150, 580, 24}, {200, 150, 100, 24},
                            {250, 200, 100, 24}, {510, 340, 80, 24}};
    AnchoredChild* children[10];
    for (int i = 0; i < 10; ++i) children[i] = new AnchoredChild(frame, places[i]);
    pump();

    HHOOK sent = SetWindowsHookExA(WH_CALLWNDPROC, sentHook, nullptr, GetCurrentThreadId());
    HHOOK posted = SetWindowsHookExA(WH_GETMESSAGE, postedHook, nullptr, GetCurrentThreadId());

    RECT start;
    GetWindowRect(frameHandle, &start);
    run("sizing loop", steps, true, [&](int i) {
        RECT r{start.left, start.top, start.right + i, start.bottom + i};
        SendMessageA(frameHandle, WM_SIZING, WMSZ_BOTTOMRIGHT, (LPARAM)&r);
        SetWindowPos(frameHandle, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    });
    GetWindowRect(frameHandle, &start);
    run("moving loop", steps, true, [&](int i) {
        RECT r{start.left + i, start.top + i, start.right + i, start.bottom + i};
        SendMessageA(frameHandle, WM_MOVING, 0, (LPARAM)&r);
        SetWindowPos(frameHandle, nullptr, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    });
    GetWindowRect(frameHandle, &start);
    run("sizes set by program", steps, false, [&](int i) {
        MoveWindow(frameHandle, start.left, start.top, start.right - start.left - i, start.bottom - start.top - i,
                   TRUE);
    });

    UnhookWindowsHookEx(sent);
    UnhookWindowsHookEx(posted);
    for (AnchoredChild* c : children) delete c;
    return 0;
}
