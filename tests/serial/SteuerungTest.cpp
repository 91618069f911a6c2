// Steuerung in the main window: its status line shows the whole settings text beside the
// gear, in the shipped layout and without one; its tooltip shows the line's health as the
// main window's decoder counts it.
#include "VEK_GUI/SApplicationBasic.h"
#include "VEK_GUI/SToolTip.h"
#include "VEK_UTIL/SFileIni.h"
#include "VEK_UTIL/SResources.h"
#include "app/MainWnd.h"
#include "tests/serial/PlantSim.h"
#include "tests/support/BoxRecorder.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestResources.h"
#include "tests/support/gui/Artifacts.h"
#include "tests/support/gui/GdiplusScope.h"
#include "tests/support/gui/MessagePump.h"
#include "tests/support/gui/WindowCapture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
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

// The main window's world: the shipped layout, a configuration folder of its own, boxes noted.
class MainWndSteuerung : public ::testing::Test {
protected:
    void SetUp() override {
        startTestResources(shippedLayout());
        globalApplicationBasic.setConfigFolders(config.path(), config.path());
        globalApplicationBasic.parseCommandLine("C:\\Labor\\Anlage.exe");
        ASSERT_TRUE(globalApplicationBasic.openUserConfigFile());
    }
    GdiplusScope gdiplus;
    TempDir config;
    BoxRecorder boxes;
};

// The default, the longest rate of the list with every other field at its widest, and a
// rate typed at the highest the dialog takes.
const char* const settingsTexts[] = {"COM1,9600,N,8,1", "COM256,115200,E,7,2", "COM256,500000,M,8,1.5",
                                     "COM256,10000000,M,8,1.5"};

TEST_F(MainWndSteuerung, TheWholeSettingsTextIsReadableBesideTheGear) {
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

// The main window ticks as the application's 10 ms timer makes it.
thread_local MainWnd* ticked = nullptr;
void CALLBACK tickMain(HWND, UINT, UINT_PTR, DWORD now) {
    if (ticked) ticked->onTimer(now);
}

// The screen around `window` and `also` (a tooltip), as the user sees it.
void captureScreen(HWND window, HWND also, const char* name) {
    RECT r{}, tip{};
    GetWindowRect(window, &r);
    if (also && GetWindowRect(also, &tip)) UnionRect(&r, &r, &tip);
    HDC screen = GetDC(nullptr);
    WindowCapture::ofDC(screen, r.left, r.top, r.right - r.left, r.bottom - r.top).savePng(artifactPath(name));
    ReleaseDC(nullptr, screen);
}

// Steuerung waits for a line that died and takes it back; the main window's decoder tells it
// the line's health, counted afresh for each connection. On a clean line nothing is rejected,
// although frames that come while a complete one waits for the tick are missed and the
// decoder hunts through their rest, and although the line came back in the middle of a frame
// the decoder had begun. Pointing at the status line shows the counts.
TEST_F(MainWndSteuerung, WaitsForItsLineAndItsTooltipShowsTheCountsOfEachConnection) {
    PlantSim sim("com7", "--drop-after 2 --drop-for 4");
    ASSERT_TRUE(sim.isReady()) << sim.getError();
    MainWnd main;
    ASSERT_TRUE(main.create(nullptr));
    main.show(SW_SHOW);
    MessagePump::flush();
    Steuerung& steuerung = main.getSteuerung();
    steuerung.getSettings().port.setRaw("COM7");
    SButton& button = steuerung.getConnectButton();
    SendMessageA(main.getHwnd(), WM_COMMAND, (WPARAM)button.getControlId(), (LPARAM)button.getHwnd());
    ASSERT_TRUE(steuerung.isOpen()) << steuerung.getLastError().getBuffer();
    ASSERT_NE(steuerung.getToolTip(), nullptr);
    const COLORREF plainText = steuerung.getStatusText().getDevice().getTextColor();
    ticked = &main;
    UINT_PTR timer = SetTimer(nullptr, 0, 10, tickMain);
    unsigned long long frames = 0, rejected = 0;
    unsigned rate = 0;
    auto readTip = [&] {
        return std::sscanf(steuerung.getToolTip()->getText(), "Rahmen: %llu verworfene Bytes: %llu Bytes/s: %u",
                           &frames, &rejected, &rate) == 3;
    };

    ASSERT_TRUE(MessagePump::until([&] { return steuerung.isWaiting(); }, 15000)) << "the line did not die";
    EXPECT_STREQ(steuerung.getStatusText().getWindowText(), "warte auf COM7 \205");
    SRect r = steuerung.getStatusText().getWindowRect(false);
    EXPECT_EQ(WindowCapture::ofWindow(main.getHwnd()).dominantColor({r.x, r.y, r.x + r.width, r.y + r.height}),
              SComPortControl::waitingColor);
    captureScreen(main.getHwnd(), nullptr, "serial/port-waiting.png");
    ASSERT_TRUE(readTip()) << steuerung.getToolTip()->getText().getBuffer();
    EXPECT_GT(frames, 0u);
    EXPECT_EQ(rejected, 0u);
    const uint64_t bytesBefore = main.getDecoder().getCounts().bytes;
    ASSERT_GT(bytesBefore, 200u);

    ASSERT_TRUE(MessagePump::until([&] { return steuerung.isOpen(); }, 20000)) << "not taken back";
    EXPECT_TRUE(MessagePump::until([&] { return main.getDecoder().getCounts().bytes < bytesBefore; }, 5000))
        << "the counts go on from the line before";
    EXPECT_TRUE(MessagePump::until([&] { return readTip() && frames >= 20 && rate > 0; }, 20000))
        << steuerung.getToolTip()->getText().getBuffer();
    EXPECT_EQ(rejected, 0u);
    EXPECT_EQ(steuerung.getStatusText().getDevice().getTextColor(), plainText);

    RECT line{};
    GetWindowRect(steuerung.getStatusText().getHwnd(), &line);
    SetCursorPos((line.left + line.right) / 2, (line.top + line.bottom) / 2);
    HWND tip = steuerung.getToolTip()->getHwnd();
    EXPECT_TRUE(MessagePump::until([&] { return IsWindowVisible(tip) != FALSE; }, 5000)) << "no tooltip";
    MessagePump::run(300); // the tip fades in
    captureScreen(main.getHwnd(), tip, "serial/port-tooltip.png");
    SetCursorPos(0, 0);
    KillTimer(nullptr, timer);
    ticked = nullptr;
    SendMessageA(main.getHwnd(), WM_COMMAND, (WPARAM)button.getControlId(), (LPARAM)button.getHwnd());
    EXPECT_FALSE(steuerung.isOpen());
    EXPECT_EQ(boxes.count(), 0);
}

} // namespace
