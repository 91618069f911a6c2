// The debug trace against the real monitor process (native build only).
#ifdef VEK_MONITOR_PATH

#include "VEK_UTIL/SDebug.h"

#include "PlainPeer.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The monitor announces its port on stderr.
struct Monitor : ChildProcess {
    explicit Monitor(const SString& file)
        : ChildProcess("/bin/sh", {"-c", std::string("exec '" VEK_MONITOR_PATH "' --port 0 --file '") +
                                             file.getBuffer() + "' 2>&1"}) {
        std::sscanf(firstLine().c_str(), "vek-monitor: listening on 127.0.0.1:%d", &port);
    }
    int port = 0;
};

std::vector<std::string> linesOf(const SString& text) {
    std::vector<std::string> lines;
    std::istringstream in(text.getBuffer());
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// Stamped lines in order, and a second client after the first has closed.
TEST(SDebugMonitor, LinesArriveStampedAndInOrderFromOneClientAfterAnother) {
    TempDir dir;
    Monitor monitor(dir.file("trace.log"));
    ASSERT_GT(monitor.port, 0);

    const int count = 200;
    {
        SDebug debug;
        debug.setTarget("localhost", monitor.port);
        debug.enable();
        for (int i = 0; i < count; ++i) debug.printf("Zeile %d", i);
        ASSERT_EQ(debug.getConnectState(), SDebug::CONNECTED);
        ASSERT_TRUE(waitUntil([&] { return (int)linesOf(dir.read("trace.log")).size() >= count; }));
    } // the monitor then waits for the next client
    SDebug second;
    second.setTarget("127.0.0.1", monitor.port);
    second.enable();
    second.print("zweiter");
    ASSERT_TRUE(waitUntil([&] { return (int)linesOf(dir.read("trace.log")).size() > count; }));
    EXPECT_EQ(monitor.stop(), 0);

    std::vector<std::string> lines = linesOf(dir.read("trace.log"));
    ASSERT_EQ((int)lines.size(), count + 1);
    std::regex stamped(R"(\d\d:\d\d:\d\d\.\d\d\d Zeile (\d+))");
    for (int i = 0; i < count; ++i) {
        std::smatch m;
        ASSERT_TRUE(std::regex_match(lines[(size_t)i], m, stamped)) << lines[(size_t)i];
        EXPECT_EQ(std::stoi(m[1]), i);
    }
    EXPECT_NE(lines[count].find(" zweiter"), std::string::npos) << lines[count];
}

} // namespace

#endif
