// The main window's value texts and level chart, declared on a frame that creates them at
// its first show: their first texts, their heavy letters and the chart's colours on screen.
#include "app/TxtAktion.h"
#include "app/TxtMix1.h"
#include "app/TxtMix2.h"
#include "app/TxtWert.h"
#include "app/Verlauf.h"
#include "tests/chart/ChartHost.h"
#include "tests/support/BoxRecorder.h"
#include "tests/support/gui/Artifacts.h"
#include "tests/support/gui/MessagePump.h"
#include "tests/support/gui/WindowCapture.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

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
