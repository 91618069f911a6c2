// Loopback throughput of the TCP stream: bytes written by a client until the server's
// event thread has handed all of them to onRead.
#include "VEK_SYSTEM/SNetworkStreamTcp.h"
#include "VEK_SYSTEM/SSystem.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdint>

namespace {

class CountingServer : public SNetworkStreamTcp {
public:
    ~CountingServer() override { stopEventThread(); }
    void onAccept() override { accepted = acceptClient(); }
    void onRead() override {
        SMem chunk;
        read(chunk);
        received += chunk.getSize();
    }
    std::atomic<bool> accepted{false};
    std::atomic<int64_t> received{0};
};

bool waitFor(const std::atomic<bool>& flag) {
    for (int i = 0; i < 5000 && !flag; ++i) SSystem::sleepMs(1);
    return flag;
}

void StreamThroughput(benchmark::State& state) {
    const int block = (int)state.range(0);
    CountingServer server;
    SNetworkStreamTcp client;
    int port = 0;
    for (int p = 47000; p < 47100 && !port; ++p)
        if (server.createServer(nullptr, p, "127.0.0.1")) port = p;
    if (!port || !server.startEventThread() || !client.createClient(nullptr, port, "127.0.0.1") ||
        !waitFor(server.accepted)) {
        state.SkipWithError("no loopback connection");
        return;
    }
    SMem data(block);
    const int64_t perIteration = 1 << 22; // 4 MB
    int64_t sent = 0;
    for (auto _ : state) {
        for (int64_t n = 0; n < perIteration; n += block) client.write(data);
        sent += perIteration;
        while (server.received.load() < sent) SSystem::sleepMs(0);
    }
    state.SetBytesProcessed(sent);
}
BENCHMARK(StreamThroughput)->Arg(64)->Arg(1000)->Arg(65536)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
