// ExperimentSettings: where the laboratory's servers are. Kept in the user configuration
// file, section "Experiment": WebServer (host of the address query), WebPort and
// ExperimentPort. A missing or unusable value gives its default.
#pragma once

#include "VEK_UTIL/SString.h"

class SFileIni;

class ExperimentSettings {
public:
    static constexpr const char* section = "Experiment";
    static constexpr const char* defaultWebServer = "localhost";
    static constexpr int defaultWebPort = 80;
    static constexpr int defaultExperimentPort = 5051;

    void load(SFileIni& ini);
    // From globalApplicationBasic's user configuration file; the defaults when it cannot be opened.
    void loadUserSettings();

    SString webServer = defaultWebServer;
    int webPort = defaultWebPort;
    int experimentPort = defaultExperimentPort;

private:
    static int portValue(const SString& text, int fallback);
};
