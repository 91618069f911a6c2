// FileDescriptor: owns one POSIX file descriptor and closes it.
#pragma once

#include <unistd.h>

class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd(fd) {}
    FileDescriptor(FileDescriptor&& other) noexcept : fd(other.release()) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() { reset(); }

    int get() const { return fd; }
    bool isOpen() const { return fd >= 0; }
    int release() {
        int old = fd;
        fd = -1;
        return old;
    }
    void reset(int newFd = -1) {
        if (fd >= 0) ::close(fd);
        fd = newFd;
    }

private:
    int fd = -1;
};
