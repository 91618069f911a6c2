// ExperimentSettings: reading the "Experiment" section.
#include "app/ExperimentSettings.h"

#include "VEK_GUI/SApplicationBasic.h"
#include "VEK_UTIL/SFileIni.h"
#include "app/AddressQuery.h"

void ExperimentSettings::load(SFileIni& ini) {
    SString host = ini.getString(section, "WebServer", defaultWebServer);
    host.trim();
    webServer.setRaw(AddressQuery::isHostName(host) ? host.getBuffer() : defaultWebServer);
    webPort = portValue(ini.getString(section, "WebPort", ""), defaultWebPort);
    experimentPort = portValue(ini.getString(section, "ExperimentPort", ""), defaultExperimentPort);
}

void ExperimentSettings::loadUserSettings() {
    *this = ExperimentSettings();
    if (globalApplicationBasic.openUserConfigFile()) load(globalApplicationBasic.getUserConfig());
}

// Decimal digits only, 1 to 65535.
int ExperimentSettings::portValue(const SString& text, int fallback) {
    SString digits(text);
    digits.trim();
    if (digits.isEmpty() || digits.length() > 5) return fallback;
    long value = 0;
    for (int i = 0; i < digits.length(); ++i) {
        char c = digits.getAt(i);
        if (c < '0' || c > '9') return fallback;
        value = value * 10 + (c - '0');
    }
    return value >= 1 && value <= 65535 ? (int)value : fallback;
}
