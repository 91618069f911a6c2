// Combo boxes, labels, multi-line edits, check boxes with dependents, image controls,
// containers and buttons: each through its public operations on real platform controls.
#include "VEK_CONTROLS/SButton.h"
#include "VEK_CONTROLS/SCheckBox.h"
#include "VEK_CONTROLS/SComboBox.h"
#include "VEK_CONTROLS/SControlContainer.h"
#include "VEK_CONTROLS/SEdit.h"
#include "VEK_CONTROLS/SEditMultiline.h"
#include "VEK_CONTROLS/SImageControl.h"
#include "VEK_CONTROLS/SLabel.h"
#include "VEK_CONTROLS/SStatic.h"
#include "VEK_GUI/SDialog.h"
#include "tests/VEK_CONTROLS/ControlHost.h"
#include "tests/support/BitmapFile.h"
#include "tests/support/BoxRecorder.h"
#include "tests/support/TempDir.h"
#include "tests/support/gui/Artifacts.h"
#include "tests/support/gui/InputSender.h"
#include "tests/support/gui/MessagePump.h"
#include "tests/support/gui/WindowCapture.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

class TextControls : public ::testing::Test {
protected:
    BoxRecorder boxes;
    ControlHost host;
    void SetUp() override { ASSERT_TRUE(host.open()); }
};

// A search from index 0 includes entry 0 itself: the platform starts after the index it gets.
TEST_F(TextControls, ComboBoxSearchesFromStartMinusOne) {
    SComboBox box;
    box.createCtrl(&host, "", 10, 10, 150);
    for (const char* text : {"Alpha", "Beta", "Alphorn"}) box.addString(text);
    EXPECT_EQ(box.selectString("al", 0), 0);
}

TEST_F(TextControls, LabelFollowsItsOwnerAndHidesWithIt) {
    SEdit edit;
    edit.createCtrl(&host, "", 100, 50, 120, 20);
    ASSERT_TRUE(edit.addLabel("Name", -60, 2));
    SLabel* label = edit.getLabel();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->getWindowRect(), (SRect{40, 52, 120, 20}));
    EXPECT_STREQ(label->getWindowText(), "Name");
    edit.moveWindow(150, 80, 140, 24);
    EXPECT_EQ(label->getWindowRect(), (SRect{90, 82, 140, 24}));
    edit.hide();
    EXPECT_FALSE(label->isVisible());
    edit.show(SW_SHOW);
    EXPECT_TRUE(label->isVisible());
}

// Calls in the wrong order or twice are refused with a box that says why.
TEST_F(TextControls, MisuseIsRefusedWithItsMessage) {
    SEdit edit, notYet, created;
    SLabel orphan;
    SComboBox combo;
    created.createCtrl(&host, "", 100, 50);
    created.addLabel("Name", -60, 2);
    combo.createCtrl(&host, "", 10, 10);
    const struct {
        std::function<bool()> call;
        const char* text;
    } cases[] = {
        {[&] { return edit.create(&host); },
         "SControl::create(): Controls k\366nnen nicht mittels create(...) erzeugt werden, verwenden Sie statt "
         "dessen createCtrl(...)."},
        {[&] { return created.createCtrl(&host, "zwei", 50, 50) != 0; }, "bereits erzeugt"},
        {[&] { return created.addLabel("noch einer", 0, 0); },
         "Ein Label kann nur einmal zu einem Control hinzugef\374gt werden. "},
        {[&] { return orphan.attach(&notYet, "x", 0, 0); },
         "Das SLabel kann nicht erstellt werden, da der Eigent\374mer noch nicht erzeugt wurde."},
        {[&] { return combo.styleNoEdit(), false; },
         "SCombobox::styleNoEdit(..) muss vor createCtrl(..) aufgerufen werden."},
    };
    for (const auto& c : cases) {
        boxes.clear();
        EXPECT_FALSE(c.call()) << c.text;
        ASSERT_EQ(boxes.count(), 1) << c.text;
        EXPECT_NE(boxes.last().text.find(c.text), -1) << (const char*)boxes.last().text;
    }
    EXPECT_FALSE(edit.isWindow());
    EXPECT_FALSE(orphan.isWindow());
    EXPECT_EQ(created.getWindowRect().x, 100);
}

TEST_F(TextControls, AppendKeepsTheNewestCharactersUpToTheMaximum) {
    SEditMultiline log;
    log.createCtrl(&host, "", 10, 10, 200, 60);
    log.append("abcdef", 10);
    log.append("ghijkl", 10);
    EXPECT_STREQ(log.getWindowText(), "cdefghijkl");
    log.append("0123456789ABCDE", 10);
    EXPECT_STREQ(log.getWindowText(), "56789ABCDE");
    // Without a maximum the field grows past the platform's default limit.
    SEditMultiline big;
    big.createCtrl(&host, "", 10, 80, 200, 60);
    std::string line(1000, 'x');
    line += "\r\n";
    for (int i = 0; i < 34; ++i) big.append(line.c_str()); // past 32767
    EXPECT_EQ(big.getWindowText().length(), 34 * 1002);
    EXPECT_GT(big.sendMessage(EM_GETFIRSTVISIBLELINE), 0); // scrolled to the newest text
}

TEST_F(TextControls, CheckBoxEnablesAndDisablesItsDependents) {
    SCheckBox box;
    SEdit whileChecked, whileUnchecked;
    whileChecked.createCtrl(&host, "", 10, 40);
    whileUnchecked.createCtrl(&host, "", 10, 70);
    box.addDependent(&whileChecked, 0);
    box.addDependent(&whileUnchecked, 1);
    box.createCtrl(&host, "Option", 10, 10, 120);
    EXPECT_FALSE(whileChecked.isEnabled());
    EXPECT_TRUE(whileUnchecked.isEnabled());
    box.sendMessage(BM_CLICK); // a click as the platform makes it, notified to the frame
    MessagePump::flush();
    EXPECT_TRUE(box.isChecked());
    EXPECT_TRUE(whileChecked.isEnabled());
    EXPECT_FALSE(whileUnchecked.isEnabled());
}

TEST_F(TextControls, ImageControlCentresItsImageAndReportsClicks) {
    class Clicks : public ControlHost {
    public:
        int last = 0;
        void onCommand(int id, HWND, int) override { last = id; }
    } frame;
    ASSERT_TRUE(frame.open());
    TempDir dir;
    writeBitmapFile(dir, "rot.bmp", 10, 10, [](int, int) { return 0xFF0000u; }); // red
    SImageControl image;
    image.createCtrl(&frame, "", 10, 10, 100, 60);
    ASSERT_TRUE(image.setImage(dir.file("rot.bmp")));
    image.setAlignment(SImageControl::AlignHCenter | SImageControl::AlignVCenter);
    EXPECT_EQ(image.getImageRect(), (SRect{45, 25, 10, 10})); // right, bottom and stretched: in pixels below

    SendMessageA(image.getHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 6));
    EXPECT_EQ(frame.last, 0); // not clickable yet
    image.setClickable(true);
    SendMessageA(image.getHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 6));
    EXPECT_EQ(frame.last, image.getControlId());
    EXPECT_EQ(image.getClickPoint(), (SPoint{5, 6}));
}

// The image control draws from a picture it keeps: whatever changes, the repaint shows the
// current image in its current place, its transparent colour showing the control's background.
TEST_F(TextControls, ImageControlShowsItsCurrentImageInItsCurrentPlace) {
    TempDir dir;
    writeBitmapFile(dir, "rot.bmp", 10, 10, [](int x, int) { return x < 5 ? 0xFF0000u : 0xFFFFFFu; });
    writeBitmapFile(dir, "blau.bmp", 10, 10, [](int, int) { return 0x0000FFu; });
    SImageControl image;
    image.createCtrl(&host, "", 200, 10, 40, 20);
    image.setTransparentColor(0xFFFFFF);
    ASSERT_TRUE(image.setImage(dir.file("rot.bmp")));
    auto at = [&](int x, int y) { return WindowCapture::ofWindow(host.getHwnd()).pixel(200 + x, 10 + y); };
    const COLORREF back = at(20, 15);
    EXPECT_EQ(at(2, 2), RGB(255, 0, 0));
    EXPECT_EQ(at(7, 2), back); // white is transparent
    image.setAlignment(SImageControl::AlignRight | SImageControl::AlignBottom);
    EXPECT_EQ(at(32, 12), RGB(255, 0, 0));
    EXPECT_EQ(at(2, 2), back);
    image.setTransparentColor(0xFFFFFFFF);
    EXPECT_EQ(at(37, 12), RGB(255, 255, 255));
    ASSERT_TRUE(image.setImage(dir.file("blau.bmp")));
    EXPECT_EQ(at(32, 12), RGB(0, 0, 255));
    image.moveWindow(200, 10, 60, 30);
    EXPECT_EQ(at(52, 22), RGB(0, 0, 255));
    image.setImageMode(1); // stretched over the whole control
    EXPECT_EQ(at(2, 2), RGB(0, 0, 255));
    EXPECT_EQ(at(57, 27), RGB(0, 0, 255));
}

// What a control's own onPaint draws over the platform's paint (through the device or
// straight onto its context), and an edit's own border, show in every repaint.
TEST_F(TextControls, DrawingOverThePlatformsPaintShowsInEveryRepaint) {
    class Marked : public SStatic {
    public:
        void onPaint(SDevice& d) override {
            SStatic::onPaint(d);
            d.fillRectangle(SRect{2, 2, 6, 6}, RGB(255, 0, 0));
        }
    } marked;
    class Raw : public SStatic {
    public:
        void onPaint(SDevice& d) override {
            RECT r{2, 2, 8, 8};
            FillRect(d.getHdc(), &r, (HBRUSH)GetStockObject(BLACK_BRUSH));
        }
    } raw;
    SEdit edit; // border colour 0: the suite's style leaves the default
    marked.createCtrl(&host, "", 10, 200, 40, 20);
    raw.createCtrl(&host, "", 60, 200, 40, 20);
    edit.createCtrl(&host, "", 110, 200, 80, 22);
    for (int round = 0; round < 3; ++round) {
        RedrawWindow(host.getHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        WindowCapture shot = WindowCapture::ofWindow(host.getHwnd());
        EXPECT_EQ(shot.pixel(14, 204), RGB(255, 0, 0)) << "round " << round;
        EXPECT_EQ(shot.pixel(64, 204), RGB(0, 0, 0)) << "round " << round;
        EXPECT_EQ(shot.pixel(110, 211), RGB(0, 0, 0)) << "round " << round;
    }
}

TEST_F(TextControls, ContainerScalesItsChildrenWithItsSize) {
    SControlContainer box;
    SEdit child;
    box.createCtrl(&host, "", 100, 100, 200, 100, 0);
    child.createCtrl(&host, "", 0, 0, 10, 10, 0);
    SRect inside{10, 10, 50, 20};
    EXPECT_EQ(box.addChild(&child, &inside), 0);
    EXPECT_FALSE(child.isPositionable());
    box.layoutChildren();
    EXPECT_EQ(child.getWindowRect(), (SRect{110, 110, 50, 20}));
    box.moveWindow(100, 100, 400, 200);
    EXPECT_EQ(child.getWindowRect(), (SRect{120, 120, 100, 40}));
}

// ---------------------------------------------------------------- buttons

// The flat and the raised form as their style says, the default button and the keys of a
// dialog (real key presses), mouse-over.
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

class ButtonDrawing : public TextControls {};
class ButtonMouse : public TextControls {};

TEST_F(ButtonDrawing, FlatAndRaisedFormsFollowTheirStyle) {
    SetCursorPos(0, 0); // no mouse-over colours
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

TEST_F(ButtonMouse, OverShowsTheHandAndLeavingEndsIt) {
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
