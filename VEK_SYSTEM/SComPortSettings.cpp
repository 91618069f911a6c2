#include "VEK_SYSTEM/SComPortSettings.h"

#include "VEK_SYSTEM/SSystem.h"
#include "VEK_UTIL/SFileIni.h"

#include <cctype>

namespace {

const char* notStoredText = "~~idComSettingsNotStored~~Die Port-Einstellungen konnten nicht gespeichert werden und "
                            "gelten nur bis zum Ende des Programms.\r\nDatei: %s\r\n%s~~The port settings could not "
                            "be saved and apply only until the program ends.\r\nFile: %s\r\n%s";

// A plain decimal number (blanks around it allowed) within [low, high]; anything else,
// letters and overlong digit strings included, leaves `value` alone.
bool takeNumber(SString text, int low, int high, int& value) {
    text.trim();
    if (text.isEmpty() || text.length() > 10) return false;
    for (int i = 0; i < text.length(); ++i)
        if (text.getAt(i) < '0' || text.getAt(i) > '9') return false;
    int n = text.toNumber();
    if (n < low || n > high) return false;
    value = n;
    return true;
}

int parityCode(char letter, int fallback) {
    switch (SString::lowerChar(letter)) {
    case 'e': return 2;
    case 'm': return 3;
    case 'n': return 0;
    case 'o': return 1;
    case 's': return 4;
    }
    return fallback;
}

SString sectionName(const char* suffix) {
    SString name;
    name.setRaw("ComPort");
    name.append(suffix ? suffix : "");
    return name;
}

} // namespace

SComPortSettings::SComPortSettings() { setDefaults(); }

SComPortSettings::~SComPortSettings() = default;

void SComPortSettings::setDefaults() {
    port.setRaw("com1");
    baud = 9600;
    parity = 0;
    dataBits = 8;
    stopBits = 0;
}

bool SComPortSettings::isPortName(const SString& name) {
    const int length = name.length();
    if (length < 1 || length > maxPortNameLength || !isalpha((unsigned char)name.getAt(0))) return false;
    for (int i = 1; i < length; ++i) {
        unsigned char c = (unsigned char)name.getAt(i);
        if (!isalnum(c) && c != '_' && c != '-') return false;
    }
    static const char* const reserved[] = {"con", "prn", "aux", "nul"};
    for (const char* device : reserved)
        if (name.compare(device, true) == 0) return false;
    if (!name.startsWith("com", true)) return true;
    // "com" with digits: a COM number, without a leading zero.
    int digits = length - 3;
    for (int i = 3; i < length; ++i)
        if (!isdigit((unsigned char)name.getAt(i))) return digits > 0;
    if (digits < 1 || digits > 3 || name.getAt(3) == '0') return false;
    return SString::toNumber(name.getBuffer() + 3) <= maxPortNumber;
}

SString SComPortSettings::toString() const {
    static const char* const parityLetters[] = {"N,", "O,", "E,", "M,", "S,"};
    static const char* const stopTexts[] = {"1", "1.5", "2"};
    SString text(port);
    text.append(',').append(baud).append(',');
    text.append(parity >= 0 && parity <= maxParity ? parityLetters[parity] : ",");
    text.append(dataBits).append(',');
    if (stopBits >= 0 && stopBits <= maxStopBits) text.append(stopTexts[stopBits]);
    return text.toUpper();
}

// Five fields cut at ","; missing ones are empty and keep their defaults.
void SComPortSettings::fromString(const char* text) {
    setDefaults();
    SString rest;
    rest.setRaw(text ? text : "");
    rest.append(",,,,");
    SString portField = rest.cutFirst(",");
    SString baudField = rest.cutFirst(",");
    SString parityField = rest.cutFirst(",");
    SString dataField = rest.cutFirst(",");
    SString stopField = rest.cutFirst(",");

    portField.toLower();
    if (isPortName(portField)) port = portField;
    takeNumber(baudField, minBaud, maxBaud, baud);
    if (!parityField.isEmpty()) parity = parityCode(parityField.getAt(0), parity);
    takeNumber(dataField, minDataBits, maxDataBits, dataBits);
    if (stopField == "1") stopBits = 0;
    else if (stopField == "1.5") stopBits = 1;
    else if (stopField == "2") stopBits = 2;
}

// An empty port means nothing was stored: all defaults. Otherwise each valid key counts.
void SComPortSettings::load(SFileIni& ini, const char* suffix) {
    SString section = sectionName(suffix);
    SString storedPort = ini.getString(section, "Port", "");
    setDefaults();
    if (storedPort.isEmpty()) return;
    if (isPortName(storedPort)) port = storedPort;
    SString storedBaud = ini.getString(section, "Baud", "9600");
    storedBaud.replace(".", ""); // "115.200" as a person writes it
    takeNumber(storedBaud, minBaud, maxBaud, baud);
    takeNumber(ini.getString(section, "Parity", "0"), 0, maxParity, parity);
    takeNumber(ini.getString(section, "Data", "8"), minDataBits, maxDataBits, dataBits);
    takeNumber(ini.getString(section, "Stop", "0"), 0, maxStopBits, stopBits);
    tobrikCommands = ini.getInt(section, "SendTobrikCmd", 0) != 0;
}

bool SComPortSettings::store(SFileIni& ini, const char* suffix) const {
    SString section = sectionName(suffix);
    ini.setString(section, "Port", port);
    ini.setInt(section, "Baud", baud);
    ini.setInt(section, "Parity", parity);
    ini.setInt(section, "Data", dataBits);
    ini.setInt(section, "Stop", stopBits);
    ini.setInt(section, "SendTobrikCmd", tobrikCommands ? 1 : 0);
    return ini.save();
}

bool SComPortSettings::load(const char* suffix) {
    SFileIni* ini = SSystem::userConfig();
    if (!ini) return false;
    load(*ini, suffix);
    return true;
}

// Settings the user chose that the file cannot take (it is read-only, say) are said at
// once: silently they would be gone at the next start.
bool SComPortSettings::store(const char* suffix) const {
    SFileIni* file = SSystem::userConfig();
    if (!file) return false;
    SFileIni& ini = *file;
    const SString before = ini.getContent();
    if (store(ini, suffix)) return true;
    if (ini.getContent() == before) return false; // nothing new was to be kept
    ini.reportNotSaved(notStoredText);
    return false;
}
