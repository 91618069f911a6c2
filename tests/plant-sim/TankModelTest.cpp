#include "tools/plant-model/TankModel.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Advances in small calls until the controller's filling state changes (or a limit).
double runUntilFillingIs(TankModel& model, bool filling, double limitSeconds) {
    double t = 0;
    while (model.isFilling() != filling && t < limitSeconds) {
        model.advance(TankModel::stepSeconds);
        t += TankModel::stepSeconds;
    }
    return t;
}

TEST(TankModel, LevelRisesWithThePumpsAndFallsThroughTheOutletWhenTheyStop) {
    TankModel model;
    model.advance(1.0);
    uint16_t afterOneSecond = model.level();
    EXPECT_GT(afterOneSecond, 300); // two pumps at 100 add 400 a second, minus the outlet
    EXPECT_LT(afterOneSecond, 400);

    double fillTime = runUntilFillingIs(model, false, 60);
    ASSERT_FALSE(model.isFilling()) << "never reached the high mark";
    EXPECT_GT(fillTime, 3.0);
    EXPECT_GE(model.level(), TankModel::highMark);
    auto stopped = model.telemetryFrame();
    EXPECT_EQ(stopped[4], 0); // status OK
    EXPECT_EQ(stopped[5], 0);
    EXPECT_EQ(stopped[6], 0);

    uint16_t top = model.level();
    model.advance(1.0);
    EXPECT_LT(model.level(), top);

    runUntilFillingIs(model, true, 60);
    ASSERT_TRUE(model.isFilling()) << "never drained to the low mark";
    EXPECT_LT(model.level(), TankModel::lowMark);
    EXPECT_EQ(model.telemetryFrame()[4], TankModel::fillingStatus);
}

TEST(TankModel, PumpsAndRatioBytesFollowTheLastKnownMixCommand) {
    TankModel model;
    std::array<uint8_t, 9> frame = {0x55, 0xAA, 0, 0, TankModel::fillingStatus, 100, 100, 1, 1};
    EXPECT_EQ(model.telemetryFrame(), frame) << "empty, filling at 1:1";

    model.applyMixCommand(2, 1);
    frame = model.telemetryFrame();
    EXPECT_EQ(frame[5], 100);
    EXPECT_EQ(frame[6], 50);
    EXPECT_EQ(frame[7], 2);
    EXPECT_EQ(frame[8], 1);

    for (auto [a, b] : {std::pair{0, 0}, {2, 2}, {3, 1}, {1, 0}, {0x55, 0xAA}}) model.applyMixCommand(a, b);
    EXPECT_EQ(model.telemetryFrame(), frame) << "unknown pairs must change nothing";

    model.applyMixCommand(1, 2);
    frame = model.telemetryFrame();
    EXPECT_EQ(frame[5], 50);
    EXPECT_EQ(frame[6], 100);
    EXPECT_EQ(frame[7], 1);
    EXPECT_EQ(frame[8], 2);
}

TEST(TankModel, TimeOnlyPassesThroughAdvanceInEqualSteps) {
    TankModel inSmallCalls, inOneCall;
    for (int i = 0; i < 1000; ++i) inSmallCalls.advance(0.001);
    inOneCall.advance(1.0);
    EXPECT_EQ(inSmallCalls.telemetryFrame(), inOneCall.telemetryFrame());

    TankModel untouched;
    untouched.advance(0);
    untouched.advance(-5);
    untouched.advance(std::nan(""));
    EXPECT_EQ(untouched.level(), 0);

    TankModel longRun;
    longRun.advance(1e12); // cut to an hour: stays in its swing
    EXPECT_GE(longRun.level(), TankModel::lowMark - 50);
    EXPECT_LE(longRun.level(), TankModel::highMark + 50);
}

} // namespace
