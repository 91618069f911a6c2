// SNetworkStreamTcp: connect, listen, read and write over TCP.
#include "VEK_SYSTEM/SNetworkStreamTcp.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>

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
#include "VEK_SYSTEM/SSystem.h"

namespace {

const int kChunk = 1000;
// One read hands over at most this much; the rest waits for the next read event, so a
// flooding peer cannot keep a handler in one read for ever.
const int kReadLimit = 4 << 20;
const int kBusySliceMs = 10;

SNetworkStream::Socket newSocket(int family, int type) {
    auto s = ::socket(family, type, 0);
#ifdef _WIN32
    return s == INVALID_SOCKET ? SNetworkStream::noSocket : (SNetworkStream::Socket)s;
#else
    if (s >= 0) fcntl(s, F_SETFD, FD_CLOEXEC);
    return s < 0 ? SNetworkStream::noSocket : s;
#endif
}

// Where to connect to: a numeric IPv4 or IPv6 address and the port.
struct Target {
    sockaddr_storage address{};
    int length = 0;
    int family() const { return address.ss_family; }
};

bool numericTarget(const char* text, uint16_t port, Target& target) {
    auto* v4 = reinterpret_cast<sockaddr_in*>(&target.address);
    if (inet_pton(AF_INET, text, &v4->sin_addr) == 1) {
        v4->sin_family = AF_INET;
        v4->sin_port = htons(port);
        target.length = sizeof(sockaddr_in);
        return true;
    }
    auto* v6 = reinterpret_cast<sockaddr_in6*>(&target.address);
    if (inet_pton(AF_INET6, text, &v6->sin6_addr) == 1) {
        v6->sin6_family = AF_INET6;
        v6->sin6_port = htons(port);
        target.length = sizeof(sockaddr_in6);
        return true;
    }
    return false;
}

// A lookup on its helper thread: shared with the waiting thread, which may give up on it.
struct LookupJob {
    std::mutex lock;
    bool done = false, found = false;
    std::string numeric, reason;
};

} // namespace

SNetworkStreamTcp::SNetworkStreamTcp() : nameLookup(systemLookup) { socketType = SOCK_STREAM; }

void SNetworkStreamTcp::setNameLookup(NameLookup lookup) { nameLookup = lookup ? std::move(lookup) : systemLookup; }

// The first IPv4 address of the name. Winsock is held for the lookup's own time: a lookup
// given up on may end after its stream has gone.
bool SNetworkStreamTcp::systemLookup(const std::string& name, std::string& numeric, std::string& reason) {
    SString startError;
    if (!startWinsock(startError)) {
        reason = startError.getBuffer();
        return false;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    int rc = getaddrinfo(name.c_str(), nullptr, &hints, &found);
    bool ok = rc == 0 && found;
    if (ok) {
        char text[INET6_ADDRSTRLEN] = "";
        const auto* v4 = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
        ok = inet_ntop(AF_INET, &v4->sin_addr, text, sizeof text) != nullptr;
        numeric = text;
    } else {
#ifdef _WIN32
        reason = socketErrorText((unsigned)rc).getBuffer();
#else
        reason = rc == EAI_SYSTEM ? socketErrorText((unsigned)errno).getBuffer() : gai_strerror(rc);
#endif
    }
    if (found) freeaddrinfo(found);
#ifdef _WIN32
    WSACleanup();
#endif
    return ok;
}

int SNetworkStreamTcp::msLeft(uint32_t begin) const {
    uint32_t elapsed = SSystem::tickMs() - begin;
    return elapsed >= (uint32_t)connectTimeoutMs ? 0 : connectTimeoutMs - (int)elapsed;
}

SNetworkStreamTcp::Wait SNetworkStreamTcp::lookUp(const std::string& name, std::string& numeric, std::string& reason,
                                                  uint32_t begin, unsigned closesAtStart) {
    if (connectTimeoutMs <= 0) return nameLookup(name, numeric, reason) ? Wait::done : Wait::failed;
    auto job = std::make_shared<LookupJob>();
    try {
        std::thread([job, lookup = nameLookup, name] {
            std::string address, why;
            bool found = lookup(name, address, why);
            std::lock_guard<std::mutex> hold(job->lock);
            job->found = found;
            job->numeric = address;
            job->reason = why;
            job->done = true;
        }).detach();
    } catch (...) {
        reason = "Die Namensaufl\366sung lie\337 sich nicht starten.";
        return Wait::failed;
    }
    // Short first slices: most lookups are answered at once.
    for (int slice = 1;; slice = std::min(slice * 2, kBusySliceMs)) {
        {
            std::lock_guard<std::mutex> hold(job->lock);
            if (job->done) {
                numeric = job->numeric;
                reason = job->reason;
                return job->found ? Wait::done : Wait::failed;
            }
        }
        int left = msLeft(begin);
        if (left == 0) return Wait::timedOut;
        if (!waitWhileBusy(noSocket, std::min(slice, left)) || closeCount() != closesAtStart) return Wait::cancelled;
    }
}

SNetworkStreamTcp::Wait SNetworkStreamTcp::awaitConnect(Socket s, uint32_t begin, unsigned closesAtStart,
                                                        unsigned& code) {
    if (!connectUnderWay(code)) return Wait::failed;
    for (;;) {
        int progress = connectProgress(s, code);
        if (progress != 0) return progress > 0 ? Wait::done : Wait::failed;
        int left = msLeft(begin);
        if (left == 0) return Wait::timedOut;
        if (!waitWhileBusy(s, std::min(kBusySliceMs, left)) || closeCount() != closesAtStart) return Wait::cancelled;
    }
}

// With connectTimeoutMs set, the name lookup and the connect share that time, and the
// calling thread waits through waitWhileBusy. A close() made meanwhile (a handler the wait
// dispatched) ends the attempt; the stream then belongs to whoever closed it and is not
// touched any more.
bool SNetworkStreamTcp::connectSocket() {
    if (!prepareSockets()) return false;
    const uint32_t begin = SSystem::tickMs();
    const unsigned closesAtStart = closeCount();
    const std::string name = host.getBuffer();
    auto fail = [&](const SString& text) {
        setErrorText(text);
        if (closeCount() == closesAtStart) close();
        return false;
    };
    const SString cancelled("Verbindungsaufbau abgebrochen.");

    Target target;
    if (!numericTarget(name.c_str(), port, target)) {
        std::string numeric, reason;
        Wait found = lookUp(name, numeric, reason, begin, closesAtStart);
        if (found == Wait::cancelled) return fail(cancelled);
        if (found == Wait::done && !numericTarget(numeric.c_str(), port, target)) found = Wait::failed;
        if (found != Wait::done) {
            SString text("Kann Server-Name/Adresse '");
            text.append(name.c_str()).append("' nicht aufl\366sen.\r\n");
            if (found == Wait::timedOut)
                text.append("Der Namensdienst hat nicht rechtzeitig geantwortet.");
            else
                text.append(reason.c_str());
            return fail(text);
        }
    }

    Socket s = newSocket(target.family(), socketType);
    if (s == noSocket) return failStart("socket(..) schlug fehl.", lastSocketError());
    takeSocket(dataSocket, s);
    if (connectTimeoutMs > 0) makeNonBlocking(s);
    if (::connect(nat(s), reinterpret_cast<sockaddr*>(&target.address), target.length) != 0) {
        unsigned code = lastSocketError();
        Wait connected = connectTimeoutMs > 0 ? awaitConnect(s, begin, closesAtStart, code) : Wait::failed;
        if (connected == Wait::cancelled) return fail(cancelled);
        if (connected == Wait::timedOut) {
#ifdef _WIN32
            code = WSAETIMEDOUT;
#else
            code = ETIMEDOUT;
#endif
        }
        if (connected != Wait::done) {
            SString text;
            text.format("Fehler beim Verbinden.(%u)\r\n", code);
            text.append(socketErrorText(code));
            return fail(text);
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

    Socket s = newSocket(AF_INET, socketType);
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

template <class Sink> bool SNetworkStreamTcp::receive(Sink&& sink, int limit) {
    Socket s = currentDataSocket();
    if (s == noSocket) return false;
    rearmRead();
    char chunk[kChunk + 1];
    int total = 0;
    // Checking first keeps a blocking socket from blocking, and a read with exactly 1000,
    // 2000 ... bytes waiting from ending in a would-block that is no error.
    while (total < limit && waitReadable(s, 0)) {
        std::memset(chunk, 0, sizeof chunk);
        int want = std::min(kChunk, limit - total);
#ifdef _WIN32
        int n = ::recv(nat(s), chunk, want, 0);
#else
        int n = (int)::recv(nat(s), chunk, (size_t)want, 0);
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
        if (n < want) break;
    }
    return true;
}

SString SNetworkStreamTcp::read() {
    SString text;
    if (!isConnected()) return text;
    receive([&text](const char* chunk, int) { text.append(chunk); }, kReadLimit);
    return text;
}

bool SNetworkStreamTcp::read(SMem& target) { return readAtMost(target, kReadLimit); }

bool SNetworkStreamTcp::readAtMost(SMem& target, int maxBytes) {
    target.clear();
    if (!isConnected()) return false;
    return receive([&target](const char* chunk, int n) { target.append(chunk, n); }, maxBytes);
}

bool SNetworkStreamTcp::write(const SString& text) { return sendAll(text.getBuffer(), text.length()); }

bool SNetworkStreamTcp::write(const SMem& data) { return sendAll(data.getData(), data.getSize()); }
