// Where controls land: edge-relative coordinates, the font scale, default sizes, pending
// controls on the frame's grid, stored layouter positions fitted into the parent, anchors.
#include "VEK_CONTROLS/SButton.h"
#include "VEK_CONTROLS/SEdit.h"
#include "VEK_CONTROLS/SStatic.h"
#include "VEK_GUI/SApplication.h"
#include "VEK_UTIL/SResources.h"
#include "tests/VEK_CONTROLS/ControlHost.h"
#include "tests/support/BoxRecorder.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

class Placement : public ::testing::Test {
protected:
    BoxRecorder boxes;
    ControlHost host;
    void SetUp() override { ASSERT_TRUE(host.open()); }
    void TearDown() override {
        globalApplication.setFontScale(1.0);
        globalResources.controlPositions.setSectionText("ControlHost", "");
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
