// The remote experiment of the released program against exp-server on loopback, driven as a
// student drives it: the experiment window's fields and buttons, its message boxes, and the
// main window that shows the relayed plant and sends the mix commands over the server.
#include "tests/experiment/ExperimentPeers.h"
#include "tests/program/Program.h"
#include "tests/support/gui/Artifacts.h"
#include "tests/support/gui/InputSender.h"
#include "tests/support/gui/MessagePump.h"
#include "tests/support/gui/WindowCapture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace {

// Whether the control holds the keyboard focus of its (the program's) thread.
bool hasFocus(HWND control) {
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    return GetGUIThreadInfo(GetWindowThreadProcessId(control, nullptr), &gui) && gui.hwndFocus == control;
}

// The experiment window as the student sees it.
struct ExperimentWindow {
    HWND window = nullptr, name = nullptr, matrikel = nullptr, view = nullptr;

    // Empty when the window opened with its fields, else what went wrong.
    std::string open(Program& program) {
        // The window opens to the right of the main window: both must fit on the screen
        // for the mouse to reach every field.
        SetWindowPos(program.main, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        MessagePump::flush();
        HWND start = nullptr;
        if (!MessagePump::until([&] { return (start = program.child("Button", "Experiment starten")) != nullptr; },
                                10000))
            return "no button \"Experiment starten\"";
        if (!Program::press(start, [&] { return (window = program.waitForOwnedWindow(0)) != nullptr; }))
            return "no experiment window after the click";
        name = childOf(window, "Edit", "Name");
        matrikel = childOf(window, "Edit", "MatrikelNr");
        for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            if (classOf(c) == "Edit" && (GetWindowLongA(c, GWL_STYLE) & ES_MULTILINE)) view = c;
        return name && matrikel && view ? "" : "fields or protocol view missing";
    }
    HWND button(const char* text) const { return childOf(window, "Button", text); }
    // Every workflow button writes to the protocol or shows a box at once, or the server
    // answers within moments.
    bool press(const char* text, Program& program) const {
        size_t before = protocol().size();
        return Program::press(button(text), [&] { return protocol().size() != before || !program.noBox(); });
    }
    bool enabled(const char* text) const { return IsWindowEnabled(button(text)); }
    // Clicks into the field and types over its text.
    static bool type(HWND field, const std::string& text) {
        if (!Program::press(field, [&] { return hasFocus(field); })) return false;
        SendMessageA(field, EM_SETSEL, 0, -1);
        // The keys go to the focused field of the foreground window.
        return InputSender(GetAncestor(field, GA_ROOT)).realText(text) &&
               MessagePump::until([&] { return textOf(field) == text; }, 5000);
    }
    std::string protocol() const { return textOf(view); }
    bool protocolShows(const std::string& text, int timeoutMs = 10000) const {
        return MessagePump::until([&] { return protocol().find(text) != std::string::npos; }, timeoutMs);
    }
    bool becomesEnabled(const char* text) const {
        return MessagePump::until([&] { return enabled(text); }, 10000);
    }
};

} // namespace

// Connect, upload, start, the relayed plant in the main window, a mix click as one 'D'
// message to the server, finish and close.
TEST(ExperimentRoad, AFullSessionRelaysThePlantAndTheMixCommand) {
    ExpServer server;
    ASSERT_TRUE(server.start("--telemetry-ms 50 --step-ms 5")) << server.getError();
    pointSettingsAt(server.webPort, server.port);
    Program program;
    ASSERT_TRUE(program.started && program.waitForMainWindow());
    program.writeFirmware("\x0C\x94\x34\x12");
    HWND value = program.childStarting("Static", "Level = ");
    ASSERT_TRUE(value);
    ExperimentWindow experiment;
    ASSERT_EQ(experiment.open(program), "");

    ASSERT_TRUE(experiment.type(experiment.matrikel, "123456"));
    ASSERT_TRUE(experiment.type(experiment.name, "Anna"));
    ASSERT_TRUE(experiment.press("Verbinden", program));
    ASSERT_TRUE(experiment.becomesEnabled("Upload")) << experiment.protocol();
    EXPECT_FALSE(experiment.enabled("Verbinden"));
    ASSERT_TRUE(experiment.press("Upload", program));
    ASSERT_TRUE(experiment.becomesEnabled("Starten")) << experiment.protocol();
    EXPECT_EQ(textOf(value), "Level = 0");
    ASSERT_TRUE(experiment.press("Starten", program));
    ASSERT_TRUE(experiment.becomesEnabled("Beenden")) << experiment.protocol();
    EXPECT_TRUE(MessagePump::until([&] { return textOf(value) != "Level = 0"; }, 5000)) << "no relayed telemetry";

    EXPECT_TRUE(Program::press(program.child("Button", "2:1"),
                               [&] { return server.received().find(" D ") != std::string::npos; }));
    ASSERT_TRUE(experiment.press("Beenden", program));
    ASSERT_TRUE(experiment.becomesEnabled("Starten")) << experiment.protocol();
    EXPECT_TRUE(program.noBox());

    std::string protocol = experiment.protocol();
    for (const char* step : {"Verbindung zum Experiment herstellen\r\n", "Willkommen, Anna!", "Upload Steuerung\r\n",
                             "Firmware empfangen (4 Bytes)", "Experiment gestartet\r\n", "Experiment beendet\r\n"})
        EXPECT_NE(protocol.find(step), std::string::npos) << step << " missing in\n" << protocol;
    MessagePump::run(200);
    WindowCapture::ofWindow(experiment.window).savePng(artifactPath("program/experiment-session.png"));
    EXPECT_EQ(server.received(), "1 S 33 connect|matrikel=123456;name=Anna\n1 U 4\n1 S 5 start\n1 D 2 02 01\n"
                                "1 S 6 finish\n");

    EXPECT_TRUE(Program::press(experiment.button("schlie\337en"), [&] { return !IsWindowVisible(experiment.window); }));
    EXPECT_TRUE(program.endsByItsButton()) << "still running after the end button";
}

// What the student gets wrong, what the server refuses and a server that breaks the
// protocol: each is said in German, and the window goes on to a working session.
TEST(ExperimentRoad, UserErrorsAndAMisbehavingServerLeaveTheWindowUsable) {
    ExpServer server;
    // The server's second frame of a session announces a payload of almost 4 GB.
    ASSERT_TRUE(server.start("--step-ms 5 --huge-at 2")) << server.getError();
    pointSettingsAt(server.webPort, server.port);
    Program program;
    ASSERT_TRUE(program.started && program.waitForMainWindow());
    ExperimentWindow experiment;
    ASSERT_EQ(experiment.open(program), "");

    ASSERT_TRUE(experiment.press("Verbinden", program));
    EXPECT_EQ(program.answerBox(), "Fehler: Sie m\374ssen Ihre Matrikel-Nummer angeben!");
    ASSERT_TRUE(experiment.type(experiment.matrikel, "12345"));
    ASSERT_TRUE(experiment.press("Verbinden", program));
    EXPECT_EQ(program.answerBox(), "Fehler: Bitte geben Sie Ihren Namen an.");
    ASSERT_TRUE(experiment.type(experiment.name, "Anna"));
    ASSERT_TRUE(experiment.press("Verbinden", program)); // five digits: the server refuses
    EXPECT_TRUE(experiment.protocolShows("Die Matrikelnummer muss aus sechs Ziffern bestehen.\r\n"))
        << experiment.protocol();
    EXPECT_TRUE(experiment.becomesEnabled("Verbinden"));
    EXPECT_FALSE(experiment.enabled("Upload"));

    ASSERT_TRUE(experiment.type(experiment.matrikel, "123456"));
    ASSERT_TRUE(experiment.press("Verbinden", program));
    ASSERT_TRUE(experiment.becomesEnabled("Upload")) << experiment.protocol();
    ASSERT_TRUE(experiment.press("Upload", program));
    EXPECT_EQ(program.answerBox(), "Fehler: Steuerung nicht gefunden.");
    program.writeFirmware("\x0C\x94");
    ASSERT_TRUE(experiment.press("Upload", program)); // answered by the oversized frame
    EXPECT_TRUE(experiment.protocolShows("Verbindung getrennt: Nachricht mit 4294967280 Bytes ist zu lang.\r\n"))
        << experiment.protocol();
    EXPECT_TRUE(experiment.becomesEnabled("Verbinden"));
    EXPECT_FALSE(experiment.enabled("Upload"));

    // A new session on the same window is admitted again.
    ASSERT_TRUE(experiment.press("Verbinden", program));
    EXPECT_TRUE(experiment.becomesEnabled("Upload")) << experiment.protocol();
    std::string protocol = experiment.protocol();
    EXPECT_EQ(protocol.rfind("Sie m\374ssen Ihre Matrikel-Nummer angeben!\r\nBitte geben Sie Ihren Namen an.\r\n", 0), 0u)
        << protocol;
    EXPECT_NE(protocol.find("Steuerung nicht gefunden.\r\n"), std::string::npos) << protocol;
    EXPECT_TRUE(program.responds());
    EXPECT_TRUE(program.noBox());
    EXPECT_TRUE(program.endsByItsButton()) << "still running after the end button";
}

// A web server that takes the address query but never answers: after the query's wait the
// student reads why in a box, and the next attempt, answered this time, connects.
TEST(ExperimentRoad, AWebServerThatNeverAnswersIsReportedAndTheNextAttemptConnects) {
    ExpServer server;
    ASSERT_TRUE(server.start("--step-ms 5")) << server.getError();
    WebPeer web; // its "wakes" port leaves the first request unanswered
    ASSERT_TRUE(web.start()) << web.getError();
    pointSettingsAt(web.portOf("wakes"), server.port);
    Program program;
    ASSERT_TRUE(program.started && program.waitForMainWindow());
    ExperimentWindow experiment;
    ASSERT_EQ(experiment.open(program), "");
    ASSERT_TRUE(experiment.type(experiment.matrikel, "123456"));
    ASSERT_TRUE(experiment.type(experiment.name, "Anna"));

    // The click has arrived once the button holds the focus; the query then waits for the
    // reply and keeps the program answering meanwhile.
    HWND connect = experiment.button("Verbinden");
    ASSERT_TRUE(Program::press(connect, [&] { return hasFocus(connect) || !program.noBox(); }));
    EXPECT_TRUE(program.responds());
    EXPECT_EQ(program.answerBox(30000), "Fehler: Keine Adresse vom Experiment-Webserver erhalten.");
    EXPECT_TRUE(experiment.enabled("Verbinden"));

    ASSERT_TRUE(experiment.press("Verbinden", program));
    EXPECT_TRUE(experiment.becomesEnabled("Upload")) << experiment.protocol();
    EXPECT_EQ(experiment.protocol().rfind("Keine Adresse vom Experiment-Webserver erhalten.\r\n"
                                          "Verbindung zum Experiment herstellen\r\n",
                                          0),
              0u)
        << experiment.protocol();
    EXPECT_EQ(server.received(), "1 S 33 connect|matrikel=123456;name=Anna\n");
    EXPECT_TRUE(program.noBox());
    EXPECT_TRUE(program.endsByItsButton()) << "still running after the end button";
}
