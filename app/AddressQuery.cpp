// AddressQuery: request text and reply rule.
#include "app/AddressQuery.h"

#include "VEK_ARRAYS/SStringList.h"

SString AddressQuery::requestText(const char* host) {
    SString text("GET /ip/ HTTP/1.1\r\nHOST: ");
    text.append(host ? host : "").append("\r\n\r\n");
    return text;
}

bool AddressQuery::addressFromReply(const char* reply, SString& address) {
    SStringList lines;
    lines.split(reply, "\r\n");
    int empty = 0;
    while (empty < lines.count() && !lines[empty].isEmpty()) ++empty;
    if (empty == lines.count()) return false;
    // A reply that ends early yields its last line: the list reports the index and hands
    // out its last element (never none, the empty line is in it).
    SString line(*lines.getAt(empty + 2));
    SString found = line.cutFirst(" - ");
    if (found.isEmpty()) return false;
    address = found;
    return true;
}
