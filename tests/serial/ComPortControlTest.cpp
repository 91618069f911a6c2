// The serial port control and its settings dialog: its states against plant-sim on COM7,
// stored sections, the dialog's port list, baud check and locked fields, a dead line.
#include "VEK_CONTROLS/SComPortControl.h"
#include "VEK_CONTROLS/SComportConfigDlg.h"
#include "VEK_GUI/SApplication.h"
#include "VEK_GUI/SApplicationBasic.h"
#include "VEK_GUI/SFrameWindow.h"
#include "VEK_GUI/SToolTip.h"
#include "VEK_UTIL/SDebug.h"
#include "VEK_UTIL/SResources.h"
#include "app/TelemetryDecoder.h"
#include "tests/VEK_SYSTEM/PlainPeer.h"
#include "tests/serial/PlantSim.h"
#include "tests/support/BoxRecorder.h"
#include "tests/support/PlantRecorder.h"
#include "tests/support/TempDir.h"
#include "tests/support/gui/MessagePump.h"

#include <gtest/gtest.h>

#include <dbt.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

const char* const deviceMap = "HARDWARE\\DEVICEMAP\\SERIALCOMM";

// The registry's serial device map holds just the given ports while it lives.
class DeviceMap {
public:
    explicit DeviceMap(std::vector<const char*> ports) {
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, deviceMap, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        char name[256], data[256];
        for (;;) {
            DWORD n = sizeof name, d = sizeof data;
            if (RegEnumValueA(key, 0, name, &n, nullptr, nullptr, (BYTE*)data, &d) != ERROR_SUCCESS) break;
            saved.emplace_back(name, std::string(data, d ? d - 1 : 0));
            RegDeleteValueA(key, name);
        }
        for (const char* port : ports) set(port, port);
    }
    ~DeviceMap() {
        RegDeleteTreeA(key, nullptr); // the values only
        for (auto& [name, port] : saved) set(name.c_str(), port.c_str());
        RegCloseKey(key);
    }
    void set(const char* name, const char* port) {
        RegSetValueExA(key, name, 0, REG_SZ, (const BYTE*)port, (DWORD)strlen(port) + 1);
    }

private:
    HKEY key = nullptr;
    std::vector<std::pair<std::string, std::string>> saved;
};

class Host : public SFrameWindow {
public:
    Host() {
        style = WS_POPUP | WS_VISIBLE;
        rect = SRect{20, 20, 400, 300};
        setShowInfoButton(false);
    }
    const char* getClassName() const override { return "ComPortControlHost"; }
    void onReceiveByte(unsigned char b) override {
        ++bytes;
        if (counted) decode(b);
    }
    // Decodes the bytes and tells the control the line's health, as the main window does;
    // the tick comes as soon as a frame is complete, so no frame is missed waiting for it.
    void decodeFor(SComPortControl* control) { counted = control; }
    void decode(unsigned char b) {
        if (counted->getConnectionCount() != connection) {
            connection = counted->getConnectionCount();
            decoder.startLine();
        }
        decoder.onReceiveByte(b);
        if (decoder.getState() == TelemetryDecoder::Complete) decoder.onTimer();
        decoder.measureRate(GetTickCount());
        const TelemetryDecoder::Counts& c = decoder.getCounts();
        counted->setLineHealth({c.frames, c.rejected, c.bytesPerSecond});
    }
    // The platform sends a removal with its header; a test queues it with this message.
    static constexpr UINT postedRemoval = WM_APP + 8;
    LRESULT windowProc(HWND h, UINT msg, WPARAM w, LPARAM l, bool& handled, LRESULT& result) override {
        if (msg == postedRemoval && h == hwnd) {
            DEV_BROADCAST_HDR header{sizeof(DEV_BROADCAST_HDR), DBT_DEVTYP_PORT, 0};
            SendMessageA(hwnd, WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, (LPARAM)&header);
        }
        return SFrameWindow::windowProc(h, msg, w, l, handled, result);
    }
    int bytes = 0;
    PlantRecorder effects; // only the decoder's counts are looked at
    TelemetryDecoder decoder{effects};

private:
    SComPortControl* counted = nullptr;
    int connection = -1;
};

class RecordingControl : public SComPortControl {
public:
    void onConnectAction(bool connecting) override { actions.push_back(connecting); }
    // On the read thread: which threads read this port, and how many bytes they took. A
    // thread that delivers after another began must be the only one: the one before has
    // ended, and none comes back.
    void onReceive(unsigned char) override {
        std::lock_guard<std::mutex> lock(readLock);
        DWORD me = GetCurrentThreadId();
        if (me != lastReader) {
            if (lastReader && !threadEnded(lastReader)) ++overlaps;
            if (readers.count(me)) ++overlaps;
            lastReader = me;
        }
        readers.insert(me);
        ++received;
    }
    int overlapCount() {
        std::lock_guard<std::mutex> lock(readLock);
        return overlaps;
    }
    int readerCount() {
        std::lock_guard<std::mutex> lock(readLock);
        return (int)readers.size();
    }
    int receivedCount() {
        std::lock_guard<std::mutex> lock(readLock);
        return received;
    }
    void forgetReaders() {
        std::lock_guard<std::mutex> lock(readLock);
        readers.clear();
    }
    std::vector<bool> actions;

private:
    static bool threadEnded(DWORD id) {
        HANDLE thread = OpenThread(SYNCHRONIZE, FALSE, id);
        if (!thread) return true;
        bool ended = WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
        CloseHandle(thread);
        return ended;
    }

    std::mutex readLock;
    std::set<DWORD> readers;
    DWORD lastReader = 0;
    int overlaps = 0;
    int received = 0;
};

class ComPortControl : public ::testing::Test {
protected:
    BoxRecorder boxes;
    TempDir config;
    Host host;
    RecordingControl control;

    void SetUp() override {
        globalApplicationBasic.setConfigFolders(config.path(), config.path());
        globalApplicationBasic.parseCommandLine("C:\\Labor\\Anlage.exe");
        ASSERT_TRUE(globalApplicationBasic.openUserConfigFile());
        ASSERT_TRUE(host.create(nullptr));
        boxes.clear(); // the frame's icons are not found here
    }
    void TearDown() override {
        control.SComPort::close(false);
        globalApplicationBasic.getUserConfig().close(false);
    }
    SFileIni& ini() { return globalApplicationBasic.getUserConfig(); }
    // Boxes with this caption (a dialog's missing frame icons give others here).
    int shown(const char* caption) {
        int n = 0;
        for (const RecordedBox& b : boxes.boxes) n += b.caption == caption;
        return n;
    }
    SString section() { return SString("ComPort") + control.sectionSuffix(); }
    void create() {
        control.createCtrl(&host, "Steuerung", -110, 10, 100, 40);
        MessagePump::flush();
    }
    void click(SControl& child) {
        SendMessageA(host.getHwnd(), WM_COMMAND, (WPARAM)child.getControlId(), (LPARAM)child.getHwnd());
    }
    // Clicks on the button that wait in the queue together, as a double click on a busy window.
    void queueClicks(int count) {
        SButton& button = control.getConnectButton();
        for (int i = 0; i < count; ++i)
            PostMessageA(host.getHwnd(), WM_COMMAND, (WPARAM)button.getControlId(), (LPARAM)button.getHwnd());
    }
    // No byte reaches the window or the port any more: no read thread was left behind.
    void expectNoReader() {
        int toWindow = host.bytes, toPort = control.receivedCount();
        MessagePump::run(300);
        EXPECT_EQ(host.bytes, toWindow) << "a read thread still delivers";
        EXPECT_EQ(control.receivedCount(), toPort) << "a read thread still reads";
    }
    void broadcast(WPARAM event) {
        DEV_BROADCAST_HDR header{sizeof(DEV_BROADCAST_HDR), DBT_DEVTYP_PORT, 0};
        SendMessageA(host.getHwnd(), WM_DEVICECHANGE, event, (LPARAM)&header);
    }
    // plant-sim on COM7 and the control connected to it by a click.
    std::unique_ptr<PlantSim> connectToSim(const std::string& options) {
        auto sim = std::make_unique<PlantSim>("com7", options);
        EXPECT_TRUE(sim->isReady()) << sim->getError();
        ini().setString(section(), "Port", "COM7");
        create();
        click(control.getConnectButton());
        EXPECT_TRUE(control.isOpen()) << control.getLastError().getBuffer();
        return sim;
    }
};

TEST_F(ComPortControl, AFreshControlShowsTheDefaultsAndClicksAndRemovalOfItsPortOpenAndClose) {
    create();
    EXPECT_STREQ(control.getStatusText().getWindowText(), "COM1,9600,N,8,1");
    EXPECT_STREQ(control.getConnectButton().getWindowText(), "verbinden");
    EXPECT_EQ(control.getStatusText().getDevice().getTextBackColor(), SComPortControl::closedColor);
    EXPECT_EQ(control.getConnectButton().getWindowRect(false), (SRect{290, 10, 100, 20}));
    EXPECT_EQ(control.getSettingsIcon().getWindowRect(false), (SRect{370, 34, 20, 16}));

    PlantSim sim("com7", "--frames 20");
    ASSERT_TRUE(sim.isReady()) << sim.getError();
    control.getSettings().port.setRaw("COM7");
    click(control.getConnectButton());
    ASSERT_TRUE(control.isOpen()) << control.getLastError().getBuffer();
    EXPECT_STREQ(control.getConnectButton().getWindowText(), "trennen");
    EXPECT_EQ(control.getStatusText().getDevice().getTextBackColor(), SComPortControl::openColor);
    EXPECT_TRUE(MessagePump::until([&] { return host.bytes >= 9; })) << "bytes go to the parent";
    click(control.getSettingsIcon());
    ASSERT_EQ(boxes.count(), 1) << "no settings while connected";
    EXPECT_STREQ(boxes.last().caption, "gesperrt");
    EXPECT_EQ(boxes.last().type, 0x40u);
    EXPECT_STREQ(control.getSettings().toString(), "COM7,9600,N,8,1");
    DeviceMap listed({"COM7"});
    broadcast(DBT_DEVICEREMOVECOMPLETE);
    EXPECT_TRUE(control.isOpen()) << "another port went";

    click(control.getConnectButton());
    EXPECT_FALSE(control.isOpen());
    EXPECT_STREQ(control.getConnectButton().getWindowText(), "verbinden");
    EXPECT_EQ(control.getStatusText().getDevice().getTextBackColor(), SComPortControl::closedColor);
    EXPECT_EQ(boxes.count(), 1);

    click(control.getConnectButton());
    DeviceMap gone({});
    broadcast(DBT_DEVICEREMOVECOMPLETE);
    EXPECT_FALSE(control.isOpen()) << "its own port went";
    EXPECT_EQ(control.actions, (std::vector<bool>{true, false, true, false}));
}

TEST_F(ComPortControl, StoredSectionsLoadAndAFailedConnectTurnsTheStatusRed) {
    ini().setString(section(), "Port", "com4");
    ini().setString(section(), "Baud", "115.200");
    ini().setString(section(), "Parity", "2");
    create();
    EXPECT_STREQ(control.getStatusText().getWindowText(), "COM4,115200,E,8,1");
    click(control.getConnectButton()); // no COM4 here
    EXPECT_EQ(control.getStatusText().getDevice().getTextBackColor(), SComPortControl::failedColor);
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_STREQ(boxes.last().text, "Der Port com4 konnte nicht ge\366ffnet werden.");
    EXPECT_EQ(control.actions, (std::vector<bool>{true}));
}

// Whether the port can be opened now (by anybody).
bool portOpensNow(const char* name) {
    std::string path = std::string("\\\\.\\") + name;
    HANDLE port = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (port == INVALID_HANDLE_VALUE) return false;
    CloseHandle(port);
    return true;
}

// A line that dies is not given up: the control keeps its settings and waits for its port
// ("trennen" offered). Another port that appears meanwhile (the adapter in another USB
// socket) is not taken: the choice is the user's. "trennen" ends the wait for good: neither
// the port's return nor its arrival opens it again.
TEST_F(ComPortControl, ALostLineIsWaitedForNoOtherPortIsTakenAndTrennenEndsTheWaitForGood) {
    auto sim = connectToSim("--drop-after 1 --drop-for 4");
    ASSERT_TRUE(MessagePump::until([&] { return host.bytes > 0; }));
    ASSERT_TRUE(MessagePump::until([&] { return control.isWaiting(); }, 5000)) << "the line did not die";
    EXPECT_STREQ(control.getConnectButton().getWindowText(), "trennen");
    EXPECT_STREQ(control.getStatusText().getWindowText(), "warte auf COM7 \205");
    EXPECT_EQ(control.getStatusText().getDevice().getTextBackColor(), SComPortControl::waitingColor);

    PlantSim other("com8", "");
    ASSERT_TRUE(other.isReady()) << other.getError();
    DeviceMap listed({"COM8"});
    const int bytesThen = host.bytes;
    broadcast(DBT_DEVICEARRIVAL);
    MessagePump::run(1500);
    EXPECT_TRUE(control.isWaiting());
    EXPECT_EQ(host.bytes, bytesThen);
    EXPECT_STREQ(control.getSettings().toString(), "COM7,9600,N,8,1");

    click(control.getConnectButton());
    EXPECT_FALSE(control.isWaiting());
    EXPECT_STREQ(control.getConnectButton().getWindowText(), "verbinden");
    EXPECT_STREQ(control.getStatusText().getWindowText(), "COM7,9600,N,8,1");
    EXPECT_EQ(control.getStatusText().getDevice().getTextBackColor(), SComPortControl::closedColor);
    ASSERT_TRUE(MessagePump::until([] { return portOpensNow("COM7"); }, 10000)) << "the port did not come back";
    broadcast(DBT_DEVICEARRIVAL);
    MessagePump::run(1500);
    EXPECT_FALSE(control.isOpen());
    EXPECT_FALSE(control.isWaiting());
    EXPECT_EQ(host.bytes, bytesThen);
    EXPECT_EQ(control.actions, (std::vector<bool>{true, false}));
    EXPECT_EQ(boxes.count(), 0);
}

// An adapter pulled out and put back: the control keeps its settings, waits for its port (in
// amber, "trennen" offered) and takes it back by itself, at the same rate; telemetry goes on
// without a click, read by one thread at a time.
TEST_F(ComPortControl, ALostLineIsWaitedForAndTakenBackWithTheSameSettings) {
    PlantSim sim("com7", "--rate 19200 --drop-after 1 --drop-for 3");
    ASSERT_TRUE(sim.isReady()) << sim.getError();
    ini().setString(section(), "Port", "COM7");
    ini().setString(section(), "Baud", "19200");
    create();
    const SString stored = ini().getContent();
    click(control.getConnectButton());
    ASSERT_TRUE(control.isOpen()) << control.getLastError().getBuffer();
    ASSERT_TRUE(MessagePump::until([&] { return host.bytes > 0; }));

    ASSERT_TRUE(MessagePump::until([&] { return !control.isOpen(); }, 5000)) << "the line did not die";
    EXPECT_TRUE(control.isWaiting());
    EXPECT_STREQ(control.getConnectButton().getWindowText(), "trennen");
    EXPECT_STREQ(control.getStatusText().getWindowText(), "warte auf COM7 \205");
    EXPECT_EQ(control.getStatusText().getDevice().getTextBackColor(), SComPortControl::waitingColor);
    const int bytesWhenLost = host.bytes;

    // Back after three seconds: the wait is generous, not a measure.
    ASSERT_TRUE(MessagePump::until([&] { return control.isOpen() && host.bytes > bytesWhenLost + 100; }, 20000))
        << "telemetry did not resume";
    EXPECT_FALSE(control.isWaiting());
    EXPECT_STREQ(control.getConnectButton().getWindowText(), "trennen");
    EXPECT_STREQ(control.getStatusText().getWindowText(), "COM7,19200,N,8,1");
    EXPECT_EQ(control.getStatusText().getDevice().getTextBackColor(), SComPortControl::openColor);
    EXPECT_EQ(control.readerCount(), 2);
    EXPECT_EQ(control.overlapCount(), 0) << "two read threads at once";

    click(control.getConnectButton());
    EXPECT_FALSE(control.isOpen());
    EXPECT_STREQ(control.getConnectButton().getWindowText(), "verbinden");
    expectNoReader();
    EXPECT_STREQ(ini().getContent(), stored) << "the stored settings changed";
    EXPECT_EQ(control.actions, (std::vector<bool>{true, false, true, false}));
    EXPECT_EQ(boxes.count(), 0);
}

// The line's health as the decoder of its bytes counts it, against what plant-sim put on the
// line: every whole frame, and as rejected bytes its noise and the bytes of frames cut short
// (a cut frame is completed by the next one, whose rest is skipped). The tooltip shows the
// counts of the present connection; rejected bytes colour the status text.
TEST_F(ComPortControl, TheTooltipShowsTheLineCountsAndTheyAreWhatPlantSimPutOnTheLine) {
    host.decodeFor(&control);
    ini().setString(section(), "Port", "COM7");
    create();
    ASSERT_NE(control.getToolTip(), nullptr);
    const COLORREF plainText = control.getStatusText().getDevice().getTextColor();
    for (const char* options : {"--frames 120 --garbage 3", "--frames 40", "--frames 125 --cut-every 10"}) {
        SCOPED_TRACE(options);
        PlantSim sim("com7", std::string("--rate 115200 --tally {dir}/tally ") + options);
        ASSERT_TRUE(sim.isReady()) << sim.getError();
        // The last connection's counts stay until this one's first byte: they must not
        // pass for this one's while its bytes are still on their way.
        host.decoder.startLine();
        click(control.getConnectButton());
        ASSERT_TRUE(control.isOpen()) << control.getLastError().getBuffer();
        unsigned long long frames = 0, cut = 0, noise = 0, bytes = 0;
        auto allDecoded = [&] {
            return std::sscanf(sim.readFile("tally").c_str(), "frames %llu cut %llu noise %llu bytes %llu", &frames,
                               &cut, &noise, &bytes) == 4 &&
                   host.decoder.getCounts().bytes >= bytes;
        };
        ASSERT_TRUE(MessagePump::until(allDecoded, 20000));
        MessagePump::flush();
        const TelemetryDecoder::Counts& counts = host.decoder.getCounts();
        EXPECT_EQ(counts.bytes, bytes);
        EXPECT_EQ(counts.frames, frames - cut);
        EXPECT_EQ(counts.rejected, noise + 4 * cut); // plant-sim's cut frames keep four bytes
        SString expected;
        expected.format("Rahmen: %llu \r\nverworfene Bytes: %llu \r\nBytes/s: ", (unsigned long long)counts.frames,
                        (unsigned long long)counts.rejected);
        EXPECT_TRUE(MessagePump::until([&] { return control.getToolTip()->getText().startsWith(expected); }))
            << control.getToolTip()->getText().getBuffer();
        EXPECT_EQ(control.getStatusText().getDevice().getTextColor(),
                  counts.rejected ? SComPortControl::noisyTextColor : plainText);
        click(control.getConnectButton());
        EXPECT_FALSE(control.isOpen());
    }
    EXPECT_EQ(boxes.count(), 0);
}

// Every ten seconds while the line runs, the trace says how it is.
TEST_F(ComPortControl, TheTraceLogsTheLineCountsWhileTheLineRuns) {
    PlainPeer monitor;
    globalDebug.setTarget("127.0.0.1", monitor.port());
    globalDebug.enable();
    host.decodeFor(&control);
    auto sim = connectToSim("--garbage 1");
    ASSERT_TRUE(monitor.accept(5000)) << "no trace";
    std::string trace;
    auto logged = [&] {
        trace += monitor.receive(4096, 10);
        return trace.find("Bytes/s") != std::string::npos;
    };
    EXPECT_TRUE(MessagePump::until(logged, 30000)) << trace;
    globalDebug.setTarget("127.0.0.1", 1); // nobody listens there
    size_t at = trace.find(" ### Serial Port COM7: ");
    ASSERT_NE(at, std::string::npos) << trace;
    unsigned long long frames = 0, rejected = 0;
    unsigned rate = 0;
    ASSERT_EQ(std::sscanf(trace.c_str() + at, " ### Serial Port COM7: %llu Rahmen, %llu verworfene Bytes, %u Bytes/s",
                          &frames, &rejected, &rate),
              3)
        << trace;
    EXPECT_GT(frames, 0u);
    EXPECT_GT(rejected, 0u);
    EXPECT_GT(rate, 0u);
}

// The button, status line and gear lie over the container as its siblings: they go where it
// goes, whether a stored record of its own size places it, the layouter drags it or the
// window grows.
TEST_F(ComPortControl, ChildrenStayOverTheirContainer) {
    SFileIni& positions = globalResources.controlPositions;
    positions.setString("ComPortControlHost", "SComPortControl,-110,10,100,40", "20,150,100,40");
    create();
    positions.setSectionText("ComPortControlHost", "");
    auto expectOverContainer = [&](const char* when) {
        SRect at = control.getWindowRect(false);
        EXPECT_EQ(control.getConnectButton().getWindowRect(false), (SRect{at.x, at.y, 100, 20})) << when;
        EXPECT_EQ(control.getStatusText().getWindowRect(false), (SRect{at.x, at.y + 24, 80, 16})) << when;
        EXPECT_EQ(control.getSettingsIcon().getWindowRect(false), (SRect{at.x + 80, at.y + 24, 20, 16})) << when;
    };
    EXPECT_EQ(control.getWindowRect(false), (SRect{20, 150, 100, 40}));
    expectOverContainer("placed by its record");
    control.moveWindow(200, 60, 100, 40, true); // what the layouter's drag does
    EXPECT_EQ(control.getWindowRect(false), (SRect{200, 60, 100, 40}));
    expectOverContainer("moved");
    host.moveWindow(20, 20, 560, 420, true);
    MessagePump::flush();
    expectOverContainer("the window grew");
}

// Impatient users: clicks that wait in the queue while the port opens or closes are taken
// once. The first click's open and close dispatch the others while they wait.
TEST_F(ComPortControl, QueuedClicksWhileThePortOpensOrClosesAreTakenOnce) {
    PlantSim sim("com7", "");
    ASSERT_TRUE(sim.isReady()) << sim.getError();
    ini().setString(section(), "Port", "COM7");
    create();

    queueClicks(3);
    MessagePump::flush();
    EXPECT_TRUE(control.isOpen()) << control.getLastError().getBuffer();
    EXPECT_STREQ(control.getConnectButton().getWindowText(), "trennen");
    EXPECT_EQ(control.getStatusText().getDevice().getTextBackColor(), SComPortControl::openColor);
    ASSERT_TRUE(MessagePump::until([&] { return host.bytes >= 20 && control.receivedCount() >= 20; }));
    EXPECT_EQ(control.readerCount(), 1) << "read threads on the port";

    queueClicks(3);
    MessagePump::flush();
    EXPECT_FALSE(control.isOpen());
    EXPECT_STREQ(control.getConnectButton().getWindowText(), "verbinden");
    EXPECT_EQ(control.getStatusText().getDevice().getTextBackColor(), SComPortControl::closedColor);
    expectNoReader();
    EXPECT_EQ(control.actions, (std::vector<bool>{true, false}));
    for (const RecordedBox& b : boxes.boxes) ADD_FAILURE() << b.caption.getBuffer() << ": " << b.text.getBuffer();
}

// Posts a click on the button, or a removal of every port, once the button shows "trennen":
// the programmer exchange that follows dispatches it.
thread_local HWND buttonToWatch = nullptr;
thread_local bool removeInstead = false;
LRESULT CALLBACK actWhenConnected(int code, WPARAM w, LPARAM l) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(l);
    if (code == HC_ACTION && buttonToWatch && call->hwnd == buttonToWatch && call->message == WM_SETTEXT &&
        std::strcmp((const char*)call->lParam, "trennen") == 0) {
        HWND parent = GetParent(buttonToWatch);
        if (removeInstead)
            PostMessageA(parent, Host::postedRemoval, 0, 0);
        else
            PostMessageA(parent, WM_COMMAND, (WPARAM)GetDlgCtrlID(buttonToWatch), (LPARAM)buttonToWatch);
        buttonToWatch = nullptr;
    }
    return CallNextHookEx(nullptr, code, w, l);
}

// "trennen" while the programmer is switched after connecting (the button says "trennen"
// already): the exchange stops, the port closes once, stays closed and shows its own settings.
// A port that vanishes then is waited for instead and, as it is still there, taken back by
// itself with the programmer switched again. No box about either.
TEST_F(ComPortControl, TrennenDuringTheProgrammerExchangeClosesThePortForGoodARemovedPortIsWaitedFor) {
    PlantSim sim("com7", "--programmer-rate 115200");
    ASSERT_TRUE(sim.isReady()) << sim.getError();
    ini().setString(section(), "Port", "COM7");
    ini().setString(section(), "SendTobrikCmd", "1");
    create();
    DeviceMap gone({});
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, actWhenConnected, nullptr, GetCurrentThreadId());
    for (bool removal : {false, true}) {
        SCOPED_TRACE(removal ? "port removed" : "trennen");
        removeInstead = removal;
        buttonToWatch = control.getConnectButton().getHwnd();
        control.forgetReaders();
        click(control.getConnectButton());
        EXPECT_EQ(buttonToWatch, nullptr) << "nothing happened during the exchange";
        EXPECT_FALSE(control.isOpen());
        EXPECT_EQ(control.isWaiting(), removal);
        EXPECT_STREQ(control.getConnectButton().getWindowText(), removal ? "trennen" : "verbinden");
        EXPECT_EQ(control.getStatusText().getDevice().getTextBackColor(),
                  removal ? SComPortControl::waitingColor : SComPortControl::closedColor);
        EXPECT_STREQ(control.getSettings().toString(), "COM7,9600,N,8,1");
        if (removal) {
            ASSERT_TRUE(MessagePump::until([&] { return control.isOpen(); }, 10000)) << "not taken back";
            EXPECT_EQ(control.getStatusText().getDevice().getTextBackColor(), SComPortControl::openColor);
            std::string received = sim.received(), toData = "\xD4\xC7\xA3\xBE\xF1\xAC\xC9" "d";
            EXPECT_NE(received.find(toData), std::string::npos) << "the programmer is not switched again";
            EXPECT_EQ(received.find(toData), received.rfind(toData)) << "switched before the port was back";
            click(control.getConnectButton());
        }
        MessagePump::flush();
        EXPECT_FALSE(control.isOpen());
        EXPECT_FALSE(control.isWaiting());
        EXPECT_STREQ(control.getConnectButton().getWindowText(), "verbinden");
        EXPECT_EQ(control.getStatusText().getDevice().getTextBackColor(), SComPortControl::closedColor);
        EXPECT_STREQ(control.getStatusText().getWindowText(), "COM7,9600,N,8,1");
        EXPECT_EQ(control.overlapCount(), 0) << "two read threads at once";
        expectNoReader();
        EXPECT_FALSE(control.isOpen()) << "opened again";
    }
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(control.actions, (std::vector<bool>{true, false, true, false, true, false}));
    for (const RecordedBox& b : boxes.boxes) ADD_FAILURE() << b.caption.getBuffer() << ": " << b.text.getBuffer();
}

// Answers the settings dialog of the control's modal run: types a baud rate and saves.
thread_local const char* typedBaud = nullptr;
LRESULT CALLBACK answerSettings(int code, WPARAM w, LPARAM l) {
    auto* dialog = code == HCBT_ACTIVATE ? dynamic_cast<SComportConfigDlg*>(globalApplication.findWindow((HWND)w))
                                         : nullptr;
    if (dialog && typedBaud) {
        dialog->getBaudBox().setWindowText(typedBaud);
        SButton& save = dialog->getSaveButton();
        PostMessageA((HWND)w, WM_COMMAND, (WPARAM)save.getControlId(), (LPARAM)save.getHwnd());
        typedBaud = nullptr;
    }
    return CallNextHookEx(nullptr, code, w, l);
}

TEST_F(ComPortControl, TheSettingsIconRunsTheDialogAndStoresWhatItSaved) {
    DeviceMap map({"COM1"});
    create();
    HHOOK hook = SetWindowsHookExA(WH_CBT, answerSettings, nullptr, GetCurrentThreadId());
    typedBaud = "19200";
    click(control.getSettingsIcon());
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(typedBaud, nullptr) << "the dialog was shown";
    EXPECT_STREQ(control.getStatusText().getWindowText(), "COM1,19200,N,8,1");
    EXPECT_STREQ(ini().getString(section(), "Baud", ""), "19200");
    EXPECT_EQ(shown("Fehler"), 0);
}

// A port of a virtual-port driver, listed and chosen in the dialog, is the port of the next
// start too: the stored name loads as it was saved.
TEST_F(ComPortControl, APortOfAVirtualPortDriverIsStoredAndLoadedAsChosen) {
    DeviceMap map({"CNCA0"});
    create();
    HHOOK hook = SetWindowsHookExA(WH_CBT, answerSettings, nullptr, GetCurrentThreadId());
    typedBaud = "19200";
    click(control.getSettingsIcon());
    UnhookWindowsHookEx(hook);
    EXPECT_STREQ(control.getStatusText().getWindowText(), "CNCA0,19200,N,8,1");
    EXPECT_STREQ(ini().getString(section(), "Port", ""), "CNCA0");

    SComPortSettings nextStart;
    ASSERT_TRUE(nextStart.load(control.sectionSuffix()));
    EXPECT_STREQ(nextStart.toString(), "CNCA0,19200,N,8,1");
    EXPECT_EQ(shown("Fehler"), 0);
}

// The settings dialog made directly, without its modal run.
class ConfigDialog : public ComPortControl {
protected:
    SComPortSettings settings;
    std::unique_ptr<SComportConfigDlg> open(const char* settingsText, const char* locked = "") {
        settings.fromString(settingsText);
        auto dialog = std::make_unique<SComportConfigDlg>();
        dialog->setSettings(&settings);
        dialog->setLockedFields(locked);
        EXPECT_TRUE(dialog->create(&host));
        return dialog;
    }
    static SString selectedPort(SComportConfigDlg& d) {
        return d.getPortBox().getItemText(d.getPortBox().getCurSel());
    }
};

TEST_F(ConfigDialog, SelectsThePortItselfLocksNamedFieldsAndRefillsWhenAPortArrives) {
    DeviceMap map({"COM1", "COM10"});
    EXPECT_STREQ(selectedPort(*open("com1")), "COM1    serial port") << "not COM10, which merely contains COM1";
    EXPECT_STREQ(selectedPort(*open("com10")), "COM10   serial port");
    auto dialog = open("com3", " Port,BAUD , tobrikcmd,parity");
    EXPECT_STREQ(selectedPort(*dialog), "COM1    serial port") << "an unlisted port selects the first";
    EXPECT_FALSE(dialog->getPortBox().isEnabled() || dialog->getBaudBox().isEnabled() ||
                 dialog->getTobrikBox().isEnabled());
    EXPECT_TRUE(dialog->getParityBox().isEnabled()) << "its name is pari";

    map.set("COM3", "COM3");
    broadcast(DBT_DEVICEARRIVAL);
    EXPECT_EQ(dialog->getPortBox().getCount(), 3);
    EXPECT_STREQ(selectedPort(*dialog), "COM3    serial port");
}

TEST_F(ConfigDialog, SavingRefusesABaudBelowTenAndTakesEveryBox) {
    DeviceMap map({"COM2"});
    auto refused = open("com2,4800,O,7,2");
    refused->getBaudBox().setWindowText("9");
    refused->save();
    ASSERT_EQ(shown("Fehler"), 1);
    EXPECT_STREQ(boxes.last().text, "Fehlerhafte Baud-Angabe.\r\n\r\nBitte korrigieren Sie den Eintrag.");
    EXPECT_TRUE(refused->isWindow()) << "the dialog stays open";
    EXPECT_EQ(settings.baud, 4800);

    for (const char* baud : {"10", "10000000"}) {
        auto dialog = open("com2,4800,O,7,2");
        EXPECT_STREQ(dialog->getBaudBox().getWindowText(), "4800");
        dialog->getBaudBox().setWindowText(baud);
        dialog->getDataBox().selectString("8");
        dialog->getTobrikBox().setChecked(true);
        dialog->save();
        EXPECT_FALSE(dialog->isWindow());
        EXPECT_EQ(settings.baud, SString::toNumber(baud));
        EXPECT_STREQ(settings.toString(), SString::formatted("COM2,%s,O,8,2", baud));
        EXPECT_TRUE(settings.tobrikCommands);
    }
    EXPECT_EQ(shown("Fehler"), 1);
}

} // namespace
