// The program shares the screen with the windows of every other program there, of suites
// running beside this one too: its pictures are copied from the screen, and real clicks go
// to whatever window lies under the mouse.
#include "tests/program/Program.h"
#include "tests/support/gui/MessagePump.h"
#include "tests/support/gui/WindowCapture.h"

#include <gtest/gtest.h>

namespace {

// A red window of this process lying over a part of the screen; it counts the clicks it gets.
class Cover {
public:
    explicit Cover(RECT r) {
        static const char* name = [] {
            WNDCLASSA c{};
            c.lpfnWndProc = [](HWND h, UINT message, WPARAM w, LPARAM l) -> LRESULT {
                if (message == WM_LBUTTONDOWN) ++clicks;
                return DefWindowProcA(h, message, w, l);
            };
            c.hInstance = GetModuleHandleA(nullptr);
            c.hbrBackground = CreateSolidBrush(RGB(255, 0, 0));
            c.lpszClassName = "SharedScreenCover";
            RegisterClassA(&c);
            return c.lpszClassName;
        }();
        hwnd = CreateWindowExA(WS_EX_TOOLWINDOW, name, "", WS_POPUP, r.left, r.top, r.right - r.left,
                               r.bottom - r.top, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ShowWindow(hwnd, SW_SHOWNOACTIVATE);
        UpdateWindow(hwnd);
        MessagePump::flush();
    }
    ~Cover() { DestroyWindow(hwnd); }
    Cover(const Cover&) = delete;
    Cover& operator=(const Cover&) = delete;

    // Until it is the window under the middle of r, also once late events are handled.
    bool liesOver(RECT r) const {
        POINT middle{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        return MessagePump::until(
            [&] {
                if (WindowFromPoint(middle) != hwnd)
                    SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
                MessagePump::flush();
                return WindowFromPoint(middle) == hwnd;
            },
            5000);
    }

    HWND hwnd;
    static inline int clicks = 0;
};

int rowsDiffering(const WindowCapture& a, const WindowCapture& b) {
    int rows = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) {
                ++rows;
                break;
            }
    return rows;
}

} // namespace

// A window lying over the program, or one that has just left it, never shows in its picture.
TEST(SharedScreen, ThePictureOfTheProgramShowsItAloneWhateverLayOverIt) {
    Program program;
    ASSERT_TRUE(program.started && program.waitForMainWindow());
    WindowCapture alone = WindowCapture::ofWindow(program.main);
    ASSERT_FALSE(alone.empty());

    RECT r;
    GetWindowRect(program.main, &r);
    Cover cover(RECT{r.left, r.top, r.right, (r.top + r.bottom) / 2});
    WindowCapture covered = WindowCapture::ofWindow(program.main);
    ASSERT_EQ(covered.width(), alone.width());
    EXPECT_EQ(rowsDiffering(covered, alone), 0) << "the upper half lay under another window";

    // Away from the screen, but the program has not drawn the place it left yet.
    SetWindowPos(cover.hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    MessagePump::flush();
    ShowWindow(cover.hwnd, SW_HIDE);
    WindowCapture uncovered = WindowCapture::ofWindow(program.main);
    ASSERT_EQ(uncovered.width(), alone.width());
    EXPECT_EQ(rowsDiffering(uncovered, alone), 0) << "the place the other window left was not drawn again";
}

// Clicks on a control that another program's window lies over reach the control and never
// that window, whichever of the two is in front.
TEST(SharedScreen, ClicksReachTheProgramThroughAWindowLyingOverIt) {
    Program program;
    ASSERT_TRUE(program.started && program.waitForMainWindow());
    HWND start = program.child("Button", "Experiment starten");
    ASSERT_TRUE(start);
    SetForegroundWindow(program.main);
    ASSERT_TRUE(MessagePump::until([&] { return GetForegroundWindow() == program.main; }, 5000));
    RECT r;
    GetWindowRect(start, &r);
    Cover cover(r);
    ASSERT_TRUE(cover.liesOver(r));
    Cover::clicks = 0;
    HWND experiment = nullptr;
    ASSERT_TRUE(Program::press(start, [&] { return (experiment = program.waitForOwnedWindow(0)) != nullptr; }))
        << "the clicks did not reach the button";
    EXPECT_EQ(Cover::clicks, 0) << "a click went to the window lying over the program";

    // The other program in front, its window over the experiment window's close button.
    HWND close = childOf(experiment, "Button", "schlie\337en");
    ASSERT_TRUE(close);
    GetWindowRect(close, &r);
    SetWindowPos(cover.hwnd, HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top, 0);
    SetForegroundWindow(cover.hwnd);
    ASSERT_TRUE(cover.liesOver(r));
    EXPECT_TRUE(Program::press(close, [&] { return !IsWindowVisible(experiment); }))
        << "the clicks did not reach the button";
    EXPECT_EQ(Cover::clicks, 0) << "a click went to the window lying over the program";
}
