// FrameSource: what the plant sends, piece by piece: a telemetry frame from the tank
// model (or a counted frame), cut short or followed by noise as the options ask, until
// the frame or byte limit is reached.
#pragma once

#include "tools/plant-model/TankModel.h"
#include "tools/plant-sim/SimOptions.h"

#include <cstdint>
#include <vector>

class FrameSource {
public:
    FrameSource(TankModel& model, const SimOptions& options) : model(model), options(options) {}

    // Appends the next frame with its noise to `out`, after letting the model run to
    // `nowSeconds`. Returns false (and appends nothing) once a limit is reached.
    bool next(std::vector<uint8_t>& out, double nowSeconds);
    bool isDone() const;
    uint64_t framesMade() const { return frames; }
    uint64_t bytesMade() const { return bytes; }
    uint64_t framesCut() const { return cut; }    // frames sent with fewer than nine bytes
    uint64_t noiseMade() const { return noise; }  // noise bytes sent

private:
    uint8_t noiseByte();

    TankModel& model;
    const SimOptions& options;
    uint64_t frames = 0;
    uint64_t bytes = 0;
    uint64_t cut = 0;
    uint64_t noise = 0;
    double modelTime = 0;
    uint32_t noiseState = 0x2545F491; // fixed seed: the same run sends the same noise
};
