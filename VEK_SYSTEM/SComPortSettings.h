// SComPortSettings: the line settings of one serial port and their text form
// "COM1,9600,N,8,1" (port, baud, parity letter, data bits, stop bits). Parity and stop-bit
// codes are the platform's DCB codes. Text and stored sections that do not make sense
// give the default of each field that is wrong, never a setting the port cannot take.
#pragma once

#include "VEK_UTIL/SString.h"

class SFileIni;

class SComPortSettings {
public:
    // What the text form, the stored sections and the settings dialog accept.
    static constexpr int minBaud = 10;
    static constexpr int maxBaud = 10000000;
    static constexpr int minDataBits = 4;
    static constexpr int maxDataBits = 8;
    static constexpr int maxParity = 4; // 0 none, 1 odd, 2 even, 3 mark, 4 space
    static constexpr int maxStopBits = 2; // 0 one, 1 one and a half, 2 two
    static constexpr int maxPortNumber = 256;
    static constexpr int maxPortNameLength = 32;

    SComPortSettings();
    virtual ~SComPortSettings();
    virtual const char* getClassName() const { return "SComPortSettings"; }

    // com1, 9600 baud, no parity, 8 data bits, one stop bit; tobrikCommands stays.
    void setDefaults();
    SString toString() const;
    // Defaults first, then every field of the text that is valid; tobrikCommands stays.
    void fromString(const char* text);

    // The section "ComPort" + suffix of `ini` (keys Port, Baud, Parity, Data, Stop,
    // SendTobrikCmd). store() saves the file and returns whether that worked.
    void load(SFileIni& ini, const char* suffix);
    bool store(SFileIni& ini, const char* suffix) const;
    // The same in the program's user configuration file (SSystem::userConfig); false
    // without one.
    bool load(const char* suffix);
    bool store(const char* suffix) const;

    // A name a serial port goes by, in either case: "com" with a number 1 … 256, or another
    // device name as virtual-port drivers give them (CNCA0): a letter, then letters, digits,
    // "_" or "-", at most maxPortNameLength in all. Never a path nor CON, PRN, AUX or NUL.
    static bool isPortName(const SString& name);

    SString port;
    int baud = 9600;
    int parity = 0;
    int dataBits = 8;
    int stopBits = 0;
    bool tobrikCommands = false;
};
