// How elements look on a graphics window: lighting and shadow, outlines, captions, the plain
// frame, the three layers of a gauge-like element with their caches, and elements drawn in
// place for any repaint area and on a scrolled window.
#include "VEK_CONTROLS/SStatic.h"
#include "VEK_GraphicsElement/SGraphicRender.h"
#include "VEK_GraphicsElement/SGraphicShape.h"
#include "tests/VEK_GraphicsElement/GraphicsHost.h"
#include "tests/support/BoxRecorder.h"
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

} // namespace
