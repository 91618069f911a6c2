// The menu bar: a click opens its button's menu, moving the real mouse onto the neighbouring
// button while the menu is open closes it and opens the neighbour's, never two at a time.
#include "tests/VEK_BARS/BarsFrame.h"

#include <gtest/gtest.h>

namespace {

int visiblePopupMenus() {
    int count = 0;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND h, LPARAM counter) {
            char name[16] = {0};
            GetClassNameA(h, name, sizeof name);
            if (!strcmp(name, "#32768") && IsWindowVisible(h)) ++*reinterpret_cast<int*>(counter);
            return TRUE;
        },
        (LPARAM)&count);
    return count;
}

void moveRealMouse(SPoint screen) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    in.mi.dx = (LONG)(((long long)screen.x * 65535 + (w - 1) / 2) / (w - 1));
    in.mi.dy = (LONG)(((long long)screen.y * 65535 + (h - 1) / 2) / (h - 1));
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof in);
}

// What the menu loop sees, step by step (a thread timer runs inside the menu's own loop).
struct Watch {
    SMenubar* bar = nullptr;
    SPoint neighbour;
    std::vector<int> opened;    // open button ids as they changed
    std::vector<int> menusShown; // popup menus visible at each change
    int ticks = 0;
    bool done = false;
};
Watch watch;

void CALLBACK onTick(HWND, UINT, UINT_PTR timer, DWORD) {
    int open = watch.bar->getOpenId();
    if (open && (watch.opened.empty() || watch.opened.back() != open)) {
        watch.opened.push_back(open);
        watch.menusShown.push_back(visiblePopupMenus());
        if (watch.opened.size() == 1)
            moveRealMouse(watch.neighbour);
        else
            EndMenu();
    }
    if (++watch.ticks > 60) EndMenu(); // give up rather than hang
    if ((watch.opened.size() == 2 && !SMenubar::getOpenMenubar()) || watch.ticks > 80) {
        KillTimer(nullptr, timer);
        watch.done = true;
    }
}

TEST(Menubar, MovingToTheNeighbourButtonClosesOneMenuAndOpensTheOther) {
    BoxRecorder boxes;
    BarsFrame frame;
    ASSERT_TRUE(frame.open());
    SMenubar& bar = frame.getMenubar();
    ASSERT_TRUE(bar.createToolbar(frame));
    bar.moveWindow(0, 0, frame.getClientSize().width, 24); // not in a band: placed by hand
    SPopupMenu file, edit;
    file.appendItem("\326ffnen", 601);
    edit.appendItem("Kopieren", 602);
    int fileId = bar.addMenu("Datei", file);
    int editId = bar.addMenu("Bearbeiten", edit);
    ASSERT_NE(fileId, 0);
    ASSERT_NE(editId, 0);
    SRect r = bar.getButtonRect(editId);
    watch = Watch{};
    watch.bar = &bar;
    watch.neighbour = bar.clientToScreen(SPoint{r.x + r.width / 2, r.y + r.height / 2});
    moveRealMouse(bar.clientToScreen(SPoint{2, 2}));

    SetTimer(nullptr, 0, 50, onTick);
    InputSender(bar.getHwnd(), InputSender::Mode::Post).click(5, 5); // the "Datei" button
    EXPECT_TRUE(MessagePump::until([] { return watch.done; }, 8000));
    MessagePump::flush();

    EXPECT_EQ(watch.opened, (std::vector<int>{fileId, editId}));
    EXPECT_EQ(watch.menusShown, (std::vector<int>{1, 1}));
    EXPECT_EQ(SMenubar::getOpenMenubar(), nullptr);
    EXPECT_EQ(bar.getButtonState(fileId) & TBSTATE_PRESSED, 0);
    EXPECT_EQ(bar.getButtonState(editId) & TBSTATE_PRESSED, 0);
    // The frame saw the button's click; no item was chosen, so no item command followed.
    EXPECT_EQ(frame.commands, std::vector<int>{fileId});
}

} // namespace
