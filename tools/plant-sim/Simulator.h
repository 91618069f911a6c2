// Simulator: the plant's side of the line. Streams telemetry paced at the line rate (or
// flooding), hands received bytes to the command reader, answers the programmer at its
// one rate, and closes the line, or drops it for a while, when asked to.
#pragma once

#include "tools/plant-model/TankModel.h"
#include "tools/plant-sim/CommandReader.h"
#include "tools/plant-sim/FileDescriptor.h"
#include "tools/plant-sim/FrameSource.h"
#include "tools/plant-sim/PtyLine.h"
#include "tools/plant-sim/SentLog.h"
#include "tools/plant-sim/SimOptions.h"

#include <csignal>
#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

class Simulator {
public:
    // A programmer command ends when the line has been quiet this long.
    static constexpr double commandQuietSeconds = 0.01;
    // Telemetry stays off this long after a programmer command, so that its answer (or
    // its silence) is not mixed with frames while the program reads the reply.
    static constexpr double programmerHoldSeconds = 0.3;
    static constexpr double idleWaitSeconds = 0.05;

    Simulator(const SimOptions& options, PtyLine& line);
    // Opens the record and stamp files; false (with a message) when that fails.
    bool prepare();
    // What takes the port link away while the line is dropped, and what links the line that
    // comes back (its path); without them a dropped line just comes back.
    void setLinkHooks(std::function<void()> remove, std::function<bool(const std::string&)> restore);
    // Runs until `stop` is set, the line is closed after --close-after, or the line
    // fails. Returns the exit code.
    int run(const volatile std::sig_atomic_t& stop);

private:
    double now() const;
    void receive(double t);
    void answerProgrammer(double t);
    bool writeAll(const void* data, size_t count);
    size_t bytesDue(double t) const;
    void send(double t);
    void takePiece(double t);
    void stampSentFrames();
    void stamp(const char* what, uint64_t number);
    double waitSeconds(double t) const;
    void dropLine(double t);
    bool bringLineBack(double t);
    void tallyWhenAllSent();
    void log(const char* format, ...) __attribute__((format(printf, 2, 3)));

    const SimOptions& options;
    PtyLine& line;
    TankModel model;
    CommandReader reader{model};
    FrameSource source{model, options};
    FileDescriptor recordFile;
    FileDescriptor stampFile;
    std::function<void()> removeLink;
    std::function<bool(const std::string&)> restoreLink;
    SentLog sentLog;
    std::vector<uint8_t> outgoing; // the piece being sent; `sent` bytes of it are gone
    size_t sent = 0;
    std::vector<size_t> frameEnds; // where each frame of the piece ends, noise included
    size_t framesStamped = 0;      // frames of the piece already stamped
    uint64_t firstFrame = 0;       // number of the piece's first frame
    timespec startTime{};
    double nextDue = 0;      // when the next paced byte may go
    double lastInput = 0;    // when the last byte came in
    double pausedUntil = 0;  // telemetry is held until then
    uint64_t received = 0;
    bool lineFailed = false;
    bool lineDown = false;   // dropped, until backAt
    bool dropDone = false;
    double backAt = 0;
    bool tallied = false;
};
