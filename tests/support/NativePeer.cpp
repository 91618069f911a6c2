#include "tests/support/NativePeer.h"

#ifdef _WIN32

#include "VEK_SYSTEM/SSystem.h"

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

std::string windowsForm(const std::string& unix) {
    std::string windows = "Z:" + unix;
    for (char& c : windows)
        if (c == '/') c = '\\';
    return windows;
}

std::string readWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool waitFor(bool (*condition)(const NativePeer&), const NativePeer& peer, int timeoutMs) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < (DWORD)timeoutMs; Sleep(10))
        if (condition(peer)) return true;
    return false;
}

} // namespace

NativePeer::NativePeer() : folderUnix(unixPath(folder.path())) {}

NativePeer::~NativePeer() { stop(); }

// Wine's own export maps a Windows path to the Unix one.
std::string NativePeer::unixPath(const char* windowsPath) {
    using Convert = char*(CDECL*)(const WCHAR*);
    auto convert = (Convert)(void*)GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name");
    if (!convert) return std::string();
    WCHAR wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, windowsPath, -1, wide, MAX_PATH);
    char* unix = convert(wide);
    std::string result = unix ? unix : "";
    HeapFree(GetProcessHeap(), 0, unix);
    return result;
}

bool NativePeer::unixFileExists(const std::string& path) { return SSystem::fileExists(windowsForm(path).c_str()); }

std::string NativePeer::readFile(const char* name) const { return readWhole(folder.file(name).getBuffer()); }

bool NativePeer::start(const std::string& command, int timeoutMs, int watchdogSeconds) {
    if (folderUnix.empty()) {
        error = "not under Wine";
        return false;
    }
    std::string f = "'" + folderUnix + "/";
    // The watchdog's output goes nowhere, or CTest would wait for it to close its pipe.
    std::string script = "echo $$ >" + f + "pid'; (sleep " + std::to_string(watchdogSeconds) +
                         "; kill $$) >/dev/null 2>&1 </dev/null & echo $! >" + f + "watchdog'; exec " +
                         command + " <" + "/dev/null >" + f + "out' 2>" + f + "err'";
    if (!runShell(script)) {
        error = "the shell could not be started";
        return false;
    }
    bool ready = waitFor([](const NativePeer& p) { return p.readFile("out").find('\n') != std::string::npos; },
                         *this, timeoutMs);
    pid = readFile("pid");
    while (!pid.empty() && (pid.back() == '\n' || pid.back() == ' ')) pid.pop_back();
    if (!ready) {
        error = "no first line: " + readFile("err");
        return false;
    }
    std::string out = readFile("out");
    line = out.substr(0, out.find('\n'));
    return true;
}

void NativePeer::stop() {
    if (pid.empty()) return;
    std::string gone = "'" + folderUnix + "/gone'";
    std::string watchdog = readFile("watchdog");
    while (!watchdog.empty() && (watchdog.back() == '\n' || watchdog.back() == ' ')) watchdog.pop_back();
    if (!watchdog.empty()) watchdog = "pkill -P " + watchdog + "; kill " + watchdog + "; ";
    runShell(watchdog + "kill " + pid + "; while kill -0 " + pid + " 2>/dev/null; do sleep 0.02; done; : >" + gone);
    waitFor([](const NativePeer& p) { return SSystem::fileExists(p.folder.file("gone")); }, *this, 5000);
    pid.clear();
}

bool NativePeer::runShell(const std::string& script) {
    std::string commandLine = "Z:\\bin\\sh -c \"" + script + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    // For a Unix program Wine hands back no usable handles: there is nothing to close.
    return CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process) != 0;
}

#endif
