#include "tools/plant-sim/FrameSource.h"

#include <algorithm>

bool FrameSource::isDone() const {
    return (options.frameLimit && frames >= options.frameLimit) || (options.byteLimit && bytes >= options.byteLimit);
}

bool FrameSource::next(std::vector<uint8_t>& out, double nowSeconds) {
    if (isDone()) return false;
    if (nowSeconds > modelTime) {
        model.advance(nowSeconds - modelTime);
        modelTime = nowSeconds;
    }
    std::array<uint8_t, 9> frame = model.telemetryFrame();
    if (options.counted) {
        frame[2] = (uint8_t)(frames & 0xFF);
        frame[3] = (uint8_t)((frames >> 8) & 0xFF);
    }
    ++frames;
    size_t length = frame.size();
    if (options.cutEvery && frames % (uint64_t)options.cutEvery == 0) length = (size_t)options.cutLength;

    size_t start = out.size();
    out.insert(out.end(), frame.begin(), frame.begin() + (std::ptrdiff_t)length);
    for (int i = 0; i < options.garbage; ++i) out.push_back(noiseByte());
    size_t added = out.size() - start;
    if (options.byteLimit) {
        uint64_t room = options.byteLimit - bytes;
        if (added > room) {
            out.resize(start + (size_t)room);
            added = (size_t)room;
        }
    }
    bytes += added;
    // The byte limit may cut the frame or its noise too.
    const size_t frameSent = std::min(added, length);
    cut += frameSent < frame.size();
    noise += added - frameSent;
    return true;
}

// xorshift32: cheap, and repeatable for a test that records what it got. Never 0x55: noise
// that could begin a frame would make what a receiver skips depend on the bytes that follow.
uint8_t FrameSource::noiseByte() {
    uint8_t b;
    do {
        noiseState ^= noiseState << 13;
        noiseState ^= noiseState >> 17;
        noiseState ^= noiseState << 5;
        b = (uint8_t)(noiseState >> 24);
    } while (b == 0x55);
    return b;
}
