// Replayer: plays a recording of the program back on the line, frame by frame at the pace
// it was recorded (--speed faster or slower), but no frame sooner than the line rate lets
// the one before it go. What the program sends is read (and kept with --record) and
// otherwise ignored: a recording does not answer mix commands.
#pragma once

#include "tools/plant-sim/FileDescriptor.h"
#include "tools/plant-sim/PtyLine.h"
#include "tools/plant-sim/ReplayFile.h"
#include "tools/plant-sim/SimOptions.h"

#include <csignal>
#include <ctime>
#include <vector>

class Replayer {
public:
    Replayer(const SimOptions& options, PtyLine& line, std::vector<ReplayFrame> frames);
    // Opens the record file; false (with a message) when that fails.
    bool prepare();
    // Plays the frames, then keeps the line up until `stop` is set or --close-after has come.
    // Returns the exit code.
    int run(const volatile std::sig_atomic_t& stop);

private:
    double now() const;
    double dueAt(size_t frame) const;
    void receive();
    void send(double t);

    const SimOptions& options;
    PtyLine& line;
    std::vector<ReplayFrame> frames;
    FileDescriptor recordFile;
    timespec startTime{};
    size_t next = 0;          // the frame being sent
    size_t sentOfNext = 0;    // its bytes already gone
    double lineFreeAt = 0;    // when the line has sent the frames before
    bool lineFailed = false;
};
