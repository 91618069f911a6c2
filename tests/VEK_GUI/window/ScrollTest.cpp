#include "VEK_GUI/SAnchor.h"
#include "VEK_GUI/SToolTip.h"
#include "VEK_GUI/SWindow.h"
#include "tests/support/BoxRecorder.h"
#include "tests/support/gui/MessagePump.h"

#include <gtest/gtest.h>

namespace {

class Scrolled : public SWindow {
public:
    Scrolled() {
        rect = SRect{20, 20, 300, 300};
        style = WS_OVERLAPPED | WS_VISIBLE;
    }
    // Makes the client area exactly width x height, whatever bars the platform shows.
    void resizeClient(int width, int height) {
        RECT client, outer;
        GetClientRect(hwnd, &client);
        GetWindowRect(hwnd, &outer);
        SetWindowPos(hwnd, nullptr, 0, 0, outer.right - outer.left + width - client.right,
                     outer.bottom - outer.top + height - client.bottom, SWP_NOMOVE | SWP_NOZORDER);
    }
    // Created with a vertical bar over a document of height seen through 300 x 200.
    bool tall(int height) {
        if (!create(nullptr) || !getScroll().showBarVert(true)) return false;
        getScroll().setDocumentHeight(height);
        resizeClient(300, 200);
        return true;
    }
};

class Child : public SWindow {
public:
    explicit Child(SWindow& parent, int at, DWORD fixed) {
        style = WS_CHILD | WS_VISIBLE;
        rect = SRect{at, at, 40, 20};
        scrollFixed = fixed;
        create(&parent);
    }
};

// The same cases run for both directions (parameter: horizontal).
class ScrollAxis : public ::testing::TestWithParam<bool> {
protected:
    bool hor = GetParam();
    Scrolled w;
    SScroll& s = w.getScroll();
    BoxRecorder boxes;

    void SetUp() override { ASSERT_TRUE(w.create(nullptr)); }
    int request(int code, int track = 0) {
        SendMessageA(w.getHwnd(), hor ? WM_HSCROLL : WM_VSCROLL, MAKEWPARAM(code, track), 0);
        return pos();
    }
    int pos() { return hor ? s.getPosHor() : s.getPosVert(); }
    int offset() { return hor ? w.getDevice().getOffsetX() : w.getDevice().getOffsetY(); }
    int along(SWindow& c) { return hor ? c.getWindowRect().x : c.getWindowRect().y; }
    void document(int size) { hor ? s.setDocumentWidth(size) : s.setDocumentHeight(size); }
    void range(int min, int max) { hor ? s.setRangeHor(min, max) : s.setRangeVert(min, max); }
    int rangeMax() { return hor ? s.getRangeHor().max : s.getRangeVert().max; }
    bool shown() { return hor ? s.isHorizontalShown() : s.isVerticalShown(); }
    DWORD fixedHere() const { return hor ? 1 : 2; }
    DWORD fixedThere() const { return hor ? 2 : 1; }
    // A document of 1000 units seen through a page of 200.
    void scrollable() {
        ASSERT_TRUE(hor ? s.showBarHor(true) : s.showBarVert(true));
        document(1000);
        w.resizeClient(200, 200);
        MessagePump::flush();
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_ALL;
        GetScrollInfo(w.getHwnd(), hor ? SB_HORZ : SB_VERT, &info);
        ASSERT_EQ((int)info.nPage, 200);
    }
};

INSTANTIATE_TEST_SUITE_P(BothDirections, ScrollAxis, ::testing::Values(true, false),
                         [](const auto& p) { return p.param ? "Horizontal" : "Vertical"; });

// With page 200 the default steps are 20 (line) and 180 (page); children move with the
// content unless they are fixed in this direction.
TEST_P(ScrollAxis, StepsMoveOffsetAndChildrenAlike) {
    scrollable();
    Child moving(w, 50, 0), fixed(w, 50, fixedHere()), fixedOtherWay(w, 50, fixedThere());
    EXPECT_EQ(request(SB_LINEDOWN), 20);
    EXPECT_EQ(request(SB_PAGEDOWN), 200);
    EXPECT_EQ(offset(), 200);
    EXPECT_EQ(along(moving), 50 - 200);
    EXPECT_EQ(along(fixed), 50);
    EXPECT_EQ(along(fixedOtherWay), 50 - 200);
    EXPECT_EQ(request(SB_LINEUP), 180);
    EXPECT_EQ(request(SB_TOP), 0);
    EXPECT_EQ(request(SB_LINEUP), 0); // clamped by the platform
    EXPECT_EQ(request(SB_ENDSCROLL), 0);
    EXPECT_EQ(along(moving), 50);
}

// The platform clamps the position when the page grows or the range shrinks: the offset and
// the children follow it exactly (no extra line step).
TEST_P(ScrollAxis, ClampedPositionIsFollowedByOffsetAndChildren) {
    scrollable();
    Child moving(w, 50, 0);
    EXPECT_EQ(request(SB_BOTTOM), 801); // 1000 - 200 + 1
    w.resizeClient(400, 400);
    MessagePump::flush();
    EXPECT_EQ(pos(), 601);
    EXPECT_EQ(offset(), 601);
    EXPECT_EQ(along(moving), 50 - 601);

    range(0, 500);
    EXPECT_EQ(pos(), 101);
    EXPECT_EQ(offset(), 101);
    EXPECT_EQ(along(moving), 50 - 101);
}

TEST_P(ScrollAxis, RangeSetByHandSurvivesPositionsAndResizing) {
    scrollable();
    range(0, 500);
    hor ? s.setPosHor(100) : s.setPosVert(100);
    EXPECT_EQ(offset(), 100);
    w.resizeClient(250, 250);
    MessagePump::flush();
    EXPECT_EQ(rangeMax(), 500);
    EXPECT_EQ(pos(), 100);
}

// The platform shows and hides its own bars as the range needs them; requests follow what
// it shows.
TEST_P(ScrollAxis, ShownStateIsThePlatforms) {
    w.resizeClient(200, 200);
    document(1000);
    EXPECT_TRUE(shown());
    EXPECT_EQ(request(SB_LINEDOWN), 20);
    EXPECT_EQ(offset(), 20);
    document(100);
    EXPECT_FALSE(shown());
    EXPECT_EQ(offset(), 0);
}

TEST(ScrollRequests, ThumbTrackScrollsBitsThumbPositionRepaintsAll) {
    Scrolled w;
    ASSERT_TRUE(w.tall(1000));
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

// The messages of a thumb carry 16 bits of its position; a long document scrolls beyond.
// Released where tracking took it, the thumb stays there.
TEST(ScrollRequests, AThumbReleasedBeyond65535StaysWhereItWasTracked) {
    Scrolled w;
    ASSERT_TRUE(w.tall(200000));
    MessagePump::flush();
    w.getScroll().setPosVert(70000); // where tracking moved it
    SendMessageA(w.getHwnd(), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 70000 & 0xFFFF), 0);
    EXPECT_EQ(w.getScroll().getPosVert(), 70000);
    EXPECT_EQ(w.getDevice().getOffsetY(), 70000);
    // A program's own request within 16 bits still goes where it says.
    SendMessageA(w.getHwnd(), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 600), 0);
    EXPECT_EQ(w.getScroll().getPosVert(), 600);
}

// A control near the right edge moves with it, one spanning both edges stretches, one near the
// bottom follows the bottom, and one near no edge stays (compute answers false).
TEST(AnchorRules, ControlsFollowTheEdgesTheyAreNear) {
    struct Case {
        SRect control;
        SSize newSize;
        bool moves;
        SRect expected;
    } cases[] = {
        {{350, 100, 40, 20}, {500, 300}, true, {450, 100, 40, 20}},
        {{10, 100, 380, 20}, {500, 300}, true, {10, 100, 480, 20}},
        {{150, 270, 50, 20}, {400, 350}, true, {150, 320, 50, 20}},
        {{150, 120, 50, 20}, {500, 400}, false, {}},
    };
    for (const Case& c : cases) {
        SAnchor anchor;
        anchor.setMode(SAnchor::Automatic);
        anchor.classify(SRect{0, 0, 400, 300}, c.control);
        anchor.record(c.control, SSize{400, 300});
        SRect out;
        ASSERT_EQ(anchor.compute(out, c.control, c.newSize), c.moves) << c.control.x << "," << c.control.y;
        if (c.moves) {
            EXPECT_EQ(out, c.expected) << c.control.x << "," << c.control.y;
        }
    }
}

TEST(ToolTips, TextOnRequest) {
    SWindow w;
    ASSERT_TRUE(w.create(nullptr));
    ASSERT_EQ(w.addToolTip("Hilfe zum Fenster", "", 0, 200), 1);
    SToolTip* tip = w.getToolTip();
    ASSERT_NE(tip, nullptr);

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
