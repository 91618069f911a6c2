// ExperimentSession: the session state of the remote experiment and what each server
// message does to it. It runs on one thread (the GUI thread): the network client hands
// it each complete message, in arrival order.
#pragma once

#include "app/ExperimentEffects.h"
#include "app/ProtocolMessage.h"

#include <cstdint>

class ExperimentSession {
public:
    // The numbers follow the course of an experiment.
    enum State {
        Idle = 0,
        Connecting = 40,
        Connected = 50,
        Uploading = 60,
        Programming = 70,
        Ready = 100,
        Running = 150,
        Finishing = 190,
        ProtocolTransfer = 200
    };

    explicit ExperimentSession(ExperimentEffects& effects) : effects(effects) {}

    int getState() const { return state; }
    void setState(int newState) { state = newState; }

    // Every block sees the state the blocks before it left; the Idle block runs last.
    void handleMessage(uint32_t code, const SMem& payload);
    void handleMessage(const ProtocolMessage& message) { handleMessage(message.code, message.payload); }
    // The server announced a frame the client cannot hold: the session ends.
    void rejectFrame(uint32_t length);
    // The server closed the connection: said in the view, and the session ends (in Idle
    // there is nothing to end).
    void connectionLost();
    // A send gave up because the server takes nothing: said in the view, the session ends.
    void sendFailed();

private:
    // A reply text: the word before the first "|", the display text after it.
    struct Reply {
        SString word;
        SString display;
    };
    static Reply parseReply(const SMem& payload);

    void onConnecting(uint32_t code, const Reply& reply);
    void onUploading(const Reply& reply);
    void onProgramming(uint32_t code, const Reply& reply);
    void onReady(const Reply& reply);
    void onRunning(uint32_t code, const SMem& payload);
    void onFinishing(uint32_t code, const SMem& payload, const Reply& reply);
    void onProtocolTransfer(uint32_t code, const SMem& payload);
    void onIdle();

    void logReply(const Reply& reply);
    void endSession(const SString& line, const SString& trace);
    void enable(ExperimentEffects::Button button) { effects.enableButton(button, true); }
    void disable(ExperimentEffects::Button button) { effects.enableButton(button, false); }

    ExperimentEffects& effects;
    int state = Idle;
};
