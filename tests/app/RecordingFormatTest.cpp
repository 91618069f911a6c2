// What a recording takes from the byte stream and how it writes a row.
#include "app/RecordingFormat.h"
#include "app/TelemetryFrameReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

std::vector<TelemetryFrame> framesIn(TelemetryFrameReader& reader, std::initializer_list<int> bytes) {
    std::vector<TelemetryFrame> frames;
    TelemetryFrame frame;
    for (int b : bytes)
        if (reader.feed((unsigned char)b, frame)) frames.push_back(frame);
    return frames;
}

} // namespace

// Back to back, as a controller at the line's rate sends them: the display's decoder skips the
// frame after each one until its timer tick; the recording must not.
TEST(TelemetryFrameReader, TakesEveryFrameOfABackToBackStream) {
    TelemetryFrameReader reader;
    auto frames = framesIn(reader, {0x55, 0xAA, 0x10, 0x0C, 0x00, 0x00, 0x01, 0x02, 0x01,  //
                                    0x55, 0xAA, 0x11, 0x0C, 0x01, 0xFF, 0x80, 0x01, 0x02,  //
                                    0x55, 0xAA, 0xFF, 0xFF, 0x07, 0x00, 0x00, 0x01, 0x01});
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[0], (TelemetryFrame{3088, 0, 0, 1, 2, 1}));
    EXPECT_EQ(frames[1], (TelemetryFrame{3089, 1, 255, 128, 1, 2}));
    EXPECT_EQ(frames[2], (TelemetryFrame{65535, 7, 0, 0, 1, 1}));
}

// Noise before a frame, a doubled first sync byte (no start, as for the display) and a frame
// begun before a reset: only whole frames that start with their sync bytes count.
TEST(TelemetryFrameReader, SyncsAsTheDisplayDoes) {
    TelemetryFrameReader reader;
    EXPECT_TRUE(framesIn(reader, {0x00, 0xAA, 0x55, 0x55, 0xAA, 1, 2, 3, 4, 5, 6, 7}).empty());
    auto frames = framesIn(reader, {0x13, 0x55, 0xAA, 0x20, 0x00, 0, 1, 1, 1, 1});
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].level, 0x20);
    framesIn(reader, {0x55, 0xAA, 0x01, 0x02});
    reader.reset();
    EXPECT_TRUE(framesIn(reader, {0x00, 0x00, 0x01, 0x01, 0x01}).empty());
}

TEST(RecordingFormat, RowsAndHeaderForAGermanSpreadsheet) {
    const std::string header = RecordingFormat::header();
    EXPECT_EQ(header, "Zeit seit Start (ms);Uhrzeit;Quelle;Level;Status;Statustext;Pumpe 1;Pumpe 2;"
                      "Verh\344ltnis 1;Verh\344ltnis 2\r\n");
    char row[RecordingFormat::maxRowLength];
    RecordingFormat::Time t{2024, 5, 7, 9, 3, 4, 56};
    int n = RecordingFormat::row(row, 1234, t, RecordingFormat::Serial, TelemetryFrame{3088, 0, 0, 1, 2, 1});
    EXPECT_EQ(std::string(row, (size_t)n), "1234;2024-05-07T09:03:04.056;seriell;3088;0;OK;0;1;2;1\r\n");
    // Any status but 0 is filling, written as 1 beside its text.
    n = RecordingFormat::row(row, 0, t, RecordingFormat::Experiment, TelemetryFrame{65535, 255, 255, 255, 255, 255});
    EXPECT_EQ(std::string(row, (size_t)n), "0;2024-05-07T09:03:04.056;Experiment;65535;1;F\334LLEN;255;255;255;255\r\n");
    // As many fields in every row as in the header.
    auto fields = [](const std::string& line) { return std::count(line.begin(), line.end(), ';') + 1; };
    EXPECT_EQ(fields(header), RecordingFormat::columnCount);
    EXPECT_EQ(fields(row), RecordingFormat::columnCount);
    // The longest row there can be still fits.
    n = RecordingFormat::row(row, INT64_MAX, RecordingFormat::Time{99999, 12, 31, 23, 59, 59, 999},
                             RecordingFormat::Experiment, TelemetryFrame{65535, 1, 255, 255, 255, 255});
    EXPECT_EQ(std::string(row + n - 2), "\r\n");
    EXPECT_STREQ(RecordingFormat::proposedFileName(t).getBuffer(), "Anlage-20240507-090304.csv");
}
