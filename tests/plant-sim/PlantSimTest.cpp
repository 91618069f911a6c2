// The real plant-sim program, driven through its pseudo-terminal the way a serial port
// would: read frames, send mix commands and programmer commands at chosen line rates, play
// back a recording of the program.
#include "tests/support/ChildProcess.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

const std::vector<uint8_t> preamble = {0xD4, 0xC7, 0xA3, 0xBE, 0xF1, 0xAC, 0xC9};

// A file of the test's own, removed with it.
struct TempFile {
    explicit TempFile(const std::string& content = "")
        : path(fs::temp_directory_path() /
               ("plant-sim-" + std::to_string(getpid()) + "-" + std::to_string(counter++))) {
        std::ofstream(path, std::ios::binary) << content;
    }
    ~TempFile() { fs::remove(path); }
    std::string text() const {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    fs::path path;
    static inline int counter = 0;
};

// plant-sim as a child process; its first stdout line is the terminal's path.
struct SimProcess : ChildProcess {
    explicit SimProcess(std::vector<std::string> args)
        : ChildProcess(PLANT_SIM_PATH, std::move(args)), path(firstLine()) {}
    std::string path;
};

// The program's side of the line: the slave, raw, at a settable rate.
class Terminal {
public:
    explicit Terminal(const std::string& path) : fd(open(path.c_str(), O_RDWR | O_NOCTTY)) {}
    ~Terminal() {
        if (fd >= 0) ::close(fd);
    }
    bool isOpen() const { return fd >= 0; }

    void setRate(speed_t code) {
        termios mode;
        ASSERT_EQ(tcgetattr(fd, &mode), 0);
        cfmakeraw(&mode);
        cfsetspeed(&mode, code);
        ASSERT_EQ(tcsetattr(fd, TCSANOW, &mode), 0);
    }
    void write(const std::vector<uint8_t>& bytes) { ASSERT_EQ(::write(fd, bytes.data(), bytes.size()), (ssize_t)bytes.size()); }

    // Reads until `count` bytes came, `stop` came, or `ms` passed without a byte.
    std::vector<uint8_t> read(size_t count, int ms, int stop = -1) {
        std::vector<uint8_t> got;
        uint8_t buffer[4096];
        while (got.size() < count) {
            pollfd p = {fd, POLLIN, 0};
            if (poll(&p, 1, ms) <= 0 || !(p.revents & POLLIN)) break;
            ssize_t n = ::read(fd, buffer, std::min(sizeof buffer, count - got.size()));
            if (n <= 0) break;
            got.insert(got.end(), buffer, buffer + n);
            if (stop >= 0 && buffer[n - 1] == stop) break;
        }
        return got;
    }

    int fd;
};

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
    TempFile tally;
    SimProcess sim({"--flood", "--counted", "--quiet", "--frames", "50", "--garbage", "20", "--cut-every", "7",
                    "--cut-length", "3", "--tally", tally.path.string()});
    Terminal line(sim.path);
    ASSERT_TRUE(line.isOpen());
    const size_t total = 43 * 9 + 7 * 3 + 50 * 20;
    std::vector<uint8_t> got = line.read(total + 100, 500);
    ASSERT_EQ(got.size(), total);
    size_t at = 0;
    for (int frame = 1; frame <= 50; ++frame) {
        EXPECT_EQ(got[at], 0x55) << "frame " << frame;
        EXPECT_EQ(got[at + 2], frame - 1) << "a frame after a cut one keeps its number";
        at += frame % 7 == 0 ? 3 : 9;
        for (int i = 0; i < 20; ++i, ++at) ASSERT_NE(got[at], 0x55) << "noise after frame " << frame;
    }
    for (int i = 0; i < 200 && tally.text().empty(); ++i) usleep(10000);
    EXPECT_EQ(tally.text(), "frames 50 cut 7 noise 1000 bytes " + std::to_string(total) + "\n");
    EXPECT_EQ(sim.stop(), 0);
}

TEST(PlantSim, ProgrammerAnswersOnlyAtItsRateAndEveryByteIsRecorded) {
    TempFile record;
    SimProcess sim({"--frames", "2", "--programmer-rate", "115200", "--quiet", "--record", record.path.string()});
    Terminal line(sim.path);
    ASSERT_TRUE(line.isOpen());
    ASSERT_EQ(line.read(18, 2000).size(), 18u) << "two paced frames";

    std::vector<uint8_t> plus = preamble, d = preamble;
    plus.push_back('+');
    d.push_back('d');

    line.setRate(B19200);
    line.write(plus);
    EXPECT_TRUE(line.read(100, 400).empty()) << "answered at the wrong rate";

    line.setRate(B115200);
    line.write(d);
    std::vector<uint8_t> answer = line.read(100, 1000, '\n');
    ASSERT_FALSE(answer.empty());
    EXPECT_EQ(answer.back(), '\n');
    EXPECT_NE(std::find(answer.begin(), answer.end(), 0xB1), answer.end());

    EXPECT_EQ(sim.stop(), 0);
    std::vector<uint8_t> both = plus;
    both.insert(both.end(), d.begin(), d.end());
    EXPECT_EQ(record.text(), std::string(both.begin(), both.end()));
}

long long wallClockNs() {
    timespec t;
    clock_gettime(CLOCK_REALTIME, &t);
    return (long long)t.tv_sec * 1000000000LL + t.tv_nsec;
}

TEST(PlantSim, StampsEachFrameAfterItsLastByteAndEachReadOnTheWallClock) {
    TempFile stamps;
    long long started = wallClockNs();
    SimProcess sim({"--frames", "3", "--quiet", "--stamps", stamps.path.string()});
    Terminal line(sim.path);
    ASSERT_TRUE(line.isOpen());
    for (int frame = 0; frame < 3; ++frame) ASSERT_EQ(line.read(9, 2000).size(), 9u);
    long long beforeWrite = wallClockNs();
    line.write({1, 2});
    for (int i = 0; i < 200 && stamps.text().find("received") == std::string::npos; ++i) usleep(10000);
    EXPECT_EQ(sim.stop(), 0);

    std::istringstream in(stamps.text());
    std::string what;
    unsigned long long number = 0;
    long long ns = 0, previous = started;
    for (int frame = 0; frame < 3; ++frame) {
        ASSERT_TRUE(in >> what >> number >> ns);
        EXPECT_EQ(what, "sent");
        EXPECT_EQ(number, (unsigned long long)frame);
        EXPECT_GT(ns, previous);
        previous = ns;
    }
    ASSERT_TRUE(in >> what >> number >> ns);
    EXPECT_EQ(what, "received");
    EXPECT_EQ(number, 2u);
    EXPECT_GE(ns, beforeWrite);
    EXPECT_FALSE(in >> what) << "nothing more";
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

const std::string header = "Zeit seit Start (ms);Uhrzeit;Quelle;Level;Status;Statustext;Pumpe 1;Pumpe 2;"
                           "Verh\344ltnis 1;Verh\344ltnis 2\r\n";

std::string row(int ms, const char* road, int level, int status, int pump1, int pump2, int ratio1, int ratio2) {
    char text[160];
    std::snprintf(text, sizeof text, "%d;2024-05-07T09:03:04.056;%s;%d;%d;%s;%d;%d;%d;%d\r\n", ms, road, level,
                  status, status ? "F\334LLEN" : "OK", pump1, pump2, ratio1, ratio2);
    return text;
}

// Everything a run of plant-sim says, and how it ended, for a file it must refuse at once.
std::pair<int, std::string> runToEnd(const std::string& arguments) {
    std::string output;
    FILE* pipe = popen((std::string(PLANT_SIM_PATH) + " " + arguments + " 2>&1 </dev/null").c_str(), "r");
    if (!pipe) return {-1, ""};
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
    int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

// Rows of both roads and every value a byte can carry come back as their frames, in order.
TEST(PlantSimReplay, PlaysEachRowAsItsFrameInOrder) {
    std::string recording = header;
    std::vector<uint8_t> expected;
    for (int i = 0; i < 60; ++i) {
        const int level = i * 1110, status = i % 2, p1 = (i * 37) % 256, p2 = 255 - i, r1 = 1 + i % 2, r2 = 2 - i % 2;
        recording += row(i * 10, i % 3 ? "seriell" : "Experiment", level, status, p1, p2, r1, r2);
        for (int b : {0x55, 0xAA, level & 0xFF, level >> 8, status, p1, p2, r1, r2}) expected.push_back((uint8_t)b);
    }
    TempFile file(recording);
    SimProcess sim({"--replay", file.path.string(), "--speed", "10", "--flood", "--quiet"});
    EXPECT_EQ(Terminal(sim.path).read(expected.size() + 1, 2000), expected);
    EXPECT_EQ(sim.stop(), 0) << "the line is to stay up after the last row";
}

// The sent log holds every frame as it went to the line, numbered from 0.
TEST(PlantSimReplay, SentLogHoldsEveryFrameTheLineCarried) {
    TempFile log;
    SimProcess sim({"--counted", "--flood", "--frames", "300", "--quiet", "--sent-log", log.path.string()});
    std::vector<uint8_t> line = Terminal(sim.path).read(9 * 300, 2000);
    ASSERT_EQ(line.size(), 9u * 300);
    EXPECT_EQ(sim.stop(), 0);
    std::ifstream in(log.path);
    std::string text;
    for (size_t n = 0; n < 300; ++n) {
        ASSERT_TRUE(std::getline(in, text)) << "frame " << n << " missing in the log";
        std::ostringstream expected;
        expected << n;
        char hex[4];
        for (size_t i = 0; i < 9; ++i) {
            std::snprintf(hex, sizeof hex, " %02X", line[n * 9 + i]);
            expected << hex;
        }
        ASSERT_EQ(text, expected.str());
    }
    EXPECT_FALSE(std::getline(in, text)) << "more frames logged than sent";
}

// A file that is not a whole recording is refused before the line exists, with its name, the
// line and what is wrong there.
TEST(PlantSimReplay, RefusesAFileThatIsNoWholeRecordingWithItsLine) {
    const std::string good = row(0, "seriell", 2000, 0, 0, 0, 1, 1);
    struct Case {
        std::string content;
        std::string said; // after "FILE:"
    } cases[] = {
        {"", "1: the file is empty"},
        {header, "1: no rows after the header"},
        {header + good + "10;2024-05-07T09:03:04.066;seriell;2001;0;OK;0;0;1", "3: the line has no end"},
        {header + good + "10;2024-05-07T09:03:04.066;seriell;2001;0;OK;0\r\n", "3: 7 columns instead of 10"},
        {"Zeit;Wert\r\n" + good, "1: 2 columns instead of 10"},
        {"a;b;c;d;e;f;g;h;i;j\r\n" + good, "1: not the header of a recording"},
        {header + good + row(10, "seriell", 70000, 0, 0, 0, 1, 1), "3: column 4 (Level): \"70000\" is not a number"},
        {header + good + row(10, "seriell", 1, 0, 0, 256, 1, 1), "3: column 8 (Pumpe 2): \"256\" is not a number"},
        {header + "99999999999999999999999;x;seriell;1;0;OK;0;0;1;1\r\n", "2: column 1 (Zeit seit Start (ms))"},
        {header + row(50, "seriell", 1, 0, 0, 0, 1, 1) + row(40, "seriell", 1, 0, 0, 0, 1, 1),
         "3: the time goes back (50 ms, then 40 ms)"},
        {header + row(0, "USB", 1, 0, 0, 0, 1, 1), "2: column 3 (Quelle): \"USB\" is neither"},
        {header + std::string(5000, '1') + "\r\n", "2: the line is too long"},
    };
    for (const Case& c : cases) {
        TempFile file(c.content);
        auto [code, said] = runToEnd("--replay " + file.path.string());
        EXPECT_EQ(code, 2) << said;
        EXPECT_NE(said.find(file.path.string() + ":" + c.said), std::string::npos) << said;
        EXPECT_EQ(said.find("/dev/pts"), std::string::npos) << "a line was opened for a bad file";
    }
    TempFile file(header + good);
    EXPECT_EQ(runToEnd("--replay " + file.path.string() + " --counted").first, 2) << "a model option with a replay";
}

} // namespace
