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
    ++counts.bytes;
    switch (decoderState) {
    case HuntSync1:
        if (b == 0x55) setState(HuntSync2);
        else if (aligned) ++counts.rejected;
        break;
    case HuntSync2:
        if (b != 0xAA && aligned) counts.rejected += 2; // the first sync byte too
        aligned = b == 0xAA || aligned;
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
        ++counts.frames;
        setState(Complete);
        break;
    case Complete: // waiting for the tick: the byte is dropped
        aligned = false;
        break;
    default: // idle
        break;
    }
}

void TelemetryDecoder::onTimer() {
    if (decoderState != Complete) return;
    effects.repaintPump1();
    effects.repaintPump2();
    setState(HuntSync1);
}

void TelemetryDecoder::startLine() {
    counts = Counts{};
    aligned = false;
    rateStarted = false;
}

void TelemetryDecoder::measureRate(uint32_t nowMs) {
    if (!rateStarted) {
        rateStarted = true;
        rateFrom = nowMs;
        bytesAtRateFrom = counts.bytes;
        return;
    }
    uint32_t elapsed = nowMs - rateFrom;
    if (elapsed < 1000) return;
    counts.bytesPerSecond = (uint32_t)((counts.bytes - bytesAtRateFrom) * 1000 / elapsed);
    rateFrom = nowMs;
    bytesAtRateFrom = counts.bytes;
}
