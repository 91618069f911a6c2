#include "app/TelemetryDecoder.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace {

// Records every effect as one line, in order.
class Recorder : public TelemetryEffects {
public:
    std::vector<std::string> log;
    void showLevel(const SString& text, int level) override {
        log.push_back(std::string("level ") + text.getBuffer() + " " + std::to_string(level));
    }
    void setStatusText(const SString& text) override { log.push_back(std::string("status ") + text.getBuffer()); }
    void setPump1(float v) override { log.push_back("pump1 " + std::to_string((int)v)); }
    void setPump2(float v) override { log.push_back("pump2 " + std::to_string((int)v)); }
    void setRatio1Text(const SString& t) override { log.push_back(std::string("ratio1 ") + t.getBuffer()); }
    void setRatio2Text(const SString& t) override { log.push_back(std::string("ratio2 ") + t.getBuffer()); }
    void repaintPump1() override { log.push_back("repaint1"); }
    void repaintPump2() override { log.push_back("repaint2"); }
};

void feed(TelemetryDecoder& d, std::initializer_list<int> bytes) {
    for (int b : bytes) d.onReceiveByte((unsigned char)b);
}

class Decoder : public ::testing::Test {
protected:
    Recorder r;
    TelemetryDecoder d{r};
};
using TelemetryDecoderSync = Decoder;
using TelemetryDecoderCounts = Decoder;

TEST(TelemetryDecoderFrames, OneFrameDrivesEveryEffectInOrder) {
    struct {
        std::initializer_list<int> bytes;
        std::vector<std::string> effects;
    } cases[] = {
        {{0x55, 0xAA, 0x10, 0x0C, 0x00, 0x00, 0x01, 0x02, 0x01},
         {"level Level = 3088 3088", "status OK", "pump1 0", "pump2 1", "ratio1 2", "ratio2 : 1"}},
        {{0x55, 0xAA, 0xFF, 0xFF, 0xFF, 255, 128, 10, 200},
         {"level Level = 65535 65535", "status F\334LLEN", "pump1 255", "pump2 128", "ratio1 10", "ratio2 : 200"}},
    };
    for (const auto& c : cases) {
        Recorder r;
        TelemetryDecoder d(r);
        feed(d, c.bytes);
        EXPECT_EQ(r.log, c.effects);
        d.onTimer();
        EXPECT_EQ(r.log.back(), "repaint2");
        EXPECT_EQ(r.log[r.log.size() - 2], "repaint1");
        EXPECT_EQ(d.getState(), TelemetryDecoder::HuntSync1);
    }
}

TEST_F(TelemetryDecoderSync, DoubleSyncIsNoFrameStart) {
    feed(d, {0x55, 0x55, 0xAA, 0x01, 0x02, 0x03});
    EXPECT_TRUE(r.log.empty());
    EXPECT_EQ(d.getState(), TelemetryDecoder::HuntSync1);
    feed(d, {0x00, 0x55, 0xAA, 0x01, 0x00});
    EXPECT_EQ(r.log.front(), "level Level = 1 1");
}

TEST_F(TelemetryDecoderSync, BytesAfterACompleteFrameWaitForTheTick) {
    feed(d, {0x55, 0xAA, 1, 0, 0, 0, 0, 0, 0});
    size_t afterFirst = r.log.size();
    feed(d, {0x55, 0xAA, 2, 0}); // second frame starts before the tick: dropped
    EXPECT_EQ(r.log.size(), afterFirst);
    d.onTimer();
    feed(d, {0, 0, 0, 0, 0x55, 0xAA, 7, 0});
    EXPECT_EQ(r.log.back(), "level Level = 7 7");
    d.onTimer(); // not complete: a tick changes nothing
    EXPECT_EQ(d.getState(), TelemetryDecoder::Status);
}

TEST_F(TelemetryDecoderSync, FrameCutShortIsCompletedByFollowingBytes) {
    feed(d, {0x55, 0xAA, 0x34, 0x12, 0x00, 0x55, 0xAA, 0x01, 0x02});
    EXPECT_EQ(r.log[0], "level Level = 4660 4660");
    EXPECT_EQ(r.log[2], "pump1 85");
    EXPECT_EQ(r.log[5], "ratio2 : 2");
}

// The line's health: complete frames, bytes skipped while hunting for the sync bytes, bytes
// per second.
const std::initializer_list<int> frame = {0x55, 0xAA, 0x10, 0x0C, 0x00, 0x00, 0x01, 0x02, 0x01};

// As a window that is quick enough: the tick comes as soon as a frame is complete.
void feedTicking(TelemetryDecoder& d, std::initializer_list<int> bytes) {
    for (int b : bytes) {
        d.onReceiveByte((unsigned char)b);
        if (d.getState() == TelemetryDecoder::Complete) d.onTimer();
    }
}

TEST_F(TelemetryDecoderCounts, NoiseBetweenFramesAndABrokenSyncPairAreRejected) {
    feed(d, frame);
    d.onTimer();
    feed(d, {0x12, 0xAA, 0x00}); // noise
    feed(d, frame);
    d.onTimer();
    feed(d, {0x55, 0x13}); // a sync byte without its partner
    feed(d, frame);
    d.onTimer();
    EXPECT_EQ(d.getCounts().frames, 3u);
    EXPECT_EQ(d.getCounts().rejected, 5u);
    EXPECT_EQ(d.getCounts().bytes, 32u);
}

// Bytes that come while a complete frame waits for the tick are lost, and so is the rest of
// the frame they began: that is the window's pace, not a noisy line. A frame cut short is
// completed by the next one, whose rest is then skipped as noise.
TEST_F(TelemetryDecoderCounts, AFrameMissedWhileWaitingForTheTickIsNoNoiseButACutFrameIs) {
    feed(d, frame);
    feed(d, {0x55, 0xAA, 0x10}); // the next frame begins before the tick
    d.onTimer();
    feed(d, {0x0C, 0x00, 0x00, 0x01, 0x02, 0x01});
    EXPECT_EQ(d.getCounts().rejected, 0u);
    feed(d, frame);
    d.onTimer();
    feedTicking(d, {0x55, 0xAA, 0x10, 0x0C}); // cut short
    feedTicking(d, frame);
    EXPECT_EQ(d.getCounts().frames, 3u);
    EXPECT_EQ(d.getCounts().rejected, 4u);
}

// A new connection may begin anywhere in a frame: the counts start again, and what is skipped
// before its first frame is not held against the line. Decoding goes on where it was.
TEST_F(TelemetryDecoderCounts, ANewLineCountsAfreshFromItsFirstFrame) {
    feed(d, frame);
    d.onTimer();
    feed(d, {0x01, 0x55, 0xAA, 0x07});
    d.startLine();
    EXPECT_EQ(d.getCounts().frames, 0u);
    EXPECT_EQ(d.getCounts().rejected, 0u);
    EXPECT_EQ(d.getCounts().bytes, 0u);
    EXPECT_EQ(d.getState(), TelemetryDecoder::LevelHigh);
    feed(d, {0x00, 0x00, 0x00, 0x00, 0x00, 0x00}); // completes the frame begun before
    d.onTimer();
    feed(d, {0x02, 0x01}); // the rest of a frame of the new line
    feed(d, frame);
    d.onTimer();
    feed(d, {0x00});
    EXPECT_EQ(d.getCounts().frames, 2u);
    EXPECT_EQ(d.getCounts().rejected, 1u);
    EXPECT_EQ(d.getCounts().bytes, 18u);
}

TEST_F(TelemetryDecoderCounts, BytesPerSecondOverTheLastFullSecond) {
    d.measureRate(0xFFFFFE0Cu); // the millisecond clock wraps on the way
    for (int i = 0; i < 480; ++i) d.onReceiveByte(0);
    d.measureRate(0xFFFFFF00u);
    EXPECT_EQ(d.getCounts().bytesPerSecond, 0u) << "not a second yet";
    d.measureRate(0x000005DCu); // two seconds on
    EXPECT_EQ(d.getCounts().bytesPerSecond, 240u);
    d.measureRate(0x000009C4u);
    EXPECT_EQ(d.getCounts().bytesPerSecond, 0u) << "a quiet second";
}

} // namespace
