// SSystem: the small seam between the portable core and the platform. Everything the
// core needs from the operating system (error texts, message boxes, files, clocks)
// goes through here, so that only SSystem.cpp knows whether it runs on Win32 or POSIX.
#pragma once

#include <cstdint>

class SFileIni;
class SString;
class SStringList;

class SSystem {
public:
    // Box buttons and results, with the Win32 values.
    enum { OK = 1, CANCEL = 2, YES = 6, NO = 7 };
    enum : unsigned { ICON_ERROR = 0x10, ICON_QUESTION = 0x20, ICON_INFORMATION = 0x40 };

    // Shows a message box. Every box of the library goes through the presenter, which tests
    // replace with a recorder; the default is MessageBoxA on Windows and stderr natively.
    using Presenter = int (*)(void* owner, const char* text, const char* caption, unsigned type);
    static int messageBox(void* owner, const char* text, const char* caption, unsigned type);
    static Presenter setPresenter(Presenter presenter); // returns the previous one
    static Presenter defaultPresenter();
    static void* activeWindow(); // the owner of error boxes; none natively

    // Error codes and their texts: GetLastError/FormatMessageA, errno/strerror.
    static unsigned lastErrorCode();
    static void setLastErrorCode(unsigned code);
    static SString systemErrorText(unsigned code); // trimmed; empty when the system has none

    // Files and directories. Paths are Windows-1252 text, joined with pathSeparator().
    static char pathSeparator();
    static bool fileExists(const char* path);      // a file, not a directory
    static bool directoryExists(const char* path);
    static bool pathExists(const char* path);      // file or directory
    static bool createDirectory(const char* path); // with missing parents
    // Creates exactly this directory, and only when nothing of that name exists yet, so that
    // two processes never both take it; *existed tells a taken name from other failures.
    static bool createNewDirectory(const char* path, bool* existed = nullptr);
    static bool deleteFile(const char* path);
    static bool removeDirectory(const char* path); // only when empty
    static bool copyFile(const char* from, const char* to, bool overwrite);
    static bool renameFile(const char* from, const char* to); // replaces an existing target
    static SString tempDirectory();    // ends with the separator
    static SString currentDirectory(); // without a trailing separator
    static int64_t fileWriteTime(const char* path); // opaque stamp; -1 when missing
    // Appends the full paths of the files (not directories) in directory whose names match
    // the wildcard pattern ("*", "?"); returns how many were appended, in no set order.
    static int findFiles(const char* directory, const char* pattern, SStringList& paths);
    // The same for the subdirectories ("." and ".." left out).
    static int findDirectories(const char* directory, const char* pattern, SStringList& paths);

    // Replacing one file by another (renameFile). Tests put in a replacer that fails, as a
    // virus scanner holding the target makes the platform's replace fail.
    using Replacer = bool (*)(const char* from, const char* to);
    static Replacer setFileReplacer(Replacer replacer); // returns the previous one

    // Reads a whole file; false with the error code kept for systemErrorText.
    static bool readFile(const char* path, SString& content);
    // Writes a whole file through a temporary file beside it and a rename, so that a
    // failure never leaves a half-written file behind. A file marked read-only is refused.
    static bool writeFileAtomic(const char* path, const char* data, int length);

    // This program's own file, found through the platform whatever the command line says;
    // empty when the platform does not tell.
    static SString programFile();

    // Processes. The start stamp tells a process from a later one that got the same id; it is
    // opaque and the same whichever process asks. 0: the platform gives none.
    static unsigned long processId();
    static uint64_t processStartStamp();
    // Whether the process `id` that began at `stamp` still runs; also true when that cannot
    // be told (a process of another user), and, with stamp 0, whenever any process has the id.
    static bool processRunning(unsigned long id, uint64_t stamp);

    // Clocks: milliseconds of a steady clock, and seconds since 1970.
    static uint32_t tickMs();
    static int64_t unixTime();
    static void sleepMs(unsigned ms);

    // Waits of the calling thread. A program with windows installs waits that handle the
    // thread's messages meanwhile (another thread may be inside SendMessageA to one of its
    // windows, or the program may be told to quit); the defaults only sleep.
    struct Waits {
        bool (*wait)(unsigned ms);                  // false: the program is quitting
        bool (*waitFor)(void* handle, unsigned ms); // whether the handle was signalled in time
    };
    static bool wait(unsigned ms);
    // `handle` is a Win32 waitable handle (natively there are none: false at once);
    // 0xFFFFFFFF: no time limit.
    static bool waitFor(void* handle, unsigned ms);
    static Waits setWaits(Waits waits); // returns the previous ones; null members: the defaults

    // The program's per-user configuration file, opened on first use and shared by all that
    // keep settings in it; null where the program has none or it cannot be opened.
    using UserConfig = SFileIni* (*)();
    static SFileIni* userConfig();
    static UserConfig setUserConfig(UserConfig source); // returns the previous one
};
