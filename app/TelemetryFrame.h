// TelemetryFrame: the readings of one complete telemetry frame, as a recording keeps them.
#pragma once

struct TelemetryFrame {
    int level = 0;  // 0 … 65535
    int status = 0; // the controller's status byte: 0 OK, anything else filling
    int pump1 = 0;
    int pump2 = 0;
    int ratio1 = 0;
    int ratio2 = 0;

    bool operator==(const TelemetryFrame&) const = default;
};
