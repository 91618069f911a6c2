// The main window's two roads during a remote experiment: relayed telemetry reaches its value
// text, and a mix button goes to the server while the experiment runs, never to the port.
#include "VEK_GUI/SApplicationBasic.h"
#include "VEK_SYSTEM/SSystem.h"
#include "app/MainWnd.h"
#include "tests/experiment/ExperimentPeers.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestResources.h"
#include "tests/support/gui/MessagePump.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {


// The 'D' frames the server received, one "bytes" text each.
std::string dataFrames(const std::string& record) {
    std::string frames, line;
    for (std::istringstream in(record); std::getline(in, line);)
        if (line.starts_with("1 D ")) frames += line.substr(4) + "\n";
    return frames;
}

void clickButton(HWND parent, const char* text) {
    HWND button = FindWindowExA(parent, nullptr, "Button", text);
    ASSERT_TRUE(button) << text;
    SendMessageA(button, BM_CLICK, 0, 0);
    MessagePump::flush();
}

} // namespace

TEST(MainWndRoads, RelayedTelemetryShowsAndMixGoesToTheServerWhileTheExperimentRuns) {
    if (!NativePeer::unixFileExists(ExpServer::programPath()))
        GTEST_SKIP() << "exp-server not built at " << ExpServer::programPath();
    startTestResources();
    TempDir config, install;
    CreateDirectoryA(install.file("bin"), nullptr);
    CreateDirectoryA(install.file("Steuerung"), nullptr);
    CreateDirectoryA(install.file("Steuerung\\temp_bin"), nullptr);
    install.write("Steuerung\\temp_bin\\Steuerung.bin", "\x0C\x94\x34\x12");
    globalApplicationBasic.setConfigFolders(config.path(), config.path());
    globalApplicationBasic.parseCommandLine(install.file("bin\\Anlage.exe"));
    ASSERT_TRUE(globalApplicationBasic.openUserConfigFile());
    ExpServer server;
    ASSERT_TRUE(server.start("--telemetry-ms 20 --step-ms 5")) << server.getError();
    SFileIni& ini = globalApplicationBasic.getUserConfig();
    ini.setString("Experiment", "WebServer", "127.0.0.1");
    ini.setString("Experiment", "WebPort", SString::formatted("%d", server.webPort));
    ini.setString("Experiment", "ExperimentPort", SString::formatted("%d", server.port));
    {
        MainWnd main;
        ASSERT_TRUE(main.create(nullptr));
        main.show(SW_SHOW);
        MessagePump::flush();
        HWND valueText = FindWindowExA(main.getHwnd(), nullptr, "Static", "Level = 0");
        ASSERT_TRUE(valueText);

        clickButton(main.getHwnd(), "2:1"); // no experiment, port closed: nothing happens
        EXPECT_FALSE(main.getSteuerung().isOpen());

        main.openExperiment();
        ExperimentWnd& experiment = main.getExperimentWnd();
        experiment.getEditMatrikel().setWindowText("123456");
        experiment.getEditName().setWindowText("Anna");
        auto reach = [&](int state) {
            return MessagePump::until([&] { return experiment.getState() == state; }, 5000);
        };
        experiment.connect();
        ASSERT_TRUE(reach(ExperimentSession::Connected));
        experiment.upload();
        ASSERT_TRUE(reach(ExperimentSession::Ready));
        experiment.start();
        ASSERT_TRUE(reach(ExperimentSession::Running));

        char text[64] = "";
        EXPECT_TRUE(MessagePump::until(
            [&] { return GetWindowTextA(valueText, text, sizeof text), std::string(text) != "Level = 0"; }, 5000))
            << "the relayed telemetry did not reach the value text";
        EXPECT_EQ(std::string(text).rfind("Level = ", 0), 0u) << text;

        clickButton(main.getHwnd(), "1:2");
        EXPECT_TRUE(MessagePump::until([&] { return dataFrames(server.record()) == "2 01 02\n"; }, 5000))
            << server.record();
        experiment.end();
        main.close();
    }
    globalApplicationBasic.getUserConfig().close(false);
    SSystem::deleteFile(install.file("Steuerung\\temp_bin\\Steuerung.bin"));
    RemoveDirectoryA(install.file("Steuerung\\temp_bin"));
    RemoveDirectoryA(install.file("Steuerung"));
    RemoveDirectoryA(install.file("bin"));
}

// The experiment window opens directly to the right of the main window, and where that would
// leave part of it beyond the screen's edge it is moved back onto the work area.
TEST(MainWndPlace, ExperimentWindowBesideTheMainWindowAndOnTheScreen) {
    startTestResources();
    TempDir config, install;
    CreateDirectoryA(install.file("bin"), nullptr);
    globalApplicationBasic.setConfigFolders(config.path(), config.path());
    globalApplicationBasic.parseCommandLine(install.file("bin\\Anlage.exe"));
    ASSERT_TRUE(globalApplicationBasic.openUserConfigFile());
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
