#include "app/TelemetryFrameReader.h"

bool TelemetryFrameReader::feed(unsigned char byte, TelemetryFrame& frame) {
    if (taken == 0) {
        if (byte == 0x55) bytes[taken++] = byte;
        return false;
    }
    if (taken == 1) {
        taken = byte == 0xAA ? 2 : 0;
        return false;
    }
    bytes[taken++] = byte;
    if (taken < 9) return false;
    taken = 0;
    frame.level = bytes[2] + 256 * bytes[3];
    frame.status = bytes[4];
    frame.pump1 = bytes[5];
    frame.pump2 = bytes[6];
    frame.ratio1 = bytes[7];
    frame.ratio2 = bytes[8];
    return true;
}
