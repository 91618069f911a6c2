// ReplayFile: a recording the program made (its CSV file of telemetry rows), read for
// replay. Every row becomes the frame it was recorded from, with its time since the start of
// the recording. A file that is not such a recording is refused as a whole, with the line
// and what is wrong with it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct ReplayFrame {
    int64_t ms = 0; // since the recording started
    std::array<uint8_t, 9> bytes{};
};

class ReplayFile {
public:
    static constexpr int64_t maxMs = 100LL * 365 * 24 * 3600 * 1000; // a century of recording

    // Reads the whole file; false with error() "FILE:LINE: what is wrong".
    bool load(const std::string& path);
    const std::vector<ReplayFrame>& frames() const { return rows; }
    const std::string& error() const { return problem; }

private:
    bool fail(const std::string& path, size_t line, const std::string& what);
    bool takeRow(const std::vector<std::string>& fields, std::string& what);

    std::vector<ReplayFrame> rows;
    std::string problem;
};
