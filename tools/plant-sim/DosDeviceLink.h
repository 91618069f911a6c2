// DosDeviceLink: maps a pseudo-terminal to a COM port of a Wine prefix by the symbolic
// link dosdevices/comN, and removes the link again when it still points to that terminal.
#pragma once

#include <string>

class DosDeviceLink {
public:
    DosDeviceLink() = default;
    DosDeviceLink(const DosDeviceLink&) = delete;
    DosDeviceLink& operator=(const DosDeviceLink&) = delete;
    ~DosDeviceLink() { remove(); }

    // `port` must already be a valid name (com1 … com256); it is used in lower case.
    bool create(const std::string& prefix, const std::string& port, const std::string& target);
    void remove();
    // Wine's mount manager, when it starts after the link was made, points comN back at a
    // serial device of the machine (/dev/ttyS…) or drops it: the link is made again then.
    // Whether it was.
    bool reclaim();
    const std::string& linkPath() const { return path; }
    const std::string& errorText() const { return error; }

private:
    bool place(const std::string& linkName, const std::string& newTarget);

    std::string path;
    std::string target;
    std::string error;
};
