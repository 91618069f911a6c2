// The graphics window's handling of its elements: paint order by layer, shadows under every
// element, tooltips and clicks for the topmost element, and the records that stopping
// positioning mode writes.
#include "VEK_ARRAYS/SStringList.h"
#include "VEK_GUI/SToolTip.h"
#include "VEK_GraphicsElement/SGPosWnd.h"
#include "VEK_GraphicsElement/SGraphicShape.h"
#include "VEK_UTIL/SResources.h"
#include "tests/VEK_GraphicsElement/GraphicsHost.h"
#include "tests/support/BoxRecorder.h"
#include "tests/support/gui/InputSender.h"
#include "tests/support/gui/MessagePump.h"
#include "tests/support/gui/WindowCapture.h"

#include <gtest/gtest.h>

namespace {

class Clickable : public SGraphicShape {
public:
    Clickable(SGraphicElementHost* host, const char* name, uint32_t color, SRect r) : SGraphicShape(host, name) {
        setLighting(NoLight);
        setValueColor(color);
        setRect(r);
    }
    bool onMouseDown(int) override {
        ++clicks;
        return handles;
    }
    int clicks = 0;
    bool handles = true;
};

constexpr uint32_t kRed = 0xFFFF0000, kBlue = 0xFF0000FF, kYellow = 0xFFFFFF00;

class Window : public ::testing::Test {
protected:
    BoxRecorder boxes;
    GraphicsHost host;
    void SetUp() override { globalResources.controlPositions.setSectionText("GraphicsHost_ge", ""); }
    void TearDown() override {
        host.stopPositioning();
        globalResources.controlPositions.setSectionText("GraphicsHost_ge", "");
    }
    COLORREF pixel(int x, int y) { return WindowCapture::ofWindow(host.getHwnd()).pixel(x, y); }
    int menuIndex(SGraphicElement& e, const char* path) {
        e.buildMenu();
        return e.getMenu().find(path);
    }
};

TEST_F(Window, WithoutRecordsConstructionOrderPaintsAndTheForegroundCommandPaintsLast) {
    Clickable a(&host, "a", kRed, SRect{20, 20, 100, 60});
    Clickable b(&host, "b", kBlue, SRect{60, 40, 100, 60});
    Clickable c(&host, "c", kYellow, SRect{100, 60, 100, 60});
    ASSERT_TRUE(host.open());
    EXPECT_EQ(a.getLayer(), 10);
    EXPECT_EQ(c.getLayer(), 30);
    EXPECT_EQ(pixel(110, 70), colorRef(kYellow));

    a.onMenu(menuIndex(a, "Ebene/Vordergrund"));
    UpdateWindow(host.getHwnd());
    EXPECT_EQ(a.getLayer(), 30);
    EXPECT_EQ(host.getGraphicElements()[2], &a);
    EXPECT_EQ(pixel(110, 70), colorRef(kRed));
}

TEST_F(Window, EveryShadowLiesUnderEveryElement) {
    Clickable below(&host, "unten", kBlue, SRect{20, 62, 100, 40});
    SGraphicShape lit(&host, "oben");
    lit.setLighting(SGraphicElement::LightTop); // its shadow falls onto the element below
    lit.setRect(20, 20, 100, 40);
    ASSERT_TRUE(host.open());
    WindowCapture s = WindowCapture::ofWindow(host.getHwnd());
    EXPECT_EQ(s.countColor(colorRef(kBlue), RECT{20, 62, 120, 102}), 4000);
    EXPECT_LT(GetRValue(s.pixel(70, 61)), 200); // in the gap between them the shadow shows
}

TEST_F(Window, TooltipAndClickGoToTheTopmostElementUnderThePointer) {
    Clickable under(&host, "unten", kRed, SRect{20, 20, 100, 60});
    Clickable over(&host, "oben", kBlue, SRect{80, 40, 100, 60});
    Clickable unnamed(&host, "", kYellow, SRect{250, 20, 60, 60});
    ASSERT_TRUE(host.open());
    InputSender input(host.getHwnd());
    input.move(100, 60);
    ASSERT_NE(host.getToolTip(), nullptr);
    EXPECT_STREQ(host.getToolTip()->getText(), "oben");
    input.move(30, 30);
    EXPECT_STREQ(host.getToolTip()->getText(), "unten");
    input.move(270, 40);
    EXPECT_STREQ(host.getToolTip()->getText(), "?");

    input.click(100, 60);
    EXPECT_EQ(over.clicks, 1);
    EXPECT_EQ(under.clicks, 0);
    over.handles = false; // not handled: the next one down gets it
    input.click(100, 60);
    EXPECT_EQ(over.clicks, 2);
    EXPECT_EQ(under.clicks, 1);
}

TEST_F(Window, StoppingPositioningRewritesTheSectionWithOneRecordPerElementUnderItsDefaultKey) {
    SFileIni& ini = globalResources.controlPositions;
    ini.setString("GraphicsHost_ge", "SGraphicShape,1,2,3,4", "stale");
    Clickable a(&host, "a", kRed, SRect{20, 20, 100, 60});
    Clickable b(&host, "b", kBlue, SRect{150, 20, 100, 60});
    ASSERT_TRUE(host.open());
    host.stopPositioning(); // not running: the stored records stay
    EXPECT_STREQ(ini.getString("GraphicsHost_ge", "SGraphicShape,1,2,3,4"), "stale");

    host.startPositioning();
    ASSERT_NE(b.getPositioningWindow(), nullptr);
    EXPECT_EQ(b.getPositioningWindow()->getWindowRect(), (SRect{150, 20, 100, 60}));
    b.setRect(160, 30, 100, 60);
    host.stopPositioning();
    EXPECT_EQ(b.getPositioningWindow(), nullptr);
    SStringList keys, values;
    ASSERT_EQ(ini.getSection("GraphicsHost_ge", keys, &values), 2);
    EXPECT_STREQ(ini.getString("GraphicsHost_ge", "SGraphicShape,20,20,100,60"), "20,20,100,60|10|0|-65536|-16777216|0|1");
    EXPECT_STREQ(ini.getString("GraphicsHost_ge", "SGraphicShape,150,20,100,60"),
                 "160,30,100,60|20|0|-16776961|-16777216|0|1");
}

} // namespace
