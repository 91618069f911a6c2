// exp-server: a local stand-in for the laboratory's experiment web server (address query)
// and experiment server, with misbehaviours on request. See --help.
#include "tools/exp-server/ExperimentConnection.h"
#include "tools/exp-server/Listener.h"
#include "tools/exp-server/WebConnection.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <thread>

namespace {

volatile std::sig_atomic_t stopping = 0;

void onSignal(int) { stopping = 1; }

} // namespace

int main(int argc, char** argv) {
    ServerOptions options;
    int exitCode = 0;
    if (!options.parse(argc, argv, exitCode)) return exitCode;
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    std::signal(SIGPIPE, SIG_IGN);

    FrameRecord record;
    if (!record.open(options.record)) {
        std::fprintf(stderr, "exp-server: cannot write %s\n", options.record.c_str());
        return 1;
    }
    std::atomic<int> sessions{0};
    Listener web([&options] { return std::make_unique<WebConnection>(options); });
    Listener experiment([&] { return std::make_unique<ExperimentConnection>(options, record, ++sessions); });
    for (auto [listener, port] : {std::pair{&web, options.webPort}, std::pair{&experiment, options.port}}) {
        if (listener->start(port)) continue;
        std::fprintf(stderr, "exp-server: port %d: %s\n", port, listener->getErrorText().getBuffer());
        return 1;
    }
    // The first line of output names the ports (tests start the server on free ones).
    std::printf("exp-server: web 127.0.0.1:%d, experiment 127.0.0.1:%d\n", web.boundPort(), experiment.boundPort());
    std::fflush(stdout);
    while (!stopping) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        web.tick();
        experiment.tick();
    }
    return 0;
}
