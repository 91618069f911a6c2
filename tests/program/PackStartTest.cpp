// The released program however it is started: it finds the pack in its own file, every
// running copy unpacks into a folder of its own, and no unpack folder outlives its program.
#include "tests/program/Program.h"
#include "tests/support/gui/Artifacts.h"
#include "tests/support/gui/MessagePump.h"
#include "tests/support/gui/WindowCapture.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <string>

namespace {

std::string tempPath() {
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    return temp;
}

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The program's unpack folders below the temporary path: "_tmpVekRes…" with its layout file
// (other packed programs of the suites unpack other files).
std::set<std::string> unpackFolders() {
    std::set<std::string> folders;
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((tempPath() + "_tmpVekRes*").c_str(), &found);
    for (bool more = h != INVALID_HANDLE_VALUE; more; more = FindNextFileA(h, &found)) {
        const std::string folder = tempPath() + found.cFileName;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && exists(folder + "\\controlpos.ini"))
            folders.insert(folder);
    }
    if (h != INVALID_HANDLE_VALUE) FindClose(h);
    return folders;
}

std::set<std::string> newSince(const std::set<std::string>& before) {
    std::set<std::string> added;
    for (const std::string& f : unpackFolders())
        if (!before.count(f)) added.insert(f);
    return added;
}

std::set<std::string> filesIn(const std::string& folder) {
    std::set<std::string> files;
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &found);
    for (bool more = h != INVALID_HANDLE_VALUE; more; more = FindNextFileA(h, &found))
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) files.insert(found.cFileName);
    if (h != INVALID_HANDLE_VALUE) FindClose(h);
    return files;
}

// The main window shows, or a message box stands in its way.
bool showsWindowOrBox(Program& program) {
    return MessagePump::until([&] { return program.waitForMainWindow(0) || !program.noBox(); }, 15000);
}

// Where the packed controlpos.ini puts the first mix button (the development layout differs).
bool showsPackedLayout(Program& program) {
    HWND mix = program.child("Button", "1:1");
    POINT at = mix ? program.placeOf(mix) : POINT{-1, -1};
    return at.x == 120 && at.y == 292;
}

} // namespace

// Typed as "Anlage" in a console elsewhere (found through PATH), or started by a link that
// holds no folder: the command line names no file, yet the pack is found.
TEST(PackStart, ABareNameInAnotherFolderStartsWithThePack) {
    Program program;
    ASSERT_TRUE(program.started && program.waitForMainWindow());
    ASSERT_TRUE(program.endsByItsButton());
    const std::string elsewhere = std::string(program.root.path().getBuffer()) + "\\Konsole";
    CreateDirectoryA(elsewhere.c_str(), nullptr);

    ASSERT_TRUE(program.start("Anlage", elsewhere));
    ASSERT_TRUE(showsWindowOrBox(program));
    EXPECT_TRUE(program.noBox()) << "a box instead of the packed program";
    ASSERT_TRUE(program.main);
    EXPECT_TRUE(showsPackedLayout(program));
    EXPECT_FALSE(exists(elsewhere + "\\VEK-Resourcen")) << "started as the development build";
    EXPECT_FALSE(exists(program.folder + "\\VEK-Resourcen")) << "started as the development build";
    MessagePump::run(500);
    WindowCapture::ofWindow(program.main).savePng(artifactPath("program/bare-name-start.png"));
    EXPECT_TRUE(program.endsByItsButton());
}

// Two copies started together unpack into two folders; the first to end takes only its own.
TEST(PackStart, TwoCopiesStartedTogetherKeepTheirOwnFiles) {
    const std::set<std::string> before = unpackFolders();
    Program first, second;
    ASSERT_TRUE(first.started && second.started);
    ASSERT_TRUE(first.waitForMainWindow() && second.waitForMainWindow());
    // Side by side: a click on one copy's end button must not land on the other copy.
    SetWindowPos(first.main, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetWindowPos(second.main, nullptr, 660, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    MessagePump::run(300);
    EXPECT_TRUE(showsPackedLayout(first));
    EXPECT_TRUE(showsPackedLayout(second));
    const std::set<std::string> both = newSince(before);
    ASSERT_EQ(both.size(), 2u) << "the two copies share an unpack folder";
    const std::set<std::string> unpacked = filesIn(*both.begin());

    ASSERT_TRUE(first.endsByItsButton());
    std::set<std::string> left;
    for (const std::string& folder : both)
        if (exists(folder)) left.insert(folder);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(filesIn(*left.begin()), unpacked) << "the first copy took files of the second";
    EXPECT_TRUE(second.responds());
    EXPECT_TRUE(second.endsByItsButton());
    EXPECT_FALSE(exists(*left.begin()));
}

// A copy ended from outside (task manager, a crash) leaves its folder; the next start
// removes it.
TEST(PackStart, AFolderLeftByAKilledCopyGoesAtTheNextStart) {
    const std::set<std::string> before = unpackFolders();
    Program program;
    ASSERT_TRUE(program.started && program.waitForMainWindow());
    const std::set<std::string> killed = newSince(before);
    ASSERT_EQ(killed.size(), 1u);

    ASSERT_TRUE(program.start()); // ends the running copy without its destructors first
    ASSERT_TRUE(program.waitForMainWindow());
    EXPECT_FALSE(exists(*killed.begin())) << "the killed copy's folder stayed";
    const std::set<std::string> next = newSince(before);
    ASSERT_EQ(next.size(), 1u);
    EXPECT_TRUE(program.endsByItsButton());
    EXPECT_FALSE(exists(*next.begin()));
}

// Windows shutting down with the program open: once the program has answered the end of the
// session it may be ended at any moment, so its folder is gone by then.
TEST(PackStart, TheEndOfTheSessionRemovesTheUnpackedFiles) {
    const std::set<std::string> before = unpackFolders();
    Program program;
    ASSERT_TRUE(program.started && program.waitForMainWindow());
    const std::set<std::string> unpacked = newSince(before);
    ASSERT_EQ(unpacked.size(), 1u);

    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutA(program.main, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer));
    EXPECT_TRUE(answer) << "the program holds the session up";
    ASSERT_TRUE(SendMessageTimeoutA(program.main, WM_ENDSESSION, TRUE, 0, SMTO_ABORTIFHUNG, 5000, &answer));
    EXPECT_FALSE(exists(*unpacked.begin())) << "the unpack folder outlives the session";
}
