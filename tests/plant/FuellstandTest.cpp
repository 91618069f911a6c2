// The level gauge in a real window: the bar's share of the range from each edge, its colour
// by the limits, one repaint per real change, the scale's labels and the percentage text,
// its menu, and records and ranges that would break the arithmetic.
#include "app/Fuellstand.h"
#include "app/GaugeScale.h"
#include "tests/VEK_GraphicsElement/GraphicsHost.h"
#include "tests/support/BoxRecorder.h"
#include "tests/support/gui/Artifacts.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t Green = SGraphicElement::DefaultValueColor;
constexpr uint32_t Grey = GaugeElement::DefaultBackground;

// A gauge of the plant's range and limits, unlit so its colours show as they are.
void plantGauge(Fuellstand& f, const SRect& r, int orientation, int scale) {
    f.setRect(r);
    f.setRange(1200, 3200);
    f.setLimits(1600, 2900);
    f.setLighting(0);
    f.setOrientation(orientation);
    f.setScale(scale);
}

TEST(Fuellstand, BarFillsItsShareOfTheRangeFromTheChosenEdge) {
    GraphicsHost host(SSize{420, 260});
    Fuellstand up(&host), down(&host), right(&host), left(&host);
    plantGauge(up, SRect{20, 20, 60, 200}, Fuellstand::BottomToTop, 0);
    plantGauge(down, SRect{100, 20, 60, 200}, Fuellstand::TopToBottom, 0);
    plantGauge(right, SRect{180, 20, 200, 60}, Fuellstand::LeftToRight, 0);
    plantGauge(left, SRect{180, 120, 200, 60}, Fuellstand::RightToLeft, 0);
    for (Fuellstand* f : {&up, &down, &right, &left}) f->setValue(2200);
    ASSERT_TRUE(host.open());
    EXPECT_EQ(up.barRect(), (SRectFloat{20, 120, 60, 100})) << "exactly 100 px, touching the bottom";

    WindowCapture c = host.shot();
    EXPECT_TRUE(c.savePng(artifactPath("plant/gauge-orientations.png")));
    // A column left of the centred percentage text.
    EXPECT_EQ(countIn(c, Green, SRect{24, 20, 1, 200}, 8), 100);
    EXPECT_EQ(countIn(c, Green, SRect{24, 120, 1, 100}, 8), 100) << "all of them below the middle";
    EXPECT_EQ(countIn(c, Grey, SRect{24, 21, 1, 98}, 8), 98);
    EXPECT_EQ(countIn(c, Green, SRect{104, 20, 1, 100}, 8), 100) << "from the top";
    EXPECT_EQ(countIn(c, Green, SRect{180, 24, 100, 1}, 8), 100) << "from the left";
    EXPECT_EQ(countIn(c, Green, SRect{280, 124, 100, 1}, 8), 100) << "from the right";
    EXPECT_EQ(countIn(c, Grey, SRect{181, 124, 98, 1}, 8), 98);
}

TEST(Fuellstand, ColourFollowsTheLimitsAndTheSameValueRepaintsOnce) {
    GraphicsHost host;
    Fuellstand f(&host);
    plantGauge(f, SRect{20, 20, 200, 60}, Fuellstand::LeftToRight, 0);
    ASSERT_TRUE(host.open());
    const SPoint inBar{24, 50};
    struct {
        float value;
        uint32_t colour;
    } cases[] = {{1600, GaugeElement::DefaultAlarmMin}, {1601, Green}, {2899, Green},
                 {2900, GaugeElement::DefaultAlarmMax}, {9999, GaugeElement::DefaultAlarmMax}};
    for (auto& k : cases) {
        f.setValue(k.value);
        EXPECT_EQ(f.getColor(), k.colour) << k.value;
        EXPECT_EQ(host.shot().pixel(inBar.x, inBar.y), colorRef(k.colour)) << k.value;
    }
    EXPECT_EQ(f.getValue(), 3200) << "clamped to the maximum";

    // The percentage text is drawn anew with the value; a scale stays cached while only the
    // bar moves.
    f.setValue(2000);
    EXPECT_FALSE(f.hasCachedLayers());
    EXPECT_TRUE(host.shot().hasTextLike(RECT{90, 40, 150, 60}));
    f.setScale(3);
    host.shot();
    f.setValue(2100);
    EXPECT_TRUE(f.hasCachedLayers());
    host.shot();
    const int before = host.invalidations;
    f.setValue(2200);
    f.setValue(2200);
    EXPECT_EQ(host.invalidations, before + 1);
    f.setRange(3200, 1200); // the same range, given the other way round
    f.setLimits(2900, 1600);
    EXPECT_EQ(host.invalidations, before + 1);
}

// Label texts of a scale, measured as boxes of 4 px per character and the font's height.
GaugeScale scaleOf(int orientation, int scale, float w, float h) {
    return GaugeScale(orientation, scale, w, h, 1200, 3200, [](const SString& text, float px, SPointFloat at) {
        return SRectFloat{at.x, at.y, 4.0f * (float)text.length(), px};
    });
}

TEST(Fuellstand, ScaleLabelsTenToNinetyPercentOnTheChosenSides) {
    GaugeScale three = scaleOf(Fuellstand::LeftToRight, 3, 302, 62);
    ASSERT_EQ(three.getLabels().size(), 9u) << "only under the top ticks";
    EXPECT_STREQ(three.getLabels().front().text, "1400");
    EXPECT_STREQ(three.getLabels().back().text, "3000");
    for (const GaugeScale::Label& l : three.getLabels()) EXPECT_LT(l.y, 30);
    // Long ticks at 0 % and 100 %, without a label there.
    const auto& lines = three.getLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_FLOAT_EQ(lines[0].y2 - lines[0].y1, 3 * 6.0f) << "H / 10 for scale 3, three times at 0 %";
    GaugeScale mirrored = scaleOf(Fuellstand::BottomToTop, 1, 62, 302);
    ASSERT_EQ(mirrored.getLabels().size(), 9u);
    EXPECT_GT(mirrored.getLabels().front().y, mirrored.getLabels().back().y) << "10 % at the bottom";

    // The same on screen: text under the top ticks only, then on both sides. Ticks stand
    // every 3 px from x = 21; dark pixels between them are text.
    GraphicsHost host(SSize{360, 120});
    Fuellstand f(&host);
    plantGauge(f, SRect{20, 20, 302, 62}, Fuellstand::LeftToRight, 3);
    f.setValue(1200);
    ASSERT_TRUE(host.open());
    auto textPixels = [](const WindowCapture& c, int top, int bottom) {
        int n = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = 40; x < 300; ++x) {
                COLORREF p = c.pixel(x, y);
                if ((x - 21) % 3 != 0 && GetRValue(p) + GetGValue(p) + GetBValue(p) < 300) ++n;
            }
        return n;
    };
    WindowCapture c = host.shot();
    EXPECT_TRUE(c.savePng(artifactPath("plant/gauge-scale-3.png")));
    EXPECT_GT(textPixels(c, 21, 50), 100) << "labels under the top ticks";
    EXPECT_EQ(textPixels(c, 68, 80), 0) << "none along the bottom ticks";
    f.setScale(7);
    c = host.shot();
    EXPECT_GT(textPixels(c, 21, 49), 100);
    EXPECT_GT(textPixels(c, 51, 79), 100) << "and above the bottom ticks";
    EXPECT_TRUE(c.savePng(artifactPath("plant/gauge-scale-7.png")));
}

TEST(Fuellstand, MenuOffersTheSidesOfItsOrientationAndSetsWhatItSays) {
    GraphicsHost host;
    host.colorAnswer = 0xFF00FFFF; // cyan
    SGraphicElement::restartDefaultRects();
    Fuellstand f(&host);
    EXPECT_GE(menuIndex(f, "Skala/oben und unten"), 0);
    EXPECT_LT(menuIndex(f, "Skala/links"), 0);
    f.onMenu(menuIndex(f, "Ausrichtung/unten -> oben"));
    EXPECT_EQ(f.getOrientation(), Fuellstand::BottomToTop);
    EXPECT_GE(menuIndex(f, "Skala/links und rechts"), 0);
    EXPECT_GE(menuIndex(f, "Skala/oben"), 0) << "entries stay once added";
    f.onMenu(menuIndex(f, "Skala/alle"));
    f.onMenu(menuIndex(f, "Farben/Hintergrund"));
    host.colorAnswer = 0xFF123456;
    f.onMenu(menuIndex(f, "Farben/Alarm Min"));
    EXPECT_STREQ(f.toString(), "10,10,100,40|-1|2|-16744448|-16777216|-15584170|-65536|-16711681|4|7");
}

TEST(Fuellstand, RangeWithoutWidthOrNoRoomStaysDrawable) {
    BoxRecorder boxes;
    GraphicsHost host(SSize{300, 200});
    Fuellstand flat(&host), noHeight(&host), narrow(&host);
    plantGauge(flat, SRect{20, 20, 200, 40}, Fuellstand::LeftToRight, 0);
    flat.setRange(1500, 1500);
    flat.setValue(1700);
    EXPECT_EQ(flat.fraction(), 0.0f);
    EXPECT_STREQ(flat.percentText(), "0.0 %");
    EXPECT_EQ(flat.barRect().width, 0.0f);
    plantGauge(noHeight, SRect{20, 80, 200, 0}, Fuellstand::BottomToTop, 7);
    plantGauge(narrow, SRect{20, 100, 2, 60}, Fuellstand::LeftToRight, 7); // a scale with no room
    narrow.setValue(2000);
    ASSERT_TRUE(host.open());
    WindowCapture c = host.shot();
    EXPECT_EQ(countIn(c, Grey, SRect{22, 22, 40, 1}, 8), 40) << "an empty bar";
    EXPECT_EQ(boxes.count(), 0);
}

// A menu closed without a choice, or an index from nowhere, changes nothing. (Hand-edited
// records are the gauge's fuzz target's.)
TEST(Fuellstand, AMenuIndexFromNowhereChangesNothing) {
    GraphicsHost host;
    Fuellstand f(&host);
    f.buildMenu();
    const SString before = f.toString();
    for (int index : {-1, f.getMenu().count(), 1 << 30}) f.onMenu(index);
    EXPECT_STREQ(f.toString(), before);
}

} // namespace
