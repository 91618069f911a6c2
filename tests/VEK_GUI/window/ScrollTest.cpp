#include "VEK_GUI/SAnchor.h"
#include "VEK_GUI/SApplication.h"
#include "VEK_GUI/SToolTip.h"
#include "VEK_GUI/SWindow.h"
#include "VEK_UTIL/SError.h"
#include "tests/support/BoxRecorder.h"
#include "tests/support/gui/MessagePump.h"

#include <gtest/gtest.h>

namespace {

class Scrolled : public SWindow {
public:
    Scrolled() {
        rect = SRect{20, 20, 300, 200};
        style = WS_OVERLAPPED | WS_VISIBLE;
    }
    // The client area's height is the page: make it exactly `height` pixels.
    void setClientHeight(int height) {
        RECT r{0, 0, 300, height};
        AdjustWindowRectEx(&r, GetWindowLongA(hwnd, GWL_STYLE), FALSE, GetWindowLongA(hwnd, GWL_EXSTYLE));
        SetWindowPos(hwnd, nullptr, 0, 0, r.right - r.left + GetSystemMetrics(SM_CXVSCROLL), r.bottom - r.top,
                     SWP_NOMOVE | SWP_NOZORDER);
    }
};

class Child : public SWindow {
public:
    explicit Child(SWindow& parent, int x, DWORD fixed) {
        style = WS_CHILD | WS_VISIBLE;
        rect = SRect{x, 50, 40, 20};
        scrollFixed = fixed;
        create(&parent);
    }
};

int vscroll(SWindow& w, int request) {
    SendMessageA(w.getHwnd(), WM_VSCROLL, (WPARAM)request, 0);
    return w.getScroll().getPosVert();
}

TEST(ScrollSteps, PercentOfThePageForLinesAndPages) {
    Scrolled w;
    SScroll& s = w.getScroll();
    EXPECT_EQ(s.resolveStep(-10, 200, 1000), 20);
    EXPECT_EQ(s.resolveStep(-90, 200, 1000), 180);
    EXPECT_EQ(s.resolveStep(-10, 200, 0), 10); // no document: the step is taken as units
    EXPECT_EQ(s.resolveStep(7, 200, 1000), 7);
}

TEST(ScrollRequests, LineAndPageStepsOnARealBar) {
    Scrolled w;
    ASSERT_TRUE(w.create(nullptr));
    w.setClientHeight(200);
    ASSERT_TRUE(w.getScroll().showBarVert(true));
    w.getScroll().setDocumentHeight(1000);
    w.getScroll().update();
    MessagePump::flush();
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(w.getHwnd(), SB_VERT, &info);
    ASSERT_EQ((int)info.nPage, 200);
    EXPECT_EQ(vscroll(w, SB_LINEDOWN), 20);
    EXPECT_EQ(vscroll(w, SB_PAGEDOWN), 200);
    EXPECT_EQ(w.getDevice().getOffsetY(), 200);
    EXPECT_EQ(vscroll(w, SB_LINEUP), 180);
    EXPECT_EQ(vscroll(w, SB_TOP), 0);
    EXPECT_EQ(vscroll(w, SB_LINEUP), 0); // clamped by the platform
    EXPECT_EQ(vscroll(w, SB_ENDSCROLL), 0);
}

TEST(ScrollRequests, IgnoredWhileTheBarIsHidden) {
    Scrolled w;
    ASSERT_TRUE(w.create(nullptr));
    w.getScroll().setDocumentHeight(1000);
    EXPECT_EQ(vscroll(w, SB_PAGEDOWN), 0);
    EXPECT_EQ(w.getDevice().getOffsetY(), 0);
}

TEST(ScrollRequests, ThumbTrackScrollsBitsThumbPositionRepaintsAll) {
    Scrolled w;
    ASSERT_TRUE(w.create(nullptr));
    w.setClientHeight(200);
    w.getScroll().showBarVert(true);
    w.getScroll().setDocumentHeight(1000);
    UpdateWindow(w.getHwnd());
    MessagePump::flush();
    RECT client;
    GetClientRect(w.getHwnd(), &client);

    // Tracking scrolls the bits: only the uncovered strip needs painting.
    ValidateRect(w.getHwnd(), nullptr);
    SendMessageA(w.getHwnd(), WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 30), 0);
    EXPECT_EQ(w.getScroll().getPosVert(), 30);
    RECT dirty{};
    GetUpdateRect(w.getHwnd(), &dirty, FALSE);
    EXPECT_GT(dirty.bottom - dirty.top, 0);
    EXPECT_LT(dirty.bottom - dirty.top, client.bottom);

    // The final position repaints everything.
    ValidateRect(w.getHwnd(), nullptr);
    SendMessageA(w.getHwnd(), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 60), 0);
    EXPECT_EQ(w.getScroll().getPosVert(), 60);
    GetUpdateRect(w.getHwnd(), &dirty, FALSE);
    EXPECT_EQ(dirty.top, 0);
    EXPECT_EQ(dirty.bottom, client.bottom);
}

TEST(ScrollChildren, FixedBarsStayTheRestMoves) {
    Scrolled w;
    ASSERT_TRUE(w.create(nullptr));
    w.setClientHeight(200);
    w.getScroll().showBarVert(true);
    w.getScroll().setDocumentHeight(1000);
    Child moving(w, 10, 0);
    Child fixedVertically(w, 100, 2);
    Child fixedHorizontally(w, 200, 1);
    vscroll(w, SB_PAGEDOWN);
    EXPECT_EQ(moving.getWindowRect().y, 50 - 180);
    EXPECT_EQ(fixedVertically.getWindowRect().y, 50);
    EXPECT_EQ(fixedHorizontally.getWindowRect().y, 50 - 180);
}

TEST(ScrollBars, ShowingBeforeCreationIsRefused) {
    BoxRecorder boxes;
    Scrolled w;
    EXPECT_FALSE(w.getScroll().showBarHor(true));
    EXPECT_FALSE(w.getScroll().showBarVert(true));
    ASSERT_EQ(boxes.count(), 2);
    EXPECT_STREQ(boxes[0].text, "SScroll::showBarHor(..) kann nur auf ein existierendes Fenster angewendet werden.\r\n"
                                "Bitte f\374hren Sie zuerst create(...) aus.");
    EXPECT_FALSE(w.getScroll().isHorizontalShown());
}

TEST(AnchorRules, RightEdgeMovesLeftAndRightStretches) {
    SRect parent{0, 0, 400, 300};
    SAnchor movesRight;
    movesRight.setMode(SAnchor::Automatic);
    SRect control{350, 100, 40, 20};
    movesRight.classify(parent, control);
    movesRight.record(control, SSize{400, 300});
    SRect out;
    ASSERT_TRUE(movesRight.compute(out, control, SSize{500, 300}));
    EXPECT_EQ(out.x, 450);
    EXPECT_EQ(out.width, 40);

    SAnchor stretches;
    stretches.setMode(SAnchor::Automatic);
    SRect wide{10, 100, 380, 20};
    stretches.classify(parent, wide);
    stretches.record(wide, SSize{400, 300});
    ASSERT_TRUE(stretches.compute(out, wide, SSize{500, 300}));
    EXPECT_EQ(out.x, 10);
    EXPECT_EQ(out.width, 480);

    SAnchor middle;
    middle.setMode(SAnchor::Automatic);
    SRect centre{150, 120, 50, 20};
    middle.classify(parent, centre);
    middle.record(centre, SSize{400, 300});
    EXPECT_FALSE(middle.compute(out, centre, SSize{500, 400})); // near no edge: stays

    SAnchor bottom;
    bottom.setMode(SAnchor::Automatic);
    SRect low{150, 270, 50, 20};
    bottom.classify(parent, low);
    bottom.record(low, SSize{400, 300});
    ASSERT_TRUE(bottom.compute(out, low, SSize{400, 350}));
    EXPECT_EQ(out.y, 320);
}

TEST(AnchorRules, FirstComputeOnlyRecordsAndManualModeNeverClassifies) {
    SAnchor a;
    a.setMode(SAnchor::Automatic);
    a.classify(SRect{0, 0, 400, 300}, SRect{350, 10, 40, 20});
    SRect out;
    EXPECT_FALSE(a.compute(out, SRect{350, 10, 40, 20}, SSize{400, 300}));
    EXPECT_TRUE(a.compute(out, SRect{350, 10, 40, 20}, SSize{450, 300}));
    EXPECT_EQ(out.x, 400);

    SAnchor manual;
    manual.classify(SRect{0, 0, 400, 300}, SRect{350, 10, 40, 20});
    EXPECT_EQ(manual.getMode() & SAnchor::EdgeBits, 0u);
}

TEST(AnchorWindows, ChildFollowsItsResizedParent) {
    SWindow parentWindow;
    parentWindow.moveWindow(10, 10, 400, 300);
    ASSERT_TRUE(parentWindow.create(nullptr));
    RECT r{0, 0, 400, 300};
    AdjustWindowRectEx(&r, GetWindowLongA(parentWindow.getHwnd(), GWL_STYLE), FALSE, 0);
    SetWindowPos(parentWindow.getHwnd(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
    Child child(parentWindow, 350, 0);
    child.getAnchor().setMode(SAnchor::Automatic);
    child.getAnchor().classify(parentWindow.getClientRect(), child.getWindowRect());
    child.getAnchor().record(child.getWindowRect(), parentWindow.getClientSize());
    child.onParentResized(SSize{500, 300});
    EXPECT_EQ(child.getWindowRect().x, 450);
}

TEST(ToolTips, TextOnRequestAndWidthLimit) {
    SWindow w;
    ASSERT_TRUE(w.create(nullptr));
    ASSERT_EQ(w.addToolTip("Hilfe zum Fenster", "", 0, 200), 1);
    SToolTip* tip = w.getToolTip();
    ASSERT_NE(tip, nullptr);
    EXPECT_NE(tip->getHwnd(), nullptr);
    EXPECT_EQ(tip->getMaxWidth(), 200);
    tip->setMaxWidth(0);
    EXPECT_EQ(tip->getMaxWidth(), -1);

    NMTTDISPINFOA info{};
    info.hdr.hwndFrom = tip->getHwnd();
    info.hdr.code = TTN_GETDISPINFOA;
    SendMessageA(w.getHwnd(), WM_NOTIFY, 0, (LPARAM)&info);
    EXPECT_STREQ(info.lpszText, "Hilfe zum Fenster");

    class Texted : public SWindow {
        const char* getToolTipText() override { return "eigener Text"; }
    } texted;
    ASSERT_TRUE(texted.create(nullptr));
    texted.addToolTip("Standard");
    info.hdr.hwndFrom = texted.getToolTip()->getHwnd();
    SendMessageA(texted.getHwnd(), WM_NOTIFY, 0, (LPARAM)&info);
    EXPECT_STREQ(info.lpszText, "eigener Text");
}

} // namespace
