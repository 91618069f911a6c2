// Steuerung in the main window: its status line shows the whole settings text beside the
// gear, in the shipped layout and without one.
#include "VEK_GUI/SApplicationBasic.h"
#include "VEK_UTIL/SFileIni.h"
#include "VEK_UTIL/SResources.h"
#include "app/MainWnd.h"
#include "tests/support/BoxRecorder.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestResources.h"
#include "tests/support/gui/Artifacts.h"
#include "tests/support/gui/GdiplusScope.h"
#include "tests/support/gui/MessagePump.h"
#include "tests/support/gui/WindowCapture.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The size of `text` in the font the control draws with.
SIZE extentIn(HWND control, const char* text) {
    SIZE size{};
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, (HFONT)SendMessageA(control, WM_GETFONT, 0, 0));
    GetTextExtentPoint32A(dc, text, (int)strlen(text), &size);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return size;
}

SString shippedLayout() {
    SFileIni file;
    EXPECT_TRUE(file.load("Z:" VEK_SHIPPED_CONTROLPOS));
    return file.getContent();
}

// The default, the longest rate of the list with every other field at its widest, and a
// rate typed at the highest the dialog takes.
const char* const settingsTexts[] = {"COM1,9600,N,8,1", "COM256,115200,E,7,2", "COM256,500000,M,8,1.5",
                                     "COM256,10000000,M,8,1.5"};

TEST(Steuerung, TheWholeSettingsTextIsReadableBesideTheGear) {
    GdiplusScope gdiplus;
    startTestResources(shippedLayout());
    TempDir config;
    globalApplicationBasic.setConfigFolders(config.path(), config.path());
    globalApplicationBasic.parseCommandLine("C:\\Labor\\Anlage.exe");
    ASSERT_TRUE(globalApplicationBasic.openUserConfigFile());
    BoxRecorder boxes;
    for (bool shipped : {true, false}) {
        SCOPED_TRACE(shipped ? "shipped layout" : "no layout");
        globalResources.controlPositions.loadFromText(shipped ? shippedLayout() : SString());
        MainWnd main;
        ASSERT_TRUE(main.create(nullptr));
        main.show(SW_SHOW);
        MessagePump::flush();
        SStatic& status = main.getSteuerung().getStatusText();
        SRect line = status.getWindowRect(false), gear = main.getSteuerung().getSettingsIcon().getWindowRect(false);
        EXPECT_LE(line.x + line.width, gear.x) << "the status line runs under the gear";
        RECT client{};
        GetClientRect(status.getHwnd(), &client);
        for (const char* text : settingsTexts) {
            main.getSteuerung().getSettings().fromString(text);
            main.getSteuerung().updateDisplay();
            EXPECT_STREQ(status.getWindowText(), text);
            SIZE extent = extentIn(status.getHwnd(), text);
            EXPECT_LE(extent.cx, client.right) << text;
            EXPECT_LE(extent.cy, client.bottom) << text;
        }
        main.getSteuerung().getSettings().fromString(settingsTexts[2]);
        main.getSteuerung().updateDisplay();
        MessagePump::flush();
        WindowCapture::ofWindow(main.getHwnd())
            .savePng(artifactPath(shipped ? "serial/steuerung-shipped.png" : "serial/steuerung-default.png"));
        MessagePump::flush();
    }
}

} // namespace
