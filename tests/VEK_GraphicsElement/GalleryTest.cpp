// The element gallery as a person sees it, normal and in positioning mode with an element's
// menu open (PNG files in the artifacts folder), and an element dragged in positioning mode
// standing where it was left after the gallery is opened again.
#include "tools/element-gallery/ElementGallery.h"

#include "VEK_GraphicsElement/SGPosWnd.h"
#include "VEK_UTIL/SResources.h"
#include "tests/VEK_GraphicsElement/GraphicsHost.h"
#include "tests/support/BoxRecorder.h"
#include "tests/support/gui/Artifacts.h"
#include "tests/support/gui/InputSender.h"
#include "tests/support/gui/MessagePump.h"
#include "tests/support/gui/Raise.h"
#include "tests/support/gui/WindowCapture.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>

namespace {

class Gallery : public ::testing::Test {
protected:
    BoxRecorder boxes;
    std::unique_ptr<ElementGallery> gallery;

    void SetUp() override {
        startGraphicsResources();
        globalResources.controlPositions.setSectionText("ElementGallery_ge", "");
        open();
    }
    void TearDown() override {
        if (gallery) gallery->stopPositioning();
        gallery.reset();
        globalResources.controlPositions.setSectionText("ElementGallery_ge", "");
    }
    void open() {
        gallery = std::make_unique<ElementGallery>();
        ASSERT_TRUE(gallery->create(nullptr));
        showInFront(gallery->getHwnd());
    }
    WindowCapture shot() { return WindowCapture::ofWindow(gallery->getHwnd()); }
    static SPoint centre(const SRect& r) { return SPoint{r.x + r.width / 2, r.y + r.height / 2}; }
};

TEST_F(Gallery, ShowsEveryShapeLitFromEverySideWithCaptionsAndAChart) {
    for (int i = 0; i < 150; ++i) gallery->feedChart();
    MessagePump::flush();
    WindowCapture s = shot();
    ASSERT_FALSE(s.empty());
    EXPECT_TRUE(s.savePng(artifactPath("element-gallery.png")));

    const COLORREF green = colorRef(SGraphicElement::DefaultValueColor);
    SPoint unlit = centre(ElementGallery::cellRect(0, 0));
    EXPECT_EQ(s.pixel(unlit.x, unlit.y), green); // no overlay without lighting
    SPoint lit = centre(ElementGallery::cellRect(0, 1));
    EXPECT_NE(s.pixel(lit.x, lit.y), green);
    const int noShapeRow = (int)ElementGallery::rows().size() - 1;
    for (int light = 0; light < ElementGallery::Lightings; ++light) {
        SRect r = ElementGallery::cellRect(noShapeRow, light);
        EXPECT_EQ(s.countColor(GraphicsHost::Background, RECT{r.x, r.y, r.x + r.width, r.y + r.height}),
                  r.width * r.height);
    }
    SRect caption = ElementGallery::captionRect(0);
    EXPECT_TRUE(s.hasTextLike(RECT{caption.x + 40, caption.y + 10, caption.x + 90, caption.y + 30}));
    SRect chart = ElementGallery::chartRect();
    EXPECT_GT(s.countColor(0xFF0000, RECT{chart.x, chart.y, chart.x + chart.width, chart.y + chart.height}), 100);
}

// The menu loop is modal: timers of this thread walk the menu with keys as a person would
// (down to "Form", open it, down to "Dreieck"), take the picture with the submenu open and
// choose the item.
WindowCapture menuShot;
HWND menuOwner = nullptr;
void keys(std::initializer_list<UINT> list) {
    for (UINT vk : list) PostMessageA(menuOwner, WM_KEYDOWN, vk, 0);
}
void CALLBACK chooseTriangle(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    HDC screen = GetDC(nullptr);
    menuShot = WindowCapture::ofDC(screen, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    ReleaseDC(nullptr, screen);
    keys({VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});
}
void CALLBACK openShapes(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    keys({VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT});
    SetTimer(nullptr, 0, 300, chooseTriangle);
}

TEST_F(Gallery, PositioningModeGivesEveryElementAnOverlayWithItsMenu) {
    gallery->startPositioning();
    MessagePump::flush();
    SGraphicShape& element = gallery->element(0, 3); // a rectangle: no quadrant entries
    SGPosWnd* overlay = element.getPositioningWindow();
    ASSERT_NE(overlay, nullptr);
    EXPECT_EQ(overlay->getWindowRect(), element.boundingRect());
    EXPECT_EQ(overlay->getElement(), &element);

    menuOwner = gallery->getHwnd();
    SetTimer(nullptr, 0, 300, openShapes);
    SRect r = overlay->getWindowRect(true);
    int chosen = overlay->trackElementMenu(SPoint{r.x + 20, r.y + 10});
    ASSERT_FALSE(menuShot.empty());
    EXPECT_TRUE(menuShot.savePng(artifactPath("element-gallery-positioning.png")));
    EXPECT_EQ(chosen, element.getMenu().find("Form/Dreieck"));
    element.onMenu(chosen);
    EXPECT_EQ(element.getShape(), SGraphicShape::Dreieck);
}

TEST_F(Gallery, ADraggedElementStandsWhereItWasLeftWhenTheGalleryOpensAgain) {
    const SRect before = ElementGallery::captionRect(1);
    gallery->startPositioning();
    MessagePump::flush();
    SGPosWnd* overlay = gallery->caption(1).getPositioningWindow();
    ASSERT_NE(overlay, nullptr);
    InputSender input(overlay->getHwnd());
    ASSERT_TRUE(input.realDrag(60, 20, 60 + 41, 20 - 62));
    const SRect moved{320, 680, before.width, before.height}; // (321, 686) on the grid of 10
    EXPECT_EQ(gallery->caption(1).boundingRect(), moved);
    gallery->stopPositioning();
    EXPECT_EQ(gallery->caption(1).getPositioningWindow(), nullptr);
    SString key;
    key.format("SGraphicShape,%d,%d,%d,%d", before.x, before.y, before.width, before.height);
    EXPECT_TRUE(globalResources.controlPositions.getString("ElementGallery_ge", key).startsWith("320,"));

    gallery.reset();
    open();
    EXPECT_EQ(gallery->caption(1).boundingRect(), moved);
    WindowCapture s = shot();
    EXPECT_TRUE(s.savePng(artifactPath("element-gallery-reopened.png")));
    SPoint c = centre(moved);
    EXPECT_TRUE(closeTo(s.pixel(c.x - 30, c.y + 12), colorRef(0xFFFFD700), 60));
}

} // namespace
