// SThread: the worker-thread base class. A subclass overrides onWorkTread; onThreadEnd
// runs on the same thread after it. An owner must make the work function return and
// call wait() before the object goes away.
#pragma once

#include <atomic>

class SThread {
public:
    SThread();
    SThread(const SThread&) = delete;
    SThread& operator=(const SThread&) = delete;
    // Waits for a thread that still runs (the subclass must have ended its work first).
    virtual ~SThread();
    virtual const char* getClassName() const { return "SThread"; }

    virtual void onWorkTread();
    virtual void onThreadEnd() {}

    // Starts the thread; false when it could not be created or one still runs.
    bool start();
    bool isRunning() const { return running.load(std::memory_order_acquire); }
    // Forcible end: the work function is cut off and onThreadEnd does not run.
    void terminate();
    void setPriority(int priority);
    // Starts the thread and waits for its end, dispatching the caller's window messages.
    bool runAndWait();
    // Waits up to timeoutMs (-1: without limit) for the thread's end and releases its
    // handle. Returns true when no thread runs any more; false on the thread itself.
    bool wait(int timeoutMs = -1);
    bool isCurrentThread() const;

    // Body of every platform thread: the work function, onThreadEnd, then "not running".
    static void trampoline(SThread* self);

private:
    void releaseHandle();

    void* threadHandle = nullptr; // kept after the end until wait() releases it
    std::atomic<bool> running{false};
};
