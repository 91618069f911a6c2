// The main window during a remote experiment: neither the serial telemetry nor the window
// freezes while the experiment's servers keep it waiting, and the experiment window's place.
#include <winsock2.h>

#include "VEK_GUI/SMessages.h"
#include "app/MainWnd.h"
#include "tests/VEK_SYSTEM/HeldNameLookup.h"
#include "tests/experiment/ExperimentPeers.h"
#include "tests/support/BoxRecorder.h"
#include "tests/support/gui/MessagePump.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {


// A listener whose accept queue is full: the next connect is never answered, as by a host
// that cannot be reached.
class FullListener {
public:
    FullListener() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        listener = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int length = sizeof address;
        if (bind(listener, (sockaddr*)&address, sizeof address) != 0 || listen(listener, 0) != 0 ||
            getsockname(listener, (sockaddr*)&address, &length) != 0)
            return;
        port = ntohs(address.sin_port);
        for (int i = 0; i < 16 && !full; ++i) {
            SOCKET c = socket(AF_INET, SOCK_STREAM, 0);
            u_long on = 1;
            ioctlsocket(c, FIONBIO, &on);
            connect(c, (sockaddr*)&address, sizeof address);
            fillers.push_back(c);
            fd_set done;
            FD_ZERO(&done);
            FD_SET(c, &done);
            timeval wait = {0, 300000};
            full = select(0, nullptr, &done, nullptr, &wait) == 0;
        }
    }
    ~FullListener() {
        for (SOCKET c : fillers) closesocket(c);
        closesocket(listener);
        WSACleanup();
    }
    FullListener(const FullListener&) = delete;
    FullListener& operator=(const FullListener&) = delete;

    int port = 0;
    bool full = false;

private:
    SOCKET listener = INVALID_SOCKET;
    std::vector<SOCKET> fillers;
};

// What another thread saw of the program while it waited on the network: whether the
// windows answered, whether the telemetry of the "serial port" moved the value text from
// frame to frame, and whether a second press of the connect button was taken.
struct Watch {
    int answered = 0;
    bool moving = false;
    bool secondPressAnswered = false;
};

std::string textVia(HWND window) {
    char text[64] = "";
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, (LPARAM)text, SMTO_BLOCK, 2000, &got))
        return "(no answer)";
    return text;
}

// Sends frames of `level` byte by byte, as the serial port's reader does, until the value
// text shows it: the decoder takes the next frame only after the window's timer has ticked.
bool showLevel(HWND main, HWND valueText, int level) {
    const unsigned char frame[] = {0x55, 0xAA, (unsigned char)level, (unsigned char)(level >> 8), 0, 100, 0, 1, 2};
    const std::string shown = "Level = " + std::to_string(level);
    for (int i = 0; i < 40; ++i) {
        for (unsigned char b : frame) {
            DWORD_PTR r = 0;
            if (!SendMessageTimeoutA(main, MSG_RECEIVE_BYTE, 0, b, SMTO_BLOCK, 2000, &r)) return false;
        }
        if (textVia(valueText) == shown) return true;
        Sleep(20);
    }
    return false;
}

// Runs `press` on this (the GUI) thread while another thread watches once the lookup was
// asked. A stalling lookup is let go only after the press has returned, or, should the
// windows be frozen, after a while.
Watch pressAndWatch(HeldNameLookup& lookup, HWND main, HWND valueText, HWND connectButton, int level,
                    const std::function<void()>& press) {
    Watch watch;
    std::atomic<bool> pressed{false};
    std::thread watcher([&] {
        if (!lookup.waitForCall(10000)) return;
        for (int i = 0; i < 3; ++i) watch.answered += textVia(valueText) != "(no answer)";
        watch.moving = showLevel(main, valueText, level) && showLevel(main, valueText, level + 1);
        DWORD_PTR r = 0;
        watch.secondPressAnswered = SendMessageTimeoutA(connectButton, BM_CLICK, 0, 0, SMTO_BLOCK, 2000, &r) != 0;
        for (int i = 0; i < 150 && !pressed; ++i) Sleep(100);
        lookup.release();
    });
    press();
    pressed = true;
    watcher.join();
    return watch;
}

} // namespace

// A name server that never answers, for the address query and for the experiment server's
// name, and an experiment server that cannot be reached: the main window goes on answering
// and showing the telemetry of the serial port, a second press of the button is ignored,
// and after the connect's time the student reads that it failed.
TEST(MainWndRoads, NeitherAStalledNameLookupNorAnUnreachableServerFreezesTheWindows) {
    FullListener unreachable;
    ASSERT_TRUE(unreachable.full) << "the listener's queue did not fill";
    ExperimentLab lab;
    ASSERT_TRUE(lab.ready());
    lab.servers("labor.test", 80, unreachable.port);
    BoxRecorder boxes;
    {
        MainWnd main;
        ASSERT_TRUE(main.create(nullptr));
        main.show(SW_SHOW);
        main.openExperiment();
        MessagePump::flush();
        HWND valueText = FindWindowExA(main.getHwnd(), nullptr, "Static", "Level = 0");
        ASSERT_TRUE(valueText);
        ExperimentWnd& experiment = main.getExperimentWnd();
        HWND connect = experiment.getButton(ExperimentEffects::Verbinden).getHwnd();
        experiment.getEditMatrikel().setWindowText("123456");
        experiment.getEditName().setWindowText("Anna");
        // Without a running experiment and with the port closed a mix button does nothing.
        SendMessageA(FindWindowExA(main.getHwnd(), nullptr, "Button", "2:1"), BM_CLICK, 0, 0);
        EXPECT_FALSE(main.getSteuerung().isOpen());
        EXPECT_EQ(boxes.count(), 0);

        struct {
            const char* ip; // empty: the address query asks the web server by its name first
            const char* answer; // of the name server; empty: none
            const char* box;
        } cases[] = {{"", "", "Keine Adresse vom Experiment-Webserver erhalten."},
                     {"experiment.test", "", "Verbindung zum Experiment konnte nicht hergestellt werden."},
                     {"experiment.test", "127.0.0.1", "Verbindung zum Experiment konnte nicht hergestellt werden."}};
        SetTimer(main.getHwnd(), 1, 10, nullptr); // the program's 10 ms tick
        int level = 300;
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.ip) + " " + c.answer);
            HeldNameLookup stall(c.answer, *c.answer == 0);
            experiment.getNetClient().setNameLookup(stall.function());
            experiment.getNetClient().setIp(c.ip);
            int before = boxes.count();
            level += 2;
            Watch watch =
                pressAndWatch(stall, main.getHwnd(), valueText, connect, level, [&] { experiment.connect(); });
            EXPECT_EQ(watch.answered, 3);
            EXPECT_TRUE(watch.moving);
            EXPECT_TRUE(watch.secondPressAnswered);
            EXPECT_EQ(stall.calls(), 1);
            ASSERT_EQ(boxes.count(), before + 1);
            EXPECT_STREQ(boxes.last().text, c.box);
            EXPECT_EQ(experiment.getState(), ExperimentSession::Idle);
        }
        KillTimer(main.getHwnd(), 1);
        experiment.getNetClient().setNameLookup(nullptr);
        main.close();
    }
}

// The experiment window opens directly to the right of the main window, and where that would
// leave part of it beyond the screen's edge it is moved back onto the work area.
TEST(MainWndPlace, ExperimentWindowBesideTheMainWindowAndOnTheScreen) {
    ExperimentLab lab;
    ASSERT_TRUE(lab.ready());
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    // The main window at x; its own rectangle and the experiment window's.
    auto openBeside = [&](int x, RECT& m) {
        MainWnd main;
        EXPECT_TRUE(main.create(nullptr));
        SetWindowPos(main.getHwnd(), nullptr, x, work.top + 20, 0, 0, SWP_NOZORDER | SWP_NOSIZE);
        main.show(SW_SHOW);
        MessagePump::flush();
        GetWindowRect(main.getHwnd(), &m);
        main.openExperiment();
        MessagePump::flush();
        RECT e{};
        GetWindowRect(main.getExperimentWnd().getHwnd(), &e);
        return e;
    };
    RECT m{};
    RECT roomy = openBeside(work.left, m);
    ASSERT_LE(2 * (m.right - m.left), work.right - work.left) << "the screen is too narrow for the case";
    EXPECT_EQ(roomy.left, m.right);
    EXPECT_EQ(roomy.top, m.top);
    EXPECT_EQ(roomy.right - roomy.left, m.right - m.left);

    RECT atEdge = openBeside(work.right - (m.right - m.left) / 2, m);
    EXPECT_EQ(atEdge.right, work.right);
    EXPECT_EQ(atEdge.right - atEdge.left, m.right - m.left);
}
