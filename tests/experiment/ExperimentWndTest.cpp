// The experiment window under Wine: its buttons driven as a student would, against
// exp-server, with the user errors it reports and the camera page reaching a browser.
#include "VEK_GUI/SApplicationBasic.h"
#include "VEK_SYSTEM/SSystem.h"
#include "app/ExperimentWnd.h"
#include "tests/experiment/ExperimentPeers.h"
#include "tests/support/BoxRecorder.h"
#include "tests/support/TempDir.h"
#include "tests/support/gui/DialogAnswerer.h"
#include "tests/support/gui/MessagePump.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class RecordingSink : public TelemetrySink {
public:
    void onTelemetryByte(unsigned char byte) override { bytes.push_back(byte); }
    std::vector<unsigned char> bytes;
};


class ExperimentWndTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(lab.ready()); }
    void servers(const char* host, int webPort, int experimentPort) { lab.servers(host, webPort, experimentPort); }
    void writeFirmware(const char* bytes, int length = -1) { lab.writeFirmware(bytes, length); }

    // exp-server started with the options, and the lab's servers set to it.
    void serve(ExpServer& server, const std::string& options) {
        ASSERT_TRUE(server.start(options)) << server.getError();
        servers("127.0.0.1", server.webPort, server.port);
    }

    static void open(ExperimentWnd& wnd, bool withStudent = false) {
        if (!wnd.isCreated()) {
            ASSERT_TRUE(wnd.create(nullptr));
        }
        wnd.show(SW_RESTORE);
        MessagePump::flush();
        if (withStudent) typeStudent(wnd);
    }

    // Open with a student typed in, and connected to the lab's servers.
    static void openConnected(ExperimentWnd& wnd) {
        open(wnd, true);
        wnd.connect();
        ASSERT_TRUE(until(wnd, ExperimentSession::Connected)) << view(wnd);
    }

    // Verbinden, Upload, Start, Fertig: 1 enabled, 0 disabled.
    static std::string row(ExperimentWnd& wnd) {
        std::string r;
        for (auto b : {ExperimentEffects::Verbinden, ExperimentEffects::Upload, ExperimentEffects::Start,
                       ExperimentEffects::Fertig})
            r += wnd.getButton(b).isEnabled() ? '1' : '0';
        return r;
    }

    static std::string view(ExperimentWnd& wnd) { return wnd.getProtokoll().getWindowText().getBuffer(); }

    static bool until(ExperimentWnd& wnd, int state) {
        return MessagePump::until([&] { return wnd.getState() == state; }, 5000);
    }

    static void typeStudent(ExperimentWnd& wnd) {
        wnd.getEditMatrikel().setWindowText("123456");
        wnd.getEditName().setWindowText("Anna");
    }

    ExperimentLab lab;
};

// A user error is an error box and a line in the view (the packed program's suite goes through
// each text); upload, start and finish while Idle do nothing, even with a firmware present.
TEST_F(ExperimentWndTest, UserErrorsGoToTheViewAndABoxAndLeaveTheSessionIdle) {
    BoxRecorder boxes;
    ExperimentWnd wnd;
    open(wnd);
    EXPECT_EQ(row(wnd), "1000");
    EXPECT_TRUE(wnd.getKamera().isEnabled() && wnd.getEnde().isEnabled());
    wnd.connect();
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_STREQ(boxes.last().text, "Sie m\374ssen Ihre Matrikel-Nummer angeben!");
    EXPECT_STREQ(boxes.last().caption, "Fehler");
    EXPECT_EQ(boxes.last().type, (unsigned)MB_ICONERROR);
    EXPECT_EQ(view(wnd), "Sie m\374ssen Ihre Matrikel-Nummer angeben!\r\n");

    writeFirmware("\x0C\x94");
    wnd.upload();
    wnd.start();
    wnd.finish();
    EXPECT_EQ(boxes.count(), 1);
    EXPECT_EQ(wnd.getState(), ExperimentSession::Idle);
    EXPECT_EQ(row(wnd), "1000");
    EXPECT_FALSE(wnd.getNetClient().isConnected());
}

// Connect, a missing firmware, upload with its dots, start, telemetry, finish, a second
// run, and closing while Running: every step through the window's buttons.
TEST_F(ExperimentWndTest, FullSessionThroughTheButtons) {
    SKIP_WITHOUT_EXP_SERVER();
    ExpServer server;
    ASSERT_NO_FATAL_FAILURE(serve(server, "--telemetry-ms 20 --step-ms 5"));
    BoxRecorder boxes;
    RecordingSink sink;
    ExperimentWnd wnd;
    wnd.setTelemetrySink(&sink);
    open(wnd, true);

    wnd.getButton(ExperimentEffects::Verbinden).click();
    EXPECT_EQ(wnd.getState(), ExperimentSession::Connecting);
    EXPECT_EQ(row(wnd), "1000");
    ASSERT_TRUE(until(wnd, ExperimentSession::Connected)) << view(wnd);
    EXPECT_EQ(row(wnd), "0100");

    wnd.getButton(ExperimentEffects::Upload).click();
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_STREQ(boxes.last().text, "Steuerung nicht gefunden.");
    EXPECT_EQ(wnd.getState(), ExperimentSession::Connected);

    writeFirmware("\x0C\x94\x34\x12\xFF\x7F");
    wnd.getButton(ExperimentEffects::Upload).click();
    EXPECT_EQ(wnd.getState(), ExperimentSession::Uploading);
    EXPECT_EQ(row(wnd), "0100");
    ASSERT_TRUE(until(wnd, ExperimentSession::Ready)) << view(wnd);
    EXPECT_EQ(row(wnd), "0010");
    EXPECT_NE(view(wnd).find("Upload Steuerung\r\n...Firmware empfangen (6 Bytes)\r\n"), std::string::npos)
        << view(wnd);

    wnd.finish(); // while Ready: nothing
    EXPECT_EQ(wnd.getState(), ExperimentSession::Ready);
    wnd.getButton(ExperimentEffects::Start).click();
    ASSERT_TRUE(until(wnd, ExperimentSession::Running)) << view(wnd);
    EXPECT_EQ(row(wnd), "0001");
    wnd.start(); // while Running: nothing
    ASSERT_TRUE(MessagePump::until([&] { return sink.bytes.size() >= 9 * 20; }, 5000)) << sink.bytes.size();

    wnd.getButton(ExperimentEffects::Fertig).click();
    EXPECT_EQ(wnd.getState(), ExperimentSession::Finishing);
    EXPECT_EQ(row(wnd), "0001");
    ASSERT_TRUE(until(wnd, ExperimentSession::Ready)) << view(wnd);
    EXPECT_EQ(row(wnd), "0010");
    // Whole telemetry frames, in order: each relayed 'D' frame carries one.
    ASSERT_EQ(sink.bytes.size() % 9, 0u);
    for (size_t i = 0; i < sink.bytes.size(); i += 9)
        ASSERT_TRUE(sink.bytes[i] == 0x55 && sink.bytes[i + 1] == 0xAA) << "frame at byte " << i;

    // A second run, closed by the user while Running.
    wnd.getButton(ExperimentEffects::Start).click();
    ASSERT_TRUE(until(wnd, ExperimentSession::Running)) << view(wnd);
    std::string before = view(wnd);
    SendMessageA(wnd.getHwnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(wnd.isWindow());
    EXPECT_FALSE(wnd.isVisible());
    EXPECT_FALSE(wnd.getNetClient().isConnected());
    EXPECT_EQ(wnd.getState(), ExperimentSession::Idle);
    open(wnd);
    EXPECT_EQ(row(wnd), "1000");
    MessagePump::run(100);
    EXPECT_EQ(view(wnd), before);
    EXPECT_EQ(boxes.count(), 1);

    // The press of start while Running and of finish while Ready sent nothing.
    EXPECT_EQ(server.received().find("1 S 33 connect|matrikel=123456;name=Anna\n1 U 6\n1 S 5 start\n1 S 6 finish\n"
                                    "1 S 5 start\n"),
              0u)
        << server.received();
}

ExperimentWnd* closedDuringQuery = nullptr;

// The student closes the window while the query waits, opens it again and connects.
void CALLBACK closeReopenAndConnect(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    SendMessageA(closedDuringQuery->getHwnd(), WM_CLOSE, 0, 0);
    closedDuringQuery->show(SW_RESTORE);
    closedDuringQuery->connect();
}

// A connect while the address query of an earlier one waits is ignored: it would take over
// the stream the query reads, and the query's end would close its connection.
TEST_F(ExperimentWndTest, AConnectDuringTheAddressQueryIsIgnored) {
    SKIP_WITHOUT_EXP_SERVER();
    ExpServer server;
    ASSERT_TRUE(server.start("--step-ms 5")) << server.getError();
    WebPeer web;
    ASSERT_TRUE(web.start()) << web.getError();
    servers("127.0.0.1", web.portOf("wakes"), server.port); // the first request is never answered
    BoxRecorder boxes;
    ExperimentWnd wnd;
    open(wnd, true);
    closedDuringQuery = &wnd;
    SetTimer(nullptr, 0, 300, closeReopenAndConnect);
    wnd.connect(); // the query ends with the closed window, silently
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_EQ(view(wnd), "");
    EXPECT_EQ(wnd.getState(), ExperimentSession::Idle);

    wnd.connect();
    ASSERT_TRUE(until(wnd, ExperimentSession::Connected)) << view(wnd);
    EXPECT_EQ(server.received(), "1 S 33 connect|matrikel=123456;name=Anna\n");
    EXPECT_EQ(boxes.count(), 0);
}

void CALLBACK closeTheWindow(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    SendMessageA(closedDuringQuery->getHwnd(), WM_CLOSE, 0, 0);
}

// The student gives up on a web server that does not answer and closes the window: the
// query ends with it, and no box turns up for a window that is gone.
TEST_F(ExperimentWndTest, ClosingTheWindowEndsTheAddressQuerySilently) {
    WebPeer web;
    ASSERT_TRUE(web.start()) << web.getError();
    servers("127.0.0.1", web.portOf("silent"), 1);
    BoxRecorder boxes;
    ExperimentWnd wnd;
    open(wnd, true);
    closedDuringQuery = &wnd;
    SetTimer(nullptr, 0, 300, closeTheWindow);
    wnd.connect();
    EXPECT_FALSE(wnd.isVisible());
    EXPECT_FALSE(wnd.getNetClient().isConnected());
    MessagePump::run(200);
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_EQ(view(wnd), "");
    EXPECT_EQ(row(wnd), "1000");
}

// A stored address that cannot be reached any more is forgotten, so the next press asks the
// web server again; an address whose server refused the admission is kept.
TEST_F(ExperimentWndTest, AnAddressThatCannotBeReachedIsForgottenARefusingServerKeepsIt) {
    SKIP_WITHOUT_EXP_SERVER();
    ExpServer server, refusing;
    ASSERT_TRUE(server.start("--step-ms 5")) << server.getError();
    ASSERT_TRUE(refusing.start("--step-ms 5 --refuse")) << refusing.getError();
    BoxRecorder boxes;
    {
        servers("127.0.0.1", server.webPort, server.port);
        ExperimentWnd wnd;
        open(wnd, true);
        wnd.getNetClient().setIp("127.0.0.5"); // an address of an earlier run; nothing listens there
        wnd.connect();
        ASSERT_EQ(boxes.count(), 1);
        EXPECT_STREQ(boxes.last().text, "Verbindung zum Experiment konnte nicht hergestellt werden.");
        EXPECT_TRUE(wnd.getNetClient().getIp().isEmpty());
        wnd.connect();
        ASSERT_TRUE(until(wnd, ExperimentSession::Connected)) << view(wnd);
        EXPECT_STREQ(wnd.getNetClient().getIp(), "127.0.0.1");
        wnd.end();
    }
    {
        servers("127.0.0.1", 1, refusing.port); // no web server: the address must be reused
        ExperimentWnd wnd;
        open(wnd, true);
        wnd.getNetClient().setIp("127.0.0.1");
        for (int attempt = 0; attempt < 2; ++attempt) {
            wnd.connect();
            ASSERT_TRUE(MessagePump::until([&] { return view(wnd).ends_with("zur Zeit gesperrt.\r\n"); }, 5000))
                << view(wnd);
            EXPECT_EQ(wnd.getState(), ExperimentSession::Idle);
            EXPECT_STREQ(wnd.getNetClient().getIp(), "127.0.0.1");
            wnd.getProtokoll().setWindowText("");
        }
        EXPECT_EQ(boxes.count(), 1); // the unreachable address's only
    }
}

// The server ends the connection while the firmware is taken, while the controller is
// programmed, and in the middle of a telemetry frame while the experiment runs: each time
// the view says so, the buttons are those of a new session, and the next press connects.
TEST_F(ExperimentWndTest, TheServerClosingTheConnectionIsSaidAndTheNextConnectWorks) {
    SKIP_WITHOUT_EXP_SERVER();
    struct {
        int closeAt; // 1 admission, 2-4 upload progress, 5 uploaded, 6-9 programming, 10 burned, 11 started
        int during;
    } cases[] = {{2, ExperimentSession::Uploading}, {6, ExperimentSession::Programming},
                 {12, ExperimentSession::Running}};
    writeFirmware("\x0C\x94\x34\x12");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.closeAt);
        ExpServer server;
        ASSERT_NO_FATAL_FAILURE(serve(server, "--step-ms 20 --telemetry-ms 20 --close-at " + std::to_string(c.closeAt)));
        BoxRecorder boxes;
        RecordingSink sink;
        ExperimentWnd wnd;
        wnd.setTelemetrySink(&sink);
        ASSERT_NO_FATAL_FAILURE(openConnected(wnd));
        wnd.upload();
        if (c.during == ExperimentSession::Running) {
            ASSERT_TRUE(until(wnd, ExperimentSession::Ready)) << view(wnd);
            wnd.start();
        }
        const std::string lost = "Verbindung zum Experiment-Server getrennt.\r\n";
        ASSERT_TRUE(MessagePump::until([&] { return view(wnd).ends_with(lost); }, 5000)) << view(wnd);
        EXPECT_EQ(wnd.getState(), ExperimentSession::Idle);
        EXPECT_EQ(row(wnd), "1000");
        EXPECT_FALSE(wnd.getNetClient().isConnected());
        EXPECT_TRUE(sink.bytes.empty()); // the half telemetry frame was dropped
        EXPECT_EQ(boxes.count(), 0);

        wnd.connect();
        ASSERT_TRUE(until(wnd, ExperimentSession::Connected)) << view(wnd);
        EXPECT_EQ(view(wnd).find(lost), view(wnd).rfind(lost)) << view(wnd); // said once
        wnd.end();
    }
}

// The toolchain still holds the firmware open while the student presses upload: a box names
// the file and why it cannot be read, nothing is sent, and the upload can be repeated.
TEST_F(ExperimentWndTest, AFirmwareFileThatCannotBeReadIsReportedAndNothingIsSent) {
    SKIP_WITHOUT_EXP_SERVER();
    ExpServer server;
    ASSERT_NO_FATAL_FAILURE(serve(server, "--step-ms 5"));
    writeFirmware("\x0C\x94\x34\x12");
    BoxRecorder boxes;
    ExperimentWnd wnd;
    ASSERT_NO_FATAL_FAILURE(openConnected(wnd));

    SString path = ExperimentWnd::firmwarePath();
    HANDLE held = CreateFileA(path, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    wnd.upload();
    CloseHandle(held);
    ASSERT_EQ(boxes.count(), 1);
    std::string text = boxes.last().text.getBuffer();
    EXPECT_EQ(text.rfind("Die Firmware-Datei konnte nicht gelesen werden:\r\n", 0), 0u) << text;
    EXPECT_NE(text.find(path.getBuffer()), std::string::npos) << text;
    EXPECT_NE(text.find("von einem anderen Programm"), std::string::npos) << text;
    EXPECT_EQ(wnd.getState(), ExperimentSession::Connected);
    EXPECT_EQ(row(wnd), "0100");
    EXPECT_EQ(view(wnd).find("Upload Steuerung"), std::string::npos) << view(wnd);
    MessagePump::run(200);
    EXPECT_EQ(server.received(), "1 S 33 connect|matrikel=123456;name=Anna\n");

    wnd.upload();
    ASSERT_TRUE(until(wnd, ExperimentSession::Ready)) << view(wnd);
    EXPECT_EQ(server.received(), "1 S 33 connect|matrikel=123456;name=Anna\n1 U 4\n");
    wnd.end();
}

// A server that takes nothing more: the upload gives up after a short wait, the view says
// so, and the session ends instead of waiting for ever.
TEST_F(ExperimentWndTest, ASendTheServerNeverTakesGivesUpAndSaysSo) {
    SKIP_WITHOUT_EXP_SERVER();
    ExpServer server;
    ASSERT_NO_FATAL_FAILURE(serve(server, "--step-ms 5 --deaf-at 1"));
    const std::string firmware(32 << 20, '\x5A'); // more than any socket buffers between the two ends hold
    writeFirmware(firmware.data(), (int)firmware.size());
    BoxRecorder boxes;
    ExperimentWnd wnd;
    ASSERT_NO_FATAL_FAILURE(openConnected(wnd));
    wnd.upload();
    EXPECT_TRUE(MessagePump::until([&] { return wnd.getState() == ExperimentSession::Idle; }, 20000)) << view(wnd);
    EXPECT_TRUE(view(wnd).ends_with("Upload Steuerung\r\n"
                                    "Senden abgebrochen: Der Experiment-Server nimmt keine Daten an.\r\n"
                                    "Verbindung zum Experiment-Server getrennt.\r\n"))
        << view(wnd);
    EXPECT_EQ(row(wnd), "1000");
    EXPECT_FALSE(wnd.getNetClient().isConnected());
    EXPECT_EQ(boxes.count(), 0);
}

// The server's CSV protocol: saved byte for byte, and a file that cannot be written is
// reported as such instead of as saved.
TEST_F(ExperimentWndTest, ProtocolSaveReportsWhatHappened) {
    BoxRecorder boxes;
    ExperimentWnd wnd;
    open(wnd);
    TempDir folder;
    const char csv[] = "Zeit;Level\r\n0;512\r\n";
    folder.write("locked.csv", "alt");
    {
        DialogAnswerer dialogs(IDOK);
        dialogs.fill(0x47C, folder.file("saved.csv").getBuffer());
        wnd.saveProtocol(SMem(csv, (int)sizeof csv - 1));
    }
    EXPECT_STREQ(folder.read("saved.csv"), csv);
    {
        // Another program (a spreadsheet) holds the file without sharing it.
        HANDLE held = CreateFileA(folder.file("locked.csv"), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        DialogAnswerer dialogs(IDYES); // the save, then the question whether to replace the file
        dialogs.fill(0x47C, folder.file("locked.csv").getBuffer());
        wnd.saveProtocol(SMem(csv, (int)sizeof csv - 1));
        CloseHandle(held);
    }
    EXPECT_STREQ(folder.read("locked.csv"), "alt");
    {
        DialogAnswerer dialogs(IDCANCEL);
        wnd.saveProtocol(SMem(csv, (int)sizeof csv - 1));
    }
    EXPECT_EQ(view(wnd), "Protokoll gespeichert als saved.csv\r\n"
                         "Protokoll konnte nicht gespeichert werden: locked.csv\r\n"
                         "Protokoll - CSV-Daten:\r\nZeit;Level\r\n0;512\r\n\r\n");
    EXPECT_EQ(boxes.count(), 0);
}

// Wine hands http addresses to the programs named under WineBrowser "Browsers"; a script
// there notes what it was given.
TEST_F(ExperimentWndTest, CameraOpensThePageOnTheWebServer) {
    servers("labor.example.org", 80, 5051);
    TempDir folder;
    std::string unix = NativePeer::unixPath(folder.path());
    ASSERT_FALSE(unix.empty());
    std::string script = "#!/bin/sh\necho \"$1\" >'" + unix + "/url.tmp' && mv '" + unix + "/url.tmp' '" + unix + "/url'\n";
    folder.write("browser.sh", script.c_str());
    folder.write("setup.sh", ("chmod +x '" + unix + "/browser.sh'; echo ready\n").c_str());
    NativePeer setup;
    ASSERT_TRUE(setup.start("/bin/sh '" + unix + "/setup.sh'")) << setup.getError();

    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\WineBrowser", 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    std::string browser = unix + "/browser.sh";
    RegSetValueExA(key, "Browsers", 0, REG_SZ, (const BYTE*)browser.c_str(), (DWORD)browser.size() + 1);
    BoxRecorder boxes;
    ExperimentWnd wnd;
    open(wnd);
    wnd.getKamera().click();
    bool arrived = MessagePump::until([&] { return SSystem::fileExists(folder.file("url")); }, 10000);
    RegDeleteValueA(key, "Browsers");
    RegCloseKey(key);
    ASSERT_TRUE(arrived);
    EXPECT_STREQ(folder.read("url"), "http://labor.example.org/tql/camera.php\n");
    EXPECT_EQ(boxes.count(), 0);
}

} // namespace
