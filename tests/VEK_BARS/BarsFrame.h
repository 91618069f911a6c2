// What the bar tests share: a frame that records commands and status-bar clicks, and the
// keys that answer a popup menu's own loop.
#pragma once

#include "VEK_GUI/SFrameWindow.h"
#include "tests/support/BoxRecorder.h"
#include "tests/support/TestResources.h"
#include "tests/support/gui/InputSender.h"
#include "tests/support/gui/MessagePump.h"
#include "tests/support/gui/Raise.h"

#include <initializer_list>
#include <vector>

class BarsFrame : public SFrameWindow {
public:
    explicit BarsFrame(bool infoButton = false) {
        startTestResources(nullptr);
        rect = SRect{60, 60, 500, 360};
        showInfoButton = infoButton ? 1 : 0;
    }
    const char* getClassName() const override { return "BarsFrame"; }
    bool open() { return create(nullptr) && (showInFront(hwnd), true); }
    void onCommand(int id, HWND, int) override { commands.push_back(id); }
    bool onStatusBarClick(int part) override { return clicks.push_back(part), true; }
    bool onStatusBarRClick(int part) override { return rightClicks.push_back(part), true; }

    std::vector<int> commands, clicks, rightClicks;
};

// Keys for the menu that is about to open: its loop reads them from the thread's queue.
inline void answerMenu(std::initializer_list<UINT> keys, HWND owner) {
    for (UINT vk : keys) PostMessageA(owner, WM_KEYDOWN, vk, InputSender::keyLParam(vk, 1, false));
}

// A menu that the keys did not close is ended after a while, so a failing test cannot hang.
class MenuKeys {
public:
    MenuKeys() : timer(SetTimer(nullptr, 0, 4000, [](HWND, UINT, UINT_PTR, DWORD) { EndMenu(); })) {}
    ~MenuKeys() { KillTimer(nullptr, timer); }
    MenuKeys(const MenuKeys&) = delete;
    MenuKeys& operator=(const MenuKeys&) = delete;

private:
    UINT_PTR timer;
};
