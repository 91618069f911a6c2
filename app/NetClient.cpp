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
    // A host that never answers would otherwise hold the GUI thread in connect for the
    // platform's time-out (some 20 s on Windows).
    connectTimeoutMs = 5000;
}

NetClient::~NetClient() { stopEventThread(); }

void NetClient::setWebServer(const char* host, int toPort) {
    webHost.setRaw(host ? host : "");
    webPort = toPort;
}

// The polling goes on until the address line has come whole, the server has closed or the
// tries are used up: a reply whose header and body arrive in separate reads still yields
// its address.
bool NetClient::queryAddress() {
    if (!createClient(messageWindow, webPort, webHost)) {
        trace("Fehler, keine Verbindung.");
        trace("Ende");
        return false;
    }
    trace("verbunden ", webHost);
    write(AddressQuery::requestText(webHost));
    trace("warten");
    SString reply;
    for (int i = 0; i < webPollTries; ++i) {
        if (!globalApplicationBasic.wait(webPollMs)) break; // the program is ending
        SString chunk = read();
        reply.append(chunk);
        if (replyComplete(reply) || (chunk.isEmpty() && peerHasClosed(reply))) break;
    }
    SString address;
    bool found = !reply.isEmpty() && AddressQuery::addressFromReply(reply, address);
    if (found) {
        ip = address;
        trace("ip:  ", ip);
    }
    close();
    trace("Ende");
    return found;
}

// Nothing came, yet the socket reads as ready: the server has closed (a last read takes
// what may have arrived just now).
bool NetClient::peerHasClosed(SString& reply) {
    if (!waitReadable(currentDataSocket(), 0)) return false;
    SString rest = read();
    reply.append(rest);
    return rest.isEmpty();
}

// The header's empty line, the chunk-size line and the address line, each ended by CR LF.
bool NetClient::replyComplete(const SString& reply) {
    int body;
    if (reply.startsWith("\r\n")) {
        body = 2;
    } else {
        int empty = reply.find("\r\n\r\n");
        if (empty < 0) return false;
        body = empty + 4;
    }
    int sizeEnd = reply.find("\r\n", body);
    return sizeEnd >= 0 && reply.find("\r\n", sizeEnd + 2) >= 0;
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

void NetClient::sendText(uint32_t code, const SString& text) {
    if (isConnected()) write(ProtocolMessage::frame(code, text));
}

void NetClient::sendData(uint32_t code, const SMem& bytes) {
    if (isConnected()) write(ProtocolMessage::frame(code, bytes));
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
        delivery.oversized = result == FrameReassembler::Oversized;
        delivery.length = rxBuffer.getRejectedLength();
        if (!handOver(delivery)) return;
    }
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
    if (delivery->oversized)
        session.rejectFrame(delivery->length);
    else
        session.handleMessage(delivery->message);
    return true;
}
