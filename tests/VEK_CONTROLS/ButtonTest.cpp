// Buttons: the flat and the raised form as their style says, the default button and the keys of a dialog (real key presses), mouse-over.
#include "VEK_CONTROLS/SButton.h"
#include "VEK_GUI/SDialog.h"
#include "tests/VEK_CONTROLS/ControlHost.h"
#include "tests/support/BoxRecorder.h"
#include "tests/support/gui/Artifacts.h"
#include "tests/support/gui/InputSender.h"
#include "tests/support/gui/MessagePump.h"
#include "tests/support/gui/WindowCapture.h"

#include <gtest/gtest.h>

namespace {

// A button whose normal and mouse-over colours come from a style of the suite.
class StyledButton : public SButton {
public:
    explicit StyledButton(const char* styleText) : colorStyle(styleText) {}
    void onBeforeCreate() override {
        SButton::onBeforeCreate();
        readColors(colorStyle, normalColors);
        readColors(colorStyle, mouseOverColors);
    }
    const char* colorStyle;
};

class CountingButton : public SButton {
public:
    int clicks = 0;
    void onClicked() override { ++clicks; }
};

TEST(ButtonDrawing, FlatAndRaisedFormsFollowTheirStyle) {
    BoxRecorder boxes;
    SetCursorPos(0, 0); // no mouse-over colours
    ControlHost host;
    ASSERT_TRUE(host.open());
    StyledButton flat("Test-flat"), raised("Test-raised");
    flat.createCtrl(&host, "flach", 20, 20, 100, 30);
    raised.createCtrl(&host, "erhaben", 20, 80, 100, 30);
    MessagePump::flush();
    WindowCapture shot = WindowCapture::ofWindow(host.getHwnd());
    ASSERT_FALSE(shot.empty());
    EXPECT_TRUE(shot.savePng(artifactPath("controls/buttons-flat-raised.png")));
    const COLORREF face = 0xFFFF00, red = 0x0000FF, white = 0xFFFFFF, black = 0x000000;
    // Flat: one outline in the edge colour all round.
    EXPECT_EQ(shot.pixel(20, 35), red);
    EXPECT_EQ(shot.pixel(119, 35), red);
    EXPECT_EQ(shot.pixel(70, 20), red);
    EXPECT_EQ(shot.pixel(70, 49), red);
    EXPECT_EQ(shot.pixel(30, 25), face);
    // Raised: light top and left edges, dark bottom and right ones.
    EXPECT_EQ(shot.pixel(20, 95), white);
    EXPECT_EQ(shot.pixel(70, 80), white);
    EXPECT_EQ(shot.pixel(119, 95), black);
    EXPECT_EQ(shot.pixel(70, 109), black);
    EXPECT_EQ(shot.pixel(30, 85), face);
    // Text in the text colour, on the face.
    EXPECT_TRUE(shot.hasTextLike(RECT{25, 24, 115, 46}, face));
}

TEST(ButtonMouse, OverShowsTheHandAndLeavingEndsIt) {
    BoxRecorder boxes;
    ControlHost host;
    ASSERT_TRUE(host.open());
    SButton button;
    button.createCtrl(&host, "Maus", 10, 10);
    SendMessageA(button.getHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(button.isMouseOver());
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_HAND));
    SendMessageA(button.getHwnd(), WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(button.isMouseOver());
}

// A dialog counting what its keys did.
class KeyDialog : public SDialog {
public:
    KeyDialog() {
        style = WS_POPUP;
        rect = SRect{40, 40, 300, 200};
        showInfoButton = 0;
    }
    int cancels = 0;
    int onCancel() override { return ++cancels, 0; } // stays open
};

class DialogKeys : public ::testing::Test {
protected:
    BoxRecorder boxes;
    KeyDialog dialog;
    CountingButton save, other;
    void SetUp() override {
        startControlResources();
        ASSERT_TRUE(dialog.create(nullptr));
        save.setDefault();
        save.createCtrl(&dialog, "speichern", -100, -30);
        other.createCtrl(&dialog, "anders", 20, 20);
        dialog.getCancelButton().createCtrl(&dialog, "abbrechen", 20, -30, 80, 20);
        ShowWindow(dialog.getHwnd(), SW_SHOWNORMAL);
        MessagePump::flush();
    }
    // Enter, pressed for real while the dialog has the keyboard.
    void pressEnter() {
        SetFocus(dialog.getHwnd());
        ASSERT_TRUE(InputSender(dialog.getHwnd()).realKey(VK_RETURN));
    }
};

TEST_F(DialogKeys, EnterClicksOnlyAVisibleEnabledDefaultButton) {
    ASSERT_TRUE(save.isDefaultButton());
    pressEnter();
    EXPECT_EQ(save.clicks, 1);
    save.enable(false);
    pressEnter();
    save.enable(true);
    save.hide();
    pressEnter();
    EXPECT_EQ(save.clicks, 1);
    EXPECT_EQ(other.clicks, 0);
    save.show(SW_SHOW);
    other.setDefault(); // the siblings hear of the new default
    EXPECT_FALSE(save.isDefaultButton());
    EXPECT_TRUE(other.isDefaultButton());
    pressEnter();
    EXPECT_EQ(other.clicks, 1);
    EXPECT_EQ(save.clicks, 1);
}

TEST_F(DialogKeys, EscapeClicksTheButtonWithIdTwo) {
    EXPECT_EQ(dialog.getCancelButton().getControlId(), 2);
    EXPECT_EQ(dialog.getOkButton().getControlId(), 1);
    SetFocus(other.getHwnd()); // the key climbs from the focused button to the dialog
    ASSERT_TRUE(InputSender(dialog.getHwnd()).realKey(VK_ESCAPE));
    EXPECT_EQ(dialog.cancels, 1);
    EXPECT_EQ(save.clicks + other.clicks, 0);
    EXPECT_TRUE(dialog.isWindow());
}

} // namespace
