// CommandReader: takes apart what the program sends down the line. Bytes pair up as mix
// commands (1,1 / 2,1 / 1,2) for the tank model; the programmer preamble starts a
// programmer command, whose bytes are collected until the caller sees the line go quiet.
#pragma once

#include "tools/plant-model/TankModel.h"

#include <array>
#include <cstdint>
#include <string>

class CommandReader {
public:
    static constexpr std::array<uint8_t, 7> preamble = {0xD4, 0xC7, 0xA3, 0xBE, 0xF1, 0xAC, 0xC9};
    static constexpr size_t maxCommandLength = 256;

    explicit CommandReader(TankModel& model) : model(model) {}

    // Returns true when the byte completed a known mix command.
    bool feed(uint8_t byte);
    // A preamble has come and its command bytes are being collected.
    bool inProgrammerCommand() const { return collecting; }
    // Ends the programmer command and returns its bytes.
    std::string takeProgrammerCommand();

private:
    bool feedMix(uint8_t byte);

    TankModel& model;
    size_t preambleMatched = 0;
    bool collecting = false;
    std::string command;
    int pendingMix = -1; // first byte of a mix command, -1 when none
};
