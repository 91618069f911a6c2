// FloodServer: an experiment server that sends nothing but 'D' frames, as fast as the
// connection takes them. Frame i carries one telemetry frame whose level is i (mod 65536),
// so a receiver can tell a lost or reordered frame. Plain Winsock on its own thread.
#pragma once

#include <atomic>
#include <thread>

class FloodServer {
public:
    explicit FloodServer(int frames);
    ~FloodServer();
    FloodServer(const FloodServer&) = delete;
    FloodServer& operator=(const FloodServer&) = delete;

    int getPort() const { return port; }
    // Bytes handed to the socket so far.
    long long bytesSent() const { return sent.load(); }

    static constexpr int frameBytes = 8 + 9;

private:
    void serve();
    bool readable(unsigned long long s) const;

    int frames;
    int port = 0;
    unsigned long long listener;
    std::atomic<long long> sent{0};
    std::atomic<bool> stopping{false};
    std::thread worker;
};
