// ServerOptions: parsing and help.
#include "tools/exp-server/ServerOptions.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool toInt(const char* text, int low, int high, int& out) {
    char* end = nullptr;
    long value = std::strtol(text, &end, 10);
    if (!*text || *end || value < low || value > high) return false;
    out = (int)value;
    return true;
}

} // namespace

const char* ServerOptions::helpText() {
    return "usage: exp-server [options]\n"
           "A local stand-in for the laboratory's experiment web server and experiment server.\n"
           "Both listen on 127.0.0.1 only.\n"
           "\n"
           "  --web-port N       port of the address query (GET /ip/), default 8080\n"
           "  --port N           experiment port, default 5051 (0 for either: a free port)\n"
           "  --comment TEXT     comment after the address in the web reply\n"
           "                     (\"127.0.0.1 - TEXT\"), default Experiment-Server\n"
           "  --record FILE      every frame received, one line each, default exp-server-record.txt;\n"
           "                     lines starting with # are notes, among them each telemetry frame sent\n"
           "  --store DIR        where uploaded firmware is stored as Steuerung_<matrikel>.bin,\n"
           "                     default the current directory\n"
           "  --telemetry-ms N   interval of the relayed telemetry frames, default 100\n"
           "  --step-ms N        pause between upload and programming replies, default 20\n"
           "\n"
           "Misbehaviour (N counts the frames the server sends in a session, 1 is the\n"
           "admission reply):\n"
           "  --refuse           refuse every admission (\"disabled|...\")\n"
           "  --stall-at N       send half of frame N, then stay silent with the connection open\n"
           "  --close-at N       send half of frame N, then close the connection\n"
           "  --deaf-at N        after frame N read nothing more, with the connection open\n"
           "  --huge-at N        send a header announcing 0xFFFFFFF0 payload bytes instead of\n"
           "                     frame N, then stay silent\n"
           "  --garbage-at N     send 64 bytes of garbage instead of frame N, then go on\n"
           "  --web-delay MS     answer the address query only after MS milliseconds\n"
           "  --web-silent       accept the address query but never answer it\n"
           "  --help             this text\n";
}

bool ServerOptions::parse(int argc, char** argv, int& exitCode) {
    exitCode = 2;
    struct Number {
        const char* name;
        int* target;
        int low, high;
    } numbers[] = {
        {"--web-port", &webPort, 0, 65535}, {"--port", &port, 0, 65535},
        {"--telemetry-ms", &telemetryMs, 1, 60000}, {"--step-ms", &stepMs, 0, 60000},
        {"--stall-at", &stallAt, 1, 1 << 30}, {"--close-at", &closeAt, 1, 1 << 30},
        {"--deaf-at", &deafAt, 1, 1 << 30},
        {"--huge-at", &hugeAt, 1, 1 << 30}, {"--garbage-at", &garbageAt, 1, 1 << 30},
        {"--web-delay", &webDelayMs, 0, 3600000},
    };
    struct Text {
        const char* name;
        std::string* target;
    } texts[] = {{"--comment", &comment}, {"--record", &record}, {"--store", &store}};
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        bool known = false;
        if (!std::strcmp(arg, "--help")) {
            std::fputs(helpText(), stdout);
            exitCode = 0;
            return false;
        }
        if (!std::strcmp(arg, "--refuse")) refuse = known = true;
        if (!std::strcmp(arg, "--web-silent")) webSilent = known = true;
        for (const Number& n : numbers) {
            if (std::strcmp(arg, n.name)) continue;
            if (!value || !toInt(value, n.low, n.high, *n.target)) {
                std::fprintf(stderr, "exp-server: %s needs a number from %d to %d\n", arg, n.low, n.high);
                return false;
            }
            known = true;
            ++i;
        }
        for (const Text& t : texts) {
            if (std::strcmp(arg, t.name)) continue;
            if (!value) {
                std::fprintf(stderr, "exp-server: %s needs a value\n", arg);
                return false;
            }
            *t.target = value;
            known = true;
            ++i;
        }
        if (!known) {
            std::fprintf(stderr, "exp-server: unknown option %s (see --help)\n", arg);
            return false;
        }
    }
    return true;
}
