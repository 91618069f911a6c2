#include "VEK_UTIL/SResources.h"

#include "VEK_SYSTEM/SSystem.h"
#include "VEK_UTIL/SDebug.h"
#include "VEK_UTIL/SError.h"
#include "VEK_UTIL/SLanguage.h"

#include <cstdio>
#include <ctime>

namespace {

const char kResourceIni[] = "resource.ini";
const char kControlPosIni[] = "controlpos.ini";
const char kResourceDir[] = "VEK-Resourcen";
const char kEarlyUseEnd[] =
    " kann erst nach der Initialisierung des globalResources-Objektes verwendet werden.\r\n"
    "Sie sollten sie z.B. nicht im Konstrukor des Main-Fensters";
const char kEarlyUseHint[] = " sondern besser in onPreCreateWindow() verwenden.";

// Whatever expansion of a hostile style file may cost in all.
const long long kExpandBudget = 8 * 1024 * 1024;

struct NamedValue {
    const char* name;
    const char* value;
};

const NamedValue kColourVariables[] = {
    {"vek_color_win_back", "#f0f0ff"},     {"vek_color_win_back_contrast", "#d0d0ff;"},
    {"vek_color_ctrl_border1", "#a0a0ff"}, {"vek_color_ctrl_border2", "#a0a0ff"},
    {"vek_color_ctrl_text", "#5050ff;"},   {"vek_color_input_text", "#000000"},
    {"vek_color_input_back", "#ffffff"},
};

#define VEK_BUTTON_COLOURS "{{vek_color_ctrl_border1}},{{vek_color_ctrl_border2}},{{vek_color_ctrl_text}}"
const NamedValue kButtonStyles[] = {
    {"SButton-form", "0,0"},
    {"SButton-normal", "{{vek_color_win_back}}," VEK_BUTTON_COLOURS},
    {"SButton-selected", "{{vek_color_win_back_contrast}}," VEK_BUTTON_COLOURS},
    {"SButton-mouseover", "{{vek_color_win_back_contrast}}," VEK_BUTTON_COLOURS},
    {"SButton-disabled", "#f0f0f0,#a0a0a0,#f0f0f0,#a0a0a0"},
};
#undef VEK_BUTTON_COLOURS

SString raw(const char* text) {
    SString s;
    s.setRaw(text ? text : "");
    return s;
}

void showError(const SString& text) { globalError.show(text, 0, "Fehler !", 16); }

// The time stamp of a usage record: "31.12.2024 23:59:58" in local time.
SString nowText() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    if (const std::tm* t = std::localtime(&now)) local = *t; // per-thread buffer in the C runtime
#else
    localtime_r(&now, &local);
#endif
    char text[64] = {0};
    std::strftime(text, sizeof text, "%d.%m.%Y %H:%M:%S", &local);
    return raw(text);
}

void addUnique(SStringList& to, const SStringList& from) {
    for (int i = 0; i < from.count(); ++i) to.add(from[i], true);
}

// Files of one directory matching the pattern, in name order.
void filesIn(const SString& dir, const char* pattern, SStringList& found) {
    SStringList files;
    SSystem::findFiles(dir, pattern, files);
    files.sort();
    addUnique(found, files);
}

} // namespace

SResources::~SResources() {
    if (packLoaded)
        removeUnpackedFiles();
    else if (resourceIni.isModified())
        resourceIni.save();
}

void SResources::removeUnpackedFiles() {
    if (!packLoaded) return;
    // The unpacked files go away: their edits are not kept.
    controlPositions.close(false);
    resourceIni.close(false);
    pack.removeFiles();
    packEntries.clear();
}

SString SResources::join(const SString& dir, const char* name) const {
    SString path(dir);
    path.append(SSystem::pathSeparator());
    path.append(name);
    return path;
}

void SResources::addSearchPath(const char* path, bool first) {
    SString dir = raw(path);
    if (dir.endsWith("\\") || (dir.length() > 1 && dir.endsWith("/"))) dir.remove(dir.length() - 1);
    // An empty directory would put the bare name at the root of the drive.
    if (dir.isEmpty()) return;
    (first ? searchPaths : extraPaths).add(dir);
}

// ---------------------------------------------------------------- start-up

void SResources::init() {
    if (initialised) return;
    initialised = true;
    addSearchPath(join(appDir, "Resources"), false);
    packLoaded = loadPack();
    developmentMode = !packLoaded;
    const SString resourceDir = join(appDir, kResourceDir);
    if (!packLoaded) createResourceDirectory(resourceDir);
    addSearchPath(resourceDir, true);
    loadConfiguration();
    initStyles();
}

bool SResources::loadPack() { return SResourcePack::markerSaysPacked() && loadPackFrom(programFile); }

bool SResources::loadPackFrom(const char* file) {
    if (!pack.load(file)) {
        // A broken pack is not used: what it unpacked so far is not left behind.
        pack.removeFiles();
        return false;
    }
    tempDir = pack.getTempDir();
    packEntries = pack.getEntries();
    addSearchPath(tempDir, true);
    return true;
}

void SResources::createResourceDirectory(const SString& dir) {
    if (!SSystem::directoryExists(dir)) SSystem::createDirectory(dir);
    const SString controlPos = join(dir, kControlPosIni);
    if (!SSystem::pathExists(controlPos)) SSystem::writeFileAtomic(controlPos, "\r\n", 2);
    const SString resource = join(dir, kResourceIni);
    const char initial[] = "[StandardResourcePath]\r\n";
    if (!SSystem::pathExists(resource)) SSystem::writeFileAtomic(resource, initial, (int)sizeof initial - 1);
}

void SResources::loadConfiguration() {
    const SString resourcePath = getFile(kResourceIni);
    bool writable = false;
    if (std::FILE* f = resourcePath.isEmpty() ? nullptr : std::fopen(resourcePath, "r+")) {
        writable = true;
        std::fclose(f);
    }
    if (resourceIni.load(resourcePath, false, !writable)) {
        SStringList keys, values;
        resourceIni.getSection("StandardResourcePath", keys, &values, true);
        for (int i = 0; i < values.count(); ++i) addSearchPath(values[i], true);
    } else {
        SString text("Fehler: resource.ini konnte nicht verwendet werden.\r\n");
        showError(text.append(resourcePath));
    }

    const SString controlPath = getFile(kControlPosIni);
    if (!controlPositions.load(controlPath)) {
        SString text("Fehler: controlpos.ini konnte nicht verwendet werden.\r\n");
        showError(text.append(controlPath));
    }
}

// ---------------------------------------------------------------- lookups

SString SResources::getFile(const char* name) {
    if (!initialised) {
        SString text("Die Funktion SResources::getFile(\"");
        text.append(name ? name : "");
        text.append("\")");
        text.append(kEarlyUseEnd);
        showError(text.append(kEarlyUseHint));
    }
    const SString wanted = raw(name);
    if (wanted.isEmpty()) return SString();
    SString found;
    if (packLoaded) {
        SString key(wanted);
        found = packEntries.get(key.toLower());
    } else {
        for (int i = 0; i < searchPaths.count() && found.isEmpty(); ++i) {
            SString candidate = join(searchPaths[i], wanted);
            if (SSystem::fileExists(candidate)) found = candidate;
        }
        if (!found.isEmpty()) recordUse(wanted);
    }
    for (int i = 0; i < extraPaths.count() && found.isEmpty(); ++i) {
        SString candidate = join(extraPaths[i], wanted);
        if (SSystem::fileExists(candidate)) found = candidate;
    }
    if (found.isEmpty()) {
        SString candidate = join(appDir, wanted);
        if (SSystem::fileExists(candidate)) found = candidate;
    }
    if (found.isEmpty() && SSystem::fileExists(wanted)) found = wanted;
    return found;
}

void SResources::recordUse(const char* name) {
    SString key = raw(name);
    key.toLower().trim();
    if (key == kResourceIni || key == kControlPosIni) return;
    resourceIni.setString("usedResources", key, nowText());
}

SString SResources::getStyle(const char* name) {
    if (!initialised) {
        SString text("Die Funktion SResources::getStyle(\"");
        text.append(name ? name : "");
        text.append("\")");
        text.append(kEarlyUseEnd);
        text.append(',');
        showError(text.append(kEarlyUseHint));
    }
    int i = styles.find(raw(name));
    return i >= 0 ? styles.getValueAt(i) : SString();
}

int SResources::findFiles(const char* pattern, SStringList& list) {
    if (!initialised) {
        SString text("Die Funktion SResources::findFiles(..)");
        text.append(kEarlyUseEnd);
        showError(text.append(kEarlyUseHint));
    }
    const int before = list.count();
    for (int i = 0; i < searchPaths.count(); ++i) filesIn(searchPaths[i], pattern, list);
    for (int i = 0; i < extraPaths.count(); ++i) filesIn(extraPaths[i], pattern, list);
    filesIn(appDir, pattern, list);
    return list.count() - before;
}

// ---------------------------------------------------------------- styles

// Fills "{{variable}}" placeholders from the styles pair by pair, in map order, like
// SMapStringToString::expand, but gives up on a text that would grow beyond the limits:
// a hostile style file must not exhaust the memory.
SString SResources::expand(const SString& text) {
    if (text.find("{{") < 0) return text;
    SString result(text);
    for (int i = 0; i < styles.count(); ++i) {
        SString placeholder = raw("{{");
        placeholder.append(styles.getKeyAt(i));
        placeholder.append("}}");
        const int hits = result.count(placeholder);
        if (hits == 0) continue;
        const long long growth = (long long)hits * (styles.getValueAt(i).length() - placeholder.length());
        if (result.length() + growth > maxStyleLength || growth > expandBudget) return result;
        if (growth > 0) expandBudget -= growth;
        result.replace(placeholder, styles.getValueAt(i));
    }
    return result;
}

void SResources::setStyle(const SString& name, const SString& value) { styles.set(name, expand(value)); }

void SResources::initStyles() {
    expandBudget = kExpandBudget;
    for (const NamedValue& v : kColourVariables) styles.set(raw(v.name), raw(v.value));

    SMapStringToString entries;
    controlPositions.getEntries("Standard-Styles", entries, true);
    for (int i = 0; i < entries.count(); ++i) setStyle(entries.getKeyAt(i), entries.getValueAt(i));

    for (const NamedValue& v : kButtonStyles) setStyle(raw(v.name), raw(v.value));

    controlPositions.getEntries("Control-Styles", entries, true);
    for (int i = 0; i < entries.count(); ++i) setStyle(entries.getKeyAt(i), entries.getValueAt(i));

    SStringList files;
    findFiles("*.sty", files);
    files.sort();
    for (int f = 0; f < files.count(); ++f) {
        SFileIni sheet;
        if (!sheet.load(files[f], false, true)) continue;
        SStringList names, texts;
        sheet.findSections(names, "style_*");
        for (int s = 0; s < names.count(); ++s) {
            sheet.getEntries(names[s], entries, true);
            for (int i = 0; i < entries.count(); ++i) setStyle(entries.getKeyAt(i), entries.getValueAt(i));
        }
        sheet.findSections(names, "css_*", &texts);
        for (int s = 0; s < names.count(); ++s) setStyle(names[s], texts[s]);
    }
}

// ---------------------------------------------------------------- language files

void SResources::loadLanguage(const char* language) {
    globalLanguage.clear();
    if (language && *language) globalLanguage.setLanguage(language);
    SString pattern("*_");
    pattern.append(globalLanguage.getLanguage());
    pattern.append(".lng");

    SStringList files;
    filesIn(appDir, pattern, files);
    for (int i = 0; i < searchPaths.count(); ++i) filesIn(searchPaths[i], pattern, files);
    for (int i = 0; i < extraPaths.count(); ++i) filesIn(extraPaths[i], pattern, files);
    filesIn(join(appDir, kResourceDir), pattern, files);

    int loaded = 0;
    while (files.count() > 0) {
        const SString file = files[0];
        SString text;
        if (SSystem::readFile(file, text)) {
            globalLanguage.load(text.getBuffer(), text.length());
            SString line("SResources::loadLanguage(..) Datei: ");
            globalDebug.print(line.append(file));
            ++loaded;
        }
        files.removeAll(file);
    }
    globalDebug.printf("SResources::loadLanguage(..) %d Sprachdateien geladen", loaded);
    if (!globalLanguage.getErrorText().isEmpty()) {
        SString line("SResources::loadLanguage(..) #### FEHLER #### ");
        globalDebug.print(line.append(globalLanguage.getErrorText()));
    }
}
