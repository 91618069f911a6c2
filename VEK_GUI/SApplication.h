// SApplication: start-up, the message loop, the one window procedure of every library
// window class, the 10 ms application timer, accelerators and the message watch list.
#pragma once

#include "VEK_ARRAYS/SList.h"
#include "VEK_ARRAYS/SPointerList.h"
#include "VEK_GUI/SFontCache.h"
#include "VEK_UTIL/SString.h"

#include <windows.h>

class SWindow;

// Who is told (watcher) when a message (message) of a window (watched) was dispatched.
struct SWatchRecord {
    HWND watcher = nullptr;
    HWND watched = nullptr;
    UINT message = 0;
    LPARAM userValue = 0;
    bool operator==(const SWatchRecord&) const = default;
};

// What MSG_WATCHED carries in lParam.
struct SWatchedMessage {
    HWND hwnd;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    LPARAM userValue;
};

class SWatchList : public SList<SWatchRecord> {
public:
    const char* getClassName() const override { return "SWatchList"; }
};

class SApplication {
public:
    SApplication();
    virtual ~SApplication();
    virtual const char* getClassName() const { return "SApplication"; }

    // The program's entry: init, then the message loop; returns the exit code.
    static int entry(HINSTANCE instance, HINSTANCE previous, int showCommand);
    bool init(HINSTANCE instance, HINSTANCE previous, int showCommand);
    int runMessageLoop();
    // Closes the library windows still open (the entry does it when the loop ends).
    void closeWindows();

    // Offers a message to the windows of the dispatch list (see windowProc of SWindow).
    LRESULT dispatch(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK windowProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    // Joins the dispatch list; registers the window class unless the instance knows it.
    bool registerWindow(SWindow* window, WNDCLASSEXA* classDescription);
    void unregisterWindow(SWindow* window);
    void addWindow(SWindow* window);    // every constructed library window
    void removeWindow(SWindow* window);
    SWindow* findWindow(HWND handle) const;
    SWindow* windowAt(int index) const { return static_cast<SWindow*>(windows[index]); }
    int windowCount() const { return windows.count(); }
    bool isDispatched(const SWindow* window) const { return dispatchList.find((void*)window) >= 0; }
    int nextId() { return nextControlId++; }

    bool regAccelerator(HWND handle);
    int translateAccelerator(const MSG& msg);

    void addWatch(HWND watcher, HWND watched, UINT message, LPARAM userValue);
    void removeWatches(HWND watcher, UINT message = 0);
    void notifyWatchers(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    HBRUSH getDefaultBrush() const { return defaultBrush; }
    HINSTANCE getInstance() const { return instanceHandle ? instanceHandle : GetModuleHandleA(nullptr); }
    SWindow* getMainWindow() const { return mainWindow; }
    void setMainWindow(SWindow* window) { mainWindow = window; }
    HWND getLastFocus() const { return lastFocusHandle; }
    void setLastFocus(HWND handle) { lastFocusHandle = handle; }
    int getExitCode() const { return exitCode; }
    const SString& getDefaultFontFace() const { return defaultFontFace; }
    double getFontScale() const { return fontScale; }
    // The fonts windows are given (WM_SETFONT); they live as long as the application.
    SFontCache& getFontCache() { return fontCache; }
    void setFontScale(double scale) { fontScale = scale; }
    UINT_PTR getTimerId() const { return timerId; }
    bool startTimer();
    static void bringToFront(HWND hwnd);

private:
    static void CALLBACK timerProc(HWND, UINT, UINT_PTR id, DWORD tickCount);
    void endSession();
    bool startGdiplus();

    HINSTANCE instanceHandle = nullptr;
    HINSTANCE prevInstanceHandle = nullptr;
    SWindow* mainWindow = nullptr;
    SPointerList windows;
    HWND lastFocusHandle = nullptr;
    int exitCode = 0;
    SString defaultFontFace;
    double fontScale = 1.0;
    SPointerList dispatchList;
    int nextControlId = 3000;
    UINT_PTR timerId = 0;
    HBRUSH defaultBrush = nullptr;
    SPointerList acceleratorWindows;
    SWatchList watchList;
    ULONG_PTR gdiplusToken = 0;
    SFontCache fontCache;
};

extern SApplication globalApplication;
