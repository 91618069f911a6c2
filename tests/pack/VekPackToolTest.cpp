// Runs the real vek-pack on a real program (pack_probe) and the packed program itself.
#include "VEK_SYSTEM/SSystem.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

struct Outcome {
    int exitCode;
    std::string output;
};

Outcome runCommand(const TempDir& dir, const std::string& command) {
    std::string log = dir.file("run.log").getBuffer();
    int status = std::system((command + " >" + log + " 2>&1").c_str());
    SString output;
    SSystem::readFile(log.c_str(), output);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output.getBuffer()};
}

std::string contentOf(const SString& path) {
    SString content;
    SSystem::readFile(path, content);
    return std::string(content.getBuffer(), (size_t)content.length());
}

class VekPackTool : public ::testing::Test {
protected:
    void SetUp() override {
        fs::copy_file(PACK_PROBE_PATH, program.getBuffer());
        original = contentOf(program);
    }
    Outcome pack(const SString& target, const char* resources = PACK_RESOURCES, const char* out = nullptr) {
        std::string command = std::string(VEK_PACK_TOOL_PATH) + " " + target.getBuffer() + " " + resources;
        if (out) command += std::string(" -o ") + out;
        return runCommand(dir, command);
    }
    Outcome probe(const SString& path) {
        return runCommand(dir, std::string(path.getBuffer()) + " " + path.getBuffer());
    }

    TempDir dir;
    SString program = dir.file("probe");
    std::string original;
};

TEST_F(VekPackTool, PackedCopyReadsItsOwnResources) {
    EXPECT_EQ(probe(program).exitCode, 3); // the unpacked program knows it has no pack

    SString packed = dir.file("packed");
    Outcome result = pack(program, PACK_RESOURCES, packed);
    ASSERT_EQ(result.exitCode, 0) << result.output;
    EXPECT_EQ(contentOf(program), original);
    std::string bytes = contentOf(packed);
    ASSERT_GT(bytes.size(), original.size());
    int changed = 0; // only the flag digit
    for (size_t i = 0; i < original.size(); ++i) changed += bytes[i] != original[i];
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(bytes.find(std::string("vekresflag") + "0"), std::string::npos);

    Outcome read = probe(packed);
    EXPECT_EQ(read.exitCode, 0) << read.output;
    EXPECT_EQ(read.output, "entries=2\nprobe.ini=[[probe]\r\nok=1\r\n]\nsetting.txt=[setting]\nremoved=1\n");
}

// What the tool refuses leaves every file as it was: a resource name Windows cannot create
// (the reader and the writer check every kind), a program without the flag, a missing
// folder, a program packed already (in place, still running); no arguments give the usage.
TEST_F(VekPackTool, RefusalsSayWhyAndWriteNothing) {
    SString packed = dir.file("packed");
    TempDir resources;
    resources.write("ok.ini", "1");
    resources.write("nul .txt", "1");
    Outcome badName = pack(program, resources.path(), packed);
    EXPECT_EQ(badName.exitCode, 1);
    EXPECT_NE(badName.output.find("Ressourcenname"), std::string::npos) << badName.output;
    EXPECT_NE(badName.output.find("nul .txt"), std::string::npos) << badName.output;
    EXPECT_FALSE(SSystem::pathExists(packed));
    EXPECT_EQ(contentOf(program), original);

    dir.write("plain", std::string(300, 'p').c_str());
    Outcome result = pack(dir.file("plain"));
    EXPECT_NE(result.exitCode, 0);
    EXPECT_NE(result.output.find("Kennung"), std::string::npos) << result.output;
    EXPECT_EQ(pack(program, "/nonexistent-dir").exitCode, 1);
    EXPECT_EQ(runCommand(dir, VEK_PACK_TOOL_PATH).exitCode, 2); // usage

    ASSERT_EQ(pack(program).exitCode, 0);
    EXPECT_EQ(probe(program).exitCode, 0);
    std::string once = contentOf(program);
    Outcome again = pack(program);
    EXPECT_NE(again.exitCode, 0);
    EXPECT_NE(again.output.find("bereits"), std::string::npos) << again.output;
    EXPECT_EQ(contentOf(program), once);
}

} // namespace
