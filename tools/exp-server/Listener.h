// Listener: the library's TCP stream in its server role on 127.0.0.1. A stream holds one
// connection, so each accepted client is handed to a Connection of its own and the
// listener goes on listening.
#pragma once

#include "tools/exp-server/Connection.h"

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

class Listener : public SNetworkStreamTcp {
public:
    using Factory = std::function<std::unique_ptr<Connection>()>;

    explicit Listener(Factory factory) : factory(std::move(factory)) {}
    ~Listener() override;
    const char* getClassName() const override { return "Listener"; }

    bool start(int port);
    // The port listened on (the chosen one after port 0); 0 when not listening.
    int boundPort() const;
    // Main thread: ticks the connections and destroys the finished ones.
    void tick();

protected:
    void onAccept() override;

private:
    Factory factory;
    std::mutex lock; // the list: the event thread adds, the main thread ticks and removes
    std::vector<std::unique_ptr<Connection>> connections;
};
