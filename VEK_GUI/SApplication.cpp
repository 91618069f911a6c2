#include "VEK_GUI/SApplication.h"

#include "VEK_GUI/SApplicationBasic.h"
#include "VEK_GUI/SWindow.h"
#include "VEK_SYSTEM/SSystem.h"
#include "VEK_UTIL/SDebug.h"
#include "VEK_UTIL/SResources.h"

#include <gdiplus.h>

SApplication::SApplication() : defaultFontFace("Arial") { defaultBrush = CreateSolidBrush(0xA08D8C); }

SApplication::~SApplication() {
    if (timerId) KillTimer(nullptr, timerId);
    if (defaultBrush) DeleteObject(defaultBrush);
    if (gdiplusToken) Gdiplus::GdiplusShutdown(gdiplusToken);
}

int SApplication::entry(HINSTANCE instance, HINSTANCE previous, int showCommand) {
    if (!globalApplication.init(instance, previous, showCommand)) return 0;
    int code = globalApplication.runMessageLoop();
    globalApplication.closeWindows();
    return code;
}

// Closes what is still open while the window objects are whole, so their own onClose and
// onDestroy run (placement written, clean-up done); the destructors only catch the rest.
// Last constructed first: a window's members close before the window itself.
void SApplication::closeWindows() {
    for (int i = windows.count() - 1; i >= 0; --i) {
        if (i >= windows.count()) continue;
        SWindow* w = windowAt(i);
        if (!w->isWindow()) continue;
        w->close();
        if (w->isWindow()) DestroyWindow(w->getHwnd()); // one that refused still goes now
    }
}

int SApplication::runMessageLoop() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        if (msg.message == WM_KEYDOWN) {
            MSG copy = msg;
            if (translateAccelerator(copy)) continue;
        }
        DispatchMessageA(&msg);
    }
    return (int)msg.wParam;
}

bool SApplication::startGdiplus() {
    if (gdiplusToken) return true;
    Gdiplus::GdiplusStartupInput input; // version 1, no debug callback, background thread on
    return Gdiplus::GdiplusStartup(&gdiplusToken, &input, nullptr) == Gdiplus::Ok;
}

bool SApplication::startTimer() {
    if (!timerId) timerId = SetTimer(nullptr, 0, 10, timerProc);
    return timerId != 0;
}

void CALLBACK SApplication::timerProc(HWND, UINT, UINT_PTR id, DWORD tickCount) {
    globalApplication.dispatch(nullptr, WM_TIMER, id, (LPARAM)tickCount);
}

bool SApplication::init(HINSTANCE instance, HINSTANCE previous, int showCommand) {
    (void)showCommand; // the main window's own style decides how it is shown
    instanceHandle = instance;
    prevInstanceHandle = previous;
    startGdiplus();

    globalApplicationBasic.parseCommandLine(GetCommandLineA());
    // The pack is in the program's own file, which the command line need not name with its
    // folder (started through PATH or by a link with a bare name).
    globalApplicationBasic.setProgramPath(SSystem::programFile());
    globalResources.setAppDir(globalApplicationBasic.getApplicationDirectory());
    globalResources.setProgramFile(globalApplicationBasic.getProgramPath());
    globalResources.init();

    startTimer();

    mainWindow = SWindow::getLibraryMainWindow();
    if (!mainWindow) {
        SSystem::messageBox(nullptr,
                            "Die Anwendnung konnte nicht gestartet \r\nwerden, da kein Hauptfenster existiert.\r\n\r\n"
                            "Verwenden Sie den Morvel-Main-Assistenten zur automatischen Erzeugung.",
                            "FEHLER", 0x10);
        return false;
    }
    mainWindow->setStyleBits(mainWindow->getStyleBits() | WS_POPUP);
    if (!mainWindow->create(nullptr)) return false;

    HWND h = mainWindow->getHwnd();
    DWORD style = mainWindow->getStyleBits();
    if (style & WS_MINIMIZE) {
        ShowWindow(h, SW_SHOWMINIMIZED);
    } else {
        bringToFront(h);
        ShowWindow(h, (style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    }
    SetActiveWindow(h);
    return true;
}

// Foreground and focus also when another thread owns the foreground window.
void SApplication::bringToFront(HWND hwnd) {
    if (GetWindowLongA(hwnd, GWL_STYLE) & WS_MINIMIZE) {
        ShowWindow(hwnd, SW_SHOWMAXIMIZED);
        UpdateWindow(hwnd);
    }
    HWND foreground = GetForegroundWindow();
    DWORD other = foreground ? GetWindowThreadProcessId(foreground, nullptr) : 0;
    DWORD self = GetCurrentThreadId();
    if (other && other != self) {
        AttachThreadInput(self, other, TRUE);
        SetForegroundWindow(hwnd);
        SetFocus(hwnd);
        AttachThreadInput(self, other, FALSE);
    } else {
        SetForegroundWindow(hwnd);
        SetFocus(hwnd);
    }
    InvalidateRect(hwnd, nullptr, TRUE);
}

LRESULT CALLBACK SApplication::windowProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return globalApplication.dispatch(hwnd, msg, wParam, lParam);
}

LRESULT SApplication::dispatch(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    // A handler may create or destroy windows: walk a snapshot and skip windows that left.
    SPointerList targets;
    for (int i = 0; i < dispatchList.count(); ++i) {
        SWindow* w = static_cast<SWindow*>(dispatchList[i]);
        if (!hwnd || w->getHwnd() == hwnd || !w->getHwnd()) targets.add(w);
    }
    for (int i = 0; i < targets.count(); ++i) {
        SWindow* w = static_cast<SWindow*>(targets[i]);
        if (i > 0 && dispatchList.find(w) < 0) continue;
        bool handled = false;
        LRESULT r = 0;
        result = w->windowProc(hwnd, msg, wParam, lParam, handled, r);
    }
    if (targets.count() == 0 && hwnd) result = DefWindowProcA(hwnd, msg, wParam, lParam);
    if (msg == WM_ENDSESSION && wParam) endSession();
    return result;
}

// The session ends: Windows may end the process once its windows have answered, without
// the destructors, so what they would remove from the temporary folder goes now.
void SApplication::endSession() {
    globalResources.removeUnpackedFiles();
    globalApplicationBasic.removeTempFiles();
}

// Joins the dispatch list only with a usable class: a window left there with handle 0 would
// claim the next window's WM_CREATE.
bool SApplication::registerWindow(SWindow* window, WNDCLASSEXA* classDescription) {
    if (classDescription) {
        classDescription->hInstance = getInstance();
        classDescription->lpfnWndProc = windowProcedure;
        WNDCLASSA known;
        if (!GetClassInfoA(classDescription->hInstance, classDescription->lpszClassName, &known) &&
            !RegisterClassExA(classDescription) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
            return false;
    }
    dispatchList.add(window, true);
    return true;
}

void SApplication::unregisterWindow(SWindow* window) {
    dispatchList.removeAll(window);
    if (window->getHwnd()) removeWatches(window->getHwnd(), 0);
}

void SApplication::addWindow(SWindow* window) { windows.add(window, true); }

void SApplication::removeWindow(SWindow* window) {
    windows.removeAll(window);
    dispatchList.removeAll(window);
    if (mainWindow == window) mainWindow = nullptr;
}

SWindow* SApplication::findWindow(HWND handle) const {
    if (!handle) return nullptr;
    for (int i = 0; i < windows.count(); ++i) {
        SWindow* w = static_cast<SWindow*>(windows[i]);
        if (w->getHwnd() == handle) return w;
    }
    return nullptr;
}

bool SApplication::regAccelerator(HWND handle) {
    acceleratorWindows.add(handle, true);
    globalDebug.printf("SApplication::regAccelerator(..) HWND=0x%08X", (unsigned)(UINT_PTR)handle);
    return true;
}

int SApplication::translateAccelerator(const MSG& msg) {
    for (int i = 0; i < acceleratorWindows.count(); ++i) {
        HWND h = static_cast<HWND>(acceleratorWindows[i]);
        if (h != msg.hwnd && !IsChild(h, msg.hwnd)) continue;
        SWindow* w = findWindow(h);
        if (!w) {
            globalDebug.printf("FEHLER: SApplication::translateAccelerator(..) Kein Fenster f\374r %X gefunden",
                               (unsigned)(UINT_PTR)h);
            continue;
        }
        int r = w->translateAccelerator(msg.hwnd, msg.message, msg.wParam, msg.lParam);
        if (r) return r;
    }
    return 0;
}

void SApplication::addWatch(HWND watcher, HWND watched, UINT message, LPARAM userValue) {
    watchList.add(SWatchRecord{watcher, watched, message, userValue});
}

void SApplication::removeWatches(HWND watcher, UINT message) {
    for (int i = watchList.count() - 1; i >= 0; --i) {
        const SWatchRecord& r = watchList[i];
        if (r.watcher == watcher && (message == 0 || r.message == message)) watchList.removeAt(i);
    }
}

void SApplication::notifyWatchers(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    for (int i = 0; i < watchList.count(); ++i) {
        SWatchRecord r = watchList[i];
        if (r.watched != hwnd || r.message != msg) continue;
        SWatchedMessage m{hwnd, msg, wParam, lParam, r.userValue};
        SendMessageA(r.watcher, MSG_WATCHED, 0, (LPARAM)&m);
    }
}
