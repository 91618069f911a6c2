// vek-monitor: listens on 127.0.0.1 (port 5001 unless --port N; 0 picks a free port),
// accepts one client after another and prints every received line as
// "HH:MM:SS.mmm text", also appending it to --file F. Ends cleanly on SIGTERM/SIGINT.
// The listening port is announced on stderr: "vek-monitor: listening on 127.0.0.1:N".
#include <arpa/inet.h>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <netinet/in.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t stopping = 0;

void onSignal(int) { stopping = 1; }

struct Options {
    int port = 5001;
    const char* file = nullptr;
};

bool parse(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--port") && i + 1 < argc) {
            options.port = std::atoi(argv[++i]);
        } else if (!std::strcmp(argv[i], "--file") && i + 1 < argc) {
            options.file = argv[++i];
        } else {
            std::fprintf(stderr, "usage: vek-monitor [--port N] [--file F]\n");
            return false;
        }
    }
    return options.port >= 0 && options.port <= 65535;
}

class Printer {
public:
    explicit Printer(const char* path) : file(path ? std::fopen(path, "a") : nullptr) {
        if (path && !file) std::fprintf(stderr, "vek-monitor: cannot open %s: %s\n", path, std::strerror(errno));
    }
    ~Printer() {
        if (file) std::fclose(file);
    }
    Printer(const Printer&) = delete;
    Printer& operator=(const Printer&) = delete;

    void line(std::string text) {
        while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text.pop_back();
        timeval now;
        gettimeofday(&now, nullptr);
        tm local;
        localtime_r(&now.tv_sec, &local);
        char stamp[32];
        std::snprintf(stamp, sizeof stamp, "%02d:%02d:%02d.%03d", local.tm_hour, local.tm_min, local.tm_sec,
                      (int)(now.tv_usec / 1000));
        std::printf("%s %s\n", stamp, text.c_str());
        std::fflush(stdout);
        if (file) {
            std::fprintf(file, "%s %s\n", stamp, text.c_str());
            std::fflush(file);
        }
    }

private:
    FILE* file;
};

// Reads one client until it disconnects or the monitor is stopped.
void serve(int client, Printer& printer) {
    std::string pending;
    char buffer[4096];
    while (!stopping) {
        pollfd p = {client, POLLIN, 0};
        int r = poll(&p, 1, 200);
        if (r < 0 && errno != EINTR) break;
        if (r <= 0) continue;
        ssize_t n = recv(client, buffer, sizeof buffer, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        pending.append(buffer, (size_t)n);
        size_t end;
        while ((end = pending.find('\n')) != std::string::npos) {
            printer.line(pending.substr(0, end));
            pending.erase(0, end + 1);
        }
    }
    if (!pending.empty()) printer.line(pending);
}

int openListener(int port) {
    int s = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (s < 0) return -1;
    int on = 1;
    setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons((uint16_t)port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(s, 5) != 0) {
        std::fprintf(stderr, "vek-monitor: cannot listen on port %d: %s\n", port, std::strerror(errno));
        close(s);
        return -1;
    }
    socklen_t length = sizeof address;
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    std::fprintf(stderr, "vek-monitor: listening on 127.0.0.1:%d\n", ntohs(address.sin_port));
    std::fflush(stderr);
    return s;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, options)) return 2;
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    signal(SIGPIPE, SIG_IGN);

    int listener = openListener(options.port);
    if (listener < 0) return 1;
    Printer printer(options.file);
    while (!stopping) {
        pollfd p = {listener, POLLIN, 0};
        if (poll(&p, 1, 200) <= 0) continue;
        int client = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) continue;
        serve(client, printer);
        close(client);
    }
    close(listener);
    return 0;
}
