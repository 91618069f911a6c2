// ChildProcess: a native helper program (exp-server, plant-sim) started by a native test. Its
// standard output is read up to the first line, which says where it listens.
#pragma once

#include <string>
#include <vector>

class ChildProcess {
public:
    ChildProcess(const char* program, std::vector<std::string> args);
    ~ChildProcess(); // stop()
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    const std::string& firstLine() const { return line; }
    // SIGTERM, then the exit code (-1 when it did not end normally).
    int stop();
    // Waits for the program to end by itself; its exit code.
    int wait();

private:
    int pid = -1;
    int exitCode = -1;
    std::string line;
};
