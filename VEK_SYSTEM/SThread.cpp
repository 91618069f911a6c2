// SThread: Win32 threads on Windows, std::thread natively.
#include "VEK_SYSTEM/SThread.h"

#include "VEK_SYSTEM/SSystem.h"
#include "VEK_UTIL/SError.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <pthread.h>
#include <thread>
#endif

namespace {
thread_local SThread* currentThread = nullptr; // the SThread whose trampoline runs here
}

SThread::SThread() = default;

SThread::~SThread() { wait(); }

void SThread::onWorkTread() {
    globalError.show("Sie m\374ssen von SThread ableiten und die Funktion onWorkTread() \374berschreiben.", 0,
                     "Fehler !", 16);
}

void SThread::trampoline(SThread* self) {
    currentThread = self;
    self->onWorkTread();
    self->onThreadEnd();
    self->running.store(false, std::memory_order_release);
}

bool SThread::isCurrentThread() const { return currentThread == this; }

bool SThread::runAndWait() {
    if (!start()) return false;
    while (isRunning()) {
#ifdef _WIN32
        MSG msg;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            continue;
        }
#endif
        SSystem::sleepMs(1);
    }
    wait();
    return true;
}

bool SThread::wait(int timeoutMs) {
    if (!threadHandle) return !isRunning();
    if (isCurrentThread()) return false;
#ifdef _WIN32
    // The thread may be inside a SendMessage to this thread (a handler handing data to the
    // GUI): answer sent messages while waiting, or both would wait for ever.
    HANDLE h = threadHandle;
    DWORD begin = GetTickCount();
    for (;;) {
        DWORD left = INFINITE;
        if (timeoutMs >= 0) {
            DWORD elapsed = GetTickCount() - begin;
            left = elapsed >= (DWORD)timeoutMs ? 0 : (DWORD)timeoutMs - elapsed;
        }
        DWORD r = MsgWaitForMultipleObjects(1, &h, FALSE, left, QS_SENDMESSAGE);
        if (r == WAIT_OBJECT_0) break;
        if (r != WAIT_OBJECT_0 + 1) return false;
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
#else
    if (timeoutMs >= 0) {
        uint32_t startMs = SSystem::tickMs();
        while (isRunning()) {
            if (SSystem::tickMs() - startMs >= (uint32_t)timeoutMs) return false;
            SSystem::sleepMs(1);
        }
    }
#endif
    releaseHandle();
    return true;
}

#ifdef _WIN32

namespace {
DWORD WINAPI threadMain(void* arg) {
    SThread::trampoline(static_cast<SThread*>(arg));
    return 0;
}
} // namespace

bool SThread::start() {
    if (isRunning()) return false;
    releaseHandle(); // the previous, ended thread
    running.store(true, std::memory_order_release);
    threadHandle = CreateThread(nullptr, 0, threadMain, this, 0, nullptr);
    if (!threadHandle) running.store(false, std::memory_order_release);
    return threadHandle != nullptr;
}

void SThread::terminate() {
    if (!threadHandle) return;
    if (isRunning()) TerminateThread(threadHandle, 0);
    CloseHandle(threadHandle);
    threadHandle = nullptr;
    running.store(false, std::memory_order_release);
}

void SThread::setPriority(int priority) {
    if (threadHandle) SetThreadPriority(threadHandle, priority);
}

void SThread::releaseHandle() {
    if (threadHandle) CloseHandle(threadHandle);
    threadHandle = nullptr;
}

#else

bool SThread::start() {
    if (isRunning()) return false;
    releaseHandle();
    running.store(true, std::memory_order_release);
    try {
        threadHandle = new std::thread(trampoline, this);
    } catch (...) {
        running.store(false, std::memory_order_release);
        return false;
    }
    return true;
}

void SThread::terminate() {
    auto* t = static_cast<std::thread*>(threadHandle);
    if (!t) return;
    if (isRunning()) {
        pthread_cancel(t->native_handle());
        t->detach();
    } else {
        t->join();
    }
    delete t;
    threadHandle = nullptr;
    running.store(false, std::memory_order_release);
}

// Normal threads have no priorities under the default Linux scheduler: nothing to set.
void SThread::setPriority(int) {}

void SThread::releaseHandle() {
    auto* t = static_cast<std::thread*>(threadHandle);
    if (!t) return;
    if (t->joinable()) t->join();
    delete t;
    threadHandle = nullptr;
}

#endif
