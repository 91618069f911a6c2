// A window's life: creation that fails, calls before creation, the end of a modal run, the
// icons of frames sharing a class, and helpers that follow the window's size.
#include "VEK_GUI/SFrameWindow.h"
#include "VEK_GUI/SToolTip.h"
#include "VEK_GUI/SWindow.h"
#include "tests/support/BitmapFile.h"
#include "tests/support/BoxRecorder.h"
#include "tests/support/TempDir.h"
#include "tests/support/gui/MessagePump.h"
#include "tests/support/TestResources.h"

#include <gtest/gtest.h>

namespace {

class Counted : public SWindow {
public:
    int creates = 0, closes = 0, destroys = 0;
    void onCreate(CREATESTRUCTA*) override { ++creates; }
    int onClose() override { return ++closes, 1; }
    void onDestroy() override { ++destroys; }
};

class LifetimeTest : public ::testing::Test {
protected:
    BoxRecorder boxes;
    void TearDown() override { MessagePump::flush(); }
};

TEST_F(LifetimeTest, ModalRunClosedByTheUserAsksOnCloseOnce) {
    Counted owner, dialog;
    ASSERT_TRUE(owner.create(nullptr));
    owner.show(SW_SHOW);
    ASSERT_TRUE(dialog.create(&owner));
    PostMessageA(dialog.getHwnd(), WM_CLOSE, 0, 0);
    dialog.showModal();
    EXPECT_EQ(dialog.closes, 1);
    EXPECT_EQ(dialog.destroys, 1);
    EXPECT_EQ(dialog.getHwnd(), nullptr); // no stale handle to act on
    dialog.close();
    EXPECT_EQ(dialog.closes, 1);
}

TEST_F(LifetimeTest, FailedRegistrationClaimsNoLaterWindow) {
    class Unregistrable : public Counted {
    public:
        Unregistrable() {
            className = "VEK_LIFETIME_INVALID_CLASS";
            windowClass.cbClsExtra = -1;
        }
    } failed;
    EXPECT_FALSE(failed.create(nullptr));
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().text.find("Registrierung fehlgeschlagen, "), 0);

    Counted next;
    ASSERT_TRUE(next.create(nullptr));
    EXPECT_EQ(next.creates, 1);
    EXPECT_EQ(failed.creates, 0);
    EXPECT_EQ(failed.getHwnd(), nullptr);
}

TEST_F(LifetimeTest, BeforeCreationInvalidateAndFocusTouchNoOtherWindow) {
    Counted shown;
    ASSERT_TRUE(shown.create(nullptr));
    shown.show(SW_SHOW);
    SetForegroundWindow(shown.getHwnd());
    SetFocus(shown.getHwnd());
    UpdateWindow(shown.getHwnd());
    MessagePump::flush();
    ASSERT_EQ(GetFocus(), shown.getHwnd());

    Counted notYet;
    notYet.invalidate();
    notYet.invalidate(SRect{0, 0, 10, 10});
    notYet.setFocus();
    RECT dirty{};
    EXPECT_FALSE(GetUpdateRect(shown.getHwnd(), &dirty, FALSE));
    EXPECT_EQ(GetFocus(), shown.getHwnd());
}

// Frames of one class with icons of their own: each window shows its own, and the class keeps
// an icon that outlives every frame.
TEST_F(LifetimeTest, EveryFrameShowsItsOwnIconsAndTheClassKeepsAValidOne) {
    startTestResources(nullptr);
    TempDir icons;
    writeIconFile(icons, "red.ico", 32, 0xFF0000);
    writeIconFile(icons, "blue.ico", 32, 0x0000FF);
    class IconFrame : public SFrameWindow {
    public:
        IconFrame(const SString& icon) {
            className = "VEK_ICON_FRAME";
            bigIconName = icon;
            smallIconName = icon;
            showInfoButton = 0;
        }
        const char* getClassName() const override { return "IconFrame"; }
        HICON big() const { return bigIcon.get(); }
    };
    auto* red = new IconFrame(icons.file("red.ico"));
    IconFrame blue(icons.file("blue.ico"));
    ASSERT_TRUE(red->create(nullptr));
    ASSERT_TRUE(blue.create(nullptr));
    ASSERT_NE(red->big(), nullptr);
    ASSERT_NE(blue.big(), red->big());
    EXPECT_EQ((HICON)SendMessageA(red->getHwnd(), WM_GETICON, ICON_BIG, 0), red->big());
    EXPECT_EQ((HICON)SendMessageA(blue.getHwnd(), WM_GETICON, ICON_BIG, 0), blue.big());

    delete red;
    HICON classIcon = (HICON)GetClassLongPtrA(blue.getHwnd(), GCLP_HICON);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(classIcon, &info));
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
}

TEST_F(LifetimeTest, ToolTipAreaFollowsTheOwnersSize) {
    SWindow w;
    ASSERT_TRUE(w.create(nullptr));
    ASSERT_EQ(w.addToolTip("Hilfe"), 1);
    w.moveWindow(30, 30, 500, 420);
    MessagePump::flush();
    TOOLINFOA info{};
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.hwnd = w.getHwnd();
    ASSERT_TRUE(SendMessageA(w.getToolTip()->getHwnd(), TTM_GETTOOLINFOA, 0, (LPARAM)&info));
    SRect client = w.getClientRect();
    EXPECT_EQ(info.rect.right, client.width);
    EXPECT_EQ(info.rect.bottom, client.height);
}

} // namespace
