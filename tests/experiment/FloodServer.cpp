#include "tests/experiment/FloodServer.h"

#include "app/ProtocolMessage.h"

#include <winsock2.h>

FloodServer::FloodServer(int count) : frames(count), listener(INVALID_SOCKET) {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address;
    if (bind(s, (sockaddr*)&address, sizeof address) != 0 || listen(s, 1) != 0 ||
        getsockname(s, (sockaddr*)&address, &length) != 0) {
        closesocket(s);
        return;
    }
    listener = s;
    port = ntohs(address.sin_port);
    worker = std::thread([this] { serve(); });
}

FloodServer::~FloodServer() {
    stopping = true;
    if (worker.joinable()) worker.join();
    if (listener != INVALID_SOCKET) closesocket((SOCKET)listener);
    WSACleanup();
}

// Waits until the socket can be read (or accepted from), looking at the stop flag
// every 100 ms: closing a socket from another thread does not wake a waiter under Wine.
bool FloodServer::readable(unsigned long long s) const {
    while (!stopping) {
        fd_set set;
        FD_ZERO(&set);
        FD_SET((SOCKET)s, &set);
        timeval limit = {0, 100000};
        int r = select(0, &set, nullptr, nullptr, &limit);
        if (r != 0) return r > 0;
    }
    return false;
}

void FloodServer::serve() {
    if (!readable(listener)) return;
    SOCKET client = accept((SOCKET)listener, nullptr, nullptr);
    if (client == INVALID_SOCKET) return;
    const int batch = 256;
    for (int first = 0; first < frames; first += batch) {
        SMem bytes;
        for (int i = first; i < frames && i < first + batch; ++i) {
            const unsigned char telemetry[] = {0x55, 0xAA, (unsigned char)i, (unsigned char)(i >> 8), 0, 100, 0, 1, 2};
            bytes.append(ProtocolMessage::frame(ProtocolMessage::Data, telemetry, sizeof telemetry));
        }
        const char* p = reinterpret_cast<const char*>(bytes.getData());
        for (int done = 0; done < bytes.getSize();) {
            int n = send(client, p + done, bytes.getSize() - done, 0);
            if (n <= 0) {
                closesocket(client);
                return;
            }
            done += n;
            sent += n;
        }
    }
    // Stay connected until the receiver closes: the client must not see an early end.
    char rest[64];
    while (readable(client) && recv(client, rest, sizeof rest, 0) > 0) {
    }
    closesocket(client);
}
