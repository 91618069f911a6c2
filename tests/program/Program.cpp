#include "tests/program/Program.h"

#include "tests/support/gui/InputSender.h"
#include "tests/support/gui/MessagePump.h"

#include <shlobj.h>

#include <fstream>

std::string textOf(HWND h) {
    char text[4096] = "";
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(h, WM_GETTEXT, sizeof text, (LPARAM)text, SMTO_ABORTIFHUNG, 5000, &length)) return "";
    return std::string(text, length < sizeof text ? length : 0);
}

std::string classOf(HWND h) {
    char name[64] = "";
    GetClassNameA(h, name, sizeof name);
    return name;
}

HWND childOf(HWND parent, const char* className, const std::string& text, bool prefix) {
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (classOf(c) != className) continue;
        std::string t = textOf(c);
        if (prefix ? t.rfind(text, 0) == 0 : t == text) return c;
    }
    return nullptr;
}

std::string windowsPath(std::string unixPath) {
    for (char& c : unixPath)
        if (c == '/') c = '\\';
    return "Z:" + unixPath;
}

std::string userConfigPath() {
    char appData[MAX_PATH];
    SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, 0, appData);
    std::string dir = std::string(appData) + "\\VEK";
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir + "\\Anlage.cfg";
}

void copyFiles(const char* unixFolder, const std::string& windowsFolder) {
    const std::string from = windowsPath(unixFolder) + "\\", to = windowsFolder + "\\";
    CreateDirectoryA(to.c_str(), nullptr);
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((from + "*.*").c_str(), &found);
    for (bool more = h != INVALID_HANDLE_VALUE; more; more = FindNextFileA(h, &found))
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            CopyFileA((from + found.cFileName).c_str(), (to + found.cFileName).c_str(), FALSE);
    if (h != INVALID_HANDLE_VALUE) FindClose(h);
}

void forgetSettings() { DeleteFileA(userConfigPath().c_str()); }

void pointSettingsAt(int webPort, int experimentPort) {
    std::ofstream cfg(userConfigPath(), std::ios::binary | std::ios::trunc);
    cfg << "[Experiment]\r\nWebServer=127.0.0.1\r\nWebPort=" << webPort << "\r\nExperimentPort=" << experimentPort
        << "\r\n";
}

std::string boxText(HWND box) {
    char text[1024] = "";
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    return text;
}

Program::Program(const char* source, const char* resources) {
    folder = std::string(root.path().getBuffer()) + "\\Anlage";
    exe = folder + "\\Anlage.exe";
    CreateDirectoryA(folder.c_str(), nullptr);
    if (resources) copyFiles(resources, folder + "\\VEK-Resourcen");
    if (CopyFileA(windowsPath(source).c_str(), exe.c_str(), FALSE)) start();
}

Program::~Program() { close(); }

void Program::close() {
    if (!started) return;
    if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, 5000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    started = false;
    main = nullptr;
}

bool Program::start() { return start("\"" + exe + "\"", folder); }

bool Program::start(std::string commandLine, const std::string& workingFolder) {
    close();
    STARTUPINFOA si{};
    si.cb = sizeof si;
    started = CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             workingFolder.c_str(), &si, &process);
    return started;
}

HWND Program::waitForMainWindow(int timeoutMs) {
    MessagePump::until([this] { return (main = findTopLevel(false)) != nullptr; }, timeoutMs);
    return main;
}

HWND Program::waitForOwnedWindow(int timeoutMs) {
    HWND found = nullptr;
    MessagePump::until([&] { return (found = findTopLevel(false, main)) != nullptr; }, timeoutMs);
    return found;
}

HWND Program::waitForBox(int timeoutMs, HWND except) {
    HWND box = nullptr;
    MessagePump::until([&] { return (box = findTopLevel(true, nullptr, except)) != nullptr; }, timeoutMs);
    return box;
}

bool Program::pressOk(HWND box) {
    HWND ok = GetDlgItem(box, IDOK);
    return ok && press(ok, [&] { return !IsWindow(box) || !IsWindowVisible(box); });
}

POINT Program::placeOf(HWND control) const {
    RECT r{};
    GetWindowRect(control, &r);
    POINT p{r.left, r.top};
    ScreenToClient(main, &p);
    return p;
}

// The window that takes the input is the control's top-level window.
bool Program::click(HWND control) {
    RECT r;
    GetClientRect(control, &r);
    POINT middle{r.right / 2, r.bottom / 2};
    HWND top = GetAncestor(control, GA_ROOT);
    MapWindowPoints(control, top, &middle, 1);
    return InputSender(top).realClick(middle.x, middle.y);
}

bool Program::press(HWND control, const std::function<bool()>& done, int timeoutMs) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (done()) return true; // also when the click ended its window
        click(control);
        if (MessagePump::until(done, timeoutMs / 3)) return true;
    }
    return false;
}

bool Program::connectPort() {
    return press(child("Button", "verbinden"), [&] { return child("Button", "trennen") != nullptr; });
}

bool Program::disconnectPort() {
    return press(child("Button", "trennen"), [&] { return child("Button", "verbinden") != nullptr; });
}

bool Program::endsByItsButton() {
    DWORD code = 1;
    return press(child("Button", "Ende"), [&] { return ended(0, code); }) && code == 0;
}

std::string Program::answerBox(int timeoutMs) {
    HWND box = waitForBox(timeoutMs);
    if (!box) return "(no box)";
    std::string seen = textOf(box) + ": " + boxText(box);
    return pressOk(box) ? seen : seen + " (not closed)";
}

void Program::writeFirmware(const char* bytes) const {
    std::string dir = std::string(root.path().getBuffer()) + "\\Steuerung";
    CreateDirectoryA(dir.c_str(), nullptr);
    CreateDirectoryA((dir + "\\temp_bin").c_str(), nullptr);
    std::ofstream(dir + "\\temp_bin\\Steuerung.bin", std::ios::binary) << bytes;
}

bool Program::responds() const {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored) != 0;
}

bool Program::ended(int timeoutMs, DWORD& code) {
    bool done = false;
    MessagePump::until([&] { return done = WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0; }, timeoutMs);
    GetExitCodeProcess(process.hProcess, &code);
    return done;
}

// A visible top-level window of the process: a message box, or a frame whose owner is owner
// (the main window has none).
HWND Program::findTopLevel(bool box, HWND owner, HWND except) {
    struct Search {
        DWORD pid;
        bool box;
        HWND owner, except, found;
    } search{process.dwProcessId, box, owner, except, nullptr};
    EnumWindows(
        [](HWND h, LPARAM l) -> BOOL {
            Search* s = reinterpret_cast<Search*>(l);
            DWORD pid = 0;
            GetWindowThreadProcessId(h, &pid);
            if (pid != s->pid || h == s->except || !IsWindowVisible(h)) return TRUE;
            bool isBox = classOf(h) == "#32770";
            if (isBox != s->box || (!s->box && GetWindow(h, GW_OWNER) != s->owner)) return TRUE;
            s->found = h;
            return FALSE;
        },
        (LPARAM)&search);
    return search.found;
}
