#include "VEK_UTIL/SResources.h"

#include "VEK_SYSTEM/SSystem.h"
#include "VEK_UTIL/SLanguage.h"
#include "VEK_UTIL/SResourcePackWriter.h"
#include "tests/support/BoxRecorder.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <regex>
#include <string>

namespace {

std::string bytes(const SString& s) { return std::string(s.getBuffer(), (size_t)s.length()); }

SString joined(const SString& dir, const char* name) {
    SString p(dir);
    p.append(SSystem::pathSeparator());
    p.append(name);
    return p;
}

// Reads the pack of a program file given by the test, whatever the program's flag says.
class PackedResources : public SResources {
public:
    SString packFile;
    SString unpackBelow;

protected:
    bool loadPack() override {
        getPack().setTempPath(unpackBelow);
        return loadPackFrom(packFile);
    }
};

class SResourcesTest : public ::testing::Test {
protected:
    void SetUp() override {
        res.setAppDir(dir.path());
        res.setProgramFile(dir.file("prog.exe"));
    }
    SString resourceDir() const { return dir.file("VEK-Resourcen"); }
    void writeResource(const char* name, const char* text) const {
        SSystem::createDirectory(resourceDir());
        SSystem::writeFileAtomic(joined(resourceDir(), name), text, (int)std::string(text).size());
    }

    TempDir dir;
    BoxRecorder boxes;
    SResources res;
};

TEST_F(SResourcesTest, FirstRunCreatesTheResourceDirectory) {
    res.init();
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_TRUE(res.isDevelopmentMode());
    EXPECT_EQ(bytes(dir.read("VEK-Resourcen/controlpos.ini")), "\r\n");
    EXPECT_EQ(bytes(dir.read("VEK-Resourcen/resource.ini")), "[StandardResourcePath]\r\n");
    EXPECT_EQ(bytes(res.getSearchPaths()[0]), bytes(resourceDir()));
    EXPECT_EQ(bytes(res.getExtraPaths()[0]), bytes(dir.file("Resources")));
    EXPECT_EQ(bytes(res.controlPositions.getPath()), bytes(joined(resourceDir(), "controlpos.ini")));
}

TEST_F(SResourcesTest, PackedEntriesAnswerByLowerCaseName) {
    SResourcePackWriter writer;
    auto add = [&](const char* name, const char* data) {
        return writer.addEntry(name, data, (int)std::strlen(data));
    };
    ASSERT_TRUE(add("Setting.bmp", "BM-bytes"));
    ASSERT_TRUE(add("controlpos.ini", "[Control-Styles]\r\nx=1\r\n"));
    ASSERT_TRUE(add("resource.ini", "[StandardResourcePath]\r\n"));
    SString program;
    program.setRaw(std::string(200, 'p').c_str());
    program.append(writer.buildPack(200));
    dir.write("packed.exe", program.getBuffer(), program.length());
    SString tempDir;
    {
        PackedResources packed;
        packed.setAppDir(dir.path());
        packed.packFile = dir.file("packed.exe");
        packed.unpackBelow = joined(dir.path(), "");
        packed.init();
        EXPECT_EQ(boxes.count(), 0);
        EXPECT_FALSE(packed.isDevelopmentMode());
        tempDir = packed.getTempDir();
        EXPECT_EQ(bytes(packed.getSearchPaths()[0]), bytes(tempDir));
        SString bitmap = packed.getFile("Setting.BMP");
        EXPECT_EQ(bytes(bitmap), bytes(joined(tempDir, "setting.bmp")));
        SString content;
        EXPECT_TRUE(SSystem::readFile(bitmap, content));
        EXPECT_EQ(bytes(content), "BM-bytes");
        EXPECT_EQ(bytes(packed.getStyle("x")), "1");
        EXPECT_FALSE(SSystem::pathExists(resourceDir()));
        EXPECT_TRUE(packed.getFile("missing.bmp").isEmpty());
    }
    EXPECT_FALSE(SSystem::pathExists(tempDir)); // unpacked files go with the manager
}

TEST_F(SResourcesTest, UsageRecordsOnlyForSearchPathFinds) {
    writeResource("Bild.bmp", "b");
    dir.write("app.bmp", "a");
    {
        SResources local;
        local.setAppDir(dir.path());
        local.init();
        EXPECT_EQ(bytes(local.getFile("Bild.bmp")), bytes(joined(resourceDir(), "Bild.bmp")));
        EXPECT_EQ(bytes(local.getFile("app.bmp")), bytes(dir.file("app.bmp")));
        EXPECT_FALSE(local.getFile("resource.ini").isEmpty());
        EXPECT_FALSE(local.getFile("controlpos.ini").isEmpty());
        EXPECT_TRUE(local.getFile("none.bmp").isEmpty());
    }
    SFileIni written;
    ASSERT_TRUE(written.load(joined(resourceDir(), "resource.ini"), false, true));
    SStringList keys, values;
    EXPECT_EQ(written.getSection("usedResources", keys, &values), 1);
    EXPECT_EQ(bytes(keys[0]), "bild.bmp");
    EXPECT_TRUE(std::regex_match(bytes(values[0]), std::regex(R"(\d\d\.\d\d\.\d{4} \d\d:\d\d:\d\d)")))
        << bytes(values[0]);
}

TEST_F(SResourcesTest, StyleDefinitionsInTheirOrder) {
    res.init();
    EXPECT_EQ(bytes(res.getStyle("SButton-normal")), "#f0f0ff,#a0a0ff,#a0a0ff,#5050ff;");
    EXPECT_EQ(bytes(res.getStyle("SButton-selected")), "#d0d0ff;,#a0a0ff,#a0a0ff,#5050ff;");
    EXPECT_TRUE(res.getStyle("sbutton-normal").isEmpty());

    SResources styled;
    styled.setAppDir(dir.path());
    writeResource("controlpos.ini",
                  "[Standard-Styles]\r\nvek_color_win_back=#ffffff\r\nmine={{vek_color_win_back}}!\r\n"
                  "[Control-Styles]\r\nSButton-form=1,{{mine}}\r\n");
    writeResource("b.sty", "[style_x]\r\nshared=from b\r\n[css_box]\r\n color: {{vek_color_input_text}};\r\n");
    writeResource("a.sty", "[style_y]\r\nshared=from a\r\nonlyA={{mine}}\r\n[other]\r\nignored=1\r\n");
    styled.init();
    EXPECT_EQ(bytes(styled.getStyle("SButton-normal")), "#ffffff,#a0a0ff,#a0a0ff,#5050ff;");
    EXPECT_EQ(bytes(styled.getStyle("SButton-form")), "1,#ffffff!");
    EXPECT_EQ(bytes(styled.getStyle("shared")), "from b");
    EXPECT_EQ(bytes(styled.getStyle("onlyA")), "#ffffff!");
    EXPECT_EQ(bytes(styled.getStyle("css_box")), "color: #000000;");
    EXPECT_TRUE(styled.getStyle("ignored").isEmpty());
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(SResourcesTest, HostileStyleFileStaysBounded) {
    std::string sheet = "[style_bomb]\r\nv0=" + std::string(1000, 'x') + "\r\n";
    for (int i = 1; i < 40; ++i) {
        std::string previous = "{{v" + std::to_string(i - 1) + "}}";
        sheet += "v" + std::to_string(i) + "=" + previous + previous + "\r\n";
    }
    sheet += "[css_cut"; // a truncated header at the end
    writeResource("bomb.sty", sheet.c_str());
    res.init();
    EXPECT_EQ(res.getStyle("v1").length(), 2000);
    for (int i = 0; i < res.getStyles().count(); ++i)
        EXPECT_LE(res.getStyles().getValueAt(i).length(), SResources::maxStyleLength);
}

TEST_F(SResourcesTest, UseBeforeInitIsReportedAndStillAnswered) {
    dir.write("early.bmp", "e");
    EXPECT_EQ(bytes(res.getFile("early.bmp")), bytes(dir.file("early.bmp")));
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(bytes(boxes.last().text),
              "Die Funktion SResources::getFile(\"early.bmp\") kann erst nach der Initialisierung des "
              "globalResources-Objektes verwendet werden.\r\nSie sollten sie z.B. nicht im Konstrukor des "
              "Main-Fensters sondern besser in onPreCreateWindow() verwenden.");
    EXPECT_EQ(bytes(boxes.last().caption), "Fehler !");
    EXPECT_EQ(boxes.last().type, 16u);

    res.getStyle("SButton-normal");
    EXPECT_EQ(boxes.last().text.find("Die Funktion SResources::getStyle(\"SButton-normal\") kann erst nach"), 0);
    SStringList found;
    EXPECT_EQ(res.findFiles("*.bmp", found), 1);
    EXPECT_EQ(boxes.last().text.find("Die Funktion SResources::findFiles(..) kann erst nach"), 0);
    EXPECT_EQ(boxes.count(), 3);
}

TEST_F(SResourcesTest, UnusableControlPositionsReportedOnce) {
    SSystem::createDirectory(joined(resourceDir(), "controlpos.ini")); // a directory, not a file
    res.init();
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(bytes(boxes.last().text), "Fehler: controlpos.ini konnte nicht verwendet werden.\r\n");
    EXPECT_EQ(bytes(res.getStyle("SButton-form")), "0,0"); // the program goes on without it
}

TEST_F(SResourcesTest, LanguageFilesInCollectionOrder) {
    res.init();
    // The first file that defines an id wins, so the texts tell the loading order.
    dir.write("app_en.lng", "one=app\r\n");
    writeResource("res_en.lng", "one=res\r\ntwo=res\r\n");
    SSystem::createDirectory(dir.file("Resources"));
    dir.write("Resources/extra_en.lng", "two=extra\r\nthree=extra\r\n");
    dir.write("ignored_de.lng", "three=de\r\n");
    res.loadLanguage("en");
    EXPECT_EQ(bytes(globalLanguage.getLanguage()), "en");
    EXPECT_EQ(globalLanguage.entryCount(), 5);
    EXPECT_EQ(bytes(SString("~~one~~x")), "app");
    EXPECT_EQ(bytes(SString("~~two~~x")), "res");
    EXPECT_EQ(bytes(SString("~~three~~x")), "extra");
    globalLanguage.clear();
}

} // namespace
