// The drawing device on memory contexts and real windows, and images from .bmp and .ico files
// drawn through it.
#include "tests/VEK_GUI/device/Canvas.h"
#include "tests/VEK_SYSTEM/PlainPeer.h"
#include "tests/support/BitmapFile.h"
#include "tests/support/TempDir.h"
#include "tests/support/gui/MessagePump.h"
#include "tests/support/gui/WindowCapture.h"

#include "VEK_GUI/SDevice.h"
#include "VEK_GUI/SImage.h"
#include "VEK_GUI/SWindow.h"
#include "VEK_UTIL/SDebug.h"
#include "VEK_UTIL/SError.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

const COLORREF white = RGB(255, 255, 255);
const COLORREF black = RGB(0, 0, 0);
const COLORREF red = RGB(255, 0, 0);
const COLORREF green = RGB(0, 255, 0);
const COLORREF blue = RGB(0, 0, 255);
const COLORREF yellow = RGB(255, 255, 0);

std::string log() { return globalError.getLog().getBuffer(); }

class DeviceTest : public ::testing::Test {
protected:
    void SetUp() override { globalError.clearLog(); }
    void TearDown() override {
        if (device.isPainting()) device.endPaint();
        globalError.clearLog();
    }

    Canvas canvas{200, 200};
    SDevice device;
};

TEST_F(DeviceTest, DrawingOutsideAPaintIsReportedPerOperationAndDrawsNothing) {
    SRect r{10, 10, 50, 50};
    SPointList points;
    points.add(SPoint{1, 1});
    points.add(SPoint{20, 1});
    points.add(SPoint{1, 20});
    const std::vector<std::pair<const char*, std::function<void()>>> calls = {
        {"rectangle", [&] { device.rectangle(r, red, red); }},
        {"ellipse", [&] { device.ellipse(r, red, red); }},
        {"line", [&] { device.line(0, 0, 10, 10, red); }},
        {"getTextSize", [&] { EXPECT_EQ(device.getTextSize("abc"), SSize{}); }},
        {"drawText", [&] { EXPECT_EQ(device.drawText(r, "abc", "lt"), 0); }},
        {"roundRect", [&] { device.roundRect(r, SSize{4, 4}, red, red); }},
        {"textOut", [&] { device.textOut(0, 0, "abc"); }},
        {"fillRectangle", [&] { device.fillRectangle(r, red); }},
        {"polygon", [&] { device.polygon(points, red, red); }},
    };
    for (const auto& [name, call] : calls) {
        globalError.clearLog();
        call();
        std::string expected = std::string("Es wurde ein SDevice::") + name +
                               "(..) au\337erhalb von onPaint(..) bzw. ohne vorheriges SDevice::beginPaint(..) "
                               "verwendet.\r\n";
        EXPECT_EQ(log(), expected) << name;
        EXPECT_FALSE(device.isPainting());
    }
    EXPECT_EQ(device.getCreatedObjects(), 0); // nothing was even prepared for drawing
}

TEST_F(DeviceTest, SecondBeginPaintReportsOnceTracesOnceAndStillPaints) {
    PlainPeer monitor;
    globalDebug.setTarget("127.0.0.1", monitor.port());
    globalDebug.enable();
    device.beginPaint(canvas.get());
    device.beginPaint(canvas.get());
    device.rectangle(SRect{10, 10, 30, 30}, red, blue);
    device.endPaint();

    std::string expected = "Es wurde ein SDevice::beginPaint(..) ohne vorheriges SDevice::endPaint(..) verwendet.\r\n"
                           "\tM\366gliche Ursachen sind: beginPaint(..) innerhalb von onPaint() \r\n"
                           "\toder beginnPaint(..) innerhalb von beginnPaint(..)\r\n"
                           "\toder ein vergessenes endPaint(..)\r\n";
    EXPECT_EQ(log(), expected);
    std::string line = "!!!!! Es wurde ein ->SDevice::beginPaint(..) ohne vorheriges SDevice::endPaint(..) "
                       "verwendet. (endPaint folgt automatisch)\r\n";
    ASSERT_TRUE(monitor.accept(1000));
    EXPECT_EQ(monitor.receive(line.size() + 1, 500), line); // that line, and no second one
    globalDebug.setTarget("127.0.0.1", 1);                   // nobody listens there: later traces are dropped
    EXPECT_EQ(canvas.at(10, 10), red);
    EXPECT_EQ(canvas.at(20, 20), blue);
    EXPECT_FALSE(device.isPainting());
}

TEST_F(DeviceTest, OutsideContextGetsItsStateBack) {
    SetMapMode(canvas.get(), MM_TEXT);
    SetTextColor(canvas.get(), green);
    HGDIOBJ penBefore = GetCurrentObject(canvas.get(), OBJ_PEN);
    device.setMapMode(MM_LOMETRIC);
    device.setColors(red, -2);
    device.beginPaint(canvas.get());
    device.rectangle(SRect{0, 0, 100, 100, true}, blue, -2);
    device.textOut(0, 0, "x");
    device.endPaint();
    EXPECT_EQ(GetMapMode(canvas.get()), MM_TEXT);
    EXPECT_EQ(GetTextColor(canvas.get()), green);
    EXPECT_EQ(GetCurrentObject(canvas.get(), OBJ_PEN), penBefore);
}

TEST_F(DeviceTest, KeptColoursUseTheCurrentOnesAndCallColoursDoNotLeak) {
    device.setPen(red, 1, PS_SOLID);
    device.setFillColor(blue);
    device.beginPaint(canvas.get());

    device.rectangle(SRect{10, 10, 40, 40}, -2, -2);
    EXPECT_EQ(canvas.at(10, 10), red);
    EXPECT_EQ(canvas.at(30, 30), blue);

    device.rectangle(SRect{60, 10, 40, 40}, green, yellow);
    EXPECT_EQ(canvas.at(60, 10), green);
    EXPECT_EQ(canvas.at(80, 30), yellow);
    device.ellipse(SRect{10, 60, 40, 40}, -2, -2);
    EXPECT_EQ(canvas.at(30, 80), blue);
    device.endPaint();
    EXPECT_EQ(device.getPenColor(), red);
    EXPECT_EQ(device.getFillColor(), blue);
}

// A hollow fill draws outlines only, a transparent pen no outline, and a filled rectangle has
// no outline and leaves out its right and bottom edge.
TEST_F(DeviceTest, HollowFillTransparentPenAndFilledRectangle) {
    device.beginPaint(canvas.get());
    device.rectangle(SRect{10, 10, 80, 80}, black, 0xFFFFFFFF);
    device.ellipse(SRect{100, 10, 80, 80}, black, 0xFFFFFFFF);
    device.rectangle(SRect{10, 100, 40, 40}, 0xFFFFFFFF, blue);
    device.fillRectangle(SRect{100, 100, 20, 20}, green);
    device.endPaint();
    EXPECT_EQ(canvas.at(10, 50), black);
    EXPECT_EQ(canvas.at(89, 50), black);
    EXPECT_EQ(canvas.count(white, RECT{12, 12, 88, 88}), 76 * 76);
    EXPECT_EQ(canvas.at(140, 50), white);
    EXPECT_GT(canvas.count(black, RECT{100, 10, 180, 90}), 100);
    EXPECT_EQ(canvas.count(black, RECT{0, 95, 200, 200}), 0);
    EXPECT_EQ(canvas.at(30, 120), blue);
    EXPECT_EQ(canvas.count(green), 400);
    EXPECT_EQ(canvas.at(100, 100), green);
    EXPECT_EQ(canvas.at(120, 120), white);
}

TEST_F(DeviceTest, DrawTextCentresOneLineBothWays) {
    device.setFont("Arial", 12, -2, -2, -2);
    device.beginPaint(canvas.get());
    SRect r{20, 40, 160, 100};
    int height = device.drawText(r, "HHH", "vh");
    device.endPaint();
    EXPECT_GT(height, 0);
    RECT ink = canvas.boundsOfOther(white);
    ASSERT_LT(ink.left, ink.right);
    int inkCentreX = (ink.left + ink.right) / 2, inkCentreY = (ink.top + ink.bottom) / 2;
    EXPECT_NEAR(inkCentreX, 100, 3);
    EXPECT_NEAR(inkCentreY, 90, 4);
}

TEST_F(DeviceTest, AmpersandIsPrintedAsIsUnlessAsked) {
    Canvas asIs(200, 40), prefixed(200, 40), plain(200, 40);
    SRect r{0, 0, 200, 40};
    auto draw = [&](Canvas& target, const char* flags) {
        device.beginPaint(target.get());
        SRect copy = r;
        device.drawText(copy, "A&B", flags);
        device.endPaint();
    };
    draw(asIs, "lt");
    draw(prefixed, "lt&");
    device.beginPaint(plain.get());
    device.textOut(0, 0, "A&B");
    device.endPaint();
    EXPECT_TRUE(asIs.samePixels(plain));
    EXPECT_FALSE(prefixed.samePixels(plain));
}

TEST_F(DeviceTest, WrongHeightSignInLometricIsReportedOnceAndCorrected) {
    device.setMapMode(MM_LOMETRIC);
    device.beginPaint(canvas.get());
    SRect r{0, 0, 400, 200};
    device.drawText(r, "Hallo Welt, ein langer Text", "lt");
    EXPECT_EQ(r.height, -200);
    std::string expected = "Es wurde SDevice::drawText(..) mit falschen Vorzeichen in SRect::height verwendet.\r\n"
                           "\t(Text: 'Hallo Welt, ein...')\r\n";
    EXPECT_EQ(log(), expected);
    device.drawText(r, "Noch ein Text", "lt");
    EXPECT_EQ(log(), expected);
    device.endPaint();
    RECT ink = canvas.boundsOfOther(white);
    EXPECT_LT(ink.left, ink.right) << "the text is drawn downwards, into the canvas";
}

TEST_F(DeviceTest, FontSizeFollowsTheMappingMode) {
    device.setFont("Arial", 10, -2, -2, -2);
    EXPECT_EQ(device.getLogFont().lfHeight, -13);
    device.setMapMode(MM_LOMETRIC);
    device.setFont("Arial", 10, -2, -2, -2);
    EXPECT_EQ(device.getLogFont().lfHeight, -35);
    device.setMapMode(MM_HIMETRIC);
    device.setFont("", 10, -2, -2, -2);
    EXPECT_EQ(device.getLogFont().lfHeight, -352);
    EXPECT_STREQ(device.getLogFont().lfFaceName, "Arial");
    device.setMapMode(MM_HIENGLISH);
    device.setFont("", 10, 1, -2, 700);
    EXPECT_EQ(device.getLogFont().lfHeight, -138);
    EXPECT_EQ(device.getLogFont().lfUnderline, 1);
    EXPECT_EQ(device.getLogFont().lfWeight, 700);
    device.setFont("A face name that is much longer than thirty-one characters", -2, -2, -2, -2);
    EXPECT_EQ(std::string(device.getLogFont().lfFaceName), "A face name that is much longer");
}

// A style may name a face that also exists as a bitmap font (System, Courier, MS Sans
// Serif): bitmap fonts look ragged at any size but their own, so the device asks for
// TrueType only, in the font it draws with and in the one it gives its window.
TEST_F(DeviceTest, FontsAreAskedForAsTrueTypeOnly) {
    HWND label = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 80, 20, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(label);
    device.setHwnd(label);
    device.setFont("Courier", 10, -2, -2, -2);
    LOGFONTA given{}, drawn{};
    EXPECT_TRUE(GetObjectA((HFONT)SendMessageA(label, WM_GETFONT, 0, 0), sizeof given, &given));
    EXPECT_TRUE(GetObjectA(device.getFont(), sizeof drawn, &drawn));
    device.setHwnd(nullptr);
    DestroyWindow(label);
    EXPECT_EQ(given.lfOutPrecision, OUT_TT_ONLY_PRECIS);
    EXPECT_EQ(drawn.lfOutPrecision, OUT_TT_ONLY_PRECIS);
}

TEST_F(DeviceTest, FontHeightAndTextSizeUseTheSelectedFont) {
    device.setFont("Arial", 10, -2, -2, -2);
    int small = device.getFontHeight();
    device.setFont("Arial", 20, -2, -2, -2);
    int large = device.getFontHeight();
    EXPECT_GT(small, 10);
    EXPECT_GT(large, small + 8);
    device.beginPaint(canvas.get());
    SSize size = device.getTextSize("MMMM");
    EXPECT_EQ(size.height, large);
    EXPECT_GT(size.width, 4 * 10);
    device.endPaint();
}

// A pie starts at twelve o'clock and grows clockwise; equal angles draw one radius only.
TEST_F(DeviceTest, PieStartsAtTwelveAndGrowsClockwise) {
    Canvas radius(200, 200);
    device.beginPaint(canvas.get());
    device.pie(SRect{0, 0, 200, 200}, 0, 90, 0, 1, black, red);
    EXPECT_EQ(GetArcDirection(canvas.get()), AD_COUNTERCLOCKWISE);
    device.endPaint();
    EXPECT_EQ(canvas.at(140, 60), red); // between 12 and 3 o'clock
    EXPECT_NE(canvas.at(60, 60), red);
    EXPECT_NE(canvas.at(60, 140), red);
    EXPECT_NE(canvas.at(140, 140), red);
    device.beginPaint(radius.get());
    device.pie(SRect{0, 0, 200, 200}, 90, 90, 0, 1, black, red);
    device.endPaint();
    EXPECT_EQ(radius.count(red), 0);
    EXPECT_EQ(radius.at(150, 100), black); // centre to 3 o'clock
    EXPECT_EQ(radius.count(black), 100);
}

TEST_F(DeviceTest, DrawnBoundsCoverEveryShapeOfThePaint) {
    device.beginPaint(canvas.get());
    EXPECT_EQ(device.getDrawnBounds(), SRect{});
    device.rectangle(SRect{10, 10, 20, 20}, black, -2);
    device.line(100, 150, 50, 120, black);
    EXPECT_EQ(device.getDrawnBounds(), (SRect{9, 9, 92, 142}));
    device.endPaint();
    device.beginPaint(canvas.get());
    EXPECT_EQ(device.getDrawnBounds(), SRect{});
    device.endPaint();
}

// The platform's count of GDI objects means something on Windows only (Wine answers 0); the
// library's own count of the handles its owners hold works everywhere.
TEST_F(DeviceTest, ThousandPaintsLeakNoGdiObjects) {
    auto paint = [&] {
        device.beginPaint(canvas.get());
        device.setFont("Arial", 10, -2, -2, -2);
        device.rectangle(SRect{1, 1, 50, 50}, red, blue);
        device.pie(SRect{1, 1, 50, 50}, 10, 200, 0, 3, green, yellow);
        SRect t{0, 100, 200, 30};
        device.drawText(t, "Text", "vh");
        device.endPaint();
    };
    paint();
    const long owned = SGdiCount::live();
    const DWORD platform = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    for (int i = 0; i < 1000; ++i) paint();
    EXPECT_EQ(SGdiCount::live(), owned);
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), platform);
}

// Wine counts no GDI objects per process: check also that what a paint selected is gone after it.
TEST_F(DeviceTest, ObjectsOfAPaintAreDeletedAtItsEnd) {
    device.setNoFlicker(true); // no window: drawn directly
    device.beginPaint(canvas.get());
    device.rectangle(SRect{1, 1, 50, 50}, red, blue);
    device.textOut(0, 0, "Text");
    HGDIOBJ pen = GetCurrentObject(canvas.get(), OBJ_PEN);
    HGDIOBJ brush = GetCurrentObject(canvas.get(), OBJ_BRUSH);
    HGDIOBJ font = GetCurrentObject(canvas.get(), OBJ_FONT);
    EXPECT_EQ(font, (HGDIOBJ)device.getFont());
    device.endPaint();
    EXPECT_EQ(GetObjectType(pen), 0u);
    EXPECT_EQ(GetObjectType(brush), 0u);
    EXPECT_EQ(GetObjectType(font), 0u);
    EXPECT_EQ(device.getFont(), nullptr);
}

// The off-screen picture of a buffered window: kept from paint to paint, yet each paint
// starts from a fresh context (what one paint left set on it does not reach the next) and a
// new size gets a picture of its own.
TEST_F(DeviceTest, BufferedPaintsStartFreshAndFollowTheWindowsSize) {
    class EdgeWindow : public SWindow {
    public:
        EdgeWindow() {
            rect = SRect{50, 50, 200, 150};
            style = WS_POPUP | WS_VISIBLE;
        }
        void onPaint(SDevice& device) override {
            const int right = getClientSize().width;
            device.rectangle(SRect{right - 30, 20, 20, 20}, black, red);
            SetROP2(device.getHdc(), R2_NOT); // left behind on purpose
        }
    } window;
    window.getDevice().setBackgroundColor(blue);
    window.getDevice().setNoFlicker(true);
    ASSERT_TRUE(window.create(nullptr));
    for (int width : {200, 260, 300}) {
        window.moveWindow(50, 50, width, 150);
        for (int round = 0; round < 2; ++round) {
            RedrawWindow(window.getHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
            WindowCapture shot = WindowCapture::ofWindow(window.getHwnd());
            EXPECT_EQ(shot.pixel(width - 20, 30), red) << width << " px, paint " << round;
            EXPECT_EQ(shot.pixel(width - 40, 30), blue) << width << " px, paint " << round;
        }
    }
    EXPECT_EQ(log(), "");
}

// ---------------------------------------------------------------- images

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

// ---------------------------------------------------------------- controls and nested paints of real windows

// Two plain controls that get a styled font through a drawing device whose window they are,
// as the library's controls do: the label once, and then its device draws an underline in
// every paint of the frame; the owner-drawn button sets its font while it draws itself.
class FontHost : public SWindow {
public:
    HWND label = nullptr;
    HWND button = nullptr;
    SDevice labelDevice;
    SDevice buttonDevice;
    int buttonDraws = 0;

    FontHost() {
        rect = SRect{40, 40, 320, 160};
        style = WS_POPUP | WS_VISIBLE;
    }
    void makeControls() {
        label = CreateWindowExA(0, "STATIC", "HHHH", WS_CHILD | WS_VISIBLE, 10, 10, 200, 50, hwnd, (HMENU)21,
                                nullptr, nullptr);
        button = CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 10, 90, 200, 50, hwnd,
                                 (HMENU)22, nullptr, nullptr);
        labelDevice.setHwnd(label);
        labelDevice.setFont("Arial", 20, 0, 0, 700);
        buttonDevice.setHwnd(button);
    }
    void onPaint(SDevice& device) override {
        labelDevice.beginPaint(device.getHdc());
        labelDevice.line(10, 62, 210, 62, black);
        labelDevice.endPaint();
    }
    LRESULT windowProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, bool& handled, LRESULT& result) override {
        if (msg == WM_DRAWITEM && h == hwnd) {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            ++buttonDraws;
            buttonDevice.beginPaint(item->hDC);
            buttonDevice.setFont("Arial", 20, 0, 0, 700);
            SRect r{0, 0, item->rcItem.right, item->rcItem.bottom};
            buttonDevice.fillRectangle(r, white);
            buttonDevice.drawText(r, "HHHH", "lt");
            buttonDevice.endPaint();
            handled = true;
            result = TRUE;
            return result;
        }
        return SWindow::windowProc(h, msg, wParam, lParam, handled, result);
    }
};

// Height of the dark ink in r: the capital H of the font the control draws with.
int inkHeight(const WindowCapture& shot, RECT r) {
    int top = -1, bottom = -1;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (GetRValue(shot.pixel(x, y)) < 100) {
                if (top < 0) top = y;
                bottom = y;
                break;
            }
    return top < 0 ? 0 : bottom - top + 1;
}

TEST(WindowDevice, FontsGivenToControlsOutliveThousandPaints) {
    globalError.clearLog();
    FontHost host;
    ASSERT_TRUE(host.create(nullptr));
    host.makeControls();
    MessagePump::run(100);
    // The frame alone, at once; the controls repaint from the queue.
    for (int i = 0; i < 1000; ++i)
        RedrawWindow(host.getHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_NOCHILDREN | RDW_UPDATENOW);
    MessagePump::run(200);
    int draws = host.buttonDraws;
    MessagePump::run(200);
    EXPECT_EQ(host.buttonDraws, draws) << "the button keeps invalidating itself";

    for (HWND control : {host.label, host.button}) {
        HGDIOBJ held = (HGDIOBJ)SendMessageA(control, WM_GETFONT, 0, 0);
        EXPECT_EQ(GetObjectType(held), (DWORD)OBJ_FONT);
    }
    RedrawWindow(host.getHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    MessagePump::run(100);
    WindowCapture shot = WindowCapture::ofWindow(host.getHwnd());
    // 20 points bold: capitals about 19 pixels high; the system font's are about 11.
    EXPECT_GE(inkHeight(shot, RECT{10, 10, 210, 60}), 16) << "the label draws in its own font";
    EXPECT_GE(inkHeight(shot, RECT{10, 90, 210, 140}), 16);
    EXPECT_EQ(globalError.getLog(), "");
}

// A paint that redraws its own background and frame at once (RedrawWindow with RDW_ERASENOW
// and RDW_FRAME) gets the erase and frame messages in the middle of its onPaint.
class NestedEraseWindow : public SWindow {
public:
    int paints = 0;
    std::vector<HGDIOBJ> used; // pens and brushes selected by the first paint and its erase

    NestedEraseWindow() {
        rect = SRect{40, 40, 200, 120};
        style = WS_POPUP | WS_VISIBLE;
    }
    int onEraseBackground(SDevice& device) override {
        device.rectangle(SRect{0, 0, 200, 120}, green, green);
        remember(device.getHdc());
        return 1;
    }
    void onPaint(SDevice& device) override {
        ++paints;
        device.rectangle(SRect{10, 10, 40, 40}, black, red);
        if (paints != 1) return;
        remember(device.getHdc());
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ERASENOW);
        device.rectangle(SRect{60, 10, 40, 40}, black, blue);
        remember(device.getHdc());
    }

private:
    void remember(HDC dc) {
        if (!dc) return;
        used.push_back(GetCurrentObject(dc, OBJ_PEN));
        used.push_back(GetCurrentObject(dc, OBJ_BRUSH));
    }
};

TEST(WindowDevice, NestedEraseAndFramePaintLeaveThePaintWhole) {
    globalError.clearLog();
    NestedEraseWindow window;
    ASSERT_TRUE(window.create(nullptr));
    MessagePump::run(100);
    ASSERT_GE(window.paints, 1);
    EXPECT_EQ(globalError.getLog(), "") << "the rest of the paint was refused";
    EXPECT_FALSE(window.getDevice().isPainting());
    ASSERT_FALSE(window.used.empty());
    for (HGDIOBJ object : window.used) EXPECT_EQ(GetObjectType(object), 0u) << "a pen or brush outlived its paint";
}

} // namespace
