// The program's two windows in the layout it ships: every static text, at the longest it can
// become, fits its control in the control's own font, and no two visible controls lie over
// each other. The windows are the program's own classes, built in this process so that
// each control's font can be measured.
#include "VEK_CONTROLS/SControlContainer.h"
#include "VEK_GUI/SApplication.h"
#include "VEK_GUI/SApplicationBasic.h"
#include "VEK_UTIL/SResources.h"
#include "app/MainWnd.h"
#include "tests/program/Program.h"
#include "tests/support/TempDir.h"
#include "tests/support/gui/Artifacts.h"
#include "tests/support/gui/GdiplusScope.h"
#include "tests/support/gui/MessagePump.h"
#include "tests/support/gui/WindowCapture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// The resource folder of the program as it is packed, beside a program file in appDir.
void startShippedResources(const TempDir& appDir) {
    copyFiles(PROGRAM_RESOURCES, appDir.file("VEK-Resourcen").getBuffer());
    globalResources.setAppDir(appDir.path());
    globalResources.setProgramFile(appDir.file("Anlage.exe"));
    globalResources.init();
}

std::vector<std::string> numbers(const char* format, int last) {
    std::vector<std::string> texts;
    char text[32];
    for (int n = 0; n <= last; ++n) texts.emplace_back(text, std::snprintf(text, sizeof text, format, n));
    return texts;
}

// Every text a static of the program can show: what the telemetry writes into the plant's
// texts (a level of two bytes, ratios of one byte each), the widest settings a user can give
// in the port dialog (its baud rate is typed, up to 10000000), or else the fixed text it has.
std::vector<std::string> possibleTexts(HWND control, MainWnd& main) {
    SWindow* window = globalApplication.findWindow(control);
    const std::string name = window ? window->getClassName() : "";
    if (name == "TxtWert") return numbers("Level = %d", 65535);
    if (name == "TxtMix1") return numbers("%d", 255);
    if (name == "TxtMix2") return numbers(": %d", 255);
    if (name == "TxtAktion") return {"OK", "F\334LLEN"};
    Steuerung& port = main.getSteuerung();
    for (int i = 0; i < port.getElementCount(); ++i)
        if (window && port.getElement(i).control == window) return {"COM256,115200,E,7,2", "COM256,10000000,M,8,1.5"};
    return {textOf(control)};
}

// The texts of a window's statics that do not fit their client width, one line each.
std::string cutTexts(HWND window, MainWnd& main) {
    std::string faults;
    HDC dc = GetDC(window);
    for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (classOf(c) != "Static" || !IsWindowVisible(c)) continue;
        RECT client;
        GetClientRect(c, &client);
        HGDIOBJ old = SelectObject(dc, (HFONT)SendMessageA(c, WM_GETFONT, 0, 0));
        std::string widest;
        SIZE most{0, 0};
        for (const std::string& text : possibleTexts(c, main)) {
            SIZE size{};
            GetTextExtentPoint32A(dc, text.c_str(), (int)text.size(), &size);
            if (size.cx > most.cx) most = size, widest = text;
        }
        SelectObject(dc, old);
        if (most.cx > client.right)
            faults += "\"" + widest + "\" is " + std::to_string(most.cx) + " px wide in \"" + textOf(c) +
                      "\", which has " + std::to_string(client.right) + "\n";
    }
    ReleaseDC(window, dc);
    return faults;
}

// Whether one of the two is a container and the other one of its parts, which it keeps over itself.
bool partOf(HWND a, HWND b) {
    auto* container = dynamic_cast<SControlContainer*>(globalApplication.findWindow(a));
    SWindow* part = globalApplication.findWindow(b);
    for (int i = 0; container && part && i < container->getElementCount(); ++i)
        if (container->getElement(i).control == part) return true;
    return false;
}

// The visible children that stick out of the client area or lie over another, one line each.
std::string overlaps(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    std::vector<std::pair<HWND, RECT>> shown;
    for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (!IsWindowVisible(c)) continue;
        RECT r;
        GetWindowRect(c, &r);
        MapWindowPoints(nullptr, window, (POINT*)&r, 2);
        shown.emplace_back(c, r);
    }
    auto named = [](const std::pair<HWND, RECT>& c) {
        char at[48];
        std::snprintf(at, sizeof at, " at %ld,%ld %ldx%ld", c.second.left, c.second.top,
                      c.second.right - c.second.left, c.second.bottom - c.second.top);
        return classOf(c.first) + " \"" + textOf(c.first) + "\"" + at;
    };
    std::string faults;
    RECT both;
    for (size_t i = 0; i < shown.size(); ++i) {
        const RECT& r = shown[i].second;
        if (r.left < 0 || r.top < 0 || r.right > client.right || r.bottom > client.bottom)
            faults += named(shown[i]) + " outside the window\n";
        for (size_t j = i + 1; j < shown.size(); ++j)
            if (IntersectRect(&both, &r, &shown[j].second) && !partOf(shown[i].first, shown[j].first) &&
                !partOf(shown[j].first, shown[i].first))
                faults += named(shown[i]) + " over " + named(shown[j]) + "\n";
    }
    return faults;
}

} // namespace

TEST(ProgramTexts, EveryTextFitsItsControlAndNoControlsOverlap) {
    GdiplusScope gdiplus;
    TempDir appDir, config;
    startShippedResources(appDir);
    globalApplicationBasic.setConfigFolders(config.path(), config.path());
    globalApplicationBasic.parseCommandLine(appDir.file("Anlage.exe"));
    ASSERT_TRUE(globalApplicationBasic.openUserConfigFile());

    MainWnd main;
    ASSERT_TRUE(main.create(nullptr));
    SetWindowPos(main.getHwnd(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    main.show(SW_SHOW);
    MessagePump::flush();
    main.openExperiment();
    MessagePump::flush();
    HWND experiment = main.getExperimentWnd().getHwnd();
    ASSERT_TRUE(experiment);

    EXPECT_EQ(cutTexts(main.getHwnd(), main), "");
    EXPECT_EQ(overlaps(main.getHwnd()), "");
    EXPECT_EQ(cutTexts(experiment, main), "");
    EXPECT_EQ(overlaps(experiment), "");

    // A frame with the ratio 10 : 255, for a person to look at.
    ShowWindow(experiment, SW_HIDE);
    for (unsigned char byte : {0x55, 0xAA, 0xC4, 0x09, 0x01, 0x01, 0x00, 10, 255}) main.onReceiveByte(byte);
    MessagePump::run(100);
    EXPECT_TRUE(WindowCapture::ofWindow(main.getHwnd()).savePng(artifactPath("program/ratio-10-255.png")));
}
