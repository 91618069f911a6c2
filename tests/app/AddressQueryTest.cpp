#include "app/AddressQuery.h"

#include "tests/support/BoxRecorder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string chunkedHead = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nContent-Type: text/plain\r\n\r\n";

bool complete(const std::string& reply, bool ended = false) {
    return AddressQuery::replyComplete(reply.data(), (int)reply.size(), ended);
}

// The address, or "-" when there is none.
std::string addressOf(const std::string& reply, bool ended = false) {
    SString address;
    if (!AddressQuery::addressFromReply(reply.data(), (int)reply.size(), ended, address)) return "-";
    return address.getBuffer();
}

// Chunked, with Content-Length, or ending at the close: the first body line, before " - ".
TEST(AddressQuery, EveryFormOfTheReplyGivesTheFirstBodyLine) {
    struct {
        std::string reply;
        bool ended;
        const char* address;
    } cases[] = {
        {chunkedHead + "1b\r\n192.168.4.20 - Anlage 2 - frei\r\n0\r\n\r\n", false, "192.168.4.20"},
        {chunkedHead + "c\r\n192.168.4.20\r\n0\r\n\r\n", false, "192.168.4.20"},
        {chunkedHead + "c\r\n192.168.4.20", true, "192.168.4.20"},
        // The line split over two chunks, with a chunk extension.
        {chunkedHead + "4;x=1\r\n10.0\r\n9\r\n.0.7 - a\n\r\n0\r\n\r\n", false, "10.0.0.7"},
        {"HTTP/1.1 200 OK\r\ncontent-length: 21\r\n\r\nlabor-3.example.org\r\n", false, "labor-3.example.org"},
        {"HTTP/1.1 200 OK\r\nContent-Length: 8\r\n\r\n10.0.0.8", false, "10.0.0.8"},
        {"HTTP/1.0 200 OK\r\n\r\n10.0.0.9 - direkt", true, "10.0.0.9"},
        {"HTTP/1.1 204 No Content\r\nContent-Length: 10\r\n\r\nfe80::1:2\r\n", false, "fe80::1:2"},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(complete(c.reply, c.ended)) << c.reply;
        EXPECT_EQ(addressOf(c.reply, c.ended), c.address) << c.reply;
    }
}

// The reply is read on until the first body line is whole, its body or the connection has
// ended, or its status says it carries no address.
TEST(AddressQuery, AReplyIsCompleteWhenItsAddressLineOrItsBodyIs) {
    const std::string length = "HTTP/1.1 200 OK\r\nContent-Length: 30\r\n\r\n";
    for (const std::string& partial :
         {std::string("HTTP/1.1 200 OK\r\nContent-Le"), chunkedHead, chunkedHead + "1b\r\n192.168.4",
          length + "10.0.0.7 - noch"}) {
        EXPECT_FALSE(complete(partial)) << partial;
        EXPECT_EQ(addressOf(partial), "-") << partial;
        EXPECT_TRUE(complete(partial, true)) << partial;
    }
    EXPECT_TRUE(complete("HTTP/1.1 502 Bad Gateway\r\nContent-Length: 500\r\n\r\n<html>"));
    EXPECT_TRUE(complete(length + "10.0.0.7 - die Zeile ist ganz\n"));
}

// An error page, a body that is no address, or no body at all: no address, and no box.
TEST(AddressQuery, OnlyASuccessfulReplyWhoseLineIsAnAddressGivesOne) {
    BoxRecorder boxes;
    const std::string gateway = "HTTP/1.1 502 Bad Gateway\r\nTransfer-Encoding: chunked\r\n\r\n"
                                "3e\r\n<html>\r\n<head><title>502 Bad Gateway</title></head>\r\n</html>\r\n0\r\n\r\n";
    for (const std::string& reply :
         {gateway, std::string("HTTP/1.1 404 Not Found\r\nContent-Length: 10\r\n\r\n127.0.0.1\r\n"),
          chunkedHead + "2c\r\n<head><title>502 Bad Gateway</title></head>\r\n0\r\n\r\n",
          std::string("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n"), std::string("HTTP/1.1 200 OK\r\n\r\n"),
          std::string("HTTP/1.1 200 OK\r\nContent-Length: 9"), std::string("\r\n\r\n127.0.0.1\r\n"),
          std::string("HTTP/1.1 200 OK\r\n\r\n - Kommentar ohne Adresse\r\n")}) {
        EXPECT_EQ(addressOf(reply, true), "-") << reply;
    }
    EXPECT_EQ(boxes.count(), 0);
}

TEST(AddressQuery, AnAddressIsDottedIpv4AnIpv6LiteralOrAHostName) {
    for (const char* good : {"127.0.0.1", "255.255.255.255", "::1", "::", "fe80::1", "2001:db8:0:0:0:0:0:1",
                             "::ffff:192.0.2.1", "labor", "labor-3.example.org", "exp_server.local"})
        EXPECT_TRUE(AddressQuery::isAddress(good)) << good;
    for (const char* bad : {"", "999.1.1.1", "1.2.3", "1.2.3.4.5", "1..2.3", "1:2:3:4:5:6:7:8:9", "1:::2", ":1",
                            "1:", "fe80::1%eth0", "<head>", "labor host", "labor/ip", "a:b:c:g::", "http://labor"})
        EXPECT_FALSE(AddressQuery::isAddress(bad)) << bad;
    EXPECT_FALSE(AddressQuery::isAddress(SString(std::string(254, 'a').c_str())));
}

} // namespace
