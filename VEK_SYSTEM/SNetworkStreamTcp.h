// SNetworkStreamTcp: the TCP transport of SNetworkStream (Winsock 2 / POSIX sockets).
#pragma once

#include "VEK_SYSTEM/SNetworkStream.h"

class SNetworkStreamTcp : public SNetworkStream {
public:
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

    using SNetworkStream::read;
    using SNetworkStream::write;

private:
    // Receives what is waiting into `sink`, at most `limit` bytes per call. Stops when
    // nothing more waits, so a call never blocks; false on a receive error.
    template <class Sink> bool receive(Sink&& sink);
    bool failStart(const char* what, unsigned code); // text, close, false
};
