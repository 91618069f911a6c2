#include "VEK_GUI/SApplication.h"
#include "VEK_GUI/SApplicationBasic.h"
#include "VEK_GUI/SEventCalls.h"
#include "VEK_GUI/SWindow.h"
#include "VEK_SYSTEM/SSystem.h"
#include "VEK_UTIL/SError.h"
#include "tests/support/BoxRecorder.h"
#include "tests/support/TempDir.h"
#include "tests/support/gui/MessagePump.h"

#include <gtest/gtest.h>

namespace {

TEST(ApplicationCommandLine, DirectoryFromTheProgramPath) {
    SApplicationBasic basic;
    basic.parseCommandLine("\"C:\\Program Files\\Labor\\Anlage.exe\" -x \"two words\"");
    EXPECT_STREQ(basic.getProgramPath(), "C:\\Program Files\\Labor\\Anlage.exe");
    EXPECT_STREQ(basic.getApplicationDirectory(), "C:\\Program Files\\Labor");
    EXPECT_EQ(basic.getArguments().count(), 3);
    EXPECT_STREQ(basic.getArguments()[2], "two words");

    basic.parseCommandLine("Anlage.exe");
    EXPECT_STREQ(basic.getProgramPath(), "Anlage.exe");
    EXPECT_STREQ(basic.getApplicationDirectory(), SSystem::currentDirectory());
}

class ConfigFileTest : public ::testing::Test {
protected:
    TempDir user, computer;
    SApplicationBasic basic;
    void SetUp() override {
        basic.setConfigFolders(user.path(), computer.path());
        basic.parseCommandLine("C:\\Labor\\Anlage.exe");
    }
};

TEST_F(ConfigFileTest, UserFileLivesInTheVekFolder) {
    ASSERT_TRUE(basic.openUserConfigFile());
    SString expected = user.path() + "\\VEK\\Anlage.cfg";
    EXPECT_STREQ(basic.getUserConfig().getPath(), expected);
    EXPECT_TRUE(SSystem::fileExists(expected));
    ASSERT_TRUE(basic.openComputerConfigFile());
    EXPECT_STREQ(basic.getComputerConfig().getPath(), computer.path() + "\\VEK\\Anlage.cfg");
}

TEST_F(ConfigFileTest, OldFileIsCopiedOnceAndNeverAgain) {
    user.write("Anlage.cfg", "[old]\r\nkey=1\r\n");
    ASSERT_TRUE(basic.openUserConfigFile());
    EXPECT_STREQ(basic.getUserConfig().getString("old", "key", "none"), "1");
    basic.getUserConfig().setString("old", "key", "2");
    basic.getUserConfig().save();

    user.write("Anlage.cfg", "[old]\r\nkey=3\r\n");
    SApplicationBasic again;
    again.setConfigFolders(user.path(), computer.path());
    again.parseCommandLine("C:\\Labor\\Anlage.exe");
    ASSERT_TRUE(again.openUserConfigFile());
    EXPECT_STREQ(again.getUserConfig().getString("old", "key", "none"), "2");
}

TEST_F(ConfigFileTest, MissingProgramNameOrUnusableFolderFailsCleanly) {
    BoxRecorder boxes;
    SApplicationBasic nameless;
    nameless.setConfigFolders(user.path(), computer.path());
    EXPECT_FALSE(nameless.openUserConfigFile());
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().text.find("Fehler in SApplication::openUserConfigFile(..): Der Dateiname der Anwendung "
                                     "konnte nicht ermittelt werden.\r\nEventuell"),
              0);
    EXPECT_STREQ(boxes.last().caption, "Fehler !");

    user.write("blocked", "a file where a folder should be");
    SApplicationBasic blocked;
    blocked.setConfigFolders(user.file("blocked"), computer.path());
    blocked.parseCommandLine("Anlage.exe");
    EXPECT_FALSE(blocked.openUserConfigFile());
}

TEST(ApplicationTempFiles, FreeNamesRemovedAtTheEnd) {
    SString first, second;
    {
        SApplicationBasic basic;
        first = basic.makeTempFileName("txt");
        second = basic.makeTempFileName("txt");
        EXPECT_NE(first, second);
        EXPECT_TRUE(first.endsWith(".txt"));
        FILE* f = std::fopen(first, "wb");
        ASSERT_NE(f, nullptr);
        std::fclose(f);
    }
    EXPECT_FALSE(SSystem::fileExists(first));
}

// A window that counts what reaches it.
class CountingWindow : public SWindow {
public:
    int ticks = 0;
    int userMessages = 0;
    volatile int* stopFlag = nullptr;
    void onTimer(DWORD) override { ++ticks; }
    LRESULT windowProc(HWND h, UINT msg, WPARAM w, LPARAM l, bool& handled, LRESULT& result) override {
        if (msg == WM_USER + 7 && h == hwnd) {
            ++userMessages;
            if (stopFlag && userMessages == 8) *stopFlag = 0; // the third of the second batch
        }
        return SWindow::windowProc(h, msg, w, l, handled, result);
    }
};

TEST(ApplicationWait, DispatchesWhileWaitingAndStopsOnTheFlag) {
    CountingWindow window;
    ASSERT_TRUE(window.create(nullptr));
    for (int i = 0; i < 5; ++i) PostMessageA(window.getHwnd(), WM_USER + 7, 0, 0);
    EXPECT_TRUE(globalApplicationBasic.wait(100));
    EXPECT_EQ(window.userMessages, 5);

    volatile int keepGoing = 1;
    window.stopFlag = &keepGoing;
    for (int i = 0; i < 5; ++i) PostMessageA(window.getHwnd(), WM_USER + 7, 0, 0);
    EXPECT_FALSE(globalApplicationBasic.wait(5000, &keepGoing));
    EXPECT_EQ(window.userMessages, 8);
}

void CALLBACK quitWithOtherCode(HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(99); }

// Closing the main window while a handler waits: the quit that wait takes must still end
// the program's loop. A thread timer ends a loop that lost it, with another code.
TEST(ApplicationWait, QuitDuringAWaitEndsTheLoop) {
    class Quitter : public SWindow {
    public:
        LRESULT windowProc(HWND h, UINT msg, WPARAM w, LPARAM l, bool& handled, LRESULT& result) override {
            if (msg == WM_USER + 3 && h == hwnd) PostQuitMessage(7);
            return SWindow::windowProc(h, msg, w, l, handled, result);
        }
    } window;
    ASSERT_TRUE(window.create(nullptr));
    PostMessageA(window.getHwnd(), WM_USER + 3, 0, 0);
    EXPECT_FALSE(globalApplicationBasic.wait(500));
    UINT_PTR rescue = SetTimer(nullptr, 0, 2000, quitWithOtherCode);
    EXPECT_EQ(globalApplication.runMessageLoop(), 7);
    KillTimer(nullptr, rescue);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

DWORD WINAPI sendToWindow(void* window) {
    SendMessageA(static_cast<HWND>(window), WM_USER + 7, 0, 0);
    return 0;
}

// The serial port waits through the system layer. Inside the program those waits handle
// this thread's messages (its read thread may be inside SendMessageA to one of our windows)
// and pass a quit on.
TEST(ApplicationWait, TheSystemLayersWaitsAreTheApplications) {
    CountingWindow window;
    ASSERT_TRUE(window.create(nullptr));
    HANDLE sender = CreateThread(nullptr, 0, sendToWindow, window.getHwnd(), 0, nullptr);
    ASSERT_NE(sender, nullptr);
    EXPECT_TRUE(SSystem::waitFor(sender, 10000)) << "the sender waits for a message nobody handled";
    EXPECT_EQ(window.userMessages, 1);
    MessagePump::until([&] { return WaitForSingleObject(sender, 0) == WAIT_OBJECT_0; }, 10000);
    CloseHandle(sender);

    PostQuitMessage(5);
    EXPECT_FALSE(SSystem::wait(10000));
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit was not passed on";
    EXPECT_EQ(msg.wParam, 5u);
}

TEST(ApplicationTimer, ReachesEveryRegisteredWindow) {
    CountingWindow a, b, c;
    ASSERT_TRUE(a.create(nullptr));
    ASSERT_TRUE(b.create(nullptr));
    ASSERT_TRUE(c.create(nullptr));
    c.enableTimerMessages(false);
    ASSERT_TRUE(globalApplication.startTimer());
    EXPECT_TRUE(MessagePump::until([&] { return a.ticks >= 5 && b.ticks >= 5; }, 3000));
    EXPECT_EQ(c.ticks, 0);
}

class Target {
public:
    int calls = 0;
    void hit() { ++calls; }
};

TEST(ApplicationBindings, FireForMatchingMessagesOnly) {
    Target any, button, clickOnly, notify;
    SEventCalls calls;
    calls.add(SEventBinding::make(WM_COMMAND, 0, 0, &any, &Target::hit));
    calls.add(SEventBinding::make(WM_COMMAND, 3005, 0, &button, &Target::hit));
    calls.add(SEventBinding::make(WM_COMMAND, 3005, BN_CLICKED + 5, &clickOnly, &Target::hit));
    calls.add(SEventBinding::make(WM_NOTIFY, 3006, NM_CLICK, &notify, &Target::hit));

    calls.fire(WM_COMMAND, MAKEWPARAM(3005, 0), 0);
    EXPECT_EQ(any.calls, 1);
    EXPECT_EQ(button.calls, 1);
    EXPECT_EQ(clickOnly.calls, 0);
    calls.fire(WM_COMMAND, MAKEWPARAM(3005, BN_CLICKED + 5), 0);
    EXPECT_EQ(clickOnly.calls, 1);
    calls.fire(WM_COMMAND, MAKEWPARAM(3099, 0), 0);
    EXPECT_EQ(button.calls, 2); // notification code 0 of 3005 before, none now
    EXPECT_EQ(any.calls, 3);

    NMHDR header{nullptr, 3006, (UINT)NM_CLICK};
    calls.fire(WM_NOTIFY, 3006, (LPARAM)&header);
    EXPECT_EQ(notify.calls, 1);
    header.code = (UINT)NM_DBLCLK;
    calls.fire(WM_NOTIFY, 3006, (LPARAM)&header);
    EXPECT_EQ(notify.calls, 1);
    calls.fire(WM_TIMER, 0, 0);
    EXPECT_EQ(any.calls, 3);
    EXPECT_EQ(calls.getAt(99).operation, nullptr); // the spare binding, no report
}

TEST(ApplicationWatch, WatchersHearDispatchedMessages) {
    class Watcher : public SWindow {
    public:
        int heard = 0;
        LPARAM value = 0;
        void onWatchedMessage(HWND, UINT msg, WPARAM, LPARAM, LPARAM userValue) override {
            if (msg == WM_USER + 9) {
                ++heard;
                value = userValue;
            }
        }
    } watcher;
    CountingWindow watched;
    ASSERT_TRUE(watcher.create(nullptr));
    ASSERT_TRUE(watched.create(nullptr));
    globalApplication.addWatch(watcher.getHwnd(), watched.getHwnd(), WM_USER + 9, 42);
    SendMessageA(watched.getHwnd(), WM_USER + 9, 0, 0);
    SendMessageA(watched.getHwnd(), WM_USER + 8, 0, 0);
    EXPECT_EQ(watcher.heard, 1);
    EXPECT_EQ(watcher.value, 42);
    globalApplication.removeWatches(watcher.getHwnd());
    SendMessageA(watched.getHwnd(), WM_USER + 9, 0, 0);
    EXPECT_EQ(watcher.heard, 1);
}

TEST(ApplicationMainWindow, DestroyingItShowsTheLogAndQuits) {
    BoxRecorder boxes;
    CountingWindow main;
    ASSERT_TRUE(main.create(nullptr));
    globalApplication.setMainWindow(&main);
    globalError.clearLog();
    globalError.add("protokolliert");
    DestroyWindow(main.getHwnd());
    globalApplication.setMainWindow(nullptr);
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_NE(boxes.last().text.find("protokolliert"), -1);
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    globalError.clearLog();
}

} // namespace
