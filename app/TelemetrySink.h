// TelemetrySink: where the plant controller's bytes relayed by the experiment server go.
// The main window plugs in its telemetry decoder, so relayed bytes take the same road as
// bytes from the serial port.
#pragma once

class TelemetrySink {
public:
    virtual ~TelemetrySink() = default;
    virtual void onTelemetryByte(unsigned char byte) = 0;
};
