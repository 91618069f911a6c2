#include "tools/plant-sim/SimOptions.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <getopt.h>
#include <strings.h>

namespace {

const char* const helpText =
    "usage: plant-sim [options]\n"
    "\n"
    "Plays the plant controller of the mixing tank on a pseudo-terminal: it streams the\n"
    "nine-byte telemetry frame (55 AA level-low level-high status pump1 pump2 ratio1 ratio2)\n"
    "of a small tank model and takes the two-byte mix commands 1,1 / 2,1 / 1,2 it receives.\n"
    "The controller fills the tank with both pumps in the commanded ratio once the level is\n"
    "below 1800 and stops them at 2700; the outlet drains it all the time.\n"
    "The first line on stdout is the path of the pseudo-terminal. SIGINT or SIGTERM end it\n"
    "and remove the port link.\n"
    "\n"
    "  --rate BAUD          line rate to pace the output at, 10 bits a byte (default 9600:\n"
    "                       960 bytes a second)\n"
    "  --flood              write as fast as the line takes the bytes, ignoring --rate\n"
    "  --prefix DIR --port comN\n"
    "                       link the pseudo-terminal into the Wine prefix DIR as\n"
    "                       DIR/dosdevices/comN (N 1..256), so the program opens it as COMN;\n"
    "                       cncaN or cncbN (N 0..255) names a port of a virtual-port driver\n"
    "  --garbage N          N bytes of noise after every frame (0..1000); noise never holds\n"
    "                       0x55, the first sync byte, so a receiver can only skip it\n"
    "  --cut-every N        cut every N-th frame short (0: never)\n"
    "  --cut-length K       bytes of a cut frame that are sent (1..8, default 4)\n"
    "  --close-after S      close the line after S seconds and end (0: never)\n"
    "  --drop-after S       after S seconds hang the line up and take the port link away, as\n"
    "                       when an adapter is unplugged; bytes on their way are lost\n"
    "  --drop-for N         seconds until the dropped line comes back as a new\n"
    "                       pseudo-terminal under the same port link, its path a further line\n"
    "                       on stdout (default 3)\n"
    "  --record FILE        write every byte received to FILE as it arrives\n"
    "  --stamps FILE        write a line to FILE for each frame once its last byte (and the\n"
    "                       noise after it) went to the line, \"sent FRAME NS\", and for each\n"
    "                       read of received bytes, \"received COUNT NS\"; FRAME counts from\n"
    "                       0, NS is CLOCK_REALTIME in nanoseconds (the clock Wine gives\n"
    "                       Windows programs as the system time), for latency measurements\n"
    "  --counted            frame n (from 0) carries n as its level, so a receiver can check\n"
    "                       order and loss; status, pumps and ratio still come from the model\n"
    "  --frames N           send N frames, then only listen (cut frames count; 0: no limit)\n"
    "  --bytes N            send N bytes, then only listen (0: no limit)\n"
    "  --tally FILE         once the --frames or --bytes limit is reached and the last byte\n"
    "                       went to the line, write \"frames F cut C noise N bytes B\" to FILE:\n"
    "                       the frames made, how many of them cut short, the noise bytes and\n"
    "                       all bytes (a dropped line loses some of them)\n"
    "  --programmer-rate BAUD\n"
    "                       answer the programmer preamble (D4 C7 A3 BE F1 AC C9 + command)\n"
    "                       with the line \"Tobrik <command> \\xB1\" and LF, but only while the\n"
    "                       line is set to BAUD; at any other rate stay silent. Telemetry\n"
    "                       pauses during a command and for 300 ms after it.\n"
    "  --programmer-reply TEXT\n"
    "                       answer the programmer with TEXT and LF instead (a programmer\n"
    "                       that answers rubbish, without the \\xB1 of success)\n"
    "  --sent-log FILE      write a line to FILE for each frame once it went to the line:\n"
    "                       its number (from 0) and its bytes in hex, noise included\n"
    "  --replay FILE        play a recording the program made (its CSV file) instead of the\n"
    "                       tank model: each row as its frame, at the pace it was recorded,\n"
    "                       but not faster than --rate lets the bytes go (--flood: no limit).\n"
    "                       A file that is not such a recording is refused with its line.\n"
    "                       Mix commands are read and ignored; the line stays up at the end.\n"
    "  --speed F            play the recording F times as fast (0.01..1000, default 1)\n"
    "  --quiet              no log lines on stderr\n"
    "  --help               this text\n";

enum OptionId { Rate = 1000, Flood, Prefix, Port, Garbage, CutEvery, CutLength, CloseAfter, Record, Stamps, Counted,
                Frames, Bytes, ProgrammerRate, ProgrammerReply, Quiet, Help, DropAfter, DropFor, Tally,
                SentLog, Replay, Speed };

const option longOptions[] = {
    {"rate", required_argument, nullptr, Rate},
    {"flood", no_argument, nullptr, Flood},
    {"prefix", required_argument, nullptr, Prefix},
    {"port", required_argument, nullptr, Port},
    {"garbage", required_argument, nullptr, Garbage},
    {"cut-every", required_argument, nullptr, CutEvery},
    {"cut-length", required_argument, nullptr, CutLength},
    {"close-after", required_argument, nullptr, CloseAfter},
    {"record", required_argument, nullptr, Record},
    {"stamps", required_argument, nullptr, Stamps},
    {"counted", no_argument, nullptr, Counted},
    {"frames", required_argument, nullptr, Frames},
    {"bytes", required_argument, nullptr, Bytes},
    {"programmer-rate", required_argument, nullptr, ProgrammerRate},
    {"programmer-reply", required_argument, nullptr, ProgrammerReply},
    {"quiet", no_argument, nullptr, Quiet},
    {"help", no_argument, nullptr, Help},
    {"drop-after", required_argument, nullptr, DropAfter},
    {"drop-for", required_argument, nullptr, DropFor},
    {"tally", required_argument, nullptr, Tally},
    {"sent-log", required_argument, nullptr, SentLog},
    {"replay", required_argument, nullptr, Replay},
    {"speed", required_argument, nullptr, Speed},
    {nullptr, 0, nullptr, 0},
};

// The whole text must be a number within the range.
bool parseNumber(const char* text, long long low, long long high, long long& value) {
    errno = 0;
    char* end = nullptr;
    long long n = std::strtoll(text, &end, 10);
    if (errno || end == text || *end || n < low || n > high) return false;
    value = n;
    return true;
}

bool parseSeconds(const char* text, double& value) {
    char* end = nullptr;
    double s = std::strtod(text, &end);
    if (end == text || *end || !std::isfinite(s) || s < 0 || s > 1e6) return false;
    value = s;
    return true;
}

// A number of at most three digits without a leading zero (0 itself allowed), at most `high`.
bool portNumber(const std::string& digits, int high) {
    if (digits.empty() || digits.size() > 3 || (digits[0] == '0' && digits.size() > 1)) return false;
    for (char c : digits)
        if (c < '0' || c > '9') return false;
    return std::atoi(digits.c_str()) <= high;
}

// "com" followed by 1..256, or a port pair of the com0com driver, "cnca"/"cncb" followed by
// 0..255: nothing else may become a file name in the prefix.
bool validPort(const std::string& name) {
    if (name.size() > 4 && (!strncasecmp(name.c_str(), "cnca", 4) || !strncasecmp(name.c_str(), "cncb", 4)))
        return portNumber(name.substr(4), 255);
    return name.size() > 3 && !strncasecmp(name.c_str(), "com", 3) && name[3] != '0' &&
           portNumber(name.substr(3), 256);
}

bool take(int id, const char* arg, SimOptions& o) {
    long long n = 0;
    switch (id) {
    case Rate: return parseNumber(arg, 50, 4000000, n) && (o.rate = (long)n, true);
    case Flood: return o.flood = true;
    case Prefix: return !(o.prefix = arg).empty();
    case Port: return validPort(o.port = arg);
    case Garbage: return parseNumber(arg, 0, 1000, n) && (o.garbage = (int)n, true);
    case CutEvery: return parseNumber(arg, 0, 1000000000, n) && (o.cutEvery = (int)n, true);
    case CutLength: return parseNumber(arg, 1, 8, n) && (o.cutLength = (int)n, true);
    case CloseAfter: return parseSeconds(arg, o.closeAfter);
    case Record: return !(o.record = arg).empty();
    case Stamps: return !(o.stamps = arg).empty();
    case Counted: return o.counted = true;
    case Frames: return parseNumber(arg, 0, 1LL << 62, n) && (o.frameLimit = (uint64_t)n, true);
    case Bytes: return parseNumber(arg, 0, 1LL << 62, n) && (o.byteLimit = (uint64_t)n, true);
    case ProgrammerRate: return parseNumber(arg, 50, 4000000, n) && (o.programmerRate = (long)n, true);
    case ProgrammerReply: return !(o.programmerReply = arg).empty() && o.programmerReply.size() <= 200;
    case Quiet: return o.quiet = true;
    case DropAfter: return parseSeconds(arg, o.dropAfter);
    case DropFor: return parseSeconds(arg, o.dropFor);
    case Tally: return !(o.tally = arg).empty();
    case SentLog: return !(o.sentLog = arg).empty();
    case Replay: return !(o.replay = arg).empty();
    case Speed: return parseSeconds(arg, o.speed) && o.speed >= 0.01 && o.speed <= 1000;
    }
    return false;
}

// A recording is played as it is: what shapes the model's telemetry has no meaning for it.
int checkReplay(const SimOptions& o) {
    const SimOptions plain;
    if (o.replay.empty()) {
        if (o.speed == plain.speed) return 0;
        std::fprintf(stderr, "plant-sim: --speed goes with --replay\n");
        return 2;
    }
    const char* clash = o.counted ? "--counted" : o.garbage ? "--garbage" : o.cutEvery ? "--cut-every"
                      : o.frameLimit ? "--frames" : o.byteLimit ? "--bytes"
                      : !o.stamps.empty() ? "--stamps" : !o.sentLog.empty() ? "--sent-log"
                      : o.programmerRate ? "--programmer-rate" : nullptr;
    if (!clash) return 0;
    std::fprintf(stderr, "plant-sim: --replay plays the recording as it is; %s does not go with it\n", clash);
    return 2;
}

} // namespace

int parseSimOptions(int argc, char** argv, SimOptions& options) {
    optind = 1;
    int id;
    while ((id = getopt_long(argc, argv, "", longOptions, nullptr)) != -1) {
        if (id == Help) {
            std::fputs(helpText, stdout);
            return 1;
        }
        if (id == '?' || id == ':') return 2; // getopt has said what was wrong
        if (!take(id, optarg, options)) {
            std::fprintf(stderr, "plant-sim: bad value for --%s: %s\n", longOptions[id - Rate].name,
                         optarg ? optarg : "");
            return 2;
        }
    }
    if (optind < argc) {
        std::fprintf(stderr, "plant-sim: unexpected argument %s (see --help)\n", argv[optind]);
        return 2;
    }
    if (options.prefix.empty() != options.port.empty()) {
        std::fprintf(stderr, "plant-sim: --prefix and --port go together\n");
        return 2;
    }
    return checkReplay(options);
}
