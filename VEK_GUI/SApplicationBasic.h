// SApplicationBasic: command line, application directory, the per-user and per-computer
// configuration files, waiting while messages are dispatched, temporary file names.
#pragma once

#include "VEK_ARRAYS/SStringList.h"
#include "VEK_UTIL/SFileIni.h"
#include "VEK_UTIL/SString.h"

class SApplicationBasic {
public:
    SApplicationBasic();
    virtual ~SApplicationBasic();
    virtual const char* getClassName() const { return "SApplicationBasic"; }

    // Splits a command line into `arguments`; the first one is the program's path, whose
    // drive and directory (or else the current directory) become the application directory.
    void parseCommandLine(const char* commandLine);
    // The program's own file as the platform names it: it and its directory replace what the
    // first argument said (a bare name typed in a console says nothing about the folder).
    void setProgramPath(const char* path);

    bool openUserConfigFile();
    bool openComputerConfigFile();
    SFileIni& getUserConfig() { return userConfig; }
    SFileIni& getComputerConfig() { return computerConfig; }

    // Dispatches the calling thread's messages until `milliseconds` have passed (true), or
    // until *continueFlag becomes 0 or a quit message arrives (false; the quit is posted again).
    bool wait(unsigned milliseconds, volatile int* continueFlag = nullptr);
    // Dispatches the calling thread's messages until `handle` is signalled (true) or
    // `milliseconds` have passed (false; 0xFFFFFFFF: no limit). A quit message does not end
    // this wait (what waits here must end first); it is posted again afterwards.
    bool waitFor(void* handle, unsigned milliseconds = 0xFFFFFFFF);

    // A free name "vektmp<n>.<extension>" in the temporary directory; deleted at the end.
    SString makeTempFileName(const char* extension);
    // Deletes those files now (the destructor may never run when the session ends).
    void removeTempFiles();

    const SStringList& getArguments() const { return arguments; }
    const SString& getProgramPath() const { return programPath; }
    const SString& getApplicationDirectory() const { return applicationDirectory; }

    // Folders of the configuration files; tests point them elsewhere.
    void setConfigFolders(const char* userFolder, const char* computerFolder);

private:
    enum WaitEnd { timeOver, signalled, stopped };
    WaitEnd dispatchWhileWaiting(void* handle, unsigned milliseconds, volatile int* continueFlag, bool stopOnQuit);
    bool openConfigFile(SFileIni& file, const SString& folder, const char* operation);
    void takeProgramPath(const SString& path);
    SString programName() const;

    SFileIni computerConfig;
    SFileIni userConfig;
    SString programPath;
    SStringList arguments;
    SString applicationDirectory;
    int reserved = 0;
    SStringList tempFiles;
    SString userFolder;     // CSIDL_APPDATA unless set
    SString computerFolder; // CSIDL_COMMON_APPDATA unless set
};

extern SApplicationBasic globalApplicationBasic;
