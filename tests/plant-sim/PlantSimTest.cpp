// The real plant-sim program, driven through its pseudo-terminal the way a serial port
// would: counted frames, mix commands, noise and cut frames, and its port link. Its
// programmer answers are checked through the serial suites' real port.
#include "tests/plant-sim/PlantSimLine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Frame {
    std::vector<uint8_t> bytes;
    int level() const { return bytes[2] | bytes[3] << 8; }
};

std::vector<Frame> framesOf(const std::vector<uint8_t>& bytes) {
    std::vector<Frame> frames;
    for (size_t i = 0; i + 9 <= bytes.size(); i += 9) frames.push_back({{bytes.begin() + i, bytes.begin() + i + 9}});
    return frames;
}

TEST(PlantSim, FloodsCountedFramesInOrderAndFollowsMixCommands) {
    SimProcess sim({"--flood", "--counted", "--quiet"});
    Terminal line(sim.path);
    ASSERT_TRUE(line.isOpen()) << sim.path;

    std::vector<Frame> frames = framesOf(line.read(9 * 3000, 2000));
    ASSERT_EQ(frames.size(), 3000u);
    for (size_t i = 0; i < frames.size(); ++i) {
        ASSERT_EQ(frames[i].bytes[0], 0x55) << "frame " << i;
        ASSERT_EQ(frames[i].bytes[1], 0xAA) << "frame " << i;
        ASSERT_EQ(frames[i].level(), (int)i) << "a frame lost or out of order";
        ASSERT_EQ(frames[i].bytes[7], 1);
        ASSERT_EQ(frames[i].bytes[8], 1);
    }

    // The frames already in the line still carry 1:1; later ones 2:1, and none is lost.
    line.write({2, 1});
    int next = (int)frames.size();
    bool changed = false;
    for (int block = 0; block < 50 && !changed; ++block) {
        for (const Frame& f : framesOf(line.read(9 * 1000, 2000))) {
            ASSERT_EQ(f.level(), next++ & 0xFFFF);
            if (f.bytes[7] == 2 && f.bytes[8] == 1) changed = true;
            if (changed) ASSERT_EQ(f.bytes[5], 100 * (f.bytes[4] != 0)) << "pump 1 runs at full speed";
        }
    }
    EXPECT_TRUE(changed) << "the ratio bytes never followed the mix command";
    EXPECT_EQ(sim.stop(), 0);
}

// What a receiver's health counts are checked against: noise that never holds the first sync
// byte (so it can only be skipped), cut frames, and the tally of what went out.
TEST(PlantSim, NoiseNeverHoldsTheSyncByteAndTheTallySaysWhatWentOut) {
    fs::path tally = fs::temp_directory_path() / ("plant-sim-tally-" + std::to_string(getpid()));
    SimProcess sim({"--flood", "--counted", "--quiet", "--frames", "50", "--garbage", "20", "--cut-every", "7",
                    "--cut-length", "3", "--tally", tally.string()});
    Terminal line(sim.path);
    ASSERT_TRUE(line.isOpen());
    const size_t total = 43 * 9 + 7 * 3 + 50 * 20;
    std::vector<uint8_t> got = line.read(total + 100, 500);
    ASSERT_EQ(got.size(), total);
    size_t at = 0;
    for (int frame = 1; frame <= 50; ++frame) {
        EXPECT_EQ(got[at], 0x55) << "frame " << frame;
        at += frame % 7 == 0 ? 3 : 9;
        for (int i = 0; i < 20; ++i, ++at) ASSERT_NE(got[at], 0x55) << "noise after frame " << frame;
    }
    for (int i = 0; i < 200 && wholeFile(tally).empty(); ++i) usleep(10000);
    EXPECT_EQ(wholeFile(tally), "frames 50 cut 7 noise 1000 bytes " + std::to_string(total) + "\n");
    EXPECT_EQ(sim.stop(), 0);
    fs::remove(tally);
}

TEST(PlantSim, LinksIntoTheWinePrefixAndRemovesTheLinkWhenItEnds) {
    fs::path prefix = fs::temp_directory_path() / ("plant-sim-prefix-" + std::to_string(getpid()));
    fs::create_directories(prefix / "dosdevices");
    fs::path link = prefix / "dosdevices" / "com7";
    {
        SimProcess sim({"--prefix", prefix.string(), "--port", "COM7", "--quiet"});
        ASSERT_TRUE(fs::is_symlink(link));
        EXPECT_EQ(fs::read_symlink(link).string(), sim.path);
        EXPECT_EQ(sim.stop(), 0);
        EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
    }
    {
        // Closing the line: the program's side sees the hang-up, the link goes, exit 0.
        SimProcess sim({"--prefix", prefix.string(), "--port", "com7", "--close-after", "0.3", "--quiet"});
        Terminal line(sim.path);
        ASSERT_TRUE(line.isOpen());
        EXPECT_EQ(sim.wait(), 0);
        EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
        line.read(100000, 200);
        uint8_t byte;
        EXPECT_LE(::read(line.fd, &byte, 1), 0) << "the line is still up";
    }
    {
        // A virtual-port driver's name.
        SimProcess sim({"--prefix", prefix.string(), "--port", "CNCA0", "--quiet"});
        EXPECT_EQ(fs::read_symlink(prefix / "dosdevices" / "cnca0").string(), sim.path);
        EXPECT_EQ(sim.stop(), 0);
    }
    {
        // Dropping the line: the program's side sees the hang-up and the port goes away, then
        // a new line comes back under the same name and streams from a frame's start.
        SimProcess sim({"--prefix", prefix.string(), "--port", "com7", "--drop-after", "0.3", "--drop-for", "1",
                        "--rate", "115200", "--quiet"});
        Terminal first(sim.path);
        ASSERT_TRUE(first.isOpen());
        EXPECT_FALSE(first.read(9, 1000).empty());
        for (int i = 0; i < 300 && fs::exists(fs::symlink_status(link)); ++i) usleep(10000);
        EXPECT_FALSE(fs::exists(fs::symlink_status(link))) << "the port stayed";
        first.read(100000, 200);
        uint8_t byte;
        EXPECT_LE(::read(first.fd, &byte, 1), 0) << "the old line is still up";
        for (int i = 0; i < 500 && !fs::exists(fs::symlink_status(link)); ++i) usleep(10000);
        ASSERT_TRUE(fs::is_symlink(link)) << "the port did not come back";
        Terminal back(fs::read_symlink(link).string());
        ASSERT_TRUE(back.isOpen());
        std::vector<uint8_t> frame = back.read(9, 2000);
        ASSERT_EQ(frame.size(), 9u);
        EXPECT_EQ(frame[0], 0x55);
        EXPECT_EQ(frame[1], 0xAA);
        EXPECT_EQ(sim.stop(), 0);
        EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
    }
    for (const char* bad : {"../com7", "com0", "com257", "com 7", "lpt1", "com7/x", "cnca", "cnca256", "cncc0"}) {
        SimProcess sim({"--prefix", prefix.string(), "--port", bad, "--quiet"});
        EXPECT_TRUE(sim.path.empty()) << bad;
        EXPECT_EQ(sim.wait(), 2) << bad;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(prefix / "dosdevices"), fs::directory_iterator()), 0);
    fs::remove_all(prefix);
}

} // namespace
