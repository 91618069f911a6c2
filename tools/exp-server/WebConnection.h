// WebConnection: one address query. "GET /ip/" is answered with a chunked reply whose body
// line is "127.0.0.1 - <comment>", then the connection is closed; anything else gets 404.
#pragma once

#include "tools/exp-server/Connection.h"
#include "tools/exp-server/ServerOptions.h"

#include <chrono>
#include <mutex>
#include <string>

class WebConnection : public Connection {
public:
    explicit WebConnection(const ServerOptions& options) : options(options) {}
    ~WebConnection() override { stopEventThread(); }
    const char* getClassName() const override { return "WebConnection"; }

    void tick() override;
    // The whole reply to a request (also used by the tests of the address rule).
    static std::string replyTo(const std::string& request, const std::string& comment);

protected:
    void onRead() override;

private:
    using Clock = std::chrono::steady_clock;
    static constexpr size_t requestLimit = 64 * 1024;

    const ServerOptions& options;
    std::mutex lock;
    std::string request;
    bool answered = false;
    bool due = false;
    Clock::time_point dueAt;
};
