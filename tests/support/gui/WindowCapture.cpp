#include "tests/support/gui/WindowCapture.h"

#include "tests/support/gui/GdiplusScope.h"
#include "tests/support/gui/MessagePump.h"
#include "tests/support/gui/Raise.h"

#include <gdiplus.h>

#include <algorithm>
#include <cstdlib>
#include <map>

namespace {
struct MemoryDC {
    HDC dc = CreateCompatibleDC(nullptr);
    ~MemoryDC() { DeleteDC(dc); }
    MemoryDC() = default;
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
};

struct WindowDC {
    HWND hwnd;
    HDC dc;
    explicit WindowDC(HWND h) : hwnd(h), dc(GetDC(h)) {}
    ~WindowDC() { ReleaseDC(hwnd, dc); }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
};

struct DibSection {
    HBITMAP bitmap = nullptr;
    void* bits = nullptr;
    DibSection(int width, int height) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height; // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    }
    ~DibSection() {
        if (bitmap) DeleteObject(bitmap);
    }
    DibSection(const DibSection&) = delete;
    DibSection& operator=(const DibSection&) = delete;
};

COLORREF toColorref(std::uint32_t p) { return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF); }

bool within(COLORREF a, COLORREF b, int tolerance) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
           std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

bool pngEncoder(CLSID& clsid) {
    UINT count = 0, size = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0) return false;
    std::vector<unsigned char> buffer(size);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (Gdiplus::GetImageEncoders(count, size, codecs) != Gdiplus::Ok) return false;
    for (UINT i = 0; i < count; ++i) {
        if (codecs[i].MimeType && wcscmp(codecs[i].MimeType, L"image/png") == 0) {
            clsid = codecs[i].Clsid;
            return true;
        }
    }
    return false;
}

// What another process's window shows can take this long to be had whole, on a loaded machine.
constexpr int otherProcessBudgetMs = 10000;

// No window under test paints this colour: a pixel that still shows it was not drawn after the
// marker window left.
constexpr COLORREF markerColour = RGB(0xFE, 0x01, 0xFD);

bool ofThisProcess(HWND hwnd) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    return pid == GetCurrentProcessId();
}

RECT clientOnScreen(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool wholeOnScreen(RECT r) {
    RECT screen{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN), 0, 0};
    screen.right = screen.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
    screen.bottom = screen.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
    RECT both;
    return IntersectRect(&both, &r, &screen) && EqualRect(&both, &r);
}

// Whether a visible window above root in the z-order overlaps r (screen coordinates).
bool coveredAt(HWND root, RECT r) {
    for (HWND above = GetWindow(root, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV)) {
        RECT place, overlap;
        if (IsWindowVisible(above) && GetWindowRect(above, &place) && IntersectRect(&overlap, &place, &r)) return true;
    }
    return false;
}

WindowCapture copyOfClient(HWND hwnd, int width, int height) {
    WindowDC dc(hwnd);
    return dc.dc ? WindowCapture::ofDC(dc.dc, 0, 0, width, height) : WindowCapture();
}

WindowCapture copyOfScreen(RECT r) {
    WindowDC screen(nullptr);
    return screen.dc ? WindowCapture::ofDC(screen.dc, r.left, r.top, r.right - r.left, r.bottom - r.top)
                     : WindowCapture();
}

int markerPixels(const WindowCapture& shot) { return shot.countColor(markerColour, shot.bounds()); }

// A window of the marker colour over a place of the screen, above all others, while it lives.
class MarkerWindow {
public:
    explicit MarkerWindow(RECT r) : place(r) {
        static const char* className = [] {
            WNDCLASSA c{};
            c.lpfnWndProc = DefWindowProcA;
            c.hInstance = GetModuleHandleA(nullptr);
            c.hbrBackground = CreateSolidBrush(markerColour);
            c.lpszClassName = "WindowCaptureMarker";
            RegisterClassA(&c);
            return c.lpszClassName;
        }();
        hwnd = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, className, "", WS_POPUP,
                               r.left, r.top, r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
        if (hwnd) ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    }
    ~MarkerWindow() {
        if (hwnd) DestroyWindow(hwnd);
    }
    MarkerWindow(const MarkerWindow&) = delete;
    MarkerWindow& operator=(const MarkerWindow&) = delete;

    // Whether the screen shows the marker all over the place yet.
    bool shown() const {
        WindowCapture screen = copyOfScreen(place);
        return hwnd && !screen.empty() && markerPixels(screen) == screen.width() * screen.height();
    }

private:
    RECT place;
    HWND hwnd = nullptr;
};

std::wstring widen(const std::string& text) {
    int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide((std::size_t)std::max(n, 1), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), n);
    wide.resize(wcslen(wide.c_str()));
    return wide;
}
} // namespace

WindowCapture::WindowCapture(int width, int height)
    : width_(width), height_(height), pixels_((std::size_t)width * (std::size_t)height) {}

bool WindowCapture::copyFrom(HDC source, int x, int y) {
    DibSection dib(width_, height_);
    MemoryDC memory;
    if (!dib.bitmap || !memory.dc) return false;
    HGDIOBJ old = SelectObject(memory.dc, dib.bitmap);
    BOOL copied = BitBlt(memory.dc, 0, 0, width_, height_, source, x, y, SRCCOPY | CAPTUREBLT);
    GdiFlush();
    SelectObject(memory.dc, old);
    if (!copied) return false;
    std::copy_n(static_cast<const std::uint32_t*>(dib.bits), pixels_.size(), pixels_.begin());
    return true;
}

WindowCapture WindowCapture::ofWindow(HWND hwnd) {
    if (!IsWindow(hwnd) || !IsWindowVisible(hwnd)) return {};
    if (!ofThisProcess(hwnd)) return ofOtherProcess(hwnd);
    // Paint what is invalid, children included, and let them finish before copying.
    RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    MessagePump::flush();
    RECT client;
    GetClientRect(hwnd, &client);
    if (client.right <= 0 || client.bottom <= 0) return {};
    WindowCapture capture(client.right, client.bottom);
    WindowDC dc(hwnd);
    if (!dc.dc || !capture.copyFrom(dc.dc, 0, 0)) return {};
    return capture;
}

// Under Wine a process draws its windows into surfaces of its own and copies them to the X
// screen when it goes idle; a window of another process can only be copied from the screen.
// There a part that another window lies over comes out black, and a part just uncovered shows
// what lay there until the owner copies its surface again. So the window is raised when
// covered, a marker window of this process is laid over it and taken away, which makes the
// owner copy its surface anew, and a copy counts once no marker pixel is left in it and it
// equals the screen there, which it does not where another window lies over it.
WindowCapture WindowCapture::ofOtherProcess(HWND hwnd) {
    const HWND root = GetAncestor(hwnd, GA_ROOT);
    const DWORD start = GetTickCount();
    auto timeLeft = [&] { return std::max(0, otherProcessBudgetMs - (int)(GetTickCount() - start)); };
    // Wine's z-order and the X screen's can disagree for a while (for example after an old
    // expose event of a window above): then the copy differs from the screen.
    bool screenDisagreed = false;
    while (timeLeft() > 0) {
        if (!IsWindow(hwnd) || !IsWindowVisible(hwnd)) return {};
        RECT place = clientOnScreen(hwnd);
        int width = place.right - place.left, height = place.bottom - place.top;
        if (width <= 0 || height <= 0) return {};
        // Nothing to compare with where the screen ends: copied as it is.
        if (!wholeOnScreen(place)) return copyOfClient(hwnd, width, height);
        if (screenDisagreed || coveredAt(root, place)) {
            raiseAboveAll(root);
            screenDisagreed = false;
            MessagePump::flush();
            continue;
        }
        {
            MarkerWindow marker(place);
            if (!MessagePump::until([&] { return marker.shown(); }, timeLeft())) continue;
        }
        WindowCapture shot;
        MessagePump::until(
            [&] {
                shot = copyOfClient(hwnd, width, height);
                return !shot.empty() && markerPixels(shot) == 0;
            },
            timeLeft());
        if (shot.empty() || markerPixels(shot) > 0) continue;
        if (shot.pixels_ == copyOfScreen(place).pixels_ && !coveredAt(root, place)) return shot;
        screenDisagreed = true;
    }
    return {};
}

WindowCapture WindowCapture::ofDC(HDC dc, int x, int y, int width, int height) {
    if (!dc || width <= 0 || height <= 0) return {};
    WindowCapture capture(width, height);
    if (!capture.copyFrom(dc, x, y)) return {};
    return capture;
}

WindowCapture WindowCapture::ofBitmap(HBITMAP bitmap) {
    BITMAP info;
    if (!bitmap || GetObjectA(bitmap, sizeof info, &info) != sizeof info) return {};
    WindowCapture capture(info.bmWidth, info.bmHeight);
    BITMAPINFO header = {};
    header.bmiHeader.biSize = sizeof header.bmiHeader;
    header.bmiHeader.biWidth = info.bmWidth;
    header.bmiHeader.biHeight = -info.bmHeight;
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    header.bmiHeader.biCompression = BI_RGB;
    MemoryDC memory;
    // Reads the bitmap also while the caller's memory DC still holds it selected.
    int rows = GetDIBits(memory.dc, bitmap, 0, (UINT)info.bmHeight, capture.pixels_.data(), &header,
                         DIB_RGB_COLORS);
    if (rows != info.bmHeight) return {};
    return capture;
}

RECT WindowCapture::clip(RECT r) const {
    return {std::max<LONG>(r.left, 0), std::max<LONG>(r.top, 0), std::min<LONG>(r.right, width_),
            std::min<LONG>(r.bottom, height_)};
}

COLORREF WindowCapture::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
    return toColorref(pixels_[(std::size_t)y * (std::size_t)width_ + (std::size_t)x]);
}

int WindowCapture::countColor(COLORREF colour, RECT r, int tolerance) const {
    RECT c = clip(r);
    int count = 0;
    for (int y = c.top; y < c.bottom; ++y)
        for (int x = c.left; x < c.right; ++x)
            if (within(pixel(x, y), colour, tolerance)) ++count;
    return count;
}

COLORREF WindowCapture::dominantColor(RECT r) const {
    RECT c = clip(r);
    std::map<COLORREF, int> counts;
    for (int y = c.top; y < c.bottom; ++y)
        for (int x = c.left; x < c.right; ++x) ++counts[pixel(x, y)];
    auto best = std::max_element(counts.begin(), counts.end(),
                                 [](const auto& a, const auto& b) { return a.second < b.second; });
    return best == counts.end() ? CLR_INVALID : best->first;
}

bool WindowCapture::hasTextLike(RECT r, COLORREF background) const {
    RECT c = clip(r);
    for (int y = c.top; y < c.bottom; ++y)
        for (int x = c.left; x < c.right; ++x)
            if (pixel(x, y) != background) return true;
    return false;
}

bool WindowCapture::savePng(const std::string& path) const {
    if (empty()) return false;
    GdiplusScope gdiplus;
    CLSID png;
    if (!gdiplus.ok() || !pngEncoder(png)) return false;
    // GDI+ only reads the buffer while saving, the cast drops a const it does not need.
    Gdiplus::Bitmap image(width_, height_, width_ * 4, PixelFormat32bppRGB,
                          reinterpret_cast<BYTE*>(const_cast<std::uint32_t*>(pixels_.data())));
    return image.GetLastStatus() == Gdiplus::Ok && image.Save(widen(path).c_str(), &png, nullptr) == Gdiplus::Ok;
}
