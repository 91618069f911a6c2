// Fuzzes the web server's reply to the address query: the input is a cut position and a
// reply. The client stops reading once a reply is complete, so more bytes after that must
// not change what it yields; whatever it yields is an address.
#include "app/AddressQuery.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > (size_t)AddressQuery::replyLimit) return 0;
    const char* reply = reinterpret_cast<const char*>(data + 1);
    const int n = (int)size - 1;
    const int cut = n ? data[0] * n / 255 : 0;

    SString whole, early;
    bool foundWhole = AddressQuery::addressFromReply(reply, n, true, whole);
    if (foundWhole && (!AddressQuery::isAddress(whole) || whole.length() > n)) __builtin_trap();

    if (!AddressQuery::replyComplete(reply, cut, false)) return 0;
    bool foundEarly = AddressQuery::addressFromReply(reply, cut, false, early);
    SString later;
    bool foundLater = AddressQuery::addressFromReply(reply, n, false, later);
    if (foundEarly != foundLater) __builtin_trap();
    if (foundEarly && std::strcmp(early, later) != 0) __builtin_trap();
    return 0;
}
