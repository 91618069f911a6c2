// The GUI test harness against a plain Win32 window: capture, PNG, input, dialogs, pump.
#include "tests/support/gui/Artifacts.h"
#include "tests/support/gui/DialogAnswerer.h"
#include "tests/support/gui/GdiplusScope.h"
#include "tests/support/gui/InputSender.h"
#include "tests/support/gui/MessagePump.h"
#include "tests/support/gui/WindowCapture.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <gdiplus.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {
constexpr COLORREF red = RGB(255, 0, 0);
constexpr COLORREF white = RGB(255, 255, 255);
constexpr RECT redRect{10, 10, 110, 60};
constexpr RECT textRect{10, 80, 200, 110};
constexpr RECT buttonRect{150, 10, 250, 40};
constexpr int buttonId = 101;
const char* const windowClass = "HarnessTestWindow";

struct Seen {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<Seen> seen;

bool recorded(UINT m) {
    return (m >= WM_MOUSEFIRST && m <= WM_MOUSELAST) || (m >= WM_KEYFIRST && m <= WM_KEYLAST) ||
           m == WM_COMMAND || m == WM_APP || m == WM_TIMER;
}

void paint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    HBRUSH brush = CreateSolidBrush(red);
    FillRect(dc, &redRect, brush);
    DeleteObject(brush);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    TextOutA(dc, textRect.left, textRect.top, "Hallo Harness", 13);
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK testProc(HWND hwnd, UINT m, WPARAM w, LPARAM l) {
    if (recorded(m)) seen.push_back({m, w, l});
    if (m == WM_PAINT) {
        paint(hwnd);
        return 0;
    }
    return DefWindowProcA(hwnd, m, w, l);
}

void registerClass() {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = testProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    wc.lpszClassName = windowClass;
    RegisterClassExA(&wc); // fails harmlessly when the class exists
}

std::vector<UINT> messages() {
    std::vector<UINT> list;
    for (const auto& s : seen) list.push_back(s.message);
    return list;
}

class Harness : public ::testing::Test {
protected:
    void SetUp() override {
        registerClass();
        hwnd = CreateWindowExA(0, windowClass, "Harness", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 60, 60,
                               400, 300, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(hwnd);
        button = CreateWindowExA(0, "BUTTON", "Knopf", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                                 buttonRect.left, buttonRect.top, buttonRect.right - buttonRect.left,
                                 buttonRect.bottom - buttonRect.top, hwnd, (HMENU)(INT_PTR)buttonId,
                                 GetModuleHandleA(nullptr), nullptr);
        ShowWindow(hwnd, SW_SHOWNORMAL);
        UpdateWindow(hwnd);
        SetForegroundWindow(hwnd);
        MessagePump::flush();
        seen.clear();
    }
    void TearDown() override {
        DestroyWindow(hwnd);
        MessagePump::flush();
    }
    HWND hwnd = nullptr;
    HWND button = nullptr;
};

double threadCpuMs() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    auto ticks = [](FILETIME t) { return (double)(((ULONGLONG)t.dwHighDateTime << 32) | t.dwLowDateTime); };
    return (ticks(kernel) + ticks(user)) / 10000.0;
}
} // namespace

// What the other suites count on without ever seeing it fail: exact counts, a blank area
// that reads as blank, a child drawn over its parent, and rectangles clipped to the picture.
TEST_F(Harness, CaptureShowsPaintingChildAndText) {
    WindowCapture shot = WindowCapture::ofWindow(hwnd);
    ASSERT_FALSE(shot.empty());
    RECT client;
    GetClientRect(hwnd, &client);
    EXPECT_EQ(shot.width(), client.right);
    EXPECT_EQ(shot.height(), client.bottom);
    EXPECT_EQ(shot.countColor(red, redRect), 100 * 50);
    EXPECT_EQ(shot.countColor(red, {-50, -50, 5000, 5000}), 100 * 50); // red nowhere else, clipped
    EXPECT_EQ(shot.pixel(shot.width(), 0), CLR_INVALID);

    // A themed button of common controls 6 has a face of light shades, not the parent's white.
    RECT inner{buttonRect.left + 3, buttonRect.top + 3, buttonRect.right - 3, buttonRect.bottom - 3};
    EXPECT_LT(shot.countColor(white, inner), (inner.right - inner.left) * (inner.bottom - inner.top));
    EXPECT_TRUE(shot.hasTextLike(inner));
    EXPECT_TRUE(shot.hasTextLike(textRect, white));
    EXPECT_FALSE(shot.hasTextLike({10, 200, 300, 250}, white));
}

TEST_F(Harness, PngIsValidAndHoldsThePixels) {
    WindowCapture shot = WindowCapture::ofWindow(hwnd);
    std::string path = artifactPath("harness/window.png");
    DeleteFileA(path.c_str());
    ASSERT_TRUE(shot.savePng(path));

    unsigned char head[8] = {};
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        EXPECT_EQ(std::fread(head, 1, sizeof head, f), sizeof head);
        std::fclose(f);
    }
    const unsigned char signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    EXPECT_TRUE(std::equal(std::begin(signature), std::end(signature), head));

    // Read back: red must stay red (a swapped channel order would make it blue).
    GdiplusScope gdiplus;
    std::wstring wide(path.begin(), path.end());
    Gdiplus::Bitmap loaded(wide.c_str());
    ASSERT_EQ(loaded.GetLastStatus(), Gdiplus::Ok);
    EXPECT_EQ(loaded.GetWidth(), (UINT)shot.width());
    EXPECT_EQ(loaded.GetHeight(), (UINT)shot.height());
    Gdiplus::Color c;
    loaded.GetPixel(redRect.left + 5, redRect.top + 5, &c);
    EXPECT_EQ(c.GetR(), 255);
    EXPECT_EQ(c.GetB(), 0);
    EXPECT_EQ(c.GetA(), 255);
}

TEST_F(Harness, MouseMessagesCarryCoordinatesAndButtons) {
    for (auto mode : {InputSender::Mode::Send, InputSender::Mode::Post}) {
        seen.clear();
        InputSender input(hwnd, mode);
        input.click(30, 250);
        ASSERT_EQ(messages(), (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP}));
        EXPECT_EQ(seen[0].wParam, (WPARAM)MK_LBUTTON);
        EXPECT_EQ(seen[0].lParam, MAKELPARAM(30, 250));
        EXPECT_EQ(seen[1].wParam, 0u);

        seen.clear();
        input.drag(10, 10, 50, 30, 2);
        ASSERT_EQ(messages(), (std::vector<UINT>{WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_MOUSEMOVE, WM_LBUTTONUP}));
        EXPECT_EQ(seen[1].lParam, MAKELPARAM(30, 20));
        EXPECT_EQ(seen[2].wParam, (WPARAM)MK_LBUTTON);
        EXPECT_EQ(seen[3].lParam, MAKELPARAM(50, 30));
    }
}

TEST_F(Harness, KeyMessagesCarryScanCodeAndStateBits) {
    InputSender input(hwnd);
    input.keyDown(VK_LEFT);
    input.keyUp(VK_LEFT);
    input.keyDown('A', 3);
    ASSERT_EQ(messages(), (std::vector<UINT>{WM_KEYDOWN, WM_KEYUP, WM_KEYDOWN}));
    LPARAM scan = MapVirtualKeyA(VK_LEFT, MAPVK_VK_TO_VSC);
    ASSERT_NE(scan, 0);
    EXPECT_EQ(seen[0].wParam, (WPARAM)VK_LEFT);
    EXPECT_EQ(seen[0].lParam, 1 | scan << 16 | 1 << 24); // extended key, first press
    EXPECT_EQ((unsigned long)seen[1].lParam & 0xFFFFFFFFul, 0xC1000001ul | (unsigned long)scan << 16);
    EXPECT_EQ(seen[2].lParam & 0xFFFF, 3);              // repeat count
    EXPECT_NE(seen[2].lParam & (1 << 30), 0);           // key was down before
    EXPECT_EQ((seen[2].lParam >> 16) & 0xFF, (LPARAM)MapVirtualKeyA('A', MAPVK_VK_TO_VSC));

    seen.clear();
    input.keyDown(VK_MENU);
    ASSERT_EQ(messages(), (std::vector<UINT>{WM_SYSKEYDOWN}));
    EXPECT_NE(seen[0].lParam & (1 << 29), 0); // Alt context bit
}

TEST_F(Harness, MessageBoxIsAnsweredAndRecorded) {
    DialogAnswerer answerer(IDNO);
    EXPECT_EQ(MessageBoxA(hwnd, "Wirklich l\366schen?", "Frage", MB_YESNO | MB_ICONQUESTION), IDNO);
    ASSERT_EQ(answerer.count(), 1);
    EXPECT_EQ(answerer.last().caption, "Frage");
    EXPECT_EQ(answerer.last().text, "Wirklich l\366schen?");
    EXPECT_EQ(answerer.last().answer, IDNO);

    // Queued answers come first; a box without the chosen button gets its default button.
    answerer.queue(IDYES);
    EXPECT_EQ(MessageBoxA(hwnd, "eins", "A", MB_YESNO), IDYES);
    EXPECT_EQ(MessageBoxA(hwnd, "zwei", "B", MB_OK), IDOK);
    EXPECT_EQ(MessageBoxA(nullptr, "drei", "C", MB_OKCANCEL | MB_DEFBUTTON2), IDCANCEL);
    ASSERT_EQ(answerer.count(), 4);
    EXPECT_EQ(answerer[1].answer, IDYES);
    EXPECT_EQ(answerer[2].answer, 0);
    EXPECT_EQ(answerer[3].text, "drei");
}

TEST_F(Harness, CommonDialogControlsAreFilledBeforeAnswering) {
    static COLORREF custom[16] = {};
    CHOOSECOLORA cc = {};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = hwnd;
    cc.rgbResult = RGB(1, 2, 3);
    cc.lpCustColors = custom;
    cc.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR;
    {
        DialogAnswerer answerer(IDCANCEL);
        EXPECT_FALSE(ChooseColorA(&cc));
        EXPECT_EQ(answerer.count(), 1);
    }
    DialogAnswerer answerer(IDOK);
    answerer.fill(706, "10"); // red, green, blue edits of the full colour dialog
    answerer.fill(707, "20");
    answerer.fill(708, "30");
    ASSERT_TRUE(ChooseColorA(&cc));
    EXPECT_EQ(cc.rgbResult, RGB(10, 20, 30));
}

// A condition that never holds: the pump waits out the deadline without spinning.
TEST_F(Harness, PumpWaitsForTheDeadlineWithoutSpinning) {
    auto start = std::chrono::steady_clock::now();
    double cpu = threadCpuMs();
    EXPECT_FALSE(MessagePump::until([] { return false; }, 300));
    auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(300));
    EXPECT_LT(threadCpuMs() - cpu, 150.0); // waited, did not spin
}

TEST_F(Harness, PumpDispatchesPostedMessagesAndIgnoresTimersWhenFlushing) {
    PostMessageA(hwnd, WM_APP, 1, 2);
    MessagePump::flush();
    ASSERT_EQ(messages(), (std::vector<UINT>{WM_APP}));

    SetTimer(hwnd, 7, 10, nullptr);
    auto start = std::chrono::steady_clock::now();
    MessagePump::flush(20, 3000);
    auto took = std::chrono::steady_clock::now() - start;
    KillTimer(hwnd, 7);
    EXPECT_LT(took, std::chrono::milliseconds(1500)); // a running timer does not hold it to the cap

    seen.clear();
    SetTimer(hwnd, 8, 10, nullptr);
    MessagePump::run(200);
    KillTimer(hwnd, 8);
    int ticks = 0;
    for (const auto& s : seen) ticks += s.message == WM_TIMER;
    EXPECT_GE(ticks, 5); // the loop ran the whole time
}

