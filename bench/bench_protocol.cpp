// Experiment protocol: 'D' frames (one nine-byte telemetry frame each) cut from a byte
// stream and applied through the session to the telemetry decoder, in memory and over a
// loopback connection of the library's TCP stream (the event thread applies them here;
// the program hands each to the GUI thread, which costs a cross-thread message more).
#include "VEK_SYSTEM/SNetworkStreamTcp.h"
#include "VEK_SYSTEM/SSystem.h"
#include "app/ExperimentSession.h"
#include "app/FrameReassembler.h"
#include "app/TelemetryDecoder.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdint>

namespace {

class CountingPlant : public TelemetryEffects {
public:
    std::atomic<int64_t> frames{0};
    void showLevel(const SString&, int) override { ++frames; }
    void setStatusText(const SString&) override {}
    void setPump1(float) override {}
    void setPump2(float) override {}
    void setRatio1Text(const SString&) override {}
    void setRatio2Text(const SString&) override {}
    void repaintPump1() override {}
    void repaintPump2() override {}
};

// Reassembler, session and decoder as the client joins them.
class Receiver : public ExperimentEffects {
public:
    Receiver() : session(*this), decoder(plant) { session.setState(ExperimentSession::Running); }
    void append(const SString&) override {}
    void enableButton(Button, bool) override {}
    void feedTelemetry(unsigned char b) override { decoder.onReceiveByte(b); }
    void debugLine(const SString&) override {}
    void closeStream() override {}
    void saveProtocol(const SMem&) override {}

    void receive(const SMem& bytes) {
        rx.append(bytes);
        ProtocolMessage m;
        while (rx.next(m) == FrameReassembler::Complete) {
            session.handleMessage(m);
            decoder.onTimer();
        }
    }

    FrameReassembler rx;
    ExperimentSession session;
    CountingPlant plant;
    TelemetryDecoder decoder;
};

SMem telemetryFrames(int count) {
    const unsigned char telemetry[] = {0x55, 0xAA, 0x10, 0x80, 0, 100, 0, 1, 2};
    SMem all;
    for (int i = 0; i < count; ++i) all.append(ProtocolMessage::frame('D', telemetry, sizeof telemetry));
    return all;
}

void ProtocolInMemory(benchmark::State& state) {
    const SMem stream = telemetryFrames(10000);
    Receiver receiver;
    for (auto _ : state)
        for (int at = 0; at < stream.getSize(); at += 1000) receiver.receive(stream.copy(at, 1000));
    state.SetItemsProcessed(receiver.plant.frames.load());
}
BENCHMARK(ProtocolInMemory)->Unit(benchmark::kMillisecond);

class ClientStream : public SNetworkStreamTcp {
public:
    ~ClientStream() override { stopEventThread(); }
    void onRead() override {
        SMem bytes;
        read(bytes);
        receiver.receive(bytes);
    }
    Receiver receiver;
};

class ServerStream : public SNetworkStreamTcp {
public:
    ~ServerStream() override { stopEventThread(); }
    void onAccept() override { accepted = acceptClient(); }
    std::atomic<bool> accepted{false};
};

void ProtocolOverLoopback(benchmark::State& state) {
    const int perWrite = (int)state.range(0);
    ServerStream server;
    ClientStream client;
    int port = 0;
    for (int p = 47100; p < 47200 && !port; ++p)
        if (server.createServer(nullptr, p, "127.0.0.1")) port = p;
    if (!port || !server.startEventThread() || !client.createClient(nullptr, port, "127.0.0.1") ||
        !client.startEventThread()) {
        state.SkipWithError("no loopback connection");
        return;
    }
    for (int i = 0; i < 5000 && !server.accepted; ++i) SSystem::sleepMs(1);
    const SMem burst = telemetryFrames(perWrite);
    int64_t sent = 0;
    for (auto _ : state) {
        for (int n = 0; n < 10000; n += perWrite) server.write(burst);
        sent += (10000 + perWrite - 1) / perWrite * perWrite;
        uint32_t start = SSystem::tickMs();
        while (client.receiver.plant.frames.load() < sent && SSystem::tickMs() - start < 5000) SSystem::sleepMs(0);
        if (client.receiver.plant.frames.load() != sent) return state.SkipWithError("frames lost or doubled");
    }
    state.SetItemsProcessed(sent);
}
BENCHMARK(ProtocolOverLoopback)->Arg(1)->Arg(100)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
