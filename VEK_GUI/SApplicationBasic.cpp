#include "VEK_GUI/SApplicationBasic.h"

#include "VEK_SYSTEM/SSystem.h"
#include "VEK_UTIL/SError.h"

#include <windows.h>
#include <shlobj.h>

namespace {

SString specialFolder(int csidl) {
    char path[MAX_PATH + 1] = {0};
    SString result;
    if (SUCCEEDED(SHGetFolderPathA(nullptr, csidl, nullptr, 0, path))) result.setRaw(path);
    return result;
}

bool dispatchingWait(unsigned ms) { return globalApplicationBasic.wait(ms); }

bool dispatchingWaitFor(void* handle, unsigned ms) { return globalApplicationBasic.waitFor(handle, ms); }

SFileIni* applicationUserConfig() {
    return globalApplicationBasic.openUserConfigFile() ? &globalApplicationBasic.getUserConfig() : nullptr;
}

} // namespace

// The program's application object serves the system layer: its waits handle this thread's
// messages, and settings go to the one user configuration the program keeps.
SApplicationBasic::SApplicationBasic() {
    if (this != &globalApplicationBasic) return;
    SSystem::setWaits({dispatchingWait, dispatchingWaitFor});
    SSystem::setUserConfig(applicationUserConfig);
}

SApplicationBasic::~SApplicationBasic() {
    removeTempFiles();
    if (this != &globalApplicationBasic) return;
    SSystem::setWaits({nullptr, nullptr});
    SSystem::setUserConfig(nullptr);
}

void SApplicationBasic::removeTempFiles() {
    for (int i = 0; i < tempFiles.count(); ++i) SSystem::deleteFile(tempFiles[i]);
}

void SApplicationBasic::parseCommandLine(const char* commandLine) {
    arguments.splitArguments(commandLine);
    takeProgramPath(arguments[0]);
}

void SApplicationBasic::setProgramPath(const char* path) {
    SString file;
    if (path && *path) takeProgramPath(file.setRaw(path));
}

void SApplicationBasic::takeProgramPath(const SString& path) {
    programPath = path;
    int cut = programPath.findLastChar('\\');
    int slash = programPath.findLastChar('/');
    if (slash > cut) cut = slash;
    if (cut < 0) cut = programPath.findLastChar(':') + 1; // "C:prog.exe" keeps "C:"
    applicationDirectory = cut > 0 ? programPath.left(cut) : SString();
    if (applicationDirectory.isEmpty()) applicationDirectory = SSystem::currentDirectory();
}

// The program file's name without directory and extension.
SString SApplicationBasic::programName() const {
    SString name(programPath);
    int cut = name.findLastChar('\\');
    int slash = name.findLastChar('/');
    if (slash > cut) cut = slash;
    if (cut < 0) cut = name.findLastChar(':');
    name = name.from(cut + 1);
    int dot = name.findLastChar('.');
    if (dot >= 0) name = name.left(dot);
    return name;
}

void SApplicationBasic::setConfigFolders(const char* user, const char* computer) {
    userFolder.setRaw(user);
    computerFolder.setRaw(computer);
}

bool SApplicationBasic::openUserConfigFile() {
    if (userFolder.isEmpty()) userFolder = specialFolder(CSIDL_APPDATA);
    return openConfigFile(userConfig, userFolder, "openUserConfigFile");
}

bool SApplicationBasic::openComputerConfigFile() {
    if (computerFolder.isEmpty()) computerFolder = specialFolder(CSIDL_COMMON_APPDATA);
    return openConfigFile(computerConfig, computerFolder, "openComputerConfigFile");
}

bool SApplicationBasic::openConfigFile(SFileIni& file, const SString& folder, const char* operation) {
    if (!file.getPath().isEmpty()) return true;
    SString name = programName();
    if (name.isEmpty()) {
        SString text;
        text.format("Fehler in SApplication::%s(..): Der Dateiname der Anwendung konnte nicht ermittelt werden.\r\n",
                    operation);
        text.append("Eventuell haben Sie diese Funktion vor der Verarbeitung der \334bergabeparameter "
                    "(z.B. in einem Konstruktor) aufgerufen.");
        globalError.show(text, 0, "Fehler !", 16);
        return false;
    }
    SString directory = folder + "\\VEK";
    SString path = directory + "\\" + name + ".cfg";
    if (!SSystem::fileExists(path)) {
        SSystem::createDirectory(directory);
        SString old = folder + "\\" + name + ".cfg";
        if (SSystem::fileExists(old)) SSystem::copyFile(old, path, false);
    }
    if (file.load(path, true, false)) return true;
    SString text;
    text.format("Fehler in SApplication::%s(..): Die Datei '%s' konnte nicht ge\366ffnet werden.\r\n%s", operation,
                path.getBuffer(), file.getErrorText().getBuffer());
    globalError.add(text);
    return false;
}

bool SApplicationBasic::wait(unsigned milliseconds, volatile int* continueFlag) {
    return dispatchWhileWaiting(nullptr, milliseconds, continueFlag, true) == timeOver;
}

bool SApplicationBasic::waitFor(void* handle, unsigned milliseconds) {
    return dispatchWhileWaiting(handle, milliseconds, nullptr, false) == signalled;
}

// The one loop of both waits. A quit taken here is posted again when the wait ends, so the
// program's own loop still ends.
SApplicationBasic::WaitEnd SApplicationBasic::dispatchWhileWaiting(void* handle, unsigned milliseconds,
                                                                   volatile int* continueFlag, bool stopOnQuit) {
    const uint32_t start = SSystem::tickMs();
    bool quit = false;
    int quitCode = 0;
    WaitEnd end = timeOver;
    for (;;) {
        if (handle && WaitForSingleObject(handle, 0) == WAIT_OBJECT_0) {
            end = signalled;
            break;
        }
        const uint32_t elapsed = SSystem::tickMs() - start;
        if (milliseconds != INFINITE && elapsed >= milliseconds) break;
        MSG msg;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                quit = true;
                quitCode = (int)msg.wParam;
                if (stopOnQuit) {
                    end = stopped;
                    break;
                }
                continue;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        } else {
            // Nothing pending: yield until a message arrives, the handle is signalled or a
            // short slice has passed.
            DWORD left = milliseconds == INFINITE ? 5 : milliseconds - elapsed;
            HANDLE handles[1] = {handle};
            MsgWaitForMultipleObjects(handle ? 1 : 0, handle ? handles : nullptr, FALSE, left < 5 ? left : 5,
                                      QS_ALLINPUT);
        }
        if (continueFlag && *continueFlag == 0) {
            end = stopped;
            break;
        }
    }
    if (quit) PostQuitMessage(quitCode);
    return end;
}

SString SApplicationBasic::makeTempFileName(const char* extension) {
    SString directory = SSystem::tempDirectory();
    for (int n = 0;; ++n) {
        SString candidate(directory);
        candidate.appendFormat("vektmp%d.", n);
        candidate.append(extension);
        if (!SSystem::pathExists(candidate) && tempFiles.find(candidate) < 0) {
            tempFiles.add(candidate);
            return candidate;
        }
    }
}
