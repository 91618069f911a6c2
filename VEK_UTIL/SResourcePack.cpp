// SResourcePack: the pack is read sequentially from its trailer; only when the trailer is
// missing is the whole file searched for an earlier end marker.
#include "VEK_UTIL/SResourcePack.h"

#include "VEK_ARRAYS/SStringList.h"
#include "VEK_SYSTEM/SSystem.h"
#include "VEK_UTIL/SError.h"

#include <cstdio>
#include <memory>
#include <new>

using namespace SResourcePackFormat;

namespace {

// The presence flag. vek-pack finds this literal in the program file and turns its digit
// into "1"; the volatile read keeps the compiler from folding the check.
const volatile char packFlag[] = "vekresflag0";

// A file that keeps the system's text of its last failure.
class PackFile {
public:
    PackFile() = default;
    PackFile(const PackFile&) = delete;
    PackFile& operator=(const PackFile&) = delete;
    ~PackFile() { close(); }

    bool open(const char* path, const char* mode) {
        close();
        file = std::fopen(path, mode);
        position = 0;
        return file || fail();
    }
    bool close() {
        if (!file) return true;
        bool ok = std::fclose(file) == 0;
        file = nullptr;
        return ok || fail();
    }
    int64_t size() {
        if (!file || std::fseek(file, 0, SEEK_END) != 0) return -1;
        long n = std::ftell(file);
        return n < 0 ? (void)fail(), -1 : (int64_t)n;
    }
    bool seek(int64_t pos) {
        if (!file || pos < 0 || pos > 0x7FFFFFFF) return false;
        if (std::fseek(file, (long)pos, SEEK_SET) != 0) return fail();
        position = pos;
        return true;
    }
    bool read(void* data, size_t n) {
        if (!file) return false;
        size_t got = std::fread(data, 1, n, file);
        position += (int64_t)got;
        if (got == n) return true;
        if (std::ferror(file)) fail();
        return false;
    }
    bool readU32(uint32_t& value) {
        unsigned char bytes[4];
        if (!read(bytes, 4)) return false;
        value = getU32(bytes);
        return true;
    }
    bool write(const void* data, size_t n) {
        if (n == 0) return true;
        return (file && std::fwrite(data, 1, n, file) == n) || fail();
    }
    int64_t getPosition() const { return position; }
    const SString& getErrorText() const { return errorText; }

private:
    bool fail() {
        unsigned code = SSystem::lastErrorCode();
        if (code) errorText = SSystem::systemErrorText(code);
        return false;
    }

    FILE* file = nullptr;
    int64_t position = 0;
    SString errorText;
};

enum class Step { More, End, Failed };

// Everything one load works with.
struct Reading {
    PackFile program;
    PackFile temp;
    int64_t fileSize = 0;
    int64_t packEnd = 0;
    SString& errorText;
    SString& tempDir;
    SMapStringToString& entries;
};

int64_t lastEndMarker(const unsigned char* data, int64_t size) {
    for (int64_t p = size - MARKER_LENGTH; p >= 0; --p)
        if (std::memcmp(data + p, END_MARKER, MARKER_LENGTH) == 0) return p;
    return -1;
}

// The pack's end E: normally the file's end; otherwise after the last end marker found.
bool findPackEnd(Reading& r) {
    char marker[MARKER_LENGTH];
    r.packEnd = r.fileSize;
    if (r.program.seek(r.fileSize - TRAILER_LENGTH) && r.program.read(marker, MARKER_LENGTH) &&
        std::memcmp(marker, END_MARKER, MARKER_LENGTH) == 0)
        return true;
    r.errorText = "Ressourcen-Endekennung nicht vorhanden.";
    if (r.fileSize <= 0 || !r.program.seek(0)) return false;
    std::unique_ptr<unsigned char[]> whole(new (std::nothrow) unsigned char[(size_t)r.fileSize]);
    if (!whole || !r.program.read(whole.get(), (size_t)r.fileSize)) return false;
    int64_t p = lastEndMarker(whole.get(), r.fileSize);
    if (p <= 0) return false;
    r.packEnd = p + TRAILER_LENGTH;
    return true;
}

// Start offset, start marker and header; leaves the file at the first entry.
bool readHeader(Reading& r) {
    uint32_t start = 0;
    if (!r.program.seek(r.packEnd - 4) || !r.program.readU32(start)) {
        r.errorText = "Konnte Startoffset nicht lesen.";
        return false;
    }
    if (start > r.fileSize || start < MIN_START) return false;
    char marker[MARKER_LENGTH];
    if (!r.program.seek(start) || !r.program.read(marker, MARKER_LENGTH) ||
        std::memcmp(marker, START_MARKER, MARKER_LENGTH) != 0)
        return false;
    uint32_t headerLen = 0, word1 = 0, word2 = 0;
    if (!r.program.readU32(headerLen) || !r.program.readU32(word1) || !r.program.readU32(word2)) return false;
    return r.program.seek((int64_t)start + MARKER_LENGTH + headerLen);
}

// Deletes the files of an unpack directory and the directory itself.
void removeUnpackDirectory(const SString& dir) {
    SStringList files;
    SSystem::findFiles(dir, "*", files);
    for (int i = 0; i < files.count(); ++i) SSystem::deleteFile(files[i]);
    SSystem::removeDirectory(dir);
}

// An unpack directory carries its number, the time, and the process that made it with the
// stamp of that process's start, so that a later run can tell whether it is still in use.
bool parseDirName(const SString& name, unsigned long& process, uint64_t& stamp) {
    int number = 0, used = -1;
    long long seconds = 0;
    unsigned long long start = 0;
    if (std::sscanf(name, "_tmpVekRes%d_%lld_%lu_%llx%n", &number, &seconds, &process, &start, &used) != 4 ||
        used != name.length())
        return false;
    stamp = start;
    return true;
}

// Directories of runs that ended without removing theirs (killed, crashed, the session
// ended): their process is gone, or its id now belongs to a later process.
void removeAbandonedDirectories(const SString& base) {
    SStringList dirs;
    SSystem::findDirectories(base, "_tmpVekRes*", dirs);
    for (int i = 0; i < dirs.count(); ++i) {
        unsigned long process = 0;
        uint64_t stamp = 0;
        if (parseDirName(dirs[i].from(base.length()), process, stamp) && !SSystem::processRunning(process, stamp))
            removeUnpackDirectory(dirs[i]);
    }
}

// A fresh directory of this run: created, never merely found, so no other run shares it.
void makeTempDir(Reading& r, const SString& base) {
    if (!SSystem::directoryExists(base)) SSystem::createDirectory(base);
    const long long now = (long long)SSystem::unixTime();
    const unsigned long process = SSystem::processId();
    const unsigned long long stamp = SSystem::processStartStamp();
    bool existed = true;
    for (int i = 0; existed && i < 10000; ++i) {
        r.tempDir.format("%s_tmpVekRes%d_%lld_%lu_%llx", base.getBuffer(), i, now, process, stamp);
        if (SSystem::createNewDirectory(r.tempDir, &existed)) return;
    }
    // Unusable: creating the first entry file fails and names the path.
}

bool writeEntryFile(Reading& r, const SString& name, const unsigned char* data, uint32_t length) {
    SString path(r.tempDir);
    path.append(SSystem::pathSeparator());
    path.append(name);
    if (!r.temp.open(path, "wb")) {
        r.errorText = "Fehler beim Anlegen des Tempfiles: ";
        r.errorText.append(path);
        return false;
    }
    if (!r.temp.write(data, length) || !r.temp.close()) {
        r.errorText = "Fehler beim Schreiben des Tempfiles: ";
        r.errorText.append(path);
        // What was written of it is of no use, and removeFiles does not know it.
        r.temp.close();
        SSystem::deleteFile(path);
        return false;
    }
    r.entries.set(name, path);
    return true;
}

// Lengths are checked against what is left of the file before anything is allocated.
bool readName(Reading& r, SString& name) {
    uint32_t nameLen = 0;
    bool fits = r.program.readU32(nameLen) && nameLen <= r.fileSize - r.program.getPosition();
    std::unique_ptr<char[]> raw(fits ? new (std::nothrow) char[nameLen + 1] : nullptr);
    if (!raw || !r.program.read(raw.get(), nameLen)) {
        r.errorText = "Fehler beim Lesen der Namens-L\344nge";
        return false;
    }
    if (!isBareFileName(raw.get(), (int)nameLen)) {
        r.errorText = "unzul\344ssiger Name: ";
        // A NUL would cut the message box text short.
        for (uint32_t i = 0; i < nameLen; ++i) r.errorText.append(raw[i] ? raw[i] : '?');
        return false;
    }
    name.setRaw(raw.get(), (int)nameLen).toLower();
    return true;
}

Step readEntry(Reading& r) {
    unsigned char id = 0;
    if (!r.program.read(&id, 1)) {
        r.errorText = "Fehler beim Lesen der Kennung";
        return Step::Failed;
    }
    if (id == BLOCK_END) return Step::End;
    if (id != BLOCK_ENTRY) {
        r.errorText = "unbekannte Blockkennung: ";
        r.errorText.append((int)id);
        return Step::Failed;
    }
    SString name;
    if (!readName(r, name)) return Step::Failed;
    uint32_t dataLen = 0;
    if (!r.program.readU32(dataLen)) {
        r.errorText = "Fehler beim Lesen der Daten-L\344nge";
        return Step::Failed;
    }
    bool fits = dataLen <= r.fileSize - r.program.getPosition();
    std::unique_ptr<unsigned char[]> data;
    if (fits) data.reset(new (std::nothrow) unsigned char[dataLen ? dataLen : 1]);
    if (fits && !data) {
        r.errorText.format("Speicheranforderung schlug fehl: %u", dataLen);
        return Step::Failed;
    }
    if (!fits || !r.program.read(data.get(), dataLen)) {
        r.errorText = "Fehler beim Lesen der Daten: ";
        r.errorText.append(name).appendFormat(" %u", dataLen);
        return Step::Failed;
    }
    for (uint32_t i = 0; i < dataLen; ++i) data[i] ^= KEY;
    return writeEntryFile(r, name, data.get(), dataLen) ? Step::More : Step::Failed;
}

void showFailure(const Reading& r) {
    SString text("Fehler beim Lesen der Resourcen.\r\n");
    text.append(r.errorText).append("\r\n").append(r.program.getErrorText());
    text.append("\r\n").append(r.temp.getErrorText());
    globalError.show(text, 0, "Fehler !", 16);
}

} // namespace

bool SResourcePack::markerSaysPacked() { return packFlag[FLAG_MARKER_LENGTH - 1] == '1'; }

bool SResourcePack::load(const char* programFile) {
    removeFiles();
    tempDir.clear();
    errorText.clear();
    Reading r{PackFile(), PackFile(), 0, 0, errorText, tempDir, entries};
    bool complete = false;
    if (r.program.open(programFile, "rb")) r.fileSize = r.program.size();
    if (r.fileSize > 0 && findPackEnd(r) && readHeader(r)) {
        const SString base = tempPath.isEmpty() ? SSystem::tempDirectory() : tempPath;
        removeAbandonedDirectories(base);
        makeTempDir(r, base);
        Step step;
        while ((step = readEntry(r)) == Step::More) {
        }
        complete = step == Step::End;
    }
    if (!complete) showFailure(r);
    r.program.close();
    if (complete && r.fileSize > r.packEnd) {
        SString text("Fehler beim Lesen der Resourcen.\r\nDie Datei ist um ");
        text.appendFormat("%lld", (long long)(r.fileSize - r.packEnd));
        text.append(" Byte zu gro\337, Ursache kann ein Virenbefall sein.");
        globalError.show(text, 0, "Fehler !", 16);
    }
    return complete;
}

void SResourcePack::removeFiles() {
    for (int i = 0; i < entries.count(); ++i) SSystem::deleteFile(entries.getValueAt(i));
    entries.clear();
    if (!tempDir.isEmpty()) SSystem::removeDirectory(tempDir);
}
