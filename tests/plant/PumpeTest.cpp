// The pumps: their colour by the controller's byte, clamping, and an alarm colour changed
// through the menu that repaints over the cached disc without rebuilding it, and their record.
#include "app/Pumpe1.h"
#include "app/Pumpe2.h"
#include "tests/VEK_GraphicsElement/GraphicsHost.h"

#include <gtest/gtest.h>

namespace {

TEST(Pumpe, ByteZeroIsSteelBlueAnyOtherRedAndAboveTheRangeClamped) {
    GraphicsHost host(SSize{200, 120});
    Pumpe1 pump(&host);
    pump.setRect(SRect{20, 20, 80, 80});
    pump.setLighting(0);
    pump.setText("P1", 10);
    pump.setLimits(0, 1);
    ASSERT_TRUE(host.open());
    const SPoint disc{40, 60}; // left of the caption
    struct {
        int byte;
        float value;
        uint32_t colour;
    } cases[] = {{1, 1, 0xFFFF0000}, {0, 0, 0xFF4682B4}, {255, 100, 0xFFFF0000}, {100, 100, 0xFFFF0000}};
    for (auto& k : cases) {
        pump.setValue((float)k.byte);
        EXPECT_EQ(pump.getValue(), k.value) << k.byte;
        EXPECT_EQ(host.shot().pixel(disc.x, disc.y), colorRef(k.colour)) << k.byte;
    }
    WindowCapture c = host.shot();
    EXPECT_TRUE(c.hasTextLike(RECT{50, 50, 70, 70})) << "the caption";
    EXPECT_EQ(c.pixel(22, 22), GraphicsHost::Background) << "a disc, not a square";
}

TEST(Pumpe, AlarmColourFromTheMenuRepaintsOverTheCachedDisc) {
    GraphicsHost host(SSize{200, 120});
    Pumpe2 pump(&host);
    pump.setRect(SRect{20, 20, 80, 80});
    pump.setLighting(0);
    pump.setLimits(0, 1);
    pump.setValue(1);
    ASSERT_TRUE(host.open());
    ASSERT_TRUE(pump.hasCachedLayers());
    const int before = host.invalidations;
    pump.buildMenu();
    host.colorAnswer = 0xFFFFA500; // orange
    pump.onMenu(menuIndex(pump, "Farben/Alarm Max"));
    EXPECT_EQ(pump.getAlarmMaxColor(), 0xFFFFA500u);
    EXPECT_EQ(host.invalidations, before + 1);
    EXPECT_TRUE(pump.hasCachedLayers()) << "the disc is not rebuilt";
    EXPECT_EQ(host.shot().pixel(40, 60), colorRef(0xFFFFA500));
    // Its record: the base fields and both alarm colours, not the background.
    EXPECT_TRUE(pump.toString().endsWith("|-12156236|-23296"));
    EXPECT_EQ(pump.toString().count("|"), 6);
}

} // namespace
