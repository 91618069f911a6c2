// plant-sim as a child process and the program's side of its pseudo-terminal.
#pragma once

#include "tests/support/ChildProcess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <poll.h>
#include <string>
#include <unistd.h>
#include <vector>

// plant-sim as a child process; its first stdout line is the terminal's path.
struct SimProcess : ChildProcess {
    explicit SimProcess(std::vector<std::string> args)
        : ChildProcess(PLANT_SIM_PATH, std::move(args)), path(firstLine()) {}
    std::string path;
};

// The program's side of the line.
class Terminal {
public:
    explicit Terminal(const std::string& path) : fd(open(path.c_str(), O_RDWR | O_NOCTTY)) {}
    ~Terminal() {
        if (fd >= 0) ::close(fd);
    }
    bool isOpen() const { return fd >= 0; }

    void write(const std::vector<uint8_t>& bytes) { ASSERT_EQ(::write(fd, bytes.data(), bytes.size()), (ssize_t)bytes.size()); }

    // Reads until `count` bytes came, `stop` came, or `ms` passed without a byte.
    std::vector<uint8_t> read(size_t count, int ms, int stop = -1) {
        std::vector<uint8_t> got;
        uint8_t buffer[4096];
        while (got.size() < count) {
            pollfd p = {fd, POLLIN, 0};
            if (poll(&p, 1, ms) <= 0 || !(p.revents & POLLIN)) break;
            ssize_t n = ::read(fd, buffer, std::min(sizeof buffer, count - got.size()));
            if (n <= 0) break;
            got.insert(got.end(), buffer, buffer + n);
            if (stop >= 0 && buffer[n - 1] == stop) break;
        }
        return got;
    }

    int fd;
};

inline std::string wholeFile(const std::filesystem::path& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
