#include "tests/experiment/ExperimentPeers.h"

#include <cstdio>
#include <cstdlib>

bool ExpServer::start(const std::string& options) {
    std::string f = "'" + unixFolder() + "/";
    std::string command = "'" + programPath() + "' --web-port 0 --port 0 --record " + f + "record' --store " + f +
                          "' " + options;
    if (!NativePeer::start(command)) return false;
    return std::sscanf(firstLine().c_str(), "exp-server: web 127.0.0.1:%d, experiment 127.0.0.1:%d", &webPort,
                       &port) == 2;
}

bool WebPeer::start() { return NativePeer::start("node '" VEK_WEB_PEER "'"); }

int WebPeer::portOf(const char* behaviour) const {
    std::string key = std::string(" ") + behaviour + " ";
    size_t at = firstLine().find(key);
    return at == std::string::npos ? 0 : std::atoi(firstLine().c_str() + at + key.size());
}
