// Focus across top-level frames, the cursor over child controls and Tab in dialogs.
#include "VEK_GUI/SDialog.h"
#include "VEK_GUI/SFrameWindow.h"
#include "tests/support/BoxRecorder.h"
#include "tests/support/gui/InputSender.h"
#include "tests/support/gui/MessagePump.h"
#include "tests/support/TestResources.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class FocusKeys : public ::testing::Test {
protected:
    BoxRecorder boxes;
    void SetUp() override { startTestResources(nullptr); }
    void TearDown() override {
        MessagePump::flush();
        EXPECT_EQ(boxes.count(), 0);
    }
};

HWND makeChild(HWND parent, const char* cls, DWORD style, int y, int id) {
    return CreateWindowExA(0, cls, "", WS_CHILD | style, 10, y, 200, cls == std::string("COMBOBOX") ? 120 : 24,
                           parent, (HMENU)(INT_PTR)id, nullptr, nullptr);
}

class EditFrame : public SFrameWindow {
public:
    HWND edit = nullptr;
    explicit EditFrame(int x) {
        rect = SRect{x, 40, 300, 200};
        showInfoButton = 0;
    }
    bool open() {
        if (!create(nullptr)) return false;
        show(SW_SHOW);
        edit = makeChild(hwnd, "EDIT", WS_VISIBLE | WS_BORDER | WS_TABSTOP, 10, 31);
        return edit != nullptr;
    }
};

// The main window had the focus last; activating the experiment window must not hand it back.
TEST_F(FocusKeys, ActivatedFrameStaysActiveWithItsOwnFocus) {
    EditFrame main(20), experiment(360);
    ASSERT_TRUE(main.open());
    ASSERT_TRUE(experiment.open());
    SetActiveWindow(experiment.getHwnd());
    SetFocus(experiment.edit);
    SetActiveWindow(main.getHwnd());
    SetFocus(main.getHwnd());
    MessagePump::flush();
    ASSERT_EQ(GetFocus(), main.getHwnd());

    SetActiveWindow(experiment.getHwnd());
    MessagePump::flush();
    EXPECT_EQ(GetActiveWindow(), experiment.getHwnd());
    EXPECT_EQ(GetFocus(), experiment.edit);
}

TEST_F(FocusKeys, CursorOfAWindowOnlyInItsOwnClientArea) {
    EditFrame frame(20);
    ASSERT_TRUE(frame.open());
    frame.setCursor(32515); // IDC_CROSS
    auto setCursorOver = [](HWND h, int hitTest) {
        SendMessageA(h, WM_SETCURSOR, (WPARAM)h, MAKELPARAM(hitTest, WM_MOUSEMOVE));
        return GetCursor();
    };
    EXPECT_EQ(setCursorOver(frame.edit, HTCLIENT), LoadCursorA(nullptr, IDC_IBEAM));
    EXPECT_EQ(setCursorOver(frame.getHwnd(), HTCLIENT), LoadCursorA(nullptr, IDC_CROSS));
    EXPECT_EQ(setCursorOver(frame.getHwnd(), HTCAPTION), LoadCursorA(nullptr, IDC_ARROW));
}

class PlainDialog : public SDialog {
public:
    PlainDialog() { showInfoButton = 0; }
};

// Tab passes a disabled and a hidden tab stop, and from the edit inside a combo box it goes on
// to the control after the combo box.
TEST_F(FocusKeys, TabSkipsWhatCannotTakeTheFocusAndLeavesAComboForward) {
    PlainDialog dialog;
    ASSERT_TRUE(dialog.create(nullptr));
    dialog.show(SW_SHOW);
    SetActiveWindow(dialog.getHwnd());
    HWND h = dialog.getHwnd();
    HWND first = makeChild(h, "EDIT", WS_VISIBLE | WS_TABSTOP, 10, 41);
    makeChild(h, "EDIT", WS_VISIBLE | WS_TABSTOP | WS_DISABLED, 40, 42);
    makeChild(h, "BUTTON", WS_TABSTOP, 70, 43);
    HWND combo = makeChild(h, "COMBOBOX", WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWN, 100, 44);
    HWND last = makeChild(h, "EDIT", WS_VISIBLE | WS_TABSTOP, 130, 45);
    auto tab = [&] {
        InputSender(h).keyDown(VK_TAB);
        return GetFocus();
    };
    SetFocus(first);
    HWND inCombo = tab();
    ASSERT_TRUE(IsChild(combo, inCombo)) << "a drop-down combo box hands the focus to its edit";
    EXPECT_EQ(tab(), last);
}

} // namespace
