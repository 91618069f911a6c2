#include "tools/plant-sim/Replayer.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

Replayer::Replayer(const SimOptions& options, PtyLine& line, std::vector<ReplayFrame> frames)
    : options(options), line(line), frames(std::move(frames)) {
    clock_gettime(CLOCK_MONOTONIC, &startTime);
}

double Replayer::now() const {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (double)(t.tv_sec - startTime.tv_sec) + (double)(t.tv_nsec - startTime.tv_nsec) * 1e-9;
}

bool Replayer::prepare() {
    if (options.record.empty()) return true;
    recordFile.reset(open(options.record.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (!recordFile.isOpen())
        std::fprintf(stderr, "plant-sim: cannot open %s: %s\n", options.record.c_str(), std::strerror(errno));
    return recordFile.isOpen();
}

// The recorded time from the first frame, scaled by the speed; not before the line is free.
double Replayer::dueAt(size_t frame) const {
    const double recorded = (double)(frames[frame].ms - frames[0].ms) / 1000.0 / options.speed;
    return options.flood ? recorded : std::max(recorded, lineFreeAt);
}

int Replayer::run(const volatile std::sig_atomic_t& stop) {
    while (!stop && !lineFailed) {
        const double t = now();
        if (options.closeAfter > 0 && t >= options.closeAfter) {
            line.close();
            if (!options.quiet) std::fprintf(stderr, "plant-sim: line closed after %.3f s\n", t);
            break;
        }
        const bool sending = next < frames.size();
        const bool due = sending && t >= dueAt(next);
        double wait = 0.05;
        if (sending && !due) wait = std::min(wait, dueAt(next) - t);
        if (options.closeAfter > 0) wait = std::min(wait, options.closeAfter - t);
        pollfd fd = {line.masterFd(), (short)(POLLIN | (due ? POLLOUT : 0)), 0};
        timespec pause = {0, (long)(std::max(wait, 0.0) * 1e9)};
        int ready = ppoll(&fd, 1, &pause, nullptr);
        if (ready < 0 && errno != EINTR) lineFailed = true;
        if (ready <= 0) continue;
        if (fd.revents & (POLLERR | POLLNVAL)) lineFailed = true;
        if (fd.revents & POLLIN) receive();
        if (fd.revents & POLLOUT) send(now());
    }
    if (!options.quiet)
        std::fprintf(stderr, "plant-sim: replayed %zu of %zu frames\n", next, frames.size());
    return lineFailed ? 1 : 0;
}

void Replayer::receive() {
    uint8_t buffer[4096];
    ssize_t n = read(line.masterFd(), buffer, sizeof buffer);
    if (n < 0) {
        if (errno != EAGAIN && errno != EINTR) lineFailed = true;
        return;
    }
    if (recordFile.isOpen() && write(recordFile.get(), buffer, (size_t)n) != n)
        std::fprintf(stderr, "plant-sim: record file: %s\n", std::strerror(errno));
}

void Replayer::send(double t) {
    const std::array<uint8_t, 9>& bytes = frames[next].bytes;
    ssize_t n = write(line.masterFd(), bytes.data() + sentOfNext, bytes.size() - sentOfNext);
    if (n < 0) {
        if (errno != EAGAIN && errno != EINTR) lineFailed = true;
        return;
    }
    sentOfNext += (size_t)n;
    if (sentOfNext < bytes.size()) return;
    // Ten bits a byte at the line rate; a line held back does not make up for lost time.
    lineFreeAt = std::max(lineFreeAt, t - 0.01) + (double)bytes.size() * 10.0 / (double)options.rate;
    sentOfNext = 0;
    if (++next == frames.size() && !options.quiet)
        std::fprintf(stderr, "plant-sim: the recording is played (%zu frames); the line stays up\n", next);
}
