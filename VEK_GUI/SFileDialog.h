// SFileDialog: the platform's open and save dialogs, remembering the last folder under a
// name in the user configuration file.
#pragma once

#include "VEK_ARRAYS/SStringList.h"
#include "VEK_UTIL/SString.h"

#include <windows.h>

#include <commdlg.h>

class SFileDialog {
public:
    SFileDialog();
    virtual ~SFileDialog() = default;
    virtual const char* getClassName() const { return "SFileDialog"; }

    bool open(HWND owner, const char* dialogTitle);                          // one existing file
    bool openMultiple(HWND owner, const char* dialogTitle, SStringList& names); // several files
    bool save(HWND owner, const char* dialogTitle);

    void setFilter(const char* text) { filter = text; }  // "name|pattern|name|pattern"
    void setFilterIndex(int index) { filterIndex = index; }
    void setInitialFolder(const char* folder) { initialFolder = folder; }
    void setDefaultExtension(const char* extension) { defaultExtension = extension; }
    void setRememberName(const char* name) { rememberName = name; }
    void setFileName(const char* name) { fileName = name; }
    const SString& getFileName() const { return fileName; }
    const SString& getFolder() const { return folder; }

private:
    bool run(HWND owner, const char* dialogTitle, DWORD flags, bool saving, SStringList* names);
    SString rememberedFolder() const;
    void rememberFolder(const SString& chosen);

    SString fileName;
    SString filter;
    SString initialFolder;
    SString title;
    SString defaultExtension;
    SString rememberName;
    SString folder;
    int filterIndex = 1;
    OPENFILENAMEA record{};
};
