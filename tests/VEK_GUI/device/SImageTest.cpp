// Images from .bmp and .ico files, drawn into a device as is, stretched and with a
// transparent colour.
#include "tests/VEK_GUI/device/Canvas.h"
#include "tests/support/BitmapFile.h"
#include "tests/support/TempDir.h"

#include "VEK_GUI/SDevice.h"
#include "VEK_GUI/SImage.h"

#include <gtest/gtest.h>

namespace {

const COLORREF white = RGB(255, 255, 255);
const COLORREF red = RGB(255, 0, 0);
const COLORREF blue = RGB(0, 0, 255);

class ImageTest : public ::testing::Test {
protected:
    void SetUp() override {
        // 4 x 2: top row red red blue blue, bottom row all blue.
        writeBitmapFile(dir, "four.bmp", 4, 2, [](int x, int y) { return y == 0 && x < 2 ? 0xFF0000u : 0x0000FFu; });
        writeIconFile(dir, "red.ico", 16, 0xFF0000);
        device.beginPaint(canvas.get());
    }
    void TearDown() override { device.endPaint(); }

    TempDir dir;
    Canvas canvas{64, 64};
    SDevice device;
    SImage image;
};

TEST_F(ImageTest, BitmapKeepsItsSizeAndPixels) {
    ASSERT_TRUE(image.load(dir.file("four.bmp")));
    EXPECT_TRUE(image.isLoaded());
    EXPECT_EQ(image.getSize(), (SSize{4, 2}));
    image.draw(device, 10, 20);
    EXPECT_EQ(canvas.at(10, 20), red);
    EXPECT_EQ(canvas.at(12, 20), blue);
    EXPECT_EQ(canvas.at(10, 21), blue);
    EXPECT_EQ(canvas.at(14, 20), white);
    EXPECT_EQ(canvas.count(white), 64 * 64 - 8);
}

TEST_F(ImageTest, StretchedBitmapFillsTheTarget) {
    ASSERT_TRUE(image.load(dir.file("four.bmp")));
    image.draw(device, SRect{0, 0, 40, 20});
    EXPECT_EQ(canvas.count(red), 20 * 10);
    EXPECT_EQ(canvas.at(39, 19), blue);
    EXPECT_EQ(canvas.at(40, 0), white);
}

TEST_F(ImageTest, TransparentColourIsLeftOut) {
    ASSERT_TRUE(image.load(dir.file("four.bmp")));
    image.setTransparentColor(blue);
    image.draw(device, 0, 0);
    EXPECT_EQ(canvas.count(red), 2);
    EXPECT_EQ(canvas.count(blue), 0);
}

TEST_F(ImageTest, IconLoadsAndDraws) {
    ASSERT_TRUE(image.load(dir.file("red.ico")));
    EXPECT_EQ(image.getSize(), (SSize{16, 16}));
    image.draw(device, 5, 5);
    EXPECT_EQ(canvas.count(red), 256);
    EXPECT_EQ(canvas.at(5, 5), red);
}

TEST_F(ImageTest, MissingOrBrokenFilesLeaveNothingLoaded) {
    ASSERT_TRUE(image.load(dir.file("four.bmp")));
    EXPECT_FALSE(image.load(dir.file("missing.bmp")));
    EXPECT_FALSE(image.isLoaded());
    EXPECT_EQ(image.getSize(), SSize{});
    dir.write("broken.ico", "not an icon");
    EXPECT_FALSE(image.load(dir.file("broken.ico")));
    image.draw(device, 0, 0); // nothing to draw, nothing drawn
    EXPECT_EQ(canvas.count(white), 64 * 64);
}

// The library's count of owned handles and, on Windows, the platform's.
TEST_F(ImageTest, LoadingAgainLeaksNothing) {
    ASSERT_TRUE(image.load(dir.file("four.bmp")));
    const long owned = SGdiCount::live();
    const DWORD platform = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    for (int i = 0; i < 200; ++i) {
        image.load(dir.file(i % 2 ? "four.bmp" : "red.ico"));
        image.draw(device, 0, 0);
    }
    image.load(dir.file("four.bmp"));
    EXPECT_EQ(SGdiCount::live(), owned);
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), platform);
}

} // namespace
