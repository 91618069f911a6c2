// SNetworkStream: roles, close and the event loop. Winsock 2 with an event object on
// Windows; natively poll() with a wake-up pipe and the same 200 ms period.
#include "VEK_SYSTEM/SNetworkStream.h"

#include "VEK_SYSTEM/SSystem.h"

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include "VEK_SYSTEM/SSocketHandle.h"

namespace {

const int kWaitMs = 200;
const int kBusySliceMs = 10; // a waiting owner dispatches its messages at least this often
const char* const kFailed = "Fehler...";

#ifndef _WIN32
struct WakePipe {
    int fds[2] = {-1, -1};
};
#endif

} // namespace

SNetworkStream::SNetworkStream() = default;

SNetworkStream::~SNetworkStream() {
    stopEventThread();
    releaseEvent();
#ifdef _WIN32
    if (winsockStarted) WSACleanup();
#endif
}

void SNetworkStream::stopEventThread() {
    close();
    wait();
}

// ---------------------------------------------------------------- texts

void SNetworkStream::setErrorText(const char* text) {
    std::lock_guard<std::mutex> lock(textLock);
    errorText = text;
}

void SNetworkStream::appendErrorText(const char* text) {
    SString resolved(text);
    std::lock_guard<std::mutex> lock(textLock);
    errorText.append(resolved);
}

void SNetworkStream::setStatusText(const char* text) {
    std::lock_guard<std::mutex> lock(textLock);
    statusText = text;
}

void SNetworkStream::setFailure(const char* error) {
    std::lock_guard<std::mutex> lock(textLock);
    statusText = kFailed;
    errorText = error;
}

SString SNetworkStream::getErrorText() const {
    std::lock_guard<std::mutex> lock(textLock);
    return errorText;
}

SString SNetworkStream::getStatusText() const {
    std::lock_guard<std::mutex> lock(textLock);
    return statusText;
}

// ---------------------------------------------------------------- handles

bool SNetworkStream::hasSocket() const {
    std::lock_guard<std::mutex> lock(socketLock);
    return dataSocket != noSocket || listenSocket != noSocket;
}

SNetworkStream::Socket SNetworkStream::currentDataSocket() const {
    std::lock_guard<std::mutex> lock(socketLock);
    return dataSocket;
}

void SNetworkStream::takeSocket(Socket& field, Socket value) {
    std::lock_guard<std::mutex> lock(socketLock);
    field = value;
}

bool SNetworkStream::isConnectedTo(const char* otherHost, int otherPort) const {
    return isConnected() && host == otherHost && (otherPort == -1 || otherPort == port);
}

// ---------------------------------------------------------------- roles

bool SNetworkStream::createClient(void* window, int toPort, const char* toHost) {
    const char* already = nullptr;
    if (isConnected())
        already = "~~idNetErrorStreamAlready~~Fehler, Stream ist bereits verbunden.~~Error, stream is already "
                  "connected.";
    else if (std::lock_guard<std::mutex> lock(socketLock); listenSocket != noSocket)
        already = "~~idNetErrorStreamAlreadyServer~~Fehler, Stream ist bereits als Server gestartet.~~Error, "
                  "stream is already started as server.";
    if (already) {
        setFailure("SNetworkStream::createClient(..) : ");
        appendErrorText(already);
        return false;
    }
    isServer = 0;
    notifyWindow = window;
    port = (uint16_t)toPort;
    host = toHost ? toHost : "";
    endOfStream = false;
    if (!connectSocket()) {
        setStatusText(kFailed);
        appendErrorText("\r\n");
        appendErrorText("~~idNetErrorCreatingTcpClient~~Fehler beim Erzeugen eines TCP-Clients.~~Error when "
                        "creating a TCP client.");
        return false;
    }
    setStatusText("~~idNetClientConnected~~Client verbunden.~~Client connected.");
    connected = 1;
    return true;
}

bool SNetworkStream::createServer(void* window, int atPort, const char* bindAddress) {
    if (isConnected()) {
        setFailure("SNetworkStream::createServer(..) : Fehler, Stream ist bereits verbunden.");
        return false;
    }
    bool listening;
    {
        std::lock_guard<std::mutex> lock(socketLock);
        listening = listenSocket != noSocket;
    }
    // A second listener would replace the first one's handle and leave it open.
    if (listening) {
        setFailure("SNetworkStream::createServer(..) : ");
        appendErrorText("~~idNetErrorStreamAlreadyServer~~Fehler, Stream ist bereits als Server gestartet.~~Error, "
                        "stream is already started as server.");
        return false;
    }
    isServer = 1;
    notifyWindow = window;
    port = (uint16_t)atPort;
    host = bindAddress ? bindAddress : "";
    if (!startListening()) {
        setStatusText(kFailed);
        appendErrorText("\r\n");
        appendErrorText("~~idNetErrorCreatingTcpServer~~Fehler beim Erzeugen eines TCP-Servers.~~Error when "
                        "creating a TCP sever.");
        return false;
    }
    setStatusText("~~idNetServerStarted~~Server gestartet.~~Server started.");
    return true;
}

bool SNetworkStream::acceptClient() {
    Socket l, existing;
    bool watched;
    {
        std::lock_guard<std::mutex> lock(socketLock);
        l = listenSocket;
        existing = dataSocket;
        watched = loopActive;
    }
    Socket a = noSocket;
    if (l != noSocket) {
        auto r = ::accept(nat(l), nullptr, nullptr);
#ifdef _WIN32
        if (r != INVALID_SOCKET) a = (Socket)r;
#else
        if (r >= 0) a = r;
#endif
    }
    // The stream holds one connection: a second client is turned away.
    if (a != noSocket && existing != noSocket) {
        closeSocketHandle(a);
        a = noSocket;
    }
    if (a == noSocket) {
        setFailure("accept() Error");
        return false;
    }
#ifndef _WIN32
    // Winsock hands the listener's event selection (and non-blocking mode) to the new
    // socket; natively it has to be set up here.
    if (watched) makeNonBlocking(a);
    readArmed = writeArmed = true;
    endOfStream = closeReported = false;
#endif
    acceptArmed = true;
    (void)watched;
    takeSocket(dataSocket, a);
    connected = 1;
    setStatusText("~~idNetClientAccepted~~Client akzeptiert.~~Client accepted.");
    return true;
}

void SNetworkStream::close() {
    std::vector<Socket> taken, now;
    {
        std::lock_guard<std::mutex> lock(socketLock);
        for (Socket* field : {&listenSocket, &dataSocket}) {
            if (*field == noSocket) continue;
            taken.push_back(*field);
            *field = noSocket;
        }
        stopRequested = true;
        if (loopActive) {
            retired.insert(retired.end(), taken.begin(), taken.end());
            wakeLoop();
        } else {
            now = taken;
        }
    }
    connected = 0;
    ++closes;
    // Shutting down wakes a receive or send another thread may be blocked in.
#ifdef _WIN32
    for (Socket s : taken) ::shutdown(nat(s), SD_BOTH);
#else
    for (Socket s : taken) ::shutdown(nat(s), SHUT_RDWR);
#endif
    for (Socket s : now) closeSocketHandle(s);
    setStatusText("~~idNetConnectionTerminated~~Verbindung beendet.~~Connection terminated");
}

// ---------------------------------------------------------------- event thread

bool SNetworkStream::startEventThread() {
    Socket s;
    {
        std::lock_guard<std::mutex> lock(socketLock);
        s = dataSocket != noSocket ? dataSocket : listenSocket;
        if (s == noSocket) return false;
        if (loopActive && !stopRequested) return true; // already watching this stream
    }
    if (isCurrentThread()) return false; // a closed loop cannot restart itself
    wait();                              // a previous loop that is ending after close()
    releaseEvent();
    if (!selectEvents(s)) return false;
    {
        std::lock_guard<std::mutex> lock(socketLock);
        loopActive = true;
        stopRequested = false;
        selectedSocket = s;
    }
    if (start()) return true;
    std::lock_guard<std::mutex> lock(socketLock);
    loopActive = false;
    selectedSocket = noSocket;
    return false;
}

// The socket to watch in the next pass, or false when the loop has to end.
bool SNetworkStream::nextSocket(Socket& s) {
    std::lock_guard<std::mutex> lock(socketLock);
    s = dataSocket != noSocket ? dataSocket : listenSocket;
    return s != noSocket && !stopRequested;
}

void SNetworkStream::onWorkTread() {
    Socket s;
    while (nextSocket(s)) {
        int events = 0;
        if (waitForEvents(s, events) < 0) break;
        if (!events || !nextSocket(s)) continue; // nothing, or closed while waiting
        if (events & EVENT_READ) onRead();
        if (events & EVENT_WRITE) onWrite();
        if (events & EVENT_ACCEPT) onAccept();
        if (events & EVENT_CLOSE) onCloseEvent();
    }
    finishLoop();
}

// Closes the sockets that close() handed over while the loop could still use them.
void SNetworkStream::finishLoop() {
    std::vector<Socket> toClose;
    {
        std::lock_guard<std::mutex> lock(socketLock);
        loopActive = false;
        toClose.swap(retired);
        for (Socket r : toClose)
            if (r == selectedSocket) selectedSocket = noSocket;
    }
    for (Socket r : toClose) closeSocketHandle(r);
}

void SNetworkStream::onThreadEnd() {
    Socket s;
    {
        std::lock_guard<std::mutex> lock(socketLock);
        s = selectedSocket;
        selectedSocket = noSocket;
    }
#ifdef _WIN32
    if (s != noSocket && eventHandle) {
        WSAEventSelect(nat(s), (WSAEVENT)eventHandle, 0);
        u_long blocking = 0;
        ioctlsocket(nat(s), FIONBIO, &blocking);
    }
#else
    (void)s;
#endif
    releaseEvent();
}

#ifdef _WIN32

bool SNetworkStream::selectEvents(Socket s) {
    WSAEVENT ev = WSACreateEvent();
    if (ev == WSA_INVALID_EVENT) return false;
    if (WSAEventSelect(nat(s), ev, FD_READ | FD_WRITE | FD_ACCEPT | FD_CLOSE) != 0) {
        WSACloseEvent(ev);
        return false;
    }
    eventHandle = ev;
    return true;
}

void SNetworkStream::releaseEvent() {
    if (eventHandle) WSACloseEvent((WSAEVENT)eventHandle);
    eventHandle = nullptr;
}

// closesocket() from another thread does not signal the event under Wine: set it.
void SNetworkStream::wakeLoop() {
    if (eventHandle) WSASetEvent((WSAEVENT)eventHandle);
}

int SNetworkStream::waitForEvents(Socket s, int& events) {
    WSAEVENT ev = (WSAEVENT)eventHandle;
    DWORD r = WSAWaitForMultipleEvents(1, &ev, FALSE, kWaitMs, TRUE);
    if (r == WSA_WAIT_FAILED) return WSAGetLastError() == WSAEINPROGRESS ? 0 : -1;
    if (r == WSA_WAIT_TIMEOUT || r == WSA_WAIT_IO_COMPLETION) return 0;
    WSANETWORKEVENTS happened;
    if (WSAEnumNetworkEvents(nat(s), ev, &happened) != 0) {
        // A socket closed underneath (WSAENOTSOCK) ends the loop; anything else is retried.
        if (WSAGetLastError() == WSAENOTSOCK) return -1;
        WSAResetEvent(ev);
        return 0;
    }
    events = (int)happened.lNetworkEvents & (EVENT_READ | EVENT_WRITE | EVENT_ACCEPT | EVENT_CLOSE);
    return 0;
}

#else

bool SNetworkStream::selectEvents(Socket s) {
    auto* pipeEnds = new WakePipe;
    if (pipe2(pipeEnds->fds, O_NONBLOCK | O_CLOEXEC) != 0) {
        delete pipeEnds;
        return false;
    }
    makeNonBlocking(s);
    readArmed = writeArmed = acceptArmed = true;
    endOfStream = closeReported = false;
    eventHandle = pipeEnds;
    return true;
}

void SNetworkStream::releaseEvent() {
    auto* pipeEnds = static_cast<WakePipe*>(eventHandle);
    if (!pipeEnds) return;
    ::close(pipeEnds->fds[0]);
    ::close(pipeEnds->fds[1]);
    delete pipeEnds;
    eventHandle = nullptr;
}

void SNetworkStream::wakeLoop() {
    auto* pipeEnds = static_cast<WakePipe*>(eventHandle);
    if (!pipeEnds) return;
    char one = 1;
    ssize_t n = ::write(pipeEnds->fds[1], &one, 1);
    (void)n; // a full pipe is awake already
}

// poll() reports levels; Winsock reports each event once until the matching call
// (recv, send, accept) re-enables it. The armed flags give the handlers the same rhythm,
// so a handler that does not read is not called in a tight loop.
int SNetworkStream::waitForEvents(Socket s, int& events) {
    auto* pipeEnds = static_cast<WakePipe*>(eventHandle);
    bool listening;
    {
        std::lock_guard<std::mutex> lock(socketLock);
        listening = s == listenSocket && dataSocket == noSocket;
    }
    pollfd fds[2] = {{nat(s), 0, 0}, {pipeEnds->fds[0], POLLIN, 0}};
    if (listening) {
        if (acceptArmed) fds[0].events = POLLIN;
    } else {
        if (readArmed && !endOfStream) fds[0].events |= POLLIN;
        if (writeArmed) fds[0].events |= POLLOUT;
        if (!closeReported) fds[0].events |= POLLRDHUP;
    }
    // Hang-up and error cannot be masked: once the close was reported, stop asking.
    if (fds[0].events == 0 || (closeReported && !(fds[0].events & POLLIN))) fds[0].fd = -1;
    int r = ::poll(fds, 2, kWaitMs);
    if (r < 0) return errno == EINTR ? 0 : -1;
    if (fds[1].revents & POLLIN) {
        char drain[64];
        while (::read(pipeEnds->fds[0], drain, sizeof drain) > 0) {
        }
    }
    short got = fds[0].fd < 0 ? 0 : fds[0].revents;
    if (got & POLLNVAL) return -1;
    if (listening) {
        if ((got & POLLIN) && acceptArmed.exchange(false)) events |= EVENT_ACCEPT;
        return 0;
    }
    if ((got & POLLIN) && readArmed.exchange(false)) events |= EVENT_READ;
    if ((got & POLLOUT) && writeArmed.exchange(false)) events |= EVENT_WRITE;
    if ((got & (POLLRDHUP | POLLHUP | POLLERR)) && !closeReported.exchange(true)) events |= EVENT_CLOSE;
    return 0;
}

#endif

// ---------------------------------------------------------------- platform helpers

bool SNetworkStream::prepareSockets() {
    if (winsockStarted) return true;
    SString failure;
    if (!startWinsock(failure)) {
        setErrorText(failure);
        close();
        return false;
    }
    winsockStarted = true;
    return true;
}

bool SNetworkStream::startWinsock(SString& error) {
#ifdef _WIN32
    WSADATA data;
    int r = WSAStartup(MAKEWORD(2, 2), &data);
    if (r != 0) {
        error = "WSAStartup(..) schlug fehl.\r\n";
        error.append(socketErrorText((unsigned)r));
        return false;
    }
#else
    (void)error;
#endif
    return true;
}

unsigned SNetworkStream::lastSocketError() {
#ifdef _WIN32
    return (unsigned)WSAGetLastError();
#else
    return (unsigned)errno;
#endif
}

SString SNetworkStream::socketErrorText(unsigned code) {
    SString text = SSystem::systemErrorText(code);
    if (text.isEmpty()) text.format("Unbekannter Fehler %u.", code);
    return text;
}

void SNetworkStream::closeSocketHandle(Socket s) {
    if (s == noSocket) return;
#ifdef _WIN32
    closesocket(nat(s));
#else
    ::close(nat(s));
#endif
}

void SNetworkStream::makeNonBlocking(Socket s) {
#ifdef _WIN32
    u_long on = 1;
    ioctlsocket(nat(s), FIONBIO, &on);
#else
    fcntl(nat(s), F_SETFL, fcntl(nat(s), F_GETFL) | O_NONBLOCK);
#endif
}

// select() rather than WSAPoll: older Windows versions never report a failed connect
// through WSAPoll.
int SNetworkStream::connectProgress(Socket s, unsigned& code) {
#ifdef _WIN32
    fd_set writable, failed;
    FD_ZERO(&writable);
    FD_ZERO(&failed);
    FD_SET(nat(s), &writable);
    FD_SET(nat(s), &failed);
    timeval now = {0, 0};
    int ready = select(0, nullptr, &writable, &failed, &now);
    int length = sizeof(int);
#else
    pollfd p = {nat(s), POLLOUT, 0};
    int ready = ::poll(&p, 1, 0);
    socklen_t length = sizeof(int);
#endif
    if (ready == 0) return 0;
    if (ready < 0) {
        code = lastSocketError();
        return -1;
    }
    int error = 0;
    if (getsockopt(nat(s), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length) != 0)
        error = (int)lastSocketError();
    code = (unsigned)error;
    return error == 0 ? 1 : -1;
}

bool SNetworkStream::waitReadable(Socket s, int timeoutMs) {
#ifdef _WIN32
    WSAPOLLFD p = {nat(s), POLLRDNORM, 0};
    return WSAPoll(&p, 1, timeoutMs) > 0;
#else
    pollfd p = {nat(s), POLLIN, 0};
    return ::poll(&p, 1, timeoutMs) > 0;
#endif
}

namespace {

// Waits until the socket takes data again; false on a time-out.
bool waitWritable(SNetworkStream::Socket s, int timeoutMs) {
#ifdef _WIN32
    WSAPOLLFD p = {nat(s), POLLWRNORM, 0};
    return WSAPoll(&p, 1, timeoutMs) > 0;
#else
    pollfd p = {nat(s), POLLOUT, 0};
    return ::poll(&p, 1, timeoutMs) > 0;
#endif
}

} // namespace

bool SNetworkStream::waitWhileBusy(Socket s, int ms) {
    if (s == noSocket)
        SSystem::sleepMs((unsigned)ms);
    else
        waitWritable(s, ms);
    return true;
}

bool SNetworkStream::sendAll(const void* bytes, int count) {
    Socket s = currentDataSocket();
    const unsigned closesAtStart = closeCount();
    const char* p = static_cast<const char*>(bytes);
    int sent = 0;
    uint32_t lastProgress = SSystem::tickMs();
    while (s != noSocket && sent < count) {
        int piece = count - sent < (1 << 20) ? count - sent : (1 << 20);
#ifdef _WIN32
        int n = ::send(nat(s), p + sent, piece, 0);
#else
        int n = (int)::send(nat(s), p + sent, (size_t)piece, MSG_NOSIGNAL);
#endif
        if (n > 0) {
            sent += n;
            lastProgress = SSystem::tickMs();
            continue;
        }
        if (n < 0 && !wouldBlock(lastSocketError())) break;
        writeArmed = true; // the socket was full: report the next chance to write
        if (!waitWhileBusy(s, kBusySliceMs) || closeCount() != closesAtStart) {
            s = noSocket; // closed meanwhile: the handle may be another's by now
            break;
        }
        if (SSystem::tickMs() - lastProgress >= (uint32_t)writeStallMs) break;
    }
    if (s != noSocket && sent == count) return true;
    setFailure("Daten konnten nicht gesendet werden.");
    return false;
}

int SNetworkStream::sendSome(const void* bytes, int count) {
    Socket s = currentDataSocket();
    if (s == noSocket) return -1;
#ifdef _WIN32
    int n = ::send(nat(s), static_cast<const char*>(bytes), count, 0);
#else
    int n = (int)::send(nat(s), bytes, (size_t)count, MSG_NOSIGNAL | MSG_DONTWAIT);
#endif
    if (n >= 0) return n;
    if (wouldBlock(lastSocketError())) return 0;
    setFailure("Daten konnten nicht gesendet werden.");
    return -1;
}
