// Listener: accepting and handing over.
#include "tools/exp-server/Listener.h"

#include <arpa/inet.h>
#include <sys/socket.h>

Listener::~Listener() {
    stopEventThread(); // no more accepts while the connections go
    std::lock_guard<std::mutex> hold(lock);
    connections.clear();
}

bool Listener::start(int port) {
    return createServer(nullptr, port, "127.0.0.1") && startEventThread();
}

int Listener::boundPort() const {
    sockaddr_in address{};
    socklen_t size = sizeof address;
    if (listenSocket == noSocket || getsockname((int)listenSocket, (sockaddr*)&address, &size) != 0) return 0;
    return ntohs(address.sin_port);
}

void Listener::onAccept() {
    if (!acceptClient()) return;
    Socket accepted = currentDataSocket();
    takeSocket(dataSocket, noSocket); // the listener itself keeps only the listening socket
    connected = 0;
    std::unique_ptr<Connection> connection = factory();
    if (!connection->adopt(accepted)) return; // its destructor closes the socket
    std::lock_guard<std::mutex> hold(lock);
    connections.push_back(std::move(connection));
}

void Listener::tick() {
    std::vector<std::unique_ptr<Connection>> done;
    std::vector<Connection*> alive;
    {
        std::lock_guard<std::mutex> hold(lock);
        for (auto& c : connections) {
            if (c->isFinished()) done.push_back(std::move(c));
            else alive.push_back(c.get());
        }
        std::erase(connections, nullptr);
    }
    done.clear(); // waits for their event threads, outside the lock
    // Only this thread removes connections, so the pointers stay valid.
    for (Connection* c : alive) c->tick();
}
