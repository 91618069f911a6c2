// The released program as a user gets it: the packed Anlage.exe alone in an empty folder,
// started as its own process and driven through its windows with real input.
#include "tests/program/Program.h"
#include "tests/support/gui/Artifacts.h"
#include "tests/support/gui/InputSender.h"
#include "tests/support/gui/MessagePump.h"
#include "tests/support/gui/WindowCapture.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

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

// Nothing beside it: the window and its controls, the experiment window beside it, and the end
// button ends it (the pack's layout and its removal: the pack start suite).
TEST(Program, PackedProgramStartsAloneAndEndsWithItsEndButton) {
    Program program;
    ASSERT_TRUE(program.started) << "cannot start " << program.exe;
    ASSERT_TRUE(program.waitForMainWindow()) << "no main window";

    EXPECT_EQ(textOf(program.main), "Anlage");
    for (const char* text : {"Experiment starten", "1:1", "2:1", "1:2", "Ende", "verbinden"})
        EXPECT_TRUE(program.child("Button", text)) << "no button " << text;
    MessagePump::run(500);
    WindowCapture::ofWindow(program.main).savePng(artifactPath("program/packed-main.png"));

    // The experiment window opens directly to the right of the main window, as large as it
    // (with the main window at the left edge there is room for it, and "Ende" stays uncovered).
    SetWindowPos(program.main, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    MessagePump::run(300);
    HWND experiment = nullptr;
    ASSERT_TRUE(Program::press(program.child("Button", "Experiment starten"),
                               [&] { return (experiment = program.waitForOwnedWindow(0)) != nullptr; }));
    RECT m{}, e{};
    GetWindowRect(program.main, &m);
    GetWindowRect(experiment, &e);
    EXPECT_EQ(e.left, m.right);
    EXPECT_EQ(e.top, m.top);
    EXPECT_EQ(e.right - e.left, m.right - m.left);
    EXPECT_EQ(e.bottom - e.top, m.bottom - m.top);

    EXPECT_TRUE(program.endsByItsButton()) << "still running after the end button";
}
