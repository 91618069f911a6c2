// NetClient: the experiment client. The same stream first asks the web server for the
// experiment server's address, then carries the experiment connection.
//
// Server messages are cut on the event thread and handed to the GUI thread one at a time,
// in arrival order, each as one MSG_NET_MESSAGE sent to the message window; that window
// passes the message to deliver(), so the session, its buttons, the protocol view and the
// decoder are only ever touched on the GUI thread. The end of the connection and a send
// that gave up reach the session the same way.
//
// Nothing here blocks the GUI thread on the network: the name lookup, the connect and a
// send that waits for room dispatch the thread's messages while they wait.
#pragma once

#include "VEK_SYSTEM/SNetworkStreamTcp.h"
#include "app/ExperimentSession.h"
#include "app/FrameReassembler.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <deque>

class NetClient;

// What MSG_NET_MESSAGE carries in lParam. Valid only while the message is being handled.
struct NetDelivery {
    enum Kind {
        Message,   // a complete server message
        Oversized, // a frame of `length` bytes the client refused to hold
        Closed,    // the server closed the connection
        SendFailed // a send gave up: the server takes nothing
    };
    const NetClient* client = nullptr;
    unsigned connection = 0; // the connection it came from; older ones are dropped
    Kind kind = Message;
    uint32_t length = 0;
    ProtocolMessage message;
};

class NetClient : public SNetworkStreamTcp {
public:
    static constexpr int webPollTries = 50;
    static constexpr int webPollMs = 100;

    NetClient();
    ~NetClient() override;
    const char* getClassName() const override { return "NetClient"; }

    // The window that receives the server messages (and the socket notifications of the
    // address query); it lives on the GUI thread.
    void setMessageWindow(HWND window) { messageWindow = window; }
    void setWebServer(const char* host, int webPort);

    // Asks the web server for the experiment server's address and keeps it in ip. Runs on
    // the GUI thread and dispatches its messages meanwhile (about 5 s at most); a close()
    // meanwhile ends it.
    bool queryAddress();
    const SString& getIp() const { return ip; }
    // An address known without asking (benchmarks, a fixed laboratory address).
    void setIp(const char* address) { ip.setRaw(address ? address : ""); }
    // After a failed connect: the next one asks the web server again.
    void forgetIp() { ip.clear(); }

    // createClient to ip and the event thread. A connected stream stays as it is and the
    // call fails with the stream's error text.
    bool connectExperiment(int experimentPort);
    void close() override;

    // Frame and send one message; nothing happens when the stream is not connected. A send
    // that gives up is handed to the session (SendFailed). A send asked for while another
    // waits for room goes out after it.
    void sendText(uint32_t code, const SString& text);
    void sendData(uint32_t code, const SMem& bytes);

    // GUI thread: applies one MSG_NET_MESSAGE to the session. False when it is not this
    // client's or belongs to a connection that has been closed since.
    bool deliver(LPARAM delivery, ExperimentSession& session) const;

protected:
    void onRead() override;
    void onCloseEvent() override;
    bool waitWhileBusy(Socket s, int ms) override;

private:
    bool handOver(NetDelivery& delivery);
    void send(const SMem& frame);

    SString ip;
    FrameReassembler rxBuffer; // event thread only, reset before each connection
    HWND messageWindow = nullptr;
    SString webHost = "localhost";
    int webPort = 80;
    std::atomic<unsigned> connection{0};
    std::atomic<unsigned> closeHandedOver{0}; // the connection whose end was handed over
    struct Outgoing {
        unsigned connection;
        SMem frame;
    };
    std::deque<Outgoing> outgoing; // GUI thread: frames waiting for a send under way
    bool sending = false;
};
