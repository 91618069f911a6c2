// The run-time layouter: an overlay over every positionable control, dragged with the real
// mouse (body on the grid or free with left Shift, handles keeping the opposite edges, the
// minimum size), the handles of small controls, and what stopping leaves in controlpos.ini.
#include "VEK_ARRAYS/SStringList.h"
#include "VEK_CONTROLS/SButton.h"
#include "VEK_CONTROLS/SEdit.h"
#include "VEK_CONTROLS/SPositioningWnd.h"
#include "VEK_CONTROLS/SStatic.h"
#include "VEK_GUI/SApplication.h"
#include "VEK_UTIL/SResources.h"
#include "tests/VEK_CONTROLS/ControlHost.h"
#include "tests/support/BoxRecorder.h"
#include "tests/support/gui/InputSender.h"
#include "tests/support/gui/MessagePump.h"
#include "tests/support/gui/WindowCapture.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

class Layouter : public ::testing::Test {
protected:
    BoxRecorder boxes;
    ControlHost host;
    void SetUp() override { ASSERT_TRUE(host.open()); }
    void TearDown() override {
        host.stopPositioning();
        globalResources.controlPositions.setSectionText("ControlHost", "");
    }

    // Presses the left button on the control's overlay at from (its client coordinates),
    // moves the real pointer by (dx, dy) and releases it.
    static void drag(SControlPositioned& control, SPoint from, int dx, int dy, UINT heldKey = 0) {
        SPositioningWnd* overlay = control.getPositioningWnd();
        ASSERT_NE(overlay, nullptr);
        InputSender input(overlay->getHwnd());
        ASSERT_TRUE(input.realDrag(from.x, from.y, from.x + dx, from.y + dy, heldKey));
    }
};

TEST_F(Layouter, BodyDragSnapsToTheGridAndLeftShiftMovesFreely) {
    SButton snapped, free;
    snapped.createCtrl(&host, "eins", 40, 40, 80, 30);
    free.createCtrl(&host, "zwei", 40, 140, 80, 30);
    host.startPositioning();
    SPositioningWnd* overlay = snapped.getPositioningWnd();
    ASSERT_NE(overlay, nullptr);
    drag(snapped, SPoint{20, 15}, 17, 23);
    EXPECT_EQ(snapped.getWindowRect(), (SRect{50, 60, 80, 30}));
    EXPECT_EQ(overlay->getWindowRect(), (SRect{50, 60, 80, 30}));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(overlay->getFrameColor(), SPositioningWnd::Green); // the pointer rests on it

    // A real pointer move makes Wine's X11 driver take the modifier state from X, where no
    // Shift is down: the Shift drag goes through posted messages (one move: their points are
    // client coordinates of the moving overlay) and the thread's key state.
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = keys[VK_LSHIFT] = 0x80;
    SetKeyboardState(keys);
    InputSender(free.getPositioningWnd()->getHwnd(), InputSender::Mode::Post).drag(20, 15, 37, 38, 1);
    keys[VK_SHIFT] = keys[VK_LSHIFT] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(free.getWindowRect(), (SRect{57, 163, 80, 30}));
}

TEST_F(Layouter, HandlesKeepTheOppositeEdgesAndStopAtTheMinimumSize) {
    SEdit edit;
    SStatic label;
    edit.createCtrl(&host, "", 100, 100, 80, 40);
    label.createCtrl(&host, "", 220, 100, 80, 40);
    host.startPositioning();

    drag(edit, SPoint{2, 2}, -23, -17); // top left: the bottom-right corner (180, 140) stays
    EXPECT_EQ(edit.getWindowRect(), (SRect{70, 80, 110, 60}));
    drag(edit, SPoint{104, 30}, -150, 7); // right middle: only the width, down to 10
    EXPECT_EQ(edit.getWindowRect(), (SRect{70, 80, 10, 60}));
    drag(label, SPoint{3, 20}, 150, 0); // left middle past the right edge: that edge stays
    EXPECT_EQ(label.getWindowRect(), (SRect{290, 100, 10, 40}));
}

TEST_F(Layouter, SmallControlsGetSmallerHandles) {
    SStatic small;
    small.createCtrl(&host, "", 50, 50, 24, 24);
    COLORREF body = WindowCapture::ofWindow(host.getHwnd()).pixel(62, 62);
    host.startPositioning();
    SPositioningWnd* overlay = small.getPositioningWnd();
    ASSERT_NE(overlay, nullptr);
    EXPECT_EQ(overlay->getHandleSize(), (SSize{8, 8}));
    EXPECT_EQ(overlay->zoneAt(SPoint{8, 8}), SPositioningWnd::TopLeft); // edges belong to the handle
    EXPECT_EQ(overlay->zoneAt(SPoint{12, 12}), SPositioningWnd::Body);

    // Only the handles are painted over the control: blue outline, white inside.
    WindowCapture shot = WindowCapture::ofWindow(host.getHwnd());
    EXPECT_EQ(shot.pixel(50, 50), SPositioningWnd::Blue);
    EXPECT_EQ(shot.pixel(53, 53), 0xFFFFFFu);
    EXPECT_EQ(shot.pixel(62, 62), body); // the body shows the control
}

// A restarted program taking the stored place is shown by the control gallery's suite.
TEST_F(Layouter, StoppingStoresOneEntryPerPositionableControl) {
    SFileIni& positions = globalResources.controlPositions;
    positions.setString("ControlHost", "SButton,1,2,3,4", "5,6,7,8"); // stale
    SButton button;
    SEdit edit;
    SStatic fixed;
    fixed.setPositionable(false);
    button.createCtrl(&host, "OK", -90, -40, 80, 30); // (310, 260), near the right and bottom edges
    edit.createCtrl(&host, "", 20, 20, 100, 20);
    fixed.createCtrl(&host, "fest", 20, 100);
    host.startPositioning();
    EXPECT_EQ(fixed.getPositioningWnd(), nullptr);
    drag(button, SPoint{40, 15}, -100, -50);
    host.stopPositioning();

    EXPECT_EQ(FindWindowExA(host.getHwnd(), nullptr, "VEK_POSITION_WINDOW", nullptr), nullptr);
    SStringList keys, values;
    ASSERT_EQ(positions.getSection("ControlHost", keys, &values), 2);
    EXPECT_STREQ(positions.getString("ControlHost", "SButton,-90,-40,80,30"), "210,210,80,30");
    EXPECT_STREQ(positions.getString("ControlHost", "SEdit,20,20,100,20"), "20,20,100,20");
    SFileIni onDisk;
    ASSERT_TRUE(onDisk.load(positions.getPath()));
    EXPECT_STREQ(onDisk.getSectionText("ControlHost"), positions.getSectionText("ControlHost"));

    // The anchor took the new place: away from the edges the button no longer follows them.
    host.moveWindow(30, 30, 500, 300);
    MessagePump::flush();
    EXPECT_EQ(button.getWindowRect(), (SRect{210, 210, 80, 30}));
}

// ---------------------------------------------------------------- placement

// Where controls land: edge-relative coordinates, the font scale, default sizes, pending
// controls on the frame's grid, stored layouter positions fitted into the parent, anchors.
class Placement : public Layouter {
protected:
    void TearDown() override {
        globalApplication.setFontScale(1.0);
        Layouter::TearDown();
    }
};

TEST_F(Placement, NegativeValuesCountFromTheParentsEdgesAndTheDefaultSizeStays) {
    SButton ok, wide;
    SStatic plain;
    EXPECT_EQ(ok.createCtrl(&host, "OK", -90, -40, 80, 30, 1), ok.getControlId());
    EXPECT_EQ(ok.getWindowRect(), (SRect{310, 260, 80, 30}));
    EXPECT_EQ(ok.getDesignRect(), (SRect{-90, -40, 80, 30}));
    wide.createCtrl(&host, "breit", 20, 100, -10, 30, 1);
    EXPECT_EQ(wide.getWindowRect().width, 370);
    plain.createCtrl(&host, "Text", 5, 5);
    EXPECT_EQ(plain.getWindowRect(), (SRect{5, 5, 80, 20}));
}

TEST_F(Placement, FontScaleScalesTheDesignRectangle) {
    globalApplication.setFontScale(1.25);
    SEdit edit;
    edit.createCtrl(&host, "", 8, 8, 80, 20, 1);
    EXPECT_EQ(edit.getDesignRect(), (SRect{10, 10, 100, 25}));
    EXPECT_EQ(edit.getWindowRect(), (SRect{10, 10, 100, 25}));
}

// Declared controls of a frame are made at its first show: without a position on the grid.
TEST(PendingControls, LandOnTheFrameGrid) {
    BoxRecorder boxes;
    ControlHost frame(SSize{800, 200});
    std::vector<std::unique_ptr<SStatic>> declared;
    for (int i = 0; i < 8; ++i) {
        declared.push_back(std::make_unique<SStatic>());
        declared.back()->setParent(&frame);
        declared.back()->setTitle("frei");
    }
    SStatic placed;
    placed.setParent(&frame);
    placed.moveWindow(300, -1, 80, 20);
    ASSERT_TRUE(frame.open());
    for (int i = 0; i < 7; ++i) EXPECT_EQ(declared[i]->getWindowRect(), (SRect{20 + 100 * i, 20, 80, 20})) << i;
    EXPECT_EQ(declared[7]->getWindowRect().x, 20);
    EXPECT_EQ(declared[7]->getWindowRect().y, 60);
    EXPECT_EQ(placed.getWindowRect().x, 300);
    EXPECT_EQ(placed.getWindowRect().y, 60); // the current row
}

TEST_F(Placement, StoredPositionWinsAndIsFittedIntoTheParent) {
    SFileIni& positions = globalResources.controlPositions;
    positions.setString("ControlHost", "SEdit,30,30,80,20", "100,50");
    positions.setString("ControlHost", "SEdit,-90,-40,80,20", "5000,-7,99999,20");
    positions.setString("ControlHost", "SStatic,310,260,80,20", "1,2,30,40"); // by the resolved rectangle
    positions.setString("ControlHost", "SButton,0,0,80,20", "x,#,-5,0");      // broken numbers
    SEdit shortValue, huge;
    SStatic resolved;
    SButton broken;
    shortValue.createCtrl(&host, "", 30, 30, 80, 20);
    huge.createCtrl(&host, "", -90, -40, 80, 20);
    resolved.createCtrl(&host, "", -90, -40, 80, 20);
    broken.createCtrl(&host, "", 0, 0, 80, 20);
    // Missing sizes keep the control's own: a control never vanishes through its file.
    EXPECT_EQ(shortValue.getWindowRect(), (SRect{100, 50, 80, 20}));
    EXPECT_EQ(huge.getWindowRect(), (SRect{0, 0, 400, 20}));
    EXPECT_EQ(resolved.getWindowRect(), (SRect{1, 2, 30, 40}));
    EXPECT_EQ(broken.getWindowRect(), (SRect{0, 0, 80, 20}));
    // Fitting any value into the parent is the fuzz target's; reading a part of one is here.
    const SRect current{10, 20, 30, 40};
    EXPECT_EQ(SControlPositioned::parseStoredRect(" 7 , 8 ", current), (SRect{7, 8, 30, 40}));
    EXPECT_EQ(SControlPositioned::parseStoredRect("1,2,3,4,5", current), (SRect{1, 2, 3, 4}));
}

} // namespace
