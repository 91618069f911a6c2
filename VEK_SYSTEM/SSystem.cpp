// SSystem: Win32 and POSIX implementations of the platform seam.
#include "VEK_SYSTEM/SSystem.h"

#include "VEK_ARRAYS/SStringList.h"
#include "VEK_UTIL/SString.h"

#include <atomic>
#include <climits>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <utility>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <chrono>
#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <signal.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#endif

namespace {

int defaultBox(void* owner, const char* text, const char* caption, unsigned type) {
#ifdef _WIN32
    return MessageBoxA(static_cast<HWND>(owner), text, caption, type);
#else
    (void)owner;
    (void)type;
    std::fprintf(stderr, "[%s] %s\n", caption ? caption : "", text ? text : "");
    return SSystem::OK;
#endif
}

bool sleepingWait(unsigned ms) {
    SSystem::sleepMs(ms);
    return true;
}

bool plainWaitFor(void* handle, unsigned ms) {
#ifdef _WIN32
    return WaitForSingleObject(static_cast<HANDLE>(handle), ms) == WAIT_OBJECT_0;
#else
    (void)handle;
    (void)ms;
    return false;
#endif
}

SFileIni* noUserConfig() { return nullptr; }

SSystem::Presenter presenter = defaultBox;
SSystem::Replacer replacer = SSystem::renameFile;
SSystem::Waits waits = {sleepingWait, plainWaitFor};
SSystem::UserConfig userConfigSource = noUserConfig;

} // namespace

bool SSystem::wait(unsigned ms) { return waits.wait(ms); }

bool SSystem::waitFor(void* handle, unsigned ms) { return waits.waitFor(handle, ms); }

SSystem::Waits SSystem::setWaits(Waits w) {
    Waits old = waits;
    waits.wait = w.wait ? w.wait : sleepingWait;
    waits.waitFor = w.waitFor ? w.waitFor : plainWaitFor;
    return old;
}

SFileIni* SSystem::userConfig() { return userConfigSource(); }

SSystem::UserConfig SSystem::setUserConfig(UserConfig source) {
    UserConfig old = userConfigSource;
    userConfigSource = source ? source : noUserConfig;
    return old;
}

SSystem::Replacer SSystem::setFileReplacer(Replacer r) {
    Replacer old = replacer;
    replacer = r ? r : renameFile;
    return old;
}

int SSystem::messageBox(void* owner, const char* text, const char* caption, unsigned type) {
    return presenter(owner, text, caption, type);
}

SSystem::Presenter SSystem::setPresenter(Presenter p) {
    Presenter old = presenter;
    presenter = p ? p : defaultBox;
    return old;
}

SSystem::Presenter SSystem::defaultPresenter() { return defaultBox; }

char SSystem::pathSeparator() {
#ifdef _WIN32
    return '\\';
#else
    return '/';
#endif
}

#ifdef _WIN32

void* SSystem::activeWindow() { return GetActiveWindow(); }

unsigned SSystem::lastErrorCode() { return GetLastError(); }

void SSystem::setLastErrorCode(unsigned code) { SetLastError(code); }

SString SSystem::systemErrorText(unsigned code) {
    char* text = nullptr;
    DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                 FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    SString result;
    if (n && text) result.setRaw(text, (int)n);
    if (text) LocalFree(text);
    return result.trim();
}

bool SSystem::fileExists(const char* path) {
    DWORD a = GetFileAttributesA(path);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool SSystem::directoryExists(const char* path) {
    DWORD a = GetFileAttributesA(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool SSystem::pathExists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

bool SSystem::deleteFile(const char* path) { return DeleteFileA(path) != 0; }

bool SSystem::removeDirectory(const char* path) { return RemoveDirectoryA(path) != 0; }

bool SSystem::copyFile(const char* from, const char* to, bool overwrite) {
    return CopyFileA(from, to, overwrite ? FALSE : TRUE) != 0;
}

bool SSystem::renameFile(const char* from, const char* to) {
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

SString SSystem::tempDirectory() {
    char path[MAX_PATH + 1] = {0};
    GetTempPathA(MAX_PATH, path);
    SString result;
    result.setRaw(path);
    result.trim();
    if (!result.endsWith("\\")) result.append('\\');
    return result;
}

SString SSystem::currentDirectory() {
    char path[MAX_PATH + 1] = {0};
    GetCurrentDirectoryA(MAX_PATH, path);
    SString result;
    result.setRaw(path);
    if (result.length() > 3 && result.endsWith("\\")) result.remove(result.length() - 1);
    return result;
}

int64_t SSystem::fileWriteTime(const char* path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return -1;
    return (int64_t)data.ftLastWriteTime.dwHighDateTime << 32 | data.ftLastWriteTime.dwLowDateTime;
}

bool SSystem::createNewDirectory(const char* path, bool* existed) {
    const bool made = CreateDirectoryA(path, nullptr) != 0;
    const DWORD error = made ? 0 : GetLastError();
    if (existed) *existed = error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS;
    return made;
}

SString SSystem::programFile() {
    // A path longer than the buffer comes back cut short and as long as the buffer.
    for (DWORD size = MAX_PATH + 1; size <= 32768; size *= 2) {
        std::vector<char> path(size);
        DWORD n = GetModuleFileNameA(nullptr, path.data(), size);
        if (n == 0) break;
        if (n < size) {
            SString result;
            return result.setRaw(path.data(), (int)n);
        }
    }
    return SString();
}

unsigned long SSystem::processId() { return GetCurrentProcessId(); }

namespace {

uint64_t creationStamp(HANDLE process) {
    FILETIME created, ended, kernel, user;
    if (!GetProcessTimes(process, &created, &ended, &kernel, &user)) return 0;
    return (uint64_t)created.dwHighDateTime << 32 | created.dwLowDateTime;
}

} // namespace

uint64_t SSystem::processStartStamp() { return creationStamp(GetCurrentProcess()); }

bool SSystem::processRunning(unsigned long id, uint64_t stamp) {
    HANDLE h = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, (DWORD)id);
    // Only an id that no process has is refused as a parameter; other refusals mean one runs.
    if (!h) return GetLastError() != ERROR_INVALID_PARAMETER;
    // A process that ended stays openable while anyone holds a handle to it.
    DWORD code = STILL_ACTIVE;
    if (!GetExitCodeProcess(h, &code)) code = STILL_ACTIVE;
    bool running = code == STILL_ACTIVE;
    if (running && stamp) {
        const uint64_t began = creationStamp(h);
        running = began == 0 || began == stamp;
    }
    CloseHandle(h);
    return running;
}

uint32_t SSystem::tickMs() { return GetTickCount(); }

void SSystem::sleepMs(unsigned ms) { Sleep(ms); }

#else // POSIX

void* SSystem::activeWindow() { return nullptr; }

unsigned SSystem::lastErrorCode() { return (unsigned)errno; }

void SSystem::setLastErrorCode(unsigned code) { errno = (int)code; }

SString SSystem::systemErrorText(unsigned code) {
    SString result;
    if (code) result.setRaw(std::strerror((int)code));
    return result.trim();
}

bool SSystem::fileExists(const char* path) {
    struct stat st;
    return path && stat(path, &st) == 0 && !S_ISDIR(st.st_mode);
}

bool SSystem::directoryExists(const char* path) {
    struct stat st;
    return path && stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

bool SSystem::pathExists(const char* path) {
    struct stat st;
    return path && stat(path, &st) == 0;
}

bool SSystem::deleteFile(const char* path) { return unlink(path) == 0; }

bool SSystem::removeDirectory(const char* path) { return rmdir(path) == 0; }

bool SSystem::copyFile(const char* from, const char* to, bool overwrite) {
    if (!overwrite && pathExists(to)) {
        errno = EEXIST;
        return false;
    }
    SString content;
    return readFile(from, content) && writeFileAtomic(to, content, content.length());
}

bool SSystem::renameFile(const char* from, const char* to) { return std::rename(from, to) == 0; }

SString SSystem::tempDirectory() {
    const char* dir = getenv("TMPDIR");
    SString result;
    result.setRaw(dir && *dir ? dir : "/tmp");
    if (!result.endsWith("/")) result.append('/');
    return result;
}

SString SSystem::currentDirectory() {
    char path[4096] = {0};
    SString result;
    if (getcwd(path, sizeof path)) result.setRaw(path);
    return result;
}

int64_t SSystem::fileWriteTime(const char* path) {
    struct stat st;
    if (stat(path, &st) != 0) return -1;
    return (int64_t)st.st_mtim.tv_sec * 1000000000 + st.st_mtim.tv_nsec;
}

bool SSystem::createNewDirectory(const char* path, bool* existed) {
    const bool made = path && mkdir(path, 0700) == 0; // unpacked files are the user's alone
    if (existed) *existed = !made && errno == EEXIST;
    return made;
}

SString SSystem::programFile() {
    char path[4096];
    ssize_t n = readlink("/proc/self/exe", path, sizeof path);
    SString result;
    if (n > 0 && n < (ssize_t)sizeof path) result.setRaw(path, (int)n);
    return result;
}

unsigned long SSystem::processId() { return (unsigned long)getpid(); }

namespace {

// The state letter and the start (clock ticks since boot) of a process from /proc; false
// when /proc does not know the id.
bool processStat(unsigned long id, char& state, uint64_t& start) {
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%lu/stat", id);
    FILE* f = std::fopen(path, "r");
    if (!f) return false;
    char line[1024];
    size_t n = std::fread(line, 1, sizeof line - 1, f);
    std::fclose(f);
    line[n] = 0;
    // The command name in parentheses may hold anything: the fields follow its last ')'.
    const char* rest = std::strrchr(line, ')');
    unsigned long long ticks = 0;
    if (!rest || std::sscanf(rest + 1,
                             " %c %*s %*s %*s %*s %*s %*s %*s %*s %*s %*s %*s %*s %*s %*s %*s %*s %*s %*s %llu",
                             &state, &ticks) != 2)
        return false;
    start = ticks;
    return true;
}

} // namespace

uint64_t SSystem::processStartStamp() {
    char state = 0;
    uint64_t start = 0;
    return processStat(processId(), state, start) ? start : 0;
}

bool SSystem::processRunning(unsigned long id, uint64_t stamp) {
    if (id == 0 || id > (unsigned long)INT_MAX) return false; // kill() would reach a group
    char state = 0;
    uint64_t start = 0;
    if (!processStat(id, state, start)) return ::kill((pid_t)id, 0) == 0 || errno == EPERM; // no /proc
    if (state == 'Z' || state == 'X') return false; // ended, not yet reaped
    return stamp == 0 || start == stamp;
}

uint32_t SSystem::tickMs() {
    using namespace std::chrono;
    return (uint32_t)duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void SSystem::sleepMs(unsigned ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

#endif

int64_t SSystem::unixTime() { return (int64_t)std::time(nullptr); }

bool SSystem::createDirectory(const char* path) {
    if (!path || !*path) return false;
    if (directoryExists(path)) return true;
    SString parent;
    parent.setRaw(path);
    while (parent.length() > 1 && (parent.endsWith("\\") || parent.endsWith("/"))) parent.remove(parent.length() - 1);
    int cut = parent.findLastChar(pathSeparator());
    if (cut < 0) cut = parent.findLastChar('/');
    if (cut > 0) {
        SString up = parent.left(cut);
        if (!(up.length() == 2 && up.getAt(1) == ':') && !directoryExists(up) && !createDirectory(up)) return false;
    }
#ifdef _WIN32
    return CreateDirectoryA(parent, nullptr) != 0 || directoryExists(parent);
#else
    return mkdir(parent, 0777) == 0 || directoryExists(parent);
#endif
}

bool SSystem::readFile(const char* path, SString& content) {
    FILE* f = std::fopen(path, "rb");
    if (!f) return false;
    SString data;
    char chunk[65536];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) data.append(chunk, (int)n);
    bool ok = !std::ferror(f);
    std::fclose(f);
    if (ok) content = std::move(data);
    return ok;
}

namespace {

// A file open for writing, closed by its destructor: a Win32 handle or a descriptor.
class OutFile {
public:
    OutFile() = default;
    OutFile(const OutFile&) = delete;
    OutFile& operator=(const OutFile&) = delete;
    ~OutFile() { close(); }

#ifdef _WIN32
    bool createNew(const char* path) {
        h = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        return h != INVALID_HANDLE_VALUE;
    }
    // Others may go on reading, writing or deleting it, as a scanner that holds it expects.
    bool openExisting(const char* path) {
        h = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        return h != INVALID_HANDLE_VALUE;
    }
    static bool existsError() { return GetLastError() == ERROR_FILE_EXISTS; }
    bool writeAt(int64_t offset, const char* data, int length) {
        LARGE_INTEGER at;
        at.QuadPart = offset;
        DWORD written = 0;
        return SetFilePointerEx(h, at, nullptr, FILE_BEGIN) &&
               (length <= 0 || (WriteFile(h, data, (DWORD)length, &written, nullptr) && written == (DWORD)length));
    }
    bool truncate(int64_t size) {
        LARGE_INTEGER at;
        at.QuadPart = size;
        return SetFilePointerEx(h, at, nullptr, FILE_BEGIN) && SetEndOfFile(h);
    }
    bool flush() { return FlushFileBuffers(h) != 0; }
    bool close() {
        if (h == INVALID_HANDLE_VALUE) return true;
        bool ok = CloseHandle(h) != 0;
        h = INVALID_HANDLE_VALUE;
        return ok;
    }

private:
    HANDLE h = INVALID_HANDLE_VALUE;
#else
    bool createNew(const char* path) {
        fd = ::open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        return fd >= 0;
    }
    bool openExisting(const char* path) {
        fd = ::open(path, O_WRONLY | O_CLOEXEC);
        return fd >= 0;
    }
    static bool existsError() { return errno == EEXIST; }
    bool writeAt(int64_t offset, const char* data, int length) {
        while (length > 0) {
            ssize_t n = ::pwrite(fd, data, (size_t)length, (off_t)offset);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            data += n;
            offset += n;
            length -= (int)n;
        }
        return true;
    }
    bool truncate(int64_t size) { return ::ftruncate(fd, (off_t)size) == 0; }
    bool flush() { return ::fsync(fd) == 0; }
    bool close() {
        if (fd < 0) return true;
        bool ok = ::close(fd) == 0;
        fd = -1;
        return ok;
    }

private:
    int fd = -1;
#endif
};

// Creates a temporary file beside path whose name no other writer uses: the process id
// and a counter, and a new name for as long as a stale file holds the chosen one.
bool createTemp(const char* path, OutFile& file, SString& temp) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp.format("%s.%lu.%u.vektmp", path, SSystem::processId(), counter++);
        if (file.createNew(temp)) return true;
        if (!OutFile::existsError()) return false;
    }
    return false;
}

// The platform's replace, tried a few times: a scanner or an indexer holds a file only
// for a moment.
bool replaceWithRetries(const char* from, const char* to) {
    for (int attempt = 1;; ++attempt) {
        if (replacer(from, to)) return true;
        if (attempt == 5) return false;
        SSystem::sleepMs(50);
    }
}

// Writes data over an existing file. The bytes beyond the old length go first, so that a
// full disk fails before an old byte changes; when writing over the old bytes fails,
// they are written back.
bool overwriteInPlace(const char* path, const char* data, int length) {
    SString old;
    OutFile file;
    if (!SSystem::readFile(path, old) || !file.openExisting(path)) return false;
    const int common = length < old.length() ? length : old.length();
    if (!file.writeAt(common, data + common, length - common)) {
        unsigned error = SSystem::lastErrorCode();
        file.truncate(old.length());
        SSystem::setLastErrorCode(error);
        return false;
    }
    if (file.writeAt(0, data, common) && file.truncate(length) && file.flush()) return file.close();
    unsigned error = SSystem::lastErrorCode();
    file.writeAt(0, old.getBuffer(), old.length());
    file.truncate(old.length());
    file.flush();
    SSystem::setLastErrorCode(error);
    return false;
}

// A file marked read-only stays as it is. Windows refuses to replace it; Wine's rename
// replaces it like any other file, so the mark is asked for first.
bool markedReadOnly(const char* path) {
#ifdef _WIN32
    DWORD a = GetFileAttributesA(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY) && !(a & FILE_ATTRIBUTE_DIRECTORY);
#else
    return ::access(path, F_OK) == 0 && ::access(path, W_OK) != 0;
#endif
}

} // namespace

bool SSystem::writeFileAtomic(const char* path, const char* data, int length) {
    if (length < 0) length = 0;
    if (markedReadOnly(path)) {
#ifdef _WIN32
        setLastErrorCode(ERROR_ACCESS_DENIED);
#else
        setLastErrorCode(EACCES);
#endif
        return false;
    }
    SString temp;
    OutFile file;
    if (!createTemp(path, file, temp)) return false;
    bool ok = file.writeAt(0, data, length) && file.flush();
    unsigned error = lastErrorCode();
    ok = file.close() && ok;
    if (ok && replaceWithRetries(temp, path)) return true;
    if (ok) {
        error = lastErrorCode();
        // A file that cannot be replaced (a scanner holds it) is written in place.
        if (fileExists(path) && overwriteInPlace(path, data, length)) {
            deleteFile(temp);
            return true;
        }
    }
    deleteFile(temp);
    setLastErrorCode(error);
    return false;
}

namespace {

// Entries of one directory whose names match the pattern: files or subdirectories.
int findEntries(const char* directory, const char* pattern, SStringList& paths, bool directories) {
    SString base;
    base.setRaw(directory ? directory : "");
    if (!base.isEmpty() && !base.endsWith("\\") && !base.endsWith("/")) base.append(SSystem::pathSeparator());
    int found = 0;
#ifdef _WIN32
    SString query(base);
    query.append(pattern ? pattern : "*");
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA(query, &data);
    if (h == INVALID_HANDLE_VALUE) return 0;
    do {
        const bool isDirectory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (isDirectory != directories || !std::strcmp(data.cFileName, ".") || !std::strcmp(data.cFileName, ".."))
            continue;
        SString full(base);
        full.append(data.cFileName);
        paths.add(full);
        ++found;
    } while (FindNextFileA(h, &data));
    FindClose(h);
#else
    DIR* d = opendir(base.isEmpty() ? "." : base.getBuffer());
    if (!d) return 0;
    while (dirent* e = readdir(d)) {
        if (fnmatch(pattern ? pattern : "*", e->d_name, FNM_PERIOD) != 0) continue;
        if (!std::strcmp(e->d_name, ".") || !std::strcmp(e->d_name, "..")) continue;
        SString full(base);
        full.append(e->d_name);
        if (!(directories ? SSystem::directoryExists(full) : SSystem::fileExists(full))) continue;
        paths.add(full);
        ++found;
    }
    closedir(d);
#endif
    return found;
}

} // namespace

int SSystem::findFiles(const char* directory, const char* pattern, SStringList& paths) {
    return findEntries(directory, pattern, paths, false);
}

int SSystem::findDirectories(const char* directory, const char* pattern, SStringList& paths) {
    return findEntries(directory, pattern, paths, true);
}
