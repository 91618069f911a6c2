// ExperimentSession: the state table of the server messages.
#include "app/ExperimentSession.h"

ExperimentSession::Reply ExperimentSession::parseReply(const SMem& payload) {
    Reply reply;
    reply.display = ProtocolMessage::textOf(payload);
    reply.word = reply.display.cutFirst("|");
    return reply;
}

void ExperimentSession::logReply(const Reply& reply) {
    SString line(reply.display);
    line.append("\r\n");
    effects.append(line);
}

void ExperimentSession::handleMessage(uint32_t code, const SMem& payload) {
    Reply reply = parseReply(payload);
    if (state == Connecting) onConnecting(code, reply);
    if (state == Uploading) onUploading(reply);
    if (state == Programming) onProgramming(code, reply);
    if (state == Ready) onReady(reply);
    if (state == Running) onRunning(code, payload);
    if (state == Finishing) onFinishing(code, payload, reply);
    if (state == ProtocolTransfer) onProtocolTransfer(code, payload);
    if (state == Idle) onIdle();
}

void ExperimentSession::onConnecting(uint32_t code, const Reply& reply) {
    if (code == ProtocolMessage::Status && reply.word == "connected") {
        logReply(reply);
        state = Connected;
        enable(ExperimentEffects::Upload);
        disable(ExperimentEffects::Verbinden);
        return;
    }
    if (code == ProtocolMessage::Status && reply.word == "disabled") {
        logReply(reply);
    } else {
        SString line("Verbindungsaufbau fehlgeschlagen (");
        line.append((char)(code & 0xFF)).append(")\r\n");
        effects.append(line);
    }
    effects.closeStream();
    state = Idle;
}

void ExperimentSession::onUploading(const Reply& reply) {
    if (reply.word != "uploaded") {
        effects.append(SString("."));
        return;
    }
    logReply(reply);
    state = Programming;
}

void ExperimentSession::onProgramming(uint32_t code, const Reply& reply) {
    if (code == ProtocolMessage::Progress) {
        logReply(reply);
    } else if (reply.word == "error") {
        logReply(reply);
        state = Connected; // the upload may be repeated
    } else if (reply.word == "burned") {
        logReply(reply);
        state = Ready;
        disable(ExperimentEffects::Upload);
        enable(ExperimentEffects::Start);
    }
}

void ExperimentSession::onReady(const Reply& reply) {
    if (reply.word != "started") return;
    logReply(reply);
    state = Running;
    disable(ExperimentEffects::Start);
    enable(ExperimentEffects::Fertig);
}

void ExperimentSession::onRunning(uint32_t code, const SMem& payload) {
    if (code != ProtocolMessage::Data) return;
    for (int i = 0; i < payload.getSize(); ++i) effects.feedTelemetry(payload.getData()[i]);
}

// "finished" passes through ProtocolTransfer to Ready within the same message, so the
// protocol transfer below is never entered by the present workflow.
void ExperimentSession::onFinishing(uint32_t code, const SMem& payload, const Reply& reply) {
    // The run lasts until the server says it finished: what it relays meanwhile is the run's,
    // shown and recorded like the rest.
    if (code == ProtocolMessage::Data) return onRunning(code, payload);
    if (reply.word != "finished") return;
    logReply(reply);
    state = ProtocolTransfer;
    state = Ready;
    enable(ExperimentEffects::Start);
    disable(ExperimentEffects::Fertig);
}

void ExperimentSession::onProtocolTransfer(uint32_t code, const SMem& payload) {
    if (code != ProtocolMessage::Protocol) return;
    effects.saveProtocol(payload);
    effects.closeStream();
    state = Idle;
}

void ExperimentSession::onIdle() {
    enable(ExperimentEffects::Verbinden);
    disable(ExperimentEffects::Upload);
    disable(ExperimentEffects::Start);
    disable(ExperimentEffects::Fertig);
}

void ExperimentSession::rejectFrame(uint32_t length) {
    SString line;
    line.format("Verbindung getrennt: Nachricht mit %u Bytes ist zu lang.\r\n", (unsigned)length);
    SString trace;
    trace.format("Nachricht mit L\344nge %u abgelehnt, Verbindung geschlossen.", (unsigned)length);
    endSession(line, trace);
}

// A connection that ended under the session must not leave it waiting for a reply that
// cannot come: the student reads why, and the buttons are those of a new session.
void ExperimentSession::connectionLost() {
    if (state == Idle) return effects.closeStream();
    endSession(SString("Verbindung zum Experiment-Server getrennt.\r\n"), SString("Verbindung vom Server beendet."));
}

void ExperimentSession::sendFailed() {
    if (state == Idle) return effects.closeStream();
    effects.append(SString("Senden abgebrochen: Der Experiment-Server nimmt keine Daten an.\r\n"));
    endSession(SString("Verbindung zum Experiment-Server getrennt.\r\n"),
               SString("Senden abgebrochen, Verbindung geschlossen."));
}

void ExperimentSession::endSession(const SString& line, const SString& trace) {
    effects.append(line);
    effects.debugLine(trace);
    effects.closeStream();
    state = Idle;
    onIdle();
}
