// RecordingFormat: the CSV file of a recorded run, one row per telemetry frame. Written for a
// German spreadsheet opened by double click: ";" between the fields, Windows-1252 text, CR LF
// line ends, whole numbers only (so the decimal mark never matters), and a time text the
// spreadsheet leaves as it is. plant-sim's replay reads the same file.
#pragma once

#include "VEK_UTIL/SString.h"
#include "app/TelemetryFrame.h"

#include <cstdint>

class RecordingFormat {
public:
    // Where the frames came from: the serial line or the experiment server's relay.
    enum Road { Serial = 0, Experiment = 1 };

    // A local wall-clock time.
    struct Time {
        int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
    };

    static constexpr int columnCount = 10;
    static constexpr char separator = ';';
    static constexpr int maxRowLength = 128;

    // The column names, separated and ended like a row.
    static const char* header();
    static const char* roadName(Road road); // "seriell", "Experiment"
    static const char* statusText(int status); // "OK", "FÜLLEN"

    // Writes one row with its line end into out (maxRowLength bytes); returns its length:
    // ms since the start, the time as 2024-05-17T14:03:59.123, the road, level, status 0 or 1,
    // its text, pump 1, pump 2 and the two numbers of the ratio.
    static int row(char* out, int64_t ms, const Time& time, Road road, const TelemetryFrame& frame);

    // The name the save dialog proposes: Anlage-JJJJMMTT-hhmmss.csv.
    static SString proposedFileName(const Time& time);
};
