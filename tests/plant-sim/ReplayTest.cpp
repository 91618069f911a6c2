// plant-sim playing back a recording of the program, and its own record of the frames it
// sent: what a test of the program's recording compares with.
#include "tests/support/ChildProcess.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

const std::string header = "Zeit seit Start (ms);Uhrzeit;Quelle;Level;Status;Statustext;Pumpe 1;Pumpe 2;"
                           "Verh\344ltnis 1;Verh\344ltnis 2\r\n";

// A file of the test's own, removed with it.
struct TempFile {
    explicit TempFile(const std::string& content)
        : path(fs::temp_directory_path() / ("plant-sim-replay-" + std::to_string(getpid()) + "-" +
                                            std::to_string(counter++) + ".csv")) {
        std::ofstream(path, std::ios::binary) << content;
    }
    ~TempFile() { fs::remove(path); }
    fs::path path;
    static inline int counter = 0;
};

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

// Reads `count` bytes from the terminal at path, or what came before it stayed quiet for 2 s.
std::vector<uint8_t> readLine(const std::string& path, size_t count) {
    std::vector<uint8_t> got;
    int fd = open(path.c_str(), O_RDONLY | O_NOCTTY);
    if (fd < 0) return got;
    uint8_t buffer[4096];
    while (got.size() < count) {
        pollfd p = {fd, POLLIN, 0};
        if (poll(&p, 1, 2000) <= 0) break;
        ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0) break;
        got.insert(got.end(), buffer, buffer + n);
    }
    close(fd);
    return got;
}

} // namespace

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
    ChildProcess sim(PLANT_SIM_PATH, {"--replay", file.path.string(), "--speed", "10", "--flood", "--quiet"});
    ASSERT_FALSE(sim.firstLine().empty()) << "plant-sim did not start";
    EXPECT_EQ(readLine(sim.firstLine(), expected.size() + 1), expected);
    EXPECT_EQ(sim.stop(), 0) << "the line is to stay up after the last row";
}

// The sent log holds every frame as it went to the line, numbered from 0.
TEST(PlantSimReplay, SentLogHoldsEveryFrameTheLineCarried) {
    TempFile log("");
    ChildProcess sim(PLANT_SIM_PATH, {"--counted", "--flood", "--frames", "300", "--quiet", "--sent-log",
                                      log.path.string()});
    std::vector<uint8_t> line = readLine(sim.firstLine(), 9 * 300);
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
