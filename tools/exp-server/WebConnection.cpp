// WebConnection: the address query over HTTP/1.1.
#include "tools/exp-server/WebConnection.h"

#include <cstdio>

std::string WebConnection::replyTo(const std::string& request, const std::string& comment) {
    if (request.rfind("GET /ip/ ", 0) != 0)
        return "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
    std::string body = "127.0.0.1 - " + comment + "\r\n";
    char size[16];
    std::snprintf(size, sizeof size, "%zx", body.size());
    return "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nTransfer-Encoding: chunked\r\nConnection: close\r\n\r\n" +
           std::string(size) + "\r\n" + body + "\r\n0\r\n\r\n";
}

void WebConnection::onRead() {
    SMem bytes;
    read(bytes);
    std::lock_guard<std::mutex> hold(lock);
    if (answered || due) return;
    request.append(reinterpret_cast<const char*>(bytes.getData()), (size_t)bytes.getSize());
    if (request.size() > requestLimit) {
        close();
        finish();
        return;
    }
    if (request.find("\r\n\r\n") == std::string::npos) return;
    if (options.webSilent) return; // holds the connection open and says nothing
    due = true;
    dueAt = Clock::now() + std::chrono::milliseconds(options.webDelayMs);
}

void WebConnection::tick() {
    std::lock_guard<std::mutex> hold(lock);
    if (!due || answered || Clock::now() < dueAt) return;
    answered = true;
    std::string reply = replyTo(request, options.comment);
    write(SMem(reply.data(), (int)reply.size()));
    close();
    finish();
}
