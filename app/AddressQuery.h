// AddressQuery: the text side of asking the experiment web server for the experiment
// server's address: the request, and where the address stands in the reply.
#pragma once

#include "VEK_UTIL/SString.h"

class AddressQuery {
public:
    // "GET /ip/ HTTP/1.1", then only the HOST header.
    static SString requestText(const char* host);
    // The reply is chunked: after the header's empty line comes the chunk-size line, then
    // the address line ("address - comment"). False when there is no empty line or the
    // address comes out empty.
    static bool addressFromReply(const char* reply, SString& address);
};
