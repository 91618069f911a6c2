#include "tools/plant-sim/Simulator.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <poll.h>
#include <unistd.h>

namespace {

constexpr double never = std::numeric_limits<double>::infinity();

timespec toTimespec(double seconds) {
    seconds = std::max(seconds, 0.0);
    timespec t;
    t.tv_sec = (time_t)seconds;
    t.tv_nsec = (long)((seconds - (double)t.tv_sec) * 1e9);
    return t;
}

} // namespace

Simulator::Simulator(const SimOptions& options, PtyLine& line) : options(options), line(line) {
    clock_gettime(CLOCK_MONOTONIC, &startTime);
}

double Simulator::now() const {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (double)(t.tv_sec - startTime.tv_sec) + (double)(t.tv_nsec - startTime.tv_nsec) * 1e-9;
}

void Simulator::log(const char* format, ...) {
    if (options.quiet) return;
    va_list args;
    va_start(args, format);
    std::fputs("plant-sim: ", stderr);
    std::vfprintf(stderr, format, args);
    std::fputc('\n', stderr);
    va_end(args);
}

namespace {

// Empty name: nothing to open. A failure is said even with --quiet.
bool openOutput(const std::string& name, FileDescriptor& file) {
    if (name.empty()) return true;
    file.reset(open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (!file.isOpen()) std::fprintf(stderr, "plant-sim: cannot open %s: %s\n", name.c_str(), std::strerror(errno));
    return file.isOpen();
}

} // namespace

bool Simulator::prepare() {
    return openOutput(options.record, recordFile) && openOutput(options.stamps, stampFile) &&
           sentLog.open(options.sentLog);
}

void Simulator::setLinkHooks(std::function<void()> remove, std::function<bool(const std::string&)> restore) {
    removeLink = std::move(remove);
    restoreLink = std::move(restore);
}

// One line with the wall clock, which is also what Wine hands out as the system time.
void Simulator::stamp(const char* what, uint64_t number) {
    if (!stampFile.isOpen()) return;
    timespec t;
    clock_gettime(CLOCK_REALTIME, &t);
    char line[80];
    int n = std::snprintf(line, sizeof line, "%s %llu %lld\n", what, (unsigned long long)number,
                          (long long)t.tv_sec * 1000000000LL + t.tv_nsec);
    if (write(stampFile.get(), line, (size_t)n) != n) log("stamp file: %s", std::strerror(errno));
}

int Simulator::run(const volatile std::sig_atomic_t& stop) {
    while (!stop && !lineFailed) {
        double t = now();
        if (options.closeAfter > 0 && t >= options.closeAfter) {
            line.close();
            log("line closed after %.3f s", t);
            break;
        }
        if (options.dropAfter > 0 && !dropDone && t >= options.dropAfter) dropLine(t);
        if (lineDown) {
            if (t >= backAt) {
                lineFailed = !bringLineBack(t);
                continue;
            }
            timespec pause = toTimespec(std::min(backAt - t, idleWaitSeconds));
            ppoll(nullptr, 0, &pause, nullptr); // a stop signal cuts it short
            continue;
        }
        if (reader.inProgrammerCommand() && t - lastInput >= commandQuietSeconds) answerProgrammer(t);
        bool wantWrite = bytesDue(t) > 0;
        pollfd fd = {line.masterFd(), (short)(POLLIN | (wantWrite ? POLLOUT : 0)), 0};
        timespec wait = toTimespec(wantWrite ? idleWaitSeconds : waitSeconds(t));
        int ready = ppoll(&fd, 1, &wait, nullptr);
        if (ready < 0 && errno != EINTR) {
            log("poll: %s", std::strerror(errno));
            lineFailed = true;
        }
        if (ready <= 0) continue;
        if (fd.revents & (POLLERR | POLLNVAL)) lineFailed = true;
        if (fd.revents & POLLIN) receive(now());
        if (fd.revents & POLLOUT) send(now());
    }
    log("sent %llu frames, %llu bytes; received %llu bytes", (unsigned long long)source.framesMade(),
        (unsigned long long)source.bytesMade(), (unsigned long long)received);
    return lineFailed ? 1 : 0;
}

void Simulator::receive(double t) {
    uint8_t buffer[4096];
    ssize_t n = read(line.masterFd(), buffer, sizeof buffer);
    if (n < 0) {
        if (errno != EAGAIN && errno != EINTR) lineFailed = true;
        return;
    }
    stamp("received", (uint64_t)n);
    received += (uint64_t)n;
    lastInput = t;
    if (recordFile.isOpen() && write(recordFile.get(), buffer, (size_t)n) != n)
        log("record file: %s", std::strerror(errno));
    for (ssize_t i = 0; i < n; ++i)
        if (reader.feed(buffer[i])) log("mix %d:%d", model.ratioFirst(), model.ratioSecond());
    if (reader.inProgrammerCommand()) pausedUntil = never;
}

// The programmer answers only at its own rate; at any other the bytes it would read are
// noise to it, so it stays silent.
void Simulator::answerProgrammer(double t) {
    std::string command = reader.takeProgrammerCommand();
    long rate = line.slaveRate();
    pausedUntil = t + programmerHoldSeconds;
    if (!options.programmerRate || rate != options.programmerRate) {
        log("programmer command of %zu bytes at %ld Bd: silent", command.size(), rate);
        return;
    }
    std::string answer = "Tobrik ";
    for (char c : command) answer += (unsigned char)c < 0x20 ? '?' : c;
    answer += " \xB1\n";
    if (!options.programmerReply.empty()) answer = options.programmerReply + "\n";
    log("programmer command of %zu bytes at %ld Bd: answered", command.size(), rate);
    if (!writeAll(answer.data(), answer.size())) lineFailed = true;
}

// For the short answer line: waits for room rather than dropping bytes, but not for a
// reader that never comes.
bool Simulator::writeAll(const void* data, size_t count) {
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    double giveUp = now() + 1.0;
    while (count > 0) {
        ssize_t n = write(line.masterFd(), bytes, count);
        if (n < 0 && errno != EAGAIN && errno != EINTR) return false;
        if (n < 0) {
            if (now() > giveUp) {
                log("answer dropped: nobody reads the line");
                return true;
            }
            pollfd fd = {line.masterFd(), POLLOUT, 0};
            poll(&fd, 1, 50);
            continue;
        }
        bytes += n;
        count -= (size_t)n;
    }
    return true;
}

// How many telemetry bytes may go now (flooding: at least one while any are left).
size_t Simulator::bytesDue(double t) const {
    if (t < pausedUntil) return 0;
    size_t pending = outgoing.size() - sent;
    if (pending == 0 && source.isDone()) return 0;
    if (options.flood) return std::max<size_t>(pending, 1);
    if (t < nextDue) return 0;
    double perSecond = (double)options.rate / 10.0;
    return (size_t)std::floor((t - nextDue) * perSecond) + 1;
}

void Simulator::send(double t) {
    size_t due = bytesDue(t);
    if (due == 0) return;
    if (sent == outgoing.size()) takePiece(t);
    if (outgoing.empty()) return;
    size_t count = std::min(due, outgoing.size() - sent);
    ssize_t n = write(line.masterFd(), outgoing.data() + sent, count);
    if (n < 0) {
        if (errno != EAGAIN && errno != EINTR) lineFailed = true;
        return;
    }
    sent += (size_t)n;
    stampSentFrames();
    tallyWhenAllSent();
    if (options.flood) return;
    // A line that was held back (pause, full buffer) does not make up more than 10 ms.
    double perSecond = (double)options.rate / 10.0;
    nextDue = std::max(nextDue, t - 0.01) + (double)n / perSecond;
}

// Flooding writes whole batches of frames; a paced line one frame at a time.
void Simulator::takePiece(double t) {
    outgoing.clear();
    sent = 0;
    frameEnds.clear();
    framesStamped = 0;
    firstFrame = source.framesMade();
    size_t batch = options.flood ? 4096 : 1;
    while (outgoing.size() < batch && source.next(outgoing, t)) frameEnds.push_back(outgoing.size());
}

void Simulator::stampSentFrames() {
    for (; framesStamped < frameEnds.size() && frameEnds[framesStamped] <= sent; ++framesStamped) {
        stamp("sent", firstFrame + framesStamped);
        const size_t begin = framesStamped ? frameEnds[framesStamped - 1] : 0;
        sentLog.frame(firstFrame + framesStamped, outgoing.data() + begin, frameEnds[framesStamped] - begin);
    }
}

double Simulator::waitSeconds(double t) const {
    double until = t + idleWaitSeconds;
    if (options.closeAfter > 0) until = std::min(until, options.closeAfter);
    if (reader.inProgrammerCommand()) until = std::min(until, lastInput + commandQuietSeconds);
    else if (pausedUntil > t) until = std::min(until, pausedUntil);
    else if (!options.flood && !(source.isDone() && sent == outgoing.size())) until = std::min(until, nextDue);
    return until - t;
}

// What was on its way is lost with the line, as with an adapter pulled out mid-frame.
void Simulator::dropLine(double t) {
    dropDone = true;
    lineDown = true;
    backAt = t + options.dropFor;
    line.close();
    if (removeLink) removeLink();
    outgoing.clear();
    sent = 0;
    frameEnds.clear();
    framesStamped = 0;
    log("line dropped after %.3f s", t);
}

bool Simulator::bringLineBack(double t) {
    lineDown = false;
    if (!line.open()) {
        log("no pseudo-terminal for the line to come back: %s", line.errorText().c_str());
        return false;
    }
    if (restoreLink && !restoreLink(line.slavePath())) return false;
    std::printf("%s\n", line.slavePath().c_str());
    std::fflush(stdout);
    log("line back after %.3f s as %s", t, line.slavePath().c_str());
    return true;
}

// Written beside the file and renamed over it: a reader finds the whole line or none.
void Simulator::tallyWhenAllSent() {
    if (tallied || options.tally.empty() || !source.isDone() || sent != outgoing.size()) return;
    tallied = true;
    const std::string temporary = options.tally + ".part";
    FILE* file = std::fopen(temporary.c_str(), "w");
    bool written = file && std::fprintf(file, "frames %llu cut %llu noise %llu bytes %llu\n",
                                        (unsigned long long)source.framesMade(),
                                        (unsigned long long)source.framesCut(),
                                        (unsigned long long)source.noiseMade(),
                                        (unsigned long long)source.bytesMade()) > 0;
    written = file && std::fclose(file) == 0 && written;
    if (!written || std::rename(temporary.c_str(), options.tally.c_str()) != 0)
        std::fprintf(stderr, "plant-sim: cannot write %s: %s\n", options.tally.c_str(), std::strerror(errno));
}
