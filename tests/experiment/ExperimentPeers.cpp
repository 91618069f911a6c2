#include "tests/experiment/ExperimentPeers.h"

#include "VEK_GUI/SApplicationBasic.h"
#include "VEK_SYSTEM/SSystem.h"
#include "app/ExperimentWnd.h"
#include "tests/support/TestResources.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

std::string ExpServer::received() const {
    std::string frames, line;
    for (std::istringstream in(record()); std::getline(in, line);)
        if (!line.starts_with("#")) frames += line + "\n";
    return frames;
}

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

ExperimentLab::ExperimentLab() {
    startTestResources();
    CreateDirectoryA(install.file("bin"), nullptr);
    globalApplicationBasic.setConfigFolders(config.path(), config.path());
    globalApplicationBasic.parseCommandLine(install.file("bin\\Anlage.exe"));
    configOpen = globalApplicationBasic.openUserConfigFile();
    servers("127.0.0.1", 1, 1);
}

ExperimentLab::~ExperimentLab() {
    SSystem::deleteFile(ExperimentWnd::firmwarePath());
    RemoveDirectoryA(install.file("Steuerung\\temp_bin"));
    RemoveDirectoryA(install.file("Steuerung"));
    RemoveDirectoryA(install.file("bin"));
    globalApplicationBasic.getUserConfig().close(false);
}

void ExperimentLab::servers(const char* host, int webPort, int experimentPort) {
    SFileIni& ini = globalApplicationBasic.getUserConfig();
    ini.setString("Experiment", "WebServer", host);
    ini.setString("Experiment", "WebPort", SString::formatted("%d", webPort));
    ini.setString("Experiment", "ExperimentPort", SString::formatted("%d", experimentPort));
}

void ExperimentLab::writeFirmware(const char* bytes, int length) {
    CreateDirectoryA(install.file("Steuerung"), nullptr);
    CreateDirectoryA(install.file("Steuerung\\temp_bin"), nullptr);
    install.write("Steuerung\\temp_bin\\Steuerung.bin", bytes, length);
}
