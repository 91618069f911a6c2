#include "PlainPeer.h"

#include "VEK_SYSTEM/SSystem.h"

#include <chrono>
#include <thread>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
using SocketLength = int;
static void closeFd(std::intptr_t s) { closesocket((SOCKET)s); }
static int pollOne(std::intptr_t s, short events, int ms) {
    WSAPOLLFD p = {(SOCKET)s, events, 0};
    return WSAPoll(&p, 1, ms);
}
#define PEER_IN POLLRDNORM
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
using SocketLength = socklen_t;
static void closeFd(std::intptr_t s) { ::close((int)s); }
static int pollOne(std::intptr_t s, short events, int ms) {
    pollfd p = {(int)s, events, 0};
    return ::poll(&p, 1, ms);
}
#define PEER_IN POLLIN
#endif

bool waitUntil(const std::function<bool()>& condition, int ms) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

namespace {

#ifdef _WIN32
struct WinsockUp {
    WinsockUp() {
        WSADATA d;
        WSAStartup(MAKEWORD(2, 2), &d);
    }
} winsockUp;
#endif

std::intptr_t listenOn(int port, int& bound) {
    auto s = (std::intptr_t)::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons((uint16_t)port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(s, (sockaddr*)&a, sizeof a) != 0 || ::listen(s, 5) != 0) {
        closeFd(s);
        return -1;
    }
    SocketLength length = sizeof a;
    getsockname(s, (sockaddr*)&a, &length);
    bound = ntohs(a.sin_port);
    return s;
}

} // namespace

PlainPeer::PlainPeer(int port) { listener = listenOn(port, port_); }

PlainPeer::~PlainPeer() {
    closeClient();
    if (listener != invalid) closeFd(listener);
}

int PlainPeer::freePort() {
    int port = 0;
    std::intptr_t s = listenOn(0, port);
    if (s != invalid) closeFd(s);
    return port;
}

bool PlainPeer::pendingClient(int timeoutMs) { return pollOne(listener, PEER_IN, timeoutMs) > 0; }

bool PlainPeer::accept(int timeoutMs) {
    if (!pendingClient(timeoutMs)) return false;
    closeClient();
    client = (std::intptr_t)::accept(listener, nullptr, nullptr);
    return client != invalid;
}

bool PlainPeer::send(const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        int n = (int)::send(client, bytes.data() + done, (int)(bytes.size() - done), 0);
        if (n <= 0) return false;
        done += (std::size_t)n;
    }
    return true;
}

std::string PlainPeer::receive(std::size_t count, int timeoutMs) {
    std::string got;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    char buffer[65536];
    while (got.size() < count && std::chrono::steady_clock::now() < deadline) {
        if (pollOne(client, PEER_IN, 20) <= 0) continue;
        int n = (int)::recv(client, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        got.append(buffer, (std::size_t)n);
    }
    return got;
}

void PlainPeer::closeClient() {
    if (client != invalid) closeFd(client);
    client = invalid;
}
