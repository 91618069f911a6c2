// How elements look on a graphics window: lighting and shadow, outlines, captions, the plain
// frame, the three layers of a gauge-like element with their caches, and elements drawn in
// place for any repaint area and on a scrolled window; the window's handling of its elements:
// shadows under every element, tooltips and clicks for the topmost one, the records that
// stopping positioning mode writes, and the colour dialogs.
#include "VEK_ARRAYS/SStringList.h"
#include "VEK_CONTROLS/SStatic.h"
#include "VEK_GUI/SToolTip.h"
#include "VEK_GraphicsElement/SGPosWnd.h"
#include "VEK_GraphicsElement/SGraphicRender.h"
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

const COLORREF kGreen = colorRef(SGraphicElement::DefaultValueColor);
const COLORREF kBack = GraphicsHost::Background;

RECT box(int x, int y, int w, int h) { return RECT{x, y, x + w, y + h}; }
int brightness(COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c); }

// A shaped element with no light: exactly its value colour, nothing around it.
struct Flat : SGraphicShape {
    Flat(SGraphicElementHost* host, int shape, SRect r) : SGraphicShape(host, "flat", shape) {
        setLighting(NoLight);
        setRect(r);
    }
};

class Render : public ::testing::Test {
protected:
    BoxRecorder boxes;
    GraphicsHost host;
    WindowCapture shot() { return host.shot(); }
};

TEST_F(Render, LightingZeroHasNeitherOverlayNorShadowAndTheLightFromAboveShadowsBelow) {
    Flat unlit(&host, SGraphicShape::Rectangle, SRect{20, 20, 100, 40});
    SGraphicShape lit(&host, "lit");
    lit.setLighting(SGraphicElement::LightTop);
    lit.setRect(200, 20, 100, 40);
    ASSERT_TRUE(host.open());
    WindowCapture s = shot();
    EXPECT_EQ(s.countColor(kGreen, box(20, 20, 100, 40)), 4000);
    EXPECT_EQ(s.countColor(kBack, box(10, 60, 120, 15)), 120 * 15);
    EXPECT_EQ(s.countColor(kBack, box(10, 5, 120, 15)), 120 * 15);

    EXPECT_GT(brightness(s.pixel(250, 22)), brightness(s.pixel(250, 57)) + 60); // highlight at the top
    EXPECT_LT(brightness(s.pixel(250, 63)), brightness(kBack) - 60);             // the shadow below
    EXPECT_EQ(s.pixel(250, 17), kBack);                                          // none above
}

TEST_F(Render, TrapezoidAndLongRoundOutlines) {
    Flat trapez(&host, SGraphicShape::Trapez, SRect{20, 100, 100, 40});
    Flat round(&host, SGraphicShape::LongRound, SRect{200, 100, 100, 40});
    ASSERT_TRUE(host.open());
    WindowCapture s = shot();
    // The top edge runs from x + 25 to x + 75.
    EXPECT_EQ(s.pixel(41, 101), kBack);
    EXPECT_EQ(s.pixel(50, 101), kGreen);
    EXPECT_EQ(s.pixel(90, 101), kGreen);
    EXPECT_EQ(s.pixel(99, 101), kBack);
    // Radius 20: the short sides are half circles.
    EXPECT_EQ(s.pixel(203, 103), kBack);
    EXPECT_EQ(s.pixel(202, 120), kGreen);
    EXPECT_EQ(s.pixel(205, 103), kBack); // outside the circle of radius 20 around (220, 120)
    EXPECT_EQ(s.pixel(212, 108), kGreen);
}

TEST_F(Render, ACaptionIsCentredOnOneLineAndStaysInsideItsElement) {
    Flat shortOne(&host, SGraphicShape::Rectangle, SRect{20, 200, 120, 30});
    Flat longOne(&host, SGraphicShape::Rectangle, SRect{200, 200, 80, 30});
    shortOne.setValueColor(0xFFD3D3D3);
    longOne.setValueColor(0xFFD3D3D3);
    shortOne.setText("P1", 10);
    longOne.setText("Ein viel zu langer Beschriftungstext", 10);
    ASSERT_TRUE(host.open());
    WindowCapture s = shot();
    // Dark text pixels: around the centre of the short caption, and none of the long one
    // outside its element (no second line, nothing beyond the sides).
    int left = 1000, right = -1;
    for (int x = 20; x < 140; ++x)
        for (int y = 200; y < 230; ++y)
            if (brightness(s.pixel(x, y)) < 200) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    ASSERT_GE(right, left);
    EXPECT_NEAR((left + right) / 2, 80, 4);
    EXPECT_GT(200 * 30 - s.countColor(colorRef(0xFFD3D3D3), box(200, 200, 80, 30), 40), 30);
    EXPECT_EQ(s.countColor(kBack, box(185, 188, 110, 12)), 110 * 12);
    EXPECT_EQ(s.countColor(kBack, box(185, 230, 110, 14)), 110 * 14);
    EXPECT_EQ(s.countColor(kBack, box(282, 200, 14, 30)), 14 * 30);
}

// The three layers as a gauge uses them: the lower and upper ones cached in their own
// coordinates, the middle one drawn on every paint in window coordinates.
class Layered : public SGraphicElement {
public:
    explicit Layered(SGraphicElementHost* host) : SGraphicElement(host, "gauge") {
        kind = Gauge;
        setLighting(NoLight);
    }
    void paintLower(Gdiplus::Graphics& g) override {
        ++lowerPaints;
        SGraphicRender::fillRect(g, SRectFloat{0, 0, rect.width, rect.height}, 0xFFFF0000);
    }
    void paintDirect(Gdiplus::Graphics& g) override {
        SGraphicRender::fillRect(g, SRectFloat{rect.x, rect.y, rect.width / 2, rect.height}, getColor());
    }
    void paintUpper(Gdiplus::Graphics& g) override {
        ++upperPaints;
        SGraphicRender::fillRect(g, SRectFloat{0, 0, rect.width, 4}, 0xFF0000FF);
    }
    int lowerPaints = 0;
    int upperPaints = 0;
};

TEST_F(Render, CachedLayersAreBuiltOnceAndOnlyARebuildDropsThem) {
    Layered gauge(&host);
    gauge.setRect(100, 100, 80, 40);
    ASSERT_TRUE(host.open());
    WindowCapture s = shot();
    EXPECT_EQ(s.pixel(120, 120), kGreen);      // middle layer, left half
    EXPECT_EQ(s.pixel(160, 120), 0x0000FFu);   // lower layer, right half
    EXPECT_EQ(s.pixel(150, 101), 0xFF0000u);   // upper layer over both
    EXPECT_EQ(s.pixel(110, 102), 0xFF0000u);
    EXPECT_EQ(gauge.lowerPaints, 1);

    gauge.setValueColor(0xFF4682B4); // drawn in the middle layer: no rebuild
    UpdateWindow(host.getHwnd());
    EXPECT_EQ(shot().pixel(120, 120), colorRef(0xFF4682B4));
    EXPECT_EQ(gauge.lowerPaints, 1);
    EXPECT_EQ(gauge.upperPaints, 1);

    gauge.update(true);
    UpdateWindow(host.getHwnd());
    EXPECT_EQ(gauge.lowerPaints, 2);
    EXPECT_EQ(gauge.upperPaints, 2);
}

TEST_F(Render, AnyRepaintAreaIsDrawnInPlace) {
    Flat e(&host, SGraphicShape::Rectangle, SRect{250, 150, 100, 40});
    ASSERT_TRUE(host.open());
    e.setValueColor(0xFFFF0000); // changes the colour without repainting ...
    ValidateRect(host.getHwnd(), nullptr);
    RECT part{290, 160, 310, 170}; // ... and only this part of it is repainted
    InvalidateRect(host.getHwnd(), &part, FALSE);
    UpdateWindow(host.getHwnd());
    WindowCapture s = shot();
    EXPECT_EQ(s.countColor(0x0000FFu, part), 20 * 10);
    EXPECT_EQ(s.pixel(288, 165), kGreen);
    EXPECT_EQ(s.pixel(312, 165), kGreen);
    EXPECT_EQ(s.pixel(300, 158), kGreen);
}

// Draws a red GDI frame where the element lies, through the same device.
class FramedHost : public GraphicsHost {
public:
    SRect mark;
    void onPaint(SDevice& device) override {
        GraphicsHost::onPaint(device);
        device.rectangle(mark, 0x0000FF, SPainter::Transparent);
    }
};

TEST_F(Render, OnAScrolledWindowElementsAndGdiDrawingMoveTogether) {
    FramedHost framed;
    Flat e(&framed, SGraphicShape::Rectangle, SRect{100, 100, 80, 40});
    framed.mark = SRect{100, 100, 80, 40};
    ASSERT_TRUE(framed.open());
    framed.getDevice().setOffset(30, 20);
    framed.invalidate();
    UpdateWindow(framed.getHwnd());
    WindowCapture s = WindowCapture::ofWindow(framed.getHwnd());
    EXPECT_EQ(s.pixel(110, 100), kGreen); // the element's centre, moved by the offset
    EXPECT_EQ(s.pixel(70, 100), 0x0000FFu); // the GDI frame's left side on its left edge
    EXPECT_EQ(s.pixel(72, 100), kGreen);
    EXPECT_EQ(s.pixel(160, 110), kBack);  // where the element stood unscrolled
    SPoint left = framed.clientToElements(SPoint{170, 130}); // on it before scrolling
    EXPECT_EQ(framed.elementAt(left.x, left.y), nullptr);
    SPoint at = framed.clientToElements(SPoint{75, 85});
    EXPECT_EQ(framed.elementAt(at.x, at.y), &e);
}

// The window's zoom grows everything alike: GDI drawing, elements and their cached layers.
// (Wine draws a device's cached copy under any transform; Windows only where the target merely
// moves it.)
TEST_F(Render, OnAZoomedWindowElementsTheirCachedLayersAndGdiDrawingGrowTogether) {
    FramedHost framed;
    Layered gauge(&framed);
    gauge.setRect(40, 30, 60, 40);
    framed.mark = SRect{40, 30, 60, 40};
    ASSERT_TRUE(framed.open());
    framed.getDevice().setMapMode(MM_TEXT, GM_ADVANCED);
    framed.getDevice().setZoom(2.0f);
    SDevice::Transform t = framed.getDevice().getTransform();
    ASSERT_GT(t.scaleX, 1.5f);
    framed.invalidate();
    UpdateWindow(framed.getHwnd());
    WindowCapture s = WindowCapture::ofWindow(framed.getHwnd());
    auto at = [&](float x, float y) { return s.pixel((int)(x * t.scaleX + t.dx), (int)(y * t.scaleY + t.dy)); };
    EXPECT_EQ(at(40, 50), 0x0000FFu);  // the GDI frame on the element's left edge
    EXPECT_EQ(at(45, 50), kGreen);     // middle layer
    EXPECT_EQ(at(90, 50), 0x0000FFu);  // lower layer, right half
    EXPECT_EQ(at(97, 68), 0x0000FFu);  // near its far corner, where it ends unzoomed times two
    EXPECT_EQ(at(90, 31), 0xFF0000u);  // upper layer
    EXPECT_EQ(at(103, 50), kBack);
}

// A text without a background of its own over an element takes the picture behind it from
// the window: a new text leaves nothing of the old one, and the element changing colour under
// it shows all around the text that stays.
TEST_F(Render, ATransparentTextOverAnElementShowsTheElementBehindItAsItIsNow) {
    Flat under(&host, SGraphicShape::Rectangle, SRect{20, 20, 240, 80});
    ASSERT_TRUE(host.open());
    SStatic text;
    ASSERT_GT(text.createCtrl(host, "88888888", 40, 40, 160, 30, 0), 0);
    const RECT area = box(40, 40, 160, 30);
    const int full = 160 * 30;
    WindowCapture eights = shot();
    ASSERT_TRUE(eights.hasTextLike(area));

    text.setWindowText("1");
    WindowCapture one = shot();
    EXPECT_TRUE(one.hasTextLike(area));
    EXPECT_GT(one.countColor(kGreen, area), eights.countColor(kGreen, area) + 200) << "the eights are still there";
    EXPECT_GT(one.countColor(kGreen, area), full - 200);

    under.setValueColor(0xFF3050C0);
    WindowCapture recoloured = shot();
    EXPECT_EQ(recoloured.countColor(kGreen, area), 0);
    EXPECT_GT(recoloured.countColor(colorRef(0xFF3050C0), area), full - 200);
    EXPECT_TRUE(recoloured.hasTextLike(area));
}

// ---------------------------------------------------------------- the window and its elements

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

class Window : public Render {
protected:
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
