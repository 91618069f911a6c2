// SNetworkStream: a network connection in the client or the server role, with an event
// thread that waits for socket events and calls the virtual handlers. The transport
// (SNetworkStreamTcp) supplies connecting, listening, reading and writing.
//
// Threads: the handlers run on the event thread; close, write and the create operations
// come from the owner's thread (write also from the handlers). Socket handles are
// guarded by a small lock that is never held across a blocking call, and a socket that
// the event thread may still be using is shut down at once but closed by that thread when
// its loop ends, so its handle cannot be reused underneath it.
//
// A subclass whose handlers use its own members should call stopEventThread() in its
// destructor: the base destructor does the same, but only after the subclass is gone.
#pragma once

#include "VEK_SYSTEM/SMem.h"
#include "VEK_SYSTEM/SThread.h"
#include "VEK_UTIL/SString.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

class SNetworkStream : public SThread {
public:
    using Socket = std::intptr_t;
    static constexpr Socket noSocket = -1;

    SNetworkStream();
    ~SNetworkStream() override;
    const char* getClassName() const override { return "SNetworkStream"; }

    void onWorkTread() override; // the event loop
    void onThreadEnd() override; // withdraws the event selection, releases the event
    virtual void close();
    virtual bool connectSocket() { return false; }
    virtual bool startListening() { return false; }
    virtual SString read() { return SString(); }
    virtual bool write(const SString&) { return false; }
    virtual void onRead() {}
    virtual void onWrite() {}
    virtual void onAccept() {}
    virtual void onCloseEvent() {}
    virtual bool write(const SMem&) { return false; }
    virtual bool read(SMem& target) {
        target.clear();
        return false;
    }

    bool createClient(void* notifyWindow, int port, const char* host);
    bool createServer(void* notifyWindow, int port, const char* bindAddress);
    bool acceptClient();
    bool startEventThread();
    // close(), then wait for the event loop to end.
    void stopEventThread();

    bool isConnected() const { return connected.load() != 0; }
    bool isConnectedTo(const char* otherHost, int otherPort) const;
    bool isServerRole() const { return isServer != 0; }
    bool hasSocket() const;
    SString getErrorText() const;
    SString getStatusText() const;
    const SString& getHost() const { return host; }
    int getPort() const { return port; }

protected:
    static constexpr int EVENT_READ = 0x01, EVENT_WRITE = 0x02, EVENT_ACCEPT = 0x08, EVENT_CLOSE = 0x20;

    void setErrorText(const char* text);
    void appendErrorText(const char* text);
    void setStatusText(const char* text);
    void setFailure(const char* error); // errorText and "Fehler..."
    Socket currentDataSocket() const;
    void takeSocket(Socket& field, Socket value); // stores a new handle under the lock

    // Platform helpers shared with the transports.
    static bool startWinsock(SString& error);
    // Starts Winsock once per object; on failure the error text is set and the stream closed.
    bool prepareSockets();
    static unsigned lastSocketError();
    static SString socketErrorText(unsigned code); // never empty
    static void closeSocketHandle(Socket s);
    static bool waitReadable(Socket s, int timeoutMs);
    // Sends every byte, waiting for room on a non-blocking socket (through waitWhileBusy);
    // false on a real error, a stall of writeStallMs, or a close meanwhile.
    bool sendAll(const void* bytes, int count);
    // Sends what the socket takes at once (it must be non-blocking): the byte count, 0 when
    // it is full, -1 on a real error.
    int sendSome(const void* bytes, int count);
    static void makeNonBlocking(Socket s);
    // A connect under way: 1 done, 0 still going, -1 failed with the reason in code.
    static int connectProgress(Socket s, unsigned& code);
    // How a bounded connect or a send waits at most ms on the calling thread: for `s` to
    // take data or finish connecting, or (noSocket) while a name lookup runs elsewhere. By
    // default it blocks; an owner with windows dispatches their messages instead, so they
    // keep answering. False gives the operation up.
    virtual bool waitWhileBusy(Socket s, int ms);
    // How often close() has run: an operation that waited sees a close made meanwhile (by a
    // handler its waiting dispatched), after which its socket is no longer its own.
    unsigned closeCount() const { return closes.load(); }
    bool peerHasEnded() const { return endOfStream.load(); }
    void rearmRead() { readArmed = true; }
    void noteEndOfStream() { endOfStream = true; }

    SString errorText;
    Socket listenSocket = noSocket;
    Socket dataSocket = noSocket;
    int socketType = 0;
    SString statusText;
    std::atomic<int> connected{0};
    SString host;
    int isServer = 0;
    void* notifyWindow = nullptr;
    uint16_t port = 0;
    void* eventHandle = nullptr;
    int writeStallMs = 10000; // a peer that takes nothing for this long fails the write
    int connectTimeoutMs = 0; // > 0: connect waits at most this long and leaves the socket non-blocking
    bool winsockStarted = false;

private:
    int waitForEvents(Socket s, int& events);
    bool selectEvents(Socket s);
    void wakeLoop();
    void releaseEvent();
    bool nextSocket(Socket& s);
    void finishLoop();

    mutable std::mutex socketLock; // guards the handles and the loop state below
    mutable std::mutex textLock;   // guards errorText and statusText
    bool loopActive = false;
    bool stopRequested = false;
    Socket selectedSocket = noSocket;
    std::vector<Socket> retired; // shut down, closed by the event thread at its end
    // Natively the one-shot character of the Winsock events is rebuilt with these.
    std::atomic<bool> readArmed{false}, writeArmed{false}, acceptArmed{false};
    std::atomic<bool> endOfStream{false}, closeReported{false};
    std::atomic<unsigned> closes{0};
};
