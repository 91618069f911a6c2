#include "app/TelemetryDecoder.h"

// Every transition goes through here; entering the status state shows the level, which
// is complete once its high byte is in.
void TelemetryDecoder::setState(int state) {
    decoderState = state;
    if (state == Status) {
        SString text;
        text.format("Level = %d", level);
        effects.showLevel(text, level);
    }
}

void TelemetryDecoder::onReceiveByte(unsigned char b) {
    SString text;
    switch (decoderState) {
    case HuntSync1:
        if (b == 0x55) setState(HuntSync2);
        break;
    case HuntSync2:
        setState(b == 0xAA ? LevelLow : HuntSync1);
        break;
    case LevelLow:
        level = b;
        setState(LevelHigh);
        break;
    case LevelHigh:
        level += b * 256;
        setState(Status);
        break;
    case Status:
        effects.setStatusText(SString(b == 0 ? "OK" : "F\334LLEN"));
        setState(Pump1);
        break;
    case Pump1:
        effects.setPump1((float)b);
        setState(Pump2);
        break;
    case Pump2:
        effects.setPump2((float)b);
        setState(Ratio1);
        break;
    case Ratio1:
        effects.setRatio1Text(text.format("%d", b));
        setState(Ratio2);
        break;
    case Ratio2:
        effects.setRatio2Text(text.format(": %d", b));
        setState(Complete);
        break;
    default: // idle, or a complete frame waiting for the tick: the byte is dropped
        break;
    }
}

void TelemetryDecoder::onTimer() {
    if (decoderState != Complete) return;
    effects.repaintPump1();
    effects.repaintPump2();
    setState(HuntSync1);
}
