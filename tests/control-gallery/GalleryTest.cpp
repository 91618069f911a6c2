// The control gallery as a person sees it: every control inside the bars, captured in normal
// mode, in the layouter with a control dragged by the real pointer, and with a menu open;
// what the layouter stored shows in a gallery started anew as a program of its own.
#include "VEK_CONTROLS/SPositioningWnd.h"
#include "VEK_GUI/SGdiObject.h"
#include "VEK_UTIL/SResources.h"
#include "tests/control-gallery/GallerySetup.h"
#include "tests/support/BoxRecorder.h"
#include "tests/support/gui/Artifacts.h"
#include "tests/support/gui/InputSender.h"
#include "tests/support/gui/MessagePump.h"
#include "tests/support/gui/WindowCapture.h"
#include "tools/control-gallery/GalleryFrame.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace {

bool overlaps(const SRect& a, const SRect& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

bool inside(const SRect& r, const SRect& outer) {
    return r.x >= outer.x && r.y >= outer.y && r.x + r.width <= outer.x + outer.width &&
           r.y + r.height <= outer.y + outer.height;
}

TEST(Gallery, EveryControlShowsInsideTheBarsAndNoneCoversAnother) {
    BoxRecorder boxes;
    GalleryFrame frame;
    ASSERT_TRUE(openGallery(frame));
    WindowCapture shot = WindowCapture::ofWindow(frame.getHwnd());
    ASSERT_FALSE(shot.empty());
    EXPECT_TRUE(shot.savePng(artifactPath("control-gallery/normal.png")));

    const SRect inner = frame.getInnerRect();
    const COLORREF background = shot.pixel(inner.x + inner.width - 5, inner.y + inner.height - 5);
    const auto& controls = frame.getPlacedControls();
    ASSERT_FALSE(controls.empty());
    for (size_t i = 0; i < controls.size(); ++i) {
        SRect r = controls[i]->getWindowRect(false);
        EXPECT_TRUE(inside(r, inner)) << controls[i]->getClassName();
        // Something of each control is painted: the container shows its children.
        RECT area{r.x, r.y, r.x + r.width, r.y + r.height};
        EXPECT_LT(shot.countColor(background, area), r.width * r.height) << controls[i]->getClassName();
        for (size_t j = i + 1; j < controls.size(); ++j)
            EXPECT_FALSE(overlaps(r, controls[j]->getWindowRect(false)))
                << controls[i]->getClassName() << " " << controls[j]->getClassName();
    }
    EXPECT_EQ(boxes.count(), 0);
}

// The gallery program started in folder: its frame is the only one with the gallery's title.
class GalleryProcess {
public:
    explicit GalleryProcess(const SString& folder) {
        std::string program = CONTROL_GALLERY_PATH;
        if (program[0] == '/') program = "Z:" + program; // the Linux path of the build under Wine
        SString copy(folder);
        copy.append("\\control-gallery.exe");
        std::string commandLine = "\"" + std::string(copy.getBuffer()) + "\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        if (!CopyFileA(program.c_str(), copy, FALSE) ||
            !CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder, &startup, &info))
            return;
        // Shown once it holds its controls.
        MessagePump::until([this] { return IsWindowVisible(frame = FindWindowA(nullptr, GalleryFrame::Title)); },
                           15000);
        MessagePump::flush();
    }
    ~GalleryProcess() {
        if (!info.hProcess) return;
        if (frame) PostMessageA(frame, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(info.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(info.hProcess, 1);
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }
    GalleryProcess(const GalleryProcess&) = delete;
    GalleryProcess& operator=(const GalleryProcess&) = delete;

    HWND getFrame() const { return frame; }
    // The place of the frame's control with this text in the frame's client area.
    SRect childRect(const char* text) const {
        HWND child = FindWindowExA(frame, nullptr, nullptr, text);
        RECT r{};
        if (!child || !GetWindowRect(child, &r)) return SRect{};
        MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&r), 2);
        return SRect{r.left, r.top, r.right - r.left, r.bottom - r.top};
    }

private:
    PROCESS_INFORMATION info{};
    HWND frame = nullptr;
};

TEST(Gallery, ADraggedControlIsWhereItWasLeftWhenTheGalleryStartsAgain) {
    BoxRecorder boxes;
    SRect moved;
    {
        GalleryFrame frame;
        ASSERT_TRUE(openGallery(frame));
        SButton& button = frame.getRaisedButton();
        const SRect start = button.getWindowRect(false);
        frame.startPositioning();
        SPositioningWnd* overlay = button.getPositioningWnd();
        ASSERT_NE(overlay, nullptr);
        const int dx = 280, dy = 262; // into the free space below the progress bar
        ASSERT_TRUE(InputSender(overlay->getHwnd()).realDrag(60, 15, 60 + dx, 15 + dy));
        moved = button.getWindowRect(false);
        EXPECT_NEAR(moved.x, start.x + dx, 9);
        EXPECT_NEAR(moved.y, start.y + dy, 9);
        EXPECT_EQ(moved.width, start.width);
        WindowCapture shot = WindowCapture::ofWindow(frame.getHwnd());
        EXPECT_TRUE(shot.savePng(artifactPath("control-gallery/layouter-dragged.png")));
        EXPECT_EQ(shot.pixel(moved.x, moved.y), SPositioningWnd::Green); // the pointer rests on its overlay
        frame.stopPositioning();
    }
    GalleryProcess again(galleryFolder());
    ASSERT_NE(again.getFrame(), nullptr);
    EXPECT_EQ(again.childRect("Erhaben"), moved);
    EXPECT_EQ(boxes.count(), 0);
    globalResources.controlPositions.setSectionText("ControlGallery", "");
    globalResources.controlPositions.save();
}

// What the menu loop shows, seen from a timer that runs inside it.
struct MenuWatch {
    GalleryFrame* frame = nullptr;
    HWND menu = nullptr;
    RECT menuPlace{};
    int openId = 0;
    WindowCapture shot;
    int ticks = 0;
};
MenuWatch menuWatch;

HWND visiblePopupMenu() {
    for (HWND h = nullptr; (h = FindWindowExA(nullptr, h, "#32768", nullptr)) != nullptr;)
        if (IsWindowVisible(h)) return h;
    return nullptr;
}

void CALLBACK whileMenuOpen(HWND, UINT, UINT_PTR timer, DWORD) {
    MenuWatch& w = menuWatch;
    HWND menu = visiblePopupMenu();
    if (menu && !w.menu) {
        w.menu = menu;
        GetWindowRect(menu, &w.menuPlace);
        w.openId = w.frame->getMenubar().getOpenId();
        // Frame and menu together, as on the screen: the menu is a window of its own.
        RECT r;
        GetWindowRect(w.frame->getHwnd(), &r);
        HDC screen = GetDC(nullptr);
        w.shot = WindowCapture::ofDC(screen, r.left, r.top, r.right - r.left, r.bottom - r.top);
        ReleaseDC(nullptr, screen);
    }
    if (w.menu || ++w.ticks > 60) {
        KillTimer(nullptr, timer);
        EndMenu();
    }
}

TEST(Gallery, MenuBarOpensItsMenuUnderTheButton) {
    BoxRecorder boxes;
    GalleryFrame frame;
    ASSERT_TRUE(openGallery(frame));
    SMenubar& bar = frame.getMenubar();
    SRect button = bar.getButtonRect(frame.getFileMenuId());
    menuWatch = MenuWatch{};
    menuWatch.frame = &frame;
    SetTimer(nullptr, 0, 50, whileMenuOpen);
    ASSERT_TRUE(InputSender(bar.getHwnd()).realClick(button.x + 10, button.y + button.height / 2));
    MessagePump::until([] { return menuWatch.menu || menuWatch.ticks > 60; }, 5000);
    MessagePump::flush();

    ASSERT_NE(menuWatch.menu, nullptr);
    EXPECT_EQ(menuWatch.openId, frame.getFileMenuId());
    EXPECT_TRUE(menuWatch.shot.savePng(artifactPath("control-gallery/menu-open.png")));
    EXPECT_EQ(SMenubar::getOpenMenubar(), nullptr);
    // The menu hung below its button.
    SPoint under = bar.clientToScreen(SPoint{button.x, button.y + button.height});
    EXPECT_NEAR(menuWatch.menuPlace.left, under.x, 4);
    EXPECT_NEAR(menuWatch.menuPlace.top, under.y, 4);
}

// ---------------------------------------------------------------- leaks

// The gallery made and closed many times leaves no GDI object of the library and no window
// behind. The platform's count of GDI objects (GetGuiResources) answers 0 under Wine, so the
// library's owners count what they hold (SGdiCount) and the thread's windows are enumerated.
BOOL CALLBACK countOne(HWND, LPARAM counter) { return ++*reinterpret_cast<int*>(counter), TRUE; }

BOOL CALLBACK countWithChildren(HWND h, LPARAM counter) {
    countOne(h, counter);
    EnumChildWindows(h, countOne, counter);
    return TRUE;
}

// The thread's top-level windows and all their descendants.
int threadWindows() {
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), countWithChildren, (LPARAM)&count);
    return count;
}

// One gallery: made, shown, painted with every control, closed; whileOpen (if given) runs
// while it is open.
void galleryRound(const std::function<void()>& whileOpen = nullptr) {
    auto frame = std::make_unique<GalleryFrame>();
    ASSERT_TRUE(frame->create(nullptr));
    frame->show(SW_SHOWNORMAL);
    RedrawWindow(frame->getHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    if (whileOpen) whileOpen();
    frame.reset();
    MessagePump::dispatchPending();
}

TEST(GalleryLeaks, TwoHundredGalleriesLeaveTheGdiObjectsAndWindowsWhereTheyWere) {
    BoxRecorder boxes;
    galleryFolder();
    galleryRound(); // the first fills what lives with the application: fonts, classes, pictures
    const long gdiBefore = SGdiCount::live();
    const int windowsBefore = threadWindows();
    galleryRound([&] { // the counts see an open gallery
        EXPECT_GT(SGdiCount::live(), gdiBefore + 5);
        EXPECT_GT(threadWindows(), windowsBefore + 20);
    });
    for (int i = 0; i < 200 && !HasFatalFailure(); ++i) galleryRound();
    EXPECT_EQ(SGdiCount::live(), gdiBefore);
    EXPECT_EQ(threadWindows(), windowsBefore);
    EXPECT_EQ(boxes.count(), 0);
}

} // namespace
