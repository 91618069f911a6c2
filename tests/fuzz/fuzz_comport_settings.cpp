// Fuzzes the settings text and a stored settings section: every result must be a setting
// the port can take, and the text form of a result must read back to the same settings.
#include "VEK_SYSTEM/SComPortSettings.h"
#include "VEK_UTIL/SFileIni.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

bool usable(const SComPortSettings& s) {
    return SComPortSettings::isPortName(s.port) && s.baud >= SComPortSettings::minBaud &&
           s.baud <= SComPortSettings::maxBaud && s.parity >= 0 && s.parity <= SComPortSettings::maxParity &&
           s.dataBits >= SComPortSettings::minDataBits && s.dataBits <= SComPortSettings::maxDataBits &&
           s.stopBits >= 0 && s.stopBits <= SComPortSettings::maxStopBits;
}

bool same(const SComPortSettings& a, const SComPortSettings& b) {
    return a.port.compare(b.port, true) == 0 && a.baud == b.baud && a.parity == b.parity &&
           a.dataBits == b.dataBits && a.stopBits == b.stopBits;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);

    SComPortSettings settings;
    settings.fromString(text.c_str());
    if (!usable(settings)) __builtin_trap();
    SComPortSettings again;
    again.fromString(settings.toString());
    if (!same(settings, again)) __builtin_trap();

    // The same bytes as the body of a stored section.
    SFileIni ini;
    std::string stored = "[ComPort_Control1]\r\n" + text;
    ini.loadFromText(stored.data(), (int)stored.size());
    SComPortSettings loaded;
    loaded.load(ini, "_Control1");
    if (!usable(loaded)) __builtin_trap();
    loaded.store(ini, "_Control1");
    SComPortSettings reloaded;
    reloaded.load(ini, "_Control1");
    if (!same(loaded, reloaded)) __builtin_trap();
    return 0;
}
