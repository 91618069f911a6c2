// Throughput of the telemetry decoder, of assigning marked texts with a loaded table and of
// escaping long texts (every control byte is formatted onto the end of the result).
#include "VEK_UTIL/SLanguage.h"
#include "app/TelemetryDecoder.h"

#include <benchmark/benchmark.h>

namespace {

// Effects bound to string formatting, as the main window's value texts are.
class TextEffects : public TelemetryEffects {
public:
    SString last;
    void showLevel(const SString& text, int) override { last = text; }
    void setStatusText(const SString& text) override { last = text; }
    void setPump1(float v) override { last = (double)v; }
    void setPump2(float v) override { last = (double)v; }
    void setRatio1Text(const SString& t) override { last = t; }
    void setRatio2Text(const SString& t) override { last = t; }
    void repaintPump1() override {}
    void repaintPump2() override {}
};

void DecoderBytes(benchmark::State& state) {
    TextEffects effects;
    TelemetryDecoder decoder(effects);
    const unsigned char frame[9] = {0x55, 0xAA, 0x10, 0x0C, 0x00, 0x00, 0x01, 0x02, 0x01};
    for (auto _ : state) {
        for (unsigned char b : frame) decoder.onReceiveByte(b);
        decoder.onTimer();
    }
    state.SetBytesProcessed((int64_t)state.iterations() * 9);
}
BENCHMARK(DecoderBytes);

void MarkedTextAssignment(benchmark::State& state) {
    SString file;
    for (int i = 0; i < 1000; ++i) file.appendFormat("idText%04d=Eintrag Nummer %d\r\n", i, i);
    globalLanguage.clear();
    globalLanguage.load(file);
    SString s;
    for (auto _ : state) {
        s = "~~idText0999~~letzter Eintrag~~last entry"; // the worst case: the last entry
        benchmark::DoNotOptimize(s.getBuffer());
    }
    globalLanguage.clear();
}
BENCHMARK(MarkedTextAssignment);

void PlainTextAssignment(benchmark::State& state) {
    SString s;
    for (auto _ : state) {
        s = "Ein Text ohne Kennung";
        benchmark::DoNotOptimize(s.getBuffer());
    }
}
BENCHMARK(PlainTextAssignment);

void EscapeControlBytes(benchmark::State& state) {
    SString text;
    for (int i = 0; i < state.range(0); ++i) text.append((char)(1 + i % 8)); // "\x01".."\x08"
    for (auto _ : state) {
        SString escaped = text.escape();
        benchmark::DoNotOptimize(escaped.getBuffer());
    }
    state.SetBytesProcessed((int64_t)state.iterations() * state.range(0));
}
BENCHMARK(EscapeControlBytes)->Arg(10 * 1000)->Arg(100 * 1000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
