#include "app/RecordingFormat.h"

#include <cstdio>

const char* RecordingFormat::header() {
    return "Zeit seit Start (ms);Uhrzeit;Quelle;Level;Status;Statustext;Pumpe 1;Pumpe 2;Verh\344ltnis 1;"
           "Verh\344ltnis 2\r\n";
}

const char* RecordingFormat::roadName(Road road) { return road == Experiment ? "Experiment" : "seriell"; }

const char* RecordingFormat::statusText(int status) { return status == 0 ? "OK" : "F\334LLEN"; }

int RecordingFormat::row(char* out, int64_t ms, const Time& t, Road road, const TelemetryFrame& f) {
    int n = std::snprintf(out, maxRowLength, "%lld;%04d-%02d-%02dT%02d:%02d:%02d.%03d;%s;%d;%d;%s;%d;%d;%d;%d\r\n",
                          (long long)ms, t.year, t.month, t.day, t.hour, t.minute, t.second, t.millisecond,
                          roadName(road), f.level, f.status == 0 ? 0 : 1, statusText(f.status), f.pump1, f.pump2,
                          f.ratio1, f.ratio2);
    return n < 0 ? 0 : (n < maxRowLength ? n : maxRowLength - 1);
}

SString RecordingFormat::proposedFileName(const Time& t) {
    SString name;
    name.format("Anlage-%04d%02d%02d-%02d%02d%02d.csv", t.year, t.month, t.day, t.hour, t.minute, t.second);
    return name;
}
