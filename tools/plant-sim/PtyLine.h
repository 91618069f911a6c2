// PtyLine: the plant side of a pseudo-terminal. The simulator writes and reads the master;
// it also keeps a slave descriptor open, so the line stays up while the program on the
// other side closes and reopens its port, and so it can read the line settings that side
// configured.
#pragma once

#include "tools/plant-sim/FileDescriptor.h"

#include <string>

class PtyLine {
public:
    // Opens the pair in raw mode, non-blocking; isOpen() tells whether it worked.
    PtyLine() { open(); }
    // A new pair in place of the present one (a line that comes back), with a new path.
    bool open();

    bool isOpen() const { return master.isOpen(); }
    const std::string& errorText() const { return error; }
    int masterFd() const { return master.get(); }
    const std::string& slavePath() const { return path; }
    // The rate the slave side is set to (0 when it cannot be read or is not a standard one).
    long slaveRate() const;
    // Hangs the line up: the other side's reads get nothing and its writes fail.
    void close();

private:
    bool fail(const char* what);

    FileDescriptor master;
    FileDescriptor slave;
    std::string path;
    std::string error;
};
