#include "tests/serial/PlantSim.h"

std::string PlantSim::programPath() {
    std::string path = VEK_PLANT_SIM;
    return unixFileExists(path) ? path : std::string();
}

PlantSim::PlantSim(const char* port, const std::string& options) {
    std::string program = programPath();
    if (program.empty()) {
        error = "plant-sim not found at " VEK_PLANT_SIM " (build the linux preset first)";
        return;
    }
    // Its first line names the pseudo-terminal, once the port link is in place.
    std::string f = "'" + unixFolder() + "/";
    std::string more = options;
    for (size_t at; (at = more.find("{dir}")) != std::string::npos;) more.replace(at, 5, unixFolder());
    ready = start("'" + program + "' --prefix \\\"$WINEPREFIX\\\" --port " + port + " --close-after 900 --record " +
                      f + "record' " + more,
                  5000, 900);
    if (!ready) error = "plant-sim did not come up: " + error;
}
