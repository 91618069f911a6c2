// Status bar, toolbar, menu bar and the frame's bar layout, driven through real messages; the
// texts popup menu items show, and what track and choose answer for a pick with the keyboard.
#include "VEK_CONTROLS/SPopupMenu.h"
#include "VEK_UTIL/SError.h"
#include "tests/VEK_BARS/BarsFrame.h"
#include "tests/VEK_GUI/device/Canvas.h"
#include "tests/support/BitmapFile.h"
#include "tests/support/TempDir.h"
#include "tests/support/gui/Artifacts.h"
#include "tests/support/gui/WindowCapture.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class BarsTest : public ::testing::Test {
protected:
    BoxRecorder boxes;
    BarsFrame frame;
    void SetUp() override {
        globalError.clearLog();
        ASSERT_TRUE(frame.open());
    }
    // Where a bar lies in the frame's client area.
    static RECT placeOf(SWindow& bar) {
        SRect r = bar.getWindowRect(false);
        return RECT{r.x, r.y, r.x + r.width, r.y + r.height};
    }
};

TEST_F(BarsTest, StatusBarPartsFromTextAndClicksOnAPartReachTheFrame) {
    ASSERT_TRUE(frame.createStatusBar());
    SStatusBar& bar = frame.getStatusBar();
    EXPECT_TRUE(bar.setParts(""));
    EXPECT_TRUE(bar.isSimple());
    EXPECT_FALSE(bar.setTipText(0, "Tipp")); // no tips in simple mode

    EXPECT_TRUE(bar.setParts("100, 200"));
    EXPECT_FALSE(bar.isSimple());
    int edges[8] = {0};
    ASSERT_EQ((int)bar.sendMessage(SB_GETPARTS, 8, (LPARAM)edges), 3);
    EXPECT_EQ(edges[0], 100);
    EXPECT_EQ(edges[1], 200);
    EXPECT_EQ(edges[2], -1);
    EXPECT_TRUE(bar.setText(1, "Mitte"));
    EXPECT_STREQ(bar.getText(1), "Mitte");

    InputSender mouse(bar.getHwnd(), InputSender::Mode::Post);
    mouse.click(150, 5);
    mouse.rightClick(250, 5);
    MessagePump::flush();
    EXPECT_EQ(frame.clicks, std::vector<int>{1});
    EXPECT_EQ(frame.rightClicks, std::vector<int>{2});
}

TEST_F(BarsTest, InnerRectangleLiesBetweenCoolbarAndStatusBarAndScrollBars) {
    ASSERT_TRUE(frame.createCoolbar());
    ASSERT_TRUE(frame.createStatusBar());
    frame.getToolbar().addButton("Neu");
    frame.getScroll().setDocumentHeight(3000);
    frame.showScrollBars(true, true);
    MessagePump::flush();
    auto check = [&] {
        SSize client = frame.getClientSize();
        SRect inner = frame.getInnerRect();
        RECT cool = placeOf(frame.getCoolbar()), status = placeOf(frame.getStatusBar());
        RECT h = placeOf(frame.getHScrollBar()), v = placeOf(frame.getVScrollBar());
        EXPECT_GT(cool.bottom, 20);
        EXPECT_EQ(inner.y, cool.bottom);
        EXPECT_EQ(status.bottom, client.height);
        EXPECT_EQ(h.bottom, status.top);
        EXPECT_EQ(inner.y + inner.height, h.top);
        EXPECT_EQ(v.left, inner.x + inner.width);
        EXPECT_EQ(v.right, client.width);
        EXPECT_EQ(cool.right - cool.left, client.width);
        SCROLLINFO page{};
        page.cbSize = sizeof page;
        page.fMask = SIF_PAGE;
        GetScrollInfo(frame.getVScrollBar().getHwnd(), SB_CTL, &page);
        EXPECT_EQ((int)page.nPage, inner.height); // a page is what shows between the bars
    };
    check();
    RECT w;
    GetWindowRect(frame.getHwnd(), &w);
    SetWindowPos(frame.getHwnd(), nullptr, 0, 0, w.right - w.left + 80, w.bottom - w.top + 50,
                 SWP_NOMOVE | SWP_NOZORDER);
    MessagePump::flush();
    check(); // the bars follow the new size
    frame.getStatusBar().setParts("100,200");
    frame.getStatusBar().setText(0, "Bereit");
    WindowCapture shot = WindowCapture::ofWindow(frame.getHwnd());
    shot.savePng(artifactPath("bars/frame-with-bars.png"));
    // The toolbar's text button shows its text inside the band.
    SToolbar& bar = frame.getToolbar();
    SRect button = bar.getButtonRect(bar.buttonAt(SPoint{5, 5}));
    SPoint at = frame.screenToClient(bar.clientToScreen(SPoint{button.x, button.y}));
    EXPECT_TRUE(shot.hasTextLike(RECT{at.x, at.y, at.x + button.width, at.y + button.height}));
}

TEST_F(BarsTest, ToolbarLeavesOutAButtonWithoutItsImageAndMasksTheTopLeftColour) {
    TempDir dir;
    // Magenta with a green square in the middle.
    writeBitmapFile(dir, "neu.bmp", 16, 16,
                    [](int x, int y) { return x >= 4 && x < 12 && y >= 4 && y < 12 ? 0x00FF00u : 0xFF00FFu; });
    ASSERT_TRUE(frame.createCoolbar());
    SToolbar& bar = frame.getToolbar();
    EXPECT_FALSE(bar.createToolbar(frame));
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_STREQ(boxes.last().text, "createToolbar(..) Die Toolbar wurde bereits erzeugt.");

    int text = bar.addButton("Speichern");
    EXPECT_EQ(bar.addButton("Laden", dir.file("fehlt.bmp")), 0);
    int image = bar.addButton("Neu", dir.file("neu.bmp"));
    EXPECT_EQ(bar.getButtonCount(), 2);
    EXPECT_EQ(boxes.count(), 1); // the missing image is reported nowhere
    EXPECT_TRUE(globalError.getLog().isEmpty());

    // Drawn on white: the magenta of the top-left pixel lets the white through.
    Canvas white(16, 16);
    ASSERT_TRUE(ImageList_Draw(bar.getImageList().getHandle(), 0, white.get(), 0, 0, ILD_TRANSPARENT));
    EXPECT_EQ(white.at(0, 0), RGB(255, 255, 255));
    EXPECT_EQ(white.at(15, 15), RGB(255, 255, 255));
    EXPECT_EQ(white.at(8, 8), RGB(0, 255, 0));

    // Tooltips: the text stored for the button under the mouse, else the bar's own.
    bar.setToolTipText(image, "Neue Datei");
    SRect r = bar.getButtonRect(text);
    InputSender(bar.getHwnd()).move(r.x + r.width / 2, r.y + r.height / 2);
    EXPECT_STREQ(bar.getToolTipText(), "Toolbar-Schaltfl\344chen");
    r = bar.getButtonRect(image);
    InputSender(bar.getHwnd()).move(r.x + r.width / 2, r.y + r.height / 2);
    EXPECT_STREQ(bar.getToolTipText(), "Neue Datei");

    // A click in the band reaches the frame through the rebar.
    r = bar.getButtonRect(text);
    InputSender(bar.getHwnd(), InputSender::Mode::Post).click(r.x + r.width / 2, r.y + r.height / 2);
    EXPECT_EQ(frame.commands, std::vector<int>{text});
}

TEST_F(BarsTest, InformationButtonAfterTheFirstSizingOpensItsMenu) {
    BarsFrame withButton(true);
    EXPECT_FALSE(withButton.getInfoButton().isCreated());
    ASSERT_TRUE(withButton.open());
    SImageControl& info = withButton.getInfoButton();
    ASSERT_TRUE(info.isWindow());
    SRect r = info.getWindowRect(false);
    EXPECT_EQ(r.x, 0);
    EXPECT_EQ(r.y + r.height, withButton.getClientSize().height);
    EXPECT_FALSE(info.isPositionable());

    // Without a resource pack the program is in development mode: the click opens the menu
    // (Positionierung, Info..., web page); the second item shows the hint on resources.
    MenuKeys guard;
    PostMessageA(info.getHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    answerMenu({VK_DOWN, VK_DOWN, VK_RETURN}, withButton.getHwnd());
    MessagePump::flush();
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_STREQ(boxes.last().caption, "Info");
    EXPECT_EQ(boxes.last().type, (unsigned)MB_ICONINFORMATION);
    EXPECT_EQ(boxes.last().text.find("Bevor Sie Ihre Anwendung weitergeben"), 0);
}

// ---------------------------------------------------------------- popup menus

std::string itemString(const SPopupMenu& menu, int position) {
    char text[128] = {0};
    GetMenuStringA(menu.getMenu(), (UINT)position, text, sizeof text, MF_BYPOSITION);
    return text;
}

TEST(PopupMenu, ItemsShowTheNumberAsAccessKeyAndTheAcceleratorWithoutBlanks) {
    SPopupMenu menu;
    int save = menu.appendItem("Speichern\tStrg + S");
    int first = menu.appendItem("1. Datei \366ffnen", 4711);
    menu.appendSeparator();
    menu.appendItem("Beenden\t Alt +  F4 ");
    menu.appendItem("1.5 Liter");
    EXPECT_EQ(menu.getCount(), 5);
    EXPECT_EQ(itemString(menu, 0), "Speichern\tStrg+S");
    EXPECT_EQ(itemString(menu, 1), "&1. Datei \366ffnen");
    EXPECT_EQ(itemString(menu, 3), "Beenden\tAlt+F4");
    EXPECT_EQ(itemString(menu, 4), "1.5 Liter"); // no full stop before the blank: no prefix
    EXPECT_EQ(first, 4711);
    EXPECT_NE(save, 0); // id 0 asks for the application's next id
    EXPECT_NE(save, first);
}

class TrackTest : public BarsTest {
protected:
    SPoint at() { return frame.clientToScreen(SPoint{40, 40}); }
};

TEST_F(TrackTest, TrackAndChooseAnswerThePickAndOnlyTrackSendsItWhenAsked) {
    SPopupMenu menu;
    menu.appendItem("Erster", 501);
    menu.appendItem("Zweiter", 502);
    MenuKeys guard;

    menu.setSendCommand(false);
    answerMenu({VK_DOWN, VK_DOWN, VK_RETURN}, frame.getHwnd());
    EXPECT_EQ(menu.track(frame.getHwnd(), at()), 502);
    MessagePump::flush();
    EXPECT_TRUE(frame.commands.empty());

    menu.setSendCommand(true);
    answerMenu({VK_DOWN, VK_RETURN}, frame.getHwnd());
    EXPECT_EQ(menu.track(frame.getHwnd(), at()), 501);
    EXPECT_EQ(frame.commands, std::vector<int>{501});

    answerMenu({VK_ESCAPE}, frame.getHwnd());
    EXPECT_EQ(menu.track(frame.getHwnd(), at()), 0);
    EXPECT_EQ(frame.commands.size(), 1u);

    // choose: the chosen text; separators are skipped, and its ids (1, 2 …) never reach the
    // owner, where they would be OK and Cancel.
    answerMenu({VK_DOWN, VK_DOWN, VK_RETURN}, frame.getHwnd());
    EXPECT_STREQ(SPopupMenu::choose(frame.getHwnd(), at(), "Eins;;Zwei;Drei", ";"), "Zwei");
    answerMenu({VK_ESCAPE}, frame.getHwnd());
    EXPECT_TRUE(SPopupMenu::choose(frame.getHwnd(), at(), "Eins,Zwei").isEmpty());
    MessagePump::flush();
    EXPECT_EQ(frame.commands.size(), 1u);
}

TEST(Manifest, CommonControlsSixComeFromTheSideBySideStore) {
    INITCOMMONCONTROLSEX init{sizeof init, ICC_BAR_CLASSES};
    ASSERT_TRUE(InitCommonControlsEx(&init));
    char path[MAX_PATH] = {0};
    GetModuleFileNameA(GetModuleHandleA("comctl32.dll"), path, MAX_PATH);
    SString module;
    module.setRaw(path);
    EXPECT_GE(module.find("winsxs", 0, true), 0) << path;
    EXPECT_GE(module.find("common-controls", 0, true), 0) << path;
}

// ---------------------------------------------------------------- the menu bar

// The menu bar: a click opens its button's menu, moving the real mouse onto the neighbouring
// button while the menu is open closes it and opens the neighbour's, never two at a time.
int visiblePopupMenus() {
    int count = 0;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND h, LPARAM counter) {
            char name[16] = {0};
            GetClassNameA(h, name, sizeof name);
            if (!strcmp(name, "#32768") && IsWindowVisible(h)) ++*reinterpret_cast<int*>(counter);
            return TRUE;
        },
        (LPARAM)&count);
    return count;
}

void moveRealMouse(SPoint screen) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    in.mi.dx = (LONG)(((long long)screen.x * 65535 + (w - 1) / 2) / (w - 1));
    in.mi.dy = (LONG)(((long long)screen.y * 65535 + (h - 1) / 2) / (h - 1));
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof in);
}

// What the menu loop sees, step by step (a thread timer runs inside the menu's own loop).
struct Watch {
    SMenubar* bar = nullptr;
    SPoint neighbour;
    std::vector<int> opened;    // open button ids as they changed
    std::vector<int> menusShown; // popup menus visible at each change
    int ticks = 0;
    bool done = false;
};
Watch watch;

void CALLBACK onTick(HWND, UINT, UINT_PTR timer, DWORD) {
    int open = watch.bar->getOpenId();
    if (open && (watch.opened.empty() || watch.opened.back() != open)) {
        watch.opened.push_back(open);
        watch.menusShown.push_back(visiblePopupMenus());
        if (watch.opened.size() == 1)
            moveRealMouse(watch.neighbour);
        else
            EndMenu();
    }
    if (++watch.ticks > 60) EndMenu(); // give up rather than hang
    if ((watch.opened.size() == 2 && !SMenubar::getOpenMenubar()) || watch.ticks > 80) {
        KillTimer(nullptr, timer);
        watch.done = true;
    }
}

class Menubar : public BarsTest {};

TEST_F(Menubar, MovingToTheNeighbourButtonClosesOneMenuAndOpensTheOther) {
    SMenubar& bar = frame.getMenubar();
    ASSERT_TRUE(bar.createToolbar(frame));
    bar.moveWindow(0, 0, frame.getClientSize().width, 24); // not in a band: placed by hand
    SPopupMenu file, edit;
    file.appendItem("\326ffnen", 601);
    edit.appendItem("Kopieren", 602);
    int fileId = bar.addMenu("Datei", file);
    int editId = bar.addMenu("Bearbeiten", edit);
    ASSERT_NE(fileId, 0);
    ASSERT_NE(editId, 0);
    SRect r = bar.getButtonRect(editId);
    watch = Watch{};
    watch.bar = &bar;
    watch.neighbour = bar.clientToScreen(SPoint{r.x + r.width / 2, r.y + r.height / 2});
    moveRealMouse(bar.clientToScreen(SPoint{2, 2}));

    SetTimer(nullptr, 0, 50, onTick);
    InputSender(bar.getHwnd(), InputSender::Mode::Post).click(5, 5); // the "Datei" button
    EXPECT_TRUE(MessagePump::until([] { return watch.done; }, 8000));
    MessagePump::flush();

    EXPECT_EQ(watch.opened, (std::vector<int>{fileId, editId}));
    EXPECT_EQ(watch.menusShown, (std::vector<int>{1, 1}));
    EXPECT_EQ(SMenubar::getOpenMenubar(), nullptr);
    EXPECT_EQ(bar.getButtonState(fileId) & TBSTATE_PRESSED, 0);
    EXPECT_EQ(bar.getButtonState(editId) & TBSTATE_PRESSED, 0);
    // The frame saw the button's click; no item was chosen, so no item command followed.
    EXPECT_EQ(frame.commands, std::vector<int>{fileId});
}

} // namespace
