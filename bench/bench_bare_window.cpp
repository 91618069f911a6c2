// The bare Win32 program the whole program is measured against: one window with a plain
// class that paints a filled rectangle, and the same 10 ms thread timer the application
// object runs, doing nothing. Started by bench_program; runs until its window is closed.
#include <windows.h>

#include <cstdlib>

namespace {

void CALLBACK onTick(HWND, UINT, UINT_PTR, DWORD) {}

LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT r{20, 20, 220, 120};
        FillRect(dc, &r, (HBRUSH)GetStockObject(DKGRAY_BRUSH));
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcA(hwnd, message, w, l);
    }
}

} // namespace

// Optional arguments: the window's outer width and height (default 800 600).
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int) {
    int width = 800, height = 600;
    char* end = arguments;
    if (long w = strtol(arguments, &end, 10); w > 0) width = (int)w;
    if (long h = strtol(end, nullptr, 10); h > 0) height = (int)h;
    WNDCLASSA c{};
    c.lpfnWndProc = windowProc;
    c.hInstance = instance;
    c.hCursor = LoadCursor(nullptr, IDC_ARROW);
    c.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    c.lpszClassName = "BareWindow";
    RegisterClassA(&c);
    HWND hwnd = CreateWindowA("BareWindow", "Bare", WS_OVERLAPPEDWINDOW, 0, 0, width, height, nullptr, nullptr, instance,
                              nullptr);
    ShowWindow(hwnd, SW_SHOWNORMAL);
    SetTimer(nullptr, 0, 10, onTick);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
