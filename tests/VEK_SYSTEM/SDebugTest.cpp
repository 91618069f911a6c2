#include "VEK_UTIL/SDebug.h"

#include "PlainPeer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

namespace {

TEST(SDebug, SendsLinesOnceEnabledAndWarnsAboutLongPrintf) {
    PlainPeer monitor;
    SDebug debug;
    debug.setTarget("127.0.0.1", monitor.port());
    debug.print("before enable");
    EXPECT_EQ(debug.getConnectState(), SDebug::NOT_TRIED);
    EXPECT_FALSE(monitor.pendingClient(50));

    debug.enable();
    debug.print("eins");
    ASSERT_EQ(debug.getConnectState(), SDebug::CONNECTED);
    ASSERT_TRUE(monitor.accept());
    debug.printf("%s %d", "zwei", 2);
    debug.printf("%s", std::string(4990, 'x').c_str()); // fits
    std::string expected = "eins\r\nzwei 2\r\n" + std::string(4990, 'x') + "\r\n";
    EXPECT_EQ(monitor.receive(expected.size()), expected);

    debug.printf("%s!", std::string(5000, 'y').c_str());
    std::string warning = "!!!!!!!! debug.printf(): Ergebnis-String wurde gr\366\337er als 5000 Zeichen -> "
                          "wurden abgeschnitten !!!!!!!!!!\r\n";
    expected = std::string(5000, 'y') + "\r\n" + warning;
    EXPECT_EQ(monitor.receive(expected.size()), expected);
}

TEST(SDebug, AMissingMonitorCostsOneAttemptOnly) {
    int port = PlainPeer::freePort();
    SDebug debug;
    debug.setTarget("127.0.0.1", port);
    debug.enable();
    debug.print("lost");
    EXPECT_EQ(debug.getConnectState(), SDebug::FAILED);
    EXPECT_TRUE(debug.getErrorText().startsWith("Fehler beim Verbinden.(")) << debug.getErrorText().getBuffer();

    // A monitor that appears later on that port is not tried again.
    PlainPeer late(port);
    ASSERT_TRUE(late.listening());
    for (int i = 0; i < 3; ++i) debug.print("more");
    EXPECT_EQ(debug.getConnectState(), SDebug::FAILED);
    EXPECT_FALSE(late.pendingClient(100));
}

// A monitor that accepts and then stops reading must not hold up a tracing thread: lines
// are dropped, and the trace comes back on a new connection after the pause.
TEST(SDebug, AStuckMonitorNeverStallsTheProgram) {
    PlainPeer monitor;
    SDebug debug;
    debug.setTarget("127.0.0.1", monitor.port());
    debug.setStallTimes(100, 200);
    debug.enable();
    debug.print("first");
    ASSERT_TRUE(monitor.accept());
    std::atomic<bool> done{false};
    std::thread tracer([&] {
        const std::string line(2000, 'x'); // 20 MB in all, more than the sockets buffer
        for (int i = 0; i < 10000; ++i) debug.print(line.c_str());
        done = true;
    });
    // Natively the lines take ~0.25 s, under Wine 1-3 s (a send costs ~1 ms there while the
    // kernel still takes data); only a hang takes this long.
    EXPECT_TRUE(waitUntil([&] { return done.load(); }, 20000));
    monitor.closeClient(); // frees a tracer that is stuck after all
    tracer.join();
    EXPECT_GT(debug.getDroppedLines(), 5000);

    ASSERT_TRUE(waitUntil([&] {
        debug.print("wieder da");
        return monitor.pendingClient(10);
    }));
    ASSERT_TRUE(monitor.accept());
    EXPECT_EQ(monitor.receive(11, 2000), "wieder da\r\n");
}

} // namespace
