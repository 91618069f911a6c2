#include "tools/plant-sim/DosDeviceLink.h"

#include <algorithm>
#include <cerrno>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

bool DosDeviceLink::create(const std::string& prefix, const std::string& port, const std::string& newTarget) {
    remove();
    std::string dir = prefix + "/dosdevices";
    struct stat info;
    if (stat(dir.c_str(), &info) || !S_ISDIR(info.st_mode)) {
        error = dir + " is no directory";
        return false;
    }
    std::string name = port;
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return (char)std::tolower(c); });
    if (!place(dir + "/" + name, newTarget)) return false;
    path = dir + "/" + name;
    target = newTarget;
    return true;
}

// A new link beside the old one, then renamed over it: the port is never missing for a
// program that opens it meanwhile (like ln -sfn).
bool DosDeviceLink::place(const std::string& linkName, const std::string& newTarget) {
    std::string temporary = linkName + ".plant-sim." + std::to_string(getpid());
    ::unlink(temporary.c_str());
    if (symlink(newTarget.c_str(), temporary.c_str()) || rename(temporary.c_str(), linkName.c_str())) {
        error = linkName + ": " + std::strerror(errno);
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

bool DosDeviceLink::reclaim() {
    if (path.empty()) return false;
    char current[4096];
    ssize_t n = readlink(path.c_str(), current, sizeof current - 1);
    if (n >= 0) {
        const std::string now(current, (size_t)n);
        if (now == target || now.rfind("/dev/tty", 0) != 0) return false;
    }
    return place(path, target);
}

// Leaves a link alone that someone has pointed elsewhere meanwhile.
void DosDeviceLink::remove() {
    if (path.empty()) return;
    char current[4096];
    ssize_t n = readlink(path.c_str(), current, sizeof current - 1);
    if (n >= 0 && std::string(current, (size_t)n) == target) ::unlink(path.c_str());
    path.clear();
    target.clear();
}
