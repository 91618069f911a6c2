#include "tests/support/ChildProcess.h"

#ifndef _WIN32

#include <csignal>
#include <cstdio>
#include <cstring>
#include <sys/wait.h>
#include <unistd.h>

ChildProcess::ChildProcess(const char* program, std::vector<std::string> args) {
    int out[2];
    if (pipe(out)) return;
    pid = fork();
    if (pid == 0) {
        dup2(out[1], 1);
        ::close(out[0]);
        ::close(out[1]);
        std::vector<char*> argv = {const_cast<char*>(program)};
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(program, argv.data());
        _exit(127);
    }
    ::close(out[1]);
    FILE* in = fdopen(out[0], "r");
    char first[256] = "";
    if (in && std::fgets(first, sizeof first, in)) line.assign(first, std::strcspn(first, "\n"));
    if (in) std::fclose(in);
}

ChildProcess::~ChildProcess() { stop(); }

int ChildProcess::stop() {
    if (pid <= 0) return exitCode;
    kill(pid, SIGTERM);
    return wait();
}

int ChildProcess::wait() {
    int status = 0;
    if (pid > 0 && waitpid(pid, &status, 0) == pid) exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    pid = -1;
    return exitCode;
}

#endif
