// The tank's elements and the supply lines: their places without stored records, the
// bottom's and lid's outlines, and a supply line reshaped through its menu.
#include "VEK_ARRAYS/SStringList.h"
#include "VEK_UTIL/SFileIni.h"
#include "VEK_UTIL/SResources.h"
#include "app/Behaelter.h"
#include "app/Entnahme.h"
#include "app/Pumpe1.h"
#include "app/Pumpe2.h"
#include "app/Zuleitung1.h"
#include "app/Zuleitung2.h"
#include "tests/VEK_GraphicsElement/GraphicsHost.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr uint32_t Green = SGraphicElement::DefaultValueColor;

// The main window's elements in its order of members.
struct Plant {
    explicit Plant(GraphicsHost& host)
        : behaelter((SGraphicElement::restartDefaultRects(), &host)), zuleitung1(&host), pumpe1(&host),
          zuleitung2(&host), pumpe2(&host), entnahme(&host) {}
    Behaelter behaelter;
    Zuleitung1 zuleitung1;
    Pumpe1 pumpe1;
    Zuleitung2 zuleitung2;
    Pumpe2 pumpe2;
    Entnahme entnahme;
};

TEST(Tank, WithoutRecordsTheElementsStandInTheCascadeInBuildOrder) {
    GraphicsHost host(SSize{680, 120});
    Plant plant(host);
    ASSERT_TRUE(host.open());
    const char* names[] = {"Koerper",    "Fuellstand", "Boden",      "Deckel",  "Zuleitung1",
                           "Pumpe1",     "Zuleitung2", "Pumpe2",     "Entnahme"};
    const SRect places[] = {{10, 10, 100, 40},  {120, 10, 100, 40}, {230, 10, 100, 40},
                            {340, 10, 100, 40}, {450, 10, 100, 40}, {560, 10, 100, 40},
                            {10, 60, 100, 40},  {120, 60, 100, 40}, {230, 60, 100, 40}};
    SGraphicElementList& list = host.getGraphicElements();
    ASSERT_EQ(list.count(), 9);
    for (int i = 0; i < 9; ++i) {
        EXPECT_STREQ(list[i]->getName(), names[i]);
        EXPECT_EQ(list[i]->boundingRect(), places[i]) << names[i];
        EXPECT_EQ(list[i]->getLayer(), 10 * (i + 1));
    }
    EXPECT_EQ(plant.behaelter.boden.getShape(), SGraphicShape::Trapez);
    EXPECT_EQ(plant.behaelter.deckel.getShape(), SGraphicShape::HalfCircle);
    EXPECT_STREQ(plant.behaelter.getClassName(), "Behaelter");
}

// The plant picture as the program ships it: every record of its layout file is applied
// in full to the element it names.
TEST(Tank, EveryShippedRecordIsApplied) {
    std::string path = "Z:" SHIPPED_CONTROLPOS;
    for (char& c : path)
        if (c == '/') c = '\\';
    SFileIni shipped;
    ASSERT_TRUE(shipped.load(path.c_str(), false, true)) << path;
    SStringList keys, values;
    ASSERT_EQ(shipped.getSection("MainWnd_ge", keys, &values), 9);
    SFileIni& positions = globalResources.controlPositions;
    positions.setSectionText("GraphicsHost_ge", shipped.getSectionText("MainWnd_ge"));
    GraphicsHost host(SSize{680, 320});
    Plant plant(host);
    SGraphicElementList& list = host.getGraphicElements();
    for (int i = 0; i < list.count(); ++i) list[i]->loadControlpos();
    positions.setSectionText("GraphicsHost_ge", "");
    for (int i = 0; i < keys.count(); ++i) {
        SGraphicElement* element = nullptr;
        for (int j = 0; j < list.count(); ++j)
            if (list[j]->recordKey(true) == keys[i]) element = list[j];
        ASSERT_NE(element, nullptr) << "no element for " << (const char*)keys[i];
        EXPECT_STREQ(element->toString(), values[i]) << (const char*)keys[i];
    }
}

TEST(Tank, BottomNarrowsUpwardsAndTheLidIsFlatBelowUntilTurned) {
    GraphicsHost host(SSize{460, 120});
    Plant plant(host);
    Boden& boden = plant.behaelter.boden;
    Deckel& deckel = plant.behaelter.deckel;
    boden.setLighting(0);
    deckel.setLighting(0);
    ASSERT_TRUE(host.open());
    WindowCapture c = host.shot();
    // Boden at (230, 10) 100 x 40: top edge from 255 to 305, bottom edge the full width.
    EXPECT_LE(countIn(c, Green, SRect{230, 11, 100, 1}, 8), 54);
    EXPECT_GE(countIn(c, Green, SRect{256, 11, 49, 1}, 8), 45);
    EXPECT_GE(countIn(c, Green, SRect{231, 48, 98, 1}, 8), 96);
    // Deckel at (340, 10): flat and full along the bottom, only the middle at the top.
    EXPECT_GE(countIn(c, Green, SRect{341, 48, 98, 1}, 8), 90);
    EXPECT_EQ(countIn(c, Green, SRect{340, 12, 25, 1}, 8), 0);
    EXPECT_EQ(c.pixel(390, 13), colorRef(Green));

    deckel.setQuadrant(3);
    c = host.shot();
    EXPECT_GE(countIn(c, Green, SRect{341, 11, 98, 1}, 8), 90) << "flat side up";
    EXPECT_EQ(countIn(c, Green, SRect{340, 47, 25, 1}, 8), 0);
}

TEST(Tank, SupplyLineReshapedThroughItsMenuPointsRight) {
    GraphicsHost host(SSize{680, 120});
    Plant plant(host);
    Zuleitung1& line = plant.zuleitung1; // at (450, 10)
    line.setLighting(0);
    line.onMenu(menuIndex(line, "Form/Dreieck"));
    line.onMenu(menuIndex(line, "Quadrant/2  90\260"));
    ASSERT_TRUE(host.open());
    WindowCapture c = host.shot();
    EXPECT_GE(countIn(c, Green, SRect{451, 11, 1, 38}, 8), 36) << "the base stands on the left";
    EXPECT_EQ(c.pixel(547, 30), colorRef(Green)) << "the apex on the right, half way down";
    EXPECT_EQ(countIn(c, Green, SRect{530, 10, 20, 5}, 8), 0);
    EXPECT_EQ(countIn(c, Green, SRect{530, 45, 20, 5}, 8), 0);
}

// ---------------------------------------------------------------- the pumps

// The pumps: their colour by the controller's byte, clamping, and an alarm colour changed
// through the menu that repaints over the cached disc without rebuilding it, and their record.
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
