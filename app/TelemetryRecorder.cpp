#include "app/TelemetryRecorder.h"

#include "VEK_SYSTEM/SSystem.h"

#include <windows.h>

namespace {

RecordingFormat::Time localTime() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return RecordingFormat::Time{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
}

long long counter() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

SString rowsText(uint64_t rows) {
    SString text;
    return rows == 1 ? text.setRaw("1 Zeile ist") : text.format("%llu Zeilen sind", (unsigned long long)rows);
}

} // namespace

bool TelemetryRecorder::start(const char* file) {
    stop();
    path.setRaw(file);
    message.clear();
    taken = 0;
    for (TelemetryFrameReader& reader : readers) reader.reset();
    if (!writer.open(file, RecordingFormat::header())) {
        message.setRaw("Die Aufzeichnung kann nicht beginnen. Die Datei\r\n\r\n")
            .append(path)
            .append("\r\n\r\nl\344sst sich nicht anlegen: ")
            .append(reasonText(RecordingWriter::WriteFailed, writer.getErrorCode()))
            .append(".");
        return false;
    }
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    countsPerSecond = frequency.QuadPart > 0 ? frequency.QuadPart : 1;
    startCount = counter();
    recording = true;
    return true;
}

bool TelemetryRecorder::stop() {
    if (!recording) return true;
    recording = false; // the wait below answers sent messages: no row may come in meanwhile
    writer.finish();
    if (writer.getFailure() == RecordingWriter::None) return true;
    describeFailure();
    return false;
}

bool TelemetryRecorder::failed() {
    if (!recording || writer.getFailure() == RecordingWriter::None || !writer.hasEnded()) return false;
    recording = false;
    writer.finish();
    describeFailure();
    return true;
}

void TelemetryRecorder::onByte(RecordingFormat::Road road, unsigned char byte) {
    TelemetryFrame frame;
    if (!recording || !readers[road].feed(byte, frame)) return;
    char row[RecordingFormat::maxRowLength];
    const long long ms = (counter() - startCount) * 1000 / countsPerSecond;
    int length = RecordingFormat::row(row, ms, localTime(), road, frame);
    if (writer.append(row, length)) ++taken;
}

void TelemetryRecorder::describeFailure() {
    message.setRaw("Die Aufzeichnung in die Datei\r\n\r\n")
        .append(path)
        .append("\r\n\r\nwurde beendet: ")
        .append(reasonText(writer.getFailure(), writer.getErrorCode()))
        .append(".\r\n\r\n")
        .append(rowsText(writer.rowsWritten()))
        .append(" darin gespeichert.");
}

SString TelemetryRecorder::reasonText(RecordingWriter::Failure failure, unsigned code) {
    SString text;
    if (failure == RecordingWriter::TooSlow)
        return text.setRaw("der Datentr\344ger hat die Zeilen nicht schnell genug aufgenommen");
    switch (code) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return text.setRaw("der Datentr\344ger ist voll");
    case ERROR_WRITE_PROTECT:
        return text.setRaw("der Datentr\344ger ist schreibgesch\374tzt");
    case ERROR_ACCESS_DENIED:
        return text.setRaw("der Zugriff wurde verweigert");
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return text.setRaw("die Datei ist von einem anderen Programm ge\366ffnet oder gesperrt");
    case ERROR_NOT_READY:
    case ERROR_DEVICE_NOT_CONNECTED:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_GEN_FAILURE:
    case ERROR_DEVICE_REMOVED:
    case ERROR_NETNAME_DELETED:
    case ERROR_BAD_NETPATH:
    case ERROR_UNEXP_NET_ERR:
        return text.setRaw("der Datentr\344ger ist nicht mehr erreichbar (entfernt oder getrennt)");
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
        return text.setRaw("der Ordner oder die Datei ist nicht zu finden");
    default: break;
    }
    text.format("Systemfehler %u", code);
    SString system = SSystem::systemErrorText(code);
    if (!system.isEmpty()) text.append(" (").append(system).append(")");
    return text;
}
