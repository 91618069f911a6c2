#include "tests/support/gui/MessagePump.h"

#include <windows.h>

#include <algorithm>
#include <chrono>

namespace {
using Clock = std::chrono::steady_clock;

// Short enough that a condition set by another thread is seen promptly.
constexpr int sliceMs = 5;

int msUntil(Clock::time_point deadline) {
    // Rounded up: a deadline 0.4 ms away has not passed.
    auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return (int)std::max<long long>(left, 0);
}

Clock::time_point after(int ms) { return Clock::now() + std::chrono::milliseconds(ms); }

int dispatchUntil(Clock::time_point deadline) {
    int count = 0;
    MSG msg;
    // The deadline guards against a window that never validates and so gets WM_PAINT forever.
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        ++count;
        if (Clock::now() >= deadline) break;
    }
    return count;
}

void wait(int ms, DWORD mask) { MsgWaitForMultipleObjects(0, nullptr, FALSE, (DWORD)ms, mask); }
} // namespace

int MessagePump::dispatchPending(int maxMs) { return dispatchUntil(after(maxMs)); }

void MessagePump::flush(int quietMs, int maxMs) {
    const auto deadline = after(maxMs);
    for (;;) {
        dispatchUntil(deadline);
        int left = msUntil(deadline);
        if (left == 0) return;
        // Timers are dispatched above but do not keep the flush alive: a 10 ms timer would
        // otherwise make every flush last maxMs.
        DWORD woke = MsgWaitForMultipleObjects(0, nullptr, FALSE, (DWORD)std::min(quietMs, left),
                                               QS_ALLINPUT & ~QS_TIMER);
        if (woke == WAIT_TIMEOUT) {
            dispatchUntil(deadline);
            return;
        }
    }
}

void MessagePump::run(int ms) {
    const auto deadline = after(ms);
    for (;;) {
        dispatchUntil(deadline);
        int left = msUntil(deadline);
        if (left == 0) return;
        wait(std::min(left, 50), QS_ALLINPUT);
    }
}

bool MessagePump::until(const std::function<bool()>& condition, int timeoutMs) {
    const auto deadline = after(timeoutMs);
    for (;;) {
        if (condition()) return true;
        dispatchUntil(deadline);
        if (condition()) return true;
        int left = msUntil(deadline);
        if (left == 0) return false;
        wait(std::min(left, sliceMs), QS_ALLINPUT);
    }
}
