// AddressQuery: the text side of asking the experiment web server for the experiment
// server's address: the request, when a reply is complete, and the address in it.
//
// The address is the first line of the body, before " - " (the rest is a comment), in every
// form a server may send the body in: chunked, with Content-Length, or ending when the
// server closes. Only a success status and a line that is an address count: an error page
// must never become the address every later connect goes to.
#pragma once

#include "VEK_UTIL/SString.h"

class AddressQuery {
public:
    // Past this many bytes a reply is not read on; it gives no address.
    static constexpr int replyLimit = 64 * 1024;

    // "GET /ip/ HTTP/1.1", then only the HOST header.
    static SString requestText(const char* host);
    // Whether nothing more needs to be read: the first body line has come whole, the body
    // has ended, the status is no success, or the server has closed (`ended`).
    static bool replyComplete(const char* reply, int size, bool ended);
    // The address of the reply received so far (`ended`: the server has closed since).
    static bool addressFromReply(const char* reply, int size, bool ended, SString& address);

    // A dotted IPv4 address, an IPv6 literal, or a host name.
    static bool isAddress(const SString& text);
    // Letters, digits, '.', '-' and '_', at most 253: nothing a URL or the request line could
    // be broken with.
    static bool isHostName(const SString& text);
};
