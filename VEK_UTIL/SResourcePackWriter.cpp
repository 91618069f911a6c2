#include "VEK_UTIL/SResourcePackWriter.h"

#include "VEK_SYSTEM/SSystem.h"
#include "VEK_UTIL/SResourcePackFormat.h"

#include <climits>
#include <cstring>
#include <string>

using namespace SResourcePackFormat;

namespace {

// Binary data is built in std::string: SString::setAt cuts the text at a NUL byte.
void appendU32(std::string& out, uint32_t value) {
    unsigned char bytes[4];
    putU32(bytes, value);
    out.append(reinterpret_cast<const char*>(bytes), 4);
}

// Binary-safe too: SString's own search stops at a NUL byte.
int countOccurrences(const SString& data, const char* text, int length, int* first) {
    int found = 0;
    const char* bytes = data.getBuffer();
    for (int i = 0; i + length <= data.length(); ++i) {
        if (bytes[i] != text[0] || std::memcmp(bytes + i, text, (size_t)length) != 0) continue;
        if (found++ == 0 && first) *first = i;
    }
    return found;
}

} // namespace

bool SResourcePackWriter::fail(const char* text, const char* detail) {
    errorText = text;
    if (detail) errorText.append(detail);
    return false;
}

bool SResourcePackWriter::addEntry(const char* name, const char* data, int length) {
    int nameLength = name ? (int)std::strlen(name) : 0;
    if (const char* fault = nameFault(name, nameLength)) {
        errorText.format("Unzul\344ssiger Ressourcenname (%s): ", fault);
        errorText.append(name ? name : "");
        return false;
    }
    Entry entry;
    entry.name.setRaw(name).toLower();
    for (const Entry& e : entries)
        if (e.name == entry.name) return fail("Ressourcenname kommt doppelt vor: ", entry.name);
    entry.data.setRaw(data, length < 0 ? 0 : length);
    entries.push_back(std::move(entry));
    return true;
}

SString SResourcePackWriter::buildPack(uint32_t start) const {
    std::string pack(START_MARKER, MARKER_LENGTH);
    appendU32(pack, HEADER_LENGTH);
    appendU32(pack, HEADER_WORD1);
    appendU32(pack, HEADER_WORD2);
    pack.append(HEADER_LENGTH - 12, '\0');
    for (const Entry& e : entries) {
        pack.push_back((char)BLOCK_ENTRY);
        appendU32(pack, (uint32_t)e.name.length());
        pack.append(e.name.getBuffer(), (size_t)e.name.length());
        appendU32(pack, (uint32_t)e.data.length());
        for (int i = 0; i < e.data.length(); ++i) pack.push_back((char)(e.data.getBuffer()[i] ^ KEY));
    }
    pack.append(END_MARKER, MARKER_LENGTH);
    appendU32(pack, start);
    SString result;
    result.setRaw(pack.data(), (int)pack.size());
    return result;
}

bool SResourcePackWriter::packProgram(const SString& program, SString& packed) {
    int size = program.length();
    if (size >= TRAILER_LENGTH &&
        std::memcmp(program.getBuffer() + size - TRAILER_LENGTH, END_MARKER, MARKER_LENGTH) == 0)
        return fail("Das Programm tr\344gt bereits ein Ressourcenpaket (Endekennung am Dateiende).");
    char unpacked[FLAG_MARKER_LENGTH + 1], done[FLAG_MARKER_LENGTH + 1];
    flagMarker('0', unpacked);
    flagMarker('1', done);
    if (countOccurrences(program, done, FLAG_MARKER_LENGTH, nullptr) > 0)
        return fail("Das Programm ist bereits gepackt (die Ressourcen-Kennung steht auf 1).");
    int at = -1;
    int found = countOccurrences(program, unpacked, FLAG_MARKER_LENGTH, &at);
    if (found != 1) {
        errorText.format("Die Ressourcen-Kennung muss genau einmal im Programm stehen, gefunden: %d-mal.",
                         found);
        return false;
    }
    if ((uint32_t)size < MIN_START) return fail("Das Programm ist zu klein f\374r ein Ressourcenpaket.");
    SString pack = buildPack((uint32_t)size);
    if (pack.length() > INT_MAX - size) return fail("Programm und Ressourcen sind zusammen zu gro\337.");
    packed = program;
    packed.setAt(at + FLAG_MARKER_LENGTH - 1, '1'); // a non-NUL byte: setAt keeps the length
    packed.append(pack);
    return true;
}

bool SResourcePackWriter::packFile(const char* programFile, const char* outFile) {
    SString program, packed;
    if (!SSystem::readFile(programFile, program)) {
        fail("Programmdatei kann nicht gelesen werden: ", programFile);
        errorText.append(" (").append(SSystem::systemErrorText(SSystem::lastErrorCode())).append(")");
        return false;
    }
    if (!packProgram(program, packed)) return false;
    if (!SSystem::writeFileAtomic(outFile, packed.getBuffer(), packed.length())) {
        fail("Ausgabedatei kann nicht geschrieben werden: ", outFile);
        errorText.append(" (").append(SSystem::systemErrorText(SSystem::lastErrorCode())).append(")");
        return false;
    }
    return true;
}
