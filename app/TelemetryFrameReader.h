// TelemetryFrameReader: finds the complete telemetry frames in a byte stream, for the
// recording. It syncs as the display's decoder does (55 AA, and 55 55 AA is no start), but
// takes every frame: it does not wait for the window's timer tick after one, so a recording
// holds the frames the display skips while it repaints the pumps.
#pragma once

#include "app/TelemetryFrame.h"

class TelemetryFrameReader {
public:
    // True when the byte completed a frame, which is then in `frame`.
    bool feed(unsigned char byte, TelemetryFrame& frame);
    // Drops a frame begun so far: the next one starts with its sync bytes.
    void reset() { taken = 0; }

private:
    unsigned char bytes[9] = {};
    int taken = 0; // bytes of the present frame so far
};
