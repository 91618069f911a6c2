// SNetworkStreamTcp: connect, listen, read and write over TCP.
#include "VEK_SYSTEM/SNetworkStreamTcp.h"

#include <cstring>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#else
#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include "VEK_SYSTEM/SSocketHandle.h"

namespace {

const int kChunk = 1000;
// One read hands over at most this much; the rest waits for the next read event, so a
// flooding peer cannot keep a handler in one read for ever.
const int kReadLimit = 4 << 20;


SNetworkStream::Socket newSocket(int type) {
    auto s = ::socket(AF_INET, type, 0);
#ifdef _WIN32
    return s == INVALID_SOCKET ? SNetworkStream::noSocket : (SNetworkStream::Socket)s;
#else
    if (s >= 0) fcntl(s, F_SETFD, FD_CLOEXEC);
    return s < 0 ? SNetworkStream::noSocket : s;
#endif
}

} // namespace

SNetworkStreamTcp::SNetworkStreamTcp() { socketType = SOCK_STREAM; }

bool SNetworkStreamTcp::connectSocket() {
    if (!prepareSockets()) return false;

    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = socketType;
    addrinfo* found = nullptr;
    int rc = getaddrinfo(host, nullptr, &hints, &found);
    if (rc != 0 || !found) {
        SString text("Kann Server-Name/Adresse '");
        text.append(host).append("' nicht aufl\366sen.\r\n");
#ifdef _WIN32
        text.append(socketErrorText((unsigned)rc));
#else
        text.append(rc == EAI_SYSTEM ? socketErrorText((unsigned)errno) : SString(gai_strerror(rc)));
#endif
        setErrorText(text);
        close();
        return false;
    }
    sockaddr_in address{};
    std::memcpy(&address, found->ai_addr, sizeof address);
    freeaddrinfo(found);
    address.sin_port = htons(port);

    Socket s = newSocket(socketType);
    if (s == noSocket) return failStart("socket(..) schlug fehl.", lastSocketError());
    takeSocket(dataSocket, s);
    if (connectTimeoutMs > 0) makeNonBlocking(s);
    if (::connect(nat(s), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        unsigned code = lastSocketError();
        if (connectTimeoutMs <= 0 || !finishConnect(s, connectTimeoutMs, code)) {
            SString text;
            text.format("Fehler beim Verbinden.(%u)\r\n", code);
            text.append(socketErrorText(code));
            setErrorText(text);
            close();
            return false;
        }
    }
#ifdef _WIN32
    if (notifyWindow) WSAAsyncSelect(nat(s), (HWND)notifyWindow, 0x4402, FD_READ | FD_ACCEPT | FD_CLOSE);
#endif
    return true;
}

bool SNetworkStreamTcp::failStart(const char* what, unsigned code) {
    SString text(what);
    text.append("\r\n").append(socketErrorText(code));
    setErrorText(text);
    close();
    return false;
}

bool SNetworkStreamTcp::startListening() {
    if (!prepareSockets()) return false;

    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    if (inet_pton(AF_INET, host, &address.sin_addr) != 1) address.sin_addr.s_addr = htonl(INADDR_ANY);

    Socket s = newSocket(socketType);
    if (s == noSocket) return failStart("socket(..) schlug fehl.", lastSocketError());
    takeSocket(listenSocket, s);
#ifndef _WIN32
    // A restarted server must be able to bind while old connections linger in TIME_WAIT.
    int on = 1;
    setsockopt(nat(s), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
#endif
    if (::bind(nat(s), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        return failStart("bind(..) schlug fehl.", lastSocketError());
    if (::listen(nat(s), 5) != 0) return failStart("listen(..) schlug fehl.", lastSocketError());
#ifdef _WIN32
    if (notifyWindow) WSAAsyncSelect(nat(s), (HWND)notifyWindow, 0x4402, FD_READ | FD_ACCEPT | FD_CLOSE);
#endif
    return true;
}

template <class Sink> bool SNetworkStreamTcp::receive(Sink&& sink) {
    Socket s = currentDataSocket();
    if (s == noSocket) return false;
    rearmRead();
    char chunk[kChunk + 1];
    int total = 0;
    // Checking first keeps a blocking socket from blocking, and a read with exactly 1000,
    // 2000 ... bytes waiting from ending in a would-block that is no error.
    while (total < kReadLimit && waitReadable(s, 0)) {
        std::memset(chunk, 0, sizeof chunk);
#ifdef _WIN32
        int n = ::recv(nat(s), chunk, kChunk, 0);
#else
        int n = (int)::recv(nat(s), chunk, kChunk, 0);
#endif
        if (n < 0) {
            if (wouldBlock(lastSocketError())) break;
            setFailure("Lesefehler");
            return false;
        }
        if (n == 0) {
            noteEndOfStream();
            break;
        }
        sink(chunk, n);
        total += n;
        if (n < kChunk) break;
    }
    return true;
}

SString SNetworkStreamTcp::read() {
    SString text;
    if (!isConnected()) return text;
    receive([&text](const char* chunk, int) { text.append(chunk); });
    return text;
}

bool SNetworkStreamTcp::read(SMem& target) {
    target.clear();
    if (!isConnected()) return false;
    return receive([&target](const char* chunk, int n) { target.append(chunk, n); });
}

bool SNetworkStreamTcp::write(const SString& text) { return sendAll(text.getBuffer(), text.length()); }

bool SNetworkStreamTcp::write(const SMem& data) { return sendAll(data.getData(), data.getSize()); }
