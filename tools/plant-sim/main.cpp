// plant-sim: the mixing-tank plant controller on a pseudo-terminal, for running and
// testing the program without hardware. See --help.
#include "tools/plant-sim/DosDeviceLink.h"
#include "tools/plant-sim/PtyLine.h"
#include "tools/plant-sim/ReplayFile.h"
#include "tools/plant-sim/Replayer.h"
#include "tools/plant-sim/SimOptions.h"
#include "tools/plant-sim/Simulator.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <mutex>
#include <pthread.h>
#include <thread>

namespace {

volatile std::sig_atomic_t stopping = 0;

void onSignal(int) { stopping = 1; }

// Without SA_RESTART, so that a waiting poll returns at once.
void catchStopSignals() {
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    signal(SIGPIPE, SIG_IGN);
}

} // namespace

int main(int argc, char** argv) {
    SimOptions options;
    int parsed = parseSimOptions(argc, argv, options);
    if (parsed) return parsed == 1 ? 0 : 2;
    // A recording to replay is read whole first: a bad one is refused before any line exists.
    ReplayFile recording;
    if (!options.replay.empty() && !recording.load(options.replay)) {
        std::fprintf(stderr, "plant-sim: %s\n", recording.error().c_str());
        return 2;
    }

    catchStopSignals();
    PtyLine line;
    if (!line.isOpen()) {
        std::fprintf(stderr, "plant-sim: no pseudo-terminal: %s\n", line.errorText().c_str());
        return 1;
    }
    DosDeviceLink link;
    if (!options.prefix.empty()) {
        if (!link.create(options.prefix, options.port, line.slavePath())) {
            std::fprintf(stderr, "plant-sim: cannot link the port: %s\n", link.errorText().c_str());
            return 1;
        }
        if (!options.quiet) std::fprintf(stderr, "plant-sim: %s -> %s\n", link.linkPath().c_str(),
                                         line.slavePath().c_str());
    }
    Simulator simulator(options, line);
    Replayer replayer(options, line, recording.frames());
    if (!(options.replay.empty() ? simulator.prepare() : replayer.prepare())) return 1;
    std::mutex linkLock; // the keeper below and a dropped line both change the link
    if (!options.prefix.empty())
        simulator.setLinkHooks(
            [&] {
                std::lock_guard<std::mutex> hold(linkLock);
                link.remove();
            },
            [&](const std::string& path) {
                std::lock_guard<std::mutex> hold(linkLock);
                if (link.create(options.prefix, options.port, path)) return true;
                std::fprintf(stderr, "plant-sim: cannot link the port: %s\n", link.errorText().c_str());
                return false;
            });
    std::printf("%s\n", line.slavePath().c_str());
    std::fflush(stdout);
    // Wine's services may start after the link was made and point the port elsewhere.
    // The stop signals stay with the main thread, whose wait they must cut short.
    std::atomic<bool> done{false};
    sigset_t all, previous;
    sigfillset(&all);
    pthread_sigmask(SIG_BLOCK, &all, &previous);
    std::thread keeper([&] {
        while (!done && !options.prefix.empty()) {
            {
                std::lock_guard<std::mutex> hold(linkLock);
                if (link.reclaim() && !options.quiet)
                    std::fprintf(stderr, "plant-sim: %s taken back from Wine's mount manager\n",
                                 link.linkPath().c_str());
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    });
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    const int result = options.replay.empty() ? simulator.run(stopping) : replayer.run(stopping);
    done = true;
    keeper.join();
    return result;
}
