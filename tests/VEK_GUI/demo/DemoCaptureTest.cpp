#include "tools/window-demo/DemoWindows.h"

#include "tests/support/BoxRecorder.h"
#include "tests/support/gui/Artifacts.h"
#include "tests/support/gui/MessagePump.h"
#include "tests/support/gui/Raise.h"
#include "tests/support/gui/WindowCapture.h"

#include <gtest/gtest.h>

namespace {

const COLORREF kBackground = 0xA08D8C;

RECT toRect(const SRect& r) { return RECT{r.x, r.y, r.x + r.width, r.y + r.height}; }

class DemoCapture : public ::testing::Test {
protected:
    BoxRecorder boxes;
    DemoFrame frame;
    void SetUp() override {
        ASSERT_TRUE(frame.create(nullptr));
        showInFront(frame.getHwnd());
    }
};

TEST_F(DemoCapture, FrameShowsBackgroundBoxTextAndAnchoredChild) {
    WindowCapture shot = WindowCapture::ofWindow(frame.getHwnd());
    ASSERT_FALSE(shot.empty());
    EXPECT_TRUE(shot.savePng(artifactPath("window-demo-frame.png")));
    EXPECT_EQ(shot.pixel(300, 20), kBackground);   // nothing drawn there
    EXPECT_EQ(shot.pixel(120, 100), DemoBoxColor); // inside the filled rectangle
    EXPECT_EQ(shot.pixel(40, 40), 0x000000u);      // its outline
    EXPECT_TRUE(shot.hasTextLike(toRect(DemoFrame::textRect())));
    SRect label = frame.getLabel().getWindowRect();
    EXPECT_EQ(shot.pixel(label.x + 3, label.y + 3), DemoLabelColor);
}

TEST_F(DemoCapture, AnchoredChildFollowsTheRightEdge) {
    SRect before = frame.getLabel().getWindowRect();
    SRect outer = frame.getWindowRect(true);
    frame.moveWindow(outer.x, outer.y, outer.width + 100, outer.height);
    MessagePump::flush();
    EXPECT_EQ(frame.getLabel().getWindowRect().x, before.x + 100);
    WindowCapture shot = WindowCapture::ofWindow(frame.getHwnd());
    SRect after = frame.getLabel().getWindowRect();
    EXPECT_EQ(shot.pixel(after.x + 3, after.y + 3), DemoLabelColor);
    EXPECT_EQ(shot.pixel(before.x + 3, before.y + 3), kBackground); // the old place was repainted
}

TEST_F(DemoCapture, DialogWithOkAndCancel) {
    DemoDialog dialog;
    ASSERT_TRUE(dialog.create(&frame));
    ShowWindow(dialog.getHwnd(), SW_SHOWNORMAL);
    SetForegroundWindow(dialog.getHwnd());
    MessagePump::flush();
    WindowCapture shot = WindowCapture::ofWindow(dialog.getHwnd());
    EXPECT_TRUE(shot.savePng(artifactPath("window-demo-dialog.png")));
    EXPECT_TRUE(shot.hasTextLike(RECT{20, 20, 300, 60}));
    EXPECT_TRUE(shot.hasTextLike(RECT{60, 80, 140, 106}));  // OK
    EXPECT_TRUE(shot.hasTextLike(RECT{170, 80, 250, 106})); // Abbrechen
}

} // namespace
