#include "VEK_GUI/SFileDialog.h"

#include "VEK_GUI/SApplicationBasic.h"
#include "VEK_SYSTEM/SSystem.h"

#include <vector>

SFileDialog::SFileDialog() : filter("alle Dateien|*.*") {}

SString SFileDialog::rememberedFolder() const {
    if (rememberName.isEmpty() || !globalApplicationBasic.openUserConfigFile()) return SString();
    SString key(rememberName);
    key.append("_lastFolder");
    SString remembered = globalApplicationBasic.getUserConfig().getString("SFileDialog", key, "");
    return SSystem::directoryExists(remembered) ? remembered : SString();
}

void SFileDialog::rememberFolder(const SString& chosen) {
    if (rememberName.isEmpty() || chosen.isEmpty() || !globalApplicationBasic.openUserConfigFile()) return;
    SString key(rememberName);
    key.append("_lastFolder");
    SFileIni& ini = globalApplicationBasic.getUserConfig();
    ini.setString("SFileDialog", key, chosen);
    ini.save();
}

bool SFileDialog::open(HWND owner, const char* dialogTitle) {
    return run(owner, dialogTitle, OFN_FILEMUSTEXIST, false, nullptr);
}

bool SFileDialog::openMultiple(HWND owner, const char* dialogTitle, SStringList& names) {
    return run(owner, dialogTitle, OFN_FILEMUSTEXIST | OFN_ALLOWMULTISELECT, false, &names);
}

bool SFileDialog::save(HWND owner, const char* dialogTitle) {
    return run(owner, dialogTitle, OFN_OVERWRITEPROMPT, true, nullptr);
}

bool SFileDialog::run(HWND owner, const char* dialogTitle, DWORD flags, bool saving, SStringList* names) {
    title = dialogTitle;
    SString start = initialFolder.isEmpty() ? rememberedFolder() : initialFolder;
    // "a|b|c|d" -> "a\0b\0c\0d\0\0"
    std::vector<char> filterBytes(filter.getBuffer(), filter.getBuffer() + filter.length());
    for (char& c : filterBytes)
        if (c == '|') c = 0;
    filterBytes.push_back(0);
    filterBytes.push_back(0);
    std::vector<char> buffer(32768, 0);
    if (fileName.length() < (int)buffer.size()) memcpy(buffer.data(), fileName.getBuffer(), (size_t)fileName.length());

    record = OPENFILENAMEA{};
    record.lStructSize = sizeof record;
    record.hwndOwner = owner;
    record.lpstrFilter = filterBytes.data();
    record.nFilterIndex = (DWORD)filterIndex;
    record.lpstrFile = buffer.data();
    record.nMaxFile = (DWORD)buffer.size();
    record.lpstrInitialDir = start.isEmpty() ? nullptr : start.getBuffer();
    record.lpstrTitle = title.getBuffer();
    record.lpstrDefExt = defaultExtension.isEmpty() ? nullptr : defaultExtension.getBuffer();
    record.Flags = flags | OFN_EXPLORER | OFN_HIDEREADONLY;
    BOOL ok = saving ? GetSaveFileNameA(&record) : GetOpenFileNameA(&record);
    if (!ok) return false;
    filterIndex = (int)record.nFilterIndex;

    // Several files come as "folder\0name\0name\0\0", one as "path\0".
    SString first;
    first.setRaw(buffer.data());
    const char* next = buffer.data() + first.length() + 1;
    if (names) names->clear();
    if ((flags & OFN_ALLOWMULTISELECT) && *next) {
        folder = first;
        for (; *next; next += strlen(next) + 1) {
            SString path(folder);
            path.append("\\").append(SString().setRaw(next));
            if (names) names->add(path);
        }
        fileName = names && names->count() ? (*names)[0] : SString();
    } else {
        fileName = first;
        int cut = first.findLastChar('\\');
        folder = cut > 0 ? first.left(cut) : SString();
        if (names) names->add(first);
    }
    rememberFolder(folder);
    return true;
}
