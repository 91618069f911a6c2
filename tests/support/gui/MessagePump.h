// MessagePump: runs this thread's message loop for a test, bounded in time, without
// spinning the CPU.
#pragma once

#include <functional>

class MessagePump {
public:
    // Dispatches what is pending and what follows from it, until the queue stays quiet for
    // quietMs (running timers do not count as activity) or maxMs have passed.
    static void flush(int quietMs = 20, int maxMs = 500);

    // Runs the loop for ms milliseconds.
    static void run(int ms);

    // Runs the loop until condition() holds or timeoutMs pass; returns whether it held.
    // The condition is checked at least every few milliseconds, also with an idle queue.
    static bool until(const std::function<bool()>& condition, int timeoutMs = 2000);

    // Dispatches the messages waiting now; returns how many (0 when the queue was empty).
    static int dispatchPending(int maxMs = 500);
};
