#include "VEK_UTIL/SFileIni.h"

#include "VEK_ARRAYS/SMapStringToNum.h"
#include "VEK_ARRAYS/SMapStringToString.h"
#include "VEK_ARRAYS/SStringList.h"
#include "VEK_SYSTEM/SSystem.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

std::string bytes(const SString& s) { return std::string(s.getBuffer(), (size_t)s.length()); }

std::string trimmed(SString s) { return bytes(s.trim()); }

class SFileIniTest : public ::testing::Test {
protected:
    // Writes `body` as name and loads it.
    SString loadText(SFileIni& ini, const char* name, const char* body) {
        dir.write(name, body);
        SString p = dir.file(name);
        EXPECT_TRUE(ini.load(p));
        return p;
    }
    TempDir dir;
    SFileIni ini;
};

TEST_F(SFileIniTest, LoadCompletesTheLastLineAndReportsFailures) {
    loadText(ini, "a.ini", "[a]\r\nx=1");
    EXPECT_EQ(bytes(ini.getContent()), "[a]\r\nx=1\r\n");
    EXPECT_EQ(bytes(ini.getString("a", "x")), "1");

    SFileIni missing; // also the case of a missing folder
    EXPECT_FALSE(missing.load(dir.file("nope.ini")));
    EXPECT_FALSE(missing.getErrorText().isEmpty());
    EXPECT_TRUE(missing.getPath().isEmpty());

    SFileIni created;
    EXPECT_TRUE(created.load(dir.file("new.ini"), true));
    EXPECT_TRUE(SSystem::fileExists(dir.file("new.ini")));
    EXPECT_EQ(bytes(created.getContent()), "\r\n");
}

// A file saved with bare LF endings (an editor or a checkout on Linux) keeps every
// section and entry, and is written back with CR LF.
TEST_F(SFileIniTest, BareLineFeedsReadAsLineBreaks) {
    loadText(ini, "lf.ini", "[MainWnd]\nSButton,-1,-1,80,20=10,10,80,20\n[MainWnd_ge]\nKoerper,10,10,100,40=1,2,3,4\r\nBoden=5\n");
    EXPECT_EQ(bytes(ini.getString("MainWnd", "SButton,-1,-1,80,20")), "10,10,80,20");
    EXPECT_EQ(bytes(ini.getString("MainWnd_ge", "Koerper,10,10,100,40")), "1,2,3,4");
    ini.setString("MainWnd_ge", "Boden", "6");
    ASSERT_TRUE(ini.save());
    EXPECT_EQ(bytes(dir.read("lf.ini")), "[MainWnd]\r\nSButton,-1,-1,80,20=10,10,80,20\r\n[MainWnd_ge]\r\n"
                                         "Koerper,10,10,100,40=1,2,3,4\r\nBoden=6\r\n");
}

TEST_F(SFileIniTest, KeysMatchByteForByte) {
    loadText(ini, "a.ini", "[Port]\r\nPort = COM1\r\nbaud=9600\r\n;key=1\r\n[Other]\r\nBaud=1\r\n");
    EXPECT_EQ(bytes(ini.getString("Port", "Port", "none")), "none");
    EXPECT_EQ(bytes(ini.getString("port", "baud", "none")), "none");
    EXPECT_EQ(ini.getInt("Port", "baud"), 9600);
    EXPECT_EQ(bytes(ini.getString("Port", ";key")), "1");
    EXPECT_EQ(bytes(ini.getString("Port", "Baud", "none")), "none"); // not from the next section

    SMapStringToString map;
    EXPECT_EQ(ini.getEntries("Port", map), 2);
    EXPECT_EQ(bytes(map.get("Port")), "COM1");
    EXPECT_FALSE(map.contains(";key"));
}

TEST_F(SFileIniTest, SetStringEditsInPlace) {
    SString p = loadText(ini, "a.ini", "; kopf\r\n[a]\r\nx=1\r\ny=2\r\n\r\n[b]\r\nz=3\r\n");
    ini.setString("a", "y", "22");
    ini.setString("a", "x", "");
    ini.setString("b", "w", "0");
    ini.setString("c", "k", "v");
    ini.setString("a", "empty", ""); // a missing key is written even without a value
    EXPECT_TRUE(ini.isModified());
    const char* expected = "; kopf\r\n[a]\r\nempty=\r\ny=22\r\n\r\n[b]\r\nw=0\r\nz=3\r\n\r\n[c]\r\nk=v\r\n";
    EXPECT_EQ(bytes(ini.getContent()), expected);
    EXPECT_TRUE(ini.save());
    EXPECT_FALSE(ini.isModified());
    EXPECT_EQ(bytes(dir.read("a.ini")), expected);
    ini.setInt("b", "w", -5);
    EXPECT_EQ(ini.getInt("b", "w"), -5);
}

TEST_F(SFileIniTest, SectionTexts) {
    loadText(ini, "a.ini", "[a]\r\n[b]  \r\nk=v\r\n;c\r\nline\r\n");
    EXPECT_TRUE(ini.getSectionText("a").isEmpty());
    EXPECT_TRUE(ini.hasSection("a"));
    EXPECT_EQ(bytes(ini.getSectionText("b")), "k=v\r\n;c\r\nline\r\n");

    EXPECT_TRUE(ini.setSectionText("b", "k=v\r\n;c\r\nline"));
    EXPECT_FALSE(ini.isModified());
    EXPECT_TRUE(ini.setSectionText("a", "q=1"));
    EXPECT_TRUE(ini.isModified());
    EXPECT_FALSE(ini.setSectionText("n", "t=2\r\n"));
    EXPECT_EQ(bytes(ini.getContent()), "[a]\r\nq=1\r\n[b]  \r\nk=v\r\n;c\r\nline\r\n\r\n\r\n[n]\r\nt=2\r\n");

    SStringList keys, values;
    EXPECT_EQ(ini.getSection("b", keys, &values, false), 3);
    EXPECT_TRUE(keys[1].isEmpty()); // a line without "=" has no key
    EXPECT_EQ(bytes(values[1]), ";c");
    EXPECT_EQ(bytes(values[2]), "line");
    EXPECT_EQ(ini.getSection("b", keys, nullptr, true), 2);
    EXPECT_EQ(bytes(keys[0]), "k=v");
}

TEST_F(SFileIniTest, FindSectionsWithPatternLists) {
    loadText(ini, "a.ini", "[style_a]\r\nx=1\r\n\r\n[css_b]\r\n y \r\n[other]\r\n[css_c]\r\n[style_a]\r\n");
    SStringList names, texts;
    EXPECT_EQ(ini.findSections(names, "style_*|!css_*", &texts), 2);
    EXPECT_EQ(bytes(names[0]), "style_a");
    EXPECT_EQ(bytes(names[1]), "other");
    EXPECT_EQ(bytes(texts[0]), "x=1");
    EXPECT_EQ(ini.findSections(names, "*_c|other", &texts), 2);
    EXPECT_EQ(bytes(names[0]), "other");
    EXPECT_EQ(bytes(names[1]), "css_c");
    EXPECT_EQ(ini.findSections(names, "*"), 4);
    EXPECT_EQ(ini.findSections(names, "style"), 0); // no "*": the whole name

    ini.loadFromText("\r\n[first]\r\nk=1\r\n[second]\r\n"); // a style file led by a blank line
    EXPECT_EQ(ini.findSections(names, "*", &texts), 2);
    EXPECT_EQ(bytes(names[0]), "first");
    EXPECT_EQ(bytes(texts[0]), "k=1");
}

TEST_F(SFileIniTest, CopyAndMergeBetweenFiles) {
    SFileIni a, b;
    loadText(a, "a.ini", "[s1]\r\nk=a\r\nonlyA=1\r\n[keep]\r\nx=1\r\n");
    loadText(b, "b.ini", "[s1]\r\nk=b\r\nonlyB=2\r\n[s2]\r\nnew=1\r\n[keep]\r\nx=2\r\n");
    a.mergeEntries(b, "s1");
    SMapStringToString map;
    a.getEntries("s1", map);
    EXPECT_EQ(map.count(), 3);
    EXPECT_EQ(bytes(map.get("k")), "b");
    EXPECT_EQ(bytes(map.get("onlyA")), "1");
    a.copySections(b, "s2");
    EXPECT_EQ(bytes(a.getSectionText("s2")), "new=1\r\n");
    EXPECT_EQ(a.getInt("keep", "x"), 1);

    SMapStringToNum numbers;
    EXPECT_EQ(a.getEntries("s1", numbers), 3);
    EXPECT_EQ(numbers.get("onlyB"), 2);
}

TEST_F(SFileIniTest, ImportsInBothModes) {
    dir.write("base.ini",
              "[sec]\r\nk=imp\r\nextra=1\r\n[ent]\r\nk=imp\r\nn=2\r\n[fresh]\r\nf=1\r\n[skip]\r\ns=1\r\n");
    struct Case {
        const char* importLine;
        const char* sec;
        const char* ent;
    } cases[] = {
        {"sections=base.ini,sec|fresh,", "k=imp\r\nextra=1", "k=own"},
        {"sections=base.ini,sec|fresh,ignore", "k=own", "k=own"},
        {"sections=base.ini,sec|fresh,addContent", "k=own\r\nk=imp\r\nextra=1", "k=own"},
        {"entries=base.ini,ent|fresh,", "k=own", "k=imp\r\nn=2"},
        {"entries=base.ini,ent|fresh,ignore", "k=own", "k=own\r\nn=2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.importLine);
        SString body("[import]\r\n");
        body.append(c.importLine);
        body.append("\r\n[sec]\r\nk=own\r\n[ent]\r\nk=own\r\n");
        SFileIni ini;
        loadText(ini, "main.ini", body);
        EXPECT_TRUE(ini.processImports());
        EXPECT_EQ(trimmed(ini.getSectionText("sec")), c.sec);
        EXPECT_EQ(trimmed(ini.getSectionText("ent")), c.ent);
        EXPECT_EQ(bytes(ini.getSectionText("fresh")), "f=1\r\n"); // missing: copied whole
        EXPECT_FALSE(ini.hasSection("skip"));
        ini.close(false);
    }
    SFileIni bad;
    loadText(bad, "bad.ini", "[import]\r\nmerge=base.ini,*,\r\n");
    EXPECT_FALSE(bad.processImports());
}

TEST_F(SFileIniTest, NestedImportsComeFirstAndCyclesEnd) {
    dir.write("c.ini", "[deep]\r\nd=1\r\n");
    dir.write("b.ini", "[import]\r\nsections=c.ini,*,\r\nsections=a.ini,*,\r\n");
    SFileIni a;
    loadText(a, "a.ini", "[import]\r\nsections=b.ini,deep,\r\n");
    EXPECT_TRUE(a.processImports()); // b's import of a is refused, the rest goes on
    EXPECT_EQ(bytes(a.getSectionText("deep")), "d=1\r\n");
    a.close(false);
    EXPECT_EQ(bytes(dir.read("b.ini")), "[import]\r\nsections=c.ini,*,\r\nsections=a.ini,*,\r\n");
}

TEST_F(SFileIniTest, MaskedFilesRoundTrip) {
    const std::string header = "[vekContentMask+123]\r\n";
    const std::string body = "[a]\r\nkey=Wert \344\r\n";
    const char k = (char)((123 - SFileIni::maskBase) & 0xFF);
    std::string stored = header;
    for (char c : body) stored += (char)(c ^ k);
    dir.write("m.ini", stored.data(), (int)stored.size());

    ASSERT_TRUE(ini.load(dir.file("m.ini")));
    EXPECT_EQ(bytes(ini.getContent()), "[vekContentMask-123]\r\n" + body);
    EXPECT_EQ(bytes(ini.getString("a", "key")), "Wert \344");
    ASSERT_TRUE(ini.save());
    EXPECT_EQ(bytes(dir.read("m.ini")), stored);

    ini.setString("a", "n", "1");
    ASSERT_TRUE(ini.save());
    std::string again = bytes(dir.read("m.ini"));
    EXPECT_EQ(again.substr(0, 22), header);
    EXPECT_EQ((char)(again[22] ^ k), '[');
    SFileIni reread;
    ASSERT_TRUE(reread.load(dir.file("m.ini")));
    EXPECT_EQ(reread.getInt("a", "n"), 1);
}

TEST_F(SFileIniTest, FailedSaveKeepsTheChanges) {
    SString folder = dir.file("sub"), p = SString::formatted("%s%ca.ini", dir.file("sub").getBuffer(),
                                                                SSystem::pathSeparator());
    ASSERT_TRUE(SSystem::createDirectory(folder) && SSystem::writeFileAtomic(p, "[a]\r\n", 5));
    ASSERT_TRUE(ini.load(p));
    ASSERT_TRUE(SSystem::deleteFile(p) && SSystem::removeDirectory(folder)); // nowhere to write
    ini.setString("a", "x", "2");
    EXPECT_FALSE(ini.save());
    EXPECT_TRUE(ini.isModified());
    EXPECT_FALSE(ini.getErrorText().isEmpty());
    ASSERT_TRUE(SSystem::createDirectory(folder));
    EXPECT_TRUE(ini.save());
}

// Two program instances saving one file at the same time: every save succeeds and the file
// holds one of the two texts whole.
TEST_F(SFileIniTest, TwoInstancesSaveOneFileAtOnce) {
    SFileIni first, second;
    loadText(first, "a.ini", "[a]\r\n");
    ASSERT_TRUE(second.load(dir.file("a.ini")));
    first.setString("a", "k", std::string(3000, '1').c_str());
    second.setString("a", "k", std::string(5000, '2').c_str());
    std::atomic<int> failures{0};
    auto saveOften = [&failures](SFileIni* ini) {
        for (int i = 0; i < 200; ++i) failures += ini->save() ? 0 : 1;
    };
    std::thread a(saveOften, &first), b(saveOften, &second);
    a.join();
    b.join();
    EXPECT_EQ(failures.load(), 0);
    const std::string stored = bytes(dir.read("a.ini")), one = bytes(first.getContent());
    EXPECT_TRUE(stored == one || stored == bytes(second.getContent()));
}

int replaceAttempts = 0;
bool refuseToReplace(const char*, const char*) {
    ++replaceAttempts;
    return false;
}

// A scanner holding the file makes the replace fail: after a few tries the file is written
// in place, longer or shorter than before.
TEST_F(SFileIniTest, SaveWritesInPlaceWhenTheFileCannotBeReplaced) {
    loadText(ini, "a.ini", "[a]\r\nx=1\r\n");
    SSystem::Replacer previous = SSystem::setFileReplacer(refuseToReplace);
    ini.setString("a", "long", std::string(500, 'l').c_str());
    EXPECT_TRUE(ini.save()) << ini.getErrorText().getBuffer();
    EXPECT_EQ(bytes(dir.read("a.ini")), bytes(ini.getContent()));
    ini.setSectionText("a", "y=2");
    EXPECT_TRUE(ini.save());
    SSystem::setFileReplacer(previous);
    EXPECT_GT(replaceAttempts, 2); // tried again before writing in place
    EXPECT_EQ(bytes(dir.read("a.ini")), "[a]\r\ny=2\r\n");
    SStringList files;
    EXPECT_EQ(SSystem::findFiles(dir.path(), "*", files), 1);
}

#ifdef _WIN32
// The real case: another program holds the file open, sharing reads and writes but not
// deletion, as a virus scanner does.
TEST_F(SFileIniTest, SaveWhileAnotherProgramHoldsTheFile) {
    SString p = loadText(ini, "held.ini", "[a]\r\nx=1\r\n");
    HANDLE scanner = CreateFileA(p, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(scanner, INVALID_HANDLE_VALUE);
    ini.setString("a", "x", "2");
    EXPECT_TRUE(ini.save()) << ini.getErrorText().getBuffer();
    CloseHandle(scanner);
    EXPECT_EQ(bytes(dir.read("held.ini")), "[a]\r\nx=2\r\n");
}
#endif

TEST_F(SFileIniTest, ReadOnlyPendingChangesAndDestruction) {
    SString p;
    {
        SFileIni ro;
        p = loadText(ro, "a.ini", "[a]\r\nx=1\r\n");
        ro.close(false);
        ASSERT_TRUE(ro.load(p, false, true));
        ro.setString("a", "x", "2");
        EXPECT_FALSE(ro.save());
        EXPECT_TRUE(ro.load(dir.file("a.ini"))); // read-only changes do not block the next load
        ro.setString("a", "x", "3");
    }
    EXPECT_EQ(bytes(dir.read("a.ini")), "[a]\r\nx=3\r\n"); // saved by the destructor

    dir.write("b.ini", "[b]\r\n");
    loadText(ini, "a.ini", "[a]\r\nx=1\r\n");
    ini.setString("a", "x", "4");
    EXPECT_TRUE(ini.load(dir.file("b.ini"))); // saves a.ini first
    EXPECT_EQ(bytes(dir.read("a.ini")), "[a]\r\nx=4\r\n");
}

} // namespace
