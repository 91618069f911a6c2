#include "tools/window-demo/DemoWindows.h"

#include "tests/support/BoxRecorder.h"
#include "tests/support/gui/Artifacts.h"
#include "tests/support/gui/Raise.h"
#include "tests/support/gui/WindowCapture.h"

#include <gtest/gtest.h>

namespace {

const COLORREF kBackground = 0xA08D8C;

RECT toRect(const SRect& r) { return RECT{r.x, r.y, r.x + r.width, r.y + r.height}; }

TEST(DemoCapture, FrameShowsBackgroundBoxTextAndAnchoredChild) {
    BoxRecorder boxes;
    DemoFrame frame;
    ASSERT_TRUE(frame.create(nullptr));
    showInFront(frame.getHwnd());
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

} // namespace
