#include "tools/plant-sim/CommandReader.h"

bool CommandReader::feed(uint8_t byte) {
    if (collecting) {
        if (command.size() < maxCommandLength) command += (char)byte;
        return false;
    }
    if (byte == preamble[preambleMatched]) {
        if (++preambleMatched == preamble.size()) {
            preambleMatched = 0;
            collecting = true;
            command.clear();
            pendingMix = -1;
        }
        return false;
    }
    preambleMatched = byte == preamble[0] ? 1 : 0;
    return preambleMatched ? false : feedMix(byte);
}

// A pair that is no command drops its first byte: the second may begin the next command,
// so one lost byte does not shift every later pair.
bool CommandReader::feedMix(uint8_t byte) {
    if (pendingMix < 0) {
        pendingMix = byte;
        return false;
    }
    uint8_t first = (uint8_t)pendingMix;
    bool known = TankModel::isMixCommand(first, byte);
    if (known) model.applyMixCommand(first, byte);
    pendingMix = known ? -1 : byte;
    return known;
}

std::string CommandReader::takeProgrammerCommand() {
    collecting = false;
    std::string taken;
    taken.swap(command);
    return taken;
}
