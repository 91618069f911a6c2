#include "VEK_SYSTEM/SThread.h"

#include "PlainPeer.h"
#include "tests/support/BoxRecorder.h"

#include <gtest/gtest.h>

#include <atomic>

namespace {

class Counter : public SThread {
public:
    void onWorkTread() override {
        while (!release.load()) SSystem::sleepMs(1);
        ++runs;
        ranOnItself = isCurrentThread();
    }
    void onThreadEnd() override { endedAfterWork = runs.load() > 0; }

    std::atomic<bool> release{false};
    std::atomic<int> runs{0};
    std::atomic<bool> ranOnItself{false}, endedAfterWork{false};
};

TEST(SThread, RunsOnceEndsAndCanStartAgain) {
    Counter t;
    ASSERT_TRUE(t.start());
    EXPECT_TRUE(t.isRunning());
    EXPECT_FALSE(t.start()); // one thread at a time
    EXPECT_FALSE(t.wait(20));
    t.release = true;
    EXPECT_TRUE(t.wait());
    EXPECT_FALSE(t.isRunning());
    EXPECT_EQ(t.runs.load(), 1);
    EXPECT_TRUE(t.ranOnItself.load());
    EXPECT_TRUE(t.endedAfterWork.load());

    ASSERT_TRUE(t.runAndWait());
    EXPECT_FALSE(t.isRunning());
    EXPECT_EQ(t.runs.load(), 2);
}

TEST(SThread, WithoutAWorkFunctionItSaysSo) {
    BoxRecorder boxes;
    SThread t;
    ASSERT_TRUE(t.runAndWait());
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_STREQ(boxes.last().text,
                 "Sie m\374ssen von SThread ableiten und die Funktion onWorkTread() \374berschreiben.");
    EXPECT_STREQ(boxes.last().caption, "Fehler !");
    EXPECT_EQ(boxes.last().type, 16u);
}

} // namespace
