// What the Windows benchmarks share: a millisecond clock, the wall clock that plant-sim's stamps
// are taken on, the process's processor time, a message pump that empties the thread's queue and
// the Linux side's files as the Windows side names them.
#pragma once

#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>

namespace winbench {

inline double nowMs() {
    static LARGE_INTEGER frequency{};
    if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return 1000.0 * (double)t.QuadPart / (double)frequency.QuadPart;
}

// Wall clock in ns since 1970; Wine answers from the Unix CLOCK_REALTIME that plant-sim stamps.
inline long long wallClockNs() {
    using Precise = void(WINAPI*)(FILETIME*);
    static Precise precise =
        (Precise)(void*)GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetSystemTimePreciseAsFileTime");
    FILETIME ft;
    if (precise) precise(&ft);
    else GetSystemTimeAsFileTime(&ft);
    long long ticks = (long long)((ULONGLONG)ft.dwHighDateTime << 32 | ft.dwLowDateTime);
    return (ticks - 116444736000000000LL) * 100;
}

inline double cpuMs() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto ms = [](FILETIME f) { return (double)(((ULONGLONG)f.dwHighDateTime << 32) | f.dwLowDateTime) / 10000.0; };
    return ms(kernel) + ms(user);
}

inline void pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// "Z:" and backslashes: a Linux path as the Windows side names it.
inline std::string windowsPath(std::string unixPath) {
    for (char& c : unixPath)
        if (c == '/') c = '\\';
    return "Z:" + unixPath;
}

inline std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace winbench
