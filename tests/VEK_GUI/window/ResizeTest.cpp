// Resizing a frame: anchored children move once per step and only when their place changes;
// the stored placement is written once per finished move or size, not per step.
#include "VEK_GUI/SApplicationBasic.h"
#include "VEK_GUI/SFrameWindow.h"
#include "VEK_SYSTEM/SSystem.h"
#include "tests/support/BoxRecorder.h"
#include "tests/support/TempDir.h"
#include "tests/support/gui/MessagePump.h"
#include "tests/support/TestResources.h"

#include <gtest/gtest.h>

namespace {

class ResizedFrame : public SFrameWindow {
public:
    ResizedFrame() {
        startTestResources(nullptr);
        rect = SRect{40, 30, 400, 300};
        showInfoButton = 0;
    }
    const char* getClassName() const override { return "ResizedFrame"; }
    using SFrameWindow::savePlacement;
};

// Counts the moves asked of it (a move to the same place costs a request and a repaint);
// follows its parent's edges like a control.
class MoveCounter : public SWindow {
public:
    int moves = 0;
    MoveCounter(SWindow& frame, SRect r) {
        style = WS_CHILD | WS_VISIBLE;
        rect = r;
        create(&frame);
        anchor.setMode(SAnchor::Automatic);
        anchor.rerecord(getWindowRect(false), frame.getClientSize());
        moves = 0; // not the showing at creation
    }
    LRESULT windowProc(HWND h, UINT msg, WPARAM w, LPARAM l, bool& handled, LRESULT& result) override {
        if (msg == WM_WINDOWPOSCHANGING && h == hwnd) ++moves;
        return SWindow::windowProc(h, msg, w, l, handled, result);
    }
};

void resizeBy(HWND h, int dx, int dy) {
    RECT r;
    GetWindowRect(h, &r);
    SetWindowPos(h, nullptr, 0, 0, r.right - r.left + dx, r.bottom - r.top + dy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

TEST(Resize, AnchoredChildMovesOncePerStepAndOnlyWhenItsPlaceChanges) {
    BoxRecorder boxes;
    ResizedFrame frame;
    ASSERT_TRUE(frame.create(nullptr));
    frame.show(SW_SHOWNORMAL);
    MessagePump::flush();
    MoveCounter topLeft(frame, SRect{10, 10, 40, 20}), right(frame, SRect{330, 120, 40, 20});
    resizeBy(frame.getHwnd(), 50, 0);
    MessagePump::flush();
    EXPECT_EQ(right.moves, 1);
    EXPECT_EQ(right.getWindowRect().x, 380);
    EXPECT_EQ(topLeft.moves, 0);
}

class PlacementTest : public ::testing::Test {
protected:
    BoxRecorder boxes;
    TempDir user, computer;
    ResizedFrame frame;
    void SetUp() override {
        globalApplicationBasic.getUserConfig().close(false);
        globalApplicationBasic.setConfigFolders(user.path(), computer.path());
        globalApplicationBasic.parseCommandLine("C:\\Labor\\Anlage.exe");
        frame.savePlacement = 1;
        ASSERT_TRUE(frame.create(nullptr));
        frame.show(SW_SHOWNORMAL);
        frame.moveWindow(50, 60, 420, 310);
        MessagePump::flush();
    }
    void TearDown() override {
        globalApplicationBasic.getUserConfig().close(false);
        MessagePump::flush();
    }
    // What the file on disk holds now.
    SString onDisk() {
        SString text;
        SSystem::readFile(user.file("VEK\\Anlage.cfg"), text);
        return text;
    }
};

TEST_F(PlacementTest, WrittenOncePerFinishedMoveOrSizeAndAtClose) {
    SString before = onDisk();
    ASSERT_NE(before.find("winpos=50,60,420,310"), -1);

    HWND h = frame.getHwnd();
    SendMessageA(h, WM_ENTERSIZEMOVE, 0, 0);
    for (int step = 1; step <= 3; ++step) {
        resizeBy(h, 10, 10);
        SetWindowPos(h, nullptr, 50 + step, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        MessagePump::flush();
        EXPECT_STREQ(onDisk(), before) << "step " << step;
    }
    SendMessageA(h, WM_EXITSIZEMOVE, 0, 0);
    EXPECT_NE(onDisk().find("winpos=53,60,450,340"), -1);

    frame.moveWindow(70, 80, 430, 320);
    SendMessageA(h, WM_CLOSE, 0, 0);
    SString atClose = onDisk();
    EXPECT_NE(atClose.find("winpos=70,80,430,320"), -1);
    EXPECT_NE(atClose.find("winpostype=std"), -1);
}

} // namespace
