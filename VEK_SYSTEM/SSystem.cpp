// SSystem: Win32 and POSIX implementations of the platform seam.
#include "VEK_SYSTEM/SSystem.h"

#include "VEK_ARRAYS/SStringList.h"
#include "VEK_UTIL/SString.h"

#include <cstdio>
#include <cstring>
#include <ctime>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <chrono>
#include <dirent.h>
#include <fnmatch.h>
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

SSystem::Presenter presenter = defaultBox;

} // namespace

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

bool SSystem::writeFileAtomic(const char* path, const char* data, int length) {
    SString temp;
    temp.setRaw(path);
    temp.append(".vektmp");
    FILE* f = std::fopen(temp, "wb");
    if (!f) return false;
    bool ok = length <= 0 || std::fwrite(data, 1, (size_t)length, f) == (size_t)length;
    ok = std::fflush(f) == 0 && ok;
    unsigned error = lastErrorCode();
    ok = std::fclose(f) == 0 && ok;
    if (ok && renameFile(temp, path)) return true;
    if (ok) error = lastErrorCode();
    deleteFile(temp);
    setLastErrorCode(error);
    return false;
}

int SSystem::findFiles(const char* directory, const char* pattern, SStringList& paths) {
    SString base;
    base.setRaw(directory ? directory : "");
    if (!base.isEmpty() && !base.endsWith("\\") && !base.endsWith("/")) base.append(pathSeparator());
    int found = 0;
#ifdef _WIN32
    SString query(base);
    query.append(pattern ? pattern : "*");
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA(query, &data);
    if (h == INVALID_HANDLE_VALUE) return 0;
    do {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
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
        SString full(base);
        full.append(e->d_name);
        if (!fileExists(full)) continue;
        paths.add(full);
        ++found;
    }
    closedir(d);
#endif
    return found;
}
