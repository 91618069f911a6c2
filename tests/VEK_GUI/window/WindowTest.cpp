#include "VEK_GUI/SApplicationBasic.h"
#include "VEK_GUI/SDialog.h"
#include "VEK_GUI/SFrameWindow.h"
#include "VEK_GUI/SToolTip.h"
#include "VEK_GUI/SWindow.h"
#include "VEK_SYSTEM/SSystem.h"
#include "VEK_UTIL/SError.h"
#include "VEK_UTIL/SResources.h"
#include "tests/support/BitmapFile.h"
#include "tests/support/BoxRecorder.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestResources.h"
#include "tests/support/gui/InputSender.h"
#include "tests/support/gui/MessagePump.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class WindowTest : public ::testing::Test {
protected:
    BoxRecorder boxes;
    void SetUp() override {
        startTestResources(nullptr); // frames find their icons and places through it
        globalError.clearLog();
    }
    void TearDown() override { MessagePump::flush(); }
};

// ---------------------------------------------------------------- creation

class Plain : public SWindow {
public:
    Plain(int w = 300, int h = 200) {
        rect = SRect{-1, -1, w, h};
        title = "Fenster";
    }
    int firstShows = 0;
    int closeAnswer = 1;
    int erased = 0;
    std::vector<int> keys;
    int keyAnswer = 0;
    void onFirstShow() override { ++firstShows; }
    int onClose() override { return closeAnswer; }
    int onEraseBackground(SDevice&) override { return ++erased, 0; }
    int onKeyDown(int, int, int virtualKey, bool) override {
        keys.push_back(virtualKey);
        return keyAnswer;
    }
    void makeChild(SWindow& p) {
        style = WS_CHILD | WS_VISIBLE;
        rect = SRect{10, 10, 50, 30};
        create(&p);
    }
};

TEST_F(WindowTest, CentredOnTheScreenWithoutParentAndOnTheParentWithOne) {
    Plain top(300, 200);
    ASSERT_TRUE(top.create(nullptr));
    SRect r = top.getWindowRect(true);
    EXPECT_EQ(r.x, (GetSystemMetrics(SM_CXFULLSCREEN) - 300) / 2);
    EXPECT_EQ(r.y, (GetSystemMetrics(SM_CYFULLSCREEN) - 200) / 2);

    Plain owned(100, 60);
    ASSERT_TRUE(owned.create(&top));
    SRect o = owned.getWindowRect(true);
    EXPECT_EQ(o.x, r.x + r.width / 2 - 50);
    EXPECT_EQ(o.y, r.y + r.height / 2 - 30);
}

// Calls on a window that is not there, or made twice, are refused and said so: in a box, or
// in the error log where a box would come too often.
TEST_F(WindowTest, MisuseIsRefusedAndSaidSo) {
    Plain w, notCreated;
    EXPECT_STREQ(w.getWindowText(), "");
    EXPECT_TRUE(w.getWindowRect().isEmpty());
    EXPECT_EQ(w.addToolTip("tip"), 0);
    EXPECT_EQ(w.messageBox("Hallo", "Titel", MB_OK), IDOK);
    EXPECT_EQ(boxes.last().owner, nullptr);
    EXPECT_EQ(w.showModal(), 0);
    EXPECT_NE(boxes.last().text.find("da das Fenster noch nicht mittels 'create()' erzeugt wurde."), -1);
    EXPECT_FALSE(w.getScroll().showBarHor(true));
    EXPECT_STREQ(boxes.last().text, "SScroll::showBarHor(..) kann nur auf ein existierendes Fenster angewendet "
                                    "werden.\r\nBitte f\374hren Sie zuerst create(...) aus.");
    w.setParent(&notCreated); // before creation only remembered
    EXPECT_EQ(w.getParent(), &notCreated);
    ASSERT_TRUE(w.create(nullptr));
    EXPECT_EQ(w.getParent(), nullptr); // create takes its own parent
    w.setParent(&notCreated);
    EXPECT_EQ(w.getParent(), nullptr);
    EXPECT_EQ(w.addToolTip("tip"), 1);
    EXPECT_EQ(w.addToolTip("tip"), 0);
    EXPECT_EQ(w.showModal(), 0);
    EXPECT_STREQ(boxes.last().text,
                 "SWindow::showModal() konnte nicht durchgef\374hrt werden, kein Parent-Window existiert.");
    EXPECT_FALSE(w.isVisible());
    HWND first = w.getHwnd();
    w.setWindowText("Zweiter Versuch");
    EXPECT_FALSE(w.create(nullptr));
    EXPECT_EQ(w.getHwnd(), first);
    EXPECT_STREQ(boxes.last().text, "SWindow::create(): Dieses Fenster wurde bereits erzeugt.\r\n'Zweiter Versuch'");
    EXPECT_STREQ(boxes.last().caption, "Fehler !");
    EXPECT_EQ(boxes.count(), 5);
    const SString& log = globalError.getLog();
    for (const char* said : {"mittels getWindowText() auf ein nicht existierendes Fenster",
                             "mittels getWindowRect() auf ein nicht existierendes Fenster",
                             "SWindow::addToolTip() kann nur auf schon erzeugte Fenster angewendet werden.",
                             "ohne dass das Fenster existierte.\r\n\t(Text: Hallo)",
                             "SWindow::setParent(..): Das Elternfenster existiert noch nicht.",
                             "SWindow::addToolTip() kann nicht mehrfach aufgerufen werden."})
        EXPECT_NE(log.find(said), -1) << said;
}

TEST_F(WindowTest, FirstShowRunsOnceForShowAndSize) {
    Plain w;
    ASSERT_TRUE(w.create(nullptr));
    EXPECT_LE(w.firstShows, 1);
    w.show(SW_SHOW);
    w.moveWindow(10, 10, 320, 220);
    MessagePump::flush();
    EXPECT_EQ(w.firstShows, 1);
}

// ---------------------------------------------------------------- messages

TEST_F(WindowTest, CloseRefusedByOnCloseKeepsTheWindow) {
    Plain w;
    ASSERT_TRUE(w.create(nullptr));
    w.closeAnswer = 0;
    SendMessageA(w.getHwnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(w.getHwnd()));
    w.closeAnswer = 1;
    SendMessageA(w.getHwnd(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(w.getHwnd()));
}

TEST_F(WindowTest, EraseInNoFlickerModeAnswersOneWithoutTheHandler) {
    Plain w;
    ASSERT_TRUE(w.create(nullptr));
    HDC dc = GetDC(w.getHwnd());
    EXPECT_EQ(SendMessageA(w.getHwnd(), WM_ERASEBKGND, (WPARAM)dc, 0), 0);
    EXPECT_EQ(w.erased, 1);
    w.getDevice().setNoFlicker(true);
    EXPECT_EQ(SendMessageA(w.getHwnd(), WM_ERASEBKGND, (WPARAM)dc, 0), 1);
    EXPECT_EQ(w.erased, 1);
    ReleaseDC(w.getHwnd(), dc);
}

// A parent that paints its whole background itself (its erase answers 1), as the graphics
// window does: each child is still erased once, in its own paint, on its own context.
TEST_F(WindowTest, AFullRepaintErasesEveryWindowOnceOnItsOwnContext) {
    class Erased : public Plain {
    public:
        int answer = 0;
        std::vector<HWND> contexts; // the window of each erase's context
        int onEraseBackground(SDevice& d) override {
            contexts.push_back(WindowFromDC(d.getHdc()));
            return answer;
        }
    };
    Erased parentWindow;
    parentWindow.answer = 1;
    ASSERT_TRUE(parentWindow.create(nullptr));
    parentWindow.show(SW_SHOWNOACTIVATE);
    Erased a, b;
    a.makeChild(parentWindow);
    b.makeChild(parentWindow);
    MessagePump::flush();
    for (Erased* w : {&parentWindow, &a, &b}) w->contexts.clear();

    RedrawWindow(parentWindow.getHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    for (Erased* w : {&parentWindow, &a, &b}) EXPECT_EQ(w->contexts, std::vector<HWND>{w->getHwnd()});
}

TEST_F(WindowTest, UnhandledKeyClimbsToTheParent) {
    Plain parentWindow;
    ASSERT_TRUE(parentWindow.create(nullptr));
    Plain child;
    child.makeChild(parentWindow);
    ASSERT_TRUE(child.isWindow());
    parentWindow.keyAnswer = 1;
    InputSender(child.getHwnd()).keyDown('A');
    EXPECT_EQ(child.keys.size(), 1u);
    ASSERT_EQ(parentWindow.keys.size(), 1u);
    EXPECT_EQ(parentWindow.keys[0], 'A');

    child.keyAnswer = 1; // handled by the child: the parent hears nothing
    InputSender(child.getHwnd()).keyDown('B');
    EXPECT_EQ(parentWindow.keys.size(), 1u);
}

// ---------------------------------------------------------------- modal runs and dialogs

class TestDialog : public SDialog {
public:
    int okAnswer = 1;
    int closeAnswer = 1;
    int onOK() override { return okAnswer; }
    int onCancel() override { return 1; }
    int onClose() override { return closeAnswer; }
};

// Steps played into a running modal loop by timers.
struct ModalScript {
    static inline HWND owner = nullptr;
    static inline TestDialog* dialog = nullptr;
    static inline bool ownerDisabled = false;
    static inline bool stillOpenAfterRefusals = false;
    static void CALLBACK refuse(HWND h, UINT, UINT_PTR id, DWORD) {
        KillTimer(h, id);
        ownerDisabled = !IsWindowEnabled(owner);
        SendMessageA(h, WM_CLOSE, 0, 0);         // refused by onClose
        SendMessageA(h, WM_COMMAND, IDOK, 0);    // refused by onOK
        stillOpenAfterRefusals = IsWindow(h) && (dialog->getModalFlags() & SWindow::ModalLoop);
    }
    static void CALLBACK accept(HWND h, UINT, UINT_PTR id, DWORD) {
        KillTimer(h, id);
        dialog->okAnswer = 1;
        dialog->closeAnswer = 1;
        PostMessageA(h, WM_COMMAND, IDOK, 0);
    }
};

TEST_F(WindowTest, ModalDialogEndsThroughEndDialogAndReenablesItsParent) {
    Plain owner;
    ASSERT_TRUE(owner.create(nullptr));
    owner.show(SW_SHOW);
    TestDialog dialog;
    ASSERT_TRUE(dialog.create(&owner));
    dialog.okAnswer = 0;
    dialog.closeAnswer = 0;
    ModalScript::owner = owner.getHwnd();
    ModalScript::dialog = &dialog;
    SetTimer(dialog.getHwnd(), 1, 30, ModalScript::refuse);
    SetTimer(dialog.getHwnd(), 2, 150, ModalScript::accept);
    EXPECT_EQ(dialog.showModal(), IDOK);
    EXPECT_TRUE(ModalScript::ownerDisabled);
    EXPECT_TRUE(ModalScript::stillOpenAfterRefusals);
    EXPECT_TRUE(IsWindowEnabled(owner.getHwnd()));
    EXPECT_FALSE(IsWindow(dialog.getHwnd()));
}

TEST_F(WindowTest, DialogNotShownModallyClosesOnEndDialog) {
    TestDialog dialog;
    ASSERT_TRUE(dialog.create(nullptr));
    SendMessageA(dialog.getHwnd(), WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(dialog.getModalResult(), IDCANCEL);
    EXPECT_FALSE(IsWindow(dialog.getHwnd()));
}

// ---------------------------------------------------------------- lifetime

class Counted : public SWindow {
public:
    int creates = 0, closes = 0, destroys = 0;
    void onCreate(CREATESTRUCTA*) override { ++creates; }
    int onClose() override { return ++closes, 1; }
    void onDestroy() override { ++destroys; }
};

class LifetimeTest : public WindowTest {};

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

// ---------------------------------------------------------------- frames

class PlacedFrame : public SFrameWindow {
public:
    PlacedFrame() {
        rect = SRect{40, 30, 400, 300};
        savePlacement = 1;
        showInfoButton = 0;
    }
    const char* getClassName() const override { return "PlacedFrame"; }
};

class FrameTest : public WindowTest {
protected:
    TempDir user, computer;
    void SetUp() override {
        WindowTest::SetUp();
        globalApplicationBasic.getUserConfig().close(false);
        globalApplicationBasic.setConfigFolders(user.path(), computer.path());
        globalApplicationBasic.parseCommandLine("C:\\Labor\\Anlage.exe");
    }
    void TearDown() override {
        globalApplicationBasic.getUserConfig().close(true);
        WindowTest::TearDown();
    }
    SString stored(const char* key) { return globalApplicationBasic.getUserConfig().getString("PlacedFrame", key, ""); }
};

TEST_F(FrameTest, PlacementIsStoredOnlyInTheNormalState) {
    PlacedFrame frame;
    ASSERT_TRUE(frame.create(nullptr));
    frame.show(SW_SHOWNORMAL);
    frame.moveWindow(50, 60, 420, 310);
    MessagePump::flush();
    EXPECT_STREQ(stored("winpos"), "50,60,420,310");

    ShowWindow(frame.getHwnd(), SW_MAXIMIZE);
    MessagePump::flush();
    EXPECT_STREQ(stored("winpos"), "50,60,420,310");
    SendMessageA(frame.getHwnd(), WM_CLOSE, 0, 0);
    EXPECT_STREQ(stored("winpostype"), "max");

    PlacedFrame again;
    ASSERT_TRUE(again.create(nullptr));
    EXPECT_TRUE(GetWindowLongA(again.getHwnd(), GWL_STYLE) & WS_MAXIMIZE);
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(again.getHwnd(), &placement);
    EXPECT_EQ(placement.rcNormalPosition.right - placement.rcNormalPosition.left, 420);
    ShowWindow(again.getHwnd(), SW_MINIMIZE);
    MessagePump::flush();
    EXPECT_STREQ(stored("winpos"), "50,60,420,310");
}

// An owned frame too: its place is in screen coordinates, like the pointer's.
TEST_F(FrameTest, DragMovesTheWindowWithTheLeftButton) {
    Plain owner;
    owner.moveWindow(200, 150, 300, 200);
    ASSERT_TRUE(owner.create(nullptr));
    PlacedFrame frame;
    frame.setSavePlacement(false);
    frame.setDragFlags(1);
    ASSERT_TRUE(frame.create(&owner));
    frame.show(SW_SHOWNORMAL);
    MessagePump::flush();
    SRect before = frame.getWindowRect(true);
    InputSender input(frame.getHwnd());
    input.move(50, 50, MK_LBUTTON);
    input.move(80, 50, MK_LBUTTON); // along one axis only
    SRect after = frame.getWindowRect(true);
    EXPECT_EQ(after.x, before.x + 30);
    EXPECT_EQ(after.y, before.y);
    input.move(80, 50, 0);
    EXPECT_EQ(GetCapture(), nullptr);
}

// Counts the moves asked of it (a move to the same place costs a request and a repaint);
// follows its parent's edges like a control.
class MoveCounter : public SWindow {
public:
    int moves = 0;
    MoveCounter(SWindow& frame, SRect r) {
        style = WS_CHILD | WS_VISIBLE;
        rect = r;
        create(&frame);
        anchor.setMode(SAnchor::Automatic);
        anchor.rerecord(getWindowRect(false), frame.getClientSize());
        moves = 0; // not the showing at creation
    }
    LRESULT windowProc(HWND h, UINT msg, WPARAM w, LPARAM l, bool& handled, LRESULT& result) override {
        if (msg == WM_WINDOWPOSCHANGING && h == hwnd) ++moves;
        return SWindow::windowProc(h, msg, w, l, handled, result);
    }
};

void resizeBy(HWND h, int dx, int dy) {
    RECT r;
    GetWindowRect(h, &r);
    SetWindowPos(h, nullptr, 0, 0, r.right - r.left + dx, r.bottom - r.top + dy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

TEST_F(FrameTest, AnchoredChildMovesOncePerStepAndOnlyWhenItsPlaceChanges) {
    PlacedFrame frame;
    ASSERT_TRUE(frame.create(nullptr));
    frame.show(SW_SHOWNORMAL);
    MessagePump::flush();
    MoveCounter topLeft(frame, SRect{10, 10, 40, 20}), right(frame, SRect{330, 120, 40, 20});
    resizeBy(frame.getHwnd(), 50, 0);
    MessagePump::flush();
    EXPECT_EQ(right.moves, 1);
    EXPECT_EQ(right.getWindowRect().x, 380);
    EXPECT_EQ(topLeft.moves, 0);
}

// The stored placement reaches the file once per finished move or size, not per step.
TEST_F(FrameTest, PlacementIsWrittenOncePerFinishedMoveOrSizeAndAtClose) {
    auto onDisk = [this] {
        SString text;
        SSystem::readFile(user.file("VEK\\Anlage.cfg"), text);
        return text;
    };
    PlacedFrame frame;
    ASSERT_TRUE(frame.create(nullptr));
    frame.show(SW_SHOWNORMAL);
    frame.moveWindow(50, 60, 420, 310);
    MessagePump::flush();
    SString before = onDisk();
    ASSERT_NE(before.find("winpos=50,60,420,310"), -1);

    HWND h = frame.getHwnd();
    SendMessageA(h, WM_ENTERSIZEMOVE, 0, 0);
    for (int step = 1; step <= 3; ++step) {
        resizeBy(h, 10, 10);
        SetWindowPos(h, nullptr, 50 + step, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        MessagePump::flush();
        EXPECT_STREQ(onDisk(), before) << "step " << step;
    }
    SendMessageA(h, WM_EXITSIZEMOVE, 0, 0);
    EXPECT_NE(onDisk().find("winpos=53,60,450,340"), -1);

    frame.moveWindow(70, 80, 430, 320);
    SendMessageA(h, WM_CLOSE, 0, 0);
    SString atClose = onDisk();
    EXPECT_NE(atClose.find("winpos=70,80,430,320"), -1);
    EXPECT_NE(atClose.find("winpostype=std"), -1);
}

// The layouter's entry points of a frame: the size question, the messages to the children,
// the emptied section of the layout file, and Scroll Lock in development mode.
TEST_F(FrameTest, PositioningStartsAndStopsThroughTheFrame) {
    ASSERT_TRUE(globalResources.isDevelopmentMode());
    globalResources.controlPositions.setSectionText("PlacedFrame", "old=1\r\n");

    static std::vector<UINT> heard;
    static SString savedSection;
    heard.clear();
    PlacedFrame frame;
    frame.setSavePlacement(false);
    ASSERT_TRUE(frame.create(nullptr));
    HWND child = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, frame.getHwnd(), nullptr, nullptr, nullptr);
    SetWindowLongPtrA(child, GWLP_WNDPROC, (LONG_PTR) + [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m >= MSG_POSITIONING_START && m <= MSG_POSITIONING_SAVE) heard.push_back(m);
        if (m == MSG_POSITIONING_SAVE) savedSection.setRaw(reinterpret_cast<const char*>(l));
        return DefWindowProcA(h, m, w, l);
    });

    frame.startPositioning(); // created size: no question
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_TRUE(frame.isPositioning());
    frame.stopPositioning();
    EXPECT_FALSE(frame.isPositioning());
    EXPECT_EQ(heard, (std::vector<UINT>{MSG_POSITIONING_START, MSG_POSITIONING_SAVE, MSG_POSITIONING_STOP}));
    EXPECT_STREQ(savedSection, "PlacedFrame");
    EXPECT_TRUE(globalResources.controlPositions.hasSection("PlacedFrame"));
    EXPECT_EQ(globalResources.controlPositions.getSectionText("PlacedFrame").find("old=1"), -1);

    SRect r = frame.getWindowRect(true);
    frame.moveWindow(r.x, r.y, r.width + 50, r.height);
    boxes.answer = IDNO;
    frame.startPositioning();
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_STREQ(boxes.last().caption, "ver\344nderte Fenstergr\366\337e");
    EXPECT_EQ(boxes.last().type, (unsigned)(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2));
    EXPECT_FALSE(frame.isPositioning());
    boxes.answer = IDYES;
    // Scroll Lock (scan code 0x46) toggles the layouter in development mode.
    SendMessageA(frame.getHwnd(), WM_KEYDOWN, VK_SCROLL, 0x00460001);
    EXPECT_TRUE(frame.isPositioning());
    SendMessageA(frame.getHwnd(), WM_KEYDOWN, VK_SCROLL, 0x00460001);
    EXPECT_FALSE(frame.isPositioning());

    // The information menu's entries (its hint is the bars suite's).
    frame.onInfoCommand(SFrameWindow::InfoPositioning);
    EXPECT_TRUE(frame.isPositioning());
    frame.onInfoCommand(SFrameWindow::InfoPositioningActive);
    EXPECT_FALSE(frame.isPositioning());
}

// ---------------------------------------------------------------- focus and keys

// Focus across top-level frames, the cursor over child controls and Tab in dialogs.
class FocusKeys : public WindowTest {
protected:
    void TearDown() override {
        WindowTest::TearDown();
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
