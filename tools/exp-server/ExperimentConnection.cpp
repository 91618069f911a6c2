// ExperimentConnection: the server side of an experiment session.
#include "tools/exp-server/ExperimentConnection.h"

#include <cctype>
#include <cstdio>

namespace {

std::string textOf(const SMem& payload) {
    return std::string(reinterpret_cast<const char*>(payload.getData()), (size_t)payload.getSize());
}

// The value after `key` up to `end` (or the end of the text).
std::string field(const std::string& text, const std::string& key, const char* end) {
    size_t at = text.find(key);
    if (at == std::string::npos) return std::string();
    at += key.size();
    size_t stop = end ? text.find(end, at) : std::string::npos;
    return text.substr(at, stop == std::string::npos ? std::string::npos : stop - at);
}

bool sixDigits(const std::string& text) {
    if (text.size() != 6) return false;
    for (char c : text)
        if (!std::isdigit((unsigned char)c)) return false;
    return true;
}

} // namespace

std::string ExperimentConnection::admissionReply(const std::string& command, std::string& matrikel) {
    if (command.rfind("connect|", 0) != 0) return "disabled|Bitte melden Sie sich zuerst an.";
    std::string number = field(command, "matrikel=", ";");
    std::string name = field(command, ";name=", nullptr); // the name is last and may hold ';'
    if (!sixDigits(number)) return "disabled|Die Matrikelnummer muss aus sechs Ziffern bestehen.";
    if (name.empty()) return "disabled|Der Name fehlt.";
    matrikel = number;
    return "connected|Willkommen, " + name + "! Sie sind zum Experiment zugelassen.";
}

// A deaf server leaves what comes in the socket, so the client's sends run full.
void ExperimentConnection::onRead() {
    if (deaf) return;
    SMem bytes;
    read(bytes);
    std::lock_guard<std::mutex> hold(lock);
    rx.append(bytes);
    ProtocolMessage message;
    for (;;) {
        FrameReassembler::Result result = rx.next(message);
        if (result == FrameReassembler::Incomplete) return;
        if (result == FrameReassembler::Oversized) {
            record.note(number, "frame of " + std::to_string(rx.getRejectedLength()) + " bytes refused, closed");
            return end();
        }
        record.frame(number, message);
        handle(message);
    }
}

void ExperimentConnection::handle(const ProtocolMessage& message) {
    if (phase == AwaitingAdmission) {
        std::string reply = "disabled|Bitte melden Sie sich zuerst an.";
        if (options.refuse) reply = "disabled|Das Experiment ist zur Zeit gesperrt.";
        else if (message.code == ProtocolMessage::Status) reply = admissionReply(textOf(message.payload), matrikel);
        if (reply.rfind("connected|", 0) == 0) phase = Admitted;
        return script(ProtocolMessage::Status, reply);
    }
    switch (message.code) {
    case ProtocolMessage::Status: return onCommand(textOf(message.payload));
    case ProtocolMessage::Upload: return onFirmware(message.payload);
    case ProtocolMessage::Data: return onData(message.payload);
    default: return; // recorded, nothing else
    }
}

void ExperimentConnection::onCommand(const std::string& command) {
    if (command == "start" && phase == Ready) {
        phase = Running;
        nextTelemetry = Clock::now();
        return script(ProtocolMessage::Status, "started|Experiment gestartet");
    }
    if (command == "finish" && phase == Running) {
        phase = Ready;
        return script(ProtocolMessage::Status, "finished|Experiment beendet");
    }
    if (command == "start" || command == "finish")
        return script(ProtocolMessage::Status, "error|Das ist im Moment nicht m\366glich.");
    script(ProtocolMessage::Status, "error|Unbekannter Befehl: " + command);
}

// The client shows progress texts before "uploaded" as dots, those after it as lines.
void ExperimentConnection::onFirmware(const SMem& firmware) {
    if (phase == Running) return script(ProtocolMessage::Status, "error|Das Experiment l\344uft noch.");
    const int size = firmware.getSize();
    for (int i = 1; i <= 3 && size > 0; ++i)
        script(ProtocolMessage::Progress, "empfangen|Block " + std::to_string(i) + " von 3");
    script(ProtocolMessage::Status, "uploaded|Firmware empfangen (" + std::to_string(size) + " Bytes)");
    if (size == 0) return script(ProtocolMessage::Status, "error|Die Firmware-Datei ist leer.");

    std::string path = options.store + "/Steuerung_" + matrikel + ".bin";
    FILE* file = std::fopen(path.c_str(), "wb");
    bool stored = file && std::fwrite(firmware.getData(), 1, (size_t)size, file) == (size_t)size;
    if (file && std::fclose(file) != 0) stored = false;
    if (!stored) return script(ProtocolMessage::Status, "error|Die Firmware konnte nicht gespeichert werden.");
    record.note(number, "firmware stored as " + path);

    for (int i = 1; i <= 4; ++i)
        script(ProtocolMessage::Progress, "programmieren|Seite " + std::to_string(i) + " von 4 programmiert");
    script(ProtocolMessage::Status, "burned|Steuerung programmiert");
    phase = Ready;
}

// Mix commands are byte pairs; a pair may be split across frames.
void ExperimentConnection::onData(const SMem& bytes) {
    if (phase != Running) return;
    for (int i = 0; i < bytes.getSize(); ++i) {
        if (pendingMixByte < 0) {
            pendingMixByte = bytes.getAt(i);
            continue;
        }
        model.applyMixCommand((uint8_t)pendingMixByte, bytes.getAt(i));
        pendingMixByte = -1;
    }
}

void ExperimentConnection::script(uint32_t code, const std::string& text) {
    if (scripted.empty()) nextScripted = Clock::now();
    scripted.push_back({code, text});
}

void ExperimentConnection::tick() {
    std::lock_guard<std::mutex> hold(lock);
    Clock::time_point now = Clock::now();
    if (!scripted.empty() && now >= nextScripted) {
        Scripted next = scripted.front();
        scripted.pop_front();
        sendText(next.code, next.text);
        nextScripted = now + std::chrono::milliseconds(options.stepMs);
        return;
    }
    // Telemetry waits until "started" is out, or the client would drop it.
    if (phase == Running && scripted.empty()) sendTelemetry(now);
}

void ExperimentConnection::sendTelemetry(Clock::time_point now) {
    const auto period = std::chrono::milliseconds(options.telemetryMs);
    if (now - nextTelemetry > 10 * period) nextTelemetry = now; // after a stall: no burst
    while (now >= nextTelemetry && !silent && phase == Running) {
        model.advance(options.telemetryMs / 1000.0);
        std::array<uint8_t, 9> frame = model.telemetryFrame();
        send(ProtocolMessage::frame(ProtocolMessage::Data, frame.data(), (int)frame.size()));
        // Noted as sent, for tests that compare what the client made of the relay.
        if (!silent) record.note(number, "sent " + FrameRecord::describe({ProtocolMessage::Data, SMem(frame.data(), 9)}));
        nextTelemetry += period;
    }
}

void ExperimentConnection::sendText(uint32_t code, const std::string& text) {
    send(ProtocolMessage::frame(code, text.data(), (int)text.size()));
}

void ExperimentConnection::send(const SMem& frame) {
    ++framesSent;
    if (silent) return;
    bool ok;
    if (framesSent == options.garbageAt) {
        SMem garbage;
        uint32_t seed = 0x2545F491u;
        for (int i = 0; i < 64; ++i) {
            seed = seed * 1664525u + 1013904223u;
            unsigned char b = (unsigned char)(seed >> 24);
            garbage.append(&b, 1);
        }
        ok = write(garbage);
    } else if (framesSent == options.hugeAt) {
        const unsigned char header[] = {'S', 0, 0, 0, 0xF0, 0xFF, 0xFF, 0xFF};
        ok = write(SMem(header, sizeof header));
        silent = true;
    } else if (framesSent == options.stallAt || framesSent == options.closeAt) {
        ok = write(frame.copy(0, frame.getSize() / 2));
        silent = true;
        if (framesSent == options.closeAt) return end();
    } else {
        ok = write(frame);
    }
    if (framesSent == options.deafAt) deaf = true;
    if (!ok) end();
}

void ExperimentConnection::end() {
    silent = true;
    scripted.clear();
    close();
    finish();
}
