#include "VEK_UTIL/SResourcePack.h"

#include "VEK_SYSTEM/SSystem.h"
#include "VEK_UTIL/SResourcePackWriter.h"
#include "tests/support/BoxRecorder.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;
using namespace SResourcePackFormat;

namespace {

const uint32_t kProgramSize = 200;
const char kFailed[] = "Fehler beim Lesen der Resourcen.\r\n";

// A pack written byte by byte, so that broken packs can be made too.
struct RawPack {
    std::string bytes = std::string(kProgramSize, 'p');
    RawPack() { text("vekres").u32(HEADER_LENGTH).u32(2).u32(0).u32(0); }
    RawPack& byte(unsigned char b) { bytes.push_back((char)b); return *this; }
    RawPack& u32(uint32_t v) {
        unsigned char b[4];
        putU32(b, v);
        bytes.append((const char*)b, 4);
        return *this;
    }
    RawPack& text(const std::string& t) { bytes += t; return *this; }
    RawPack& entry(const std::string& name, const std::string& data) {
        byte(BLOCK_ENTRY).u32((uint32_t)name.size()).text(name).u32((uint32_t)data.size());
        for (char c : data) byte((unsigned char)(c ^ KEY));
        return *this;
    }
    std::string finish(uint32_t start = kProgramSize) { return text("vekend").u32(start).bytes; }
};

// Entry names that cannot become a file in the unpack directory: ones that reach outside it,
// and ones Windows cannot create (device names, forbidden characters, a trailing dot or
// blank, too long).
const std::string kBadNames[] = {
    "..\\x.ini", "../x.ini", "sub/x.ini", "c:x.ini", "..", ".", "", std::string("x\0.ini", 6),
    "con", "CON.ini", "aux.txt", "Nul", "prn.a.b", "com1", "COM9.log", "lpt1", "lpt3.ini", "nul .txt",
    "a<b.ini", "a>b.ini", "a\"b.ini", "a|b.ini", "a?b.ini", "a*b.ini", "tab\tname.ini", "bell\x07.ini",
    "trailing.", "trailing ", std::string(200, 'n') + ".ini", "a..b"};

std::string allByteValues() {
    std::string s;
    for (int i = 0; i < 256; ++i) s.push_back((char)i);
    return s;
}

std::string contentOf(const char* path) {
    SString content;
    SSystem::readFile(path, content);
    return std::string(content.getBuffer(), (size_t)content.length());
}

class SResourcePackTest : public ::testing::Test {
protected:
    void SetUp() override {
        SString base(dir.path());
        base.append(SSystem::pathSeparator());
        pack.setTempPath(base);
    }
    void TearDown() override { pack.removeFiles(); }

    bool load(const std::string& fileBytes) {
        dir.write("prog.exe", fileBytes.data(), (int)fileBytes.size());
        return pack.load(dir.file("prog.exe"));
    }
    // Names in the test directory besides the program file.
    std::set<std::string> others() const {
        std::set<std::string> names;
        for (const auto& e : fs::directory_iterator(dir.path().getBuffer()))
            if (e.path().filename() != "prog.exe") names.insert(e.path().filename().string());
        return names;
    }
    std::string onlyBox() const { return boxes.count() == 1 ? boxes.last().text.getBuffer() : "<boxes>"; }

    TempDir dir;
    BoxRecorder boxes;
    SResourcePack pack;
};

TEST_F(SResourcePackTest, WrittenPackIsReadBackByteForByte) {
    SResourcePackWriter writer;
    const std::string binary = allByteValues(); // holds KEY, so some bytes scramble to NUL
    ASSERT_TRUE(writer.addEntry("Controlpos.INI", "[a]\r\nb=1\r\n", 10));
    ASSERT_TRUE(writer.addEntry("vek.bmp", binary.data(), (int)binary.size()));
    ASSERT_TRUE(writer.addEntry("empty.txt", "", 0));
    char flag[FLAG_MARKER_LENGTH + 1];
    flagMarker('0', flag); // never the literal itself: it must stay unique in a program
    SString packed;
    ASSERT_TRUE(writer.packProgram(SString((std::string(kProgramSize - 11, 'p') + flag).c_str()), packed));

    ASSERT_TRUE(load(std::string(packed.getBuffer(), (size_t)packed.length())));
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_TRUE(pack.getErrorText().isEmpty());
    SMapStringToString& entries = pack.getEntries();
    ASSERT_EQ(entries.count(), 3);
    EXPECT_EQ(contentOf(entries.get("controlpos.ini")), "[a]\r\nb=1\r\n");
    EXPECT_EQ(contentOf(entries.get("vek.bmp")), binary);
    EXPECT_TRUE(SSystem::fileExists(entries.get("empty.txt")));
    EXPECT_EQ(contentOf(entries.get("empty.txt")), "");

    SString expectedDir(dir.path());
    expectedDir.append(SSystem::pathSeparator()).append("_tmpVekRes0_");
    EXPECT_TRUE(pack.getTempDir().startsWith(expectedDir)) << pack.getTempDir().getBuffer();
    EXPECT_TRUE(entries.get("vek.bmp").startsWith(pack.getTempDir()));

    pack.removeFiles();
    EXPECT_EQ(pack.getEntries().count(), 0);
    EXPECT_FALSE(SSystem::pathExists(pack.getTempDir()));
    EXPECT_TRUE(others().empty());
}

// An empty pack is a pack; a missing program file is one box and no directory.
TEST_F(SResourcePackTest, EmptyPackSucceedsAMissingProgramFails) {
    EXPECT_TRUE(load(RawPack().finish()));
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_EQ(pack.getEntries().count(), 0);
    EXPECT_TRUE(SSystem::directoryExists(pack.getTempDir()));
    pack.removeFiles();

    SResourcePack missing;
    EXPECT_FALSE(missing.load(dir.file("nicht-da.exe")));
    EXPECT_EQ(onlyBox().rfind(kFailed, 0), 0u) << onlyBox();
    EXPECT_TRUE(missing.getTempDir().isEmpty());
}

TEST_F(SResourcePackTest, TrailingBytesWarnButThePackIsUsed) {
    EXPECT_TRUE(load(RawPack().entry("a.ini", "x=1").finish() + std::string(20, 't')));
    EXPECT_EQ(onlyBox(), "Fehler beim Lesen der Resourcen.\r\nDie Datei ist um 20 Byte zu gro\337, "
                         "Ursache kann ein Virenbefall sein.");
    EXPECT_EQ(contentOf(pack.getEntries().get("a.ini")), "x=1");
}

TEST_F(SResourcePackTest, StartOffsetOutOfRangeFailsWithoutStepText) {
    const std::string fileSize = RawPack().finish();
    for (uint32_t start : {99u, 0u, (uint32_t)fileSize.size() + 1, 0xFFFFFFFFu}) {
        boxes.clear();
        EXPECT_FALSE(load(RawPack().finish(start))) << start;
        EXPECT_EQ(onlyBox(), std::string(kFailed) + "\r\n\r\n") << start;
        EXPECT_FALSE(SSystem::pathExists(pack.getTempDir()));
    }
}

TEST_F(SResourcePackTest, BrokenPacksFailWithTheirStepText) {
    struct Case {
        std::string file;
        std::string text;
    } cases[] = {
        {std::string(300, 'p'), "Ressourcen-Endekennung nicht vorhanden."},
        {RawPack().entry("a.ini", "1").byte(7).finish(), "unbekannte Blockkennung: 7"},
        {RawPack().byte(0).u32(0x7FFFFFF0).text("x").finish(), "Fehler beim Lesen der Namens-L\344nge"},
        {RawPack().byte(0).u32(7).text("big.bin").u32(0xFFFFFFF0).finish(),
         "Fehler beim Lesen der Daten: big.bin 4294967280"},
        {RawPack().byte(0).u32(4).text("a.in").u32(14).text("1234").finish(),
         "Fehler beim Lesen der Kennung"}, // the data swallows the trailer
    };
    for (const Case& c : cases) {
        boxes.clear();
        EXPECT_FALSE(load(c.file)) << c.text;
        EXPECT_EQ(onlyBox().rfind(kFailed + c.text + "\r\n", 0), 0u) << onlyBox();
        pack.removeFiles();
    }
    // Entries read before a failure stay on disk for removeFiles.
    EXPECT_FALSE(load(cases[1].file));
    ASSERT_EQ(pack.getEntries().count(), 1);
    EXPECT_EQ(contentOf(pack.getEntries().get("a.ini")), "1");
}

TEST_F(SResourcePackTest, NamesThatCannotBeFilesThereAreRefused) {
    for (const std::string& name : kBadNames) {
        boxes.clear();
        EXPECT_FALSE(load(RawPack().entry(name, "evil").finish())) << name;
        std::string shown = name;
        std::replace(shown.begin(), shown.end(), '\0', '?');
        EXPECT_EQ(onlyBox(), std::string(kFailed) + "unzul\344ssiger Name: " + shown + "\r\n\r\n");
        EXPECT_EQ(pack.getEntries().count(), 0);
        ASSERT_TRUE(SSystem::directoryExists(pack.getTempDir()));
        EXPECT_TRUE(fs::is_empty(pack.getTempDir().getBuffer()));
        pack.removeFiles();
        EXPECT_TRUE(others().empty()) << name; // nothing beside the program either
    }
}

// Programs unpacking at the same moment: each gets a directory of its own, and the first to
// remove its files leaves the others'.
TEST_F(SResourcePackTest, LoadsAtTheSameMomentGetDirectoriesOfTheirOwn) {
    const std::string file = RawPack().entry("a.ini", "1").finish();
    dir.write("prog.exe", file.data(), (int)file.size());
    const SString program = dir.file("prog.exe");
    const int kLoads = 8;
    for (int round = 0; round < 20; ++round) {
        SResourcePack packs[kLoads];
        bool loaded[kLoads] = {};
        std::atomic<int> waiting{kLoads};
        std::vector<std::thread> threads;
        for (int i = 0; i < kLoads; ++i) {
            packs[i].setTempPath(dir.path() + SString(SSystem::pathSeparator()));
            threads.emplace_back([&, i] {
                for (--waiting; waiting > 0;) std::this_thread::yield();
                loaded[i] = packs[i].load(program);
            });
        }
        for (std::thread& t : threads) t.join();
        std::set<std::string> dirs;
        for (int i = 0; i < kLoads; ++i) {
            ASSERT_TRUE(loaded[i]);
            dirs.insert(packs[i].getTempDir().getBuffer());
        }
        ASSERT_EQ(dirs.size(), (size_t)kLoads) << "round " << round;
        for (int i = 0; i < kLoads; ++i) {
            ASSERT_EQ(contentOf(packs[i].getEntries().get("a.ini")), "1") << "round " << round;
            packs[i].removeFiles();
        }
    }
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_TRUE(others().empty());
}

#ifndef _WIN32
// The disk fills up in the middle of an entry: the part written goes, the entries written
// whole stay listed for removeFiles, and nothing else is left.
TEST_F(SResourcePackTest, AWriteThatFailsLeavesNoPartOfItsFile) {
    const std::string file = RawPack().entry("a.ini", "1").entry("big.bmp", std::string(256 * 1024, 'b')).finish();
    dir.write("prog.exe", file.data(), (int)file.size());
    rlimit before{}, full{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
    full = before;
    full.rlim_cur = 64 * 1024;
    std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &full), 0);
    const bool loaded = pack.load(dir.file("prog.exe"));
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, SIG_DFL);

    EXPECT_FALSE(loaded);
    EXPECT_NE(onlyBox().find("Fehler beim Schreiben des Tempfiles: "), std::string::npos) << onlyBox();
    std::set<std::string> unpacked;
    for (const auto& e : fs::directory_iterator(pack.getTempDir().getBuffer()))
        unpacked.insert(e.path().filename().string());
    EXPECT_EQ(unpacked, std::set<std::string>{"a.ini"});
    pack.removeFiles();
    EXPECT_TRUE(others().empty());
}

// A run that was killed never removed its directory; the next load does, and leaves the
// directories of runs that still live and everything that is not an unpack directory.
TEST_F(SResourcePackTest, DirectoriesOfRunsThatEndedGoAtTheNextLoad) {
    const std::string file = RawPack().entry("a.ini", "1").finish();
    dir.write("prog.exe", file.data(), (int)file.size());
    const SString program = dir.file("prog.exe");
    SResourcePack living;
    living.setTempPath(dir.path() + SString(SSystem::pathSeparator()));
    ASSERT_TRUE(living.load(program));
    SSystem::createDirectory(dir.file("_tmpVekRes0_1700000000")); // not one of ours to judge
    SSystem::createDirectory(dir.file("unrelated"));

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        SResourcePack killed;
        killed.setTempPath(dir.path() + SString(SSystem::pathSeparator()));
        killed.load(program);
        raise(SIGKILL);
        _exit(1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    const std::set<std::string> before = others();
    ASSERT_EQ(before.size(), 4u) << "the killed run left no directory";

    ASSERT_TRUE(pack.load(program));
    const std::string livingName = fs::path(living.getTempDir().getBuffer()).filename().string();
    const std::string ownName = fs::path(pack.getTempDir().getBuffer()).filename().string();
    EXPECT_EQ(others(), (std::set<std::string>{livingName, ownName, "_tmpVekRes0_1700000000", "unrelated"}));
    EXPECT_EQ(contentOf(living.getEntries().get("a.ini")), "1");
    living.removeFiles();
}
#endif

// Names near the refused ones are files Windows can create; a name equal to another once
// lower-cased is refused.
TEST(SResourcePackWriter, TakesNamesWindowsCanCreateOnceEach) {
    SResourcePackWriter writer;
    for (const char* name : {"Setting.BMP", "console.ini", "com10.ini", "nul_x.txt", " lead.ini", "a.b.c"})
        EXPECT_TRUE(writer.addEntry(name, "1", 1)) << name << ": " << writer.getErrorText().getBuffer();
    EXPECT_FALSE(writer.addEntry("setting.bmp", "2", 1));
    EXPECT_EQ(writer.getCount(), 6);
}

TEST(SResourcePackWriter, SetsTheFlagOnceAndRefusesToPackTwice) {
    char unpacked[FLAG_MARKER_LENGTH + 1], done[FLAG_MARKER_LENGTH + 1];
    flagMarker('0', unpacked);
    flagMarker('1', done);
    const std::string program = std::string(150, 'p') + unpacked + std::string(50, 'q');
    SResourcePackWriter writer;
    writer.addEntry("a.ini", "1", 1);
    SString once, twice;
    ASSERT_TRUE(writer.packProgram(SString(program.c_str()), once)) << writer.getErrorText().getBuffer();
    const std::string packed(once.getBuffer(), (size_t)once.length());
    EXPECT_EQ(packed.substr(0, 150 + FLAG_MARKER_LENGTH), std::string(150, 'p') + done);
    EXPECT_EQ(packed.substr(program.size(), 6), "vekres");
    EXPECT_EQ(getU32((const unsigned char*)packed.data() + packed.size() - 4), program.size());

    SString withoutTrailer(once.getBuffer(), (int)program.size()); // flag "1", no pack
    EXPECT_FALSE(writer.packProgram(withoutTrailer, twice));
    EXPECT_FALSE(writer.packProgram(SString((program + unpacked).c_str()), twice)); // two flags
    EXPECT_FALSE(writer.packProgram(SString(unpacked), twice)); // too small to hold a pack
}

} // namespace
