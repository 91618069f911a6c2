// The recording's writer against a disk that takes nothing: a pipe nobody reads. What waits
// for the disk stays bounded, the rows after the bound are refused, and every row taken
// arrives once the disk takes again.
#include "app/RecordingWriter.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>

TEST(RecordingWriter, AStalledDiskBoundsWhatWaitsAndLosesNoRowTaken) {
    const std::string name = "\\\\.\\pipe\\anlage-recording-" + std::to_string(GetCurrentProcessId());
    HANDLE pipe = CreateNamedPipeA(name.c_str(), PIPE_ACCESS_INBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1, 4096, 4096, 0,
                                   nullptr);
    ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
    RecordingWriter writer;
    ASSERT_TRUE(writer.open(name.c_str(), "Kopf\r\n")) << writer.getErrorCode();

    // Far more than the bound, handed over at once: the writer's thread hangs in a write, with
    // at most one buffer in its hands and one filling, so rows beyond the bound are refused
    // and the writer says why.
    char row[64];
    uint64_t taken = 0;
    size_t bytesTaken = 6;
    for (uint64_t i = 0; i < 3 * RecordingWriter::maxPending / 40; ++i) {
        int length = std::snprintf(row, sizeof row, "%llu;2024-05-07T09:03:04.056;seriell;1\r\n",
                                   (unsigned long long)i);
        if (!writer.append(row, length)) break;
        ++taken;
        bytesTaken += (size_t)length;
    }
    EXPECT_EQ(writer.getFailure(), RecordingWriter::TooSlow);
    EXPECT_LE(bytesTaken, 2 * RecordingWriter::maxPending + 6) << "more waited than the bound";
    EXPECT_GT(taken, 1000u);
    EXPECT_FALSE(writer.append(row, 10)) << "a row taken after the writer stopped";

    // The disk takes again: everything taken arrives, and the writer ends by itself.
    std::string arrived;
    std::atomic<bool> done{false};
    std::thread reader([&] {
        char buffer[65536];
        DWORD got = 0;
        while (ReadFile(pipe, buffer, sizeof buffer, &got, nullptr) && got) arrived.append(buffer, got);
        done = true;
    });
    writer.finish();
    reader.join();
    CloseHandle(pipe);
    EXPECT_TRUE(done);
    EXPECT_EQ(writer.rowsWritten(), taken);
    EXPECT_EQ(arrived.size(), bytesTaken);
    EXPECT_TRUE(arrived.starts_with("Kopf\r\n0;"));
    EXPECT_TRUE(arrived.ends_with("\r\n"));
}
