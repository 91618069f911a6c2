// The development build (no pack, its resources in VEK-Resourcen beside it): a control
// moved with the run-time layouter keeps its new place when the program starts again.
#include "tests/program/Program.h"
#include "tests/support/gui/InputSender.h"
#include "tests/support/gui/MessagePump.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

// The layouter's overlay lying exactly over control.
HWND overlayOf(HWND main, HWND control) {
    RECT c{};
    GetWindowRect(control, &c);
    for (HWND o = GetWindow(main, GW_CHILD); o; o = GetWindow(o, GW_HWNDNEXT)) {
        RECT r{};
        GetWindowRect(o, &r);
        if (classOf(o) == "VEK_POSITION_WINDOW" && EqualRect(&r, &c)) return o;
    }
    return nullptr;
}

} // namespace

TEST(LayoutRestart, AControlMovedWithTheLayouterStaysThereAfterARestart) {
    Program program(ANLAGE_DEVELOPMENT, PROGRAM_RESOURCES);
    ASSERT_TRUE(program.started && program.waitForMainWindow());
    HWND button = program.child("Button", "Experiment starten");
    ASSERT_TRUE(button);
    POINT before = program.placeOf(button);

    // Scroll Lock starts the layouter, every control gets its overlay. The key toggles: it is
    // pressed once and waited for.
    HWND overlay = nullptr;
    InputSender(program.main).realKey(VK_SCROLL);
    MessagePump::until([&] { return (overlay = overlayOf(program.main, button)) != nullptr; }, 15000);
    ASSERT_TRUE(overlay) << "no layouter";
    RECT r{};
    GetClientRect(overlay, &r);
    // 100 left and 30 down, on the layouter's 10-pixel grid; a drag that did not reach the
    // overlay leaves the button where it was and is made again.
    const POINT moved{before.x - 100, before.y + 30};
    auto at = [&](POINT p) {
        POINT now = program.placeOf(button);
        return now.x == p.x && now.y == p.y;
    };
    for (int attempt = 0; attempt < 3 && !at(moved); ++attempt) {
        if (!at(before)) break;
        MessagePump::run(300);
        InputSender(overlay).realDrag(r.right / 2, r.bottom / 2, r.right / 2 - 100, r.bottom / 2 + 30);
        MessagePump::until([&] { return at(moved); }, 3000);
    }
    ASSERT_TRUE(at(moved)) << program.placeOf(button).x << "," << program.placeOf(button).y;
    InputSender(program.main).realKey(VK_SCROLL); // stops it and writes controlpos.ini
    ASSERT_TRUE(MessagePump::until([&] { return !childOf(program.main, "VEK_POSITION_WINDOW", "", true); }, 15000))
        << "the layouter did not stop";

    DWORD code = 1;
    HWND ende = program.child("Button", "Ende");
    ASSERT_TRUE(Program::press(ende, [&] { return program.ended(0, code); }))
        << "still running; a box open: " << !program.noBox();
    std::ifstream file(program.folder + "\\VEK-Resourcen\\controlpos.ini");
    std::stringstream text;
    text << file.rdbuf();
    EXPECT_NE(text.str().find("=" + std::to_string(moved.x) + "," + std::to_string(moved.y) + ",140,28"),
              std::string::npos)
        << text.str();

    ASSERT_TRUE(program.start() && program.waitForMainWindow());
    button = program.child("Button", "Experiment starten");
    ASSERT_TRUE(button);
    EXPECT_EQ(program.placeOf(button).x, moved.x);
    EXPECT_EQ(program.placeOf(button).y, moved.y);
    EXPECT_TRUE(program.noBox());
    ASSERT_TRUE(Program::press(program.child("Button", "Ende"), [&] { return program.ended(0, code); }));
    EXPECT_EQ(code, 0u);
}
