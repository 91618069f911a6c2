// The serial road of the released program: plant-sim on COM1 streams its tank model, the
// plant picture follows it, the mix buttons reach the controller, and a line that dies
// leaves the program running with its port control closed.
#include "tests/program/Program.h"
#include "tests/serial/PlantSim.h"
#include "tests/support/gui/Artifacts.h"
#include "tests/support/gui/MessagePump.h"
#include "tests/support/gui/WindowCapture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

namespace {

// Places of the plant's parts in the packed layout (main window client coordinates).
constexpr RECT gauge{185, 78, 265, 238};
constexpr RECT pump1{55, 85, 75, 105}; // the middle of the pump
constexpr RECT chart{330, 140, 570, 290};
constexpr COLORREF barColour = RGB(0x1E, 0x90, 0xFF); // the gauge's value colour

// The static text control standing at (x, y) of the main window.
HWND staticAt(const Program& program, int x, int y) {
    for (HWND c = GetWindow(program.main, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        POINT at = program.placeOf(c);
        if (classOf(c) == "Static" && at.x == x && at.y == y) return c;
    }
    return nullptr;
}

// A picture of the main window taken while shown holds before and after it; empty when it
// did not hold long enough within timeoutMs. The pause lets the pumps repaint on their tick.
WindowCapture captureWhile(HWND window, const std::function<bool()>& shown, int timeoutMs = 40000) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < (DWORD)timeoutMs) {
        if (!MessagePump::until(shown, timeoutMs)) break;
        MessagePump::run(150);
        if (!shown()) continue;
        WindowCapture shot = WindowCapture::ofWindow(window);
        if (!shot.empty() && shown()) return shot;
    }
    return WindowCapture();
}

int pixelsChanged(const WindowCapture& a, const WindowCapture& b, RECT r) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

void forgetSettings() { DeleteFileA(userConfigPath().c_str()); }

// Opens COM1 with the port control's button.
bool connect(Program& program) {
    return Program::press(program.child("Button", "verbinden"),
                          [&] { return program.child("Button", "trennen") != nullptr; });
}

} // namespace

// The tank model swings between 1800 and 2700: the picture is taken at three levels, the
// gauge's bar grows with the level, the chart draws on, the status text and the pumps follow
// the filling, and the ratio texts show what the controller reports after a mix click.
TEST(SerialRoad, TelemetryMovesThePlantPictureAndTheMixButtonsReachTheController) {
    forgetSettings();
    // An eighth of the line's rate: the model's time still runs in real time, and a program
    // slowed down by a loaded machine keeps up, so what it shows is not seconds old.
    PlantSim sim("com1", "--rate 1200");
    ASSERT_TRUE(sim.isReady()) << sim.getError();
    Program program;
    ASSERT_TRUE(program.started && program.waitForMainWindow());
    ASSERT_TRUE(connect(program)) << "the port did not open";

    HWND value = program.childStarting("Static", "Level = ");
    HWND status = staticAt(program, 330, 100);
    HWND ratio1 = staticAt(program, 14, 290), ratio2 = staticAt(program, 60, 290);
    ASSERT_TRUE(value && status && ratio1 && ratio2);
    auto level = [&] { return std::atoi(textOf(value).c_str() + 8); };

    // Falling from the top the level passes the three bands in this order.
    struct Band {
        int low, high;
        const char* name;
    } bands[] = {{2550, 2700, "high"}, {2150, 2350, "middle"}, {1800, 1950, "low"}};
    WindowCapture shots[3];
    for (int i = 0; i < 3; ++i) {
        shots[i] = captureWhile(program.main, [&] { return level() >= bands[i].low && level() <= bands[i].high; });
        ASSERT_FALSE(shots[i].empty()) << "the level never stayed near " << bands[i].low << ": " << textOf(value);
        shots[i].savePng(artifactPath(std::string("program/plant-level-") + bands[i].name + ".png"));
    }
    int bar[3];
    for (int i = 0; i < 3; ++i) bar[i] = shots[i].countColor(barColour, gauge, 40);
    // 200 level units are 16 rows of the 160 high gauge.
    EXPECT_GT(bar[0], bar[1] + 8 * 16) << "the bar does not grow with the level";
    EXPECT_GT(bar[1], bar[2] + 8 * 16) << "the bar does not grow with the level";
    EXPECT_GT(pixelsChanged(shots[0], shots[2], chart), 20) << "the chart stood still";

    WindowCapture filling = captureWhile(program.main, [&] { return textOf(status) == "F\334LLEN"; });
    WindowCapture resting = captureWhile(program.main, [&] { return textOf(status) == "OK"; });
    ASSERT_FALSE(filling.empty() || resting.empty()) << "the status stayed " << textOf(status);
    EXPECT_NE(filling.dominantColor(pump1), resting.dominantColor(pump1)) << "the pump looks the same running and idle";

    // The controller starts with 1:1; each mix button sends its two bytes and the ratio
    // texts change once the controller reports the new ratio.
    EXPECT_EQ(textOf(ratio1) + textOf(ratio2), "1: 1");
    ASSERT_TRUE(Program::press(program.child("Button", "1:2"), [&] { return sim.received().size() == 2; }));
    EXPECT_TRUE(MessagePump::until([&] { return textOf(ratio1) + textOf(ratio2) == "1: 2"; }, 10000))
        << textOf(ratio1) << textOf(ratio2);
    ASSERT_TRUE(Program::press(program.child("Button", "2:1"), [&] { return sim.received().size() == 4; }));
    EXPECT_TRUE(MessagePump::until([&] { return textOf(ratio1) + textOf(ratio2) == "2: 1"; }, 10000))
        << textOf(ratio1) << textOf(ratio2);
    EXPECT_EQ(sim.received(), std::string("\x01\x02\x02\x01", 4));

    // Once the line is closed the texts of the last frame stay readable over the plant.
    ASSERT_TRUE(Program::press(program.child("Button", "trennen"),
                               [&] { return program.child("Button", "verbinden") != nullptr; }));
    MessagePump::run(300);
    WindowCapture shot = captureWhile(program.main, [] { return true; }, 10000);
    shot.savePng(artifactPath("program/serial-main.png"));
    for (HWND text : {value, status, ratio1}) {
        POINT at = program.placeOf(text);
        EXPECT_TRUE(shot.hasTextLike(RECT{at.x, at.y, at.x + 60, at.y + 20})) << textOf(text) << " is not to be seen";
    }
    EXPECT_TRUE(program.noBox());
    DWORD code = 1;
    ASSERT_TRUE(Program::press(program.child("Button", "Ende"), [&] { return program.ended(0, code); }));
    EXPECT_TRUE(program.ended(10000, code));
    EXPECT_EQ(code, 0u);
}

// plant-sim ends once telemetry shows, as an unplugged adapter would: the port control waits
// for its port (still offering "trennen"), no box asks anything, and the program goes on.
TEST(SerialRoad, TheDyingLineClosesThePortControlAndTheProgramGoesOn) {
    forgetSettings();
    PlantSim sim("com1", "");
    ASSERT_TRUE(sim.isReady()) << sim.getError();
    Program program;
    ASSERT_TRUE(program.started && program.waitForMainWindow());
    ASSERT_TRUE(connect(program));
    HWND value = program.childStarting("Static", "Level = ");
    ASSERT_TRUE(value);
    ASSERT_TRUE(MessagePump::until([&] { return textOf(value) != "Level = 0"; }, 15000)) << "no telemetry shown";
    // Stopped only now: a line closed after a fixed time could be gone before a slow start opened it.
    sim.stop();

    EXPECT_TRUE(MessagePump::until([&] { return program.child("Static", "warte auf COM1 \205") != nullptr; }, 10000))
        << "the control still shows an open port";
    EXPECT_TRUE(program.child("Button", "trennen"));
    EXPECT_TRUE(program.responds());
    EXPECT_TRUE(program.noBox());
    // A mix click on the closed line does nothing.
    ASSERT_TRUE(Program::click(program.child("Button", "1:1")));
    EXPECT_TRUE(program.responds());
    DWORD code = 1;
    ASSERT_TRUE(Program::press(program.child("Button", "Ende"), [&] { return program.ended(0, code); }));
    EXPECT_TRUE(program.ended(10000, code));
    EXPECT_EQ(code, 0u);
}

