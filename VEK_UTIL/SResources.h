// SResources: finds the application's resource files by name (in the resource pack of the
// program file, or in resource directories beside it), owns the library's configuration
// files controlpos.ini and resource.ini, keeps the control styles with their colour
// variables, and loads language files.
#pragma once

#include "VEK_ARRAYS/SMapStringToString.h"
#include "VEK_ARRAYS/SStringList.h"
#include "VEK_UTIL/SFileIni.h"
#include "VEK_UTIL/SResourcePack.h"
#include "VEK_UTIL/SString.h"

class SResources {
public:
    SResources() = default;
    SResources(const SResources&) = delete;
    SResources& operator=(const SResources&) = delete;
    // With a pack the unpacked files go; without one the usage records are written.
    virtual ~SResources();
    virtual const char* getClassName() const { return "SResources"; }

    // Set by the application object before init.
    void setAppDir(const char* dir) { appDir.setRaw(dir); }
    void setProgramFile(const char* file) { programFile.setRaw(file); }

    void init();
    SString getFile(const char* name);
    SString getStyle(const char* name);
    int findFiles(const char* pattern, SStringList& list);
    void loadLanguage(const char* language);
    void addSearchPath(const char* path, bool first);
    // Deletes the files unpacked from the pack now, as the destructor does: for when the
    // program may end without its destructors (the session ends). Nothing without a pack.
    void removeUnpackedFiles();

    const SString& getAppDir() const { return appDir; }
    const SString& getProgramFile() const { return programFile; }
    const SString& getTempDir() const { return tempDir; }
    unsigned char getPackKey() const { return packKey; }
    bool isDevelopmentMode() const { return developmentMode; }
    bool isPackLoaded() const { return packLoaded; }
    bool isInitialised() const { return initialised; }
    const SStringList& getSearchPaths() const { return searchPaths; }
    const SStringList& getExtraPaths() const { return extraPaths; }
    const SMapStringToString& getStyles() const { return styles; }

    // Read and written directly by the layouter, the controls and the application.
    SFileIni controlPositions;
    SFileIni resourceIni;

    // Style values never grow beyond this by expansion of colour variables.
    static constexpr int maxStyleLength = 65536;

protected:
    // True when the program carries a pack and it was read completely.
    virtual bool loadPack();
    // Reads the pack of `file` without asking the program's presence flag.
    bool loadPackFrom(const char* file);
    SResourcePack& getPack() { return pack; }

private:
    void createResourceDirectory(const SString& dir);
    void loadConfiguration();
    void initStyles();
    void setStyle(const SString& name, const SString& value);
    SString expand(const SString& text);
    void recordUse(const char* name);
    SString join(const SString& dir, const char* name) const;

    bool developmentMode = true;
    SString appDir;
    SString programFile;
    SString tempDir;
    unsigned char packKey = SResourcePack::KEY;
    SStringList searchPaths;
    SMapStringToString styles;
    SMapStringToString packEntries;
    bool packLoaded = false;
    bool initialised = false;
    SStringList extraPaths;
    SResourcePack pack;
    long long expandBudget = 0;
};

extern SResources globalResources;
