// PlainPeer: a bare TCP peer on 127.0.0.1 for the stream tests, written directly against
// the socket API so that the stream is not tested against itself. Also the wait helper.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

// Polls `condition` until it holds or `ms` have passed.
bool waitUntil(const std::function<bool()>& condition, int ms = 5000);

class PlainPeer {
public:
    explicit PlainPeer(int port = 0); // 0: an ephemeral port
    ~PlainPeer();
    PlainPeer(const PlainPeer&) = delete;
    PlainPeer& operator=(const PlainPeer&) = delete;

    int port() const { return port_; }
    bool listening() const { return listener != invalid; }
    bool accept(int timeoutMs = 5000);   // the next client, replacing the previous one
    bool pendingClient(int timeoutMs);   // a connection waits to be accepted
    bool send(const std::string& bytes); // everything, blocking
    // Receives until `count` bytes arrived or `timeoutMs` passed.
    std::string receive(std::size_t count, int timeoutMs = 5000);
    void closeClient();

    // A port on which nothing listens (bound once, then released).
    static int freePort();

private:
    static constexpr std::intptr_t invalid = -1;
    std::intptr_t listener = invalid;
    std::intptr_t client = invalid;
    int port_ = 0;
};
