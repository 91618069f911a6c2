// The drawing device of real library windows: fonts handed to controls, and contexts handed
// in by nested erase and frame messages in the middle of a paint.
#include "VEK_GUI/SDevice.h"
#include "VEK_GUI/SWindow.h"
#include "VEK_UTIL/SError.h"
#include "tests/support/gui/MessagePump.h"
#include "tests/support/gui/WindowCapture.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const COLORREF white = RGB(255, 255, 255);
const COLORREF black = RGB(0, 0, 0);
const COLORREF red = RGB(255, 0, 0);
const COLORREF green = RGB(0, 255, 0);
const COLORREF blue = RGB(0, 0, 255);

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
