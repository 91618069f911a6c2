// Recording a run to a CSV file with the released program: every frame of the serial line
// or of the experiment server's relay is a row, compared with what plant-sim and exp-server
// noted they sent; a recording played back by plant-sim and recorded again; a disk that fills
// up mid-run, a file held by another program, the end of the session and the end button while
// recording. The window's title says what the program is connected to.
#include "tests/experiment/ExperimentPeers.h"
#include "tests/program/Program.h"
#include "tests/serial/PlantSim.h"
#include "tests/support/gui/Artifacts.h"
#include "tests/support/gui/MessagePump.h"
#include "tests/support/gui/WindowCapture.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Bytes = std::array<int, 9>;


// "Aufzeichnen" and its save dialog: the name the dialog proposes comes back in proposed;
// path, unless empty, is put in its place. True once the button reads "Aufzeichnung beenden".
bool startRecording(Program& program, const std::string& path, std::string* proposed = nullptr) {
    HWND dialog = nullptr;
    if (!Program::press(program.child("Button", "Aufzeichnen"),
                        [&] { return (dialog = program.waitForBox(0)) != nullptr; }))
        return false;
    HWND name = GetDlgItem(dialog, 0x47C); // the file name field of the Explorer-style dialog
    if (!name) return false;
    if (proposed) *proposed = textOf(name);
    if (!path.empty()) SendMessageA(name, WM_SETTEXT, 0, (LPARAM)path.c_str());
    return Program::press(GetDlgItem(dialog, IDOK),
                          [&] { return program.child("Button", "Aufzeichnung beenden") != nullptr; });
}

bool stopRecording(Program& program) {
    return Program::press(program.child("Button", "Aufzeichnung beenden"),
                          [&] { return program.child("Button", "Aufzeichnen") != nullptr; });
}

// The rows the main window says the recording has: "1234 Zeilen", "1234 Zeilen gespeichert";
// -1 while it shows no count.
long long rowsShown(const Program& program) {
    for (HWND c = GetWindow(program.main, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        long long rows = -1;
        char word[16] = "";
        if (classOf(c) == "Static" && std::sscanf(textOf(c).c_str(), "%lld %15s", &rows, word) == 2 &&
            std::string(word).starts_with("Zeile"))
            return rows;
    }
    return -1;
}

bool rowsReach(const Program& program, long long rows, int timeoutMs) {
    return MessagePump::until([&] { return rowsShown(program) == rows; }, timeoutMs);
}

std::string readWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct Recording {
    std::string header;
    std::vector<std::vector<std::string>> rows;
    bool endsWithLineEnd = false;
};

Recording readRecording(const std::string& path) {
    Recording r;
    const std::string text = readWhole(path);
    r.endsWithLineEnd = text.ends_with("\r\n");
    size_t at = 0;
    for (size_t end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2) {
        std::string line = text.substr(at, end - at);
        if (r.header.empty()) {
            r.header = line;
            continue;
        }
        std::vector<std::string> fields(1);
        for (char c : line) {
            if (c == ';') fields.emplace_back();
            else fields.back() += c;
        }
        r.rows.push_back(fields);
    }
    return r;
}

// What a row must hold for the frame bytes sent: empty when it does, else what differs.
std::string differs(const std::vector<std::string>& row, const Bytes& sent, const char* road) {
    static const std::regex time(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3})");
    std::ostringstream expected;
    expected << road << ";" << (sent[2] | sent[3] << 8) << ";" << (sent[4] ? 1 : 0) << ";"
             << (sent[4] ? "F\334LLEN" : "OK") << ";" << sent[5] << ";" << sent[6] << ";" << sent[7] << ";"
             << sent[8];
    std::string got;
    for (size_t i = 2; i < row.size(); ++i) got += (i > 2 ? ";" : "") + row[i];
    if (row.size() != 10) return "a row of " + std::to_string(row.size()) + " fields";
    if (!std::regex_match(row[1], time)) return "the time " + row[1];
    if (got != expected.str()) return got + " instead of " + expected.str();
    return "";
}

// Lines "[# SESSION sent D 9 ]NUMBER? B0 … B8": the frames in the order noted.
std::vector<Bytes> framesNoted(const std::string& text, const std::string& marker) {
    std::vector<Bytes> frames;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        size_t at = line.find(marker);
        if (at == std::string::npos) continue;
        std::istringstream hex(line.substr(at + marker.size()));
        Bytes b{};
        for (int& v : b) hex >> std::hex >> v;
        if (hex) frames.push_back(b);
    }
    return frames;
}

// plant-sim's sent log: "NUMBER B0 … B8" in the order of the numbers.
std::vector<Bytes> framesSent(const PlantSim& sim) {
    std::vector<Bytes> frames;
    std::istringstream in(sim.readFile("sent"));
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        size_t number = 0;
        Bytes b{};
        fields >> number;
        for (int& v : b) fields >> std::hex >> v;
        if (fields && number == frames.size()) frames.push_back(b);
    }
    return frames;
}

// The rows must be the sent frames from `first` on, one each, in order.
void expectRowsAre(const Recording& r, const std::vector<Bytes>& sent, size_t first, const char* road) {
    ASSERT_LE(first + r.rows.size(), sent.size()) << "more rows than frames sent";
    long long previousMs = -1;
    for (size_t i = 0; i < r.rows.size(); ++i) {
        ASSERT_EQ(differs(r.rows[i], sent[first + i], road), "") << "row " << i + 1;
        long long ms = std::atoll(r.rows[i][0].c_str());
        ASSERT_GE(ms, previousMs) << "row " << i + 1 << ": the time since the start goes back";
        previousMs = ms;
    }
}

std::string documentsFolder() {
    char path[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, 0, path);
    return path;
}

// The whole window as the screen shows it, its title bar included.
WindowCapture windowWithFrame(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    HDC screen = GetDC(nullptr);
    WindowCapture shot = WindowCapture::ofDC(screen, r.left, r.top, r.right - r.left, r.bottom - r.top);
    ReleaseDC(nullptr, screen);
    return shot;
}

// A recording ended while it ran (session end, end button): every row the window had counted
// is in the file, whole, and they are the frames plant-sim sent.
void expectFinished(const std::string& path, long long counted, const PlantSim& sim) {
    const Recording r = readRecording(path);
    EXPECT_TRUE(r.endsWithLineEnd) << "the last row is cut off";
    EXPECT_GE((long long)r.rows.size(), counted) << "rows counted in the window are missing in the file";
    ASSERT_FALSE(r.rows.empty());
    expectRowsAre(r, framesSent(sim), (size_t)std::atoi(r.rows[0][3].c_str()), "seriell");
}

// A small tmpfs, mounted for the test and gone with it: a disk that can be filled up.
class SmallDisk : public NativePeer {
public:
    bool mount() {
        // Outside the prefix: the Unix path of the test's folder runs through dosdevices/c:, which
        // no Windows path may hold.
        std::string script = unixFolder() + "/disk.sh";
        std::ofstream(windowsPath(script), std::ios::binary)
            << "d=$(mktemp -d /tmp/anlage-disk.XXXXXX) || exit 1\n"
            << "mount -t tmpfs -o size=256k anlage-test \"$d\" || { rmdir \"$d\"; exit 1; }\n"
            << "trap 'umount \"$d\" || umount -l \"$d\"; rmdir \"$d\"' EXIT\n"
            << "trap 'exit 0' TERM INT\n"
            << "echo \"$d\"\n"
            << "while :; do sleep 0.2; done\n";
        return start("/bin/sh '" + script + "'", 5000, 240);
    }
    std::string folder() const { return windowsPath(firstLine()); }
    // Writes a file until the disk takes no more.
    bool fill() const {
        HANDLE f = CreateFileA((folder() + "\\filler").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (f == INVALID_HANDLE_VALUE) return false;
        std::vector<char> block(4096, 'x');
        DWORD written = 0;
        while (WriteFile(f, block.data(), (DWORD)block.size(), &written, nullptr) && written == block.size()) {
        }
        CloseHandle(f);
        return true;
    }
};

// The experiment window, driven far enough for the relay: connect, upload, start, finish.
struct Experiment {
    HWND window = nullptr;

    bool open(Program& program) {
        SetWindowPos(program.main, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        return Program::press(program.child("Button", "Experiment starten"),
                              [&] { return (window = program.waitForOwnedWindow(0)) != nullptr; }) &&
               SendMessageA(childOf(window, "Edit", "Name"), WM_SETTEXT, 0, (LPARAM)"Anna") &&
               SendMessageA(childOf(window, "Edit", "MatrikelNr"), WM_SETTEXT, 0, (LPARAM)"123456");
    }
    // Presses a workflow button until the next one is enabled.
    bool step(const char* press, const char* next) const {
        HWND button = childOf(window, "Button", press), then = childOf(window, "Button", next);
        return button && then && Program::press(button, [&] { return IsWindowEnabled(then) != FALSE; }, 30000);
    }
};

} // namespace

// Thirty seconds of counted frames at 9600 Bd: the recording runs from before the line is
// opened until the last frame has come, so every frame plant-sim sent must be a row, in order,
// with its values. The button and the row count while it runs, and the title, in pictures.
TEST(Recording, EveryFrameOfThirtySecondsOnTheSerialLineIsARow) {
    forgetSettings();
    const int frames = 3200; // 28800 bytes: 30 s at 960 bytes a second
    PlantSim sim("com1", "--counted --rate 9600 --frames " + std::to_string(frames) + " --sent-log {dir}/sent");
    ASSERT_TRUE(sim.isReady()) << sim.getError();
    Program program;
    ASSERT_TRUE(program.started && program.waitForMainWindow());
    EXPECT_EQ(textOf(program.main), "Anlage");
    const std::string path = std::string(program.root.path().getBuffer()) + "\\seriell.csv";
    ASSERT_TRUE(startRecording(program, path));
    ASSERT_TRUE(program.connectPort()) << "the port did not open";
    EXPECT_TRUE(MessagePump::until([&] { return textOf(program.main) == "Anlage \226 COM1"; }, 5000))
        << textOf(program.main);

    ASSERT_TRUE(MessagePump::until([&] { return rowsShown(program) > 100; }, 20000));
    MessagePump::run(300);
    windowWithFrame(program.main).savePng(artifactPath("program/recording.png"));
    // The line is paced: a loaded machine reads it late, but plant-sim waits and drops nothing.
    ASSERT_TRUE(rowsReach(program, frames, 180000)) << "the count stopped at " << rowsShown(program);
    ASSERT_TRUE(stopRecording(program));
    EXPECT_TRUE(rowsReach(program, frames, 5000));
    EXPECT_NE(program.childStarting("Static", std::to_string(frames) + " Zeilen gespeichert"), nullptr);

    const Recording r = readRecording(path);
    EXPECT_EQ(r.header, "Zeit seit Start (ms);Uhrzeit;Quelle;Level;Status;Statustext;Pumpe 1;Pumpe 2;"
                        "Verh\344ltnis 1;Verh\344ltnis 2");
    EXPECT_TRUE(r.endsWithLineEnd);
    const std::vector<Bytes> sent = framesSent(sim);
    ASSERT_EQ(sent.size(), (size_t)frames) << "plant-sim's log";
    ASSERT_EQ(r.rows.size(), (size_t)frames);
    expectRowsAre(r, sent, 0, "seriell");

    ASSERT_TRUE(program.disconnectPort());
    EXPECT_TRUE(MessagePump::until([&] { return textOf(program.main) == "Anlage"; }, 5000)) << textOf(program.main);
    EXPECT_TRUE(program.noBox());
    EXPECT_TRUE(program.endsByItsButton());
}

// A recording played back by plant-sim and recorded again gives the same rows, value for
// value, in the same order.
TEST(Recording, ARecordingPlayedBackAndRecordedAgainHasTheSameRows) {
    forgetSettings();
    const int frames = 100;
    Program program;
    ASSERT_TRUE(program.started && program.waitForMainWindow());
    const std::string first = std::string(program.root.path().getBuffer()) + "\\erste.csv";
    const std::string second = std::string(program.root.path().getBuffer()) + "\\zweite.csv";
    for (const std::string& options : {"--rate 9600 --frames " + std::to_string(frames),
                                       "--replay '" + NativePeer::unixPath(first.c_str()) + "' --speed 2"}) {
        PlantSim sim("com1", options);
        ASSERT_TRUE(sim.isReady()) << sim.getError();
        ASSERT_TRUE(startRecording(program, options.starts_with("--replay") ? second : first));
        ASSERT_TRUE(program.connectPort());
        ASSERT_TRUE(rowsReach(program, frames, 120000)) << rowsShown(program);
        ASSERT_TRUE(stopRecording(program));
        ASSERT_TRUE(program.disconnectPort());
    }
    const Recording a = readRecording(first), b = readRecording(second);
    ASSERT_EQ(a.rows.size(), (size_t)frames);
    ASSERT_EQ(b.rows.size(), a.rows.size());
    for (size_t i = 0; i < a.rows.size(); ++i) {
        std::vector<std::string> values(a.rows[i].begin() + 2, a.rows[i].end());
        ASSERT_EQ(std::vector<std::string>(b.rows[i].begin() + 2, b.rows[i].end()), values) << "row " << i + 1;
    }
    EXPECT_TRUE(program.noBox());
    EXPECT_TRUE(program.endsByItsButton());
}

// A whole remote session recorded: every telemetry frame exp-server relayed is a row of the
// road "Experiment", and the title names the experiment while connected.
TEST(Recording, EveryFrameTheExperimentServerRelaysIsARow) {
    forgetSettings();
    ExpServer server;
    ASSERT_TRUE(server.start("--telemetry-ms 20 --step-ms 5")) << server.getError();
    pointSettingsAt(server.webPort, server.port);
    Program program;
    ASSERT_TRUE(program.started && program.waitForMainWindow());
    program.writeFirmware("\x0C\x94\x34\x12");

    Experiment experiment;
    ASSERT_TRUE(experiment.open(program));
    ASSERT_TRUE(experiment.step("Verbinden", "Upload"));
    EXPECT_TRUE(MessagePump::until([&] { return textOf(program.main) == "Anlage \226 Experiment"; }, 5000))
        << textOf(program.main);
    ASSERT_TRUE(experiment.step("Upload", "Starten"));
    const std::string path = std::string(program.root.path().getBuffer()) + "\\experiment.csv";
    ASSERT_TRUE(startRecording(program, path));
    ASSERT_TRUE(experiment.step("Starten", "Beenden"));
    MessagePump::run(8000);
    // Once "Starten" is enabled again the server's finish reply, and every frame before it, is in.
    ASSERT_TRUE(experiment.step("Beenden", "Starten"));
    ASSERT_TRUE(stopRecording(program));

    const std::vector<Bytes> sent = framesNoted(server.record(), " sent D 9");
    ASSERT_GT(sent.size(), 100u) << "exp-server relayed too little";
    const Recording r = readRecording(path);
    EXPECT_EQ(r.rows.size(), sent.size());
    expectRowsAre(r, sent, 0, "Experiment");
    EXPECT_NE(program.childStarting("Static", std::to_string(sent.size()) + " Zeilen gespeichert"), nullptr);
    EXPECT_TRUE(program.noBox());
    // Closing the session takes the experiment out of the title.
    EXPECT_TRUE(Program::press(childOf(experiment.window, "Button", "schlie\337en"),
                               [&] { return textOf(program.main) == "Anlage"; }))
        << textOf(program.main);
    EXPECT_TRUE(program.endsByItsButton());
}

// A disk that fills up under a running recording: a German box names the file, the reason
// and the rows saved; those rows are in the file, whole and as sent, and nothing after them;
// the program goes on and records again. Windows ending its session while that recording
// runs: once the program has answered, the file holds every row the window had counted, whole,
// though the process may be ended at once.
TEST(Recording, AFullDiskEndsTheRecordingWithABoxAndTheEndOfTheSessionFinishesTheNext) {
    forgetSettings();
    PlantSim sim("com1", "--counted --rate 9600 --sent-log {dir}/sent");
    ASSERT_TRUE(sim.isReady()) << sim.getError();
    Program program;
    ASSERT_TRUE(program.started && program.waitForMainWindow());
    ASSERT_TRUE(program.connectPort());
    SmallDisk disk;
    if (disk.mount()) {
        const std::string path = disk.folder() + "\\voll.csv";
        ASSERT_TRUE(startRecording(program, path));
        ASSERT_TRUE(MessagePump::until([&] { return readRecording(path).rows.size() >= 100; }, 20000))
            << "nothing reached the disk: " << readWhole(path).size() << " bytes in " << path;
        ASSERT_TRUE(disk.fill());

        HWND box = program.waitForBox(30000);
        ASSERT_TRUE(box) << "no box after the disk filled up";
        const std::string said = boxText(box);
        MessagePump::run(500); // for the picture: the box draws its text after it shows
        windowWithFrame(box).savePng(artifactPath("program/recording-disk-full.png"));
        EXPECT_EQ(textOf(box), "Fehler");
        EXPECT_NE(said.find(path), std::string::npos) << said;
        EXPECT_NE(said.find("der Datentr\344ger ist voll"), std::string::npos) << said;
        long long saved = -1;
        size_t at = said.find("gespeichert");
        ASSERT_TRUE(at != std::string::npos &&
                    std::sscanf(said.c_str() + said.rfind("\n", at) + 1, "%lld", &saved) == 1)
            << said;
        ASSERT_TRUE(program.pressOk(box));

        const Recording r = readRecording(path);
        EXPECT_TRUE(r.endsWithLineEnd) << "a row cut off at the end";
        ASSERT_EQ((long long)r.rows.size(), saved);
        ASSERT_GE(saved, 100); // the disk was filled once 100 rows were in the file
        const size_t first = (size_t)std::atoi(r.rows[0][3].c_str()); // counted: the level is the frame's number
        expectRowsAre(r, framesSent(sim), first, "seriell");
        EXPECT_NE(program.child("Button", "Aufzeichnen"), nullptr);
        EXPECT_EQ(rowsShown(program), saved);
        EXPECT_TRUE(program.responds());
    } else {
        std::printf("The full disk is not tried: no small tmpfs can be mounted here (it needs root): %s\n",
                    disk.getError().c_str());
    }

    const std::string next = std::string(program.root.path().getBuffer()) + "\\sitzung.csv";
    ASSERT_TRUE(startRecording(program, next));
    ASSERT_TRUE(MessagePump::until([&] { return rowsShown(program) > 200; }, 20000));
    const long long counted = rowsShown(program);
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutA(program.main, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer));
    ASSERT_TRUE(SendMessageTimeoutA(program.main, WM_ENDSESSION, TRUE, 0, SMTO_ABORTIFHUNG, 5000, &answer));
    // Finished means closed: nobody holds the file any more.
    HANDLE alone = CreateFileA(next.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(alone, INVALID_HANDLE_VALUE) << "the recording still has its file open";
    CloseHandle(alone);
    expectFinished(next, counted, sim);
}

// A file another program holds open without sharing, as a spreadsheet may: once the user
// agreed to replace it, the box names the file and why it cannot be written, nothing is
// recorded, and the file is left as it was. Then the end button while recording into the file
// the save dialog proposed in the documents folder: it holds every row the window had counted.
TEST(Recording, AFileHeldByAnotherProgramIsNamedInABoxAndTheEndButtonFinishesARecording) {
    forgetSettings();
    PlantSim sim("com1", "--counted --rate 9600 --sent-log {dir}/sent");
    ASSERT_TRUE(sim.isReady()) << sim.getError();
    Program program;
    ASSERT_TRUE(program.started && program.waitForMainWindow());
    const std::string held = std::string(program.root.path().getBuffer()) + "\\offen.csv";
    std::ofstream(held, std::ios::binary) << "frei";
    HANDLE holder = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);

    HWND dialog = nullptr;
    ASSERT_TRUE(Program::press(program.child("Button", "Aufzeichnen"),
                               [&] { return (dialog = program.waitForBox(0)) != nullptr; }));
    SendMessageA(GetDlgItem(dialog, 0x47C), WM_SETTEXT, 0, (LPARAM)held.c_str());
    HWND replace = nullptr;
    ASSERT_TRUE(Program::press(GetDlgItem(dialog, IDOK), [&] { return (replace = program.waitForBox(0, dialog)); }));
    ASSERT_TRUE(Program::press(GetDlgItem(replace, IDYES), [&] { return !IsWindow(replace); })) << "replace?";
    HWND box = program.waitForBox(10000, dialog);
    ASSERT_TRUE(box) << "no box";
    const std::string said = boxText(box);
    EXPECT_EQ(textOf(box), "Fehler");
    EXPECT_NE(said.find("Die Aufzeichnung kann nicht beginnen"), std::string::npos) << said;
    EXPECT_NE(said.find(held), std::string::npos) << said;
    EXPECT_NE(said.find("von einem anderen Programm ge\366ffnet oder gesperrt"), std::string::npos) << said;
    ASSERT_TRUE(program.pressOk(box));
    EXPECT_NE(program.child("Button", "Aufzeichnen"), nullptr);
    CloseHandle(holder);
    EXPECT_EQ(readWhole(held), "frei");

    ASSERT_TRUE(program.connectPort());
    std::string proposed;
    ASSERT_TRUE(startRecording(program, "", &proposed));
    EXPECT_TRUE(std::regex_match(proposed, std::regex(R"(Anlage-20\d{6}-\d{6}\.csv)"))) << proposed;
    const std::string path = documentsFolder() + "\\" + proposed;
    ASSERT_TRUE(MessagePump::until([&] { return rowsShown(program) > 200; }, 20000));
    const long long counted = rowsShown(program);
    EXPECT_TRUE(program.endsByItsButton());
    expectFinished(path, counted, sim);
    DeleteFileA(path.c_str());
}
