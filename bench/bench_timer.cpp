// The application timer under the platform: ticks per second delivered to each of three
// registered windows, and the processor time the idle loop costs meanwhile.
// Usage: bench_timer [seconds]   (Windows program; run it under Wine with build/…/wine-run)
#include "VEK_GUI/SApplication.h"
#include "VEK_GUI/SWindow.h"

#include <cstdio>
#include <cstdlib>

namespace {

class TickCounter : public SWindow {
public:
    long ticks = 0;
    void onTimer(DWORD) override { ++ticks; }
};

double processSeconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto seconds = [](const FILETIME& t) {
        return (double)((ULONGLONG)t.dwHighDateTime << 32 | t.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

} // namespace

int main(int argc, char** argv) {
    int seconds = argc > 1 ? std::atoi(argv[1]) : 5;
    TickCounter windows[3];
    for (TickCounter& w : windows) w.create(nullptr);
    globalApplication.startTimer();

    double cpuBefore = processSeconds();
    DWORD start = timeGetTime();
    MSG msg;
    while (timeGetTime() - start < (DWORD)seconds * 1000) {
        // The program's own loop: block until a message comes.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    double wall = (timeGetTime() - start) / 1000.0;
    double cpu = processSeconds() - cpuBefore;
    for (int i = 0; i < 3; ++i)
        std::printf("window %d: %.1f ticks/s\n", i + 1, windows[i].ticks / wall);
    std::printf("processor time of the idle loop: %.2f %% of one core (%.3f s in %.1f s)\n", 100.0 * cpu / wall,
                cpu, wall);
    return 0;
}
