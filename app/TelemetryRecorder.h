// TelemetryRecorder: records the telemetry of a run into a CSV file (RecordingFormat), one row
// per complete frame of whichever road brings it, written by a RecordingWriter. It runs on the
// GUI thread; the window that owns it polls it on its timer and says in German what went wrong.
#pragma once

#include "VEK_UTIL/SString.h"
#include "app/RecordingFormat.h"
#include "app/RecordingWriter.h"
#include "app/TelemetryFrameReader.h"

#include <cstdint>

class TelemetryRecorder {
public:
    // Starts a recording into path (an existing file is replaced). False when the file cannot
    // be made; getMessage() then says why.
    bool start(const char* path);
    // Ends the recording with every row taken in the file. False when the last rows could not
    // be written; getMessage() then says so.
    bool stop();
    // Once per timer tick: true once the writer has failed and ended; the recording is then
    // over and getMessage() holds what the user is to read.
    bool failed();

    void onByte(RecordingFormat::Road road, unsigned char byte);

    bool isRecording() const { return recording; }
    uint64_t rowsTaken() const { return taken; }
    uint64_t rowsSaved() const { return writer.rowsWritten(); }
    const SString& getPath() const { return path; }
    const SString& getMessage() const { return message; }

    // The user's words for why a file cannot be written (a system error code, or the writer's
    // own reason when it had to stop because the disk was too slow).
    static SString reasonText(RecordingWriter::Failure failure, unsigned code);

private:
    void describeFailure();

    RecordingWriter writer;
    TelemetryFrameReader readers[2]; // one per road, so that frames of the two never mix
    SString path;
    SString message;
    bool recording = false;
    uint64_t taken = 0;
    long long startCount = 0;
    long long countsPerSecond = 1;
};
