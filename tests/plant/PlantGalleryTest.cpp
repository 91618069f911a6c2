// The plant gallery with its own layout, as a person sees it at three levels (PNG files in
// the artifacts folder): the tank's level rises from the bottom, the pumps on the supply
// lines show whether they run, the texts and the chart follow.
#include "tools/plant-gallery/PlantGallery.h"

#include "VEK_UTIL/SFileIni.h"
#include "VEK_UTIL/SResources.h"
#include "tests/VEK_GraphicsElement/GraphicsHost.h"
#include "tests/support/BoxRecorder.h"
#include "tests/support/gui/Artifacts.h"
#include "tests/support/gui/MessagePump.h"
#include "tests/support/gui/Raise.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class Gallery : public ::testing::Test {
protected:
    BoxRecorder boxes;
    std::unique_ptr<PlantGallery> gallery;

    void SetUp() override {
        startGraphicsResources();
        SFileIni layout;
        ASSERT_TRUE(layout.load("Z:" PLANT_GALLERY_INI, false, true));
        globalResources.controlPositions.setSectionText("PlantGallery_ge", layout.getSectionText("PlantGallery_ge"));
        gallery = std::make_unique<PlantGallery>();
        ASSERT_TRUE(gallery->create(nullptr));
        showInFront(gallery->getHwnd());
    }
    void TearDown() override {
        gallery.reset();
        globalResources.controlPositions.setSectionText("PlantGallery_ge", "");
    }
    WindowCapture shot() {
        MessagePump::flush();
        return WindowCapture::ofWindow(gallery->getHwnd());
    }
};

// Pixels in r that look red (a running pump, lit) or steel blue (a pump that stands).
int tinted(const WindowCapture& c, const SRect& r, bool red) {
    int n = 0;
    for (int y = r.y; y < r.y + r.height; ++y)
        for (int x = r.x; x < r.x + r.width; ++x) {
            const int R = GetRValue(c.pixel(x, y)), G = GetGValue(c.pixel(x, y)), B = GetBValue(c.pixel(x, y));
            if (red ? R > G + 60 && R > B + 60 : B > R + 40 && B > G + 20) ++n;
        }
    return n;
}

TEST_F(Gallery, TankFillsFromTheBottomWhileThePumpsRun) {
    Fuellstand& level = gallery->tank().fuellstand;
    const SRect gauge = level.boundingRect();
    ASSERT_EQ(gauge, (SRect{105, 98, 90, 126})) << "placed by its record";
    for (int i = 0; i < 120; ++i) gallery->sweepStep(); // the chart has a history

    struct {
        int level, pump1, pump2;
        const char* file;
    } frames[] = {{1300, 1, 0, "plant/gallery-low.png"},
                  {2200, 1, 1, "plant/gallery-half.png"},
                  {3100, 0, 0, "plant/gallery-full.png"}};
    for (auto& f : frames) {
        SCOPED_TRACE(f.level);
        gallery->showFrame(f.level, f.pump1, f.pump2, 2, 1);
        WindowCapture c = shot();
        EXPECT_TRUE(c.savePng(artifactPath(f.file)));
        EXPECT_STREQ(gallery->valueText().getWindowText(), SString().format("Level = %d", f.level));
        // The filled height of the gauge, counted in a column beside its scale labels.
        const int filled = countIn(c, level.getColor(), SRect{gauge.x + 60, gauge.y, 1, gauge.height}, 8);
        EXPECT_NEAR(filled, gauge.height * (f.level - 1200) / 2000, 2);
        for (int p = 1; p <= 2; ++p) {
            const SRect disc = gallery->pump(p).boundingRect();
            const bool running = p == 1 ? f.pump1 : f.pump2;
            EXPECT_GT(tinted(c, disc, running), disc.width * disc.height / 3) << "pump " << p;
        }
    }
    EXPECT_EQ(boxes.count(), 0);
}

} // namespace
