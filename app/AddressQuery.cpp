// AddressQuery: request text, the reply's forms and the address rule.
#include "app/AddressQuery.h"

#include <cctype>
#include <string>
#include <string_view>

namespace {

using std::string_view;

bool sameLetters(string_view a, string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower((unsigned char)a[i]) != std::tolower((unsigned char)b[i])) return false;
    return true;
}

string_view trimmed(string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

// "HTTP/1.x 2xx ...".
bool successStatus(string_view line) {
    if (line.substr(0, 5) != "HTTP/") return false;
    size_t blank = line.find(' ');
    if (blank == string_view::npos || line.size() < blank + 4) return false;
    string_view code = line.substr(blank + 1, 3);
    return code[0] == '2' && std::isdigit((unsigned char)code[1]) && std::isdigit((unsigned char)code[2]);
}

// What a reply has shown so far.
struct Reply {
    bool headerDone = false;
    bool success = false;
    std::string body; // decoded
    bool bodyEnded = false;
};

// Chunk after chunk as far as they have come; a size line that is no number ends the body.
void decodeChunks(string_view rest, Reply& reply) {
    size_t at = 0;
    for (;;) {
        size_t lineEnd = rest.find("\r\n", at);
        if (lineEnd == string_view::npos) return;
        string_view sizeText = trimmed(rest.substr(at, lineEnd - at));
        sizeText = trimmed(sizeText.substr(0, sizeText.find(';')));
        if (sizeText.empty() || sizeText.size() > 7) {
            reply.bodyEnded = true;
            return;
        }
        size_t size = 0;
        for (char c : sizeText) {
            if (!std::isxdigit((unsigned char)c)) {
                reply.bodyEnded = true;
                return;
            }
            int digit = std::isdigit((unsigned char)c) ? c - '0' : std::tolower((unsigned char)c) - 'a' + 10;
            size = size * 16 + (size_t)digit;
        }
        if (size == 0) {
            reply.bodyEnded = true;
            return;
        }
        size_t data = lineEnd + 2;
        size_t available = rest.size() - data;
        reply.body.append(rest.substr(data, size < available ? size : available));
        if (available < size + 2) return;
        at = data + size + 2;
    }
}

Reply parse(string_view text, bool ended) {
    Reply reply;
    size_t headEnd = text.find("\r\n\r\n");
    if (headEnd == string_view::npos) return reply;
    reply.headerDone = true;
    string_view head = text.substr(0, headEnd);
    size_t lineEnd = head.find("\r\n");
    reply.success = successStatus(head.substr(0, lineEnd));
    bool chunked = false;
    long long length = -1;
    while (lineEnd != string_view::npos) {
        size_t next = head.find("\r\n", lineEnd + 2);
        string_view line = head.substr(lineEnd + 2, next == string_view::npos ? string_view::npos : next - lineEnd - 2);
        lineEnd = next;
        size_t colon = line.find(':');
        if (colon == string_view::npos) continue;
        string_view name = trimmed(line.substr(0, colon)), value = trimmed(line.substr(colon + 1));
        if (sameLetters(name, "Transfer-Encoding") && value.size() >= 7)
            chunked = sameLetters(value.substr(value.size() - 7), "chunked");
        if (sameLetters(name, "Content-Length") && !value.empty() && value.size() <= 9) {
            length = 0;
            for (char c : value) length = std::isdigit((unsigned char)c) && length >= 0 ? length * 10 + (c - '0') : -1;
        }
    }
    string_view rest = text.substr(headEnd + 4);
    if (chunked) {
        decodeChunks(rest, reply);
    } else if (length >= 0) {
        reply.body = rest.substr(0, (size_t)length);
        reply.bodyEnded = rest.size() >= (size_t)length;
    } else {
        reply.body = rest; // the body ends when the server closes
    }
    if (ended) reply.bodyEnded = true;
    return reply;
}

// The first body line, once it is whole.
bool firstLine(const Reply& reply, string_view& line) {
    string_view body = reply.body;
    size_t end = body.find('\n');
    if (end == string_view::npos && !reply.bodyEnded) return false;
    line = trimmed(body.substr(0, end));
    return true;
}

bool isIpv4(string_view s) {
    int parts = 0;
    while (true) {
        size_t digits = 0;
        int value = 0;
        while (digits < s.size() && digits < 4 && std::isdigit((unsigned char)s[digits]))
            value = value * 10 + (s[digits++] - '0');
        if (digits == 0 || digits > 3 || value > 255) return false;
        ++parts;
        s.remove_prefix(digits);
        if (s.empty()) return parts == 4;
        if (s.front() != '.' || parts == 4) return false;
        s.remove_prefix(1);
    }
}

// Groups of one to four hex digits separated by ':', at most one "::", and a dotted IPv4
// tail in place of the last two groups.
bool isIpv6(string_view s) {
    if (s.size() < 2 || s.size() > 45) return false;
    int groups = 0;
    bool gap = false;
    if (s.substr(0, 2) == "::") {
        gap = true;
        s.remove_prefix(2);
    }
    while (!s.empty()) {
        size_t end = s.find(':');
        string_view group = s.substr(0, end);
        if (end == string_view::npos && group.find('.') != string_view::npos) {
            if (!isIpv4(group)) return false;
            groups += 2;
            break;
        }
        if (group.empty() || group.size() > 4) return false;
        for (char c : group)
            if (!std::isxdigit((unsigned char)c)) return false;
        ++groups;
        if (end == string_view::npos) break;
        s.remove_prefix(end + 1);
        if (!s.empty() && s.front() == ':') {
            if (gap) return false;
            gap = true;
            s.remove_prefix(1);
        } else if (s.empty()) {
            return false; // a single ':' at the end
        }
    }
    return gap ? groups < 8 : groups == 8;
}

} // namespace

SString AddressQuery::requestText(const char* host) {
    SString text("GET /ip/ HTTP/1.1\r\nHOST: ");
    text.append(host ? host : "").append("\r\n\r\n");
    return text;
}

bool AddressQuery::replyComplete(const char* text, int size, bool ended) {
    if (ended) return true;
    Reply reply = parse(string_view(text, size > 0 ? (size_t)size : 0), false);
    if (!reply.headerDone) return false;
    string_view line;
    return !reply.success || firstLine(reply, line);
}

bool AddressQuery::addressFromReply(const char* text, int size, bool ended, SString& address) {
    Reply reply = parse(string_view(text, size > 0 ? (size_t)size : 0), ended);
    string_view line;
    if (!reply.success || !firstLine(reply, line)) return false;
    SString candidate;
    candidate.setRaw(line.data(), (int)line.size());
    candidate = candidate.cutFirst(" - ");
    candidate.trim();
    if (!isAddress(candidate)) return false;
    address = candidate;
    return true;
}

bool AddressQuery::isHostName(const SString& text) {
    if (text.isEmpty() || text.length() > 253) return false;
    for (int i = 0; i < text.length(); ++i) {
        unsigned char c = (unsigned char)text.getAt(i);
        bool ok = std::isalnum(c) || c == '.' || c == '-' || c == '_';
        if (!ok || c >= 0x80) return false;
    }
    return true;
}

// Digits and dots alone are no name: they must make an IPv4 address.
bool AddressQuery::isAddress(const SString& text) {
    string_view s(text.getBuffer(), (size_t)text.length());
    if (s.find(':') != string_view::npos) return isIpv6(s);
    if (s.find_first_not_of("0123456789.") == string_view::npos) return isIpv4(s);
    return isHostName(text);
}
