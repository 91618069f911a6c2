#include "tests/serial/PlantSim.h"

#include "VEK_SYSTEM/SSystem.h"

#include <windows.h>

#include <fstream>
#include <sstream>

namespace {

std::string readWhole(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

std::string PlantSim::programPath() {
    std::string path = VEK_PLANT_SIM;
    std::string windows = "Z:" + path;
    for (char& c : windows)
        if (c == '/') c = '\\';
    return SSystem::fileExists(windows.c_str()) ? path : std::string();
}

// Wine's own export maps a Windows path to the Unix one.
std::string PlantSim::unixPath(const char* windowsPath) {
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

PlantSim::PlantSim(const char* port, const std::string& options) {
    std::string program = programPath();
    folderUnix = unixPath(folder.path());
    if (program.empty() || folderUnix.empty()) {
        error = "plant-sim not found at " VEK_PLANT_SIM " (build the linux preset first), or not under Wine";
        return;
    }
    std::string f = "'" + folderUnix + "/";
    if (!runShell("echo $$ >" + f + "pid'; exec '" + program + "' --prefix \\\"$WINEPREFIX\\\" --port " + port +
                  " --close-after 900 --record " + f + "record' " + options + " >" + f + "out' 2>" + f + "err'")) {
        error = "plant-sim could not be started";
        return;
    }
    // Its first line names the pseudo-terminal, once the port link is in place.
    ready = waitFor([&] { return readWhole(folder.file("out")).find('\n') != std::string::npos; }, 5000);
    if (!ready) error = "plant-sim did not come up: " + readWhole(folder.file("err"));
    pid = readWhole(folder.file("pid"));
    while (!pid.empty() && (pid.back() == '\n' || pid.back() == ' ')) pid.pop_back();
}

PlantSim::~PlantSim() { stop(); }

void PlantSim::stop() {
    if (pid.empty()) return;
    std::string gone = "'" + folderUnix + "/gone'";
    runShell("kill " + pid + "; while kill -0 " + pid + " 2>/dev/null; do sleep 0.02; done; : >" + gone);
    waitFor([&] { return SSystem::fileExists(folder.file("gone")); }, 5000);
    pid.clear();
}

std::string PlantSim::received() const { return readWhole(folder.file("record")); }

bool PlantSim::runShell(const std::string& script) {
    std::string commandLine = "Z:\\bin\\sh -c \"" + script + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return false;
    // For a Unix program Wine hands back no process handle and garbage for the thread's:
    // there is nothing to close.
    return true;
}

bool PlantSim::waitFor(const std::function<bool()>& condition, int timeoutMs) const {
    for (DWORD start = GetTickCount(); GetTickCount() - start < (DWORD)timeoutMs; Sleep(10))
        if (condition()) return true;
    return false;
}
