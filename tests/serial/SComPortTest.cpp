// The serial port against plant-sim on a pseudo-terminal that Wine's serial driver opens
// as COM7: byte delivery to a window, the buffered reads, the state stack, closing, a line
// that dies, and the programmer exchange.
#include "VEK_GUI/SFrameWindow.h"
#include "VEK_GUI/SMessages.h"
#include "VEK_SYSTEM/SComPort.h"
#include "VEK_SYSTEM/SMem.h"
#include "tests/serial/PlantSim.h"
#include "tests/support/BoxRecorder.h"
#include "tests/support/gui/MessagePump.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace {

const char preamble[] = "\xD4\xC7\xA3\xBE\xF1\xAC\xC9";

class ByteWindow : public SFrameWindow {
public:
    ByteWindow() {
        rect = SRect{0, 0, 300, 200};
        setShowInfoButton(false);
    }
    const char* getClassName() const override { return "ByteWindow"; }
    void onReceiveByte(unsigned char b) override {
        bytes.push_back(b);
        if (duringByte) std::exchange(duringByte, nullptr)();
    }
    LRESULT windowProc(HWND h, UINT msg, WPARAM w, LPARAM l, bool& handled, LRESULT& result) override {
        if (msg == MSG_COM_LINE_LOST && h == hwnd) {
            lostPorts.push_back((SComPort*)l);
            lostAt = GetTickCount();
        }
        if (msg == runPosted && h == hwnd && posted) std::exchange(posted, nullptr)();
        return SFrameWindow::windowProc(h, msg, w, l, handled, result);
    }
    // Runs `work` when the message that post() queues is dispatched.
    void post(std::function<void()> work) {
        posted = std::move(work);
        PostMessageA(hwnd, runPosted, 0, 0);
    }
    static constexpr UINT runPosted = WM_APP + 7;
    std::function<void()> duringByte; // once, inside the handling of the next byte
    std::function<void()> posted;
    std::vector<unsigned char> bytes;
    std::vector<SComPort*> lostPorts;
    DWORD lostAt = 0;
};

class SerialTest : public ::testing::Test {
protected:
    BoxRecorder boxes;
    ByteWindow window;
    SComPort port;

    void SetUp() override {
        ASSERT_TRUE(window.create(nullptr));
        boxes.clear(); // the frame's icons are not found here
    }
    void TearDown() override { port.close(); }

    // plant-sim on COM7, and the port opened on it with `window` as the receiver.
    std::unique_ptr<PlantSim> openOnSim(const std::string& options) {
        auto sim = std::make_unique<PlantSim>("com7", options);
        EXPECT_TRUE(sim->isReady()) << sim->getError();
        EXPECT_TRUE(port.open("COM7", window.getHwnd())) << port.getLastError().getBuffer();
        return sim;
    }
    bool received(size_t count, int timeoutMs = 3000) {
        return MessagePump::until([&] { return window.bytes.size() >= count; }, timeoutMs);
    }
};

int preambles(const std::string& bytes) {
    int n = 0;
    for (size_t at = bytes.find(preamble); at != std::string::npos; at = bytes.find(preamble, at + 1)) ++n;
    return n;
}

TEST_F(SerialTest, OpensByNameThenBySettingsAndDeliversBytesToTheWindow) {
    auto sim = openOnSim("--frames 2");
    EXPECT_STREQ(port.getSettings().port, "COM7");
    ASSERT_TRUE(received(18));
    EXPECT_EQ(window.bytes[0], 0x55);
    EXPECT_EQ(window.bytes[9], 0x55);
    EXPECT_EQ(window.bytes[10], 0xAA);

    port.close();
    EXPECT_FALSE(port.isOpen());
    port.close(); // a closed port: nothing happens
    EXPECT_TRUE(port.open("", window.getHwnd())) << port.getLastError().getBuffer();
    EXPECT_TRUE(port.isOpen());
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(SerialTest, AMissingPortAndAClosedPortGiveGermanTexts) {
    EXPECT_FALSE(port.open("com9", window.getHwnd()));
    EXPECT_STREQ(port.getLastError(), "Der Port com9 konnte nicht ge\366ffnet werden.");
    EXPECT_FALSE(port.isOpen());
    port.close();

    EXPECT_EQ(port.readByte(10), 0);
    EXPECT_STREQ(port.getLastError(), "Fehler beim Lesen vom COM-Port: Zugriff auf nicht ge\366ffneten Port.\r\n"
                                      "Bitte verwenden Sie zuerst SComPort::open(..)");
    EXPECT_FALSE(port.writeByte(1));
    EXPECT_STREQ(port.getLastError(), "Fehler beim Schreiben auf den COM-Port: Zugriff auf nicht ge\366ffneten "
                                      "Port.\r\nBitte verwenden Sie zuerst SComPort::open(..)");
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_FALSE(port.applySettings("com9,19200"));
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_STREQ(boxes.last().text, "SComPort::_setState(..) Zugriff auf nicht ge\366ffneten Port.");
    EXPECT_STREQ(boxes.last().caption, "Fehler !");
}

TEST_F(SerialTest, ReadsWaitForTheirCountOrTerminator) {
    auto sim = openOnSim("--flood --bytes 5 --programmer-rate 9600");
    ASSERT_TRUE(received(5));
    SMem memory;
    DWORD start = GetTickCount();
    EXPECT_TRUE(port.readBytes(memory, 60000, 3));
    EXPECT_LT(GetTickCount() - start, 60000u) << "three bytes wait: no need to wait for the timeout";
    EXPECT_EQ(memory.getAt(0), 0x55);
    EXPECT_EQ(memory.getAt(1), 0xAA);

    start = GetTickCount();
    EXPECT_FALSE(port.readBytes(memory, 300, 3)) << "only two bytes are left";
    EXPECT_GE(GetTickCount() - start, 280u);

    SString line;
    ASSERT_TRUE(port.write(SString(preamble) + "ab"));
    EXPECT_TRUE(port.readUntil(line, 2000, "\n"));
    EXPECT_STREQ(line, "Tobrik ab \261\n");
    EXPECT_FALSE(port.readUntil(line, 100, "\n"));
    EXPECT_STREQ(line, "");
}

TEST_F(SerialTest, RestoreReappliesTheSavedStateOfAnOpenOrClosedPort) {
    auto sim = openOnSim("--frames 1");
    port.saveState();
    ASSERT_TRUE(port.applySettings("com7,19200,E,7,2"));
    EXPECT_STREQ(port.getSettings().toString(), "COM7,19200,E,7,2");
    ASSERT_TRUE(port.open("COM7", nullptr));
    EXPECT_TRUE(port.restore());
    EXPECT_TRUE(port.isOpen());
    EXPECT_STREQ(port.getSettings().toString(), "COM7,9600,N,8,1");
    EXPECT_EQ(port.getNotifyWindow(), window.getHwnd());
    EXPECT_FALSE(port.restore()) << "the stack is empty";

    port.close();
    port.saveState();
    ASSERT_TRUE(port.open("COM7", window.getHwnd()));
    EXPECT_TRUE(port.restore());
    EXPECT_FALSE(port.isOpen());
}

TEST_F(SerialTest, CloseCompletesWhileTheReadThreadWaitsForTheWindow) {
    auto sim = openOnSim("--flood");
    ASSERT_TRUE(received(1));
    Sleep(200); // no messages handled: the read thread hangs in its SendMessageA
    PostQuitMessage(3); // the program ends meanwhile: close still waits for the thread
    DWORD start = GetTickCount();
    port.close();
    EXPECT_FALSE(port.isOpen());
    EXPECT_LT(GetTickCount() - start, 2000u);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit stays for the program's loop";
    EXPECT_EQ(msg.wParam, 3u);
}

// Closing from inside the handling of a byte (say from a box shown there): the read thread
// waits for that very handler, so close cannot wait for it to the end. It returns all the
// same, a quit taken meanwhile is left for the program's loop, no byte arrives any more, and
// the port opens again once the handler is done.
TEST_F(SerialTest, CloseFromInsideTheHandlingOfAByteReturnsAndTheQuitStays) {
    auto sim = openOnSim("");
    bool closed = false, quitLeft = false;
    window.duringByte = [&] {
        PostQuitMessage(4);
        port.close();
        closed = !port.isOpen();
        MSG msg;
        quitLeft = PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) && msg.wParam == 4;
    };
    ASSERT_TRUE(received(1));
    EXPECT_TRUE(closed);
    EXPECT_TRUE(quitLeft);
    size_t count = window.bytes.size();
    MessagePump::run(300);
    EXPECT_EQ(window.bytes.size(), count) << "bytes after the close";

    EXPECT_TRUE(port.open("COM7", window.getHwnd())) << port.getLastError().getBuffer();
    EXPECT_TRUE(received(count + 9));
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(SerialTest, EveryFloodedByteReachesTheWindowInOrder) {
    // Far more than the pseudo-terminal holds, so plant-sim waits for the reader many times.
    const size_t total = 30000;
    auto sim = openOnSim("--flood --counted --bytes 30000");
    ASSERT_TRUE(received(total, 500000)) << window.bytes.size() << " bytes came";
    MessagePump::run(200);
    ASSERT_EQ(window.bytes.size(), total);
    for (size_t i = 0; i + 9 <= total; i += 9) {
        unsigned level = window.bytes[i + 2] | window.bytes[i + 3] << 8;
        ASSERT_TRUE(window.bytes[i] == 0x55 && window.bytes[i + 1] == 0xAA && level == (i / 9 & 0xFFFF))
            << "frame " << i / 9;
    }
}

// The control's test shows the read thread's own line check; here a write finds the dead line
// first, while the read thread hangs in its SendMessageA and checks nothing.
TEST_F(SerialTest, AWriteToADeadLineFailsAndTellsTheWindowOnce) {
    auto sim = openOnSim("--frames 2 --close-after 1.5");
    ASSERT_TRUE(received(1));
    Sleep(2000);
    EXPECT_FALSE(port.isLineLost());
    EXPECT_FALSE(port.writeByte(1));
    EXPECT_FALSE(port.getLastError().isEmpty());
    EXPECT_TRUE(port.isLineLost());
    ASSERT_TRUE(MessagePump::until([&] { return !window.lostPorts.empty(); }, 5000));
    EXPECT_EQ(window.lostPorts[0], &port);
    MessagePump::run(300);
    EXPECT_EQ(window.lostPorts.size(), 1u) << "told once";
}

TEST_F(SerialTest, ProgrammerIsFoundAtItsRateWhichTheNextCommandUsesFirst) {
    auto sim = openOnSim("--frames 1 --programmer-rate 115200");
    ASSERT_TRUE(received(9));
    SString reply;
    EXPECT_TRUE(port.sendTobrikCmd("+", &reply));
    EXPECT_STREQ(reply, "Tobrik + \261\n");
    EXPECT_EQ(port.getLastTobrikBaud(), 115200);
    EXPECT_TRUE(MessagePump::until([&] { return preambles(sim->received()) == 3; }))
        << "500000, 19200, then 115200";

    EXPECT_TRUE(port.sendTobrikCmd("d", &reply));
    EXPECT_STREQ(reply, "Tobrik d \261\n");
    MessagePump::run(100);
    EXPECT_EQ(preambles(sim->received()), 4) << "one attempt";

    EXPECT_STREQ(port.getSettings().toString(), "COM7,9600,N,8,1");
    EXPECT_EQ(port.getNotifyWindow(), window.getHwnd());
    EXPECT_EQ(port.getSavedStateCount(), 0);
    EXPECT_EQ(window.bytes.size(), 9u) << "the answers went to the buffer only";
}

TEST_F(SerialTest, AProgrammerThatAnswersRubbishIsNoAnswerAndThePortComesBack) {
    auto sim = openOnSim("--frames 1 --programmer-rate 19200 --programmer-reply rubbish");
    ASSERT_TRUE(received(9));
    SString reply;
    EXPECT_FALSE(port.sendTobrikCmd("+", &reply)) << "the last rate stayed silent";
    EXPECT_EQ(port.getLastTobrikBaud(), 0);
    EXPECT_TRUE(MessagePump::until([&] { return preambles(sim->received()) == 4; })) << "every rate was tried";
    EXPECT_STREQ(port.getSettings().toString(), "COM7,9600,N,8,1");
    EXPECT_EQ(port.getNotifyWindow(), window.getHwnd());
    EXPECT_TRUE(port.isOpen());
}

// The port closed while the programmer exchange waits (a click, a vanished device): the
// exchange stops at once, without a box about the closed port, and leaves it closed with
// its own settings and window.
TEST_F(SerialTest, APortClosedDuringTheProgrammerExchangeStaysClosed) {
    auto sim = openOnSim("--frames 1 --programmer-rate 250000");
    ASSERT_TRUE(received(9));
    window.post([&] { port.close(); }); // dispatched by the exchange's first wait
    EXPECT_FALSE(port.sendTobrikCmd("+"));
    EXPECT_FALSE(port.isOpen());
    MessagePump::run(300);
    EXPECT_FALSE(port.isOpen()) << "opened again";
    EXPECT_EQ(preambles(sim->received()), 0) << "attempts after the close";
    EXPECT_STREQ(port.getSettings().toString(), "COM7,9600,N,8,1");
    EXPECT_EQ(port.getNotifyWindow(), window.getHwnd());
    EXPECT_EQ(port.getSavedStateCount(), 0);
    EXPECT_EQ(boxes.count(), 0) << (boxes.count() ? boxes.last().text.getBuffer() : "");
}

// A port named by a virtual-port driver keeps its name through the programmer exchange and
// its state stack: the port that comes back is the same one.
TEST_F(SerialTest, APortNotNamedComKeepsItsNameThroughTheProgrammerExchange) {
    auto sim = std::make_unique<PlantSim>("cnca0", "--frames 1 --programmer-rate 19200");
    ASSERT_TRUE(sim->isReady()) << sim->getError();
    ASSERT_TRUE(port.open("CNCA0", window.getHwnd())) << port.getLastError().getBuffer();
    ASSERT_TRUE(received(9));
    SString reply;
    EXPECT_TRUE(port.sendTobrikCmd("+", &reply));
    EXPECT_STREQ(reply, "Tobrik + \261\n");
    EXPECT_TRUE(port.isOpen());
    EXPECT_STREQ(port.getSettings().toString(), "CNCA0,9600,N,8,1");
    EXPECT_EQ(boxes.count(), 0) << (boxes.count() ? boxes.last().text.getBuffer() : "");
}

} // namespace
