#include "tools/plant-sim/SentLog.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>

bool SentLog::open(const std::string& path) {
    if (path.empty()) return true;
    file.reset(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (!file.isOpen()) std::fprintf(stderr, "plant-sim: cannot open %s: %s\n", path.c_str(), std::strerror(errno));
    return file.isOpen();
}

void SentLog::frame(uint64_t number, const uint8_t* bytes, size_t count) {
    if (!file.isOpen()) return;
    std::string line = std::to_string(number);
    char hex[4];
    for (size_t i = 0; i < count; ++i) {
        std::snprintf(hex, sizeof hex, " %02X", bytes[i]);
        line += hex;
    }
    line += '\n';
    if (write(file.get(), line.data(), line.size()) != (ssize_t)line.size())
        std::fprintf(stderr, "plant-sim: sent log: %s\n", std::strerror(errno));
}
