// SNetworkStreamTcp: the TCP transport of SNetworkStream (Winsock 2 / POSIX sockets).
#pragma once

#include "VEK_SYSTEM/SNetworkStream.h"

#include <functional>
#include <string>

class SNetworkStreamTcp : public SNetworkStream {
public:
    // Turns a host name into the text of a numeric address; false with the reason in words.
    // A bounded connect (connectTimeoutMs) runs it on a helper thread of its own, because
    // the platform's lookup has no time limit; a lookup given up on ends there unobserved.
    using NameLookup = std::function<bool(const std::string& name, std::string& numeric, std::string& reason)>;

    SNetworkStreamTcp();
    const char* getClassName() const override { return "SNetworkStreamTcp"; }

    bool connectSocket() override;
    bool startListening() override;
    // All bytes that are waiting, as text up to a zero byte of each chunk.
    SString read() override;
    bool write(const SString& text) override;
    bool write(const SMem& data) override;
    // All bytes that are waiting; true also when there were none.
    bool read(SMem& target) override;
    // As read(SMem&), but no more than maxBytes.
    bool readAtMost(SMem& target, int maxBytes);

    // The platform's lookup unless another is given (tests stand in one that stalls).
    void setNameLookup(NameLookup lookup);
    static bool systemLookup(const std::string& name, std::string& numeric, std::string& reason);

    using SNetworkStream::read;
    using SNetworkStream::write;

private:
    enum class Wait { done, failed, timedOut, cancelled };

    // Receives what is waiting into `sink`, at most `limit` bytes in all. Stops when
    // nothing more waits, so a call never blocks; false on a receive error.
    template <class Sink> bool receive(Sink&& sink, int limit);
    bool failStart(const char* what, unsigned code); // text, close, false
    // The numeric address of `name`; with a bounded connect through a helper thread while
    // this one waits (waitWhileBusy) until the connect's time is up.
    Wait lookUp(const std::string& name, std::string& numeric, std::string& reason, uint32_t begin,
                unsigned closesAtStart);
    // The rest of a non-blocking connect, within the same overall time.
    Wait awaitConnect(Socket s, uint32_t begin, unsigned closesAtStart, unsigned& code);
    int msLeft(uint32_t begin) const;

    NameLookup nameLookup;
};
