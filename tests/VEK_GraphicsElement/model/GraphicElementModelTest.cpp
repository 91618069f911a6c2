#include "VEK_GraphicsElement/SGraphicElement.h"
#include "VEK_GraphicsElement/SGraphicShape.h"
#include "VEK_UTIL/SResources.h"
#include "tests/VEK_GraphicsElement/model/FakeHost.h"
#include "tests/support/BoxRecorder.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

int menuIndex(SGraphicElement& e, const char* path) {
    e.buildMenu();
    return e.getMenu().find(path);
}

class ElementModel : public ::testing::Test {
protected:
    void SetUp() override {
        SGraphicElement::restartDefaultRects();
        globalResources.controlPositions.setSectionText("FakeWnd_ge", "");
    }
    FakeHost host;
};

} // namespace

// (Where they stand without records, two rows of the cascade, is the plant suite's.)
TEST_F(ElementModel, UnorderedElementsKeepConstructionOrder) {
    std::vector<std::unique_ptr<SGraphicElement>> elements;
    for (int i = 0; i < 9; ++i) elements.push_back(std::make_unique<SGraphicElement>(&host, "e"));

    host.list.sortByLayer();
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(host.list[i], elements[i].get());
        EXPECT_EQ(elements[i]->getLayer(), (i + 1) * 10);
    }
    elements[3].reset(); // a destroyed element leaves its window's list
    EXPECT_EQ(host.list.count(), 8);
    EXPECT_EQ(host.list.indexOf(nullptr), -1);
}

TEST_F(ElementModel, RectangleNormalisesNegativeSizesAndItsTextFormRoundsOutwards) {
    SGraphicElement e(&host);
    e.setRect(100, 50, -40, -20);
    EXPECT_EQ(e.getRect(), (SRectFloat{60, 30, 40, 20}));

    e.setRect(10.4f, 20.6f, 99.2f, 39.9f);
    EXPECT_EQ(e.boundingRect(), (SRect{10, 20, 100, 40}));
    EXPECT_STREQ(e.toString(), "10,20,100,40|-1|2|-16744448|-16777216");
    // A rebuild repaints the element's area together with its shadow around it.
    ASSERT_FALSE(host.invalidated.empty());
    const SRect& area = host.invalidated.back();
    EXPECT_TRUE(area.x < 10 && area.y < 20 && area.right() > 110 && area.bottom() > 60);
}

TEST_F(ElementModel, TextFormReadsWhatIsThereAndReturnsTheRest) {
    SGraphicElement e(&host);
    e.setLayer(30);
    e.setLighting(7);
    EXPECT_STREQ(e.fromString("5,6,7,8"), "");
    EXPECT_EQ(e.getRect(), (SRectFloat{5, 6, 7, 8}));
    EXPECT_EQ(e.getLayer(), 30);
    EXPECT_EQ(e.getLighting(), 7);
    EXPECT_EQ(e.getValueColor(), 0xFF008000u);

    EXPECT_STREQ(e.fromString("1,2,3,4|20|0|-16744448|-65536"), "");
    EXPECT_EQ(e.getValueColor(), 0xFF008000u); // -16744448 is opaque green
    EXPECT_EQ(e.getTextColor(), 0xFFFF0000u);
    EXPECT_STREQ(e.toString(), "1,2,3,4|20|0|-16744448|-65536");

    SGraphicShape s(&host, "Zuleitung1");
    s.setRect(450, 10, 100, 40);
    EXPECT_STREQ(s.toString(), "450,10,100,40|-1|2|-16744448|-16777216|0|1");
    s.fromString("450,10,100,40|-1|2|-16744448|-16777216|7|2");
    EXPECT_EQ(s.getShape(), 7);
    EXPECT_EQ(s.getQuadrant(), 2);
}

// Records are edited by hand: wild numbers keep the element within reach.
TEST_F(ElementModel, WildNumbersKeepTheElementUsable) {
    SGraphicShape e(&host);
    e.fromString("99999999999,-99999999999,2000000000,-2000000000");
    SRect r = e.boundingRect();
    EXPECT_LE(r.x + r.width, 8192 + 4096);
    EXPECT_GE(r.y, -8192 - 4096);
    EXPECT_LE(r.width, 4096);
    EXPECT_LE(r.height, 4096);
    e.fromString("0,0,10,10|0|12|0xFF008000|4294967295|-3|77");
    EXPECT_EQ(e.getValueColor(), 0xFF008000u);
    EXPECT_EQ(e.getShape(), -3); // drawn as a rectangle
}

// A record with fewer fields, as a person shortens it by hand, sets the fields it holds and
// leaves the others as they are.
TEST_F(ElementModel, AShortRecordSetsOnlyTheFieldsItHolds) {
    SGraphicShape e(&host, "Koerper");
    e.setLayer(30);
    e.setLighting(7);
    e.setValueColor(0xFFB0C4DE);
    e.setTextColor(0xFFFF0000);
    e.setShape(SGraphicShape::Trapez);
    e.setQuadrant(3);
    EXPECT_STREQ(e.fromString("10,20,30,40|5|1"), "");
    EXPECT_STREQ(e.toString(), "10,20,30,40|5|1|-5192482|-65536|4|3");
    e.fromString("11,21,31,41|6|2|-1|-16777216|1");
    EXPECT_STREQ(e.toString(), "11,21,31,41|6|2|-1|-16777216|1|3");

    // Through the window's stored records: one field missing still places the element.
    SGraphicShape body(&host, "Koerper");
    body.setLighting(0);
    globalResources.controlPositions.setString("FakeWnd_ge", "Koerper,120,10,100,40",
                                               "150,60,150,190|-1|2|-5192482|-16777216|0");
    body.loadControlpos();
    EXPECT_STREQ(body.toString(), "150,60,150,190|-1|2|-5192482|-16777216|0|1");
}

// A record that is not one this element would write is not applied at all: a line edited
// wrongly by hand must not leave half of it on the plant picture.
TEST_F(ElementModel, ADamagedRecordLeavesTheElementAsItWas) {
    SGraphicShape e(&host, "Koerper");
    e.setRect(150, 60, 150, 190);
    e.setLayer(30);
    e.setLighting(7);
    e.setValueColor(0xFFB0C4DE);
    e.setTextColor(0xFFFF0000);
    e.setShape(SGraphicShape::Trapez);
    e.setQuadrant(3);
    const SString known = e.toString();
    SGraphicShape copy(&host);
    EXPECT_STREQ(copy.fromString(known), "");
    EXPECT_STREQ(copy.toString(), known);

    for (const char* damaged : {"1,2", "abc|x|", "", "150,60,15", "5,6,7,8,9", "1,2,3,x|5",
                                "10,20,30,40|5|x",                 // short, with a word
                                "10,20,30,40|5|1|-1|-1|4|",        // a separator at the end
                                "10,20,30,40|5||1|-1|-1|4",        // one in the middle
                                "10,20,30,40|5|1|-1|-1|4|2|9",     // a field more than it writes
                                "10,20,30,40|5|1|gr\374n|-1|4|2", // a word for a colour
                                "|||||||"}) {
        e.fromString(damaged);
        EXPECT_STREQ(e.toString(), known) << damaged;
    }

    // The same through the window's stored records, as a damaged controlpos.ini gives them.
    SGraphicShape body(&host, "Koerper");
    const SString defaults = body.toString();
    globalResources.controlPositions.setString("FakeWnd_ge", "Koerper,230,10,100,40", "abc|x|");
    body.loadControlpos();
    EXPECT_TRUE(body.isLoaded());
    EXPECT_STREQ(body.toString(), defaults);
}

TEST_F(ElementModel, LayerCommandsResortTheWindowsList) {
    SGraphicElement a(&host, "a"), b(&host, "b"), c(&host, "c");
    host.list.sortByLayer(); // a 10, b 20, c 30

    a.onMenu(menuIndex(a, "Ebene/runter"));
    EXPECT_EQ(a.getLayer(), 10);
    EXPECT_EQ(host.list[0], &a);

    b.onMenu(menuIndex(b, "Ebene/runter"));
    EXPECT_EQ(host.list[0], &b);
    EXPECT_EQ(host.list[1], &a);
    EXPECT_EQ(b.getLayer(), 10);
    EXPECT_EQ(a.getLayer(), 20);

    b.onMenu(menuIndex(b, "Ebene/Vordergrund"));
    EXPECT_EQ(host.list[2], &b);
    EXPECT_EQ(b.getLayer(), 30);
    c.onMenu(menuIndex(c, "Ebene/Hintergrund"));
    EXPECT_EQ(host.list[0], &c);
    c.onMenu(menuIndex(c, "Ebene/hoch"));
    EXPECT_EQ(host.list[1], &c);
}

TEST_F(ElementModel, MenuEntriesKeepTheirOrderAndQuadrantsComeOnlyWithTurnableShapes) {
    for (int shape = 0; shape <= 7; ++shape) {
        SGraphicShape e(&host, "s", shape);
        e.buildMenu();
        bool turnable = shape >= 4;
        EXPECT_EQ(e.getMenu().contains("Quadrant/2  90\260"), turnable) << shape;
    }
    SGraphicShape e(&host, "s", SGraphicShape::Dreieck);
    e.buildMenu();
    EXPECT_STREQ(e.getMenu().getKeyAt(0), "Farben/Werte");
    EXPECT_EQ(e.getMenu().get("Beleuchtung/mitte"), 9);
    e.onMenu(e.getMenu().find("Quadrant/2  90\260"));
    EXPECT_EQ(e.getQuadrant(), 2);
    e.onMenu(e.getMenu().find("Form/Rechteck"));
    e.buildMenu();
    EXPECT_TRUE(e.getMenu().contains("Quadrant/1   0\260")); // an entry once added stays
    e.onMenu(-7000);                                          // a menu closed without a choice
    EXPECT_EQ(e.getShape(), 0);
}

TEST_F(ElementModel, RecordsAreFoundByNameAndDefaultRectAndStoredUnderClassNameAndTheKeyRectOfLoading) {
    SFileIni& ini = globalResources.controlPositions;
    ini.setString("FakeWnd_ge", "Deckel,10,10,100,40", "300,200,50,60|40|3|-1|-16777216|5|3");
    SGraphicShape e(&host, "Deckel");
    e.loadControlpos();
    EXPECT_TRUE(e.isLoaded());
    EXPECT_EQ(e.boundingRect(), (SRect{300, 200, 50, 60}));
    EXPECT_EQ(e.getQuadrant(), 3);
    e.setRect(320, 210, 50, 60);
    e.loadControlpos(); // once only
    EXPECT_EQ(e.getRect().x, 320);

    ini.setSectionText("FakeWnd_ge", "");
    e.startPositioning();
    e.stopPositioning();
    EXPECT_EQ(host.closed, 1);
    EXPECT_STREQ(ini.getString("FakeWnd_ge", "SGraphicShape,10,10,100,40"), "320,210,50,60|40|3|-1|-16777216|5|3");

    SGraphicElement orphan(nullptr, "Deckel");
    orphan.loadControlpos();
    EXPECT_FALSE(orphan.isLoaded());
}

TEST(GraphicElementList, IndexErrorsReportTheRangeAndChangeNothing) {
    BoxRecorder boxes;
    SGraphicElementList list;
    SGraphicElement a(nullptr), b(nullptr);
    list.add(&a);
    list.add(&b);
    EXPECT_EQ(list.insertAt(3), -1);
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_STREQ(boxes.last().caption, "Fehler !");
    EXPECT_NE(boxes.last().text.find("SGraphicElementList.insertAt(..)"), -1);
    EXPECT_NE(boxes.last().text.find("Angefordert wurde: 3\r\nm\366glich ist: 0...1"), -1);
    EXPECT_FALSE(list.setAt(2, &a));
    EXPECT_NE(boxes.last().text.find(".getAt(..)"), -1);
    EXPECT_FALSE(list.removeAt(-1));
    EXPECT_EQ(list.count(), 2);
    EXPECT_EQ(list.getAt(7), nullptr);
    EXPECT_EQ(boxes.count(), 3);

    EXPECT_EQ(list.insertAt(1), 1);
    EXPECT_EQ(list[1], nullptr);
    EXPECT_EQ(list[2], &b);
    list.clear();
    EXPECT_EQ(list.count(), 0);
}
