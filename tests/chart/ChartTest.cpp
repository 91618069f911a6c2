// The chart control in a real window: where values land in the plot, what scrolls out of a
// full ring, markers and colours, all read back from the captured pixels.
#include "VEK_GraphicsElement/SChartControl.h"
#include "app/TxtAktion.h"
#include "app/TxtMix1.h"
#include "app/TxtMix2.h"
#include "app/TxtWert.h"
#include "app/Verlauf.h"
#include "tests/chart/ChartHost.h"
#include "tests/support/BitmapFile.h"
#include "tests/support/BoxRecorder.h"
#include "tests/support/TempDir.h"
#include "tests/support/gui/Artifacts.h"
#include "tests/support/gui/MessagePump.h"
#include "tests/support/gui/WindowCapture.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>

namespace {

constexpr COLORREF blue = 0xFF0000;
constexpr COLORREF white = 0xFFFFFF;
constexpr COLORREF red = 0x0000FF;

class Chart : public ::testing::Test {
protected:
    BoxRecorder boxes;
    ChartHost host;
    SChartControl chart;
    void SetUp() override { ASSERT_TRUE(host.open()); }
    void TearDown() override {
        for (const RecordedBox& box : boxes.boxes) ADD_FAILURE() << (const char*)box.text;
    }
    void create(int width, int height) { ASSERT_NE(chart.createCtrl(&host, "", 10, 10, width, height), 0); }
    WindowCapture capture() {
        MessagePump::flush();
        return WindowCapture::ofWindow(chart.getHwnd());
    }
};

// Values added before the window exists are kept and drawn once it does.
TEST_F(Chart, ValuesLandAtTheirShareOfTheRange) {
    chart.setRange(3200, 1200);
    chart.setPlotRect(0, 0, 200, 100);
    for (int i = 0; i < 50; ++i) chart.addValue(2200);
    for (int i = 0; i < 50; ++i) chart.addValue(5000);
    create(200, 110);
    EXPECT_EQ(chart.getValue(99), 3200) << "clamped on arrival";

    WindowCapture c = capture();
    EXPECT_EQ(c.pixel(40, 50), blue) << "2200 lies 50 px above the bottom";
    EXPECT_EQ(c.pixel(40, 49), white);
    EXPECT_EQ(c.pixel(40, 51), white);
    EXPECT_EQ(c.pixel(150, 0), blue) << "5000 lies on the top edge";
    EXPECT_EQ(c.pixel(150, 1), white);
    EXPECT_EQ(c.countColor(blue, RECT{0, 0, 98, 50}), 0);
}

TEST_F(Chart, AFullRingShowsTheLatestValuesNewestAtTheRight) {
    create(200, 110);
    chart.setPlotRect(0, 0, 200, 100);
    for (int i = 0; i < 50; ++i) chart.addValue(100); // scroll out again
    for (int i = 0; i < 99; ++i) chart.addValue(0);
    chart.addValue(100);

    WindowCapture c = capture();
    EXPECT_EQ(c.countColor(blue, RECT{0, 100, 196, 101}), 196) << "the 99 zeros along the bottom";
    EXPECT_EQ(c.countColor(blue, RECT{0, 0, 196, 100}), 0) << "the first fifty are gone";
    EXPECT_GT(c.countColor(blue, RECT{196, 0, 200, 3}), 0) << "the newest rises at the right end";
}

TEST_F(Chart, OneValueDrawsNoLineOnlyItsMarker) {
    create(200, 100);
    chart.setPlotRect(20, 0, 160, 100);
    chart.addValue(50, true);
    EXPECT_EQ(capture().countColor(blue, RECT{0, 0, 200, 100}), 0);
    EXPECT_EQ(capture().countColor(red, RECT{0, 0, 200, 100}), 0) << "markers start hidden";

    chart.setMarkersVisible(true);
    WindowCapture c = capture();
    EXPECT_EQ(c.countColor(red, RECT{0, 0, 200, 100}), 25);
    EXPECT_EQ(c.countColor(red, RECT{18, 48, 23, 53}), 25) << "5 x 5 around the point";
    EXPECT_EQ(c.countColor(blue, RECT{0, 0, 200, 100}), 0);

    chart.setColors(SPainter::Keep, SPainter::Keep, SPainter::Transparent);
    EXPECT_EQ(capture().countColor(red, RECT{0, 0, 200, 100}), 0) << "a transparent marker draws nothing";
}

// -2 keeps a colour; the whole control, last row and column included, shows the background.
TEST_F(Chart, MinusTwoKeepsAColour) {
    create(200, 100);
    chart.setColors(SPainter::Keep, 0x00FFFF, SPainter::Keep);
    for (int v : {10, 90}) chart.addValue(v);
    chart.setCapacity(2); // drops both
    EXPECT_EQ(chart.getCount(), 0);
    for (int v : {10, 90}) chart.addValue(v);

    WindowCapture c = capture();
    EXPECT_EQ(c.countColor(0x00FFFF, c.bounds()) + c.countColor(blue, c.bounds()), 200 * 100);
    EXPECT_EQ(c.pixel(0, 90), blue) << "10 of 0..100 lies 9 px above the bottom of a plot 99 high";
    EXPECT_EQ(c.pixel(199, 99), 0x00FFFF);

    chart.setColors(0x00FF00, SPainter::Keep, SPainter::Keep);
    EXPECT_EQ(capture().pixel(0, 90), 0x00FF00u);
    EXPECT_EQ(capture().pixel(199, 99), 0x00FFFF);
}

TEST_F(Chart, AnImageTakesThePlaceOfTheBackgroundColour) {
    TempDir dir;
    writeBitmapFile(dir, "gruen.bmp", 10, 10, [](int, int) { return 0x00FF00u; });
    create(200, 100);
    chart.setColors(SPainter::Keep, 0x00FFFF, SPainter::Keep);
    ASSERT_TRUE(chart.setChartImage(dir.file("gruen.bmp")));
    for (int i = 0; i < 2; ++i) chart.addValue(100);
    WindowCapture c = capture();
    EXPECT_EQ(c.pixel(5, 5), 0x00FF00u);
    EXPECT_EQ(c.pixel(0, 0), blue) << "the curve over the image";
    EXPECT_EQ(c.pixel(50, 50), 0x00FFFFu) << "the background colour where the image does not reach";

    EXPECT_FALSE(chart.setChartImage("fehlt.bmp"));
    EXPECT_EQ(capture().pixel(5, 5), 0x00FFFFu) << "a missing image leaves the colour";
    EXPECT_EQ(boxes.count(), 0);
}

// A range of one value has no height to divide: the curve lies flat on the bottom edge.
TEST_F(Chart, ARangeOfOneValueLiesOnTheBottom) {
    create(200, 100);
    chart.setRange(500, 500);
    for (int v : {400, 500, 700}) chart.addValue(v);
    WindowCapture c = capture();
    EXPECT_EQ(c.pixel(1, 99), blue);
    EXPECT_EQ(c.countColor(blue, RECT{0, 0, 200, 99}), 0);

    // The widest range neither overflows nor leaves the plot.
    chart.setRange(INT_MIN, INT_MAX);
    chart.setCapacity(4);
    for (int v : {INT_MIN, 0, INT_MAX}) chart.addValue(v);
    SRect plot{0, 0, 200, 100};
    EXPECT_EQ(chart.pointOf(0, plot).y, 100);
    EXPECT_EQ(chart.pointOf(1, plot).y, 50);
    EXPECT_EQ(chart.pointOf(2, plot).y, 0);
    EXPECT_EQ(chart.pointOf(2, plot).x, 100);
}

// The curve is spread over the whole width, so a resized chart is drawn anew everywhere.
TEST_F(Chart, AResizedChartIsRedrawnWhole) {
    create(200, 100);
    for (int i = 0; i < 100; ++i) chart.addValue(i < 50 ? 0 : 100);
    EXPECT_EQ(capture().pixel(120, 99), white) << "the step is at the middle";
    chart.moveWindow(10, 10, 300, 100);
    WindowCapture c = capture();
    EXPECT_EQ(c.pixel(120, 99), blue) << "the step moved to the new middle";
    EXPECT_EQ(c.pixel(120, 0), white);
}

// ---------------------------------------------------------------- the plant's texts

// The main window's value texts and level chart, declared on a frame that creates them at
// its first show: their first texts, their heavy letters and the chart's colours on screen.
TEST(PlantTexts, StartWithTheirTextsInHeavyLetters) {
    BoxRecorder boxes;
    ChartHost host(SSize{720, 140});
    TxtWert wert(host);
    TxtMix1 mix1(host);
    TxtMix2 mix2(host);
    TxtAktion aktion(host);
    ASSERT_TRUE(host.open());

    SStatic* texts[] = {&wert, &mix1, &mix2, &aktion};
    const char* expected[] = {"Level = 0", "1", ": 1", "OK"};
    for (const RecordedBox& box : boxes.boxes) ADD_FAILURE() << (const char*)box.text;
    for (int i = 0; i < 4; ++i) {
        SStatic& text = *texts[i];
        SCOPED_TRACE(text.getClassName());
        ASSERT_TRUE(text.isWindow());
        EXPECT_STREQ(text.getWindowText(), expected[i]);
        EXPECT_EQ(text.getWindowRect(), (SRect{20 + 100 * i, 20, 80, 20})) << "placed on the frame's grid";
    }
    // Heavy 16-point strokes: "OK" covers far more dark pixels than the frame's 10-point text would.
    MessagePump::flush();
    WindowCapture c = WindowCapture::ofWindow(aktion.getHwnd());
    EXPECT_GT(c.countColor(0x000000, c.bounds(), 60), 90);
    EXPECT_TRUE(WindowCapture::ofWindow(host.getHwnd()).savePng(artifactPath("chart/plant-texts.png")));
}

TEST(PlantTexts, LevelChartIsABlueLineOnWhiteWithoutMarkers) {
    BoxRecorder boxes;
    ChartHost host(SSize{300, 140});
    Verlauf verlauf(host);
    ASSERT_TRUE(host.open());
    ASSERT_TRUE(verlauf.isWindow());
    EXPECT_EQ(verlauf.getWindowRect(), (SRect{20, 20, 200, 100}));
    EXPECT_STREQ(verlauf.getWindowText(), "");

    verlauf.setRange(1200, 3200);
    verlauf.setMarkersVisible(true);
    for (int i = 0; i < 130; ++i) verlauf.addValue((int)std::lround(2200 + 900 * std::sin(i / 9.0)), true);
    MessagePump::flush();
    WindowCapture c = WindowCapture::ofWindow(verlauf.getHwnd());
    int line = c.countColor(0xFF0000, c.bounds());
    EXPECT_GT(line, 100);
    EXPECT_EQ(c.countColor(0xFFFFFF, c.bounds()) + line, 200 * 100) << "white behind the line, no markers";
    EXPECT_TRUE(c.savePng(artifactPath("chart/verlauf.png")));
}

} // namespace
