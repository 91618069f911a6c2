// The released program as a user gets it: the packed Anlage.exe alone in an empty folder,
// started as its own process and driven through its windows with real input.
#include "VEK_SYSTEM/SSystem.h"
#include "tests/serial/PlantSim.h"
#include "tests/support/TempDir.h"
#include "tests/support/gui/Artifacts.h"
#include "tests/support/gui/InputSender.h"
#include "tests/support/gui/MessagePump.h"
#include "tests/support/gui/WindowCapture.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>

#include <string>
#include <vector>

namespace {

std::string windowText(HWND h) {
    char text[256] = "";
    GetWindowTextA(h, text, sizeof text);
    return text;
}

std::string windowClass(HWND h) {
    char name[64] = "";
    GetClassNameA(h, name, sizeof name);
    return name;
}

// The pack's folders below the temporary path ("_tmpVekRes…").
int packFolders() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((std::string(temp) + "_tmpVekRes*").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return 0;
    int n = 0;
    do ++n;
    while (FindNextFileA(h, &found));
    FindClose(h);
    return n;
}

// Anlage.exe copied into a fresh folder and started there.
class Program {
public:
    Program() {
        std::string packed = std::string("Z:") + ANLAGE_PACKED;
        for (char& c : packed)
            if (c == '/') c = '\\';
        exe = std::string(folder.path().getBuffer()) + "\\Anlage.exe";
        if (!CopyFileA(packed.c_str(), exe.c_str(), FALSE)) return;
        STARTUPINFOA si{};
        si.cb = sizeof si;
        std::string command = "\"" + exe + "\"";
        started = CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                 folder.path().getBuffer(), &si, &process);
    }
    ~Program() {
        if (!started) return;
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 5000);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }

    // The program's visible top-level window, once it shows (within timeoutMs).
    HWND waitForMainWindow(int timeoutMs = 15000) {
        MessagePump::until([this] { return (main = findMainWindow()) != nullptr; }, timeoutMs);
        return main;
    }
    // A child of the main window by class and text.
    HWND child(const char* className, const char* text) const {
        for (HWND c = GetWindow(main, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            if (windowClass(c) == className && windowText(c) == text) return c;
        return nullptr;
    }
    // A child of the main window by class whose text begins with prefix.
    HWND childStarting(const char* className, const std::string& prefix) const {
        for (HWND c = GetWindow(main, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            if (windowClass(c) == className && windowText(c).rfind(prefix, 0) == 0) return c;
        return nullptr;
    }
    // Where a control stands in the main window's client area.
    POINT placeOf(HWND control) const {
        RECT r{};
        GetWindowRect(control, &r);
        POINT p{r.left, r.top};
        ScreenToClient(main, &p);
        return p;
    }
    // A real click in the middle of a control.
    bool click(HWND control) {
        RECT r;
        GetClientRect(control, &r);
        return InputSender(control).realClick(r.right / 2, r.bottom / 2);
    }
    // Whether the process ended within timeoutMs; its exit code.
    bool ended(int timeoutMs, DWORD& code) {
        bool done = false;
        MessagePump::until([&] { return done = WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0; },
                           timeoutMs);
        GetExitCodeProcess(process.hProcess, &code);
        return done;
    }

    // A visible top-level window of the program owned by the main window.
    HWND otherWindow() {
        return findMainWindow(main);
    }

    TempDir folder;
    std::string exe;
    bool started = false;
    HWND main = nullptr;

private:
    HWND findMainWindow(HWND except = nullptr) {
        struct Search {
            DWORD pid;
            HWND except;
            HWND found;
        } search{process.dwProcessId, except, nullptr};
        EnumWindows(
            [](HWND h, LPARAM l) -> BOOL {
                Search* s = reinterpret_cast<Search*>(l);
                DWORD pid = 0;
                GetWindowThreadProcessId(h, &pid);
                if (pid != s->pid || !IsWindowVisible(h) || h == s->except) return TRUE;
                if (GetWindow(h, GW_OWNER) != s->except) return TRUE; // the main window has none
                s->found = h;
                return FALSE;
            },
            (LPARAM)&search);
        return search.found;
    }

    PROCESS_INFORMATION process{};
};

std::string windowsPath(std::string unixPath) {
    for (char& c : unixPath)
        if (c == '/') c = '\\';
    return "Z:" + unixPath;
}

// The size of the icon a file gives the platform's loader (0 x 0 when it gives none).
SIZE iconSize(const std::string& file, int index) {
    HICON icon = ExtractIconA(GetModuleHandleA(nullptr), file.c_str(), (UINT)index);
    SIZE size{0, 0};
    ICONINFO info{};
    if (icon && (INT_PTR)icon != 1 && GetIconInfo(icon, &info)) {
        BITMAP b{};
        GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof b, &b);
        size = SIZE{b.bmWidth, info.hbmColor ? b.bmHeight : b.bmHeight / 2};
        if (info.hbmColor) DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
    if (icon && (INT_PTR)icon != 1) DestroyIcon(icon);
    return size;
}

SIZE bitmapSize(const std::string& file) {
    HBITMAP bitmap = (HBITMAP)LoadImageA(nullptr, file.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    BITMAP b{};
    if (bitmap) GetObjectA(bitmap, sizeof b, &b);
    if (bitmap) DeleteObject(bitmap);
    return SIZE{b.bmWidth, b.bmHeight};
}

// The port the program's serial control opens when nothing is stored: its settings go.
void forgetSerialSettings() {
    char appData[MAX_PATH];
    SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, 0, appData);
    DeleteFileA((std::string(appData) + "\\VEK\\Anlage.cfg").c_str());
}

} // namespace

// The drawn pictures as the platform loads them: the icons, the gear and
// the information button in the sizes their controls are made for.
TEST(Program, GeneratedPicturesLoadWithTheirSizes) {
    const std::string dir = windowsPath(PROGRAM_RESOURCES) + "\\";
    SIZE big = iconSize(dir + "app_big.ico", 0);
    EXPECT_TRUE(big.cx == 32 || big.cx == 48) << big.cx;
    EXPECT_EQ(big.cx, big.cy);
    EXPECT_GT(iconSize(dir + "app_smal.ico", 0).cx, 0); // given at the system's icon size
    SIZE gear = bitmapSize(dir + "setting.bmp");
    EXPECT_EQ(gear.cx, 16);
    EXPECT_EQ(gear.cy, 16);
    SIZE info = bitmapSize(dir + "vek.bmp");
    EXPECT_EQ(info.cx, 70);
    EXPECT_EQ(info.cy, 35);
}

// Nothing beside it: the window, its controls and its layout come from the appended pack, the
// program leaves no development folders, and the end button ends it with its pack removed.
TEST(Program, PackedProgramStartsAloneAndEndsWithItsEndButton) {
    int foldersBefore = packFolders();
    Program program;
    ASSERT_TRUE(program.started) << "cannot start " << program.exe;
    ASSERT_TRUE(program.waitForMainWindow()) << "no main window";

    EXPECT_EQ(windowText(program.main), "Morvel - Windows Application mit VEK");
    for (const char* text : {"Experiment starten", "1:1", "2:1", "1:2", "Ende", "verbinden"})
        EXPECT_TRUE(program.child("Button", text)) << "no button " << text;
    EXPECT_FALSE(SSystem::fileExists(program.folder.file("VEK-Resourcen"))) << "started without its pack";
    POINT mixA = program.placeOf(program.child("Button", "1:1"));
    EXPECT_EQ(mixA.x, 120) << "not where the packed controlpos.ini puts it";
    EXPECT_EQ(mixA.y, 292);
    MessagePump::run(500);
    WindowCapture::ofWindow(program.main).savePng(artifactPath("program/packed-main.png"));

    // The experiment window opens directly to the right of the main window, as large as it.
    ASSERT_TRUE(program.click(program.child("Button", "Experiment starten")));
    HWND experiment = nullptr;
    ASSERT_TRUE(MessagePump::until([&] { return (experiment = program.otherWindow()) != nullptr; }, 5000));
    RECT m{}, e{};
    GetWindowRect(program.main, &m);
    GetWindowRect(experiment, &e);
    EXPECT_EQ(e.left, m.right);
    EXPECT_EQ(e.top, m.top);
    EXPECT_EQ(e.right - e.left, m.right - m.left);
    EXPECT_EQ(e.bottom - e.top, m.bottom - m.top);

    ASSERT_TRUE(program.click(program.child("Button", "Ende")));
    DWORD code = 1;
    ASSERT_TRUE(program.ended(10000, code)) << "still running after the end button";
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(packFolders(), foldersBefore) << "the unpacked resources stayed behind";
}

// The serial road both ways: "verbinden" opens COM1 to plant-sim, whose telemetry moves the
// value text, and a mix button sends its two bytes to the controller.
TEST(Program, MixButtonReachesThePlantOverTheSerialPort) {
    forgetSerialSettings();
    PlantSim sim("com1", "");
    ASSERT_TRUE(sim.isReady()) << sim.getError();
    Program program;
    ASSERT_TRUE(program.started && program.waitForMainWindow());

    ASSERT_TRUE(program.click(program.child("Button", "verbinden")));
    ASSERT_TRUE(MessagePump::until([&] { return program.child("Button", "trennen") != nullptr; }, 5000))
        << "the port did not open";
    HWND value = program.childStarting("Static", "Level = ");
    ASSERT_TRUE(value);
    EXPECT_TRUE(MessagePump::until([&] { return windowText(value) != "Level = 0"; }, 5000)) << "no telemetry shown";
    ASSERT_TRUE(program.click(program.child("Button", "2:1")));
    EXPECT_TRUE(MessagePump::until([&] { return sim.received() == std::string("\x02\x01", 2); }, 5000))
        << "plant-sim received " << sim.received().size() << " bytes";
    // Once the line is closed the texts of the last frame stay readable over the plant.
    ASSERT_TRUE(program.click(program.child("Button", "trennen")));
    ASSERT_TRUE(MessagePump::until([&] { return program.child("Button", "verbinden") != nullptr; }, 5000));
    MessagePump::run(500);
    WindowCapture shot = WindowCapture::ofWindow(program.main);
    shot.savePng(artifactPath("program/serial-main.png"));
    for (HWND text : {value, program.childStarting("Static", "OK"), program.childStarting("Static", "F")}) {
        if (!text) continue;
        POINT at = program.placeOf(text);
        RECT r{at.x, at.y, at.x + 100, at.y + 20};
        EXPECT_TRUE(shot.hasTextLike(r)) << windowText(text) << " is not to be seen";
    }

    ASSERT_TRUE(program.click(program.child("Button", "Ende")));
    DWORD code = 1;
    EXPECT_TRUE(program.ended(10000, code));
}
