// What a laboratory PC may hold wrong around the program: broken resource files beside it, a
// configuration it may not write, a serial port that is not there, a lab host that does not
// resolve. The program starts, says in German what is wrong where the user has to act, and
// leaves the stored layout and settings as they were.
#include "tests/program/Program.h"
#include "tests/support/gui/InputSender.h"
#include "tests/support/gui/MessagePump.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string contentOf(const std::string& file) {
    std::ostringstream bytes;
    bytes << std::ifstream(file, std::ios::binary).rdbuf();
    return bytes.str();
}

// A file with these bytes while the object lives, marked read-only when asked.
struct StoredFile {
    std::string path, bytes;
    StoredFile(std::string at, std::string text, bool readOnly) : path(std::move(at)), bytes(std::move(text)) {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
        if (readOnly) SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    }
    ~StoredFile() {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
    }
    bool kept() const { return contentOf(path) == bytes; }
};

bool startsAndAnswers(Program& program) {
    return program.started && program.waitForMainWindow() && program.responds();
}

// The port control and the gear inside it that opens its settings dialog.
HWND portControl(Program& program) { return program.child("VEK_WINDOW", "Steuerung"); }
HWND settingsIcon(Program& program) {
    RECT port{}, r{};
    GetWindowRect(portControl(program), &port);
    for (HWND c = GetWindow(program.main, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (classOf(c) == "VEK_WINDOW" && textOf(c).empty() && GetWindowRect(c, &r) && r.left >= port.left &&
            r.right <= port.right && r.top >= port.top && r.bottom <= port.bottom)
            return c;
    return nullptr;
}

} // namespace

// The development build reads its layout and styles from the folder beside it, where anyone
// may edit them: damaged lines neither stop it nor are written back, the whole ones apply, a
// layout file that cannot be read is named, and one marked read-only is neither rewritten nor
// given up silently.
TEST(BadInput, DamagedResourceFilesOfTheDevelopmentBuild) {
    Program program(ANLAGE_DEVELOPMENT, PROGRAM_RESOURCES);
    ASSERT_TRUE(startsAndAnswers(program));
    EXPECT_TRUE(program.endsByItsButton());
    const std::string dir = program.folder + "\\VEK-Resourcen\\";
    // Damaged lines ahead of the whole ones they stand for, bytes of no text, a header cut short.
    std::string layout = contentOf(dir + "controlpos.ini");
    auto spoil = [&](const std::string& header, const char* lines) {
        layout.insert(layout.find(header) + header.size(), lines);
    };
    spoil("[MainWnd_ge]\r\n", "Koerper,10,10,100,40=abc|x|\r\nPumpe1,560,10,100,40=1,2\r\n");
    spoil("[Control-Styles]\r\n", "SButton-form=x,-99999999999\r\nSEdit-normal=,,,,,,\r\n");
    layout += std::string(1, '\0') + "\377\r\n[Control-Styles\r\n";
    std::string sheet = "[style_x]\r\n";
    for (int i = 0; i < 30; ++i) sheet += "vek_color_win_back={{vek_color_win_back}}{{vek_color_win_back}}\r\n";
    {
        StoredFile positions(dir + "controlpos.ini", layout, false), style(dir + "kaputt.sty", sheet + "\377\r\n", false),
            language(dir + "Anlage_de.lng", std::string("=\r\n") + '\0' + "idConnect\r\n", false);
        ASSERT_TRUE(program.start() && startsAndAnswers(program));
        EXPECT_TRUE(program.noBox());
        ASSERT_TRUE(program.child("Button", "verbinden")) << "the texts are not the program's own";
        EXPECT_EQ(program.placeOf(program.child("Button", "1:1")).x, 120) << "the layout's whole lines were lost";
        EXPECT_TRUE(program.endsByItsButton());
        EXPECT_TRUE(positions.kept() && style.kept());
    }

    ASSERT_TRUE(CreateDirectoryA((dir + "controlpos.ini").c_str(), nullptr));
    ASSERT_TRUE(program.start());
    EXPECT_EQ(program.answerBox().rfind("Fehler !: Fehler: controlpos.ini konnte nicht verwendet werden.", 0), 0u);
    ASSERT_TRUE(startsAndAnswers(program));
    EXPECT_TRUE(program.endsByItsButton());

    ASSERT_TRUE(RemoveDirectoryA((dir + "controlpos.ini").c_str()));
    StoredFile positions(dir + "controlpos.ini", layout, true);
    ASSERT_TRUE(program.start() && startsAndAnswers(program));
    InputSender(program.main).realKey(VK_SCROLL); // the layouter on, and off again: it saves
    ASSERT_TRUE(MessagePump::until([&] { return childOf(program.main, "VEK_POSITION_WINDOW", "", true); }, 15000));
    InputSender(program.main).realKey(VK_SCROLL);
    std::string box = program.answerBox();
    EXPECT_EQ(box.rfind("Fehler !: Die Anordnung konnte nicht gespeichert werden", 0), 0u) << box;
    // The box comes while the layouter goes off: its window, which holds the controls meanwhile,
    // goes only after the box.
    ASSERT_TRUE(MessagePump::until([&] { return !childOf(program.main, "VEK_POSITION_WINDOW", "", true); }, 15000));
    EXPECT_TRUE(program.endsByItsButton());
    EXPECT_TRUE(positions.kept());
}

// The stored serial settings name COM9, which does not exist, in a configuration marked
// read-only: they are read, connecting names the port, saving the settings dialog says that
// nothing can be kept, and the file stays as it was.
TEST(BadInput, AMissingPortInAReadOnlyConfiguration) {
    Program program;
    ASSERT_TRUE(startsAndAnswers(program));
    const std::string section = "[ComPort_Control" + std::to_string(GetDlgCtrlID(portControl(program))) + "]\r\n";
    EXPECT_TRUE(program.endsByItsButton());
    StoredFile config(userConfigPath(), section + "Port=COM9\r\nBaud=19200\r\nParity=0\r\nData=8\r\nStop=0\r\n", true);
    ASSERT_TRUE(program.start() && startsAndAnswers(program));
    ASSERT_TRUE(program.child("Static", "COM9,19200,N,8,1")) << "the stored settings were not read";

    ASSERT_TRUE(Program::press(program.child("Button", "verbinden"), [&] { return !program.noBox(); }));
    EXPECT_EQ(program.answerBox(), "Fehler: Der Port COM9 konnte nicht ge\366ffnet werden.");
    EXPECT_TRUE(program.child("Button", "verbinden")) << "the control shows an open port";

    HWND dialog = nullptr;
    ASSERT_TRUE(Program::press(settingsIcon(program), [&] { return (dialog = program.waitForOwnedWindow(0)); }));
    ASSERT_TRUE(Program::press(childOf(dialog, "Button", "speichern"),
                               [&] { return !IsWindowVisible(dialog) || !program.noBox(); }));
    std::string box = program.answerBox();
    EXPECT_EQ(box.rfind("Fehler !: Die Port-Einstellungen konnten nicht gespeichert werden", 0), 0u) << box;
    EXPECT_NE(box.find(config.path), std::string::npos) << box;
    EXPECT_TRUE(program.endsByItsButton());
    EXPECT_TRUE(config.kept());
}

// The lab host is a name no resolver knows: the experiment window's connect step says that no
// address came, and the window can be used again.
TEST(BadInput, AnUnresolvableLabHostIsReportedByTheExperimentWindow) {
    StoredFile config(userConfigPath(), "[Experiment]\r\nWebServer=nirgends.invalid\r\nWebPort=80\r\n", false);
    Program program;
    ASSERT_TRUE(startsAndAnswers(program));
    SetWindowPos(program.main, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER); // room for both windows
    HWND window = nullptr;
    ASSERT_TRUE(Program::press(program.child("Button", "Experiment starten"),
                               [&] { return (window = program.waitForOwnedWindow(0)) != nullptr; }));
    // The fields as the student fills them; the step under test is the connect button.
    SendMessageA(childOf(window, "Edit", "MatrikelNr"), WM_SETTEXT, 0, (LPARAM) "123456");
    SendMessageA(childOf(window, "Edit", "Name"), WM_SETTEXT, 0, (LPARAM) "Anna");
    ASSERT_TRUE(Program::press(childOf(window, "Button", "Verbinden"), [&] { return !program.noBox(); }));
    EXPECT_EQ(program.answerBox(), "Fehler: Keine Adresse vom Experiment-Webserver erhalten.");
    EXPECT_TRUE(IsWindowEnabled(childOf(window, "Button", "Verbinden")));
    EXPECT_FALSE(IsWindowEnabled(childOf(window, "Button", "Upload")));
    EXPECT_TRUE(program.endsByItsButton());
    EXPECT_TRUE(config.kept());
}
