#include "tools/plant-sim/ReplayFile.h"

#include "app/RecordingFormat.h"

#include <cerrno>
#include <cstring>
#include <fstream>

namespace {

std::vector<std::string> split(const std::string& line) {
    std::vector<std::string> fields(1);
    for (char c : line) {
        if (c == RecordingFormat::separator) fields.emplace_back();
        else fields.back() += c;
    }
    return fields;
}

// Column names are compared without their umlauts, so that a file saved again as UTF-8 passes.
std::string plain(const std::string& text) {
    std::string out;
    for (char c : text)
        if ((unsigned char)c < 0x80) out += c;
    return out;
}

// For the messages, which go to a terminal.
const char* const columnNames[] = {"Zeit seit Start (ms)", "Uhrzeit", "Quelle", "Level", "Status", "Statustext",
                                   "Pumpe 1", "Pumpe 2", "Verhältnis 1", "Verhältnis 2"};

// Only digits, and at most `high`.
bool number(const std::string& text, int64_t high, int64_t& value) {
    if (text.empty() || text.size() > 19) return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return value <= high;
}

bool takeByte(const std::vector<std::string>& fields, int column, int high, uint8_t& out, std::string& what) {
    int64_t value = 0;
    if (number(fields[(size_t)column], high, value)) {
        out = (uint8_t)value;
        return true;
    }
    what = "column " + std::to_string(column + 1) + " (" + columnNames[column] + "): \"" + fields[(size_t)column] +
           "\" is not a number from 0 to " + std::to_string(high);
    return false;
}

} // namespace

bool ReplayFile::fail(const std::string& path, size_t line, const std::string& what) {
    problem = path + ":" + std::to_string(line) + ": " + what;
    rows.clear();
    return false;
}

bool ReplayFile::load(const std::string& path) {
    rows.clear();
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        problem = path + ": " + std::strerror(errno);
        return false;
    }
    char buffer[1024]; // a row is under 100 bytes: a longer line is not one
    size_t lineNumber = 0;
    for (;;) {
        in.getline(buffer, sizeof buffer);
        const std::streamsize got = in.gcount();
        if (in.bad()) return fail(path, lineNumber + 1, std::strerror(errno));
        if (in.eof() && got == 0) break;
        ++lineNumber;
        // Every line of a recording ends with its line end: one without was cut off.
        if (in.eof()) return fail(path, lineNumber, "the line has no end: the file is cut short");
        if (in.fail()) return fail(path, lineNumber, "the line is too long for a row of a recording");
        std::string line(buffer, (size_t)got - 1);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::vector<std::string> fields = split(line);
        if (fields.size() != (size_t)RecordingFormat::columnCount)
            return fail(path, lineNumber, std::to_string(fields.size()) + " columns instead of " +
                                              std::to_string(RecordingFormat::columnCount));
        if (lineNumber == 1) {
            if (plain(line) + "\r\n" != plain(RecordingFormat::header()))
                return fail(path, lineNumber, "not the header of a recording (Zeit seit Start (ms);Uhrzeit;...)");
            continue;
        }
        std::string what;
        if (!takeRow(fields, what)) return fail(path, lineNumber, what);
        if (rows.size() > 1 && rows.back().ms < rows[rows.size() - 2].ms)
            return fail(path, lineNumber, "the time goes back (" + std::to_string(rows[rows.size() - 2].ms) +
                                              " ms, then " + std::to_string(rows.back().ms) + " ms)");
    }
    if (lineNumber == 0) return fail(path, 1, "the file is empty");
    if (rows.empty()) return fail(path, lineNumber, "no rows after the header");
    return true;
}

bool ReplayFile::takeRow(const std::vector<std::string>& fields, std::string& what) {
    ReplayFrame frame;
    int64_t value = 0;
    if (!number(fields[0], maxMs, value)) {
        what = "column 1 (" + std::string(columnNames[0]) + "): \"" + fields[0] + "\" is not a time in ms";
        return false;
    }
    frame.ms = value;
    if (fields[2] != RecordingFormat::roadName(RecordingFormat::Serial) &&
        fields[2] != RecordingFormat::roadName(RecordingFormat::Experiment)) {
        what = "column 3 (Quelle): \"" + fields[2] + "\" is neither seriell nor Experiment";
        return false;
    }
    if (!number(fields[3], 65535, value)) {
        what = "column 4 (Level): \"" + fields[3] + "\" is not a number from 0 to 65535";
        return false;
    }
    frame.bytes[0] = 0x55;
    frame.bytes[1] = 0xAA;
    frame.bytes[2] = (uint8_t)(value & 0xFF);
    frame.bytes[3] = (uint8_t)(value >> 8);
    if (!takeByte(fields, 4, 1, frame.bytes[4], what)) return false;
    for (int column = 6; column < 10; ++column)
        if (!takeByte(fields, column, 255, frame.bytes[(size_t)column - 1], what)) return false;
    rows.push_back(frame);
    return true;
}
