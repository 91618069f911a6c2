// ExperimentConnection: one experiment session as the laboratory's server runs it:
// admission, firmware upload and (pretended) programming, start, the plant's telemetry as
// 'D' frames from the tank model, the client's mix commands into it, finish.
#pragma once

#include "app/FrameReassembler.h"
#include "tools/exp-server/Connection.h"
#include "tools/exp-server/FrameRecord.h"
#include "tools/exp-server/ServerOptions.h"
#include "tools/plant-model/TankModel.h"

#include <atomic>
#include <chrono>
#include <deque>
#include <mutex>
#include <string>

class ExperimentConnection : public Connection {
public:
    ExperimentConnection(const ServerOptions& options, FrameRecord& record, int number)
        : options(options), record(record), number(number) {}
    ~ExperimentConnection() override { stopEventThread(); }
    const char* getClassName() const override { return "ExperimentConnection"; }

    void tick() override;

    // The reply to "connect|matrikel=…;name=…": "connected|…" or "disabled|<reason>".
    static std::string admissionReply(const std::string& command, std::string& matrikel);

protected:
    void onRead() override;

private:
    using Clock = std::chrono::steady_clock;
    enum Phase { AwaitingAdmission, Admitted, Ready, Running };
    struct Scripted {
        uint32_t code;
        std::string text;
    };

    void handle(const ProtocolMessage& message);
    void onCommand(const std::string& command);
    void onFirmware(const SMem& firmware);
    void onData(const SMem& bytes);
    void script(uint32_t code, const std::string& text);
    void sendText(uint32_t code, const std::string& text);
    void send(const SMem& frame);
    void sendTelemetry(Clock::time_point now);
    void end();

    const ServerOptions& options;
    FrameRecord& record;
    const int number;

    std::mutex lock; // the event thread reads, the main thread ticks; both send
    FrameReassembler rx;
    Phase phase = AwaitingAdmission;
    std::string matrikel;
    TankModel model;
    int pendingMixByte = -1; // first byte of a command split across 'D' frames
    std::deque<Scripted> scripted;
    Clock::time_point nextScripted;
    Clock::time_point nextTelemetry;
    int framesSent = 0;
    bool silent = false;
    std::atomic<bool> deaf{false}; // set by a send, read by the event thread
};
