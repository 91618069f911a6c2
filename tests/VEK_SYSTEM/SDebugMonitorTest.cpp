// The debug trace against the real monitor process (native build only).
#ifdef VEK_MONITOR_PATH

#include "VEK_UTIL/SDebug.h"

#include "PlainPeer.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <regex>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

// The monitor as a child process; its port comes from its announcement on stderr.
class Monitor {
public:
    explicit Monitor(const SString& file) {
        int fds[2];
        if (pipe(fds) != 0) return;
        pid = fork();
        if (pid == 0) {
            dup2(fds[1], 2);
            ::close(fds[0]);
            execl(VEK_MONITOR_PATH, VEK_MONITOR_PATH, "--port", "0", "--file", file.getBuffer(), (char*)nullptr);
            _exit(127);
        }
        ::close(fds[1]);
        announcements = fdopen(fds[0], "r");
        char line[256] = {0};
        if (announcements && fgets(line, sizeof line, announcements))
            std::sscanf(line, "vek-monitor: listening on 127.0.0.1:%d", &port);
    }
    ~Monitor() { stop(); }

    // SIGTERM; the exit status, or -1.
    int stop() {
        if (pid <= 0) return -1;
        kill(pid, SIGTERM);
        int status = 0;
        waitpid(pid, &status, 0);
        pid = -1;
        if (announcements) fclose(announcements);
        announcements = nullptr;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    int port = 0;

private:
    pid_t pid = -1;
    FILE* announcements = nullptr;
};

std::vector<std::string> linesOf(const SString& text) {
    std::vector<std::string> lines;
    std::istringstream in(text.getBuffer());
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(SDebugMonitor, LinesArriveStampedAndInOrder) {
    TempDir dir;
    Monitor monitor(dir.file("trace.log"));
    ASSERT_GT(monitor.port, 0);

    SDebug debug;
    debug.setTarget("localhost", monitor.port);
    debug.enable();
    const int count = 200;
    for (int i = 0; i < count; ++i) debug.printf("Zeile %d", i);
    ASSERT_EQ(debug.getConnectState(), SDebug::CONNECTED);
    ASSERT_TRUE(waitUntil([&] { return (int)linesOf(dir.read("trace.log")).size() >= count; }));
    debug.close(); // the monitor then waits for the next client
    EXPECT_EQ(monitor.stop(), 0);

    std::vector<std::string> lines = linesOf(dir.read("trace.log"));
    ASSERT_EQ((int)lines.size(), count);
    std::regex stamped(R"(\d\d:\d\d:\d\d\.\d\d\d Zeile (\d+))");
    for (int i = 0; i < count; ++i) {
        std::smatch m;
        ASSERT_TRUE(std::regex_match(lines[(size_t)i], m, stamped)) << lines[(size_t)i];
        EXPECT_EQ(std::stoi(m[1]), i);
    }
}

TEST(SDebugMonitor, OneClientAfterAnother) {
    TempDir dir;
    Monitor monitor(dir.file("trace.log"));
    ASSERT_GT(monitor.port, 0);
    for (const char* text : {"erster", "zweiter"}) {
        SDebug debug;
        debug.setTarget("127.0.0.1", monitor.port);
        debug.enable();
        debug.print(text);
    }
    ASSERT_TRUE(waitUntil([&] { return linesOf(dir.read("trace.log")).size() >= 2; }));
    std::vector<std::string> lines = linesOf(dir.read("trace.log"));
    EXPECT_NE(lines[0].find(" erster"), std::string::npos);
    EXPECT_NE(lines[1].find(" zweiter"), std::string::npos);
    EXPECT_EQ(monitor.stop(), 0);
}

} // namespace

#endif
