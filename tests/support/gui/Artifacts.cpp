#include "tests/support/gui/Artifacts.h"

#include <windows.h>

#include <cstdlib>

namespace {
std::string currentDirectory() {
    char buffer[MAX_PATH] = {};
    DWORD n = GetCurrentDirectoryA(sizeof buffer, buffer);
    return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string(".");
}

bool isSeparator(char c) { return c == '\\' || c == '/'; }

// Creates every folder along path (up to, not including, its last component).
void createParents(const std::string& path) {
    for (std::size_t i = 1; i < path.size(); ++i)
        if (isSeparator(path[i]) && path[i - 1] != ':' && !isSeparator(path[i - 1]))
            CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
}
} // namespace

std::string artifactPath(const std::string& name) {
    const char* configured = std::getenv("VEK_TEST_ARTIFACTS");
    std::string dir = configured && *configured ? configured : currentDirectory() + "\\artifacts";
    while (dir.size() > 1 && isSeparator(dir.back())) dir.pop_back();
    std::string path = dir + "\\" + name;
    createParents(path);
    return path;
}
