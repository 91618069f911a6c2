#include "app/AddressQuery.h"

#include "tests/support/BoxRecorder.h"

#include <gtest/gtest.h>

namespace {

const char* const head = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nContent-Type: text/plain\r\n\r\n";

TEST(AddressQuery, RequestCarriesOnlyTheHostHeader) {
    EXPECT_STREQ(AddressQuery::requestText("labor.example"),
                 "GET /ip/ HTTP/1.1\r\nHOST: labor.example\r\n\r\n");
}

TEST(AddressQuery, AddressLineOfAChunkedReply) {
    struct {
        const char* body;
        const char* address;
    } cases[] = {
        {"1b\r\n192.168.4.20 - Anlage 2 - frei\r\n0\r\n\r\n", "192.168.4.20"},
        {"c\r\n192.168.4.20\r\n0\r\n\r\n", "192.168.4.20"},
        {"c\r\n192.168.4.20", "192.168.4.20"},
    };
    for (const auto& c : cases) {
        SString address;
        EXPECT_TRUE(AddressQuery::addressFromReply(SString(head) + c.body, address)) << c.body;
        EXPECT_STREQ(address, c.address);
    }
}

TEST(AddressQuery, ReplyWithoutEmptyLineStoresNothing) {
    SString address("alt");
    EXPECT_FALSE(AddressQuery::addressFromReply("HTTP/1.1 200 OK\r\nContent-Length: 9", address));
    EXPECT_STREQ(address, "alt");
}

// The list reports the index it was asked for and gives its last line.
TEST(AddressQuery, ReplyEndingBeforeTheAddressLineTakesTheLastLine) {
    BoxRecorder boxes;
    SString address;
    EXPECT_TRUE(AddressQuery::addressFromReply("HTTP/1.1 200 OK\r\n\r\n10.0.0.7 - direkt", address));
    EXPECT_STREQ(address, "10.0.0.7");
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_NE(boxes.last().text.find("getAt"), -1);
    EXPECT_FALSE(AddressQuery::addressFromReply("HTTP/1.1 200 OK\r\n\r\n", address));
    EXPECT_EQ(boxes.count(), 2);
}

} // namespace
