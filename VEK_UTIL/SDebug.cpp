#include "VEK_UTIL/SDebug.h"

#include <cstdarg>
#include <cstdio>

SDebug::SDebug() {
    host = "localhost";
    port = 5001;
    writeStallMs = 1000; // a monitor that stops reading must not stall the program for long
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

void SDebug::setTarget(const char* targetHost, int targetPort) {
    std::lock_guard<std::mutex> lock(printLock);
    close();
    host = targetHost;
    port = (uint16_t)targetPort;
    connectState = NOT_TRIED;
}

void SDebug::print(const char* text) {
    std::lock_guard<std::mutex> lock(printLock);
    if (disabled) return;
    if (connectState == NOT_TRIED) {
        SString target(host);
        connectState = createClient(nullptr, port, target) ? CONNECTED : FAILED;
    }
    if (connectState != CONNECTED) return;
    SString line;
    line.setRaw(text ? text : "");
    line.append("\r\n");
    write(line);
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
