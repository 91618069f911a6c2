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
#include "tests/support/gui/DialogAnswerer.h"
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
    COLORREF pixel(int x, int y) { return host.shot().pixel(x, y); }
};

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

// A repaint of one element clears the area its own shadow may reach: a neighbour whose
// shadow falls into that area draws it there again.
TEST_F(Window, RepaintingAnElementKeepsTheShadowOfItsNeighbour) {
    SGraphicShape lit(&host, "links beleuchtet");
    lit.setLighting(SGraphicElement::LightLeft); // its shadow falls to the right, towards b
    lit.setRect(20, 20, 100, 40);
    Clickable b(&host, "b", kBlue, SRect{135, 20, 40, 40});
    ASSERT_TRUE(host.open());
    const RECT gap{118, 10, 135, 70};
    WindowCapture before = WindowCapture::ofWindow(host.getHwnd());
    ASSERT_GT(before.countColor(GraphicsHost::Background, RECT{123, 20, 131, 60}, 4), 0);
    ASSERT_LT(before.countColor(GraphicsHost::Background, RECT{123, 20, 131, 60}, 4), 8 * 40)
        << "no shadow where b repaints";

    b.setValueColor(kYellow);
    UpdateWindow(host.getHwnd());
    WindowCapture after = WindowCapture::ofWindow(host.getHwnd());
    EXPECT_EQ(after.pixel(150, 40), colorRef(kYellow));
    int changed = 0;
    for (int y = gap.top; y < gap.bottom; ++y)
        for (int x = gap.left; x < gap.right; ++x) changed += before.pixel(x, y) != after.pixel(x, y);
    EXPECT_EQ(changed, 0) << "pixels of the shadow lost";
}

TEST_F(Window, TooltipAndClickGoToTheTopmostElementUnderThePointer) {
    Clickable under(&host, "unten", kRed, SRect{20, 20, 100, 60});
    Clickable over(&host, "oben", kBlue, SRect{80, 40, 100, 60});
    Clickable unnamed(&host, "", kYellow, SRect{250, 20, 60, 60});
    Clickable alsoUnnamed(&host, "", kYellow, SRect{250, 160, 60, 60});
    ASSERT_TRUE(host.open());
    InputSender input(host.getHwnd());
    input.move(100, 60);
    ASSERT_NE(host.getToolTip(), nullptr);
    EXPECT_STREQ(host.getToolTip()->getText(), "oben");
    input.move(30, 30);
    EXPECT_STREQ(host.getToolTip()->getText(), "unten");
    input.move(270, 40);
    EXPECT_STREQ(host.getToolTip()->getText(), "?");
    // The tip shows itself by the mouse messages its window hands on to it.
    POINT at{100, 60};
    ClientToScreen(host.getHwnd(), &at);
    SetCursorPos(at.x, at.y);
    input.move(100, 60);
    const HWND tip = host.getToolTip()->getHwnd();
    EXPECT_TRUE(MessagePump::until([&] { return IsWindowVisible(tip) != FALSE; }, 5000)) << "the tip never showed";
    // From element to element the tip goes with the pointer, also where its text stays.
    for (POINT client : {POINT{270, 40}, POINT{270, 180}}) {
        POINT next = client;
        ClientToScreen(host.getHwnd(), &next);
        SetCursorPos(next.x, next.y);
        input.move(client.x, client.y);
        EXPECT_STREQ(host.getToolTip()->getText(), "?");
        RECT placed{};
        GetWindowRect(tip, &placed);
        EXPECT_TRUE(placed.left >= next.x - 4 && placed.left <= next.x + 32 && placed.top >= next.y &&
                    placed.top <= next.y + 40)
            << "the tip at " << placed.left << "," << placed.top << ", the pointer at " << next.x << "," << next.y;
    }
    SetCursorPos(at.x, at.y);
    input.move(100, 60);

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

// The colour dialog's red, green and blue edits give the colour; the element keeps it as ARGB
// with full alpha, and a cancelled dialog keeps the old one.
TEST_F(Window, TheColourItemsUseTheColourDialog) {
    Clickable e(&host, "e", kRed, SRect{20, 20, 100, 60});
    ASSERT_TRUE(host.open());
    {
        DialogAnswerer dialog(IDOK);
        dialog.fill(706, "10");
        dialog.fill(707, "20");
        dialog.fill(708, "200");
        e.onMenu(menuIndex(e, "Farben/Werte"));
        EXPECT_EQ(dialog.count(), 1);
    }
    EXPECT_EQ(e.getValueColor(), 0xFF0A14C8u);
    UpdateWindow(host.getHwnd());
    EXPECT_EQ(pixel(70, 50), RGB(10, 20, 200));
    {
        DialogAnswerer dialog(IDCANCEL);
        e.onMenu(menuIndex(e, "Farben/Text"));
        EXPECT_EQ(dialog.count(), 1);
    }
    EXPECT_EQ(e.getTextColor(), 0xFF000000u);
}

HWND menuOwner = nullptr;
void CALLBACK chooseFirstItem(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    PostMessageA(menuOwner, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(menuOwner, WM_KEYDOWN, VK_RETURN, 0);
}

TEST_F(Window, InPositioningModeTheRightButtonOffersTheBackgroundColour) {
    Clickable e(&host, "e", kRed, SRect{20, 20, 100, 60});
    ASSERT_TRUE(host.open());
    host.startPositioning();
    menuOwner = host.getHwnd();
    DialogAnswerer dialog(IDOK);
    dialog.fill(706, "0");
    dialog.fill(707, "128");
    dialog.fill(708, "128");
    SetTimer(nullptr, 0, 200, chooseFirstItem);
    InputSender(host.getHwnd()).rightClick(300, 200);
    EXPECT_EQ(dialog.count(), 1);
    EXPECT_EQ(host.getDevice().getBackgroundColor(), RGB(0, 128, 128));
    MessagePump::flush();
    EXPECT_EQ(pixel(300, 200), RGB(0, 128, 128));
}

} // namespace
