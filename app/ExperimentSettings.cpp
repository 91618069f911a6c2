// ExperimentSettings: reading the "Experiment" section.
#include "app/ExperimentSettings.h"

#include "VEK_GUI/SApplicationBasic.h"
#include "VEK_UTIL/SFileIni.h"

void ExperimentSettings::load(SFileIni& ini) {
    SString host = ini.getString(section, "WebServer", defaultWebServer);
    host.trim();
    webServer.setRaw(usableHost(host) ? host.getBuffer() : defaultWebServer);
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

// A name or dotted address: no blanks or control bytes, nothing a URL or the request
// line could be broken with.
bool ExperimentSettings::usableHost(const SString& text) {
    if (text.isEmpty() || text.length() > 253) return false;
    for (int i = 0; i < text.length(); ++i) {
        unsigned char c = (unsigned char)text.getAt(i);
        bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '_';
        if (!ok) return false;
    }
    return true;
}
