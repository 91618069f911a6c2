#include "VEK_UTIL/SDebug.h"

#include "VEK_SYSTEM/SSystem.h"

#include <cstdarg>
#include <cstdio>

SDebug::SDebug() {
    host = "localhost";
    port = 5001;
    writeStallMs = 1000;    // a monitor that takes nothing for this long is dropped
    connectTimeoutMs = 200; // a monitor whose backlog is full must not hold a trace either
}

void SDebug::enable() {
    std::lock_guard<std::mutex> lock(printLock);
    disabled = false;
}

bool SDebug::isEnabled() const {
    std::lock_guard<std::mutex> lock(printLock);
    return !disabled;
}

int SDebug::getConnectState() const {
    std::lock_guard<std::mutex> lock(printLock);
    return connectState;
}

int SDebug::getDroppedLines() const {
    std::lock_guard<std::mutex> lock(printLock);
    return droppedLines;
}

void SDebug::setStallTimes(int stallMs, int pauseMs) {
    std::lock_guard<std::mutex> lock(printLock);
    writeStallMs = stallMs;
    reconnectMs = pauseMs;
}

void SDebug::setTarget(const char* targetHost, int targetPort) {
    std::lock_guard<std::mutex> lock(printLock);
    close();
    host = targetHost;
    port = (uint16_t)targetPort;
    connectState = NOT_TRIED;
    pending.clear();
}

void SDebug::print(const char* text) {
    std::lock_guard<std::mutex> lock(printLock);
    if (disabled) return;
    const uint32_t now = SSystem::tickMs();
    if (!connection(now)) {
        if (connectState == STALLED) ++droppedLines;
        return;
    }
    SString line;
    line.setRaw(text ? text : "");
    line.append("\r\n");
    send(line, now);
}

// Connects on the first trace, and after a stall again once the pause is over.
bool SDebug::connection(uint32_t now) {
    const bool again = connectState == STALLED && (int32_t)(now - retryAt) >= 0;
    if (connectState == NOT_TRIED || again) {
        SString target;
        target.setRaw(host);
        if (createClient(nullptr, port, target)) {
            connectState = CONNECTED;
            lastProgress = now;
        } else if (again) {
            retryAt = now + (uint32_t)reconnectMs;
        } else {
            connectState = FAILED;
        }
    }
    return connectState == CONNECTED;
}

// Sends without waiting. What the socket does not take waits in `pending` up to its
// limit; further lines are dropped, and a monitor that takes nothing for the stall time
// is dropped as a whole.
void SDebug::send(const SString& line, uint32_t now) {
    if (!pending.isEmpty()) {
        int n = sendSome(pending.getBuffer(), pending.length());
        if (n < 0) return dropConnection(now);
        if (n > 0) {
            pending.remove(0, n);
            lastProgress = now;
        }
    }
    if (pending.isEmpty()) {
        int n = sendSome(line.getBuffer(), line.length());
        if (n < 0) {
            ++droppedLines;
            return dropConnection(now);
        }
        lastProgress = now; // progress, or the moment the monitor started to lag
        if (n < line.length()) pending.append(line.getBuffer() + n, line.length() - n);
        return;
    }
    if (pending.length() + line.length() <= pendingLimit)
        pending.append(line);
    else
        ++droppedLines;
    if ((int32_t)(now - lastProgress) >= writeStallMs) dropConnection(now);
}

void SDebug::dropConnection(uint32_t now) {
    droppedLines += pending.count("\r\n");
    pending.clear();
    close();
    connectState = STALLED;
    retryAt = now + (uint32_t)reconnectMs;
}

void SDebug::printf(const char* format, ...) {
    if (!format) return;
    char buffer[printfLimit + 1];
    va_list args;
    va_start(args, format);
    int n = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (n < 0) buffer[0] = 0;
    print(buffer);
    if (n > printfLimit)
        print("!!!!!!!! debug.printf(): Ergebnis-String wurde gr\366\337er als 5000 Zeichen -> wurden "
              "abgeschnitten !!!!!!!!!!");
}
