// NetClient: address query, framing, and the hand-over of server messages to the GUI thread.
#include "app/NetClient.h"

#include "VEK_GUI/SApplicationBasic.h"
#include "VEK_GUI/SMessages.h"
#include "VEK_UTIL/SDebug.h"
#include "app/AddressQuery.h"

namespace {

void trace(const char* text, const SString& value = SString()) {
    SString line;
    line.setRaw(text);
    line.append(value);
    globalDebug.print(line);
}

} // namespace

NetClient::NetClient() {
    // A host that never answers would otherwise hold the connect for the platform's time-out
    // (some 20 s on Windows); the name lookup counts into the same time.
    connectTimeoutMs = 5000;
    // A server that takes nothing is given up on soon; the window answers meanwhile.
    writeStallMs = 2000;
}

NetClient::~NetClient() { stopEventThread(); }

void NetClient::setWebServer(const char* host, int toPort) {
    webHost.setRaw(host ? host : "");
    webPort = toPort;
}

// The polling goes on until the reply holds what is needed (its address line, its whole
// body, or an error status), the server has closed, the reply is past its bound, the tries
// are used up, or the stream was closed meanwhile (the window went).
bool NetClient::queryAddress() {
    if (!createClient(messageWindow, webPort, webHost)) {
        trace("Fehler, keine Verbindung.");
        trace("Ende");
        return false;
    }
    const unsigned closesAtStart = closeCount();
    trace("verbunden ", webHost);
    write(AddressQuery::requestText(webHost));
    trace("warten");
    SMem reply;
    bool ended = false;
    for (int i = 0; i < webPollTries; ++i) {
        if (!globalApplicationBasic.wait(webPollMs) || closeCount() != closesAtStart) break;
        SMem chunk;
        readAtMost(chunk, AddressQuery::replyLimit + 1 - reply.getSize());
        reply.append(chunk);
        ended = peerHasEnded();
        if (reply.getSize() > AddressQuery::replyLimit) break;
        if (AddressQuery::replyComplete((const char*)reply.getData(), reply.getSize(), ended)) break;
    }
    const bool closedMeanwhile = closeCount() != closesAtStart;
    SString address;
    bool found = !closedMeanwhile && reply.getSize() <= AddressQuery::replyLimit &&
                 AddressQuery::addressFromReply((const char*)reply.getData(), reply.getSize(), ended, address);
    if (found) {
        ip = address;
        trace("ip:  ", ip);
    }
    if (!closedMeanwhile) close();
    trace("Ende");
    return found;
}

bool NetClient::connectExperiment(int experimentPort) {
    if (isConnected()) return createClient(nullptr, experimentPort, ip); // refused, the connection stays
    wait(); // a loop still ending after close; it may be handing over a last message
    rxBuffer.reset();
    ++connection;
    if (!createClient(nullptr, experimentPort, ip)) return false;
    if (startEventThread()) return true;
    close();
    return false;
}

// Disconnected first, then a new number: a read that starts in between sees the stream
// closed, one that started before carries the old number, and neither is delivered.
void NetClient::close() {
    SNetworkStreamTcp::close();
    ++connection;
}

void NetClient::sendText(uint32_t code, const SString& text) { send(ProtocolMessage::frame(code, text)); }

void NetClient::sendData(uint32_t code, const SMem& bytes) { send(ProtocolMessage::frame(code, bytes)); }

// A send that waits for room dispatches messages, and a handler may send in between (a mix
// button, or a new connection's first command after the window was closed meanwhile): its
// frame waits in line, or it would land inside this one's bytes.
void NetClient::send(const SMem& frame) {
    if (!isConnected()) return;
    outgoing.push_back({connection.load(), frame});
    if (sending) return;
    sending = true;
    while (!outgoing.empty()) {
        Outgoing next = std::move(outgoing.front());
        outgoing.pop_front();
        // A connection closed meanwhile (the window, or the server's end already reported)
        // takes its frames with it; that is no send that failed.
        if (next.connection != connection.load() || write(next.frame) || next.connection != connection.load())
            continue;
        NetDelivery failure;
        failure.client = this;
        failure.connection = next.connection;
        failure.kind = NetDelivery::SendFailed;
        handOver(failure);
        // Part of a frame may have gone out: the connection is out of step for good.
        if (next.connection == connection.load()) close();
    }
    sending = false;
}

// Event thread: whatever this read brought; an incomplete frame waits for the next read.
void NetClient::onRead() {
    NetDelivery delivery;
    delivery.client = this;
    delivery.connection = connection.load();
    SMem bytes;
    read(bytes);
    if (!isConnected() || !messageWindow) return; // nobody to apply it to
    rxBuffer.append(bytes);
    for (;;) {
        FrameReassembler::Result result = rxBuffer.next(delivery.message);
        if (result == FrameReassembler::Incomplete) return;
        delivery.kind = result == FrameReassembler::Oversized ? NetDelivery::Oversized : NetDelivery::Message;
        delivery.length = rxBuffer.getRejectedLength();
        if (!handOver(delivery)) return;
    }
}

// Event thread: the server has closed. What it sent before still counts; a frame it left
// unfinished is dropped with the connection. Reported once (Wine may report a close twice).
void NetClient::onCloseEvent() {
    onRead();
    NetDelivery closed;
    closed.client = this;
    closed.connection = connection.load();
    closed.kind = NetDelivery::Closed;
    if (!isConnected() || closeHandedOver.exchange(closed.connection) == closed.connection) return;
    handOver(closed);
}

// The GUI thread keeps dispatching while it waits; the event thread never does.
bool NetClient::waitWhileBusy(Socket s, int ms) {
    if (isCurrentThread()) return SNetworkStreamTcp::waitWhileBusy(s, ms);
    return globalApplicationBasic.wait((unsigned)ms);
}

// Synchronous: the next message is cut only after the GUI thread has applied this one.
bool NetClient::handOver(NetDelivery& delivery) {
    if (!messageWindow || connection.load() != delivery.connection) return false;
    SendMessageA(messageWindow, MSG_NET_MESSAGE, 0, reinterpret_cast<LPARAM>(&delivery));
    return true;
}

bool NetClient::deliver(LPARAM lParam, ExperimentSession& session) const {
    const NetDelivery* delivery = reinterpret_cast<const NetDelivery*>(lParam);
    if (!delivery || delivery->client != this || delivery->connection != connection.load()) return false;
    switch (delivery->kind) {
    case NetDelivery::Message: session.handleMessage(delivery->message); break;
    case NetDelivery::Oversized: session.rejectFrame(delivery->length); break;
    case NetDelivery::Closed: session.connectionLost(); break;
    case NetDelivery::SendFailed: session.sendFailed(); break;
    }
    return true;
}
